// A hook for the screenshot script only: with CONVERSOR_DEMO_PASTA naming a folder made by
// `conversor sample`, the window opens on that sample site, chooses its Almuro and Tessaly
// databases and its products workbook through the buttons, as an operator would, and presses
// "Efetuar Conversão" once. Without the variable nothing changes.
#pragma once

#include "app/logica/Interfaces.h"

#include <memory>

class QWidget;

// The file dialog of the demonstration, or nullptr when there is none.
std::unique_ptr<IEscolhaArquivo> EscolhaDaDemonstracao();

// Clicks the buttons once the window's event loop runs (only when there is a demonstration).
void IniciaDemonstracao(QWidget& janela);
