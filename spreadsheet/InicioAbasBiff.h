// Where each worksheet's substream starts in a BIFF5 or BIFF8 workbook stream. The sheet list
// gives an offset per sheet, and some producers write it off the sheet's BOF record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "spreadsheet/RegistrosBiff.h"

namespace biff {

// declarados: the offsets that the sheet list gives for its worksheets, in list order. For each,
// the offset of its BOF record: the offset itself when a BOF of a sheet is there; else the
// nearer of the worksheet BOFs just before and just after it that no other sheet claims; else,
// when the stream holds one worksheet BOF per listed worksheet, the BOF of the same rank.
// std::size_t(-1) when none is left for it.
std::vector<std::size_t> LocalizaInicioAbas(const std::vector<std::uint8_t>& fluxo,
                                            TVersaoBiff versao,
                                            const std::vector<std::uint32_t>& declarados);

}  // namespace biff
