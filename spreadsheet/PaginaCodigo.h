// The 8-bit texts of old workbooks (BIFF2 to BIFF5) are in the code page that the file's
// CODEPAGE record names (a BIFF5 workbook without one: its fonts' character set). They reach the
// rest of the program, like every workbook text, as Windows-1252: each character is taken to
// Unicode, then to Windows-1252 ('?' when it has no byte there).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace paginacodigo {

// The Unicode characters of the bytes 0x80 to 0xFF of one single-byte code page (0: undefined).
struct TTabelaPagina {
    unsigned numero;
    char16_t alta[128];
};

extern const TTabelaPagina kTabelas[];
extern const std::size_t kQuantidadeTabelas;

}  // namespace paginacodigo

class TPaginaCodigo {
  public:
    // numero: the CODEPAGE record's value; Windows-1252 when the file has none. Numbers the
    // program does not know are read as Windows-1252 too.
    explicit TPaginaCodigo(unsigned numero = 1252);

    // The code page of a font's character set byte (ANSI 0, Greek 161, Cyrillic 204...); 0 when
    // the byte names none (1, the machine's default, among them).
    static unsigned DoCharset(std::uint8_t charset);

    // Appends n bytes of text in this code page as Windows-1252; NUL characters are dropped.
    void Acrescenta(std::string& destino, const std::uint8_t* p, std::size_t n) const;
    std::string ParaWin1252(const std::uint8_t* p, std::size_t n) const {
        std::string s;
        s.reserve(n);
        Acrescenta(s, p, n);
        return s;
    }

  private:
    bool EhPrimeiroDeDois(std::uint8_t b) const;

    const char16_t* alta_ = nullptr;  // null: the bytes are Windows-1252 already
    unsigned duplo_ = 0;              // an East Asian code page of one- and two-byte characters
};
