#include "app/cli/LinhaComando.h"

#include "app/cli/ComandoAmostra.h"

#include <iostream>
#include <string>
#include <vector>

namespace cli {

int Executa(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "sample") {
        return ExecutaAmostra(std::vector<std::string>(argv + 2, argv + argc));
    }
    std::cerr << "uso: conversor run|sheets|preview|sample ...\n";
    return 2;
}

}  // namespace cli
