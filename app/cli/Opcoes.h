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
    // Fails with EUso on an option not in permitidas, an option without its value, or a repeat.
    TOpcoes(const std::vector<std::string>& args, const std::set<std::string>& permitidas);

    std::optional<std::string> Valor(const std::string& nome) const;
    const std::vector<std::string>& Posicionais() const { return posicionais_; }

  private:
    std::map<std::string, std::string> valores_;
    std::vector<std::string> posicionais_;
};

}  // namespace cli
