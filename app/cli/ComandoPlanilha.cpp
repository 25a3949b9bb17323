#include "app/cli/ComandoPlanilha.h"

#include "app/cli/EscolhaPlanilha.h"
#include "app/cli/Opcoes.h"
#include "app/cli/Terminal.h"
#include "app/logica/LogicaPrincipal.h"
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
        logica.CarregaDadosExcel();
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    std::string saida;
    for (const auto& linha : logica.cdsTabelaTemp.Linhas()) {
        for (size_t k = 0; k < linha.size(); ++k) {
            if (k)
                saida += '\t';
            saida += EscapaCelula(win1252::ParaUtf8(linha[k]));
        }
        saida += '\n';
        if (saida.size() > (1u << 20)) {
            std::cout << saida;
            saida.clear();
        }
    }
    std::cout << saida << std::flush;
    return 0;
}

}  // namespace cli
