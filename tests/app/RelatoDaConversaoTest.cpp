// What the operator learns from a run: where a failure happened, the question about rows past
// the sheet, a repeated warning shown once and counted, and the summary of what was done.
#include "tests/apoio/LogicaTeste.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using apoio::TLinha;
using V = std::vector<std::string>;

const std::string kPrefixo = TLogicaPrincipal::kPrefixoErro;

class RelatoDaConversaoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        apoio::Executa(t.bancos.Almuro(),
                       "insert into PRODUTO (CODPROD, DESCRICAO) values ('000009', 'antigo')");
    }
    std::vector<TLinha> Produtos() {
        t.logica.ConfirmaTransacao();
        return apoio::Linhas(t.bancos.Almuro(), "select CODPROD, DESCRICAO from PRODUTO");
    }
    const std::vector<TLinha> kAntigo = {{"000009", "antigo"}};

    apoio::TLogicaTeste t;
};

TEST_F(RelatoDaConversaoTest, FalhaNaPlanilhaNomeiaLinhaColunaTituloEConteudo) {
    // Cells are staged in the machine's code page.
    t.Planilha(6, {{"Codigo", "Descricao", "Barras", "Grupo", "Unidade", "Pre\xE7o"},
                   {"1", "Caderno", "", "", "UN", "12"},
                   {"2", "L\xE1pis", "", "", "UN", "S\xE3o Jos\xE9"}});
    EXPECT_FALSE(t.logica.EfetuaConversao());
    EXPECT_EQ(t.mensagens.Textos("Erro"),
              V{kPrefixo + "\rplanilha, linha 3, coluna 6 (Preço), conteúdo \"São José\": "
                           "'São José' não é um valor numérico válido"});
    EXPECT_EQ(t.mensagens.detalhes, V{TLogicaPrincipal::kNadaGravado});
    EXPECT_EQ(Produtos(), kAntigo);

    // Once the row's values are with the writer, what fails is the row, not the cell read last.
    t.mensagens.todas.clear();
    apoio::InsereLinhas(t.bancos.Tessaly(), "FORNECEDOR", {"CODIGO", "NOME"},
                        {{"999999", "Maior"}});
    t.logica.DefineTipo(TTipoConversao::Fornecedores);
    t.Planilha(13, {V(13, "t"),
                    {"", "Fulano", "False", "True", "False", "", "", "MG", "", "", "", "", ""}});
    EXPECT_FALSE(t.logica.EfetuaConversao());
    ASSERT_EQ(t.mensagens.Textos("Erro").size(), 1u);
    EXPECT_EQ(t.mensagens.Textos("Erro")[0].rfind(kPrefixo + "\rplanilha, linha 2: O código", 0),
              0u)
        << t.mensagens.Textos("Erro")[0];
}

TEST_F(RelatoDaConversaoTest, FalhaNaOrigemNomeiaTabelaCodigoEColuna) {
    // Two source codes that share their characters 3 to 8 give the same product code.
    apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME"},
                        {{"00000005", "Um"}, {"99000005", "Outro"}});
    EXPECT_FALSE(t.logica.EfetuaConversao());
    ASSERT_EQ(t.mensagens.Textos("Erro").size(), 1u);
    const std::string chave = t.mensagens.Textos("Erro")[0];
    EXPECT_EQ(chave.rfind(kPrefixo + "\rbanco TESSALY, tabela ESTOQUE, CODIGO 99000005: ", 0), 0u)
        << chave;
    // The engine's own words stay, for whoever looks for them.
    EXPECT_NE(chave.find("PRIMARY or UNIQUE KEY"), std::string::npos) << chave;
    EXPECT_EQ(Produtos(), kAntigo);

    t.mensagens.todas.clear();
    apoio::Executa(t.bancos.Tessaly(), "delete from ESTOQUE where CODIGO = '99000005'");
    apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME"}, {{"0000X7", "Letra"}});
    EXPECT_FALSE(t.logica.EfetuaConversao());
    const std::string coluna = t.mensagens.Textos("Erro").at(0);
    EXPECT_EQ(coluna.rfind(kPrefixo + "\rbanco TESSALY, tabela ESTOQUE, CODIGO 0000X7, coluna "
                                      "CODIGO: '0000X7' não é um valor inteiro válido",
                           0),
              0u)
        << coluna;
    EXPECT_EQ(Produtos(), kAntigo);
}

