#include "spreadsheet/LeitorXls.h"

#include <bit>
#include <cstdio>
#include <cstring>

#include "common/Win1252.h"
#include "spreadsheet/ConteinerOle.h"

namespace {

// Record types of the BIFF5/BIFF8 streams that matter to the cell values.
enum : std::uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kFilepass = 0x002F,
    kContinue = 0x003C,
    kWsBool = 0x0081,
    kBoundSheet = 0x0085,
    kMulRk = 0x00BD,
    kRString = 0x00D6,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kDimensions = 0x0200,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRk = 0x027E,
    kBof = 0x0809,
};

// BOF substream types.
enum : std::uint16_t { kBofGlobais = 0x0005, kBofPlanilha = 0x0010 };

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
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

EPlanilha Truncado() {
    return EPlanilha("o arquivo está truncado ou corrompido (registro incompleto).");
}

struct TRegistro {
    std::uint16_t tipo = 0;
    const std::uint8_t* dados = nullptr;
    std::size_t tamanho = 0;
};

class TCursorRegistros {
  public:
    TCursorRegistros(const std::vector<std::uint8_t>& fluxo, std::size_t pos)
        : f_(fluxo), pos_(pos) {}

    // false at the end of the stream; a record cut short by it fails.
    bool Proximo(TRegistro& r) {
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
    bool ProximoEhContinue() const { return pos_ + 4 <= f_.size() && U16(&f_[pos_]) == kContinue; }
    std::size_t Posicao() const { return pos_; }

  private:
    const std::vector<std::uint8_t>& f_;
    std::size_t pos_;
};

// A record's body followed by its CONTINUE records, read as one. Character data split across
// a CONTINUE boundary starts there with a fresh option byte (8-bit or UTF-16); everything
// else runs on seamlessly.
class TLeitorSegmentos {
  public:
    void Acrescenta(const std::uint8_t* p, std::size_t n) {
        if (n)
            segs_.push_back({p, n});
    }

    bool Fim() const { return seg_ >= segs_.size(); }

    std::uint8_t U8() {
        AvancaSeEsgotado();
        if (Fim())
            throw Truncado();
        std::uint8_t b = segs_[seg_].first[pos_++];
        return b;
    }
    std::uint16_t Le16() {
        std::uint16_t a = U8();
        return static_cast<std::uint16_t>(a | (U8() << 8));
    }
    std::uint32_t Le32() {
        std::uint32_t a = Le16();
        return a | (static_cast<std::uint32_t>(Le16()) << 16);
    }
    void Pula(std::size_t n) {
        while (n > 0) {
            AvancaSeEsgotado();
            if (Fim())
                throw Truncado();
            std::size_t k = std::min(n, segs_[seg_].second - pos_);
            pos_ += k;
            n -= k;
        }
    }

