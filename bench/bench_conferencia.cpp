// The check of a dirty site against the run of the clean one: the same sample site, once run
// as it is, once checked with problems seeded every hundredth row (200 in 20 000): prices that
// are not numbers in the products sheet, and for clients and suppliers a value the customer's
// own constraint refuses. Each in a fresh copy of the empty target, the sheet staged beforehand.
//   build/bench_conferencia [rows [kind...]]   (default 20000 rows, all three kinds)
// Prints, per kind: check/run KIND RATIO (check S s with N problems, run S s) in wall-clock time,
// and the same in processor time (every thread of the process, the embedded engine's included),
// which other work on a shared machine disturbs much less. The check should stay within 1.5
// times the run.
#include "app/logica/LogicaPrincipal.h"
#include "bench/JanelaMuda.h"
#include "bench/SitioDoBench.h"
#include "conversion/Consulta.h"
#include "schema/amostra/GeradorAmostra.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kCadaQuantas = 100;
// Refused by the constraint the dirty site's target gets, for clients and suppliers alike.
const char* const kBairroRecusado = "RECUSADO";

struct TTipo {
    const char* nome;
    TTipoConversao tipo;
    const char* planilha;
    const char* restricao;  // the dirty target's own constraint; none for products
    int coluna;             // the sheet column that gets the bad value
    const char* valor;
    int marca;  // the column that makes the row one of the kind (0: every row is)
};

// Every kCadaQuantas-th data row of the staged sheet gets the bad value in the column.
void SujaPlanilha(TTabelaTemp& tabela, int coluna, const std::string& valor, int marca) {
    std::vector<std::vector<std::string>> linhas;
    for (int i = 0; i < tabela.TotalRegistros(); ++i)
        linhas.push_back(tabela.Linha(i));
    const int colunas = tabela.Colunas();
    tabela.Recria(colunas);
    for (size_t i = 0; i < linhas.size(); ++i) {
        if (i > 0 && i % kCadaQuantas == 0) {
            linhas[i][static_cast<size_t>(coluna - 1)] = valor;
            if (marca > 0)
                linhas[i][static_cast<size_t>(marca - 1)] = "True";
        }
        tabela.Acrescenta(linhas[i]);
    }
}

struct TMedida {
    double segundos = -1;
    double processador = 0;
    size_t problemas = 0;
};

TMedida Mede(const fs::path& dir, const fs::path& alvo, const TTipo& tipo, bool suja) {
    fs::copy_file(dir / TGeradorAmostra::kAlmuro, alvo);
    TJanelaMuda janela;
    TLogicaPrincipal logica(janela, janela, janela);
    bench::AbreSitio(logica, dir, alvo, tipo.planilha, tipo.tipo);
    if (suja) {
        SujaPlanilha(logica.cdsTabelaTemp, tipo.coluna, tipo.valor, tipo.marca);
        if (tipo.restricao) {
            TConsulta q(logica.dbAlmuro);
            q.DefineSQL(tipo.restricao);
            q.Executa();
            logica.ConfirmaTransacao();
        }
        logica.DefineConferencia(true);
    }
    const auto inicio = std::chrono::steady_clock::now();
    const double processador = bench::SegundosDeProcessador();
    const bool ok = logica.EfetuaConversao();
    TMedida m;
    if (ok || suja) {
        m.segundos = Segundos(inicio);
        m.processador = bench::SegundosDeProcessador() - processador;
    }
    m.problemas = logica.Relato().problemas.size();
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    const long linhas = argc > 1 ? std::atol(argv[1]) : 20000;
    const fs::path dir = bench::GeraSitio("bench-conferencia", linhas);

    std::vector<TTipo> tipos = {
        {"products", TTipoConversao::Produtos, TGeradorAmostra::kProdutos, nullptr, 6, "a combinar",
         0},
        {"clients", TTipoConversao::Clientes, TGeradorAmostra::kCadastros,
         "alter table CLIENTE add constraint BAIRRO_ACEITO check (BAIRRO <> 'RECUSADO')", 7,
         kBairroRecusado, 3},
        {"suppliers", TTipoConversao::Fornecedores, TGeradorAmostra::kCadastros,
         "alter table FORNECE add constraint BAIRRO_ACEITO check (BAIRRO <> 'RECUSADO')", 7,
         kBairroRecusado, 4},
    };
    tipos = bench::TiposEscolhidos(tipos, argc, argv, 2);
    int falhas = 0;
    for (const auto& tipo : tipos) {
        const TMedida run = Mede(dir, dir / (std::string(tipo.nome) + "-run.fdb"), tipo, false);
        const TMedida check = Mede(dir, dir / (std::string(tipo.nome) + "-check.fdb"), tipo, true);
        if (run.segundos < 0 || check.segundos < 0) {
            ++falhas;
            continue;
        }
        std::printf("check/run %s %.2f (check %.2f s with %zu problems, run %.2f s)\n", tipo.nome,
                    check.segundos / run.segundos, check.segundos, check.problemas, run.segundos);
        std::printf("  cpu check/run %s %.2f (check %.2f s, run %.2f s)\n", tipo.nome,
                    check.processador / run.processador, check.processador, run.processador);
        std::fflush(stdout);
    }
    fs::remove_all(dir);
    return falhas ? 1 : 0;
}
