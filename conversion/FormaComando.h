// The shape of a writer's statement once its literals are "?" markers: which column each marker
// gives its value to, so that the statement can run inside a block whose inputs are declared
// with those very columns' types. Only the two shapes the writers send are understood:
//   INSERT INTO t (c1, c2, ...) VALUES (v1, v2, ...)   each marker alone as a value
//   UPDATE t SET c = v, ... WHERE c = v [AND c = v ...] each marker right after "c ="
// Anything else is not understood and runs on its own.
#pragma once

#include <string>
#include <vector>

struct TFormaComando {
    bool entendida = false;
    std::string tabela;                // upper-cased, as the engine reads an unquoted name
    std::vector<std::string> colunas;  // one per marker, in order, upper-cased
    int contextos = 0;  // the engine's contexts of the statement: 1 per insert, 2 per update
};

TFormaComando FormaDoComando(const std::string& sqlParametrizado);
