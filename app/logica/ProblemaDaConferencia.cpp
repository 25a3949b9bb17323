#include "app/logica/ProblemaDaConferencia.h"

std::string TProblema::TextoNumaLinha() const {
    std::string r;
    for (size_t i = 0; i < texto.size(); ++i) {
        const char c = texto[i];
        if (c != '\r' && c != '\n') {
            r += c;
            continue;
        }
        // "\r\n" is one break.
        if (c == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n')
            ++i;
        r += " / ";
    }
    return r;
}

std::string TProblema::Linha() const {
    return (lugar.empty() ? std::string() : lugar + ": ") + TextoNumaLinha();
}
