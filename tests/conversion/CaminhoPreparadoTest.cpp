// The writers' statements run three ways, literally (each text prepared anew), as prepared
// statements with their literals bound, and held in blocks of many records, must store the very
// same bytes: on records made to be hard (quotes, backslashes, WIN1252 characters, blanks, long
// values, numbers near the limits and with many decimals, dates in every form the setters take)
// and on a whole sample site. A refused record fails the same way on every path: same text,
// same place, numbers the engine cannot take as literals included.
#include "app/logica/LogicaPrincipal.h"
#include "app/logica/ProblemaDaConferencia.h"
#include "conversion/ComandoLiteral.h"
#include "conversion/Firebird.h"
#include "conversion/LoteComandos.h"
#include "conversion/clients/classConversaoCliente.h"
#include "conversion/products/ClassConverteProdutoDetalhe.h"
#include "conversion/products/classConverteProduto.h"
#include "conversion/suppliers/classConverteFornecedor.h"
#include "schema/amostra/GeradorAmostra.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/JanelaFalsa.h"
#include "tests/apoio/LogicaTeste.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace Firebird;

namespace {

using TBytes = std::vector<std::vector<std::string>>;

// Every row of a table in key order, each column as the bytes the engine hands out ("-" for
// NULL; a VARCHAR's length and characters, the whole value of anything else). DT_ALTERACAO is
// left out: the database stamps it with the moment of the insert.
TBytes Bytes(TBancoFirebird& banco, const std::string& tabela, const std::string& chave) {
    fb::Status st;
    IStatement* s = banco.Attachment()->prepare(
        &st, banco.TransacaoAtiva(), 0, ("select * from " + tabela + " order by " + chave).c_str(),
        1, 0);
    st.Verifica();
    IMessageMetadata* meta = s->getOutputMetadata(&st);
    IResultSet* rs = s->openCursor(&st, banco.TransacaoAtiva(), nullptr, nullptr, meta, 0);
    st.Verifica();
    std::vector<unsigned char> buf(meta->getMessageLength(&st));
    TBytes linhas;
    while (rs->fetchNext(&st, buf.data()) == IStatus::RESULT_OK) {
        std::vector<std::string> linha;
        for (unsigned i = 0; i < meta->getCount(&st); ++i) {
            if (std::string(meta->getField(&st, i)) == "DT_ALTERACAO")
                continue;
            const char* p = reinterpret_cast<const char*>(buf.data() + meta->getOffset(&st, i));
            unsigned n = meta->getLength(&st, i);
            if (*reinterpret_cast<const short*>(buf.data() + meta->getNullOffset(&st, i))) {
                linha.emplace_back("-");
                continue;
            }
            if (meta->getType(&st, i) == SQL_VARYING)
                n = 2 + *reinterpret_cast<const unsigned short*>(p);
            linha.emplace_back(std::string(meta->getField(&st, i)) + "=" + std::string(p, n));
        }
        linhas.push_back(std::move(linha));
    }
    rs->close(&st);
    meta->release();
    s->free(&st);
    st.Verifica();
    return linhas;
}

class TValores {
  public:
    explicit TValores(std::uint64_t semente) : g_(semente) {}

    int Ate(int n) { return static_cast<int>(g_() % static_cast<unsigned>(n)); }

    std::string Texto() {
        static const std::vector<std::string> pedacos = {
            "'",    "''",   "\"",   "\\",   "a",    "Z",    " ", "\xE9", "\xC7",
            "\xE3", "\x80", "\x89", "\xA0", "\xBF", "\xFF", "0", "-1.5", "1E5",
            ":P",   "?",    "--",   "NULL", ",",    ")",    "\t"};
        const int tipo = Ate(100);
        if (tipo < 12)
            return {};
        if (tipo < 20)
            return std::string(static_cast<size_t>(1 + Ate(4)), ' ');
        const int n = tipo < 23 ? 40 + Ate(200) : 1 + Ate(3);
        std::string r;
        for (int i = 0; i < n; ++i)
            r += pedacos[static_cast<size_t>(Ate(static_cast<int>(pedacos.size())))];
        return r;
    }

