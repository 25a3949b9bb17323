// xlsx files from several producers, the odd corners of the format, and damaged files.
#include <gtest/gtest.h>
#include <zip.h>

#include <cstring>

#include "common/ConfiguracaoRegional.h"
#include "common/Erros.h"
#include "common/Win1252.h"
#include "spreadsheet/ControlaExcel.h"
#include "spreadsheet/PastaTrabalho.h"
#include "tests/spreadsheet/ApoioPlanilhas.h"

using namespace apoio_planilha;

namespace {

std::string Cp(const char* utf8) {
    return win1252::DeUtf8(utf8);
}

class Virgula : public ::testing::Test {
  protected:
    void SetUp() override {
        antes_ = TConfiguracaoRegional::Instancia().SeparadorDecimal();
        TConfiguracaoRegional::Instancia().DefineSeparadorDecimal(',');
    }
    void TearDown() override { TConfiguracaoRegional::Instancia().DefineSeparadorDecimal(antes_); }

    // Opens a hand-made package and attaches to its first listed sheet.
    void AbrePacote(const TEntradas& entradas) {
        caminho_ = pasta_.Arquivo("feito.xlsx");
        GravaZip(caminho_, entradas);
        m_.AbreArquivoExcel(caminho_);
        m_.SelecionaAba(1);
    }

    char antes_ = '.';
    TPastaTemporaria pasta_;
    std::string caminho_;
    TDMCotrolaExcel m_;
};

// Asserts that opening (and reading the first sheet of) the file fails with EPlanilha whose
// message names the file, and gives the message.
std::string FalhaAoLer(const std::string& caminho) {
    TDMCotrolaExcel m;
    try {
        m.AbreArquivoExcel(caminho);
        m.ListaAbas();
        m.SelecionaAba(1);
        for (int l = 1; l <= m.UltimaLinha(); ++l) {
            for (int c = 1; c <= m.UltimaColuna(); ++c)
                m.LeCelula(c, l);
        }
    } catch (const EPlanilha& e) {
        std::string msg = e.what();
        EXPECT_NE(msg.find(caminho), std::string::npos) << msg;
        EXPECT_TRUE(win1252::EhUtf8Valido(msg)) << msg;
        return msg;
    }
    ADD_FAILURE() << "o arquivo foi lido como se estivesse bom: " << caminho;
    return "";
}

}  // namespace

// ---- Files of other producers --------------------------------------------------------------

TEST_F(Virgula, OpenpyxlComAlvosAbsolutosETextosEmLinha) {
    m_.AbreArquivoExcel(Fixture("openpyxl_clientes.xlsx"));
    // The chart sheet "Gráfico" (second in the workbook) is not listed.
    ASSERT_EQ(m_.ListaAbas(), (std::vector<std::string>{"Clientes", "Oculta", "Produtos"}));
    EXPECT_EQ(m_.UltimaLinha(), 3);
    EXPECT_EQ(m_.UltimaColuna(), 2);
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.UltimaLinha(), 8);
    EXPECT_EQ(m_.UltimaColuna(), 703);
    EXPECT_EQ(m_.LeCelula(1, 1), Cp("Código"));
    EXPECT_EQ(m_.LeCelula(7, 1), Cp("Observação"));
    EXPECT_EQ(m_.LeCelula(1, 2), "00123");
    EXPECT_EQ(m_.LeCelula(2, 3), Cp("Zé Çá"));
    EXPECT_EQ(m_.LeCelula(3, 2), "True");
    EXPECT_EQ(m_.LeCelula(4, 2), "False");
    EXPECT_EQ(m_.LeCelula(5, 2), "45306");
    EXPECT_EQ(m_.LeCelula(5, 3), "61");  // 01/03/1900
    EXPECT_EQ(m_.LeCelula(7, 2), "linha1\nlinha2");
    EXPECT_EQ(m_.LeCelula(7, 3), std::string(150, 'a'));
    EXPECT_EQ(m_.LeCelula(1, 4), "1E15");
    EXPECT_EQ(m_.LeCelula(2, 4), Cp("€ Euro"));
    EXPECT_EQ(m_.LeCelula(5, 4), "1,5E-7");
    EXPECT_EQ(m_.LeCelula(6, 4), "0,0001");
    EXPECT_EQ(m_.LeCelula(7, 4), "1,23456789012346E17");
    // Formulas that no program has calculated have no stored result: they read empty.
    EXPECT_EQ(m_.LeCelula(1, 5), "");
    EXPECT_EQ(m_.LeCelula(703, 5), "longe");
    EXPECT_EQ(m_.LeCelula(2, 8), "fim");
    m_.SelecionaAba(2);
    EXPECT_EQ(m_.LeCelula(1, 1), "segredo");
}

