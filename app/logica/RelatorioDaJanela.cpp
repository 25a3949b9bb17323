// The report saved from the window: after a run, a rehearsal or a check, in a file the operator
// chooses.
#include "app/logica/LogicaPrincipal.h"

#include "common/Texto.h"

namespace {

// A name typed without the extension would give a workbook that nothing opens by a double
// click.
std::string ComExtensaoXlsx(const std::string& caminho) {
    const std::string extensao = ".XLSX";
    if (caminho.size() > extensao.size() &&
        texto::UpperAZ(caminho.substr(caminho.size() - extensao.size())) == extensao)
        return caminho;
    return caminho + ".xlsx";
}

}  // namespace

void TLogicaPrincipal::btSalvarRelatorioClick() {
    if (!Relato().feito)
        return;
    const auto escolhido =
        EscolheArquivo(TCaixaArquivo::Relatorio, kTituloRelatorio, kFiltroRelatorio, true);
    if (!escolhido || escolhido->empty())
        return;
    SalvaRelatorio(ComExtensaoXlsx(*escolhido));
}