    double Numero() {
        static const std::vector<double> dificeis = {0,
                                                     -0.0,
                                                     1,
                                                     -1,
                                                     0.1,
                                                     1.0 / 3,
                                                     -2.0 / 3,
                                                     9.99,
                                                     99.999,
                                                     99999.9999,
                                                     999999.99,
                                                     12345678.9012,
                                                     1e-7,
                                                     1.23456789012345e-5,
                                                     123.456789012345,
                                                     1e15,
                                                     -1.5e20,
                                                     2147483647,
                                                     2147483648.0,
                                                     0.00005,
                                                     1e-300,
                                                     1.5e-300,
                                                     1.23456789012345e-294,
                                                     1.7976931348623e308};
        if (Ate(3) == 0) {
            const double inteiro = static_cast<double>(Ate(2000000)) - 1000000;
            return inteiro / std::pow(10.0, Ate(9));
        }
        return dificeis[static_cast<size_t>(Ate(static_cast<int>(dificeis.size())))];
    }

    std::string Data() {
        static const std::vector<std::string> datas = {
            "15/03/2010", "2010-03-15", "15.03.2010", "",   "  -   -",   "40252",
            "abc",        "31/02/2010", "1/1/1900",   "-5", "01/01/0100"};
        return datas[static_cast<size_t>(Ate(static_cast<int>(datas.size())))];
    }

  private:
    std::mt19937_64 g_;
};

// Switches the writers to the literal statements for as long as it lives.
struct TComandosLiterais {
    TComandosLiterais() { TConversao::DefineComandosLiterais(true); }
    ~TComandosLiterais() { TConversao::DefineComandosLiterais(false); }
};

// The outcome of one write: empty when stored, the database's message when refused.
std::string Resultado(const std::function<void()>& grava) {
    try {
        grava();
        return {};
    } catch (const std::exception& e) {
        return e.what();
    }
}

// Three empty targets and a writer of the same kind on each: L runs the literal statements, P
// the prepared ones, B holds them in blocks (the records L stored, so that no block is refused
// and every block carries many records; refusals have their own tests).
template <class TEscritor>
class TPar {
  public:
    TPar() {
        apoio::CriaBancoDoEsquema(literal_, dir_.Arquivo("l.fdb"), "almuro");
        apoio::CriaBancoDoEsquema(preparado_, dir_.Arquivo("p.fdb"), "almuro");
        apoio::CriaBancoDoEsquema(lotes_, dir_.Arquivo("b.fdb"), "almuro");
        lotes_.Lote().DefineUso(TLoteComandos::TUso::Sempre);
    }

    // Gives the writers the same values, writes with each, and checks they did the same.
    // novo: the write adds a row (an update does not).
    void Grava(const std::function<void(TEscritor&)>& valores,
               const std::function<void(TEscritor&)>& grava, bool novo = true) {
        valores(l);
        valores(p);
        valores(b);
        std::string rl, rp;
        {
            TComandosLiterais literais;
            rl = Resultado([&] { grava(l); });
        }
        rp = Resultado([&] { grava(p); });
        EXPECT_EQ(rl, rp) << "record " << registros;
        if (rl.empty()) {
            EXPECT_EQ(Resultado([&] { grava(b); }), "") << "record " << registros;
        }
        registros += novo;
        gravados += novo && rl.empty();
        l.LimpaCampos();
        p.LimpaCampos();
        b.LimpaCampos();
    }

    void ComparaTabela(const std::string& tabela, const std::string& chave) {
        literal_.Transacao().Confirma();
        preparado_.Transacao().Confirma();
        lotes_.Transacao().Confirma();
        const TBytes bl = Bytes(literal_, tabela, chave);
        for (TBancoFirebird* outro : {&preparado_, &lotes_}) {
            const TBytes bo = Bytes(*outro, tabela, chave);
            ASSERT_EQ(bl.size(), bo.size());
            for (size_t i = 0; i < bl.size(); ++i) {
                ASSERT_EQ(bl[i].size(), bo[i].size());
                for (size_t c = 0; c < bl[i].size(); ++c)
                    EXPECT_EQ(bl[i][c], bo[i][c]) << tabela << " row " << i;
            }
        }
        EXPECT_EQ(static_cast<int>(bl.size()), gravados);
        // The records must mostly go in, or the comparison would prove little; and they must
        // have gone in blocks of many.
        EXPECT_GT(gravados * 2, registros) << gravados << " of " << registros;
        const auto& lote = lotes_.Lote().Contagem();
        EXPECT_GT(lote.emBlocos, 4 * lote.blocos);
    }

