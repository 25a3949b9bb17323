// `conversor --version`: the program's version and the Firebird client library it runs on.
#pragma once

#include <string>

namespace cli {
std::string TextoVersao();
}  // namespace cli
