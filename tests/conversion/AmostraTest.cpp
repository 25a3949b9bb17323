// The sample site: its files, its determinism, its data, and the command that makes it.
#include "app/logica/LogicaPrincipal.h"
#include "common/ConfiguracaoRegional.h"
#include "common/Win1252.h"
#include "conversion/BancoFirebird.h"
#include "schema/amostra/GeradorAmostra.h"
#include "spreadsheet/ControlaExcel.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/DiretorioTemporario.h"
#include "tests/apoio/JanelaFalsa.h"
#include "tests/apoio/Processo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using apoio::ContaLinhas;
using apoio::Linhas;
using apoio::Valor;

TResumoAmostra GeraAmostra(const std::string& diretorio, long linhas, std::uint64_t semente) {
    TOpcoesAmostra opcoes;
    opcoes.diretorio = diretorio;
    opcoes.linhas = linhas;
    opcoes.semente = semente;
    return TGeradorAmostra(opcoes).Gera();
}

// A database of a sample, opened for a look.
class TBancoAberto {
  public:
    TBancoAberto(const std::filesystem::path& caminho, int dialeto) : banco_(dialeto) {
        banco_.DefineNome(caminho.string());
        banco_.Conecta();
    }
    TBancoFirebird& operator*() { return banco_; }

  private:
    TBancoFirebird banco_;
};

// The whole source, table by table, in code order.
std::vector<apoio::TLinha> Despejo(const std::filesystem::path& tessaly) {
    TBancoAberto banco(tessaly, 3);
    std::vector<apoio::TLinha> tudo;
    for (const char* sql :
         {"SELECT * FROM CLFISCAL ORDER BY CODIGO", "SELECT * FROM ESTOQUE ORDER BY CODIGO",
          "SELECT * FROM CLIENTE ORDER BY CODIGO", "SELECT * FROM FORNECEDOR ORDER BY CODIGO"}) {
        auto linhas = Linhas(*banco, sql);
        tudo.push_back({sql});
        tudo.insert(tudo.end(), linhas.begin(), linhas.end());
    }
    return tudo;
}

