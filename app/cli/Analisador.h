// The command line's grammar: the subcommands run, check, sheets, preview and sample, their options
// with defaults and an example in their help, --help and --version. Parsing is CLI11's; the
// messages are ours, in Portuguese, and every usage error names the word that caused it.
#pragma once

#include "app/cli/Opcoes.h"

#include <string>

namespace cli {

struct TComandoLido {
    std::string comando;  // "run", "check", "sheets", "preview" or "sample"; empty: none
    TOpcoes opcoes;
    int codigo = 0;  // when nothing is to run: 0 after help or version, 2 after a usage error
};

// Help, version and usage errors are printed here (help and version on stdout, errors on
// stderr).
TComandoLido Analisa(int argc, char** argv);

}  // namespace cli