  private:
    apoio::TDiretorioTemporario dir_;
    TBancoFirebird literal_{1};
    TBancoFirebird preparado_{1};
    TBancoFirebird lotes_{1};
    TMensagensGravadas avisos_;

  public:
    TEscritor l{literal_, avisos_};
    TEscritor p{preparado_, avisos_};
    TEscritor b{lotes_, avisos_};
    int registros = 0, gravados = 0;
};

constexpr int kRegistros = 300;

TEST(CaminhoPreparadoTest, ProdutosIguaisByteAByte) {
    using T = TConverteProduto;
    const std::vector<void (T::*)(const std::string&)> textos = {
        &T::SetTipoProd,        &T::SetAtivo,           &T::SetProdBloqueado, &T::SetControleSerie,
        &T::SetReferencia,      &T::SetRefFabricante,   &T::SetDescricao,     &T::SetDescricao2,
        &T::SetDescricao3,      &T::SetFornecUltEnt1,   &T::SetCodGrupo,      &T::SetCodSubGrupo,
        &T::SetPrincipalFornec, &T::SetEmbalagem,       &T::SetCodFabric,     &T::SetObservacao,
        &T::SetCodLocal,        &T::SetCodClasFis,      &T::SetCodTribut00,   &T::SetSubsTrib,
        &T::SetUnidadeEnt,      &T::SetUnidadeSaida,    &T::SetCodFamilia,    &T::SetCodTipoProduto,
        &T::SetDescricaoPreco,  &T::SetDescricaoPreco2, &T::SetCampoLivre1,   &T::SetCampoLivre4,
        &T::SetMensagem00,      &T::SetMensagemDiversos};
    const std::vector<void (T::*)(double)> numeros = {&T::SetPreco,
                                                      &T::SetPreco2,
                                                      &T::SetPeso,
                                                      &T::SetAliqIcmsReg00,
                                                      &T::SetBaseIcmsReg00,
                                                      &T::SetAliqIcmsPdv,
                                                      &T::SetValorIpi,
                                                      &T::SetPercBaseSubsTribSaidaR1,
                                                      &T::SetPercIcmsSubsTribSaidaR4};
    TPar<T> par;
    TValores v(20261209);
    for (int i = 0; i < kRegistros; ++i) {
        std::vector<std::string> t;
        for (size_t k = 0; k < textos.size(); ++k)
            t.push_back(v.Ate(12) ? std::string(1, static_cast<char>('A' + v.Ate(26))) : v.Texto());
        std::vector<double> n;
        for (size_t k = 0; k < numeros.size(); ++k)
            n.push_back(v.Numero());
        const std::string cadastro = v.Ate(2) ? v.Data() : std::string();
        const double ultEnt = v.Ate(2) ? 40252.0 + v.Ate(5000) : 0;
        par.Grava(
            [&](T& e) {
                e.SetCodProd(std::to_string(i + 1));
                for (size_t k = 0; k < textos.size(); ++k)
                    (e.*textos[k])(t[k]);
                for (size_t k = 0; k < numeros.size(); ++k)
                    (e.*numeros[k])(n[k]);
                e.SetDtCadastro(cadastro);
                if (ultEnt)
                    e.DataUltEnt1 = ultEnt;
            },
            [](T& e) { e.Insere(); });
    }
    par.ComparaTabela("PRODUTO", "CODPROD");
}

TEST(CaminhoPreparadoTest, DetalhesIguaisByteAByte) {
    using T = TConverteProdutoDetalhe;
    TPar<T> par;
    TValores v(7);
    for (int i = 0; i < kRegistros; ++i) {
        std::vector<double> n;
        for (int k = 0; k < 4; ++k)
            n.push_back(v.Numero());
        std::vector<std::string> t;
        for (int k = 0; k < 5; ++k)
            t.push_back(v.Ate(3) ? std::to_string(v.Ate(100)) : v.Texto());
        par.Grava(
            [&](T& e) {
                e.SetCodProd(std::to_string(100000 + i));
                e.SetAliqPis(n[0]);
                e.SetAliqCofins(n[1]);
                e.SetAliqPisEnt(n[2]);
                e.SetAliqCofinsEnt(n[3]);
                e.SetPisCst(t[0]);
                e.SetCofinsCst(t[1]);
                e.SetPisEntCst(t[2]);
                e.SetCofinsEntCst(t[3]);
                e.SetCodCsosn(t[4]);
            },
            [](T& e) { e.Insere(); });
    }
    par.ComparaTabela("PRODUTODETALHE", "CODPROD");
}

TEST(CaminhoPreparadoTest, ClientesIncluidosEAlteradosIguaisByteAByte) {
    using T = TConverteCliente;
    const std::vector<void (T::*)(const std::string&)> textos = {
        &T::SetNome,      &T::SetNomeFantasia, &T::SetEndereco,     &T::SetBairro,
        &T::SetCodCidade, &T::SetEstado,       &T::SetCep,          &T::SetCgcCpf,
        &T::SetInscEst,   &T::SetPessoaFJ,     &T::SetFone,         &T::SetFax,
        &T::SetCelular,   &T::SetCampoLivre1,  &T::SetCampoLivre10, &T::SetObservacao,
        &T::SetEmail,     &T::SetEnderecoCob,  &T::SetEstadoEnt,    &T::SetContato,
        &T::SetAtivo,     &T::SetCliBloqueado};
    TPar<T> par;
    TValores v(42);
    auto valores = [&](int i) {
        std::vector<std::string> t;
        for (size_t k = 0; k < textos.size(); ++k)
            t.push_back(v.Ate(4) ? std::string(1, static_cast<char>('a' + v.Ate(26))) : v.Texto());
        const std::string nascimento = v.Ate(2) ? v.Data() : std::string();
        const std::string cadastro = v.Ate(2) ? v.Data() : std::string();
        return [=, &textos](T& e) {
            e.SetCodCliente(std::to_string(i + 1));
            for (size_t k = 0; k < textos.size(); ++k)
                (e.*textos[k])(t[k]);
            e.SetDtNascimento(nascimento);
            e.SetDtCadastro(cadastro);
        };
    };
    for (int i = 0; i < kRegistros; ++i) {
        par.Grava(valores(i), [](T& e) { e.Grava(TConverteCliente::kInsere); });
        if (i % 2)
            par.Grava(
                valores(i), [](T& e) { e.Grava(TConverteCliente::kAltera); }, false);
    }
    par.ComparaTabela("CLIENTE", "CODCLIENTE");
}

TEST(CaminhoPreparadoTest, FornecedoresIguaisByteAByte) {
    using T = TConverteFornece;
    const std::vector<void (T::*)(const std::string&)> textos = {
        &T::SetNome,        &T::SetNomeFantasia, &T::SetContato,       &T::SetEndereco,
        &T::SetBairro,      &T::SetCep,          &T::SetCodCidade,     &T::SetNumero,
        &T::SetComplemento, &T::SetEstado,       &T::SetInscMunicipal, &T::SetPessoaFJ,
        &T::SetCgcCpf,      &T::SetInscEst,      &T::SetObservacao,    &T::SetFone,
        &T::SetEmail,       &T::SetCampoLivre2,  &T::SetAtivo,         &T::SetTipoFornece,
        &T::SetCodMunicipio};
    TPar<T> par;
    TValores v(99);
    for (int i = 0; i < kRegistros; ++i) {
        std::vector<std::string> t;
        for (size_t k = 0; k < textos.size(); ++k)
            t.push_back(v.Ate(4) ? std::string(1, static_cast<char>('0' + v.Ate(10))) : v.Texto());
        par.Grava(
            [&](T& e) {
                e.SetCodFornec(std::to_string(i + 1));
                for (size_t k = 0; k < textos.size(); ++k)
                    (e.*textos[k])(t[k]);
            },
            [](T& e) { e.Insere(); });
    }
    par.ComparaTabela("FORNECE", "CODFORNEC");
}

enum class TCaminho { Literal, Preparado, Lotes };

// A run with the writers' statements on one path.
bool ConverteNoCaminho(TLogicaPrincipal& logica, TCaminho caminho) {
    logica.dbAlmuro.Lote().DefineUso(caminho == TCaminho::Lotes ? TLoteComandos::TUso::Sempre
                                                                : TLoteComandos::TUso::Nunca);
    TConversao::DefineComandosLiterais(caminho == TCaminho::Literal);
    const bool ok = logica.EfetuaConversao();
    TConversao::DefineComandosLiterais(false);
    return ok;
}

// A whole run of each kind over a sample site, once each way, into copies of its empty target:
// every table the run writes holds the same bytes.
TEST(CaminhoPreparadoTest, AmostraIgualNosTresCaminhos) {
    apoio::TDiretorioTemporario dir;
    TOpcoesAmostra opcoes;
    opcoes.diretorio = dir.Caminho().string();
    opcoes.linhas = 150;
    opcoes.semente = 5;
    TGeradorAmostra(opcoes).Gera();
    const std::filesystem::path vazio = dir.Caminho() / TGeradorAmostra::kAlmuro;

    struct TTipo {
        TTipoConversao tipo;
        const char* planilha;
        std::vector<std::pair<const char*, const char*>> tabelas;
    };
    const std::vector<std::pair<const char*, const char*>> consultas = {
        {"CLASFISC", "CODCLASFIS"}, {"UNIDADES", "UNIDADE"}, {"CIDADES", "CODCIDADE"}};
    const std::vector<TTipo> tipos = {
        {TTipoConversao::Produtos,
         TGeradorAmostra::kProdutos,
         {{"PRODUTO", "CODPROD"}, {"PRODUTODETALHE", "CODPROD"}}},
        {TTipoConversao::Clientes, TGeradorAmostra::kCadastros, {{"CLIENTE", "CODCLIENTE"}}},
        {TTipoConversao::Fornecedores, TGeradorAmostra::kCadastros, {{"FORNECE", "CODFORNEC"}}}};
    const TCaminho caminhos[] = {TCaminho::Literal, TCaminho::Preparado, TCaminho::Lotes};
    int n = 0;
    for (const auto& tipo : tipos) {
        std::vector<TBytes> porCaminho[3];
        for (int c = 0; c < 3; ++c) {
            const std::string alvo = dir.Arquivo("alvo" + std::to_string(n++) + ".fdb");
            std::filesystem::copy_file(vazio, alvo);
            TMensagensGravadas mensagens;
            TProgressoGravado progresso;
            TArquivosFila arquivos;
            TLogicaPrincipal logica(mensagens, progresso, arquivos);
            logica.FormCreate();
            logica.AbreAlmuro(alvo);
            logica.AbreTessaly(dir.Arquivo(TGeradorAmostra::kTessaly));
            logica.AbrePlanilha(dir.Arquivo(tipo.planilha));
            logica.DMCotrolaExcel.SelecionaAba(1);
            logica.DefineTipo(tipo.tipo);
            logica.CarregaDadosExcel();
            ASSERT_TRUE(ConverteNoCaminho(logica, caminhos[c]))
                << (mensagens.todas.empty() ? "" : mensagens.todas.back().texto);
            if (caminhos[c] == TCaminho::Lotes) {
                EXPECT_GT(logica.dbAlmuro.Lote().Contagem().emBlocos, 100);
            }
            auto tabelas = tipo.tabelas;
            tabelas.insert(tabelas.end(), consultas.begin(), consultas.end());
            for (const auto& [tabela, chave] : tabelas)
                porCaminho[c].push_back(Bytes(logica.dbAlmuro, tabela, chave));
            logica.dbAlmuro.Transacao().Desfaz();
        }
        EXPECT_FALSE(porCaminho[0][0].empty());
        for (int c = 1; c < 3; ++c) {
            ASSERT_EQ(porCaminho[0].size(), porCaminho[c].size());
            for (size_t t = 0; t < porCaminho[0].size(); ++t)
                EXPECT_EQ(porCaminho[0][t], porCaminho[c][t]) << "path " << c << " table " << t;
        }
    }
}

// What a failed run showed and what it left in PRODUTO, on one path.
struct TFalha {
    std::string erro;
    std::vector<apoio::TLinha> produtos;
};

TFalha FalhaNoCaminho(TCaminho caminho, const std::function<void(apoio::TLogicaTeste&)>& prepara) {
    apoio::TLogicaTeste t;
    apoio::Executa(t.bancos.Almuro(),
                   "insert into PRODUTO (CODPROD, DESCRICAO) values ('000999', 'antigo')");
    prepara(t);
    t.logica.DefineTipo(TTipoConversao::Produtos);
    EXPECT_FALSE(ConverteNoCaminho(t.logica, caminho));
    TFalha f;
    const auto erros = t.mensagens.Textos("Erro");
    f.erro = erros.empty() ? std::string() : erros.back();
    // Each run has a target of its own: its path is all that may differ.
    const std::string& alvo = t.bancos.CaminhoAlmuro();
    if (const size_t p = f.erro.find(alvo); p != std::string::npos)
        f.erro.replace(p, alvo.size(), "ALVO");
    t.bancos.Almuro().Transacao().Confirma();
    f.produtos = apoio::Linhas(t.bancos.Almuro(), "select CODPROD, DESCRICAO from PRODUTO");
    return f;
}

// The same failure on the three paths, named at the given place.
void FalhaIgualNosTresCaminhos(const std::function<void(apoio::TLogicaTeste&)>& prepara,
                               const std::string& lugar, const std::string& texto) {
    const TFalha literal = FalhaNoCaminho(TCaminho::Literal, prepara);
    EXPECT_NE(literal.erro.find("\r" + lugar + ": "), std::string::npos) << literal.erro;
    EXPECT_NE(literal.erro.find(texto), std::string::npos) << literal.erro;
    EXPECT_EQ(literal.produtos, (std::vector<apoio::TLinha>{{"000999", "antigo"}}));
    for (TCaminho outro : {TCaminho::Preparado, TCaminho::Lotes}) {
        const TFalha f = FalhaNoCaminho(outro, prepara);
        EXPECT_EQ(f.erro, literal.erro);
        EXPECT_EQ(f.produtos, literal.produtos);
    }
}

// Thirty records of each source, one of them refused by the target: the records before it went
// in blocks, and the block that holds it is refused whole; the run names that very record with
// the engine's text for its statement, as a record-by-record run does.
TEST(CaminhoPreparadoTest, RecusaDentroDeUmBlocoNomeiaORegistroComOTextoDoMotor) {
    auto site = [](apoio::TLogicaTeste& t, int precoRuimNaOrigem, int precoRuimNaPlanilha) {
        apoio::Executa(t.bancos.Almuro(),
                       "alter table PRODUTO add constraint PRECO_DE_VERDADE check (PRECO < 1000)");
        std::vector<std::vector<std::optional<std::string>>> estoque;
        std::vector<std::vector<std::string>> planilha = {{"h"}};
        for (int i = 1; i <= 30; ++i) {
            char codigo[16];
            std::snprintf(codigo, sizeof codigo, "%08d", i);
            estoque.push_back(
                {codigo, "Produto " + std::to_string(i), i == precoRuimNaOrigem ? "5000" : "10"});
            planilha.push_back({"x", "Da planilha " + std::to_string(i), "", "", "UN",
                                i == precoRuimNaPlanilha ? "5000" : "2"});
        }
        apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME", "PRECO_CONSUMIDOR"},
                            estoque);
        t.Planilha(6, planilha);
    };
    const std::string motor = "PRECO_DE_VERDADE";
    FalhaIgualNosTresCaminhos([&](apoio::TLogicaTeste& t) { site(t, 17, 0); },
                              "banco TESSALY, tabela ESTOQUE, CODIGO 00000017", motor);
    // Sheet row 21 is the 20th record after the heading.
    FalhaIgualNosTresCaminhos([&](apoio::TLogicaTeste& t) { site(t, 0, 20); }, "planilha, linha 21",
                              motor);
}

