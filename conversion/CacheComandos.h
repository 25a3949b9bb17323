// The prepared statements of one connection, kept by their text: a statement that runs again
// only binds and executes. Preparing is most of what a literal statement costs, and through a
// server every prepare is a round trip. Statements survive commit and rollback; the connection
// frees them all before it detaches, and before a script may change the tables they were
// compiled against.
#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <unordered_map>

namespace Firebird {
class IAttachment;
class ITransaction;
class IStatement;
}  // namespace Firebird

class TCacheComandos {
  public:
    // The least recently used statement goes when a new one would pass the limit.
    explicit TCacheComandos(size_t limite = 64) : limite_(limite) {}
    ~TCacheComandos();
    TCacheComandos(const TCacheComandos&) = delete;
    TCacheComandos& operator=(const TCacheComandos&) = delete;

    // The statement for the text, prepared now when it is not kept. The cache keeps ownership:
    // the pointer is good until the next call.
    Firebird::IStatement* Prepara(Firebird::IAttachment* att, Firebird::ITransaction* tra,
                                  const std::string& sql, int dialeto);
    void Libera();
    size_t Tamanho() const { return itens_.size(); }

  private:
    struct TItem {
        std::string sql;
        Firebird::IStatement* statement;
    };
    size_t limite_;
    std::list<TItem> itens_;  // the most recently used first
    std::unordered_map<std::string, std::list<TItem>::iterator> indice_;
};
