#include "app/logica/LugarConversao.h"

#include "app/logica/TabelaTemp.h"
#include "common/Win1252.h"

void TLugarConversao::LeTitulos(const TTabelaTemp& tabela) {
    titulos_.clear();
    for (int k = 1; k <= tabela.Colunas(); ++k)
        titulos_.push_back(tabela.Campo(std::to_string(k)));
}

void TLugarConversao::LinhaPlanilha(const TTabelaTemp& tabela, int linha) {
    Limpa();
    tabela_ = &tabela;
    linha_ = linha;
    tabela.EsqueceColunaLida();
}

void TLugarConversao::GravandoLinha() {
    if (tabela_)
        tabela_->EsqueceColunaLida();
}

void TLugarConversao::RegistroOrigem(std::string tabela, const std::string& codigo) {
    Limpa();
    tabelaOrigem_ = std::move(tabela);
    codigoOrigem_ = codigo;
}

void TLugarConversao::Limpa() {
    tabela_ = nullptr;
    linha_ = 0;
    tabelaOrigem_.clear();
    codigoOrigem_.clear();
    colunaOrigem_.clear();
    fixa_.reset();
}

std::string TLugarConversao::Descricao() const {
    if (fixa_)
        return *fixa_;
    if (tabela_)
        return DescricaoPlanilha();
    if (tabelaOrigem_.empty())
        return {};
    std::string r = "banco TESSALY, tabela " + tabelaOrigem_ + ", CODIGO " +
                    win1252::MensagemUtf8(codigoOrigem_);
    if (!colunaOrigem_.empty())
        r += ", coluna " + colunaOrigem_;
    return r;
}

std::string TLugarConversao::DescricaoPlanilha() const {
    std::string r = "planilha, linha " + std::to_string(linha_);
    const int k = tabela_->ColunaLida();
    if (k <= 0)
        return r;
    r += ", coluna " + std::to_string(k);
    // A column past the sheet's used area has neither a title nor a cell.
    if (k > tabela_->Colunas() || tabela_->Fim())
        return r;
    const auto indice = static_cast<size_t>(k - 1);
    if (indice < titulos_.size() && !titulos_[indice].empty())
        r += " (" + win1252::ParaUtf8(titulos_[indice]) + ")";
    const std::string celula = tabela_->Campo(std::to_string(k));
    r += ", conteúdo \"" + win1252::ParaUtf8(celula) + "\"";
    return r;
}
