// What the network and the size of the site cost each kind's run, with the real program run as a
// child (`conversor run`, committing into a copy of the sample's empty target):
// - the embedded engine, then both databases through the Firebird server on 127.0.0.1:3050
//   behind a relay that delays each direction (round trip 0, 0.5 and 2 ms), with the round trips
//   the run waited for per row written (target rows of the kind and of its lookup tables);
// - the peak memory (resident set) of the run on a small and on a large sample.
//   build/bench_rede [--rows N] [--repeat R] [--memory A,B] [--check] [kind...]
// (defaults: 3000 rows, each timed run once, memory at 20000 and 200000 rows, kinds products
// clients suppliers; --memory 0 leaves the memory out). With --repeat the best of R runs is
// shown: on a shared machine the others' work only ever adds time. CONVERSOR=path runs another
// build of the program. With --check the timed runs are checks (`conversor check`), which write
// nothing: their round trips are shown alone.
// Without a server on 127.0.0.1:3050 the server rows are left out. The samples are made by
// `conversor sample`.
#include "bench/RetransmissorAtrasado.h"
#include "conversion/BancoFirebird.h"
#include "conversion/Consulta.h"
#include "schema/amostra/GeradorAmostra.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr int kPortaServidor = 3050;
// A run that takes longer than this is stopped: the bench must end.
constexpr auto kLimiteExecucao = 1800s;

struct TTipo {
    const char* nome;
    const char* planilha;
    std::vector<std::string> tabelas;  // what the run writes, its lookups included
};

const std::vector<TTipo> kTipos = {
    {"products",
     TGeradorAmostra::kProdutos,
     {"PRODUTO", "PRODUTODETALHE", "CLASFISC", "UNIDADES", "CIDADES"}},
    {"clients", TGeradorAmostra::kCadastros, {"CLIENTE", "CLASFISC", "UNIDADES", "CIDADES"}},
    {"suppliers", TGeradorAmostra::kCadastros, {"FORNECE", "CLASFISC", "UNIDADES", "CIDADES"}},
};

struct TResultado {
    bool ok = false;
    double segundos = 0;
    long picoKiB = 0;
};

// Runs the program with these arguments, its output thrown away; the time it took and its peak
// resident set as the kernel counted it.
TResultado ExecutaFilho(const std::string& programa, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(programa.c_str()));
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto inicio = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int nulo = ::open("/dev/null", O_WRONLY);
        ::dup2(nulo, 1);
        ::dup2(nulo, 2);
        ::execv(programa.c_str(), argv.data());
        ::_exit(127);
    }
    TResultado r;
    if (pid < 0)
        return r;
    int estado = 0;
    rusage uso{};
    while (true) {
        const pid_t fim = ::wait4(pid, &estado, WNOHANG, &uso);
        if (fim == pid)
            break;
        if (std::chrono::steady_clock::now() - inicio > kLimiteExecucao) {
            ::kill(pid, SIGKILL);
            ::wait4(pid, &estado, 0, &uso);
            std::fprintf(stderr, "execução interrompida após %lld s\n",
                         static_cast<long long>(kLimiteExecucao.count()));
            return r;
        }
        std::this_thread::sleep_for(20ms);
    }
    r.segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    r.picoKiB = uso.ru_maxrss;
    r.ok = WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
    return r;
}

// The faster of two runs; a failed run counts as the result.
TResultado Melhor(const TResultado& ate, const TResultado& nova, int vez) {
    if (vez == 0 || !nova.ok)
        return nova;
    if (!ate.ok)
        return ate;
    return nova.segundos < ate.segundos ? nova : ate;
}

// The server runs as another user: it must reach the folder and read and write the files.
void AbreAoServidor(const fs::path& pasta) {
    fs::permissions(pasta, fs::perms::all);
    for (const auto& arquivo : fs::directory_iterator(pasta)) {
        if (arquivo.is_regular_file())
            fs::permissions(arquivo.path(), fs::perms::owner_read | fs::perms::owner_write |
                                                fs::perms::group_read | fs::perms::group_write |
                                                fs::perms::others_read | fs::perms::others_write);
    }
}

