// xls (BIFF8) files: from xlwt and LibreOffice, and hand-made record streams for the corners
// that those producers never write.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "common/ConfiguracaoRegional.h"
#include "common/Erros.h"
#include "common/Win1252.h"
#include "spreadsheet/ControlaExcel.h"
#include "tests/apoio/Processo.h"
#include "tests/spreadsheet/ApoioPlanilhas.h"

using namespace apoio_planilha;

namespace {

std::string Cp(const char* utf8) {
    return win1252::DeUtf8(utf8);
}

std::string Celula(unsigned linha0, unsigned coluna0) {
    return U16(linha0) + U16(coluna0) + U16(0x0F);  // row, column, format
}

std::string Numero(unsigned l, unsigned c, double v) {
    return Registro(0x0203, Celula(l, c) + F64(v));
}
std::string Rk(unsigned l, unsigned c, std::uint32_t rk) {
    return Registro(0x027E, Celula(l, c) + U32(rk));
}
std::string LabelSst(unsigned l, unsigned c, std::uint32_t i) {
    return Registro(0x00FD, Celula(l, c) + U32(i));
}
std::string BoolErr(unsigned l, unsigned c, unsigned valor, bool erro) {
    return Registro(0x0205, Celula(l, c) + std::string(1, static_cast<char>(valor)) +
                                std::string(1, erro ? '\1' : '\0'));
}
// A FORMULA record with the given 8-byte result and a one-token formula.
std::string Formula(unsigned l, unsigned c, const std::string& resultado) {
    return Registro(0x0006, Celula(l, c) + resultado + U16(0) + U32(0) + U16(1) + "\x1D");
}
std::string ResultadoEspecial(unsigned tipo, unsigned valor = 0) {
    return std::string(1, static_cast<char>(tipo)) + '\0' +
           std::string(1, static_cast<char>(valor)) + std::string(3, '\0') + "\xFF\xFF";
}

class Xls : public ::testing::Test {
  protected:
    void SetUp() override {
        antes_ = TConfiguracaoRegional::Instancia().SeparadorDecimal();
        TConfiguracaoRegional::Instancia().DefineSeparadorDecimal(',');
    }
    void TearDown() override { TConfiguracaoRegional::Instancia().DefineSeparadorDecimal(antes_); }

    std::string GravaXls(const std::string& fluxo, const char* nomeFluxo = "Workbook") {
        std::string c = pasta_.Arquivo("feito.xls");
        GravaOle(c, {{nomeFluxo, fluxo}});
        return c;
    }

    char antes_ = '.';
    TPastaTemporaria pasta_;
    TDMCotrolaExcel m_;
};

// Rewrites the offset of every BOUNDSHEET record of a workbook stream.
void MudaPosicoesDasAbas(std::string& fluxo,
                         const std::function<std::uint32_t(std::uint32_t)>& nova) {
    for (size_t p = 0; p + 4 <= fluxo.size();) {
        unsigned tipo =
            static_cast<unsigned char>(fluxo[p]) | static_cast<unsigned char>(fluxo[p + 1]) << 8;
        unsigned n = static_cast<unsigned char>(fluxo[p + 2]) |
                     static_cast<unsigned char>(fluxo[p + 3]) << 8;
        if (tipo == 0x0085) {
            std::uint32_t pos;
            std::memcpy(&pos, &fluxo[p + 4], 4);
            fluxo.replace(p + 4, 4, U32(nova(pos)));
        }
        if (tipo == 0x000A)
            break;
        p += 4 + n;
    }
}

std::string MensagemDeFalha(TDMCotrolaExcel& m, const std::string& caminho) {
    try {
        m.AbreArquivoExcel(caminho);
        m.ListaAbas();
        m.SelecionaAba(1);
    } catch (const EPlanilha& e) {
        std::string msg = e.what();
        EXPECT_NE(msg.find(caminho), std::string::npos) << msg;
        return msg;
    }
    ADD_FAILURE() << "lido como se estivesse bom";
    return "";
}

}  // namespace

// ---- Files of other producers --------------------------------------------------------------

