#include "app/janela/SessaoGrafica.h"

#include <cstdlib>
#include <sstream>

namespace {

bool Definida(const char* variavel) {
    const char* valor = std::getenv(variavel);
    return valor && *valor;
}

// QT_QPA_PLATFORM is a list of platforms tried in turn ("wayland;xcb"), each with its options
// after ':'. Only xcb and the wayland ones need a display; any other in the list draws without.
bool PlataformaSemDisplay() {
    const char* valor = std::getenv("QT_QPA_PLATFORM");
    std::istringstream lista(valor ? valor : "");
    std::string item;
    while (std::getline(lista, item, ';')) {
        const std::string nome = item.substr(0, item.find(':'));
        if (!nome.empty() && nome != "xcb" && nome.rfind("wayland", 0) != 0)
            return true;
    }
    return false;
}

}  // namespace

std::string FaltaSessaoGrafica() {
    if (Definida("DISPLAY") || Definida("WAYLAND_DISPLAY") || PlataformaSemDisplay())
        return "";
    return "A janela do conversor precisa de uma sessão gráfica, e não há nenhuma aqui (DISPLAY e "
           "WAYLAND_DISPLAY não estão definidas).\n"
           "Para converter pela linha de comando, veja: conversor --help";
}
