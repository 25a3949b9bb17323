#include "app/logica/PastasDosDialogos.h"

#include <filesystem>

std::string TPastasDosDialogos::PastaPara(TCaixaArquivo caixa) const {
    const std::string& propria = porCaixa_[static_cast<size_t>(caixa)];
    return propria.empty() ? ultima_ : propria;
}

void TPastasDosDialogos::Escolhido(TCaixaArquivo caixa, const std::string& arquivo) {
    const std::string pasta = std::filesystem::path(arquivo).parent_path().string();
    if (pasta.empty())
        return;
    porCaixa_[static_cast<size_t>(caixa)] = pasta;
    ultima_ = pasta;
}
