// The bytes of BIFF8 records, little-endian as the format stores them: what the reader tests and
// the fuzz targets' starting inputs build their hand-made xls streams from.
#pragma once

#include <bit>
#include <cstdint>
#include <string>

namespace apoio_planilha {

inline std::string U16(unsigned v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

inline std::string U32(std::uint32_t v) {
    return U16(v & 0xFFFF) + U16(v >> 16);
}

inline std::string F64(double v) {
    auto b = std::bit_cast<std::uint64_t>(v);
    return U32(static_cast<std::uint32_t>(b)) + U32(static_cast<std::uint32_t>(b >> 32));
}

inline std::string Registro(unsigned tipo, const std::string& corpo) {
    return U16(tipo) + U16(static_cast<unsigned>(corpo.size())) + corpo;
}

// tipoSubfluxo: 0x0005 globals, 0x0010 sheet, 0x0020 chart.
inline std::string Bof(unsigned tipoSubfluxo) {
    return Registro(
        0x0809, U16(0x0600) + U16(tipoSubfluxo) + U16(0x0DBB) + U16(0x07CC) + U32(0) + U32(0x06));
}

inline std::string Eof() {
    return Registro(0x000A, "");
}

}  // namespace apoio_planilha
