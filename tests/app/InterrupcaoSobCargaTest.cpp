// A stop that is never lost: the real binary, on a small sample, gets SIGINT, SIGTERM or SIGHUP
// at a moment drawn over its whole life (from its start to past its normal end) while other
// processes keep both cores busy. Whatever the moment, the run either ends interrupted with the
// target exactly as it was, or ends committed whole with its success line out before the signal
// came or with the notice that the signal came during the commit. The draws are seeded: the
// seed is printed, and CONVERSOR_SEMENTE_INTERRUPCAO replays it.
#include "app/logica/GravacaoDaConversao.h"
#include "app/logica/Interrupcao.h"
#include "app/logica/LogicaPrincipal.h"
#include "schema/amostra/GeradorAmostra.h"
#include "tests/apoio/BancosTeste.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <regex>
#include <sstream>

namespace {

using TRelogio = std::chrono::steady_clock;
using TDespejo = std::map<std::string, std::vector<apoio::TLinha>>;

double Desde(TRelogio::time_point inicio) {
    return std::chrono::duration<double>(TRelogio::now() - inicio).count();
}

// Busy loops in processes of their own, one per core, each ending by itself after a bound even
// if the test never gets to stop it.
class TCarga {
  public:
    TCarga(int processos, std::chrono::seconds limite) {
        for (int i = 0; i < processos; ++i) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                const auto fim = TRelogio::now() + limite;
                volatile unsigned long giros = 0;
                while (TRelogio::now() < fim) {
                    for (int k = 0; k < 100000; ++k)
                        giros = giros + 1;
                }
                ::_exit(0);
            }
            if (pid > 0)
                pids_.push_back(pid);
        }
    }
    ~TCarga() {
        for (pid_t pid : pids_) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    TCarga(const TCarga&) = delete;
    TCarga& operator=(const TCarga&) = delete;

  private:
    std::vector<pid_t> pids_;
};

// Whether the process already blocks SIGINT, SIGTERM and SIGHUP. Until then it is still being
// loaded: nothing of the program has run, and a signal takes its default action.
bool BloqueiaOsSinais(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string linha;
    while (std::getline(status, linha)) {
        if (linha.rfind("SigBlk:", 0) != 0)
            continue;
        const unsigned long long mascara = std::stoull(linha.substr(7), nullptr, 16);
        const unsigned long long tres =
            (1ULL << (SIGINT - 1)) | (1ULL << (SIGTERM - 1)) | (1ULL << (SIGHUP - 1));
        return (mascara & tres) == tres;
    }
    return false;
}

void Le(int fd, std::string& destino) {
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0)
        destino.append(buf, static_cast<size_t>(n));
}

struct TFim {
    int codigo = -1;           // exit code; -1 when a signal ended the process
    int sinal = 0;             // the signal that ended it
    bool enviado = false;      // false: the process had ended before the moment came
    std::string saidaAntes;    // stdout as it stood when the signal was sent
    std::string saida, erros;  // stdout and stderr in the end
};

