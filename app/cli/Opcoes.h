// The "--name value" options of a subcommand, with the positional words apart.
#pragma once

#include <map>
#include <optional>
#include <set>
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
    // Fails with EUso on an option not in permitidas or chaves, an option of permitidas without
    // its value, a value given to one of chaves (switches, which take none), or a repeat.
    TOpcoes(const std::vector<std::string>& args, const std::set<std::string>& permitidas,
            const std::set<std::string>& chaves = {});

    std::optional<std::string> Valor(const std::string& nome) const;
    // Whether a switch was given.
    bool Tem(const std::string& chave) const { return chaves_.count(chave) > 0; }
    const std::vector<std::string>& Posicionais() const { return posicionais_; }

  private:
    std::map<std::string, std::string> valores_;
    std::set<std::string> chaves_;
    std::vector<std::string> posicionais_;
};

}  // namespace cli
