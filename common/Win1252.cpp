#include "common/Win1252.h"

#include <array>

namespace win1252 {

namespace {

// Unicode of the bytes 0x80..0x9F; 0 marks the five bytes Windows-1252 leaves undefined.
constexpr std::array<char32_t, 32> kAlta = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t Unicode(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) {
        char32_t u = kAlta[b - 0x80];
        return u ? u : b;
    }
    return b;
}

// Decodes one UTF-8 sequence at s[i]; returns its length, 0 when it is not valid.
size_t DecodificaUtf8(std::string_view s, size_t i, char32_t& cp) {
    auto b0 = static_cast<unsigned char>(s[i]);
    size_t n;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        n = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 3;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        n = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    for (size_t k = 1; k < n; ++k) {
        auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMinimo[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinimo[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

}  // namespace

void AcrescentaCodigo(std::string& destino, char32_t codigo) {
    if (codigo == 0)
        return;
    if (codigo < 0x80 || (codigo >= 0xA0 && codigo <= 0xFF)) {
        destino += static_cast<char>(codigo);
        return;
    }
    for (size_t k = 0; k < kAlta.size(); ++k) {
        if (kAlta[k] == codigo) {
            destino += static_cast<char>(0x80 + k);
            return;
        }
    }
    destino += '?';
}

void AcrescentaUtf8(std::string& destino, char32_t cp) {
    if (cp < 0x80) {
        destino += static_cast<char>(cp);
    } else if (cp < 0x800) {
        destino += static_cast<char>(0xC0 | (cp >> 6));
        destino += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        destino += static_cast<char>(0xE0 | (cp >> 12));
        destino += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        destino += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        destino += static_cast<char>(0xF0 | (cp >> 18));
        destino += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        destino += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        destino += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string DeUtf8(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        char32_t cp;
        size_t n = DecodificaUtf8(s, i, cp);
        if (n == 0) {
            // Not UTF-8 here: the byte is most likely already Windows-1252.
            if (s[i] != '\0')
                r += s[i];
            ++i;
            continue;
        }
        AcrescentaCodigo(r, cp);
        i += n;
    }
    return r;
}

std::string ParaUtf8(std::string_view s) {
    std::string r;
    r.reserve(s.size() + s.size() / 8);
    for (char c : s)
        AcrescentaUtf8(r, Unicode(static_cast<unsigned char>(c)));
    return r;
}

bool EhUtf8Valido(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        char32_t cp;
        size_t n = DecodificaUtf8(s, i, cp);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::string MensagemUtf8(std::string_view s) {
    return EhUtf8Valido(s) ? std::string(s) : ParaUtf8(s);
}

}  // namespace win1252
