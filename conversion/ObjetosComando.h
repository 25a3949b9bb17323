// The table and the columns that one statement names, as the engine reads unquoted names
// (letters a to z upper-cased): what a database must hold for the statement to run.
#pragma once

#include <optional>
#include <string>
#include <utility>
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

// The one table a plain statement reads or writes (SELECT ... FROM t, INSERT INTO t,
// UPDATE t, DELETE FROM t); nullopt when it may reach another one: a second table, a join, a
// subquery, a union, a procedure.
std::optional<std::string> TabelaUnicaDoComando(const std::string& sql);

// What a statement gives each column it writes, for a refusal to name the column and the value.
struct TValorDoComando {
    enum class Tipo { Nenhum, Literal, Parametro } tipo = Tipo::Nenhum;
    std::string texto;  // a literal's text or a number's digits; a parameter's name, upper-cased
};
struct TValoresComando {
    std::string tabela;
    std::vector<std::pair<std::string, TValorDoComando>> pares;  // column and value, in order
};

// The columns and values of INSERT INTO t (columns) VALUES (values) and UPDATE t SET c = v, ...;
// a value that is neither a literal nor a parameter (NULL, an expression) is Nenhum.
TValoresComando ValoresDoComando(const std::string& sql);
