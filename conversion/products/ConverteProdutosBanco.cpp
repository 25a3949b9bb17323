// The first half of a products run: the Tessaly stock table into Produto and ProdutoDetalhe,
// keeping the source codes, and the next free code left in ContadorProduto.
#include "app/logica/LogicaPrincipal.h"
#include "common/Erros.h"
#include "common/Texto.h"
#include "conversion/classConversao.h"
#include "conversion/products/ClassConverteProdutoDetalhe.h"
#include "conversion/products/ProdutosBanco.h"
#include "conversion/products/classConverteProduto.h"

const char* const kComandoEstoque =
    "SELECT CODIGO, BARRAS, NOME, CARACTERISTICA, COD_TRIB, UND_COMPRA, UND_VENDA, NCM, "
    "ICMS, CSOSN, PRECO_CONSUMIDOR, PIS_ALIQ, PIS_ST, COFINS_ALIQ, COFINS_ST, CSOSN, "
    "PIS_ST_ENTRADA, COFINS_ST_ENTRADA, PIS_ALIQ_ENTRADA, COFINS_ALIQ_ENTRADA FROM ESTOQUE";
const char* const kComandoClFiscal = "SELECT SIT_TRIBUTARIA FROM CLFISCAL WHERE CODIGO = :CODIGO";

TConsultaSequencial& AbreProdutosBanco(TConsultaSequencial& consulta) {
    consulta.LimpaSQL();
    consulta.DefineSQL(kComandoEstoque);
    consulta.Abre();
    return consulta;
}

namespace {
std::string SitTributariaNoBanco(TBancoFirebird& origem, const std::string& codigo) {
    TConsulta q(origem);
    q.DefineSQL(kComandoClFiscal);
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
    const std::string chave = TMemoriaTransacao::Chave("RetornaSitTributaria", codigo);
    if (const std::string* lembrado = origem.Memoria().Busca(chave))
        return *lembrado;
    const std::string sit = SitTributariaNoBanco(origem, codigo);
    origem.Memoria().Guarda(chave, sit);
    return sit;
}

double NumeroOuZero(const TCamposResultado& consulta, const std::string& campo) {
    if (texto::Trim(consulta.Texto(campo)).empty())
        return 0;
    return consulta.Numero(campo);
}

void TLogicaPrincipal::ConverteProdutosBanco() {
    TConverteProduto produto(dbAlmuro, Avisos());
    TConverteProdutoDetalhe detalhe(dbAlmuro, Avisos());
    TConversao conversao(dbAlmuro, Avisos());
    TConsultaSequencial origem(dbTessaly);

    produto.LimpaTabela();
    detalhe.LimpaTabela();
    AbreProdutosBanco(origem);
    ContadorProduto = 0;

    // In a check a price or rate that is not a number is listed, and the record's other columns
    // are read all the same.
    auto numero = [&](const char* coluna) {
        return Lugar.NaColuna(coluna, [&] {
            return Continuacao.Valor([&] { return NumeroOuZero(origem, coluna); }, 0.0);
        });
    };
    auto converte = [&] {
        produto.SetCodProd(texto::Copia(origem.Texto("CODIGO"), 3, 6));
        produto.SetReferencia(origem.Texto("BARRAS"));
        produto.SetDescricao(origem.Texto("NOME"));
        produto.SetDescricao2(origem.Texto("CARACTERISTICA"));
        produto.SetCodTribut00(Lugar.NaColuna(
            "COD_TRIB", [&] { return RetornaSitTributaria(dbTessaly, origem.Texto("COD_TRIB")); }));
        produto.SetUnidadeEnt(conversao.VerificaUnidade(origem.Texto("UND_COMPRA")));
        produto.SetUnidadeSaida(conversao.VerificaUnidade(origem.Texto("UND_VENDA")));
        if (!texto::Trim(origem.Texto("NCM")).empty()) {
            produto.SetCodClasFis(Lugar.NaColuna(
                "NCM", [&] { return conversao.RetornaClasFiscal(origem.Texto("NCM")); }));
        }
        produto.SetPreco(numero("PRECO_CONSUMIDOR"));
        produto.SetAliqIcmsReg00(numero("ICMS"));
        produto.SetAliqIcmsPdv(numero("ICMS"));
        detalhe.SetCodProd(produto.CodProd());
        detalhe.SetAliqPis(numero("PIS_ALIQ"));
        detalhe.SetPisCst(origem.Texto("PIS_ST"));
        detalhe.SetAliqCofins(numero("COFINS_ALIQ"));
        detalhe.SetCofinsCst(origem.Texto("COFINS_ST"));
        detalhe.SetCodCsosn(origem.Texto("CSOSN"));
        detalhe.SetPisEntCst(origem.Texto("PIS_ST_ENTRADA"));
        detalhe.SetCofinsEntCst(origem.Texto("COFINS_ST_ENTRADA"));
        detalhe.SetAliqPisEnt(numero("PIS_ALIQ_ENTRADA"));
        detalhe.SetAliqCofinsEnt(numero("COFINS_ALIQ_ENTRADA"));
        produto.SetAtivo("S");
        produto.SetCodTipoProduto("00");
        produto.SetTipoProd("R");

        const std::int64_t codigo =
            Lugar.NaColuna("CODIGO", [&] { return origem.Inteiro("CODIGO"); });
        if (codigo > ContadorProduto)
            ContadorProduto = codigo;

        produto.Insere();
        detalhe.Insere();
    };
    PercorreOrigem(origem, "ESTOQUE", "Convertendo Produtos - Registro ", converte, [&] {
        produto.LimpaCampos();
        detalhe.LimpaCampos();
    });
    ++ContadorProduto;

    DefineAguarde(std::string());
    DefineBarraPosicao(0);
    DefineBarraMaximo(0);
}