    // cch characters in Windows-1252; alto: two bytes (UTF-16LE) per character, else one
    // (the code point U+0000..U+00FF).
    void Caracteres(std::size_t cch, bool alto, std::string& destino) {
        char32_t pendente = 0;
        for (std::size_t k = 0; k < cch; ++k) {
            if (!Fim() && pos_ >= segs_[seg_].second) {
                ++seg_;
                pos_ = 0;
                if (Fim())
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

  private:
    void AvancaSeEsgotado() {
        while (!Fim() && pos_ >= segs_[seg_].second) {
            ++seg_;
            pos_ = 0;
        }
    }

    std::vector<std::pair<const std::uint8_t*, std::size_t>> segs_;
    std::size_t seg_ = 0, pos_ = 0;
};

// BIFF8 string of cch characters: the option byte, then (in the shared string table only) the
// counts of rich-text runs and of far-east data, the characters, and the runs and data, which
// are formatting and reading aids, not text.
std::string TextoBiff8(TLeitorSegmentos& l, std::size_t cch, bool estendido) {
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

// BIFF5 keeps 8-bit texts in the workbook's code page, Windows-1252 on the machines that
// produce our workbooks.
std::string TextoBiff5(const std::uint8_t* p, std::size_t n) {
    std::string s;
    s.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i])
            s += static_cast<char>(p[i]);
    }
    return s;
}

}  // namespace

TLeitorXls::TLeitorXls(const std::string& caminho) : TPastaTrabalho(caminho) {
    try {
        if (!TConteinerOle::TemAssinatura(caminho)) {
            std::FILE* f = std::fopen(caminho.c_str(), "rb");
            char cab[4] = {};
            if (f) {
                std::fread(cab, 1, sizeof cab, f);
                std::fclose(f);
            }
            if (std::memcmp(cab, "PK\x03\x04", 4) == 0) {
                throw EPlanilha("o arquivo está no formato novo do Excel (.xlsx), não em .xls.");
            }
        }
        TConteinerOle ole(caminho);
        const char* nomeFluxo = ole.TemFluxo("Workbook") ? "Workbook"
                                : ole.TemFluxo("Book")   ? "Book"
                                                         : nullptr;
        if (!nomeFluxo) {
            if (ole.EhPacoteCriptografado()) {
                throw EPlanilha(
                    "a pasta de trabalho está protegida por senha (criptografada). Abra-a no "
                    "Excel, retire a senha e salve-a de novo.");
            }
            throw EPlanilha("o arquivo não é uma planilha do Excel (não tem o fluxo Workbook).");
        }
        fluxo_ = ole.LeFluxo(nomeFluxo, planilha::kLimiteBytes);

        TCursorRegistros cur(fluxo_, 0);
        TRegistro r;
        if (!cur.Proximo(r) || r.tipo != kBof || r.tamanho < 4 || U16(r.dados + 2) != kBofGlobais) {
            throw EPlanilha("o arquivo não é uma planilha do Excel 97-2003 reconhecível.");
        }
        std::uint16_t versao = U16(r.dados);
        if (versao == 0x0600) {
            biff8_ = true;
        } else if (versao == 0x0500) {
            biff8_ = false;
        } else {
            throw EPlanilha("a versão do formato .xls deste arquivo não é suportada.");
        }
        std::vector<std::pair<std::uint32_t, std::string>> folhas;  // worksheets only
        bool fim = false;
        while (!fim && cur.Proximo(r)) {
            switch (r.tipo) {
                case kFilepass:
                    throw EPlanilha(
                        "a pasta de trabalho está protegida por senha (criptografada). Abra-a no "
                        "Excel, retire a senha e salve-a de novo.");
                case kBoundSheet: {
                    if (r.tamanho < 7)
                        throw Truncado();
                    std::uint32_t pos = U32(r.dados);
                    std::uint8_t tipo = r.dados[5];
                    std::size_t cch = r.dados[6];
                    std::string nome;
                    if (biff8_) {
                        TLeitorSegmentos l;
                        l.Acrescenta(r.dados + 7, r.tamanho - 7);
                        nome = TextoBiff8(l, cch, false);
                    } else {
                        if (7 + cch > r.tamanho)
                            throw Truncado();
                        nome = TextoBiff5(r.dados + 7, cch);
                    }
                    // 0: worksheet or dialog sheet; 1 macro sheet, 2 chart, 6 VB module.
                    if (tipo == 0)
                        folhas.emplace_back(pos, std::move(nome));
                    break;
                }
                case kSst:
                    segmentosSst_.emplace_back(r.dados - fluxo_.data(), r.tamanho);
                    while (cur.ProximoEhContinue()) {
                        cur.Proximo(r);
                        segmentosSst_.emplace_back(r.dados - fluxo_.data(), r.tamanho);
                    }
                    break;
                case kEof:
                    fim = true;
                    break;
                default:
                    break;
            }
        }
        if (!fim)
            throw Truncado();

        for (auto& [pos, nome] : folhas) {
            TCursorRegistros c(fluxo_, pos);
            if (!c.Proximo(r) || r.tipo != kBof || r.tamanho < 4) {
                throw EPlanilha("a aba \"" + win1252::ParaUtf8(nome) +
                                "\" não foi encontrada no arquivo (estrutura corrompida).");
            }
            if (U16(r.dados + 2) != kBofPlanilha)
                continue;
            // A dialog sheet is a worksheet flagged in its WSBOOL record, which comes before
            // the sheet's dimensions.
            bool dialogo = false;
            while (c.Proximo(r) && r.tipo != kEof && r.tipo != kDimensions && r.tipo != kBof) {
                if (r.tipo == kWsBool && r.tamanho >= 1) {
                    dialogo = (r.dados[0] & 0x10) != 0;
                    break;
                }
            }
            if (dialogo)
                continue;
            inicioAbas_.push_back(pos);
            nomes_.push_back(std::move(nome));
        }
    } catch (const EPlanilha& e) {
        throw Erro(e.what());
    }
}

std::shared_ptr<const TTextos> TLeitorXls::TextosCompartilhados() {
    if (textos_)
        return textos_;
    auto textos = std::make_shared<TTextos>();
    if (!segmentosSst_.empty()) {
        TLeitorSegmentos l;
        for (auto [ini, n] : segmentosSst_)
            l.Acrescenta(fluxo_.data() + ini, n);
        l.Le32();  // total number of texts in the workbook
        std::uint32_t unicos = l.Le32();
        // Some producers state more texts than they wrote: read what is there.
        for (std::uint32_t i = 0; i < unicos && !l.Fim(); ++i) {
            std::size_t cch = l.Le16();
            textos->Acrescenta(TextoBiff8(l, cch, true));
        }
    }
    textos_ = std::move(textos);
    return textos_;
}

std::unique_ptr<TAbaLida> TLeitorXls::LeAba(std::size_t indice) {
    try {
        std::shared_ptr<const TTextos> textos =
            biff8_ ? TextosCompartilhados() : std::make_shared<TTextos>();
        auto aba = std::make_unique<TAbaLida>(textos);
        TCursorRegistros cur(fluxo_, inicioAbas_.at(indice));
        TRegistro r;
        cur.Proximo(r);  // the sheet's BOF, checked when the list was read
        int profundidade = 1;
        // A formula whose text result comes in the STRING record that follows it.
        int colunaTexto = 0, linhaTexto = 0;
        auto curto = [&](std::size_t minimo) {
            if (r.tamanho < minimo)
                throw Truncado();
        };
        while (profundidade > 0) {
            if (!cur.Proximo(r))
                throw Truncado();
            if (r.tipo == kBof) {
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
                case kNumber:
                case kRk:
                case kLabelSst:
                case kLabel:
                case kRString:
                case kBoolErr:
                case kFormula:
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
                case kNumber:
                    curto(14);
                    aba->PoeNumero(coluna, linha, F64(d + 6));
                    break;
                case kRk:
                    curto(10);
                    aba->PoeNumero(coluna, linha, ValorRk(U32(d + 6)));
                    break;
                case kMulRk: {
                    std::size_t n = (r.tamanho - 6) / 6;
                    for (std::size_t k = 0; k < n; ++k) {
                        aba->PoeNumero(coluna + static_cast<int>(k), linha,
                                       ValorRk(U32(d + 4 + 6 * k + 2)));
                    }
                    break;
                }
                case kLabelSst: {
                    curto(10);
                    std::uint32_t i = U32(d + 6);
                    if (i >= textos->Quantidade()) {
                        throw EPlanilha("a célula " + planilha::ReferenciaCelula(coluna, linha) +
                                        " aponta para um texto compartilhado que não existe.");
                    }
                    aba->PoeTextoCompartilhado(coluna, linha, i);
                    break;
                }
                case kLabel:
                case kRString: {
                    curto(8);
                    std::size_t cch = U16(d + 6);
                    if (biff8_) {
                        TLeitorSegmentos l;
                        l.Acrescenta(d + 8, r.tamanho - 8);
                        aba->PoeTexto(coluna, linha, TextoBiff8(l, cch, false));
                    } else {
                        if (8 + cch > r.tamanho)
                            throw Truncado();
                        aba->PoeTexto(coluna, linha, TextoBiff5(d + 8, cch));
                    }
                    break;
                }
                case kBoolErr:
                    curto(8);
                    if (d[7]) {
                        aba->PoeErro(coluna, linha, TextoErroBiff(d[6]));
                    } else {
                        aba->PoeLogico(coluna, linha, d[6] != 0);
                    }
                    break;
                case kFormula: {
                    curto(20);
                    const std::uint8_t* res = d + 6;
                    if (res[6] != 0xFF || res[7] != 0xFF) {
                        aba->PoeNumero(coluna, linha, F64(res));
                    } else if (res[0] == 0) {
                        colunaTexto = coluna;
                        linhaTexto = linha;
                    } else if (res[0] == 1) {
                        aba->PoeLogico(coluna, linha, res[2] != 0);
                    } else if (res[0] == 2) {
                        aba->PoeErro(coluna, linha, TextoErroBiff(res[2]));
                    }
                    // 3: an empty text, which is no value.
                    break;
                }
                case kString: {
                    TLeitorSegmentos l;
                    l.Acrescenta(d, r.tamanho);
                    while (cur.ProximoEhContinue()) {
                        cur.Proximo(r);
                        l.Acrescenta(r.dados, r.tamanho);
                    }
                    if (colunaTexto == 0)
                        break;
                    std::size_t cch = l.Le16();
                    std::string texto;
                    if (biff8_) {
                        texto = TextoBiff8(l, cch, false);
                    } else {
                        std::string bytes;
                        for (std::size_t k = 0; k < cch; ++k)
                            bytes += static_cast<char>(l.U8());
                        texto = TextoBiff5(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                           bytes.size());
                    }
                    aba->PoeTexto(colunaTexto, linhaTexto, texto);
                    colunaTexto = 0;
                    break;
                }
                default:
                    break;
            }
        }
        return aba;
    } catch (const EPlanilha& e) {
        throw Erro("aba \"" + win1252::ParaUtf8(nomes_.at(indice)) + "\": " + e.what());
    }
}
