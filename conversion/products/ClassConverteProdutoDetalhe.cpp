#include "conversion/products/ClassConverteProdutoDetalhe.h"

#include "common/ConfiguracaoRegional.h"
#include "common/Texto.h"

TConverteProdutoDetalhe::TConverteProdutoDetalhe(TBancoFirebird& banco, IAvisos& avisos)
    : TConversao(banco, avisos) {
    TConfiguracaoRegional::Instancia().DefineFormatoDataCurta("dd/mm/yyyy");
    LimpaCampos();
}

std::string TConverteProdutoDetalhe::MontaInsert() const {
    const auto& cfg = TConfiguracaoRegional::Instancia();
    auto t = [](const std::string& s) { return texto::Literal(s); };
    auto n = [&cfg](double v) { return cfg.NumeroSql(v); };
    auto i = [](int v) { return std::to_string(v); };
    const std::string valores[] = {t(CodProd_),         t(ControleReceituario_),
                                   t(CodigoAtividade_), t(CodigoListaServico_),
                                   t(EspelhoMercServ_), t(ImportadoPortoSeguro_),
                                   i(CodPromocao_),     n(AliqPis_),
                                   t(PisCst_),          t(PisEntCst_),
                                   i(PisSt_),           n(AliqCofins_),
                                   n(AliqPisEnt_),      n(AliqCofinsEnt_),
                                   t(CofinsCst_),       t(CofinsEntCst_),
                                   i(CofinsSt_),        t(CodCsosn_),
                                   n(PrecoMaxVenda_),   i(PontoBonus_)};
    std::string sql =
        " Insert Into ProdutoDetalhe ( CODPROD, CONTROLERECEITUARIO, CODIGOATIVIDADE, "
        "CODIGOLISTASERVICO, ESPELHOMERCSERV, IMPORTADOPORTOSEGURO, CODPROMOCAO, ALIQPIS, "
        "PIS_CST, PISENT_CST, PIS_ST, ALIQCOFINS, ALIQPISENT, ALIQCOFINSENT, COFINS_CST, "
        "COFINSENT_CST, COFINS_ST, CODCSOSN, PRECOMAXVENDA, PONTOBONUS )  Values (";
    bool primeiro = true;
    for (const std::string& v : valores) {
        if (!primeiro)
            sql += ", ";
        sql += v;
        primeiro = false;
    }
    sql += ") ";
    return sql;
}

bool TConverteProdutoDetalhe::Insere() {
    ExecutaNaPrincipal(MontaInsert());
    LimpaCampos();
    return true;
}

void TConverteProdutoDetalhe::LimpaCampos() {
    for (std::string* s : {&CodProd_, &ControleReceituario_, &CodigoAtividade_,
                           &CodigoListaServico_, &EspelhoMercServ_, &ImportadoPortoSeguro_,
                           &PisCst_, &PisEntCst_, &CofinsCst_, &CofinsEntCst_, &CodCsosn_}) {
        s->clear();
    }
    for (double* d : {&AliqPis_, &AliqCofins_, &PrecoMaxVenda_, &AliqPisEnt_, &AliqCofinsEnt_}) {
        *d = 0;
    }
    for (int* k : {&CodPromocao_, &PisSt_, &CofinsSt_, &PontoBonus_})
        *k = 0;
}

void TConverteProdutoDetalhe::LimpaTabela() {
    EsvaziaTabela("Delete from PRODUTODETALHE");
}
