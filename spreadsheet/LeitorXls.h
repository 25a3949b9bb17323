// Excel's binary workbooks (.xls): the BIFF8 and BIFF5 records of the "Workbook" ("Book")
// stream of an OLE2 container, and the bare BIFF2, BIFF3 and BIFF4 files of Excel 2.x to 4.0
// and of old export tools (the records from byte 0, no container). The whole stream is loaded
// once; each worksheet's records are decoded when the sheet is first asked for.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "spreadsheet/PastaTrabalho.h"
#include "spreadsheet/RegistrosBiff.h"

class TLeitorXls : public TPastaTrabalho {
  public:
    // Reads the sheet list; fails with EPlanilha when the file is not a readable xls or is
    // protected by a password.
    explicit TLeitorXls(const std::string& caminho);

  protected:
    std::unique_ptr<TAbaLida> LeAba(std::size_t indice) override;

  private:
    void LeGlobais();
    void LeArquivoAntigo(const std::string& caminho);
    std::shared_ptr<const TTextos> TextosCompartilhados();

    std::vector<std::uint8_t> fluxo_;
    TVersaoBiff versao_ = TVersaoBiff::Biff8;
    unsigned paginaCodigo_ = 1252;
    std::vector<std::size_t> inicioAbas_;  // stream offset of each listed worksheet's BOF
    // Bodies of the SST record and of the CONTINUE records after it (offset, size).
    std::vector<std::pair<std::size_t, std::size_t>> segmentosSst_;
    std::shared_ptr<const TTextos> textos_;
    std::uint32_t textosAnunciados_ = 0;  // what the SST record says it holds
};
