// The second half of a products run: every sheet row after the heading becomes a product,
// numbered on from ContadorProduto.
#include "app/logica/LogicaPrincipal.h"
#include "common/ConfiguracaoRegional.h"
#include "common/Erros.h"
#include "common/Texto.h"
#include "conversion/classConversao.h"
#include "conversion/products/classConverteProduto.h"

namespace {
// Product codes have six digits; a seventh would be cut away and repeat an earlier code.
constexpr std::int64_t kMaiorCodigoProduto = 999999;
}  // namespace

void TLogicaPrincipal::ConverteProdutosPlanilha() {
    TConversao conversao(dbAlmuro, Mensagens());
    TConverteProduto produto(dbAlmuro, Mensagens());
    const auto& cfg = TConfiguracaoRegional::Instancia();

    DefineAguarde("Convertendo Produtos, Aguarde!");
    const int total = cdsTabelaTemp.TotalRegistros();
    DefineBarraPosicao(0);
    DefineBarraMaximo(total);
    cdsTabelaTemp.Primeiro();
    const std::string deTotal = " de " + std::to_string(total);
    int n = 0;
    while (!cdsTabelaTemp.Fim()) {
        DefineStatus("Processando Registro " + std::to_string(n) + deTotal);
        ProcessaMensagens();
        if (n == 0) {
            cdsTabelaTemp.Proximo();  // the heading row
            n = 1;
            if (cdsTabelaTemp.Fim())
                break;
        }
        if (ContadorProduto > kMaiorCodigoProduto) {
            throw EConversor("O código de produto " + std::to_string(ContadorProduto) +
                             " não cabe nos 6 dígitos do código: a linha " + std::to_string(n + 1) +
                             " da planilha repetiria o código de outro produto.");
        }
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
        produto.Insere();

        cdsTabelaTemp.Proximo();
        AvancaBarra();
        ++n;
        ++ContadorProduto;
    }
    DefineAguarde(std::string());
    DefineStatus(std::string());
    DefineBarraPosicao(0);
}
