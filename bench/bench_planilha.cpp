// Reading and staging a large sheet, and walking it as a sheet mapping does: the workbook
// opened, the sheet measured and staged, every cell of every staged row read by column name.
//   build/bench_planilha [rows]   (default 100000 rows of 13 columns, xlsx and csv)
// Each format is measured in a child process of its own, so its peak memory is its own.
#include "app/logica/LogicaPrincipal.h"
#include "bench/JanelaMuda.h"
#include "schema/amostra/PastaXlsx.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kColunas = 13;

// Codes with leading zeros, names, prices, quantities and flags, as a products sheet holds.
std::string TextoDe(int linha, int coluna) {
    switch (coluna % 4) {
        case 0:
            return "00" + std::to_string(100000 + linha);
        case 1:
            return "Produto de teste número " + std::to_string(linha);
        case 2:
            return std::to_string(linha % 977) + "," + std::to_string(linha % 100);
        default:
            return linha % 2 ? "True" : "False";
    }
}

void GravaXlsx(const std::string& caminho, int linhas) {
    TPastaXlsx pasta(caminho, "Produtos");
    for (int i = 1; i <= linhas; ++i) {
        for (int k = 1; k <= kColunas; ++k) {
            if (k % 4 == 2)
                pasta.Numero(i, k, (i % 977) + (i % 100) / 100.0);
            else if (k % 4 == 3)
                pasta.Logico(i, k, i % 2);
            else
                pasta.Texto(i, k, TextoDe(i, k));
        }
    }
    pasta.Fecha();
}

void GravaCsv(const std::string& caminho, int linhas) {
    std::ofstream f(caminho, std::ios::binary);
    for (int i = 1; i <= linhas; ++i) {
        for (int k = 1; k <= kColunas; ++k)
            f << (k > 1 ? ";" : "") << TextoDe(i, k);
        f << "\n";
    }
}

int Mede(const std::string& caminho, int linhas) {
    TJanelaMuda muda;
    TLogicaPrincipal logica(muda, muda, muda);
    const auto inicio = std::chrono::steady_clock::now();
    logica.AbrePlanilha(caminho);
    const double abertura = Segundos(inicio);
    logica.DMCotrolaExcel.SelecionaAba(1);
    logica.CarregaDadosExcel();
    const double carga = Segundos(inicio);
    TTabelaTemp& tabela = logica.cdsTabelaTemp;
    std::size_t bytes = 0;
    for (tabela.Primeiro(); !tabela.Fim(); tabela.Proximo()) {
        for (int k = 1; k <= kColunas; ++k)
            bytes += tabela.Campo(std::to_string(k)).size();
    }
    const double total = Segundos(inicio);
    if (logica.cdsTabelaTemp.TotalRegistros() != linhas ||
        logica.cdsTabelaTemp.Colunas() != kColunas) {
        std::fprintf(stderr, "tabela com %d linhas e %d colunas\n",
                     logica.cdsTabelaTemp.TotalRegistros(), logica.cdsTabelaTemp.Colunas());
        return 1;
    }
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    const double celulas = static_cast<double>(linhas) * kColunas;
    std::printf(
        "%-5s %d x %d: abrir+medir %.2f s, carga %.2f s, total %.2f s, %.2f M celulas/s, "
        "%zu bytes lidos, pico %.0f MiB\n",
        std::filesystem::path(caminho).extension().c_str() + 1, linhas, kColunas, abertura, carga,
        total, celulas / total / 1e6, bytes, uso.ru_maxrss / 1024.0);
    std::fflush(stdout);  // the child leaves through _exit
    return 0;
}

// Runs the step in a child process, so that its memory (the writer's buffers included) is its own.
template <typename F>
int EmFilho(F passo) {
    std::fflush(stdout);
    const pid_t filho = fork();
    if (filho == 0)
        _exit(passo());
    int estado = 0;
    waitpid(filho, &estado, 0);
    return WIFEXITED(estado) ? WEXITSTATUS(estado) : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int linhas = argc > 1 ? std::atoi(argv[1]) : 100000;
    const auto dir =
        std::filesystem::temp_directory_path() / ("bench_planilha_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string xlsx = (dir / "produtos.xlsx").string();
    const std::string csv = (dir / "produtos.csv").string();
    int falhas = EmFilho([&] {
        GravaXlsx(xlsx, linhas);
        GravaCsv(csv, linhas);
        return 0;
    });
    if (!falhas)
        falhas = EmFilho([&] { return Mede(xlsx, linhas); }) +
                 EmFilho([&] { return Mede(csv, linhas); });
    std::filesystem::remove_all(dir);
    return falhas ? 1 : 0;
}
