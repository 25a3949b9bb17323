// The first half of a products run: the Tessaly stock table into Produto and ProdutoDetalhe,
// keeping the source codes, and the next free code left in ContadorProduto.
#include "app/logica/LogicaPrincipal.h"
#include "common/Erros.h"
#include "common/Texto.h"
#include "conversion/classConversao.h"
#include "conversion/products/ClassConverteProdutoDetalhe.h"
#include "conversion/products/ProdutosBanco.h"
#include "conversion/products/classConverteProduto.h"

TConsulta& AbreProdutosBanco(TConsulta& consulta) {
    consulta.LimpaSQL();
    consulta.DefineSQL(
        "SELECT CODIGO, BARRAS, NOME, CARACTERISTICA, COD_TRIB, UND_COMPRA, UND_VENDA, NCM, "
        "ICMS, CSOSN, PRECO_CONSUMIDOR, PIS_ALIQ, PIS_ST, COFINS_ALIQ, COFINS_ST, CSOSN, "
        "PIS_ST_ENTRADA, COFINS_ST_ENTRADA, PIS_ALIQ_ENTRADA, COFINS_ALIQ_ENTRADA FROM ESTOQUE");
    consulta.Abre();
    return consulta;
}

namespace {
std::string SitTributariaNoBanco(TBancoFirebird& origem, const std::string& codigo) {
    TConsulta q(origem);
    q.DefineSQL("SELECT SIT_TRIBUTARIA FROM CLFISCAL WHERE CODIGO = :CODIGO");
    q.Parametro("CODIGO", codigo);
    try {
        q.Abre();
    } catch (const EBancoDados&) {
        // A text CODIGO may hold the empty code, so a blank one is asked for all the same; only
        // a numeric CODIGO refuses it, and no classification can carry it there.
        if (!texto::Trim(codigo).empty())
            throw;
        return {};
    }
    return q.Fim() ? std::string() : q.Texto("SIT_TRIBUTARIA");
}
}  // namespace

// The source is only read during a run, in one snapshot: a code's answer, found or not, cannot
// change, so both are kept for the rest of the run.
std::string RetornaSitTributaria(TBancoFirebird& origem, const std::string& codigo) {
    const std::string chave = "CLFISCAL\x1f" + codigo;
    if (const std::string* lembrado = origem.Memoria().Busca(chave))
        return *lembrado;
    const std::string sit = SitTributariaNoBanco(origem, codigo);
    origem.Memoria().Guarda(chave, sit);
    return sit;
}

double NumeroOuZero(const TConsulta& consulta, const std::string& campo) {
    if (texto::Trim(consulta.Texto(campo)).empty())
        return 0;
    return consulta.Numero(campo);
}

void TLogicaPrincipal::ConverteProdutosBanco() {
    TConverteProduto produto(dbAlmuro, Mensagens());
    TConverteProdutoDetalhe detalhe(dbAlmuro, Mensagens());
    TConversao conversao(dbAlmuro, Mensagens());
    TConsulta origem(dbTessaly);

    int registro = 1;
    produto.LimpaTabela();
    detalhe.LimpaTabela();
    AbreProdutosBanco(origem);
    ContadorProduto = 0;

    origem.Ultimo();
    DefineBarraMaximo(origem.TotalRegistros());
    origem.Primeiro();
    const std::string deTotal = " de " + std::to_string(Progresso().barraMaximo);
    while (!origem.Fim()) {
        DefineAguarde("Convertendo Produtos - Registro " + std::to_string(registro) + deTotal);
        ProcessaMensagens();

        produto.SetCodProd(texto::Copia(origem.Texto("CODIGO"), 3, 6));
        produto.SetReferencia(origem.Texto("BARRAS"));
        produto.SetDescricao(origem.Texto("NOME"));
        produto.SetDescricao2(origem.Texto("CARACTERISTICA"));
        produto.SetCodTribut00(RetornaSitTributaria(dbTessaly, origem.Texto("COD_TRIB")));
        produto.SetUnidadeEnt(conversao.VerificaUnidade(origem.Texto("UND_COMPRA")));
        produto.SetUnidadeSaida(conversao.VerificaUnidade(origem.Texto("UND_VENDA")));
        if (!texto::Trim(origem.Texto("NCM")).empty()) {
            produto.SetCodClasFis(conversao.RetornaClasFiscal(origem.Texto("NCM")));
        }
        produto.SetPreco(NumeroOuZero(origem, "PRECO_CONSUMIDOR"));
        produto.SetAliqIcmsReg00(NumeroOuZero(origem, "ICMS"));
        produto.SetAliqIcmsPdv(NumeroOuZero(origem, "ICMS"));
        detalhe.SetCodProd(produto.CodProd());
        detalhe.SetAliqPis(NumeroOuZero(origem, "PIS_ALIQ"));
        detalhe.SetPisCst(origem.Texto("PIS_ST"));
        detalhe.SetAliqCofins(NumeroOuZero(origem, "COFINS_ALIQ"));
        detalhe.SetCofinsCst(origem.Texto("COFINS_ST"));
        detalhe.SetCodCsosn(origem.Texto("CSOSN"));
        detalhe.SetPisEntCst(origem.Texto("PIS_ST_ENTRADA"));
        detalhe.SetCofinsEntCst(origem.Texto("COFINS_ST_ENTRADA"));
        detalhe.SetAliqPisEnt(NumeroOuZero(origem, "PIS_ALIQ_ENTRADA"));
        detalhe.SetAliqCofinsEnt(NumeroOuZero(origem, "COFINS_ALIQ_ENTRADA"));
        produto.SetAtivo("S");
        produto.SetCodTipoProduto("00");
        produto.SetTipoProd("R");

        const std::int64_t codigo = origem.Inteiro("CODIGO");
        if (codigo > ContadorProduto)
            ContadorProduto = codigo;

        produto.Insere();
        detalhe.Insere();

        ++registro;
        origem.Proximo();
        DefineBarraPosicao(registro);
    }
    ++ContadorProduto;

    DefineAguarde(std::string());
    DefineBarraPosicao(0);
    DefineBarraMaximo(0);
}
