// The csv reader, through the same entry as the program: the input is the file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/Pacotes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    static const fuzz::TArquivoTemporario arquivo("csv");
    const std::string& caminho = arquivo.Caminho();
    fuzz::GravaArquivo(caminho, std::string_view(reinterpret_cast<const char*>(dados), tamanho));
    fuzz::LePlanilha(caminho);
    return 0;
}
