// An OLE2 compound file (the container of .xls workbooks and of password-protected Office files),
// opened with libgsf. One owner of the library's handles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct _GsfInput;
struct _GsfInfile;

class TConteinerOle {
  public:
    // Fails with EPlanilha (motivo only; the caller names the file) when it is not OLE2.
    explicit TConteinerOle(const std::string& caminho);
    ~TConteinerOle();
    TConteinerOle(const TConteinerOle&) = delete;
    TConteinerOle& operator=(const TConteinerOle&) = delete;

    bool TemFluxo(const char* nome) const;

    // The whole stream; fails when it passes limite bytes or cannot be read to its end.
    std::vector<std::uint8_t> LeFluxo(const char* nome, std::size_t limite) const;

    // Office keeps a password-protected xlsx as an OLE2 file with these two streams.
    bool EhPacoteCriptografado() const {
        return TemFluxo("EncryptionInfo") && TemFluxo("EncryptedPackage");
    }

    // The first eight bytes of every OLE2 file.
    static bool TemAssinatura(const std::string& caminho);

  private:
    int Localiza(const char* nome) const;

    _GsfInput* entrada_ = nullptr;
    _GsfInfile* arquivo_ = nullptr;
};
