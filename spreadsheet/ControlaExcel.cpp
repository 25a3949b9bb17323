#include "spreadsheet/ControlaExcel.h"

#include "common/Win1252.h"

TDMCotrolaExcel::TDMCotrolaExcel() = default;
TDMCotrolaExcel::~TDMCotrolaExcel() = default;

void TDMCotrolaExcel::AbreArquivoExcel(const std::string& caminho) {
    Desliga();
    objPasta_.reset();
    abaAtual_ = 0;
    objPasta_ = AbrePastaTrabalho(caminho);
}

void TDMCotrolaExcel::Desliga() {
    AbasExcel_ = nullptr;
    linhas_.reset();
}

void TDMCotrolaExcel::ExigePasta() const {
    if (!objPasta_)
        throw EPlanilha("Nenhuma planilha está aberta.");
}

const std::vector<std::string>& TDMCotrolaExcel::ListaAbas() {
    ExigePasta();
    ListaNomesAbas_ = objPasta_->NomesAbas();
    // The listing visits every sheet and stays on the last one.
    abaAtual_ = ListaNomesAbas_.size();
    Desliga();
    return ListaNomesAbas_;
}

void TDMCotrolaExcel::LiberaListaAbas() {
    ListaNomesAbas_.clear();
    ListaNomesAbas_.shrink_to_fit();
}

void TDMCotrolaExcel::SelecionaAba(int numero) {
    ExigePasta();
    std::size_t total = objPasta_->NomesAbas().size();
    if (numero < 1 || static_cast<std::size_t>(numero) > total) {
        throw EPlanilha("A aba número " + std::to_string(numero) + " não existe na planilha \"" +
                        win1252::MensagemUtf8(objPasta_->Caminho()) + "\", que tem " +
                        std::to_string(total) + (total == 1 ? " aba." : " abas."));
    }
    abaAtual_ = static_cast<std::size_t>(numero);
    Desliga();
    // Measuring here reads every cell: a damaged sheet fails before the run starts, not
    // halfway through it.
    MedidaAtual();
}

void TDMCotrolaExcel::ExigeAba() const {
    ExigePasta();
    if (abaAtual_ == 0) {
        throw EPlanilha("Nenhuma aba da planilha \"" + win1252::MensagemUtf8(objPasta_->Caminho()) +
                        "\" foi selecionada.");
    }
}

const TAbaLida& TDMCotrolaExcel::AbaAtual() {
    if (!AbasExcel_) {
        ExigeAba();
        AbasExcel_ = &objPasta_->Aba(abaAtual_ - 1);
        linhas_.reset();
    }
    return *AbasExcel_;
}

const TMedidaAba& TDMCotrolaExcel::MedidaAtual() {
    ExigeAba();
    return objPasta_->Medida(abaAtual_ - 1);
}

int TDMCotrolaExcel::UltimaLinha() {
    int n = MedidaAtual().ultimaLinha;
    return n < 1 ? 1 : n;
}

int TDMCotrolaExcel::UltimaColuna() {
    int n = MedidaAtual().ultimaColuna;
    return n < 1 ? 1 : n;
}

int TDMCotrolaExcel::PrimeiraLinhaComErro() {
    return MedidaAtual().primeiraLinhaComErro;
}

std::unique_ptr<TLinhasDaAba> TDMCotrolaExcel::LinhasDaAba() {
    ExigeAba();
    return std::make_unique<TLinhasDaAba>(objPasta_->Percurso(abaAtual_ - 1),
                                          objPasta_->NomesAbas()[abaAtual_ - 1]);
}

std::string TDMCotrolaExcel::LeCelula(int coluna, int linha) {
    const TAbaLida& aba = AbaAtual();
    if (coluna < 1 || linha < 1) {
        throw EPlanilha("Referência de célula inválida: coluna " + std::to_string(coluna) +
                        ", linha " + std::to_string(linha) + ".");
    }
    return TextoDaCelula(aba.Valor(coluna, linha), coluna, linha,
                         objPasta_->NomesAbas()[abaAtual_ - 1]);
}

std::vector<TCelulaLida> TDMCotrolaExcel::LeLinha(int linha) {
    ExigeAba();
    if (!AbasExcel_)
        MedidaAtual();  // a sheet that cannot be read fails here, as it would when kept whole
    if (linha < 1) {
        throw EPlanilha("Referência de célula inválida: linha " + std::to_string(linha) + ".");
    }
    // Rows read out of order are read from the sheet kept whole.
    if (linhas_ && linha < linhas_->UltimaLida())
        AbaAtual();
    if (AbasExcel_) {
        std::vector<TCelulaLida> r;
        for (auto& [coluna, valor] : AbasExcel_->ValoresLinha(linha)) {
            std::string texto = TextoDaCelula(std::move(valor), coluna, linha,
                                              objPasta_->NomesAbas()[abaAtual_ - 1]);
            if (!texto.empty())
                r.push_back(TCelulaLida{coluna, std::move(texto)});
        }
        return r;
    }
    if (!linhas_)
        linhas_ = LinhasDaAba();
    return linhas_->Le(linha);
}

std::string TDMCotrolaExcel::LetraColuna(int coluna) {
    // Character codes past 'Z' (and past one byte) wrap as a one-byte character does.
    auto letra = [](long codigo) { return static_cast<char>(static_cast<unsigned char>(codigo)); };
    if (coluna <= 26)
        return std::string(1, letra(64L + coluna));
    long q = coluna / 26, r = coluna % 26;
    if (r == 0) {
        r = 26;
        q -= 1;
    }
    return {letra(64 + q), letra(64 + r)};
}
