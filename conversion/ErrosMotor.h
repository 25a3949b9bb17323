// The engine's refusals as the operator reads them: one Portuguese sentence, chosen by the
// status vector's error codes, that names the database by its role and path and says what to
// do, followed by the engine's own text (which other tools look for).
#pragma once

#include "common/Erros.h"

#include <string>

namespace erros_motor {

// The engine's own text of a connection that was never opened.
inline constexpr const char* kNaoAberto = "Cannot perform operation -- DB is not open";

// The codes, texts and operating-system numbers of a status vector and its formatted text.
TFalhaBanco LeStatus(const void* status);

// The sentence and the engine's text; without a role, the engine's text alone.
std::string Mensagem(const TFalhaBanco& falha);

[[noreturn]] void Lanca(TFalhaBanco falha);

// What a refusal is about, for the catalogue to tell which column it concerns. A value too long
// for its column: the column's declared length and the value's, as the engine counted them.
bool Truncamento(const TFalhaBanco& falha, long& declarado, long& atual);
// A repeated unique or primary key: the name the engine gave (of the constraint, or of the index
// when nomeDeIndice), or "" for any other refusal.
std::string ChaveRepetida(const TFalhaBanco& falha, bool& nomeDeIndice);
// A text the engine could not convert to its column's type, or "".
std::string ValorNaoConvertido(const TFalhaBanco& falha);

// A statement on a known table failed: raises the error again naming that table when the
// engine's status did not; returns when there is nothing to add, for the caller to rethrow.
void LancaNaTabela(const EBancoDados& erro, const std::string& tabela);

}  // namespace erros_motor
