// `conversor check` and `--report` as an operator's shell sees them: every problem on its own
// line of stdout, the account, the last line and the exit code; a report that reads back sheet
// by sheet; a report that cannot be written is a warning that changes nothing; and on a sample
// site the account of every kind adds up to the rows written.
#include "common/Win1252.h"
#include "schema/amostra/GeradorAmostra.h"
#include "spreadsheet/ControlaExcel.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/Processo.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace {

using apoio::ExecutaConversor;
using V = std::vector<std::string>;

V Linhas(const std::string& texto) {
    V r;
    std::istringstream in(texto);
    for (std::string l; std::getline(in, l);)
        r.push_back(l);
    return r;
}

class ConferenciaLinhaComandoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        apoio::Executa(bancos.Almuro(),
                       "insert into PRODUTO (CODPROD, DESCRICAO) values ('000009', 'antigo')");
        apoio::InsereLinhas(bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME"},
                            {{"00000007", "Caneta"}});
        bancos.Desconecta();
    }
    std::string Escreve(const std::string& nome, const std::string& conteudo) {
        std::ofstream(bancos.Diretorio().Arquivo(nome), std::ios::binary) << conteudo;
        return bancos.Diretorio().Arquivo(nome);
    }
    V Comando(const std::string& comando, const std::string& pasta, V extras = {}) {
        V a = {comando,
               "--kind",
               "products",
               "--target",
               bancos.CaminhoAlmuro(),
               "--source",
               bancos.CaminhoTessaly(),
               "--workbook",
               pasta};
        a.insert(a.end(), extras.begin(), extras.end());
        return a;
    }
    std::string Produtos() {
        bancos.Conecta();
        const std::string r = apoio::Valor(bancos.Almuro(), "select count(*) from PRODUTO");
        bancos.Desconecta();
        return r;
    }

    apoio::TBancosTeste bancos;
};

TEST_F(ConferenciaLinhaComandoTest, UmaLinhaPorProblemaContaELinhaFinal) {
    const std::string suja = Escreve("suja.csv",
                                     "C;Descricao;B;G;Unidade;Preco\n"
                                     "1;Caderno;;;UN;12.5\n"
                                     "2;Lapis;;;UN;12,50\n"
                                     "3;Borracha;;;UN;2\n"
                                     "4;Caneta;;;UN;ver tabela\n");
    auto r = ExecutaConversor(Comando("check", suja));
    EXPECT_EQ(r.codigo, 1) << r.erros;
    EXPECT_EQ(r.erros, "");
    const V linhas = Linhas(r.saida);
    ASSERT_GE(linhas.size(), 4u) << r.saida;
    EXPECT_EQ(V(linhas.begin(), linhas.begin() + 3),
              (V{"planilha, linha 3, coluna 6 (Preco), conteúdo \"12,50\": '12,50' não é um "
                 "valor numérico válido",
                 "planilha, linha 5, coluna 6 (Preco), conteúdo \"ver tabela\": 'ver tabela' não "
                 "é um valor numérico válido",
                 "Linhas gravadas: PRODUTO 3; PRODUTODETALHE 1;"}));
    EXPECT_NE(r.saida.find("\n  banco TESSALY, tabela ESTOQUE: 1 lido, 1 gravado\n"
                           "  planilha: 4 linhas de dados, 2 gravadas, 2 com problema\n"),
              std::string::npos)
        << r.saida;
    EXPECT_EQ(linhas.back(), "Conferência concluída: 2 problema(s); nada foi gravado.");
    EXPECT_EQ(Produtos(), "1");

    // The run of the same inputs stops with the first of them; --dry-run still stops there.
    auto run = ExecutaConversor(Comando("run", suja, {"--dry-run"}));
    EXPECT_EQ(run.codigo, 1);
    EXPECT_EQ(Linhas(run.erros).at(1), linhas[0]);

    const std::string limpa =
        Escreve("limpa.csv", "C;Descricao;B;G;Unidade;Preco\n1;Caderno;;;UN;12.5\n");
    auto ok = ExecutaConversor(Comando("check", limpa));
    EXPECT_EQ(ok.codigo, 0) << ok.erros;
    EXPECT_EQ(ok.saida.rfind("Linhas gravadas: PRODUTO 2; PRODUTODETALHE 1;\n", 0), 0u) << ok.saida;
    EXPECT_EQ(Linhas(ok.saida).back(), "Conferência concluída: nenhum problema; nada foi gravado.");
    EXPECT_EQ(Produtos(), "1");

    auto uso = ExecutaConversor(Comando("check", limpa, {"--dry-run"}));
    EXPECT_EQ(uso.codigo, 2);
    EXPECT_EQ(uso.erros.rfind("conversor check: opção desconhecida: --dry-run\n", 0), 0u)
        << uso.erros;
}

