#include "common/ConfiguracaoRegional.h"
#include "common/Erros.h"
#include "common/Texto.h"
#include "common/Win1252.h"

#include <gtest/gtest.h>

namespace {

class SeparadorVirgula : public ::testing::Test {
  protected:
    void SetUp() override { cfg.DefineSeparadorDecimal(','); }
    void TearDown() override { cfg.DefineSeparadorDecimal('.'); }
    TConfiguracaoRegional& cfg = TConfiguracaoRegional::Instancia();
};

TEST_F(SeparadorVirgula, NumeroParaTextoNaFormaGeralMaisCurta) {
    EXPECT_EQ(cfg.NumeroParaTexto(1234), "1234");
    EXPECT_EQ(cfg.NumeroParaTexto(3), "3");
    EXPECT_EQ(cfg.NumeroParaTexto(2.5), "2,5");
    EXPECT_EQ(cfg.NumeroParaTexto(0.1), "0,1");
    EXPECT_EQ(cfg.NumeroParaTexto(-0.0), "0");
    EXPECT_EQ(cfg.NumeroParaTexto(1.0 / 3.0), "0,333333333333333");
    EXPECT_EQ(cfg.NumeroParaTexto(0.0001), "0,0001");
    EXPECT_EQ(cfg.NumeroParaTexto(0.00015), "0,00015");
    EXPECT_EQ(cfg.NumeroParaTexto(0.00005), "5E-5");
    EXPECT_EQ(cfg.NumeroParaTexto(1.5e-7), "1,5E-7");
    EXPECT_EQ(cfg.NumeroParaTexto(999999999999999.0), "999999999999999");
    EXPECT_EQ(cfg.NumeroParaTexto(1e15), "1E15");
    EXPECT_EQ(cfg.NumeroParaTexto(123456789012345678.0), "1,23456789012346E17");
    EXPECT_EQ(cfg.NumeroParaTexto(-12.5), "-12,5");
    EXPECT_EQ(cfg.NumeroParaTexto(40252), "40252");
}

TEST_F(SeparadorVirgula, NumeroSqlUsaSempreOPonto) {
    EXPECT_EQ(cfg.NumeroSql(12.5), "12.5");
    EXPECT_EQ(cfg.NumeroSql(0), "0");
    EXPECT_EQ(cfg.NumeroSql(1.65), "1.65");
    EXPECT_EQ(cfg.NumeroSql(1.5e-7), "1.5E-7");
}

TEST_F(SeparadorVirgula, TextoParaNumeroSoAceitaOSeparadorRegional) {
    EXPECT_DOUBLE_EQ(cfg.TextoParaNumero("12,50"), 12.5);
    EXPECT_DOUBLE_EQ(cfg.TextoParaNumero(" -3 "), -3);
    EXPECT_DOUBLE_EQ(cfg.TextoParaNumero("1,5E-7"), 1.5e-7);
    EXPECT_THROW(cfg.TextoParaNumero("12.5"), EConversao);
    EXPECT_THROW(cfg.TextoParaNumero(" "), EConversao);
    EXPECT_THROW(cfg.TextoParaNumero("1.234,5"), EConversao);
    EXPECT_THROW(cfg.TextoParaNumero("abc"), EConversao);
    cfg.DefineSeparadorDecimal('.');
    EXPECT_DOUBLE_EQ(cfg.TextoParaNumero("12.5"), 12.5);
    EXPECT_THROW(cfg.TextoParaNumero("12,5"), EConversao);
}

TEST(Datas, SeriaisFormatosELeitura) {
    auto& cfg = TConfiguracaoRegional::Instancia();
    EXPECT_EQ(calendario::SerialDeData(1899, 12, 30), 0);
    EXPECT_EQ(calendario::SerialDeData(1900, 1, 1), 2);
    EXPECT_EQ(calendario::SerialDeData(2010, 3, 15), 40252);
    int a, m, d;
    calendario::DataDeSerial(40252, a, m, d);
    EXPECT_EQ(a * 10000 + m * 100 + d, 20100315);
    calendario::DataDeSerial(-657434, a, m, d);
    EXPECT_EQ(a * 10000 + m * 100 + d, 1000101);
    EXPECT_EQ(cfg.FormataData("dd.mm.yyyy", 40240), "03.03.2010");
    EXPECT_EQ(cfg.FormataData("DD/MM/YYYY", 40252), "15/03/2010");
    EXPECT_EQ(cfg.DataParaTexto(2), "01/01/1900");
    EXPECT_DOUBLE_EQ(cfg.TextoParaData("01/01/1900"), 2);
    EXPECT_THROW(cfg.TextoParaData("32/01/2000"), EConversao);
}

TEST(Textos, PrimitivasDeUmByte) {
    EXPECT_EQ(texto::Trim("\t x y \r\n"), "x y");
    EXPECT_EQ(texto::UpperAZ("s\xE3o paulo"), "S\xE3O PAULO");  // ã stays as it is
    EXPECT_EQ(texto::Primeiros("abc", 2), "ab");
    EXPECT_EQ(texto::Primeiros("abc", 9), "abc");
    EXPECT_EQ(texto::Copia("00000123", 3, 6), "000123");
    EXPECT_EQ(texto::Copia("12", 3, 6), "");
    EXPECT_EQ(texto::Literal("O'Brien"), "'O''Brien'");
    EXPECT_EQ(texto::LeInteiro(" 42"), 42);
    EXPECT_EQ(texto::LeInteiro("00000123"), 123);
    EXPECT_THROW(texto::LeInteiro("12a"), EConversao);
    EXPECT_THROW(texto::LeInteiro(""), EConversao);
}

TEST(Win1252, ConversaoNasBordas) {
    EXPECT_EQ(win1252::DeUtf8("Jos\xC3\xA9 \xE2\x82\xAC"), "Jos\xE9 \x80");
    EXPECT_EQ(win1252::DeUtf8("\xE4\xB8\xAD"), "?");  // a character Windows-1252 lacks
    EXPECT_EQ(win1252::DeUtf8(std::string("a\0b", 3)), "ab");
    EXPECT_EQ(win1252::ParaUtf8("Jos\xE9 \x80"), "Jos\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(win1252::DeUtf8(win1252::ParaUtf8("\x93x\x94\x9F")), "\x93x\x94\x9F");
    EXPECT_EQ(win1252::MensagemUtf8("S\xE3o"), "S\xC3\xA3o");
    EXPECT_EQ(win1252::MensagemUtf8("S\xC3\xA3o"), "S\xC3\xA3o");
}

}  // namespace
