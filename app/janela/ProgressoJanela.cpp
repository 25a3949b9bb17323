#include "app/janela/ProgressoJanela.h"

#include <QCoreApplication>

TProgressoJanela::TProgressoJanela(TMostra mostra, std::function<void()> pinta, int intervaloMs)
    : mostra_(std::move(mostra)), pinta_(std::move(pinta)), intervaloMs_(intervaloMs) {}

void TProgressoJanela::Mudou(const TProgresso& progresso) {
    ultimo_ = progresso;
    pendente_ = true;
    // A step that takes long between two rounds of events still shows where it is.
    if (Venceu(desenho_))
        MostraAgora();
}

void TProgressoJanela::ProcessaMensagens() {
    if (!Venceu(eventos_))
        return;
    MostraAgora();
    QCoreApplication::processEvents();
    eventos_.restart();
}

void TProgressoJanela::MostraAgora() {
    if (pendente_ && mostra_)
        mostra_(ultimo_);
    pendente_ = false;
    desenho_.restart();
}

void TProgressoJanela::MostraJa() {
    pendente_ = true;
    MostraAgora();
    if (pinta_)
        pinta_();
}