TEST_F(Xls, XlwtComTextosLongosEmVariosRegistrosContinue) {
    m_.AbreArquivoExcel(Fixture("xlwt_clientes.xls"));
    ASSERT_EQ(m_.ListaAbas(), (std::vector<std::string>{"Clientes", "Produtos"}));
    EXPECT_EQ(m_.UltimaLinha(), 3);
    EXPECT_EQ(m_.UltimaColuna(), 2);
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.UltimaLinha(), 10);
    EXPECT_EQ(m_.UltimaColuna(), 256);
    EXPECT_EQ(m_.LeCelula(1, 1), Cp("Código"));
    EXPECT_EQ(m_.LeCelula(1, 2), "00123");
    EXPECT_EQ(m_.LeCelula(2, 2), Cp("Ação Ltda"));
    EXPECT_EQ(m_.LeCelula(3, 2), "True");
    EXPECT_EQ(m_.LeCelula(4, 2), "False");
    EXPECT_EQ(m_.LeCelula(5, 2), "45306");
    EXPECT_EQ(m_.LeCelula(6, 2), "1234");
    EXPECT_EQ(m_.LeCelula(6, 3), "0,5");
    EXPECT_EQ(m_.LeCelula(1, 4), "1,23456789012346E17");
    EXPECT_EQ(m_.LeCelula(6, 4), "-2,75");
    EXPECT_EQ(m_.LeCelula(1, 6), std::string(6000, 'x'));
    std::string cao;
    for (int i = 0; i < 3000; ++i)
        cao += Cp("ção");
    EXPECT_EQ(m_.LeCelula(2, 6), cao);
    EXPECT_EQ(m_.LeCelula(3, 6), std::string(5000, 'y') + "fim");
    EXPECT_EQ(m_.LeCelula(256, 10), "IV10");
    try {
        m_.LeCelula(2, 5);
        FAIL();
    } catch (const EPlanilha& e) {
        EXPECT_NE(std::string(e.what()).find("#N/A"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("B5"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("Clientes"), std::string::npos) << e.what();
    }
    EXPECT_THROW(m_.LeCelula(1, 5), EPlanilha);  // #DIV/0!
}

TEST_F(Xls, LibreOfficeComResultadosDeFormulas) {
    m_.AbreArquivoExcel(Fixture("libreoffice_clientes.xls"));
    const auto& abas = m_.ListaAbas();
    ASSERT_EQ(abas.front(), "Clientes");
    ASSERT_EQ(abas.back(), "Produtos");
    EXPECT_EQ(m_.UltimaLinha(), 3);
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.UltimaLinha(), 8);
    EXPECT_EQ(m_.UltimaColuna(), 7);  // AAA5 does not fit an xls
    EXPECT_EQ(m_.LeCelula(1, 2), "00123");
    EXPECT_EQ(m_.LeCelula(2, 4), Cp("€ Euro"));
    EXPECT_EQ(m_.LeCelula(7, 2), "linha1\nlinha2");
    EXPECT_EQ(m_.LeCelula(5, 4), "1,5E-7");
    EXPECT_EQ(m_.LeCelula(6, 4), "0,0001");
    EXPECT_EQ(m_.LeCelula(2, 5), "abcd");
    EXPECT_EQ(m_.LeCelula(3, 5), "True");
    EXPECT_EQ(m_.LeCelula(4, 5), "6");
    EXPECT_THROW(m_.LeCelula(1, 5), EPlanilha);
}

// ---- Hand-made record streams --------------------------------------------------------------

