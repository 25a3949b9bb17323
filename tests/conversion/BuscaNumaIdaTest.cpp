// A lookup row's whole lookup asked in one block answers what its questions answer in turn: the
// run's own rows first, then the rows other runs committed, then a new code after the highest of
// both, never a code foreseen from a stale highest one; each code in its column's own text; what
// the block cannot carry is asked in turn, failure and all.
#include "conversion/BuscaDeLinha.h"
#include "conversion/BuscaNumaIda.h"
#include "conversion/Consulta.h"
#include "conversion/LoteComandos.h"
#include "conversion/TabelasIndependentes.h"
#include "tests/apoio/BancosTeste.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kPorNome =
    " select CodCidade from Cidades  where Cidade = :CIDADE   And Estado = :ESTADO";
const char* const kBeloHorizonte = " select codcidade from cidades where cidade = 'BELO HORIZONTE'";

// A city's lookup, BELO HORIZONTE after the exact one as for BHTE.
TBuscaDaLinha Cidade(const std::string& nome, const std::string& uf) {
    TBuscaDaLinha busca;
    busca.proprias = {{kPorNome, {{"CIDADE", nome}, {"ESTADO", uf}}, "CodCidade"}};
    busca.nuloEncontra = false;
    busca.confirmadas = {{{kPorNome, {{"CIDADE", nome}, {"ESTADO", uf}}, "CodCidade"}},
                         " Select Max(CodCidade) as CodCliente From Cidades ",
                         "CodCliente"};
    if (nome == "BHTE") {
        busca.proprias.push_back({kBeloHorizonte, {}, "CODCIDADE"});
        busca.confirmadas.buscas.push_back({kBeloHorizonte, {}, "CODCIDADE"});
    }
    busca.proximo = [](const std::string& maior) {
        const std::string n = std::to_string(maior.empty() ? 1 : std::stoi(maior) + 1);
        return std::string(5 - n.size(), '0') + n;
    };
    busca.criacao = {"insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values (:C, :N, :U)",
                     [=](const std::string& novo) -> TParametrosComando {
                         return {{"C", novo}, {"N", nome}, {"U", uf}};
                     }};
    return busca;
}

class BuscaNumaIdaTest : public ::testing::Test {
  protected:
    apoio::TBancosTeste bancos;

    // Committed by another connection after the run's transaction took its snapshot.
    void ConfirmaEmOutraConexao(const std::string& sql) {
        TBancoFirebird outra(1);
        outra.DefineNome(bancos.CaminhoAlmuro());
        outra.Conecta();
        apoio::Executa(outra, sql);
    }
    // The catalog changed as the customer's database comes, with the run's connection away.
    void MudaOCatalogo(const std::vector<std::string>& ddl) {
        bancos.Desconecta();
        for (const std::string& comando : ddl)
            ConfirmaEmOutraConexao(comando);
        bancos.Conecta();
    }
    TLinhaAchada NumaIda(const TBuscaDaLinha& busca) {
        auto achada = BuscaNumaIda(bancos.Almuro(), busca);
        EXPECT_TRUE(achada) << "o bloco não respondeu";
        return achada.value_or(TLinhaAchada{});
    }
    void ExecutaNaTransacao(const std::string& sql) {
        TConsulta q(bancos.Almuro());
        q.DefineSQL(sql);
        q.Executa();
    }
};

TEST_F(BuscaNumaIdaTest, RespondeComoAsPerguntasEmSequencia) {
    ExecutaNaTransacao(
        "insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values ('00003', 'A', 'MG')");
    ConfirmaEmOutraConexao(
        "insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values ('00007', 'B', 'SP')");
    ConfirmaEmOutraConexao(
        "insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values ('00005', 'BELO HORIZONTE', 'MG')");

    const TLinhaAchada a = NumaIda(Cidade("A", "MG"));
    EXPECT_EQ(a.origem, TLinhaAchada::TOrigem::Propria);
    EXPECT_EQ(a.codigo, "00003");

    const TLinhaAchada b = NumaIda(Cidade("B", "SP"));
    EXPECT_EQ(b.origem, TLinhaAchada::TOrigem::Confirmada);
    EXPECT_EQ(b.indice, 0);
    EXPECT_EQ(b.codigo, "00007");

    const TLinhaAchada bh = NumaIda(Cidade("BHTE", "MG"));
    EXPECT_EQ(bh.origem, TLinhaAchada::TOrigem::Confirmada);
    EXPECT_EQ(bh.indice, 1);
    EXPECT_EQ(bh.codigo, "00005");

    // A new city follows the highest code of either snapshot (the run's own row is not
    // committed; the others' are not in the run's snapshot).
    const TLinhaAchada d = NumaIda(Cidade("D", "MG"));
    EXPECT_EQ(d.origem, TLinhaAchada::TOrigem::Criada);
    EXPECT_EQ(d.codigo, "00008");
    EXPECT_EQ(apoio::Valor(bancos.Almuro(), "select CIDADE from CIDADES where CODCIDADE = '00008'"),
              "D");
}

