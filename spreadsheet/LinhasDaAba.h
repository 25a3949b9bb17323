// The rows of one sheet as the program reads them: each cell holding a value as its text, read
// on from the file as the rows are asked for, so that a sheet is never held whole to be walked.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "spreadsheet/PastaTrabalho.h"

// A cell of a row that holds a value: its column number and its text as LeCelula gives it.
struct TCelulaLida {
    int coluna;
    std::string texto;
};

// The value's text (Windows-1252): "" when empty, a number in the regional settings' general
// form, a logical value as "True" or "False". A cell holding an error value fails with
// EPlanilha naming the sheet (nomeAba, Windows-1252), the cell and the error.
std::string TextoDaCelula(TValorCelula valor, int coluna, int linha, const std::string& nomeAba);

class TLinhasDaAba {
  public:
    // Owns the walk, and through it what the walk reads: the workbook may be closed meanwhile.
    TLinhasDaAba(std::unique_ptr<TPercursoAba> percurso, std::string nomeAba);

    // The row's cells that hold a value, in column order. A row before the last one read starts
    // the walk over from the first row. Fails as TextoDaCelula does on the first cell holding an
    // error value, or with the reader's failure.
    std::vector<TCelulaLida> Le(int linha);

    // The last row Le was asked for; 0 before the first.
    int UltimaLida() const { return ultimaLida_; }

  private:
    std::unique_ptr<TPercursoAba> percurso_;
    std::string nomeAba_;
    int ultimaLida_ = 0;
};
