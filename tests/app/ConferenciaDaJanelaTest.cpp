// The window's check without widgets: the button is off with the input controls while the check
// runs, the "Conferência" dialog shows the account and one row per problem, Ctrl+C's text, and
// "Salvar relatório..." choosing the file and writing the workbook.
#include "app/logica/QuadroConferencia.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/JanelaFalsa.h"
#include "tests/apoio/LogicaTeste.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

const std::string kCabecalhoProdutos = "Codigo;Descricao;Barras;Grupo;Unidade;Preco\n";

class ConferenciaDaJanelaTest : public ::testing::Test {
  protected:
    ConferenciaDaJanelaTest() {
        apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE",
                            {"CODIGO", "NOME", "UND_COMPRA", "UND_VENDA"},
                            {{"00000007", "Caneta", "UN", "UN"}});
    }
    // A products sheet with two prices that are not numbers, on rows 3 and 5.
    void PlanilhaSuja() {
        planilha_ = dir_.Arquivo("produtos.csv");
        std::ofstream(planilha_, std::ios::binary)
            << kCabecalhoProdutos
            << "1;Caderno;;;UN;12\n2;Lapis;;;UN;R$ 12,50\n3;Borracha;;;UN;3\n"
               "4;Regua;;;UN;a combinar\n";
        t.arquivos.respostas.push_back(planilha_);
        t.logica.BtabrirClick();
    }

    apoio::TDiretorioTemporario dir_;
    apoio::TLogicaTeste t;
    std::string planilha_;
};

TEST_F(ConferenciaDaJanelaTest, VerificarListaOsProblemasNoQuadroSemGravarNada) {
    PlanilhaSuja();
    int vezes = 0, livres = 0;
    t.progresso.aoProcessar = [&] {
        ++vezes;
        if (t.logica.ControlesHabilitados() || t.logica.PodeFechar())
            ++livres;
    };
    t.logica.btVerificarClick();
    EXPECT_GT(vezes, 0);
    EXPECT_EQ(livres, 0);
    EXPECT_TRUE(t.logica.ControlesHabilitados());
    EXPECT_EQ(apoio::ContaLinhas(t.bancos.Almuro(), "PRODUTO"), 0);

    ASSERT_EQ(t.mensagens.conferencias.size(), 1u);
    const TQuadroConferencia quadro = TQuadroConferencia::DoRelato(t.mensagens.conferencias[0]);
    EXPECT_EQ(quadro.Conclusao(), "Conferência concluída: 2 problema(s); nada foi gravado.");
    EXPECT_NE(quadro.Conta().find("planilha: 4 linhas de dados, 2 gravadas, 2 com problema"),
              std::string::npos)
        << quadro.Conta();
    ASSERT_EQ(quadro.Linhas(), 2u);
    // The place names the record; column and content have their own cells.
    EXPECT_EQ(quadro.TextoParaCopiar({1, 0}),
              "planilha, linha 5\t6 (Preco)\ta combinar\t'a combinar' não é um valor numérico "
              "válido\n"
              "planilha, linha 3\t6 (Preco)\tR$ 12,50\t'R$ 12,50' não é um valor numérico "
              "válido\n");

    // Cells holding tabs or line breaks stay on their line and in their column.
    const TQuadroConferencia outro("", "",
                                   {{"banco TESSALY, tabela ESTOQUE, CODIGO 7", "", "a\tb",
                                     "violação\r\nda chave\nprimária"}});
    EXPECT_EQ(outro.TextoParaCopiar({0}),
              "banco TESSALY, tabela ESTOQUE, CODIGO 7\t\ta b\tviolação / da chave / primária\n");
}

TEST_F(ConferenciaDaJanelaTest, SalvarRelatorioEscolheOArquivoEGravaOXlsx) {
    // Before any run there is nothing to save: no dialog.
    t.logica.btSalvarRelatorioClick();
    EXPECT_TRUE(t.arquivos.pedidos.empty());

    PlanilhaSuja();
    t.logica.btVerificarClick();
    t.mensagens.todas.clear();
    t.arquivos.pedidos.clear();

    // A name without its extension gets ".xlsx"; the dialog saves, in the workbook's folder.
    const std::string semExtensao = dir_.Arquivo("conferencia");
    t.arquivos.respostas.push_back(semExtensao);
    t.logica.btSalvarRelatorioClick();
    ASSERT_EQ(t.arquivos.pedidos.size(), 1u);
    EXPECT_EQ(t.arquivos.pedidos[0].titulo, TLogicaPrincipal::kTituloRelatorio);
    EXPECT_EQ(t.arquivos.pedidos[0].filtro, TLogicaPrincipal::kFiltroRelatorio);
    EXPECT_TRUE(t.arquivos.pedidos[0].salvar);
    EXPECT_EQ(t.arquivos.pedidos[0].pasta, std::filesystem::path(planilha_).parent_path());
    EXPECT_FALSE(std::filesystem::exists(semExtensao));
    std::ifstream xlsx(semExtensao + ".xlsx", std::ios::binary);
    char assinatura[2] = {};
    xlsx.read(assinatura, 2);
    EXPECT_EQ(std::string(assinatura, 2), "PK");
    EXPECT_TRUE(t.mensagens.todas.empty());

    // The name as typed, in any case; a cancelled dialog writes nothing and says nothing.
    t.arquivos.respostas = {dir_.Arquivo("Relatorio.XLSX"), std::nullopt};
    t.logica.btSalvarRelatorioClick();
    EXPECT_TRUE(std::filesystem::exists(dir_.Arquivo("Relatorio.XLSX")));
    t.logica.btSalvarRelatorioClick();
    EXPECT_TRUE(t.mensagens.todas.empty());

    // A file that cannot be written is a warning; the window goes on.
    t.arquivos.respostas.push_back(dir_.Arquivo("nao-existe/relatorio.xlsx"));
    t.logica.btSalvarRelatorioClick();
    ASSERT_EQ(t.mensagens.Textos("Alerta").size(), 1u);
    EXPECT_NE(t.mensagens.Textos("Alerta")[0].find("relatorio.xlsx"), std::string::npos);
    EXPECT_TRUE(t.logica.ControlesHabilitados());
}

}  // namespace
