#include "tests/apoio/LogicaTeste.h"

#include <gtest/gtest.h>

namespace {

using apoio::Linhas;
using apoio::TLinha;
using apoio::TValor;

const std::vector<std::string> kColunasFornecedor = {
    "CODIGO",      "NOME",    "NOME_FANTASIA", "ENDERECO", "NUMERO", "CIDADE",
    "UF",          "BAIRRO",  "CEP",           "CNPJ",     "CPF",    "IE",
    "COMPLEMENTO", "CONTATO", "TELEFONE",      "CELULAR",  "FAX",    "EMAIL"};

// A source supplier with only what a test looks at; every other column NULL.
std::vector<TValor> Fornecedor(int codigo, TValor nome, TValor cidade = std::nullopt,
                               TValor uf = std::nullopt, TValor cpf = std::nullopt,
                               TValor cnpj = std::nullopt) {
    std::vector<TValor> r(kColunasFornecedor.size());
    r[0] = std::to_string(codigo);
    r[1] = nome;
    r[5] = cidade;
    r[6] = uf;
    r[9] = cnpj;
    r[10] = cpf;
    return r;
}

// A sheet row of the shared client and supplier layout (texts in Windows-1252).
struct TLinhaCadastro {
    std::string nome = "Fornecedor";
    std::string fornecedor = "True";
    std::string juridica = "True";
    std::string cidade;
    std::string bairro;
    std::string uf = "MG";
    std::string cep;
    std::string fone;
    std::string fax;
    std::string documento;
    std::string ie;

    TLinha Celulas() const {
        return {"x", nome, "False", fornecedor, juridica,  cidade, bairro,
                uf,  cep,  fone,    fax,        documento, ie};
    }
};

const TLinha kCabecalho = {"Codigo", "Nome",   "Cliente", "Fornecedor", "Juridica",
                           "Cidade", "Bairro", "UF",      "CEP",        "Telefone",
                           "Fax",    "CNPJ",   "IE"};

class MapeamentosFornecedorTest : public ::testing::Test {
  protected:
    void Origem(const std::vector<std::vector<TValor>>& linhas) {
        apoio::InsereLinhas(t.bancos.Tessaly(), "FORNECEDOR", kColunasFornecedor, linhas);
    }
    std::vector<TLinha> Alvo(const std::string& sql) {
        logica.ConfirmaTransacao();
        // A fresh snapshot of the test's own connection, so it sees what the runs committed.
        t.bancos.Almuro().Transacao().Confirma();
        return Linhas(t.bancos.Almuro(), sql);
    }
    void Planilha(const std::vector<TLinhaCadastro>& linhas) {
        std::vector<TLinha> celulas = {kCabecalho};
        for (const auto& l : linhas)
            celulas.push_back(l.Celulas());
        t.Planilha(13, celulas);
    }

