// The window's check and report (placeholder until the check engine is merged).
#include "app/logica/LogicaPrincipal.h"

void TLogicaPrincipal::btVerificarClick() {
    btOKClick();
}

bool TLogicaPrincipal::RelatorioDisponivel() const {
    return false;
}

void TLogicaPrincipal::SalvaRelatorio() {}