std::string LeArquivo(const std::filesystem::path& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// Every cell of the first sheet of a workbook, as the conversion's own module reads them
// (UTF-8 here); celulas[linha - 1][coluna - 1].
std::vector<std::vector<std::string>> LePlanilha(const std::filesystem::path& pasta,
                                                 std::vector<std::string>* abas = nullptr) {
    TDMCotrolaExcel excel;
    excel.AbreArquivoExcel(pasta.string());
    if (abas)
        *abas = excel.ListaAbas();
    excel.SelecionaAba(1);
    std::vector<std::vector<std::string>> celulas(static_cast<size_t>(excel.UltimaLinha()));
    for (int l = 1; l <= excel.UltimaLinha(); ++l) {
        for (int c = 1; c <= excel.UltimaColuna(); ++c)
            celulas[static_cast<size_t>(l - 1)].push_back(win1252::ParaUtf8(excel.LeCelula(c, l)));
    }
    return celulas;
}

size_t ContaNaColuna(const std::vector<std::vector<std::string>>& celulas, size_t coluna,
                     const std::string& valor) {
    size_t n = 0;
    for (size_t l = 1; l < celulas.size(); ++l)
        n += celulas[l][coluna - 1] == valor;
    return n;
}

TEST(AmostraTest, GeraOsQuatroArquivosComAsContagens) {
    TDiretorioTemporario dir;
    const auto destino = dir.Caminho() / "site" / "novo";  // made with its parents
    TResumoAmostra r = GeraAmostra(destino.string(), 50, 7);
    EXPECT_EQ(r.estoque, 50);
    EXPECT_EQ(r.clientes, 50);
    EXPECT_EQ(r.fornecedores, 50);
    EXPECT_EQ(r.linhasProdutos, 50);
    EXPECT_EQ(r.linhasCadastros, 50);

    std::vector<std::string> arquivos;
    for (const auto& e : std::filesystem::directory_iterator(destino))
        arquivos.push_back(e.path().filename().string());
    std::sort(arquivos.begin(), arquivos.end());
    EXPECT_EQ(arquivos, (std::vector<std::string>{"almuro.fdb", "cadastros.xlsx", "produtos.xlsx",
                                                  "tessaly.fdb"}));

    {
        TBancoAberto almuro(destino / "almuro.fdb", 1);
        EXPECT_EQ(Valor(*almuro, "SELECT MON$SQL_DIALECT FROM MON$DATABASE"), "1");
        for (const char* tabela : {"PRODUTO", "PRODUTODETALHE", "CLIENTE", "FORNECE", "CLASFISC",
                                   "UNIDADES", "CIDADES"}) {
            EXPECT_EQ(ContaLinhas(*almuro, tabela), 0) << tabela;
        }
    }

    TBancoAberto tessaly(destino / "tessaly.fdb", 3);
    EXPECT_EQ(ContaLinhas(*tessaly, "ESTOQUE"), 50);
    EXPECT_EQ(ContaLinhas(*tessaly, "CLIENTE"), 50);
    EXPECT_EQ(ContaLinhas(*tessaly, "FORNECEDOR"), 50);
    EXPECT_EQ(ContaLinhas(*tessaly, "CLFISCAL"), r.classificacoes);
    // Every classification a product points to is there, and no other.
    EXPECT_EQ(Valor(*tessaly,
                    "SELECT COUNT(*) FROM ESTOQUE E WHERE E.COD_TRIB IS NOT NULL AND NOT "
                    "EXISTS (SELECT 1 FROM CLFISCAL C WHERE C.CODIGO = E.COD_TRIB)"),
              "0");
    EXPECT_EQ(Valor(*tessaly,
                    "SELECT COUNT(*) FROM CLFISCAL C WHERE NOT EXISTS "
                    "(SELECT 1 FROM ESTOQUE E WHERE E.COD_TRIB = C.CODIGO)"),
              "0");
    // The product code is characters 3 to 8 of the stock code, and the counter reads the code
    // as a number: eight digits, unique in their last six.
    EXPECT_EQ(Valor(*tessaly,
                    "SELECT COUNT(DISTINCT SUBSTRING(CODIGO FROM 3 FOR 6)) FROM ESTOQUE "
                    "WHERE CHAR_LENGTH(CODIGO) = 8 AND CODIGO SIMILAR TO '[0-9]{8}'"),
              "50");
}

TEST(AmostraTest, MesmaSementeDaOsMesmosDadosOutraSementeOutros) {
    TDiretorioTemporario dir;
    GeraAmostra(dir.Arquivo("a"), 50, 7);
    GeraAmostra(dir.Arquivo("b"), 50, 7);
    GeraAmostra(dir.Arquivo("c"), 50, 8);
    const auto a = dir.Caminho() / "a";
    const auto b = dir.Caminho() / "b";
    const auto c = dir.Caminho() / "c";

    auto despejoA = Despejo(a / "tessaly.fdb");
    ASSERT_EQ(despejoA.size(),
              4u + 150u + ContaLinhas(*TBancoAberto(a / "tessaly.fdb", 3), "CLFISCAL"));
    EXPECT_EQ(despejoA, Despejo(b / "tessaly.fdb"));
    EXPECT_NE(despejoA, Despejo(c / "tessaly.fdb"));

    for (const char* pasta : {"produtos.xlsx", "cadastros.xlsx"}) {
        EXPECT_EQ(LeArquivo(a / pasta), LeArquivo(b / pasta)) << pasta;
        EXPECT_NE(LeArquivo(a / pasta), LeArquivo(c / pasta)) << pasta;
    }
}

TEST(AmostraTest, PlanilhasTemOLayoutDasConversoes) {
    TDiretorioTemporario dir;
    GeraAmostra(dir.Caminho().string(), 50, 3);

    std::vector<std::string> abas;
    auto produtos = LePlanilha(dir.Caminho() / "produtos.xlsx", &abas);
    EXPECT_EQ(abas, std::vector<std::string>{"Produtos"});
    ASSERT_EQ(produtos.size(), 51u);  // heading and 50 products
    ASSERT_EQ(produtos[0].size(), 8u);
    EXPECT_EQ(produtos[0][1], "Descrição");
    EXPECT_EQ(produtos[0][4], "Unidade");
    EXPECT_EQ(produtos[0][5], "Preço Venda");
    size_t precos = 0;
    for (size_t l = 1; l < produtos.size(); ++l) {
        // A price is a number cell or nothing: a text the locale could misread would end a run.
        double preco = 0;
        const std::string& celula = produtos[l][5];
        EXPECT_TRUE(celula.empty() ||
                    TConfiguracaoRegional::Instancia().TentaTextoParaNumero(celula, preco))
            << celula;
        precos += !celula.empty();
        EXPECT_NE(produtos[l][0], "");  // the old code
    }
    EXPECT_GT(precos, 40u);

    auto cadastros = LePlanilha(dir.Caminho() / "cadastros.xlsx", &abas);
    EXPECT_EQ(abas, std::vector<std::string>{"Cadastros"});
    ASSERT_EQ(cadastros.size(), 51u);
    ASSERT_EQ(cadastros[0].size(), 13u);
    EXPECT_EQ(cadastros[0][1], "Nome / Razão Social");
    EXPECT_EQ(cadastros[0][12], "Inscrição Estadual");
    // The three flags are logical cells, which read "True" or "False", in every data row.
    for (size_t coluna : {3, 4, 5}) {
        EXPECT_EQ(
            ContaNaColuna(cadastros, coluna, "True") + ContaNaColuna(cadastros, coluna, "False"),
            50u)
            << coluna;
        EXPECT_GT(ContaNaColuna(cadastros, coluna, "True"), 0u) << coluna;
        EXPECT_GT(ContaNaColuna(cadastros, coluna, "False"), 0u) << coluna;
    }
}

// Enough rows for every oddity the conversions have to meet to turn up at least once.
TEST(AmostraTest, DadosTemAsIrregularidadesDeUmCadastroReal) {
    TDiretorioTemporario dir;
    GeraAmostra(dir.Caminho().string(), 600, 1);
    TBancoAberto tessaly(dir.Caminho() / "tessaly.fdb", 3);
    auto existe = [&](const std::string& tabela, const std::string& condicao) {
        return Valor(*tessaly, "SELECT COUNT(*) FROM " + tabela + " WHERE " + condicao) != "0";
    };
    for (const char* tabela : {"CLIENTE", "FORNECEDOR"}) {
        SCOPED_TRACE(tabela);
        EXPECT_TRUE(existe(tabela, "NOME IS NULL OR TRIM(NOME) = ''"));
        EXPECT_TRUE(existe(tabela, "NOME LIKE '%''%'"));
        EXPECT_TRUE(existe(tabela, "NOME LIKE '%\"%'"));
        EXPECT_TRUE(existe(tabela, "NOME LIKE '%ã%' OR NOME LIKE '%ç%'"));
        EXPECT_TRUE(existe(tabela, "CIDADE = 'BHTE' AND UF = 'MG'"));
        EXPECT_TRUE(existe(tabela, "CIDADE = 'belo horizonte'"));
        EXPECT_TRUE(existe(tabela, "CIDADE IS NULL"));
        EXPECT_TRUE(existe(tabela, "CNPJ LIKE '__.___.___/____-__'"));
        EXPECT_TRUE(existe(tabela, "CHAR_LENGTH(CNPJ) = 14"));
        EXPECT_TRUE(existe(tabela, "CPF LIKE '___.___.___-__'"));
        EXPECT_TRUE(existe(tabela, "CHAR_LENGTH(CPF) = 11"));
        EXPECT_TRUE(existe(tabela,
                           "(CPF = '' OR CPF = '..-' OR CPF = '   .   .   -  ') "
                           "AND CNPJ IS NOT NULL"));
        EXPECT_TRUE(existe(tabela, "IE = 'isento'"));
        EXPECT_TRUE(existe(tabela, "TELEFONE LIKE '(31) ____-____'"));
        EXPECT_TRUE(existe(tabela, "TELEFONE LIKE '____-____'"));
        EXPECT_TRUE(existe(tabela, "TELEFONE LIKE '031 ____ ____'"));
        EXPECT_TRUE(existe(tabela, "TELEFONE LIKE '____-_____'"));
    }
    EXPECT_TRUE(existe("CLIENTE", "DATA_NASC IS NOT NULL"));
    EXPECT_TRUE(existe("ESTOQUE", "CHAR_LENGTH(NCM) = 10"));
    EXPECT_TRUE(existe("ESTOQUE", "NCM IS NULL OR TRIM(NCM) = ''"));
    EXPECT_TRUE(existe("ESTOQUE", "UND_VENDA = 'kg' OR UND_VENDA = 'un'"));
    EXPECT_TRUE(existe("ESTOQUE", "CHAR_LENGTH(UND_VENDA) > 6"));
    EXPECT_TRUE(existe("ESTOQUE", "PRECO_CONSUMIDOR IS NULL"));
    EXPECT_TRUE(existe("ESTOQUE", "COD_TRIB IS NULL"));
    EXPECT_TRUE(existe("ESTOQUE", "NOME LIKE '%\"%'"));
    EXPECT_TRUE(existe("ESTOQUE", "CHAR_LENGTH(NOME) > 50"));

    auto cadastros = LePlanilha(dir.Caminho() / "cadastros.xlsx");
    EXPECT_GT(ContaNaColuna(cadastros, 2, ""), 0u);  // no name
    EXPECT_GT(ContaNaColuna(cadastros, 6, "BHTE") + ContaNaColuna(cadastros, 6, " BHTE "), 0u);
    EXPECT_GT(ContaNaColuna(cadastros, 6, "belo horizonte"), 0u);
    EXPECT_GT(ContaNaColuna(cadastros, 6, ""), 0u);
    EXPECT_GT(ContaNaColuna(cadastros, 12, "__.___.___/____-__"), 0u);
    EXPECT_GT(ContaNaColuna(cadastros, 12, "___.___.___-__"), 0u);
    EXPECT_GT(ContaNaColuna(cadastros, 13, "isento"), 0u);
    EXPECT_GT(ContaNaColuna(cadastros, 13, "ISENTO"), 0u);
    auto produtos = LePlanilha(dir.Caminho() / "produtos.xlsx");
    EXPECT_GT(ContaNaColuna(produtos, 5, "Embalagem"), 0u);  // longer than a unit code
    EXPECT_GT(ContaNaColuna(produtos, 5, ""), 0u);
    EXPECT_GT(ContaNaColuna(produtos, 6, ""), 0u);
}

TEST(AmostraTest, GerarDeNovoSubstituiOsArquivos) {
    TDiretorioTemporario dir;
    GeraAmostra(dir.Caminho().string(), 30, 1);
    {
        TBancoAberto almuro(dir.Caminho() / "almuro.fdb", 1);
        apoio::Executa(*almuro, "INSERT INTO UNIDADES (UNIDADE) VALUES ('UN')");
    }
    GeraAmostra(dir.Caminho().string(), 12, 2);
    {
        TBancoAberto almuro(dir.Caminho() / "almuro.fdb", 1);
        EXPECT_EQ(ContaLinhas(*almuro, "UNIDADES"), 0);
    }
    TBancoAberto tessaly(dir.Caminho() / "tessaly.fdb", 3);
    EXPECT_EQ(ContaLinhas(*tessaly, "ESTOQUE"), 12);
    size_t arquivos = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.Caminho())) {
        (void)e;
        ++arquivos;
    }
    EXPECT_EQ(arquivos, 4u);  // no scratch folder left behind
}

