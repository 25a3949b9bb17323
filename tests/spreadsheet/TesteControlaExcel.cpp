// The spreadsheet module as the window and the staging load call it: listing, choosing and
// measuring sheets, and the text of every kind of cell.
#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include "common/ConfiguracaoRegional.h"
#include "common/Erros.h"
#include "common/Win1252.h"
#include "spreadsheet/ControlaExcel.h"
#include "tests/spreadsheet/ApoioPlanilhas.h"

using namespace apoio_planilha;

namespace {

// Decimal comma, as on the operators' machines; restored after each test.
class SeparadorVirgula {
  public:
    SeparadorVirgula() : antes_(TConfiguracaoRegional::Instancia().SeparadorDecimal()) {
        TConfiguracaoRegional::Instancia().DefineSeparadorDecimal(',');
    }
    ~SeparadorVirgula() { TConfiguracaoRegional::Instancia().DefineSeparadorDecimal(antes_); }

  private:
    char antes_;
};

std::string Cp(const char* utf8) {
    return win1252::DeUtf8(utf8);
}

// A workbook as Excel-compatible writers make it: shared strings, styles, a hidden sheet, a
// chart sheet between the worksheets, formulas with their calculated results.
void GravaPastaClientesProdutos(const std::string& caminho) {
    lxw_workbook* wb = workbook_new(caminho.c_str());
    lxw_worksheet* cli = workbook_add_worksheet(wb, "Clientes");
    lxw_format* data = workbook_add_format(wb);
    format_set_num_format(data, "dd/mm/yyyy");
    worksheet_write_string(cli, 0, 0, "Código", nullptr);
    worksheet_write_string(cli, 0, 1, "Nome", nullptr);
    worksheet_write_number(cli, 1, 0, 1234, nullptr);
    worksheet_write_string(cli, 1, 1, "João Ação", nullptr);
    worksheet_write_boolean(cli, 1, 2, 1, nullptr);
    worksheet_write_boolean(cli, 1, 3, 0, nullptr);
    lxw_datetime dia = {2024, 1, 15, 0, 0, 0};
    worksheet_write_datetime(cli, 1, 4, &dia, data);
    worksheet_write_number(cli, 2, 0, 0.5, nullptr);
    worksheet_write_formula_num(cli, 2, 1, "=2*3", nullptr, 6);
    worksheet_write_formula_str(cli, 2, 2, "=\"a\"&\"b\"", nullptr, "ab");
    worksheet_write_string(cli, 2, 3, "", nullptr);         // an empty text is no value
    worksheet_write_string(cli, 4, 702, "longe", nullptr);  // AAA5
    worksheet_write_string(cli, 5, 3, std::string(150, 'x').c_str(), nullptr);

    lxw_chartsheet* graf = workbook_add_chartsheet(wb, "Grafico");
    lxw_chart* chart = workbook_add_chart(wb, LXW_CHART_BAR);
    chart_add_series(chart, nullptr, "=Clientes!$A$2:$A$3");
    chartsheet_set_chart(graf, chart);

    lxw_worksheet* oculta = workbook_add_worksheet(wb, "Oculta");
    worksheet_write_string(oculta, 0, 0, "x", nullptr);
    worksheet_hide(oculta);

    lxw_worksheet* prod = workbook_add_worksheet(wb, "Produtos");
    worksheet_write_string(prod, 0, 0, "Código", nullptr);
    worksheet_write_number(prod, 1, 0, 1, nullptr);
    worksheet_write_number(prod, 6, 1, 2, nullptr);  // used area ends at B7
    worksheet_activate(prod);
    ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);
}

class ModuloPlanilha : public ::testing::Test {
  protected:
    void SetUp() override {
        caminho_ = pasta_.Arquivo("clientes.xlsx");
        GravaPastaClientesProdutos(caminho_);
    }
    TPastaTemporaria pasta_;
    std::string caminho_;
    SeparadorVirgula virgula_;
    TDMCotrolaExcel m_;
};

}  // namespace

TEST_F(ModuloPlanilha, ListaSoAsPlanilhasEmOrdemEMedeAUltimaLogoDepois) {
    m_.AbreArquivoExcel(caminho_);
    const auto& abas = m_.ListaAbas();
    // The chart sheet is left out; the hidden worksheet stays.
    ASSERT_EQ(abas, (std::vector<std::string>{"Clientes", "Oculta", "Produtos"}));
    // The window fills its row box right after the listing: that is the last sheet's.
    EXPECT_EQ(m_.UltimaLinha(), 7);
    EXPECT_EQ(m_.UltimaColuna(), 2);
    m_.LiberaListaAbas();
    EXPECT_EQ(m_.UltimaLinha(), 7);
}

