// Everything one run, rehearsal or check tells the operator, kept after its end: what it was
// given, how it ended, the account of each source, the problems and the warnings. The check's
// dialog, the final boxes and the xlsx report are all made from it.
#pragma once

#include "app/logica/AvisosDaExecucao.h"
#include "app/logica/ContaDaConversao.h"
#include "app/logica/ProblemaDaConferencia.h"

#include <string>
#include <vector>

enum class TModoExecucao { Conversao, Ensaio, Conferencia };

struct TRelatoDaExecucao {
    bool feito = false;  // false until a run reached its end (or its failure)
    TModoExecucao modo = TModoExecucao::Conversao;

    // The inputs, UTF-8, as the window showed them.
    std::string almuro;
    std::string tessaly;
    std::string pasta;
    std::string planilha;
    std::string ultimaLinha;
    std::string tipo;      // "Produtos", "Clientes", "Fornecedores"
    std::string dataHora;  // "09/12/2026 15:31:53", when the run began
    std::string versao;    // the program's version

    bool concluida = false;  // committed, rolled back as a rehearsal, or checked to its end
    std::string desfecho;    // the final message ("Conversão concluída com sucesso!", ...)
    std::string resumo;      // the summary's lines (rows, account, lookups, warnings, time)
    TContaDaConversao conta;
    // A check's problems in the order found; a failed run's one error.
    std::vector<TProblema> problemas;
    std::vector<TAvisosDaExecucao::TContagem> avisos;

    // "Conversão", "Simulação", "Conferência".
    std::string NomeDoModo() const;
    // The check's last line: "Conferência concluída: 3 problema(s); nada foi gravado." UTF-8.
    std::string FimDaConferencia() const;
};
