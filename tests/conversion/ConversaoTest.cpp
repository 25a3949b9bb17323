#include "common/ConfiguracaoRegional.h"
#include "conversion/classConversao.h"
#include "tests/apoio/BancosTeste.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TAvisosGravados : IAvisos {
    void Alerta(const std::string& t) override { textos.push_back(t); }
    std::vector<std::string> textos;
};

TEST(Normalizadores, CompletaZeros) {
    EXPECT_EQ(TConversao::CompletaZeros("123", 6), "000123");
    EXPECT_EQ(TConversao::CompletaZeros("", 6), "000000");
    EXPECT_EQ(TConversao::CompletaZeros("1234567", 6), "1234567");
    EXPECT_EQ(TConversao::CompletaZeros(" 7", 4), "00 7");
}

TEST(Normalizadores, SomenteNumeros) {
    EXPECT_EQ(TConversao::SomenteNumeros(" isento "), " ISENTO ");
    EXPECT_EQ(TConversao::SomenteNumeros("Isenta"), "");
    EXPECT_EQ(TConversao::SomenteNumeros("ISENCAO"), "");
    EXPECT_EQ(TConversao::SomenteNumeros("isento de IE"), "");
    EXPECT_EQ(TConversao::SomenteNumeros("12.345.678/0001-90"), "12345678000190");
    EXPECT_EQ(TConversao::SomenteNumeros(""), "");
    EXPECT_EQ(TConversao::SomenteNumeros("abc"), "");
}

TEST(Normalizadores, FormataData) {
    auto& cfg = TConfiguracaoRegional::Instancia();
    const std::string hoje = cfg.DataParaTexto(TConfiguracaoRegional::Hoje());
    EXPECT_EQ(TConversao::FormataData("15/03/2010"), "15.03.2010");
    EXPECT_EQ(TConversao::FormataData("2010-03-15"), "2010.03.15");
    EXPECT_EQ(TConversao::FormataData("15.03.2010"), "15.03.2010");
    EXPECT_EQ(TConversao::FormataData("40252"), "15/03/2010");
    EXPECT_EQ(TConversao::FormataData("abc"), "");
    EXPECT_EQ(TConversao::FormataData("99999999"), "");  // beyond the year 9999
    EXPECT_EQ(TConversao::FormataData(""), hoje);
    EXPECT_EQ(TConversao::FormataData("  -   -"), hoje);
    cfg.DefineSeparadorDecimal(',');
    EXPECT_EQ(TConversao::FormataData("40252,75"), "15/03/2010");
    cfg.DefineSeparadorDecimal('.');
}

TEST(Normalizadores, RetiraCaracteres) {
    EXPECT_EQ(TConversao::RetiraCaracteres("(31) 3333-4444"), "31 33334444");
    EXPECT_EQ(TConversao::RetiraCaracteres("  abc  "), "  abc  ");
    EXPECT_EQ(TConversao::RetiraCaracteres("01.234-567"), "01234567");
    EXPECT_EQ(TConversao::RetiraCaracteres("123.456.789-00"), "12345678900");
    EXPECT_EQ(TConversao::RetiraCaracteres("D'Avila"), "DAvila");
    // Only 100 characters after a removed one survive.
    const std::string longo = "-" + std::string(150, 'x');
    EXPECT_EQ(TConversao::RetiraCaracteres(longo), std::string(100, 'x'));
}

class BuscasTest : public ::testing::Test {
  protected:
    apoio::TBancosTeste bancos;
    TAvisosGravados avisos;
    TConversao conversao{bancos.Almuro(), avisos};

    int Conta(const std::string& tabela) {
        bancos.Almuro().Transacao().Confirma();
        return apoio::ContaLinhas(bancos.Almuro(), tabela);
    }
};

TEST_F(BuscasTest, ClassificacaoFiscalComecaEm0001EReaproveita) {
    EXPECT_EQ(conversao.RetornaClasFiscal(" 1234567890 "), "0001");
    EXPECT_EQ(conversao.RetornaClasFiscal("12345678"), "0001");
    EXPECT_EQ(conversao.RetornaClasFiscal("12345678XX"), "0001");
    EXPECT_EQ(conversao.RetornaClasFiscal("87654321"), "0002");
    EXPECT_EQ(Conta("CLASFISC"), 2);
    EXPECT_EQ(apoio::Linhas(bancos.Almuro(),
                            "select CODCLASFIS, CODIGONCM, CODNBM from CLASFISC order by 1"),
              (std::vector<apoio::TLinha>{{"0001", "12345678", "12345678"},
                                          {"0002", "87654321", "87654321"}}));
}