TEST_F(Virgula, LibreOfficeComResultadosDeFormulas) {
    m_.AbreArquivoExcel(Fixture("libreoffice_clientes.xlsx"));
    const auto& abas = m_.ListaAbas();
    ASSERT_EQ(abas.front(), "Clientes");
    ASSERT_EQ(abas.back(), "Produtos");
    EXPECT_EQ(m_.UltimaLinha(), 3);
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.UltimaLinha(), 8);
    EXPECT_EQ(m_.UltimaColuna(), 703);
    EXPECT_EQ(m_.LeCelula(2, 2), Cp("Ação Ltda"));
    EXPECT_EQ(m_.LeCelula(6, 3), "0,5");
    EXPECT_EQ(m_.LeCelula(3, 2), "True");
    EXPECT_EQ(m_.LeCelula(2, 5), "abcd");  // ="ab"&"cd"
    EXPECT_EQ(m_.LeCelula(3, 5), "True");  // =TRUE()
    EXPECT_EQ(m_.LeCelula(4, 5), "6");     // =2*3
    try {
        m_.LeCelula(1, 5);  // =1/0
        FAIL();
    } catch (const EPlanilha& e) {
        EXPECT_NE(std::string(e.what()).find("#DIV/0!"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("A5"), std::string::npos);
    }
}

// ---- Odd corners of the format -------------------------------------------------------------

TEST_F(Virgula, LinhasECelulasSemReferenciaSeguemAAnterior) {
    AbrePacote(PacoteXlsx({{"P",
                            "<row><c><v>1</v></c><c t=\"inlineStr\"><is><t>b</t></is></c></row>"
                            "<row><c r=\"C2\"><v>3</v></c><c><v>4</v></c></row>"
                            "<row><c><v>5</v></c></row>"
                            "<row r=\"7\"><c r=\"B7\"><v>6</v></c><c><v>7</v></c></row>"
                            "<row><c><v>8</v></c></row>"}}));
    EXPECT_EQ(m_.LeCelula(1, 1), "1");
    EXPECT_EQ(m_.LeCelula(2, 1), "b");
    EXPECT_EQ(m_.LeCelula(3, 2), "3");
    EXPECT_EQ(m_.LeCelula(4, 2), "4");
    EXPECT_EQ(m_.LeCelula(1, 3), "5");
    EXPECT_EQ(m_.LeCelula(2, 7), "6");
    EXPECT_EQ(m_.LeCelula(3, 7), "7");
    EXPECT_EQ(m_.LeCelula(1, 8), "8");
    EXPECT_EQ(m_.UltimaLinha(), 8);
    EXPECT_EQ(m_.UltimaColuna(), 4);
}

TEST_F(Virgula, DimensaoErradaOuAusenteNaoConta) {
    AbrePacote(PacoteXlsx({{"Errada", "<row r=\"9\"><c r=\"E9\"><v>1</v></c></row>", "worksheet",
                            "<dimension ref=\"A1:B2\"/>"},
                           {"Grande", "<row r=\"2\"><c r=\"B2\"><v>1</v></c></row>", "worksheet",
                            "<dimension ref=\"A1:Z1000\"/>"},
                           {"Sem", "<row r=\"3\"><c r=\"C3\"><v>1</v></c></row>"}}));
    EXPECT_EQ(m_.UltimaLinha(), 9);
    EXPECT_EQ(m_.UltimaColuna(), 5);
    m_.SelecionaAba(2);
    EXPECT_EQ(m_.UltimaLinha(), 2);
    EXPECT_EQ(m_.UltimaColuna(), 2);
    m_.SelecionaAba(3);
    EXPECT_EQ(m_.UltimaLinha(), 3);
    EXPECT_EQ(m_.UltimaColuna(), 3);
}

