#include "conversion/BancoFirebird.h"
#include "conversion/Consulta.h"
#include "conversion/ObjetosComando.h"
#include "tests/apoio/DiretorioTemporario.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

std::string ErroAoConectar(const std::string& caminho) {
    TBancoFirebird banco(1);
    banco.DefinePapel("ALMURO");
    banco.DefineNome(caminho);
    try {
        banco.Conecta();
    } catch (const EBancoDados& e) {
        return e.what();
    }
    return {};
}

TEST(ErrosMotor, FrasePorCodigoComPapelECaminhoEOTextoDoMotorDepois) {
    TDiretorioTemporario dir;
    const std::string nao = dir.Arquivo("nao.fdb");
    EXPECT_EQ(ErroAoConectar(nao).rfind("O arquivo do banco ALMURO (" + nao +
                                            ") não foi encontrado.\nI/O error during \"open\"",
                                        0),
              0u)
        << ErroAoConectar(nao);

    const std::string texto = dir.Arquivo("texto.fdb");
    std::ofstream(texto) << std::string(20000, 'x');
    EXPECT_EQ(ErroAoConectar(texto), "O arquivo do banco ALMURO (" + texto +
                                         ") não é um banco de dados Firebird.\nfile " + texto +
                                         " is not a valid database");

    TBancoFirebird banco(3);
    banco.DefinePapel("TESSALY");
    banco.DefineNome(dir.Arquivo("t.fdb"));
    banco.CriaBanco();
    TConsulta q(banco);
    q.DefineSQL("select X from RDB$DATABASE");
    try {
        q.Abre();
        FAIL();
    } catch (const EBancoDados& e) {
        const std::string msg = e.what();
        EXPECT_EQ(msg.rfind("O banco TESSALY (" + banco.Nome() +
                                ") não tem a coluna X.\nDynamic SQL Error\n-SQL error code = -206",
                            0),
                  0u)
            << msg;
        EXPECT_TRUE(e.TemCodigo(335544578L));  // isc_dsql_field_err
    }
}

TEST(ErrosMotor, ArquivoVazioCortadoOuPastaDizemOQueHaComOArquivo) {
    TDiretorioTemporario dir;
    const std::string vazio = dir.Arquivo("vazio.fdb");
    std::ofstream(vazio).close();
    EXPECT_EQ(ErroAoConectar(vazio).rfind("O arquivo do banco ALMURO (" + vazio +
                                              ") está vazio: não é um banco de dados Firebird.\n"
                                              "I/O error during \"read\"",
                                          0),
              0u)
        << ErroAoConectar(vazio);

    // A real database cut short, as an interrupted copy leaves it.
    const std::string cortado = dir.Arquivo("cortado.fdb");
    {
        TBancoFirebird banco(1);
        banco.DefineNome(cortado);
        banco.CriaBanco();
    }
    std::filesystem::resize_file(cortado, std::filesystem::file_size(cortado) / 2);
    EXPECT_EQ(ErroAoConectar(cortado).rfind(
                  "O arquivo do banco ALMURO (" + cortado +
                      ") está incompleto: ele termina antes do fim do banco (uma cópia "
                      "interrompida ou um arquivo cortado).\nI/O error during \"read\"",
                  0),
              0u)
        << ErroAoConectar(cortado);

    const std::string pasta = dir.Arquivo("pasta.fdb");
    std::filesystem::create_directory(pasta);
    EXPECT_EQ(ErroAoConectar(pasta).rfind("O caminho do banco ALMURO (" + pasta +
                                              ") é uma pasta, não o arquivo de um banco de "
                                              "dados.\nI/O error during \"read\"",
                                          0),
              0u)
        << ErroAoConectar(pasta);
}

