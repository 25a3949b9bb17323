// Writes the program's icon as conversor.png in one folder per size
// (<pasta>/<lado>x<lado>/apps/conversor.png), the layout of a hicolor icon theme.
#include "app/janela/Icone.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: gera_icones PASTA\n");
        return 2;
    }
    // Drawing needs no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication aplicacao(argc, argv);
    const QString pasta = QString::fromLocal8Bit(argv[1]);
    for (int lado : LadosDoIcone()) {
        const QString tamanho = QStringLiteral("%1x%1").arg(lado);
        const QString destino = pasta + "/" + tamanho + "/apps";
        if (!QDir().mkpath(destino) || !DesenhaIcone(lado).save(destino + "/conversor.png")) {
            std::fprintf(stderr, "gera_icones: não consegui gravar %s\n", qPrintable(destino));
            return 1;
        }
    }
    return 0;
}
