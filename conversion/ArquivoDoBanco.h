// Where a database name leads: a file of this machine (a plain path, which the embedded engine
// opens, or a path on a server of this machine), or a path on another machine's server. Names as
// the connections take them: "/path", "relative/path", "host:/path" or "host/port:/path".
#pragma once

#include <filesystem>
#include <optional>
#include <string>

// The file of this machine that the name opens; nothing when the name reaches another machine.
std::optional<std::filesystem::path> ArquivoLocalDoBanco(const std::string& nome);

// Whether two names open the same database file: on this machine the file's identity decides
// (another spelling, a relative path, a link or a server of this machine lead to the same file);
// on another machine, the same server and the same path.
bool MesmoArquivoDeBanco(const std::string& a, const std::string& b);
