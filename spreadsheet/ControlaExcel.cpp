#include "spreadsheet/ControlaExcel.h"

#include "common/ConfiguracaoRegional.h"
#include "common/Win1252.h"

TDMCotrolaExcel::TDMCotrolaExcel() = default;
TDMCotrolaExcel::~TDMCotrolaExcel() = default;

void TDMCotrolaExcel::AbreArquivoExcel(const std::string& caminho) {
    objPasta_.reset();
    abaAtual_ = 0;
    AbasExcel_ = nullptr;
    objPasta_ = AbrePastaTrabalho(caminho);
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
    AbasExcel_ = nullptr;
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
    AbasExcel_ = nullptr;
    // Loading here makes a damaged sheet fail before the run starts, not halfway through it.
    AbaAtual();
}

const TAbaLida& TDMCotrolaExcel::AbaAtual() {
    ExigePasta();
    if (!AbasExcel_) {
        if (abaAtual_ == 0) {
            throw EPlanilha("Nenhuma aba da planilha \"" +
                            win1252::MensagemUtf8(objPasta_->Caminho()) + "\" foi selecionada.");
        }
        AbasExcel_ = &objPasta_->Aba(abaAtual_ - 1);
    }
    return *AbasExcel_;
}

int TDMCotrolaExcel::UltimaLinha() {
    int n = AbaAtual().UltimaLinha();
    return n < 1 ? 1 : n;
}

int TDMCotrolaExcel::UltimaColuna() {
    int n = AbaAtual().UltimaColuna();
    return n < 1 ? 1 : n;
}

std::string TDMCotrolaExcel::LeCelula(int coluna, int linha) {
    const TAbaLida& aba = AbaAtual();
    if (coluna < 1 || linha < 1) {
        throw EPlanilha("Referência de célula inválida: coluna " + std::to_string(coluna) +
                        ", linha " + std::to_string(linha) + ".");
    }
    return Texto(aba.Valor(coluna, linha), coluna, linha);
}

std::vector<TCelulaLida> TDMCotrolaExcel::LeLinha(int linha) {
    const TAbaLida& aba = AbaAtual();
    if (linha < 1) {
        throw EPlanilha("Referência de célula inválida: linha " + std::to_string(linha) + ".");
    }
    std::vector<TCelulaLida> r;
    for (auto& [coluna, valor] : aba.ValoresLinha(linha)) {
        std::string texto = Texto(std::move(valor), coluna, linha);
        if (!texto.empty())
            r.push_back(TCelulaLida{coluna, std::move(texto)});
    }
    return r;
}

std::string TDMCotrolaExcel::Texto(TValorCelula v, int coluna, int linha) const {
    switch (v.tipo) {
        case TTipoValor::Vazio:
            return {};
        case TTipoValor::Texto:
            return std::move(v.texto);
        case TTipoValor::Numero:
            return TConfiguracaoRegional::Instancia().NumeroParaTexto(v.numero);
        case TTipoValor::Logico:
            return v.logico ? "True" : "False";
        case TTipoValor::Erro:
            break;
    }
    throw EPlanilha("A célula " + planilha::ReferenciaCelula(coluna, linha) + " da aba \"" +
                    win1252::ParaUtf8(objPasta_->NomesAbas()[abaAtual_ - 1]) +
                    "\" contém o valor de erro " + win1252::ParaUtf8(v.texto) +
                    " e não pode ser convertida em texto.");
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
