// The embedded schemas against what the writers and the source statements need of them.
#include "common/Texto.h"
#include "tests/apoio/BancosTeste.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using apoio::Linhas;
using apoio::Valor;

// The product writer's column list, as its INSERT writes it.
const std::vector<std::string> kColunasProduto = {"Produto.CODPROD",
                                                  "Produto.TIPOPROD",
                                                  "Produto.ATIVO",
                                                  "Produto.PRODBLOQUEADO",
                                                  "Produto.CONTROLESERIE",
                                                  "Produto.REFERENCIA",
                                                  "Produto.REFFABRICANTE",
                                                  "Produto.DESCRICAO",
                                                  "Produto.DESCRICAO2",
                                                  "Produto.DESCRICAO3",
                                                  "Produto.FORNEC_ULT_ENT1",
                                                  "Produto.CODGRUPO",
                                                  "Produto.CODSUBGRUPO",
                                                  "Produto.PRINCIPALFORNEC",
                                                  "Produto.EMBALAGEM",
                                                  "Produto.CODFABRIC",
                                                  "Produto.OBSERVACAO",
                                                  "Produto.CODLOCAL",
                                                  "Produto.CODCLASFIS",
                                                  "Produto.ALIQICMSREG00",
                                                  "Produto.BASEICMSREG00",
                                                  "Produto.BASEICMSREG02",
                                                  "Produto.CODTRIBUT00",
                                                  "Produto.CODTRIBUT01",
                                                  "Produto.ALIQICMSPDV",
                                                  "Produto.SUBSTRIB",
                                                  "Produto.AliqIpi",
                                                  "Produto.AliqISS",
                                                  "Produto.PESO",
                                                  "Produto.UNIDADEENT",
                                                  "Produto.UNIDADESAIDA",
                                                  "Produto.CodFamilia",
                                                  "Produto.CodTipoProduto",
                                                  "Produto.CodVolume",
                                                  "Produto.TipoEntrega",
                                                  "Produto.CodGeneroItem",
                                                  "Produto.PRECO",
                                                  "Produto.DESCRICAOPRECO",
                                                  "Produto.PRECO2",
                                                  "Produto.DESCRICAOPRECO2",
                                                  "Produto.PRECO3",
                                                  "Produto.DESCRICAOPRECO3",
                                                  "Produto.PRECO4",
                                                  "Produto.DESCRICAOPRECO4",
                                                  "Produto.Pr_Ult_Ent1",
                                                  "Produto.Lucro",
                                                  "Produto.Lucro2",
                                                  "Produto.Lucro3",
                                                  "Produto.Lucro4",
                                                  "Produto.EstMinimo",
                                                  "Produto.EstMaximo",
                                                  "Produto.Comissao",
                                                  "Produto.Perc_Iva",
                                                  "Produto.FatorConversao",
                                                  "Produto.MultDivide",
                                                  "Produto.ValorIpi",
                                                  "Produto.PrecoPromo",
                                                  "Produto.DT_CADASTRO",
                                                  "Produto.Data_Ult_Ent1",
                                                  "Produto.Data_Ult_Reajuste",
                                                  "Produto.Fracionado",
                                                  "Produto.CAMPOLIVRE1",
                                                  "Produto.CAMPOLIVRE2",
                                                  "Produto.CAMPOLIVRE3",
                                                  "Produto.CAMPOLIVRE4",
                                                  "produto.mensagem00",
                                                  "produto.aliqicmsreg01",
                                                  "produto.BaseIcmsReg01",
                                                  "produto.mensagem01",
                                                  "produto.aliqicmsreg02",
                                                  "Produto.CODTRIBUT02",
                                                  "produto.mensagem02",
                                                  "produto.aliqicmsreg03",
                                                  "produto.BaseIcmsReg03",
                                                  "Produto.CODTRIBUT03",
                                                  "produto.mensagem03",
                                                  "produto.AliqIcmsDiversos",
                                                  "produto.BaseIcmsdiversos",
                                                  "Produto.CodTributDiversos",
                                                  "produto.MensagemDiversos",
                                                  "produto.lucrosubstrib",
                                                  "produto.substribsaida",
                                                  "produto.percbasesubstribsaida",
                                                  "produto.PercIcmsSubsTribSaida",
                                                  "produto.substribsaidaR1",
                                                  "produto.percbasesubstribsaidaR1",
                                                  "produto.PercIcmsSubsTribSaidaR1",
                                                  "produto.substribsaidaR2",
                                                  "produto.percbasesubstribsaidaR2",
                                                  "produto.PercIcmsSubsTribSaidaR2",
                                                  "produto.substribsaidaR3",
                                                  "produto.percbasesubstribsaidaR3",
                                                  "produto.PercIcmsSubsTribSaidaR3",
                                                  "produto.substribsaidaR4",
                                                  "produto.percbasesubstribsaidaR4",
                                                  "Produto.ControleLote",
                                                  "produto.PercIcmsSubsTribSaidaR4",
                                                  "produto.grade"};