// A check lists every refused record; with the rows held in blocks it lists the very same
// problems, each at its record's place with the engine's text, and keeps the same account.
TEST(CaminhoPreparadoTest, ConferenciaComBlocosListaOsMesmosProblemas) {
    std::vector<std::string> porCaminho[2];
    for (int lotes = 0; lotes < 2; ++lotes) {
        apoio::TLogicaTeste t;
        apoio::Executa(t.bancos.Almuro(),
                       "alter table PRODUTO add constraint PRECO_DE_VERDADE check (PRECO < 1000)");
        std::vector<std::vector<std::optional<std::string>>> estoque;
        std::vector<std::vector<std::string>> planilha = {{"h"}};
        for (int i = 1; i <= 40; ++i) {
            char codigo[16];
            std::snprintf(codigo, sizeof codigo, "%08d", i);
            estoque.push_back({codigo, "Produto " + std::to_string(i), i % 7 ? "10" : "5000"});
            planilha.push_back({"x", "Da planilha " + std::to_string(i), "", "", "UN",
                                i % 9 ? "2" : (i == 27 ? "1e-310" : "7000")});
        }
        apoio::InsereLinhas(t.bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME", "PRECO_CONSUMIDOR"},
                            estoque);
        t.Planilha(6, planilha);
        t.logica.DefineTipo(TTipoConversao::Produtos);
        t.logica.DefineConferencia(true);
        t.logica.dbAlmuro.Lote().DefineUso(lotes ? TLoteComandos::TUso::Sempre
                                                 : TLoteComandos::TUso::Nunca);
        t.logica.EfetuaConversao();
        const std::string& alvo = t.bancos.CaminhoAlmuro();
        for (const TProblema& p : t.logica.Relato().problemas) {
            std::string linha =
                p.origem + "|" + p.registro + "|" + p.coluna + "|" + p.lugar + "|" + p.texto;
            if (const size_t k = linha.find(alvo); k != std::string::npos)
                linha.replace(k, alvo.size(), "ALVO");
            porCaminho[lotes].push_back(linha);
        }
        porCaminho[lotes].push_back(
            t.logica.Relato().resumo.substr(0, t.logica.Relato().resumo.find("Tempo")));
        if (lotes) {
            EXPECT_GT(t.logica.dbAlmuro.Lote().Contagem().emBlocos, 0);
        }
    }
    // 5 source records and 4 sheet rows refused.
    EXPECT_EQ(porCaminho[0].size(), 10u);
    EXPECT_EQ(porCaminho[0], porCaminho[1]);
}

