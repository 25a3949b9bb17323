// The Firebird server on 127.0.0.1 that the server tests reach as host:/path
// (scripts/servidor-firebird.sh start runs it).
#pragma once

#include "tests/apoio/BancosTeste.h"

#include <filesystem>
#include <string>
#include <vector>

namespace apoio {

inline constexpr const char* kServidor = "127.0.0.1:";

// Why no server answers, or "" when one does: attaching to a database that does not exist reaches
// the server and fails with its own message, while no server gives a network error.
std::string ServidorAusente(const std::string& pasta);

// The server runs as another user: it must reach the folder and read and write its files.
void AbreAoServidor(const std::filesystem::path& pasta);

// Every row of a table, sorted, DT_ALTERACAO left blank: it is the moment the row was written
// (the target's default 'NOW'), which no two runs share.
std::vector<TLinha> LinhasOrdenadas(TBancoFirebird& banco, const std::string& tabela);

}  // namespace apoio
