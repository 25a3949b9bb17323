#include "common/ConfiguracaoRegional.h"
#include "common/Erros.h"
#include "tests/apoio/LogicaTeste.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using apoio::Linhas;
using apoio::TLinha;
using apoio::TValor;

const std::vector<std::string> kColunasOrigem = {"CODIGO",
                                                 "NOME",
                                                 "NOME_FANTASIA",
                                                 "ENDERECO",
                                                 "NUMERO",
                                                 "CIDADE",
                                                 "UF",
                                                 "BAIRRO",
                                                 "CEP",
                                                 "CNPJ",
                                                 "CPF",
                                                 "IE",
                                                 "FISICA_JURIDICA",
                                                 "CONTATO",
                                                 "TELEFONE",
                                                 "CELULAR",
                                                 "FAX",
                                                 "EMAIL",
                                                 "ENDERECO_ENTREGA",
                                                 "NUMERO_ENTREGA",
                                                 "DATA_NASC",
                                                 "CIDADE_ENTREGA",
                                                 "UF_ENTREGA",
                                                 "BAIRRO_ENTREGA",
                                                 "ENDERECO_COBRANCA",
                                                 "NUMERO_COBRANCA",
                                                 "CEP_COBRANCA",
                                                 "CIDADE_COBRANCA",
                                                 "UF_COBRANCA",
                                                 "BAIRRO_COBRANCA"};

// A source client: the columns given, NULL in all the others.
std::vector<TValor> Origem(const std::map<std::string, TValor>& campos) {
    std::vector<TValor> linha;
    for (const auto& coluna : kColunasOrigem) {
        auto it = campos.find(coluna);
        linha.push_back(it == campos.end() ? std::nullopt : it->second);
    }
    return linha;
}

std::vector<TValor> Origem(const std::string& codigo, TValor nome) {
    return Origem({{"CODIGO", codigo}, {"NOME", nome}});
}

// A sheet row of the shared client and supplier layout (texts in Windows-1252).
TLinha Cadastro(const std::string& nome, const std::string& cliente, const std::string& cidade = "",
                const std::string& uf = "", const std::string& documento = "") {
    return {"x", nome, cliente, "False", "False", cidade, "", uf, "", "", "", documento, ""};
}

const TLinha kCabecalho = {"Codigo", "Nome",     "Cliente", "Fornecedor", "Juridica",
                           "Cidade", "Bairro",   "UF",      "CEP",        "Telefone",
                           "Fax",    "CPF/CNPJ", "IE"};

std::string Hoje() {
    return TConfiguracaoRegional::Instancia().DataParaTexto(TConfiguracaoRegional::Hoje());
}

class MapeamentosClienteTest : public ::testing::Test {
  protected:
    void Fonte(const std::vector<std::vector<TValor>>& linhas) {
        apoio::InsereLinhas(t.bancos.Tessaly(), "CLIENTE", kColunasOrigem, linhas);
    }
    std::vector<TLinha> Alvo(const std::string& sql) {
        logica.ConfirmaTransacao();
        t.bancos.Almuro().Transacao().Confirma();
        return Linhas(t.bancos.Almuro(), sql);
    }
    void Planilha(std::vector<TLinha> linhas) {
        linhas.insert(linhas.begin(), kCabecalho);
        t.Planilha(13, linhas);
    }

    apoio::TLogicaTeste t;
    TLogicaPrincipal& logica = t.logica;
};

// ---- From the source database ---------------------------------------------------------------

TEST_F(MapeamentosClienteTest, BancoMantemCodigosEContaSoOsComNome) {
    apoio::Executa(t.bancos.Almuro(),
                   "insert into CLIENTE (CODCLIENTE, NOME) values ('00000099', 'antigo')");
    // The highest codes have no name: neither written nor counted, however long.
    Fonte({Origem("5", "Ana"), Origem("12", "Bruno"), Origem("200000000", "   "),
           Origem("7", "Carla"), Origem("150", std::nullopt)});
    logica.ConverteClientesBanco();
    EXPECT_EQ(logica.ContadorCliente, 13);
    EXPECT_EQ(Alvo("select CODCLIENTE, NOME, ATIVO, DT_CADASTRO from CLIENTE order by 1"),
              (std::vector<TLinha>{{"00000005", "Ana", "S", Hoje()},
                                   {"00000007", "Carla", "S", Hoje()},
                                   {"00000012", "Bruno", "S", Hoje()}}));
    EXPECT_EQ(
        t.progresso.legendas,
        (std::vector<std::string>{
            "...", "Convertendo Clientes - Registro 1 de 5",
            "Convertendo Clientes - Registro 2 de 5", "Convertendo Clientes - Registro 3 de 5",
            "Convertendo Clientes - Registro 4 de 5", "Convertendo Clientes - Registro 5 de 5"}));
    EXPECT_EQ(t.progresso.ultimo.aguarde, "");
    EXPECT_EQ(t.progresso.ultimo.barraPosicao, 0);
    EXPECT_EQ(t.progresso.ultimo.barraMaximo, 0);
}

