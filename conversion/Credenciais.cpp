#include "conversion/Credenciais.h"

#include "conversion/BancoFirebird.h"

#include <cstdlib>

namespace {

// A variable set to nothing counts as not set.
std::string VariavelOu(const char* nome, const char* padrao) {
    const char* valor = std::getenv(nome);
    return valor && *valor ? valor : padrao;
}

}  // namespace

TCredenciais CredenciaisDaConexao() {
    return {VariavelOu("ISC_USER", TBancoFirebird::kUsuario),
            VariavelOu("ISC_PASSWORD", TBancoFirebird::kSenha)};
}
