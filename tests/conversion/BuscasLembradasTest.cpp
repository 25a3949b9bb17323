// Lookups ask the database once per value within a transaction, and only reuse what the
// database would answer again; prepared statements live as long as the connection allows.
#include "conversion/Consulta.h"
#include "conversion/classConversao.h"
#include "conversion/products/ProdutosBanco.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/LogicaTeste.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TAvisosGravados : IAvisos {
    void Alerta(const std::string& t) override { textos.push_back(t); }
    std::vector<std::string> textos;
};

class BuscasLembradasTest : public ::testing::Test {
  protected:
    apoio::TBancosTeste bancos;
    TAvisosGravados avisos;
    TConversao conversao{bancos.Almuro(), avisos};

    // Deletes inside the run's own transaction, where only the memory can still see the row.
    void ApagaNaTransacao(const std::string& tabela) {
        TConsulta q(bancos.Almuro());
        q.DefineSQL("delete from " + tabela);
        q.Executa();
    }
};

TEST_F(BuscasLembradasTest, CodigoCriadoVale) {
    EXPECT_EQ(conversao.RetornaClasFiscal("12345678"), "0001");
    EXPECT_EQ(conversao.RetornaCodCidade("Contagem", "MG"), "00001");
    EXPECT_EQ(conversao.VerificaUnidade("kg"), "KG");
    ApagaNaTransacao("CLASFISC");
    ApagaNaTransacao("CIDADES");
    ApagaNaTransacao("UNIDADES");
    // Asked again in the same transaction: the codes come from memory, nothing is inserted.
    EXPECT_EQ(conversao.RetornaClasFiscal("12345678"), "0001");
    EXPECT_EQ(conversao.RetornaCodCidade("Contagem", "MG"), "00001");
    EXPECT_EQ(conversao.VerificaUnidade("KG"), "KG");
    EXPECT_EQ(apoio::ContaLinhas(bancos.Almuro(), "CLASFISC"), 0);
    EXPECT_EQ(apoio::ContaLinhas(bancos.Almuro(), "CIDADES"), 0);
    EXPECT_EQ(apoio::ContaLinhas(bancos.Almuro(), "UNIDADES"), 0);
}

TEST_F(BuscasLembradasTest, OutraTransacaoPerguntaDeNovo) {
    EXPECT_EQ(conversao.RetornaClasFiscal("12345678"), "0001");
    bancos.Almuro().Transacao().Desfaz();
    // The rolled-back code is gone, and so is its memory: the row is created again.
    EXPECT_EQ(conversao.RetornaClasFiscal("12345678"), "0001");
    bancos.Almuro().Transacao().Confirma();
    EXPECT_EQ(apoio::ContaLinhas(bancos.Almuro(), "CLASFISC"), 1);
}

// "BHTE" found through BELO HORIZONTE is kept only until the run creates a city the database
// could take for it: a later "bhte" creates the city BHTE, which the exact lookup finds from
// then on.
TEST_F(BuscasLembradasTest, BhteLembradoAteCriarCidadeParecida) {
    EXPECT_EQ(conversao.RetornaCodCidade("Belo Horizonte", "MG"), "00001");
    EXPECT_EQ(conversao.RetornaCodCidade("BHTE", "MG"), "00001");
    // Renamed within the run: only the memory still answers BELO HORIZONTE's code.
    TConsulta q(bancos.Almuro());
    q.DefineSQL("update CIDADES set CIDADE = 'OUTRA' where CIDADE = 'BELO HORIZONTE'");
    q.Executa();
    EXPECT_EQ(conversao.RetornaCodCidade("BHTE", "MG"), "00001");
    EXPECT_EQ(conversao.RetornaCodCidade("bhte", "MG"), "00002");
    EXPECT_EQ(conversao.RetornaCodCidade("BHTE", "MG"), "00002");
}

TEST_F(BuscasLembradasTest, UnidadeQueFalhouAvisaACadaVez) {
    apoio::Executa(bancos.Almuro(), "drop table UNIDADES");
    conversao.VerificaUnidade("cx");
    conversao.VerificaUnidade("cx");
    EXPECT_EQ(avisos.textos.size(), 2u);
}

TEST_F(BuscasLembradasTest, SituacaoTributariaAusenteTambemFica) {
    apoio::InsereLinhas(bancos.Tessaly(), "CLFISCAL", {"CODIGO", "SIT_TRIBUTARIA"},
                        {{std::string("1"), std::string("060")}});
    EXPECT_EQ(RetornaSitTributaria(bancos.Tessaly(), "1"), "060");
    EXPECT_EQ(RetornaSitTributaria(bancos.Tessaly(), "2"), "");
    // The source is read in one snapshot: another connection's new row changes no answer.
    {
        TBancoFirebird outra(3);
        outra.DefineNome(bancos.CaminhoTessaly());
        outra.Conecta();
        apoio::InsereLinhas(outra, "CLFISCAL", {"CODIGO", "SIT_TRIBUTARIA"},
                            {{std::string("2"), std::string("010")}});
    }
    EXPECT_EQ(RetornaSitTributaria(bancos.Tessaly(), "2"), "");
    bancos.Tessaly().Transacao().Desfaz();
    EXPECT_EQ(RetornaSitTributaria(bancos.Tessaly(), "2"), "010");
}

// A sheet city is remembered only when the lookup would find the new row: a state longer than
// 2 is looked up by its first 2 characters but stored whole, so each call creates a row, as
// before.
TEST(BuscaCodCidadeLembradaTest, EstadoLongoCriaACadaVez) {
    apoio::TLogicaTeste t;
    EXPECT_EQ(t.logica.BuscaCodCidade("Contagem", "MG"), "00001");
    EXPECT_EQ(t.logica.BuscaCodCidade("Contagem", "MG"), "00001");
    EXPECT_EQ(t.logica.BuscaCodCidade("Betim", "MGX"), "00002");
    EXPECT_EQ(t.logica.BuscaCodCidade("Betim", "MGX"), "00003");
    EXPECT_EQ(apoio::ContaLinhas(t.logica.dbAlmuro, "CIDADES"), 3);
}

TEST(CacheComandosTest, ConsultaSobreviveAReconexaoEScriptApagaTabelaUsada) {
    apoio::TBancosTeste bancos;
    TBancoFirebird& banco = bancos.Almuro();
    TConsulta q(banco);
    q.DefineSQL("select count(*) as N from UNIDADES");
    q.Abre();
    q.Abre();
    EXPECT_EQ(banco.Comandos().Tamanho(), 1u);
    banco.Desconecta();
    EXPECT_EQ(banco.Comandos().Tamanho(), 0u);
    banco.Conecta();
    q.Abre();
    EXPECT_EQ(q.Inteiro("N"), 0);
    banco.Transacao().Confirma();
    // A kept statement on UNIDADES would make the engine refuse to drop it.
    banco.ExecutaScript("drop table UNIDADES");
    EXPECT_THROW(q.Abre(), EBancoDados);
}

TEST(CacheComandosTest, GuardaNoMaximoOLimite) {
    apoio::TBancosTeste bancos;
    for (int i = 0; i < 100; ++i) {
        TConsulta q(bancos.Almuro());
        q.DefineSQL("select " + std::to_string(i) + " as N from RDB$DATABASE");
        q.Abre();
        EXPECT_EQ(q.Inteiro("N"), i);
    }
    EXPECT_EQ(bancos.Almuro().Comandos().Tamanho(), 64u);
}

}  // namespace
