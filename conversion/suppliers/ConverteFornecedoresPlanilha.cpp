// Placeholder until this mapping lands.
#include "app/logica/LogicaPrincipal.h"
#include "common/Erros.h"

void TLogicaPrincipal::ConverteFornecedoresPlanilha() {
    throw EConversor("Conversão ainda não disponível.");
}
