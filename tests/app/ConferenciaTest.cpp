// The check of a dirty site, one per kind, with problems seeded in known places: it lists
// exactly those, in the order a run meets them, the first one as the run fails with it; it
// writes nothing; a record that fails is undone whole and takes nothing of its own to the next
// one; and once the listed values are put right, the run goes through.
#include "common/Win1252.h"
#include "conversion/LoteComandos.h"
#include "tests/apoio/LogicaTeste.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using apoio::TLinha;
using V = std::vector<std::string>;

// Each check twice: with every statement run as it comes, and with the rows held to go in blocks
// as through a server, where a record that reaches the database only with its block sets no
// savepoint of its own.
class ConferenciaTest : public ::testing::TestWithParam<TLoteComandos::TUso> {
  protected:
    ConferenciaTest() { t.logica.dbAlmuro.Lote().DefineUso(GetParam()); }

    // Runs the check; the target must hold afterwards what it held before.
    std::vector<TProblema> Confere(const std::string& tabela) {
        const auto antes = Conteudo(tabela);
        t.mensagens.todas.clear();
        t.mensagens.detalhes.clear();
        t.logica.DefineConferencia(true);
        EXPECT_TRUE(t.logica.EfetuaConversao());
        t.logica.DefineConferencia(false);
        EXPECT_TRUE(t.mensagens.Textos("Erro").empty() ||
                    t.mensagens.Textos("Erro") == V{t.logica.Relato().FimDaConferencia()});
        EXPECT_EQ(Conteudo(tabela), antes);
        return t.logica.Relato().problemas;
    }
    // The error a run of the same inputs stops with, after its prefix; the target unchanged.
    std::string ErroDaExecucao(const std::string& tabela) {
        const auto antes = Conteudo(tabela);
        t.mensagens.todas.clear();
        EXPECT_FALSE(t.logica.EfetuaConversao());
        EXPECT_EQ(Conteudo(tabela), antes);
        const V erros = t.mensagens.Textos("Erro");
        const std::string prefixo = std::string(TLogicaPrincipal::kPrefixoErro) + "\r";
        return erros.size() == 1 ? erros[0].substr(prefixo.size()) : "?";
    }
    std::vector<TLinha> Conteudo(const std::string& tabela) {
        return Le("select count(*) as N, min(" + kChave.at(tabela) + ") as C from " + tabela);
    }
    // A fresh look at the target, after whatever the logic committed.
    std::vector<TLinha> Le(const std::string& sql) {
        if (t.bancos.Almuro().Transacao().Ativa())
            t.bancos.Almuro().Transacao().Confirma();
        return apoio::Linhas(t.bancos.Almuro(), sql);
    }
    bool Converte() {
        t.mensagens.todas.clear();
        return t.logica.EfetuaConversao();
    }
    // The place and the text as the run puts them together.
    static std::string Junto(const TProblema& p) {
        return (p.lugar.empty() ? "" : p.lugar + ": ") + p.texto;
    }
    static V Linhas(const std::vector<TProblema>& problemas) {
        V r;
        for (const auto& p : problemas)
            r.push_back(p.Linha());
        return r;
    }
    std::string Resumo() const { return t.logica.Relato().resumo; }

    const std::map<std::string, std::string> kChave = {
        {"PRODUTO", "CODPROD"}, {"CLIENTE", "CODCLIENTE"}, {"FORNECE", "CODFORNEC"}};
    apoio::TLogicaTeste t;
};