// The next code is foreseen from the last one the run created; a higher code another run
// committed since is the one the new code follows.
TEST_F(BuscaNumaIdaTest, CodigoPrevistoNaoPassaPorCimaDoDeOutraExecucao) {
    EXPECT_EQ(NumaIda(Cidade("E", "MG")).codigo, "00001");
    EXPECT_EQ(NumaIda(Cidade("F", "MG")).codigo, "00002");
    ConfirmaEmOutraConexao(
        "insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values ('00020', 'G', 'SP')");
    EXPECT_EQ(NumaIda(Cidade("H", "MG")).codigo, "00021");
    EXPECT_EQ(NumaIda(Cidade("G", "SP")).codigo, "00020");
}

TEST_F(BuscaNumaIdaTest, CodigoNoTextoDoTipoDaSuaColuna) {
    apoio::Executa(bancos.Almuro(),
                   "create table CODIGOS (COD char(6), NUM integer, NOME varchar(10))");
    apoio::Executa(bancos.Almuro(), "insert into CODIGOS values ('7', 12, 'X')");
    for (const char* coluna : {"COD", "NUM"}) {
        const std::string sql =
            std::string("select ") + coluna + " from CODIGOS where NOME = :NOME";
        TConsulta q(bancos.Almuro());
        q.DefineSQL(sql);
        q.Parametro("NOME", "X");
        q.Abre();
        TBuscaDaLinha busca;
        busca.proprias = {{sql, {{"NOME", "X"}}, coluna}};
        busca.confirmadas = {{{sql, {{"NOME", "X"}}, coluna}}, {}, {}};
        busca.proximo = [](const std::string&) { return std::string("1"); };
        busca.criacao = {"insert into CODIGOS (NOME) values (:NOME)",
                         [](const std::string&) -> TParametrosComando {
                             return {{"NOME", "X"}};
                         }};
        EXPECT_EQ(NumaIda(busca).codigo, q.Texto(coluna)) << coluna;
    }
}

TEST_F(BuscaNumaIdaTest, ValorQueOComandoRecusaTemARecusaDeSempre) {
    const std::string longa(50, 'X');  // the column takes 40
    auto falha = [&](TLoteComandos::TUso uso) {
        bancos.Almuro().Lote().DefineUso(uso);
        try {
            BuscaOuCriaLinha(bancos.Almuro(), Cidade(longa, "MG"));
        } catch (const EBancoDados& e) {
            return std::string(e.what());
        }
        return std::string("nenhuma falha");
    };
    const std::string emSequencia = falha(TLoteComandos::TUso::Nunca);
    EXPECT_NE(emSequencia, "nenhuma falha");
    EXPECT_EQ(falha(TLoteComandos::TUso::Sempre), emSequencia);
    EXPECT_EQ(apoio::ContaLinhas(bancos.Almuro(), "CIDADES"), 0);
}

// A lookup that shares no table with the held rows runs before them, in its own trip, and they
// stay held; whatever the engine may do on its own between the two (a trigger, a view, a foreign
// key from the lookup's table to a held one) makes the held rows run first, as always.
TEST_F(BuscaNumaIdaTest, BuscaDeOutraTabelaNaoEsperaAsLinhasRetidas) {
    // The held table referring to the lookup's is no bar.
    MudaOCatalogo(
        {"alter table CLIENTE add constraint FK_CIDADE foreign key (CODCIDADE) "
         "references CIDADES (CODCIDADE)"});
    TBancoFirebird& alvo = bancos.Almuro();
    alvo.Lote().DefineUso(TLoteComandos::TUso::Sempre);
    alvo.Lote().Grava("insert into CLIENTE (CODCLIENTE, NOME) values ('00000001', 'ANA')");
    const TLinhaAchada achada = BuscaOuCriaLinha(alvo, Cidade("NOVA", "MG"));
    EXPECT_EQ(achada.codigo, "00001");
    EXPECT_TRUE(alvo.Lote().Retendo());
    alvo.Lote().Descarrega();
    EXPECT_EQ(apoio::Valor(alvo, "select count(*) from CLIENTE"), "1");
    EXPECT_EQ(apoio::Valor(alvo, "select CIDADE from CIDADES"), "NOVA");
}

TEST_F(BuscaNumaIdaTest, GatilhoVisaoOuChaveParaUmaRetidaPrendemABusca) {
    MudaOCatalogo({"create trigger PRODUTO_AUDITA for PRODUTO after insert as begin end",
                   "alter table CIDADES add CLIENTE_REF varchar(8) references CLIENTE (CODCLIENTE)",
                   "create view CLIENTES_V as select CODCLIENTE from CLIENTE"});
    TTabelasIndependentes independentes;
    TBancoFirebird& alvo = bancos.Almuro();
    EXPECT_TRUE(independentes.Independentes(alvo, {"UNIDADES"}, {"CLIENTE", "FORNECE"}));
    EXPECT_FALSE(independentes.Independentes(alvo, {"UNIDADES"}, {"CLIENTE", "PRODUTO"}));
    EXPECT_FALSE(independentes.Independentes(alvo, {"CIDADES"}, {"CLIENTE"}));
    EXPECT_TRUE(independentes.Independentes(alvo, {"CIDADES"}, {"FORNECE"}));
    EXPECT_FALSE(independentes.Independentes(alvo, {"UNIDADES", "CLIENTE"}, {"CLIENTE"}));
    EXPECT_FALSE(independentes.Independentes(alvo, {"CLIENTES_V"}, {"CIDADES"}));
    EXPECT_FALSE(independentes.Independentes(alvo, {"NAO_HA"}, {"CIDADES"}));
}

}  // namespace