TEST_F(Virgula, TextosCompartilhadosRicosFoneticosEEscapes) {
    std::string textos =
        "<si><t>simples</t></si>"
        "<si><r><t>Ab</t></r><r><rPr><b/></rPr><t xml:space=\"preserve\">c d</t></r>"
        "<rPh sb=\"0\" eb=\"1\"><t>ふりがな</t></rPh><phoneticPr fontId=\"1\"/></si>"
        "<si><t>linha_x000D_\nfim</t></si>"
        "<si><t>_x005F_x0041_ e _x0041_ e _xZZZZ_</t></si>"
        "<si><t>日本 ação _x0000_fim</t></si>"
        "<si><t></t></si>"
        "<si><t>&lt;tag&gt; &amp; \"aspas\"</t></si>"
        "<si><t>_xD83D__xDE00_!</t></si>";
    AbrePacote(PacoteXlsx({{"P",
                            "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
                            "<c r=\"B1\" t=\"s\"><v>1</v></c><c r=\"C1\" t=\"s\"><v>2</v></c>"
                            "<c r=\"D1\" t=\"s\"><v>3</v></c><c r=\"E1\" t=\"s\"><v>4</v></c>"
                            "<c r=\"F1\" t=\"s\"><v>6</v></c><c r=\"G1\" t=\"s\"><v>7</v></c>"
                            "</row><row r=\"2\"><c r=\"H2\" t=\"s\"><v>5</v></c></row>"}},
                          textos));
    EXPECT_EQ(m_.LeCelula(1, 1), "simples");
    EXPECT_EQ(m_.LeCelula(2, 1), "Abc d");
    EXPECT_EQ(m_.LeCelula(3, 1), "linha\r\nfim");
    EXPECT_EQ(m_.LeCelula(4, 1), "_x0041_ e A e _xZZZZ_");
    EXPECT_EQ(m_.LeCelula(5, 1), Cp("?? ação fim"));
    EXPECT_EQ(m_.LeCelula(6, 1), "<tag> & \"aspas\"");
    EXPECT_EQ(m_.LeCelula(7, 1), "?!");  // a character outside Windows-1252
    // A cell holding an empty shared text is no value: the used area ends at row 1.
    EXPECT_EQ(m_.LeCelula(8, 2), "");
    EXPECT_EQ(m_.UltimaLinha(), 1);
    EXPECT_EQ(m_.UltimaColuna(), 7);
}

TEST_F(Virgula, TextosEmLinhaComRunsEFoneticos) {
    AbrePacote(PacoteXlsx(
        {{"P",
          "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><r><t>um </t></r><r><t>dois</t></r>"
          "<rPh sb=\"0\" eb=\"1\"><t>X</t></rPh></is></c>"
          "<c r=\"B1\" t=\"inlineStr\"><is><t>a_x000D_b</t></is></c>"
          "<c r=\"C1\" t=\"inlineStr\"><is><t></t></is></c></row>"}}));
    EXPECT_EQ(m_.LeCelula(1, 1), "um dois");
    EXPECT_EQ(m_.LeCelula(2, 1), "a\rb");
    EXPECT_EQ(m_.UltimaColuna(), 2);
}

