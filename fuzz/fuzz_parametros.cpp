// The scanner that turns a statement's named parameters into "?". Besides not failing, it must
// leave nothing for a second pass to find, and every name it takes costs the statement exactly
// the name: ":NOME" becomes "?".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "conversion/Consulta.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const std::string sql(reinterpret_cast<const char*>(dados), tamanho);
    std::vector<std::string> nomes;
    const std::string trocado = TrocaParametrosNomeados(sql, nomes);
    std::size_t tamanhoNomes = 0;
    for (const std::string& n : nomes) {
        if (n.empty())
            std::abort();
        tamanhoNomes += n.size();
    }
    if (trocado.size() != sql.size() - tamanhoNomes)
        std::abort();
    std::vector<std::string> outros;
    if (TrocaParametrosNomeados(trocado, outros) != trocado || !outros.empty())
        std::abort();
    return 0;
}
