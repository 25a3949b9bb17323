// A statement the database refused, told by what it held: the engine says only "expected length
// 12, actual 14", or the name of a key and its value, or the text it could not convert. The
// statement's own columns and values, with the declared lengths and key columns of the catalogue
// (RDB$RELATION_FIELDS, RDB$INDEX_SEGMENTS), say which column and which value it was.
#pragma once

#include "conversion/BancoFirebird.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The named parameters of a statement and the texts bound to them (std::nullopt for NULL).
using TParametrosComando = std::vector<std::pair<std::string, std::optional<std::string>>>;

// Raises the refusal again naming the column(s) and value(s) it was about, when the statement
// and the catalogue tell them; returns when there is nothing to add, for the caller to rethrow.
void ExplicaRecusa(TBancoFirebird& banco, const std::string& sql,
                   const TParametrosComando& parametros, const EBancoDados& erro);
