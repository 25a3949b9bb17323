// `conversor run --kind products|clients|suppliers --target ALMURO --source TESSALY
//  --workbook FILE [--sheet N|NAME] [--last-row N] [--dry-run] [--report FILE.xlsx]`: one
//  conversion, headless; `conversor check` with the same options but --dry-run: every problem
//  of the inputs at once.
#pragma once

#include "app/cli/Opcoes.h"

namespace cli {
// Exit codes: 0 committed; 1 run failure (rolled back) or unreadable input; 2 usage error or
// input warning; 130 interrupted by SIGINT, 143 by SIGTERM or SIGHUP (rolled back).
int ExecutaRun(const TOpcoes& opcoes);

// `conversor check` (the options of run, without --dry-run): the whole run, rolled back, going
// past failing records. On stdout one line per problem, the account and the last line. Exit
// codes: 0 no problem; 1 problems, or the check could not go on (the error as run prints it);
// 2 usage error or input warning; 130 and 143 as run.
int ExecutaCheck(const TOpcoes& opcoes);
}  // namespace cli
