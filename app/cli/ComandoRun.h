// `conversor run --kind products|clients|suppliers --target ALMURO --source TESSALY
//  --workbook FILE [--sheet N|NAME] [--last-row N]`: one conversion, headless.
#pragma once

#include <string>
#include <vector>

namespace cli {
// Exit codes: 0 committed; 1 run failure (rolled back) or unreadable input; 2 usage error or
// input warning; 130 interrupted by SIGINT, 143 by SIGTERM or SIGHUP (rolled back).
int ExecutaRun(const std::vector<std::string>& args);
}  // namespace cli
