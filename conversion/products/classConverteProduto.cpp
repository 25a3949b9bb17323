#include "conversion/products/classConverteProduto.h"

#include "common/ConfiguracaoRegional.h"
#include "common/Texto.h"

using texto::Primeiros;
using texto::Trim;

// A column of the statement and the field it writes; exactly one of the pointers is set.
struct TConverteProduto::TColuna {
    const char* nome;
    std::string TConverteProduto::*texto;
    double TConverteProduto::*numero;
    int TConverteProduto::*inteiro;
};

namespace {
using P = TConverteProduto;
}  // namespace

#define TXT(nome, campo) \
    { nome, &P::campo, nullptr, nullptr }
#define NUM(nome, campo) \
    { nome, nullptr, &P::campo, nullptr }

// The column list in statement order. The three optional columns (DT_CADASTRO, Data_Ult_Ent1,
// Data_Ult_Reajuste) go between the first 57 and the rest; kOpcionaisApos marks the place.
namespace {
constexpr size_t kOpcionaisApos = 57;
}

const TConverteProduto::TColuna* TConverteProduto::Colunas(size_t& quantidade) {
    static const TColuna colunas[] = {
        TXT("Produto.CODPROD", CodProd_),
        TXT("Produto.TIPOPROD", TipoProd_),
        TXT("Produto.ATIVO", Ativo_),
        TXT("Produto.PRODBLOQUEADO", ProdBloqueado_),
        TXT("Produto.CONTROLESERIE", ControleSerie_),
        TXT("Produto.REFERENCIA", Referencia_),
        TXT("Produto.REFFABRICANTE", RefFabricante_),
        TXT("Produto.DESCRICAO", Descricao_),
        TXT("Produto.DESCRICAO2", Descricao2_),
        TXT("Produto.DESCRICAO3", Descricao3_),
        TXT("Produto.FORNEC_ULT_ENT1", FornecUltEnt1_),
        TXT("Produto.CODGRUPO", CodGrupo_),
        TXT("Produto.CODSUBGRUPO", CodSubGrupo_),
        TXT("Produto.PRINCIPALFORNEC", PrincipalFornec_),
        TXT("Produto.EMBALAGEM", Embalagem_),
        TXT("Produto.CODFABRIC", CodFabric_),
        TXT("Produto.OBSERVACAO", Observacao_),
        TXT("Produto.CODLOCAL", CodLocal_),
        TXT("Produto.CODCLASFIS", CodClasFis_),
        NUM("Produto.ALIQICMSREG00", AliqIcmsReg00_),
        NUM("Produto.BASEICMSREG00", BaseIcmsReg00_),
        NUM("Produto.BASEICMSREG02", BaseIcmsReg02_),
        TXT("Produto.CODTRIBUT00", CodTribut00_),
        TXT("Produto.CODTRIBUT01", CodTribut01_),
        NUM("Produto.ALIQICMSPDV", AliqIcmsPdv_),
        TXT("Produto.SUBSTRIB", SubsTrib_),
        NUM("Produto.AliqIpi", AliqIpi_),
        NUM("Produto.AliqISS", AliqIss_),
        NUM("Produto.PESO", Peso_),
        TXT("Produto.UNIDADEENT", UnidadeEnt_),
        TXT("Produto.UNIDADESAIDA", UnidadeSaida_),
        TXT("Produto.CodFamilia", CodFamilia_),
        TXT("Produto.CodTipoProduto", CodTipoProduto_),
        TXT("Produto.CodVolume", CodVolume_),
        TXT("Produto.TipoEntrega", TipoEntrega_),
        TXT("Produto.CodGeneroItem", CodGeneroItem_),
        NUM("Produto.PRECO", Preco_),
        TXT("Produto.DESCRICAOPRECO", DescricaoPreco_),
        NUM("Produto.PRECO2", Preco2_),
        TXT("Produto.DESCRICAOPRECO2", DescricaoPreco2_),
        NUM("Produto.PRECO3", Preco3_),
        TXT("Produto.DESCRICAOPRECO3", DescricaoPreco3_),
        NUM("Produto.PRECO4", Preco4_),
        TXT("Produto.DESCRICAOPRECO4", DescricaoPreco4_),
        NUM("Produto.Pr_Ult_Ent1", PrUltEnt1_),
        NUM("Produto.Lucro", Lucro_),
        NUM("Produto.Lucro2", Lucro2_),
        NUM("Produto.Lucro3", Lucro3_),
        NUM("Produto.Lucro4", Lucro4_),
        NUM("Produto.EstMinimo", EstMinimo_),
        NUM("Produto.EstMaximo", EstMaximo_),
        NUM("Produto.Comissao", Comissao_),
        NUM("Produto.Perc_Iva", PercIva_),
        NUM("Produto.FatorConversao", FatorConversao_),
        TXT("Produto.MultDivide", MultDivide_),
        NUM("Produto.ValorIpi", ValorIpi_),
        NUM("Produto.PrecoPromo", PrecoPromo_),
        // the optional columns stand here
        TXT("Produto.Fracionado", Fracionado_),
        TXT("Produto.CAMPOLIVRE1", CampoLivre1_),
        TXT("Produto.CAMPOLIVRE2", CampoLivre2_),
        TXT("Produto.CAMPOLIVRE3", CampoLivre3_),
        TXT("Produto.CAMPOLIVRE4", CampoLivre4_),
        TXT("produto.mensagem00", Mensagem00_),
        NUM("produto.aliqicmsreg01", AliqIcmsReg01_),
        NUM("produto.BaseIcmsReg01", BaseIcmsReg01_),
        TXT("produto.mensagem01", Mensagem01_),
        NUM("produto.aliqicmsreg02", AliqIcmsReg02_),
        TXT("Produto.CODTRIBUT02", CodTribut02_),
        TXT("produto.mensagem02", Mensagem02_),
        NUM("produto.aliqicmsreg03", AliqIcmsReg03_),
        NUM("produto.BaseIcmsReg03", BaseIcmsReg03_),
        TXT("Produto.CODTRIBUT03", CodTribut03_),
        TXT("produto.mensagem03", Mensagem03_),
        NUM("produto.AliqIcmsDiversos", AliqIcmsDiversos_),
        NUM("produto.BaseIcmsdiversos", BaseIcmsDiversos_),
        TXT("Produto.CodTributDiversos", CodTributDiversos_),
        TXT("produto.MensagemDiversos", MensagemDiversos_),
        NUM("produto.lucrosubstrib", LucroSubsTrib_),
        TXT("produto.substribsaida", SubsTribSaida_),
        NUM("produto.percbasesubstribsaida", PercBaseSubsTribSaida_),
        NUM("produto.PercIcmsSubsTribSaida", PercIcmsSubsTribSaida_),
        TXT("produto.substribsaidaR1", SubsTribSaidaR1_),
        NUM("produto.percbasesubstribsaidaR1", PercBaseSubsTribSaidaR1_),
        NUM("produto.PercIcmsSubsTribSaidaR1", PercIcmsSubsTribSaidaR1_),
        TXT("produto.substribsaidaR2", SubsTribSaidaR2_),
        NUM("produto.percbasesubstribsaidaR2", PercBaseSubsTribSaidaR2_),
        NUM("produto.PercIcmsSubsTribSaidaR2", PercIcmsSubsTribSaidaR2_),
        TXT("produto.substribsaidaR3", SubsTribSaidaR3_),
        NUM("produto.percbasesubstribsaidaR3", PercBaseSubsTribSaidaR3_),
        NUM("produto.PercIcmsSubsTribSaidaR3", PercIcmsSubsTribSaidaR3_),
        TXT("produto.substribsaidaR4", SubsTribSaidaR4_),
        NUM("produto.percbasesubstribsaidaR4", PercBaseSubsTribSaidaR4_),
        TXT("Produto.ControleLote", ControleLote_),
        NUM("produto.PercIcmsSubsTribSaidaR4", PercIcmsSubsTribSaidaR4_),
        {"produto.grade", nullptr, nullptr, &P::Grade_},
    };
    quantidade = sizeof colunas / sizeof colunas[0];
    return colunas;
}

