#include "app/cli/ComandoAmostra.h"

#include "common/Texto.h"
#include "common/Win1252.h"
#include "schema/amostra/GeradorAmostra.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <iostream>

namespace cli {

namespace {

const char* const kUso =
    "uso: conversor sample DIRETÓRIO [--rows N] [--seed S]\n"
    "  Cria em DIRETÓRIO almuro.fdb (destino vazio), tessaly.fdb (origem com N linhas em\n"
    "  ESTOQUE, CLIENTE e FORNECEDOR), produtos.xlsx e cadastros.xlsx (N linhas cada).\n"
    "  --rows N   linhas de cada tabela e planilha (padrão 200)\n"
    "  --seed S   semente dos dados; a mesma semente gera os mesmos dados (padrão 1)\n";

int ErroDeUso(const std::string& motivo) {
    std::cerr << "conversor sample: " << motivo << "\n" << kUso;
    return 2;
}

}  // namespace

int ExecutaAmostra(const TOpcoes& lidas) {
    TOpcoesAmostra opcoes;
    for (const std::string opcao : {"rows", "seed"}) {
        const std::optional<std::string> valor = lidas.Valor(opcao);
        if (!valor)
            continue;
        std::int64_t n = 0;
        if (!texto::TentaLerInteiro(*valor, n) || n < 0)
            return ErroDeUso("valor inválido para --" + opcao + ": " + *valor);
        if (opcao == "seed") {
            opcoes.semente = static_cast<std::uint64_t>(n);
        } else if (n > TGeradorAmostra::kMaximoLinhas) {
            return ErroDeUso("--rows vai de 0 a " + std::to_string(TGeradorAmostra::kMaximoLinhas));
        } else {
            opcoes.linhas = static_cast<long>(n);
        }
    }
    if (lidas.Posicionais().size() != 1 || lidas.Posicionais()[0].empty())
        return ErroDeUso("informe o diretório");
    opcoes.diretorio = lidas.Posicionais()[0];

    try {
        TGeradorAmostra gerador(opcoes);
        TResumoAmostra r = gerador.Gera();
        char tempo[32];
        std::snprintf(tempo, sizeof tempo, "%.1f", r.segundos);
        std::cout << "Amostra criada em " << r.diretorio << " (semente " << opcoes.semente << "):\n"
                  << "  " << TGeradorAmostra::kAlmuro << "      destino, sem registros\n"
                  << "  " << TGeradorAmostra::kTessaly << "     ESTOQUE " << r.estoque
                  << ", CLFISCAL " << r.classificacoes << ", CLIENTE " << r.clientes
                  << ", FORNECEDOR " << r.fornecedores << "\n"
                  << "  " << TGeradorAmostra::kProdutos << "   cabeçalho e " << r.linhasProdutos
                  << " produtos\n"
                  << "  " << TGeradorAmostra::kCadastros << "  cabeçalho e " << r.linhasCadastros
                  << " clientes e fornecedores\n"
                  << "Tempo: " << tempo << " s\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "conversor sample: " << win1252::MensagemUtf8(e.what()) << "\n";
        return 1;
    }
}

}  // namespace cli
