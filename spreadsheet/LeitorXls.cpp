#include "spreadsheet/LeitorXls.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "common/Win1252.h"
#include "spreadsheet/ConteinerOle.h"
#include "spreadsheet/InicioAbasBiff.h"

using namespace biff;

namespace {

EPlanilha ProtegidoPorSenha() {
    return EPlanilha(
        "a pasta de trabalho está protegida por senha (criptografada). Abra-a no Excel, retire "
        "a senha e salve-a de novo.");
}

// The file's first bytes: a bare BIFF stream starts with a BOF record of four to twenty bytes.
bool ComecaComBof(const std::uint8_t* cab, std::size_t n) {
    return n >= 8 && EhBof(U16(cab)) && U16(cab + 2) >= 4 && U16(cab + 2) <= 20;
}

// A BIFF5 workbook without a CODEPAGE record is in the code page of its fonts' character set,
// which Excel of each language gives every font it writes.
class TCharsetsFontes {
  public:
    void Acrescenta(std::uint8_t charset) {
        if (quantidade_++ == 0) {
            primeiro_ = charset;
        } else if (charset != primeiro_) {
            concordam_ = false;
        }
    }

    // Windows-1252 when the fonts disagree, name no code page or are missing.
    unsigned Pagina() const {
        unsigned pagina = quantidade_ > 0 && concordam_ ? TPaginaCodigo::DoCharset(primeiro_) : 0;
        return pagina ? pagina : 1252;
    }

  private:
    std::size_t quantidade_ = 0;
    std::uint8_t primeiro_ = 0;
    bool concordam_ = true;
};

}  // namespace

TLeitorXls::TLeitorXls(const std::string& caminho) : TPastaTrabalho(caminho) {
    try {
        if (!TConteinerOle::TemAssinatura(caminho)) {
            std::FILE* f = std::fopen(caminho.c_str(), "rb");
            std::uint8_t cab[8] = {};
            std::size_t n = 0;
            if (f) {
                n = std::fread(cab, 1, sizeof cab, f);
                std::fclose(f);
            }
            if (n >= 4 && std::memcmp(cab, "PK\x03\x04", 4) == 0) {
                throw EPlanilha("o arquivo está no formato novo do Excel (.xlsx), não em .xls.");
            }
            if (ComecaComBof(cab, n)) {
                LeArquivoAntigo(caminho);
                return;
            }
        }
        TConteinerOle ole(caminho);
        const char* nomeFluxo = ole.TemFluxo("Workbook") ? "Workbook"
                                : ole.TemFluxo("Book")   ? "Book"
                                                         : nullptr;
        if (!nomeFluxo) {
            if (ole.EhPacoteCriptografado())
                throw ProtegidoPorSenha();
            throw EPlanilha("o arquivo não é uma planilha do Excel (não tem o fluxo Workbook).");
        }
        fluxo_ = ole.LeFluxo(nomeFluxo, planilha::kLimiteBytes);

        TCursorRegistros cur(fluxo_, 0);
        TRegistro r;
        if (!cur.Proximo(r) || r.tipo != kBof || r.tamanho < 4 || U16(r.dados + 2) != kBofGlobais) {
            throw EPlanilha("o arquivo não é uma planilha do Excel 97-2003 reconhecível.");
        }
        LeGlobais();
    } catch (const EPlanilha& e) {
        throw Erro(e.what());
    }
}

