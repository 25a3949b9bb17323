#include "conversion/TabelasIndependentes.h"

#include "conversion/Consulta.h"
#include "conversion/LoteComandos.h"

#include <algorithm>

namespace {

// One row 'T' when it is a table, one 'G' per active trigger, one 'R' per table it refers to.
const char* const kLigacoes =
    "SELECT 'T' AS TIPO, '' AS NOME FROM RDB$RELATIONS "
    "WHERE RDB$RELATION_NAME = :TABELA AND RDB$VIEW_BLR IS NULL "
    "UNION ALL SELECT 'G', '' FROM RDB$TRIGGERS "
    "WHERE RDB$RELATION_NAME = :TABELA AND COALESCE(RDB$TRIGGER_INACTIVE, 0) = 0 "
    "UNION ALL SELECT 'R', TRIM(P.RDB$RELATION_NAME) FROM RDB$RELATION_CONSTRAINTS C "
    "JOIN RDB$REF_CONSTRAINTS R ON R.RDB$CONSTRAINT_NAME = C.RDB$CONSTRAINT_NAME "
    "JOIN RDB$RELATION_CONSTRAINTS P ON P.RDB$CONSTRAINT_NAME = R.RDB$CONST_NAME_UQ "
    "WHERE C.RDB$RELATION_NAME = :TABELA";

bool Contem(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

}  // namespace

const TTabelasIndependentes::TLigacoes& TTabelasIndependentes::Ligacoes(TBancoFirebird& banco,
                                                                        const std::string& tabela) {
    auto achadas = ligacoes_.find(tabela);
    if (achadas != ligacoes_.end())
        return achadas->second;
    TLigacoes l;
    try {
        TConsulta q(banco);
        q.DefineSQL(kLigacoes);
        q.Parametro("TABELA", tabela);
        q.Abre();
        bool tabelaPropria = false, gatilho = false;
        for (; !q.Fim(); q.Proximo()) {
            const std::string tipo = q.Texto("TIPO");
            tabelaPropria |= tipo == "T";
            gatilho |= tipo == "G";
            if (tipo == "R")
                l.referidas.push_back(q.Texto("NOME"));
        }
        l.solta = tabelaPropria && !gatilho;
    } catch (const ERecusaRetida&) {
        throw;
    } catch (const EBancoDados&) {
        l.solta = false;  // what cannot be read is taken to join everything
    }
    return ligacoes_.emplace(tabela, std::move(l)).first->second;
}

bool TTabelasIndependentes::Independentes(TBancoFirebird& banco,
                                          const std::vector<std::string>& adiante,
                                          const std::vector<std::string>& retidas) {
    for (const std::string& t : adiante) {
        if (Contem(retidas, t))
            return false;
    }
    for (const std::string& t : retidas) {
        if (!Ligacoes(banco, t).solta)
            return false;
    }
    for (const std::string& t : adiante) {
        const TLigacoes& l = Ligacoes(banco, t);
        if (!l.solta)
            return false;
        for (const std::string& referida : l.referidas) {
            if (Contem(retidas, referida))
                return false;
        }
    }
    return true;
}