// Runs the binary and sends it the signal at the moment drawn. The process is stopped first
// (SIGSTOP, waited for), so that what it had printed by then is known exactly; the signal goes
// while it is stopped, and it is then let go on.
TFim ExecutaEInterrompe(const std::vector<std::string>& argumentos, double momento, int sinal) {
    int saida[2], erros[2];
    if (::pipe2(saida, O_CLOEXEC) != 0 || ::pipe2(erros, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe2");
    const auto inicio = TRelogio::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int nada = ::open("/dev/null", O_RDONLY);
        ::dup2(nada, STDIN_FILENO);
        ::dup2(saida[1], STDOUT_FILENO);
        ::dup2(erros[1], STDERR_FILENO);
        std::vector<char*> argv{const_cast<char*>(CONVERSOR_BINARIO)};
        for (const auto& a : argumentos)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(CONVERSOR_BINARIO, argv.data());
        ::_exit(127);
    }
    ::close(saida[1]);
    ::close(erros[1]);
    for (int fd : {saida[0], erros[0]})
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
    TFim fim;
    int estado = 0;
    bool terminou = false;
    auto acompanha = [&] {
        pollfd p[2] = {{saida[0], POLLIN, 0}, {erros[0], POLLIN, 0}};
        ::poll(p, 2, 1);
        Le(saida[0], fim.saida);
        Le(erros[0], fim.erros);
        if (!terminou && ::waitpid(pid, &estado, WNOHANG) == pid)
            terminou = true;
    };
    while (!terminou && Desde(inicio) < momento)
        acompanha();
    while (!terminou && !BloqueiaOsSinais(pid) && Desde(inicio) < 60)
        acompanha();
    if (!terminou) {
        ::kill(pid, SIGSTOP);
        if (::waitpid(pid, &estado, WUNTRACED) == pid && !WIFSTOPPED(estado))
            terminou = true;  // it ended just before the stop
    }
    Le(saida[0], fim.saida);
    Le(erros[0], fim.erros);
    if (!terminou) {
        fim.saidaAntes = fim.saida;
        fim.enviado = true;
        ::kill(pid, sinal);
        ::kill(pid, SIGCONT);
        const auto limite = TRelogio::now() + std::chrono::seconds(120);
        while (!terminou && TRelogio::now() < limite)
            acompanha();
        if (!terminou) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &estado, 0);
            ADD_FAILURE() << "the process did not end within two minutes of the signal";
        }
    }
    for (int fd : {saida[0], erros[0]}) {
        ::fcntl(fd, F_SETFL, 0);
        Le(fd, fd == saida[0] ? fim.saida : fim.erros);
        ::close(fd);
    }
    if (!fim.enviado)
        fim.saidaAntes = fim.saida;
    if (WIFEXITED(estado))
        fim.codigo = WEXITSTATUS(estado);
    if (WIFSIGNALED(estado))
        fim.sinal = WTERMSIG(estado);
    return fim;
}

const char* Nome(int sinal) {
    return sinal == SIGINT ? "SIGINT" : sinal == SIGTERM ? "SIGTERM" : "SIGHUP";
}

std::uint64_t Semente() {
    if (const char* s = std::getenv("CONVERSOR_SEMENTE_INTERRUPCAO"))
        return std::stoull(s);
    return std::random_device{}();
}

// The moment a row was written (a date with its time of day) differs from run to run.
TDespejo SemMomentos(TDespejo despejo) {
    static const std::regex momento(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)");
    for (auto& [tabela, linhas] : despejo) {
        for (auto& linha : linhas) {
            for (std::string& valor : linha) {
                if (std::regex_match(valor, momento))
                    valor = "<momento>";
            }
        }
        std::sort(linhas.begin(), linhas.end());
    }
    return despejo;
}

bool Contem(const std::string& texto, const std::string& parte) {
    return texto.find(parte) != std::string::npos;
}

