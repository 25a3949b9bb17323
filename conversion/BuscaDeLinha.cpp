#include "conversion/BuscaDeLinha.h"

#include "conversion/BuscaNumaIda.h"
#include "conversion/Consulta.h"
#include "conversion/LoteComandos.h"
#include "conversion/ObjetosComando.h"

#include <optional>

namespace {

// The tables the lookup's statements read and write; nullopt when one may reach others.
std::optional<std::vector<std::string>> TabelasDaBusca(const TBuscaDaLinha& busca) {
    std::vector<std::string> sqls = {busca.confirmadas.maximo, busca.criacao.sql};
    for (const auto* buscas : {&busca.proprias, &busca.confirmadas.buscas}) {
        for (const TBuscaDeCodigo& b : *buscas)
            sqls.push_back(b.sql);
    }
    std::vector<std::string> tabelas;
    for (const std::string& sql : sqls) {
        if (sql.empty())
            continue;
        const std::optional<std::string> tabela = TabelaUnicaDoComando(sql);
        if (!tabela)
            return std::nullopt;
        tabelas.push_back(*tabela);
    }
    return tabelas;
}

}  // namespace

TLinhaAchada BuscaOuCriaLinha(TBancoFirebird& banco, const TBuscaDaLinha& busca) {
    // Round trips cost only through a server, where the writers' statements go in blocks too.
    if (banco.Lote().Agrupa()) {
        // A lookup that shares nothing with the held rows goes before them, in its own trip: a
        // new city no longer sends the clients held so far in a block of their own.
        std::optional<TLoteComandos::TAdiante> adiante;
        if (banco.Lote().Retendo()) {
            const auto tabelas = TabelasDaBusca(busca);
            if (tabelas && banco.Lote().PodeAdiantar(*tabelas))
                adiante.emplace(banco.Lote());
        }
        if (auto achada = BuscaNumaIda(banco, busca))
            return *achada;
    }
    return BuscaOuCriaLinhaPassoAPasso(banco, busca);
}

TLinhaAchada BuscaOuCriaLinhaPassoAPasso(TBancoFirebird& banco, const TBuscaDaLinha& busca) {
    for (size_t i = 0; i < busca.proprias.size(); ++i) {
        const TBuscaDeCodigo& b = busca.proprias[i];
        TConsulta q(banco);
        q.DefineSQL(b.sql);
        for (const auto& [nome, valor] : b.parametros)
            q.Parametro(nome, valor.value_or(std::string()));
        q.Abre();
        if (!q.Fim() && (busca.nuloEncontra || !q.Nulo(b.campo)))
            return {TLinhaAchada::TOrigem::Propria, static_cast<int>(i), q.Texto(b.campo)};
    }
    int achadaPor = -1;
    const std::string codigo = AchaOuCriaLinha(
        banco, busca.confirmadas, busca.proximo,
        [&](const std::string& novo) {
            TConsulta q(banco);
            q.DefineSQL(busca.criacao.sql);
            for (const auto& [nome, valor] : busca.criacao.valores(novo))
                q.Parametro(nome, valor.value_or(std::string()));
            q.Executa();
        },
        &achadaPor);
    if (achadaPor >= 0)
        return {TLinhaAchada::TOrigem::Confirmada, achadaPor, codigo};
    return {TLinhaAchada::TOrigem::Criada, 0, codigo};
}
