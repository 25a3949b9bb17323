// The same conversions through a Firebird server (127.0.0.1:/path) and through the embedded
// engine must store the same rows: the server is how a customer's site usually reaches its
// databases. scripts/servidor-firebird.sh start runs the server this test expects.
#include "conversion/BancoFirebird.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/Processo.h"
#include "tests/servidor/ApoioServidor.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using apoio::AbreAoServidor;
using apoio::TLinha;

// Every table a run writes to, the lookups included.
const char* const kTabelas[] = {"PRODUTO",  "PRODUTODETALHE", "CLIENTE", "FORNECE",
                                "CLASFISC", "UNIDADES",       "CIDADES"};

TEST(ServidorTest, CadaTipoGravaPeloServidorOQueGravaPeloMotorEmbutido) {
    apoio::TDiretorioTemporario embutido, servidor;
    EXIGE_SERVIDOR(servidor.Caminho());
    const std::string kServidor = apoio::PrefixoServidor();

    // One sample, copied: both runs start from the same files.
    auto amostra = apoio::ExecutaConversor(
        {"sample", embutido.Caminho().string(), "--rows", "80", "--seed", "11"});
    ASSERT_EQ(amostra.codigo, 0) << amostra.erros;
    for (const auto& arquivo : fs::directory_iterator(embutido.Caminho()))
        fs::copy_file(arquivo.path(), servidor.Caminho() / arquivo.path().filename());
    apoio::AbreAoServidor(servidor.Caminho());

    const std::pair<const char*, const char*> tipos[] = {{"products", "produtos.xlsx"},
                                                         {"clients", "cadastros.xlsx"},
                                                         {"suppliers", "cadastros.xlsx"}};
    for (const auto& [tipo, planilha] : tipos) {
        for (const std::string& prefixo : {std::string(), std::string(kServidor)}) {
            const fs::path& pasta = prefixo.empty() ? embutido.Caminho() : servidor.Caminho();
            auto r = apoio::ExecutaConversor({"run", "--kind", tipo, "--target",
                                              prefixo + (pasta / "almuro.fdb").string(), "--source",
                                              prefixo + (pasta / "tessaly.fdb").string(),
                                              "--workbook", (pasta / planilha).string()});
            ASSERT_EQ(r.codigo, 0) << tipo << " " << prefixo << "\n" << r.erros;
        }
    }

    TBancoFirebird local(1), remoto(1);
    local.DefineNome((embutido.Caminho() / "almuro.fdb").string());
    remoto.DefineNome(kServidor + (servidor.Caminho() / "almuro.fdb").string());
    local.Conecta();
    remoto.Conecta();
    for (const char* tabela : kTabelas) {
        const auto esperadas = apoio::LinhasOrdenadas(local, tabela);
        const auto gravadas = apoio::LinhasOrdenadas(remoto, tabela);
        EXPECT_FALSE(esperadas.empty()) << tabela;
        ASSERT_EQ(gravadas.size(), esperadas.size()) << tabela;
        // The first row that differs, rather than two whole tables.
        auto [g, e] = std::mismatch(gravadas.begin(), gravadas.end(), esperadas.begin());
        if (g != gravadas.end()) {
            const auto campos = apoio::Campos(local, "select * from " + std::string(tabela));
            for (size_t k = 0; k < campos.size(); ++k)
                EXPECT_EQ((*g)[k], (*e)[k]) << tabela << "." << campos[k] << " " << (*e)[0];
        }
    }
    local.Desconecta();
    remoto.Desconecta();
}

}  // namespace
