// The window's behaviour without widgets: the warnings of the conversion button and where they
// leave the focus, the workbook and database choices, the key rules, which mappings a kind runs
// and what the window shows after a run that failed.
#include "common/Erros.h"
#include "tests/apoio/LogicaTeste.h"
#include "tests/spreadsheet/ApoioPlanilhas.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace {

using apoio::TLinha;

const std::string kCabecalhoProdutos = "Codigo;Descricao;Barras;Grupo;Unidade;Preco\n";

// Rows 1 to n of a sheet, one number in column A each.
std::string LinhasXml(int n) {
    std::string d;
    for (int i = 1; i <= n; ++i) {
        const std::string r = std::to_string(i);
        d += "<row r=\"" + r + "\"><c r=\"A" + r + "\"><v>" + r + "</v></c></row>";
    }
    return d;
}

// Runs a callback whenever the logic lets window events run, as a real window would handle a
// key or a close request in the middle of a run.
class TProgressoComEventos : public TProgressoGravado {
  public:
    void ProcessaMensagens() override {
        TProgressoGravado::ProcessaMensagens();
        if (aoProcessar)
            aoProcessar();
    }
    std::function<void()> aoProcessar;
};

// The logic as the window first creates it: no database, no workbook.
struct TJanelaVazia {
    TJanelaVazia() { logica.FormCreate(); }
    apoio::TDiretorioTemporario dir;
    TMensagensGravadas mensagens;
    TProgressoComEventos progresso;
    TArquivosFila arquivos;
    TLogicaPrincipal logica{mensagens, progresso, arquivos};
};

class LogicaPrincipalTest : public ::testing::Test {
  protected:
    std::string Escreve(const std::string& nome, const std::string& conteudo) {
        const std::string caminho = j.dir.Arquivo(nome);
        std::ofstream(caminho, std::ios::binary) << conteudo;
        return caminho;
    }
    // Three sheets of 3, 7 and 5 used rows.
    std::string TresAbas() {
        const std::string caminho = j.dir.Arquivo("tres.xlsx");
        apoio_planilha::GravaZip(caminho, apoio_planilha::PacoteXlsx({{"Primeira", LinhasXml(3)},
                                                                      {"Segunda", LinhasXml(7)},
                                                                      {"Terceira", LinhasXml(5)}}));
        return caminho;
    }
    void Escolhe(const std::string& caminho) { j.arquivos.respostas.push_back(caminho); }
    // The messages of one press of the conversion button, as (caption, text).
    std::vector<std::pair<std::string, std::string>> Clica() {
        j.mensagens.todas.clear();
        j.logica.btOKClick();
        std::vector<std::pair<std::string, std::string>> r;
        for (const auto& m : j.mensagens.todas)
            r.emplace_back(m.tipo, m.texto);
        return r;
    }

    TJanelaVazia j;
};

TEST_F(LogicaPrincipalTest, AvisosDoBotaoNaOrdemComOFoco) {
    using M = std::vector<std::pair<std::string, std::string>>;
    // Nothing filled in: only the row number is asked for.
    EXPECT_EQ(Clica(), (M{{"Alerta", TLogicaPrincipal::kAvisoLinha}}));
    EXPECT_EQ(j.logica.Foco(), TControle::NumLinha);
    // A pasted text or a count no sheet can have is not a row number either.
    for (const std::string texto : {"12a", " 5", "-1", "1048577", "99999999999999999999"}) {
        j.logica.DefineNumLinha(texto);
        EXPECT_EQ(Clica(), (M{{"Alerta", TLogicaPrincipal::kAvisoLinha}})) << texto;
    }

    j.logica.DefineNumLinha("5");
    EXPECT_EQ(Clica(), (M{{"Alerta", TLogicaPrincipal::kAvisoCaminho}}));
    EXPECT_EQ(j.logica.Foco(), TControle::Btabrir);

    Escolhe(TresAbas());
    j.logica.BtabrirClick();
    j.logica.DigitaPlanilha("Quarta");
    EXPECT_EQ(Clica(), (M{{"Alerta", TLogicaPrincipal::kAvisoPlanilha}}));
    EXPECT_EQ(j.logica.Foco(), TControle::MostraPlanilha);

    // None of them got as far as the run.
    EXPECT_TRUE(j.logica.ControlesHabilitados());
    EXPECT_FALSE(j.logica.EmExecucao());
    EXPECT_EQ(j.logica.cdsTabelaTemp.TotalRegistros(), 0);
    EXPECT_TRUE(j.progresso.legendas.empty());
}