TEST_F(ModuloPlanilha, SelecionaAbaPeloNumeroDaLista) {
    m_.AbreArquivoExcel(caminho_);
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.UltimaLinha(), 6);
    EXPECT_EQ(m_.UltimaColuna(), 703);  // AAA5
    EXPECT_EQ(m_.LeCelula(703, 5), "longe");
    EXPECT_EQ(m_.LeCelula(702, 5), "");
    m_.SelecionaAba(2);
    EXPECT_EQ(m_.LeCelula(1, 1), "x");
    m_.SelecionaAba(3);
    EXPECT_EQ(m_.LeCelula(1, 1), Cp("Código"));
}

TEST_F(ModuloPlanilha, NumeroDeAbaForaDaListaFalhaNomeandoONumero) {
    m_.AbreArquivoExcel(caminho_);
    for (int n : {0, 4, -1, 1000}) {
        try {
            m_.SelecionaAba(n);
            FAIL() << n;
        } catch (const EPlanilha& e) {
            EXPECT_NE(std::string(e.what()).find("número " + std::to_string(n)), std::string::npos)
                << e.what();
        }
    }
}

TEST_F(ModuloPlanilha, TextoDeCadaTipoDeCelula) {
    m_.AbreArquivoExcel(caminho_);
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 2), "1234");
    EXPECT_EQ(m_.LeCelula(2, 2), Cp("João Ação"));
    EXPECT_EQ(m_.LeCelula(3, 2), "True");
    EXPECT_EQ(m_.LeCelula(4, 2), "False");
    EXPECT_EQ(m_.LeCelula(5, 2), "45306");  // 15/01/2024 as its day serial
    EXPECT_EQ(m_.LeCelula(1, 3), "0,5");
    EXPECT_EQ(m_.LeCelula(2, 3), "6");   // a formula's stored result
    EXPECT_EQ(m_.LeCelula(3, 3), "ab");  // a formula's text result
    EXPECT_EQ(m_.LeCelula(4, 3), "");
    EXPECT_EQ(m_.LeCelula(4, 6), std::string(150, 'x'));  // cut to 100 by the staging, not here
    EXPECT_EQ(m_.LeCelula(1, 4), "");
}

TEST_F(ModuloPlanilha, CelulasAlemDaAreaUsadaSaoVazias) {
    m_.AbreArquivoExcel(caminho_);
    m_.SelecionaAba(3);
    EXPECT_EQ(m_.LeCelula(1, 8), "");
    EXPECT_EQ(m_.LeCelula(1, 100000), "");
    EXPECT_EQ(m_.LeCelula(3, 1), "");
    EXPECT_EQ(m_.LeCelula(16384, 1048576), "");
    EXPECT_EQ(m_.LeCelula(20000, 1), "");
    EXPECT_THROW(m_.LeCelula(0, 1), EPlanilha);
    EXPECT_THROW(m_.LeCelula(1, 0), EPlanilha);
}

TEST_F(ModuloPlanilha, SemPastaAbertaTudoFalhaComMensagemClara) {
    EXPECT_FALSE(m_.TemPastaAberta());
    EXPECT_THROW(m_.ListaAbas(), EPlanilha);
    EXPECT_THROW(m_.SelecionaAba(1), EPlanilha);
    EXPECT_THROW(m_.UltimaLinha(), EPlanilha);
    EXPECT_THROW(m_.UltimaColuna(), EPlanilha);
    EXPECT_THROW(m_.LeCelula(1, 1), EPlanilha);
    m_.LiberaListaAbas();  // harmless
}

TEST_F(ModuloPlanilha, AbasAindaNaoEscolhidasNaoSeMedem) {
    m_.AbreArquivoExcel(caminho_);
    EXPECT_TRUE(m_.TemPastaAberta());
    EXPECT_THROW(m_.UltimaLinha(), EPlanilha);
}

TEST_F(ModuloPlanilha, AbrirOutraPastaSubstituiAAnterior) {
    std::string csv = pasta_.Arquivo("outra.csv");
    GravaArquivo(csv, "a;b\n");
    m_.AbreArquivoExcel(caminho_);
    m_.ListaAbas();
    m_.AbreArquivoExcel(csv);
    EXPECT_EQ(m_.ListaAbas(), std::vector<std::string>{"outra"});
    EXPECT_EQ(m_.UltimaColuna(), 2);
    EXPECT_EQ(m_.LeCelula(2, 1), "b");
}