// A detail column narrower than a source value, and prices a customer's export really holds.
TEST_P(ConferenciaTest, ProdutosComDetalheRecusadoEPrecosQueNaoSaoNumeros) {
    apoio::Executa(t.bancos.Almuro(),
                   "insert into PRODUTO (CODPROD, DESCRICAO) values ('000099', 'antigo')");
    apoio::Executa(t.bancos.Almuro(), "alter table PRODUTODETALHE drop PIS_CST");
    apoio::Executa(t.bancos.Almuro(), "alter table PRODUTODETALHE add PIS_CST varchar(1)");
    // Record 2 creates the unit ZZ and then fails at its detail: record 3 needs ZZ again.
    apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE",
                        {"CODIGO", "NOME", "PIS_ST", "UND_COMPRA", "UND_VENDA"},
                        {{"00000001", "Um", "1", "UN", "UN"},
                         {"00000002", "Dois", "01", "ZZ", "ZZ"},
                         {"00000003", "Tres", "", "ZZ", "ZZ"}});
    t.Planilha(6, {{"C", "Descricao", "", "", "Unidade", "Pre\xE7o"},
                   {"1", "Caderno", "", "", "UN", "2"},
                   {"2", "L\xE1pis", "", "", "UN", "R$ 12,50"},
                   {"3", "Borracha", "", "", "UN", "3"},
                   {"4", "Caneta", "", "", "UN", "a combinar"}});

    const auto problemas = Confere("PRODUTO");
    ASSERT_EQ(problemas.size(), 3u) << ::testing::PrintToString(Linhas(problemas));
    EXPECT_EQ(problemas[0].lugar, "banco TESSALY, tabela ESTOQUE, CODIGO 00000002");
    EXPECT_EQ(problemas[0].texto.rfind("O valor \"01\" (2 caracteres) é longo demais para a coluna "
                                       "PIS_CST (1 caracteres) da tabela PRODUTODETALHE do banco "
                                       "ALMURO",
                                       0),
              0u)
        << problemas[0].texto;
    EXPECT_EQ(problemas[0].Linha().find('\n'), std::string::npos);
    EXPECT_NE(problemas[0].Linha().find(" / "), std::string::npos);
    EXPECT_EQ(Linhas({problemas[1], problemas[2]}),
              (V{"planilha, linha 3, coluna 6 (Preço), conteúdo \"R$ 12,50\": 'R$ 12,50' não é "
                 "um valor numérico válido",
                 "planilha, linha 5, coluna 6 (Preço), conteúdo \"a combinar\": 'a combinar' não "
                 "é um valor numérico válido"}));
    EXPECT_EQ(
        (V{problemas[1].origem, problemas[1].registro, problemas[1].coluna, problemas[1].conteudo}),
        (V{"planilha", "linha 3", "6 (Preço)", "R$ 12,50"}));
    // The failed product left neither of its rows: the rows written add up to the account.
    EXPECT_NE(Resumo().find("Linhas gravadas: PRODUTO 4; PRODUTODETALHE 2;\n"
                            "  banco TESSALY, tabela ESTOQUE: 3 lidos, 2 gravados, 1 com problema\n"
                            "  planilha: 4 linhas de dados, 2 gravadas, 2 com problema\n"),
              std::string::npos)
        << Resumo();
    const std::string unidadesDaConferencia = Resumo().substr(Resumo().find("UNIDADES"), 11);
    EXPECT_EQ(t.logica.Relato().FimDaConferencia(),
              "Conferência concluída: 3 problema(s); nada foi gravado.");

    EXPECT_EQ(ErroDaExecucao("PRODUTO"), Junto(problemas[0]));

    apoio::Executa(t.bancos.Tessaly(), "update ESTOQUE set PIS_ST = '1' where CODIGO = '00000002'");
    t.Planilha(6, {{"C", "Descricao", "", "", "Unidade", "Pre\xE7o"},
                   {"1", "Caderno", "", "", "UN", "2"},
                   {"2", "L\xE1pis", "", "", "UN", "12.50"},
                   {"3", "Borracha", "", "", "UN", "3"},
                   {"4", "Caneta", "", "", "UN", "7"}});
    EXPECT_TRUE(Converte()) << ::testing::PrintToString(t.mensagens.Textos("Erro"));
    EXPECT_EQ(Conteudo("PRODUTO"), (std::vector<TLinha>{{"7", "000001"}}));
    // The unit the failed record created and lost was created again for the next one.
    EXPECT_EQ(Resumo().substr(Resumo().find("UNIDADES"), 11), unidadesDaConferencia);
}

