// Conversions at the edges: the engine keeps texts as Windows-1252 bytes, the workbooks, the
// window and the terminal speak Unicode. Operator messages (exception texts, captions) are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace win1252 {

// UTF-8 to Windows-1252. Characters Windows-1252 lacks become '?'; NUL characters are dropped,
// so that they can never reach an SQL text. Invalid UTF-8 bytes are taken as Windows-1252.
std::string DeUtf8(std::string_view utf8);

// Windows-1252 to UTF-8. The five undefined bytes map to the C1 control of the same code.
std::string ParaUtf8(std::string_view cp1252);

// Appends one Unicode character in Windows-1252 ('?' when it has no byte; NUL dropped).
void AcrescentaCodigo(std::string& destino, char32_t codigo);

// Appends one Unicode character as UTF-8.
void AcrescentaUtf8(std::string& destino, char32_t codigo);

bool EhUtf8Valido(std::string_view s);

// A message for the operator that may hold either encoding (database messages carry data in the
// connection's character set): valid UTF-8 stays, anything else is taken as Windows-1252.
std::string MensagemUtf8(std::string_view s);

}  // namespace win1252