TEST_F(BuscasTest, ClassificacaoFiscalAlemDe9999EncerraAConversao) {
    apoio::Executa(
        bancos.Almuro(),
        "insert into CLASFISC (CODCLASFIS, CODIGONCM, CODNBM) values ('9999', '1', '1')");
    EXPECT_THROW(conversao.RetornaClasFiscal("22222222"), EConversor);
    EXPECT_EQ(Conta("CLASFISC"), 1);
}

TEST_F(BuscasTest, UnidadeCortadaEmDoisEMaiuscula) {
    EXPECT_EQ(conversao.VerificaUnidade("kg"), "KG");
    EXPECT_EQ(conversao.VerificaUnidade("Unidade"), "UN");
    EXPECT_EQ(conversao.VerificaUnidade(" un"), " U");
    EXPECT_EQ(conversao.VerificaUnidade(""), "");
    EXPECT_EQ(conversao.VerificaUnidade("KG"), "KG");
    EXPECT_TRUE(avisos.textos.empty());
    EXPECT_EQ(Conta("UNIDADES"), 4);
}

TEST_F(BuscasTest, FalhaNaUnidadeViraAvisoEContinua) {
    apoio::Executa(bancos.Almuro(), "drop table UNIDADES");
    EXPECT_EQ(conversao.VerificaUnidade("cx"), "CX");
    EXPECT_EQ(conversao.VerificaUnidade("pc"), "PC");
    EXPECT_EQ(avisos.textos, (std::vector<std::string>{"Erro ao converter Unidade.",
                                                       "Erro ao converter Unidade."}));
}

TEST_F(BuscasTest, CidadeComecaEm00001ComparaEmMaiusculas) {
    EXPECT_EQ(conversao.RetornaCodCidade("Sao Paulo", "sp"), "00001");
    EXPECT_EQ(conversao.RetornaCodCidade("SAO paulo", "Sp"), "00001");
    // Not trimmed: a leading blank makes another city (the database ignores trailing ones).
    EXPECT_EQ(conversao.RetornaCodCidade(" Sao Paulo", "SP"), "00002");
    EXPECT_EQ(apoio::Linhas(bancos.Almuro(),
                            "select CODCIDADE, CIDADE, ESTADO from CIDADES "
                            "where CODCIDADE = '00001'"),
              (std::vector<apoio::TLinha>{{"00001", "SAO PAULO", "SP"}}));
}

TEST_F(BuscasTest, BhteUsaBeloHorizonteDeQualquerEstado) {
    EXPECT_EQ(conversao.RetornaCodCidade("BHTE", "MG"), "00001");  // no BELO HORIZONTE yet
    EXPECT_EQ(conversao.RetornaCodCidade("Belo Horizonte", "xx"), "00002");
    EXPECT_EQ(conversao.RetornaCodCidade("BHTE", "SP"), "00002");
    EXPECT_EQ(conversao.RetornaCodCidade("bhte", "SP"), "00003");  // lower case: no special case
    EXPECT_EQ(Conta("CIDADES"), 3);
}

TEST_F(BuscasTest, CidadeAlemDe99999EncerraAConversao) {
    apoio::Executa(bancos.Almuro(),
                   "insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values ('99999', 'X', 'MG')");
    EXPECT_THROW(conversao.RetornaCodCidade("Y", "MG"), EConversor);
    EXPECT_EQ(Conta("CIDADES"), 1);
}

TEST_F(BuscasTest, BuscasNaoConfirmamATransacao) {
    conversao.RetornaCodCidade("Contagem", "MG");
    conversao.RetornaClasFiscal("11111111");
    conversao.VerificaUnidade("LT");
    ASSERT_TRUE(bancos.Almuro().Transacao().Ativa());
    bancos.Almuro().Transacao().Desfaz();
    EXPECT_EQ(apoio::ContaLinhas(bancos.Almuro(), "CIDADES"), 0);
    EXPECT_EQ(apoio::ContaLinhas(bancos.Almuro(), "CLASFISC"), 0);
    EXPECT_EQ(apoio::ContaLinhas(bancos.Almuro(), "UNIDADES"), 0);
}

}  // namespace
