#include "conversion/suppliers/classConverteFornecedor.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/ComandoInsert.h"

#include <gtest/gtest.h>

namespace {

struct TSemAvisos : IAvisos {
    void Alerta(const std::string&) override {}
};

// The literal's content: the quotes around it gone, doubled inner quotes single again.
std::string Conteudo(const std::string& literal) {
    EXPECT_GE(literal.size(), 2u);
    EXPECT_EQ(literal.front(), '\'');
    EXPECT_EQ(literal.back(), '\'');
    std::string r;
    for (size_t i = 1; i + 1 < literal.size(); ++i) {
        r += literal[i];
        if (literal[i] == '\'')
            ++i;
    }
    return r;
}

class EscritorFornecedorTest : public ::testing::Test {
  protected:
    std::string Valor(const std::string& coluna) {
        return Conteudo(apoio::LeInsert(fornecedor.MontaInsert()).Valor(coluna));
    }

    // The writer touches the database only in Insere and LimpaTabela; until then a connection
    // that is never opened serves.
    TBancoFirebird banco{1};
    TSemAvisos avisos;
    TConverteFornece fornecedor{banco, avisos};
};

const std::vector<std::string> kColunas = {
    "fornece.CodFornec",   "fornece.Nome",        "fornece.NomeFantasia", "fornece.Contato",
    "fornece.Endereco",    "fornece.Bairro",      "fornece.Cep",          "fornece.CodCidade",
    "fornece.Numero",      "fornece.Complemento", "fornece.Estado",       "fornece.InscMunicipal",
    "fornece.Pessoa_FJ",   "fornece.CgcCpf",      "fornece.InscEst",      "fornece.observacao",
    "fornece.Fone",        "fornece.Fax",         "fornece.Celular",      "fornece.Email",
    "fornece.HomePage",    "fornece.CampoLivre1", "fornece.CampoLivre2",  "fornece.codcliente",
    "fornece.ativo",       "fornece.TipoFornece", "fornece.contacx",      "fornece.ctctbred",
    "fornece.codmunicipio"};

TEST_F(EscritorFornecedorTest, NovoEscreveAs29ColunasComOsPadroes) {
    const std::string sql = fornecedor.MontaInsert();
    EXPECT_EQ(sql.rfind("  Insert Into fornece (", 0), 0u) << sql;
    EXPECT_EQ(sql.substr(sql.size() - 2), ") ");
    auto ins = apoio::LeInsert(sql);
    EXPECT_EQ(ins.tabela, "fornece");
    EXPECT_EQ(ins.Nomes(), kColunas);
    for (const auto& [nome, valor] : ins.colunas) {
        if (nome == "fornece.CodFornec")
            EXPECT_EQ(valor, "'000000'");
        else if (nome == "fornece.codmunicipio")
            EXPECT_EQ(valor, "'0000000'");
        else
            EXPECT_EQ(valor, "''") << nome;
    }
    // MontaInsert changes nothing.
    EXPECT_EQ(fornecedor.MontaInsert(), sql);
}

TEST_F(EscritorFornecedorTest, ApostrofosSaemAntesDaLimpezaMenosEmAtivo) {
    using Setter = void (TConverteFornece::*)(const std::string&);
    const std::vector<std::pair<Setter, std::string>> setters = {
        {&TConverteFornece::SetCodFornec, "fornece.CodFornec"},
        {&TConverteFornece::SetNome, "fornece.Nome"},
        {&TConverteFornece::SetNomeFantasia, "fornece.NomeFantasia"},
        {&TConverteFornece::SetContato, "fornece.Contato"},
        {&TConverteFornece::SetEndereco, "fornece.Endereco"},
        {&TConverteFornece::SetBairro, "fornece.Bairro"},
        {&TConverteFornece::SetCep, "fornece.Cep"},
        {&TConverteFornece::SetCodCidade, "fornece.CodCidade"},
        {&TConverteFornece::SetNumero, "fornece.Numero"},
        {&TConverteFornece::SetComplemento, "fornece.Complemento"},
        {&TConverteFornece::SetEstado, "fornece.Estado"},
        {&TConverteFornece::SetInscMunicipal, "fornece.InscMunicipal"},
        {&TConverteFornece::SetPessoaFJ, "fornece.Pessoa_FJ"},
        {&TConverteFornece::SetCgcCpf, "fornece.CgcCpf"},
        {&TConverteFornece::SetInscEst, "fornece.InscEst"},
        {&TConverteFornece::SetObservacao, "fornece.observacao"},
        {&TConverteFornece::SetFone, "fornece.Fone"},
        {&TConverteFornece::SetFax, "fornece.Fax"},
        {&TConverteFornece::SetCelular, "fornece.Celular"},
        {&TConverteFornece::SetEmail, "fornece.Email"},
        {&TConverteFornece::SetHomePage, "fornece.HomePage"},
        {&TConverteFornece::SetCampoLivre1, "fornece.CampoLivre1"},
        {&TConverteFornece::SetCampoLivre2, "fornece.CampoLivre2"},
        {&TConverteFornece::SetTipoFornece, "fornece.TipoFornece"},
        {&TConverteFornece::SetCodMunicipio, "fornece.codmunicipio"},
    };
    for (const auto& [setter, coluna] : setters) {
        (fornecedor.*setter)("'1'2'");
        EXPECT_EQ(Valor(coluna).find('\''), std::string::npos) << coluna;
    }
    // The apostrophes go first: the zero-fill, the digit filter, the trim and the test for an
    // empty city see the text without them.
    fornecedor.SetCodFornec("1'2");
    EXPECT_EQ(fornecedor.CodFornec(), "000012");
    fornecedor.SetInscEst("isen'to");
    EXPECT_EQ(Valor("fornece.InscEst"), "ISENTO");
    fornecedor.SetNome("'  D'Avila  ");
    EXPECT_EQ(fornecedor.Nome(), "DAvila");
    fornecedor.SetCodCidade("'");
    EXPECT_EQ(fornecedor.CodCidade(), "");
    fornecedor.SetCodMunicipio("31'06200");
    EXPECT_EQ(Valor("fornece.codmunicipio"), "3106200");

    // Double quotes pass.
    fornecedor.SetNome("Lanchonete \"Cantinho\"");
    EXPECT_EQ(apoio::LeInsert(fornecedor.MontaInsert()).Valor("fornece.Nome"),
              "'Lanchonete \"Cantinho\"'");

    // SetAtivo keeps an apostrophe, which the literal doubles.
    fornecedor.SetAtivo("'x");
    EXPECT_EQ(apoio::LeInsert(fornecedor.MontaInsert()).Valor("fornece.ativo"), "''''");
    fornecedor.SetAtivo("sim");
    EXPECT_EQ(Valor("fornece.ativo"), "S");
    fornecedor.SetAtivo("\xE9");  // only a to z are upper-cased
    EXPECT_EQ(Valor("fornece.ativo"), "\xE9");
}

TEST_F(EscritorFornecedorTest, LargurasECortesAntesOuDepoisDoTrim) {
    fornecedor.SetNome("  " + std::string(47, 'a') + "   " + std::string(10, 'b'));
    EXPECT_EQ(fornecedor.Nome(), std::string(47, 'a') + "   ");  // trimmed first, then cut
    fornecedor.SetComplemento(std::string(58, ' ') + std::string(12, 'k'));
    EXPECT_EQ(Valor("fornece.Complemento"), "kk");  // cut to 60, then trimmed
    fornecedor.SetEndereco("  " + std::string(60, 'e'));
    EXPECT_EQ(Valor("fornece.Endereco"), "  " + std::string(48, 'e'));  // never trimmed
    fornecedor.SetEmail("  " + std::string(150, 'm') + "@x.com  ");
    EXPECT_EQ(Valor("fornece.Email"), std::string(150, 'm') + "@x.com");  // no width
    fornecedor.SetFone("(31) 3333-4444 ramal 5");
    EXPECT_EQ(Valor("fornece.Fone"), "(31) 3333-4444 ");
    fornecedor.SetCep("30130-010");
    EXPECT_EQ(Valor("fornece.Cep"), "30130-01");
    fornecedor.SetEstado("MGX");
    EXPECT_EQ(fornecedor.Estado(), "MG");
    fornecedor.SetPessoaFJ("Jota");
    EXPECT_EQ(fornecedor.PessoaFJ(), "Jota");
}

TEST_F(EscritorFornecedorTest, CodigosPreenchidosNuncaEncurtados) {
    const std::vector<std::pair<std::string, std::string>> fornec = {
        {"12", "000012"}, {"1234567", "1234567"}, {"", "000000"}, {" 7", "0000 7"}};
    for (const auto& [entrada, esperado] : fornec) {
        fornecedor.SetCodFornec(entrada);
        EXPECT_EQ(fornecedor.CodFornec(), esperado) << entrada;
    }
    const std::vector<std::pair<std::string, std::string>> cidade = {
        {"12", "00012"}, {"123456", "12345"}, {"", ""}, {" ", "0000 "}};
    for (const auto& [entrada, esperado] : cidade) {
        fornecedor.SetCodCidade(entrada);
        EXPECT_EQ(fornecedor.CodCidade(), esperado) << entrada;
    }
    const std::vector<std::pair<std::string, std::string>> municipio = {
        {"12", "0000012"}, {"12345678", "1234567"}, {"", "0000000"}};
    for (const auto& [entrada, esperado] : municipio) {
        fornecedor.SetCodMunicipio(entrada);
        EXPECT_EQ(Valor("fornece.codmunicipio"), esperado) << entrada;
    }
}

TEST_F(EscritorFornecedorTest, SomenteNumerosNosDocumentosENoCelular) {
    fornecedor.SetCgcCpf("123.456.789-01");
    EXPECT_EQ(fornecedor.CgcCpf(), "12345678901");
    fornecedor.SetCgcCpf("12.345.678/0001-90");
    EXPECT_EQ(fornecedor.CgcCpf(), "12345678000190");
    fornecedor.SetCgcCpf("1234567890123456789");
    EXPECT_EQ(fornecedor.CgcCpf(), "12345678901234");

    fornecedor.SetInscEst("isento");
    EXPECT_EQ(Valor("fornece.InscEst"), "ISENTO");
    fornecedor.SetInscEst(" Isento ");
    EXPECT_EQ(Valor("fornece.InscEst"), " ISENTO ");  // the blanks around the word stay
    fornecedor.SetInscEst("isento de IE");
    EXPECT_EQ(Valor("fornece.InscEst"), "");
    fornecedor.SetInscEst("062.307.904/0081-1234");
    EXPECT_EQ(Valor("fornece.InscEst"), "062307904008112");

    fornecedor.SetInscMunicipal("12.345-6");
    EXPECT_EQ(Valor("fornece.InscMunicipal"), "123456");
    fornecedor.SetCelular("+55 (31) 9 8888-7777 / 9 6666-5555");
    EXPECT_EQ(Valor("fornece.Celular"), "553198888777796");
}

TEST(EscritorFornecedorBancoTest, InsereGravaVoltaAosPadroesELimpaTabelaNaoConfirma) {
    apoio::TBancosTeste bancos;
    TSemAvisos avisos;
    TConverteFornece f(bancos.Almuro(), avisos);
    const std::string novo = f.MontaInsert();
    f.SetCodFornec("15");
    f.SetNome("Caf\xE9 \"Bom\" D'Ouro");
    f.SetCgcCpf("12.345.678/0001-90");
    f.SetPessoaFJ("J");
    f.SetAtivo("s");
    f.SetCodCidade("7");
    f.Insere();
    EXPECT_EQ(f.MontaInsert(), novo);
    bancos.Almuro().Transacao().Confirma();
    EXPECT_EQ(apoio::Linhas(bancos.Almuro(),
                            "select CODFORNEC, NOME, CGCCPF, PESSOA_FJ, ATIVO, CODCIDADE, "
                            "CODMUNICIPIO, coalesce(CODCLIENTE, 'nulo') as CODCLIENTE from "
                            "FORNECE"),
              (std::vector<apoio::TLinha>{{"000015", "Café \"Bom\" DOuro", "12345678000190", "J",
                                           "S", "00007", "0000000", ""}}));

    // A duplicate code: the error is the database's, and the values stay for the caller.
    f.SetCodFornec("15");
    f.SetNome("Outro");
    EXPECT_THROW(f.Insere(), EBancoDados);
    EXPECT_EQ(f.Nome(), "Outro");
    bancos.Almuro().Transacao().Desfaz();

    // Emptying belongs to the transaction of the caller: undone, the row is back.
    f.LimpaTabela();
    EXPECT_EQ(apoio::Valor(bancos.Almuro(), "select count(*) from FORNECE"), "0");
    bancos.Almuro().Transacao().Desfaz();
    EXPECT_EQ(apoio::ContaLinhas(bancos.Almuro(), "FORNECE"), 1);
}

}  // namespace
