// Qt's own texts (the file dialog's labels and buttons, "Mostrar detalhes...") in Portuguese,
// from the translations that Debian installs with qt6-translations-l10n.
#pragma once

#include <memory>

class QTranslator;

// The loaded translation, to be installed on the application; nothing when it is not installed
// on this machine (Qt's texts then stay in English).
std::unique_ptr<QTranslator> TraducaoDoQt();
