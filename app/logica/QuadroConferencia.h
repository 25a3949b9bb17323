// What the "Conferência" dialog shows at the end of a check that found problems: the line that
// ends the check, the account of what the pass read, would write and would leave out, and one
// row per problem with its place. Also the text that Ctrl+C copies from the table. UTF-8.
#pragma once

#include "app/logica/RelatoDaExecucao.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

struct TProblemaConferido {
    std::string lugar;     // the record, as a failed run names it ("planilha, linha 12")
    std::string coluna;    // the column whose value failed; empty when it is the whole record
    std::string conteudo;  // the value as it was read
    std::string problema;  // the text a run would have stopped with
};

class TQuadroConferencia {
  public:
    static constexpr const char* kTitulo = "Conferência";
    static constexpr std::array<const char*, 4> kColunas = {"Lugar", "Coluna", "Conteúdo",
                                                            "Problema"};
    static constexpr const char* kSalvarRelatorio = "Salvar relatório...";
    static constexpr const char* kFechar = "Fechar";

    TQuadroConferencia(std::string conclusao, std::string conta,
                       std::vector<TProblemaConferido> problemas);
    // The end of a check: its last line, its summary (the account among it) and its problems,
    // each reason on one line.
    static TQuadroConferencia DoRelato(const TRelatoDaExecucao& relato);

    // "Conferência concluída: N problema(s); nada foi gravado."
    const std::string& Conclusao() const { return conclusao_; }
    const std::string& Conta() const { return conta_; }
    size_t Linhas() const { return problemas_.size(); }
    // The cell of a row in one of the four columns, in the order of kColunas.
    const std::string& Celula(size_t linha, size_t coluna) const;

    // The rows given (in that order, as the table shows them sorted) as lines of four
    // tab-separated cells, ready to paste into a spreadsheet: a tab or a line break inside a
    // cell would split it, so tabs become spaces and line breaks " / ".
    std::string TextoParaCopiar(const std::vector<size_t>& linhas) const;

  private:
    std::string conclusao_;
    std::string conta_;
    std::vector<TProblemaConferido> problemas_;
};
