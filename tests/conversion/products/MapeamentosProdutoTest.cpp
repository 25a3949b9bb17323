#include "common/ConfiguracaoRegional.h"
#include "tests/apoio/LogicaTeste.h"

#include <gtest/gtest.h>

namespace {

using apoio::Linhas;
using apoio::TLinha;
using apoio::TValor;

const std::vector<std::string> kColunasEstoque = {"CODIGO",
                                                  "BARRAS",
                                                  "NOME",
                                                  "CARACTERISTICA",
                                                  "COD_TRIB",
                                                  "UND_COMPRA",
                                                  "UND_VENDA",
                                                  "NCM",
                                                  "ICMS",
                                                  "CSOSN",
                                                  "PRECO_CONSUMIDOR",
                                                  "PIS_ALIQ",
                                                  "PIS_ST",
                                                  "COFINS_ALIQ",
                                                  "COFINS_ST",
                                                  "PIS_ST_ENTRADA",
                                                  "COFINS_ST_ENTRADA",
                                                  "PIS_ALIQ_ENTRADA",
                                                  "COFINS_ALIQ_ENTRADA"};

std::vector<TValor> Estoque(const std::string& codigo, const std::string& nome,
                            TValor codTrib = std::nullopt, TValor ncm = std::nullopt,
                            TValor preco = std::nullopt) {
    return {codigo,  "789" + codigo, nome,  "caracteristica " + nome,
            codTrib, "un",           "kg",  ncm,
            "18",    "102",          preco, "1.65",
            "01",    "7.6",          "02",  "50",
            "51",    "0.65",         "3"};
}

class MapeamentosProdutoTest : public ::testing::Test {
  protected:
    void SetUp() override { TConfiguracaoRegional::Instancia().DefineSeparadorDecimal(','); }
    void TearDown() override { TConfiguracaoRegional::Instancia().DefineSeparadorDecimal('.'); }

    void Origem(const std::vector<std::vector<TValor>>& linhas) {
        apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE", kColunasEstoque, linhas);
    }
    std::vector<TLinha> Alvo(const std::string& sql) {
        logica.ConfirmaTransacao();
        t.bancos.Almuro().Transacao().Confirma();
        return Linhas(t.bancos.Almuro(), sql);
    }
    TLinha Planilha(const std::string& descricao, const std::string& unidade,
                    const std::string& preco) {
        return {"x", descricao, "", "", unidade, preco};
    }

