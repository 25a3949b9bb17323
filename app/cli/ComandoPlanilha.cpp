#include "app/cli/ComandoPlanilha.h"

#include "app/cli/EscolhaPlanilha.h"
#include "app/cli/Opcoes.h"
#include "app/cli/Terminal.h"
#include "app/logica/LogicaPrincipal.h"
#include "common/Texto.h"
#include "common/Win1252.h"
#include "spreadsheet/ControlaExcel.h"

#include <iostream>

namespace cli {

std::string EscapaCelula(const std::string& celula) {
    std::string r;
    r.reserve(celula.size());
    for (char c : celula) {
        switch (c) {
            case '\\':
                r += "\\\\";
                break;
            case '\t':
                r += "\\t";
                break;
            case '\n':
                r += "\\n";
                break;
            case '\r':
                r += "\\r";
                break;
            default:
                r += c;
        }
    }
    return r;
}

namespace {

// The rows 1 to linhas, every column of the used area, as the staging load would read them. Each
// row goes out as soon as it is read, so that a sheet whose used area a far-out cell has made
// huge never has to be held whole.
void EscreveLinhas(TDMCotrolaExcel& excel, int linhas) {
    const int colunas = excel.UltimaColuna();
    std::string saida;
    for (int i = 1; i <= linhas; ++i) {
        const std::vector<TCelulaLida> celulas = excel.LeLinha(i);
        auto celula = celulas.begin();
        for (int k = 1; k <= colunas; ++k) {
            if (k > 1)
                saida += '\t';
            if (celula != celulas.end() && celula->coluna == k) {
                // Cut as the staging table cuts it: the rows a run would stage.
                saida += EscapaCelula(
                    win1252::ParaUtf8(celula->texto.substr(0, TTabelaTemp::kTamanhoCampo)));
                ++celula;
            }
        }
        saida += '\n';
        std::cout << saida;
        saida.clear();
    }
}

}  // namespace

int ExecutaSheets(const TOpcoes& opcoes) {
    if (opcoes.Posicionais().size() != 1) {
        std::cerr << "uso: conversor sheets ARQUIVO\n";
        return 2;
    }
    const std::vector<std::string>& args = opcoes.Posicionais();
    try {
        TDMCotrolaExcel excel;
        excel.AbreArquivoExcel(args[0]);
        const std::vector<std::string> nomes = excel.ListaAbas();
        excel.LiberaListaAbas();
        for (size_t i = 0; i < nomes.size(); ++i) {
            excel.SelecionaAba(static_cast<int>(i) + 1);
            std::cout << (i + 1) << "\t" << EscapaCelula(win1252::ParaUtf8(nomes[i])) << "\t"
                      << excel.UltimaLinha() << "\t" << excel.UltimaColuna() << "\n";
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}

int ExecutaPreview(const TOpcoes& opcoes) {
    const char* uso = "uso: conversor preview ARQUIVO [--sheet N|NOME] [--last-row N]\n";
    if (opcoes.Posicionais().size() != 1) {
        std::cerr << "conversor preview: informe um arquivo\n" << uso;
        return 2;
    }
    TTerminal terminal;
    TLogicaPrincipal logica(terminal, terminal, terminal);
    try {
        logica.AbrePlanilha(opcoes.Posicionais()[0]);
        EscolhePlanilhaELinha(logica, opcoes);
        if (logica.IndicePlanilha() < 0) {
            std::cerr << TLogicaPrincipal::kAvisoPlanilha << "\n";
            return 2;
        }
        if (!TLogicaPrincipal::NumLinhaValida(logica.NumLinha())) {
            std::cerr << TLogicaPrincipal::kAvisoLinha << "\n";
            return 2;
        }
        logica.DMCotrolaExcel.SelecionaAba(logica.IndicePlanilha() + 1);
        EscreveLinhas(logica.DMCotrolaExcel, static_cast<int>(texto::LeInteiro(logica.NumLinha())));
    } catch (const std::exception& e) {
        std::cout << std::flush;
        std::cerr << e.what() << "\n";
        return 1;
    }
    std::cout << std::flush;
    return 0;
}

}  // namespace cli
