#include "common/ConfiguracaoRegional.h"
#include "conversion/products/ClassConverteProdutoDetalhe.h"
#include "conversion/products/classConverteProduto.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/ComandoInsert.h"

#include <gtest/gtest.h>

namespace {

struct TSemAvisos : IAvisos {
    void Alerta(const std::string&) override {}
};

class EscritoresProdutoTest : public ::testing::Test {
  protected:
    void SetUp() override { TConfiguracaoRegional::Instancia().DefineSeparadorDecimal(','); }
    void TearDown() override { TConfiguracaoRegional::Instancia().DefineSeparadorDecimal('.'); }

    // Writers never touch the database until Insere; a connection that is never opened serves.
    TBancoFirebird banco{1};
    TSemAvisos avisos;
    TConverteProduto produto{banco, avisos};
    TConverteProdutoDetalhe detalhe{banco, avisos};
};

TEST_F(EscritoresProdutoTest, ProdutoNovoTemOsPadroes) {
    auto ins = apoio::LeInsert(produto.MontaInsert());
    EXPECT_EQ(ins.tabela, "Produto");
    ASSERT_EQ(ins.colunas.size(), 95u);
    EXPECT_EQ(ins.colunas.front().first, "Produto.CODPROD");
    EXPECT_EQ(ins.colunas.back().first, "produto.grade");
    EXPECT_EQ(ins.Valor("Produto.CODPROD"), "'000000'");
    EXPECT_EQ(ins.Valor("Produto.TIPOPROD"), "'R'");
    EXPECT_EQ(ins.Valor("Produto.ATIVO"), "'S'");
    EXPECT_EQ(ins.Valor("Produto.PRODBLOQUEADO"), "'N'");
    EXPECT_EQ(ins.Valor("Produto.UNIDADEENT"), "'UN'");
    EXPECT_EQ(ins.Valor("Produto.UNIDADESAIDA"), "'UN'");
    EXPECT_EQ(ins.Valor("produto.grade"), "0");
    EXPECT_FALSE(ins.Tem("Produto.DT_CADASTRO"));
    EXPECT_FALSE(ins.Tem("Produto.Data_Ult_Ent1"));
    EXPECT_FALSE(ins.Tem("Produto.Data_Ult_Reajuste"));
    for (const auto& [nome, valor] : ins.colunas) {
        if (valor[0] == '\'') {
            const bool padrao = nome == "Produto.CODPROD" || nome == "Produto.TIPOPROD" ||
                                nome == "Produto.ATIVO" || nome == "Produto.PRODBLOQUEADO" ||
                                nome == "Produto.UNIDADEENT" || nome == "Produto.UNIDADESAIDA";
            if (!padrao) {
                EXPECT_EQ(valor, "''") << nome;
            }
        } else {
            EXPECT_EQ(valor, "0") << nome;
        }
    }
}

TEST_F(EscritoresProdutoTest, SettersCortamPreenchemELimpam) {
    produto.SetDescricao(std::string(47, 'a') + "   " + std::string(10, 'b'));
    EXPECT_EQ(produto.Descricao(), std::string(47, 'a'));
    produto.SetDescricao2(std::string(48, 'c') + "  xyz");
    produto.SetCodProd("12");
    EXPECT_EQ(produto.CodProd(), "000012");
    produto.SetCodProd("1234567");
    EXPECT_EQ(produto.CodProd(), "123456");
    produto.SetCodProd(" 7 ");
    EXPECT_EQ(produto.CodProd(), "000007");
    produto.SetCodTribut00("");
    EXPECT_EQ(produto.CodTribut00(), "");
    produto.SetCodTribut00("60");
    EXPECT_EQ(produto.CodTribut00(), "060");
    produto.SetCodTribut00("1234");
    EXPECT_EQ(produto.CodTribut00(), "1234");
    produto.SetCodClasFis(" 1 ");
    EXPECT_EQ(produto.CodClasFis(), " 1 ");  // the untrimmed text, already 3 long
    produto.SetCodClasFis("   ");
    EXPECT_EQ(produto.CodClasFis(), "");
    produto.SetCodGrupo(" 12345 ");
    produto.SetCodSubGrupo(" 5");
    produto.SetPrincipalFornec(" 42 ");
    produto.SetAtivo("sim");
    produto.SetUnidadeEnt("UNIDADES");
    auto ins = apoio::LeInsert(produto.MontaInsert());
    EXPECT_EQ(ins.Valor("Produto.DESCRICAO2"), "'" + std::string(48, 'c') + "  '");
    EXPECT_EQ(ins.Valor("Produto.CODGRUPO"), "'123'");
    EXPECT_EQ(ins.Valor("Produto.CODSUBGRUPO"), "'0 5'");
    EXPECT_EQ(ins.Valor("Produto.PRINCIPALFORNEC"), "'000042'");
    EXPECT_EQ(ins.Valor("Produto.ATIVO"), "'s'");
    EXPECT_EQ(ins.Valor("Produto.UNIDADEENT"), "'UNIDAD'");
}

TEST_F(EscritoresProdutoTest, ValoresComPontoEAspasDobradas) {
    produto.SetPreco(12.5);
    produto.SetPeso(0.001);
    produto.SetDescricao("O'Brien");
    produto.SetGrade(3);
    auto ins = apoio::LeInsert(produto.MontaInsert());
    EXPECT_EQ(ins.Valor("Produto.PRECO"), "12.5");
    EXPECT_EQ(ins.Valor("Produto.PESO"), "0.001");
    EXPECT_EQ(ins.Valor("Produto.DESCRICAO"), "'O''Brien'");
    EXPECT_EQ(ins.Valor("produto.grade"), "3");
}

TEST_F(EscritoresProdutoTest, ColunasOpcionaisDeData) {
    auto& cfg = TConfiguracaoRegional::Instancia();
    produto.SetDtCadastro("25.12.2010");
    produto.DataUltEnt1 = cfg.TextoParaData("03/03/2011");
    auto ins = apoio::LeInsert(produto.MontaInsert());
    auto nomes = ins.Nomes();
    ASSERT_EQ(nomes.size(), 97u);
    EXPECT_EQ(nomes[56], "Produto.PrecoPromo");
    EXPECT_EQ(nomes[57], "Produto.DT_CADASTRO");
    EXPECT_EQ(nomes[58], "Produto.Data_Ult_Ent1");
    EXPECT_EQ(nomes[59], "Produto.Fracionado");
    EXPECT_EQ(ins.Valor("Produto.DT_CADASTRO"), "'25.12.2010'");
    EXPECT_EQ(ins.Valor("Produto.Data_Ult_Ent1"), "'03.03.2011'");
    EXPECT_FALSE(ins.Tem("Produto.Data_Ult_Reajuste"));
}

TEST_F(EscritoresProdutoTest, InsereGravaEVoltaAosPadroes) {
    apoio::TBancosTeste bancos;
    TConverteProduto p(bancos.Almuro(), avisos);
    TConverteProdutoDetalhe d(bancos.Almuro(), avisos);
    p.SetCodProd("15");
    p.SetDescricao("Caf\xE9 \"Bom\" D'Ouro");
    p.SetPreco(12.5);
    p.DataUltReajuste = TConfiguracaoRegional::Instancia().TextoParaData("01/02/2003");
    EXPECT_TRUE(p.Insere());
    EXPECT_EQ(p.MontaInsert(), TConverteProduto(bancos.Almuro(), avisos).MontaInsert());
    d.SetCodProd("000015");
    d.SetAliqPis(1.65);
    d.SetCodCsosn("102");
    d.SetAliqPisEnt(2);
    EXPECT_TRUE(d.Insere());
    EXPECT_EQ(d.MontaInsert(), TConverteProdutoDetalhe(bancos.Almuro(), avisos).MontaInsert());
    bancos.Almuro().Transacao().Confirma();
    EXPECT_EQ(
        apoio::Linhas(bancos.Almuro(),
                      "select CODPROD, DESCRICAO, PRECO, DATA_ULT_REAJUSTE from PRODUTO"),
        (std::vector<apoio::TLinha>{{"000015", "Café \"Bom\" D'Ouro", "12,5", "01/02/2003"}}));
    EXPECT_EQ(apoio::Linhas(bancos.Almuro(),
                            "select CODPROD, ALIQPIS, CODCSOSN, ALIQPISENT from PRODUTODETALHE"),
              (std::vector<apoio::TLinha>{{"000015", "1,65", "102", "2"}}));
    p.SetCodProd("15");
    EXPECT_THROW(p.Insere(), EBancoDados);  // duplicate code: the values stay for the caller
    EXPECT_EQ(p.CodProd(), "000015");
}

TEST_F(EscritoresProdutoTest, DetalheNovoEValores) {
    auto ins = apoio::LeInsert(detalhe.MontaInsert());
    EXPECT_EQ(ins.tabela, "ProdutoDetalhe");
    ASSERT_EQ(ins.colunas.size(), 20u);
    EXPECT_EQ(ins.Valor("CODPROD"), "''");
    EXPECT_EQ(ins.Valor("ALIQPIS"), "0");
    EXPECT_EQ(ins.Valor("PONTOBONUS"), "0");
    detalhe.SetAliqPis(1.65);
    detalhe.SetCodCsosn("102");
    detalhe.SetAliqCofinsEnt(7.6);
    ins = apoio::LeInsert(detalhe.MontaInsert());
    EXPECT_EQ(ins.Valor("ALIQPIS"), "1.65");
    EXPECT_EQ(ins.Valor("CODCSOSN"), "'102'");
    EXPECT_EQ(ins.Valor("ALIQCOFINSENT"), "7.6");
    detalhe.LimpaCampos();
    EXPECT_EQ(apoio::LeInsert(detalhe.MontaInsert()).Valor("ALIQCOFINSENT"), "0");
}

}  // namespace
