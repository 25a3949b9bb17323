#include "app/logica/ResumoConversao.h"

#include "app/logica/AvisosDaExecucao.h"
#include "app/logica/ContaDaConversao.h"
#include "app/logica/LogicaPrincipal.h"
#include "conversion/Consulta.h"

#include <cstdio>
#include <vector>

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
    return r;
}

}  // namespace

void TResumoConversao::IniciaRelogio() {
    inicio_ = std::chrono::steady_clock::now();
}

void TResumoConversao::ContaAntes(TBancoFirebird& alvo, TTipoConversao tipo) {
    tipo_ = tipo;
    auxiliaresAntes_ = Conta(alvo, TabelasDoTipo(tipo).auxiliares);
}

std::string TResumoConversao::Texto(TBancoFirebird& alvo, const TAvisosDaExecucao& avisos,
                                    const TContaDaConversao& conta) const {
    const double segundos =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio_).count();
    const TTabelasDoTipo tabelas = TabelasDoTipo(tipo_);
    std::string r = "Linhas gravadas:";
    for (const auto& [t, n] : Conta(alvo, tabelas.gravadas))
        r += " " + t + " " + std::to_string(n) + ";";
    const std::string origens = conta.Texto();
    if (!origens.empty())
        r += "\n" + origens;
    r += "\nLinhas criadas nas tabelas auxiliares:";
    for (const auto& [t, n] : Conta(alvo, tabelas.auxiliares)) {
        auto a = auxiliaresAntes_.find(t);
        r +=
            " " + t + " " + std::to_string(n - (a == auxiliaresAntes_.end() ? 0 : a->second)) + ";";
    }
    r += "\n" + avisos.Resumo();
    char tempo[64];
    std::snprintf(tempo, sizeof tempo, "%.2f", segundos);
    // Written the Brazilian way, whatever the machine's locale.
    for (char* c = tempo; *c; ++c) {
        if (*c == '.')
            *c = ',';
    }
    r += "\nTempo: " + std::string(tempo) + " s";
    return r;
}
