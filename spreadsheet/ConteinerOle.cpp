#include "spreadsheet/ConteinerOle.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>

#include <cstdio>
#include <cstring>

#include "common/Erros.h"

namespace {

void IniciaGsf() {
    static const bool iniciado = [] {
        gsf_init();
        return true;
    }();
    (void)iniciado;
}

std::string MensagemGError(GError* erro) {
    std::string m = erro && erro->message ? erro->message : "erro desconhecido";
    if (erro)
        g_error_free(erro);
    return m;
}

}  // namespace

TConteinerOle::TConteinerOle(const std::string& caminho) {
    IniciaGsf();
    GError* erro = nullptr;
    entrada_ = gsf_input_stdio_new(caminho.c_str(), &erro);
    if (!entrada_) {
        throw EPlanilha("o arquivo não pode ser aberto (" + MensagemGError(erro) + ").");
    }
    arquivo_ = gsf_infile_msole_new(entrada_, &erro);
    if (!arquivo_) {
        g_object_unref(entrada_);
        entrada_ = nullptr;
        if (erro)
            g_error_free(erro);
        throw EPlanilha("o arquivo não é uma planilha do Excel válida (contêiner OLE2 ilegível).");
    }
}

TConteinerOle::~TConteinerOle() {
    if (arquivo_)
        g_object_unref(arquivo_);
    if (entrada_)
        g_object_unref(entrada_);
}

// Stream names in a compound file compare without case.
int TConteinerOle::Localiza(const char* nome) const {
    int n = gsf_infile_num_children(arquivo_);
    for (int i = 0; i < n; ++i) {
        const char* filho = gsf_infile_name_by_index(arquivo_, i);
        if (filho && g_ascii_strcasecmp(filho, nome) == 0)
            return i;
    }
    return -1;
}

bool TConteinerOle::TemFluxo(const char* nome) const {
    return Localiza(nome) >= 0;
}

std::vector<std::uint8_t> TConteinerOle::LeFluxo(const char* nome, std::size_t limite) const {
    int i = Localiza(nome);
    GsfInput* filho = i < 0 ? nullptr : gsf_infile_child_by_index(arquivo_, i);
    if (!filho)
        throw EPlanilha(std::string("o fluxo \"") + nome + "\" não existe no arquivo.");
    struct Solta {
        GsfInput* p;
        ~Solta() { g_object_unref(p); }
    } solta{filho};
    gsf_off_t tamanho = gsf_input_size(filho);
    if (tamanho < 0 || static_cast<std::uint64_t>(tamanho) > limite) {
        throw EPlanilha("o conteúdo do arquivo passa do limite que pode ser carregado (" +
                        std::to_string(limite / (1024 * 1024)) + " MiB).");
    }
    std::vector<std::uint8_t> dados(static_cast<size_t>(tamanho));
    size_t lidos = 0;
    while (lidos < dados.size()) {
        size_t bloco = std::min<size_t>(dados.size() - lidos, 1 << 20);
        if (!gsf_input_read(filho, bloco, dados.data() + lidos)) {
            throw EPlanilha("o arquivo está truncado ou corrompido (leitura interrompida).");
        }
        lidos += bloco;
    }
    return dados;
}

bool TConteinerOle::TemAssinatura(const std::string& caminho) {
    static const unsigned char kAssinatura[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::FILE* f = std::fopen(caminho.c_str(), "rb");
    if (!f)
        return false;
    unsigned char cab[8] = {};
    size_t n = std::fread(cab, 1, sizeof cab, f);
    std::fclose(f);
    return n == sizeof cab && std::memcmp(cab, kAssinatura, sizeof cab) == 0;
}
