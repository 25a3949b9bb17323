// The whole lookup of a lookup row (a fiscal classification, a unit, a city): the run's own
// lookups, then the committed rows and the new code when they miss (see BuscaConcorrente.h),
// then the insert. Through a server it costs one round trip, or two when the run cannot foresee
// the new code (see BuscaNumaIda.h); elsewhere each question is asked in turn.
#pragma once

#include "conversion/BuscaConcorrente.h"

#include <functional>
#include <string>
#include <vector>

// The insert of a new row, with its values for the new code.
struct TCriacaoDaLinha {
    std::string sql;
    std::function<TParametrosComando(const std::string& codigo)> valores;
};

struct TBuscaDaLinha {
    // In the run's transaction, in order, the first row of each answering; they give the column
    // the first lookup of the committed rows gives.
    std::vector<TBuscaDeCodigo> proprias;
    bool nuloEncontra = true;  // whether a NULL code in that first row is an answer
    TLinhaDeBusca confirmadas;
    std::function<std::string(const std::string& maior)> proximo;
    TCriacaoDaLinha criacao;
};

struct TLinhaAchada {
    enum class TOrigem { Propria, Confirmada, Criada };
    TOrigem origem = TOrigem::Criada;
    int indice = 0;  // the lookup that found it, among its own or the committed ones
    std::string codigo;
};

TLinhaAchada BuscaOuCriaLinha(TBancoFirebird& banco, const TBuscaDaLinha& busca);

// Each question in turn, as the lookups always asked them.
TLinhaAchada BuscaOuCriaLinhaPassoAPasso(TBancoFirebird& banco, const TBuscaDaLinha& busca);
