// Placeholder until this mapping lands.
#include "app/logica/LogicaPrincipal.h"
#include "common/Erros.h"

void TLogicaPrincipal::ConverteClientesPlanilha() {
    throw EConversor("Conversão ainda não disponível.");
}