TEST_F(LogicaPrincipalTest, NumLinhaSegueAAbaMostrada) {
    Escolhe(TresAbas());
    j.logica.BtabrirClick();
    EXPECT_EQ(j.arquivos.filtros, (std::vector<std::string>{TLogicaPrincipal::kFiltroPlanilha}));
    EXPECT_EQ(j.logica.Planilhas(), (std::vector<std::string>{"Primeira", "Segunda", "Terceira"}));
    EXPECT_EQ(j.logica.IndicePlanilha(), 0);
    EXPECT_EQ(j.logica.TextoPlanilha(), "Primeira");
    EXPECT_EQ(j.logica.NumLinha(), "3");  // the sheet shown, not the last one listed

    j.logica.EscolhePlanilha(1);
    EXPECT_EQ(j.logica.NumLinha(), "7");
    j.logica.DigitaPlanilha("TERCEIRA");
    EXPECT_EQ(j.logica.IndicePlanilha(), 2);
    EXPECT_EQ(j.logica.NumLinha(), "5");

    // A text that names no sheet deselects; the row number the operator sees stays.
    j.logica.DefineNumLinha("4");
    j.logica.DigitaPlanilha("Terc");
    EXPECT_EQ(j.logica.IndicePlanilha(), -1);
    EXPECT_EQ(j.logica.NumLinha(), "4");
    j.logica.DigitaPlanilha("Segunda");
    EXPECT_EQ(j.logica.NumLinha(), "7");

    // The run stages the sheet chosen, up to the row stated.
    j.logica.DefineNumLinha("6");
    j.logica.btOKClick();
    EXPECT_EQ(j.logica.cdsTabelaTemp.TotalRegistros(), 6);
    EXPECT_EQ(j.logica.cdsTabelaTemp.Linha(5), (TLinha{"6"}));
}

TEST_F(LogicaPrincipalTest, DialogoCanceladoNaoMudaNada) {
    apoio::TBancosTeste bancos;
    Escolhe(TresAbas());
    Escolhe(bancos.CaminhoAlmuro());
    Escolhe(bancos.CaminhoTessaly());
    j.logica.BtabrirClick();
    j.logica.btAbrirAlmuroClick();
    j.logica.btnAbrirTessalyClick();
    j.logica.EscolhePlanilha(2);
    j.logica.DefineNumLinha("2");

    j.arquivos.respostas = {std::nullopt, std::nullopt, std::nullopt, std::string()};
    j.logica.BtabrirClick();
    j.logica.btAbrirAlmuroClick();
    j.logica.btnAbrirTessalyClick();
    j.logica.BtabrirClick();  // a dialog that answers an empty name
    EXPECT_EQ(
        j.arquivos.filtros,
        (std::vector<std::string>{TLogicaPrincipal::kFiltroPlanilha, TLogicaPrincipal::kFiltroBanco,
                                  TLogicaPrincipal::kFiltroBanco, TLogicaPrincipal::kFiltroPlanilha,
                                  TLogicaPrincipal::kFiltroBanco, TLogicaPrincipal::kFiltroBanco,
                                  TLogicaPrincipal::kFiltroPlanilha}));
    // Each dialog names what it chooses and opens where the last file of its box was, else where
    // the last file of any box was.
    const std::string pastaPlanilha = j.dir.Caminho().string();
    const std::string pastaBancos = bancos.Diretorio().Caminho().string();
    std::vector<std::pair<std::string, std::string>> pedidos;
    for (const auto& p : j.arquivos.pedidos)
        pedidos.emplace_back(p.titulo, p.pasta);
    EXPECT_EQ(pedidos, (std::vector<std::pair<std::string, std::string>>{
                           {"Escolher a planilha (KORVANE)", ""},
                           {"Escolher o banco ALMURO", pastaPlanilha},
                           {"Escolher o banco TESSALY", pastaBancos},
                           {"Escolher a planilha (KORVANE)", pastaPlanilha},
                           {"Escolher o banco ALMURO", pastaBancos},
                           {"Escolher o banco TESSALY", pastaBancos},
                           {"Escolher a planilha (KORVANE)", pastaPlanilha}}));
    EXPECT_EQ(j.logica.Caminho(), j.dir.Arquivo("tres.xlsx"));
    EXPECT_EQ(j.logica.Planilhas().size(), 3u);
    EXPECT_EQ(j.logica.IndicePlanilha(), 2);
    EXPECT_EQ(j.logica.NumLinha(), "2");
    EXPECT_EQ(j.logica.CaminhoAlmuro(), bancos.CaminhoAlmuro());
    EXPECT_EQ(j.logica.CaminhoTessaly(), bancos.CaminhoTessaly());
    EXPECT_TRUE(j.logica.dbAlmuro.Conectado());
    EXPECT_TRUE(j.logica.dbTessaly.Conectado());
    EXPECT_TRUE(j.mensagens.todas.empty());
}

