// Numbers as the staging table receives them: the shortest general form with at most 15
// significant digits, the regional decimal separator, and the exponent form past 15 integer
// digits or below 0.0001.
#include <gtest/gtest.h>

#include <cmath>

#include "common/ConfiguracaoRegional.h"
#include "spreadsheet/ControlaExcel.h"
#include "tests/spreadsheet/ApoioPlanilhas.h"

using namespace apoio_planilha;

namespace {

struct TCaso {
    double valor;
    const char* texto;
};

// Under a comma separator.
const TCaso kTabela[] = {
    {1234, "1234"},
    {3, "3"},
    {2.5, "2,5"},
    {0.5, "0,5"},
    {-0.5, "-0,5"},
    {0, "0"},
    {-0.0, "0"},
    {1e15, "1E15"},
    {999999999999999, "999999999999999"},
    {123456789012345, "123456789012345"},
    {1234567890123456, "1,23456789012346E15"},
    {123456789012345678.0, "1,23456789012346E17"},
    {1.5e-7, "1,5E-7"},
    {0.0001, "0,0001"},
    {0.00012345, "0,00012345"},
    {0.00009, "9E-5"},
    {-1.5e-7, "-1,5E-7"},
    {1e100, "1E100"},
    {1.5e-300, "1,5E-300"},
    {0.1 + 0.2, "0,3"},  // 15 digits hide the binary noise
    {1.0 / 3, "0,333333333333333"},
    {2.0 / 3, "0,666666666666667"},
    {45306, "45306"},        // a date's day serial
    {45306.75, "45306,75"},  // with its time of day
    {-1234.5678, "-1234,5678"},
    {100, "100"},
    {1e14, "100000000000000"},
    {12345.678901234567, "12345,6789012346"},
};

class SeparadorDecimal : public ::testing::Test {
  protected:
    void SetUp() override { antes_ = TConfiguracaoRegional::Instancia().SeparadorDecimal(); }
    void TearDown() override { TConfiguracaoRegional::Instancia().DefineSeparadorDecimal(antes_); }
    char antes_ = '.';
};

}  // namespace

TEST_F(SeparadorDecimal, TabelaDeNumerosComVirgula) {
    TConfiguracaoRegional::Instancia().DefineSeparadorDecimal(',');
    for (const TCaso& c : kTabela) {
        EXPECT_EQ(TConfiguracaoRegional::Instancia().NumeroParaTexto(c.valor), c.texto) << c.valor;
    }
}

TEST_F(SeparadorDecimal, ComPontoOSeparadorEhOPonto) {
    TConfiguracaoRegional::Instancia().DefineSeparadorDecimal('.');
    EXPECT_EQ(TConfiguracaoRegional::Instancia().NumeroParaTexto(0.5), "0.5");
    EXPECT_EQ(TConfiguracaoRegional::Instancia().NumeroParaTexto(1.5e-7), "1.5E-7");
    EXPECT_EQ(TConfiguracaoRegional::Instancia().NumeroParaTexto(123456789012345678.0),
              "1.23456789012346E17");
}

TEST_F(SeparadorDecimal, NumerosDasCelulasSaemPelaMesmaTabela) {
    TConfiguracaoRegional::Instancia().DefineSeparadorDecimal(',');
    // The values travel through a real file: the stored text round-trips to the same double.
    std::string linhas;
    int r = 1;
    for (const TCaso& c : kTabela) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", c.valor);
        linhas += "<row r=\"" + std::to_string(r) + "\"><c r=\"A" + std::to_string(r) + "\"><v>" +
                  buf + "</v></c></row>";
        ++r;
    }
    TPastaTemporaria pasta;
    std::string caminho = pasta.Arquivo("numeros.xlsx");
    GravaZip(caminho, PacoteXlsx({{"Numeros", linhas}}));
    TDMCotrolaExcel m;
    m.AbreArquivoExcel(caminho);
    m.SelecionaAba(1);
    r = 1;
    for (const TCaso& c : kTabela)
        EXPECT_EQ(m.LeCelula(1, r++), c.texto) << c.valor;
}