    apoio::TLogicaTeste t;
    TLogicaPrincipal& logica = t.logica;
};

// ---- Source database ----------------------------------------------------------------------

TEST_F(MapeamentosFornecedorTest, BancoMantemCodigosEContaOMaiorMesmoSemNome) {
    Origem({Fornecedor(5, "Cinco"), Fornecedor(12, "Doze"), Fornecedor(7, "Sete"),
            Fornecedor(1234567, "   "), Fornecedor(41, std::nullopt)});
    logica.ConverteFornecedoresBanco();
    EXPECT_EQ(logica.ContadorFornecedor, 1234568);
    EXPECT_EQ(Alvo("select CODFORNEC, NOME from FORNECE order by 1"),
              (std::vector<TLinha>{{"000005", "Cinco"}, {"000007", "Sete"}, {"000012", "Doze"}}));
    EXPECT_EQ(t.progresso.legendas,
              (std::vector<std::string>{"...", "Convertendo Fornecedores - Registro 1 de 5",
                                        "Convertendo Fornecedores - Registro 2 de 5",
                                        "Convertendo Fornecedores - Registro 3 de 5",
                                        "Convertendo Fornecedores - Registro 4 de 5",
                                        "Convertendo Fornecedores - Registro 5 de 5"}));
    EXPECT_EQ(t.progresso.ultimo.aguarde, "");
    EXPECT_EQ(t.progresso.ultimo.barraPosicao, 0);
    EXPECT_EQ(t.progresso.ultimo.barraMaximo, 0);
}

TEST_F(MapeamentosFornecedorTest, BancoVazioEsvaziaOAlvoEDeixaContador1) {
    apoio::Executa(t.bancos.Almuro(), "insert into FORNECE (CODFORNEC) values ('000001')");
    logica.ContadorFornecedor = 77;
    logica.ConverteFornecedoresBanco();
    EXPECT_EQ(logica.ContadorFornecedor, 1);
    EXPECT_TRUE(Alvo("select CODFORNEC from FORNECE").empty());
}

TEST_F(MapeamentosFornecedorTest, BancoLevaCadaColunaAoSeuCampo) {
    Origem({{"3", " O'Reilly Ferragens ", "Ferragens \"Ouro\"", "Rua da Bahia", "1200", "Sao Paulo",
             "sp", " Centro ", "30.130-010", "12.345.678/0001-90", std::nullopt, "isento",
             "  sala 2", "Pedro Sant'Anna", "(31) 3333-4444", "(31) 9 8888-7777", "3333-5555",
             " vendas@oreilly.com.br "}});
    apoio::Executa(t.bancos.Almuro(),
                   "insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values ('00041', 'BH', 'MG')");
    logica.ConverteFornecedoresBanco();
    EXPECT_EQ(Alvo("select CODFORNEC, NOME, NOMEFANTASIA, ENDERECO, NUMERO, COMPLEMENTO, ESTADO, "
                   "CODCIDADE, BAIRRO, CEP, CGCCPF, PESSOA_FJ, INSCEST, CONTATO, FONE, CELULAR, "
                   "FAX, EMAIL, ATIVO, CODMUNICIPIO, INSCMUNICIPAL, OBSERVACAO from FORNECE"),
              (std::vector<TLinha>{{"000003",
                                    "OReilly Ferragens",
                                    "Ferragens \"Ouro\"",
                                    "Rua da Bahia",
                                    "1200",
                                    "sala 2",
                                    "sp",
                                    "00042",
                                    "Centro",
                                    "30130010",
                                    "12345678000190",
                                    "J",
                                    "ISENTO",
                                    "Pedro SantAnna",
                                    "(31) 3333-4444",
                                    "31988887777",
                                    "3333-5555",
                                    "vendas@oreilly.com.br",
                                    "S",
                                    "0000000",
                                    "",
                                    ""}}));
    EXPECT_EQ(Alvo("select CODCIDADE, CIDADE, ESTADO from CIDADES order by 1"),
              (std::vector<TLinha>{{"00041", "BH", "MG"}, {"00042", "SAO PAULO", "SP"}}));
}

TEST_F(MapeamentosFornecedorTest, BancoCpfAntesDoCnpjEPessoaPeloNumeroGravado) {
    const std::string cnpj = "12.345.678/0001-90";
    Origem({Fornecedor(1, "Com os dois", {}, {}, "123.456.789-01", cnpj),
            Fornecedor(2, "CPF vazio", {}, {}, "", cnpj),
            Fornecedor(3, "CPF so pontuacao", {}, {}, " .-/ ", cnpj),
            Fornecedor(4, "CPF nulo", {}, {}, std::nullopt, cnpj), Fornecedor(5, "Nenhum"),
            Fornecedor(6, "CNPJ curto", {}, {}, std::nullopt, "1234.5678-901"),
            Fornecedor(7, "CNPJ isento", {}, {}, std::nullopt, "Isento")});
    logica.ConverteFornecedoresBanco();
    EXPECT_EQ(Alvo("select CODFORNEC, CGCCPF, PESSOA_FJ from FORNECE order by 1"),
              (std::vector<TLinha>{{"000001", "12345678901", "F"},
                                   {"000002", "12345678000190", "J"},
                                   {"000003", "12345678000190", "J"},
                                   {"000004", "12345678000190", "J"},
                                   {"000005", "", "F"},
                                   {"000006", "12345678901", "F"},
                                   {"000007", "ISENTO", "F"}}));
}

// A skipped record's city code must not reach the next record that has no city.
TEST_F(MapeamentosFornecedorTest, BancoCidadeEmBrancoDaCodigoVazio) {
    Origem({Fornecedor(1, "Com cidade", "Contagem", "MG"), Fornecedor(2, "", "Betim", "MG"),
            Fornecedor(3, "Sem cidade", "   ", "MG"), Fornecedor(4, "", "Sabara", "MG"),
            Fornecedor(5, "Cidade nula", std::nullopt, "MG"),
            Fornecedor(6, "Repete", "contagem", "mg")});
    logica.ConverteFornecedoresBanco();
    EXPECT_EQ(Alvo("select CODFORNEC, CODCIDADE from FORNECE order by 1"),
              (std::vector<TLinha>{
                  {"000001", "00001"}, {"000003", ""}, {"000005", ""}, {"000006", "00001"}}));
    // The skipped records' cities are still created, as the lookup runs before the name test.
    EXPECT_EQ(
        Alvo("select CODCIDADE, CIDADE from CIDADES order by 1"),
        (std::vector<TLinha>{{"00001", "CONTAGEM"}, {"00002", "BETIM"}, {"00003", "SABARA"}}));
}

// ---- Sheet ------------------------------------------------------------------------------

TEST_F(MapeamentosFornecedorTest, PlanilhaGravaSoTrueExatoENumeraTodaLinha) {
    logica.ContadorFornecedor = 37;
    TLinhaCadastro a, b, c, d, e;
    a.nome = "Primeiro";
    b.nome = "Nao fornecedor";
    b.fornecedor = "true";
    b.cidade = "Betim";
    c.nome = "Terceiro";
    c.cidade = "Betim";
    d.nome = "Vazio";
    d.fornecedor = "";
    e.nome = "Quinto";
    e.fornecedor = "True ";
    Planilha({a, b, c, d, e});
    logica.ConverteFornecedoresPlanilha();
    EXPECT_EQ(logica.ContadorFornecedor, 42);
    EXPECT_EQ(Alvo("select CODFORNEC, NOME from FORNECE order by 1"),
              (std::vector<TLinha>{{"000037", "Primeiro"}, {"000039", "Terceiro"}}));
    // A row that is not a supplier still has its city looked up, and created when missing.
    EXPECT_EQ(Alvo("select CODCIDADE, CIDADE from CIDADES"),
              (std::vector<TLinha>{{"00001", "Betim"}}));
    EXPECT_EQ(Alvo("select CODCIDADE from FORNECE where CODFORNEC = '000039'"),
              (std::vector<TLinha>{{"00001"}}));
    EXPECT_EQ(t.progresso.legendas, (std::vector<std::string>{"Convertendo Fornecedor, Aguarde!"}));
    EXPECT_EQ(t.progresso.ultimo.aguarde, "");
    EXPECT_EQ(t.progresso.ultimo.status, "");
    EXPECT_EQ(t.progresso.ultimo.barraPosicao, 0);
    EXPECT_EQ(t.progresso.ultimo.barraMaximo, 6);
}

TEST_F(MapeamentosFornecedorTest, PlanilhaLimpaCadaColuna) {
    logica.ContadorFornecedor = 1;
    TLinhaCadastro a;
    a.nome = "  " + std::string(70, 'n');
    a.cidade = " Contagem ";
    a.bairro = std::string(40, 'b');
    a.uf = "mgx";
    a.cep = "30.130-010 ap";
    a.fone = "3333-4444";
    a.fax = "(011) 2222-3333";
    a.documento = "12.345.678/0001-90";
    a.ie = "062.307.904/0081-1234";
    TLinhaCadastro b;
    b.juridica = "true";
    b.cidade = "   ";  // blanks only: no lookup, no city
    b.fone = "0 31 3333 4444";
    b.fax = "9999-88887";
    b.documento = "__.___.___/____-__";
    b.ie = "ISENTO";
    TLinhaCadastro c;
    c.juridica = "";
    c.documento = "___.___.___-__";
    c.ie = "Isento de IE";
    TLinhaCadastro d;
    d.documento = "123.456.789-01";
    Planilha({a, b, c, d});
    logica.ConverteFornecedoresPlanilha();
    EXPECT_EQ(
        Alvo("select CODFORNEC, NOME, ESTADO, CODCIDADE, BAIRRO, CEP, FONE, FAX, CGCCPF, "
             "INSCEST, PESSOA_FJ, ATIVO, NOMEFANTASIA, ENDERECO, CODMUNICIPIO from FORNECE "
             "order by 1"),
        (std::vector<TLinha>{
            {"000001", std::string(50, 'n'), "mg", "00001", std::string(30, 'b'), "30130010",
             "3133334444", "1122223333", "12345678000190", "062307904008112", "J", "S", "", "",
             "0000000"},
            {"000002", "Fornecedor", "MG", "", "", "", "3133334444", "999988887", "", "ISENTO", "F",
             "S", "", "", "0000000"},
            {"000003", "Fornecedor", "MG", "", "", "", "", "", "", "", "F", "S", "", "", "0000000"},
            {"000004", "Fornecedor", "MG", "", "", "", "", "", "12345678901", "", "J", "S", "", "",
             "0000000"}}));
    // The untrimmed city with the state as the writer holds it, looked up without commit.
    EXPECT_EQ(Alvo("select CODCIDADE, CIDADE, ESTADO from CIDADES"),
              (std::vector<TLinha>{{"00001", " Contagem ", "mg"}}));
}

TEST_F(MapeamentosFornecedorTest, PlanilhaSoComCabecalhoOuVaziaNaoGravaNada) {
    logica.ContadorFornecedor = 7;
    Planilha({});
    logica.ConverteFornecedoresPlanilha();
    t.Planilha(13, {});
    logica.ConverteFornecedoresPlanilha();
    EXPECT_EQ(logica.ContadorFornecedor, 7);
    EXPECT_TRUE(Alvo("select CODFORNEC from FORNECE").empty());
    EXPECT_TRUE(Alvo("select CODCIDADE from CIDADES").empty());
}

TEST_F(MapeamentosFornecedorTest, PlanilhaComPoucasColunasFalhaNaPrimeiraLinha) {
    t.Planilha(12, {kCabecalho, TLinhaCadastro().Celulas()});
    EXPECT_THROW(
        try { logica.ConverteFornecedoresPlanilha(); } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), "Field '13' not found");
            throw;
        },
        std::exception);
}

