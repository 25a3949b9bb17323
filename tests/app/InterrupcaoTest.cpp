// A run stopped from outside: by a signal to the headless binary in the middle of a real run,
// or by a stop asked before or during the run in the logic itself. It ends rolled back, with the
// signal's exit code and its own message, and every table of the target is as it was.
#include "app/logica/GravacaoDaConversao.h"
#include "app/logica/Interrupcao.h"
#include "schema/amostra/GeradorAmostra.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/LogicaTeste.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

using apoio::TLinha;

using apoio::Despeja;

struct TFim {
    int codigo = -1;    // exit code, or -1 when a signal ended the process
    int sinal = 0;      // the signal that ended it
    std::string erros;  // what it wrote to its terminal (stderr)
    std::string saida;  // stdout
};

// The binary with stderr on a terminal of its own, so that it draws its progress; the signal
// goes as soon as the progress shows the caption, and the process is then waited for. A signal
// `ignorado` starts ignored, as a shell or nohup can leave it.
TFim InterrompeQuandoMostrar(const std::vector<std::string>& argumentos, const std::string& legenda,
                             int sinal, const std::string& arquivoSaida, int ignorado = 0) {
    int mestre = -1, escravo = -1;
    if (::openpty(&mestre, &escravo, nullptr, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setsid();
        const int saida = ::open(arquivoSaida.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int nada = ::open("/dev/null", O_RDONLY);
        ::dup2(nada, STDIN_FILENO);
        ::dup2(saida, STDOUT_FILENO);
        ::dup2(escravo, STDERR_FILENO);
        if (ignorado != 0)
            std::signal(ignorado, SIG_IGN);
        std::vector<char*> argv{const_cast<char*>(CONVERSOR_BINARIO)};
        for (const auto& a : argumentos)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(CONVERSOR_BINARIO, argv.data());
        ::_exit(127);
    }
    ::close(escravo);
    TFim fim;
    bool enviado = false;
    const auto limite = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    while (std::chrono::steady_clock::now() < limite) {
        pollfd p{mestre, POLLIN, 0};
        if (::poll(&p, 1, 200) > 0) {
            char buf[4096];
            const ssize_t n = ::read(mestre, buf, sizeof buf);
            if (n <= 0)
                break;  // the process closed its terminal: it ended
            fim.erros.append(buf, static_cast<size_t>(n));
        }
        if (!enviado && fim.erros.find(legenda) != std::string::npos) {
            ::kill(pid, sinal);
            enviado = true;
        }
    }
    if (!enviado)
        ::kill(pid, SIGKILL);  // never showed the caption: the test fails below
    int estado = 0;
    ::waitpid(pid, &estado, 0);
    ::close(mestre);
    if (WIFEXITED(estado))
        fim.codigo = WEXITSTATUS(estado);
    if (WIFSIGNALED(estado))
        fim.sinal = WTERMSIG(estado);
    std::ifstream f(arquivoSaida);
    std::stringstream ss;
    ss << f.rdbuf();
    fim.saida = ss.str();
    EXPECT_TRUE(enviado) << fim.erros;
    return fim;
}

// One sample site for every case, big enough for a run to be stopped in the middle; a target
// that already holds rows, so that "as it was" means something.
class InterrupcaoProcessoTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        pasta_ = new apoio::TDiretorioTemporario;
        TOpcoesAmostra opcoes;
        opcoes.diretorio = pasta_->Arquivo("amostra");
        opcoes.linhas = 6000;
        TGeradorAmostra(opcoes).Gera();
        TBancoFirebird alvo(1);
        alvo.DefineNome(Amostra(TGeradorAmostra::kAlmuro));
        alvo.Conecta();
        apoio::Executa(alvo,
                       "insert into PRODUTO (CODPROD, DESCRICAO) values ('000009', 'antigo')");
        apoio::Executa(alvo, "insert into UNIDADES (UNIDADE) values ('ZZ')");
        apoio::Executa(alvo,
                       "insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values "
                       "('00001', 'ANTIGA', 'XX')");
        apoio::Executa(alvo, "insert into CLIENTE (CODCLIENTE, NOME) values ('000001', 'antigo')");
        apoio::Executa(alvo, "insert into FORNECE (CODFORNEC, NOME) values ('000001', 'antigo')");
    }
    static void TearDownTestSuite() {
        delete pasta_;
        pasta_ = nullptr;
    }
    static std::string Amostra(const char* arquivo) {
        return (std::filesystem::path(pasta_->Arquivo("amostra")) / arquivo).string();
    }

    // The run of a kind on a copy of the sample's target, stopped by the signal when the
    // progress shows the caption; the target is compared with what it was.
    TFim Interrompe(const std::string& kind, const std::string& legenda, int sinal,
                    int ignorado = 0) {
        const std::string alvo = dir_.Arquivo("almuro.fdb");
        std::filesystem::copy_file(Amostra(TGeradorAmostra::kAlmuro), alvo);
        const auto antes = Despeja(alvo);
        const char* pasta =
            kind == "products" ? TGeradorAmostra::kProdutos : TGeradorAmostra::kCadastros;
        TFim fim = InterrompeQuandoMostrar(
            {"run", "--kind", kind, "--target", alvo, "--source",
             Amostra(TGeradorAmostra::kTessaly), "--workbook", Amostra(pasta)},
            legenda, sinal, dir_.Arquivo("saida.txt"), ignorado);
        if (fim.codigo != 0) {
            EXPECT_EQ(Despeja(alvo), antes);
        }
        return fim;
    }

    static void EsperaMensagem(const TFim& fim) {
        EXPECT_NE(fim.erros.find("Houve um erro ao realizar a conversão. Motivo: "),
                  std::string::npos)
            << fim.erros;
        EXPECT_NE(fim.erros.find(TInterrupcao::kMensagem), std::string::npos) << fim.erros;
        EXPECT_EQ(fim.saida.find("sucesso"), std::string::npos) << fim.saida;
    }

    static apoio::TDiretorioTemporario* pasta_;
    apoio::TDiretorioTemporario dir_;
};

