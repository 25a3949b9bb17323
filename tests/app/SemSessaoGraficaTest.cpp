// Without arguments the program opens the window; on a machine without a graphical session
// (a server reached by ssh, a container) Qt would abort it instead.
#include "tests/apoio/Processo.h"

#include <gtest/gtest.h>

namespace {

TEST(SemSessaoGraficaTest, SemDisplayDizQueAJanelaPrecisaDeUmaSessaoEApontaALinhaDeComando) {
    // The platform left to Qt's choice, and named as xcb: both need a display.
    for (const char* plataforma : {"QT_QPA_PLATFORM", "QT_QPA_PLATFORM=xcb"}) {
        auto r = apoio::ExecutaConversor({}, {"DISPLAY", "WAYLAND_DISPLAY", plataforma});
        EXPECT_EQ(r.codigo, 2) << plataforma << "\n" << r.erros;
        EXPECT_NE(r.erros.find("precisa de uma sessão gráfica"), std::string::npos) << r.erros;
        EXPECT_NE(r.erros.find("conversor --help"), std::string::npos) << r.erros;
        EXPECT_EQ(r.saida, "");
    }
}

}  // namespace
