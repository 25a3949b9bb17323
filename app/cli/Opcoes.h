// What a subcommand was given on the command line: its options by name, its positional words
// and its flags, as the parser (app/cli/Analisador) found them.
#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

// A command line that does not follow the usage; exit code 2.
class EUso : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class TOpcoes {
  public:
    // nome without the leading "--".
    void Define(const std::string& nome, const std::string& valor) { valores_[nome] = valor; }
    void AcrescentaPosicional(const std::string& valor) { posicionais_.push_back(valor); }

    std::optional<std::string> Valor(const std::string& nome) const;
    const std::vector<std::string>& Posicionais() const { return posicionais_; }

    // run --dry-run: the whole run, then undone; nothing is written.
    bool simulacao = false;

  private:
    std::map<std::string, std::string> valores_;
    std::vector<std::string> posicionais_;
};

}  // namespace cli
