#include "app/logica/QuadroConferencia.h"

#include <stdexcept>

namespace {

std::string CelulaNumaLinha(const std::string& celula) {
    std::string r;
    r.reserve(celula.size());
    for (size_t i = 0; i < celula.size(); ++i) {
        const char c = celula[i];
        if (c == '\t') {
            r += ' ';
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < celula.size() && celula[i + 1] == '\n')
                ++i;
            r += " / ";
        } else {
            r += c;
        }
    }
    return r;
}

}  // namespace

TQuadroConferencia::TQuadroConferencia(std::string conclusao, std::string conta,
                                       std::vector<TProblemaConferido> problemas)
    : conclusao_(std::move(conclusao)),
      conta_(std::move(conta)),
      problemas_(std::move(problemas)) {}

TQuadroConferencia TQuadroConferencia::DoRelato(const TRelatoDaExecucao& relato) {
    std::vector<TProblemaConferido> problemas;
    problemas.reserve(relato.problemas.size());
    for (const TProblema& p : relato.problemas) {
        // The column and the content have columns of their own; the place names the record.
        std::string lugar = p.lugar;
        if (!p.registro.empty())
            lugar = p.origem.empty() ? p.registro : p.origem + ", " + p.registro;
        problemas.push_back({lugar, p.coluna, p.conteudo, p.TextoNumaLinha()});
    }
    return TQuadroConferencia(relato.FimDaConferencia(), relato.resumo, std::move(problemas));
}

const std::string& TQuadroConferencia::Celula(size_t linha, size_t coluna) const {
    const TProblemaConferido& p = problemas_.at(linha);
    switch (coluna) {
        case 0:
            return p.lugar;
        case 1:
            return p.coluna;
        case 2:
            return p.conteudo;
        case 3:
            return p.problema;
        default:
            throw std::out_of_range("coluna " + std::to_string(coluna) + " da conferência");
    }
}

std::string TQuadroConferencia::TextoParaCopiar(const std::vector<size_t>& linhas) const {
    std::string r;
    for (size_t linha : linhas) {
        for (size_t c = 0; c < kColunas.size(); ++c) {
            if (c > 0)
                r += '\t';
            r += CelulaNumaLinha(Celula(linha, c));
        }
        r += '\n';
    }
    return r;
}