// Prices a double holds but the engine refuses to read from a literal: every path fails at the
// row, with the engine's refusal of the literal, instead of storing an infinity.
TEST(CaminhoPreparadoTest, PrecoQueOMotorRecusaComoLiteralFalhaNaLinha) {
    for (const char* preco : {"1e-310", "5e-324", "-1e-320", "1.7976931348623157e308"}) {
        FalhaIgualNosTresCaminhos(
            [&](apoio::TLogicaTeste& t) {
                t.Planilha(6, {{"h"},
                               {"x", "Certo", "", "", "UN", "2"},
                               {"x", "Errado", "", "", "UN", preco},
                               {"x", "Depois", "", "", "UN", "3"}});
            },
            "planilha, linha 3", "numeric value is out of range");
    }
}

// The engine's reading of a number with an exponent, tried in isql on a dialect-1 database:
// past 10^308 of scale, or beyond the largest double, it refuses the literal.
TEST(CaminhoPreparadoTest, NumerosQueOMotorRecusaComoLiteral) {
    auto recusa = [](const std::string& numero) {
        return TComandoLiteral("insert into T (A) values (" + numero + ")").MotorRecusa();
    };
    for (const char* n :
         {"1E-310", "9.99988671826831E-321", "4.94065645841247E-324", "2.2250738585072E-308",
          "-9.99988671826831E-321", "1.23456789012345E-295", "1.79769313486232E308", "1E309"})
        EXPECT_TRUE(recusa(n)) << n;
    for (const char* n : {"1E-300", "1.5E-300", "1.23456789012345E-294", "1.7976931348623E308",
                          "1E308", "-1.5E20", "0.00005"})
        EXPECT_FALSE(recusa(n)) << n;
}