TEST_F(ModuloPlanilha, FalhaAoAbrirNaoDeixaAPastaAnteriorAberta) {
    m_.AbreArquivoExcel(caminho_);
    m_.SelecionaAba(1);
    EXPECT_THROW(m_.AbreArquivoExcel(pasta_.Arquivo("nao_existe.xlsx")), EPlanilha);
    EXPECT_FALSE(m_.TemPastaAberta());
    EXPECT_THROW(m_.LeCelula(1, 1), EPlanilha);
}

TEST_F(ModuloPlanilha, AbaVaziaMedeUmPorUm) {
    std::string caminho = pasta_.Arquivo("vazia.xlsx");
    lxw_workbook* wb = workbook_new(caminho.c_str());
    workbook_add_worksheet(wb, "Vazia");
    ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);
    m_.AbreArquivoExcel(caminho);
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.UltimaLinha(), 1);
    EXPECT_EQ(m_.UltimaColuna(), 1);
    EXPECT_EQ(m_.LeCelula(1, 1), "");
}

TEST(ModuloPlanilhaErros, CelulaComErroFalhaNomeandoAbaCelulaEErro) {
    TPastaTemporaria pasta;
    std::string caminho = pasta.Arquivo("erros.xlsx");
    GravaZip(caminho, PacoteXlsx({{"Cálculos",
                                   "<row r=\"5\"><c r=\"A5\"><v>1</v></c>"
                                   "<c r=\"AAA5\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c></row>"}}));
    TDMCotrolaExcel m;
    m.AbreArquivoExcel(caminho);
    m.SelecionaAba(1);
    EXPECT_EQ(m.LeCelula(1, 5), "1");
    try {
        m.LeCelula(703, 5);
        FAIL();
    } catch (const EPlanilha& e) {
        std::string msg = e.what();
        EXPECT_NE(msg.find("Cálculos"), std::string::npos) << msg;  // UTF-8 message
        EXPECT_NE(msg.find("AAA5"), std::string::npos) << msg;
        EXPECT_NE(msg.find("#DIV/0!"), std::string::npos) << msg;
    }
}

TEST(LetraColuna, UmaLetraAte26DuasAte702) {
    EXPECT_EQ(TDMCotrolaExcel::LetraColuna(1), "A");
    EXPECT_EQ(TDMCotrolaExcel::LetraColuna(26), "Z");
    EXPECT_EQ(TDMCotrolaExcel::LetraColuna(27), "AA");
    EXPECT_EQ(TDMCotrolaExcel::LetraColuna(52), "AZ");
    EXPECT_EQ(TDMCotrolaExcel::LetraColuna(53), "BA");
    EXPECT_EQ(TDMCotrolaExcel::LetraColuna(78), "BZ");
    EXPECT_EQ(TDMCotrolaExcel::LetraColuna(677), "ZA");
    EXPECT_EQ(TDMCotrolaExcel::LetraColuna(702), "ZZ");
}

TEST(LetraColuna, Acima702ARegraDeDuasLetrasSegueSemTerceiraLetra) {
    // 703 = 27 * 26 + 1: the first character is the one after "Z".
    EXPECT_EQ(TDMCotrolaExcel::LetraColuna(703), "[A");
    EXPECT_EQ(TDMCotrolaExcel::LetraColuna(728), "[Z");
    EXPECT_EQ(TDMCotrolaExcel::LetraColuna(729), "\\A");
}

TEST(LetrasColuna, ReferenciasDeQualquerLargura) {
    EXPECT_EQ(planilha::LetrasColuna(26), "Z");
    EXPECT_EQ(planilha::LetrasColuna(702), "ZZ");
    EXPECT_EQ(planilha::LetrasColuna(703), "AAA");
    EXPECT_EQ(planilha::LetrasColuna(16384), "XFD");
    EXPECT_EQ(planilha::LetrasColuna(18279), "AAAA");
    int c = 0, l = 0;
    ASSERT_TRUE(planilha::LeReferencia("xfd1048576", c, l));
    EXPECT_EQ(c, 16384);
    EXPECT_EQ(l, 1048576);
    ASSERT_TRUE(planilha::LeReferencia("AAAA7", c, l));
    EXPECT_EQ(c, 18279);
    EXPECT_FALSE(planilha::LeReferencia("A0", c, l));
    EXPECT_FALSE(planilha::LeReferencia("12", c, l));
    EXPECT_FALSE(planilha::LeReferencia("B", c, l));
    EXPECT_FALSE(planilha::LeReferencia("B7x", c, l));
    EXPECT_FALSE(planilha::LeReferencia("ZZZZZZZZZZ1", c, l));
}
