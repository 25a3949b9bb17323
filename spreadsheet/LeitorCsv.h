// Delimited text files (.csv): one sheet named after the file. The delimiter (";", "," or TAB)
// is the one the first line uses most outside quotes; quoting follows RFC 4180. Every field is
// the text as written, except TRUE and FALSE (any case), which are logical values.
#pragma once

#include <memory>
#include <string>

#include "spreadsheet/PastaTrabalho.h"

class TLeitorCsv : public TPastaTrabalho {
  public:
    explicit TLeitorCsv(const std::string& caminho);

  protected:
    std::unique_ptr<TAbaLida> LeAba(std::size_t indice) override;
};