TEST_F(LogicaPrincipalTest, OutroBancoTrocaAConexaoEFalhaDeixaOQueEstaConectado) {
    apoio::TBancosTeste primeiro, segundo;
    j.logica.AbreAlmuro(primeiro.CaminhoAlmuro());
    Escolhe(segundo.CaminhoAlmuro());
    j.logica.btAbrirAlmuroClick();
    EXPECT_EQ(j.logica.CaminhoAlmuro(), segundo.CaminhoAlmuro());
    EXPECT_EQ(j.logica.dbAlmuro.Nome(), segundo.CaminhoAlmuro());

    // A file that does not open: the error leaves the handler, the second file stays in use.
    Escolhe(j.dir.Arquivo("nao-existe.fdb"));
    EXPECT_THROW(j.logica.btAbrirAlmuroClick(), EBancoDados);
    EXPECT_EQ(j.logica.CaminhoAlmuro(), segundo.CaminhoAlmuro());
    ASSERT_TRUE(j.logica.dbAlmuro.Conectado());
    EXPECT_EQ(j.logica.dbAlmuro.Nome(), segundo.CaminhoAlmuro());
    apoio::Executa(j.logica.dbAlmuro, "insert into UNIDADES (UNIDADE) values ('CX')");
    EXPECT_EQ(apoio::ContaLinhas(segundo.Almuro(), "UNIDADES"), 1);
    EXPECT_EQ(apoio::ContaLinhas(primeiro.Almuro(), "UNIDADES"), 0);

    // With nothing connected before, a failed choice shows no path at all.
    Escolhe(j.dir.Arquivo("nao-existe.fdb"));
    EXPECT_THROW(j.logica.btnAbrirTessalyClick(), EBancoDados);
    EXPECT_EQ(j.logica.CaminhoTessaly(), "");
    EXPECT_FALSE(j.logica.dbTessaly.Conectado());
}

TEST_F(LogicaPrincipalTest, TeclasDoNumLinhaEEsc) {
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        const bool passa = c == 8 || (c >= '0' && c <= '9');
        EXPECT_EQ(TLogicaPrincipal::NumLinhaKeyPress(ch), passa ? ch : '\0') << c;
    }

    apoio::TBancosTeste bancos;
    j.logica.AbreAlmuro(bancos.CaminhoAlmuro());
    EXPECT_TRUE(j.logica.FormKeyDown(27));
    for (int tecla : {13, 32, int('Q'), 8, 0})
        EXPECT_FALSE(j.logica.FormKeyDown(tecla)) << tecla;
    j.logica.IniciaTransacao();
    EXPECT_FALSE(j.logica.FormKeyDown(27));
    j.logica.ConfirmaTransacao();
    EXPECT_TRUE(j.logica.FormKeyDown(27));
}