const std::vector<std::string> kColunasProdutoDetalhe = {"CODPROD",         "CONTROLERECEITUARIO",
                                                         "CODIGOATIVIDADE", "CODIGOLISTASERVICO",
                                                         "ESPELHOMERCSERV", "IMPORTADOPORTOSEGURO",
                                                         "CODPROMOCAO",     "ALIQPIS",
                                                         "PIS_CST",         "PISENT_CST",
                                                         "PIS_ST",          "ALIQCOFINS",
                                                         "ALIQPISENT",      "ALIQCOFINSENT",
                                                         "COFINS_CST",      "COFINSENT_CST",
                                                         "COFINS_ST",       "CODCSOSN",
                                                         "PRECOMAXVENDA",   "PONTOBONUS"};

const std::vector<std::string> kColunasCliente = {"cliente.codCliente",
                                                  "cliente.nome",
                                                  "cliente.nomefantasia",
                                                  "cliente.endereco",
                                                  "cliente.bairro",
                                                  "cliente.codcidade",
                                                  "cliente.estado",
                                                  "cliente.cep",
                                                  "cliente.cgccpf",
                                                  "cliente.inscest",
                                                  "cliente.pessoa_fj",
                                                  "cliente.fone",
                                                  "cliente.fax",
                                                  "cliente.prefixcelular",
                                                  "cliente.celular",
                                                  "cliente.campolivre1",
                                                  "cliente.campolivre2",
                                                  "cliente.campolivre3",
                                                  "cliente.campolivre4",
                                                  "cliente.campolivre5",
                                                  "cliente.campolivre6",
                                                  "cliente.campolivre7",
                                                  "cliente.campolivre8",
                                                  "cliente.campolivre9",
                                                  "cliente.campolivre10",
                                                  "cliente.observacao",
                                                  "cliente.email",
                                                  "cliente.homepage",
                                                  "cliente.enderecocob",
                                                  "cliente.bairrocob",
                                                  "cliente.cepcob",
                                                  "cliente.codcidadecob",
                                                  "cliente.estadocob",
                                                  "cliente.enderecoent",
                                                  "cliente.bairroent",
                                                  "cliente.cepent",
                                                  "cliente.codcidadeent",
                                                  "cliente.estadoent",
                                                  "cliente.codfornec",
                                                  "Cliente.contato",
                                                  "Cliente.CodSegmento",
                                                  "Cliente.CodClasCli",
                                                  "Cliente.CodVendend1",
                                                  "Cliente.LimiteCredito",
                                                  "cliente.nomesocio",
                                                  "cliente.dt_nascimento",
                                                  "cliente.dt_ultvenda",
                                                  "cliente.dt_cadastro",
                                                  "cliente.DT_ValCad",
                                                  "cliente.Ativo",
                                                  "cliente.CliBloqueado",
                                                  "cliente.maladiretaeletr",
                                                  "cliente.protestarcliente"};

