#include "tests/apoio/BancosTeste.h"

#include <algorithm>

#include "common/Erros.h"
#include "common/Win1252.h"
#include "conversion/Consulta.h"
#include "conversion/Firebird.h"
#include "schema/Esquemas.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace apoio {

TDiretorioTemporario::TDiretorioTemporario() {
    std::string modelo = (std::filesystem::temp_directory_path() / "conversor-XXXXXX").string();
    if (!mkdtemp(modelo.data())) {
        throw std::system_error(errno, std::generic_category(),
                                "não foi possível criar um diretório temporário");
    }
    caminho_ = modelo;
}

TDiretorioTemporario::~TDiretorioTemporario() {
    std::error_code erro;
    std::filesystem::remove_all(caminho_, erro);
}

void CriaBancoDoEsquema(TBancoFirebird& banco, const std::string& caminho,
                        const std::string& esquema) {
    const auto& todos = esquemas::Todos();
    auto it = todos.find(esquema);
    if (it == todos.end())
        throw EConversor("esquema desconhecido: " + esquema);
    banco.DefineNome(caminho);
    banco.CriaBanco();
    banco.ExecutaScript(it->second);
}

TBancosTeste::TBancosTeste()
    : caminhoAlmuro_(diretorio_.Arquivo("almuro.fdb")),
      caminhoTessaly_(diretorio_.Arquivo("tessaly.fdb")) {
    CriaBancoDoEsquema(almuro_, caminhoAlmuro_, "almuro");
    CriaBancoDoEsquema(tessaly_, caminhoTessaly_, "tessaly");
}

// The connections detach (rolling back what a test left open) before the directory goes.
TBancosTeste::~TBancosTeste() = default;

void TBancosTeste::Desconecta() {
    almuro_.Desconecta();
    tessaly_.Desconecta();
}

void TBancosTeste::Conecta() {
    if (!almuro_.Conectado())
        almuro_.Conecta();
    if (!tessaly_.Conectado())
        tessaly_.Conecta();
}

std::vector<std::string> Campos(TBancoFirebird& banco, const std::string& sql) {
    const std::string comando = win1252::DeUtf8(sql);
    fb::Status st;
    Firebird::IStatement* statement = banco.Attachment()->prepare(
        &st, banco.TransacaoAtiva(), 0, comando.c_str(), static_cast<unsigned>(banco.Dialeto()),
        Firebird::IStatement::PREPARE_PREFETCH_METADATA);
    st.Verifica();
    std::vector<std::string> nomes;
    Firebird::IMessageMetadata* meta = statement->getOutputMetadata(&st);
    if (!st.Falhou()) {
        unsigned n = meta->getCount(&st);
        for (unsigned i = 0; i < n && !st.Falhou(); ++i) {
            const char* alias = meta->getAlias(&st, i);
            if (!st.Falhou())
                nomes.push_back(win1252::MensagemUtf8(alias));
        }
        meta->release();
    }
    if (st.Falhou()) {
        statement->release();
        st.Verifica();
    }
    statement->free(&st);
    st.Verifica();
    return nomes;
}

std::vector<TLinha> Linhas(TBancoFirebird& banco, const std::string& sql) {
    TConsulta consulta(banco);
    consulta.DefineSQL(win1252::DeUtf8(sql));
    consulta.Abre();  // a bad statement fails here, with the database's own message
    const std::vector<std::string> campos = Campos(banco, sql);
    std::vector<TLinha> linhas;
    for (consulta.Primeiro(); !consulta.Fim(); consulta.Proximo()) {
        TLinha linha;
        linha.reserve(campos.size());
        for (const auto& campo : campos) {
            linha.push_back(win1252::ParaUtf8(consulta.Texto(win1252::DeUtf8(campo))));
        }
        linhas.push_back(std::move(linha));
    }
    return linhas;
}

std::string Valor(TBancoFirebird& banco, const std::string& sql) {
    auto linhas = Linhas(banco, sql);
    if (linhas.empty() || linhas.front().empty()) {
        throw EBancoDados("a consulta não devolveu nenhuma linha: " + sql);
    }
    return linhas.front().front();
}

int ContaLinhas(TBancoFirebird& banco, const std::string& tabela) {
    return std::stoi(Valor(banco, "SELECT COUNT(*) AS TOTAL FROM " + tabela));
}

void Executa(TBancoFirebird& banco, const std::string& sql) {
    TConsulta consulta(banco);
    consulta.DefineSQL(win1252::DeUtf8(sql));
    consulta.Executa();
    if (banco.Transacao().Ativa())
        banco.Transacao().Confirma();
}

void InsereLinhas(TBancoFirebird& banco, const std::string& tabela,
                  const std::vector<std::string>& colunas,
                  const std::vector<std::vector<TValor>>& linhas) {
    std::string sql = "INSERT INTO " + tabela + " (";
    std::string marcas;
    for (size_t i = 0; i < colunas.size(); ++i) {
        sql += (i ? ", " : "") + colunas[i];
        marcas += i ? ", ?" : "?";
    }
    sql += ") VALUES (" + marcas + ")";

    TComandoPreparado comando(banco, sql);
    std::vector<std::optional<std::string>> valores;
    for (const auto& linha : linhas) {
        if (linha.size() != colunas.size()) {
            throw EConversor("InsereLinhas: a linha tem " + std::to_string(linha.size()) +
                             " valores para " + std::to_string(colunas.size()) + " colunas");
        }
        valores.clear();
        for (const auto& v : linha) {
            valores.push_back(v ? std::optional<std::string>(win1252::DeUtf8(*v)) : std::nullopt);
        }
        comando.Executa(valores);
    }
    if (banco.Transacao().Ativa())
        banco.Transacao().Confirma();
}

std::map<std::string, std::vector<TLinha>> Despeja(const std::string& caminho) {
    TBancoFirebird banco(1);
    banco.DefineNome(caminho);
    banco.Conecta();
    std::map<std::string, std::vector<TLinha>> r;
    for (const TLinha& t :
         Linhas(banco,
                "select trim(RDB$RELATION_NAME) as NOME from RDB$RELATIONS "
                "where coalesce(RDB$SYSTEM_FLAG, 0) = 0 and RDB$VIEW_BLR is null")) {
        auto linhas = Linhas(banco, "select * from " + t[0]);
        std::sort(linhas.begin(), linhas.end());
        r[t[0]] = std::move(linhas);
    }
    banco.Transacao().Confirma();
    return r;
}

}  // namespace apoio