apoio::TDiretorioTemporario* InterrupcaoProcessoTest::pasta_ = nullptr;

TEST_F(InterrupcaoProcessoTest, CtrlCNoMeioDosProdutosDesfazESai130) {
    const TFim fim = Interrompe("products", "Convertendo Produtos - Registro", SIGINT);
    EXPECT_EQ(fim.codigo, 130);
    EsperaMensagem(fim);
}

TEST_F(InterrupcaoProcessoTest, SigtermNoMeioDosClientesDesfazESai143) {
    const TFim fim = Interrompe("clients", "Convertendo Clientes - Registro", SIGTERM);
    EXPECT_EQ(fim.codigo, 143);
    EsperaMensagem(fim);
}

TEST_F(InterrupcaoProcessoTest, SighupNoMeioDosFornecedoresDesfazESai143) {
    const TFim fim = Interrompe("suppliers", "Convertendo Fornecedores - Registro", SIGHUP);
    EXPECT_EQ(fim.codigo, 143);
    EsperaMensagem(fim);
}

// A job a shell starts in the background has SIGINT ignored, and whoever sends it still means
// the run to stop; a hangup ignored under nohup stays ignored and the run goes on to its end.
TEST_F(InterrupcaoProcessoTest, SinaisIgnoradosNoInicio) {
    const TFim ctrlC =
        Interrompe("clients", "Convertendo Clientes - Registro", SIGINT, /*ignorado=*/SIGINT);
    EXPECT_EQ(ctrlC.codigo, 130);
    EsperaMensagem(ctrlC);

    std::filesystem::remove(dir_.Arquivo("almuro.fdb"));
    const TFim hup =
        Interrompe("suppliers", "Convertendo Fornecedores - Registro", SIGHUP, /*ignorado=*/SIGHUP);
    EXPECT_EQ(hup.codigo, 0) << hup.erros;
    EXPECT_NE(hup.saida.find(TLogicaPrincipal::kSucesso), std::string::npos) << hup.saida;
}

TEST_F(InterrupcaoProcessoTest, KillMenos9NaoDeixaNadaGravado) {
    const TFim fim = Interrompe("products", "Convertendo Produtos - Registro", SIGKILL);
    EXPECT_EQ(fim.sinal, SIGKILL);
}

// ---- A stop asked of the logic itself ---------------------------------------------------------

class InterrupcaoLogicaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        apoio::Executa(t.bancos.Almuro(),
                       "insert into PRODUTO (CODPROD, DESCRICAO) values ('000009', 'antigo')");
        apoio::InsereLinhas(
            t.bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME", "UND_COMPRA", "UND_VENDA"},
            {{"00000007", "Caneta", "UN", "UN"}, {"00000008", "Lapis", "UN", "UN"}});
    }
    void TearDown() override { TInterrupcao::Limpa(); }

    apoio::TLogicaTeste t;
};

