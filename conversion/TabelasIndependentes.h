// Whether statements on some tables may run before the held statements that write others: a
// lookup of a city need not wait for the clients held before it to be written.
//
// They may when they share no table, and when nothing the engine does on its own joins them:
// none of their tables has a trigger (it may read or write any table), is a view (it reads
// others), or refers by a foreign key to a held one (its insert reads that table). A held table
// that refers to one of theirs is no bar: a held row only refers to rows that were there before
// it was held.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

class TBancoFirebird;

class TTabelasIndependentes {
  public:
    // The catalog is read once per table.
    bool Independentes(TBancoFirebird& banco, const std::vector<std::string>& adiante,
                       const std::vector<std::string>& retidas);
    // The tables may have changed.
    void Esquece() { ligacoes_.clear(); }

  private:
    struct TLigacoes {
        bool solta = false;  // a table of its own, with no trigger
        std::vector<std::string> referidas;
    };
    const TLigacoes& Ligacoes(TBancoFirebird& banco, const std::string& tabela);

    std::unordered_map<std::string, TLigacoes> ligacoes_;
};
