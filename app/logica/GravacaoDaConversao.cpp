#include "app/logica/GravacaoDaConversao.h"

#include "app/logica/Interrupcao.h"

void TGravacaoDaConversao::Comeca() {
    TInterrupcao::Verifica();
    emCurso_ = true;
}

std::string TGravacaoDaConversao::Aviso() const {
    if (emCurso_ && TInterrupcao::Pedida())
        return kAvisoInterrupcao;
    return {};
}
