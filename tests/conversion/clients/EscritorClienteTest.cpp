#include "common/ConfiguracaoRegional.h"
#include "common/Erros.h"
#include "common/Texto.h"
#include "conversion/clients/classConversaoCliente.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/ComandoInsert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace {

struct TSemAvisos : IAvisos {
    void Alerta(const std::string&) override {}
};

std::string HojeComPontos() {
    return TConfiguracaoRegional::Instancia().FormataData("dd.mm.yyyy",
                                                          TConfiguracaoRegional::Hoje());
}

// The assignments of an "Update ... set a = x, b = y where k = v" text, in order, and its
// condition; commas inside quotes do not split.
struct TUpdate {
    std::vector<std::pair<std::string, std::string>> atribuicoes;
    std::string condicao;

    const std::string& Valor(const std::string& coluna) const {
        for (const auto& [nome, valor] : atribuicoes) {
            if (texto::UpperAZ(nome) == texto::UpperAZ(coluna))
                return valor;
        }
        throw std::runtime_error("coluna ausente: " + coluna);
    }
};

TUpdate LeUpdate(const std::string& sql) {
    const std::string maiusculo = texto::UpperAZ(sql);
    const size_t set = maiusculo.find(" SET ");
    const size_t where = maiusculo.rfind(" WHERE ");
    if (set == std::string::npos || where == std::string::npos)
        throw std::runtime_error("não é um update: " + sql);
    TUpdate r;
    r.condicao = texto::Trim(sql.substr(where + 7));
    std::string atual;
    char aspas = 0;
    auto fecha = [&] {
        const size_t igual = atual.find('=');
        r.atribuicoes.emplace_back(texto::Trim(atual.substr(0, igual)),
                                   texto::Trim(atual.substr(igual + 1)));
        atual.clear();
    };
    for (char c : sql.substr(set + 5, where - set - 5)) {
        if (aspas) {
            aspas = c == aspas ? 0 : aspas;
        } else if (c == '\'' || c == '"') {
            aspas = c;
        } else if (c == ',') {
            fecha();
            continue;
        }
        atual += c;
    }
    if (!texto::Trim(atual).empty())
        fecha();
    return r;
}

class EscritorClienteTest : public ::testing::Test {
  protected:
    void SetUp() override { TConfiguracaoRegional::Instancia().DefineSeparadorDecimal(','); }
    void TearDown() override { TConfiguracaoRegional::Instancia().DefineSeparadorDecimal('.'); }

    std::string ValorInsert(const std::string& coluna) const {
        return apoio::LeInsert(cliente.MontaInsert()).Valor(coluna);
    }

    // The writer reaches the database only in Grava; a connection never opened serves.
    TBancoFirebird banco{1};
    TSemAvisos avisos;
    TConverteCliente cliente{banco, avisos};
};

TEST_F(EscritorClienteTest, ClienteNovoTemOsPadroes) {
    auto ins = apoio::LeInsert(cliente.MontaInsert());
    EXPECT_EQ(ins.tabela, "Cliente");
    auto nomes = ins.Nomes();
    ASSERT_EQ(nomes.size(), 45u + 1u + 4u);
    EXPECT_EQ(nomes[0], "cliente.codCliente");
    EXPECT_EQ(nomes[39], "Cliente.contato");
    EXPECT_EQ(nomes[44], "cliente.nomesocio");
    EXPECT_EQ(nomes[45], "cliente.dt_cadastro");
    EXPECT_EQ(std::vector<std::string>(nomes.begin() + 46, nomes.end()),
              (std::vector<std::string>{"cliente.Ativo", "cliente.CliBloqueado",
                                        "cliente.maladiretaeletr", "cliente.protestarcliente"}));
    for (const auto& [nome, valor] : ins.colunas) {
        if (nome == "cliente.codCliente") {
            EXPECT_EQ(valor, "'00000000'");
        } else if (nome == "cliente.pessoa_fj") {
            EXPECT_EQ(valor, "'F'");
        } else if (nome == "cliente.Ativo") {
            EXPECT_EQ(valor, "'S'");
        } else if (nome == "cliente.CliBloqueado") {
            EXPECT_EQ(valor, "'N'");
        } else if (nome == "cliente.maladiretaeletr" || nome == "cliente.protestarcliente") {
            EXPECT_EQ(valor, "\"N\"");
        } else if (nome == "Cliente.LimiteCredito") {
            EXPECT_EQ(valor, "0");  // not "0,0" under a comma locale
        } else if (nome == "cliente.dt_cadastro") {
            EXPECT_EQ(valor, "'" + HojeComPontos() + "'");
        } else {
            EXPECT_EQ(valor, "''") << nome;
        }
    }
}

