// Where the run is, as a failure names it, for statements that run later than their record: a
// held statement keeps the place of its record, and a refusal found later names that place.
#pragma once

#include <string>

class EBancoDados;

class ILugarDosComandos {
  public:
    virtual ~ILugarDosComandos() = default;
    // The place as a failure here and now would name it.
    virtual std::string Marca() const = 0;
    // From now on a failure names this place, until Solta or the next record.
    virtual void Fixa(const std::string& marca) = 0;
    // Back to the place the run is at.
    virtual void Solta() = 0;
    // The statement of the place fixed was refused: the place names what its record's own write
    // would have named for that refusal.
    virtual void Recusado(const EBancoDados& erro) = 0;
};
