// Made-up master data that looks like what a Brazilian shop keeps after years of typing by hand:
// accents, apostrophes and double quotes in names, the same city written several ways, numbers
// with and without their punctuation, the odd blank. Every text is UTF-8.
#pragma once

#include "schema/amostra/Sorteio.h"

#include <string>

struct TCidadeAmostra {
    std::string cidade;
    std::string uf;
};

// One stock item as a shop describes it.
struct TItemAmostra {
    std::string descricao;
    std::string unidade;  // as typed: "UN", "kg", "Caixa", ...
    std::string ncm;      // 8 digits, sometimes dotted or 10 digits, sometimes blank
    long centavos = 0;    // consumer price in cents
    std::string grupo;
};

class TDadosFicticios {
  public:
    explicit TDadosFicticios(TSorteio& sorteio) : s_(sorteio) {}

    std::string NomePessoa();
    std::string RazaoSocial();
    std::string NomeFantasia();
    std::string Contato();

    TCidadeAmostra Cidade();
    std::string Bairro();
    std::string Logradouro();
    std::string Numero();
    std::string Complemento();
    std::string Cep();

    std::string Cpf();   // formatted or plain digits
    std::string Cnpj();  // formatted or plain digits
    std::string InscricaoEstadual();
    std::string Telefone();
    std::string Celular();
    std::string Email(const std::string& nome);
    std::string DataNascimento();  // yyyy-mm-dd

    TItemAmostra Item();
    std::string CodigoBarras();
    std::string Unidade(const std::string& tipica);

  private:
    std::string Digitos(int n);
    TSorteio& s_;
};

// Removes accents and everything but letters and digits, in lower case (for e-mail addresses).
std::string SemAcentos(const std::string& utf8);

// The check digits of the personal (11 digits) and company (14 digits) numbers, so that the
// numbers look like real ones to anyone who validates them.
std::string CompletaCpf(const std::string& noveDigitos);
std::string CompletaCnpj(const std::string& dozeDigitos);