TEST_F(Virgula, FormulasPeloValorGuardadoEDemaisTipos) {
    AbrePacote(PacoteXlsx({{"P",
                            "<row r=\"1\">"
                            "<c r=\"A1\" t=\"str\"><f>\"a\"&amp;\"b\"</f><v>ab</v></c>"
                            "<c r=\"B1\"><f>1+1</f><v>2</v></c>"
                            "<c r=\"C1\" t=\"b\"><f>TRUE()</f><v>1</v></c>"
                            "<c r=\"D1\" t=\"e\"><f>NA()</f><v>#N/A</v></c>"
                            "<c r=\"E1\" t=\"b\"><v>0</v></c>"
                            "<c r=\"F1\" t=\"e\"><v>#VALUE!</v></c>"
                            "<c r=\"G1\" t=\"str\"><f>\"\"</f><v></v></c>"
                            "<c r=\"H1\" t=\"d\"><v>2024-01-15T12:00:00</v></c>"
                            "<c r=\"I1\" t=\"n\"><v> 2.5E+3 </v></c>"
                            "<c r=\"J1\" s=\"3\"/>"
                            "<c r=\"K1\"><f>A1</f></c>"
                            "</row>"}}));
    EXPECT_EQ(m_.LeCelula(1, 1), "ab");
    EXPECT_EQ(m_.LeCelula(2, 1), "2");
    EXPECT_EQ(m_.LeCelula(3, 1), "True");
    EXPECT_THROW(m_.LeCelula(4, 1), EPlanilha);
    EXPECT_EQ(m_.LeCelula(5, 1), "False");
    EXPECT_THROW(m_.LeCelula(6, 1), EPlanilha);
    EXPECT_EQ(m_.LeCelula(7, 1), "");
    EXPECT_EQ(m_.LeCelula(8, 1), "45306,5");
    EXPECT_EQ(m_.LeCelula(9, 1), "2500");
    // Style-only cells and formulas with no stored value do not widen the used area.
    EXPECT_EQ(m_.UltimaColuna(), 9);
}

TEST_F(Virgula, SoPlanilhasSaoListadasENumeradas) {
    AbrePacote(PacoteXlsx({{"Macro", "", "xlMacrosheet"},
                           {"Um", "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"},
                           {"Dialogo", "", "dialogsheet"},
                           {"Grafico", "", "chartsheet"},
                           {"Dois", "<row r=\"2\"><c r=\"A2\"><v>2</v></c></row>"}},
                          "", true));
    EXPECT_EQ(m_.ListaAbas(), (std::vector<std::string>{"Um", "Dois"}));
    EXPECT_EQ(m_.UltimaLinha(), 2);
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 1), "1");
    m_.SelecionaAba(2);
    EXPECT_EQ(m_.LeCelula(1, 2), "2");
    EXPECT_THROW(m_.SelecionaAba(3), EPlanilha);
}

TEST_F(Virgula, CelulasForaDeOrdemERepetidas) {
    AbrePacote(PacoteXlsx({{"P",
                            "<row r=\"3\"><c r=\"B3\"><v>3</v></c><c r=\"A3\"><v>1</v></c></row>"
                            "<row r=\"1\"><c r=\"A1\"><v>9</v></c></row>"
                            "<row r=\"3\"><c r=\"B3\"><v>4</v></c></row>"}}));
    EXPECT_EQ(m_.LeCelula(1, 1), "9");
    EXPECT_EQ(m_.LeCelula(1, 3), "1");
    EXPECT_EQ(m_.LeCelula(2, 3), "4");  // the later one
    EXPECT_EQ(m_.UltimaLinha(), 3);
}

TEST_F(Virgula, NomesDeAbaComAcentosEEscapes) {
    AbrePacote(PacoteXlsx({{"Relação &amp; cia", "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"},
                           {"Tab_x0009_ela", ""}}));
    EXPECT_EQ(m_.ListaAbas(), (std::vector<std::string>{Cp("Relação & cia"), "Tab\tela"}));
}

TEST_F(Virgula, ColunasAlemDeXfd) {
    AbrePacote(PacoteXlsx({{"P",
                            "<row r=\"2\"><c r=\"AAAA2\" t=\"inlineStr\"><is><t>z</t></is>"
                            "</c></row>"}}));
    EXPECT_EQ(m_.UltimaColuna(), 18279);
    EXPECT_EQ(m_.LeCelula(18279, 2), "z");
}

TEST_F(Virgula, PlanilhaGrandeCarregaInteira) {
    std::string linhas;
    for (int r = 1; r <= 20000; ++r) {
        std::string n = std::to_string(r);
        linhas += "<row r=\"" + n + "\"><c r=\"A" + n + "\"><v>" + n + "</v></c><c r=\"B" + n +
                  "\" t=\"inlineStr\"><is><t>t" + n + "</t></is></c></row>";
    }
    AbrePacote(PacoteXlsx({{"P", linhas}}));
    EXPECT_EQ(m_.UltimaLinha(), 20000);
    EXPECT_EQ(m_.LeCelula(1, 12345), "12345");
    EXPECT_EQ(m_.LeCelula(2, 20000), "t20000");
}

