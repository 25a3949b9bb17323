#include "spreadsheet/ControlaExcel.h"

#include "common/Erros.h"

// Placeholder until the workbook readers land.
TDMCotrolaExcel::TDMCotrolaExcel() = default;
TDMCotrolaExcel::~TDMCotrolaExcel() = default;
void TDMCotrolaExcel::AbreArquivoExcel(const std::string&) {
    throw EPlanilha("indisponível");
}
const std::vector<std::string>& TDMCotrolaExcel::ListaAbas() {
    throw EPlanilha("indisponível");
}
void TDMCotrolaExcel::LiberaListaAbas() {}
void TDMCotrolaExcel::SelecionaAba(int) {
    throw EPlanilha("indisponível");
}
int TDMCotrolaExcel::UltimaLinha() {
    throw EPlanilha("indisponível");
}
int TDMCotrolaExcel::UltimaColuna() {
    throw EPlanilha("indisponível");
}
std::string TDMCotrolaExcel::LeCelula(int, int) {
    throw EPlanilha("indisponível");
}
std::string TDMCotrolaExcel::LetraColuna(int) {
    return {};
}
bool TDMCotrolaExcel::TemPastaAberta() const {
    return false;
}
