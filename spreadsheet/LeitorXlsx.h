// Office Open XML workbooks (.xlsx): the zip container through libzip, each part streamed
// through expat. Only what the cells' values need is read: the workbook's sheet list and its
// relationships, the shared texts and the sheets' cell data. Styles are never read, so dates
// arrive as the day serials the file stores.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "spreadsheet/PastaTrabalho.h"

class TLeitorXlsx : public TPastaTrabalho {
  public:
    // Reads the sheet list; fails with EPlanilha when the file is not a readable xlsx.
    explicit TLeitorXlsx(const std::string& caminho);
    ~TLeitorXlsx() override;

    class TZip;

  protected:
    std::unique_ptr<TAbaLida> LeAba(std::size_t indice) override;
    std::optional<TMedidaAba> MedeAba(std::size_t indice) override;
    std::unique_ptr<TPercursoAba> PercorreAba(std::size_t indice) override;

  private:
    std::shared_ptr<const TTextos> TextosCompartilhados();

    std::shared_ptr<TZip> zip_;            // shared with the walks of its sheets
    std::vector<std::string> partesAbas_;  // zip entry of each listed worksheet; empty: none
    std::string parteTextos_;              // the shared-strings part, empty when there is none
    std::shared_ptr<const TTextos> textos_;
    std::uint32_t textosAnunciados_ = 0;  // what the shared-strings part says it holds
    bool data1904_ = false;               // dates count from 1904-01-01
};
