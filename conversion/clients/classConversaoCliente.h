// One client of the target table Cliente: each value cleaned as it is set, written as one
// literal INSERT or UPDATE. Both client mappings fill one writer per pass and rely on it
// returning to its defaults after every statement (all but the contact, which carries over).
#pragma once

#include "conversion/classConversao.h"

#include <cstdint>
#include <string>

// Client codes have eight digits; a larger number would be cut and land on another client's code.
inline constexpr std::int64_t kMaiorCodigoCliente = 99999999;

class TConverteCliente : public TConversao {
  public:
    static constexpr int kInsere = 1;
    static constexpr int kAltera = 2;

    TConverteCliente(TBancoFirebird& banco, IAvisos& avisos);

    // The statement texts of the current values (pure functions of the fields).
    std::string MontaInsert() const;
    std::string MontaUpdate() const;
    // Tipo 1 inserts, 2 updates (keyed on CodCliente); then LimpaCampos. Any other Tipo, or a
    // database error, leaves the values as they were and fails.
    bool Grava(int Tipo);
    void LimpaCampos();
    // Empties Cliente within the run's transaction.
    void LimpaTabela();

    void SetCodCliente(const std::string& v);
    void SetNome(const std::string& v);
    void SetNomeFantasia(const std::string& v);
    void SetEndereco(const std::string& v);
    void SetBairro(const std::string& v);
    void SetCodCidade(const std::string& v);
    void SetEstado(const std::string& v);
    void SetCep(const std::string& v);
    void SetCgcCpf(const std::string& v);
    void SetInscEst(const std::string& v);
    void SetPessoaFJ(const std::string& v);
    void SetFone(const std::string& v);
    void SetFax(const std::string& v);
    void SetPrefixCelular(const std::string& v);
    void SetCelular(const std::string& v);
    void SetCampoLivre1(const std::string& v);
    void SetCampoLivre2(const std::string& v);
    void SetCampoLivre3(const std::string& v);
    void SetCampoLivre4(const std::string& v);
    void SetCampoLivre5(const std::string& v);
    void SetCampoLivre6(const std::string& v);
    void SetCampoLivre7(const std::string& v);
    void SetCampoLivre8(const std::string& v);
    void SetCampoLivre9(const std::string& v);
    void SetCampoLivre10(const std::string& v);
    void SetObservacao(const std::string& v);
    void SetEmail(const std::string& v);
    void SetHomePage(const std::string& v);
    void SetEnderecoCob(const std::string& v);
    void SetBairroCob(const std::string& v);
    void SetCepCob(const std::string& v);
    void SetCodCidadeCob(const std::string& v);
    void SetEstadoCob(const std::string& v);
    void SetEnderecoEnt(const std::string& v);
    void SetBairroEnt(const std::string& v);
    void SetCepEnt(const std::string& v);
    void SetCodCidadeEnt(const std::string& v);
    void SetEstadoEnt(const std::string& v);
    void SetContato(const std::string& v);
    void SetDtNascimento(const std::string& v);
    void SetDtCadastro(const std::string& v);
    void SetAtivo(const std::string& v);
    void SetCliBloqueado(const std::string& v);

    const std::string& CodCliente() const { return CodCliente_; }
    const std::string& Nome() const { return Nome_; }
    const std::string& Endereco() const { return Endereco_; }
    const std::string& CodCidade() const { return CodCidade_; }
    const std::string& Estado() const { return Estado_; }
    const std::string& CgcCpf() const { return CgcCpf_; }
    const std::string& InscEst() const { return InscEst_; }
    const std::string& PessoaFJ() const { return PessoaFJ_; }
    const std::string& Fone() const { return Fone_; }
    const std::string& Fax() const { return Fax_; }
    const std::string& Celular() const { return Celular_; }
    const std::string& CodCidadeCob() const { return CodCidadeCob_; }
    const std::string& CodCidadeEnt() const { return CodCidadeEnt_; }
    const std::string& Contato() const { return Contato_; }
    const std::string& DtNascimento() const { return DtNascimento_; }
    const std::string& DtCadastro() const { return DtCadastro_; }

  private:
    struct TColuna;
    static const TColuna* Colunas(size_t& quantidade);
    static const TColuna* Datas(size_t& quantidade);
    std::string ValorDe(const TColuna& coluna) const;

    std::string CodCliente_, Nome_, NomeFantasia_, Endereco_, Bairro_, CodCidade_, Estado_, Cep_,
        CgcCpf_, InscEst_, PessoaFJ_, Fone_, Fax_, PrefixCelular_, Celular_, CampoLivre1_,
        CampoLivre2_, CampoLivre3_, CampoLivre4_, CampoLivre5_, CampoLivre6_, CampoLivre7_,
        CampoLivre8_, CampoLivre9_, CampoLivre10_, Observacao_, Email_, HomePage_, EnderecoCob_,
        BairroCob_, CepCob_, CodCidadeCob_, EstadoCob_, EnderecoEnt_, BairroEnt_, CepEnt_,
        CodCidadeEnt_, EstadoEnt_, Contato_;
    // No operation sets these; every statement writes them as they were created.
    std::string CodFornec_, CodSegmento_, CodClasCli_, CodVendend1_, NomeSocio_;
    double LimiteCredito_ = 0;
    std::string DtNascimento_, DtUltVenda_, DtCadastro_, DtValCad_;
    std::string Ativo_, CliBloqueado_;
};
