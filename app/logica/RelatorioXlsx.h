// The report of a run as a workbook a person opens: "Resumo" (the inputs, the outcome and the
// account), "Problemas" (one row per problem), "Não convertidos" (one row per record or sheet
// row left out, with its reason) and "Avisos" (each warning with its count).
#pragma once

#include "app/logica/RelatoDaExecucao.h"

#include <string>

// Writes the workbook at caminho (UTF-8), replacing it. Fails with an EConversor naming the
// file and the writer's reason.
void GravaRelatorioXlsx(const std::string& caminho, const TRelatoDaExecucao& relato);
