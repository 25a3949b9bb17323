#include "conversion/ComandoLiteral.h"

#include "conversion/Firebird.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

using namespace Firebird;

namespace {

bool Digito(char c) {
    return c >= '0' && c <= '9';
}
bool ParteIdentificador(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || Digito(c) || c == '_' || c == '$';
}

// 10^n for 0 <= n <= 308 as the engine builds it: a power of 10^32 times a power below 32, each
// a constant of its own, so large powers round the same way there and here.
double PotenciaDeDez(int n) {
    static const double altas[] = {1e0, 1e32, 1e64, 1e96, 1e128, 1e160, 1e192, 1e224, 1e256, 1e288};
    static const double baixas[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                    1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22, 1e23,
                                    1e24, 1e25, 1e26, 1e27, 1e28, 1e29, 1e30, 1e31};
    return altas[n / 32] * baixas[n % 32];
}

// The length of the number that starts at i (digits, one point, an optional exponent), 0 when
// there is none.
size_t ComprimentoNumero(const std::string& s, size_t i, bool& comExpoente) {
    size_t j = i;
    bool digito = false, ponto = false;
    while (j < s.size() && (Digito(s[j]) || (s[j] == '.' && !ponto))) {
        ponto = ponto || s[j] == '.';
        digito = digito || Digito(s[j]);
        ++j;
    }
    if (!digito)
        return 0;
    comExpoente = false;
    if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
        size_t k = j + 1;
        if (k < s.size() && (s[k] == '+' || s[k] == '-'))
            ++k;
        if (k < s.size() && Digito(s[k])) {
            while (k < s.size() && Digito(s[k]))
                ++k;
            comExpoente = true;
            j = k;
        }
    }
    return j - i;
}

TValorLiteral ValorNumerico(const std::string& numero, bool comExpoente, bool& recusado) {
    TValorLiteral v;
    v.texto = numero;
    recusado = false;
    if (!comExpoente) {
        bool negativo = false, fracao = false, estourou = false;
        std::uint64_t n = 0;
        int escala = 0;
        for (char c : numero) {
            if (c == '-')
                negativo = true;
            else if (c == '.')
                fracao = true;
            else if (Digito(c)) {
                // The engine's limit: INT64's range, one more for a negative number.
                const std::uint64_t limite = static_cast<std::uint64_t>(INT64_MAX) / 10;
                const int ultimo = negativo ? 8 : 7;
                if (n > limite || (n == limite && c - '0' > ultimo)) {
                    estourou = true;
                    break;
                }
                n = n * 10 + static_cast<unsigned>(c - '0');
                if (fracao)
                    ++escala;
            }
        }
        if (!estourou) {
            v.tipo = TValorLiteral::Tipo::Exato;
            v.inteiro = negativo ? static_cast<std::int64_t>(0 - n) : static_cast<std::int64_t>(n);
            v.escala = escala;
            return v;
        }
    }
    v.tipo = TValorLiteral::Tipo::Duplo;
    const std::optional<double> duplo = NumeroAproximadoDoTexto(numero);
    recusado = !duplo;
    v.duplo = duplo.value_or(0);
    return v;
}

// The previous character that is not blank is one after which a sign cannot be an operator.
bool SinalUnario(const std::string& s, size_t i) {
    size_t j = i;
    while (j > 0 && (s[j - 1] == ' ' || s[j - 1] == '\t' || s[j - 1] == '\r' || s[j - 1] == '\n'))
        --j;
    return j > 0 && (s[j - 1] == '(' || s[j - 1] == ',' || s[j - 1] == '=');
}

}  // namespace

std::optional<double> NumeroAproximadoDoTexto(const std::string& numero) {
    double valor = 0;
    int escala = 0;
    bool negativo = false, fracao = false;
    size_t i = 0;
    for (; i < numero.size(); ++i) {
        const char c = numero[i];
        if (Digito(c)) {
            valor = valor * 10. + (c - '0');
            if (fracao)
                ++escala;
        } else if (c == '.') {
            fracao = true;
        } else if (c == '-') {
            negativo = true;
        } else if (c == 'e' || c == 'E') {
            break;
        }
    }
    if (negativo)
        valor = -valor;
    if (i < numero.size()) {
        // The engine gives up on an exponent of 3276 or more, before it is even used.
        constexpr int kMaiorExpoente = (1 << 14) / 5;
        int expoente = 0;
        bool expoenteNegativo = false;
        for (++i; i < numero.size(); ++i) {
            if (numero[i] == '-')
                expoenteNegativo = true;
            else if (Digito(numero[i])) {
                expoente = expoente * 10 + (numero[i] - '0');
                if (expoente >= kMaiorExpoente)
                    return std::nullopt;
            }
        }
        escala += expoenteNegativo ? expoente : -expoente;
    }
    // Past 10^308 the engine refuses the number, even one a double could hold (1E-310).
    constexpr int kMaiorPotencia = 308;
    if (escala > kMaiorPotencia || escala < -kMaiorPotencia)
        return std::nullopt;
    if (escala > 0)
        valor /= PotenciaDeDez(escala);
    else if (escala < 0)
        valor *= PotenciaDeDez(-escala);
    if (std::isinf(valor))
        return std::nullopt;
    return valor;
}