TEST(InterrupcaoSobCargaTest, SinalEmQualquerMomentoDesfazOuConfirmaInteiro) {
    const auto comeco = TRelogio::now();
    const std::uint64_t semente = Semente();
    std::cout << "semente: " << semente << " (CONVERSOR_SEMENTE_INTERRUPCAO=" << semente
              << " repete as mesmas tentativas)" << std::endl;
    RecordProperty("semente", std::to_string(semente));

    apoio::TDiretorioTemporario pasta;
    TOpcoesAmostra opcoes;
    opcoes.diretorio = pasta.Arquivo("amostra");
    opcoes.linhas = 60;
    TGeradorAmostra(opcoes).Gera();
    const std::filesystem::path amostra(opcoes.diretorio);
    const std::string base = (amostra / TGeradorAmostra::kAlmuro).string();
    {
        // A target that already holds rows of every kind, so that "as it was" means something.
        TBancoFirebird alvo(1);
        alvo.DefineNome(base);
        alvo.Conecta();
        apoio::Executa(alvo,
                       "insert into PRODUTO (CODPROD, DESCRICAO) values ('000009', 'antigo')");
        apoio::Executa(alvo, "insert into CLIENTE (CODCLIENTE, NOME) values ('000001', 'antigo')");
        apoio::Executa(alvo, "insert into FORNECE (CODFORNEC, NOME) values ('000001', 'antigo')");
    }
    const TDespejo antes = SemMomentos(apoio::Despeja(base));
    const std::string alvo = pasta.Arquivo("alvo.fdb");
    auto argumentos = [&](const std::string& kind, bool ensaio) {
        const char* pasta =
            kind == "products" ? TGeradorAmostra::kProdutos : TGeradorAmostra::kCadastros;
        std::vector<std::string> a{"run",
                                   "--kind",
                                   kind,
                                   "--target",
                                   alvo,
                                   "--source",
                                   (amostra / TGeradorAmostra::kTessaly).string(),
                                   "--workbook",
                                   (amostra / pasta).string()};
        if (ensaio)
            a.push_back("--dry-run");
        return a;
    };
    auto novoAlvo = [&] {
        std::filesystem::copy_file(base, alvo, std::filesystem::copy_options::overwrite_existing);
    };

    const std::vector<std::string> tipos = {"products", "clients", "suppliers"};
    const TCarga carga(2, std::chrono::seconds(170));

    // Each kind run once to its end: what a committed run leaves, and how long a run lives.
    std::map<std::string, TDespejo> depois;
    std::map<std::string, double> duracao;
    for (const std::string& kind : tipos) {
        novoAlvo();
        const auto t0 = TRelogio::now();
        const TFim fim = ExecutaEInterrompe(argumentos(kind, false), 1e9, SIGTERM);
        duracao[kind] = Desde(t0);
        ASSERT_EQ(fim.codigo, 0) << kind << "\n" << fim.erros;
        depois[kind] = SemMomentos(apoio::Despeja(alvo));
        ASSERT_NE(depois[kind], antes) << kind;
    }

    std::mt19937_64 sorteio(semente);
    constexpr int kTentativas = 40;
    std::map<std::string, int> desfechos;
    for (int i = 0; i < kTentativas; ++i) {
        const std::string& kind = tipos[static_cast<size_t>(i) % tipos.size()];
        const bool ensaio = (i / 3) % 2 == 1;
        const int sinal = std::vector<int>{SIGINT, SIGTERM, SIGHUP}[sorteio() % 3];
        const double momento =
            std::uniform_real_distribution<double>(0.0, 1.25 * duracao[kind])(sorteio);
        novoAlvo();
        const TFim fim = ExecutaEInterrompe(argumentos(kind, ensaio), momento, sinal);
        const TDespejo agora = SemMomentos(apoio::Despeja(alvo));

        std::ostringstream onde;
        onde << "semente " << semente << ", tentativa " << i << ": " << kind
             << (ensaio ? " --dry-run" : "") << ", " << Nome(sinal) << " aos " << momento
             << " s\nstdout:\n"
             << fim.saida << "stderr:\n"
             << fim.erros;
        ASSERT_EQ(fim.sinal, 0) << "ended by the signal's default action; " << onde.str();
        const int interrompido = sinal == SIGINT ? 130 : 143;
        if (fim.codigo == interrompido) {
            EXPECT_TRUE(fim.enviado) << onde.str();
            EXPECT_EQ(agora, antes) << onde.str();
            EXPECT_TRUE(Contem(fim.erros, TInterrupcao::kMensagem)) << onde.str();
            ++desfechos["interrompida"];
        } else if (fim.codigo == 0 && ensaio) {
            // A rehearsal ends 0 only when it had told its end before the signal came.
            EXPECT_TRUE(Contem(fim.saidaAntes, TLogicaPrincipal::kSimulacao)) << onde.str();
            EXPECT_EQ(agora, antes) << onde.str();
            ++desfechos[fim.enviado ? "ensaio concluído antes do sinal"
                                    : "ensaio terminado antes do momento"];
        } else if (fim.codigo == 0) {
            EXPECT_EQ(agora, depois[kind]) << onde.str();
            EXPECT_TRUE(Contem(fim.saida, TLogicaPrincipal::kSucesso)) << onde.str();
            const bool avisou = Contem(fim.erros, TGravacaoDaConversao::kAvisoInterrupcao);
            const bool antesDoSinal = Contem(fim.saidaAntes, TLogicaPrincipal::kSucesso);
            EXPECT_TRUE(avisou || antesDoSinal) << onde.str();
            ++desfechos[!fim.enviado ? "gravada antes do momento"
                        : avisou     ? "sinal durante a gravação, avisado"
                                     : "gravada antes do sinal"];
        } else {
            ADD_FAILURE() << "exit code " << fim.codigo << "; " << onde.str();
        }
    }
    std::cout << kTentativas << " tentativas em " << Desde(comeco) << " s:";
    for (const auto& [desfecho, n] : desfechos)
        std::cout << " " << desfecho << " " << n << ";";
    std::cout << std::endl;
}

}  // namespace
