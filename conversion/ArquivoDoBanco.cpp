#include "conversion/ArquivoDoBanco.h"

#include "common/Texto.h"

#include <system_error>

namespace fs = std::filesystem;

namespace {

struct TNomeDividido {
    std::string servidor;  // empty for a plain path; without its "/port"
    std::string caminho;
};

// The engine's rule: what comes before the first ':' names a server, unless it is a path itself
// (it starts with '/' or '.') or a Windows drive letter.
TNomeDividido Divide(const std::string& nome) {
    const size_t doisPontos = nome.find(':');
    if (doisPontos == std::string::npos || doisPontos < 2 || nome[0] == '/' || nome[0] == '.')
        return {{}, nome};
    std::string servidor = texto::UpperAZ(nome.substr(0, doisPontos));
    servidor = servidor.substr(0, servidor.find('/'));
    return {servidor, nome.substr(doisPontos + 1)};
}

bool ServidorLocal(const std::string& servidor) {
    return servidor.empty() || servidor == "LOCALHOST" || servidor.rfind("127.", 0) == 0 ||
           servidor == "[::1]" || servidor == "::1";
}

}  // namespace

std::optional<fs::path> ArquivoLocalDoBanco(const std::string& nome) {
    const TNomeDividido n = Divide(nome);
    if (!ServidorLocal(n.servidor) || n.caminho.empty())
        return std::nullopt;
    return fs::path(n.caminho);
}

bool MesmoArquivoDeBanco(const std::string& a, const std::string& b) {
    const auto localA = ArquivoLocalDoBanco(a);
    const auto localB = ArquivoLocalDoBanco(b);
    if (localA && localB) {
        std::error_code erro;
        if (fs::equivalent(*localA, *localB, erro) && !erro)
            return true;
        // A file this process cannot see (only the server can): compare the paths.
        const fs::path absA = fs::absolute(*localA, erro).lexically_normal();
        const fs::path absB = fs::absolute(*localB, erro).lexically_normal();
        return !erro && absA == absB;
    }
    if (localA || localB)
        return false;
    const TNomeDividido na = Divide(a), nb = Divide(b);
    return na.servidor == nb.servidor &&
           fs::path(na.caminho).lexically_normal() == fs::path(nb.caminho).lexically_normal();
}
