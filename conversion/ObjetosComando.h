// The table and the columns that one statement names, as the engine reads unquoted names
// (letters a to z upper-cased): what a database must hold for the statement to run.
#pragma once

#include <string>
#include <vector>

struct TObjetosComando {
    std::string tabela;
    std::vector<std::string> colunas;  // in the statement's order, each once
};

// Reads the plain statements this program sends: INSERT INTO t (columns) VALUES ..., UPDATE t
// SET c = ... WHERE c = ..., DELETE FROM t WHERE ..., SELECT columns FROM t WHERE c = ....
// Function calls and aliases in a select list are not columns; literals and parameters are
// skipped.
TObjetosComando ObjetosDoComando(const std::string& sql);