// Six digits are all a supplier code has: a written row whose code would need a seventh ends
// the run instead of repeating an earlier code; a row that is not written only consumes one.
TEST_F(MapeamentosFornecedorTest, CodigoDePlanilhaQueNaoCabeEncerraAConversao) {
    TLinhaCadastro sim, nao;
    nao.fornecedor = "False";
    logica.ContadorFornecedor = 999999;
    Planilha({sim, nao, nao});
    logica.ConverteFornecedoresPlanilha();
    EXPECT_EQ(logica.ContadorFornecedor, 1000002);
    EXPECT_EQ(Alvo("select CODFORNEC from FORNECE"), (std::vector<TLinha>{{"999999"}}));

    logica.ContadorFornecedor = 999999;
    Planilha({nao, sim});
    try {
        logica.ConverteFornecedoresPlanilha();
        ADD_FAILURE() << "a seven-digit code went through";
    } catch (const EConversor& e) {
        EXPECT_STREQ(e.what(),
                     "O código de fornecedor 1000000 não cabe nos 6 dígitos do código: a linha 3 "
                     "da planilha repetiria o código de outro fornecedor.");
    }
}

// ---- The run ------------------------------------------------------------------------------

// A suppliers run is one transaction: a failure anywhere leaves every target table as it was.
class ConversaoFornecedoresTest : public MapeamentosFornecedorTest {
  protected:
    void SetUp() override {
        apoio::Executa(t.bancos.Almuro(),
                       "insert into FORNECE (CODFORNEC, NOME) values ('000001', 'antigo')");
        apoio::Executa(t.bancos.Almuro(),
                       "insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values ('00001', "
                       "'CONTAGEM', 'MG')");
        Origem({Fornecedor(1, "Novo", "Betim", "MG")});
        logica.DefineTipo(TTipoConversao::Fornecedores);
    }
    void ConfereAlvoComoAntes() {
        EXPECT_EQ(Alvo("select CODFORNEC, NOME from FORNECE"),
                  (std::vector<TLinha>{{"000001", "antigo"}}));
        EXPECT_EQ(Alvo("select CODCIDADE, CIDADE from CIDADES"),
                  (std::vector<TLinha>{{"00001", "CONTAGEM"}}));
        EXPECT_FALSE(logica.dbAlmuro.Transacao().Ativa());
        EXPECT_FALSE(logica.dbTessaly.Transacao().Ativa());
        EXPECT_TRUE(t.mensagens.Textos("Informação").empty());
        EXPECT_EQ(t.progresso.ultimo.aguarde, "");
        EXPECT_EQ(t.progresso.ultimo.status, "");
        EXPECT_EQ(t.progresso.ultimo.barraPosicao, 0);
    }
    std::string Erro() {
        auto erros = t.mensagens.Textos("Erro");
        EXPECT_EQ(erros.size(), 1u);
        if (erros.empty())
            return {};
        EXPECT_EQ(erros[0].rfind("Houve um erro ao realizar a conversão. Motivo: \r", 0), 0u)
            << erros[0];
        return erros[0];
    }
};

