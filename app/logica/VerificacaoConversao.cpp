#include "app/logica/VerificacaoConversao.h"

#include "conversion/VerificacaoPrevia.h"
#include "conversion/clients/ClientesBanco.h"
#include "conversion/clients/classConversaoCliente.h"
#include "conversion/products/ClassConverteProdutoDetalhe.h"
#include "conversion/products/ProdutosBanco.h"
#include "conversion/products/classConverteProduto.h"
#include "conversion/suppliers/FornecedoresBanco.h"
#include "conversion/suppliers/classConverteFornecedor.h"

namespace {

// The writers are asked for their statements only; nothing they could warn about happens.
struct TSemAvisos : IAvisos {
    void Alerta(const std::string&) override {}
};

}  // namespace

void VerificaBancosDaConversao(TTipoConversao tipo, TBancoFirebird& almuro,
                               TBancoFirebird& tessaly) {
    TSemAvisos avisos;
    TVerificacaoPrevia v(almuro, tessaly);
    switch (tipo) {
        case TTipoConversao::Produtos:
            v.ExigeNoAlvo(TConverteProduto(almuro, avisos).MontaInsert());
            v.ExigeNoAlvo(TConverteProdutoDetalhe(almuro, avisos).MontaInsert());
            v.ExigeNoAlvo(TConversao::kInsereClasFisc);
            v.ExigeNoAlvo(TConversao::kInsereUnidade);
            v.ExigeNaOrigem(kComandoEstoque);
            v.ExigeNaOrigem(kComandoClFiscal);
            break;
        case TTipoConversao::Clientes: {
            TConverteCliente cliente(almuro, avisos);
            v.ExigeNoAlvo(cliente.MontaInsert());
            v.ExigeNoAlvo(cliente.MontaUpdate());  // it names the dates the insert leaves out
            v.ExigeNoAlvo(TConversao::kInsereCidade);
            v.ExigeNoAlvo(TLogicaPrincipal::kInsereCidadePlanilha);
            v.ExigeNaOrigem(kComandoClientesBanco);
            break;
        }
        case TTipoConversao::Fornecedores:
            v.ExigeNoAlvo(TConverteFornece(almuro, avisos).MontaInsert());
            v.ExigeNoAlvo(TConversao::kInsereCidade);
            v.ExigeNoAlvo(TLogicaPrincipal::kInsereCidadePlanilha);
            v.ExigeNaOrigem(kComandoFornecedoresBanco);
            break;
    }
    v.Verifica();
}
