// Reads back an "Insert Into T (cols) Values (vals)" text as the writers build it, so tests can
// check each column's value and the order of the columns.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace apoio {

struct TInsert {
    std::string tabela;
    std::vector<std::pair<std::string, std::string>> colunas;  // name as written, value as written

    // The value written for a column (names compared without regard to case); fails the test
    // through an exception when the column is not in the statement.
    const std::string& Valor(const std::string& coluna) const;
    bool Tem(const std::string& coluna) const;
    std::vector<std::string> Nomes() const;
};

TInsert LeInsert(const std::string& sql);

}  // namespace apoio