TEST_F(Xls, TabelaDeTextosPartidaEmContinue) {
    // Text 0: "abcde" 8-bit, then the CONTINUE switches to UTF-16 for "fçg€h".
    // Text 1: rich text with far-east data, its runs split by a CONTINUE (no option byte there).
    // Text 2: UTF-16 "ÿ" then, after a CONTINUE, the rest 8-bit.
    std::string sst = U32(3) + U32(3) + U16(10) + '\0' + "abcde";
    std::string cont1 = std::string(1, '\1');
    for (char16_t c : std::u16string(u"fçg€h"))
        cont1 += U16(c);
    cont1 += U16(3) + std::string(1, '\x0C') + U16(2) + U32(6) + "xyz" + U16(0) + U16(1);
    std::string cont2 = U16(2) + U16(1) + std::string(6, '\x7F') + U16(3) + '\1' + U16(0x00FF);
    std::string cont3 = std::string(1, '\0') + "ok";
    std::string globais = Registro(0x00FC, sst) + Registro(0x003C, cont1) +
                          Registro(0x003C, cont2) + Registro(0x003C, cont3);
    std::string c = GravaXls(FluxoBiff8(
        {{"Textos", 0, LabelSst(0, 0, 0) + LabelSst(0, 1, 1) + LabelSst(0, 2, 2)}}, globais));
    m_.AbreArquivoExcel(c);
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 1), Cp("abcdefçg€h"));
    EXPECT_EQ(m_.LeCelula(2, 1), "xyz");
    EXPECT_EQ(m_.LeCelula(3, 1), Cp("ÿok"));
}

TEST_F(Xls, TodosOsRegistrosDeCelula) {
    std::string sst =
        U32(2) + U32(2) + TextoBiff8Compacto("compartilhado") + TextoBiff8Compacto("");
    std::string stringLonga = U16(12) + '\0' + "abcdefgh";
    std::string registros =
        LabelSst(0, 0, 0) + Numero(0, 1, 0.5) + Rk(0, 2, (1234u << 2) | 2) +
        Rk(0, 3, (12345u << 2) | 3) +  // 123,45
        Rk(0, 4, static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(2.5) >> 32)) +
        Registro(0x00BD, U16(1) + U16(1) + U16(0x0F) + U32((7u << 2) | 2) + U16(0x0F) +
                             U32(static_cast<std::uint32_t>(-3) << 2 | 2) + U16(2)) +
        BoolErr(2, 0, 1, false) + BoolErr(2, 1, 0, false) + BoolErr(2, 2, 0x07, true) +
        Formula(3, 0, F64(42)) + Formula(3, 1, ResultadoEspecial(0)) +
        Registro(0x04BC, std::string(10, '\0')) + Registro(0x0207, stringLonga) +
        Registro(0x003C, std::string(1, '\1') + U16('i') + U16(0x20AC) + U16('k') + U16('l')) +
        Formula(3, 2, ResultadoEspecial(1, 1)) + Formula(3, 3, ResultadoEspecial(2, 0x2A)) +
        Formula(3, 4, ResultadoEspecial(3)) +
        Registro(0x0204, Celula(4, 0) + TextoBiff8Utf16("rótulo")) +
        LabelSst(4, 1, 1) +                                                // an empty text
        Registro(0x0201, Celula(50, 0)) +                                  // BLANK
        Registro(0x00BE, U16(60) + U16(0) + U16(15) + U16(15) + U16(1)) +  // MULBLANK
        Bof(0x0020) + Numero(90, 90, 1) + Eof() +                          // an embedded chart
        Numero(5, 0, 45306);
    std::string c = GravaXls(FluxoBiff8({{"Tudo", 0, registros}}, Registro(0x00FC, sst)));
    m_.AbreArquivoExcel(c);
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 1), "compartilhado");
    EXPECT_EQ(m_.LeCelula(2, 1), "0,5");
    EXPECT_EQ(m_.LeCelula(3, 1), "1234");
    EXPECT_EQ(m_.LeCelula(4, 1), "123,45");
    EXPECT_EQ(m_.LeCelula(5, 1), "2,5");
    EXPECT_EQ(m_.LeCelula(2, 2), "7");
    EXPECT_EQ(m_.LeCelula(3, 2), "-3");
    EXPECT_EQ(m_.LeCelula(1, 3), "True");
    EXPECT_EQ(m_.LeCelula(2, 3), "False");
    EXPECT_THROW(m_.LeCelula(3, 3), EPlanilha);
    EXPECT_EQ(m_.LeCelula(1, 4), "42");
    EXPECT_EQ(m_.LeCelula(2, 4), Cp("abcdefghi€kl"));
    EXPECT_EQ(m_.LeCelula(3, 4), "True");
    try {
        m_.LeCelula(4, 4);
        FAIL();
    } catch (const EPlanilha& e) {
        EXPECT_NE(std::string(e.what()).find("#N/A"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("D4"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("Tudo"), std::string::npos);
    }
    EXPECT_EQ(m_.LeCelula(5, 4), "");
    EXPECT_EQ(m_.LeCelula(1, 5), Cp("rótulo"));
    EXPECT_EQ(m_.LeCelula(2, 5), "");
    EXPECT_EQ(m_.LeCelula(1, 6), "45306");
    // Blank cells, empty texts and the chart's own records leave the used area alone.
    EXPECT_EQ(m_.UltimaLinha(), 6);
    EXPECT_EQ(m_.UltimaColuna(), 5);
}

TEST_F(Xls, SoPlanilhasSaoListadas) {
    std::string dialogo = Registro(0x0081, U16(0x0010 | 0x0001));
    std::string normal = Registro(0x0081, U16(0x04C1));
    std::string c = GravaXls(FluxoBiff8({{"Macro", 1, ""},
                                         {"Um", 0, normal + Numero(0, 0, 1)},
                                         {"Grafico", 2, ""},
                                         {"Dialogo", 0, dialogo},
                                         {"Dois", 0, Numero(1, 0, 2)}}));
    m_.AbreArquivoExcel(c);
    EXPECT_EQ(m_.ListaAbas(), (std::vector<std::string>{"Um", "Dois"}));
    EXPECT_EQ(m_.UltimaLinha(), 2);
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 1), "1");
    EXPECT_THROW(m_.SelecionaAba(3), EPlanilha);
}

