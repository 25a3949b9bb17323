#include "conversion/BuscaDeLinha.h"

#include "conversion/BuscaNumaIda.h"
#include "conversion/Consulta.h"
#include "conversion/LoteComandos.h"

TLinhaAchada BuscaOuCriaLinha(TBancoFirebird& banco, const TBuscaDaLinha& busca) {
    // Round trips cost only through a server, where the writers' statements go in blocks too.
    if (banco.Lote().Agrupa()) {
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
