#include "common/ConfiguracaoRegional.h"
#include "common/Win1252.h"
#include "conversion/BancoFirebird.h"
#include "conversion/Consulta.h"
#include "tests/apoio/DiretorioTemporario.h"

#include <gtest/gtest.h>

namespace {

class BancoFirebirdTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TConfiguracaoRegional::Instancia().DefineSeparadorDecimal(',');
        banco1.DefineNome(dir.Arquivo("d1.fdb"));
        banco1.CriaBanco();
        banco3.DefineNome(dir.Arquivo("d3.fdb"));
        banco3.CriaBanco();
    }
    void TearDown() override { TConfiguracaoRegional::Instancia().DefineSeparadorDecimal('.'); }

    TDiretorioTemporario dir;
    TBancoFirebird banco1{1};
    TBancoFirebird banco3{3};
};

TEST_F(BancoFirebirdTest, Dialeto1AceitaLiteralEntreAspasDuplas) {
    banco1.ExecutaScript("create table T (A varchar(1), B varchar(10));");
    TConsulta q(banco1);
    q.DefineSQL("insert into T (A, B) values (\"N\", 'x')");
    q.Executa();
    q.DefineSQL("select A, B from T");
    q.Abre();
    EXPECT_EQ(q.Texto("a"), "N");
    EXPECT_EQ(q.Texto("B"), "x");
}

TEST_F(BancoFirebirdTest, ParametrosNomeadosRepetidosEIgnoradosDentroDeLiterais) {
    banco3.ExecutaScript("create table T (A varchar(10), B varchar(10));");
    TConsulta q(banco3);
    q.DefineSQL("insert into T (A, B) values (:PA, ':PB')");
    q.Parametro("PA", "um");
    q.Executa();
    q.DefineSQL("select A, B from T where A = :PA or B = :pa /* :NADA */");
    q.Parametro("pa", "um");
    q.Abre();
    ASSERT_FALSE(q.Fim());
    EXPECT_EQ(q.Texto("A"), "um");
    EXPECT_EQ(q.Texto("B"), ":PB");
    EXPECT_THROW(q.Parametro("NADA", "x"), EBancoDados);

    std::vector<std::string> nomes;
    EXPECT_EQ(TrocaParametrosNomeados("select \"A:B\", ':C', :D -- :E\n from X", nomes),
              "select \"A:B\", ':C', ? -- :E\n from X");
    EXPECT_EQ(nomes, std::vector<std::string>{"D"});
}

TEST_F(BancoFirebirdTest, TransacaoPadraoIniciaQuandoPrecisaEDesfazApagaOEscrito) {
    banco3.ExecutaScript("create table T (A integer);");
    EXPECT_FALSE(banco3.Transacao().Ativa());
    TConsulta q(banco3);
    q.DefineSQL("insert into T values (1)");
    q.Executa();
    EXPECT_TRUE(banco3.Transacao().Ativa());
    banco3.Transacao().Desfaz();
    EXPECT_FALSE(banco3.Transacao().Ativa());
    q.DefineSQL("select count(*) as N from T");
    q.Abre();
    EXPECT_EQ(q.Inteiro("N"), 0);
}

TEST_F(BancoFirebirdTest, FormasDeTextoDosCampos) {
    banco3.ExecutaScript(
        "create table T (I integer, N numeric(15,2), D double precision, DT date, TS timestamp,"
        " C char(6), V varchar(20), Z varchar(5), B blob sub_type text);"
        "insert into T values (42, 12.50, 0.1, '2010-03-15', '2010-03-15 13:05:09', 'ab',"
        " 'Jos\xC9', null, 'longo');"
        "insert into T values (-7, 3, 1e15, null, '2011-01-02 00:00:00', 'abcdef', '  x ',"
        " '', null);");
    TConsulta q(banco3);
    q.DefineSQL("select * from T order by I desc");
    q.Abre();
    ASSERT_EQ(q.TotalRegistros(), 2);
    EXPECT_EQ(q.Texto("I"), "42");
    EXPECT_EQ(q.Texto("N"), "12,5");
    EXPECT_EQ(q.Texto("D"), "0,1");
    EXPECT_EQ(q.Texto("DT"), "15/03/2010");
    EXPECT_EQ(q.Texto("TS"), "15/03/2010 13:05:09");
    EXPECT_EQ(q.Texto("C"), "ab");
    EXPECT_EQ(q.Texto("V"), "Jos\xC9");
    EXPECT_EQ(q.Texto("Z"), "");
    EXPECT_TRUE(q.Nulo("Z"));
    EXPECT_EQ(q.Texto("B"), "longo");
    EXPECT_DOUBLE_EQ(q.Numero("N"), 12.5);
    q.Proximo();
    EXPECT_EQ(q.Texto("I"), "-7");
    EXPECT_EQ(q.Texto("D"), "1E15");
    EXPECT_EQ(q.Texto("DT"), "");
    EXPECT_EQ(q.Texto("TS"), "02/01/2011");
    EXPECT_EQ(q.Texto("V"), "  x ");
    EXPECT_FALSE(q.Nulo("Z"));
    q.Proximo();
    EXPECT_TRUE(q.Fim());
    q.Ultimo();
    EXPECT_EQ(q.Inteiro("I"), -7);
    q.Primeiro();
    EXPECT_EQ(q.Inteiro("I"), 42);
    EXPECT_THROW(q.Texto("NAO_EXISTE"), EBancoDados);
}

