#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/Processo.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using apoio::ExecutaConversor;
using apoio::TLinha;

// A target and a source on disk for the binary, and a csv product sheet beside them. The test
// process lets go of the files while the binary works on them.
class LinhaComandoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        apoio::Executa(bancos.Almuro(),
                       "insert into PRODUTO (CODPROD, DESCRICAO) values ('000009', 'antigo')");
        apoio::InsereLinhas(
            bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME", "UND_COMPRA", "UND_VENDA"},
            {{"00000007", "Caneta", "UN", "UN"}, {"00000008", "L\xC3\xA1pis", "cx", "UN"}});
        Escreve("produtos.csv",
                "Codigo;Descricao;Barras;Grupo;Unidade;Preco\n"
                "1;Caderno;;;UN;12.5\n"
                "2;\"Borracha; branca\";;;PC;\n");
        bancos.Desconecta();
    }

    void Escreve(const std::string& nome, const std::string& conteudo) {
        std::ofstream(Arquivo(nome), std::ios::binary) << conteudo;
    }
    std::string Arquivo(const std::string& nome) { return bancos.Diretorio().Arquivo(nome); }

    std::vector<std::string> Run(const std::string& kind, std::vector<std::string> extras = {}) {
        std::vector<std::string> a = {"run",
                                      "--kind",
                                      kind,
                                      "--target",
                                      bancos.CaminhoAlmuro(),
                                      "--source",
                                      bancos.CaminhoTessaly()};
        a.insert(a.end(), extras.begin(), extras.end());
        return a;
    }

    std::vector<TLinha> Produtos() {
        bancos.Conecta();
        auto r =
            apoio::Linhas(bancos.Almuro(),
                          "select CODPROD, DESCRICAO, UNIDADEENT, PRECO from PRODUTO order by 1");
        bancos.Desconecta();
        return r;
    }

    apoio::TBancosTeste bancos;
};

TEST_F(LinhaComandoTest, ConversaoDeProdutosConcluida) {
    auto r = ExecutaConversor(Run("products", {"--workbook", Arquivo("produtos.csv")}));
    EXPECT_EQ(r.codigo, 0) << r.erros;
    EXPECT_EQ(r.saida.rfind("Conversão concluída com sucesso!\n", 0), 0u) << r.saida;
    EXPECT_NE(r.saida.find("PRODUTO 4"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("UNIDADES 3"), std::string::npos) << r.saida;
    EXPECT_EQ(r.erros, "");
    EXPECT_EQ(Produtos(), (std::vector<TLinha>{{"000007", "Caneta", "UN", "0"},
                                               {"000008", "Lápis", "CX", "0"},
                                               {"000009", "Caderno", "UN", "12.5"},
                                               {"000010", "Borracha; branca", "PC", "0"}}));
}

TEST_F(LinhaComandoTest, FalhaDaConversaoDesfazESai1) {
    // A price the regional settings cannot read (C locale: the decimal separator is the point).
    Escreve("ruim.csv", "h;h;h;h;h;h\n1;Caderno;;;UN;12,5\n");
    auto r = ExecutaConversor(Run("products", {"--workbook", Arquivo("ruim.csv")}));
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erros.rfind("Houve um erro ao realizar a conversão. Motivo: \n", 0), 0u) << r.erros;
    EXPECT_NE(r.erros.find("12,5"), std::string::npos) << r.erros;
    EXPECT_EQ(r.saida, "");
    EXPECT_EQ(Produtos(), (std::vector<TLinha>{{"000009", "antigo", "", ""}}));
}

