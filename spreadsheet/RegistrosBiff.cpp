#include "spreadsheet/RegistrosBiff.h"

#include <algorithm>
#include <bit>

#include "common/Win1252.h"

namespace biff {

namespace {

// Cell records. BIFF2 has its own numbers for most of them, with three bytes of cell
// attributes where the later versions keep a two-byte format index.
enum : std::uint16_t {
    kInteger2 = 0x0002,
    kNumber2 = 0x0003,
    kLabel2 = 0x0004,
    kBoolErr2 = 0x0005,
    kFormula = 0x0006,  // BIFF2's (three attribute bytes) and BIFF5/8's (a format index)
    kString2 = 0x0007,
    kMulRk = 0x00BD,
    kRString = 0x00D6,
    kLabelSst = 0x00FD,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kFormula3 = 0x0206,
    kString = 0x0207,
    kRk = 0x027E,
    kFormula4 = 0x0406,
};

double F64(const std::uint8_t* p) {
    std::uint64_t b = static_cast<std::uint64_t>(U32(p)) | static_cast<std::uint64_t>(U32(p + 4))
                                                               << 32;
    return std::bit_cast<double>(b);
}

// RK: a number packed into 30 bits, either an integer or the top of a double, maybe /100.
double ValorRk(std::uint32_t rk) {
    double v;
    if (rk & 2) {
        v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        v = std::bit_cast<double>(static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32);
    }
    return (rk & 1) ? v / 100 : v;
}

std::string TextoErroBiff(std::uint8_t codigo) {
    switch (codigo) {
        case 0x00:
            return "#NULL!";
        case 0x07:
            return "#DIV/0!";
        case 0x0F:
            return "#VALUE!";
        case 0x17:
            return "#REF!";
        case 0x1D:
            return "#NAME?";
        case 0x24:
            return "#NUM!";
        case 0x2A:
            return "#N/A";
        case 0x2B:
            return "#GETTING_DATA";
        default:
            return "#ERRO(" + std::to_string(codigo) + ")";
    }
}

}  // namespace

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

EPlanilha Truncado() {
    return EPlanilha("o arquivo está truncado ou corrompido (registro incompleto).");
}

bool TCursorRegistros::Proximo(TRegistro& r) {
    if (pos_ + 4 > f_.size())
        return false;
    r.tipo = U16(&f_[pos_]);
    r.tamanho = U16(&f_[pos_ + 2]);
    if (pos_ + 4 + r.tamanho > f_.size())
        throw Truncado();
    r.dados = f_.data() + pos_ + 4;
    pos_ += 4 + r.tamanho;
    return true;
}

std::uint8_t TLeitorSegmentos::U8() {
    AvancaSeEsgotado();
    if (seg_ >= segs_.size())
        throw Truncado();
    return segs_[seg_].first[pos_++];
}

void TLeitorSegmentos::Pula(std::size_t n) {
    while (n > 0) {
        AvancaSeEsgotado();
        if (seg_ >= segs_.size())
            throw Truncado();
        std::size_t k = std::min(n, segs_[seg_].second - pos_);
        pos_ += k;
        n -= k;
    }
}

void TLeitorSegmentos::Caracteres(std::size_t cch, bool alto, std::string& destino) {
    char32_t pendente = 0;
    for (std::size_t k = 0; k < cch; ++k) {
        if (seg_ < segs_.size() && pos_ >= segs_[seg_].second) {
            ++seg_;
            pos_ = 0;
            if (seg_ >= segs_.size())
                throw Truncado();
            alto = (segs_[seg_].first[pos_++] & 1) != 0;
        }
        char32_t u = alto ? Le16() : U8();
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (pendente)
                destino += '?';
            pendente = u;
            continue;
        }
        if (u >= 0xDC00 && u <= 0xDFFF && pendente) {
            win1252::AcrescentaCodigo(destino,
                                      0x10000 + ((pendente - 0xD800) << 10) + (u - 0xDC00));
            pendente = 0;
            continue;
        }
        if (pendente)
            destino += '?';
        pendente = 0;
        if (u >= 0xDC00 && u <= 0xDFFF) {
            destino += '?';
        } else {
            win1252::AcrescentaCodigo(destino, u);
        }
    }
    if (pendente)
        destino += '?';
}

