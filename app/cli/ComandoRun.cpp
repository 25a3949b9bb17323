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

const char* const kUsoRun =
    "uso: conversor run --kind products|clients|suppliers --target ALMURO --source TESSALY\n"
    "                   --workbook ARQUIVO [--sheet N|NOME] [--last-row N] [--dry-run]\n"
    "                   [--report ARQUIVO.xlsx]\n";
const char* const kUsoCheck =
    "uso: conversor check --kind products|clients|suppliers --target ALMURO --source TESSALY\n"
    "                     --workbook ARQUIVO [--sheet N|NOME] [--last-row N]\n"
    "                     [--report ARQUIVO.xlsx]\n";

int ExecutaAteOFim(const TOpcoes& opcoes, bool conferencia) {
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
        std::cerr << (conferencia ? "conversor check: " : "conversor run: ") << e.what() << "\n"
                  << (conferencia ? kUsoCheck : kUsoRun);
        return 2;
    }

    // The report comes after the run: a failure to write it is a warning of the run, not of
    // its inputs.
    bool relatando = false;
    terminal.DefineEmExecucao([&logica, &relatando] { return logica.EmExecucao() || relatando; });
    logica.FormCreate();
    logica.DefineTipo(tipo);
    logica.DefineEnsaio(opcoes.simulacao);
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

    const std::optional<std::string> relatorio = opcoes.Valor("report");
    auto relata = [&] {
        if (!relatorio || !logica.Relato().feito)
            return;
        relatando = true;
        logica.SalvaRelatorio(*relatorio);
        relatando = false;
    };
    try {
        if (conferencia)
            logica.btVerificarClick();
        else
            logica.btOKClick();
        terminal.LimpaBarra();
    } catch (const std::exception& e) {
        terminal.LimpaBarra();
        std::cerr << e.what() << "\n";
        relata();
        return 1;
    }
    relata();
    if (terminal.HouveAvisoDeEntrada() && !terminal.HouveErro() && !terminal.HouveSucesso() &&
        !terminal.HouveConferencia()) {
        return 2;
    }
    if (!terminal.HouveSucesso())
        return 1;
    return 0;
}

}  // namespace

namespace {

// A signal ends the run at its next record, rolled back, with the exit code of the signal.
int ExecutaComSinais(const TOpcoes& opcoes, bool conferencia) {
    TInterrupcao::InstalaSinais();
    int codigo = 1;
    try {
        codigo = ExecutaAteOFim(opcoes, conferencia);
    } catch (const std::exception& e) {
        // Nothing that escapes may end the program without its message (the summary's counts
        // run after the commit, outside the run's own error trap).
        std::cerr << e.what() << "\n";
    }
    return codigo == 0 ? 0 : TInterrupcao::CodigoDeSaida(codigo);
}

}  // namespace

int ExecutaRun(const TOpcoes& opcoes) {
    return ExecutaComSinais(opcoes, false);
}

int ExecutaCheck(const TOpcoes& opcoes) {
    return ExecutaComSinais(opcoes, true);
}

}  // namespace cli
