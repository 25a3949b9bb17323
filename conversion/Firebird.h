// What the layer shares with its own implementation files: the client library's entry points
// and a status object that turns a failed call into an EBancoDados.
#pragma once

#include <firebird/Interface.h>

namespace fb {

Firebird::IMaster* Master();
Firebird::IUtil* Util();

// A status for one call sequence; Verifica() raises the database's message when a call failed.
class Status {
  public:
    Status();
    ~Status();
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;

    Firebird::CheckStatusWrapper* operator&() { return &wrapper_; }
    void Verifica();
    bool Falhou();
    void Limpa() { wrapper_.init(); }

  private:
    Firebird::IStatus* status_;
    Firebird::CheckStatusWrapper wrapper_;
};

// Frees a prepared statement on the server; when the connection is already gone, only the
// client's handle is left to release.
void LiberaComando(Firebird::IStatement* statement);

// Character set id of WIN1252 in Firebird.
constexpr unsigned kCharsetWin1252 = 53;

}  // namespace fb
