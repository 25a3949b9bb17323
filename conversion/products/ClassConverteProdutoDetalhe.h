// The tax detail of one product (PIS, COFINS and CSOSN codes and rates) for ProdutoDetalhe,
// written right after its product row with the same CODPROD.
#pragma once

#include "conversion/classConversao.h"

#include <string>

class TConverteProdutoDetalhe : public TConversao {
  public:
    TConverteProdutoDetalhe(TBancoFirebird& banco, IAvisos& avisos);

    std::string MontaInsert() const;
    bool Insere();
    void LimpaCampos();
    void LimpaTabela();

    void SetCodProd(const std::string& v) { CodProd_ = v; }
    void SetAliqPis(double v) { AliqPis_ = v; }
    void SetPisCst(const std::string& v) { PisCst_ = v; }
    void SetPisEntCst(const std::string& v) { PisEntCst_ = v; }
    void SetAliqCofins(double v) { AliqCofins_ = v; }
    void SetAliqPisEnt(double v) { AliqPisEnt_ = v; }
    void SetAliqCofinsEnt(double v) { AliqCofinsEnt_ = v; }
    void SetCofinsCst(const std::string& v) { CofinsCst_ = v; }
    void SetCofinsEntCst(const std::string& v) { CofinsEntCst_ = v; }
    void SetCodCsosn(const std::string& v) { CodCsosn_ = v; }

    const std::string& CodProd() const { return CodProd_; }

  private:
    std::string CodProd_, ControleReceituario_, CodigoAtividade_, CodigoListaServico_,
        EspelhoMercServ_, ImportadoPortoSeguro_;
    int CodPromocao_ = 0;
    double AliqPis_ = 0;
    std::string PisCst_, PisEntCst_;
    int PisSt_ = 0;
    double AliqCofins_ = 0;
    std::string CofinsCst_, CofinsEntCst_;
    int CofinsSt_ = 0;
    std::string CodCsosn_;
    double PrecoMaxVenda_ = 0;
    int PontoBonus_ = 0;
    double AliqPisEnt_ = 0, AliqCofinsEnt_ = 0;
};
