// The progress display of a run: lblAguarde, stbStatus and Barra show what the logic last set,
// and window events run while the loops go on. Both are rationed in time, so a run over many
// rows is not slowed down by painting, while the texts shown stay the logic's own.
#pragma once

#include "app/logica/Interfaces.h"

#include <QElapsedTimer>
#include <functional>

class TProgressoJanela : public IProgresso {
  public:
    using TMostra = std::function<void(const TProgresso&)>;

    // pinta paints the window at once, for MostraJa.
    explicit TProgressoJanela(TMostra mostra, std::function<void()> pinta = {},
                              int intervaloMs = 40);

    void Mudou(const TProgresso& progresso) override;
    // The first call after a pause always lets the events run; then at most once an interval.
    void ProcessaMensagens() override;

    // Shows the last state at once (before a message box).
    void MostraAgora();
    // Shows the last state and paints it before returning: no event will run for a while.
    void MostraJa() override;

  private:
    bool Venceu(const QElapsedTimer& relogio) const {
        return !relogio.isValid() || relogio.elapsed() >= intervaloMs_;
    }

    TMostra mostra_;
    std::function<void()> pinta_;
    int intervaloMs_;
    TProgresso ultimo_;
    bool pendente_ = false;
    QElapsedTimer desenho_;  // since the display was last brought up to date
    QElapsedTimer eventos_;  // since the window's events last ran
};
