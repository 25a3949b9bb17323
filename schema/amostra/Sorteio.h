// The sample data's source of chance: splitmix64, so that a seed gives the same data with any
// compiler and standard library (the std distributions are free to differ between them).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

class TSorteio {
  public:
    // A stream of its own for each use of a seed: the same seed and name give the same stream.
    TSorteio(std::uint64_t semente, std::string_view nome) : estado_(semente) {
        for (char c : nome)
            estado_ = (estado_ ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
        Proximo();
    }

    std::uint64_t Proximo() {
        std::uint64_t z = (estado_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // A whole number from minimo to maximo, both included.
    long Entre(long minimo, long maximo) {
        if (maximo <= minimo)
            return minimo;
        auto faixa = static_cast<std::uint64_t>(maximo - minimo) + 1;
        return minimo + static_cast<long>(Proximo() % faixa);
    }

    // True in about percentual out of 100 draws.
    bool Chance(int percentual) { return Entre(0, 99) < percentual; }

    template <typename T>
    const T& Um(const std::vector<T>& opcoes) {
        return opcoes[static_cast<size_t>(Entre(0, static_cast<long>(opcoes.size()) - 1))];
    }
    template <typename T, size_t N>
    const T& Um(const T (&opcoes)[N]) {
        return opcoes[static_cast<size_t>(Entre(0, static_cast<long>(N) - 1))];
    }

  private:
    std::uint64_t estado_;
};
