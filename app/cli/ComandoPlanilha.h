// `conversor sheets FILE` and `conversor preview FILE [--sheet N|NAME] [--last-row N]`: what the
// operator checks in a workbook before a run.
#pragma once

#include "app/cli/Opcoes.h"

#include <string>

namespace cli {
// One line per worksheet: <number> TAB <name> TAB <last row> TAB <last column>.
int ExecutaSheets(const TOpcoes& opcoes);
// The staging table as a run would build it, as TSV in UTF-8.
int ExecutaPreview(const TOpcoes& opcoes);
// A staged cell for a TSV line: "\" as "\\", TAB "\t", LF "\n", CR "\r".
std::string EscapaCelula(const std::string& celulaUtf8);
}  // namespace cli
