// The program's icon, drawn here as the header's logo is: a sheet and a small database beside
// an arrow into the large database of the target. The window uses it, and the package installs
// it in the sizes a desktop asks for (pacote/GeraIcones.cpp).
#pragma once

#include <QIcon>
#include <QImage>
#include <vector>

// The sizes, in pixels, of the square pictures a desktop's icon theme holds.
const std::vector<int>& LadosDoIcone();

// The icon in a square of lado pixels, on a transparent background.
QImage DesenhaIcone(int lado);

// Every size of the icon, for the window and the task bar.
QIcon IconeDoPrograma();
