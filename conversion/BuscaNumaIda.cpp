#include "conversion/BuscaNumaIda.h"

#include "common/Texto.h"
#include "conversion/BancoFirebird.h"
#include "conversion/Consulta.h"
#include "conversion/ErrosMotor.h"
#include "conversion/Firebird.h"
#include "conversion/LoteComandos.h"

#include <algorithm>

using namespace Firebird;

namespace {

// The room of a value in the block, and of an own lookup's statement, which travels as a value
// since it may hold its values as literals. Lookups ask with names and codes: what is longer is
// asked in turn, where the statement alone decides what it makes of it.
constexpr size_t kLarguraValor = 1024;
constexpr size_t kLarguraComando = 8191;

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
            return {};  // several bytes a character: its length is not its room
    }
}

// The declaration of a variable that holds the statement's column as the statement gives it, so
// that the answer reads as the statement's own would; empty when the block cannot declare it.
// previsivel: whether the code's text, bound back, is the very value (texts and integers).
std::string TipoDaColuna(IMessageMetadata* meta, unsigned i, int dialeto, bool& previsivel) {
    fb::Status st;
    const unsigned tipo = meta->getType(&st, i) & ~1u;
    const unsigned comprimento = meta->getLength(&st, i);
    const int escala = meta->getScale(&st, i);
    const unsigned conjunto = meta->getCharSet(&st, i);
    if (st.Falhou())
        return {};
    previsivel =
        (tipo == SQL_TEXT || tipo == SQL_VARYING || tipo == SQL_SHORT || tipo == SQL_LONG) &&
        escala == 0;
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

// The values of a statement's names in their order, as the query binds them: every occurrence
// of a name takes its value, a name not given stays NULL. False when a value is too long.
bool ValoresDosNomes(const std::vector<std::string>& nomes, const TParametrosComando& parametros,
                     std::vector<std::optional<std::string>>& valores) {
    for (const std::string& nome : nomes) {
        std::optional<std::string> valor;
        for (const auto& [dado, v] : parametros) {
            if (texto::UpperAZ(dado) == nome)
                valor = v.value_or(std::string());
        }
        if (valor && valor->size() > kLarguraValor)
            return false;
        valores.push_back(std::move(valor));
    }
    return true;
}

// A statement of the block: its text with "?" for its names and its values in their order.
// False when a value is too long or is given for a name the statement lacks, which is the
// statement's own failure.
bool Posicional(const std::string& sql, const TParametrosComando& parametros, std::string& texto,
                std::vector<std::optional<std::string>>& valores) {
    std::vector<std::string> nomes;
    texto = TrocaParametrosNomeados(sql, nomes);
    valores.clear();
    if (!ValoresDosNomes(nomes, parametros, valores))
        return false;
    for (const auto& dado : parametros) {
        if (std::find(nomes.begin(), nomes.end(), texto::UpperAZ(dado.first)) == nomes.end())
            return false;
    }
    return true;
}

// The type of the one column a statement answers, named as the lookup reads it.
std::string TipoDaResposta(TBancoFirebird& banco, const std::string& sql, const std::string& campo,
                           bool& previsivel) {
    IStatement* s =
        banco.Comandos().Prepara(banco.Attachment(), banco.TransacaoAtiva(), sql, banco.Dialeto());
    fb::Status st;
    IMessageMetadata* saida = s->getOutputMetadata(&st);
    st.Verifica();
    std::string tipo;
    const unsigned colunas = saida->getCount(&st);
    if (!st.Falhou() && colunas == 1 &&
        texto::UpperAZ(saida->getAlias(&st, 0)) == texto::UpperAZ(campo))
        tipo = TipoDaColuna(saida, 0, banco.Dialeto(), previsivel);
    saida->release();
    return tipo;
}

std::string Marcadores(const std::string& prefixo, size_t n) {
    std::string r;
    for (size_t k = 0; k < n; ++k)
        r += (k ? ", :" : " (:") + prefixo + std::to_string(k);
    return n ? r + ")" : r;
}

// The highest codes, with NULL kept apart from the empty text.
struct TMaiores {
    std::optional<std::string> confirmado, proprio;

    static std::string Guardado(const std::optional<std::string>& v) {
        return v ? std::to_string(v->size()) + ":" + *v : std::string("-");
    }
    std::string Texto() const { return Guardado(confirmado) + Guardado(proprio); }
    static std::optional<TMaiores> Le(const std::string& t) {
        TMaiores m;
        size_t i = 0;
        for (auto* v : {&m.confirmado, &m.proprio}) {
            if (i < t.size() && t[i] == '-') {
                ++i;
                continue;
            }
            const size_t dois = t.find(':', i);
            if (dois == std::string::npos)
                return std::nullopt;
            const size_t n = std::stoul(t.substr(i, dois - i));
            *v = t.substr(dois + 1, n);
            i = dois + 1 + n;
        }
        return m;
    }
};

class TBlocoDaBusca {
  public:
    TBlocoDaBusca(TBancoFirebird& banco, const TBuscaDaLinha& busca)
        : banco_(banco), busca_(busca) {}

    // False when the block cannot ask this lookup.
    bool Monta();
    // nullopt: nothing found or created; maiores then holds what the block answered.
    std::optional<TLinhaAchada> Executa(const std::optional<std::string>& novo,
                                        const std::optional<TMaiores>& previstos,
                                        TMaiores& maiores);
    bool TemMaximo() const { return !busca_.confirmadas.maximo.empty(); }
    bool Previsivel() const { return previsivel_; }

  private:
    TBancoFirebird& banco_;
    const TBuscaDaLinha& busca_;
    std::string sql_;
    std::vector<std::optional<std::string>> valoresFixos_;  // the lookups' own and committed
    std::vector<std::string> nomesCriacao_;
    bool previsivel_ = true;
};

bool TBlocoDaBusca::Monta() {
    const auto& confirmadas = busca_.confirmadas;
    if (confirmadas.buscas.empty())
        return false;
    std::string entradas, saidas = "PROPRIA INTEGER, ACHADA INTEGER, CRIADA INTEGER", corpo;
    auto entrada = [&](const std::string& nome, const std::string& tipo) {
        entradas += (entradas.empty() ? "" : ", ") + nome + " " + tipo + " = ?";
    };
    const std::string texto =
        "VARCHAR(" + std::to_string(kLarguraValor) + ") CHARACTER SET WIN1252";

    std::vector<std::string> tipos, comandos;
    std::vector<std::vector<std::optional<std::string>>> confirmados;
    for (const TBuscaDeCodigo& b : confirmadas.buscas) {
        std::string sql;
        std::vector<std::optional<std::string>> valores;
        if (!Posicional(b.sql, b.parametros, sql, valores))
            return false;
        bool previsivel = false;
        tipos.push_back(TipoDaResposta(banco_, sql, b.campo, previsivel));
        if (tipos.back().empty())
            return false;
        comandos.push_back(sql);
        confirmados.push_back(std::move(valores));
    }

    // The run's own lookups, each statement a value: it may hold the looked-up text as literals.
    for (size_t i = 0; i < busca_.proprias.size(); ++i) {
        const TBuscaDeCodigo& b = busca_.proprias[i];
        std::string sql;
        std::vector<std::optional<std::string>> valores;
        if (!Posicional(b.sql, b.parametros, sql, valores) || sql.size() > kLarguraComando)
            return false;
        const std::string n = std::to_string(i);
        entrada("SP" + n, "VARCHAR(" + std::to_string(kLarguraComando) + ") CHARACTER SET WIN1252");
        valoresFixos_.push_back(sql);
        for (size_t k = 0; k < valores.size(); ++k) {
            entrada("VP" + n + "_" + std::to_string(k), texto);
            valoresFixos_.push_back(std::move(valores[k]));
        }
        saidas += ", CP" + n + " " + tipos[0];
        corpo += "  IF (PROPRIA < 0) THEN\n    FOR EXECUTE STATEMENT (:SP" + n + ")" +
                 Marcadores("VP" + n + "_", valores.size()) + " INTO :CP" + n +
                 " DO\n    BEGIN\n      " +
                 (busca_.nuloEncontra ? "" : "IF (CP" + n + " IS NOT NULL) THEN ") +
                 "PROPRIA = " + n + ";\n      LEAVE;\n    END\n";
    }

    std::string autonoma;
    size_t v = 0;
    for (size_t i = 0; i < comandos.size(); ++i) {
        const std::string n = std::to_string(i);
        std::string lista;
        for (size_t k = 0; k < confirmados[i].size(); ++k, ++v) {
            entrada("VC" + std::to_string(v), texto);
            lista += (k ? ", :VC" : " (:VC") + std::to_string(v);
            valoresFixos_.push_back(confirmados[i][k]);
        }
        if (!confirmados[i].empty())
            lista += ")";
        saidas += ", C" + n + " " + tipos[i];
        autonoma += "      IF (ACHADA < 0) THEN\n      BEGIN\n        FOR EXECUTE STATEMENT (" +
                    texto::Literal(comandos[i]) + ")" + lista + " INTO :C" + n +
                    " DO LEAVE;\n        IF (C" + n + " IS NOT NULL) THEN ACHADA = " + n +
                    ";\n      END\n";
    }

    std::string condicao = "ACHADA < 0 AND INSERE = 1";
    std::string proprio;
    if (TemMaximo()) {
        std::string sql;
        std::vector<std::optional<std::string>> nenhum;
        if (!Posicional(confirmadas.maximo, {}, sql, nenhum) || !nenhum.empty())
            return false;
        const std::string tipo = TipoDaResposta(banco_, sql, confirmadas.campoMaximo, previsivel_);
        if (tipo.empty())
            return false;
        entrada("EMC", tipo);
        entrada("EMP", tipo);
        saidas += ", MC " + tipo + ", MP " + tipo;
        autonoma += "      IF (ACHADA < 0) THEN EXECUTE STATEMENT (" + texto::Literal(sql) +
                    ") INTO :MC;\n";
        proprio =
            "    IF (ACHADA < 0) THEN EXECUTE STATEMENT (" + texto::Literal(sql) + ") INTO :MP;\n";
        condicao += " AND MC IS NOT DISTINCT FROM EMC AND MP IS NOT DISTINCT FROM EMP";
    }
    entrada("INSERE", "INTEGER");
    std::string insercao = TrocaParametrosNomeados(busca_.criacao.sql, nomesCriacao_);
    for (size_t k = 0; k < nomesCriacao_.size(); ++k)
        entrada("VI" + std::to_string(k), texto);

    sql_ = "EXECUTE BLOCK (" + entradas + ")\nRETURNS (" + saidas +
           ")\nAS\nBEGIN\n  PROPRIA = -1;\n  ACHADA = -1;\n  CRIADA = 0;\n" + corpo +
           "  IF (PROPRIA < 0) THEN\n  BEGIN\n    IN AUTONOMOUS TRANSACTION DO\n    BEGIN\n" +
           autonoma + "    END\n" + proprio + "    IF (" + condicao +
           ") THEN\n    BEGIN\n      EXECUTE STATEMENT (" + texto::Literal(insercao) + ")" +
           Marcadores("VI", nomesCriacao_.size()) +
           ";\n      CRIADA = 1;\n    END\n  END\n  SUSPEND;\nEND";
    return true;
}

std::optional<TLinhaAchada> TBlocoDaBusca::Executa(const std::optional<std::string>& novo,
                                                   const std::optional<TMaiores>& previstos,
                                                   TMaiores& maiores) {
    std::vector<std::optional<std::string>> valores = valoresFixos_;
    if (TemMaximo()) {
        valores.push_back(previstos ? previstos->confirmado : std::nullopt);
        valores.push_back(previstos ? previstos->proprio : std::nullopt);
    }
    valores.push_back(std::string(novo ? "1" : "0"));
    const TParametrosComando criacao = novo ? busca_.criacao.valores(*novo) : TParametrosComando();
    if (!ValoresDosNomes(nomesCriacao_, criacao, valores))
        throw EBancoDados("valor longo demais para o bloco");  // asked in turn, by the caller

    TConsulta q(banco_);
    q.DefineSQLPosicional(sql_, std::move(valores));
    q.Abre();
    const int propria = static_cast<int>(q.Inteiro("PROPRIA"));
    if (propria >= 0) {
        return TLinhaAchada{TLinhaAchada::TOrigem::Propria, propria,
                            q.Texto("CP" + std::to_string(propria))};
    }
    const int achada = static_cast<int>(q.Inteiro("ACHADA"));
    if (achada >= 0) {
        return TLinhaAchada{TLinhaAchada::TOrigem::Confirmada, achada,
                            q.Texto("C" + std::to_string(achada))};
    }
    if (TemMaximo()) {
        maiores.confirmado = q.Nulo("MC") ? std::nullopt : std::optional(q.Texto("MC"));
        maiores.proprio = q.Nulo("MP") ? std::nullopt : std::optional(q.Texto("MP"));
    }
    if (q.Inteiro("CRIADA") == 1)
        return TLinhaAchada{TLinhaAchada::TOrigem::Criada, 0, *novo};
    return std::nullopt;
}

}  // namespace

