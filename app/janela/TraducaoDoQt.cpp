#include "app/janela/TraducaoDoQt.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

std::unique_ptr<QTranslator> TraducaoDoQt() {
    auto traducao = std::make_unique<QTranslator>();
    if (!traducao->load(QLocale(QStringLiteral("pt_BR")), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    return traducao;
}
