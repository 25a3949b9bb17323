#include "spreadsheet/PastaTrabalho.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>

#include "common/Win1252.h"
#include "spreadsheet/LeitorCsv.h"
#include "spreadsheet/LeitorXls.h"
#include "spreadsheet/LeitorXlsx.h"

std::uint32_t TTextos::Acrescenta(std::string_view texto) {
    if (dados_.size() + texto.size() > UINT32_MAX || inicios_.size() >= UINT32_MAX) {
        throw EPlanilha("A planilha tem mais texto do que é possível carregar na memória.");
    }
    dados_.append(texto);
    inicios_.push_back(static_cast<std::uint32_t>(dados_.size()));
    return static_cast<std::uint32_t>(inicios_.size() - 2);
}

void TReceptorCelulas::PoeNumero(int coluna, int linha, double valor) {
    if (coluna >= 1 && linha >= 1)
        Recebe(coluna, linha, TTipoValor::Numero, valor, {});
}

void TReceptorCelulas::PoeLogico(int coluna, int linha, bool valor) {
    if (coluna >= 1 && linha >= 1)
        Recebe(coluna, linha, TTipoValor::Logico, valor ? 1 : 0, {});
}

void TReceptorCelulas::PoeTexto(int coluna, int linha, std::string_view cp1252) {
    if (cp1252.empty() || coluna < 1 || linha < 1)
        return;
    Recebe(coluna, linha, TTipoValor::Texto, 0, cp1252);
}

void TReceptorCelulas::PoeTextoCompartilhado(int coluna, int linha, std::uint32_t indice) {
    if (!compartilhados_ || indice >= compartilhados_->Quantidade())
        return;
    if (compartilhados_->Texto(indice).empty() || coluna < 1 || linha < 1)
        return;
    RecebeCompartilhado(coluna, linha, indice);
}

void TReceptorCelulas::PoeErro(int coluna, int linha, std::string_view erro) {
    if (coluna >= 1 && linha >= 1)
        Recebe(coluna, linha, TTipoValor::Erro, 0, erro);
}

void TAbaLida::Poe(int coluna, int linha, TTipoInterno tipo, double numero, std::uint32_t indice) {
    std::uint64_t chave = Chave(coluna, linha);
    if (!celulas_.empty() && celulas_.back().chave >= chave)
        ordenada_ = false;
    celulas_.push_back(TCelula{chave, numero, indice, tipo});
}

void TAbaLida::Recebe(int coluna, int linha, TTipoValor tipo, double numero,
                      std::string_view texto) {
    switch (tipo) {
        case TTipoValor::Numero:
            Poe(coluna, linha, TTipoInterno::Numero, numero, 0);
            break;
        case TTipoValor::Logico:
            Poe(coluna, linha, TTipoInterno::Logico, numero, 0);
            break;
        case TTipoValor::Texto:
            Poe(coluna, linha, TTipoInterno::Texto, 0, textos_.Acrescenta(texto));
            break;
        case TTipoValor::Erro:
            Poe(coluna, linha, TTipoInterno::Erro, 0, textos_.Acrescenta(texto));
            break;
        case TTipoValor::Vazio:
            break;
    }
}

void TAbaLida::RecebeCompartilhado(int coluna, int linha, std::uint32_t indice) {
    Poe(coluna, linha, TTipoInterno::TextoCompartilhado, 0, indice);
}

void TMedidorAba::Recebe(int coluna, int linha, TTipoValor tipo, double numero,
                         std::string_view texto) {
    (void)numero;
    (void)texto;
    const std::uint64_t chave = Chave(coluna, linha);
    if (ultimaChave_ >= chave)
        medida_.emOrdem = false;
    ultimaChave_ = chave;
    medida_.ultimaLinha = std::max(medida_.ultimaLinha, linha);
    medida_.ultimaColuna = std::max(medida_.ultimaColuna, coluna);
    if (tipo == TTipoValor::Erro && medida_.primeiraLinhaComErro == 0)
        medida_.primeiraLinhaComErro = linha;
}

void TMedidorAba::RecebeCompartilhado(int coluna, int linha, std::uint32_t indice) {
    (void)indice;
    Recebe(coluna, linha, TTipoValor::Texto, 0, {});
}