TComandoLiteral::TComandoLiteral(const std::string& s) {
    sql_.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\'' || c == '"') {
            TValorLiteral v;
            size_t j = i + 1;
            for (; j < s.size(); ++j) {
                if (s[j] == c) {
                    if (j + 1 < s.size() && s[j + 1] == c) {
                        v.texto += c;
                        ++j;
                        continue;
                    }
                    break;
                }
                v.texto += s[j];
            }
            valores_.push_back(std::move(v));
            sql_ += '?';
            i = j;
            continue;
        }
        if (ParteIdentificador(c) && !Digito(c)) {
            size_t j = i;
            while (j < s.size() && ParteIdentificador(s[j]))
                ++j;
            sql_.append(s, i, j - i);
            i = j - 1;
            continue;
        }
        const bool sinal = (c == '-' || c == '+') && SinalUnario(s, i);
        const size_t inicio = sinal ? i + 1 : i;
        bool comExpoente = false;
        const size_t n = (Digito(c) || c == '.' || sinal) && inicio < s.size()
                             ? ComprimentoNumero(s, inicio, comExpoente)
                             : 0;
        if (n == 0) {
            sql_ += c;
            continue;
        }
        const size_t fim = inicio + n;
        bool recusado = false;
        valores_.push_back(ValorNumerico(s.substr(i, fim - i), comExpoente, recusado));
        motorRecusa_ = motorRecusa_ || recusado;
        sql_ += '?';
        i = fim - 1;
    }
}

namespace {

constexpr unsigned kMaiorTexto = 32765;

// An input message layout: its metadata, its length and where each value goes.
struct TFormato {
    IMessageMetadata* meta = nullptr;
    unsigned tamanho = 0;
    std::vector<unsigned> posicoes;
};

// The layouts already built, by the types of their values. A text's slot is a VARCHAR of 256
// characters, or of the next power of two for a longer text (its own length still travels with
// it, so the value is the same), which lets a writer send one layout record after record
// instead of building one per statement.
class TFormatos {
  public:
    ~TFormatos() {
        for (auto& [chave, formato] : formatos_)
            formato.meta->release();
    }

    const TFormato& Para(const std::vector<TValorLiteral>& valores) {
        std::string chave;
        for (const auto& v : valores) {
            switch (v.tipo) {
                case TValorLiteral::Tipo::Texto:
                    chave += 'T' + std::to_string(Capacidade(v.texto.size()));
                    break;
                case TValorLiteral::Tipo::Exato:
                    chave += 'E' + std::to_string(v.escala);
                    break;
                case TValorLiteral::Tipo::Duplo:
                    chave += 'D';
                    break;
            }
        }
        auto achado = formatos_.find(chave);
        if (achado != formatos_.end())
            return achado->second;
        return formatos_.emplace(chave, Monta(valores)).first->second;
    }

  private:
    static unsigned Capacidade(size_t comprimento) {
        unsigned c = 256;
        while (c < comprimento && c < kMaiorTexto)
            c *= 2;
        return std::min(c, kMaiorTexto);
    }

    static TFormato Monta(const std::vector<TValorLiteral>& valores) {
        fb::Status st;
        const auto n = static_cast<unsigned>(valores.size());
        IMetadataBuilder* b = fb::Master()->getMetadataBuilder(&st, n);
        st.Verifica();
        for (unsigned i = 0; i < n; ++i) {
            const TValorLiteral& v = valores[i];
            switch (v.tipo) {
                case TValorLiteral::Tipo::Texto:
                    b->setType(&st, i, SQL_VARYING);
                    b->setLength(&st, i, Capacidade(v.texto.size()));
                    b->setCharSet(&st, i, fb::kCharsetWin1252);
                    break;
                case TValorLiteral::Tipo::Exato:
                    b->setType(&st, i, SQL_INT64);
                    b->setLength(&st, i, sizeof(std::int64_t));
                    b->setScale(&st, i, -v.escala);
                    break;
                case TValorLiteral::Tipo::Duplo:
                    b->setType(&st, i, SQL_DOUBLE);
                    b->setLength(&st, i, sizeof(double));
                    break;
            }
        }
        TFormato f;
        f.meta = b->getMetadata(&st);
        b->release();
        st.Verifica();
        f.tamanho = f.meta->getMessageLength(&st);
        for (unsigned i = 0; i < n; ++i)
            f.posicoes.push_back(f.meta->getOffset(&st, i));
        if (st.Falhou()) {
            f.meta->release();
            st.Verifica();
        }
        return f;
    }

    std::unordered_map<std::string, TFormato> formatos_;
};

}  // namespace

void TComandoLiteral::Executa(TBancoFirebird& banco) const {
    IAttachment* att = banco.Attachment();
    ITransaction* tra = banco.TransacaoAtiva();
    IStatement* statement = banco.Comandos().Prepara(att, tra, sql_, banco.Dialeto());

    static TFormatos formatos;
    const TFormato& formato = formatos.Para(valores_);
    std::vector<unsigned char> buf(formato.tamanho, 0);
    for (size_t i = 0; i < valores_.size(); ++i) {
        const TValorLiteral& v = valores_[i];
        unsigned char* p = buf.data() + formato.posicoes[i];
        switch (v.tipo) {
            case TValorLiteral::Tipo::Texto: {
                // Beyond a VARCHAR's reach: the statement is left to run as written.
                if (v.texto.size() > kMaiorTexto)
                    throw EBancoDados("Texto longo demais para um parâmetro");
                const auto len = static_cast<unsigned short>(v.texto.size());
                std::memcpy(p, &len, sizeof len);
                std::memcpy(p + sizeof len, v.texto.data(), v.texto.size());
                break;
            }
            case TValorLiteral::Tipo::Exato:
                std::memcpy(p, &v.inteiro, sizeof v.inteiro);
                break;
            case TValorLiteral::Tipo::Duplo:
                std::memcpy(p, &v.duplo, sizeof v.duplo);
                break;
        }
    }
    fb::Status st;
    statement->execute(&st, tra, formato.meta, buf.data(), nullptr, nullptr);
    st.Verifica();
}
