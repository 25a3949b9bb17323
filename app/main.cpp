// Program start: with no arguments the window opens; with a subcommand the same logic runs
// headless (see app/cli).
#include "app/cli/LinhaComando.h"
#include "app/logica/Interrupcao.h"

#ifdef CONVERSOR_COM_JANELA
#include "app/Principal.h"
#endif

#include <csignal>

namespace {

// Runs before the constructors of every library the program links (Qt's, the database
// client's), which take a noticeable part of a second on a loaded machine: a stop sent then
// waits, pending, instead of killing the process by the signal's default action.
void BloqueiaSinaisAntesDasBibliotecas(int, char**, char**) {
    TInterrupcao::BloqueiaSinais();
}
__attribute__((section(".preinit_array"),
               used)) void (*const bloqueiaCedo)(int, char**,
                                                 char**) = BloqueiaSinaisAntesDasBibliotecas;

// A file-size limit (ulimit -f) must make the engine's write fail, which the run reports and rolls
// back, instead of killing the process by SIGXFSZ without a word.
void FalhaEscritaAlemDoLimiteDeArquivo() {
    std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
    FalhaEscritaAlemDoLimiteDeArquivo();
    // Before anything starts a thread: each thread inherits the signals blocked here, and they
    // are all taken by one thread of our own.
    TInterrupcao::TomaSinais();
#ifdef CONVERSOR_COM_JANELA
    if (argc <= 1)
        return AbreJanelaPrincipal(argc, argv);
#endif
    return cli::Executa(argc, argv);
}