// The engine says "expected length 12, actual 14", or a key's name, or the text it could not
// convert; the statement's own columns and the catalogue say which column and value.
TEST(ErrosMotor, RecusaNomeiaAColunaEOValorDoComando) {
    TDiretorioTemporario dir;
    TBancoFirebird banco(1);
    banco.DefinePapel("ALMURO");
    banco.DefineNome(dir.Arquivo("a.fdb"));
    banco.CriaBanco();
    banco.ExecutaScript(
        "create table T (COD varchar(5) not null, NOME varchar(12), UF char(2), NASC date, "
        "constraint PK_T primary key (COD)); create unique index UQ_T on T (NOME, UF);"
        "insert into T (COD, NOME, UF) values ('1', 'Ana', 'MG')");
    auto recusa = [&](const std::string& sql,
                      std::vector<std::pair<std::string, std::string>> parametros = {}) {
        TConsulta q(banco);
        q.DefineSQL(sql);
        for (const auto& [nome, valor] : parametros)
            q.Parametro(nome, valor);
        try {
            q.Executa();
        } catch (const EBancoDados& e) {
            banco.Transacao().Desfaz();
            const std::string m = e.what();
            return m.substr(0, m.find('\n'));
        }
        banco.Transacao().Desfaz();
        return std::string("aceito");
    };
    const std::string noBanco = " do banco ALMURO (" + banco.Nome() + ").";
    EXPECT_EQ(recusa("insert into T (COD, UF, NOME) values ('2', 'MG', 'Fernanda Souza')"),
              "O valor \"Fernanda Souza\" (14 caracteres) é longo demais para a coluna NOME (12 "
              "caracteres) da tabela T" +
                  noBanco);
    EXPECT_EQ(recusa("update T set UF = :UF where COD = '1'", {{"UF", "M G"}}),
              "O valor \"M G\" (3 caracteres) é longo demais para a coluna UF (2 caracteres) da "
              "tabela T" +
                  noBanco);
    EXPECT_EQ(recusa("insert into T (COD, NOME) values (:C, :N)", {{"C", "1"}, {"N", "Bia"}}),
              "O banco ALMURO (" + banco.Nome() +
                  ") recusou um código que já existe na tabela T: COD \"1\" (violação da chave "
                  "PK_T).");
    EXPECT_EQ(recusa("insert into T (COD, NOME, UF) values ('3', 'Ana', 'MG')"),
              "O banco ALMURO (" + banco.Nome() +
                  ") recusou um valor duplicado na tabela T: NOME \"Ana\" e UF \"MG\" já existem "
                  "(violação da chave UQ_T).");
    EXPECT_EQ(recusa("insert into T (COD, NASC) values ('4', '31.02.2020')"),
              "O banco ALMURO (" + banco.Nome() +
                  ") não conseguiu converter o valor \"31.02.2020\" para o tipo da coluna NASC "
                  "da tabela T.");
}

TEST(ObjetosComando, TabelaEColunasComoOMotorLe) {
    auto insert = ObjetosDoComando(
        " Insert Into Produto ( Produto.CODPROD, produto.mensagem00 ) Values ( 'a, b', \"N\")");
    EXPECT_EQ(insert.tabela, "PRODUTO");
    EXPECT_EQ(insert.colunas, (std::vector<std::string>{"CODPROD", "MENSAGEM00"}));

    auto update = ObjetosDoComando(
        "Update Cliente set cliente.Nome = 'x = y, z', cliente.fone = '' where "
        "cliente.codcliente = '00000001'");
    EXPECT_EQ(update.tabela, "CLIENTE");
    EXPECT_EQ(update.colunas, (std::vector<std::string>{"NOME", "FONE", "CODCLIENTE"}));

    auto select = ObjetosDoComando(
        "Select Max(CODCLASFIS) as CodClasFis, NCM From CLASFISC where CODIGONCM = :P");
    EXPECT_EQ(select.tabela, "CLASFISC");
    EXPECT_EQ(select.colunas, (std::vector<std::string>{"CODCLASFIS", "NCM", "CODIGONCM"}));
}

TEST(ObjetosComando, TabelaUnicaSoDeQuemNaoAlcancaOutra) {
    EXPECT_EQ(TabelaUnicaDoComando(" select CodCidade from Cidades where Cidade = :CIDADE"),
              "CIDADES");
    EXPECT_EQ(TabelaUnicaDoComando("Select Max(CODCLASFIS) as C From CLASFISC"), "CLASFISC");
    EXPECT_EQ(TabelaUnicaDoComando("insert into UNIDADES (UNIDADE) values ('from x, y')"),
              "UNIDADES");
    EXPECT_EQ(TabelaUnicaDoComando("select c from T a where x in (1, 2)"), "T");
    for (const char* outra :
         {"select c from T, U", "select c from T a, U b", "select c from T join U on 1 = 1",
          "select c from T where x = (select max(x) from U)", "select c from P(1)",
          "select c from T union select c from U", "insert into T (c) select c from U",
          "execute procedure P", "", "with X as (select 1 from T) select * from X"})
        EXPECT_FALSE(TabelaUnicaDoComando(outra)) << outra;
}

}  // namespace