const std::vector<std::string> kColunasFornece = {
    "fornece.CodFornec",   "fornece.Nome",        "fornece.NomeFantasia", "fornece.Contato",
    "fornece.Endereco",    "fornece.Bairro",      "fornece.Cep",          "fornece.CodCidade",
    "fornece.Numero",      "fornece.Complemento", "fornece.Estado",       "fornece.InscMunicipal",
    "fornece.Pessoa_FJ",   "fornece.CgcCpf",      "fornece.InscEst",      "fornece.observacao",
    "fornece.Fone",        "fornece.Fax",         "fornece.Celular",      "fornece.Email",
    "fornece.HomePage",    "fornece.CampoLivre1", "fornece.CampoLivre2",  "fornece.codcliente",
    "fornece.ativo",       "fornece.TipoFornece", "fornece.contacx",      "fornece.ctctbred",
    "fornece.codmunicipio"};

// "Produto.AliqISS" names the column ALIQISS of PRODUTO.
std::string NomeDaColuna(const std::string& escrita) {
    return texto::UpperAZ(escrita.substr(escrita.find('.') + 1));
}

// Column name to its declared length in characters (0 for columns that are not texts).
std::map<std::string, int> ColunasDaTabela(TBancoFirebird& banco, const std::string& tabela) {
    std::map<std::string, int> colunas;
    for (const auto& l :
         Linhas(banco,
                "SELECT TRIM(RF.RDB$FIELD_NAME) AS NOME, COALESCE(F.RDB$CHARACTER_LENGTH, 0) AS "
                "LARGURA FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = "
                "RF.RDB$FIELD_SOURCE WHERE RF.RDB$RELATION_NAME = '" +
                    tabela + "'")) {
        colunas[l[0]] = std::stoi(l[1]);
    }
    return colunas;
}

std::vector<std::string> ChavePrimaria(TBancoFirebird& banco, const std::string& tabela) {
    std::vector<std::string> r;
    for (const auto& l :
         Linhas(banco,
                "SELECT TRIM(S.RDB$FIELD_NAME) AS CAMPO FROM RDB$RELATION_CONSTRAINTS C JOIN "
                "RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = C.RDB$INDEX_NAME WHERE "
                "C.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' AND C.RDB$RELATION_NAME = '" +
                    tabela + "' ORDER BY S.RDB$FIELD_POSITION")) {
        r.push_back(l[0]);
    }
    return r;
}

// Every column the program names exists; whatever else the table holds is bookkeeping of the
// installed system, which must take care of itself (nullable or with a default).
void ConfereColunas(TBancoFirebird& banco, const std::string& tabela,
                    const std::vector<std::string>& escritas, size_t extrasPermitidas) {
    auto colunas = ColunasDaTabela(banco, tabela);
    std::set<std::string> nomeadas;
    for (const auto& e : escritas) {
        nomeadas.insert(NomeDaColuna(e));
        EXPECT_TRUE(colunas.count(NomeDaColuna(e))) << tabela << " sem a coluna " << e;
    }
    EXPECT_EQ(nomeadas.size(), escritas.size()) << "coluna repetida na lista de " << tabela;
    EXPECT_LE(colunas.size(), nomeadas.size() + extrasPermitidas) << tabela;
    for (const auto& [nome, largura] : colunas) {
        if (nomeadas.count(nome))
            continue;
        EXPECT_EQ(
            Valor(banco, "SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = '" +
                             tabela + "' AND RDB$FIELD_NAME = '" + nome +
                             "' AND (RDB$NULL_FLAG IS NULL OR RDB$DEFAULT_SOURCE IS NOT NULL)"),
            "1")
            << tabela << "." << nome << " não aceita um INSERT que não a nomeie";
    }
}

