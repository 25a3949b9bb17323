#include "conversion/BancoFirebird.h"
#include "conversion/Consulta.h"
#include "conversion/ObjetosComando.h"
#include "tests/apoio/DiretorioTemporario.h"

#include <gtest/gtest.h>

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

}  // namespace