#undef TXT
#undef NUM

namespace {
// "01/01/1900" read by the short date format that the writer sets: the day serial 2.
double DataVazia() {
    return TConfiguracaoRegional::Instancia().TextoParaData("01/01/1900");
}
}  // namespace

TConverteProduto::TConverteProduto(TBancoFirebird& banco, IAvisos& avisos)
    : TConversao(banco, avisos) {
    TConfiguracaoRegional::Instancia().DefineFormatoDataCurta("dd/mm/yyyy");
    LimpaCampos();
}

std::string TConverteProduto::MontaInsert() const {
    const auto& cfg = TConfiguracaoRegional::Instancia();
    size_t n = 0;
    const TColuna* colunas = Colunas(n);
    auto valor = [&](const TColuna& c) {
        if (c.texto)
            return texto::Literal(this->*c.texto);
        if (c.numero)
            return cfg.NumeroSql(this->*c.numero);
        return std::to_string(this->*c.inteiro);
    };
    const double vazia = DataVazia();
    const bool comCadastro = !DtCadastro_.empty();
    const bool comUltEnt = DataUltEnt1 != vazia;
    const bool comReajuste = DataUltReajuste != vazia;

    std::string sql = " Insert Into Produto ( ";
    for (size_t i = 0; i < kOpcionaisApos; ++i)
        sql += std::string(colunas[i].nome) + ", ";
    if (comCadastro)
        sql += "Produto.DT_CADASTRO     ,";
    if (comUltEnt)
        sql += "Produto.Data_Ult_Ent1, ";
    if (comReajuste)
        sql += "Produto.Data_Ult_Reajuste, ";
    for (size_t i = kOpcionaisApos; i < n; ++i) {
        sql += colunas[i].nome;
        sql += (i + 1 < n) ? ", " : ")";
    }
    sql += " Values ( ";
    for (size_t i = 0; i < kOpcionaisApos; ++i)
        sql += valor(colunas[i]) + ", ";
    if (comCadastro)
        sql += texto::Literal(DtCadastro_) + ",";
    if (comUltEnt)
        sql += texto::Literal(cfg.FormataData("dd.mm.yyyy", DataUltEnt1)) + ",";
    if (comReajuste)
        sql += texto::Literal(cfg.FormataData("dd.mm.yyyy", DataUltReajuste)) + ",";
    for (size_t i = kOpcionaisApos; i < n; ++i) {
        sql += valor(colunas[i]);
        if (i + 1 < n)
            sql += ", ";
    }
    sql += ") ";
    return sql;
}