// Made by the program itself, in a child: the kernel counts the memory a child had when it was
// forked into its peak, so this process must stay small.
fs::path GeraAmostra(const std::string& programa, const fs::path& base, long linhas) {
    const fs::path dir = base / ("amostra-" + std::to_string(linhas));
    const TResultado r =
        ExecutaFilho(programa, {"sample", dir.string(), "--rows", std::to_string(linhas)});
    if (!r.ok)
        throw std::runtime_error("a amostra de " + std::to_string(linhas) + " linhas falhou");
    std::fprintf(stderr, "amostra de %ld linhas criada em %.1f s\n", linhas, r.segundos);
    return dir;
}

std::vector<std::string> ArgumentosRun(const TTipo& tipo, const std::string& alvo,
                                       const std::string& origem, const fs::path& amostra,
                                       const char* comando = "run") {
    return {comando,    "--kind",     tipo.nome,
            "--target", alvo,         "--source",
            origem,     "--workbook", (amostra / tipo.planilha).string(),
            "--sheet",  "1"};
}

fs::path CopiaAlvo(const fs::path& amostra, const std::string& nome) {
    const fs::path alvo = amostra / (nome + ".fdb");
    fs::remove(alvo);
    fs::copy_file(amostra / TGeradorAmostra::kAlmuro, alvo);
    fs::permissions(alvo, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::group_write | fs::perms::others_read |
                              fs::perms::others_write);
    return alvo;
}

long LinhasGravadas(const std::string& banco, const TTipo& tipo) {
    TBancoFirebird b(1);
    b.DefineNome(banco);
    b.Conecta();
    long total = 0;
    for (const auto& t : tipo.tabelas) {
        TConsulta q(b);
        q.DefineSQL("select count(*) as N from " + t);
        q.Abre();
        total += static_cast<long>(q.Inteiro("N"));
    }
    b.Desconecta();
    return total;
}

bool ServidorPresente(const fs::path& amostra) {
    try {
        TBancoFirebird b(1);
        b.DefineNome("127.0.0.1:" + (amostra / TGeradorAmostra::kAlmuro).string());
        b.Conecta();
        b.Desconecta();
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sem servidor em 127.0.0.1:%d (%s): só o motor embutido\n",
                     kPortaServidor, e.what());
        return false;
    }
}

fs::path ProgramaPadrao() {
    if (const char* p = std::getenv("CONVERSOR"))
        return p;
    return fs::canonical("/proc/self/exe").parent_path() / "conversor";
}

}  // namespace

