// A file-size limit (ulimit -f) reached while the run grows the target: the write fails and the
// run says so and rolls back, where the limit's signal used to kill the process without a word.
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/ProcessoFilho.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(LimiteDeArquivoTest, EscritaAlemDoLimiteFalhaComMensagemEDeixaOAlvoComoEstava) {
    apoio::TDiretorioTemporario dir;
    const std::string pasta = dir.Caminho().string();
    auto amostra = apoio::ExecutaConversor({"sample", pasta, "--rows", "400", "--seed", "5"});
    ASSERT_EQ(amostra.codigo, 0) << amostra.erros;
    const std::string almuro = dir.Arquivo("almuro.fdb");
    const std::vector<std::string> run = {"run",
                                          "--kind",
                                          "products",
                                          "--target",
                                          almuro,
                                          "--source",
                                          dir.Arquivo("tessaly.fdb"),
                                          "--workbook",
                                          dir.Arquivo("produtos.xlsx")};

    // A few pages more than the target has: the run's products need many more.
    const auto limite = static_cast<long long>(std::filesystem::file_size(almuro)) + 8 * 8192;
    auto limitado = apoio::TProcessoConversor(run, limite).Espera();
    EXPECT_EQ(limitado.codigo, 1) << limitado.erros;
    EXPECT_NE(limitado.erros.find("O arquivo do banco ALMURO (" + almuro +
                                  ") não pode crescer além do tamanho máximo de arquivo "
                                  "permitido a este processo (ulimit -f)."),
              std::string::npos)
        << limitado.erros;
    EXPECT_NE(limitado.erros.find("File too large"), std::string::npos) << limitado.erros;
    EXPECT_NE(limitado.erros.find("Nada foi gravado no banco ALMURO."), std::string::npos);

    TBancoFirebird alvo(1);
    alvo.DefineNome(almuro);
    alvo.Conecta();
    EXPECT_EQ(apoio::Valor(alvo, "select count(*) from PRODUTO"), "0");
    EXPECT_EQ(apoio::Valor(alvo, "select count(*) from CLASFISC"), "0");
    alvo.Desconecta();

    // The target is whole: without the limit the same run goes through.
    auto livre = apoio::TProcessoConversor(run).Espera();
    EXPECT_EQ(livre.codigo, 0) << livre.erros;
}

}  // namespace