TEST_F(ConversaoFornecedoresTest, CodigoDeOrigemLongoDemaisDesfazTudo) {
    Origem({Fornecedor(2, "Outro", "Sabara", "MG"), Fornecedor(1234567, "Sete digitos")});
    EXPECT_FALSE(logica.EfetuaConversao());
    ConfereAlvoComoAntes();
    Erro();
}

TEST_F(ConversaoFornecedoresTest, CodigoQueNaoCabeDesfazTudo) {
    Origem({Fornecedor(999999, "Ultimo codigo")});
    TLinhaCadastro a;
    a.cidade = "Sabara";
    Planilha({a});
    EXPECT_FALSE(logica.EfetuaConversao());
    ConfereAlvoComoAntes();
    EXPECT_NE(Erro().find("O código de fornecedor 1000000 não cabe nos 6 dígitos"),
              std::string::npos);
}

TEST_F(ConversaoFornecedoresTest, SucessoConfirmaEOrigemLidaDeNovoNaProximaConversao) {
    TLinhaCadastro a;
    a.nome = "Da planilha";
    a.cidade = "Contagem";
    a.uf = "MG";
    Planilha({a});
    EXPECT_TRUE(logica.EfetuaConversao());
    EXPECT_EQ(t.mensagens.Textos("Informação"),
              (std::vector<std::string>{"Conversão concluída com sucesso!"}));
    EXPECT_EQ(
        Alvo("select CODFORNEC, NOME, CODCIDADE from FORNECE order by 1"),
        (std::vector<TLinha>{{"000001", "Novo", "00002"}, {"000002", "Da planilha", "00003"}}));
    EXPECT_FALSE(logica.dbTessaly.Transacao().Ativa());

    Origem({Fornecedor(40, "Chegou depois")});
    EXPECT_TRUE(logica.EfetuaConversao());
    EXPECT_EQ(Alvo("select CODFORNEC from FORNECE order by 1"),
              (std::vector<TLinha>{{"000001"}, {"000040"}, {"000041"}}));
}

}  // namespace