TEST_F(EscritorClienteTest, CodigosCidadesEDocumentos) {
    cliente.SetCodCliente("123");
    EXPECT_EQ(cliente.CodCliente(), "00000123");
    cliente.SetCodCliente("A12");  // zeros first, then the digit filter
    EXPECT_EQ(cliente.CodCliente(), "0000012");
    cliente.SetCodCliente("123456789");
    EXPECT_EQ(cliente.CodCliente(), "12345678");
    cliente.SetCodCliente("\"A12");  // a quote: the pass fills and filters, the final step fills
    EXPECT_EQ(cliente.CodCliente(), "00000012");

    cliente.SetCodCidade("12");
    EXPECT_EQ(cliente.CodCidade(), "00012");
    cliente.SetCodCidade("123456");
    EXPECT_EQ(cliente.CodCidade(), "12345");
    cliente.SetCodCidade(" ");  // not trimmed before the test
    EXPECT_EQ(cliente.CodCidade(), "0000 ");
    cliente.SetCodCidade("\"");
    EXPECT_EQ(cliente.CodCidade(), "");
    cliente.SetCodCidadeCob("7");
    cliente.SetCodCidadeEnt("");
    EXPECT_EQ(cliente.CodCidadeCob(), "00007");
    EXPECT_EQ(cliente.CodCidadeEnt(), "");

    cliente.SetInscEst("isento");
    EXPECT_EQ(cliente.InscEst(), "ISENTO");
    cliente.SetInscEst(" isento ");
    EXPECT_EQ(cliente.InscEst(), " ISENTO ");
    cliente.SetInscEst("Isenta");
    EXPECT_EQ(cliente.InscEst(), "");
    cliente.SetInscEst("062.307.904/0081");
    EXPECT_EQ(cliente.InscEst(), "0623079040081");
    cliente.SetCgcCpf("12.345.678/0001-90");
    EXPECT_EQ(cliente.CgcCpf(), "12345678000190");
    cliente.SetPessoaFJ("Juridica");
    EXPECT_EQ(cliente.PessoaFJ(), "J");
}

TEST_F(EscritorClienteTest, AspasDuplasFiltramOuCortamAlemDoPassoFinal) {
    cliente.SetFone("3333-4444");  // 9 characters: stored as given
    EXPECT_EQ(cliente.Fone(), "3333-4444");
    cliente.SetFone("33334444");
    EXPECT_EQ(cliente.Fone(), "  33334444");
    cliente.SetFone("\"3333-4444\"");  // digits first, then the eight get the blanks
    EXPECT_EQ(cliente.Fone(), "  33334444");
    cliente.SetFone("(31) 3333-4444 ramal 22");
    EXPECT_EQ(cliente.Fone(), "(31) 3333-4444 ");

    cliente.SetCelular("(31) 99999-8888 / 2");
    EXPECT_EQ(cliente.Celular(), "(31) 99999-8888 / 2");
    cliente.SetCelular("(31) \"99999-8888 / 2");
    EXPECT_EQ(cliente.Celular(), "319999988882");
    cliente.SetCelular("\"1234567890123456789");
    EXPECT_EQ(cliente.Celular(), "123456789012345");

    cliente.SetFax(" (31) 2222-3333 ");  // unlike the telephone, always digits
    EXPECT_EQ(cliente.Fax(), "3122223333");
    cliente.SetFax("2222-3333");
    EXPECT_EQ(cliente.Fax(), "22223333");

    cliente.SetNome("  Bar \"do Z\xE9\"  ");
    EXPECT_EQ(cliente.Nome(), "Bar do Z\xE9");
    cliente.SetEndereco(std::string(58, 'r') + " \"12\"");
    // Cut to 60 while the second quote was still there: the last digit goes with it.
    EXPECT_EQ(cliente.Endereco(), std::string(58, 'r') + " 1");
    cliente.SetContato("  \"Ana\"  ");
    EXPECT_EQ(cliente.Contato(), "Ana");
    cliente.SetCep("30.130-010");
    cliente.SetEstadoCob("Minas");
    cliente.SetEstadoEnt(" MG ");
    cliente.SetBairroCob(std::string(40, 'b'));
    cliente.SetHomePage(" www.exemplo.com.br ");
    cliente.SetObservacao("\"VIP\"");

    const std::string sql = cliente.MontaInsert();
    EXPECT_EQ(std::count(sql.begin(), sql.end(), '"'), 4) << sql;  // the two "N" literals only
    auto ins = apoio::LeInsert(sql);
    EXPECT_EQ(ins.Valor("cliente.cep"), "'30130010'");
    EXPECT_EQ(ins.Valor("cliente.estadocob"), "'Mi'");
    EXPECT_EQ(ins.Valor("cliente.estadoent"), "'MG'");
    EXPECT_EQ(ins.Valor("cliente.bairrocob"), "'" + std::string(30, 'b') + "'");
    EXPECT_EQ(ins.Valor("cliente.homepage"), "'www.exemplo.com.br'");
    EXPECT_EQ(ins.Valor("cliente.observacao"), "'VIP'");
}

