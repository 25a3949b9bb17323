// Writes the fuzz targets' starting inputs: small workbooks of every kind of cell the readers
// know, in the forms each target takes (see fuzz_*.cpp), and statements with named parameters.
//   gera_sementes DIR   (makes DIR/xlsx, DIR/xls, DIR/csv and DIR/parametros)
#include <bit>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/Pacotes.h"
#include "tests/spreadsheet/BytesBiff.h"

namespace {

using namespace apoio_planilha;

// Row and column from 0, format 15.
std::string Celula(unsigned linha, unsigned coluna) {
    return U16(linha) + U16(coluna) + U16(0x0F);
}
// A BIFF8 text of 8-bit characters with a 16-bit length, or UTF-16LE (ASCII only here).
std::string Texto8(const std::string& s) {
    return U16(static_cast<unsigned>(s.size())) + std::string(1, '\0') + s;
}
std::string Texto16(const std::string& s) {
    std::string r = U16(static_cast<unsigned>(s.size())) + std::string(1, '\1');
    for (char c : s)
        r += U16(static_cast<unsigned char>(c));
    return r;
}
std::string NomeAba(const std::string& s) {
    return std::string(1, static_cast<char>(s.size())) + std::string(1, '\0') + s;
}

// A workbook stream: globals with the shared texts and one BOUNDSHEET per sheet, then the sheets.
std::string Fluxo(const std::vector<std::pair<std::string, std::string>>& abas) {
    const std::string sst = Registro(0x00FC, U32(3) + U32(3) +
                                                 Texto8("C\xF3"
                                                        "digo") +
                                                 Texto16("Descricao") + Texto8("UN"));
    std::size_t tamanho = Bof(5).size() + sst.size() + Eof().size();
    for (const auto& [nome, _] : abas)
        tamanho += 4 + 6 + NomeAba(nome).size();
    std::string globais = Bof(5) + sst, corpos;
    for (const auto& [nome, registros] : abas) {
        globais += Registro(0x0085, U32(static_cast<std::uint32_t>(tamanho + corpos.size())) +
                                        U16(0) + NomeAba(nome));
        corpos += Bof(0x10) + registros + Eof();
    }
    return globais + Eof() + corpos;
}

std::string AbaBiffCompleta() {
    std::string r = Registro(0x0200, U32(0) + U32(4) + U16(0) + U16(6) + U16(0));
    r += Registro(0x00FD, Celula(0, 0) + U32(0)) + Registro(0x00FD, Celula(0, 1) + U32(1)) +
         Registro(0x00FD, Celula(0, 2) + U32(2));
    r += Registro(0x0203, Celula(1, 0) + F64(1234)) +
         Registro(0x0204, Celula(1, 1) + Texto8("Parafuso"));
    r += Registro(0x027E, Celula(1, 2) + U32((250u << 2) | 3));  // 2.50 as an integer /100
    r += Registro(0x00BD,
                  U16(2) + U16(0) + U16(0x0F) + U32((7u << 2) | 2) + U16(0x0F) +
                      U32(static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(0.5) >> 32)) +
                      U16(1));
    r += Registro(0x0205, Celula(2, 2) + std::string("\1\0", 2)) +
         Registro(0x0205, Celula(2, 3) + std::string("\x07\1", 2));
    r += Registro(0x0204, Celula(3, 0) + Texto16("Porca"));
    // A formula whose text result follows in a STRING record.
    r += Registro(0x0006,
                  Celula(3, 1) + std::string("\0\0\0\0\0\0\xFF\xFF", 8) + U16(0) + U32(0) + U16(0));
    r += Registro(0x0207, Texto8("calculado"));
    r += Registro(0x0006, Celula(3, 2) + F64(6) + U16(0) + U32(0) + U16(0));
    return r;
}

