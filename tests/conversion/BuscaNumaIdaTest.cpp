// The questions of a lookup row's miss asked in one block answer what they answer one by one:
// the committed rows from their own snapshot, the run's highest code from the run's, each code
// in its column's own text; what the block cannot carry is asked one by one, failure and all.
#include "conversion/BuscaConcorrente.h"
#include "conversion/BuscaNumaIda.h"
#include "conversion/Consulta.h"
#include "conversion/LoteComandos.h"
#include "tests/apoio/BancosTeste.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kPorNome =
    " select CodCidade from Cidades  where Cidade = :CIDADE   And Estado = :ESTADO";
const char* const kBeloHorizonte = " select codcidade from cidades where cidade = 'BELO HORIZONTE'";

// The lookups of a city, BELO HORIZONTE after the exact one as for BHTE.
TLinhaDeBusca Cidade(const std::string& nome, const std::string& uf) {
    TLinhaDeBusca linha{{{kPorNome, {{"CIDADE", nome}, {"ESTADO", uf}}, "CodCidade"}},
                        " Select Max(CodCidade) as CodCliente From Cidades ",
                        "CodCliente"};
    if (nome == "BHTE")
        linha.buscas.push_back({kBeloHorizonte, {}, "CODCIDADE"});
    return linha;
}

class BuscaNumaIdaTest : public ::testing::Test {
  protected:
    apoio::TBancosTeste bancos;

    // Committed by another connection after the run's transaction took its snapshot.
    void ConfirmaEmOutraConexao(const std::string& sql) {
        TBancoFirebird outra(1);
        outra.DefineNome(bancos.CaminhoAlmuro());
        outra.Conecta();
        apoio::Executa(outra, sql);
    }
};

TEST_F(BuscaNumaIdaTest, RespondeOQueAsLeiturasSeparadasResponderiam) {
    TConsulta propria(bancos.Almuro());
    propria.DefineSQL(
        "insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values ('00003', 'A', 'MG')");
    propria.Executa();
    ConfirmaEmOutraConexao(
        "insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values ('00007', 'B', 'SP')");
    ConfirmaEmOutraConexao(
        "insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values ('00005', 'BELO HORIZONTE', 'MG')");

    auto b = PerguntaNumaIda(bancos.Almuro(), Cidade("B", "SP"));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->achadaPor, 0);
    EXPECT_EQ(b->codigo, "00007");

    auto bh = PerguntaNumaIda(bancos.Almuro(), Cidade("BHTE", "MG"));
    ASSERT_TRUE(bh);
    EXPECT_EQ(bh->achadaPor, 1);
    EXPECT_EQ(bh->codigo, "00005");

    // The run's own row is not committed; the others' rows are not in the run's snapshot.
    auto nova = PerguntaNumaIda(bancos.Almuro(), Cidade("C", "RJ"));
    ASSERT_TRUE(nova);
    EXPECT_EQ(nova->achadaPor, -1);
    EXPECT_EQ(nova->maiorConfirmado, "00007");
    EXPECT_EQ(nova->maiorProprio, "00003");

    // And the row created from it follows the highest of both, as before.
    bancos.Almuro().Lote().DefineUso(TLoteComandos::TUso::Sempre);
    const std::string codigo = AchaOuCriaLinha(
        bancos.Almuro(), Cidade("C", "RJ"),
        [](const std::string& maior) { return "0000" + std::to_string(std::stoi(maior) + 1); },
        [](const std::string&) {});
    EXPECT_EQ(codigo, "00008");
}

TEST_F(BuscaNumaIdaTest, CodigoNoTextoDoTipoDaSuaColuna) {
    apoio::Executa(bancos.Almuro(),
                   "create table CODIGOS (COD char(6), NUM integer, NOME varchar(10))");
    apoio::Executa(bancos.Almuro(), "insert into CODIGOS values ('7', 12, 'X')");
    for (const char* coluna : {"COD", "NUM"}) {
        const std::string sql =
            std::string("select ") + coluna + " from CODIGOS where NOME = :NOME";
        TConsulta q(bancos.Almuro());
        q.DefineSQL(sql);
        q.Parametro("NOME", "X");
        q.Abre();
        const auto r = PerguntaNumaIda(bancos.Almuro(), {{{sql, {{"NOME", "X"}}, coluna}}, {}, {}});
        ASSERT_TRUE(r) << coluna;
        EXPECT_EQ(r->codigo, q.Texto(coluna)) << coluna;
    }
}

TEST_F(BuscaNumaIdaTest, ValorQueOComandoRecusaTemARecusaDeSempre) {
    const std::string longa(50, 'X');  // the column takes 40
    EXPECT_FALSE(PerguntaNumaIda(bancos.Almuro(), Cidade(longa, "MG")));
    auto falha = [&](TLoteComandos::TUso uso) {
        bancos.Almuro().Lote().DefineUso(uso);
        try {
            AchaOuCriaLinha(
                bancos.Almuro(), Cidade(longa, "MG"),
                [](const std::string&) { return std::string("00001"); }, [](const std::string&) {});
        } catch (const EBancoDados& e) {
            return std::string(e.what());
        }
        return std::string("nenhuma falha");
    };
    const std::string umAUm = falha(TLoteComandos::TUso::Nunca);
    EXPECT_NE(umAUm, "nenhuma falha");
    EXPECT_EQ(falha(TLoteComandos::TUso::Sempre), umAUm);
}

}  // namespace
