#include "app/cli/Opcoes.h"

namespace cli {

TOpcoes::TOpcoes(const std::vector<std::string>& args, const std::set<std::string>& permitidas,
                 const std::set<std::string>& chaves) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0) {
            posicionais_.push_back(a);
            continue;
        }
        std::string nome = a.substr(2), valor;
        const size_t igual = nome.find('=');
        if (chaves.count(nome)) {
            if (!chaves_.insert(nome).second)
                throw EUso("opção repetida: --" + nome);
            continue;
        }
        if (igual != std::string::npos && chaves.count(nome.substr(0, igual)))
            throw EUso("a opção --" + nome.substr(0, igual) + " não leva valor");
        if (igual != std::string::npos) {
            valor = nome.substr(igual + 1);
            nome.erase(igual);
        } else {
            if (i + 1 >= args.size())
                throw EUso("a opção --" + nome + " precisa de um valor");
            valor = args[++i];
        }
        if (!permitidas.count(nome))
            throw EUso("opção desconhecida: --" + nome);
        if (!valores_.emplace(nome, valor).second)
            throw EUso("opção repetida: --" + nome);
    }
}

std::optional<std::string> TOpcoes::Valor(const std::string& nome) const {
    auto it = valores_.find(nome);
    if (it == valores_.end())
        return std::nullopt;
    return it->second;
}

}  // namespace cli
