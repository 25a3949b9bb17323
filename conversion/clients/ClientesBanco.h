// The source side of the clients run: the Tessaly CLIENTE statement.
#pragma once

#include "conversion/ConsultaSequencial.h"

// The statement on the source, also read by the check that runs before a conversion.
extern const char* const kComandoClientesBanco;

// Sets the CLIENTE statement on the query, opens it on its first row and gives the same query back.
TConsultaSequencial& AbreClientesBanco(TConsultaSequencial& consulta);
