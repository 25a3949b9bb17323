// The source side of the suppliers run: the FORNECEDOR statement.
#pragma once

#include "conversion/ConsultaSequencial.h"

// The statement on the source, also read by the check that runs before a conversion.
extern const char* const kComandoFornecedoresBanco;

// Sets the FORNECEDOR statement on the query, opens it on its first row and gives the same query
// back.
TConsultaSequencial& AbreFornecedoresBanco(TConsultaSequencial& consulta);
