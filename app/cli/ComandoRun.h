// `conversor run --kind products|clients|suppliers --target ALMURO --source TESSALY
//  --workbook FILE [--sheet N|NAME] [--last-row N] [--dry-run]`: one conversion, headless.
#pragma once

#include "app/cli/Opcoes.h"

namespace cli {
// Exit codes: 0 committed; 1 run failure (rolled back) or unreadable input; 2 usage error or
// input warning; 130 interrupted by SIGINT, 143 by SIGTERM or SIGHUP (rolled back).
int ExecutaRun(const TOpcoes& opcoes);
}  // namespace cli
