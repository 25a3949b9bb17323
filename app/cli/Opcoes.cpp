#include "app/cli/Opcoes.h"

namespace cli {

std::optional<std::string> TOpcoes::Valor(const std::string& nome) const {
    auto it = valores_.find(nome);
    if (it == valores_.end())
        return std::nullopt;
    return it->second;
}

}  // namespace cli
