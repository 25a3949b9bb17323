// `conversor sample DIR [--rows N] [--seed S]`: makes a sample site (see schema/amostra).
#pragma once

#include <string>
#include <vector>

namespace cli {
// args: the words after "sample". Exit codes: 0 made, 1 failure (message on stderr), 2 usage
// error (usage text on stderr).
int ExecutaAmostra(const std::vector<std::string>& args);
}  // namespace cli
