// The second half of a products run: every sheet row after the heading becomes a product,
// numbered on from ContadorProduto.
#include "app/logica/LogicaPrincipal.h"
#include "common/ConfiguracaoRegional.h"
#include "common/Texto.h"
#include "conversion/classConversao.h"
#include "conversion/products/classConverteProduto.h"

void TLogicaPrincipal::ConverteProdutosPlanilha() {
    TConversao conversao(dbAlmuro, Avisos());
    TConverteProduto produto(dbAlmuro, Avisos());
    const auto& cfg = TConfiguracaoRegional::Instancia();

    // Codes run out on the last staged row at the latest: better to stop before the first
    // insert than after a million of them. A check lists the rows without a code as one problem
    // and goes on with the rows before them.
    const int ultimaLinha = cdsTabelaTemp.TotalRegistros();
    const int semCodigo = PrimeiraLinhaSemCodigo(ContadorProduto, 6, 2, ultimaLinha);
    Continuacao.ListaOuLanca(
        [&] { ExigeCodigosQueCabem("produto", ContadorProduto, 6, 2, ultimaLinha); });

    PercorrePlanilha(
        "Convertendo Produtos, Aguarde!",
        [&](int linha) {
            // Taken before anything can fail: a row undone in a check keeps its code, as it
            // would once its cells are put right.
            const std::int64_t codigo = ContadorProduto++;
            ExigeCodigoQueCabe("produto", codigo, 6, linha);
            produto.SetCodProd(ZerosEsquerda(std::to_string(codigo), 6));
            produto.SetDescricao(texto::Primeiros(cdsTabelaTemp.Campo("2"), 50));
            produto.SetUnidadeEnt(
                conversao.VerificaUnidade(texto::Primeiros(cdsTabelaTemp.Campo("5"), 6)));
            produto.SetUnidadeSaida(produto.UnidadeEnt());
            const std::string& preco = cdsTabelaTemp.Campo("6");
            produto.SetPreco(
                preco.empty() ? 0
                              : Continuacao.Valor([&] { return cfg.TextoParaNumero(preco); }, 0.0));
            produto.SetCodTipoProduto("00");
            produto.SetAtivo("S");
            produto.SetTipoProd("S");
            Lugar.GravandoLinha();
            produto.Insere();
        },
        [&] { produto.LimpaCampos(); }, semCodigo > 0 ? semCodigo - 1 : -1);
}
