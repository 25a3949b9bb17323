// A NUL byte inside a text of the source database (a damaged or carelessly imported record)
// must not end the literal statement that the writers build from it: it is dropped on the way
// in, as it is from the workbook's texts, and the record converts.
#include "tests/apoio/LogicaTeste.h"

#include <gtest/gtest.h>

namespace {

using apoio::TLinha;

// Where the test writes "|", the source gets a NUL (a parameter could not carry it there).
const std::string kNul = "|";

class TextoComNulTest : public ::testing::Test {
  protected:
    void PoeNul(const std::string& tabela, const std::vector<std::string>& colunas) {
        for (const auto& c : colunas)
            apoio::Executa(t.bancos.Tessaly(), "update " + tabela + " set " + c + " = replace(" +
                                                   c + ", '|', ascii_char(0))");
        ASSERT_EQ(
            apoio::Valor(t.bancos.Tessaly(), "select count(*) from " + tabela +
                                                 " where position(ascii_char(0) in NOME) > 0"),
            "1");
    }
    void ConverteSemPlanilha() {
        t.Planilha(1, {{"Codigo"}});
        ASSERT_TRUE(t.logica.EfetuaConversao()) << t.mensagens.Textos("Erro")[0];
        t.logica.dbAlmuro.Transacao().Confirma();
    }

    apoio::TLogicaTeste t;
};

TEST_F(TextoComNulTest, Produtos) {
    apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE",
                        {"CODIGO", "NOME", "CARACTERISTICA", "NCM", "UND_COMPRA", "UND_VENDA"},
                        {{"00000007", "Cane" + kNul + "ta", "Az" + kNul + "ul",
                          "8471" + kNul + "30", "UN", "U" + kNul + "N"}});
    PoeNul("ESTOQUE", {"NOME", "CARACTERISTICA", "NCM", "UND_VENDA"});
    t.logica.DefineTipo(TTipoConversao::Produtos);
    ConverteSemPlanilha();
    EXPECT_EQ(apoio::Linhas(t.bancos.Almuro(), "select DESCRICAO, DESCRICAO2 from PRODUTO"),
              (std::vector<TLinha>{{"Caneta", "Azul"}}));
    EXPECT_EQ(apoio::Linhas(t.bancos.Almuro(), "select CODIGONCM from CLASFISC"),
              (std::vector<TLinha>{{"847130"}}));
}

TEST_F(TextoComNulTest, Clientes) {
    apoio::InsereLinhas(
        t.bancos.Tessaly(), "CLIENTE", {"CODIGO", "NOME", "CIDADE", "UF", "EMAIL"},
        {{"7", "Jo" + kNul + "ana", "Cam" + kNul + "pinas", "SP", "a@b" + kNul + ".com"}});
    PoeNul("CLIENTE", {"NOME", "CIDADE", "EMAIL"});
    t.logica.DefineTipo(TTipoConversao::Clientes);
    ConverteSemPlanilha();
    EXPECT_EQ(apoio::Linhas(t.bancos.Almuro(), "select NOME, EMAIL from CLIENTE"),
              (std::vector<TLinha>{{"Joana", "a@b.com"}}));
    EXPECT_EQ(apoio::Linhas(t.bancos.Almuro(), "select CIDADE from CIDADES"),
              (std::vector<TLinha>{{"CAMPINAS"}}));
}

TEST_F(TextoComNulTest, Fornecedores) {
    apoio::InsereLinhas(t.bancos.Tessaly(), "FORNECEDOR", {"CODIGO", "NOME", "CIDADE", "UF"},
                        {{"7", "Ac" + kNul + "me", "Cam" + kNul + "pinas", "SP"}});
    PoeNul("FORNECEDOR", {"NOME", "CIDADE"});
    t.logica.DefineTipo(TTipoConversao::Fornecedores);
    ConverteSemPlanilha();
    EXPECT_EQ(apoio::Linhas(t.bancos.Almuro(), "select NOME from FORNECE"),
              (std::vector<TLinha>{{"Acme"}}));
    EXPECT_EQ(apoio::Linhas(t.bancos.Almuro(), "select CIDADE from CIDADES"),
              (std::vector<TLinha>{{"CAMPINAS"}}));
}

}  // namespace