class EsquemaTest : public ::testing::Test {
  protected:
    apoio::TBancosTeste bancos;
};

TEST_F(EsquemaTest, OsDoisBancosTemODialetoEAsTabelasDaConversao) {
    EXPECT_EQ(Valor(bancos.Almuro(), "SELECT MON$SQL_DIALECT FROM MON$DATABASE"), "1");
    EXPECT_EQ(Valor(bancos.Tessaly(), "SELECT MON$SQL_DIALECT FROM MON$DATABASE"), "3");
    const std::string tabelas =
        "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$SYSTEM_FLAG = 0 AND RDB$RELATION_NAME IN ";
    EXPECT_EQ(Valor(bancos.Almuro(), tabelas + "('PRODUTO', 'PRODUTODETALHE', 'CLIENTE', "
                                               "'FORNECE', 'CLASFISC', 'UNIDADES', 'CIDADES')"),
              "7");
    EXPECT_EQ(Valor(bancos.Tessaly(), tabelas + "('ESTOQUE', 'CLFISCAL', 'CLIENTE', 'FORNECEDOR')"),
              "4");
}

TEST_F(EsquemaTest, DestinoTemAsColunasQueOsGravadoresEscrevem) {
    ASSERT_EQ(kColunasProduto.size(), 98u);
    ASSERT_EQ(kColunasCliente.size(), 53u);
    ASSERT_EQ(kColunasFornece.size(), 29u);
    ConfereColunas(bancos.Almuro(), "PRODUTO", kColunasProduto, 2);
    ConfereColunas(bancos.Almuro(), "PRODUTODETALHE", kColunasProdutoDetalhe, 0);
    ConfereColunas(bancos.Almuro(), "CLIENTE", kColunasCliente, 2);
    ConfereColunas(bancos.Almuro(), "FORNECE", kColunasFornece, 1);
    ConfereColunas(bancos.Almuro(), "CLASFISC", {"CodClasFis", "CodigoNCM", "CodNBM"}, 2);
    ConfereColunas(bancos.Almuro(), "UNIDADES", {"UNIDADE"}, 1);
    ConfereColunas(bancos.Almuro(), "CIDADES", {"CodCidade", "Cidade", "Estado"}, 1);
    EXPECT_EQ(ColunasDaTabela(bancos.Almuro(), "PRODUTO").size(), 100u);
}

TEST_F(EsquemaTest, ChavesSaoOsCodigosNasLargurasDoPrograma) {
    const std::map<std::string, std::pair<std::string, int>> chaves = {
        {"PRODUTO", {"CODPROD", 6}},     {"PRODUTODETALHE", {"CODPROD", 6}},
        {"CLIENTE", {"CODCLIENTE", 8}},  {"FORNECE", {"CODFORNEC", 6}},
        {"CLASFISC", {"CODCLASFIS", 4}}, {"UNIDADES", {"UNIDADE", 6}},
        {"CIDADES", {"CODCIDADE", 5}}};
    for (const auto& [tabela, chave] : chaves) {
        EXPECT_EQ(ChavePrimaria(bancos.Almuro(), tabela), std::vector<std::string>{chave.first})
            << tabela;
        EXPECT_EQ(ColunasDaTabela(bancos.Almuro(), tabela)[chave.first], chave.second) << tabela;
    }
    EXPECT_EQ(ChavePrimaria(bancos.Tessaly(), "ESTOQUE"), std::vector<std::string>{"CODIGO"});
    EXPECT_EQ(ChavePrimaria(bancos.Tessaly(), "CLIENTE"), std::vector<std::string>{"CODIGO"});
    EXPECT_EQ(ChavePrimaria(bancos.Tessaly(), "FORNECEDOR"), std::vector<std::string>{"CODIGO"});
    EXPECT_EQ(ChavePrimaria(bancos.Tessaly(), "CLFISCAL"), std::vector<std::string>{"CODIGO"});
}