    apoio::TLogicaTeste t;
    TLogicaPrincipal& logica = t.logica;
};

TEST_F(MapeamentosProdutoTest, BancoMantemCodigosEContaOMaior) {
    apoio::InsereLinhas(t.bancos.Tessaly(), "CLFISCAL", {"CODIGO", "SIT_TRIBUTARIA"},
                        {{"T1", "60"}, {"T2", "0"}});
    Origem({Estoque("00000005", "Caf\xC3\xA9", "T1", "0901.21.00"),
            Estoque("00000017", "Arroz", "XX", " "),
            Estoque("00000009", "Feij\xC3\xA3o", "T2", "09012100", "12.5")});
    logica.ConverteProdutosBanco();
    EXPECT_EQ(logica.ContadorProduto, 18);
    EXPECT_EQ(Alvo("select CODPROD, DESCRICAO, DESCRICAO2, REFERENCIA, CODTRIBUT00, UNIDADEENT, "
                   "UNIDADESAIDA, CODCLASFIS, PRECO, ALIQICMSREG00, ALIQICMSPDV, TIPOPROD, ATIVO,"
                   " CODTIPOPRODUTO from PRODUTO order by CODPROD"),
              (std::vector<TLinha>{{"000005", "Café", "caracteristica Café", "78900000005", "060",
                                    "UN", "KG", "0001", "0", "18", "18", "R", "S", "00"},
                                   {"000009", "Feijão", "caracteristica Feijão", "78900000009",
                                    "000", "UN", "KG", "0002", "12,5", "18", "18", "R", "S", "00"},
                                   {"000017", "Arroz", "caracteristica Arroz", "78900000017", "",
                                    "UN", "KG", "", "0", "18", "18", "R", "S", "00"}}));
    EXPECT_EQ(Alvo("select CODPROD, ALIQPIS, PIS_CST, ALIQCOFINS, COFINS_CST, CODCSOSN, "
                   "PISENT_CST, COFINSENT_CST, ALIQPISENT, ALIQCOFINSENT from PRODUTODETALHE "
                   "order by CODPROD"),
              (std::vector<TLinha>{
                  {"000005", "1,65", "01", "7,6", "02", "102", "50", "51", "0,65", "3"},
                  {"000009", "1,65", "01", "7,6", "02", "102", "50", "51", "0,65", "3"},
                  {"000017", "1,65", "01", "7,6", "02", "102", "50", "51", "0,65", "3"}}));
    EXPECT_EQ(Alvo("select CODCLASFIS, CODIGONCM from CLASFISC order by 1"),
              (std::vector<TLinha>{{"0001", "0901.21."}, {"0002", "09012100"}}));
    EXPECT_EQ(Alvo("select UNIDADE from UNIDADES order by 1"),
              (std::vector<TLinha>{{"KG"}, {"UN"}}));
    EXPECT_EQ(t.progresso.legendas,
              (std::vector<std::string>{"...", "Convertendo Produtos - Registro 1 de 3",
                                        "Convertendo Produtos - Registro 2 de 3",
                                        "Convertendo Produtos - Registro 3 de 3"}));
    EXPECT_EQ(t.progresso.ultimo.aguarde, "");
    EXPECT_EQ(t.progresso.ultimo.barraMaximo, 0);
}

// A missing COD_TRIB still asks CLFISCAL for the empty code: a text CODIGO may hold it. Only
// a numeric CODIGO refuses the question, and then no classification can have that code.
TEST_F(MapeamentosProdutoTest, CodigoTributarioVazioTambemConsultaOClfiscal) {
    apoio::InsereLinhas(t.bancos.Tessaly(), "CLFISCAL", {"CODIGO", "SIT_TRIBUTARIA"},
                        {{"", "41"}, {"T1", "60"}});
    Origem({Estoque("00000001", "A"), Estoque("00000002", "B", "T1")});
    logica.ConverteProdutosBanco();
    EXPECT_EQ(Alvo("select CODPROD, CODTRIBUT00 from PRODUTO order by 1"),
              (std::vector<TLinha>{{"000001", "041"}, {"000002", "060"}}));
}

TEST_F(MapeamentosProdutoTest, CodigoTributarioVazioContraCodigoNumericoFicaVazio) {
    apoio::Executa(t.bancos.Tessaly(), "drop table CLFISCAL");
    apoio::Executa(t.bancos.Tessaly(),
                   "create table CLFISCAL (CODIGO integer not null primary key, "
                   "SIT_TRIBUTARIA varchar(3))");
    apoio::InsereLinhas(t.bancos.Tessaly(), "CLFISCAL", {"CODIGO", "SIT_TRIBUTARIA"},
                        {{"7", "20"}});
    Origem({Estoque("00000001", "A"), Estoque("00000002", "B", "7")});
    logica.ConverteProdutosBanco();
    EXPECT_EQ(Alvo("select CODPROD, CODTRIBUT00 from PRODUTO order by 1"),
              (std::vector<TLinha>{{"000001", ""}, {"000002", "020"}}));
}

TEST_F(MapeamentosProdutoTest, BancoVazioEsvaziaOAlvoEDeixaContador1) {
    apoio::Executa(t.bancos.Almuro(), "insert into PRODUTO (CODPROD) values ('000001')");
    apoio::Executa(t.bancos.Almuro(), "insert into PRODUTODETALHE (CODPROD) values ('000001')");
    logica.ConverteProdutosBanco();
    EXPECT_EQ(logica.ContadorProduto, 1);
    EXPECT_TRUE(Alvo("select CODPROD from PRODUTO").empty());
    EXPECT_TRUE(Alvo("select CODPROD from PRODUTODETALHE").empty());
}

TEST_F(MapeamentosProdutoTest, CodigoDoBancoDoTerceiroAoOitavoCaractere) {
    Origem({Estoque("00000123", "A"), Estoque("12", "B"), Estoque("99123456", "C")});
    logica.ConverteProdutosBanco();
    EXPECT_EQ(logica.ContadorProduto, 99123457);
    EXPECT_EQ(Alvo("select CODPROD from PRODUTO order by 1"),
              (std::vector<TLinha>{{"000000"}, {"000123"}, {"123456"}}));
}

TEST_F(MapeamentosProdutoTest, PlanilhaNumeraAposOBancoEPulaOCabecalho) {
    logica.ContadorProduto = 151;
    t.Planilha(6, {{"Cod", "Descricao", "", "", "Unid", "Preco"},
                   Planilha(std::string(80, 'd'), "caixas", "12,50"),
                   Planilha("  Parafuso  ", "", ""),
                   Planilha("Porca", "PC", "3")});
    logica.ConverteProdutosPlanilha();
    EXPECT_EQ(logica.ContadorProduto, 154);
    EXPECT_EQ(
        Alvo("select CODPROD, DESCRICAO, UNIDADEENT, UNIDADESAIDA, PRECO, TIPOPROD, ATIVO, "
             "CODTIPOPRODUTO from PRODUTO order by CODPROD"),
        (std::vector<TLinha>{{"000151", std::string(50, 'd'), "CA", "CA", "12,5", "S", "S", "00"},
                             {"000152", "Parafuso", "", "", "0", "S", "S", "00"},
                             {"000153", "Porca", "PC", "PC", "3", "S", "S", "00"}}));
    EXPECT_TRUE(Alvo("select CODPROD from PRODUTODETALHE").empty());
    EXPECT_EQ(t.progresso.legendas, (std::vector<std::string>{"Convertendo Produtos, Aguarde!"}));
    EXPECT_EQ(t.progresso.ultimo.status, "");
}

TEST_F(MapeamentosProdutoTest, PlanilhaSoComCabecalhoOuVaziaNaoGravaNada) {
    logica.ContadorProduto = 7;
    t.Planilha(6, {{"Cod", "Descricao", "", "", "Unid", "Preco"}});
    logica.ConverteProdutosPlanilha();
    t.Planilha(6, {});
    logica.ConverteProdutosPlanilha();
    EXPECT_EQ(logica.ContadorProduto, 7);
    EXPECT_TRUE(Alvo("select CODPROD from PRODUTO").empty());
}

TEST_F(MapeamentosProdutoTest, PlanilhaComPoucasColunasOuPrecoInvalidoFalha) {
    t.Planilha(5, {{"h"}, {"x", "Descricao", "", "", "UN"}});
    EXPECT_THROW(
        try { logica.ConverteProdutosPlanilha(); } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), "Field '6' not found");
            throw;
        },
        std::exception);
    t.Planilha(6, {{"h"}, Planilha("A", "UN", "12.50")});
    EXPECT_THROW(logica.ConverteProdutosPlanilha(), EConversao);
}

