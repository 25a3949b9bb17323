// A savepoint set only when something is about to reach the database under it. A checked record
// whose lookups are all remembered reaches the database once, with the block of its held rows:
// that one statement the engine undoes whole when it refuses it, so the record needs no
// savepoint of its own, and through a server it costs one round trip instead of two.
#pragma once

#include <string>

class TPontoAdiado {
  public:
    // Asks for the savepoint that this statement sets; it is set before the next statement.
    void Pede(std::string sql) {
        sql_ = std::move(sql);
        pedido_ = true;
        posto_ = false;
    }
    // Ends the request; whether the savepoint was set since it was made.
    bool Encerra() {
        const bool posto = posto_;
        pedido_ = posto_ = false;
        return posto;
    }
    // Whether a statement must set it first; a block let go alone does not (see TDispensa).
    bool Pendente(bool bloco) const { return pedido_ && !posto_ && !(bloco && dispensado_); }
    const std::string& Sql() const { return sql_; }
    void Posto() { posto_ = true; }

    // While one lives, a block of held rows runs without setting the savepoint: nothing else of
    // the record reached the database and none of its values failed, so the block's own undoing
    // is the record's. The statements run one by one after a refused block still set it.
    class TDispensa {
      public:
        explicit TDispensa(TPontoAdiado& ponto) : ponto_(ponto) { ponto_.dispensado_ = true; }
        ~TDispensa() { ponto_.dispensado_ = false; }
        TDispensa(const TDispensa&) = delete;
        TDispensa& operator=(const TDispensa&) = delete;

      private:
        TPontoAdiado& ponto_;
    };

  private:
    std::string sql_;
    bool pedido_ = false;
    bool posto_ = false;
    bool dispensado_ = false;
};