// The binding rule itself, where the engine's own reading of a literal is known.
TEST(CaminhoPreparadoTest, LiteraisViramMarcadoresComOTipoDoDialeto1) {
    TComandoLiteral c(
        "Insert Into T (A1, B, C, D, E, F) Values ('it''s', -1.50, 1.5E2, NULL, 0.1, "
        "Produto.X2)");
    EXPECT_EQ(c.SqlParametrizado(),
              "Insert Into T (A1, B, C, D, E, F) Values (?, ?, ?, NULL, ?, "
              "Produto.X2)");
    ASSERT_EQ(c.Valores().size(), 4u);
    EXPECT_EQ(c.Valores()[0].texto, "it's");
    EXPECT_EQ(c.Valores()[1].tipo, TValorLiteral::Tipo::Exato);
    EXPECT_EQ(c.Valores()[1].inteiro, -150);
    EXPECT_EQ(c.Valores()[1].escala, 2);
    EXPECT_EQ(c.Valores()[2].tipo, TValorLiteral::Tipo::Duplo);
    EXPECT_EQ(c.Valores()[2].duplo, 150.0);
    EXPECT_EQ(c.Valores()[3].inteiro, 1);
    EXPECT_EQ(c.Valores()[3].escala, 1);
}

// Where the type of a bound value shows in the stored bytes: a VARCHAR keeps the text of an
// exact number as written (0.10, -7) and of an exponent number the engine's way, and a
// NUMERIC(9,4) takes an exponent number it would refuse as a text.
TEST(CaminhoPreparadoTest, ColunasOndeOTipoDoValorAparece) {
    apoio::TDiretorioTemporario dir;
    TBancoFirebird banco(1);
    banco.DefineNome(dir.Arquivo("n.fdb"));
    banco.CriaBanco();
    banco.ExecutaScript(
        "create table N (K integer, V numeric(9,4), A numeric(9,2), T varchar(30), "
        "U varchar(30), I varchar(30))");
    const std::string valores = ", 1.23456789012345E2, 1.005, 1.5E2, 0.10, -7)";
    TComandoLiteral("insert into N (K, V, A, T, U, I) values (1" + valores).Executa(banco);
    apoio::Executa(banco, "insert into N (K, V, A, T, U, I) values (2" + valores);
    TBytes linhas = Bytes(banco, "N", "K");
    ASSERT_EQ(linhas.size(), 2u);
    linhas[0].erase(linhas[0].begin());
    linhas[1].erase(linhas[1].begin());
    EXPECT_EQ(linhas[0], linhas[1]);
    EXPECT_EQ(apoio::Valor(banco, "select cast(A * 100 as integer) from N where K = 1"), "101");
}

}  // namespace

