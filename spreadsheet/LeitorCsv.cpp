#include "spreadsheet/LeitorCsv.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "common/Win1252.h"

namespace {

std::string NomeSemExtensao(const std::string& caminho) {
    size_t barra = caminho.find_last_of("/\\");
    std::string nome = barra == std::string::npos ? caminho : caminho.substr(barra + 1);
    size_t ponto = nome.rfind('.');
    if (ponto != std::string::npos && ponto > 0)
        nome.erase(ponto);
    return nome;
}

// The first line's delimiter: the candidate seen most often outside quotes; ";" when none is
// seen or two are seen equally often.
class TDelimitador {
  public:
    // false once the first line has ended.
    bool Ve(char c) {
        if (c == '"') {
            aspas_ = !aspas_;
        } else if (!aspas_) {
            if (c == '\n' || c == '\r')
                return false;
            pontoVirgula_ += c == ';';
            virgula_ += c == ',';
            tab_ += c == '\t';
        }
        return true;
    }
    char Escolhe() const {
        if (virgula_ > pontoVirgula_ && virgula_ > tab_)
            return ',';
        if (tab_ > pontoVirgula_ && tab_ > virgula_)
            return '\t';
        return ';';
    }

  private:
    std::size_t pontoVirgula_ = 0, virgula_ = 0, tab_ = 0;
    bool aspas_ = false;
};

bool EhLogico(std::string_view s, bool& valor) {
    auto igual = [&](std::string_view palavra) {
        if (s.size() != palavra.size())
            return false;
        for (size_t i = 0; i < s.size(); ++i) {
            char c = s[i];
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            if (c != palavra[i])
                return false;
        }
        return true;
    };
    if (igual("TRUE")) {
        valor = true;
        return true;
    }
    if (igual("FALSE")) {
        valor = false;
        return true;
    }
    return false;
}

// The fields of a delimited text fed piece by piece, put into a receptor as cells; the pieces
// can be cut anywhere. Quoting follows RFC 4180: a field that starts with a quote runs to the
// closing one, "" inside is one quote, and what follows the closing quote up to the delimiter is
// kept as written.
class TCamposCsv {
  public:
    TCamposCsv(char delim, bool utf8, TReceptorCelulas& destino)
        : delim_(delim), utf8_(utf8), destino_(destino) {}

    void Alimenta(std::string_view pedaco) {
        for (char c : pedaco)
            Caractere(c);
    }

    // The end of the text.
    void Conclui() {
        if (estado_ == TEstado::AspaNasAspas || estado_ == TEstado::Aspas)
            linhaAberta_ = true;  // an unclosed quote ends with the text
        estado_ = TEstado::Normal;
        if (linhaAberta_)
            FechaCampo();
        linhaAberta_ = false;
    }

  private:
    enum class TEstado { Normal, Aspas, AspaNasAspas, DepoisDoCR };

    void Caractere(char c) {
        switch (estado_) {
            case TEstado::Aspas:
                if (c == '"')
                    estado_ = TEstado::AspaNasAspas;
                else
                    campo_ += c;
                return;
            case TEstado::AspaNasAspas:
                if (c == '"') {
                    campo_ += '"';
                    estado_ = TEstado::Aspas;
                    return;
                }
                estado_ = TEstado::Normal;
                linhaAberta_ = true;
                break;
            case TEstado::DepoisDoCR:
                estado_ = TEstado::Normal;
                if (c == '\n')
                    return;
                break;
            case TEstado::Normal:
                break;
        }
        if (c == '"' && campo_.empty()) {
            estado_ = TEstado::Aspas;
            linhaAberta_ = true;
        } else if (c == delim_) {
            FechaCampo();
            ++coluna_;
            linhaAberta_ = true;
        } else if (c == '\r' || c == '\n') {
            FechaCampo();
            if (c == '\r')
                estado_ = TEstado::DepoisDoCR;
            ++linha_;
            coluna_ = 1;
            linhaAberta_ = false;
        } else {
            campo_ += c;
            linhaAberta_ = true;
        }
    }

