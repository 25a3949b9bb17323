#include "fuzz/Pacotes.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "app/logica/TabelaTemp.h"
#include "common/Erros.h"
#include "spreadsheet/ControlaExcel.h"

namespace fuzz {

namespace {

const std::string kNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const std::string kNsR = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const std::string kNsPacote = "http://schemas.openxmlformats.org/package/2006/relationships";

std::string Padrao(size_t parte) {
    switch (parte) {
        case 0:
        case 4:
            return "<worksheet xmlns=\"" + kNs + "\"><sheetData/></worksheet>";
        case 1:
            return "<sst xmlns=\"" + kNs + "\"/>";
        case 2:
            return "<workbook xmlns=\"" + kNs + "\" xmlns:r=\"" + kNsR +
                   "\"><sheets><sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/>"
                   "<sheet name=\"B\" sheetId=\"2\" r:id=\"rId2\"/></sheets></workbook>";
        default:
            return "<Relationships xmlns=\"" + kNsPacote + "\"><Relationship Id=\"rId1\" Type=\"" +
                   kNsR + "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship " +
                   "Id=\"rId2\" Type=\"" + kNsR +
                   "/worksheet\" Target=\"worksheets/sheet2.xml\"/><Relationship Id=\"rId3\" "
                   "Type=\"" +
                   kNsR + "/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>";
    }
}

void Aborta(const char* motivo) {
    std::fprintf(stderr, "divergência: %s\n", motivo);
    std::abort();
}

}  // namespace

std::vector<std::string> PartesXlsx(std::string_view entrada) {
    std::vector<std::string> partes;
    while (partes.size() < 5) {
        size_t fim = entrada.find(kSeparadorPartes);
        partes.emplace_back(entrada.substr(0, fim));
        if (fim == std::string_view::npos)
            break;
        entrada.remove_prefix(fim + kSeparadorPartes.size());
    }
    for (size_t i = 0; i < 5; ++i) {
        if (i == partes.size())
            partes.emplace_back();
        if (partes[i].empty())
            partes[i] = Padrao(i);
    }
    return partes;
}

void GravaXlsx(const std::string& caminho, const std::vector<std::string>& partes, bool comprime) {
    const std::vector<std::pair<std::string, std::string>> entradas = {
        {"[Content_Types].xml",
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
        {"_rels/.rels", "<Relationships xmlns=\"" + kNsPacote +
                            "\"><Relationship Id=\"rId1\" Type=\"" + kNsR +
                            "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml", partes.at(2)},
        {"xl/_rels/workbook.xml.rels", partes.at(3)},
        {"xl/sharedStrings.xml", partes.at(1)},
        {"xl/worksheets/sheet1.xml", partes.at(0)},
        {"xl/worksheets/sheet2.xml", partes.at(4)},
    };
    int erro = 0;
    zip_t* z = zip_open(caminho.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &erro);
    if (!z)
        throw std::runtime_error("zip_open falhou");
    for (const auto& [nome, conteudo] : entradas) {
        zip_source_t* fonte = zip_source_buffer(z, conteudo.data(), conteudo.size(), 0);
        zip_int64_t i = fonte ? zip_file_add(z, nome.c_str(), fonte, ZIP_FL_OVERWRITE) : -1;
        if (i < 0) {
            zip_source_free(fonte);
            zip_discard(z);
            throw std::runtime_error("zip_file_add falhou");
        }
        zip_set_file_compression(z, static_cast<zip_uint64_t>(i),
                                 comprime ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
    }
    if (zip_close(z) != 0)
        throw std::runtime_error("zip_close falhou");
}

void GravaOle(const std::string& caminho, std::string_view fluxo, const char* nome) {
    gsf_init();
    GError* erro = nullptr;
    GsfOutput* saida = gsf_output_stdio_new(caminho.c_str(), &erro);
    if (!saida) {
        g_clear_error(&erro);
        throw std::runtime_error("gsf_output_stdio_new falhou");
    }
    GsfOutfile* ole = gsf_outfile_msole_new(saida);
    GsfOutput* filho = gsf_outfile_new_child(ole, nome, FALSE);
    gsf_output_write(filho, fluxo.size(), reinterpret_cast<const guint8*>(fluxo.data()));
    gsf_output_close(filho);
    g_object_unref(filho);
    gsf_output_close(GSF_OUTPUT(ole));
    g_object_unref(ole);
    g_object_unref(saida);
}

void GravaArquivo(const std::string& caminho, std::string_view bytes) {
    std::ofstream f(caminho, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f)
        throw std::runtime_error("não gravou " + caminho);
}

TArquivoTemporario::TArquivoTemporario(const char* extensao)
    : caminho_((std::filesystem::temp_directory_path() /
                ("conversor-fuzz-" + std::to_string(getpid()) + "." + extensao))
                   .string()) {}

TArquivoTemporario::~TArquivoTemporario() {
    std::error_code ec;
    std::filesystem::remove(caminho_, ec);
}

void LePlanilha(const std::string& caminho) {
    // Enough rows and columns to reach every kind of cell a small input can hold, few enough
    // that a far-out cell does not turn one input into minutes.
    constexpr int kLinhas = 64, kColunas = 64;
    TDMCotrolaExcel excel;
    try {
        excel.AbreArquivoExcel(caminho);
        const std::vector<std::string> nomes = excel.ListaAbas();
        excel.LiberaListaAbas();
        for (size_t a = 1; a <= nomes.size(); ++a) {
            try {
                excel.SelecionaAba(static_cast<int>(a));
                const int ultimaLinha = excel.UltimaLinha();
                const int ultimaColuna = excel.UltimaColuna();
                TTabelaTemp tabela;
                tabela.Recria(ultimaColuna);
                const int linhas = std::min(ultimaLinha, kLinhas);
                std::vector<bool> recusada(static_cast<size_t>(linhas) + 1);
                for (int i = 1; i <= linhas; ++i) {
                    std::vector<TCelulaLida> celulas;
                    try {
                        celulas = excel.LeLinha(i);
                    } catch (const EPlanilha&) {
                        // A cell holding an error value; the staging would stop here, the
                        // rows after it are still worth reading.
                        recusada[static_cast<size_t>(i)] = true;
                    }
                    for (size_t k = 1; k < celulas.size(); ++k) {
                        if (celulas[k].coluna <= celulas[k - 1].coluna)
                            Aborta("as células de uma linha fora de ordem");
                    }
                    for (const TCelulaLida& c : celulas) {
                        if (c.coluna < 1 || c.coluna > ultimaColuna || i > ultimaLinha)
                            Aborta("uma célula fora da área usada");
                        if (excel.LeCelula(c.coluna, i) != c.texto)
                            Aborta("LeLinha e LeCelula dão textos diferentes");
                    }
                    tabela.AcrescentaCelulas(celulas);
                }
                tabela.Primeiro();
                for (int i = 1; i <= linhas; ++i, tabela.Proximo()) {
                    if (recusada[static_cast<size_t>(i)])
                        continue;
                    for (int k = 1; k <= std::min(ultimaColuna, kColunas); ++k) {
                        std::string celula;
                        try {
                            celula = excel.LeCelula(k, i);
                        } catch (const EPlanilha&) {
                            continue;
                        }
                        celula.resize(std::min(celula.size(), TTabelaTemp::kTamanhoCampo));
                        if (tabela.Campo(std::to_string(k)) != celula)
                            Aborta("a tabela de carga e a planilha dão textos diferentes");
                    }
                }
                if (!tabela.Fim())
                    Aborta("a tabela de carga tem linhas demais");
            } catch (const EPlanilha&) {
                // A sheet the reader refuses; the next one may still be read.
            }
        }
    } catch (const EPlanilha&) {
    }
}

}  // namespace fuzz
