// csv files as operators export them: either delimiter, either encoding, quoted fields.
#include <gtest/gtest.h>

#include "common/Erros.h"
#include "common/Win1252.h"
#include "spreadsheet/ControlaExcel.h"
#include "tests/spreadsheet/ApoioPlanilhas.h"

using namespace apoio_planilha;

namespace {

class Csv : public ::testing::Test {
  protected:
    void Abre(const std::string& conteudo, const std::string& nome = "dados.csv") {
        caminho_ = pasta_.Arquivo(nome);
        GravaArquivo(caminho_, conteudo);
        m_.AbreArquivoExcel(caminho_);
        m_.SelecionaAba(1);
    }
    std::vector<std::string> Linha(int l) {
        std::vector<std::string> r;
        for (int c = 1; c <= m_.UltimaColuna(); ++c)
            r.push_back(m_.LeCelula(c, l));
        return r;
    }
    TPastaTemporaria pasta_;
    std::string caminho_;
    TDMCotrolaExcel m_;
};

using V = std::vector<std::string>;
std::string Cp(const char* utf8) {
    return win1252::DeUtf8(utf8);
}

}  // namespace

TEST_F(Csv, UmaAbaComONomeDoArquivo) {
    Abre("a\n", "Relação de Clientes.CSV");
    EXPECT_EQ(m_.ListaAbas(), V{Cp("Relação de Clientes")});
    EXPECT_EQ(m_.UltimaLinha(), 1);
}

TEST_F(Csv, PontoEVirgulaEmWindows1252) {
    Abre(Cp("Código;Nome;Cliente\r\n00123;João Ação;True\r\n7;Zé;false\r\n"));
    EXPECT_EQ(m_.UltimaLinha(), 3);
    EXPECT_EQ(m_.UltimaColuna(), 3);
    EXPECT_EQ(Linha(1), (V{Cp("Código"), "Nome", "Cliente"}));
    // Leading zeros survive; TRUE/FALSE in any case are logical values.
    EXPECT_EQ(Linha(2), (V{"00123", Cp("João Ação"), "True"}));
    EXPECT_EQ(Linha(3), (V{"7", Cp("Zé"), "False"}));
}

TEST_F(Csv, VirgulaEmUtf8ComBom) {
    Abre(
        "\xEF\xBB\xBF"
        "Código,Preço,Obs\n1,\"2,50\",€ ok\n");
    EXPECT_EQ(Linha(1), (V{Cp("Código"), Cp("Preço"), "Obs"}));
    EXPECT_EQ(Linha(2), (V{"1", "2,50", Cp("€ ok")}));
}

TEST_F(Csv, Utf8SemBomECaracteresForaDoWindows1252) {
    Abre("nome;cidade\nação;東京\n");
    EXPECT_EQ(Linha(2), (V{Cp("ação"), "??"}));
}

TEST_F(Csv, TabulacaoQuandoEhAMaisFrequente) {
    Abre("a\tb\tc;d\n1\t2\t3;4\n");
    EXPECT_EQ(m_.UltimaColuna(), 3);
    EXPECT_EQ(Linha(2), (V{"1", "2", "3;4"}));
}

TEST_F(Csv, EmpateOuNenhumDelimitadorDaPontoEVirgula) {
    Abre("a,b;c\n1,2;3\n");
    EXPECT_EQ(Linha(2), (V{"1,2", "3"}));
    Abre("sozinho\noutro;x\n");
    EXPECT_EQ(m_.UltimaColuna(), 2);
    EXPECT_EQ(m_.LeCelula(2, 2), "x");
}

TEST_F(Csv, DelimitadoresEntreAspasNaoContamNaPrimeiraLinha) {
    Abre("\"a;b;c\",d,e\n\"1;2\",3,4\n");
    EXPECT_EQ(Linha(1), (V{"a;b;c", "d", "e"}));
    EXPECT_EQ(Linha(2), (V{"1;2", "3", "4"}));
}

TEST_F(Csv, AspasRfc4180) {
    Abre("a;\"b;c\";\"diz \"\"oi\"\"\";\"duas\r\nlinhas\"\n\"\";x\"y;\"fim\"resto\n");
    EXPECT_EQ(Linha(1), (V{"a", "b;c", "diz \"oi\"", "duas\r\nlinhas"}));
    EXPECT_EQ(m_.LeCelula(1, 2), "");
    EXPECT_EQ(m_.LeCelula(2, 2), "x\"y");
    EXPECT_EQ(m_.LeCelula(3, 2), "fimresto");
    EXPECT_EQ(m_.UltimaLinha(), 2);
}

TEST_F(Csv, FinsDeLinhaCrLfLfECrELinhasEmBranco) {
    Abre("um\r\ndois\ntres\rquatro\n\n\nsete");
    EXPECT_EQ(m_.UltimaLinha(), 7);
    EXPECT_EQ(m_.LeCelula(1, 1), "um");
    EXPECT_EQ(m_.LeCelula(1, 2), "dois");
    EXPECT_EQ(m_.LeCelula(1, 3), "tres");
    EXPECT_EQ(m_.LeCelula(1, 4), "quatro");
    EXPECT_EQ(m_.LeCelula(1, 5), "");
    EXPECT_EQ(m_.LeCelula(1, 7), "sete");
}

TEST_F(Csv, CamposVaziosNaoAlarganAAreaUsada) {
    Abre("a;b;;\n;;;\n\n");
    EXPECT_EQ(m_.UltimaColuna(), 2);
    EXPECT_EQ(m_.UltimaLinha(), 1);
}

TEST_F(Csv, NadaEhReinterpretadoComoNumeroOuData) {
    Abre("0012;1.5;1,5;15/01/2024;1E5;TRUEX; true\n");
    EXPECT_EQ(Linha(1), (V{"0012", "1.5", "1,5", "15/01/2024", "1E5", "TRUEX", " true"}));
}

TEST_F(Csv, BytesNulosSaoDescartados) {
    Abre(std::string("a\0b;c\n", 6));
    EXPECT_EQ(m_.LeCelula(1, 1), "ab");
}

TEST_F(Csv, ArquivoInexistenteOuVazio) {
    EXPECT_THROW(m_.AbreArquivoExcel(pasta_.Arquivo("nao.csv")), EPlanilha);
    GravaArquivo(pasta_.Arquivo("vazio.csv"), "");
    try {
        m_.AbreArquivoExcel(pasta_.Arquivo("vazio.csv"));
        FAIL();
    } catch (const EPlanilha& e) {
        EXPECT_NE(std::string(e.what()).find("vazio.csv"), std::string::npos);
    }
}