    void FechaCampo() {
        bool logico;
        if (EhLogico(campo_, logico)) {
            destino_.PoeLogico(coluna_, linha_, logico);
        } else if (utf8_) {
            destino_.PoeTexto(coluna_, linha_, win1252::DeUtf8(campo_));
        } else {
            std::string t;
            t.reserve(campo_.size());
            for (char c : campo_) {
                if (c != '\0')
                    t += c;
            }
            destino_.PoeTexto(coluna_, linha_, t);
        }
        campo_.clear();
    }

    char delim_;
    bool utf8_;
    TReceptorCelulas& destino_;
    TEstado estado_ = TEstado::Normal;
    int linha_ = 1, coluna_ = 1;
    bool linhaAberta_ = false;  // something (even an empty field) was read on this line
    std::string campo_;
};

constexpr std::size_t kPedaco = std::size_t{1} << 16;

// The file read from an offset without moving any shared position, so that walks of the same
// file can interleave.
std::size_t LePedaco(int fd, std::uint64_t posicao, char* destino, std::size_t n) {
    for (;;) {
        const ssize_t lidos = ::pread(fd, destino, n, static_cast<off_t>(posicao));
        if (lidos >= 0)
            return static_cast<std::size_t>(lidos);
        if (errno != EINTR)
            throw EPlanilha("a leitura do arquivo falhou.");
    }
}

// A text in order, parsed as its rows are asked for.
class TPercursoCsv : public TPercursoEmFila {
  public:
    TPercursoCsv(std::shared_ptr<const TLeitorCsv::TArquivo> arquivo, std::uint64_t inicio,
                 char delim, bool utf8, std::string prefixoErro)
        : TPercursoEmFila(nullptr, std::move(prefixoErro)),
          arquivo_(std::move(arquivo)),
          inicio_(inicio),
          delim_(delim),
          utf8_(utf8) {
        Reinicia();
    }

  protected:
    void Recomeca() override {
        posicao_ = inicio_;
        campos_ = std::make_unique<TCamposCsv>(delim_, utf8_, Fila());
    }
    bool Avanca() override {
        const std::size_t n = LePedaco(arquivo_->fd, posicao_, buf_.data(), buf_.size());
        posicao_ += n;
        if (n == 0) {
            campos_->Conclui();
            return false;
        }
        campos_->Alimenta(std::string_view(buf_.data(), n));
        return true;
    }

  private:
    std::shared_ptr<const TLeitorCsv::TArquivo> arquivo_;
    std::uint64_t inicio_;
    char delim_;
    bool utf8_;
    std::uint64_t posicao_ = 0;
    std::unique_ptr<TCamposCsv> campos_;
    std::vector<char> buf_ = std::vector<char>(kPedaco);
};

}  // namespace

TLeitorCsv::TArquivo::~TArquivo() {
    if (fd >= 0)
        ::close(fd);
}

TLeitorCsv::TLeitorCsv(const std::string& caminho) : TPastaTrabalho(caminho) {
    nomes_.push_back(win1252::DeUtf8(NomeSemExtensao(caminho)));
    // Held open from here on: every later reading sees the file as it was opened, even when it
    // is saved over meanwhile.
    auto arquivo = std::make_shared<TArquivo>();
    arquivo->fd = ::open(caminho.c_str(), O_RDONLY | O_CLOEXEC);
    arquivo_ = std::move(arquivo);
}

void TLeitorCsv::ExigeArquivo() const {
    if (arquivo_->fd < 0)
        throw Erro("o arquivo não pode ser aberto.");
}

