// Delimited text files (.csv): one sheet named after the file. The delimiter (";", "," or TAB)
// is the one the first line uses most outside quotes; quoting follows RFC 4180. Every field is
// the text as written, except TRUE and FALSE (any case), which are logical values.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "spreadsheet/PastaTrabalho.h"

class TLeitorCsv : public TPastaTrabalho {
  public:
    explicit TLeitorCsv(const std::string& caminho);

    // The file, open from the reader's creation on; shared with the walks of its sheet.
    struct TArquivo {
        int fd = -1;
        TArquivo() = default;
        ~TArquivo();
        TArquivo(const TArquivo&) = delete;
        TArquivo& operator=(const TArquivo&) = delete;
    };

  protected:
    std::unique_ptr<TAbaLida> LeAba(std::size_t indice) override;
    std::optional<TMedidaAba> MedeAba(std::size_t indice) override;
    std::unique_ptr<TPercursoAba> PercorreAba(std::size_t indice) override;

  private:
    void ExigeArquivo() const;
    void ConhecePropriedades();
    // Every field of the file into destino.
    void Analisa(TReceptorCelulas& destino);
    EPlanilha Relata(const EPlanilha& e) const;

    std::shared_ptr<const TArquivo> arquivo_;
    bool conhecidas_ = false;
    std::uint64_t inicio_ = 0;  // after the byte order mark
    bool utf8_ = false;
    char delim_ = ';';
};
