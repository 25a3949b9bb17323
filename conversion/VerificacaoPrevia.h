// The check a run makes before its first statement that writes: every table and column that the
// statements of the run name must be in its database, as the system tables list them. One
// message names everything missing, per database and per table, so that the operator sees the
// whole of it at once instead of one engine error per attempt.
#pragma once

#include "conversion/BancoFirebird.h"

#include <map>
#include <set>
#include <string>
#include <vector>

class TVerificacaoPrevia {
  public:
    TVerificacaoPrevia(TBancoFirebird& alvo, TBancoFirebird& origem)
        : alvo_(alvo), origem_(origem) {}

    // The statement will run on the target (the source): what it names must be there.
    void ExigeNoAlvo(const std::string& comando) { Exige(exigidoAlvo_, comando); }
    void ExigeNaOrigem(const std::string& comando) { Exige(exigidoOrigem_, comando); }

    // Reads both catalogues and fails with an EConversor when anything is missing; a target
    // that has none of the tables gets a sentence saying it is not an Almuro database.
    void Verifica();

  private:
    using TExigido = std::map<std::string, std::vector<std::string>>;  // table -> columns
    static void Exige(TExigido& exigido, const std::string& comando);

    TBancoFirebird& alvo_;
    TBancoFirebird& origem_;
    TExigido exigidoAlvo_;
    TExigido exigidoOrigem_;
};