void TAbaLida::Conclui() {
    if (!ordenada_) {
        // Out of order or repeated cells: the last one written for a position is the one the
        // producer meant, so sort stably and keep the last of each run.
        std::stable_sort(celulas_.begin(), celulas_.end(),
                         [](const TCelula& a, const TCelula& b) { return a.chave < b.chave; });
        std::vector<TCelula> unicas;
        unicas.reserve(celulas_.size());
        for (size_t i = 0; i < celulas_.size(); ++i) {
            if (i + 1 < celulas_.size() && celulas_[i + 1].chave == celulas_[i].chave)
                continue;
            unicas.push_back(celulas_[i]);
        }
        celulas_.swap(unicas);
        ordenada_ = true;
    }
    // No shrinking: a copy of the cells at their largest would cost more than the unused
    // tail, which the system never hands over until it is written.
    ultimaLinha_ = 0;
    ultimaColuna_ = 0;
    primeiraLinhaComErro_ = 0;
    for (const TCelula& c : celulas_) {
        ultimaColuna_ = std::max(ultimaColuna_, static_cast<int>(c.chave & 0xFFFFFFFFu));
        if (c.tipo == TTipoInterno::Erro && primeiraLinhaComErro_ == 0)
            primeiraLinhaComErro_ = static_cast<int>(c.chave >> 32);
    }
    if (!celulas_.empty())
        ultimaLinha_ = static_cast<int>(celulas_.back().chave >> 32);
    inicioLinha_.clear();
    // A row index costs four bytes a row; a file that names an absurd row number gets the plain
    // search over all its cells instead of an absurd allocation.
    if (ultimaLinha_ > kMaximoLinhasIndexadas)
        return;
    inicioLinha_.assign(static_cast<size_t>(ultimaLinha_) + 2, 0);
    size_t k = 0;
    for (int r = 1; r <= ultimaLinha_ + 1; ++r) {
        while (k < celulas_.size() && static_cast<int>(celulas_[k].chave >> 32) < r)
            ++k;
        inicioLinha_[r] = static_cast<std::uint32_t>(k);
    }
}

std::pair<std::vector<TAbaLida::TCelula>::const_iterator,
          std::vector<TAbaLida::TCelula>::const_iterator>
TAbaLida::CelulasLinha(int linha) const {
    if (linha < 1 || linha > ultimaLinha_)
        return {celulas_.end(), celulas_.end()};
    if (!inicioLinha_.empty()) {
        return {celulas_.begin() + inicioLinha_[linha], celulas_.begin() + inicioLinha_[linha + 1]};
    }
    auto antes = [](const TCelula& c, std::uint64_t k) { return c.chave < k; };
    auto ini = std::lower_bound(celulas_.begin(), celulas_.end(), Chave(0, linha), antes);
    auto fim = std::lower_bound(ini, celulas_.end(), Chave(0, linha + 1), antes);
    return {ini, fim};
}

TValorCelula TAbaLida::Valor(int coluna, int linha) const {
    if (linha < 1 || linha > ultimaLinha_ || coluna < 1 || coluna > ultimaColuna_)
        return {};
    auto [ini, fim] = CelulasLinha(linha);
    std::uint64_t chave = Chave(coluna, linha);
    auto it = std::lower_bound(ini, fim, chave,
                               [](const TCelula& c, std::uint64_t k) { return c.chave < k; });
    if (it == fim || it->chave != chave)
        return {};
    return ValorDe(*it);
}

std::vector<std::pair<int, TValorCelula>> TAbaLida::ValoresLinha(int linha) const {
    std::vector<std::pair<int, TValorCelula>> r;
    auto [ini, fim] = CelulasLinha(linha);
    r.reserve(static_cast<std::size_t>(fim - ini));
    for (auto it = ini; it != fim; ++it)
        r.emplace_back(static_cast<int>(it->chave & 0xFFFFFFFFu), ValorDe(*it));
    return r;
}

TValorCelula TAbaLida::ValorDe(const TCelula& celula) const {
    TValorCelula v;
    switch (celula.tipo) {
        case TTipoInterno::Numero:
            v.tipo = TTipoValor::Numero;
            v.numero = celula.numero;
            break;
        case TTipoInterno::Logico:
            v.tipo = TTipoValor::Logico;
            v.logico = celula.numero != 0;
            break;
        case TTipoInterno::Texto:
            v.tipo = TTipoValor::Texto;
            v.texto = textos_.Texto(celula.indice);
            break;
        case TTipoInterno::TextoCompartilhado:
            v.tipo = TTipoValor::Texto;
            v.texto = compartilhados_->Texto(celula.indice);
            break;
        case TTipoInterno::Erro:
            v.tipo = TTipoValor::Erro;
            v.texto = textos_.Texto(celula.indice);
            break;
    }
    return v;
}

