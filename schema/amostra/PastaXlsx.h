// A workbook of one sheet written with libxlsxwriter. Rows and columns count from 1, as the
// operators number them (row 1 is the heading). Texts are UTF-8.
#pragma once

#include <string>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

class TPastaXlsx {
  public:
    // Fails with EPlanilha when the library cannot start the workbook.
    TPastaXlsx(const std::string& caminho, const std::string& nomePlanilha);
    // A workbook not closed by Fecha (an error on the way) is abandoned, its file not written.
    ~TPastaXlsx();
    TPastaXlsx(const TPastaXlsx&) = delete;
    TPastaXlsx& operator=(const TPastaXlsx&) = delete;

    // Row 1 in bold, each column as wide as given.
    void Cabecalho(const std::vector<std::string>& titulos, const std::vector<double>& larguras);
    // An empty text leaves the cell empty.
    void Texto(int linha, int coluna, const std::string& texto);
    void Numero(int linha, int coluna, double valor);
    void Logico(int linha, int coluna, bool valor);

    // Writes the file; fails with EPlanilha carrying the library's message.
    void Fecha();

  private:
    void Verifica(int erro, const char* operacao) const;

    std::string caminho_;
    lxw_workbook* pasta_ = nullptr;
    lxw_worksheet* planilha_ = nullptr;
    lxw_format* negrito_ = nullptr;
};