namespace {

// Replaces the first occurrence of antes by depois in one entry of a package.
void Troca(TEntradas& e, const std::string& entrada, const std::string& antes,
           const std::string& depois) {
    for (auto& [nome, conteudo] : e) {
        if (nome == entrada)
            conteudo.replace(conteudo.find(antes), antes.size(), depois);
    }
}

std::string CelulaData(const std::string& ref, const std::string& valor) {
    return "<c r=\"" + ref + "\" t=\"d\"><v>" + valor + "</v></c>";
}

}  // namespace

TEST_F(Virgula, DatasIsoSoComHoraOuDuracao) {
    AbrePacote(PacoteXlsx(
        {{"P", "<row r=\"1\">" + CelulaData("A1", "12:00:00") + CelulaData("B1", "PT0H11M0.000S") +
                   CelulaData("C1", "ontem") + "<c r=\"D1\"><v>4</v></c></row>"}}));
    EXPECT_EQ(m_.LeCelula(1, 1), "0,5");
    EXPECT_EQ(m_.LeCelula(2, 1), "0,00763888888888889");
    // The unreadable one fails alone, naming its cell, as an error value does.
    try {
        m_.LeCelula(3, 1);
        FAIL();
    } catch (const EPlanilha& e) {
        EXPECT_NE(std::string(e.what()).find("C1"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("ontem"), std::string::npos) << e.what();
    }
    EXPECT_EQ(m_.LeCelula(4, 1), "4");
    EXPECT_EQ(m_.UltimaColuna(), 4);
}

TEST_F(Virgula, DatasIsoAntesDeMarcoDe1900) {
    AbrePacote(PacoteXlsx(
        {{"P", "<row r=\"1\">" + CelulaData("A1", "1900-01-01") + CelulaData("B1", "1900-02-28") +
                   CelulaData("C1", "1900-02-29") + CelulaData("D1", "1900-03-01") +
                   CelulaData("E1", "1900-01-01T06:00:00") + "</row>"}}));
    EXPECT_EQ(m_.LeCelula(1, 1), "1");
    EXPECT_EQ(m_.LeCelula(2, 1), "59");
    EXPECT_EQ(m_.LeCelula(3, 1), "60");
    EXPECT_EQ(m_.LeCelula(4, 1), "61");
    EXPECT_EQ(m_.LeCelula(5, 1), "1,25");
}

TEST_F(Virgula, DatasIsoNaPastaDe1904) {
    TEntradas e = PacoteXlsx({{"P", "<row r=\"1\">" + CelulaData("A1", "1904-01-02") +
                                        CelulaData("B1", "2024-01-15T12:00:00") +
                                        "<c r=\"C1\"><v>43844.5</v></c></row>"}});
    Troca(e, "xl/workbook.xml", "<sheets>", "<workbookPr date1904=\"true\"/><sheets>");
    AbrePacote(e);
    EXPECT_EQ(m_.LeCelula(1, 1), "1");
    EXPECT_EQ(m_.LeCelula(2, 1), "43844,5");
    EXPECT_EQ(m_.LeCelula(3, 1), "43844,5");
}

TEST_F(Virgula, PastaEstritaDe1904) {
    TEntradas e = PacoteXlsx({{"P", "<row r=\"1\">" + CelulaData("A1", "2009-06-15") +
                                        CelulaData("B1", "2009-06-15T12:00:00") +
                                        "<c r=\"C1\"><v>38517</v></c></row>"}});
    // Strict Open XML: the same parts under the ISO namespaces.
    const std::pair<std::string, std::string> nomes[] = {
        {"http://schemas.openxmlformats.org/spreadsheetml/2006/main",
         "http://purl.oclc.org/ooxml/spreadsheetml/main"},
        {"http://schemas.openxmlformats.org/officeDocument/2006/relationships",
         "http://purl.oclc.org/ooxml/officeDocument/relationships"}};
    for (auto& [nome, conteudo] : e) {
        for (const auto& [transicional, estrito] : nomes) {
            for (size_t p; (p = conteudo.find(transicional)) != std::string::npos;)
                conteudo.replace(p, transicional.size(), estrito);
        }
    }
    Troca(e, "xl/workbook.xml", "<sheets>",
          "<workbookPr date1904=\"1\" dateCompatibility=\"0\"/><sheets>");
    Troca(e, "xl/workbook.xml", "<workbook ", "<workbook conformance=\"strict\" ");
    AbrePacote(e);
    EXPECT_EQ(m_.LeCelula(1, 1), "38517");
    EXPECT_EQ(m_.LeCelula(2, 1), "38517,5");
    EXPECT_EQ(m_.LeCelula(3, 1), "38517");
}

TEST_F(Virgula, ReferenciaIlegivelSegueAAnterior) {
    AbrePacote(
        PacoteXlsx({{"P",
                     "<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"0\"><v>2</v></c>"
                     "<c r=\"0\" t=\"inlineStr\"><is><t>c</t></is></c></row>"
                     "<row r=\"3\"><c r=\"0\"><v>4</v></c><c r=\"1A\"><v>5</v></c></row>"}}));
    EXPECT_EQ(m_.LeCelula(2, 1), "2");
    EXPECT_EQ(m_.LeCelula(3, 1), "c");
    EXPECT_EQ(m_.LeCelula(1, 3), "4");
    EXPECT_EQ(m_.LeCelula(2, 3), "5");
    EXPECT_EQ(m_.UltimaLinha(), 3);
    EXPECT_EQ(m_.UltimaColuna(), 3);
}

TEST_F(Virgula, TabelaDeTextosMenorDoQueAnuncia) {
    TEntradas e = PacoteXlsx({{"P",
                               "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
                               "<c r=\"B1\" t=\"s\"><v>2</v></c><c r=\"C1\"><v>3</v></c></row>"}},
                             "<si><t>um</t></si><si><t>dois</t></si>");
    Troca(e, "xl/sharedStrings.xml", "<sst ", "<sst count=\"3\" uniqueCount=\"3\" ");
    AbrePacote(e);
    EXPECT_EQ(m_.LeCelula(1, 1), "um");
    EXPECT_EQ(m_.LeCelula(2, 1), "");
    EXPECT_EQ(m_.LeCelula(3, 1), "3");
}

TEST_F(Virgula, AbaSemParteEhListadaVazia) {
    TEntradas e = PacoteXlsx({{"P", "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"}});
    Troca(e, "xl/workbook.xml", "</sheets>",
          "<sheet name=\"Escondida\" sheetId=\"8\" state=\"veryHidden\" r:id=\"\"/>"
          "<sheet name=\"Perdida\" sheetId=\"9\" r:id=\"rId99\"/></sheets>");
    AbrePacote(e);
    EXPECT_EQ(m_.ListaAbas(), (std::vector<std::string>{"P", "Escondida", "Perdida"}));
    EXPECT_EQ(m_.UltimaLinha(), 1);
    m_.SelecionaAba(2);
    EXPECT_EQ(m_.UltimaColuna(), 1);
    EXPECT_EQ(m_.LeCelula(1, 1), "");
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 1), "1");
}

