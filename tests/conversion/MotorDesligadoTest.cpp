// When the engine of the process has shut down under open statements and transactions (as it
// does on SIGINT or SIGTERM unless told otherwise), every further call of the database layer
// fails with the engine's message, and the objects still go away quietly: no endless fetch, no
// exception out of a destructor. The shutdown is for good, so each case runs in a child process.
#include "conversion/Consulta.h"
#include "tests/apoio/BancosTeste.h"

#include <ibase.h>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// Exit codes of the child: what went wrong, for the parent to report.
enum { kOk = 0, kNaoFalhou = 2, kOutroErro = 3 };

int ConsultaDepoisDoDesligamento() {
    {
        apoio::TBancosTeste bancos;
        apoio::InsereLinhas(bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME"},
                            {{"00000001", "Um"}, {"00000002", "Dois"}});
        TConsulta origem(bancos.Tessaly());
        origem.DefineSQL("select CODIGO, NOME from ESTOQUE");
        origem.Abre();
        TConsulta destino(bancos.Almuro());
        destino.DefineSQL("insert into UNIDADES (UNIDADE) values ('ZZ')");
        destino.Executa();  // leaves the target's transaction open
        TComandoPreparado preparado(bancos.Almuro(), "delete from UNIDADES");

        fb_shutdown(0, 1);

        try {
            origem.Abre();
            return kNaoFalhou;
        } catch (const EBancoDados&) {
        } catch (...) {
            return kOutroErro;
        }
        try {
            bancos.Almuro().Transacao().Desfaz();
        } catch (const EBancoDados&) {
        }
        // Every object of the layer is destroyed here, the connections with open handles.
    }
    return kOk;
}

// The engine goes down while a long result is being fetched. A fetch after the shutdown answers
// "row" with the error set; read as a row, it would repeat the last one until memory ran out
// (here, a limit of the child's address space turns that into bad_alloc).
int DesligamentoDuranteABusca() {
    apoio::TBancosTeste bancos;
    const rlimit limite{1024L * 1024 * 1024, 1024L * 1024 * 1024};
    setrlimit(RLIMIT_AS, &limite);
    TConsulta q(bancos.Tessaly());
    q.DefineSQL(
        "execute block returns (N integer, T varchar(40)) as begin N = 0; "
        "while (N < 5000000) do begin N = N + 1; T = 'linha ' || N; suspend; end end");
    std::thread desliga([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        fb_shutdown(0, 1);
    });
    int r = kNaoFalhou;
    try {
        q.Abre();
    } catch (const EBancoDados&) {
        r = kOk;
    } catch (...) {
        r = kOutroErro;
    }
    desliga.join();
    return r;
}

TEST(MotorDesligadoDeathTest, BuscaParaQuandoOMotorSaiNoMeio) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(DesligamentoDuranteABusca()), ::testing::ExitedWithCode(kOk), "");
}

TEST(MotorDesligadoDeathTest, ConsultasFalhamEOsObjetosSaemSemErro) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(ConsultaDepoisDoDesligamento()), ::testing::ExitedWithCode(kOk), "");
}

}  // namespace
