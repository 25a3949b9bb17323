// Placeholder until the workbook readers land: the module's interface only.
#pragma once

#include <string>
#include <vector>

class TDMCotrolaExcel {
  public:
    TDMCotrolaExcel();
    ~TDMCotrolaExcel();
    void AbreArquivoExcel(const std::string& caminho);
    const std::vector<std::string>& ListaAbas();
    void LiberaListaAbas();
    void SelecionaAba(int numero);
    int UltimaLinha();
    int UltimaColuna();
    std::string LeCelula(int coluna, int linha);
    static std::string LetraColuna(int coluna);
    bool TemPastaAberta() const;
};
