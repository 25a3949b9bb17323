#include "app/logica/RelatoDaExecucao.h"

std::string TRelatoDaExecucao::NomeDoModo() const {
    switch (modo) {
        case TModoExecucao::Conversao:
            return "Conversão";
        case TModoExecucao::Ensaio:
            return "Simulação";
        case TModoExecucao::Conferencia:
            return "Conferência";
    }
    return {};
}

std::string TRelatoDaExecucao::FimDaConferencia() const {
    if (problemas.empty())
        return "Conferência concluída: nenhum problema; nada foi gravado.";
    return "Conferência concluída: " + std::to_string(problemas.size()) +
           " problema(s); nada foi gravado.";
}
