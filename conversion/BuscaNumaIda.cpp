#include "conversion/BuscaNumaIda.h"

#include "common/Texto.h"
#include "conversion/BancoFirebird.h"
#include "conversion/Consulta.h"
#include "conversion/Firebird.h"

using namespace Firebird;

namespace {

// The room of a value in the block. The lookups ask with names and codes; a longer value is
// asked question by question, where the statement alone decides what it makes of it.
constexpr size_t kLarguraValor = 1024;

std::string ConjuntoDeCaracteres(unsigned id) {
    switch (id & 0xFF) {
        case 0:
            return "NONE";
        case 1:
            return "OCTETS";
        case 2:
            return "ASCII";
        case 21:
            return "ISO8859_1";
        case fb::kCharsetWin1252:
            return "WIN1252";
        default:
            return {};  // one of several bytes a character: its length is not its room
    }
}

// The declaration of a variable that holds the statement's column as the statement gives it, so
// that the answer reads as the statement's own would; empty when the block cannot declare it.
std::string TipoDaColuna(IMessageMetadata* meta, unsigned i, int dialeto) {
    fb::Status st;
    const unsigned tipo = meta->getType(&st, i) & ~1u;
    const unsigned comprimento = meta->getLength(&st, i);
    const int escala = meta->getScale(&st, i);
    const unsigned conjunto = meta->getCharSet(&st, i);
    if (st.Falhou())
        return {};
    const std::string decimais = std::to_string(-escala) + ")";
    switch (tipo) {
        case SQL_TEXT:
        case SQL_VARYING: {
            const std::string nome = ConjuntoDeCaracteres(conjunto);
            if (nome.empty() || comprimento == 0)
                return {};
            return std::string(tipo == SQL_TEXT ? "CHAR(" : "VARCHAR(") +
                   std::to_string(comprimento) + ") CHARACTER SET " + nome;
        }
        case SQL_SHORT:
            return escala ? "NUMERIC(4," + decimais : "SMALLINT";
        case SQL_LONG:
            return escala ? "NUMERIC(9," + decimais : "INTEGER";
        case SQL_INT64:
            if (dialeto == 1)
                return {};
            return escala ? "NUMERIC(18," + decimais : "BIGINT";
        case SQL_FLOAT:
            return "FLOAT";
        case SQL_DOUBLE:
            return "DOUBLE PRECISION";
        case SQL_TIMESTAMP:
            return "TIMESTAMP";
        case SQL_TYPE_DATE:
            return dialeto == 1 ? std::string() : "DATE";
        case SQL_TYPE_TIME:
            return dialeto == 1 ? std::string() : "TIME";
        default:
            return {};
    }
}

// One question of the block: the statement with "?" for its names, its values in their order,
// and the type of the one column it answers.
struct TPergunta {
    std::string sql;
    std::vector<std::optional<std::string>> valores;
    std::string tipo;
};

std::optional<TPergunta> Pergunta(TBancoFirebird& banco, const std::string& sql,
                                  const TParametrosComando& parametros, const std::string& campo) {
    TPergunta p;
    std::vector<std::string> nomes;
    p.sql = TrocaParametrosNomeados(sql, nomes);
    // As the query binds them: every occurrence of a name takes its value, a name not given
    // stays NULL, and a value for a name the statement lacks is the statement's own failure.
    for (const std::string& nome : nomes) {
        std::optional<std::string> valor;
        for (const auto& [dado, v] : parametros) {
            if (texto::UpperAZ(dado) == nome)
                valor = v.value_or(std::string());
        }
        if (valor && valor->size() > kLarguraValor)
            return std::nullopt;
        p.valores.push_back(std::move(valor));
    }
    for (const auto& dado : parametros) {
        if (std::find(nomes.begin(), nomes.end(), texto::UpperAZ(dado.first)) == nomes.end())
            return std::nullopt;
    }
    IStatement* s = banco.Comandos().Prepara(banco.Attachment(), banco.TransacaoAtiva(), p.sql,
                                             banco.Dialeto());
    fb::Status st;
    IMessageMetadata* saida = s->getOutputMetadata(&st);
    st.Verifica();
    const unsigned colunas = saida->getCount(&st);
    const bool sua = colunas == 1 && !st.Falhou() &&
                     texto::UpperAZ(saida->getAlias(&st, 0)) == texto::UpperAZ(campo);
    if (sua)
        p.tipo = TipoDaColuna(saida, 0, banco.Dialeto());
    saida->release();
    if (p.tipo.empty())
        return std::nullopt;
    return p;
}

// The statement run inside the block, with its values taken from the block's inputs.
std::string ExecutaDentro(const TPergunta& p, size_t& entrada) {
    std::string r = "EXECUTE STATEMENT (" + texto::Literal(p.sql) + ")";
    if (!p.valores.empty()) {
        r += " (";
        for (size_t i = 0; i < p.valores.size(); ++i)
            r += (i ? ", :V" : ":V") + std::to_string(entrada++);
        r += ")";
    }
    return r;
}

}  // namespace

