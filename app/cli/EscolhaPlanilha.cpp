#include "app/cli/EscolhaPlanilha.h"

#include "common/Texto.h"

namespace cli {

void EscolhePlanilhaELinha(TLogicaPrincipal& logica, const TOpcoes& opcoes) {
    if (auto aba = opcoes.Valor("sheet")) {
        std::int64_t numero = 0;
        const int total = static_cast<int>(logica.Planilhas().size());
        const bool ehNumero = aba->find_first_not_of("0123456789") == std::string::npos &&
                              texto::TentaLerInteiro(*aba, numero);
        if (ehNumero && numero >= 1 && numero <= total) {
            logica.EscolhePlanilha(static_cast<int>(numero) - 1);
        } else {
            logica.DigitaPlanilha(*aba);
        }
    }
    if (auto linha = opcoes.Valor("last-row"))
        logica.DefineNumLinha(*linha);
}

}  // namespace cli
