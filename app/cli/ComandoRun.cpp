#include "app/cli/ComandoRun.h"

#include "app/cli/EscolhaPlanilha.h"
#include "app/cli/Opcoes.h"
#include "app/cli/Terminal.h"
#include "app/logica/Interrupcao.h"
#include "app/logica/LogicaPrincipal.h"

#include <iostream>

namespace cli {

namespace {

TTipoConversao TipoDaOpcao(const std::optional<std::string>& kind) {
    if (!kind)
        throw EUso("falta --kind products|clients|suppliers");
    if (*kind == "products")
        return TTipoConversao::Produtos;
    if (*kind == "clients")
        return TTipoConversao::Clientes;
    if (*kind == "suppliers")
        return TTipoConversao::Fornecedores;
    throw EUso("--kind deve ser products, clients ou suppliers");
}

const char* const kUso =
    "uso: conversor run --kind products|clients|suppliers --target ALMURO --source TESSALY\n"
    "                   --workbook ARQUIVO [--sheet N|NOME] [--last-row N] [--dry-run]\n";

int ExecutaAteOFim(const TOpcoes& opcoes) {
    TTerminal terminal;
    TLogicaPrincipal logica(terminal, terminal, terminal);
    TTipoConversao tipo;
    std::string alvo, origem;
    std::optional<std::string> pasta;
    try {
        tipo = TipoDaOpcao(opcoes.Valor("kind"));
        if (!opcoes.Valor("target"))
            throw EUso("falta --target");
        if (!opcoes.Valor("source"))
            throw EUso("falta --source");
        alvo = *opcoes.Valor("target");
        origem = *opcoes.Valor("source");
        pasta = opcoes.Valor("workbook");
    } catch (const EUso& e) {
        std::cerr << "conversor run: " << e.what() << "\n" << kUso;
        return 2;
    }

    terminal.DefineEmExecucao([&logica] { return logica.EmExecucao(); });
    logica.FormCreate();
    logica.DefineTipo(tipo);
    logica.DefineEnsaio(opcoes.simulacao);
    // A stop that came before the run began ends it before anything is opened.
    if (TInterrupcao::Pedida()) {
        std::cerr << TInterrupcao::kMensagem << "\n";
        return 1;
    }
    try {
        logica.AbreAlmuro(alvo);
        logica.AbreTessaly(origem);
    } catch (const std::exception& e) {
        terminal.Erro(std::string(TLogicaPrincipal::kPrefixoErro) + "\r" + e.what());
        return 1;
    }
    try {
        if (pasta && !pasta->empty()) {
            logica.AbrePlanilha(*pasta);
            EscolhePlanilhaELinha(logica, opcoes);
        } else if (auto linha = opcoes.Valor("last-row")) {
            logica.DefineNumLinha(*linha);
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }

    try {
        logica.btOKClick();
        terminal.LimpaBarra();
    } catch (const std::exception& e) {
        terminal.LimpaBarra();
        std::cerr << e.what() << "\n";
        return 1;
    }
    if (terminal.HouveAvisoDeEntrada() && !terminal.HouveErro() && !terminal.HouveSucesso()) {
        return 2;
    }
    if (!terminal.HouveSucesso())
        return 1;
    return 0;
}

}  // namespace

// A signal ends the run at its next record, rolled back, with the exit code of the signal. One
// that comes while the run is being committed cannot undo it any more: the run ends committed
// (exit 0) and says so. A rehearsal writes nothing either way: stopped at any moment before the
// program ends, it ends with the signal's code.
int ExecutaRun(const TOpcoes& opcoes) {
    int codigo = 1;
    try {
        codigo = ExecutaAteOFim(opcoes);
    } catch (const std::exception& e) {
        // Nothing that escapes may end the program without its message (the summary's counts
        // run after the commit, outside the run's own error trap).
        std::cerr << e.what() << "\n";
    }
    if (codigo != 0)
        return TInterrupcao::CodigoDeSaida(codigo);
    if (opcoes.simulacao && TInterrupcao::Pedida()) {
        std::cerr << TInterrupcao::kMensagem << std::endl;
        return TInterrupcao::CodigoDeSaida(codigo);
    }
    return 0;
}

}  // namespace cli
