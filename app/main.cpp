// Program start: with no arguments the window opens; with a subcommand the same logic runs
// headless (see app/cli).
#include "app/cli/LinhaComando.h"

#ifdef CONVERSOR_COM_JANELA
#include "app/Principal.h"
#endif

#include <csignal>

namespace {

// A file-size limit (ulimit -f) must make the engine's write fail, which the run reports and rolls
// back, instead of killing the process by SIGXFSZ without a word.
void FalhaEscritaAlemDoLimiteDeArquivo() {
    std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
    FalhaEscritaAlemDoLimiteDeArquivo();
#ifdef CONVERSOR_COM_JANELA
    if (argc <= 1)
        return AbreJanelaPrincipal(argc, argv);
#endif
    return cli::Executa(argc, argv);
}
