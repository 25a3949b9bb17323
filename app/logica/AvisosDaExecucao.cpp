#include "app/logica/AvisosDaExecucao.h"

void TAvisosDaExecucao::Comeca() {
    contagens_.clear();
    indice_.clear();
}

void TAvisosDaExecucao::Alerta(const std::string& texto) {
    auto [it, novo] = indice_.emplace(texto, contagens_.size());
    if (!novo) {
        ++contagens_[it->second].vezes;
        return;
    }
    contagens_.push_back({texto, 1});
    destino_.Alerta(texto);
}

std::string TAvisosDaExecucao::Resumo() const {
    if (contagens_.empty())
        return "Avisos: nenhum";
    std::string r = "Avisos:";
    for (const TContagem& c : contagens_) {
        std::string umaLinha = c.texto;
        for (char& ch : umaLinha) {
            if (ch == '\r' || ch == '\n')
                ch = ' ';
        }
        r += "\n  " + std::to_string(c.vezes) + (c.vezes == 1 ? " vez: " : " vezes: ") + umaLinha;
    }
    return r;
}
