// An OLE2 compound file (the container of .xls workbooks and of password-protected Office files),
// read straight from the file. The header's counts of FAT, mini-FAT and DIFAT sectors are only
// hints, which many producers write wrong: the sector tables are taken from the sectors the
// header lists, and every chain is checked as it is followed. No library prints anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

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
    struct TEntrada {
        std::u16string nome;
        std::uint8_t tipo = 0;  // 1 storage, 2 stream, 5 root
        std::uint32_t esquerda = 0, direita = 0, filho = 0;
        std::uint32_t inicio = 0;
        std::uint64_t tamanho = 0;
    };

    int Localiza(const char* nome) const;
    // Sector numbers of a chain of the FAT (or of the mini-FAT), from inicio; stops after
    // quantos sectors, or at the chain's end when quantos is 0. A chain that loops, leaves
    // the table or ends before quantos fails.
    std::vector<std::uint32_t> Cadeia(std::uint32_t inicio,
                                      const std::vector<std::uint32_t>& tabela,
                                      std::size_t quantos) const;
    void LeSetores(const std::vector<std::uint32_t>& setores, std::uint64_t bytes,
                   std::uint8_t* destino) const;
    void LeBytes(std::uint64_t pos, std::size_t n, std::uint8_t* destino) const;

    std::FILE* arquivo_ = nullptr;
    std::uint64_t tamanhoArquivo_ = 0;
    unsigned deslocSetor_ = 9, deslocMini_ = 6;
    std::uint32_t corteMini_ = 4096;
    std::uint32_t setoresNoArquivo_ = 0;
    std::uint32_t inicioMiniFat_ = 0;
    std::vector<std::uint32_t> fat_;
    std::vector<TEntrada> diretorio_;
    std::vector<std::uint32_t> filhosRaiz_;  // directory entries directly under the root
    mutable bool miniLido_ = false;
    mutable std::vector<std::uint32_t> miniFat_;
    mutable std::vector<std::uint8_t> fluxoMini_;
};
