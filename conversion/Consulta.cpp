#include "conversion/Consulta.h"

#include "common/ConfiguracaoRegional.h"
#include "common/Texto.h"
#include "common/Win1252.h"
#include "conversion/Firebird.h"
#include "conversion/RecusaDoComando.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace Firebird;

// ---- Named parameters ---------------------------------------------------------------------

namespace {
bool InicioNome(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool ParteNome(char c) {
    return InicioNome(c) || (c >= '0' && c <= '9') || c == '$';
}
}  // namespace

std::string TrocaParametrosNomeados(const std::string& sql, std::vector<std::string>& nomes) {
    nomes.clear();
    std::string r;
    r.reserve(sql.size());
    for (size_t i = 0; i < sql.size(); ++i) {
        char c = sql[i];
        if (c == '\'' || c == '"') {
            // A literal (or, in dialect 3, a quoted identifier); a doubled quote stays inside.
            size_t j = i + 1;
            while (j < sql.size()) {
                if (sql[j] == c) {
                    if (j + 1 < sql.size() && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            size_t fim = std::min(j, sql.size() - 1);
            r.append(sql, i, fim - i + 1);
            i = fim;
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            size_t fim = sql.find('\n', i);
            if (fim == std::string::npos)
                fim = sql.size() - 1;
            r.append(sql, i, fim - i + 1);
            i = fim;
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            size_t fim = sql.find("*/", i + 2);
            fim = (fim == std::string::npos) ? sql.size() - 1 : fim + 1;
            r.append(sql, i, fim - i + 1);
            i = fim;
        } else if (c == ':' && i + 1 < sql.size() && InicioNome(sql[i + 1])) {
            size_t j = i + 1;
            while (j < sql.size() && ParteNome(sql[j]))
                ++j;
            nomes.push_back(texto::UpperAZ(std::string_view(sql).substr(i + 1, j - i - 1)));
            r += '?';
            i = j - 1;
        } else {
            r += c;
        }
    }
    return r;
}

// ---- Reading a result row -----------------------------------------------------------------

namespace {

double SerialDeIscDate(ISC_DATE d) {
    // ISC_DATE counts days from 17/11/1858; the serial counts from 30/12/1899.
    return static_cast<double>(d) - 15018.0;
}

std::string LeBlob(IAttachment* att, ITransaction* tra, ISC_QUAD id) {
    fb::Status st;
    IBlob* blob = att->openBlob(&st, tra, &id, 0, nullptr);
    st.Verifica();
    std::string r;
    char buf[16384];
    while (true) {
        unsigned lido = 0;
        int res = blob->getSegment(&st, sizeof buf, buf, &lido);
        if ((res == IStatus::RESULT_OK || res == IStatus::RESULT_SEGMENT) && !st.Falhou()) {
            r.append(buf, lido);
            continue;
        }
        break;
    }
    if (st.Falhou()) {
        blob->release();
        st.Verifica();
    }
    blob->close(&st);
    if (st.Falhou())
        blob->release();
    return r;
}

// A NUL inside a text would cut short the literal statement it is written into; workbook texts
// lose theirs the same way.
std::string SemNulos(std::string texto) {
    texto.erase(std::remove(texto.begin(), texto.end(), '\0'), texto.end());
    return texto;
}

}  // namespace

TValorCampo TLeitorLinhas::LeValor(const TColuna& c, const unsigned char* buf, IAttachment* att,
                                   ITransaction* tra) {
    TValorCampo v;
    if (*reinterpret_cast<const short*>(buf + c.offsetNulo))
        return v;
    const unsigned char* p = buf + c.offset;
    auto escalado = [&](std::int64_t n) {
        v.tipo = TValorCampo::Tipo::Inteiro;
        v.inteiro = n;
        v.escala = -c.escala;
    };
    switch (c.tipo) {
        case SQL_TEXT: {
            // Only the pad blanks go; other trailing characters are data.
            std::string_view bruto(reinterpret_cast<const char*>(p), c.comprimento);
            size_t fim = bruto.find_last_not_of(' ');
            v.tipo = TValorCampo::Tipo::Texto;
            v.texto =
                SemNulos(std::string(bruto.substr(0, fim == std::string_view::npos ? 0 : fim + 1)));
            break;
        }
        case SQL_VARYING: {
            unsigned short n;
            std::memcpy(&n, p, sizeof n);
            v.tipo = TValorCampo::Tipo::Texto;
            v.texto = SemNulos(std::string(reinterpret_cast<const char*>(p + 2), n));
            break;
        }
        case SQL_SHORT: {
            std::int16_t n;
            std::memcpy(&n, p, sizeof n);
            escalado(n);
            break;
        }
        case SQL_LONG: {
            std::int32_t n;
            std::memcpy(&n, p, sizeof n);
            escalado(n);
            break;
        }
        case SQL_INT64: {
            std::int64_t n;
            std::memcpy(&n, p, sizeof n);
            escalado(n);
            break;
        }
        case SQL_FLOAT: {
            float f;
            std::memcpy(&f, p, sizeof f);
            v.tipo = TValorCampo::Tipo::Numero;
            v.numero = f;
            break;
        }
        case SQL_DOUBLE:
        case SQL_D_FLOAT: {
            double d;
            std::memcpy(&d, p, sizeof d);
            v.tipo = TValorCampo::Tipo::Numero;
            v.numero = d;
            break;
        }
        case SQL_TYPE_DATE: {
            ISC_DATE d;
            std::memcpy(&d, p, sizeof d);
            v.tipo = TValorCampo::Tipo::Data;
            v.numero = SerialDeIscDate(d);
            break;
        }
        case SQL_TYPE_TIME: {
            ISC_TIME t;
            std::memcpy(&t, p, sizeof t);
            v.tipo = TValorCampo::Tipo::Hora;
            v.inteiro = t;
            break;
        }
        case SQL_TIMESTAMP: {
            ISC_TIMESTAMP ts;
            std::memcpy(&ts, p, sizeof ts);
            v.tipo = TValorCampo::Tipo::DataHora;
            v.numero = SerialDeIscDate(ts.timestamp_date);
            v.inteiro = ts.timestamp_time;
            break;
        }
        case SQL_BOOLEAN:
            v.tipo = TValorCampo::Tipo::Logico;
            v.inteiro = *p ? 1 : 0;
            break;
        case SQL_BLOB: {
            ISC_QUAD id;
            std::memcpy(&id, p, sizeof id);
            v.tipo = TValorCampo::Tipo::Texto;
            v.texto = SemNulos(LeBlob(att, tra, id));
            break;
        }
        default:
            throw EBancoDados("Tipo de coluna não suportado (" + std::to_string(c.tipo) + ")");
    }
    return v;
}

TLeitorLinhas::TLeitorLinhas(IMessageMetadata* saida) {
    fb::Status st;
    colunas_.resize(saida->getCount(&st));
    nomes_.resize(colunas_.size());
    for (unsigned i = 0; i < colunas_.size(); ++i) {
        colunas_[i] = {saida->getType(&st, i),       saida->getSubType(&st, i),
                       saida->getLength(&st, i),     saida->getOffset(&st, i),
                       saida->getNullOffset(&st, i), saida->getScale(&st, i)};
        nomes_[i] = texto::UpperAZ(saida->getAlias(&st, i));
    }
    // The metadata is the client's own copy: reading it cannot fail.
    mensagem_.resize(saida->getMessageLength(&st));
}

std::vector<TValorCampo> TLeitorLinhas::Le(IAttachment* att, ITransaction* tra) const {
    std::vector<TValorCampo> linha;
    linha.reserve(colunas_.size());
    for (const auto& c : colunas_)
        linha.push_back(LeValor(c, mensagem_.data(), att, tra));
    return linha;
}

namespace {

std::string DoisDigitos(unsigned n) {
    return n < 10 ? "0" + std::to_string(n) : std::to_string(n);
}

std::string HoraTexto(std::int64_t fracoes) {
    unsigned segundos = static_cast<unsigned>(fracoes / ISC_TIME_SECONDS_PRECISION);
    return DoisDigitos(segundos / 3600) + ":" + DoisDigitos(segundos / 60 % 60) + ":" +
           DoisDigitos(segundos % 60);
}

double ValorEscalado(const TValorCampo& v) {
    return static_cast<double>(v.inteiro) / std::pow(10.0, v.escala);
}

// The input message of a statement whose parameters all travel as WIN1252 texts; the engine
// converts each one to the type of its column.
std::vector<unsigned char> MontaMensagemTextos(
    const std::vector<std::optional<std::string>>& valores, IMessageMetadata*& meta) {
    fb::Status st;
    unsigned n = static_cast<unsigned>(valores.size());
    IMetadataBuilder* b = fb::Master()->getMetadataBuilder(&st, n);
    st.Verifica();
    for (unsigned i = 0; i < n; ++i) {
        unsigned len = valores[i] ? static_cast<unsigned>(valores[i]->size()) : 1;
        b->setType(&st, i, SQL_VARYING | 1);
        b->setLength(&st, i, std::max<unsigned>(1, len));
        b->setCharSet(&st, i, fb::kCharsetWin1252);
    }
    meta = b->getMetadata(&st);
    b->release();
    st.Verifica();
    std::vector<unsigned char> buf(meta->getMessageLength(&st), 0);
    for (unsigned i = 0; i < n; ++i) {
        short nulo = valores[i] ? 0 : -1;
        std::memcpy(buf.data() + meta->getNullOffset(&st, i), &nulo, sizeof nulo);
        if (valores[i]) {
            unsigned off = meta->getOffset(&st, i);
            auto len = static_cast<unsigned short>(valores[i]->size());
            std::memcpy(buf.data() + off, &len, sizeof len);
            std::memcpy(buf.data() + off + 2, valores[i]->data(), valores[i]->size());
        }
    }
    if (st.Falhou()) {
        meta->release();
        meta = nullptr;
        st.Verifica();
    }
    return buf;
}

}  // namespace

std::string TCamposResultado::TextoDoValor(const TValorCampo& v) {
    const auto& cfg = TConfiguracaoRegional::Instancia();
    switch (v.tipo) {
        case TValorCampo::Tipo::Nulo:
            return {};
        case TValorCampo::Tipo::Texto:
            return v.texto;
        case TValorCampo::Tipo::Inteiro:
            if (v.escala == 0)
                return std::to_string(v.inteiro);
            return cfg.NumeroParaTexto(ValorEscalado(v));
        case TValorCampo::Tipo::Numero:
            return cfg.NumeroParaTexto(v.numero);
        case TValorCampo::Tipo::Data:
            return cfg.DataParaTexto(v.numero);
        case TValorCampo::Tipo::Hora:
            return HoraTexto(v.inteiro);
        case TValorCampo::Tipo::DataHora:
            if (v.inteiro == 0)
                return cfg.DataParaTexto(v.numero);
            return cfg.DataParaTexto(v.numero) + " " + HoraTexto(v.inteiro);
        case TValorCampo::Tipo::Logico:
            return v.inteiro ? "True" : "False";
    }
    return {};
}

// ---- TConsulta ----------------------------------------------------------------------------

TConsulta::TConsulta(TBancoFirebird& banco) : banco_(banco) {}

TConsulta::TConsulta(TBancoFirebird& banco, TTransacao& transacao)
    : banco_(banco), transacao_(&transacao) {}

TConsulta::~TConsulta() = default;

void TConsulta::DefineSQL(const std::string& sql) {
    Fecha();
    if (sql == sql_)
        return;
    sql_ = sql;
    sqlPreparado_ = TrocaParametrosNomeados(sql_, nomesParametros_);
    valoresParametros_.assign(nomesParametros_.size(), std::nullopt);
}

void TConsulta::DefineSQLPosicional(const std::string& sql,
                                    std::vector<std::optional<std::string>> valores) {
    Fecha();
    sql_ = sql;
    sqlPreparado_ = sql;
    nomesParametros_.assign(valores.size(), std::string());
    valoresParametros_ = std::move(valores);
}

void TConsulta::Parametro(const std::string& nome, const std::string& valor) {
    std::string chave = texto::UpperAZ(nome);
    bool achou = false;
    for (size_t i = 0; i < nomesParametros_.size(); ++i) {
        if (nomesParametros_[i] == chave) {
            valoresParametros_[i] = valor;
            achou = true;
        }
    }
    if (!achou)
        throw EBancoDados("Parameter '" + nome + "' not found");
}

void TConsulta::Fecha() {
    aberta_ = false;
    linhas_.clear();
    campos_.clear();
    linha_ = 0;
}

ITransaction* TConsulta::TransacaoAtiva() {
    if (!transacao_)
        return banco_.TransacaoAtiva();
    banco_.Attachment();
    transacao_->Inicia();
    return transacao_->Handle();
}

IStatement* TConsulta::Prepara() {
    if (texto::Trim(sql_).empty())
        throw EBancoDados("Empty query");
    return banco_.Comandos().Prepara(banco_.Attachment(), TransacaoAtiva(), sqlPreparado_,
                                     banco_.Dialeto());
}

std::vector<unsigned char> TConsulta::MontaEntrada(IMessageMetadata*& meta) {
    meta = nullptr;
    if (valoresParametros_.empty())
        return {};
    return MontaMensagemTextos(valoresParametros_, meta);
}

void TConsulta::Abre() {
    Fecha();
    IStatement* statement = Prepara();
    IAttachment* att = banco_.Attachment();
    ITransaction* tra = TransacaoAtiva();
    IMessageMetadata* entrada = nullptr;
    std::vector<unsigned char> bufEntrada = MontaEntrada(entrada);
    fb::Status st;
    IMessageMetadata* saida = statement->getOutputMetadata(&st);
    if (st.Falhou()) {
        if (entrada)
            entrada->release();
        st.Verifica();
    }
    IResultSet* rs = statement->openCursor(&st, tra, entrada, bufEntrada.data(), saida, 0);
    if (entrada)
        entrada->release();
    if (st.Falhou()) {
        saida->release();
        st.Verifica();
    }
    TLeitorLinhas leitor(saida);
    saida->release();
    campos_ = leitor.Nomes();
    try {
        // After a shutdown of the engine a fetch answers "row" with the error set: only a clean
        // row is one.
        while (rs->fetchNext(&st, leitor.Mensagem().data()) == IStatus::RESULT_OK && !st.Falhou())
            linhas_.push_back(leitor.Le(att, tra));
        st.Verifica();
    } catch (...) {
        fb::Status st2;
        rs->close(&st2);
        if (st2.Falhou())
            rs->release();
        linhas_.clear();
        throw;
    }
    rs->close(&st);
    if (st.Falhou()) {
        rs->release();
        linhas_.clear();
        st.Verifica();
    }
    aberta_ = true;
    linha_ = 0;
}

void TConsulta::Executa() {
    Fecha();
    IStatement* statement = Prepara();
    ITransaction* tra = TransacaoAtiva();
    IMessageMetadata* entrada = nullptr;
    std::vector<unsigned char> bufEntrada = MontaEntrada(entrada);
    fb::Status st;
    statement->execute(&st, tra, entrada, bufEntrada.data(), nullptr, nullptr);
    if (entrada)
        entrada->release();
    try {
        st.Verifica();
    } catch (const EBancoDados& e) {
        TParametrosComando parametros;
        for (size_t i = 0; i < nomesParametros_.size(); ++i)
            parametros.emplace_back(nomesParametros_[i], valoresParametros_[i]);
        ExplicaRecusa(banco_, sql_, parametros, e);
        throw;
    }
}

size_t TCamposResultado::IndiceCampo(const std::string& campo) const {
    std::string chave = texto::UpperAZ(campo);
    for (size_t i = 0; i < campos_.size(); ++i) {
        if (campos_[i] == chave)
            return i;
    }
    throw EBancoDados("Field '" + campo + "' not found");
}

const TValorCampo& TCamposResultado::Valor(const std::string& campo) const {
    size_t i = IndiceCampo(campo);
    const std::vector<TValorCampo>* linha = LinhaAtual();
    if (!linha)
        throw EBancoDados("No current record");
    return (*linha)[i];
}

std::string TCamposResultado::Texto(const std::string& campo) const {
    return TextoDoValor(Valor(campo));
}

bool TCamposResultado::Nulo(const std::string& campo) const {
    return Valor(campo).tipo == TValorCampo::Tipo::Nulo;
}

std::int64_t TCamposResultado::Inteiro(const std::string& campo) const {
    const TValorCampo& v = Valor(campo);
    switch (v.tipo) {
        case TValorCampo::Tipo::Nulo:
            return 0;
        case TValorCampo::Tipo::Inteiro:
            if (v.escala == 0)
                return v.inteiro;
            return static_cast<std::int64_t>(std::llround(ValorEscalado(v)));
        case TValorCampo::Tipo::Numero:
            return static_cast<std::int64_t>(std::llround(v.numero));
        case TValorCampo::Tipo::Logico:
            return v.inteiro;
        default:
            return texto::LeInteiro(TextoDoValor(v));
    }
}

double TCamposResultado::Numero(const std::string& campo) const {
    const TValorCampo& v = Valor(campo);
    switch (v.tipo) {
        case TValorCampo::Tipo::Nulo:
            return 0;
        case TValorCampo::Tipo::Inteiro:
            return ValorEscalado(v);
        case TValorCampo::Tipo::Numero:
        case TValorCampo::Tipo::Data:
            return v.numero;
        case TValorCampo::Tipo::DataHora:
            return v.numero + static_cast<double>(v.inteiro) / (86400.0 * 10000.0);
        case TValorCampo::Tipo::Logico:
            return static_cast<double>(v.inteiro);
        default:
            return TConfiguracaoRegional::Instancia().TextoParaNumero(TextoDoValor(v));
    }
}

// ---- TComandoPreparado --------------------------------------------------------------------

TComandoPreparado::TComandoPreparado(TBancoFirebird& banco, const std::string& sql)
    : banco_(banco) {
    IAttachment* att = banco_.Attachment();
    ITransaction* tra = banco_.TransacaoAtiva();
    fb::Status st;
    statement_ = att->prepare(&st, tra, 0, sql.c_str(), static_cast<unsigned>(banco_.Dialeto()),
                              IStatement::PREPARE_PREFETCH_METADATA);
    st.Verifica();
}

TComandoPreparado::~TComandoPreparado() {
    if (!statement_)
        return;
    try {
        fb::LiberaComando(statement_);
    } catch (...) {
        // A destructor cannot report; the connection frees the statement when it ends.
    }
}

void TComandoPreparado::Executa(const std::vector<std::optional<std::string>>& valores) {
    IMessageMetadata* meta = nullptr;
    std::vector<unsigned char> buf = MontaMensagemTextos(valores, meta);
    ITransaction* tra = banco_.TransacaoAtiva();
    fb::Status st;
    statement_->execute(&st, tra, meta, buf.data(), nullptr, nullptr);
    if (meta)
        meta->release();
    st.Verifica();
}