TEST_F(Xls, NomesDeAbaEmUtf16) {
    m_.AbreArquivoExcel(GravaXls(FluxoBiff8({{"Ç€ 日", 0, Numero(0, 0, 1), true}})));
    EXPECT_EQ(m_.ListaAbas(), std::vector<std::string>{Cp("Ç€ ?")});
}

TEST_F(Xls, FluxoBookTambemEhLido) {
    m_.AbreArquivoExcel(GravaXls(FluxoBiff8({{"Velha", 0, Numero(0, 0, 3)}}), "Book"));
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 1), "3");
}

// ---- Damaged and protected files -----------------------------------------------------------

TEST_F(Xls, CriptografadoComFilepass) {
    std::string c = GravaXls(FluxoBiff8({{"P", 0, Numero(0, 0, 1)}},
                                        Registro(0x002F, U16(1) + std::string(52, '\x11'))));
    std::string msg = MensagemDeFalha(m_, c);
    EXPECT_NE(msg.find("senha"), std::string::npos) << msg;
}

TEST_F(Xls, XlsxCriptografadoComNomeDeXls) {
    std::string c = pasta_.Arquivo("senha.xls");
    GravaOle(c, {{"EncryptionInfo", std::string(100, '\x04')},
                 {"EncryptedPackage", std::string(5000, 'z')}});
    std::string msg = MensagemDeFalha(m_, c);
    EXPECT_NE(msg.find("senha"), std::string::npos) << msg;
}

TEST_F(Xls, TruncadoOuSemFluxoOuNaoOle) {
    std::string fluxo = FluxoBiff8({{"P", 0, Numero(0, 0, 1) + Numero(1, 0, 2)}});
    MensagemDeFalha(m_, GravaXls(fluxo.substr(0, fluxo.size() - 20)));
    MensagemDeFalha(m_, GravaXls(fluxo.substr(0, 30)));
    MensagemDeFalha(m_, GravaXls(fluxo, "Outro"));
    MensagemDeFalha(m_, GravaXls(std::string(100, '\0')));

    std::string c = pasta_.Arquivo("texto.xls");
    GravaArquivo(c, "<html><body><table><tr><td>1</td></tr></table></body></html>");
    MensagemDeFalha(m_, c);

    std::string xlsx = pasta_.Arquivo("na_verdade_xlsx.xls");
    GravaArquivo(xlsx, LeArquivo(Fixture("openpyxl_clientes.xlsx")));
    EXPECT_NE(MensagemDeFalha(m_, xlsx).find(".xlsx"), std::string::npos);

    // A whole file cut in half: the OLE2 container itself is damaged.
    std::string bom = LeArquivo(Fixture("xlwt_clientes.xls"));
    std::string metade = pasta_.Arquivo("metade.xls");
    GravaArquivo(metade, bom.substr(0, bom.size() / 2));
    MensagemDeFalha(m_, metade);
}

