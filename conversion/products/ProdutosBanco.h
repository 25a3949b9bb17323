// The source side of the products run: the ESTOQUE statement and the CLFISCAL lookup.
#pragma once

#include "conversion/BancoFirebird.h"
#include "conversion/Consulta.h"
#include "conversion/ConsultaSequencial.h"

#include <string>

// The statements on the source, also read by the check that runs before a conversion.
extern const char* const kComandoEstoque;
extern const char* const kComandoClFiscal;

// Sets the ESTOQUE statement on the query, opens it on its first row and gives the same query back.
TConsultaSequencial& AbreProdutosBanco(TConsultaSequencial& consulta);

// The SIT_TRIBUTARIA that CLFISCAL gives for a code, or the empty text when there is none.
std::string RetornaSitTributaria(TBancoFirebird& origem, const std::string& codigo);

// "number or 0": a column whose text is blank (NULL included) reads 0.
double NumeroOuZero(const TCamposResultado& consulta, const std::string& campo);
