// A whole suppliers run from the command line over a generated sample site: the target must
// take every value of a realistic source and sheet, and a second run must replace, not add.
#include "conversion/BancoFirebird.h"
#include "schema/amostra/GeradorAmostra.h"
#include "spreadsheet/ControlaExcel.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/Processo.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using apoio::Valor;

// The rows of the sample's sheet whose supplier column says "True".
int FornecedoresDaPlanilha(const std::string& pasta) {
    TDMCotrolaExcel excel;
    excel.AbreArquivoExcel(pasta);
    excel.SelecionaAba(1);
    int n = 0;
    for (int l = 2; l <= excel.UltimaLinha(); ++l)
        n += excel.LeCelula(4, l) == "True";
    return n;
}

TEST(AmostraFornecedoresTest, RunSuppliersGravaOrigemEPlanilhaESubstituiNaSegunda) {
    apoio::TDiretorioTemporario dir;
    TOpcoesAmostra opcoes;
    opcoes.diretorio = dir.Caminho().string();
    opcoes.linhas = 250;
    opcoes.semente = 11;
    TGeradorAmostra(opcoes).Gera();

    int comNome = 0;
    int maiorCodigo = 0;
    {
        TBancoFirebird tessaly(3);
        tessaly.DefineNome(dir.Arquivo("tessaly.fdb"));
        tessaly.Conecta();
        comNome = std::stoi(
            Valor(tessaly, "select count(*) from FORNECEDOR where trim(coalesce(NOME, '')) <> ''"));
        maiorCodigo = std::stoi(Valor(tessaly, "select max(CODIGO) from FORNECEDOR"));
    }
    const int daPlanilha = FornecedoresDaPlanilha(dir.Arquivo("cadastros.xlsx"));
    ASSERT_GT(comNome, 0);
    ASSERT_GT(daPlanilha, 0);

    const std::vector<std::string> run = {"run",
                                          "--kind",
                                          "suppliers",
                                          "--target",
                                          dir.Arquivo("almuro.fdb"),
                                          "--source",
                                          dir.Arquivo("tessaly.fdb"),
                                          "--workbook",
                                          dir.Arquivo("cadastros.xlsx")};
    std::string cidades;
    for (int vez = 1; vez <= 2; ++vez) {
        auto r = apoio::ExecutaConversor(run);
        ASSERT_EQ(r.codigo, 0) << r.saida << r.erros;
        EXPECT_EQ(r.saida.rfind("Conversão concluída com sucesso!", 0), 0u) << r.saida;
        EXPECT_EQ(r.erros.find("Alerta"), std::string::npos) << r.erros;

        TBancoFirebird almuro(1);
        almuro.DefineNome(dir.Arquivo("almuro.fdb"));
        almuro.Conecta();
        EXPECT_EQ(apoio::ContaLinhas(almuro, "FORNECE"), comNome + daPlanilha) << "run " << vez;
        const std::string doMaior = std::to_string(maiorCodigo);
        EXPECT_EQ(std::stoi(Valor(almuro,
                                  "select count(*) from FORNECE where cast(CODFORNEC as "
                                  "integer) > " +
                                      doMaior)),
                  daPlanilha);
        EXPECT_EQ(Valor(almuro, "select count(*) from FORNECE where char_length(CODFORNEC) <> 6"),
                  "0");
        EXPECT_EQ(Valor(almuro,
                        "select count(*) from FORNECE where PESSOA_FJ not in ('F', 'J') "
                        "or ATIVO <> 'S' or CODMUNICIPIO <> '0000000'"),
                  "0");
        // Every city code written points at a city.
        EXPECT_EQ(Valor(almuro,
                        "select count(*) from FORNECE f where f.CODCIDADE <> '' and not "
                        "exists (select 1 from CIDADES c where c.CODCIDADE = "
                        "f.CODCIDADE)"),
                  "0");
        // The second run finds every city the first one created.
        const std::string agora = Valor(almuro, "select count(*) from CIDADES");
        if (vez == 2) {
            EXPECT_EQ(agora, cidades);
        }
        cidades = agora;
    }
}

}  // namespace