TEST_F(MapeamentosProdutoTest, CodigoDePlanilhaQueNaoCabeEncerraAConversao) {
    logica.ContadorProduto = 999999;
    t.Planilha(6, {{"h"}, Planilha("A", "UN", "1"), Planilha("B", "UN", "1")});
    EXPECT_THROW(logica.ConverteProdutosPlanilha(), EConversor);
    logica.DesfazTransacao();
    EXPECT_TRUE(Alvo("select CODPROD from PRODUTO").empty());
}

// The run is one transaction: a failure anywhere leaves every target table as it was.
class ConversaoAtomicaTest : public MapeamentosProdutoTest {
  protected:
    void SetUp() override {
        MapeamentosProdutoTest::SetUp();
        apoio::Executa(t.bancos.Almuro(),
                       "insert into PRODUTO (CODPROD, DESCRICAO) values ('000001', 'antigo')");
        apoio::Executa(t.bancos.Almuro(), "insert into PRODUTODETALHE (CODPROD) values ('000001')");
        apoio::Executa(t.bancos.Almuro(), "insert into UNIDADES (UNIDADE) values ('UN')");
        Origem({Estoque("00000001", "Novo", std::nullopt, "12345678")});
        logica.DefineTipo(TTipoConversao::Produtos);
    }
    void ConfereAlvoComoAntes() {
        EXPECT_EQ(Alvo("select CODPROD, DESCRICAO from PRODUTO"),
                  (std::vector<TLinha>{{"000001", "antigo"}}));
        EXPECT_EQ(Alvo("select CODPROD from PRODUTODETALHE"), (std::vector<TLinha>{{"000001"}}));
        EXPECT_EQ(Alvo("select UNIDADE from UNIDADES"), (std::vector<TLinha>{{"UN"}}));
        EXPECT_TRUE(Alvo("select CODCLASFIS from CLASFISC").empty());
        EXPECT_FALSE(logica.dbAlmuro.Transacao().Ativa());
        ASSERT_EQ(t.mensagens.Textos("Erro").size(), 1u);
        EXPECT_TRUE(t.mensagens.Textos("Informação").empty());
        EXPECT_EQ(t.progresso.ultimo.aguarde, "");
        EXPECT_EQ(t.progresso.ultimo.status, "");
        EXPECT_EQ(t.progresso.ultimo.barraPosicao, 0);
    }
};

TEST_F(ConversaoAtomicaTest, CodigoRepetidoDesfazTudo) {
    Origem({Estoque("99000001", "Repete o 000001")});
    EXPECT_FALSE(logica.EfetuaConversao());
    ConfereAlvoComoAntes();
    const std::string erro = t.mensagens.Textos("Erro")[0];
    EXPECT_EQ(erro.rfind("Houve um erro ao realizar a conversão. Motivo: \r", 0), 0u) << erro;
    EXPECT_NE(erro.find("PRIMARY"), std::string::npos) << erro;
}

TEST_F(ConversaoAtomicaTest, PrecoInvalidoNaPlanilhaDesfazTudo) {
    t.Planilha(6, {{"h"}, Planilha("A", "KG", "abc")});
    EXPECT_FALSE(logica.EfetuaConversao());
    ConfereAlvoComoAntes();
}

TEST_F(ConversaoAtomicaTest, SucessoConfirmaEOrigemLidaDeNovoNaProximaConversao) {
    t.Planilha(6, {{"h"}, Planilha("Da planilha", "KG", "2")});
    EXPECT_TRUE(logica.EfetuaConversao());
    EXPECT_EQ(t.mensagens.Textos("Informação"),
              (std::vector<std::string>{"Conversão concluída com sucesso!"}));
    EXPECT_EQ(Alvo("select CODPROD, DESCRICAO from PRODUTO order by 1"),
              (std::vector<TLinha>{{"000001", "Novo"}, {"000002", "Da planilha"}}));
    EXPECT_FALSE(logica.dbTessaly.Transacao().Ativa());

    Origem({Estoque("00000040", "Chegou depois")});
    EXPECT_TRUE(logica.EfetuaConversao());
    EXPECT_EQ(Alvo("select CODPROD from PRODUTO order by 1"),
              (std::vector<TLinha>{{"000001"}, {"000040"}, {"000041"}}));
}

}  // namespace
