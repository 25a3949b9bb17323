// Runs the conversor binary as an operator's shell would, and keeps what it said.
#pragma once

#include <string>
#include <vector>

namespace apoio {

struct TSaidaProcesso {
    int codigo = -1;    // the exit code
    std::string saida;  // stdout
    std::string erros;  // stderr
};

// ambiente changes the program's environment: "NOME=valor" sets a variable, "NOME" removes it.
TSaidaProcesso ExecutaConversor(const std::vector<std::string>& argumentos,
                                const std::vector<std::string>& ambiente = {});

}  // namespace apoio
