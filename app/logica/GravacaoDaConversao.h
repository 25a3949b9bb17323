// The end of a run that went through all its records. Up to the last look before the commit a
// stop undoes the run; once the engine is committing, the run can no longer be stopped
// half-way, so a stop that comes then is told along with the success instead of being hidden
// by it.
#pragma once

#include <string>

class TGravacaoDaConversao {
  public:
    static constexpr const char* kGravando = "Gravando no banco ALMURO...";
    static constexpr const char* kAvisoInterrupcao =
        "A interrupção chegou durante a gravação: a conversão foi concluída.";

    // The last look: throws EInterrupcao when a stop was asked; else the commit phase begins.
    void Comeca();
    // From the last look until the run's end has been told.
    bool EmCurso() const { return emCurso_; }
    // The notice of a stop asked since the phase began; empty when none came.
    std::string Aviso() const;
    void Termina() { emCurso_ = false; }

  private:
    bool emCurso_ = false;
};