TEST_F(Xls, IndiceDeTextoInexistente) {
    std::string sst = U32(1) + U32(1) + TextoBiff8Compacto("a");
    MensagemDeFalha(m_, GravaXls(FluxoBiff8({{"P", 0, LabelSst(0, 0, 7)}}, Registro(0x00FC, sst))));
}

TEST_F(Xls, TabelaDeTextosMenorDoQueAnuncia) {
    // Five texts announced, two written: the third cell points past what is there.
    std::string sst = U32(5) + U32(5) + TextoBiff8Compacto("um") + TextoBiff8Compacto("dois");
    m_.AbreArquivoExcel(
        GravaXls(FluxoBiff8({{"P", 0, LabelSst(0, 0, 0) + LabelSst(0, 1, 1) + LabelSst(0, 2, 4)}},
                            Registro(0x00FC, sst))));
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 1), "um");
    EXPECT_EQ(m_.LeCelula(2, 1), "dois");
    EXPECT_EQ(m_.LeCelula(3, 1), "");
}

TEST_F(Xls, TextoVazioSemByteDeOpcoes) {
    // LABEL and a formula's STRING that stop right after their character count.
    std::string registros = Registro(0x0204, Celula(0, 0) + U16(0)) + Numero(0, 1, 5) +
                            Formula(1, 0, ResultadoEspecial(0)) + Registro(0x0207, U16(0)) +
                            Numero(1, 1, 6);
    m_.AbreArquivoExcel(GravaXls(FluxoBiff8({{"P", 0, registros}})));
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 1), "");
    EXPECT_EQ(m_.LeCelula(2, 1), "5");
    EXPECT_EQ(m_.LeCelula(1, 2), "");
    EXPECT_EQ(m_.LeCelula(2, 2), "6");
}

TEST_F(Xls, PosicaoDaAbaUnsBytesAntesDoBof) {
    std::string fluxo = FluxoBiff8({{"Um", 0, Numero(0, 0, 1)}, {"Dois", 0, Numero(0, 0, 2)}});
    // Each BOUNDSHEET's offset lands a few bytes before its BOF (inside the EOF before it).
    std::uint32_t recuo = 2;
    MudaPosicoesDasAbas(fluxo, [&](std::uint32_t pos) { return pos - recuo++; });
    m_.AbreArquivoExcel(GravaXls(fluxo));
    EXPECT_EQ(m_.ListaAbas(), (std::vector<std::string>{"Um", "Dois"}));
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 1), "1");
    m_.SelecionaAba(2);
    EXPECT_EQ(m_.LeCelula(1, 1), "2");
}

TEST_F(Xls, PosicaoDaAbaDentroDoSeuSubfluxo) {
    std::string fluxo = FluxoBiff8({{"Um", 0, Numero(0, 0, 1)}, {"Dois", 0, Numero(0, 0, 2)}});
    // Each offset names the record after its sheet's BOF (a BIFF8 BOF is 20 bytes long): no
    // BOF follows the last one.
    MudaPosicoesDasAbas(fluxo, [](std::uint32_t pos) { return pos + 20; });
    m_.AbreArquivoExcel(GravaXls(fluxo));
    EXPECT_EQ(m_.ListaAbas(), (std::vector<std::string>{"Um", "Dois"}));
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 1), "1");
    m_.SelecionaAba(2);
    EXPECT_EQ(m_.LeCelula(1, 1), "2");
}

