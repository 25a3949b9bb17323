#include "app/cli/LinhaComando.h"

#include "app/cli/Analisador.h"
#include "app/cli/ComandoAmostra.h"
#include "app/cli/ComandoPlanilha.h"
#include "app/cli/ComandoRun.h"

namespace cli {

int Executa(int argc, char** argv) {
    const TComandoLido lido = Analisa(argc, argv);
    if (lido.comando == "run")
        return ExecutaRun(lido.opcoes);
    if (lido.comando == "check")
        return ExecutaCheck(lido.opcoes);
    if (lido.comando == "sheets")
        return ExecutaSheets(lido.opcoes);
    if (lido.comando == "preview")
        return ExecutaPreview(lido.opcoes);
    if (lido.comando == "sample")
        return ExecutaAmostra(lido.opcoes);
    return lido.codigo;
}

}  // namespace cli
