// The staging load: the chosen sheet copied cell by cell into the in-memory table the sheet
// mappings read, with the progress the window shows while it runs.
#include "app/logica/LogicaPrincipal.h"
#include "common/Erros.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/JanelaFalsa.h"
#include "tests/spreadsheet/ApoioPlanilhas.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

class CarregaDadosExcelTest : public ::testing::Test {
  protected:
    // A csv workbook with these lines, opened as the Open button would open it.
    void Planilha(const std::string& conteudo) {
        const std::string caminho = dir.Arquivo("planilha.csv");
        std::ofstream(caminho, std::ios::binary) << conteudo;
        logica.FormCreate();
        logica.AbrePlanilha(caminho);
    }

    void Carrega(const std::string& numLinha) {
        logica.DefineNumLinha(numLinha);
        logica.DMCotrolaExcel.SelecionaAba(1);
        logica.CarregaDadosExcel();
    }

    std::string Celula(int linha, const std::string& coluna) {
        auto& t = logica.cdsTabelaTemp;
        t.Primeiro();
        for (int i = 1; i < linha; ++i)
            t.Proximo();
        return t.Campo(coluna);
    }

    apoio::TDiretorioTemporario dir;
    TMensagensGravadas mensagens;
    TProgressoGravado progresso;
    TArquivosFila arquivos;
    TLogicaPrincipal logica{mensagens, progresso, arquivos};
};

TEST_F(CarregaDadosExcelTest, ColunasDaAreaUsadaELinhasAteONumeroInformado) {
    Planilha("CODIGO;NOME;PRECO\n1;Parafuso;2,50\n2;Porca\n");
    EXPECT_EQ(logica.NumLinha(), "3");  // prefilled from the sheet shown
    Carrega("5");

    auto& t = logica.cdsTabelaTemp;
    EXPECT_EQ(t.Colunas(), 3);
    EXPECT_EQ(t.TotalRegistros(), 5);
    EXPECT_EQ(Celula(1, "1"), "CODIGO");  // the heading row is staged like any other
    EXPECT_EQ(Celula(2, "2"), "Parafuso");
    EXPECT_EQ(Celula(2, "3"), "2,50");
    EXPECT_EQ(Celula(3, "3"), "");
    // Rows past the used area arrive with every column empty.
    EXPECT_EQ(Celula(5, "1"), "");
    EXPECT_EQ(Celula(5, "3"), "");
    try {
        Celula(1, "4");
        FAIL() << "a fourth column was read";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Field '4' not found");
    }
}

TEST_F(CarregaDadosExcelTest, ZeroLinhasDaATabelaSoComAsColunas) {
    Planilha("A;B\n1;2\n");
    Carrega("0");
    EXPECT_EQ(logica.cdsTabelaTemp.Colunas(), 2);
    EXPECT_EQ(logica.cdsTabelaTemp.TotalRegistros(), 0);
    EXPECT_TRUE(logica.cdsTabelaTemp.Fim());
}

TEST_F(CarregaDadosExcelTest, TextoLongoCortadoEmCemCaracteres) {
    Planilha(std::string(150, 'x') + ";curto\n");
    Carrega("1");
    EXPECT_EQ(Celula(1, "1"), std::string(100, 'x'));
    EXPECT_EQ(Celula(1, "2"), "curto");
}

TEST_F(CarregaDadosExcelTest, ProgressoDaCargaComoAJanelaMostra) {
    Planilha("a\nb\nc\n");
    Carrega("3");
    EXPECT_EQ(progresso.legendas.back(), "Carregando dados do Excel, aguarde!");
    EXPECT_EQ(progresso.ultimo.barraMaximo, 3);
    EXPECT_EQ(progresso.ultimo.barraPosicao, 3);
    EXPECT_EQ(progresso.ultimo.status, "");
    EXPECT_GE(progresso.processamentos, 3);  // the window gets to paint once per row
}

TEST_F(CarregaDadosExcelTest, NumeroDeLinhaIlegivelFalhaAntesDeTocarATabela) {
    Planilha("a;b\n");
    Carrega("1");
    ASSERT_EQ(logica.cdsTabelaTemp.TotalRegistros(), 1);

    logica.DefineNumLinha("12abc");
    EXPECT_THROW(logica.CarregaDadosExcel(), std::exception);
    EXPECT_EQ(logica.cdsTabelaTemp.TotalRegistros(), 1);
    EXPECT_EQ(logica.cdsTabelaTemp.Colunas(), 2);
}

TEST_F(CarregaDadosExcelTest, CelulaDeErroParaACargaSemGuardarALinhaEmCurso) {
    const std::string caminho = dir.Arquivo("erro.xlsx");
    apoio_planilha::GravaZip(
        caminho, apoio_planilha::PacoteXlsx({{"Dados",
                                              "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"
                                              "<row r=\"2\"><c r=\"C2\"><v>2</v></c></row>"
                                              "<row r=\"3\"><c r=\"A3\"><v>3</v></c>"
                                              "<c r=\"B3\" t=\"e\"><v>#N/A</v></c></row>"}}));
    logica.FormCreate();
    logica.AbrePlanilha(caminho);
    EXPECT_THROW(Carrega("3"), EPlanilha);
    EXPECT_EQ(logica.cdsTabelaTemp.TotalRegistros(), 2);
    EXPECT_EQ(Celula(2, "3"), "2");
    EXPECT_EQ(Celula(2, "1"), "");
}

// The table keeps no copy of the sheet: its rows are read from the workbook as it was staged,
// also when the window has opened another workbook since.
TEST_F(CarregaDadosExcelTest, LinhasLidasDaPlanilhaComoFoiCarregada) {
    const std::string caminho = dir.Arquivo("dados.xlsx");
    apoio_planilha::GravaZip(
        caminho, apoio_planilha::PacoteXlsx({{"Dados",
                                              "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
                                              "<c r=\"B1\" t=\"s\"><v>1</v></c></row>"
                                              "<row r=\"3\"><c r=\"A3\"><v>7</v></c>"
                                              "<c r=\"B3\" t=\"s\"><v>2</v></c></row>"}},
                                            "<si><t>CODIGO</t></si><si><t>NOME</t></si>"
                                            "<si><t>" +
                                                std::string(120, 'p') + "</t></si>"));
    logica.FormCreate();
    logica.AbrePlanilha(caminho);
    Carrega("4");
    Planilha("outra;planilha\n");

    auto& t = logica.cdsTabelaTemp;
    EXPECT_EQ(t.TotalRegistros(), 4);
    EXPECT_EQ(t.Linha(2), (std::vector<std::string>{"7", std::string(100, 'p')}));
    EXPECT_EQ(Celula(1, "2"), "NOME");
    EXPECT_EQ(Celula(2, "1"), "");
    EXPECT_EQ(Celula(3, "1"), "7");
    EXPECT_EQ(t.Linha(0), (std::vector<std::string>{"CODIGO", "NOME"}));
    EXPECT_EQ(Celula(4, "2"), "");
}

}  // namespace