TEST_F(LinhaComandoTest, EnsaioFazTudoEDesfaz) {
    auto r =
        ExecutaConversor(Run("products", {"--workbook", Arquivo("produtos.csv"), "--dry-run"}));
    EXPECT_EQ(r.codigo, 0) << r.erros;
    EXPECT_EQ(
        r.saida.rfind("Simulação concluída: nada foi gravado.\nLinhas gravadas: PRODUTO 4;", 0), 0u)
        << r.saida;
    EXPECT_NE(r.saida.find("UNIDADES 3"), std::string::npos) << r.saida;
    EXPECT_EQ(r.erros, "");
    EXPECT_EQ(Produtos(), (std::vector<TLinha>{{"000009", "antigo", "", ""}}));

    Escreve("ruim.csv", "h;h;h;h;h;h\n1;Caderno;;;UN;12,5\n");
    auto falha =
        ExecutaConversor(Run("products", {"--workbook", Arquivo("ruim.csv"), "--dry-run"}));
    EXPECT_EQ(falha.codigo, 1);
    EXPECT_EQ(falha.erros,
              "Houve um erro ao realizar a conversão. Motivo: \nplanilha, linha 2, coluna 6 (h), "
              "conteúdo \"12,5\": '12,5' não é um valor numérico válido\nNada foi gravado no banco "
              "ALMURO.\n");
    EXPECT_EQ(falha.saida, "");
}

TEST_F(LinhaComandoTest, LinhaAlemDaPlanilhaSegueComAlerta) {
    auto r = ExecutaConversor(
        Run("products", {"--workbook", Arquivo("produtos.csv"), "--last-row", "6"}));
    EXPECT_EQ(r.codigo, 0) << r.erros;
    EXPECT_EQ(r.erros,
              "Alerta: A última linha usada da planilha \"produtos\" é a 3: até a linha 6 "
              "informada, 3 linhas vazias seriam convertidas.\n");
    EXPECT_NE(r.saida.find("PRODUTO 7;"), std::string::npos) << r.saida;
}

TEST_F(LinhaComandoTest, AvisoRepetidoSaiUmaVezComAContagemNoFim) {
    bancos.Conecta();
    apoio::Executa(bancos.Almuro(),
                   "alter table UNIDADES add constraint SEM_UN check (UNIDADE <> 'UN')");
    bancos.Desconecta();
    auto r = ExecutaConversor(Run("products", {"--workbook", Arquivo("produtos.csv")}));
    EXPECT_EQ(r.codigo, 0) << r.erros;
    EXPECT_EQ(r.erros, "Alerta: Erro ao converter Unidade.\n");
    EXPECT_NE(r.saida.find("\nAvisos:\n  4 vezes: Erro ao converter Unidade.\nTempo: "),
              std::string::npos)
        << r.saida;
}

TEST_F(LinhaComandoTest, AvisosDeEntradaSaem2) {
    auto semPlanilha = ExecutaConversor(Run("products"));
    EXPECT_EQ(semPlanilha.codigo, 2);
    EXPECT_EQ(semPlanilha.erros,
              "Favor informar o numero da linha onde o último registro se encontra na planilha\n");
    auto semCaminho = ExecutaConversor(Run("products", {"--last-row", "3"}));
    EXPECT_EQ(semCaminho.codigo, 2);
    EXPECT_EQ(semCaminho.erros, "Favor informar o caminho do arquivo a ser convertido!\n");
    for (const std::string aba : {"2", "0", "Outra"}) {
        auto r = ExecutaConversor(
            Run("clients", {"--workbook", Arquivo("produtos.csv"), "--sheet", aba}));
        EXPECT_EQ(r.codigo, 2) << aba;
        EXPECT_EQ(r.erros, "Favor selecionar uma planilha para ser convertida!\n") << aba;
    }
    auto linhaRuim = ExecutaConversor(
        Run("products", {"--workbook", Arquivo("produtos.csv"), "--last-row", "3x"}));
    EXPECT_EQ(linhaRuim.codigo, 2);
    EXPECT_EQ(Produtos(), (std::vector<TLinha>{{"000009", "antigo", "", ""}}));
}