std::optional<TLinhaAchada> BuscaNumaIda(TBancoFirebird& banco, const TBuscaDaLinha& busca) {
    try {
        TBlocoDaBusca bloco(banco, busca);
        if (!bloco.Monta())
            return std::nullopt;
        const std::string chave =
            TMemoriaTransacao::Chave("MaioresPrevistos", busca.confirmadas.maximo);
        std::optional<TMaiores> previstos;
        if (const std::string* guardados = banco.Memoria().Busca(chave))
            previstos = TMaiores::Le(*guardados);
        bool repetida = false;
        // The first new code of a run takes two trips, a code another run took three.
        for (int vez = 0; vez < 4; ++vez) {
            std::optional<std::string> novo;
            try {
                if (!bloco.TemMaximo())
                    novo = busca.proximo(std::string());
                else if (previstos && bloco.Previsivel())
                    novo = busca.proximo(OMaiorCodigo(previstos->confirmado.value_or(""),
                                                      previstos->proprio.value_or("")));
            } catch (const std::exception&) {
                return std::nullopt;  // the code the program cannot give fails in turn
            }
            TMaiores maiores;
            std::optional<TLinhaAchada> achada;
            try {
                achada = bloco.Executa(novo, previstos, maiores);
            } catch (const ERecusaRetida&) {
                throw;
            } catch (const EBancoDados& e) {
                bool nomeDeIndice = false;
                if (!novo || repetida ||
                    erros_motor::ChaveRepetida(e.Falha(), nomeDeIndice).empty())
                    return std::nullopt;
                // Another run committed that code since: asked again, it is among the committed.
                repetida = true;
                previstos.reset();
                continue;
            }
            if (achada && achada->origem == TLinhaAchada::TOrigem::Criada)
                maiores.proprio = achada->codigo;
            if (bloco.TemMaximo() && (!achada || achada->origem == TLinhaAchada::TOrigem::Criada))
                banco.Memoria().Guarda(chave, maiores.Texto());
            if (achada)
                return achada;
            if (!bloco.TemMaximo())
                return std::nullopt;
            previstos = maiores;
        }
        return std::nullopt;
    } catch (const ERecusaRetida&) {
        throw;
    } catch (const EBancoDados&) {
        return std::nullopt;
    }
}
