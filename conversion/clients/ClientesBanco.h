// The source side of the clients run: the Tessaly CLIENTE statement.
#pragma once

#include "conversion/Consulta.h"

// Sets the CLIENTE statement on the query, opens it and gives the same query back.
TConsulta& AbreClientesBanco(TConsulta& consulta);
