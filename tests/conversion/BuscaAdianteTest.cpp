// A lookup that shares no table with the held rows runs before them, in its own trip, and the
// held rows stay held; whatever the engine may do on its own between the two (a trigger, a view,
// a foreign key from the lookup's table to a held one) makes the held rows run first, as always.
#include "conversion/BuscaDeLinha.h"
#include "conversion/Consulta.h"
#include "conversion/LoteComandos.h"
#include "conversion/TabelasIndependentes.h"
#include "tests/apoio/BancosTeste.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TBuscaDaLinha NovaCidade(const std::string& nome) {
    const std::string porNome = "select CODCIDADE from CIDADES where CIDADE = :CIDADE";
    TBuscaDaLinha busca;
    busca.proprias = {{porNome, {{"CIDADE", nome}}, "CODCIDADE"}};
    busca.confirmadas = {{{porNome, {{"CIDADE", nome}}, "CODCIDADE"}},
                         "select max(CODCIDADE) as M from CIDADES",
                         "M"};
    busca.proximo = [](const std::string& maior) {
        const std::string n = std::to_string(maior.empty() ? 1 : std::stoi(maior) + 1);
        return std::string(5 - n.size(), '0') + n;
    };
    busca.criacao = {"insert into CIDADES (CODCIDADE, CIDADE) values (:C, :N)",
                     [=](const std::string& novo) -> TParametrosComando {
                         return {{"C", novo}, {"N", nome}};
                     }};
    return busca;
}

class BuscaAdianteTest : public ::testing::Test {
  protected:
    apoio::TBancosTeste bancos;

    // The catalog changed by another connection, as the customer's database comes.
    void MudaOCatalogo(const std::string& ddl) {
        bancos.Desconecta();
        {
            TBancoFirebird outra(1);
            outra.DefineNome(bancos.CaminhoAlmuro());
            outra.Conecta();
            apoio::Executa(outra, ddl);
        }
        bancos.Conecta();
    }
    // Holds a client, then asks for a new city: whether the client was still held after it.
    bool ClienteRetidoDepoisDaBusca() {
        TBancoFirebird& alvo = bancos.Almuro();
        alvo.Lote().DefineUso(TLoteComandos::TUso::Sempre);
        alvo.Lote().Grava("insert into CLIENTE (CODCLIENTE, NOME) values ('00000001', 'ANA')");
        EXPECT_TRUE(alvo.Lote().Retendo());
        const TLinhaAchada achada = BuscaOuCriaLinha(alvo, NovaCidade("NOVA"));
        EXPECT_EQ(achada.origem, TLinhaAchada::TOrigem::Criada);
        EXPECT_EQ(achada.codigo, "00001");
        const bool retido = alvo.Lote().Retendo();
        alvo.Lote().Descarrega();
        EXPECT_EQ(apoio::Valor(alvo, "select count(*) from CLIENTE"), "1");
        EXPECT_EQ(apoio::Valor(alvo, "select CIDADE from CIDADES"), "NOVA");
        return retido;
    }
};

TEST_F(BuscaAdianteTest, BuscaDeOutraTabelaNaoEsperaAsLinhasRetidas) {
    // The held table referring to the lookup's is no bar.
    MudaOCatalogo(
        "alter table CLIENTE add constraint FK_CIDADE foreign key (CODCIDADE) "
        "references CIDADES (CODCIDADE)");
    EXPECT_TRUE(ClienteRetidoDepoisDaBusca());
}

TEST_F(BuscaAdianteTest, GatilhoNaTabelaRetidaFazEmAsRetidasAntes) {
    MudaOCatalogo("create trigger CLIENTE_AUDITA for CLIENTE after insert as begin end");
    EXPECT_FALSE(ClienteRetidoDepoisDaBusca());
}

TEST_F(BuscaAdianteTest, ChaveDaTabelaDaBuscaParaUmaRetidaFazEmAsRetidasAntes) {
    MudaOCatalogo("alter table CIDADES add CLIENTE_REF varchar(8) references CLIENTE (CODCLIENTE)");
    EXPECT_FALSE(ClienteRetidoDepoisDaBusca());
}

TEST_F(BuscaAdianteTest, MesmaTabelaOuVisaoNuncaSaoIndependentes) {
    MudaOCatalogo("create view CLIENTES_V as select CODCLIENTE from CLIENTE");
    TTabelasIndependentes independentes;
    TBancoFirebird& alvo = bancos.Almuro();
    EXPECT_TRUE(independentes.Independentes(alvo, {"CIDADES"}, {"CLIENTE", "PRODUTO"}));
    EXPECT_FALSE(independentes.Independentes(alvo, {"CIDADES", "CLIENTE"}, {"CLIENTE"}));
    EXPECT_FALSE(independentes.Independentes(alvo, {"CLIENTES_V"}, {"CIDADES"}));
    EXPECT_FALSE(independentes.Independentes(alvo, {"NAO_HA"}, {"CIDADES"}));
}

}  // namespace
