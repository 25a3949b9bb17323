#include "app/cli/Versao.h"

#include "conversion/Firebird.h"

#include <ibase.h>

namespace cli {

std::string TextoVersao() {
    // The library that is loaded, not the headers we were built with: a site may have another.
    const unsigned versao = fb::Util()->getClientVersion();
    char completa[256] = {};
    isc_get_client_version(completa);
    return "conversor " CONVERSOR_VERSAO "\nbiblioteca cliente do Firebird " +
           std::to_string(versao >> 8) + "." + std::to_string(versao & 0xFF) +
           " (identificação: " + completa + ")";
}

}  // namespace cli