TEST_F(RelatoDaConversaoTest, LinhaAlemDaPlanilhaPerguntaENaoDeixaTudoParado) {
    const std::string csv = t.bancos.Diretorio().Arquivo("produtos.csv");
    std::ofstream(csv, std::ios::binary) << "Codigo;Descricao;Barras;Grupo;Unidade;Preco\n"
                                            "1;Caderno;;;UN;1\n2;Lapis;;;UN;2\n";
    t.arquivos.respostas.push_back(csv);
    t.logica.BtabrirClick();
    t.logica.DefineNumLinha("10");
    t.mensagens.respostaSim = false;
    t.logica.btOKClick();
    EXPECT_EQ(t.mensagens.perguntas,
              V{"A última linha usada da planilha \"produtos\" é a 3: até a linha 10 informada, 7 "
                "linhas vazias seriam convertidas."});
    EXPECT_TRUE(t.mensagens.todas.empty());
    EXPECT_EQ(t.logica.Foco(), TControle::NumLinha);
    EXPECT_TRUE(t.logica.ControlesHabilitados());
    EXPECT_EQ(t.logica.cdsTabelaTemp.TotalRegistros(), 0);
    EXPECT_EQ(t.logica.NumLinha(), "10");
    EXPECT_EQ(Produtos(), kAntigo);

    // Within the sheet nothing is asked.
    t.logica.DefineNumLinha("3");
    t.logica.btOKClick();
    EXPECT_EQ(t.mensagens.perguntas.size(), 1u);
    EXPECT_EQ(t.mensagens.Textos("Informação"), V{TLogicaPrincipal::kSucesso});
}

TEST_F(RelatoDaConversaoTest, AvisoRepetidoApareceUmaVezEOResumoContaTodos) {
    // A target that refuses the unit "UN": every lookup of it warns.
    apoio::Executa(t.bancos.Almuro(),
                   "alter table UNIDADES add constraint SEM_UN check (UNIDADE <> 'UN')");
    apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE",
                        {"CODIGO", "NOME", "UND_COMPRA", "UND_VENDA"},
                        {{"00000001", "Um", "UN", "CX"}, {"00000002", "Dois", "UN", "UN"}});
    t.Planilha(6, {V(6, "t"), {"1", "Caderno", "", "", "UN", ""}});
    EXPECT_TRUE(t.logica.EfetuaConversao());
    EXPECT_EQ(t.mensagens.Textos("Alerta"), V{"Erro ao converter Unidade."});
    ASSERT_EQ(t.mensagens.detalhes.size(), 1u);
    const std::string& resumo = t.mensagens.detalhes[0];
    EXPECT_NE(resumo.find("Linhas gravadas: PRODUTO 3; PRODUTODETALHE 2;\n"), std::string::npos)
        << resumo;
    EXPECT_NE(resumo.find("Linhas criadas nas tabelas auxiliares: CLASFISC 0; UNIDADES 1;\n"),
              std::string::npos)
        << resumo;
    EXPECT_NE(resumo.find("\nAvisos:\n  4 vezes: Erro ao converter Unidade.\nTempo: "),
              std::string::npos)
        << resumo;
    // The counts read in a transaction of their own, which is over: Esc closes the window.
    EXPECT_FALSE(t.logica.dbAlmuro.Transacao().Ativa());

    // The next run counts afresh and shows the warning again.
    t.mensagens.todas.clear();
    t.mensagens.detalhes.clear();
    EXPECT_TRUE(t.logica.EfetuaConversao());
    EXPECT_EQ(t.mensagens.Textos("Alerta"), V{"Erro ao converter Unidade."});
    EXPECT_NE(t.mensagens.detalhes.back().find("  4 vezes: "), std::string::npos);
}

}  // namespace
