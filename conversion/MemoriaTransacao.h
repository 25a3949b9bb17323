// Answers a connection's lookups got from the database, remembered for the life of the
// transaction they were read or written in: a row the transaction created goes away with its
// rollback, so nothing remembered outlives it. Only what the database answered is kept; the
// caller decides which answers are safe to reuse.
#pragma once

#include <string>
#include <unordered_map>

class TTransacao;

class TMemoriaTransacao {
  public:
    explicit TMemoriaTransacao(const TTransacao& transacao) : transacao_(transacao) {}

    // nullptr when the active transaction has no answer for the key.
    const std::string* Busca(const std::string& chave);
    // Kept only while a transaction is active.
    void Guarda(const std::string& chave, const std::string& valor);

  private:
    void Confere();

    const TTransacao& transacao_;
    unsigned long geracao_ = 0;
    std::unordered_map<std::string, std::string> valores_;
};
