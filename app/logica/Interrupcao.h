// Stopping a run from outside it: SIGINT, SIGTERM or SIGHUP, or the operator closing the
// window. The request is only recorded where it arrives; the run looks at it once per row or
// record (and before its commit) and ends through its normal error path, so everything it
// wrote is rolled back and nothing is torn down under a running loop.
#pragma once

#include "common/Erros.h"

// The run stopped because an interruption was asked for.
class EInterrupcao : public EConversor {
  public:
    EInterrupcao();
};

class TInterrupcao {
  public:
    static constexpr const char* kMensagem = "Conversão interrompida: nada foi gravado.";
    // What the window records when the operator, not a signal, asked for the stop.
    static constexpr int kPedidoDoOperador = -1;

    // Takes SIGINT, SIGTERM and SIGHUP away from every thread of the process and hands them to
    // one thread of its own, which records them as stops. Must be the first thing the program
    // does: threads inherit the blocked set from the thread that starts them, so no thread
    // started later (by Qt or the database engine) and no handler installed later ever sees
    // these signals. A SIGHUP ignored from the start (nohup) stays ignored; SIGINT and SIGTERM
    // are taken even when ignored, as a shell leaves SIGINT for a job it starts in the
    // background: whoever sends them means the run to stop. Safe to call more than once.
    static void TomaSinais();
    // The first half of TomaSinais, safe before the program's libraries are initialised: the
    // signals are blocked and left pending until TomaSinais starts the thread that takes them.
    static void BloqueiaSinais();
    // For a command with nothing to undo: from now on a signal (and one that already came)
    // ends the process by the signal's own default action, as if it had never been taken.
    static void EncerraAoSinal();
    // Besides recording it, every signal writes one byte to this descriptor (-1: none), so that
    // an event loop waiting on the other end of a pipe learns of it.
    static void AvisaPor(int descritor);

    // Records a request as a signal would; the first request is the one that counts.
    static void Pede(int sinal);
    // Whether a stop was asked. A signal sent before the call is always seen, even one that the
    // thread taking the signals has not got to yet.
    static bool Pedida();
    // The signal that asked (kPedidoDoOperador for the window's close box), 0 when none.
    static int Sinal();
    // Throws EInterrupcao when a stop was asked for.
    static void Verifica();
    // The exit code of a command that did not commit: 130 after SIGINT, 143 after SIGTERM or
    // SIGHUP, else the code it had.
    static int CodigoDeSaida(int codigo);
    // Forgets the request (a new run in the same process).
    static void Limpa();
};