TEST_F(LinhaComandoTest, ErrosDeUsoSaem2) {
    EXPECT_EQ(ExecutaConversor({"run"}).codigo, 2);
    EXPECT_EQ(ExecutaConversor({"run", "--kind", "servicos"}).codigo, 2);
    EXPECT_EQ(ExecutaConversor(Run("products", {"--bogus", "1"})).codigo, 2);
    EXPECT_EQ(ExecutaConversor(Run("products", {"--dry-run=sim"})).codigo, 2);
    EXPECT_EQ(ExecutaConversor({"nada"}).codigo, 2);
    EXPECT_EQ(ExecutaConversor({"preview"}).codigo, 2);
}

// Every word the grammar does not take ends the command before anything is opened, with exit
// code 2, a message on stderr that names the word, and nothing on stdout.
TEST_F(LinhaComandoTest, ErrosDeUsoNomeiamOQueEstaErrado) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> casos = {
        {Run("products", {"--bogus", "1"}), "opção desconhecida: --bogus"},
        {Run("products", {"--workbook"}), "a opção --workbook precisa de um valor"},
        {Run("products", {"--kind", "clients"}), "opção repetida: --kind"},
        {Run("products", {"sobra"}), "argumento inesperado: sobra"},
        {{"sample", "--rows"}, "a opção --rows precisa de um valor"},
        {{"sheets", Arquivo("produtos.csv"), "--sheet", "1"}, "opção desconhecida: --sheet"},
        {{"preview"}, "falta ARQUIVO"},
        {{"nada"}, "comando desconhecido: nada"},
        {{"--bogus"}, "opção desconhecida: --bogus"},
    };
    for (const auto& [args, mensagem] : casos) {
        auto r = ExecutaConversor(args);
        EXPECT_EQ(r.codigo, 2) << mensagem;
        EXPECT_NE(r.erros.find(mensagem), std::string::npos) << r.erros;
        EXPECT_EQ(r.saida, "") << mensagem;
    }
    EXPECT_EQ(Produtos(), (std::vector<TLinha>{{"000009", "antigo", "", ""}}));
    // Help is not an option missing its value.
    auto ajuda = ExecutaConversor({"run", "--help"});
    EXPECT_EQ(ajuda.codigo, 0) << ajuda.erros;
    for (const char* opcao :
         {"--kind", "--target", "--source", "--workbook", "--sheet", "--last-row", "--dry-run"})
        EXPECT_NE(ajuda.saida.find(opcao), std::string::npos) << opcao;
}

TEST_F(LinhaComandoTest, AlvoQueNaoAbreSai1) {
    auto r =
        ExecutaConversor({"run", "--kind", "products", "--target", Arquivo("nao.fdb"), "--source",
                          bancos.CaminhoTessaly(), "--workbook", Arquivo("produtos.csv")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erros.rfind("Houve um erro ao realizar a conversão. Motivo: \n", 0), 0u) << r.erros;
}

TEST_F(LinhaComandoTest, SheetsEPreview) {
    Escreve("cad.csv",
            "Nome,Obs,Flag\n"
            "\"a\tb\",\"linha1\nlinha2\",true\n"
            "c:\\dir,\"x\"\"y\",FALSE\n");
    auto abas = ExecutaConversor({"sheets", Arquivo("cad.csv")});
    EXPECT_EQ(abas.codigo, 0) << abas.erros;
    EXPECT_EQ(abas.saida, "1\tcad\t3\t3\n");
    auto tsv = ExecutaConversor({"preview", Arquivo("cad.csv"), "--last-row", "4"});
    EXPECT_EQ(tsv.codigo, 0) << tsv.erros;
    EXPECT_EQ(tsv.saida,
              "Nome\tObs\tFlag\n"
              "a\\tb\tlinha1\\nlinha2\tTrue\n"
              "c:\\\\dir\tx\"y\tFalse\n"
              "\t\t\n");
    auto ausente = ExecutaConversor({"preview", Arquivo("nao-existe.xlsx")});
    EXPECT_NE(ausente.codigo, 0);
    EXPECT_NE(ausente.erros.find("nao-existe.xlsx"), std::string::npos) << ausente.erros;
}

}  // namespace