// A products run through the button, watched from inside its loops.
TEST_F(LogicaPrincipalTest, DuranteAConversaoNadaFechaNemMexeNosControles) {
    apoio::TBancosTeste bancos;
    apoio::InsereLinhas(bancos.Tessaly(), "ESTOQUE", {"CODIGO", "NOME", "UND_COMPRA", "UND_VENDA"},
                        {{"00000007", "Caneta", "UN", "UN"}});
    j.logica.AbreAlmuro(bancos.CaminhoAlmuro());
    j.logica.AbreTessaly(bancos.CaminhoTessaly());
    Escolhe(Escreve("produtos.csv", kCabecalhoProdutos + "1;Caderno;;;UN;12\n"));
    j.logica.BtabrirClick();
    EXPECT_EQ(j.logica.NumLinha(), "2");

    int vezes = 0, livres = 0;
    j.progresso.aoProcessar = [&] {
        ++vezes;
        if (j.logica.ControlesHabilitados() || !j.logica.EmExecucao() || j.logica.PodeFechar() ||
            j.logica.FormKeyDown(27))
            ++livres;
    };
    j.logica.btOKClick();
    EXPECT_GT(vezes, 0);
    EXPECT_EQ(livres, 0);
    EXPECT_EQ(j.mensagens.todas.size(), 1u);
    EXPECT_EQ(j.mensagens.Textos("Informação"),
              (std::vector<std::string>{TLogicaPrincipal::kSucesso}));
    EXPECT_TRUE(j.logica.ControlesHabilitados());
    EXPECT_TRUE(j.logica.PodeFechar());
    EXPECT_TRUE(j.logica.FormKeyDown(27));
    // Staging first, then the source database, then the sheet, then the commit.
    EXPECT_EQ(
        j.progresso.legendas,
        (std::vector<std::string>{
            "...", "Carregando dados do Excel, aguarde!", "Convertendo Produtos - Registro 1 de 1",
            "Convertendo Produtos, Aguarde!", TGravacaoDaConversao::kGravando}));
}

TEST_F(LogicaPrincipalTest, AlvoNuncaEscolhidoTerminaNoErroComProgressoLimpo) {
    Escolhe(Escreve("produtos.csv", kCabecalhoProdutos + "1;Caderno;;;UN;12\n2;Lapis;;;UN;1\n"));
    j.logica.BtabrirClick();
    j.logica.btOKClick();
    EXPECT_EQ(j.mensagens.Textos("Erro"),
              (std::vector<std::string>{std::string(TLogicaPrincipal::kPrefixoErro) +
                                        "\rO banco ALMURO não foi escolhido: escolha o "
                                        "arquivo do banco ALMURO antes de converter.\nCannot "
                                        "perform operation -- DB is not open"}));
    EXPECT_EQ(j.mensagens.todas.size(), 1u);
    EXPECT_EQ(j.logica.cdsTabelaTemp.TotalRegistros(), 3);
    EXPECT_EQ(j.progresso.ultimo.aguarde, "");
    EXPECT_EQ(j.progresso.ultimo.status, "");
    EXPECT_EQ(j.progresso.ultimo.barraPosicao, 0);
    EXPECT_EQ(j.progresso.ultimo.barraMaximo, 3);
    EXPECT_EQ(j.logica.Progresso().aguarde, "");
    EXPECT_TRUE(j.logica.ControlesHabilitados());
    EXPECT_FALSE(j.logica.EmExecucao());
}

