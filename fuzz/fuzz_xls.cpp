// The xls reader, through the same entry as the program. An input that starts as an OLE2 file is
// the workbook file itself (the container and its damage); any other input is the BIFF8 workbook
// stream, put here into a container of its own, so that mutations reach the records.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/Pacotes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    static const fuzz::TArquivoTemporario arquivo("xls");
    const std::string& caminho = arquivo.Caminho();
    const std::string_view entrada(reinterpret_cast<const char*>(dados), tamanho);
    if (entrada.substr(0, 8) == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
        fuzz::GravaArquivo(caminho, entrada);
    else
        fuzz::GravaOle(caminho, entrada);
    fuzz::LePlanilha(caminho);
    return 0;
}
