// Real embedded Firebird databases for the tests: a fresh target (almuro.fdb, dialect 1) and
// source (tessaly.fdb, dialect 3) built from the program's own schemas in a temporary directory,
// and a few helpers to fill and inspect them.
//
// The helpers speak UTF-8, as the test sources are written: texts going in are converted to the
// engine's Windows-1252, texts coming out are converted back. Every helper that writes commits
// the connection's default transaction, so what it wrote is there for whatever runs next.
#pragma once

#include "conversion/BancoFirebird.h"

#include <filesystem>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace apoio {

// A directory of its own under the system's temporary directory, removed with all its content
// when the object goes.
class TDiretorioTemporario {
  public:
    TDiretorioTemporario();
    ~TDiretorioTemporario();
    TDiretorioTemporario(const TDiretorioTemporario&) = delete;
    TDiretorioTemporario& operator=(const TDiretorioTemporario&) = delete;

    const std::filesystem::path& Caminho() const { return caminho_; }
    // The path of a file inside the directory, as a text.
    std::string Arquivo(const std::string& nome) const { return (caminho_ / nome).string(); }

  private:
    std::filesystem::path caminho_;
};

// Creates the database file at caminho with the connection's dialect (the file must not exist)
// and runs the embedded schema of that name ("almuro", "tessaly") on it; stays connected.
void CriaBancoDoEsquema(TBancoFirebird& banco, const std::string& caminho,
                        const std::string& esquema);

// Both databases of a conversion, new and empty, connected. The embedded engine lets one
// process at a time open a file: Desconecta before another process (the conversor binary) uses
// them, Conecta to look at them again afterwards.
class TBancosTeste {
  public:
    TBancosTeste();
    ~TBancosTeste();

    TBancoFirebird& Almuro() { return almuro_; }
    TBancoFirebird& Tessaly() { return tessaly_; }
    const std::string& CaminhoAlmuro() const { return caminhoAlmuro_; }
    const std::string& CaminhoTessaly() const { return caminhoTessaly_; }
    const TDiretorioTemporario& Diretorio() const { return diretorio_; }

    void Desconecta();
    void Conecta();

  private:
    TDiretorioTemporario diretorio_;  // declared first: it outlives both connections
    std::string caminhoAlmuro_;
    std::string caminhoTessaly_;
    TBancoFirebird almuro_{1};
    TBancoFirebird tessaly_{3};
};

using TLinha = std::vector<std::string>;
using TValor = std::optional<std::string>;  // std::nullopt for NULL

// The result columns of a query, as the database names them (aliases, upper case when unquoted).
std::vector<std::string> Campos(TBancoFirebird& banco, const std::string& sql);

// Every row of a query, each as the texts of its columns in the order of the select list, in the
// database layer's text form (NULL gives the empty text, DATE dd/mm/yyyy, numbers with the
// regional separator). Columns must have distinct names; use aliases where they would not.
std::vector<TLinha> Linhas(TBancoFirebird& banco, const std::string& sql);

// The first column of the first row of a query; fails when there is no row.
std::string Valor(TBancoFirebird& banco, const std::string& sql);

int ContaLinhas(TBancoFirebird& banco, const std::string& tabela);

// Every row of every table of a database (user tables, no views), each table's rows in a fixed
// order: two dumps are equal when the databases hold the same data.
std::map<std::string, std::vector<TLinha>> Despeja(const std::string& caminho);

// Runs one statement without a result set and commits.
void Executa(TBancoFirebird& banco, const std::string& sql);

// Inserts rows into a table with one prepared statement, the values of each row in the order
// of colunas, and commits.
void InsereLinhas(TBancoFirebird& banco, const std::string& tabela,
                  const std::vector<std::string>& colunas,
                  const std::vector<std::vector<TValor>>& linhas);

}  // namespace apoio