// A source whose rates are texts: every bad column of a record is listed once, though the
// mapping reads ICMS for two rates, and the record's other columns are read all the same.
TEST_P(ConferenciaTest, CadaColunaRuimDeUmRegistroDaOrigemUmaVez) {
    apoio::Executa(t.bancos.Tessaly(), "alter table ESTOQUE alter ICMS type varchar(20)");
    apoio::Executa(t.bancos.Tessaly(), "alter table ESTOQUE alter PIS_ALIQ type varchar(20)");
    apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME", "ICMS", "PIS_ALIQ"},
                        {{"00000001", "Um", "18", "1.65"},
                         {"00000002", "Dois", "dezoito", "isento"},
                         {"00000003", "Tres", "12", "0"}});
    t.Planilha(6, {{"h"}});
    EXPECT_EQ(Linhas(Confere("PRODUTO")),
              (V{"banco TESSALY, tabela ESTOQUE, CODIGO 00000002, coluna ICMS: 'dezoito' não é "
                 "um valor numérico válido",
                 "banco TESSALY, tabela ESTOQUE, CODIGO 00000002, coluna PIS_ALIQ: 'isento' não "
                 "é um valor numérico válido"}));
    EXPECT_NE(Resumo().find("Linhas gravadas: PRODUTO 2; PRODUTODETALHE 2;\n"), std::string::npos)
        << Resumo();
    EXPECT_EQ(ErroDaExecucao("PRODUTO"), Junto(t.logica.Relato().problemas.at(0)));
}

// The product counter runs past six digits inside the sheet: one problem for all the rows that
// have no code, and the rows before them checked all the same.
TEST_P(ConferenciaTest, ProdutosSemCodigoSaoUmProblemaSo) {
    apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME"},
                        {{"00999997", "Quase no fim"}});
    t.Planilha(6, {{"h"},
                   {"x", "A", "", "", "UN", "1"},
                   {"x", "B", "", "", "UN", "um"},
                   {"x", "C", "", "", "UN", "1"},
                   {"x", "D", "", "", "UN", "1"},
                   {"x", "E", "", "", "UN", "1"}});
    const auto problemas = Confere("PRODUTO");
    EXPECT_EQ(Linhas(problemas),
              (V{"O código de produto 1000000 não cabe nos 6 dígitos do código: a linha 4 da "
                 "planilha repetiria o código de outro produto, e as 2 linhas seguintes também.",
                 "planilha, linha 3, coluna 6, conteúdo \"um\": 'um' não é um valor numérico "
                 "válido"}));
    EXPECT_NE(Resumo().find("  planilha: 5 linhas de dados, 1 gravada, 4 com problema\n"),
              std::string::npos)
        << Resumo();
    EXPECT_EQ(ErroDaExecucao("PRODUTO"), Junto(problemas[0]));

    t.Planilha(6, {{"h"}, {"x", "A", "", "", "UN", "1"}, {"x", "B", "", "", "UN", "2"}});
    EXPECT_TRUE(Converte()) << ::testing::PrintToString(t.mensagens.Textos("Erro"));
    EXPECT_EQ(Conteudo("PRODUTO"), (std::vector<TLinha>{{"3", "999997"}}));
}