TEST_F(ConferenciaLinhaComandoTest, RelatorioLidoDeVoltaERelatorioQueNaoSeGravaSoAvisa) {
    const std::string suja = Escreve("suja.csv",
                                     "C;Descricao;B;G;Unidade;Preco\n"
                                     "1;Caderno;;;UN;12.5\n"
                                     "2;Lapis;;;UN;12,50\n");
    const std::string relatorio = bancos.Diretorio().Arquivo("conferencia.xlsx");
    auto r = ExecutaConversor(Comando("check", suja, {"--report", relatorio}));
    EXPECT_EQ(r.codigo, 1) << r.erros;

    TDMCotrolaExcel pasta;
    pasta.AbreArquivoExcel(relatorio);
    V abas;
    for (const std::string& aba : pasta.ListaAbas())
        abas.push_back(win1252::ParaUtf8(aba));
    EXPECT_EQ(abas, (V{"Resumo", "Problemas", "Não convertidos", "Avisos"}));
    auto linha = [&pasta](int aba, int numero, int colunas) {
        pasta.SelecionaAba(aba);
        V r;
        for (int c = 1; c <= colunas; ++c)
            r.push_back(win1252::ParaUtf8(pasta.LeCelula(c, numero)));
        return r;
    };
    EXPECT_EQ(linha(1, 1, 2), (V{"Item", "Valor"}));
    EXPECT_EQ(linha(1, 2, 2), (V{"Execução", "Conferência"}));
    EXPECT_EQ(linha(1, 3, 2), (V{"Banco ALMURO", bancos.CaminhoAlmuro()}));
    EXPECT_EQ(linha(1, 8, 2), (V{"Tipo", "Produtos"}));
    EXPECT_EQ(linha(1, 11, 2),
              (V{"Resultado", "Conferência concluída: 1 problema(s); nada foi gravado."}));
    EXPECT_EQ(linha(1, 14, 5),
              (V{"Origem", "Lidos", "Gravados", "Deixados de fora", "Com problema"}));
    EXPECT_EQ(linha(1, 16, 5), (V{"planilha", "2", "1", "0", "1"}));
    EXPECT_EQ(linha(2, 1, 5), (V{"Origem", "Registro", "Coluna", "Conteúdo", "Problema"}));
    EXPECT_EQ(linha(2, 2, 5), (V{"planilha", "linha 3", "6 (Preco)", "12,50",
                                 "'12,50' não é um valor numérico válido"}));
    pasta.SelecionaAba(2);
    EXPECT_EQ(pasta.UltimaLinha(), 2);
    EXPECT_EQ(linha(3, 1, 3), (V{"Origem", "Registro", "Motivo"}));
    EXPECT_EQ(linha(4, 1, 2), (V{"Aviso", "Vezes"}));

    // A folder that does not exist: the run is committed and says so, exit code 0.
    const std::string limpa =
        Escreve("limpa.csv", "C;Descricao;B;G;Unidade;Preco\n1;Caderno;;;UN;12.5\n");
    const std::string semPasta = bancos.Diretorio().Arquivo("nao/existe/relatorio.xlsx");
    auto run = ExecutaConversor(Comando("run", limpa, {"--report", semPasta}));
    EXPECT_EQ(run.codigo, 0) << run.erros;
    EXPECT_EQ(run.erros, "Alerta: O relatório não pôde ser gravado em " + semPasta +
                             ": a pasta não existe.\n");
    EXPECT_EQ(Produtos(), "2");
}

// Every record read is written, left out for a stated reason or failed, and what each source
// wrote adds up to the rows of the target table.
TEST(ContaDaAmostraTest, ContaDeCadaTipoFechaComAsLinhasGravadas) {
    apoio::TDiretorioTemporario dir;
    TOpcoesAmostra opcoes;
    opcoes.diretorio = dir.Caminho().string();
    opcoes.linhas = 120;
    opcoes.semente = 7;
    TGeradorAmostra(opcoes).Gera();
    const std::string alvo = dir.Arquivo("almuro.fdb");
    const std::string origem = dir.Arquivo("tessaly.fdb");
    const std::vector<std::pair<std::string, std::string>> tipos = {
        {"products", "produtos.xlsx"},
        {"clients", "cadastros.xlsx"},
        {"suppliers", "cadastros.xlsx"}};
    const std::regex tabela(R"(^Linhas gravadas: (\w+) (\d+);)");
    const std::regex conta(
        R"(^  (.+): (\d+) (?:lidos?|linhas? de dados), (\d+) gravad[oa]s?(.*)$)");
    const std::regex deixados(R"((\d+) deixad[oa]s? de fora)");
    for (const auto& [tipo, pasta] : tipos) {
        auto r = ExecutaConversor({"run", "--kind", tipo, "--target", alvo, "--source", origem,
                                   "--workbook", dir.Arquivo(pasta)});
        ASSERT_EQ(r.codigo, 0) << r.erros;
        long linhasDaTabela = -1, somaGravados = 0, origens = 0, somaDeixados = 0;
        for (const std::string& l : Linhas(r.saida)) {
            std::smatch m;
            if (std::regex_search(l, m, tabela))
                linhasDaTabela = std::stol(m[2]);
            if (!std::regex_match(l, m, conta))
                continue;
            ++origens;
            const long lidos = std::stol(m[2]), gravados = std::stol(m[3]);
            long fora = 0;
            const std::string resto = m[4];
            for (std::sregex_iterator i(resto.begin(), resto.end(), deixados), fim; i != fim; ++i)
                fora += std::stol((*i)[1]);
            EXPECT_EQ(lidos, gravados + fora) << l;
            somaGravados += gravados;
            somaDeixados += fora;
        }
        EXPECT_EQ(origens, 2) << r.saida;
        EXPECT_EQ(somaGravados, linhasDaTabela) << r.saida;
        // The sample leaves some out in every kind but products.
        EXPECT_EQ(somaDeixados > 0, tipo != "products") << r.saida;
    }
}

}  // namespace
