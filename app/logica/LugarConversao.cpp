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

const char* TLugarConversao::OrigemRecusada(const std::vector<TOrigemDaColuna>& origens,
                                            const EBancoDados& erro) const {
    for (const auto& recusado : erro.Falha().recusados) {
        for (const TOrigemDaColuna& o : origens) {
            if (recusado.coluna == o.destino)
                return o.origem;
        }
    }
    return nullptr;
}

void TLugarConversao::NomeiaOrigemRecusada(const EBancoDados& erro) {
    if (const char* origem = OrigemRecusada(origensGravando_, erro))
        colunaOrigem_ = origem;
}

void TLugarConversao::Recusado(const EBancoDados& erro) {
    if (!fixa_ || fixa_->origens.empty() || !fixa_->partes.coluna.empty())
        return;
    std::vector<TOrigemDaColuna> origens;
    for (const auto& [destino, origem] : fixa_->origens)
        origens.push_back({destino.c_str(), origem.c_str()});
    if (const char* origem = OrigemRecusada(origens, erro)) {
        const std::string coluna = origem;
        fixa_->partes.coluna = coluna;
        fixa_->descricao += ", coluna " + coluna;
    }
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
        return fixa_->descricao;
    const TPartesLugar p = Partes();
    if (p.origem.empty())
        return {};
    std::string r = p.origem + ", " + p.registro;
    if (!p.coluna.empty())
        r += ", coluna " + p.coluna;
    if (tabela_ && !p.coluna.empty() && ColunaComCelula())
        r += ", conteúdo \"" + p.conteudo + "\"";
    return r;
}

bool TLugarConversao::ColunaComCelula() const {
    const int k = tabela_->ColunaLida();
    // A column past the sheet's used area has neither a title nor a cell.
    return k > 0 && k <= tabela_->Colunas() && !tabela_->Fim();
}

TPartesLugar TLugarConversao::Partes() const {
    if (fixa_)
        return fixa_->partes;
    TPartesLugar p;
    if (tabela_) {
        p.origem = "planilha";
        p.registro = "linha " + std::to_string(linha_);
        const int k = tabela_->ColunaLida();
        if (k <= 0)
            return p;
        p.coluna = std::to_string(k);
        if (!ColunaComCelula())
            return p;
        const auto indice = static_cast<size_t>(k - 1);
        if (indice < titulos_.size() && !titulos_[indice].empty())
            p.coluna += " (" + win1252::ParaUtf8(titulos_[indice]) + ")";
        p.conteudo = win1252::ParaUtf8(tabela_->Campo(std::to_string(k)));
        return p;
    }
    if (tabelaOrigem_.empty())
        return p;
    p.origem = "banco TESSALY, tabela " + tabelaOrigem_;
    p.registro = "CODIGO " + win1252::MensagemUtf8(codigoOrigem_);
    p.coluna = colunaOrigem_;
    return p;
}

namespace {
// The parts of a mark, apart: no place's text holds this control character.
constexpr char kSeparador = '\x1f';
}  // namespace

std::string TLugarConversao::Marca() const {
    const TPartesLugar p = Partes();
    std::string marca = Descricao() + kSeparador + p.origem + kSeparador + p.registro + kSeparador +
                        p.coluna + kSeparador + p.conteudo;
    for (const TOrigemDaColuna& o : origensGravando_)
        marca += std::string(1, kSeparador) + o.destino + kSeparador + o.origem;
    return marca;
}

void TLugarConversao::Fixa(const std::string& marca) {
    std::vector<std::string> partes(1);
    for (char c : marca) {
        if (c == kSeparador)
            partes.emplace_back();
        else
            partes.back() += c;
    }
    if (partes.size() < 5)
        partes.resize(5);
    fixa_ = TFixo{partes[0], {partes[1], partes[2], partes[3], partes[4]}, {}};
    for (size_t i = 5; i + 1 < partes.size(); i += 2)
        fixa_->origens.emplace_back(partes[i], partes[i + 1]);
}