TEST_F(EscritorClienteTest, DatasComPontosEVaziasForaDoInsert) {
    EXPECT_EQ(cliente.DtNascimento(), "");
    EXPECT_EQ(cliente.DtCadastro(), HojeComPontos());
    cliente.SetDtNascimento("15/03/1975");
    EXPECT_EQ(cliente.DtNascimento(), "15.03.1975");
    cliente.SetDtNascimento("15-03-1975");
    EXPECT_EQ(cliente.DtNascimento(), "15.03.1975");
    cliente.SetDtNascimento("40252");  // a day serial
    EXPECT_EQ(cliente.DtNascimento(), "15.03.2010");
    cliente.SetDtNascimento("  -   -");  // the empty mask reads as today
    EXPECT_EQ(cliente.DtNascimento(), HojeComPontos());
    // Unreadable: the text itself goes on, for the database to refuse with its own message.
    cliente.SetDtNascimento("abc");
    EXPECT_EQ(cliente.DtNascimento(), "abc");
    cliente.SetDtNascimento("3000000");  // beyond the year 9999
    EXPECT_EQ(cliente.DtNascimento(), "3000000");
    cliente.SetDtNascimento("\"15/03/1975\"");  // dates keep their quotes: no removal pass
    EXPECT_EQ(cliente.DtNascimento(), "\"15.03.1975\"");
    cliente.SetDtCadastro("01/02/2003");

    cliente.SetDtNascimento("15/03/1975");
    auto ins = apoio::LeInsert(cliente.MontaInsert());
    auto nomes = ins.Nomes();
    ASSERT_EQ(nomes.size(), 45u + 2u + 4u);
    EXPECT_EQ(nomes[45], "cliente.dt_nascimento");
    EXPECT_EQ(nomes[46], "cliente.dt_cadastro");
    EXPECT_EQ(ins.Valor("cliente.dt_nascimento"), "'15.03.1975'");
    EXPECT_EQ(ins.Valor("cliente.dt_cadastro"), "'01.02.2003'");
    EXPECT_FALSE(ins.Tem("cliente.dt_ultvenda"));
    EXPECT_FALSE(ins.Tem("cliente.DT_ValCad"));
}

TEST_F(EscritorClienteTest, UpdatePelaChaveComTodasAsDatas) {
    cliente.SetCodCliente("42");
    cliente.SetNome("Ana");
    cliente.SetCliBloqueado("S");  // the update writes "N" whatever the field says
    cliente.SetAtivo("N");
    auto up = LeUpdate(cliente.MontaUpdate());
    EXPECT_EQ(cliente.MontaUpdate().rfind("Update Cliente set", 0), 0u);
    EXPECT_EQ(up.condicao, "cliente.codcliente = '00000042'");
    ASSERT_EQ(up.atribuicoes.size(), 44u + 4u + 4u);
    EXPECT_EQ(up.atribuicoes[0], (std::pair<std::string, std::string>{"cliente.Nome", "'Ana'"}));
    EXPECT_EQ(up.atribuicoes[43].first, "cliente.nomesocio");
    for (const auto& [nome, valor] : up.atribuicoes)
        EXPECT_NE(texto::UpperAZ(nome), "CLIENTE.CODCLIENTE");
    EXPECT_EQ(up.Valor("cliente.dt_nascimento"), "NULL");
    EXPECT_EQ(up.Valor("cliente.dt_ultvenda"), "NULL");
    EXPECT_EQ(up.Valor("cliente.dt_cadastro"), "'" + HojeComPontos() + "'");
    EXPECT_EQ(up.Valor("cliente.DT_ValCad"), "NULL");
    EXPECT_EQ(up.Valor("cliente.Ativo"), "'N'");
    EXPECT_EQ(up.Valor("cliente.CliBloqueado"), "\"N\"");
    EXPECT_EQ(up.Valor("cliente.maladiretaeletr"), "\"N\"");
    EXPECT_EQ(up.Valor("cliente.protestarcliente"), "\"N\"");
    EXPECT_EQ(up.Valor("Cliente.LimiteCredito"), "0");
    EXPECT_EQ(ValorInsert("cliente.CliBloqueado"), "'S'");  // where the insert writes the field
}