TEST_F(LogicaPrincipalTest, CelulaComErroNaoTravaAJanela) {
    const std::string caminho = j.dir.Arquivo("erro.xlsx");
    apoio_planilha::GravaZip(
        caminho,
        apoio_planilha::PacoteXlsx({{"Dados",
                                     "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row><row r=\"2\">"
                                     "<c r=\"B2\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c></row>"}}));
    Escolhe(caminho);
    j.logica.BtabrirClick();
    EXPECT_EQ(j.logica.NumLinha(), "2");
    try {
        j.logica.btOKClick();
        ADD_FAILURE() << "the staging should have failed";
    } catch (const EPlanilha& e) {
        EXPECT_NE(std::string(e.what()).find("B2"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(j.logica.ControlesHabilitados());
    EXPECT_TRUE(j.logica.PodeFechar());
    EXPECT_TRUE(j.mensagens.todas.empty());
    EXPECT_EQ(j.logica.Progresso().aguarde, "");
    EXPECT_EQ(j.logica.Progresso().status, "");
    EXPECT_EQ(j.logica.Progresso().barraPosicao, 0);
    EXPECT_EQ(j.progresso.ultimo.aguarde, "");
}

// Which mappings a kind runs, told apart by the tables of the other kinds and by the progress
// captions of the products, so that nothing here depends on what the client and supplier
// mappings write.
class TipoDaConversaoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        apoio::Executa(t.bancos.Almuro(),
                       "insert into PRODUTO (CODPROD, DESCRICAO) values ('000001', 'antigo')");
        apoio::Executa(t.bancos.Almuro(),
                       "insert into CLIENTE (CODCLIENTE, NOME) values ('00000001', 'antigo')");
        apoio::Executa(t.bancos.Almuro(),
                       "insert into FORNECE (CODFORNEC, NOME) values ('000001', 'antigo')");
    }
    int Linhas(const std::string& tabela) {
        t.logica.ConfirmaTransacao();
        return apoio::ContaLinhas(t.bancos.Almuro(), tabela);
    }
    bool ConverteuProdutos() const {
        for (const auto& l : t.progresso.legendas) {
            if (l.rfind("Convertendo Produtos", 0) == 0)
                return true;
        }
        return false;
    }

    apoio::TLogicaTeste t;
};

TEST_F(TipoDaConversaoTest, ProdutosNaoTocaClientesNemFornecedores) {
    t.logica.DefineTipo(TTipoConversao::Produtos);
    EXPECT_TRUE(t.logica.EfetuaConversao());
    EXPECT_TRUE(ConverteuProdutos());
    EXPECT_EQ(Linhas("PRODUTO"), 0);
    EXPECT_EQ(Linhas("CLIENTE"), 1);
    EXPECT_EQ(Linhas("FORNECE"), 1);
}

TEST_F(TipoDaConversaoTest, ClienteEFornecedorNaoTocamProdutosNemOOutroTipo) {
    const std::vector<std::pair<TTipoConversao, std::string>> tipos = {
        {TTipoConversao::Clientes, "FORNECE"}, {TTipoConversao::Fornecedores, "CLIENTE"}};
    for (const auto& [tipo, outra] : tipos) {
        t.mensagens.todas.clear();
        t.progresso.legendas.clear();
        const int antes = Linhas(outra);
        t.logica.DefineTipo(tipo);
        t.logica.EfetuaConversao();
        EXPECT_FALSE(ConverteuProdutos());
        ASSERT_EQ(t.mensagens.todas.size(), 1u);
        EXPECT_NE(t.mensagens.todas.back().tipo, "Alerta");
        EXPECT_EQ(Linhas("PRODUTO"), 1);
        EXPECT_EQ(Linhas(outra), antes) << outra;
        EXPECT_FALSE(t.logica.dbAlmuro.Transacao().Ativa());
    }
}

// With no source database every kind fails in its source step: the run's reason is the one
// that step gives alone, not a complaint of the sheet step about a sheet it cannot read.
TEST(OrdemDosMapeamentosTest, OBancoDeOrigemVemAntesDaPlanilha) {
    apoio::TBancosTeste bancos;
    const std::vector<std::pair<TTipoConversao, void (TLogicaPrincipal::*)()>> tipos = {
        {TTipoConversao::Produtos, &TLogicaPrincipal::ConverteProdutosBanco},
        {TTipoConversao::Clientes, &TLogicaPrincipal::ConverteClientesBanco},
        {TTipoConversao::Fornecedores, &TLogicaPrincipal::ConverteFornecedoresBanco}};
    for (const auto& [tipo, banco] : tipos) {
        TJanelaVazia j;
        j.logica.AbreAlmuro(bancos.CaminhoAlmuro());
        j.logica.DefineTipo(tipo);
        // A sheet of one column: every sheet step reads columns past the first.
        j.logica.cdsTabelaTemp.Recria(1);
        j.logica.cdsTabelaTemp.Acrescenta({"cabeçalho"});
        j.logica.cdsTabelaTemp.Acrescenta({"x"});
        EXPECT_FALSE(j.logica.EfetuaConversao());
        ASSERT_EQ(j.mensagens.Textos("Erro").size(), 1u);

        std::string sozinho;
        try {
            (j.logica.*banco)();
        } catch (const std::exception& e) {
            sozinho = e.what();
        }
        j.logica.DesfazTransacao();
        EXPECT_FALSE(sozinho.empty());
        EXPECT_EQ(j.mensagens.Textos("Erro")[0],
                  std::string(TLogicaPrincipal::kPrefixoErro) + "\r" + sozinho);
    }
}

}  // namespace
