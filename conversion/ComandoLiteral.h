// A statement written with literal values, run as a prepared statement: every literal becomes a
// "?" and travels bound with the type the engine gives that literal in SQL dialect 1, so the
// value stored is the one the literal would store, while the text to prepare is the same for
// every record a writer renders.
//   'text' (or "text", a string in dialect 1)  a WIN1252 text, inner doubled quotes undone
//   digits with or without a point, no exponent  an exact number: an INT64 scaled by the digits
//                                               after the point (a double if it passes INT64)
//   digits with an exponent                     a double, worked out from the text the way the
//                                               engine does it; one the engine cannot make (a
//                                               power of ten past 10^308, or no finite double)
//                                               is refused, as the engine refuses the literal
// A sign right after "(", "," or "=" belongs to its number. NULL and everything else stay as
// written.
#pragma once

#include "conversion/BancoFirebird.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TValorLiteral {
    enum class Tipo { Texto, Exato, Duplo };
    Tipo tipo = Tipo::Texto;
    std::string texto;         // Texto: the text; a number: the literal as written, sign included
    std::int64_t inteiro = 0;  // Exato: the value times 10^escala
    int escala = 0;            // Exato: digits after the point
    double duplo = 0;
};

class TComandoLiteral {
  public:
    explicit TComandoLiteral(const std::string& sql);

    const std::string& SqlParametrizado() const { return sql_; }
    const std::vector<TValorLiteral>& Valores() const { return valores_; }
    // A number the engine refuses as a literal ("numeric value is out of range"): only the
    // statement as written gives the engine's own refusal.
    bool MotorRecusa() const { return motorRecusa_; }

    // Prepares through the connection's cache and executes in its default transaction.
    void Executa(TBancoFirebird& banco) const;

  private:
    std::string sql_;
    std::vector<TValorLiteral> valores_;
    bool motorRecusa_ = false;
};

// The double the engine makes of a numeric text: the digits gathered as a double, then one
// division (or multiplication) by the power of ten of the point and the exponent. Empty when the
// engine refuses the text: that power of ten is past 10^308, or the result is not finite.
std::optional<double> NumeroAproximadoDoTexto(const std::string& numero);