int main(int argc, char** argv) {
    long linhas = 3000;
    int repeticoes = 1;
    std::vector<long> memoria = {20000, 200000};
    std::vector<TTipo> tipos;
    bool confere = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--rows" && i + 1 < argc) {
            linhas = std::atol(argv[++i]);
        } else if (a == "--repeat" && i + 1 < argc) {
            repeticoes = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--check") {
            confere = true;
        } else if (a == "--memory" && i + 1 < argc) {
            memoria.clear();
            std::string lista = argv[++i];
            for (size_t p = 0; p <= lista.size();) {
                size_t v = lista.find(',', p);
                if (v == std::string::npos)
                    v = lista.size();
                if (const long n = std::atol(lista.substr(p, v - p).c_str()); n > 0)
                    memoria.push_back(n);
                p = v + 1;
            }
        } else {
            for (const auto& t : kTipos) {
                if (a == t.nome)
                    tipos.push_back(t);
            }
        }
    }
    if (tipos.empty())
        tipos = kTipos;
    const char* const comando = confere ? "check" : "run";
    const std::string programa = ProgramaPadrao().string();
    const fs::path base = fs::temp_directory_path() / ("bench-rede-" + std::to_string(::getpid()));
    fs::remove_all(base);
    fs::create_directories(base);
    int falhas = 0;

    if (linhas > 0) {
        const fs::path amostra = GeraAmostra(programa, base, linhas);
        AbreAoServidor(base);
        AbreAoServidor(amostra);
        const bool servidor = ServidorPresente(amostra);
        const std::string tessaly = (amostra / TGeradorAmostra::kTessaly).string();
        std::printf("network, %ld rows per source table and sheet\n", linhas);
        for (const auto& tipo : tipos) {
            TResultado e;
            for (int vez = 0; vez < repeticoes; ++vez) {
                const fs::path embutido = CopiaAlvo(amostra, std::string(tipo.nome) + "-embutido");
                e = Melhor(e,
                           ExecutaFilho(programa, ArgumentosRun(tipo, embutido.string(), tessaly,
                                                                amostra, comando)),
                           vez);
            }
            falhas += !e.ok;
            std::printf("%-9s embedded        %6.2f s%s\n", tipo.nome, e.segundos,
                        e.ok ? "" : " FAILED");
            std::fflush(stdout);
            if (!servidor)
                continue;
            double semAtraso = 0;
            for (const double voltaMs : {0.0, 0.5, 2.0}) {
                const auto atraso =
                    std::chrono::microseconds(static_cast<long>(voltaMs * 1000 / 2));
                TResultado r;
                long voltas = 0, gravadas = 0;
                for (int vez = 0; vez < repeticoes; ++vez) {
                    TRetransmissorAtrasado rele(kPortaServidor, atraso);
                    const std::string via = "127.0.0.1/" + std::to_string(rele.Porta()) + ":";
                    const fs::path alvo = CopiaAlvo(amostra, std::string(tipo.nome) + "-servidor");
                    r = Melhor(
                        r,
                        ExecutaFilho(programa, ArgumentosRun(tipo, via + alvo.string(),
                                                             via + tessaly, amostra, comando)),
                        vez);
                    voltas = rele.Voltas();
                    gravadas = r.ok ? LinhasGravadas("127.0.0.1:" + alvo.string(), tipo) : 0;
                }
                falhas += !r.ok;
                if (voltaMs == 0)
                    semAtraso = r.segundos;
                const std::string acrescimo =
                    voltaMs > 0 && semAtraso > 0
                        ? " (+" +
                              std::to_string(static_cast<int>(
                                  100 * (r.segundos - semAtraso) / semAtraso + 0.5)) +
                              "% over 0 ms)"
                        : "";
                if (confere) {
                    std::printf("%-9s server %.1f ms  %6.2f s%s  %ld round trips%s\n", tipo.nome,
                                voltaMs, r.segundos, acrescimo.c_str(), voltas,
                                r.ok ? "" : " FAILED");
                    std::fflush(stdout);
                    continue;
                }
                std::printf(
                    "%-9s server %.1f ms  %6.2f s%s  %ld round trips, %ld rows written, "
                    "%.3f per row%s\n",
                    tipo.nome, voltaMs, r.segundos, acrescimo.c_str(), voltas, gravadas,
                    gravadas ? static_cast<double>(voltas) / gravadas : 0.0, r.ok ? "" : " FAILED");
                std::fflush(stdout);
            }
        }
        fs::remove_all(amostra);
    }

    for (const long n : memoria) {
        const fs::path amostra = GeraAmostra(programa, base, n);
        const std::string tessaly = (amostra / TGeradorAmostra::kTessaly).string();
        for (const auto& tipo : tipos) {
            const fs::path alvo = CopiaAlvo(amostra, std::string(tipo.nome) + "-memoria");
            const TResultado r =
                ExecutaFilho(programa, ArgumentosRun(tipo, alvo.string(), tessaly, amostra));
            falhas += !r.ok;
            std::printf("%-9s peak memory at %ld rows: %ld MiB (%.1f s)%s\n", tipo.nome, n,
                        r.picoKiB / 1024, r.segundos, r.ok ? "" : " FAILED");
            std::fflush(stdout);
        }
        // What reading the workbook alone takes, for the share of the sheet in the runs' peaks.
        for (const char* planilha : {TGeradorAmostra::kProdutos, TGeradorAmostra::kCadastros}) {
            const TResultado r = ExecutaFilho(programa, {"sheets", (amostra / planilha).string()});
            std::printf("          reading %s alone at %ld rows: %ld MiB%s\n", planilha, n,
                        r.picoKiB / 1024, r.ok ? "" : " FAILED");
        }
        std::fflush(stdout);
        fs::remove_all(amostra);
    }
    fs::remove_all(base);
    return falhas ? 1 : 0;
}