// Against a real target: what the statements write is what the table holds.
TEST_F(EscritorClienteTest, GravaInsereAlteraELimpaMenosOContato) {
    apoio::TBancosTeste bancos;
    auto& almuro = bancos.Almuro();
    TConverteCliente c(almuro, avisos);
    c.SetCodCliente("7");
    c.SetNome("Jos\xE9 D'\xC1vila");
    c.SetFone("33334444");
    c.SetContato("Maria");
    c.SetDtNascimento("15/03/1975");
    c.SetPessoaFJ("J");
    EXPECT_TRUE(c.Grava(TConverteCliente::kInsere));

    // Back to the defaults, the contact apart.
    EXPECT_EQ(c.Contato(), "Maria");
    TConverteCliente novo(almuro, avisos);
    novo.SetContato("Maria");
    EXPECT_EQ(c.MontaInsert(), novo.MontaInsert());

    const std::string consulta =
        "select CODCLIENTE, NOME, FONE, CONTATO, PESSOA_FJ, DT_NASCIMENTO, DT_CADASTRO, ATIVO, "
        "CLIBLOQUEADO, MALADIRETAELETR, PROTESTARCLIENTE, LIMITECREDITO, DT_ULTVENDA from CLIENTE";
    const std::string hoje =
        TConfiguracaoRegional::Instancia().DataParaTexto(TConfiguracaoRegional::Hoje());
    almuro.Transacao().Confirma();
    EXPECT_EQ(apoio::Linhas(almuro, consulta),
              (std::vector<apoio::TLinha>{{"00000007", "José D'Ávila", "  33334444", "Maria", "J",
                                           "15/03/1975", hoje, "S", "N", "N", "N", "0", ""}}));

    c.SetCodCliente("7");
    c.SetNome("Jos\xE9 Novo");
    EXPECT_TRUE(c.Grava(TConverteCliente::kAltera));
    almuro.Transacao().Confirma();
    EXPECT_EQ(apoio::Linhas(almuro, consulta),
              (std::vector<apoio::TLinha>{{"00000007", "José Novo", "", "Maria", "F", "", hoje, "S",
                                           "N", "N", "N", "0", ""}}));
}

TEST_F(EscritorClienteTest, FalhaDeGravaMantemOsValores) {
    apoio::TBancosTeste bancos;
    auto& almuro = bancos.Almuro();
    TConverteCliente c(almuro, avisos);
    c.SetCodCliente("7");
    c.SetNome("Ana");
    EXPECT_THROW(c.Grava(3), EConversor);
    EXPECT_EQ(c.Nome(), "Ana");
    EXPECT_TRUE(c.Grava(TConverteCliente::kInsere));

    c.SetCodCliente("7");
    c.SetNome("Outra Ana");
    EXPECT_THROW(c.Grava(TConverteCliente::kInsere), EBancoDados);  // the same code again
    EXPECT_EQ(c.Nome(), "Outra Ana");

    c.SetCodCliente("8");
    c.SetDtNascimento("abc");
    try {
        c.Grava(TConverteCliente::kInsere);
        ADD_FAILURE() << "uma data ilegível foi aceita";
    } catch (const EBancoDados& e) {
        EXPECT_NE(std::string(e.what()).find("abc"), std::string::npos) << e.what();
    }
    EXPECT_EQ(c.DtNascimento(), "abc");
}

TEST_F(EscritorClienteTest, LimpaTabelaNaoConfirma) {
    apoio::TBancosTeste bancos;
    auto& almuro = bancos.Almuro();
    apoio::Executa(almuro, "insert into CLIENTE (CODCLIENTE, NOME) values ('00000001', 'antigo')");
    TConverteCliente c(almuro, avisos);
    c.LimpaTabela();
    EXPECT_TRUE(almuro.Transacao().Ativa());
    EXPECT_EQ(apoio::ContaLinhas(almuro, "CLIENTE"), 0);
    almuro.Transacao().Desfaz();
    EXPECT_EQ(apoio::ContaLinhas(almuro, "CLIENTE"), 1);
}

}  // namespace
