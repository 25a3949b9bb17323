// The program's only way into a workbook: opens a file, lists its worksheets, attaches itself
// to one of them and reads its cells as the texts the staging load keeps. The workbook is read
// from the file itself (see PastaTrabalho.h). A sheet is measured once, when first attached;
// rows read in order come from the file as they are asked for, and the sheet is kept whole only
// when its cells are read out of order (or its reader cannot walk it).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "spreadsheet/LinhasDaAba.h"
#include "spreadsheet/PastaTrabalho.h"

class TDMCotrolaExcel {
  public:
    TDMCotrolaExcel();
    ~TDMCotrolaExcel();
    TDMCotrolaExcel(const TDMCotrolaExcel&) = delete;
    TDMCotrolaExcel& operator=(const TDMCotrolaExcel&) = delete;

    // Opens the workbook at caminho (a UTF-8 path) in place of the one open. When it fails
    // (EPlanilha naming the file) no workbook stays open, so that the sheets of the previous
    // file can never be taken for the new one's.
    void AbreArquivoExcel(const std::string& caminho);

    bool TemPastaAberta() const { return static_cast<bool>(objPasta_); }

    // The worksheet names (Windows-1252) in workbook order; the module keeps the list until
    // LiberaListaAbas. Leaves the module attached to the last sheet listed.
    const std::vector<std::string>& ListaAbas();
    void LiberaListaAbas();

    // Attaches the module to the sheet with this 1-based number of the list.
    void SelecionaAba(int numero);

    // The last row and column of the attached sheet's used area; 1 and 1 for an empty sheet.
    int UltimaLinha();
    int UltimaColuna();

    // The cell's value as text (Windows-1252): "" when empty, a number in the regional
    // settings' general form, a logical value as "True" or "False". A cell holding an error
    // value fails with EPlanilha naming the sheet, the cell and the error.
    std::string LeCelula(int coluna, int linha);

    // The row's cells that hold a value, in column order; every other cell of the row reads as
    // the empty text. A far-out cell widens the used area to thousands of columns, and a row
    // read this way costs what it holds, not that width. Fails as LeCelula does on the first
    // cell holding an error value.
    std::vector<TCelulaLida> LeLinha(int linha);

    // The first row on which LeLinha fails for a cell holding an error value; 0 when none does.
    int PrimeiraLinhaComErro();

    // The attached sheet's rows, as LeLinha gives them, for a reader that walks them later:
    // it keeps what it reads from, whatever this module opens or attaches to meanwhile.
    std::unique_ptr<TLinhasDaAba> LinhasDaAba();

    // Letters of a column: one letter up to 26, two from 27 to 702; above 702 the two-letter
    // rule runs on unchanged and gives no valid reference (cells are addressed by number).
    static std::string LetraColuna(int coluna);

  private:
    // The attached sheet kept whole.
    const TAbaLida& AbaAtual();
    const TMedidaAba& MedidaAtual();
    void ExigePasta() const;
    void ExigeAba() const;
    void Desliga();

    std::unique_ptr<TPastaTrabalho> objPasta_;
    std::size_t abaAtual_ = 0;  // 1-based; 0: not attached
    const TAbaLida* AbasExcel_ = nullptr;
    std::unique_ptr<TLinhasDaAba> linhas_;  // LeLinha's walk, while the sheet is not kept whole
    std::vector<std::string> ListaNomesAbas_;
};
