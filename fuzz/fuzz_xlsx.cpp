// The xlsx reader, through the same entry as the program. An input that starts as a zip file is
// the workbook file itself (the container and its damage); any other input is the text of the
// package's parts (see Pacotes.h), packed here, so that mutations reach the XML the reader parses
// instead of failing the zip's checksums.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/Pacotes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    static const fuzz::TArquivoTemporario arquivo("xlsx");
    const std::string& caminho = arquivo.Caminho();
    const std::string_view entrada(reinterpret_cast<const char*>(dados), tamanho);
    if (entrada.substr(0, 4) == std::string_view("PK\3\4", 4))
        fuzz::GravaArquivo(caminho, entrada);
    else
        fuzz::GravaXlsx(caminho, fuzz::PartesXlsx(entrada));
    fuzz::LePlanilha(caminho);
    return 0;
}
