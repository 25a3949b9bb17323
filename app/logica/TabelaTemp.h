// The in-memory copy of the chosen sheet: one text column per sheet column, named "1".."N",
// each cell at most 100 characters; one row per sheet row, in sheet order. Readers walk it as a
// forward cursor and read columns by name.
#pragma once

#include <string>
#include <vector>

class TTabelaTemp {
  public:
    static constexpr size_t kTamanhoCampo = 100;

    // Drops everything and defines the columns "1" to n, with no rows.
    void Recria(int colunas);
    int Colunas() const { return colunas_; }

    // Appends a row; cells beyond the columns are ignored, missing ones are empty, longer texts
    // keep their first 100 characters.
    void Acrescenta(std::vector<std::string> celulas);

    void Primeiro() { linha_ = 0; }
    void Proximo() {
        if (linha_ < linhas_.size())
            ++linha_;
    }
    bool Fim() const { return linha_ >= linhas_.size(); }
    int TotalRegistros() const { return static_cast<int>(linhas_.size()); }

    // The current row's text of a column by name; a name that is not a column fails with
    // "Field '<name>' not found".
    const std::string& Campo(const std::string& nome) const;
    // The column Campo was last asked for (0: none since EsqueceColunaLida), so that a failure
    // while its text is converted can name the cell.
    int ColunaLida() const { return colunaLida_; }
    void EsqueceColunaLida() const { colunaLida_ = 0; }

    const std::vector<std::vector<std::string>>& Linhas() const { return linhas_; }

  private:
    int colunas_ = 0;
    std::vector<std::vector<std::string>> linhas_;
    size_t linha_ = 0;
    mutable int colunaLida_ = 0;
};