TEST_F(MapeamentosClienteTest, BancoMapeiaEnderecosDocumentosCidadesEDatas) {
    Fonte({Origem({{"CODIGO", "5"},
                   {"NOME", "José D'Ávila"},
                   {"NOME_FANTASIA", "Zé"},
                   {"ENDERECO", "Rua A"},
                   {"NUMERO", "10"},
                   {"CIDADE", "Belo Horizonte"},
                   {"UF", "MG"},
                   {"BAIRRO", "Centro"},
                   {"CEP", "30.130-010"},
                   {"CNPJ", "12.345.678/0001-90"},
                   {"CPF", "123.456.789-09"},
                   {"IE", "isento"},
                   {"FISICA_JURIDICA", "F"},
                   {"CONTATO", " Maria "},
                   {"TELEFONE", "3333-4444"},
                   {"CELULAR", "(31) 99999-8888"},
                   {"FAX", "(31) 2222-3333"},
                   {"EMAIL", "ze@exemplo.com"},
                   {"ENDERECO_ENTREGA", "Rua B"},
                   {"DATA_NASC", "1975-03-15"},
                   {"CIDADE_ENTREGA", "Contagem"},
                   {"UF_ENTREGA", "MG"},
                   {"BAIRRO_ENTREGA", "Eldorado"},
                   {"CEP_COBRANCA", "32.000-000"},
                   {"CIDADE_COBRANCA", "belo horizonte"},
                   {"UF_COBRANCA", "mg"},
                   {"BAIRRO_COBRANCA", "Savassi"}}),
           // a CPF of punctuation only, or none, gives way to the CNPJ
           Origem({{"CODIGO", "6"},
                   {"NOME", "Padaria"},
                   {"CNPJ", "98.765.432/0001-10"},
                   {"CPF", "   .   .   -  "},
                   {"FISICA_JURIDICA", "J"},
                   {"NUMERO", "7"}}),
           Origem({{"CODIGO", "7"}, {"NOME", "Mercado"}, {"CNPJ", "11.222.333/0001-44"}})});
    logica.ConverteClientesBanco();
    EXPECT_EQ(
        Alvo("select CODCLIENTE, NOME, NOMEFANTASIA, ENDERECO, CODCIDADE, ESTADO, BAIRRO, CEP, "
             "CGCCPF, INSCEST, PESSOA_FJ, CONTATO, FONE, CELULAR, FAX, EMAIL, ENDERECOENT, "
             "CODCIDADEENT, ESTADOENT, BAIRROENT, CEPENT, ENDERECOCOB, CEPCOB, CODCIDADECOB, "
             "ESTADOCOB, BAIRROCOB, DT_NASCIMENTO from CLIENTE order by 1"),
        (std::vector<TLinha>{{"00000005",
                              "José D'Ávila",
                              "Zé",
                              "Rua A 10",
                              "00001",
                              "MG",
                              "Centro",
                              "30130010",
                              "12345678909",
                              "ISENTO",
                              "F",
                              "Maria",
                              "3333-4444",
                              "(31) 99999-8888",
                              "3122223333",
                              "ze@exemplo.com",
                              "Rua B",
                              "00002",
                              "MG",
                              "Eldorado",
                              "",
                              "",
                              "32000000",
                              "00001",
                              "mg",
                              "Savassi",
                              "15/03/1975"},
                             {"00000006", "Padaria", "", "7", "", "", "", "", "98765432000110",
                              "",         "J",       "", "",  "", "", "", "", "",
                              "",         "",        "", "",  "", "", "", "", ""},
                             {"00000007", "Mercado", "", "", "", "", "", "", "11222333000144",
                              "",         "",        "", "", "", "", "", "", "",
                              "",         "",        "", "", "", "", "", "", ""}}));
    EXPECT_EQ(
        Alvo("select CODCIDADE, CIDADE, ESTADO from CIDADES order by 1"),
        (std::vector<TLinha>{{"00001", "BELO HORIZONTE", "MG"}, {"00002", "CONTAGEM", "MG"}}));
}

