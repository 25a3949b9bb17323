// --sheet and --last-row, applied to the window's logic as the operator's choices would be.
#pragma once

#include "app/cli/Opcoes.h"
#include "app/logica/LogicaPrincipal.h"

namespace cli {

// --sheet: a 1-based worksheet number or a name (default 1); a sheet the workbook does not
// have leaves no sheet chosen. --last-row: default the chosen sheet's last used row.
void EscolhePlanilhaELinha(TLogicaPrincipal& logica, const TOpcoes& opcoes);

}  // namespace cli
