// The account's line for a source and a problem's line: how many, in the source's own words,
// the first ten records of a reason and how many more; a reason's line breaks kept on one line.
#include "app/logica/ContaDaConversao.h"
#include "app/logica/ProblemaDaConferencia.h"

#include <gtest/gtest.h>

namespace {

TEST(ContaDaConversaoTest, DezRegistrosPorMotivoEQuantosMais) {
    TContaDaConversao conta;
    conta.Origem("banco TESSALY, tabela CLIENTE", false);
    for (int codigo = 1; codigo <= 15; ++codigo) {
        conta.Le(std::to_string(codigo));
        if (codigo <= 12)
            conta.DeixaDeFora("sem nome");
    }
    conta.Le("16");
    conta.ComProblema();
    conta.Origem("planilha", true);
    conta.Le("2");
    conta.DeixaDeFora("sem \"True\" na coluna 4");
    conta.Le("3");
    EXPECT_EQ(conta.Texto(),
              "  banco TESSALY, tabela CLIENTE: 16 lidos, 3 gravados, 12 deixados de fora sem "
              "nome (códigos 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 e mais 2), 1 com problema\n"
              "  planilha: 2 linhas de dados, 1 gravada, 1 deixada de fora sem \"True\" na "
              "coluna 4 (linha 2)");
    EXPECT_EQ(conta.Origens()[0].NomeDoRegistro("11"), "CODIGO 11");
    EXPECT_EQ(conta.Origens()[1].NomeDoRegistro("2"), "linha 2");
}

// The run's record keeps a copy of the account; the names it lists stay what they were when the
// copy was made, whatever the account counts after.
TEST(ContaDaConversaoTest, CopiaGuardaOsRegistrosDeQuandoFoiFeita) {
    TContaDaConversao conta;
    conta.Origem("planilha", true);
    for (const char* linha : {"2", "15", "300"}) {
        conta.Le(linha);
        conta.DeixaDeFora("sem nome");
    }
    const TContaDaConversao copia = conta;
    conta.Le("301");
    conta.DeixaDeFora("sem nome");
    const TRegistrosDeixados& antes = copia.Origens()[0].deixados[0].registros;
    ASSERT_EQ(antes.size(), 3u);
    EXPECT_EQ(antes[0] + "," + antes[1] + "," + antes[2], "2,15,300");
    EXPECT_EQ(conta.Origens()[0].deixados[0].registros[3], "301");
    EXPECT_EQ(copia.Texto(),
              "  planilha: 3 linhas de dados, 0 gravadas, 3 deixadas de fora sem "
              "nome (linhas 2, 15, 300)");
}

TEST(ContaDaConversaoTest, ProblemaNumaLinhaSo) {
    TProblema p;
    p.lugar = "planilha, linha 4";
    p.texto = "Um valor é longo demais.\nstring right truncation\r\n-expected length 5";
    EXPECT_EQ(p.Linha(),
              "planilha, linha 4: Um valor é longo demais. / string right truncation / "
              "-expected length 5");
    p.lugar.clear();
    EXPECT_EQ(p.Linha(), p.TextoNumaLinha());
}

}  // namespace