// Each text column at least as wide as the longest value its writer can hand it, so that a run
// never fails on a value the writer already cut (or, where it does not cut, that the source
// column can hold).
TEST_F(EsquemaTest, LargurasComportamOQueOsGravadoresEscrevem) {
    const std::map<std::string, std::map<std::string, int>> minimas = {
        {"PRODUTO", {{"REFERENCIA", 20},  // BARRAS, unchanged
                     {"REFFABRICANTE", 20},   {"DESCRICAO", 50},   {"DESCRICAO2", 50},
                     {"DESCRICAO3", 50},      {"CODGRUPO", 3},     {"PRINCIPALFORNEC", 6},
                     {"EMBALAGEM", 15},       {"CODFABRIC", 3},    {"CODLOCAL", 8},
                     {"CODCLASFIS", 4},       {"CODTRIBUT00", 3},  {"UNIDADEENT", 6},
                     {"UNIDADESAIDA", 6},     {"CODFAMILIA", 2},   {"CODTIPOPRODUTO", 2},
                     {"CODVOLUME", 3},        {"TIPOENTREGA", 1},  {"DESCRICAOPRECO", 10},
                     {"DESCRICAOPRECO4", 10}, {"CAMPOLIVRE1", 20}, {"CAMPOLIVRE3", 50},
                     {"CAMPOLIVRE4", 50},     {"ATIVO", 1},        {"TIPOPROD", 1}}},
        {"PRODUTODETALHE", {{"PIS_CST", 2}, {"COFINS_CST", 2}, {"CODCSOSN", 3}}},
        {"CLIENTE",
         {{"NOME", 60},        {"NOMEFANTASIA", 50}, {"ENDERECO", 60},    {"BAIRRO", 30},
          {"CODCIDADE", 5},    {"ESTADO", 2},        {"CEP", 8},          {"CGCCPF", 18},
          {"INSCEST", 15},     {"FONE", 15},         {"FAX", 15},         {"PREFIXCELULAR", 4},
          {"CELULAR", 20},     {"CAMPOLIVRE1", 20},  {"CAMPOLIVRE3", 60}, {"CAMPOLIVRE10", 40},
          {"OBSERVACAO", 100}, {"EMAIL", 60},        {"HOMEPAGE", 30},    {"ENDERECOCOB", 60},
          {"BAIRROCOB", 30},   {"CEPCOB", 8},        {"CODCIDADECOB", 5}, {"ESTADOCOB", 2},
          {"ENDERECOENT", 60}, {"BAIRROENT", 30},    {"CEPENT", 8},       {"CODCIDADEENT", 5},
          {"ESTADOENT", 2},    {"CONTATO", 50},      {"PESSOA_FJ", 1}}},
        {"FORNECE",
         {{"CODFORNEC", 6},    {"NOME", 50},        {"NOMEFANTASIA", 40}, {"CONTATO", 30},
          {"ENDERECO", 50},    {"BAIRRO", 30},      {"CEP", 8},           {"CODCIDADE", 5},
          {"NUMERO", 10},      {"COMPLEMENTO", 60}, {"ESTADO", 2},        {"INSCMUNICIPAL", 15},
          {"CGCCPF", 14},      {"INSCEST", 15},     {"OBSERVACAO", 100},  {"FONE", 15},
          {"FAX", 15},         {"CELULAR", 15},     {"HOMEPAGE", 30},     {"CAMPOLIVRE1", 20},
          {"CODMUNICIPIO", 7}, {"ATIVO", 1}}},
        {"CLASFISC", {{"CODIGONCM", 8}, {"CODNBM", 8}}},
        // RetornaCodCidade stores the source's city whole; BuscaCodCidade up to 30 characters
        // of city and of state.
        {"CIDADES", {{"CIDADE", 40}, {"ESTADO", 30}}}};
    for (const auto& [tabela, colunas] : minimas) {
        auto declaradas = ColunasDaTabela(bancos.Almuro(), tabela);
        for (const auto& [coluna, minima] : colunas) {
            EXPECT_GE(declaradas[coluna], minima) << tabela << "." << coluna;
        }
    }

    // Where a writer stores a source value without cutting it, the source decides.
    auto estoque = ColunasDaTabela(bancos.Tessaly(), "ESTOQUE");
    auto fornecedor = ColunasDaTabela(bancos.Tessaly(), "FORNECEDOR");
    auto cliente = ColunasDaTabela(bancos.Tessaly(), "CLIENTE");
    auto produto = ColunasDaTabela(bancos.Almuro(), "PRODUTO");
    auto detalhe = ColunasDaTabela(bancos.Almuro(), "PRODUTODETALHE");
    auto fornece = ColunasDaTabela(bancos.Almuro(), "FORNECE");
    auto cidades = ColunasDaTabela(bancos.Almuro(), "CIDADES");
    EXPECT_GE(produto["REFERENCIA"], estoque["BARRAS"]);
    EXPECT_GE(detalhe["PIS_CST"], estoque["PIS_ST"]);
    EXPECT_GE(detalhe["PISENT_CST"], estoque["PIS_ST_ENTRADA"]);
    EXPECT_GE(detalhe["COFINS_CST"], estoque["COFINS_ST"]);
    EXPECT_GE(detalhe["COFINSENT_CST"], estoque["COFINS_ST_ENTRADA"]);
    EXPECT_GE(detalhe["CODCSOSN"], estoque["CSOSN"]);
    EXPECT_GE(fornece["EMAIL"], fornecedor["EMAIL"]);
    EXPECT_GE(cidades["CIDADE"], std::max(cliente["CIDADE"], fornecedor["CIDADE"]));
    EXPECT_GE(cidades["CIDADE"], std::max(cliente["CIDADE_ENTREGA"], cliente["CIDADE_COBRANCA"]));
    EXPECT_GE(cidades["ESTADO"], std::max(cliente["UF"], fornecedor["UF"]));
}

