// Answers a connection's lookups got from the database, remembered for the life of the
// transaction they were read or written in: a row the transaction created goes away with its
// rollback, so nothing remembered outlives it. Only what the database answered is kept; the
// caller decides which answers are safe to reuse.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class TTransacao;

class TMemoriaTransacao {
  public:
    explicit TMemoriaTransacao(const TTransacao& transacao) : transacao_(transacao) {}

    // The key of one lookup's answer: the lookup's name, then the values it was asked with, so
    // two lookups of the same table never take each other's answers.
    static std::string Chave(const char* busca, const std::string& a, const std::string& b = {});

    // nullptr when the active transaction has no answer for the key.
    const std::string* Busca(const std::string& chave);
    // Kept only while a transaction is active.
    void Guarda(const std::string& chave, const std::string& valor);

    // A savepoint was set: what is kept from now on can be forgotten again with it. A new mark
    // replaces the previous one.
    void Marca();
    // The work since the mark was rolled back: the answers kept since then go, the ones they
    // replaced come back.
    void VoltaAMarca();
    // No savepoint any more: answers are kept for the transaction again.
    void Desmarca();

  private:
    void Confere();

    const TTransacao& transacao_;
    unsigned long geracao_ = 0;
    std::unordered_map<std::string, std::string> valores_;
    bool marcada_ = false;
    // Since the mark: each key kept, with the answer it had before (none when it had none).
    std::vector<std::pair<std::string, std::optional<std::string>>> desdeAMarca_;
};