TEST_F(MapeamentosClienteTest, BancoVazioEsvaziaOAlvoEDeixaContador1) {
    apoio::Executa(t.bancos.Almuro(), "insert into CLIENTE (CODCLIENTE) values ('00000001')");
    logica.ContadorCliente = 40;
    logica.ConverteClientesBanco();
    EXPECT_EQ(logica.ContadorCliente, 1);
    EXPECT_TRUE(Alvo("select CODCLIENTE from CLIENTE").empty());
}

// A record skipped for its blank name still looks its cities up; the next record, whose cities
// are blank, must not be written with them.
TEST_F(MapeamentosClienteTest, CidadeEmBrancoNaoHerdaOCodigoDeUmRegistroPulado) {
    Fonte({Origem({{"CODIGO", "1"},
                   {"CIDADE", "Contagem"},
                   {"UF", "MG"},
                   {"CIDADE_ENTREGA", "Betim"},
                   {"UF_ENTREGA", "MG"},
                   {"CIDADE_COBRANCA", "Nova Lima"},
                   {"UF_COBRANCA", "MG"}}),
           Origem({{"CODIGO", "2"}, {"NOME", "Ana"}, {"CIDADE", "  "}, {"UF", "MG"}})});
    logica.ConverteClientesBanco();
    EXPECT_EQ(Alvo("select CODCLIENTE, CODCIDADE, CODCIDADEENT, CODCIDADECOB from CLIENTE"),
              (std::vector<TLinha>{{"00000002", "", "", ""}}));
    EXPECT_EQ(Alvo("select CIDADE from CIDADES order by CODCIDADE"),
              (std::vector<TLinha>{{"CONTAGEM"}, {"BETIM"}, {"NOVA LIMA"}}));
}

TEST_F(MapeamentosClienteTest, CodigoDoBancoComMaisDe8DigitosEncerraAConversao) {
    Fonte({Origem("12345678", "Ana"), Origem("123456789", "Bruno")});
    try {
        logica.ConverteClientesBanco();
        ADD_FAILURE() << "o código de 9 dígitos foi gravado";
    } catch (const EConversor& e) {
        EXPECT_NE(std::string(e.what()).find("123456789"), std::string::npos) << e.what();
    }
    logica.DesfazTransacao();
    EXPECT_TRUE(Alvo("select CODCLIENTE from CLIENTE").empty());
}

// ---- From the sheet ---------------------------------------------------------------------------

TEST_F(MapeamentosClienteTest, PlanilhaNumeraTodasAsLinhasEGravaSoTrue) {
    logica.ContadorCliente = 20;
    Planilha({Cadastro("Ana", "True"), Cadastro("Bruno", "False"), Cadastro("Carla", "true"),
              Cadastro("Dario", ""), Cadastro("Eva", "True "), Cadastro("Fabio", "True")});
    logica.ConverteClientesPlanilha();
    EXPECT_EQ(logica.ContadorCliente, 26);
    EXPECT_EQ(Alvo("select CODCLIENTE, NOME from CLIENTE order by 1"),
              (std::vector<TLinha>{{"00000020", "Ana"}, {"00000025", "Fabio"}}));
    EXPECT_EQ(t.progresso.legendas, (std::vector<std::string>{"Convertendo Clientes, Aguarde!"}));
    EXPECT_EQ(t.progresso.ultimo.aguarde, "");
    EXPECT_EQ(t.progresso.ultimo.status, "");
    EXPECT_EQ(t.progresso.ultimo.barraPosicao, 0);
    EXPECT_EQ(t.progresso.ultimo.barraMaximo, 7);
}

