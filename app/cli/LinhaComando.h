// The headless command line: `conversor run|sheets|preview|sample ...`.
#pragma once

namespace cli {
// Exit codes: 0 success, 1 run failure (rolled back) or reading error, 2 usage or input warning.
int Executa(int argc, char** argv);
}  // namespace cli
