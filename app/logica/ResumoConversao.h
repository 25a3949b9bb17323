// What a run did, as the success box's detail and the command line's lines after the success
// line: the rows of the kind's tables with the account of each source beneath them, the rows
// the lookups added, the warnings and the time.
#pragma once

#include <chrono>
#include <map>
#include <string>

class TAvisosDaExecucao;
class TContaDaConversao;
class TBancoFirebird;
enum class TTipoConversao;

class TResumoConversao {
  public:
    // The run begins: its clock starts.
    void IniciaRelogio();
    // Before the first write: the kind of the run and the rows its lookup tables hold, counted
    // in the target's current transaction.
    void ContaAntes(TBancoFirebird& alvo, TTipoConversao tipo);
    // The summary, counted in the target's current transaction (starting one when none is
    // active; ending it is the caller's). A table that cannot be counted is left out rather than
    // failing a run that went well. UTF-8.
    std::string Texto(TBancoFirebird& alvo, const TAvisosDaExecucao& avisos,
                      const TContaDaConversao& conta) const;

  private:
    std::chrono::steady_clock::time_point inicio_ = std::chrono::steady_clock::now();
    TTipoConversao tipo_{};
    std::map<std::string, long> auxiliaresAntes_;
};