// The customer's database keeps CGCCPF unique: a shared number refuses the second client,
// from the source and from the sheet alike; nameless clients and rows that are not clients are
// left out, not problems.
TEST_P(ConferenciaTest, ClientesComNumeroRepetidoNumaChaveDoCliente) {
    apoio::Executa(t.bancos.Almuro(),
                   "alter table CLIENTE add constraint UQ_CLIENTE_CGCCPF unique (CGCCPF)");
    t.logica.DefineTipo(TTipoConversao::Clientes);
    apoio::InsereLinhas(t.bancos.Tessaly(), "CLIENTE", {"CODIGO", "NOME", "CPF"},
                        {{"1", "Ana", "111.111.111-11"},
                         {"2", "Bia", "222.222.222-22"},
                         {"3", "Caio", "111.111.111-11"},
                         {"4", std::nullopt, "444.444.444-44"},
                         {"5", "Davi", "555.555.555-55"}});
    auto linha = [](const char* nome, const char* cliente, const char* documento) {
        return V{"", nome, cliente, "False", "False", "", "", "MG", "", "", "", documento, ""};
    };
    t.Planilha(13,
               {V(13, "t"), linha("Eva", "True", "666.666.666-66"),
                linha("Fabio", "True", "222.222.222-22"), linha("Gil", "False", "777.777.777-77"),
                linha("Hugo", "True", "888.888.888-88")});

    const auto problemas = Confere("CLIENTE");
    ASSERT_EQ(problemas.size(), 2u) << ::testing::PrintToString(Linhas(problemas));
    EXPECT_EQ(problemas[0].lugar, "banco TESSALY, tabela CLIENTE, CODIGO 3");
    EXPECT_EQ(problemas[1].lugar, "planilha, linha 3");
    for (const auto& p : problemas) {
        EXPECT_EQ(p.texto.rfind("O banco ALMURO (" + t.bancos.CaminhoAlmuro() +
                                    ") recusou um valor duplicado na tabela CLIENTE: CGCCPF ",
                                0),
                  0u)
            << p.texto;
    }
    EXPECT_NE(Resumo().find("Linhas gravadas: CLIENTE 5;\n"
                            "  banco TESSALY, tabela CLIENTE: 5 lidos, 3 gravados, 1 deixado de "
                            "fora sem nome (código 4), 1 com problema\n"
                            "  planilha: 4 linhas de dados, 2 gravadas, 1 deixada de fora sem "
                            "\"True\" na coluna 3 (linha 4), 1 com problema\n"),
              std::string::npos)
        << Resumo();
    EXPECT_EQ(ErroDaExecucao("CLIENTE"), Junto(problemas[0]));

    apoio::Executa(t.bancos.Tessaly(),
                   "update CLIENTE set CPF = '333.333.333-33' where CODIGO = 3");
    t.Planilha(13,
               {V(13, "t"), linha("Eva", "True", "666.666.666-66"),
                linha("Fabio", "True", "999.999.999-99"), linha("Gil", "False", "777.777.777-77"),
                linha("Hugo", "True", "888.888.888-88")});
    EXPECT_TRUE(Converte()) << ::testing::PrintToString(t.mensagens.Textos("Erro"));
    EXPECT_EQ(Conteudo("CLIENTE"), (std::vector<TLinha>{{"7", "00000001"}}));
}

// A record that fails before it reaches the database has nothing there to undo: the records
// before it keep their rows, the one that created a city and the one that found it remembered.
TEST_P(ConferenciaTest, RegistroQueNaoChegaAoBancoNaoDesfazOsAnteriores) {
    t.logica.DefineTipo(TTipoConversao::Clientes);
    apoio::InsereLinhas(t.bancos.Tessaly(), "CLIENTE", {"CODIGO", "NOME", "CIDADE", "UF"},
                        {{"1", "Ana", "Vila Nova do Teste", "MG"},
                         {"2", "Bia", "Vila Nova do Teste", "MG"},
                         {"100000000", "Caio", "Vila Nova do Teste", "MG"}});
    t.Planilha(13, {V(13, "t")});
    const auto problemas = Confere("CLIENTE");
    ASSERT_EQ(problemas.size(), 1u) << ::testing::PrintToString(Linhas(problemas));
    EXPECT_NE(problemas[0].texto.find("não cabe nos 8 dígitos"), std::string::npos)
        << problemas[0].texto;
    EXPECT_NE(Resumo().find("Linhas gravadas: CLIENTE 2;"), std::string::npos) << Resumo();
}

