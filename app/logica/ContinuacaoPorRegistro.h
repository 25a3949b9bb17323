// What lets a check go past a record that fails: each record runs inside a savepoint of the
// run's transaction (set when the record first reaches the database, see TPontoAdiado); a record
// that fails is rolled back to it whole (a product and its detail alike), the lookups forget the
// codes they created inside it, the mapping's writers drop its values, and the failure is listed
// with the place a run would name. Failures that make going on meaningless (the connection lost, a
// stop asked for, a table or column that is missing) still end the check at once. Outside a check
// records run as they always did: no savepoint, and the first failure ends the run.
#pragma once

#include "app/logica/ProblemaDaConferencia.h"
#include "common/Erros.h"

#include <exception>
#include <functional>
#include <string>
#include <vector>

class TBancoFirebird;
class TContaDaConversao;
class TLugarConversao;

class TContinuacaoPorRegistro {
  public:
    TContinuacaoPorRegistro(TBancoFirebird& alvo, TLugarConversao& lugar, TContaDaConversao& conta)
        : alvo_(alvo), lugar_(lugar), conta_(conta) {}

    // A check goes past failing records; a run stops at the first.
    void Liga(bool ligada) { ligada_ = ligada; }
    bool Ligada() const { return ligada_; }
    // A new run: no problem listed yet.
    void Comeca() { problemas_.clear(); }

    // One record. In a check a failure is listed, the record undone and descarta called (it
    // resets the writers as a successful insert does); the result says whether the record went
    // through. In a run the failure leaves as it came.
    bool Registro(const std::function<void()>& converte, const std::function<void()>& descarta);

    // A cell's value. In a check a value that cannot be read is listed where it stands, the
    // record is marked as failed (it will be undone at its end) and substituto stands in, so
    // that the record's other cells are checked too.
    template <class F, class T>
    T Valor(F&& le, T substituto) {
        if (!ligada_ || !emRegistro_)
            return le();
        try {
            return le();
        } catch (const EConversao& e) {
            Lista(e);
            registroFalhou_ = true;
            return substituto;
        }
    }

    // A failure that the check lists and goes past though it is no record's (the codes of the
    // sheet that cannot fit); in a run it is thrown as it came. Returns true when it was listed.
    bool ListaOuLanca(const std::function<void()>& verifica);

    // Whether a failure ends a check at once.
    static bool EncerraAConferencia(const std::exception& e);

    const std::vector<TProblema>& Problemas() const { return problemas_; }

  private:
    void Lista(const std::exception& e);
    void Desfaz();

    TBancoFirebird& alvo_;
    TLugarConversao& lugar_;
    TContaDaConversao& conta_;
    bool ligada_ = false;
    bool emRegistro_ = false;
    bool registroFalhou_ = false;
    size_t primeiroDoRegistro_ = 0;  // the first problem listed for the current record
    std::vector<TProblema> problemas_;
};