// What the whole text decides once: its byte order mark, whether it is UTF-8 (valid UTF-8 is
// UTF-8, anything else Windows-1252) and its delimiter. The file is read piece by piece.
void TLeitorCsv::ConhecePropriedades() {
    if (conhecidas_)
        return;
    ExigeArquivo();
    std::vector<char> buf(kPedaco);
    char marca[3];
    std::size_t nMarca = 0;
    while (nMarca < 3) {
        const std::size_t n = LePedaco(arquivo_->fd, nMarca, marca + nMarca, 3 - nMarca);
        if (n == 0)
            break;
        nMarca += n;
    }
    const std::uint64_t inicio =
        std::string_view(marca, nMarca) == "\xEF\xBB\xBF" ? std::uint64_t{3} : 0;
    TDelimitador delimitador;
    bool primeiraLinha = true, valido = true;
    std::string texto;  // a piece, after the bytes of a character the previous piece cut
    for (std::uint64_t posicao = inicio;;) {
        const std::size_t n = LePedaco(arquivo_->fd, posicao, buf.data(), buf.size());
        if (posicao + n > planilha::kLimiteBytes) {
            throw Erro("o arquivo passa de " +
                       std::to_string(planilha::kLimiteBytes / (1024 * 1024)) +
                       " MiB, mais do que pode ser carregado.");
        }
        posicao += n;
        texto.append(buf.data(), n);
        for (std::size_t i = texto.size() - n; primeiraLinha && i < texto.size(); ++i)
            primeiraLinha = delimitador.Ve(texto[i]);
        // A character the piece cuts waits for the next one: the cut goes before the last byte
        // that starts a character, when one of the last four bytes is such a byte.
        std::size_t corte = texto.size();
        for (std::size_t j = texto.size(); n > 0 && j > 0 && j + 4 > texto.size(); --j) {
            const auto b = static_cast<unsigned char>(texto[j - 1]);
            if ((b & 0xC0) != 0x80) {
                if (b >= 0xC0)
                    corte = j - 1;
                break;
            }
        }
        valido = valido && win1252::EhUtf8Valido(std::string_view(texto).substr(0, corte));
        texto.erase(0, corte);
        if (n == 0)
            break;
    }
    inicio_ = inicio;
    utf8_ = valido;
    delim_ = delimitador.Escolhe();
    conhecidas_ = true;
}

void TLeitorCsv::Analisa(TReceptorCelulas& destino) {
    ConhecePropriedades();
    TCamposCsv campos(delim_, utf8_, destino);
    std::vector<char> buf(kPedaco);
    for (std::uint64_t posicao = inicio_;;) {
        const std::size_t n = LePedaco(arquivo_->fd, posicao, buf.data(), buf.size());
        if (n == 0)
            break;
        posicao += n;
        campos.Alimenta(std::string_view(buf.data(), n));
    }
    campos.Conclui();
}

std::unique_ptr<TAbaLida> TLeitorCsv::LeAba(std::size_t indice) {
    (void)indice;
    auto aba = std::make_unique<TAbaLida>();
    try {
        Analisa(*aba);
    } catch (const EPlanilha& e) {
        throw Relata(e);
    }
    return aba;
}

std::optional<TMedidaAba> TLeitorCsv::MedeAba(std::size_t indice) {
    (void)indice;
    TMedidorAba medidor;
    try {
        Analisa(medidor);
    } catch (const EPlanilha& e) {
        throw Relata(e);
    }
    return medidor.Medida();
}

std::unique_ptr<TPercursoAba> TLeitorCsv::PercorreAba(std::size_t indice) {
    (void)indice;
    try {
        ConhecePropriedades();
    } catch (const EPlanilha& e) {
        throw Relata(e);
    }
    return std::make_unique<TPercursoCsv>(arquivo_, inicio_, delim_, utf8_, Erro("").what());
}

// A reading failure names the file, once.
EPlanilha TLeitorCsv::Relata(const EPlanilha& e) const {
    const std::string prefixo = Erro("").what();
    const std::string texto = e.what();
    return texto.rfind(prefixo, 0) == 0 ? e : Erro(texto);
}