namespace {

// The rows of a sheet kept whole.
class TPercursoInteiro : public TPercursoAba {
  public:
    explicit TPercursoInteiro(std::shared_ptr<const TAbaLida> aba) : aba_(std::move(aba)) {}
    std::vector<std::pair<int, TValorCelula>> ValoresLinha(int linha) override {
        return aba_->ValoresLinha(linha);
    }
    void Reinicia() override {}

  private:
    std::shared_ptr<const TAbaLida> aba_;
};

TMedidaAba MedidaDe(const TAbaLida& aba) {
    TMedidaAba m;
    m.ultimaLinha = aba.UltimaLinha();
    m.ultimaColuna = aba.UltimaColuna();
    m.primeiraLinhaComErro = aba.PrimeiraLinhaComErro();
    m.emOrdem = false;  // what matters is that it is kept whole
    return m;
}

}  // namespace

class TPercursoEmFila::TFila : public TReceptorCelulas {
  public:
    using TReceptorCelulas::TReceptorCelulas;
    struct TItem {
        int linha;
        int coluna;
        TValorCelula valor;
    };
    std::deque<TItem> itens;

  protected:
    void Recebe(int coluna, int linha, TTipoValor tipo, double numero,
                std::string_view texto) override {
        TValorCelula v;
        v.tipo = tipo;
        if (tipo == TTipoValor::Numero)
            v.numero = numero;
        else if (tipo == TTipoValor::Logico)
            v.logico = numero != 0;
        else
            v.texto = texto;
        itens.push_back(TItem{linha, coluna, std::move(v)});
    }
};

TPercursoEmFila::TPercursoEmFila(std::shared_ptr<const TTextos> compartilhados,
                                 std::string prefixoErro)
    : fila_(std::make_shared<TFila>(std::move(compartilhados))),
      prefixoErro_(std::move(prefixoErro)) {}

TReceptorCelulas& TPercursoEmFila::Fila() {
    return *fila_;
}

void TPercursoEmFila::Falha(const EPlanilha& e) {
    falha_ = prefixoErro_ + e.what();
    throw EPlanilha(falha_);
}

void TPercursoEmFila::Reinicia() {
    fila_->itens.clear();
    fim_ = false;
    falha_.clear();
    try {
        Recomeca();
    } catch (const EPlanilha& e) {
        Falha(e);
    }
}

std::vector<std::pair<int, TValorCelula>> TPercursoEmFila::ValoresLinha(int linha) {
    if (!falha_.empty())
        throw EPlanilha(falha_);
    std::deque<TFila::TItem>& itens = fila_->itens;
    try {
        for (;;) {
            while (!itens.empty() && itens.front().linha < linha)
                itens.pop_front();
            if (fim_ || (!itens.empty() && itens.back().linha > linha))
                break;
            fim_ = !Avanca();
        }
    } catch (const EPlanilha& e) {
        Falha(e);
    }
    std::vector<std::pair<int, TValorCelula>> r;
    for (auto it = itens.begin(); it != itens.end() && it->linha == linha; ++it)
        r.emplace_back(it->coluna, it->valor);
    return r;
}

void TPastaTrabalho::ExigeAba(std::size_t indice) {
    if (indice >= nomes_.size()) {
        throw Erro("a aba número " + std::to_string(indice + 1) + " não existe.");
    }
    if (lidas_.size() < nomes_.size()) {
        lidas_.resize(nomes_.size());
        medidas_.resize(nomes_.size());
    }
}

const TAbaLida& TPastaTrabalho::Aba(std::size_t indice) {
    ExigeAba(indice);
    if (!lidas_[indice]) {
        std::unique_ptr<TAbaLida> aba = LeAba(indice);
        aba->Conclui();
        lidas_[indice] = std::move(aba);
        medidas_[indice] = std::make_unique<TMedidaAba>(MedidaDe(*lidas_[indice]));
    }
    return *lidas_[indice];
}

const TMedidaAba& TPastaTrabalho::Medida(std::size_t indice) {
    ExigeAba(indice);
    if (!medidas_[indice]) {
        std::optional<TMedidaAba> medida = MedeAba(indice);
        // Out of order, the rows can only be read from the sheet kept whole.
        if (!medida || !medida->emOrdem)
            Aba(indice);
        else
            medidas_[indice] = std::make_unique<TMedidaAba>(*medida);
    }
    return *medidas_[indice];
}