// ---- Damaged, foreign and hostile files ----------------------------------------------------

TEST(ArquivosRuins, InexistenteVazioOuSemExtensaoConhecida) {
    TPastaTemporaria pasta;
    EXPECT_NE(FalhaAoLer(pasta.Arquivo("nao_existe.xlsx")).find("não existe"), std::string::npos);
    GravaArquivo(pasta.Arquivo("vazio.xlsx"), "");
    FalhaAoLer(pasta.Arquivo("vazio.xlsx"));
    GravaArquivo(pasta.Arquivo("planilha.ods"), "x");
    FalhaAoLer(pasta.Arquivo("planilha.ods"));
    FalhaAoLer(pasta.Arquivo(""));  // a folder
}

TEST(ArquivosRuins, BytesAleatoriosComNomeDeXlsx) {
    TPastaTemporaria pasta;
    std::string lixo;
    unsigned x = 12345;
    for (int i = 0; i < 5000; ++i) {
        x = x * 1103515245 + 12345;
        lixo += static_cast<char>(x >> 16);
    }
    GravaArquivo(pasta.Arquivo("lixo.xlsx"), lixo);
    FalhaAoLer(pasta.Arquivo("lixo.xlsx"));
    GravaArquivo(pasta.Arquivo("texto.xlsx"), "Código;Nome\n1;A\n");
    FalhaAoLer(pasta.Arquivo("texto.xlsx"));
}

