// One supplier of the target table Fornece: each value loses its apostrophes and is cleaned
// once as it is set, and the whole row goes in as one literal INSERT. Both supplier mappings
// fill one writer per pass and rely on it returning to its defaults after every row.
#pragma once

#include "conversion/classConversao.h"

#include <string>

class TConverteFornece : public TConversao {
  public:
    TConverteFornece(TBancoFirebird& banco, IAvisos& avisos);

    // The statement text of the current values (a pure function of the fields).
    std::string MontaInsert() const;
    // Executes MontaInsert on the main query, then LimpaCampos. A database error leaves the
    // values as they were.
    void Insere();
    void LimpaCampos();
    // Empties Fornece within the run's transaction.
    void LimpaTabela();

    void SetCodFornec(const std::string& v);
    void SetNome(const std::string& v);
    void SetNomeFantasia(const std::string& v);
    void SetContato(const std::string& v);
    void SetEndereco(const std::string& v);
    void SetBairro(const std::string& v);
    void SetCep(const std::string& v);
    void SetCodCidade(const std::string& v);
    void SetNumero(const std::string& v);
    void SetComplemento(const std::string& v);
    void SetEstado(const std::string& v);
    void SetInscMunicipal(const std::string& v);
    void SetPessoaFJ(const std::string& v);
    void SetCgcCpf(const std::string& v);
    void SetInscEst(const std::string& v);
    void SetObservacao(const std::string& v);
    void SetFone(const std::string& v);
    void SetFax(const std::string& v);
    void SetCelular(const std::string& v);
    void SetEmail(const std::string& v);
    void SetHomePage(const std::string& v);
    void SetCampoLivre1(const std::string& v);
    void SetCampoLivre2(const std::string& v);
    // Takes the first character as it comes, apostrophe included, upper-cased.
    void SetAtivo(const std::string& v);
    void SetTipoFornece(const std::string& v);
    void SetCodMunicipio(const std::string& v);

    const std::string& CodFornec() const { return CodFornec_; }
    const std::string& Nome() const { return Nome_; }
    const std::string& Estado() const { return Estado_; }
    const std::string& CodCidade() const { return CodCidade_; }
    const std::string& CgcCpf() const { return CgcCpf_; }
    const std::string& PessoaFJ() const { return PessoaFJ_; }

  private:
    struct TColuna;
    static const TColuna* Colunas(size_t& quantidade);

    std::string CodFornec_, Nome_, NomeFantasia_, Contato_, Endereco_, Bairro_, Cep_, CodCidade_,
        Numero_, Complemento_, Estado_, InscMunicipal_, PessoaFJ_, CgcCpf_, InscEst_, Observacao_,
        Fone_, Fax_, Celular_, Email_, HomePage_, CampoLivre1_, CampoLivre2_, CodCliente_, Ativo_,
        TipoFornece_, ContaCx_, CtCtbRed_, CodMunicipio_;
};
