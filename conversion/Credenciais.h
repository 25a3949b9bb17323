// The user and password every connection gives: the program's own, unless the Firebird client's
// variables ISC_USER and ISC_PASSWORD name others, as a site whose server has its own SYSDBA
// password, or a user of its own for this work, needs.
#pragma once

#include <string>

struct TCredenciais {
    std::string usuario;
    std::string senha;
};

// Read at every call: the variables of the moment the connection is made.
TCredenciais CredenciaisDaConexao();