TEST(ArquivosRuins, ZipTruncadoOuCorrompido) {
    TPastaTemporaria pasta;
    std::string bom = LeArquivo(Fixture("libreoffice_clientes.xlsx"));
    for (size_t corte : {bom.size() / 2, bom.size() - 10, size_t{30}}) {
        std::string c = pasta.Arquivo("cortado" + std::to_string(corte) + ".xlsx");
        GravaArquivo(c, bom.substr(0, corte));
        FalhaAoLer(c);
    }
    // A sheet part whose compressed bytes were damaged: the zip opens, the sheet does not read.
    std::string linhas;
    for (int r = 1; r <= 3000; ++r) {
        linhas += "<row r=\"" + std::to_string(r) + "\"><c r=\"A" + std::to_string(r) + "\"><v>" +
                  std::to_string(r * 7919 % 10007) + "</v></c></row>";
    }
    std::string c = pasta.Arquivo("corrompido.xlsx");
    GravaZip(c, PacoteXlsx({{"P", linhas}}));
    std::string bytes = LeArquivo(c);
    size_t local = bytes.find("xl/worksheets/sheet1.xml");
    ASSERT_NE(local, std::string::npos);
    for (size_t i = local + 200; i < local + 400; ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    GravaArquivo(c, bytes);
    FalhaAoLer(c);
}

TEST(ArquivosRuins, PacoteSemPastaDeTrabalhoOuComXmlQuebrado) {
    TPastaTemporaria pasta;
    GravaZip(pasta.Arquivo("outro.xlsx"), {{"leia.txt", "não sou planilha"}});
    FalhaAoLer(pasta.Arquivo("outro.xlsx"));

    GravaZip(pasta.Arquivo("quebrado.xlsx"), PacoteXlsx({{"P", "<row r=\"1\"><c r=\"A1\"><v>1"}}));
    FalhaAoLer(pasta.Arquivo("quebrado.xlsx"));

    GravaZip(
        pasta.Arquivo("indice.xlsx"),
        PacoteXlsx({{"P", "<row><c r=\"A1\" t=\"s\"><v>5</v></c></row>"}}, "<si><t>a</t></si>"));
    FalhaAoLer(pasta.Arquivo("indice.xlsx"));

    // Part listed in the workbook but missing from the package.
    TEntradas e = PacoteXlsx({{"P", ""}});
    std::erase_if(e, [](const auto& p) { return p.first == "xl/worksheets/sheet1.xml"; });
    GravaZip(pasta.Arquivo("sem_parte.xlsx"), e);
    FalhaAoLer(pasta.Arquivo("sem_parte.xlsx"));
}

TEST(ArquivosRuins, EntidadesDeDtdSaoRecusadas) {
    TPastaTemporaria pasta;
    TEntradas e = PacoteXlsx({{"P",
                               "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>&b;</t></is>"
                               "</c></row>"}});
    for (auto& [nome, conteudo] : e) {
        if (nome != "xl/worksheets/sheet1.xml")
            continue;
        std::string dtd =
            "<!DOCTYPE w [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaa\">"
            "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>";
        conteudo.insert(conteudo.find("<worksheet"), dtd);
    }
    GravaZip(pasta.Arquivo("dtd.xlsx"), e);
    FalhaAoLer(pasta.Arquivo("dtd.xlsx"));
}

TEST(ArquivosRuins, PastaCriptografadaOuXlsDisfarcado) {
    TPastaTemporaria pasta;
    GravaOle(pasta.Arquivo("senha.xlsx"), {{"EncryptionInfo", std::string(200, '\x04')},
                                           {"EncryptedPackage", std::string(4096, 'x')}});
    std::string msg = FalhaAoLer(pasta.Arquivo("senha.xlsx"));
    EXPECT_NE(msg.find("senha"), std::string::npos) << msg;

    std::string xls = pasta.Arquivo("na_verdade_xls.xlsx");
    GravaArquivo(xls, LeArquivo(Fixture("xlwt_clientes.xls")));
    msg = FalhaAoLer(xls);
    EXPECT_NE(msg.find(".xls"), std::string::npos) << msg;
}

namespace {

// A zip whose one sheet inflates to tamanho bytes of blanks, written without ever holding them.
struct TFonteBranca {
    std::string inicio;
    std::uint64_t tamanho;
    std::uint64_t pos = 0;
};

zip_int64_t FonteBranca(void* ud, void* dados, zip_uint64_t n, zip_source_cmd_t cmd) {
    auto* f = static_cast<TFonteBranca*>(ud);
    switch (cmd) {
        case ZIP_SOURCE_OPEN:
            f->pos = 0;
            return 0;
        case ZIP_SOURCE_READ: {
            std::uint64_t k = std::min<std::uint64_t>(n, f->tamanho - f->pos);
            auto* out = static_cast<char*>(dados);
            for (std::uint64_t i = 0; i < k; ++i) {
                std::uint64_t p = f->pos + i;
                out[i] = p < f->inicio.size() ? f->inicio[p] : ' ';
            }
            f->pos += k;
            return static_cast<zip_int64_t>(k);
        }
        case ZIP_SOURCE_CLOSE:
        case ZIP_SOURCE_FREE:
            return 0;
        case ZIP_SOURCE_STAT: {
            auto* st = static_cast<zip_stat_t*>(dados);
            zip_stat_init(st);
            st->size = f->tamanho;
            st->valid |= ZIP_STAT_SIZE;
            return sizeof(*st);
        }
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ,
                                                  ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                  ZIP_SOURCE_FREE, ZIP_SOURCE_ERROR, -1);
        default:
            return -1;
    }
}

void GravaBomba(const std::string& caminho, std::uint64_t tamanho) {
    TEntradas e = PacoteXlsx({{"P", ""}});
    std::erase_if(e, [](const auto& p) { return p.first == "xl/worksheets/sheet1.xml"; });
    int erro = 0;
    zip_t* z = zip_open(caminho.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &erro);
    ASSERT_NE(z, nullptr);
    for (const auto& [nome, conteudo] : e) {
        zip_file_add(z, nome.c_str(), zip_source_buffer(z, conteudo.data(), conteudo.size(), 0), 0);
    }
    TFonteBranca fonte{
        "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<sheetData>",
        tamanho};
    zip_int64_t i =
        zip_file_add(z, "xl/worksheets/sheet1.xml", zip_source_function(z, FonteBranca, &fonte), 0);
    ASSERT_GE(i, 0);
    zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_DEFLATE, 1);
    ASSERT_EQ(zip_close(z), 0);
}

