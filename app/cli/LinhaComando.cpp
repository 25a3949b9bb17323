#include "app/cli/LinhaComando.h"

#include <iostream>

namespace cli {

int Executa(int argc, char** argv) {
    (void)argc;
    (void)argv;
    std::cerr << "uso: conversor run|sheets|preview|sample ...\n";
    return 2;
}

}  // namespace cli
