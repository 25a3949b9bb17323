#include "app/cli/LinhaComando.h"

#include "app/cli/ComandoAmostra.h"
#include "app/cli/ComandoPlanilha.h"
#include "app/cli/ComandoRun.h"

#include <iostream>
#include <string>
#include <vector>

namespace cli {

namespace {
const char* const kUso =
    "uso: conversor                      abre a janela\n"
    "     conversor run --kind products|clients|suppliers --target ALMURO --source TESSALY\n"
    "                   --workbook ARQUIVO [--sheet N|NOME] [--last-row N]\n"
    "     conversor sheets ARQUIVO\n"
    "     conversor preview ARQUIVO [--sheet N|NOME] [--last-row N]\n"
    "     conversor sample PASTA [--rows N] [--seed S]\n";
}  // namespace

int Executa(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << kUso;
        return 2;
    }
    const std::string comando = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (comando == "run")
        return ExecutaRun(args);
    if (comando == "sheets")
        return ExecutaSheets(args);
    if (comando == "preview")
        return ExecutaPreview(args);
    if (comando == "sample")
        return ExecutaAmostra(args);
    if (comando == "--help" || comando == "-h" || comando == "help") {
        std::cout << kUso;
        return 0;
    }
    std::cerr << "conversor: comando desconhecido: " << comando << "\n" << kUso;
    return 2;
}

}  // namespace cli
