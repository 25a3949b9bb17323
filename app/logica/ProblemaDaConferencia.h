// One problem a check found: the place a run of the same inputs would name, in its parts for
// the report's columns, and the text that run would fail with.
#pragma once

#include <string>

struct TProblema {
    std::string origem;    // "planilha", "banco TESSALY, tabela ESTOQUE"; empty outside a record
    std::string registro;  // "linha 5", "CODIGO 00000123"
    std::string coluna;    // "6 (Preço)", "ICMS"; empty when the record as a whole failed
    std::string conteudo;  // the cell's text, for a sheet's cell
    std::string lugar;     // the place whole, as a failed run puts it in front of its reason
    std::string texto;     // the reason, as a failed run gives it (line breaks and all)

    // The reason on one line: each of its line breaks becomes " / ". UTF-8.
    std::string TextoNumaLinha() const;
    // "lugar: texto" on one line.
    std::string Linha() const;
};
