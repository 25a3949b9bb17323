#include "spreadsheet/InicioAbasBiff.h"

#include <algorithm>
#include <set>

namespace biff {

namespace {

constexpr std::size_t kNenhum = static_cast<std::size_t>(-1);

// A whole BOF record at pos, other than the globals' own at the start of the stream.
bool EhBofDeAba(const std::vector<std::uint8_t>& f, std::size_t pos) {
    if (pos == 0 || pos + 8 > f.size() || U16(&f[pos]) != kBof)
        return false;
    std::size_t n = U16(&f[pos + 2]);
    return n >= 4 && pos + 4 + n <= f.size();
}

// Every worksheet BOF of the stream's own version, in stream order, found byte by byte rather
// than record by record: the offsets that led here are already known to be wrong, and so may
// be what lies between the substreams.
std::vector<std::size_t> BofsDePlanilha(const std::vector<std::uint8_t>& f, TVersaoBiff versao) {
    const std::uint16_t numero = versao == TVersaoBiff::Biff8 ? 0x0600 : 0x0500;
    std::vector<std::size_t> bofs;
    for (std::size_t p = 0; p + 8 <= f.size(); ++p) {
        const std::uint8_t* b = f.data() + p;
        if (U16(b) != kBof)
            continue;
        std::size_t n = U16(b + 2);
        if (n >= 4 && n <= 20 && p + 4 + n <= f.size() && U16(b + 4) == numero &&
            U16(b + 6) == kBofPlanilha) {
            bofs.push_back(p);
        }
    }
    return bofs;
}

}  // namespace

std::vector<std::size_t> LocalizaInicioAbas(const std::vector<std::uint8_t>& fluxo,
                                            TVersaoBiff versao,
                                            const std::vector<std::uint32_t>& declarados) {
    std::vector<std::size_t> inicios(declarados.size(), kNenhum);
    std::set<std::size_t> reclamados;
    bool faltam = false;
    for (std::size_t i = 0; i < declarados.size(); ++i) {
        if (EhBofDeAba(fluxo, declarados[i]) && reclamados.insert(declarados[i]).second) {
            inicios[i] = declarados[i];
        } else {
            faltam = true;
        }
    }
    if (!faltam)
        return inicios;

    const std::vector<std::size_t> bofs = BofsDePlanilha(fluxo, versao);
    auto livre = [&](std::size_t bof) { return reclamados.count(bof) == 0; };
    for (std::size_t i = 0; i < declarados.size(); ++i) {
        if (inicios[i] != kNenhum)
            continue;
        const std::size_t pos = declarados[i];
        // An offset that misses its BOF still lands near it, inside the substream or just before.
        auto depois = std::upper_bound(bofs.begin(), bofs.end(), pos);
        std::size_t escolhido = kNenhum;
        if (depois != bofs.end() && livre(*depois))
            escolhido = *depois;
        if (depois != bofs.begin()) {
            std::size_t antes = *(depois - 1);
            if (livre(antes) && (escolhido == kNenhum || pos - antes < escolhido - pos))
                escolhido = antes;
        }
        // Both neighbours belong to other sheets: the offset says nothing, but substreams
        // follow the sheet list.
        if (escolhido == kNenhum && bofs.size() == declarados.size() && livre(bofs[i]))
            escolhido = bofs[i];
        if (escolhido != kNenhum) {
            inicios[i] = escolhido;
            reclamados.insert(escolhido);
        }
    }
    return inicios;
}

}  // namespace biff
