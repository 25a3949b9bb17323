// The record layer of Excel's binary formats, from BIFF2 (Excel 2.x) to BIFF8 (Excel 97-2003):
// walking records, reading their texts, and decoding the cell records of one sheet substream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/Erros.h"
#include "spreadsheet/PaginaCodigo.h"
#include "spreadsheet/PastaTrabalho.h"

enum class TVersaoBiff : std::uint8_t { Biff2, Biff3, Biff4, Biff5, Biff8 };

namespace biff {

// Record types read outside the sheets.
enum : std::uint16_t {
    kEof = 0x000A,
    kFilepass = 0x002F,
    kFont = 0x0031,
    kContinue = 0x003C,
    kCodepage = 0x0042,
    kWsBool = 0x0081,
    kBoundSheet = 0x0085,
    kSheetHdr = 0x008F,  // BIFF4 workbooks: a sheet's name, before its substream
    kSst = 0x00FC,
    kDimensions = 0x0200,
    kBof2 = 0x0009,
    kBof3 = 0x0209,
    kBof4 = 0x0409,
    kBof = 0x0809,
};

// BOF substream types.
enum : std::uint16_t {
    kBofGlobais = 0x0005,
    kBofPlanilha = 0x0010,
    kBofPastaBiff4 = 0x0100,
};

inline bool EhBof(std::uint16_t tipo) {
    return tipo == kBof || tipo == kBof2 || tipo == kBof3 || tipo == kBof4;
}

std::uint16_t U16(const std::uint8_t* p);
std::uint32_t U32(const std::uint8_t* p);

EPlanilha Truncado();

struct TRegistro {
    std::uint16_t tipo = 0;
    const std::uint8_t* dados = nullptr;
    std::size_t tamanho = 0;
};

class TCursorRegistros {
  public:
    TCursorRegistros(const std::vector<std::uint8_t>& fluxo, std::size_t pos)
        : f_(fluxo), pos_(pos) {}

    // false at the end of the stream; a record cut short by it fails.
    bool Proximo(TRegistro& r);
    bool ProximoEhContinue() const { return pos_ + 4 <= f_.size() && U16(&f_[pos_]) == kContinue; }
    std::size_t Posicao() const { return pos_; }

  private:
    const std::vector<std::uint8_t>& f_;
    std::size_t pos_;
};

// A record's body followed by its CONTINUE records, read as one. Character data split across
// a CONTINUE boundary starts there with a fresh option byte (8-bit or UTF-16); everything
// else runs on seamlessly.
class TLeitorSegmentos {
  public:
    void Acrescenta(const std::uint8_t* p, std::size_t n) {
        if (n)
            segs_.push_back({p, n});
    }

    // No byte left in any segment.
    bool Fim() const {
        return seg_ >= segs_.size() || (pos_ >= segs_[seg_].second && seg_ + 1 >= segs_.size());
    }

    std::uint8_t U8();
    std::uint16_t Le16() {
        std::uint16_t a = U8();
        return static_cast<std::uint16_t>(a | (U8() << 8));
    }
    std::uint32_t Le32() {
        std::uint32_t a = Le16();
        return a | (static_cast<std::uint32_t>(Le16()) << 16);
    }
    void Pula(std::size_t n);

    // cch characters in Windows-1252; alto: two bytes (UTF-16LE) per character, else one
    // (the code point U+0000..U+00FF).
    void Caracteres(std::size_t cch, bool alto, std::string& destino);

  private:
    void AvancaSeEsgotado() {
        while (seg_ < segs_.size() && pos_ >= segs_[seg_].second) {
            ++seg_;
            pos_ = 0;
        }
    }

    std::vector<std::pair<const std::uint8_t*, std::size_t>> segs_;
    std::size_t seg_ = 0, pos_ = 0;
};

// BIFF8 string of cch characters: the option byte, then (in the shared string table only) the
// counts of rich-text runs and of far-east data, the characters, and the runs and data, which
// are formatting and reading aids, not text.
std::string TextoBiff8(TLeitorSegmentos& l, std::size_t cch, bool estendido);

// Decodes the cell records of the sheet substream whose BOF is at inicio. sst: the shared
// texts (BIFF8); an index below textosAnunciados that the table does not hold reads empty.
// pagina: the code page of 8-bit texts until the substream names its own.
void LeCelulas(const std::vector<std::uint8_t>& fluxo, std::size_t inicio, TVersaoBiff versao,
               TPaginaCodigo pagina, const TTextos* sst, std::uint32_t textosAnunciados,
               TAbaLida& aba);

}  // namespace biff
