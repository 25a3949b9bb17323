// A workbook whose only cells are A1 and XFD1048576: a used area of 1 048 576 rows by 16 384
// columns that holds two values. Measures opening and measuring it (what `sheets` does), reading
// its first 10 rows (what `preview --last-row 10` does) and staging all its rows, as a run does.
//   build/bench_celula_distante
// Each step runs in a child process of its own, so its peak memory is its own.
#include "app/logica/LogicaPrincipal.h"
#include "bench/JanelaMuda.h"
#include "schema/amostra/PastaXlsx.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// The peak of the address space, which is what an address-space limit refuses.
long PicoVirtualKiB() {
    std::ifstream status("/proc/self/status");
    std::string linha;
    while (std::getline(status, linha)) {
        if (linha.rfind("VmPeak:", 0) == 0)
            return std::stol(linha.substr(7));
    }
    return 0;
}

void Relata(const char* passo, double segundos) {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    std::printf("%-28s %.2f s, pico residente %.0f MiB, pico virtual %.0f MiB\n", passo, segundos,
                uso.ru_maxrss / 1024.0, PicoVirtualKiB() / 1024.0);
    std::fflush(stdout);  // the child leaves through _exit
}

template <typename F>
int EmFilho(F passo) {
    std::fflush(stdout);
    const pid_t filho = fork();
    if (filho == 0) {
        try {
            _exit(passo());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            _exit(1);
        }
    }
    int estado = 0;
    waitpid(filho, &estado, 0);
    return WIFEXITED(estado) ? WEXITSTATUS(estado) : 1;
}

}  // namespace

int main() {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("bench_celula_distante_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string xlsx = (dir / "longe.xlsx").string();
    int falhas = EmFilho([&] {
        TPastaXlsx pasta(xlsx, "Longe");
        pasta.Texto(1, 1, "inicio");
        pasta.Numero(1048576, 16384, 7);
        pasta.Fecha();
        return 0;
    });
    falhas += EmFilho([&] {
        const auto inicio = std::chrono::steady_clock::now();
        TDMCotrolaExcel excel;
        excel.AbreArquivoExcel(xlsx);
        excel.ListaAbas();
        excel.SelecionaAba(1);
        const bool certo = excel.UltimaLinha() == 1048576 && excel.UltimaColuna() == 16384;
        Relata("abrir e medir", Segundos(inicio));
        return certo ? 0 : 1;
    });
    falhas += EmFilho([&] {
        const auto inicio = std::chrono::steady_clock::now();
        TDMCotrolaExcel excel;
        excel.AbreArquivoExcel(xlsx);
        excel.SelecionaAba(1);
        std::size_t celulas = 0;
        for (int i = 1; i <= 10; ++i)
            celulas += excel.LeLinha(i).size();
        Relata("ler as 10 primeiras linhas", Segundos(inicio));
        return celulas == 1 ? 0 : 1;
    });
    falhas += EmFilho([&] {
        const auto inicio = std::chrono::steady_clock::now();
        TJanelaMuda muda;
        TLogicaPrincipal logica(muda, muda, muda);
        logica.AbrePlanilha(xlsx);
        logica.DMCotrolaExcel.SelecionaAba(1);
        logica.CarregaDadosExcel();
        Relata("carregar as 1 048 576 linhas", Segundos(inicio));
        return logica.cdsTabelaTemp.TotalRegistros() == 1048576 ? 0 : 1;
    });
    std::filesystem::remove_all(dir);
    return falhas ? 1 : 0;
}
