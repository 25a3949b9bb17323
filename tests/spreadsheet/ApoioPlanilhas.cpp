#include "tests/spreadsheet/ApoioPlanilhas.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>
#include <zip.h>

#include <bit>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace apoio_planilha {

TPastaTemporaria::TPastaTemporaria() {
    std::string modelo = (std::filesystem::temp_directory_path() / "planilhaXXXXXX").string();
    if (!mkdtemp(modelo.data()))
        throw std::runtime_error("mkdtemp falhou");
    raiz_ = modelo;
}

TPastaTemporaria::~TPastaTemporaria() {
    std::error_code ec;
    std::filesystem::remove_all(raiz_, ec);
}

std::string Fixture(const std::string& nome) {
    return std::string(CONVERSOR_FIXTURES_DIR) + "/" + nome;
}

void GravaArquivo(const std::string& caminho, const std::string& bytes) {
    std::ofstream f(caminho, std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f)
        throw std::runtime_error("não gravou " + caminho);
}

std::string LeArquivo(const std::string& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void GravaZip(const std::string& caminho, const TEntradas& entradas) {
    int erro = 0;
    zip_t* z = zip_open(caminho.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &erro);
    if (!z)
        throw std::runtime_error("zip_open falhou");
    for (const auto& [nome, conteudo] : entradas) {
        zip_source_t* src = zip_source_buffer(z, conteudo.data(), conteudo.size(), 0);
        if (!src || zip_file_add(z, nome.c_str(), src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(src);
            zip_discard(z);
            throw std::runtime_error("zip_file_add falhou");
        }
    }
    if (zip_close(z) != 0)
        throw std::runtime_error("zip_close falhou");
}

void GravaOle(const std::string& caminho, const TEntradas& fluxos) {
    gsf_init();
    GError* erro = nullptr;
    GsfOutput* saida = gsf_output_stdio_new(caminho.c_str(), &erro);
    if (!saida)
        throw std::runtime_error("gsf_output_stdio_new falhou");
    GsfOutfile* ole = gsf_outfile_msole_new(saida);
    for (const auto& [nome, conteudo] : fluxos) {
        GsfOutput* filho = gsf_outfile_new_child(ole, nome.c_str(), FALSE);
        gsf_output_write(filho, conteudo.size(), reinterpret_cast<const guint8*>(conteudo.data()));
        gsf_output_close(filho);
        g_object_unref(filho);
    }
    gsf_output_close(GSF_OUTPUT(ole));
    g_object_unref(ole);
    g_object_unref(saida);
}

TEntradas PacoteXlsx(const std::vector<TAbaXml>& abas, const std::string& textosXml,
                     bool alvosAbsolutos) {
    const std::string ns = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const std::string nsr = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    std::string tipos =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>";
    std::string raiz =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" +
        nsr + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
    std::string pasta = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook xmlns=\"" + ns +
                        "\" xmlns:r=\"" + nsr + "\"><sheets>";
    std::string rels =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    TEntradas e;
    for (size_t i = 0; i < abas.size(); ++i) {
        std::string n = std::to_string(i + 1);
        pasta +=
            "<sheet name=\"" + abas[i].nome + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        std::string pastaParte = abas[i].tipo == "worksheet" ? "worksheets" : "outras";
        std::string alvo = (alvosAbsolutos ? "/xl/" : "") + pastaParte + "/sheet" + n + ".xml";
        std::string tipo =
            abas[i].tipo == "xlMacrosheet"
                ? "http://schemas.microsoft.com/office/2006/relationships/" + abas[i].tipo
                : nsr + "/" + abas[i].tipo;
        rels += "<Relationship Id=\"rId" + n + "\" Type=\"" + tipo + "\" Target=\"" + alvo + "\"/>";
        e.emplace_back("xl/" + pastaParte + "/sheet" + n + ".xml",
                       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet xmlns=\"" + ns +
                           "\">" + abas[i].antes + "<sheetData>" + abas[i].dados +
                           "</sheetData></worksheet>");
    }
    pasta += "</sheets></workbook>";
    if (!textosXml.empty()) {
        rels += "<Relationship Id=\"rIdT\" Type=\"" + nsr + "/sharedStrings\" Target=\"" +
                (alvosAbsolutos ? "/xl/" : "") + "sharedStrings.xml\"/>";
        e.emplace_back("xl/sharedStrings.xml",
                       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><sst xmlns=\"" + ns + "\">" +
                           textosXml + "</sst>");
    }
    rels += "</Relationships>";
    e.emplace_back("[Content_Types].xml", tipos);
    e.emplace_back("_rels/.rels", raiz);
    e.emplace_back("xl/workbook.xml", pasta);
    e.emplace_back("xl/_rels/workbook.xml.rels", rels);
    return e;
}

std::string TextoBiff8Compacto(const std::string& latin1, bool cch16) {
    std::string cch = cch16 ? U16(static_cast<unsigned>(latin1.size()))
                            : std::string(1, static_cast<char>(latin1.size()));
    return cch + std::string(1, '\0') + latin1;
}

namespace {
std::u16string Utf16(const std::string& utf8) {
    std::u16string r;
    for (size_t i = 0; i < utf8.size();) {
        auto b = static_cast<unsigned char>(utf8[i]);
        char32_t cp;
        size_t n;
        if (b < 0x80) {
            cp = b;
            n = 1;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            n = 2;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            n = 3;
        } else {
            cp = b & 0x07;
            n = 4;
        }
        for (size_t k = 1; k < n; ++k)
            cp = (cp << 6) | (utf8[i + k] & 0x3F);
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            r += static_cast<char16_t>(0xD800 + (cp >> 10));
            r += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            r += static_cast<char16_t>(cp);
        }
    }
    return r;
}
}  // namespace

std::string TextoBiff8Utf16(const std::string& utf8, bool cch16) {
    std::u16string u = Utf16(utf8);
    std::string cch =
        cch16 ? U16(static_cast<unsigned>(u.size())) : std::string(1, static_cast<char>(u.size()));
    std::string r = cch + std::string(1, '\x01');
    for (char16_t c : u)
        r += U16(c);
    return r;
}

namespace {
std::string FluxoBiff(const std::vector<TFolhaBiff>& folhas, const std::string& globaisExtra,
                      bool biff5) {
    auto bof = [&](unsigned tipo) {
        return biff5 ? Registro(0x0809, U16(0x0500) + U16(tipo) + U16(0x0DBB) + U16(0x07CC))
                     : Bof(tipo);
    };
    // Offsets depend on the globals' size, which the BOUNDSHEET records are part of.
    std::string inicio = bof(0x0005) + globaisExtra;
    std::vector<std::string> boundsheets(folhas.size());
    size_t tamanhoGlobais = inicio.size() + Eof().size();
    auto nome = [&](const TFolhaBiff& f) {
        if (biff5)
            return std::string(1, static_cast<char>(f.nome.size())) + f.nome;
        return f.nomeUtf16 ? TextoBiff8Utf16(f.nome, false) : TextoBiff8Compacto(f.nome, false);
    };
    for (const TFolhaBiff& f : folhas)
        tamanhoGlobais += 4 + 6 + nome(f).size();
    std::string corpos;
    for (size_t i = 0; i < folhas.size(); ++i) {
        unsigned tipo = folhas[i].tipo == 2 ? 0x0020 : folhas[i].tipo == 1 ? 0x0040 : 0x0010;
        std::uint32_t pos = static_cast<std::uint32_t>(tamanhoGlobais + corpos.size());
        boundsheets[i] = Registro(0x0085, U32(pos) + std::string(1, '\0') +
                                              std::string(1, static_cast<char>(folhas[i].tipo)) +
                                              nome(folhas[i]));
        corpos += bof(tipo) + folhas[i].registros + Eof();
    }
    std::string globais = inicio;
    for (const std::string& b : boundsheets)
        globais += b;
    globais += Eof();
    return globais + corpos;
}
}  // namespace

std::string FluxoBiff8(const std::vector<TFolhaBiff>& folhas, const std::string& globaisExtra) {
    return FluxoBiff(folhas, globaisExtra, false);
}

std::string FluxoBiff5(const std::vector<TFolhaBiff>& folhas, const std::string& globaisExtra) {
    return FluxoBiff(folhas, globaisExtra, true);
}

}  // namespace apoio_planilha
