// A source statement read row by row gives what reading it whole gives, counted the same, and
// a fetch that fails in the middle of the table fails there.
#include "conversion/ConsultaSequencial.h"
#include "conversion/clients/ClientesBanco.h"
#include "conversion/products/ProdutosBanco.h"
#include "conversion/suppliers/FornecedoresBanco.h"
#include "schema/amostra/GeradorAmostra.h"
#include "tests/apoio/BancosTeste.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The column names of a "SELECT a, b, ... FROM t" statement.
std::vector<std::string> Colunas(const std::string& sql) {
    const size_t inicio = sql.find("SELECT ") + 7;
    const std::string lista = sql.substr(inicio, sql.find(" FROM ") - inicio);
    std::vector<std::string> nomes;
    for (size_t p = 0; p <= lista.size();) {
        size_t v = lista.find(',', p);
        if (v == std::string::npos)
            v = lista.size();
        std::string nome = lista.substr(p, v - p);
        nome.erase(0, nome.find_first_not_of(' '));
        nomes.push_back(nome);
        p = v + 1;
    }
    return nomes;
}

// Every value of a row, in the form the mappings read it.
std::vector<std::string> Linha(const TCamposResultado& q, const std::vector<std::string>& nomes) {
    std::vector<std::string> r;
    for (const auto& n : nomes)
        r.push_back(q.Texto(n));
    return r;
}

TEST(ConsultaSequencialTest, LeEContaOQueALeituraInteiraLeMesmoComOutraConsultaNoMeio) {
    apoio::TDiretorioTemporario dir;
    TOpcoesAmostra opcoes;
    opcoes.diretorio = dir.Caminho().string();
    opcoes.linhas = 300;
    TGeradorAmostra(opcoes).Gera();
    TBancoFirebird origem(3);
    origem.DefineNome(dir.Arquivo(TGeradorAmostra::kTessaly));
    origem.Transacao().DefineSomenteLeitura(true);
    origem.Conecta();

    for (const char* sql : {kComandoEstoque, kComandoClientesBanco, kComandoFornecedoresBanco}) {
        SCOPED_TRACE(sql);
        const auto nomes = Colunas(sql);
        TConsulta inteira(origem);
        inteira.DefineSQL(sql);
        inteira.Abre();

        TConsultaSequencial aosPoucos(origem);
        aosPoucos.DefineSQL(sql);
        aosPoucos.Abre();
        EXPECT_EQ(aosPoucos.ContaRegistros(), inteira.TotalRegistros());
        int lidas = 0;
        while (!aosPoucos.Fim() && !inteira.Fim()) {
            ASSERT_EQ(Linha(aosPoucos, nomes), Linha(inteira, nomes)) << "linha " << lidas + 1;
            if (lidas == 1) {
                // The same text again on the connection, as a lookup would, while the cursor
                // is open: the cursor goes on where it was.
                TConsulta outra(origem);
                outra.DefineSQL(sql);
                outra.Abre();
            }
            ++lidas;
            aosPoucos.Proximo();
            inteira.Proximo();
        }
        EXPECT_TRUE(aosPoucos.Fim());
        EXPECT_TRUE(inteira.Fim());
        EXPECT_EQ(lidas, 300);
    }
}

TEST(ConsultaSequencialTest, FalhaDoMotorNoMeioDaTabelaSaiAoChegarNaLinha) {
    apoio::TBancosTeste bancos;
    TBancoFirebird& origem = bancos.Tessaly();
    apoio::Executa(origem, "create table CONTAS (N integer, R computed by (10 / (N - 3)))");
    for (int n = 1; n <= 4; ++n)
        apoio::Executa(origem, "insert into CONTAS (N) values (" + std::to_string(n) + ")");
    TConsultaSequencial q(origem);
    q.DefineSQL("select N, R from CONTAS");
    q.Abre();
    EXPECT_EQ(q.ContaRegistros(), 4);
    EXPECT_EQ(q.Texto("R"), "-5");
    q.Proximo();
    EXPECT_EQ(q.Texto("R"), "-10");
    try {
        q.Proximo();
        FAIL() << "a divisão por zero passou";
    } catch (const EBancoDados& e) {
        EXPECT_NE(std::string(e.what()).find("divide"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(q.Fim());
}

}  // namespace
