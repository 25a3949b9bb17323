// The warnings of one run on their way to the operator: a text already shown in this run is
// only counted, so that a lookup failing on every record costs one box, not thousands; the
// run's summary then says how often each one came.
#pragma once

#include "conversion/Avisos.h"

#include <map>
#include <string>
#include <vector>

class TAvisosDaExecucao : public IAvisos {
  public:
    explicit TAvisosDaExecucao(IAvisos& destino) : destino_(destino) {}

    // A new run: nothing shown yet.
    void Comeca();
    void Alerta(const std::string& texto) override;

    struct TContagem {
        std::string texto;
        long vezes = 0;
    };
    // Each distinct text with how many times it came, in the order they first came.
    const std::vector<TContagem>& Contagens() const { return contagens_; }
    // The lines of the summary, "Avisos: nenhum" or one line per text with its count. UTF-8.
    std::string Resumo() const;

  private:
    IAvisos& destino_;
    std::vector<TContagem> contagens_;
    std::map<std::string, size_t> indice_;
};