TEST_F(Xls, TabelaDeTextosComContagensZeradas) {
    // Both counts say 0; two texts in the SST record, a third in its CONTINUE.
    std::string sst = U32(0) + U32(0) + TextoBiff8Compacto("um") + TextoBiff8Compacto("dois");
    std::string globais = Registro(0x00FC, sst) + Registro(0x003C, TextoBiff8Compacto("tres"));
    std::string celulas = LabelSst(0, 0, 0) + LabelSst(0, 1, 1) + LabelSst(0, 2, 2);
    m_.AbreArquivoExcel(GravaXls(FluxoBiff8({{"P", 0, celulas}}, globais)));
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 1), "um");
    EXPECT_EQ(m_.LeCelula(2, 1), "dois");
    EXPECT_EQ(m_.LeCelula(3, 1), "tres");

    std::string msg =
        MensagemDeFalha(m_, GravaXls(FluxoBiff8({{"P", 0, celulas + LabelSst(0, 3, 3)}}, globais)));
    EXPECT_NE(msg.find("D1"), std::string::npos) << msg;
}

TEST_F(Xls, CabecalhoOleComContagensErradas) {
    std::string c = GravaXls(FluxoBiff8({{"P", 0, Numero(0, 0, 7)}}));
    std::string b = LeArquivo(c);
    // One FAT sector, no DIFAT sector and one mini-FAT sector, counted as 3, 2 and 4.
    b.replace(0x2C, 4, U32(3));
    b.replace(0x40, 4, U32(4));
    b.replace(0x48, 4, U32(2));
    GravaArquivo(c, b);
    m_.AbreArquivoExcel(c);
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 1), "7");
}

TEST_F(Xls, Biff5NaPaginaDeCodigoDoArquivo) {
    struct TCaso {
        std::string codepage;  // the CODEPAGE record, or none
        std::string bytes;
        std::string esperado;
    };
    const TCaso casos[] = {
        // Mac Roman: ç 8D, ã 8B; DOS Latin-1: ó A2; Central European: č, which 1252 lacks.
        {Registro(0x0042, U16(10000)), "A\x8D\x8Bo", Cp("Ação")},
        {Registro(0x0042, U16(850)),
         "C\xA2"
         "digo",
         Cp("Código")},
        {Registro(0x0042, U16(1250)),
         "\xE8"
         "as",
         "?as"},
        {"", "A\xE7\xE3o", Cp("Ação")},
    };
    for (const TCaso& caso : casos) {
        std::string label = Registro(
            0x0204, Celula(0, 0) + U16(static_cast<unsigned>(caso.bytes.size())) + caso.bytes);
        m_.AbreArquivoExcel(GravaXls(FluxoBiff5({{caso.bytes, 0, label}}, caso.codepage), "Book"));
        EXPECT_EQ(m_.ListaAbas(), std::vector<std::string>{caso.esperado});
        m_.SelecionaAba(1);
        EXPECT_EQ(m_.LeCelula(1, 1), caso.esperado);
    }
}

TEST_F(Xls, Biff5SemCodepageNaPaginaDasFontes) {
    // Every font Cyrillic (charset 204), no CODEPAGE record: the texts are Windows-1251, whose
    // 0x88 is the euro sign.
    std::string fonte = Registro(0x0031, U16(200) + U16(0) + U16(0x7FFF) + U16(400) + U16(0) +
                                             std::string("\0\0\xCC\0\x05", 5) + "Arial");
    std::string texto =
        "\xD3\xED\xE8\xE2\xE5\xF0\xF1\xE0\xEB\xFC\xED\xFB\xE9"
        " 100\x88";  // "Универсальный 100€"
    std::string label =
        Registro(0x0204, Celula(0, 0) + U16(static_cast<unsigned>(texto.size())) + texto);
    std::string nome =
        "\xCB\xE8\xF1\xF2"
        "1";  // "Лист1"
    m_.AbreArquivoExcel(
        GravaXls(FluxoBiff5({{nome, 0, label}}, fonte + fonte + fonte + fonte), "Book"));
    EXPECT_EQ(m_.ListaAbas(), std::vector<std::string>{"????1"});
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 1), Cp("????????????? 100€"));
}

