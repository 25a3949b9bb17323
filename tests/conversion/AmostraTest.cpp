// The sample site: its files, its determinism, its data, and the command that makes it.
#include "app/logica/LogicaPrincipal.h"
#include "conversion/BancoFirebird.h"
#include "schema/amostra/GeradorAmostra.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/DiretorioTemporario.h"
#include "tests/apoio/JanelaFalsa.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
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

// One member of a workbook's zip package; empty when it is not there.
std::string LeDoPacote(const std::filesystem::path& pasta, const std::string& membro) {
    int erro = 0;
    std::unique_ptr<zip_t, decltype(&zip_discard)> zip(
        zip_open(pasta.string().c_str(), ZIP_RDONLY, &erro), &zip_discard);
    if (!zip)
        return {};
    zip_stat_t st;
    if (zip_stat(zip.get(), membro.c_str(), 0, &st) != 0)
        return {};
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> arquivo(
        zip_fopen(zip.get(), membro.c_str(), 0), &zip_fclose);
    if (!arquivo)
        return {};
    std::string conteudo(st.size, '\0');
    zip_int64_t lidos = zip_fread(arquivo.get(), conteudo.data(), st.size);
    conteudo.resize(lidos < 0 ? 0 : static_cast<size_t>(lidos));
    return conteudo;
}

size_t Ocorrencias(const std::string& texto, const std::string& parte) {
    size_t n = 0;
    for (size_t p = texto.find(parte); p != std::string::npos; p = texto.find(parte, p + 1))
        ++n;
    return n;
}

struct TSaida {
    int codigo = -1;
    std::string texto;  // stdout and stderr together
};

TSaida ExecutaBinario(const std::string& argumentos) {
    TSaida saida;
    std::string comando = std::string(CONVERSOR_BINARIO) + " " + argumentos + " 2>&1";
    FILE* p = popen(comando.c_str(), "r");
    if (!p)
        return saida;
    char buffer[512];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0)
        saida.texto.append(buffer, n);
    int estado = pclose(p);
    saida.codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    return saida;
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

    const auto produtos = dir.Caminho() / "produtos.xlsx";
    std::string folha = LeDoPacote(produtos, "xl/worksheets/sheet1.xml");
    std::string textos = LeDoPacote(produtos, "xl/sharedStrings.xml");
    ASSERT_FALSE(folha.empty());
    EXPECT_EQ(Ocorrencias(folha, "<row "), 51u);  // heading and 50 products
    EXPECT_NE(folha.find("<dimension ref=\"A1:H51\""), std::string::npos);
    for (const char* titulo : {"Código", "Descrição", "Unidade", "Preço Venda"})
        EXPECT_NE(textos.find(titulo), std::string::npos) << titulo;
    // Prices are numbers, never texts a locale could misread: no cell of column F below the
    // heading is a string.
    for (size_t p = folha.find("<c r=\"F"); p != std::string::npos;
         p = folha.find("<c r=\"F", p + 1)) {
        std::string celula = folha.substr(p, folha.find('>', p) - p);
        if (celula.rfind("<c r=\"F1\"", 0) == 0)
            continue;
        EXPECT_EQ(celula.find("t=\"s\""), std::string::npos) << celula;
    }

    const auto cadastros = dir.Caminho() / "cadastros.xlsx";
    folha = LeDoPacote(cadastros, "xl/worksheets/sheet1.xml");
    textos = LeDoPacote(cadastros, "xl/sharedStrings.xml");
    EXPECT_EQ(Ocorrencias(folha, "<row "), 51u);
    EXPECT_NE(folha.find("<dimension ref=\"A1:M51\""), std::string::npos);
    // The three flags are logical cells in every data row.
    for (const char* coluna : {"C", "D", "E"}) {
        for (int linha = 2; linha <= 51; ++linha) {
            std::string ref = std::string("<c r=\"") + coluna + std::to_string(linha) + "\"";
            size_t p = folha.find(ref);
            ASSERT_NE(p, std::string::npos) << ref;
            EXPECT_NE(folha.substr(p, folha.find('>', p) - p).find("t=\"b\""), std::string::npos)
                << ref;
        }
    }
    EXPECT_NE(textos.find("Inscrição Estadual"), std::string::npos);
    EXPECT_NE(textos.find("Pessoa Jurídica"), std::string::npos);
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

    std::string cadastros = LeDoPacote(dir.Caminho() / "cadastros.xlsx", "xl/sharedStrings.xml");
    for (const char* texto :
         {"__.___.___/____-__", "___.___.___-__", "BHTE", "isento", "ISENTO", "Ávila", "do Zé"})
        EXPECT_NE(cadastros.find(texto), std::string::npos) << texto;
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

// What the target accepts is what matters: the product writers take a whole sample without
// one value too long for its column.
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
}

TEST(AmostraTest, ComandoSampleCodigosDeSaida) {
    TDiretorioTemporario dir;
    TSaida ok = ExecutaBinario("sample '" + dir.Arquivo("s") + "' --rows 5 --seed=3");
    EXPECT_EQ(ok.codigo, 0) << ok.texto;
    EXPECT_NE(ok.texto.find("ESTOQUE 5"), std::string::npos) << ok.texto;
    EXPECT_NE(ok.texto.find("cadastros.xlsx"), std::string::npos) << ok.texto;
    EXPECT_TRUE(std::filesystem::exists(dir.Caminho() / "s" / "tessaly.fdb"));

    for (const char* uso :
         {"sample", "sample a b", "sample d --rows", "sample d --rows -1", "sample d --rows 1x",
          "sample d --colunas 3", "sample d --rows 900001"}) {
        TSaida r = ExecutaBinario(uso);
        EXPECT_EQ(r.codigo, 2) << uso << "\n" << r.texto;
        EXPECT_NE(r.texto.find("uso: conversor sample"), std::string::npos) << uso;
    }

    // A folder that cannot be made is a failure, told in the message.
    std::ofstream(dir.Arquivo("arquivo")) << "x";
    TSaida falha = ExecutaBinario("sample '" + dir.Arquivo("arquivo") + "/dentro'");
    EXPECT_EQ(falha.codigo, 1) << falha.texto;
    EXPECT_NE(falha.texto.find("Não foi possível criar o diretório"), std::string::npos)
        << falha.texto;
}

}  // namespace
