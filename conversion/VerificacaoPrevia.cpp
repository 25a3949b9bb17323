#include "conversion/VerificacaoPrevia.h"

#include "common/Erros.h"
#include "conversion/ArquivoDoBanco.h"
#include "conversion/Consulta.h"
#include "conversion/ObjetosComando.h"

#include <algorithm>

namespace {

const char* const kMesmoArquivo = "O mesmo arquivo foi escolhido para os dois bancos.";

using TCatalogo = std::map<std::string, std::set<std::string>>;

// The user tables and views of a database with their columns. Names are stored upper-cased
// when they were unquoted, padded with blanks to the width of the CHAR column.
TCatalogo LeCatalogo(TBancoFirebird& banco) {
    TConsulta q(banco);
    q.DefineSQL(
        "SELECT TRIM(R.RDB$RELATION_NAME) AS TABELA, TRIM(F.RDB$FIELD_NAME) AS COLUNA "
        "FROM RDB$RELATIONS R LEFT JOIN RDB$RELATION_FIELDS F "
        "ON F.RDB$RELATION_NAME = R.RDB$RELATION_NAME "
        "WHERE COALESCE(R.RDB$SYSTEM_FLAG, 0) = 0");
    q.Abre();
    TCatalogo c;
    for (; !q.Fim(); q.Proximo()) {
        auto& colunas = c[q.Texto("TABELA")];
        if (!q.Nulo("COLUNA"))
            colunas.insert(q.Texto("COLUNA"));
    }
    return c;
}

std::string NomeBanco(const TBancoFirebird& banco, const char* papelPadrao) {
    const std::string papel = banco.Papel().empty() ? papelPadrao : banco.Papel();
    return "banco " + papel + (banco.Nome().empty() ? std::string() : " (" + banco.Nome() + ")");
}

std::string Junta(const std::vector<std::string>& nomes) {
    std::string r;
    for (const std::string& n : nomes)
        r += (r.empty() ? "" : ", ") + n;
    return r;
}

// One line per table that is missing or lacks columns; none when everything is there.
std::vector<std::string> Faltas(const std::map<std::string, std::vector<std::string>>& exigido,
                                const TCatalogo& catalogo) {
    std::vector<std::string> linhas;
    for (const auto& [tabela, colunas] : exigido) {
        auto achada = catalogo.find(tabela);
        if (achada == catalogo.end()) {
            linhas.push_back("- falta a tabela " + tabela);
            continue;
        }
        std::vector<std::string> faltam;
        for (const std::string& c : colunas) {
            if (!achada->second.count(c))
                faltam.push_back(c);
        }
        if (faltam.size() == 1)
            linhas.push_back("- na tabela " + tabela + ", falta a coluna " + faltam[0]);
        else if (!faltam.empty())
            linhas.push_back("- na tabela " + tabela + ", faltam as colunas " + Junta(faltam));
    }
    return linhas;
}

}  // namespace

void TVerificacaoPrevia::Exige(TExigido& exigido, const std::string& comando) {
    const TObjetosComando objetos = ObjetosDoComando(comando);
    if (objetos.tabela.empty())
        return;
    auto& colunas = exigido[objetos.tabela];
    for (const std::string& c : objetos.colunas) {
        if (std::find(colunas.begin(), colunas.end(), c) == colunas.end())
            colunas.push_back(c);
    }
}

void TVerificacaoPrevia::Verifica() {
    const TCatalogo catalogoAlvo = LeCatalogo(alvo_);
    const TCatalogo catalogoOrigem = LeCatalogo(origem_);
    std::string mensagem;

    const bool algumaTabela =
        std::any_of(exigidoAlvo_.begin(), exigidoAlvo_.end(),
                    [&](const auto& t) { return catalogoAlvo.count(t.first) > 0; });
    if (!algumaTabela && !exigidoAlvo_.empty()) {
        std::vector<std::string> tabelas;
        for (const auto& t : exigidoAlvo_)
            tabelas.push_back(t.first);
        mensagem = "O " + NomeBanco(alvo_, "ALMURO") +
                   " não parece um banco do Almuro: não tem nenhuma das tabelas " + Junta(tabelas) +
                   ".";
    } else {
        const auto linhas = Faltas(exigidoAlvo_, catalogoAlvo);
        if (!linhas.empty()) {
            mensagem = "No " + NomeBanco(alvo_, "ALMURO") + " falta o que a conversão grava:";
            for (const std::string& l : linhas)
                mensagem += "\n" + l;
        }
    }
    const auto linhasOrigem = Faltas(exigidoOrigem_, catalogoOrigem);
    if (!linhasOrigem.empty()) {
        mensagem += (mensagem.empty() ? "" : "\n") + std::string("No ") +
                    NomeBanco(origem_, "TESSALY") + " falta o que a conversão lê:";
        for (const std::string& l : linhasOrigem)
            mensagem += "\n" + l;
    }
    if (mensagem.empty())
        return;
    // Whatever the one file lacks, the cause is that it was chosen twice.
    if (MesmoArquivoDeBanco(alvo_.Nome(), origem_.Nome()))
        mensagem +=
            (mensagem.find('\n') == std::string::npos ? " " : "\n") + std::string(kMesmoArquivo);
    throw EConversor(mensagem);
}
