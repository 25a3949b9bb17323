// A lookup row's whole lookup in one EXECUTE BLOCK, for a database behind a network: asked in
// turn, a new city, unit or classification waits for six to ten round trips (the run's own
// lookups, the committed rows in a transaction of their own, the highest codes, the insert).
//
// Every question is the very statement the lookup asks alone, run by EXECUTE STATEMENT with the
// same values, and answers in its column's own type: the run's own lookups in the run's
// transaction; the committed rows and their highest code in an autonomous transaction, which
// sees what other transactions had committed when it started, as the read-committed read did;
// the run's highest code in the run's transaction again. The new code follows the highest of
// both, which only the program computes: the block inserts it when both highest codes are the
// ones the program foresaw from the last time (the run's last new code, nobody else's since),
// and otherwise answers them, for the program to compute the code and ask once more.
#pragma once

#include "conversion/BuscaDeLinha.h"

#include <optional>

class TBancoFirebird;

// nullopt when the block cannot ask it (a value, a statement or a column it cannot carry, any
// refusal of the engine but a duplicate of the new code): the lookup is then asked in turn, and
// any failure is the statement's own.
std::optional<TLinhaAchada> BuscaNumaIda(TBancoFirebird& banco, const TBuscaDaLinha& busca);