bool TConverteProduto::Insere() {
    ExecutaNaPrincipal(MontaInsert());
    LimpaCampos();
    return true;
}

void TConverteProduto::LimpaTabela() {
    EsvaziaTabela("Delete from PRODUTO");
}

void TConverteProduto::LimpaCampos() {
    size_t n = 0;
    const TColuna* colunas = Colunas(n);
    for (size_t i = 0; i < n; ++i) {
        if (colunas[i].texto)
            (this->*colunas[i].texto).clear();
        if (colunas[i].numero)
            this->*colunas[i].numero = 0;
        if (colunas[i].inteiro)
            this->*colunas[i].inteiro = 0;
    }
    DtCadastro_.clear();
    DataUltEnt1 = DataVazia();
    DataUltReajuste = DataVazia();
    SetCodProd(std::string());
    UnidadeEnt_ = "UN";
    UnidadeSaida_ = "UN";
    Ativo_ = "S";
    TipoProd_ = "R";
    ProdBloqueado_ = "N";
}

// ---- Setters with a cleaning rule ---------------------------------------------------------

namespace {
// Trimmed, cut to a width when one is given, then zero-filled to 3 only when something is left.
std::string CodigoCurto(const std::string& v, size_t corte = std::string::npos) {
    std::string t = Trim(v);
    if (corte != std::string::npos)
        t = Primeiros(t, static_cast<long>(corte));
    return t.empty() ? t : TConversao::CompletaZeros(t, 3);
}
}  // namespace