TEST_F(InterrupcaoLogicaTest, PedidoNoMeioDaConversaoDesfazComOPrefixo) {
    int registros = 0;
    t.progresso.aoProcessar = [&] {
        if (++registros == 2)
            TInterrupcao::Pede(SIGTERM);
    };
    EXPECT_FALSE(t.logica.EfetuaConversao());
    EXPECT_EQ(t.mensagens.Textos("Erro"),
              std::vector<std::string>{std::string(TLogicaPrincipal::kPrefixoErro) + "\r" +
                                       TInterrupcao::kMensagem});
    EXPECT_FALSE(t.logica.dbAlmuro.Transacao().Ativa());
    EXPECT_EQ(apoio::Linhas(t.bancos.Almuro(), "select CODPROD from PRODUTO"),
              std::vector<TLinha>{{"000009"}});
    EXPECT_EQ(TInterrupcao::CodigoDeSaida(1), 143);
}

TEST_F(InterrupcaoLogicaTest, PedidoAntesDeNenhumRegistroNaoConfirma) {
    // No record and no row: the last look before the commit still stops it.
    apoio::Executa(t.bancos.Tessaly(), "delete from ESTOQUE");
    t.Planilha(1, {{"Codigo"}});
    TInterrupcao::Pede(SIGINT);
    EXPECT_FALSE(t.logica.EfetuaConversao());
    EXPECT_TRUE(t.mensagens.Textos("Informação").empty());
    EXPECT_EQ(apoio::ContaLinhas(t.bancos.Almuro(), "PRODUTO"), 1);
    EXPECT_EQ(TInterrupcao::CodigoDeSaida(1), 130);
}

TEST_F(InterrupcaoLogicaTest, PedidoDuranteOCarregamentoDaPlanilhaParaSemTransacao) {
    const std::string csv = t.bancos.Diretorio().Arquivo("p.csv");
    std::ofstream(csv) << "Codigo;Descricao\n1;Um\n2;Dois\n";
    t.logica.AbrePlanilha(csv);
    TInterrupcao::Pede(SIGINT);
    try {
        t.logica.btOKClick();
        ADD_FAILURE() << "the run went on";
    } catch (const EInterrupcao& e) {
        EXPECT_STREQ(e.what(), TInterrupcao::kMensagem);
    }
    EXPECT_FALSE(t.logica.dbAlmuro.Transacao().Ativa());
    EXPECT_TRUE(t.logica.ControlesHabilitados());
    EXPECT_EQ(apoio::ContaLinhas(t.bancos.Almuro(), "PRODUTO"), 1);
}

// The display says what each wait that lets no events run is for: the commit, or the undoing
// of a stopped run.
TEST_F(InterrupcaoLogicaTest, AsEsperasDizemOQueSeFaz) {
    EXPECT_TRUE(t.logica.EfetuaConversao());
    EXPECT_EQ(t.progresso.esperas, std::vector<std::string>{TGravacaoDaConversao::kGravando});
    EXPECT_TRUE(t.mensagens.avisosDoFim.empty());
    EXPECT_EQ(t.progresso.ultimo.aguarde, "");  // the commit has returned

    t.progresso.esperas.clear();
    int registros = 0;
    t.progresso.aoProcessar = [&] {
        if (++registros == 1)
            TInterrupcao::Pede(SIGINT);
    };
    EXPECT_FALSE(t.logica.EfetuaConversao());
    EXPECT_EQ(t.progresso.esperas, std::vector<std::string>{TLogicaPrincipal::kDesfazendo});
}

// Past the last look, a stop cannot undo the run any more: it ends committed, and its success
// comes with the notice instead of hiding that the stop came.
TEST_F(InterrupcaoLogicaTest, PedidoDuranteAGravacaoConfirmaEAvisa) {
    t.progresso.aoMostrarJa = [] { TInterrupcao::Pede(SIGTERM); };
    EXPECT_TRUE(t.logica.EfetuaConversao());
    EXPECT_EQ(t.mensagens.Textos("Informação"),
              std::vector<std::string>{TLogicaPrincipal::kSucesso});
    EXPECT_EQ(t.mensagens.avisosDoFim,
              std::vector<std::string>{TGravacaoDaConversao::kAvisoInterrupcao});
    EXPECT_EQ(apoio::ContaLinhas(t.bancos.Almuro(), "PRODUTO"), 2);
    EXPECT_FALSE(t.logica.Gravando());
}

}  // namespace
