// One product of the target table Produto: each value cleaned as it is set, written as one
// literal INSERT. Both product mappings fill one writer per pass and rely on it returning to
// its defaults after every row.
#pragma once

#include "conversion/classConversao.h"

#include <string>

class TConverteProduto : public TConversao {
  public:
    TConverteProduto(TBancoFirebird& banco, IAvisos& avisos);

    // Dates without a setter; a caller may assign them. 1 January 1900 leaves them out.
    double DataUltEnt1 = 0;
    double DataUltReajuste = 0;

    // The statement text of the current values (a pure function of the fields).
    std::string MontaInsert() const;
    // Executes MontaInsert on the main query, then LimpaCampos. A database error leaves the
    // values as they were.
    bool Insere();
    void LimpaCampos();
    // Empties Produto within the run's transaction.
    void LimpaTabela();

    // ---- Texts ---------------------------------------------------------------------------
    void SetCodProd(const std::string& v);
    void SetTipoProd(const std::string& v) { TipoProd_ = v; }
    void SetAtivo(const std::string& v);
    void SetProdBloqueado(const std::string& v) { ProdBloqueado_ = v; }
    void SetControleSerie(const std::string& v) { ControleSerie_ = v; }
    void SetReferencia(const std::string& v) { Referencia_ = v; }
    void SetRefFabricante(const std::string& v);
    void SetDescricao(const std::string& v);
    void SetDescricao2(const std::string& v);
    void SetDescricao3(const std::string& v);
    void SetFornecUltEnt1(const std::string& v) { FornecUltEnt1_ = v; }
    void SetCodGrupo(const std::string& v);
    void SetCodSubGrupo(const std::string& v);
    void SetPrincipalFornec(const std::string& v);
    void SetEmbalagem(const std::string& v);
    void SetCodFabric(const std::string& v);
    void SetObservacao(const std::string& v) { Observacao_ = v; }
    void SetCodLocal(const std::string& v);
    void SetCodClasFis(const std::string& v);
    void SetCodTribut00(const std::string& v);
    void SetCodTribut01(const std::string& v);
    void SetCodTribut02(const std::string& v);
    void SetCodTribut03(const std::string& v);
    void SetCodTributDiversos(const std::string& v);
    void SetSubsTrib(const std::string& v) { SubsTrib_ = v; }
    void SetUnidadeEnt(const std::string& v);
    void SetUnidadeSaida(const std::string& v);
    void SetCodFamilia(const std::string& v);
    void SetCodTipoProduto(const std::string& v);
    void SetCodVolume(const std::string& v);
    void SetTipoEntrega(const std::string& v);
    void SetCodGeneroItem(const std::string& v) { CodGeneroItem_ = v; }
    void SetDescricaoPreco(const std::string& v);
    void SetDescricaoPreco2(const std::string& v);
    void SetDescricaoPreco3(const std::string& v);
    void SetDescricaoPreco4(const std::string& v);
    void SetDtCadastro(const std::string& v) { DtCadastro_ = v; }
    void SetCampoLivre1(const std::string& v);
    void SetCampoLivre2(const std::string& v);
    void SetCampoLivre3(const std::string& v);
    void SetCampoLivre4(const std::string& v);
    void SetMensagem00(const std::string& v) { Mensagem00_ = v; }
    void SetMensagem01(const std::string& v) { Mensagem01_ = v; }
    void SetMensagem02(const std::string& v) { Mensagem02_ = v; }
    void SetMensagem03(const std::string& v) { Mensagem03_ = v; }
    void SetMensagemDiversos(const std::string& v) { MensagemDiversos_ = v; }
    void SetSubsTribSaida(const std::string& v) { SubsTribSaida_ = v; }
    void SetSubsTribSaidaR1(const std::string& v) { SubsTribSaidaR1_ = v; }
    void SetSubsTribSaidaR2(const std::string& v) { SubsTribSaidaR2_ = v; }
    void SetSubsTribSaidaR3(const std::string& v) { SubsTribSaidaR3_ = v; }
    void SetSubsTribSaidaR4(const std::string& v) { SubsTribSaidaR4_ = v; }
    void SetControleLote(const std::string& v) { ControleLote_ = v; }

