#include "conversion/RecusaDoComando.h"

#include "common/Texto.h"
#include "common/Win1252.h"
#include "conversion/Consulta.h"
#include "conversion/ErrosMotor.h"
#include "conversion/ObjetosComando.h"

#include <algorithm>
#include <map>

namespace {

using TValorRecusado = TFalhaBanco::TValorRecusado;

// Each column the statement writes with a value it knows: literals as written, parameters as
// bound.
std::vector<TValorRecusado> ValoresConhecidos(const TValoresComando& comando,
                                              const TParametrosComando& parametros) {
    std::vector<TValorRecusado> r;
    for (const auto& [coluna, valor] : comando.pares) {
        if (valor.tipo == TValorDoComando::Tipo::Literal) {
            r.push_back({coluna, valor.texto});
        } else if (valor.tipo == TValorDoComando::Tipo::Parametro) {
            for (const auto& [nome, texto] : parametros) {
                if (texto::UpperAZ(nome) == valor.texto && texto) {
                    r.push_back({coluna, *texto});
                    break;
                }
            }
        }
    }
    return r;
}

// The declared length, in characters, of each text column of a table.
std::map<std::string, long> ComprimentosDeclarados(TBancoFirebird& banco,
                                                   const std::string& tabela) {
    TConsulta q(banco);
    q.DefineSQL(
        "SELECT TRIM(RF.RDB$FIELD_NAME) AS COLUNA, "
        "COALESCE(F.RDB$CHARACTER_LENGTH, F.RDB$FIELD_LENGTH) AS COMPRIMENTO "
        "FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
        "WHERE RF.RDB$RELATION_NAME = :TABELA AND F.RDB$FIELD_TYPE IN (14, 37)");
    q.Parametro("TABELA", tabela);
    q.Abre();
    std::map<std::string, long> r;
    for (; !q.Fim(); q.Proximo())
        r[q.Texto("COLUNA")] = static_cast<long>(q.Inteiro("COMPRIMENTO"));
    return r;
}

size_t SemBrancosAoFim(const std::string& valor) {
    const size_t fim = valor.find_last_not_of(' ');
    return fim == std::string::npos ? 0 : fim + 1;
}

// The column whose declared length is the one the engine expected and whose value has the length
// it found (the engine does not count the blanks at the end of a text).
bool ExplicaTruncamento(TBancoFirebird& banco, const TValoresComando& comando,
                        const std::vector<TValorRecusado>& valores, TFalhaBanco& falha) {
    long declarado = 0, atual = 0;
    if (!erros_motor::Truncamento(falha, declarado, atual) || comando.tabela.empty())
        return false;
    const auto comprimentos = ComprimentosDeclarados(banco, comando.tabela);
    for (const TValorRecusado& v : valores) {
        const auto achado = comprimentos.find(v.coluna);
        const auto tamanho = static_cast<long>(v.valor.size());
        if (achado != comprimentos.end() && achado->second == declarado &&
            (tamanho == atual || static_cast<long>(SemBrancosAoFim(v.valor)) == atual)) {
            falha.recusados = {v};
            falha.comprimentoDeclarado = declarado;
            return true;
        }
    }
    return false;
}

// The columns of the key the engine named, in the key's order, with the value the statement gave
// each; the key is the table's code when it is its primary key.
bool ExplicaChave(TBancoFirebird& banco, const std::vector<TValorRecusado>& valores,
                  TFalhaBanco& falha) {
    bool nomeDeIndice = false;
    const std::string chave = erros_motor::ChaveRepetida(falha, nomeDeIndice);
    if (chave.empty())
        return false;
    TConsulta q(banco);
    const std::string indice = nomeDeIndice
                                   ? std::string(":CHAVE")
                                   : "(SELECT RDB$INDEX_NAME FROM RDB$RELATION_CONSTRAINTS "
                                     "WHERE RDB$CONSTRAINT_NAME = :CHAVE)";
    q.DefineSQL(
        "SELECT TRIM(I.RDB$RELATION_NAME) AS TABELA, TRIM(S.RDB$FIELD_NAME) AS COLUNA, "
        "(SELECT COUNT(*) FROM RDB$RELATION_CONSTRAINTS C WHERE C.RDB$INDEX_NAME = "
        "I.RDB$INDEX_NAME AND C.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY') AS PRIMARIA "
        "FROM RDB$INDICES I JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = I.RDB$INDEX_NAME "
        "WHERE I.RDB$INDEX_NAME = " +
        indice + " ORDER BY S.RDB$FIELD_POSITION");
    q.Parametro("CHAVE", chave);
    q.Abre();
    std::vector<TValorRecusado> recusados;
    std::string tabela;
    bool primaria = false;
    for (; !q.Fim(); q.Proximo()) {
        tabela = q.Texto("TABELA");
        primaria = q.Inteiro("PRIMARIA") > 0;
        const std::string coluna = q.Texto("COLUNA");
        auto achado = std::find_if(valores.begin(), valores.end(),
                                   [&](const TValorRecusado& v) { return v.coluna == coluna; });
        if (achado == valores.end())
            return false;  // a key column the statement did not write: the engine's text says it
        recusados.push_back(*achado);
    }
    if (recusados.empty())
        return false;
    falha.recusados = std::move(recusados);
    falha.chavePrimaria = primaria;
    falha.tabela = tabela;
    return true;
}

// The column that was given the text the engine could not convert.
bool ExplicaConversao(const std::vector<TValorRecusado>& valores, TFalhaBanco& falha) {
    const std::string texto = win1252::DeUtf8(erros_motor::ValorNaoConvertido(falha));
    if (texto.empty())
        return false;
    for (const TValorRecusado& v : valores) {
        if (v.valor == texto || texto::Trim(v.valor) == texto) {
            falha.recusados = {v};
            return true;
        }
    }
    return false;
}

}  // namespace

void ExplicaRecusa(TBancoFirebird& banco, const std::string& sql,
                   const TParametrosComando& parametros, const EBancoDados& erro) {
    if (erro.Falha().papel.empty())
        return;
    const TValoresComando comando = ValoresDoComando(sql);
    const std::vector<TValorRecusado> valores = ValoresConhecidos(comando, parametros);
    if (valores.empty())
        return;
    TFalhaBanco falha = erro.Falha();
    bool explicada = false;
    try {
        explicada = ExplicaTruncamento(banco, comando, valores, falha) ||
                    ExplicaChave(banco, valores, falha) || ExplicaConversao(valores, falha);
    } catch (const std::exception&) {
        return;  // the catalogue could not be read: the engine's refusal as it came
    }
    if (!explicada)
        return;
    if (falha.tabela.empty())
        falha.tabela = comando.tabela;
    erros_motor::Lanca(std::move(falha));
}
