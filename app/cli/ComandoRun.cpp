#include "app/cli/ComandoRun.h"

#include "app/cli/EscolhaPlanilha.h"
#include "app/cli/Opcoes.h"
#include "app/cli/Terminal.h"
#include "app/logica/Interrupcao.h"
#include "app/logica/LogicaPrincipal.h"
#include "conversion/Consulta.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>

namespace cli {

namespace {

struct TTabelasDoTipo {
    std::vector<std::string> gravadas;    // emptied and refilled by the run
    std::vector<std::string> auxiliares;  // lookup tables the run may add to
};

TTabelasDoTipo TabelasDoTipo(TTipoConversao tipo) {
    switch (tipo) {
        case TTipoConversao::Produtos:
            return {{"PRODUTO", "PRODUTODETALHE"}, {"CLASFISC", "UNIDADES"}};
        case TTipoConversao::Clientes:
            return {{"CLIENTE"}, {"CIDADES"}};
        case TTipoConversao::Fornecedores:
            return {{"FORNECE"}, {"CIDADES"}};
    }
    return {};
}

// Row counts of the tables, in a transaction of their own; a table that cannot be counted is
// left out of the summary rather than failing a run that went well.
std::map<std::string, long> Conta(TBancoFirebird& banco, const std::vector<std::string>& tabelas) {
    std::map<std::string, long> r;
    for (const auto& t : tabelas) {
        try {
            TConsulta q(banco);
            q.DefineSQL("select count(*) as N from " + t);
            q.Abre();
            r[t] = static_cast<long>(q.Inteiro("N"));
        } catch (const std::exception&) {
        }
    }
    banco.Transacao().Confirma();
    return r;
}

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
    "                   --workbook ARQUIVO [--sheet N|NOME] [--last-row N]\n";

int ExecutaAteOFim(const std::vector<std::string>& args) {
    TTerminal terminal;
    TLogicaPrincipal logica(terminal, terminal, terminal);
    TTipoConversao tipo;
    std::string alvo, origem;
    std::optional<std::string> pasta;
    std::optional<TOpcoes> lidas;
    try {
        lidas.emplace(args, std::set<std::string>{"kind", "target", "source", "workbook", "sheet",
                                                  "last-row"});
        const TOpcoes& opcoes = *lidas;
        if (!opcoes.Posicionais().empty())
            throw EUso("argumento inesperado: " + opcoes.Posicionais()[0]);
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

    const TOpcoes& opcoes = *lidas;
    terminal.DefineEmExecucao([&logica] { return logica.EmExecucao(); });
    logica.FormCreate();
    logica.DefineTipo(tipo);
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

    const TTabelasDoTipo tabelas = TabelasDoTipo(tipo);
    const auto antes = Conta(logica.dbAlmuro, tabelas.auxiliares);
    const auto inicio = std::chrono::steady_clock::now();
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

    const double segundos =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    const auto gravadas = Conta(logica.dbAlmuro, tabelas.gravadas);
    const auto depois = Conta(logica.dbAlmuro, tabelas.auxiliares);
    std::cout << "Linhas gravadas:";
    for (const auto& [t, n] : gravadas)
        std::cout << " " << t << " " << n << ";";
    std::cout << "\nLinhas criadas nas tabelas auxiliares:";
    for (const auto& [t, n] : depois) {
        auto a = antes.find(t);
        std::cout << " " << t << " " << (n - (a == antes.end() ? 0 : a->second)) << ";";
    }
    char tempo[64];
    std::snprintf(tempo, sizeof tempo, "%.2f", segundos);
    std::cout << "\nTempo: " << tempo << " s\n";
    return 0;
}

}  // namespace

// A signal ends the run at its next record, rolled back, with the exit code of the signal.
int ExecutaRun(const std::vector<std::string>& args) {
    TInterrupcao::InstalaSinais();
    int codigo = 1;
    try {
        codigo = ExecutaAteOFim(args);
    } catch (const std::exception& e) {
        // Nothing that escapes may end the program without its message (the summary's counts
        // run after the commit, outside the run's own error trap).
        std::cerr << e.what() << "\n";
    }
    return codigo == 0 ? 0 : TInterrupcao::CodigoDeSaida(codigo);
}

}  // namespace cli
