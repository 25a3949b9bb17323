// The staged rows of the chosen sheet: one text column per sheet column, named "1".."N", each
// cell at most 100 characters; one row per sheet row, in sheet order. Readers walk it as a
// forward cursor and read columns by name.
//
// Staged from a sheet, the table keeps no copy: the cursor's row is read from the sheet when it
// is first asked for, so a run holds one row of the sheet at a time however large the sheet.
// Rows can also be put in by hand; then only the cells that hold a text are kept, so the table
// costs what they hold: one stray cell at a far corner makes N huge, but not the memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "common/Erros.h"
#include "spreadsheet/LinhasDaAba.h"

// A mapping asked for a column the sheet does not have: every row would fail the same way.
class EColunaInexistente : public EConversor {
  public:
    using EConversor::EConversor;
};

class TTabelaTemp {
  public:
    static constexpr size_t kTamanhoCampo = 100;

    // Drops everything and defines the columns "1" to n, with no rows.
    void Recria(int colunas);
    int Colunas() const { return colunas_; }

    // Appends a row from the cells that hold a value, in column order; the other columns are
    // empty. Cells beyond the columns are ignored, longer texts keep their first 100 characters.
    void AcrescentaCelulas(const std::vector<TCelulaLida>& celulas);
    // The same from every column's text, from column 1 on.
    void Acrescenta(const std::vector<std::string>& celulas);

    // Drops everything and defines the columns "1" to n, with no rows; the rows then staged with
    // AcrescentaLinhaDaPlanilha are read from linhas (row k of the table is row k of the sheet).
    void RecriaDaPlanilha(int colunas, std::unique_ptr<TLinhasDaAba> linhas);
    // The sheet's next row becomes the table's last.
    void AcrescentaLinhaDaPlanilha();

    void Primeiro();
    void Proximo();
    bool Fim() const { return linha_ >= linhas_; }
    int TotalRegistros() const { return static_cast<int>(linhas_); }

    // The current row's text of a column by name; a name that is not a column fails with
    // "Field '<name>' not found".
    std::string Campo(const std::string& nome) const;
    // The column Campo was last asked for (0: none since EsqueceColunaLida), so that a failure
    // while its text is converted can name the cell.
    int ColunaLida() const { return colunaLida_; }
    void EsqueceColunaLida() const { colunaLida_ = 0; }

    // Every column's text of the row with this 0-based index.
    std::vector<std::string> Linha(int indice) const;

  private:
    // The cells of a row, as AcrescentaCelulas keeps them.
    std::vector<TCelulaLida> Filtra(std::vector<TCelulaLida> celulas) const;
    // The cursor's row, read from the sheet the first time it is asked for.
    const std::vector<TCelulaLida>& LinhaAtualDaPlanilha() const;

    // A kept cell; its text runs from inicio to the next cell's inicio (or the end of textos_).
    struct TCelula {
        std::uint64_t inicio;
        std::uint32_t linha;  // 0-based
        std::uint32_t coluna;
    };
    std::string TextoDe(std::size_t indice) const;
    // The position of the cell (linha, coluna) or of the first one after it, from primeira on.
    std::size_t Procura(std::size_t primeira, std::uint32_t linha, std::uint32_t coluna) const;

    int colunas_ = 0;
    std::size_t linhas_ = 0;
    // Deques grow a block at a time: a vector's doubling would hold the old and the new copy at
    // once, half again the table's size, just when the table is largest.
    std::deque<char> textos_;
    std::deque<TCelula> celulas_;      // by row, then by column
    std::size_t linha_ = 0;            // the cursor
    std::size_t primeiraDaLinha_ = 0;  // the cursor row's first cell, or the next row's
    mutable int colunaLida_ = 0;
    std::unique_ptr<TLinhasDaAba> planilha_;          // the rows' source when staged from a sheet
    mutable std::size_t linhaDaPlanilha_ = SIZE_MAX;  // the row in atual_
    mutable std::vector<TCelulaLida> atual_;
};