// A column of the customer's Fornece narrower than the program writes: each supplier whose value
// does not fit is a problem, and a refused supplier takes nothing of its own to the next one.
TEST_P(ConferenciaTest, FornecedoresNumaColunaMaisEstreita) {
    apoio::Executa(t.bancos.Almuro(), "alter table FORNECE drop BAIRRO");
    apoio::Executa(t.bancos.Almuro(), "alter table FORNECE add BAIRRO varchar(5)");
    t.logica.DefineTipo(TTipoConversao::Fornecedores);
    apoio::InsereLinhas(t.bancos.Tessaly(), "FORNECEDOR", {"CODIGO", "NOME", "BAIRRO", "CIDADE"},
                        {{"1", "Alfa", "Centro", "Nova Cidade"},
                         {"2", "Beta", "Sul", std::nullopt},
                         {"3", std::nullopt, "Lapa", std::nullopt}});
    auto linha = [](const char* nome, const char* bairro) {
        return V{"", nome, "False", "True", "False", "", bairro, "MG", "", "", "", "", ""};
    };
    t.Planilha(13, {V(13, "t"), linha("Gama", "Savassi"), linha("Delta", "Lapa")});

    const auto problemas = Confere("FORNECE");
    ASSERT_EQ(problemas.size(), 2u) << ::testing::PrintToString(Linhas(problemas));
    EXPECT_EQ(problemas[0].lugar, "banco TESSALY, tabela FORNECEDOR, CODIGO 1");
    EXPECT_EQ(problemas[1].lugar, "planilha, linha 2");
    for (const auto& p : problemas) {
        EXPECT_NE(
            p.texto.find("é longo demais para a coluna BAIRRO (5 caracteres) da tabela FORNECE"),
            std::string::npos)
            << p.texto;
    }
    // The city the refused supplier created went with it: the run creates it only once fixed.
    EXPECT_NE(Resumo().find("CIDADES 0;"), std::string::npos) << Resumo();
    EXPECT_NE(Resumo().find("  banco TESSALY, tabela FORNECEDOR: 3 lidos, 1 gravado, 1 deixado "
                            "de fora sem nome (código 3), 1 com problema\n"),
              std::string::npos)
        << Resumo();
    EXPECT_EQ(ErroDaExecucao("FORNECE"), Junto(problemas[0]));

    apoio::Executa(t.bancos.Tessaly(), "update FORNECEDOR set BAIRRO = 'Cen' where CODIGO = 1");
    t.Planilha(13, {V(13, "t"), linha("Gama", "Sav"), linha("Delta", "Lapa")});
    EXPECT_TRUE(Converte()) << ::testing::PrintToString(t.mensagens.Textos("Erro"));
    EXPECT_EQ(Le("select CODFORNEC, BAIRRO, CODCIDADE from FORNECE order by 1"),
              (std::vector<TLinha>{{"000001", "Cen", "00001"},
                                   {"000002", "Sul", ""},
                                   {"000004", "Sav", ""},
                                   {"000005", "Lapa", ""}}));
}

// What makes going on meaningless ends the check as it ends a run: nothing is listed, the error
// is the run's.
TEST_P(ConferenciaTest, OQueImpedeDeSeguirEncerraComoNaExecucao) {
    apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME"},
                        {{"00000001", "Um"}, {"00000002", "Dois"}});
    t.logica.DefineTipo(TTipoConversao::Clientes);
    // A sheet without the columns a client run reads: every row would fail alike.
    t.Planilha(3, {{"h"}, {"", "Eva", "True"}, {"", "Ivo", "True"}});
    t.logica.DefineConferencia(true);
    EXPECT_FALSE(t.logica.EfetuaConversao());
    const V erros = t.mensagens.Textos("Erro");
    ASSERT_EQ(erros.size(), 1u);
    EXPECT_NE(erros[0].find("planilha, linha 2, coluna 8: Field '8' not found"), std::string::npos)
        << erros[0];

    // A stop asked for during the check.
    t.mensagens.todas.clear();
    t.logica.DefineTipo(TTipoConversao::Produtos);
    t.Planilha(6, {{"h"}, {"x", "A", "", "", "UN", "um"}});
    t.progresso.aoProcessar = [] { TInterrupcao::Pede(2); };
    EXPECT_FALSE(t.logica.EfetuaConversao());
    TInterrupcao::Limpa();
    EXPECT_EQ(t.mensagens.Textos("Erro"),
              V{std::string(TLogicaPrincipal::kPrefixoErro) + "\r" + TInterrupcao::kMensagem});
    EXPECT_FALSE(t.logica.Relato().concluida);
}

INSTANTIATE_TEST_SUITE_P(UmAUmOuEmBlocos, ConferenciaTest,
                         ::testing::Values(TLoteComandos::TUso::Nunca, TLoteComandos::TUso::Sempre),
                         [](const auto& uso) {
                             return uso.param == TLoteComandos::TUso::Nunca ? "UmAUm" : "EmBlocos";
                         });

}  // namespace
