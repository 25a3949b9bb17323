// What a failed run tells the operator: everything the databases lack at once, the database
// by its role, the engine's own text kept, no endless wait behind another user, and no sheet
// whose codes cannot fit started at all. Each leaves the target as it was.
#include "conversion/Consulta.h"
#include "tests/apoio/LogicaTeste.h"

#include "conversion/LoteComandos.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using apoio::TLinha;

class FalhasDaConversaoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        apoio::Executa(t.bancos.Almuro(),
                       "insert into PRODUTO (CODPROD, DESCRICAO) values ('000001', 'antigo')");
        apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME"},
                            {{"00000001", "Novo"}});
        t.Planilha(6, {{"h"}, {"x", "Da planilha", "", "", "UN", "2"}});
        t.logica.DefineTipo(TTipoConversao::Produtos);
    }
    // The one error of the run, after its prefix.
    std::string Erro() {
        EXPECT_FALSE(t.logica.EfetuaConversao());
        const auto erros = t.mensagens.Textos("Erro");
        EXPECT_EQ(erros.size(), 1u);
        const std::string prefixo = std::string(TLogicaPrincipal::kPrefixoErro) + "\r";
        return erros.empty() ? std::string() : erros[0].substr(prefixo.size());
    }
    std::vector<TLinha> Produtos() {
        t.bancos.Almuro().Transacao().Confirma();
        return apoio::Linhas(t.bancos.Almuro(), "select CODPROD, DESCRICAO from PRODUTO");
    }
    const std::vector<TLinha> kComoAntes = {{"000001", "antigo"}};

    apoio::TLogicaTeste t;
};

TEST_F(FalhasDaConversaoTest, FaltasDosDoisBancosNumaSoMensagem) {
    apoio::Executa(t.bancos.Almuro(), "drop table UNIDADES");
    apoio::Executa(t.bancos.Almuro(), "alter table PRODUTO drop PRECO, drop UNIDADEENT");
    apoio::Executa(t.bancos.Tessaly(), "alter table ESTOQUE drop NCM");
    EXPECT_EQ(Erro(), "No banco ALMURO (" + t.bancos.CaminhoAlmuro() +
                          ") falta o que a conversão grava:\n"
                          "- na tabela PRODUTO, faltam as colunas UNIDADEENT, PRECO\n"
                          "- falta a tabela UNIDADES\n"
                          "No banco TESSALY (" +
                          t.bancos.CaminhoTessaly() +
                          ") falta o que a conversão lê:\n"
                          "- na tabela ESTOQUE, falta a coluna NCM");
    EXPECT_EQ(Produtos(), kComoAntes);
}

TEST_F(FalhasDaConversaoTest, AlvoQueNaoEAlmuroEMesmoArquivoDuasVezes) {
    t.logica.AbreAlmuro(t.bancos.CaminhoTessaly());
    const std::string erro = Erro();
    EXPECT_EQ(erro.rfind("O banco ALMURO (" + t.bancos.CaminhoTessaly() +
                             ") não parece um banco do Almuro: não tem nenhuma das tabelas ",
                         0),
              0u)
        << erro;
    EXPECT_NE(erro.find("O mesmo arquivo foi escolhido para os dois bancos."), std::string::npos)
        << erro;
}

// Whatever kind, whichever file is given twice, and however its two paths are spelt.
TEST_F(FalhasDaConversaoTest, MesmoArquivoDuasVezesDitoPorQualquerCaminhoDoArquivo) {
    const std::filesystem::path pasta = t.bancos.Diretorio().Caminho();
    std::filesystem::create_symlink(t.bancos.CaminhoAlmuro(), pasta / "ligado.fdb");
    const std::string outroAlmuro = (pasta / "." / "ligado.fdb").string();
    const std::string outroTessaly = (pasta / "x" / ".." / "tessaly.fdb").string();
    std::filesystem::create_directory(pasta / "x");
    const struct {
        TTipoConversao tipo;
        std::string alvo, origem;
    } casos[] = {{TTipoConversao::Clientes, t.bancos.CaminhoTessaly(), outroTessaly},
                 {TTipoConversao::Fornecedores, outroTessaly, t.bancos.CaminhoTessaly()},
                 {TTipoConversao::Clientes, t.bancos.CaminhoAlmuro(), outroAlmuro},
                 {TTipoConversao::Produtos, outroAlmuro, t.bancos.CaminhoAlmuro()}};
    for (const auto& c : casos) {
        t.mensagens.todas.clear();
        t.logica.DefineTipo(c.tipo);
        t.logica.AbreAlmuro(c.alvo);
        t.logica.AbreTessaly(c.origem);
        const std::string erro = Erro();
        EXPECT_NE(erro.find("O mesmo arquivo foi escolhido para os dois bancos."),
                  std::string::npos)
            << c.alvo << " " << c.origem << "\n"
            << erro;
    }
    t.logica.AbreAlmuro(t.bancos.CaminhoAlmuro());
    t.logica.AbreTessaly(t.bancos.CaminhoTessaly());
    EXPECT_EQ(Produtos(), kComoAntes);
}

