// The source side of the suppliers run: the FORNECEDOR statement.
#pragma once

#include "conversion/Consulta.h"

// Sets the FORNECEDOR statement on the query, opens it and gives the same query back.
TConsulta& AbreFornecedoresBanco(TConsulta& consulta);
