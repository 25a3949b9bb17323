// The conversor binary as a child process that the test starts and waits for apart: to run it
// while the test does something else (holds a row, starts another run), or under a file-size
// limit as an operator's shell sets one (ulimit -f).
#pragma once

#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/Processo.h"

#include <sys/types.h>

#include <string>
#include <vector>

namespace apoio {

class TProcessoConversor {
  public:
    // limiteArquivo: the largest file, in bytes, the child may write (0: no limit).
    explicit TProcessoConversor(const std::vector<std::string>& argumentos,
                                long long limiteArquivo = 0);
    ~TProcessoConversor();
    TProcessoConversor(const TProcessoConversor&) = delete;
    TProcessoConversor& operator=(const TProcessoConversor&) = delete;

    // Whether the child has ended (it is not waited for).
    bool Terminou();
    // Waits for the end. The code is the exit code, or 128 + the signal that ended the child, as
    // a shell reports it.
    TSaidaProcesso Espera();

  private:
    TDiretorioTemporario dir_;
    pid_t pid_ = -1;
    int estado_ = 0;
    bool terminou_ = false;
};

}  // namespace apoio
