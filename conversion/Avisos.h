// Warnings for the operator that do not stop a run ("Erro ao converter Unidade."). The window
// shows them as an "Alerta" box, the command line prints "Alerta: <text>", tests record them.
#pragma once

#include <string>

class IAvisos {
  public:
    virtual ~IAvisos() = default;
    // The text is UTF-8.
    virtual void Alerta(const std::string& texto) = 0;
};
