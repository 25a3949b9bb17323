// Program start: with no arguments the window opens; with a subcommand the same logic runs
// headless (see app/cli).
#include "app/cli/LinhaComando.h"

#ifdef CONVERSOR_COM_JANELA
#include "app/Principal.h"
#endif

int main(int argc, char** argv) {
#ifdef CONVERSOR_COM_JANELA
    if (argc <= 1)
        return AbreJanelaPrincipal(argc, argv);
#endif
    return cli::Executa(argc, argv);
}
