// Excel 97-2003 workbooks (.xls): the BIFF8 records (and the older BIFF5 ones) of the
// "Workbook" ("Book") stream of the OLE2 container. The whole stream is loaded once; each
// worksheet's records are decoded when the sheet is first asked for.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "spreadsheet/PastaTrabalho.h"

class TLeitorXls : public TPastaTrabalho {
  public:
    // Reads the sheet list; fails with EPlanilha when the file is not a readable xls or is
    // protected by a password.
    explicit TLeitorXls(const std::string& caminho);

  protected:
    std::unique_ptr<TAbaLida> LeAba(std::size_t indice) override;

  private:
    std::shared_ptr<const TTextos> TextosCompartilhados();

    std::vector<std::uint8_t> fluxo_;
    bool biff8_ = true;
    std::vector<std::size_t> inicioAbas_;  // stream offset of each listed worksheet's BOF
    // Bodies of the SST record and of the CONTINUE records after it (offset, size).
    std::vector<std::pair<std::size_t, std::size_t>> segmentosSst_;
    std::shared_ptr<const TTextos> textos_;
};
