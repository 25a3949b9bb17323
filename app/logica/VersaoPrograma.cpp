#include "app/logica/VersaoPrograma.h"

const char* VersaoDoPrograma() {
    return CONVERSOR_VERSAO;
}
