// A whole clients run over a sample site, from the command line: what the target accepts, and
// what the source and the sheet say it should hold.
#include "common/Texto.h"
#include "conversion/BancoFirebird.h"
#include "schema/amostra/GeradorAmostra.h"
#include "spreadsheet/ControlaExcel.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/DiretorioTemporario.h"
#include "tests/apoio/Processo.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using apoio::Linhas;

// A database of the sample, opened for a look.
struct TBancoAberto : TBancoFirebird {
    TBancoAberto(const std::string& caminho, int dialeto) : TBancoFirebird(dialeto) {
        DefineNome(caminho);
        Conecta();
    }
};

// Data rows of the sheet flagged as clients.
int ClientesDaPlanilha(const std::string& pasta) {
    TDMCotrolaExcel excel;
    excel.AbreArquivoExcel(pasta);
    excel.SelecionaAba(1);
    int n = 0;
    for (int linha = 2; linha <= excel.UltimaLinha(); ++linha)
        n += excel.LeCelula(3, linha) == "True";
    return n;
}

TEST(AmostraClientesTest, ConversaoDaAmostraPeloComandoRun) {
    TDiretorioTemporario dir;
    TOpcoesAmostra opcoes;
    opcoes.diretorio = dir.Caminho().string();
    opcoes.linhas = 300;
    opcoes.semente = 11;
    TGeradorAmostra(opcoes).Gera();

    auto run = apoio::ExecutaConversor(
        {"run", "--kind", "clients", "--target", dir.Arquivo("almuro.fdb"), "--source",
         dir.Arquivo("tessaly.fdb"), "--workbook", dir.Arquivo("cadastros.xlsx")});
    ASSERT_EQ(run.codigo, 0) << run.saida << run.erros;
    EXPECT_EQ(run.saida.rfind("Conversão concluída com sucesso!\n", 0), 0u) << run.saida;
    EXPECT_EQ(run.erros.find("Alerta"), std::string::npos) << run.erros;

    // Named source clients, by code, with whether their city is blank.
    std::map<std::int64_t, bool> origem;
    std::int64_t maior = 0;
    {
        TBancoAberto tessaly(dir.Arquivo("tessaly.fdb"), 3);
        for (const auto& l : Linhas(tessaly, "select CODIGO, NOME, CIDADE from CLIENTE")) {
            if (texto::Trim(l[1]).empty())
                continue;
            const std::int64_t codigo = texto::LeInteiro(l[0]);
            origem[codigo] = texto::Trim(l[2]).empty();
            maior = std::max(maior, codigo);
        }
    }
    ASSERT_GT(origem.size(), 200u);
    const int daPlanilha = ClientesDaPlanilha(dir.Arquivo("cadastros.xlsx"));
    ASSERT_GT(daPlanilha, 100);

    TBancoAberto almuro(dir.Arquivo("almuro.fdb"), 1);
    std::set<std::string> cidades;
    for (const auto& l : Linhas(almuro, "select CODCIDADE from CIDADES"))
        cidades.insert(l[0]);
    size_t doBanco = 0;
    int planilha = 0;
    for (const auto& l : Linhas(almuro,
                                "select CODCLIENTE, CODCIDADE, CODCIDADEENT, CODCIDADECOB from "
                                "CLIENTE order by CODCLIENTE")) {
        ASSERT_EQ(l[0].size(), 8u) << l[0];
        const std::int64_t codigo = texto::LeInteiro(l[0]);
        for (size_t c = 1; c <= 3; ++c) {
            EXPECT_TRUE(l[c].empty() || cidades.count(l[c])) << l[0] << " " << l[c];
        }
        if (codigo > maior) {
            ++planilha;
            continue;
        }
        ++doBanco;
        auto it = origem.find(codigo);
        ASSERT_NE(it, origem.end()) << l[0];
        EXPECT_EQ(l[1].empty(), it->second) << l[0];  // blank city, empty code; and only then
    }
    EXPECT_EQ(doBanco, origem.size());
    EXPECT_EQ(planilha, daPlanilha);
}

}  // namespace
