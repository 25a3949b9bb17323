// `conversor sample DIR [--rows N] [--seed S]`: makes a sample site (see schema/amostra).
#pragma once

#include "app/cli/Opcoes.h"

namespace cli {
// Exit codes: 0 made, 1 failure (message on stderr), 2 usage error (usage text on stderr).
int ExecutaAmostra(const TOpcoes& opcoes);
}  // namespace cli