TEST_F(BancoFirebirdTest, InteiroDeTextoQueNaoEhNumeroFalha) {
    TConsulta q(banco3);
    q.DefineSQL("select '00000123' as A, 'x12' as B from RDB$DATABASE");
    q.Abre();
    EXPECT_EQ(q.Inteiro("A"), 123);
    EXPECT_THROW(q.Inteiro("B"), EConversao);
}

TEST_F(BancoFirebirdTest, ErrosTrazemAMensagemDoBanco) {
    TConsulta q(banco3);
    q.DefineSQL("select X from TABELA_QUE_NAO_EXISTE");
    try {
        q.Abre();
        FAIL() << "deveria falhar";
    } catch (const EBancoDados& e) {
        EXPECT_NE(std::string(e.what()).find("TABELA_QUE_NAO_EXISTE"), std::string::npos)
            << e.what();
    }
}

TEST_F(BancoFirebirdTest, ConexaoFechadaEMudancaDeNomeComBancoAberto) {
    TBancoFirebird fechado(3);
    TConsulta q(fechado);
    q.DefineSQL("select 1 from RDB$DATABASE");
    try {
        q.Abre();
        FAIL();
    } catch (const EBancoDados& e) {
        EXPECT_STREQ(e.what(), "Cannot perform operation -- DB is not open");
    }
    banco3.DefineNome(banco3.Nome());  // the same name changes nothing
    try {
        banco3.DefineNome(dir.Arquivo("outro.fdb"));
        FAIL();
    } catch (const EBancoDados& e) {
        EXPECT_STREQ(e.what(), "Cannot perform operation -- DB is currently open");
    }
    EXPECT_THROW(
        {
            TBancoFirebird inexistente(3);
            inexistente.DefineNome(dir.Arquivo("nao-existe.fdb"));
            inexistente.Conecta();
        },
        EBancoDados);
}

TEST_F(BancoFirebirdTest, ComandoPreparadoGravaTextosConvertidosPeloBanco) {
    banco3.ExecutaScript("create table T (I integer, N numeric(9,2), D date, V varchar(5));");
    TComandoPreparado cmd(banco3, "insert into T values (?, ?, ?, ?)");
    cmd.Executa({"7", "2.5", "15.03.2010", std::nullopt});
    EXPECT_THROW(cmd.Executa({"7", "2.5", "15.03.2010", "longo demais"}), EBancoDados);
    banco3.Transacao().Confirma();
    TConsulta q(banco3);
    q.DefineSQL("select * from T");
    q.Abre();
    ASSERT_EQ(q.TotalRegistros(), 1);
    EXPECT_EQ(q.Texto("N"), "2,5");
    EXPECT_EQ(q.Texto("D"), "15/03/2010");
    EXPECT_TRUE(q.Nulo("V"));
}

TEST_F(BancoFirebirdTest, ConsultasSobrevivemAoFimDaTransacao) {
    TConsulta q(banco3);
    q.DefineSQL("select 'a' as A from RDB$DATABASE");
    q.Abre();
    banco3.Transacao().Confirma();
    EXPECT_EQ(q.Texto("A"), "a");
    banco3.Desconecta();
    EXPECT_FALSE(banco3.Conectado());
    q.DefineSQL("select 'b' as A from RDB$DATABASE");
    EXPECT_THROW(q.Abre(), EBancoDados);
}

}  // namespace

namespace {

// The cache a connection asks for is the one the engine gives the database it opens first; a
// connection that asks for none leaves the engine's own.
TEST_F(BancoFirebirdTest, PaginasEmCachePedidasAoAbrirPrimeiro) {
    auto paginas = [](TBancoFirebird& b) {
        TConsulta q(b);
        q.DefineSQL("select MON$PAGE_BUFFERS as N from MON$DATABASE");
        q.Abre();
        return q.Inteiro("N");
    };
    const std::int64_t padrao = paginas(banco3);
    banco1.Desconecta();
    TBancoFirebird pequeno(1);
    pequeno.DefineNome(dir.Arquivo("d1.fdb"));
    pequeno.DefinePaginasEmCache(256);
    pequeno.Conecta();
    EXPECT_EQ(paginas(pequeno), 256);
    EXPECT_NE(padrao, 256);
}

}  // namespace
