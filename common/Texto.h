// Helpers for the single-byte (Windows-1252) texts that travel through the engine.
// Positions are 1-based where an argument says so, as the operators' documents count them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace texto {

// Removes every byte whose code is 32 or less from both ends.
std::string Trim(std::string_view s);
std::string TrimRight(std::string_view s);

// Upper-cases the letters a to z only; accented letters stay as they are.
std::string UpperAZ(std::string_view s);

// The first n characters (the whole text when it is shorter; nothing for n <= 0).
std::string Primeiros(std::string_view s, long n);

// count characters from the 1-based position start, clipped to the text.
std::string Copia(std::string_view s, long start, long count);

// The text as an SQL string literal: in single quotes, inner single quotes doubled.
std::string Literal(std::string_view s);

// Every occurrence of de replaced by para.
std::string TrocaTodos(std::string_view s, std::string_view de, std::string_view para);

bool Contem(std::string_view s, std::string_view parte);

// Decimal digits of a (possibly negative) integer.
std::string Inteiro(std::int64_t n);

// Reads a decimal integer: optional blanks before, an optional sign, digits, nothing after.
// Fails with a conversion error naming the text.
std::int64_t LeInteiro(std::string_view s);
bool TentaLerInteiro(std::string_view s, std::int64_t& valor);

}  // namespace texto
