// `conversor sheets FILE` and `conversor preview FILE [--sheet N|NAME] [--last-row N]`: what the
// operator checks in a workbook before a run.
#pragma once

#include <string>
#include <vector>

namespace cli {
// One line per worksheet: <number> TAB <name> TAB <last row> TAB <last column>.
int ExecutaSheets(const std::vector<std::string>& args);
// The staging table as a run would build it, as TSV in UTF-8.
int ExecutaPreview(const std::vector<std::string>& args);
// A staged cell for a TSV line: "\" as "\\", TAB "\t", LF "\n", CR "\r".
std::string EscapaCelula(const std::string& celulaUtf8);
}  // namespace cli