TEST_F(EsquemaTest, DestinoAceitaOLiteralDoDialeto1EDatasComPontos) {
    apoio::Executa(bancos.Almuro(),
                   "Insert Into Cliente (cliente.codCliente, cliente.nome, cliente.dt_nascimento, "
                   "cliente.dt_cadastro, cliente.Ativo, cliente.CliBloqueado, "
                   "cliente.maladiretaeletr, cliente.protestarcliente) Values ('00000012', "
                   "'José D''Ávila', '15.03.2010', '09.12.2011', 'S', \"N\", \"N\", \"N\")");
    auto linhas = Linhas(bancos.Almuro(),
                         "SELECT CODCLIENTE, NOME, DT_NASCIMENTO, CLIBLOQUEADO, "
                         "MALADIRETAELETR, PROTESTARCLIENTE, USUARIO FROM CLIENTE");
    ASSERT_EQ(linhas.size(), 1u);
    EXPECT_EQ(linhas[0],
              (apoio::TLinha{"00000012", "José D'Ávila", "15/03/2010", "N", "N", "N", "SYSDBA"}));
}

TEST_F(EsquemaTest, ChaveRepetidaERecusadaENaoChaveAceitaNulo) {
    for (const auto& [tabela, chave, valor] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"PRODUTO", "CODPROD", "000001"},
             {"PRODUTODETALHE", "CODPROD", "000001"},
             {"CLIENTE", "CODCLIENTE", "00000001"},
             {"FORNECE", "CODFORNEC", "000001"},
             {"CLASFISC", "CODCLASFIS", "0001"},
             {"UNIDADES", "UNIDADE", "UN"},
             {"CIDADES", "CODCIDADE", "00001"}}) {
        apoio::InsereLinhas(bancos.Almuro(), tabela, {chave}, {{valor}});
        EXPECT_THROW(apoio::InsereLinhas(bancos.Almuro(), tabela, {chave}, {{valor}}), EBancoDados)
            << tabela;
        bancos.Almuro().Transacao().Desfaz();
        EXPECT_EQ(apoio::ContaLinhas(bancos.Almuro(), tabela), 1) << tabela;
    }
}