// Overwrites the inflated size that the local and central headers of an entry declare.
void MenteTamanho(const std::string& caminho, const std::string& entrada, std::uint32_t tamanho) {
    std::string b = LeArquivo(caminho);
    for (size_t p = b.find(entrada); p != std::string::npos; p = b.find(entrada, p + 1)) {
        if (p >= 30 && b.compare(p - 30, 4, "PK\x03\x04") == 0) {
            std::memcpy(&b[p - 30 + 22], &tamanho, 4);
        } else if (p >= 46 && b.compare(p - 46, 4, "PK\x01\x02") == 0) {
            std::memcpy(&b[p - 46 + 24], &tamanho, 4);
        }
    }
    GravaArquivo(caminho, b);
}

}  // namespace

TEST(ArquivosRuins, BombaDeCompactacaoEhRecusada) {
    TPastaTemporaria pasta;
    std::string bomba = pasta.Arquivo("bomba.xlsx");
    GravaBomba(bomba, planilha::kLimiteBytes + 4096);
    ASSERT_LT(LeArquivo(bomba).size(), 8u * 1024 * 1024);
    std::string msg = FalhaAoLer(bomba);
    EXPECT_NE(msg.find("MiB"), std::string::npos) << msg;

    // The same bomb with headers that claim a harmless size: counting what inflates stops it.
    MenteTamanho(bomba, "xl/worksheets/sheet1.xml", 1000);
    FalhaAoLer(bomba);
}