void Grava(const std::filesystem::path& dir, const std::string& nome, const std::string& bytes) {
    fuzz::GravaArquivo((dir / nome).string(), bytes);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: gera_sementes PASTA\n");
        return 2;
    }
    const std::filesystem::path raiz = argv[1];
    for (const char* alvo : {"xlsx", "xls", "csv", "parametros"})
        std::filesystem::create_directories(raiz / alvo);
    const std::string sep(fuzz::kSeparadorPartes);

    // xlsx: the parts as text, and the same packed, stored and deflated.
    const std::string ns = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const std::string folha =
        "<worksheet xmlns=\"" + ns +
        "\"><dimension ref=\"A1:E4\"/><sheetData>"
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
        "<c r=\"C1\" t=\"inlineStr\"><is><t>Preço</t></is></c></row>"
        "<row r=\"2\"><c r=\"A2\"><v>1234</v></c><c r=\"B2\" t=\"s\"><v>2</v></c>"
        "<c r=\"C2\" s=\"1\"><v>2.5</v></c><c r=\"D2\" t=\"b\"><v>1</v></c>"
        "<c r=\"E2\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c></row>"
        "<row><c><v>1E-5</v></c><c t=\"str\"><f>A1&amp;B1</f><v>ab</v></c>"
        "<c t=\"inlineStr\"><is><r><t>ri</t></r><r><t xml:space=\"preserve\"> co</t></r></is></c>"
        "</row><row r=\"4\"><c r=\"A4\" t=\"d\"><v>2024-01-15T00:00:00</v></c>"
        "<c r=\"B4\" t=\"s\"><v>3</v></c></row></sheetData></worksheet>";
    const std::string textos =
        "<sst xmlns=\"" + ns +
        "\" count=\"4\" uniqueCount=\"4\"><si><t>Código</t></si>"
        "<si><t>Descrição</t></si><si><r><t>U</t></r><r><t>N</t></r><rPh><t>x</t></rPh></si>"
        "<si><t/></si></sst>";
    const std::string segunda = "<worksheet xmlns=\"" + ns +
                                "\"><sheetData><row r=\"2\">"
                                "<c r=\"B2\"><v>-3.25</v></c></row></sheetData></worksheet>";
    const std::vector<std::string> partes =
        fuzz::PartesXlsx(folha + sep + textos + sep + sep + sep + segunda);
    Grava(raiz / "xlsx", "partes.txt", folha + sep + textos + sep + sep + sep + segunda);
    Grava(raiz / "xlsx", "longe.txt",
          "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"
          "<row r=\"1048576\"><c r=\"XFD1048576\"><v>7</v></c></row></sheetData></worksheet>");
    fuzz::GravaXlsx((raiz / "xlsx" / "armazenado.xlsx").string(), partes, false);
    fuzz::GravaXlsx((raiz / "xlsx" / "comprimido.xlsx").string(), partes, true);

    // xls: the workbook stream alone, and inside its container.
    const std::string fluxo = Fluxo({{"Produtos", AbaBiffCompleta()},
                                     {"Vazia", ""},
                                     {"Longe", Registro(0x0203, Celula(65535, 255) + F64(7))}});
    Grava(raiz / "xls", "fluxo.bin", fluxo);
    fuzz::GravaOle((raiz / "xls" / "pasta.xls").string(), fluxo);

    // csv: each delimiter, quoting, line ends, logical values, Windows-1252 and UTF-8 text.
    Grava(
        raiz / "csv", "ponto-e-virgula.csv",
        "CODIGO;NOME;PRECO;ATIVO\r\n1;\"Parafuso; sextavado\";2,50;TRUE\r\n2;\"aspas \"\"x\"\"\";;"
        "false\r\n");
    Grava(raiz / "csv", "virgula.csv", "\xEF\xBB\xBFNome,Obs\n\"linha1\nlinha2\",Ação\n,\n");
    Grava(raiz / "csv", "tab.csv", "a\tb\tc\n\xE7\xE3o\t1e5\t\"\n");

    // Named parameters among literals, quoted identifiers and comments.
    Grava(raiz / "parametros", "consulta.sql",
          "select CODIGO from CLASFISC where NCM = :NCM and DESCRICAO = 'a:b''c' -- :X\n");
    Grava(raiz / "parametros", "insere.sql",
          "insert into \"Cidades\" (\"NOME:\", UF) values (:Nome_1, :uf$) /* :Y */");
    Grava(raiz / "parametros", "misto.sql",
          "select ::a, :1, ':', \"x\"\"y\", '/*' from T where a=:b--");
    return 0;
}
