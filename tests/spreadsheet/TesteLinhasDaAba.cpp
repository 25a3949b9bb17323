// Rows read from the file as they are asked for: a sheet in order is walked piece by piece and
// never held whole, and what it reads must be what the sheet kept whole gives.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/Erros.h"
#include "spreadsheet/ControlaExcel.h"
#include "tests/spreadsheet/ApoioPlanilhas.h"

using namespace apoio_planilha;

namespace {

// Thousands of rows, so that the walk needs many pieces of the part: shared and inline texts,
// numbers, logical values, rows left out, and one cell holding an error value.
std::string LinhasEmOrdem(int ultima, int comErro) {
    std::string xml;
    for (int r = 1; r <= ultima; ++r) {
        if (r % 11 == 0)
            continue;
        const std::string n = std::to_string(r);
        xml += "<row r=\"" + n + "\"><c r=\"A" + n + "\" t=\"s\"><v>" + std::to_string(r % 3) +
               "</v></c><c r=\"B" + n + "\"><v>" + n + "0</v></c>";
        if (r % 7 == 0)
            xml += "<c r=\"D" + n + "\" t=\"inlineStr\"><is><t>linha " + n + "</t></is></c>";
        if (r % 5 == 0)
            xml += "<c r=\"E" + n + "\" t=\"b\"><v>1</v></c>";
        if (r == comErro)
            xml += "<c r=\"F" + n + "\" t=\"e\"><v>#N/A</v></c>";
        xml += "</row>";
    }
    return xml;
}

const char* const kTextos = "<si><t>zero</t></si><si><t>um</t></si><si><t>dois</t></si>";

// The row's texts, or the failure's message.
std::string Linha(TDMCotrolaExcel& m, int linha) {
    std::string r;
    try {
        for (const TCelulaLida& c : m.LeLinha(linha))
            r += std::to_string(c.coluna) + "=" + c.texto + ";";
    } catch (const EPlanilha& e) {
        r = e.what();
    }
    return r;
}

std::string Linha(TLinhasDaAba& linhas, int linha) {
    std::string r;
    for (const TCelulaLida& c : linhas.Le(linha))
        r += std::to_string(c.coluna) + "=" + c.texto + ";";
    return r;
}

TEST(LinhasDaAba, PercorridaDoArquivoDaOQueAAbaInteiraDa) {
    TPastaTemporaria pasta;
    const std::string caminho = pasta.Arquivo("grande.xlsx");
    GravaZip(caminho, PacoteXlsx({{"Dados", LinhasEmOrdem(6000, 4321)}}, kTextos));

    TDMCotrolaExcel percorrida, inteira;
    percorrida.AbreArquivoExcel(caminho);
    percorrida.SelecionaAba(1);
    inteira.AbreArquivoExcel(caminho);
    inteira.SelecionaAba(1);
    inteira.LeCelula(1, 1);  // reading any cell keeps the sheet whole

    EXPECT_EQ(percorrida.UltimaLinha(), 6000);
    EXPECT_EQ(percorrida.UltimaColuna(), 6);
    EXPECT_EQ(percorrida.PrimeiraLinhaComErro(), 4321);
    EXPECT_EQ(inteira.PrimeiraLinhaComErro(), 4321);
    for (int r = 1; r <= 6002; ++r)
        ASSERT_EQ(Linha(percorrida, r), Linha(inteira, r)) << "linha " << r;
    // Back to an earlier row, and a walk of its own that starts over.
    EXPECT_EQ(Linha(percorrida, 14), Linha(inteira, 14));
    auto linhas = inteira.LinhasDaAba();
    auto doArquivo = percorrida.LinhasDaAba();
    EXPECT_EQ(Linha(*doArquivo, 5999), Linha(*linhas, 5999));
    EXPECT_EQ(Linha(*doArquivo, 70), "1=um;2=700;4=linha 70;5=True;");
}

TEST(LinhasDaAba, ForaDeOrdemAUltimaCelulaEscritaValeComoNaAbaInteira) {
    TPastaTemporaria pasta;
    const std::string caminho = pasta.Arquivo("desordem.xlsx");
    GravaZip(caminho, PacoteXlsx({{"Dados",
                                   "<row r=\"3\"><c r=\"B3\"><v>1</v></c></row>"
                                   "<row r=\"1\"><c r=\"A1\"><v>2</v></c></row>"
                                   "<row r=\"3\"><c r=\"B3\"><v>4</v></c></row>"}}));
    TDMCotrolaExcel m;
    m.AbreArquivoExcel(caminho);
    m.SelecionaAba(1);
    EXPECT_EQ(m.UltimaLinha(), 3);
    EXPECT_EQ(Linha(m, 1), "1=2;");
    EXPECT_EQ(Linha(m, 3), "2=4;");
}

// A text file is read in pieces too: a character cut by a piece's end is still one character of
// UTF-8, and a quoted field runs on across pieces and lines.
TEST(LinhasDaAba, CsvEmPedacosDaOQueOArquivoInteiroDa) {
    TPastaTemporaria pasta;
    const std::string caminho = pasta.Arquivo("grande.csv");
    std::string csv =
        "\xEF\xBB\xBF"
        "CODIGO;NOME\r\n";
    for (int r = 2; csv.size() < 150000; ++r) {
        csv += std::to_string(r) + ";" +
               (r % 9 == 0 ? "\"várias\r\nlinhas; \"\"aspas\"\"\"" : "Açaí") +
               (r % 4 == 0 ? ";TRUE" : "") + "\n";
    }
    // "é" across the end of the first piece, 65536 bytes after the byte order mark.
    GravaArquivo(caminho, csv.substr(0, 65538) + "\xC3\xA9" + csv.substr(65538) + "\"sem fim;\nx");

    TDMCotrolaExcel percorrida, inteira;
    percorrida.AbreArquivoExcel(caminho);
    percorrida.SelecionaAba(1);
    inteira.AbreArquivoExcel(caminho);
    inteira.SelecionaAba(1);
    inteira.LeCelula(1, 1);
    ASSERT_EQ(percorrida.UltimaLinha(), inteira.UltimaLinha());
    EXPECT_EQ(percorrida.UltimaColuna(), 3);
    for (int r = 1; r <= percorrida.UltimaLinha() + 1; ++r)
        ASSERT_EQ(Linha(percorrida, r), Linha(inteira, r)) << "linha " << r;
    EXPECT_EQ(Linha(percorrida, 1), "1=CODIGO;2=NOME;");
    EXPECT_EQ(Linha(percorrida, 9), "1=9;2=v\xE1rias\r\nlinhas; \"aspas\";");
    EXPECT_EQ(Linha(percorrida, percorrida.UltimaLinha()), "1=sem fim;\nx;");
}

// The staged rows are read long after the sheet was chosen: meanwhile the module may open
// another workbook, or the file may be saved over.
TEST(LinhasDaAba, OPercursoLeOArquivoComoEleEraAoAbrir) {
    TPastaTemporaria pasta;
    const std::string caminho = pasta.Arquivo("dados.xlsx");
    const std::string outro = pasta.Arquivo("outro.xlsx");
    GravaZip(caminho, PacoteXlsx({{"Dados", LinhasEmOrdem(3000, 0)}}, kTextos));
    GravaZip(outro, PacoteXlsx({{"Outra", "<row r=\"2\"><c r=\"A2\"><v>9</v></c></row>"}}));

    TDMCotrolaExcel m;
    m.AbreArquivoExcel(caminho);
    m.SelecionaAba(1);
    auto linhas = m.LinhasDaAba();
    EXPECT_EQ(Linha(*linhas, 1), "1=um;2=10;");
    m.AbreArquivoExcel(outro);
    std::filesystem::rename(outro, caminho);
    EXPECT_EQ(Linha(*linhas, 2), "1=dois;2=20;");
    EXPECT_EQ(Linha(*linhas, 2999), "1=dois;2=29990;");
    EXPECT_EQ(Linha(*linhas, 35), "1=dois;2=350;4=linha 35;5=True;");
}

}  // namespace
