// A statement whose rows are read as the caller walks them, not all when it opens: only the
// current row is held (and the messages the client library fetches ahead of it), so a source
// table of any length costs the memory of one row. The statement is prepared for this cursor
// alone, not taken from the connection's cache, so the connection's other queries (even of the
// same text) run while it is open. Its rows come from the connection's transaction, which must
// stay active until the cursor is done.
#pragma once

#include "conversion/BancoFirebird.h"
#include "conversion/Consulta.h"

#include <memory>
#include <string>
#include <vector>

namespace Firebird {
class IResultSet;
}  // namespace Firebird

class TConsultaSequencial : public TCamposResultado {
  public:
    explicit TConsultaSequencial(TBancoFirebird& banco);
    ~TConsultaSequencial();
    TConsultaSequencial(const TConsultaSequencial&) = delete;
    TConsultaSequencial& operator=(const TConsultaSequencial&) = delete;

    // Setting or clearing the statement text closes the cursor.
    void DefineSQL(const std::string& sql);
    void LimpaSQL() { DefineSQL(std::string()); }
    const std::string& SQL() const { return sql_; }

    // Runs the statement and stands on its first row.
    void Abre();
    // Reads the next row; a failure of the engine while fetching it comes out here.
    void Proximo();
    bool Fim() const { return !temLinha_; }
    void Fecha();

    // The rows the statement gives, counted by the engine in the connection's transaction, once
    // it is open. In a snapshot transaction that is exactly what the cursor reads.
    int ContaRegistros();

  private:
    const std::vector<TValorCampo>* LinhaAtual() const override {
        return temLinha_ ? &linha_ : nullptr;
    }
    void Busca();
    void FechaCursor();

    TBancoFirebird& banco_;
    std::string sql_;
    Firebird::IStatement* statement_ = nullptr;
    Firebird::IResultSet* cursor_ = nullptr;
    std::unique_ptr<TLeitorLinhas> leitor_;
    std::vector<TValorCampo> linha_;
    bool temLinha_ = false;
};