std::unique_ptr<TPercursoAba> TPastaTrabalho::Percurso(std::size_t indice) {
    Medida(indice);
    if (!lidas_[indice]) {
        if (std::unique_ptr<TPercursoAba> percurso = PercorreAba(indice))
            return percurso;
        Aba(indice);
    }
    return std::make_unique<TPercursoInteiro>(lidas_[indice]);
}

EPlanilha TPastaTrabalho::Erro(const std::string& motivo) const {
    return EPlanilha("Não foi possível ler a planilha \"" + win1252::MensagemUtf8(caminho_) +
                     "\": " + motivo);
}

namespace {

std::string ExtensaoMinuscula(const std::string& caminho) {
    size_t barra = caminho.find_last_of("/\\");
    size_t ponto = caminho.rfind('.');
    if (ponto == std::string::npos || (barra != std::string::npos && ponto < barra))
        return "";
    std::string ext = caminho.substr(ponto + 1);
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return ext;
}

// The file must be there and readable before any reader looks at it, so that the operator
// reads why in plain words instead of a container library's code.
void ConfereArquivo(const std::string& caminho) {
    auto erro = [&](const std::string& motivo) {
        return EPlanilha("Não foi possível abrir a planilha \"" + win1252::MensagemUtf8(caminho) +
                         "\": " + motivo);
    };
    if (caminho.empty())
        throw EPlanilha("Não foi informado o arquivo da planilha.");
    struct stat st {};
    if (stat(caminho.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw erro("o arquivo não existe.");
        throw erro(std::strerror(errno));
    }
    if (S_ISDIR(st.st_mode))
        throw erro("o caminho é uma pasta, não um arquivo.");
    std::FILE* f = std::fopen(caminho.c_str(), "rb");
    if (!f) {
        if (errno == EACCES || errno == EPERM)
            throw erro("sem permissão para ler o arquivo.");
        throw erro(std::strerror(errno));
    }
    std::fclose(f);
    if (st.st_size == 0)
        throw erro("o arquivo está vazio.");
}

}  // namespace

std::unique_ptr<TPastaTrabalho> AbrePastaTrabalho(const std::string& caminho) {
    std::string ext = ExtensaoMinuscula(caminho);
    if (ext != "xlsx" && ext != "xls" && ext != "csv") {
        throw EPlanilha("Não foi possível abrir a planilha \"" + win1252::MensagemUtf8(caminho) +
                        "\": o formato do arquivo não é reconhecido (use .xlsx, .xls ou .csv).");
    }
    ConfereArquivo(caminho);
    if (ext == "xlsx")
        return std::make_unique<TLeitorXlsx>(caminho);
    if (ext == "xls")
        return std::make_unique<TLeitorXls>(caminho);
    return std::make_unique<TLeitorCsv>(caminho);
}

namespace planilha {

std::string LetrasColuna(int coluna) {
    std::string r;
    for (long n = coluna; n > 0; n = (n - 1) / 26) {
        r.insert(r.begin(), static_cast<char>('A' + (n - 1) % 26));
    }
    return r;
}

std::string ReferenciaCelula(int coluna, int linha) {
    return LetrasColuna(coluna) + std::to_string(linha);
}

bool LeReferencia(std::string_view ref, int& coluna, int& linha) {
    constexpr long kMaximo = 0x3FFFFFFF;
    size_t i = 0;
    long c = 0, l = 0;
    for (; i < ref.size(); ++i) {
        char ch = ref[i];
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
        if (ch == '$' && i == 0)
            continue;
        if (ch < 'A' || ch > 'Z')
            break;
        c = c * 26 + (ch - 'A' + 1);
        if (c > kMaximo)
            return false;
    }
    if (c == 0)
        return false;
    if (i < ref.size() && ref[i] == '$')
        ++i;
    size_t digitos = 0;
    for (; i < ref.size(); ++i, ++digitos) {
        char ch = ref[i];
        if (ch < '0' || ch > '9')
            return false;
        l = l * 10 + (ch - '0');
        if (l > kMaximo)
            return false;
    }
    if (digitos == 0 || l == 0)
        return false;
    coluna = static_cast<int>(c);
    linha = static_cast<int>(l);
    return true;
}

}  // namespace planilha