TEST_F(MapeamentosClienteTest, PlanilhaMapeiaAsColunas) {
    logica.ContadorCliente = 1;
    Planilha(
        {{"x", "  Ana Souza  ", "True", "False", "True", "Belo Horizonte", std::string(40, 'b'),
          "MG", "30.130-010", "(31) 3333-4444", "3333-4444", "12.345.678/0001-90", "isento"},
         {"x", "Bruno", "True", "False", "Sim", " BHTE ", "", "MG", "", "", "",
          "__.___.___/____-__", "062.307.904/0081"},
         Cadastro("Carla", "True", "  ", "SP", "___.___.___-__"),
         Cadastro("Dario", "True", "Contagem", " MG", "123.456.789-09"),
         Cadastro("Eva", "False", "Sabara", "MG")});
    logica.ConverteClientesPlanilha();
    EXPECT_EQ(
        Alvo("select CODCLIENTE, NOME, PESSOA_FJ, CODCIDADE, BAIRRO, ESTADO, CEP, FONE, FAX, "
             "CGCCPF, INSCEST, ENDERECO, CONTATO, ATIVO, DT_CADASTRO from CLIENTE order by 1"),
        (std::vector<TLinha>{
            {"00000001", "Ana Souza", "J", "00001", std::string(30, 'b'), "MG", "30130010",
             "3133334444", "3133334444", "12345678000190", "ISENTO", "", "", "S", Hoje()},
            {"00000002", "Bruno", "F", "00001", "", "MG", "", "", "", "", "0623079040081", "", "",
             "S", Hoje()},
            {"00000003", "Carla", "F", "", "", "SP", "", "", "", "", "", "", "", "S", Hoje()},
            {"00000004", "Dario", "F", "00002", "", " M", "", "", "", "12345678909", "", "", "",
             "S", Hoje()}}));
    // The city lookup runs before the client test: Eva's city is there, though Eva is not.
    EXPECT_EQ(Alvo("select CODCIDADE, CIDADE, ESTADO from CIDADES order by 1"),
              (std::vector<TLinha>{{"00001", "Belo Horizonte", "MG"},
                                   {"00002", "Contagem", " M"},
                                   {"00003", "Sabara", "MG"}}));
    EXPECT_TRUE(t.mensagens.todas.empty());
}

TEST_F(MapeamentosClienteTest, PlanilhaSoComCabecalhoOuVaziaNaoGravaNada) {
    logica.ContadorCliente = 7;
    Planilha({});  // the heading names a city in column 6: it must not be looked up
    logica.ConverteClientesPlanilha();
    t.Planilha(13, {});
    logica.ConverteClientesPlanilha();
    EXPECT_EQ(logica.ContadorCliente, 7);
    EXPECT_TRUE(Alvo("select CODCLIENTE from CLIENTE").empty());
    EXPECT_TRUE(Alvo("select CODCIDADE from CIDADES").empty());
}

TEST_F(MapeamentosClienteTest, PlanilhaComPoucasColunasFalha) {
    t.Planilha(12, {kCabecalho, Cadastro("Ana", "True")});
    EXPECT_THROW(
        try { logica.ConverteClientesPlanilha(); } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), "Field '13' not found");
            throw;
        },
        std::exception);
}