void TConverteProduto::SetCodProd(const std::string& v) {
    CodProd_ = CompletaZeros(Primeiros(Trim(v), 6), 6);
}
void TConverteProduto::SetAtivo(const std::string& v) {
    Ativo_ = Primeiros(v, 1);
}
void TConverteProduto::SetRefFabricante(const std::string& v) {
    RefFabricante_ = Primeiros(Trim(v), 20);
}
void TConverteProduto::SetDescricao(const std::string& v) {
    Descricao_ = Trim(Primeiros(v, 50));
}
void TConverteProduto::SetDescricao2(const std::string& v) {
    Descricao2_ = Primeiros(v, 50);
}
void TConverteProduto::SetDescricao3(const std::string& v) {
    Descricao3_ = Primeiros(v, 50);
}
void TConverteProduto::SetCodGrupo(const std::string& v) {
    CodGrupo_ = CodigoCurto(v, 3);
}
void TConverteProduto::SetCodSubGrupo(const std::string& v) {
    CodSubGrupo_ = v.empty() ? v : CompletaZeros(v, 3);
}
void TConverteProduto::SetPrincipalFornec(const std::string& v) {
    std::string t = Trim(v);
    PrincipalFornec_ = t.empty() ? t : CompletaZeros(t, 6);
}
void TConverteProduto::SetEmbalagem(const std::string& v) {
    Embalagem_ = Primeiros(Trim(v), 15);
}
void TConverteProduto::SetCodFabric(const std::string& v) {
    CodFabric_ = CodigoCurto(v);
}
void TConverteProduto::SetCodLocal(const std::string& v) {
    CodLocal_ = Primeiros(v, 8);
}
void TConverteProduto::SetCodClasFis(const std::string& v) {
    // The untrimmed argument is what gets zero-filled, as the classification codes always were.
    CodClasFis_ = Trim(v).empty() ? std::string() : CompletaZeros(v, 3);
}
void TConverteProduto::SetCodTribut00(const std::string& v) {
    CodTribut00_ = CodigoCurto(v);
}
void TConverteProduto::SetCodTribut01(const std::string& v) {
    CodTribut01_ = CodigoCurto(v);
}
void TConverteProduto::SetCodTribut02(const std::string& v) {
    CodTribut02_ = CodigoCurto(v);
}
void TConverteProduto::SetCodTribut03(const std::string& v) {
    CodTribut03_ = CodigoCurto(v);
}
void TConverteProduto::SetCodTributDiversos(const std::string& v) {
    CodTributDiversos_ = CodigoCurto(v);
}
void TConverteProduto::SetUnidadeEnt(const std::string& v) {
    UnidadeEnt_ = Primeiros(v, 6);
}
void TConverteProduto::SetUnidadeSaida(const std::string& v) {
    UnidadeSaida_ = Primeiros(v, 6);
}
void TConverteProduto::SetCodFamilia(const std::string& v) {
    CodFamilia_ = Primeiros(v, 2);
}
void TConverteProduto::SetCodTipoProduto(const std::string& v) {
    CodTipoProduto_ = Primeiros(v, 2);
}
void TConverteProduto::SetCodVolume(const std::string& v) {
    CodVolume_ = Primeiros(v, 3);
}
void TConverteProduto::SetTipoEntrega(const std::string& v) {
    TipoEntrega_ = Primeiros(v, 1);
}
void TConverteProduto::SetDescricaoPreco(const std::string& v) {
    DescricaoPreco_ = Primeiros(v, 10);
}
void TConverteProduto::SetDescricaoPreco2(const std::string& v) {
    DescricaoPreco2_ = Primeiros(v, 10);
}
void TConverteProduto::SetDescricaoPreco3(const std::string& v) {
    DescricaoPreco3_ = Primeiros(v, 10);
}
void TConverteProduto::SetDescricaoPreco4(const std::string& v) {
    DescricaoPreco4_ = Primeiros(v, 10);
}
void TConverteProduto::SetCampoLivre1(const std::string& v) {
    CampoLivre1_ = Primeiros(Trim(v), 20);
}
void TConverteProduto::SetCampoLivre2(const std::string& v) {
    CampoLivre2_ = Primeiros(Trim(v), 20);
}
void TConverteProduto::SetCampoLivre3(const std::string& v) {
    CampoLivre3_ = Primeiros(Trim(v), 50);
}
void TConverteProduto::SetCampoLivre4(const std::string& v) {
    CampoLivre4_ = Primeiros(Trim(v), 50);
}
