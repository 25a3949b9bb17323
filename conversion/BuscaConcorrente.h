// A lookup row (a city, a unit, a fiscal classification) created while another run on the same
// database may be creating it too. A run's transaction reads the snapshot it started with, so it
// never sees a row that another run created and committed since: it would create the same city
// again under another code, or take a code the other run already gave to another row and be
// refused as a duplicate key (after waiting for that run to end). So, once the run's own lookup
// has missed, the committed rows are asked too, the new code follows the highest one of either,
// and an insert refused as a duplicate key is looked up among the committed rows once more.
#pragma once

#include "conversion/BancoFirebird.h"
#include "conversion/RecusaDoComando.h"

#include <functional>
#include <string>
#include <vector>

// A select of the row's code by its values, with its named parameters and the code's field.
struct TBuscaDeCodigo {
    std::string sql;
    TParametrosComando parametros;
    std::string campo;
};

struct TLinhaDeBusca {
    std::vector<TBuscaDeCodigo> buscas;  // tried in order, as the run's own lookup tries them
    std::string maximo;       // the select of the highest code; empty when the code is the
    std::string campoMaximo;  //   looked-up value itself (a unit)
};

// The row's code after the run's own lookup missed: the code a committed run gave it (achadaPor:
// the index of the lookup that found it), or a new one, proximo(the highest code), inserted by
// insere (achadaPor -1). A second refusal, or any other failure, passes to the caller.
std::string AchaOuCriaLinha(TBancoFirebird& banco, const TLinhaDeBusca& linha,
                            const std::function<std::string(const std::string& maior)>& proximo,
                            const std::function<void(const std::string& codigo)>& insere,
                            int* achadaPor = nullptr);

// The higher of two codes read as integers, the first on a tie; an empty code is lower than any.
std::string OMaiorCodigo(const std::string& a, const std::string& b);
