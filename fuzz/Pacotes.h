// What the fuzz targets and the seed generator share: turning an input into a workbook file (an
// xlsx package from its parts, an OLE2 container around a BIFF8 stream) and reading a workbook
// file the way the program does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Separates the parts of an xlsx given as text: the first sheet's XML, the shared strings, the
// workbook, the workbook's relationships and a second sheet's XML, in that order. A part left
// out gets a plain default.
inline constexpr std::string_view kSeparadorPartes = "\n--parte--\n";

std::vector<std::string> PartesXlsx(std::string_view entrada);

// The package of those parts; stored entries unless comprime.
void GravaXlsx(const std::string& caminho, const std::vector<std::string>& partes,
               bool comprime = false);

// An OLE2 file with one stream.
void GravaOle(const std::string& caminho, std::string_view fluxo, const char* nome = "Workbook");

void GravaArquivo(const std::string& caminho, std::string_view bytes);

// A file of this process's own in the temporary folder, ending in .extensao, removed with the
// object (at the target's exit, for a static one).
class TArquivoTemporario {
  public:
    explicit TArquivoTemporario(const char* extensao);
    ~TArquivoTemporario();
    TArquivoTemporario(const TArquivoTemporario&) = delete;
    TArquivoTemporario& operator=(const TArquivoTemporario&) = delete;
    const std::string& Caminho() const { return caminho_; }

  private:
    std::string caminho_;
};

// Opens the workbook as the program does, lists its sheets and reads the first rows of each as
// the staging load and preview do, into a staging table. Aborts when two ways of reading the
// same cell disagree; a reader's own refusal (EPlanilha) is an expected outcome.
void LePlanilha(const std::string& caminho);

}  // namespace fuzz
