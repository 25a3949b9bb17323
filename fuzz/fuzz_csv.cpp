// The csv reader, through the same entry as the program: the input is the file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/Pacotes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    static const std::string caminho = fuzz::CaminhoTemporario("csv");
    fuzz::GravaArquivo(caminho, std::string_view(reinterpret_cast<const char*>(dados), tamanho));
    fuzz::LePlanilha(caminho);
    return 0;
}