// A birth date the source keeps as text is judged when the client is written: the place names the
// source column and the refusal the target column, also when the row was held to go in a block
// and its refusal came out later.
TEST_F(FalhasDaConversaoTest, DataDeOrigemQueNaoEDataNomeiaAColunaDeOrigem) {
    apoio::Executa(t.bancos.Tessaly(), "alter table CLIENTE drop DATA_NASC");
    apoio::Executa(t.bancos.Tessaly(), "alter table CLIENTE add DATA_NASC varchar(20)");
    for (const auto& [data, uso] :
         {std::pair<std::string, TLoteComandos::TUso>{"31/02/2020", TLoteComandos::TUso::Nunca},
          {"amanhã", TLoteComandos::TUso::Nunca},
          {"31/02/2020", TLoteComandos::TUso::Sempre}}) {
        t.logica.dbAlmuro.Lote().DefineUso(uso);
        t.mensagens.todas.clear();
        apoio::Executa(t.bancos.Tessaly(), "delete from CLIENTE");
        apoio::InsereLinhas(t.bancos.Tessaly(), "CLIENTE", {"CODIGO", "NOME", "DATA_NASC"},
                            {{"7", "Ana", std::nullopt}, {"8", "Bia", data}});
        t.logica.DefineTipo(TTipoConversao::Clientes);
        t.Planilha(13, {{"h"}});
        const std::string convertido = data == "amanhã" ? data : "31.02.2020";
        const std::string erro = Erro();
        EXPECT_EQ(erro.rfind("banco TESSALY, tabela CLIENTE, CODIGO 8, coluna DATA_NASC: O banco "
                             "ALMURO (" +
                                 t.bancos.CaminhoAlmuro() + ") não conseguiu converter o valor \"" +
                                 convertido +
                                 "\" para o tipo da coluna DT_NASCIMENTO da tabela CLIENTE.\n",
                             0),
                  0u)
            << erro;
        EXPECT_NE(erro.find("conversion error from string"), std::string::npos) << erro;
    }
}

TEST_F(FalhasDaConversaoTest, ViolacaoDeChaveNomeiaBancoTabelaEValorEGuardaOTextoDoMotor) {
    apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME"},
                        {{"99000001", "Repete"}});
    const std::string erro = Erro();
    EXPECT_EQ(erro.rfind("banco TESSALY, tabela ESTOQUE, CODIGO 99000001: O banco ALMURO (" +
                             t.bancos.CaminhoAlmuro() +
                             ") recusou um código que já existe na tabela PRODUTO",
                         0),
              0u)
        << erro;
    EXPECT_NE(erro.find("(\"CODPROD\" = '000001')"), std::string::npos) << erro;
    EXPECT_NE(erro.find("\nviolation of PRIMARY or UNIQUE KEY constraint"), std::string::npos)
        << erro;
    EXPECT_EQ(Produtos(), kComoAntes);
}

TEST_F(FalhasDaConversaoTest, LinhaPresaPorOutroUsuarioEsperaPoucoENomeiaATabela) {
    // Another user changes the old product and keeps the transaction open.
    TConsulta outro(t.bancos.Almuro());
    outro.DefineSQL("update PRODUTO set DESCRICAO = 'mudando' where CODPROD = '000001'");
    outro.Executa();
    t.logica.dbAlmuro.Transacao().DefineEsperaBloqueio(1);
    const std::string erro = Erro();
    EXPECT_EQ(erro.rfind("Outro usuário está alterando a tabela PRODUTO no banco ALMURO", 0), 0u)
        << erro;
    EXPECT_NE(erro.find("update conflicts with concurrent update"), std::string::npos) << erro;
    t.bancos.Almuro().Transacao().Desfaz();
    EXPECT_EQ(Produtos(), kComoAntes);
}

// The source is read as it is converted: a record deep in the table that fails is named as the
// first would be, and what went before it is undone.
TEST_F(FalhasDaConversaoTest, RegistroDaOrigemQueFalhaNoMeioENomeadoEDesfazTudo) {
    apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME"},
                        {{"00000002", "Dois"}, {"0000000X", "Xis"}, {"00000004", "Quatro"}});
    const std::string erro = Erro();
    EXPECT_EQ(erro.rfind("banco TESSALY, tabela ESTOQUE, CODIGO 0000000X, coluna CODIGO: ", 0), 0u)
        << erro;
    EXPECT_EQ(t.progresso.legendas.back(), "Convertendo Produtos - Registro 3 de 4");
    EXPECT_EQ(Produtos(), kComoAntes);
}

// A row the source engine cannot produce fails when the reading reaches it, with the engine's
// text, after rows already written: those are undone too.
TEST_F(FalhasDaConversaoTest, FalhaDoBancoTessalyAoLerNoMeioDesfazTudo) {
    apoio::Executa(t.bancos.Tessaly(), "alter table ESTOQUE drop ICMS");
    apoio::Executa(t.bancos.Tessaly(),
                   "alter table ESTOQUE add ICMS computed by (1 / (cast(CODIGO as integer) - 3))");
    apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME"},
                        {{"00000002", "Dois"}, {"00000003", "Tres"}, {"00000004", "Quatro"}});
    const std::string erro = Erro();
    EXPECT_NE(erro.find("TESSALY"), std::string::npos) << erro;
    EXPECT_NE(erro.find("divide"), std::string::npos) << erro;
    EXPECT_EQ(t.progresso.legendas.back(), "Convertendo Produtos - Registro 2 de 4");
    EXPECT_EQ(Produtos(), kComoAntes);
}

TEST_F(FalhasDaConversaoTest, CodigosQueNaoCabemParamAntesDaPrimeiraLinha) {
    apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME"},
                        {{"00999998", "Quase no fim"}});
    t.Planilha(6, {{"h"}, {"x", "A", "", "", "UN", "1"}, {"x", "B", "", "", "UN", "1"}});
    EXPECT_EQ(Erro(),
              "O código de produto 1000000 não cabe nos 6 dígitos do código: a linha 3 da "
              "planilha repetiria o código de outro produto.");
    // The sheet pass never began: no row of it was tried.
    for (const std::string& legenda : t.progresso.legendas)
        EXPECT_NE(legenda, "Convertendo Produtos, Aguarde!");
    EXPECT_EQ(Produtos(), kComoAntes);
}

}  // namespace
