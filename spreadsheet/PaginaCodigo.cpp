#include "spreadsheet/PaginaCodigo.h"

#include "common/Win1252.h"

TPaginaCodigo::TPaginaCodigo(unsigned numero) {
    switch (numero) {
        case 32768:  // Mac Roman, as Excel 2 to 4 number it
            numero = 10000;
            break;
        case 932:
        case 936:
        case 949:
        case 950:
        case 1361:
            duplo_ = numero;
            return;
        default:
            break;
    }
    for (std::size_t i = 0; i < paginacodigo::kQuantidadeTabelas; ++i) {
        if (paginacodigo::kTabelas[i].numero == numero) {
            alta_ = paginacodigo::kTabelas[i].alta;
            return;
        }
    }
}

unsigned TPaginaCodigo::DoCharset(std::uint8_t charset) {
    switch (charset) {
        case 0:
            return 1252;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        default:
            return 0;
    }
}

// The lead bytes of the two-byte characters; those characters have no Windows-1252 byte.
bool TPaginaCodigo::EhPrimeiroDeDois(std::uint8_t b) const {
    switch (duplo_) {
        case 932:  // Shift-JIS
            return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        case 1361:  // Johab
            return (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xDE) || (b >= 0xE0 && b <= 0xF9);
        default:
            return b >= 0x81 && b <= 0xFE;
    }
}

void TPaginaCodigo::Acrescenta(std::string& destino, const std::uint8_t* p, std::size_t n) const {
    for (std::size_t i = 0; i < n; ++i) {
        std::uint8_t b = p[i];
        if (b == 0)
            continue;
        if (b < 0x80) {
            destino += static_cast<char>(b);
        } else if (duplo_) {
            if (EhPrimeiroDeDois(b) && i + 1 < n)
                ++i;
            destino += '?';
        } else if (!alta_) {
            destino += static_cast<char>(b);
        } else {
            char16_t u = alta_[b - 0x80];
            if (u == 0) {
                destino += '?';
            } else {
                win1252::AcrescentaCodigo(destino, u);
            }
        }
    }
}
