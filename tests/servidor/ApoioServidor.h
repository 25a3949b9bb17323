// What the tests through a Firebird server share: where the server is, and whether it can serve
// a test's folder. scripts/servidor-firebird.sh start runs the server they expect, on
// 127.0.0.1 and the port CONVERSOR_SERVIDOR_PORTA names (default 3050).
#pragma once

#include "tests/apoio/BancosTeste.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace apoio {

// What goes before a database's path to reach it through the server: "127.0.0.1:", or
// "127.0.0.1/PORTA:" for another port.
std::string PrefixoServidor();

// The server runs as another user: it must reach the folder and read and write its files.
void AbreAoServidor(const std::filesystem::path& pasta);

// "" when the server answers and creates a database in pasta that this process sees there;
// otherwise why not, in a sentence for the test's output.
std::string PorQueServidorNaoServe(const std::filesystem::path& pasta);

// CI=true: there a test must never pass without having reached the server.
bool EmIntegracaoContinua();

// Every row of a table, sorted, DT_ALTERACAO left blank: it is the moment the row was written
// (the target's default 'NOW'), which no two runs share.
std::vector<TLinha> LinhasOrdenadas(TBancoFirebird& banco, const std::string& tabela);

}  // namespace apoio

// Skips the test when the server cannot serve pasta, with the reason; under CI=true fails it.
#define EXIGE_SERVIDOR(pasta)                                                                   \
    do {                                                                                        \
        if (const std::string porque = apoio::PorQueServidorNaoServe(pasta); !porque.empty()) { \
            if (apoio::EmIntegracaoContinua())                                                  \
                FAIL() << porque << "\n(CI=true: sem o servidor, o teste falha.)";              \
            GTEST_SKIP() << porque;                                                             \
        }                                                                                       \
    } while (0)