// The source statements of the three mappings, exactly as they read the source.
TEST_F(EsquemaTest, OrigemRespondeAsConsultasDasTresConversoes) {
    const char* const consultas[] = {
        "SELECT CODIGO, BARRAS, NOME, CARACTERISTICA, COD_TRIB, UND_COMPRA, UND_VENDA, NCM, ICMS, "
        "CSOSN, PRECO_CONSUMIDOR, PIS_ALIQ, PIS_ST, COFINS_ALIQ, COFINS_ST, CSOSN, "
        "PIS_ST_ENTRADA, COFINS_ST_ENTRADA, PIS_ALIQ_ENTRADA, COFINS_ALIQ_ENTRADA FROM ESTOQUE",
        "SELECT SIT_TRIBUTARIA FROM CLFISCAL WHERE CODIGO = '001'",
        "SELECT CODIGO, NOME, NOME_FANTASIA, ENDERECO, NUMERO, CIDADE, UF, BAIRRO, CEP, CNPJ, "
        "CPF, IE, FISICA_JURIDICA, CONTATO, TELEFONE, CELULAR, FAX, EMAIL, ENDERECO_ENTREGA, "
        "NUMERO_ENTREGA, DATA_NASC, CIDADE_ENTREGA, UF_ENTREGA, BAIRRO_ENTREGA, "
        "ENDERECO_COBRANCA, NUMERO_COBRANCA, CEP_COBRANCA, CIDADE_COBRANCA, UF_COBRANCA, "
        "BAIRRO_COBRANCA FROM CLIENTE",
        "SELECT CODIGO, NOME, NOME_FANTASIA, ENDERECO, NUMERO, CIDADE, UF, BAIRRO, CEP, CNPJ, "
        "CPF, IE, COMPLEMENTO, CONTATO, TELEFONE, CELULAR, FAX, EMAIL FROM FORNECEDOR"};
    for (const char* sql : consultas) {
        EXPECT_NO_THROW(Linhas(bancos.Tessaly(), sql)) << sql;
    }
    EXPECT_EQ(apoio::Campos(bancos.Tessaly(), consultas[0]).size(), 20u);
    EXPECT_EQ(apoio::Campos(bancos.Tessaly(), consultas[2]).size(), 30u);
    EXPECT_EQ(apoio::Campos(bancos.Tessaly(), consultas[3]).size(), 18u);

    // The product code is characters 3 to 8 of an eight-character code; the counters read the
    // codes as integers, and the date of birth arrives as a date.
    apoio::InsereLinhas(bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME", "PRECO_CONSUMIDOR"},
                        {{"00000123", "Café Torrado 500g", "12.3456"}});
    apoio::InsereLinhas(bancos.Tessaly(), "CLIENTE", {"CODIGO", "NOME", "CPF", "DATA_NASC"},
                        {{"5", "Ana", "123.456.789-09", "1975-03-15"}});
    EXPECT_EQ(Linhas(bancos.Tessaly(), "SELECT CODIGO, NOME, PRECO_CONSUMIDOR FROM ESTOQUE"),
              (std::vector<apoio::TLinha>{{"00000123", "Café Torrado 500g", "12.3456"}}));
    EXPECT_EQ(Linhas(bancos.Tessaly(), "SELECT CODIGO, CPF, DATA_NASC FROM CLIENTE"),
              (std::vector<apoio::TLinha>{{"5", "123.456.789-09", "15/03/1975"}}));
}

}  // namespace