// A file of Excel 2.x to 4.0 is one worksheet, named after the file, or (Excel 4.0's
// workbooks) a globals part followed by its sheets, each after a record that names it.
void TLeitorXls::LeArquivoAntigo(const std::string& caminho) {
    std::error_code ec;
    auto tamanho = std::filesystem::file_size(caminho, ec);
    if (ec)
        throw EPlanilha("o arquivo não pode ser lido (" + ec.message() + ").");
    if (tamanho > planilha::kLimiteBytes) {
        throw EPlanilha("o conteúdo do arquivo passa do limite que pode ser carregado (" +
                        std::to_string(planilha::kLimiteBytes / (1024 * 1024)) + " MiB).");
    }
    fluxo_.resize(static_cast<std::size_t>(tamanho));
    std::FILE* f = std::fopen(caminho.c_str(), "rb");
    std::size_t lidos = f ? std::fread(fluxo_.data(), 1, fluxo_.size(), f) : 0;
    if (f)
        std::fclose(f);
    if (lidos != fluxo_.size())
        throw EPlanilha("o arquivo está truncado ou corrompido (leitura interrompida).");

    TCursorRegistros cur(fluxo_, 0);
    TRegistro r;
    cur.Proximo(r);
    std::uint16_t tipoSubfluxo = U16(r.dados + 2);
    switch (r.tipo) {
        case kBof2:
            versao_ = TVersaoBiff::Biff2;
            break;
        case kBof3:
            versao_ = TVersaoBiff::Biff3;
            break;
        case kBof4:
            versao_ = TVersaoBiff::Biff4;
            break;
        default:
            if (U16(r.dados) == 0x0500) {
                versao_ = TVersaoBiff::Biff5;
            } else if (U16(r.dados) == 0x0600) {
                versao_ = TVersaoBiff::Biff8;
            } else {
                throw EPlanilha("a versão do formato .xls deste arquivo não é suportada.");
            }
            if (tipoSubfluxo == kBofGlobais) {
                LeGlobais();
                return;
            }
            break;
    }
    std::string nomeArquivo = win1252::DeUtf8(std::filesystem::path(caminho).stem().string());
    if (tipoSubfluxo == kBofPlanilha) {
        inicioAbas_.push_back(0);
        nomes_.push_back(nomeArquivo);
        return;
    }
    if (tipoSubfluxo != kBofPastaBiff4)
        return;  // a chart or macro sheet alone: no worksheet to list
    std::vector<std::pair<std::size_t, std::string>> folhas;  // BOF, name in the file's bytes
    std::string nome;
    bool temNome = false;
    while (cur.Proximo(r)) {
        if (r.tipo == kFilepass)
            throw ProtegidoPorSenha();
        if (r.tipo == kEof)
            break;
        if (r.tipo == kCodepage && r.tamanho >= 2) {
            paginaCodigo_ = U16(r.dados);
        } else if (r.tipo == kSheetHdr) {
            if (r.tamanho < 5 || 5u + r.dados[4] > r.tamanho)
                throw Truncado();
            nome.assign(reinterpret_cast<const char*>(r.dados + 5), r.dados[4]);
            temNome = true;
        } else if (EhBof(r.tipo)) {
            std::size_t pos = cur.Posicao() - 4 - r.tamanho;
            std::uint16_t tipo = r.tamanho >= 4 ? U16(r.dados + 2) : 0;
            for (int profundidade = 1; profundidade > 0;) {
                if (!cur.Proximo(r))
                    throw Truncado();
                if (EhBof(r.tipo))
                    ++profundidade;
                if (r.tipo == kEof)
                    --profundidade;
            }
            if (tipo == kBofPlanilha)
                folhas.emplace_back(pos, temNome ? nome : nomeArquivo);
            temNome = false;
        }
    }
    TPaginaCodigo pagina(paginaCodigo_);
    for (auto& [pos, bytes] : folhas) {
        inicioAbas_.push_back(pos);
        nomes_.push_back(
            pagina.ParaWin1252(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    }
}

// The workbook globals of BIFF5 and BIFF8: code page, sheet list and shared texts.
void TLeitorXls::LeGlobais() {
    TCursorRegistros cur(fluxo_, 0);
    TRegistro r;
    cur.Proximo(r);
    std::uint16_t versao = U16(r.dados);
    if (versao == 0x0600) {
        versao_ = TVersaoBiff::Biff8;
    } else if (versao == 0x0500) {
        versao_ = TVersaoBiff::Biff5;
    } else {
        throw EPlanilha("a versão do formato .xls deste arquivo não é suportada.");
    }
    const bool biff8 = versao_ == TVersaoBiff::Biff8;
    struct TFolha {
        std::uint32_t pos;
        std::string nome;  // BIFF8: Windows-1252; BIFF5: the bytes, in the file's code page
    };
    std::vector<TFolha> folhas;  // worksheets only
    bool temCodepage = false;
    TCharsetsFontes charsets;
    bool fim = false;
    while (!fim && cur.Proximo(r)) {
        switch (r.tipo) {
            case kFilepass:
                throw ProtegidoPorSenha();
            case kCodepage:
                if (!biff8 && r.tamanho >= 2) {
                    paginaCodigo_ = U16(r.dados);
                    temCodepage = true;
                }
                break;
            case kFont:
                if (r.tamanho >= 13)
                    charsets.Acrescenta(r.dados[12]);
                break;
            case kBoundSheet: {
                if (r.tamanho < 7)
                    throw Truncado();
                std::uint32_t pos = U32(r.dados);
                std::uint8_t tipo = r.dados[5];
                std::size_t cch = r.dados[6];
                std::string nome;
                if (biff8) {
                    TLeitorSegmentos l;
                    l.Acrescenta(r.dados + 7, r.tamanho - 7);
                    nome = TextoBiff8(l, cch, false);
                } else {
                    if (7 + cch > r.tamanho)
                        throw Truncado();
                    nome.assign(reinterpret_cast<const char*>(r.dados + 7), cch);
                }
                // 0: worksheet or dialog sheet; 1 macro sheet, 2 chart, 6 VB module.
                if (tipo == 0)
                    folhas.push_back(TFolha{pos, std::move(nome)});
                break;
            }
            case kSst:
                if (r.tamanho >= 8)
                    textosAnunciados_ = U32(r.dados + 4);
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
    if (!biff8 && !temCodepage)
        paginaCodigo_ = charsets.Pagina();

    std::vector<std::uint32_t> declarados;
    for (const TFolha& f : folhas)
        declarados.push_back(f.pos);
    const std::vector<std::size_t> inicios = LocalizaInicioAbas(fluxo_, versao_, declarados);
    TPaginaCodigo pagina(paginaCodigo_);
    for (std::size_t i = 0; i < folhas.size(); ++i) {
        TFolha& f = folhas[i];
        if (!biff8) {
            f.nome = pagina.ParaWin1252(reinterpret_cast<const std::uint8_t*>(f.nome.data()),
                                        f.nome.size());
        }
        const std::size_t pos = inicios[i];
        if (pos == std::string::npos) {
            throw EPlanilha("a aba \"" + win1252::ParaUtf8(f.nome) +
                            "\" não foi encontrada no arquivo (estrutura corrompida).");
        }
        TCursorRegistros c(fluxo_, pos);
        c.Proximo(r);
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
        nomes_.push_back(std::move(f.nome));
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
        // Some producers state more texts than they wrote, and some leave both counts at 0:
        // read what is there.
        for (std::uint32_t i = 0; (unicos == 0 || i < unicos) && !l.Fim(); ++i) {
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
            versao_ == TVersaoBiff::Biff8 ? TextosCompartilhados() : std::make_shared<TTextos>();
        auto aba = std::make_unique<TAbaLida>(textos);
        LeCelulas(fluxo_, inicioAbas_.at(indice), versao_, TPaginaCodigo(paginaCodigo_),
                  textos.get(), textosAnunciados_, *aba);
        return aba;
    } catch (const EPlanilha& e) {
        throw Erro("aba \"" + win1252::ParaUtf8(nomes_.at(indice)) + "\": " + e.what());
    }
}
