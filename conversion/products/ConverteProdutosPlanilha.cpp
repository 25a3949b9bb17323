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
    // insert than after a million of them.
    const int ultimaLinha = cdsTabelaTemp.TotalRegistros();
    if (ultimaLinha >= 2)
        ExigeCodigoQueCabe("produto", ContadorProduto + ultimaLinha - 2, 6, ultimaLinha);

    PercorrePlanilha("Convertendo Produtos, Aguarde!", [&](int linha) {
        ExigeCodigoQueCabe("produto", ContadorProduto, 6, linha);
        produto.SetCodProd(ZerosEsquerda(std::to_string(ContadorProduto), 6));
        produto.SetDescricao(texto::Primeiros(cdsTabelaTemp.Campo("2"), 50));
        produto.SetUnidadeEnt(
            conversao.VerificaUnidade(texto::Primeiros(cdsTabelaTemp.Campo("5"), 6)));
        produto.SetUnidadeSaida(produto.UnidadeEnt());
        const std::string& preco = cdsTabelaTemp.Campo("6");
        produto.SetPreco(preco.empty() ? 0 : cfg.TextoParaNumero(preco));
        produto.SetCodTipoProduto("00");
        produto.SetAtivo("S");
        produto.SetTipoProd("S");
        Lugar.GravandoLinha();
        produto.Insere();
        ++ContadorProduto;
    });
}
