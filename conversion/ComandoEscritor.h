// How one finished statement of a writer (an insert or an update, its values written literally)
// runs on the target: prepared once per shape with its literals bound, or as written where only
// the statement as written gives the engine's own answer. A refusal names the writer's table.
#pragma once

#include "conversion/BancoFirebird.h"

#include <string>

void ExecutaComandoDoEscritor(TBancoFirebird& banco, const std::string& sql);

// The writers' statements run as written, each one prepared anew. Only the proof that every way
// stores the same bytes wants this; it holds for the whole process.
void DefineComandosLiterais(bool literais);
bool ComandosLiterais();
