#include "app/janela/ProgressoJanela.h"

#include <QCoreApplication>

TProgressoJanela::TProgressoJanela(TMostra mostra, int intervaloMs)
    : mostra_(std::move(mostra)), intervaloMs_(intervaloMs) {}

void TProgressoJanela::Mudou(const TProgresso& progresso) {
    ultimo_ = progresso;
    pendente_ = true;
    // A step that takes long between two rounds of events still shows where it is.
    if (Venceu())
        MostraAgora();
}

void TProgressoJanela::ProcessaMensagens() {
    if (!Venceu())
        return;
    MostraAgora();
    QCoreApplication::processEvents();
    relogio_.restart();
}

void TProgressoJanela::MostraAgora() {
    if (pendente_ && mostra_)
        mostra_(ultimo_);
    pendente_ = false;
    relogio_.restart();
}
