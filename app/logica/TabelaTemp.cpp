#include "app/logica/TabelaTemp.h"

#include <algorithm>

#include "common/Erros.h"
#include "common/Texto.h"

namespace {
// Beyond the last column a sheet can have, a name cannot point at a cell.
constexpr std::int64_t kMaiorColuna = 16384;
}  // namespace

void TTabelaTemp::Recria(int colunas) {
    colunas_ = colunas < 0 ? 0 : colunas;
    linhas_ = 0;
    // The previous run's sheet may have been large; its memory goes back now.
    std::deque<char>().swap(textos_);
    std::deque<TCelula>().swap(celulas_);
    planilha_.reset();
    linhaDaPlanilha_ = SIZE_MAX;
    atual_.clear();
    Primeiro();
}

void TTabelaTemp::RecriaDaPlanilha(int colunas, std::unique_ptr<TLinhasDaAba> linhas) {
    Recria(colunas);
    planilha_ = std::move(linhas);
}

void TTabelaTemp::AcrescentaLinhaDaPlanilha() {
    if (planilha_)
        ++linhas_;
}

std::vector<TCelulaLida> TTabelaTemp::Filtra(std::vector<TCelulaLida> celulas) const {
    std::vector<TCelulaLida> r;
    for (TCelulaLida& c : celulas) {
        if (c.coluna < 1 || c.coluna > colunas_ || c.texto.empty())
            continue;
        if (c.texto.size() > kTamanhoCampo)
            c.texto.resize(kTamanhoCampo);
        r.push_back(std::move(c));
    }
    return r;
}

const std::vector<TCelulaLida>& TTabelaTemp::LinhaAtualDaPlanilha() const {
    if (linhaDaPlanilha_ != linha_) {
        linhaDaPlanilha_ = SIZE_MAX;
        atual_ = Filtra(planilha_->Le(static_cast<int>(linha_) + 1));
        linhaDaPlanilha_ = linha_;
    }
    return atual_;
}

void TTabelaTemp::AcrescentaCelulas(const std::vector<TCelulaLida>& celulas) {
    const auto linha = static_cast<std::uint32_t>(linhas_);
    for (const TCelulaLida& c : celulas) {
        if (c.coluna < 1 || c.coluna > colunas_ || c.texto.empty())
            continue;
        celulas_.push_back(TCelula{textos_.size(), linha, static_cast<std::uint32_t>(c.coluna)});
        textos_.insert(
            textos_.end(), c.texto.begin(),
            c.texto.begin() + static_cast<std::ptrdiff_t>(std::min(c.texto.size(), kTamanhoCampo)));
    }
    ++linhas_;
}

void TTabelaTemp::Acrescenta(const std::vector<std::string>& celulas) {
    std::vector<TCelulaLida> lidas;
    for (size_t k = 0; k < celulas.size(); ++k)
        lidas.push_back(TCelulaLida{static_cast<int>(k) + 1, celulas[k]});
    AcrescentaCelulas(lidas);
}

void TTabelaTemp::Primeiro() {
    linha_ = 0;
    primeiraDaLinha_ = 0;
}

void TTabelaTemp::Proximo() {
    if (linha_ >= linhas_)
        return;
    ++linha_;
    while (primeiraDaLinha_ < celulas_.size() && celulas_[primeiraDaLinha_].linha < linha_)
        ++primeiraDaLinha_;
}

std::string TTabelaTemp::TextoDe(std::size_t indice) const {
    const std::size_t fim =
        indice + 1 < celulas_.size() ? celulas_[indice + 1].inicio : textos_.size();
    const auto inicio = textos_.begin() + static_cast<std::ptrdiff_t>(celulas_[indice].inicio);
    return std::string(inicio, inicio + static_cast<std::ptrdiff_t>(fim - celulas_[indice].inicio));
}

std::size_t TTabelaTemp::Procura(std::size_t primeira, std::uint32_t linha,
                                 std::uint32_t coluna) const {
    auto it =
        std::lower_bound(celulas_.begin() + static_cast<std::ptrdiff_t>(primeira), celulas_.end(),
                         std::pair{linha, coluna},
                         [](const TCelula& c, const std::pair<std::uint32_t, std::uint32_t>& p) {
                             return std::pair{c.linha, c.coluna} < p;
                         });
    return static_cast<std::size_t>(it - celulas_.begin());
}

std::string TTabelaTemp::Campo(const std::string& nome) const {
    // Columns are named by the decimal text of their number, without leading zeros.
    std::int64_t k = 0;
    bool valido = !nome.empty() && nome[0] >= '1' && nome[0] <= '9' &&
                  texto::TentaLerInteiro(nome, k) && texto::Inteiro(k) == nome && k >= 1 &&
                  k <= colunas_;
    colunaLida_ = k >= 1 && k <= kMaiorColuna ? static_cast<int>(k) : 0;
    if (!valido)
        throw EColunaInexistente("Field '" + nome + "' not found");
    if (Fim())
        throw EConversor("Field '" + nome + "': no current record");
    if (planilha_) {
        for (const TCelulaLida& c : LinhaAtualDaPlanilha()) {
            if (c.coluna == k)
                return c.texto;
        }
        return {};
    }
    const auto linha = static_cast<std::uint32_t>(linha_);
    const auto coluna = static_cast<std::uint32_t>(k);
    const std::size_t i = Procura(primeiraDaLinha_, linha, coluna);
    if (i < celulas_.size() && celulas_[i].linha == linha && celulas_[i].coluna == coluna)
        return TextoDe(i);
    return {};
}

std::vector<std::string> TTabelaTemp::Linha(int indice) const {
    std::vector<std::string> r(static_cast<size_t>(colunas_));
    if (indice < 0 || static_cast<size_t>(indice) >= linhas_)
        return r;
    if (planilha_) {
        for (TCelulaLida& c : Filtra(planilha_->Le(indice + 1)))
            r[static_cast<size_t>(c.coluna - 1)] = std::move(c.texto);
        return r;
    }
    const auto linha = static_cast<std::uint32_t>(indice);
    for (std::size_t i = Procura(0, linha, 0); i < celulas_.size() && celulas_[i].linha == linha;
         ++i)
        r[celulas_[i].coluna - 1] = TextoDe(i);
    return r;
}
