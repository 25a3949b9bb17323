// The helpers the sheet mappings clean their texts with, and the city lookup on a real target.
#include "tests/apoio/LogicaTeste.h"

#include <gtest/gtest.h>

namespace {

using L = TLogicaPrincipal;

TEST(ValoresPlanilha, LimpaTextoTiraPontuacaoEAparaAposCadaRemocao) {
    EXPECT_EQ(L::LimpaTexto("(31) 3333-4444"), "31 33334444");
    EXPECT_EQ(L::LimpaTexto("123.456.789-00"), "12345678900");
    EXPECT_EQ(L::LimpaTexto("  abc  "), "  abc  ");  // nothing removed, nothing trimmed
    EXPECT_EQ(L::LimpaTexto("D'Ávila / Filho"), "DÁvila  Filho");  // only the ends are trimmed
    EXPECT_EQ(L::LimpaTexto(""), "");
}

TEST(ValoresPlanilha, ZerosEsquerdaCompletaENuncaCorta) {
    EXPECT_EQ(L::ZerosEsquerda("42", 6), "000042");
    EXPECT_EQ(L::ZerosEsquerda("1234567", 6), "1234567");
    EXPECT_EQ(L::ZerosEsquerda("", 3), "000");
}

TEST(ValoresPlanilha, FormataTelefone) {
    EXPECT_EQ(L::FormataTelefone("(31) 3333-4444"), "3133334444");
    EXPECT_EQ(L::FormataTelefone("3333-4444"), "3133334444");
    EXPECT_EQ(L::FormataTelefone("0 31 3333 4444"), "3133334444");
    EXPECT_EQ(L::FormataTelefone("9999-88887"), "999988887");
    EXPECT_EQ(L::FormataTelefone(""), "");
    EXPECT_EQ(L::FormataTelefone("0000"), "");
    EXPECT_EQ(L::FormataTelefone("+55 ramal 2"), "+55ramal2");
}

class BuscaCodCidadeTest : public ::testing::Test {
  protected:
    apoio::TLogicaTeste t;
    TLogicaPrincipal& logica = t.logica;
};

TEST_F(BuscaCodCidadeTest, PrimeiraCidadeRecebe00001ESegundaBuscaAcha) {
    EXPECT_EQ(logica.BuscaCodCidade("Contagem", "MG"), "00001");
    EXPECT_EQ(logica.BuscaCodCidade("Contagem", "MG"), "00001");
    EXPECT_EQ(logica.BuscaCodCidade("Contagem", "SP"), "00002");
    EXPECT_EQ(logica.BuscaCodCidade("contagem", "MG"), "00003");  // exact, as the engine compares
    EXPECT_TRUE(t.mensagens.todas.empty());
    EXPECT_EQ(apoio::ContaLinhas(logica.dbAlmuro, "CIDADES"), 3);
}

TEST_F(BuscaCodCidadeTest, BhteViraBeloHorizonteEEstadoCortado) {
    EXPECT_EQ(logica.BuscaCodCidade(" BHTE ", "MG"), "00001");
    auto linhas = apoio::Linhas(logica.dbAlmuro, "select CIDADE, ESTADO from CIDADES");
    ASSERT_EQ(linhas.size(), 1u);
    EXPECT_EQ(linhas[0][0], "Belo Horizonte");
    EXPECT_EQ(linhas[0][1], "MG");
    // The lookup compares the first two characters of the state.
    EXPECT_EQ(logica.BuscaCodCidade("Belo Horizonte", "MG - Minas"), "00001");
}

TEST_F(BuscaCodCidadeTest, ContinuaDoMaiorCodigoENaoConfirma) {
    apoio::Executa(
        logica.dbAlmuro,
        "insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values ('00417', 'Betim', 'MG')");
    logica.IniciaTransacao();
    EXPECT_EQ(logica.BuscaCodCidade("Sabará", "MG"), "00418");
    EXPECT_TRUE(logica.dbAlmuro.Transacao().Ativa());  // the new city belongs to the run
    logica.DesfazTransacao();
    EXPECT_EQ(apoio::ContaLinhas(logica.dbAlmuro, "CIDADES"), 1);
}

TEST_F(BuscaCodCidadeTest, FalhaViraAvisoEDevolveVazio) {
    apoio::Executa(
        logica.dbAlmuro,
        "insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values ('ABCDE', 'Betim', 'MG')");
    EXPECT_EQ(logica.BuscaCodCidade("Sabará", "MG"), "");
    ASSERT_EQ(t.mensagens.todas.size(), 1u);
    EXPECT_EQ(t.mensagens.todas[0].tipo, "Alerta");
    EXPECT_EQ(t.mensagens.todas[0].texto.rfind("Erro ao converter Cidades. Motivo: \r", 0), 0u);
    // The existing city is still found.
    EXPECT_EQ(logica.BuscaCodCidade("Betim", "MG"), "ABCDE");
}

}  // namespace