TEST_F(Xls, ArquivosBiff2a4SemConteiner) {
    auto celula2 = [](unsigned l, unsigned c) { return U16(l) + U16(c) + std::string(3, '\0'); };
    // Excel 2.x: one worksheet, named after the file, with its texts in DOS Latin-1.
    std::string biff2 =
        Registro(0x0009, U16(0x0002) + U16(0x0010)) + Registro(0x0042, U16(850)) +
        Registro(0x0002, celula2(0, 0) + U16(123)) + Registro(0x0003, celula2(0, 1) + F64(2.5)) +
        Registro(0x0004, celula2(1, 0) +
                             "\x06"
                             "C\xA2"
                             "digo") +
        Registro(0x0005, celula2(1, 1) + std::string("\x01\x00", 2)) +
        Registro(0x0005, celula2(1, 2) + std::string("\x07\x01", 2)) +
        Registro(0x0006, celula2(2, 0) + ResultadoEspecial(0) + std::string("\x00\x01\x17", 3)) +
        Registro(0x0007,
                 "\x03"
                 "abc") +
        Eof();
    std::string c = pasta_.Arquivo("velho.xls");
    GravaArquivo(c, biff2);
    m_.AbreArquivoExcel(c);
    EXPECT_EQ(m_.ListaAbas(), std::vector<std::string>{"velho"});
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 1), "123");
    EXPECT_EQ(m_.LeCelula(2, 1), "2,5");
    EXPECT_EQ(m_.LeCelula(1, 2), Cp("Código"));
    EXPECT_EQ(m_.LeCelula(2, 2), "True");
    EXPECT_THROW(m_.LeCelula(3, 2), EPlanilha);
    EXPECT_EQ(m_.LeCelula(1, 3), "abc");

    // Excel 4.0 workbook: each sheet comes after the record that names it; charts are not listed.
    auto bof4 = [](unsigned tipo) { return Registro(0x0409, U16(0) + U16(tipo) + U16(0)); };
    auto nome = [](const std::string& n) {
        return Registro(0x008F, U32(0) + std::string(1, static_cast<char>(n.size())) + n);
    };
    auto label = [](unsigned l, unsigned c, const std::string& t) {
        return Registro(0x0204, Celula(l, c) + U16(static_cast<unsigned>(t.size())) + t);
    };
    std::string biff4 = bof4(0x0100) + nome("Um") + bof4(0x0010) + label(0, 0, "primeira") +
                        Rk(1, 0, (42u << 2) | 2) + Eof() + nome("Grafico") + bof4(0x0020) + Eof() +
                        nome("Dois") + bof4(0x0010) +
                        Registro(0x0406, Celula(0, 1) + F64(7) + U16(0) + U16(0)) +
                        Registro(0x0406, Celula(0, 2) + ResultadoEspecial(0) + U16(0) + U16(0)) +
                        Registro(0x0207, U16(3) + "xyz") + Eof() + Eof();
    c = pasta_.Arquivo("pasta4.xls");
    GravaArquivo(c, biff4);
    m_.AbreArquivoExcel(c);
    EXPECT_EQ(m_.ListaAbas(), (std::vector<std::string>{"Um", "Dois"}));
    m_.SelecionaAba(1);
    EXPECT_EQ(m_.LeCelula(1, 1), "primeira");
    EXPECT_EQ(m_.LeCelula(1, 2), "42");
    m_.SelecionaAba(2);
    EXPECT_EQ(m_.LeCelula(2, 1), "7");
    EXPECT_EQ(m_.LeCelula(3, 1), "xyz");
}

// A damaged container: the operator reads our message alone, with no library's warnings.
TEST(XlsDanificado, SoANossaMensagemNoTerminal) {
    TPastaTemporaria pasta;
    std::string c = pasta.Arquivo("danificado.xls");
    GravaOle(c, {{"Workbook", FluxoBiff8({{"P", 0, std::string(9000, '\0')}})}});
    std::string b = LeArquivo(c);
    b.replace(0x4C, 4, U32(0x00FFFFF0));  // the first FAT sector, far past the end
    b.replace(0x30, 4, U32(0x00FFFFF0));  // the directory, likewise
    GravaArquivo(c, b);
    apoio::TSaidaProcesso r = apoio::ExecutaConversor({"sheets", c});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erros.rfind("Não foi possível ler a planilha \"" + c + "\": ", 0), 0u) << r.erros;
    EXPECT_EQ(r.erros.find('\n'), r.erros.size() - 1) << r.erros;
}
