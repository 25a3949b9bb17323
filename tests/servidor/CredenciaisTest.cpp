// A site's server may have a SYSDBA password of its own, or a user of its own for this work: the
// Firebird client's variables ISC_USER and ISC_PASSWORD give them to both connections.
#include "conversion/BancoFirebird.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/Processo.h"
#include "tests/servidor/ApoioServidor.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// A user of the server's security database for the length of a test, made and dropped as
// SYSDBA through a database of its own (banco, created here); the name is this process's own, as
// other runs may share the server.
class TUsuarioServidor {
  public:
    TUsuarioServidor(const std::string& banco, const std::string& senha)
        : nome_("CONVERSOR_TESTE_" + std::to_string(::getpid())) {
        conexao_.DefineNome(banco);
        conexao_.CriaBanco();
        conexao_.ExecutaScript("create or alter user " + nome_ + " password '" + senha + "'");
    }
    ~TUsuarioServidor() {
        try {
            conexao_.ExecutaScript("drop user " + nome_);
        } catch (...) {
            // The server went away: the user goes with its security database's next cleanup.
        }
    }
    TUsuarioServidor(const TUsuarioServidor&) = delete;
    TUsuarioServidor& operator=(const TUsuarioServidor&) = delete;

    const std::string& Nome() const { return nome_; }

  private:
    std::string nome_;
    TBancoFirebird conexao_{1};
};

TEST(CredenciaisTest, ISC_USEREISC_PASSWORDSubstituemOUsuarioEASenhaDasDuasConexoes) {
    apoio::TDiretorioTemporario pasta;
    EXIGE_SERVIDOR(pasta.Caminho());
    const std::string servidor = apoio::PrefixoServidor();
    const std::string almuro = pasta.Arquivo("almuro.fdb"), tessaly = pasta.Arquivo("tessaly.fdb");
    const std::string planilha = pasta.Arquivo("produtos.xlsx");

    TUsuarioServidor usuario(servidor + pasta.Arquivo("usuarios.fdb"), "outra9");
    // The embedded engine takes the user's name without a password: the sample's databases
    // belong to the site's user, who may then do anything in them.
    auto amostra = apoio::ExecutaConversor({"sample", pasta.Caminho().string(), "--rows", "20"},
                                           {"ISC_USER=" + usuario.Nome()});
    ASSERT_EQ(amostra.codigo, 0) << amostra.erros;
    apoio::AbreAoServidor(pasta.Caminho());
    const std::vector<std::string> doSite = {"ISC_USER=" + usuario.Nome(), "ISC_PASSWORD=outra9"};

    auto r = apoio::ExecutaConversor({"run", "--kind", "products", "--target", servidor + almuro,
                                      "--source", servidor + tessaly, "--workbook", planilha},
                                     doSite);
    EXPECT_EQ(r.codigo, 0) << r.erros;
    EXPECT_NE(r.saida.find("Conversão concluída com sucesso!"), std::string::npos) << r.saida;

    // A wrong password: the database reached through the server refuses it, whichever of the
    // two it is; the one the embedded engine opens takes no password.
    const std::vector<std::string> senhaErrada = {"ISC_USER=" + usuario.Nome(),
                                                  "ISC_PASSWORD=errada"};
    const std::pair<std::string, std::string> casos[] = {{"ALMURO", servidor + almuro},
                                                         {"TESSALY", servidor + tessaly}};
    for (const auto& [papel, remoto] : casos) {
        const bool alvoRemoto = papel == "ALMURO";
        r = apoio::ExecutaConversor(
            {"run", "--kind", "products", "--target", alvoRemoto ? remoto : almuro, "--source",
             alvoRemoto ? tessaly : remoto, "--workbook", planilha},
            senhaErrada);
        EXPECT_EQ(r.codigo, 1) << papel << "\n" << r.erros;
        EXPECT_NE(r.erros.find("O banco " + papel), std::string::npos) << r.erros;
        EXPECT_NE(r.erros.find("recusou o usuário " + usuario.Nome()), std::string::npos)
            << r.erros;
        EXPECT_NE(r.erros.find("ISC_USER e ISC_PASSWORD"), std::string::npos) << r.erros;
    }
}

}  // namespace
