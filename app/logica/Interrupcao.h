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

    // Catches SIGINT, SIGTERM and SIGHUP for the rest of the process (a SIGHUP ignored from the
    // start, as under nohup, stays ignored), and keeps the embedded engine from shutting its
    // connections down on them. Safe to call more than once.
    static void InstalaSinais();
    // Besides recording it, every signal writes one byte to this descriptor (-1: none), so that
    // an event loop waiting on the other end of a pipe learns of it.
    static void AvisaPor(int descritor);

    // Records a request as a signal would; the first request is the one that counts.
    static void Pede(int sinal);
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