TEST_F(MapeamentosClienteTest, CodigoDePlanilhaQueNaoCabeEncerraAConversao) {
    logica.ContadorCliente = 99999999;
    // The row that would get 100000000 is no client: only the next one ends the run.
    Planilha({Cadastro("Ana", "True"), Cadastro("Bruno", "False"), Cadastro("Carla", "True")});
    try {
        logica.ConverteClientesPlanilha();
        ADD_FAILURE() << "o código de 9 dígitos foi gravado";
    } catch (const EConversor& e) {
        EXPECT_NE(std::string(e.what()).find("100000001"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("linha 4"), std::string::npos) << e.what();
    }
    logica.DesfazTransacao();
    EXPECT_TRUE(Alvo("select CODCLIENTE from CLIENTE").empty());
}

// ---- The whole run, one transaction --------------------------------------------------------

class ConversaoClientesTest : public MapeamentosClienteTest {
  protected:
    void SetUp() override {
        apoio::Executa(t.bancos.Almuro(),
                       "insert into CLIENTE (CODCLIENTE, NOME) values ('00000001', 'antigo')");
        apoio::Executa(t.bancos.Almuro(),
                       "insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values ('00001', "
                       "'CONTAGEM', 'MG')");
        Fonte({Origem({{"CODIGO", "12"}, {"NOME", "Ana"}, {"CIDADE", "Betim"}, {"UF", "MG"}})});
        logica.DefineTipo(TTipoConversao::Clientes);
    }
    void ConfereAlvoComoAntes() {
        EXPECT_EQ(Alvo("select CODCLIENTE, NOME from CLIENTE"),
                  (std::vector<TLinha>{{"00000001", "antigo"}}));
        EXPECT_EQ(Alvo("select CODCIDADE, CIDADE from CIDADES"),
                  (std::vector<TLinha>{{"00001", "CONTAGEM"}}));
        EXPECT_FALSE(logica.dbAlmuro.Transacao().Ativa());
        ASSERT_EQ(t.mensagens.Textos("Erro").size(), 1u);
        EXPECT_EQ(t.mensagens.Textos("Erro")[0].rfind(
                      "Houve um erro ao realizar a conversão. Motivo: \r", 0),
                  0u);
        EXPECT_TRUE(t.mensagens.Textos("Informação").empty());
        EXPECT_EQ(t.progresso.ultimo.aguarde, "");
        EXPECT_EQ(t.progresso.ultimo.status, "");
        EXPECT_EQ(t.progresso.ultimo.barraPosicao, 0);
    }
};

TEST_F(ConversaoClientesTest, SucessoNumeraAPlanilhaAposOBancoEConfirma) {
    Planilha({Cadastro("Bruno", "True", "Sabara", "MG"), Cadastro("Carla", "False"),
              Cadastro("Dario", "True", "Contagem", "MG")});
    EXPECT_TRUE(logica.EfetuaConversao());
    EXPECT_EQ(t.mensagens.Textos("Informação"),
              (std::vector<std::string>{"Conversão concluída com sucesso!"}));
    EXPECT_EQ(Alvo("select CODCLIENTE, NOME, CODCIDADE from CLIENTE order by 1"),
              (std::vector<TLinha>{{"00000012", "Ana", "00002"},
                                   {"00000013", "Bruno", "00003"},
                                   {"00000015", "Dario", "00004"}}));
    // The sheet's lookup compares as written: "Contagem" is not "CONTAGEM".
    EXPECT_EQ(Alvo("select CODCIDADE, CIDADE from CIDADES order by 1"),
              (std::vector<TLinha>{{"00001", "CONTAGEM"},
                                   {"00002", "BETIM"},
                                   {"00003", "Sabara"},
                                   {"00004", "Contagem"}}));
}

// Without the check, 123456789 would be written as 12345678, over the other client's code.
TEST_F(ConversaoClientesTest, CodigoRepetidoPorCorteDesfazTudo) {
    Fonte({Origem("12345678", "Bruno"), Origem("123456789", "Carla")});
    Planilha({Cadastro("Dario", "True")});
    EXPECT_FALSE(logica.EfetuaConversao());
    ConfereAlvoComoAntes();
    EXPECT_NE(t.mensagens.Textos("Erro")[0].find("123456789"), std::string::npos);
}

// A source without its key can hold one code twice: the target refuses the second insert, after
// the table was emptied and a city added, and nothing of the run stays.
TEST_F(ConversaoClientesTest, CodigoDuplicadoNaOrigemDesfazTudo) {
    apoio::Executa(t.bancos.Tessaly(), "alter table CLIENTE drop constraint PK_CLIENTE");
    Fonte({Origem({{"CODIGO", "12"}, {"NOME", "Bruna"}, {"CIDADE", "Sabara"}, {"UF", "MG"}})});
    Planilha({Cadastro("Dario", "True")});
    EXPECT_FALSE(logica.EfetuaConversao());
    ConfereAlvoComoAntes();
    EXPECT_NE(t.mensagens.Textos("Erro")[0].find("PRIMARY or UNIQUE KEY"), std::string::npos)
        << t.mensagens.Textos("Erro")[0];
}

// The sheet fails after both lookups have added cities: none of them stays.
TEST_F(ConversaoClientesTest, FalhaNaPlanilhaDesfazClientesECidades) {
    t.Planilha(12, {kCabecalho, Cadastro("Bruno", "True", "Sabara", "MG")});
    EXPECT_FALSE(logica.EfetuaConversao());
    ConfereAlvoComoAntes();
    EXPECT_NE(t.mensagens.Textos("Erro")[0].find("Field '13' not found"), std::string::npos);
}

}  // namespace