// Each sheet row brings a unit the target lacks, so its lookup runs with the rows held before it,
// in the same execution when it can: the refused row is still the run's failure, at its place
// with the engine's text, never a warning of the lookup that followed it.
TEST(CaminhoPreparadoTest, RecusaRetidaAntesDeUmaBuscaEFalhaDoRegistro) {
    FalhaIgualNosTresCaminhos(
        [](apoio::TLogicaTeste& t) {
            apoio::Executa(t.bancos.Almuro(),
                           "alter table PRODUTO add constraint "
                           "PRECO_DE_VERDADE check (PRECO < 1000)");
            std::vector<std::vector<std::string>> planilha = {{"h"}};
            for (int i = 1; i <= 30; ++i) {
                const std::string unidade = {static_cast<char>('A' + i / 26),
                                             static_cast<char>('A' + i % 26)};
                planilha.push_back({"x", "Da planilha " + std::to_string(i), "", "", unidade,
                                    i == 20 ? "5000" : "2"});
            }
            t.Planilha(6, planilha);
        },
        "planilha, linha 21", "PRECO_DE_VERDADE");
}

// The same refusal with the units' lookups gone ahead of the held rows: it surfaces at a later
// flush, and is still that record's.
TEST(CaminhoPreparadoTest, RecusaRetidaComBuscasAdianteEFalhaDoRegistro) {
    FalhaIgualNosTresCaminhos(
        [](apoio::TLogicaTeste& t) {
            apoio::Executa(t.bancos.Almuro(),
                           "create unique index NOME_UNICO on PRODUTO (DESCRICAO)");
            std::vector<std::vector<std::string>> planilha = {{"h"}};
            for (int i = 1; i <= 30; ++i) {
                const std::string unidade = {static_cast<char>('A' + i / 26),
                                             static_cast<char>('A' + i % 26)};
                planilha.push_back(
                    {"x", "Da planilha " + std::to_string(i == 20 ? 5 : i), "", "", unidade, "2"});
            }
            t.Planilha(6, planilha);
        },
        "planilha, linha 21", "NOME_UNICO");
}