std::optional<TRespostaDaBusca> PerguntaNumaIda(TBancoFirebird& banco, const TLinhaDeBusca& linha) {
    try {
        std::vector<TPergunta> buscas;
        for (const TBuscaDeCodigo& b : linha.buscas) {
            auto p = Pergunta(banco, b.sql, b.parametros, b.campo);
            if (!p)
                return std::nullopt;
            buscas.push_back(std::move(*p));
        }
        std::optional<TPergunta> maximo;
        if (!linha.maximo.empty()) {
            maximo = Pergunta(banco, linha.maximo, {}, linha.campoMaximo);
            if (!maximo)
                return std::nullopt;
        }

        std::vector<std::optional<std::string>> valores;
        std::string entradas, saidas = "ACHADA INTEGER", corpo;
        size_t entrada = 0;
        for (size_t i = 0; i < buscas.size(); ++i) {
            for (const auto& v : buscas[i].valores) {
                entradas += (valores.empty() ? "V" : ", V") + std::to_string(valores.size()) +
                            " VARCHAR(" + std::to_string(kLarguraValor) +
                            ") CHARACTER SET WIN1252 = ?";
                valores.push_back(v);
            }
            const std::string c = "C" + std::to_string(i);
            saidas += ", " + c + " " + buscas[i].tipo;
            // The first row answers, as it does for the read alone; a NULL code finds nothing.
            corpo += "    IF (ACHADA < 0) THEN BEGIN\n      FOR " +
                     ExecutaDentro(buscas[i], entrada) + " INTO :" + c + " DO LEAVE;\n      IF (" +
                     c + " IS NOT NULL) THEN ACHADA = " + std::to_string(i) + ";\n    END\n";
        }
        std::string proprio;
        if (maximo) {
            saidas += ", MC " + maximo->tipo + ", MP " + maximo->tipo;
            corpo += "    IF (ACHADA < 0) THEN " + ExecutaDentro(*maximo, entrada) + " INTO :MC;\n";
            proprio = "  IF (ACHADA < 0) THEN " + ExecutaDentro(*maximo, entrada) + " INTO :MP;\n";
        }
        const std::string sql = "EXECUTE BLOCK " + (entradas.empty() ? "" : "(" + entradas + ") ") +
                                "RETURNS (" + saidas +
                                ")\nAS\nBEGIN\n  ACHADA = -1;\n  IN AUTONOMOUS TRANSACTION DO\n"
                                "  BEGIN\n" +
                                corpo + "  END\n" + proprio + "  SUSPEND;\nEND";

        TConsulta q(banco);
        q.DefineSQLPosicional(sql, std::move(valores));
        q.Abre();
        TRespostaDaBusca r;
        r.achadaPor = static_cast<int>(q.Inteiro("ACHADA"));
        if (r.achadaPor >= 0) {
            r.codigo = q.Texto("C" + std::to_string(r.achadaPor));
        } else if (maximo) {
            r.maiorConfirmado = q.Texto("MC");
            r.maiorProprio = q.Texto("MP");
        }
        return r;
    } catch (const EBancoDados&) {
        return std::nullopt;
    }
}
