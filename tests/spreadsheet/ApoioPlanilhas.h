// Building workbook files inside the tests: a temporary folder, hand-made xlsx packages (libzip),
// hand-made BIFF8 streams in OLE2 containers (libgsf), and the fixtures folder.
#pragma once

#include "tests/spreadsheet/BytesBiff.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace apoio_planilha {

class TPastaTemporaria {
  public:
    TPastaTemporaria();
    ~TPastaTemporaria();
    TPastaTemporaria(const TPastaTemporaria&) = delete;
    TPastaTemporaria& operator=(const TPastaTemporaria&) = delete;
    std::string Arquivo(const std::string& nome) const { return (raiz_ / nome).string(); }

  private:
    std::filesystem::path raiz_;
};

std::string Fixture(const std::string& nome);

void GravaArquivo(const std::string& caminho, const std::string& bytes);
std::string LeArquivo(const std::string& caminho);

using TEntradas = std::vector<std::pair<std::string, std::string>>;  // name, content

// A zip of the given entries, deflated.
void GravaZip(const std::string& caminho, const TEntradas& entradas);

// An OLE2 compound file with the given streams.
void GravaOle(const std::string& caminho, const TEntradas& fluxos);

// A minimal xlsx: one worksheet part per sheet, shared strings when given. Each sheet is
// {name, sheetData inner XML}; the workbook's relationships use relative targets unless
// alvosAbsolutos.
struct TAbaXml {
    TAbaXml(std::string n, std::string d, std::string t = "worksheet", std::string a = "")
        : nome(std::move(n)), dados(std::move(d)), tipo(std::move(t)), antes(std::move(a)) {}
    std::string nome;
    std::string dados;  // what goes inside <sheetData>
    std::string tipo;   // relationship type: worksheet, chartsheet, dialogsheet...
    std::string antes;  // XML before <sheetData> (a <dimension>, say)
};
TEntradas PacoteXlsx(const std::vector<TAbaXml>& abas, const std::string& textosXml = "",
                     bool alvosAbsolutos = false);

// BIFF8 record building (the record bytes themselves: BytesBiff.h).
// A BIFF8 text with 8-bit characters (a Latin-1 string) or UTF-16LE (from UTF-8).
std::string TextoBiff8Compacto(const std::string& latin1, bool cch16 = true);
std::string TextoBiff8Utf16(const std::string& utf8, bool cch16 = true);

// A whole BIFF8 workbook stream: globals with BOUNDSHEET records (name, type) pointing at the
// given sheet substreams (each without BOF/EOF: they are added), then the substreams.
// globaisExtra is placed among the globals (SST, FILEPASS...). A sheet's type 0 gets a worksheet
// BOF, 2 a chart BOF, 1 a macro BOF (0x0040).
struct TFolhaBiff {
    TFolhaBiff(std::string n, unsigned t, std::string r, bool u = false)
        : nome(std::move(n)), tipo(t), registros(std::move(r)), nomeUtf16(u) {}
    std::string nome;  // Latin-1 bytes, or UTF-8 with nomeUtf16
    unsigned tipo;
    std::string registros;
    bool nomeUtf16;
};
std::string FluxoBiff8(const std::vector<TFolhaBiff>& folhas, const std::string& globaisExtra = "");
// The same in BIFF5 (Excel 5.0 and 95): sheet names are 8-bit bytes in the file's code page.
std::string FluxoBiff5(const std::vector<TFolhaBiff>& folhas, const std::string& globaisExtra = "");

}  // namespace apoio_planilha