// What the target accepts is what matters: the product writers take a whole sample, database
// and sheet, without one value too long for its column.
TEST(AmostraTest, ProdutosDaAmostraEntramNoDestino) {
    TDiretorioTemporario dir;
    GeraAmostra(dir.Caminho().string(), 400, 5);
    TMensagensGravadas mensagens;
    TProgressoGravado progresso;
    TArquivosFila arquivos;
    {
        TLogicaPrincipal logica(mensagens, progresso, arquivos);
        logica.AbreAlmuro(dir.Arquivo("almuro.fdb"));
        logica.AbreTessaly(dir.Arquivo("tessaly.fdb"));
        logica.IniciaTransacao();
        ASSERT_NO_THROW(logica.ConverteProdutosBanco());
        logica.ConfirmaTransacao();
        EXPECT_TRUE(mensagens.todas.empty());
        EXPECT_EQ(ContaLinhas(logica.dbAlmuro, "PRODUTO"), 400);
        EXPECT_EQ(ContaLinhas(logica.dbAlmuro, "PRODUTODETALHE"), 400);
        EXPECT_GT(ContaLinhas(logica.dbAlmuro, "CLASFISC"), 0);
        EXPECT_GT(ContaLinhas(logica.dbAlmuro, "UNIDADES"), 0);
    }

    // And the whole run from the command line, the sheet included.
    auto run = apoio::ExecutaConversor(
        {"run", "--kind", "products", "--target", dir.Arquivo("almuro.fdb"), "--source",
         dir.Arquivo("tessaly.fdb"), "--workbook", dir.Arquivo("produtos.xlsx")});
    EXPECT_EQ(run.codigo, 0) << run.saida << run.erros;
    TBancoAberto almuro(dir.Caminho() / "almuro.fdb", 1);
    EXPECT_EQ(ContaLinhas(*almuro, "PRODUTO"), 800);
    EXPECT_EQ(ContaLinhas(*almuro, "PRODUTODETALHE"), 400);
}

