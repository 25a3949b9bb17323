#include "spreadsheet/ConteinerOle.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/Erros.h"

namespace {

constexpr std::uint32_t kFimCadeia = 0xFFFFFFFEu;
constexpr std::uint32_t kSemEntrada = 0xFFFFFFFFu;
constexpr std::uint32_t kMaiorSetor = 0xFFFFFFFAu;
constexpr std::size_t kTamanhoEntrada = 128;

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

EPlanilha Ilegivel() {
    return EPlanilha("o arquivo não é uma planilha do Excel válida (contêiner OLE2 ilegível).");
}

EPlanilha Truncado() {
    return EPlanilha("o arquivo está truncado ou corrompido (leitura interrompida).");
}

EPlanilha AlemDoLimite(std::size_t limite) {
    return EPlanilha("o conteúdo do arquivo passa do limite que pode ser carregado (" +
                     std::to_string(limite / (1024 * 1024)) + " MiB).");
}

char16_t Minuscula(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

}  // namespace

TConteinerOle::TConteinerOle(const std::string& caminho) {
    arquivo_ = std::fopen(caminho.c_str(), "rb");
    if (!arquivo_) {
        throw EPlanilha("o arquivo não pode ser aberto (" + std::string(std::strerror(errno)) +
                        ").");
    }
    try {
        struct stat st {};
        if (fstat(fileno(arquivo_), &st) != 0 || st.st_size < 512)
            throw Ilegivel();
        tamanhoArquivo_ = static_cast<std::uint64_t>(st.st_size);
        std::uint8_t cab[512];
        LeBytes(0, sizeof cab, cab);
        static const std::uint8_t kAssinatura[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
        if (std::memcmp(cab, kAssinatura, sizeof kAssinatura) != 0)
            throw Ilegivel();
        deslocSetor_ = U16(cab + 0x1E);
        deslocMini_ = U16(cab + 0x20);
        if ((deslocSetor_ != 9 && deslocSetor_ != 12) || deslocMini_ < 2 ||
            deslocMini_ >= deslocSetor_) {
            throw Ilegivel();
        }
        const std::uint64_t tamSetor = std::uint64_t{1} << deslocSetor_;
        std::uint64_t setores = (tamanhoArquivo_ - 1) / tamSetor;  // the header takes sector -1
        setoresNoArquivo_ =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(setores, kMaiorSetor));
        inicioMiniFat_ = U32(cab + 0x3C);

        // The FAT's own sectors: the header's 109 slots, then the DIFAT chain. The header's
        // counts are not trusted; the list ends at the first slot that names no sector.
        std::vector<std::uint32_t> setoresFat;
        bool fimLista = false;
        // More FAT sectors than the file's sectors need would only describe sectors it lacks.
        const std::size_t porSetor = static_cast<std::size_t>(tamSetor / 4);
        const std::size_t maximoFat = (setoresNoArquivo_ + porSetor - 1) / porSetor;
        auto acrescenta = [&](std::uint32_t s) {
            if (fimLista || s >= setoresNoArquivo_ || setoresFat.size() >= maximoFat) {
                fimLista = true;
                return;
            }
            setoresFat.push_back(s);
        };
        for (int i = 0; i < 109; ++i)
            acrescenta(U32(cab + 0x4C + 4 * i));
        std::vector<std::uint8_t> bloco(static_cast<std::size_t>(tamSetor));
        std::vector<bool> visitado;
        for (std::uint32_t dif = U32(cab + 0x44); !fimLista && dif < setoresNoArquivo_;) {
            if (visitado.empty())
                visitado.assign(setoresNoArquivo_, false);
            if (visitado[dif])
                break;
            visitado[dif] = true;
            LeBytes((std::uint64_t{dif} + 1) << deslocSetor_, bloco.size(), bloco.data());
            for (std::size_t k = 0; k + 1 < porSetor; ++k)
                acrescenta(U32(bloco.data() + 4 * k));
            dif = U32(bloco.data() + 4 * (porSetor - 1));
        }
        fat_.reserve(setoresFat.size() * porSetor);
        for (std::uint32_t s : setoresFat) {
            LeBytes((std::uint64_t{s} + 1) << deslocSetor_, bloco.size(), bloco.data());
            for (std::size_t k = 0; k < porSetor; ++k)
                fat_.push_back(U32(bloco.data() + 4 * k));
        }

        std::vector<std::uint32_t> setoresDir = Cadeia(U32(cab + 0x30), fat_, 0);
        std::vector<std::uint8_t> dir(setoresDir.size() << deslocSetor_);
        LeSetores(setoresDir, dir.size(), dir.data());
        for (std::size_t p = 0; p + kTamanhoEntrada <= dir.size(); p += kTamanhoEntrada) {
            const std::uint8_t* e = dir.data() + p;
            TEntrada ent;
            std::size_t letras = std::min<std::size_t>(U16(e + 0x40) / 2, 32);
            for (std::size_t k = 0; k < letras; ++k) {
                char16_t c = static_cast<char16_t>(U16(e + 2 * k));
                if (c == 0)
                    break;
                ent.nome += c;
            }
            ent.tipo = e[0x42];
            ent.esquerda = U32(e + 0x44);
            ent.direita = U32(e + 0x48);
            ent.filho = U32(e + 0x4C);
            ent.inicio = U32(e + 0x74);
            ent.tamanho = U32(e + 0x78);
            // Version 3 files may leave garbage in the size's high half.
            if (deslocSetor_ == 12)
                ent.tamanho |= static_cast<std::uint64_t>(U32(e + 0x7C)) << 32;
            diretorio_.push_back(std::move(ent));
        }
        if (diretorio_.empty() || diretorio_[0].tipo != 5)
            throw Ilegivel();

        // The root's children form a tree through their sibling links.
        std::vector<bool> visto(diretorio_.size(), false);
        std::vector<std::uint32_t> pilha{diretorio_[0].filho};
        while (!pilha.empty()) {
            std::uint32_t i = pilha.back();
            pilha.pop_back();
            if (i >= diretorio_.size() || visto[i] || i == 0)
                continue;
            visto[i] = true;
            if (diretorio_[i].tipo == 1 || diretorio_[i].tipo == 2)
                filhosRaiz_.push_back(i);
            pilha.push_back(diretorio_[i].esquerda);
            pilha.push_back(diretorio_[i].direita);
        }
    } catch (...) {
        std::fclose(arquivo_);
        arquivo_ = nullptr;
        throw;
    }
}

TConteinerOle::~TConteinerOle() {
    if (arquivo_)
        std::fclose(arquivo_);
}

void TConteinerOle::LeBytes(std::uint64_t pos, std::size_t n, std::uint8_t* destino) const {
    if (pos > tamanhoArquivo_ || n > tamanhoArquivo_ - pos)
        throw Truncado();
    if (fseeko(arquivo_, static_cast<off_t>(pos), SEEK_SET) != 0 ||
        std::fread(destino, 1, n, arquivo_) != n) {
        throw Truncado();
    }
}

std::vector<std::uint32_t> TConteinerOle::Cadeia(std::uint32_t inicio,
                                                 const std::vector<std::uint32_t>& tabela,
                                                 std::size_t quantos) const {
    std::vector<std::uint32_t> r;
    std::uint32_t s = inicio;
    const bool principal = &tabela == &fat_;
    while (quantos == 0 || r.size() < quantos) {
        bool valido = s < tabela.size() && (!principal || s < setoresNoArquivo_);
        if (!valido) {
            // A table read to its end may stop at a free or missing sector; data cannot.
            if (quantos != 0)
                throw Truncado();
            break;
        }
        if (r.size() >= tabela.size())
            throw EPlanilha("o arquivo está corrompido (cadeia de setores em ciclo).");
        r.push_back(s);
        s = tabela[s];
    }
    return r;
}

void TConteinerOle::LeSetores(const std::vector<std::uint32_t>& setores, std::uint64_t bytes,
                              std::uint8_t* destino) const {
    const std::uint64_t tamSetor = std::uint64_t{1} << deslocSetor_;
    std::size_t i = 0;
    while (i < setores.size() && bytes > 0) {
        // Consecutive sectors are read in one go.
        std::size_t j = i + 1;
        while (j < setores.size() && setores[j] == setores[j - 1] + 1 && (j - i) < 2048)
            ++j;
        std::uint64_t n = std::min<std::uint64_t>(bytes, (j - i) * tamSetor);
        LeBytes((std::uint64_t{setores[i]} + 1) << deslocSetor_, static_cast<std::size_t>(n),
                destino);
        destino += n;
        bytes -= n;
        i = j;
    }
    if (bytes > 0)
        throw Truncado();
}

int TConteinerOle::Localiza(const char* nome) const {
    for (std::uint32_t i : filhosRaiz_) {
        const std::u16string& n = diretorio_[i].nome;
        std::size_t k = 0;
        for (; k < n.size() && nome[k]; ++k) {
            if (Minuscula(n[k]) != Minuscula(static_cast<char16_t>(nome[k])))
                break;
        }
        if (k == n.size() && nome[k] == '\0')
            return static_cast<int>(i);
    }
    return -1;
}

bool TConteinerOle::TemFluxo(const char* nome) const {
    int i = Localiza(nome);
    return i >= 0 && diretorio_[static_cast<std::size_t>(i)].tipo == 2;
}

std::vector<std::uint8_t> TConteinerOle::LeFluxo(const char* nome, std::size_t limite) const {
    int i = Localiza(nome);
    if (i < 0 || diretorio_[static_cast<std::size_t>(i)].tipo != 2)
        throw EPlanilha(std::string("o fluxo \"") + nome + "\" não existe no arquivo.");
    const TEntrada& e = diretorio_[static_cast<std::size_t>(i)];
    if (e.tamanho > limite)
        throw AlemDoLimite(limite);
    if (e.tamanho == 0)
        return {};
    if (e.tamanho >= corteMini_) {
        // The chain is checked before the memory for what it claims is taken.
        std::size_t n =
            static_cast<std::size_t>((e.tamanho + (1u << deslocSetor_) - 1) >> deslocSetor_);
        std::vector<std::uint32_t> setores = Cadeia(e.inicio, fat_, n);
        std::vector<std::uint8_t> dados(static_cast<std::size_t>(e.tamanho));
        LeSetores(setores, dados.size(), dados.data());
        return dados;
    }
    std::vector<std::uint8_t> dados(static_cast<std::size_t>(e.tamanho));
    // Small streams live in the mini stream, the root entry's own data, in 64-byte pieces.
    if (!miniLido_) {
        const TEntrada& raiz = diretorio_[0];
        if (raiz.tamanho > limite)
            throw AlemDoLimite(limite);
        std::size_t n =
            static_cast<std::size_t>((raiz.tamanho + (1u << deslocSetor_) - 1) >> deslocSetor_);
        std::vector<std::uint32_t> setoresMini = Cadeia(raiz.inicio, fat_, n);
        fluxoMini_.resize(static_cast<std::size_t>(raiz.tamanho));
        LeSetores(setoresMini, fluxoMini_.size(), fluxoMini_.data());
        std::vector<std::uint32_t> setores = Cadeia(inicioMiniFat_, fat_, 0);
        std::vector<std::uint8_t> bytes(setores.size() << deslocSetor_);
        LeSetores(setores, bytes.size(), bytes.data());
        miniFat_.resize(bytes.size() / 4);
        for (std::size_t k = 0; k < miniFat_.size(); ++k)
            miniFat_[k] = U32(bytes.data() + 4 * k);
        // Only the pieces the mini stream really holds can be part of a chain.
        std::size_t pecasNoFluxo = (fluxoMini_.size() + (1u << deslocMini_) - 1) >> deslocMini_;
        miniFat_.resize(std::min(miniFat_.size(), pecasNoFluxo));
        fluxoMini_.resize(pecasNoFluxo << deslocMini_);
        miniLido_ = true;
    }
    const std::size_t tamMini = std::size_t{1} << deslocMini_;
    std::vector<std::uint32_t> pecas =
        Cadeia(e.inicio, miniFat_, (dados.size() + tamMini - 1) / tamMini);
    std::size_t feito = 0;
    for (std::uint32_t p : pecas) {
        std::size_t n = std::min(tamMini, dados.size() - feito);
        std::memcpy(dados.data() + feito, fluxoMini_.data() + (std::size_t{p} << deslocMini_), n);
        feito += n;
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
