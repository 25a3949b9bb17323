// What a lookup row's miss asks the database, in one trip instead of one per question. Through
// a server each question waits for the network: the committed rows (found by each lookup in
// turn, then their highest code) are asked in a transaction of their own, the run's highest code
// in the run's transaction, and that is six to ten trips per new city, unit or classification.
// One EXECUTE BLOCK asks them all: the committed rows from an autonomous transaction, which sees
// what other transactions had committed when it started, as the read-committed read did; every
// question is the very statement the separate reads run (EXECUTE STATEMENT), with the same values
// bound to it, and its answer comes back in the type the statement gives it.
#pragma once

#include "conversion/BuscaConcorrente.h"

#include <optional>
#include <string>

class TBancoFirebird;

struct TRespostaDaBusca {
    int achadaPor = -1;           // the lookup of the committed rows that found the row, or -1
    std::string codigo;           // the code it found
    std::string maiorConfirmado;  // otherwise: the highest code committed,
    std::string maiorProprio;     // and the highest code the run's transaction sees
};

// nullopt when the block cannot ask it (a value or a column it cannot carry, a failure of the
// engine): the caller asks question by question, and any failure is then the statement's own.
std::optional<TRespostaDaBusca> PerguntaNumaIda(TBancoFirebird& banco, const TLinhaDeBusca& linha);