std::string TextoBiff8(TLeitorSegmentos& l, std::size_t cch, bool estendido) {
    // Some writers leave out the option byte of an empty text at the end of its record.
    if (cch == 0 && l.Fim())
        return {};
    std::uint8_t opcoes = l.U8();
    std::size_t runs = 0, extra = 0;
    if (estendido && (opcoes & 0x08))
        runs = l.Le16();
    if (estendido && (opcoes & 0x04))
        extra = l.Le32();
    std::string s;
    s.reserve(cch);
    l.Caracteres(cch, (opcoes & 1) != 0, s);
    l.Pula(runs * 4);
    l.Pula(extra);
    return s;
}

void LeCelulas(const std::vector<std::uint8_t>& fluxo, std::size_t inicio, TVersaoBiff versao,
               TPaginaCodigo pagina, const TTextos* sst, std::uint32_t textosAnunciados,
               TAbaLida& aba) {
    const bool biff8 = versao == TVersaoBiff::Biff8;
    TCursorRegistros cur(fluxo, inicio);
    TRegistro r;
    cur.Proximo(r);  // the sheet's BOF, checked when the list was read
    int profundidade = 1;
    // A formula whose text result comes in the STRING record that follows it.
    int colunaTexto = 0, linhaTexto = 0;
    auto curto = [&](std::size_t minimo) {
        if (r.tamanho < minimo)
            throw Truncado();
    };
    // An 8-bit text of cch characters at offset ini of the record.
    auto texto8 = [&](std::size_t ini, std::size_t cch) {
        if (ini + cch > r.tamanho)
            throw Truncado();
        return pagina.ParaWin1252(r.dados + ini, cch);
    };
    // A formula's cached result, eight bytes: a number, or a marked text, logical or error.
    auto resultado = [&](int coluna, int linha, const std::uint8_t* res) {
        if (res[6] != 0xFF || res[7] != 0xFF) {
            aba.PoeNumero(coluna, linha, F64(res));
        } else if (res[0] == 0) {
            colunaTexto = coluna;
            linhaTexto = linha;
        } else if (res[0] == 1) {
            aba.PoeLogico(coluna, linha, res[2] != 0);
        } else if (res[0] == 2) {
            aba.PoeErro(coluna, linha, TextoErroBiff(res[2]));
        }
        // 3: an empty text, which is no value.
    };
    while (profundidade > 0) {
        if (!cur.Proximo(r))
            throw Truncado();
        if (EhBof(r.tipo)) {
            ++profundidade;  // an embedded chart's own substream
            continue;
        }
        if (r.tipo == kEof) {
            --profundidade;
            continue;
        }
        if (profundidade > 1)
            continue;
        const std::uint8_t* d = r.dados;
        int linha = 0, coluna = 0;
        switch (r.tipo) {
            case kInteger2:
            case kNumber2:
            case kLabel2:
            case kBoolErr2:
            case kNumber:
            case kRk:
            case kLabelSst:
            case kLabel:
            case kRString:
            case kBoolErr:
            case kFormula:
            case kFormula3:
            case kFormula4:
            case kMulRk:
                curto(6);
                linha = U16(d) + 1;
                coluna = U16(d + 2) + 1;
                colunaTexto = 0;
                break;
            default:
                break;
        }
        switch (r.tipo) {
            case kCodepage:
                if (!biff8 && r.tamanho >= 2)
                    pagina = TPaginaCodigo(U16(d));
                break;
            case kInteger2:
                curto(9);
                aba.PoeNumero(coluna, linha, U16(d + 7));
                break;
            case kNumber2:
                curto(15);
                aba.PoeNumero(coluna, linha, F64(d + 7));
                break;
            case kNumber:
                curto(14);
                aba.PoeNumero(coluna, linha, F64(d + 6));
                break;
            case kRk:
                curto(10);
                aba.PoeNumero(coluna, linha, ValorRk(U32(d + 6)));
                break;
            case kMulRk: {
                std::size_t n = (r.tamanho - 6) / 6;
                for (std::size_t k = 0; k < n; ++k) {
                    aba.PoeNumero(coluna + static_cast<int>(k), linha,
                                  ValorRk(U32(d + 4 + 6 * k + 2)));
                }
                break;
            }
            case kLabelSst: {
                curto(10);
                std::uint32_t i = U32(d + 6);
                std::size_t tem = sst ? sst->Quantidade() : 0;
                // A table shorter than it announced leaves its missing texts empty.
                if (i >= tem && i >= textosAnunciados) {
                    throw EPlanilha("a célula " + planilha::ReferenciaCelula(coluna, linha) +
                                    " aponta para um texto compartilhado que não existe.");
                }
                aba.PoeTextoCompartilhado(coluna, linha, i);
                break;
            }
            case kLabel2:
                curto(8);
                aba.PoeTexto(coluna, linha, texto8(8, d[7]));
                break;
            case kLabel:
            case kRString: {
                // An empty text may stop right after its count, or before it.
                if (r.tamanho < 8 || (r.tamanho == 8 && U16(d + 6) == 0))
                    break;
                std::size_t cch = U16(d + 6);
                if (biff8) {
                    TLeitorSegmentos l;
                    l.Acrescenta(d + 8, r.tamanho - 8);
                    aba.PoeTexto(coluna, linha, TextoBiff8(l, cch, false));
                } else {
                    aba.PoeTexto(coluna, linha, texto8(8, cch));
                }
                break;
            }
            case kBoolErr2:
                curto(9);
                if (d[8]) {
                    aba.PoeErro(coluna, linha, TextoErroBiff(d[7]));
                } else {
                    aba.PoeLogico(coluna, linha, d[7] != 0);
                }
                break;
            case kBoolErr:
                curto(8);
                if (d[7]) {
                    aba.PoeErro(coluna, linha, TextoErroBiff(d[6]));
                } else {
                    aba.PoeLogico(coluna, linha, d[6] != 0);
                }
                break;
            case kFormula:
                if (versao == TVersaoBiff::Biff2) {
                    curto(15);
                    resultado(coluna, linha, d + 7);
                } else {
                    curto(20);
                    resultado(coluna, linha, d + 6);
                }
                break;
            case kFormula3:
            case kFormula4:
                curto(14);
                resultado(coluna, linha, d + 6);
                break;
            case kString2:
                if (colunaTexto != 0 && r.tamanho >= 1)
                    aba.PoeTexto(colunaTexto, linhaTexto, texto8(1, d[0]));
                colunaTexto = 0;
                break;
            case kString: {
                TLeitorSegmentos l;
                l.Acrescenta(d, r.tamanho);
                while (cur.ProximoEhContinue()) {
                    cur.Proximo(r);
                    l.Acrescenta(r.dados, r.tamanho);
                }
                if (colunaTexto == 0 || l.Fim())
                    break;
                std::size_t cch = l.Le16();
                std::string texto;
                if (biff8) {
                    texto = TextoBiff8(l, cch, false);
                } else {
                    std::string bytes;
                    for (std::size_t k = 0; k < cch; ++k)
                        bytes += static_cast<char>(l.U8());
                    texto = pagina.ParaWin1252(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                               bytes.size());
                }
                aba.PoeTexto(colunaTexto, linhaTexto, texto);
                colunaTexto = 0;
                break;
            }
            default:
                break;
        }
    }
}

}  // namespace biff
