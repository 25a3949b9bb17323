// Whether the window has somewhere to open. Without a display Qt's platform plugin ends the
// program with an abort, so the start asks first and explains.
#pragma once

#include <string>

// "" when the window can open: a display (DISPLAY or WAYLAND_DISPLAY), or a platform chosen in
// QT_QPA_PLATFORM that draws without one (offscreen, vnc, eglfs...). Otherwise the message for
// the operator, which points at the command line.
std::string FaltaSessaoGrafica();