TEST(AmostraTest, ComandoSampleCodigosDeSaida) {
    TDiretorioTemporario dir;
    auto ok = apoio::ExecutaConversor({"sample", dir.Arquivo("s"), "--rows", "5", "--seed=3"});
    EXPECT_EQ(ok.codigo, 0) << ok.erros;
    EXPECT_NE(ok.saida.find("ESTOQUE 5"), std::string::npos) << ok.saida;
    EXPECT_NE(ok.saida.find("cadastros.xlsx"), std::string::npos) << ok.saida;
    EXPECT_TRUE(std::filesystem::exists(dir.Caminho() / "s" / "tessaly.fdb"));

    const std::vector<std::vector<std::string>> usos = {{"sample"},
                                                        {"sample", "a", "b"},
                                                        {"sample", "d", "--rows"},
                                                        {"sample", "d", "--rows", "-1"},
                                                        {"sample", "d", "--rows", "1x"},
                                                        {"sample", "d", "--colunas", "3"},
                                                        {"sample", "d", "--rows", "900001"}};
    for (const auto& uso : usos) {
        auto r = apoio::ExecutaConversor(uso);
        EXPECT_EQ(r.codigo, 2) << uso.back() << "\n" << r.erros;
        EXPECT_NE(r.erros.find("uso: conversor sample"), std::string::npos) << uso.back();
    }
    EXPECT_FALSE(std::filesystem::exists("d"));

    // A folder that cannot be made is a failure, told in the message.
    std::ofstream(dir.Arquivo("arquivo")) << "x";
    auto falha = apoio::ExecutaConversor({"sample", dir.Arquivo("arquivo") + "/dentro"});
    EXPECT_EQ(falha.codigo, 1) << falha.erros;
    EXPECT_NE(falha.erros.find("Não foi possível criar o diretório"), std::string::npos)
        << falha.erros;
}

}  // namespace
