#include "app/logica/Interfaces.h"

void IMensagens::Conferencia(const TRelatoDaExecucao& relato) {
    if (relato.problemas.empty()) {
        Sucesso(relato.FimDaConferencia(), [&relato] { return relato.resumo; });
        return;
    }
    std::string detalhe;
    for (const TProblema& p : relato.problemas)
        detalhe += p.Linha() + "\n";
    Falha(relato.FimDaConferencia(), detalhe + relato.resumo);
}