    // ---- Numbers, stored as given ---------------------------------------------------------
    void SetPreco(double v) { Preco_ = v; }
    void SetPreco2(double v) { Preco2_ = v; }
    void SetPreco3(double v) { Preco3_ = v; }
    void SetPreco4(double v) { Preco4_ = v; }
    void SetPeso(double v) { Peso_ = v; }
    void SetAliqIcmsReg00(double v) { AliqIcmsReg00_ = v; }
    void SetBaseIcmsReg00(double v) { BaseIcmsReg00_ = v; }
    void SetAliqIcmsReg01(double v) { AliqIcmsReg01_ = v; }
    void SetBaseIcmsReg01(double v) { BaseIcmsReg01_ = v; }
    void SetAliqIcmsReg02(double v) { AliqIcmsReg02_ = v; }
    void SetBaseIcmsReg02(double v) { BaseIcmsReg02_ = v; }
    void SetAliqIcmsReg03(double v) { AliqIcmsReg03_ = v; }
    void SetBaseIcmsReg03(double v) { BaseIcmsReg03_ = v; }
    void SetAliqIcmsPdv(double v) { AliqIcmsPdv_ = v; }
    void SetValorIpi(double v) { ValorIpi_ = v; }
    void SetAliqIcmsDiversos(double v) { AliqIcmsDiversos_ = v; }
    void SetBaseIcmsDiversos(double v) { BaseIcmsDiversos_ = v; }
    void SetPercBaseSubsTribSaidaR1(double v) { PercBaseSubsTribSaidaR1_ = v; }
    void SetPercIcmsSubsTribSaidaR1(double v) { PercIcmsSubsTribSaidaR1_ = v; }
    void SetPercBaseSubsTribSaidaR2(double v) { PercBaseSubsTribSaidaR2_ = v; }
    void SetPercIcmsSubsTribSaidaR2(double v) { PercIcmsSubsTribSaidaR2_ = v; }
    void SetPercBaseSubsTribSaidaR3(double v) { PercBaseSubsTribSaidaR3_ = v; }
    void SetPercIcmsSubsTribSaidaR3(double v) { PercIcmsSubsTribSaidaR3_ = v; }
    void SetPercBaseSubsTribSaidaR4(double v) { PercBaseSubsTribSaidaR4_ = v; }
    void SetPercIcmsSubsTribSaidaR4(double v) { PercIcmsSubsTribSaidaR4_ = v; }
    void SetPrecoPromo(double v) { PrecoPromo_ = v; }
    void SetAliqIpi(double v) { AliqIpi_ = v; }
    void SetAliqIss(double v) { AliqIss_ = v; }
    void SetLucro(double v) { Lucro_ = v; }
    void SetLucro2(double v) { Lucro2_ = v; }
    void SetLucro3(double v) { Lucro3_ = v; }
    void SetLucro4(double v) { Lucro4_ = v; }
    void SetEstMinimo(double v) { EstMinimo_ = v; }
    void SetEstMaximo(double v) { EstMaximo_ = v; }
    void SetLucroSubsTrib(double v) { LucroSubsTrib_ = v; }
    void SetPercBaseSubsTribSaida(double v) { PercBaseSubsTribSaida_ = v; }
    void SetPercIcmsSubsTribSaida(double v) { PercIcmsSubsTribSaida_ = v; }
    void SetComissao(double v) { Comissao_ = v; }
    void SetPercIva(double v) { PercIva_ = v; }
    void SetFatorConversao(double v) { FatorConversao_ = v; }
    void SetGrade(int v) { Grade_ = v; }

    const std::string& CodProd() const { return CodProd_; }
    const std::string& UnidadeEnt() const { return UnidadeEnt_; }
    const std::string& UnidadeSaida() const { return UnidadeSaida_; }
    const std::string& Descricao() const { return Descricao_; }
    const std::string& CodClasFis() const { return CodClasFis_; }
    const std::string& CodTribut00() const { return CodTribut00_; }
    double Preco() const { return Preco_; }

  private:
    struct TColuna;
    static const TColuna* Colunas(size_t& quantidade);

    std::string CodProd_, Descricao_, Descricao2_, Descricao3_, Referencia_, RefFabricante_,
        PrincipalFornec_, CodGrupo_, CodSubGrupo_, UnidadeEnt_, UnidadeSaida_, CodFamilia_,
        CodTipoProduto_, DescricaoPreco_, DescricaoPreco2_, DescricaoPreco3_, DescricaoPreco4_,
        CodLocal_, CampoLivre1_, CampoLivre2_, CampoLivre3_, CampoLivre4_, Observacao_,
        ControleSerie_, Ativo_, TipoProd_, ProdBloqueado_, CodClasFis_, CodTribut00_, DtCadastro_,
        Embalagem_, FornecUltEnt1_, CodFabric_, CodVolume_, TipoEntrega_, Mensagem00_, Mensagem01_,
        CodTribut02_, CodTribut03_, Mensagem02_, Mensagem03_, ControleLote_, CodTributDiversos_,
        MensagemDiversos_, SubsTribSaidaR1_, SubsTribSaidaR2_, SubsTribSaidaR3_, SubsTribSaidaR4_;
    double Preco_ = 0, Preco2_ = 0, Preco3_ = 0, Preco4_ = 0, Peso_ = 0, AliqIcmsReg00_ = 0,
           BaseIcmsReg00_ = 0, AliqIcmsPdv_ = 0, ValorIpi_ = 0, AliqIcmsReg02_ = 0,
           AliqIcmsDiversos_ = 0, BaseIcmsDiversos_ = 0, PercBaseSubsTribSaidaR1_ = 0,
           PercIcmsSubsTribSaidaR1_ = 0, PercBaseSubsTribSaidaR2_ = 0, PercIcmsSubsTribSaidaR2_ = 0,
           PercBaseSubsTribSaidaR3_ = 0, PercIcmsSubsTribSaidaR3_ = 0, PercBaseSubsTribSaidaR4_ = 0,
           PercIcmsSubsTribSaidaR4_ = 0, PrecoPromo_ = 0, AliqIpi_ = 0, AliqIss_ = 0, Lucro_ = 0,
           Lucro2_ = 0, Lucro3_ = 0, EstMinimo_ = 0, EstMaximo_ = 0, AliqIcmsReg01_ = 0,
           BaseIcmsReg01_ = 0, AliqIcmsReg03_ = 0, LucroSubsTrib_ = 0, PercBaseSubsTribSaida_ = 0,
           PercIcmsSubsTribSaida_ = 0, Comissao_ = 0;
    std::string SubsTrib_, SubsTribSaida_;
    double Lucro4_ = 0;
    std::string Fracionado_;
    double PrUltEnt1_ = 0, BaseIcmsReg02_ = 0, BaseIcmsReg03_ = 0;
    std::string CodTribut01_;
    double PercIva_ = 0, FatorConversao_ = 0;
    std::string MultDivide_;
    int Grade_ = 0;
    std::string CodGeneroItem_;
};
