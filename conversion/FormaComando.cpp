#include "conversion/FormaComando.h"

#include "common/Texto.h"

#include <cctype>

namespace {

struct TPeca {
    enum class Tipo { Nome, Marcador, Sinal } tipo;
    std::string texto;  // a name upper-cased, its last part when qualified; a sign as written
};

bool InicioDeNome(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool ParteDeNome(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$';
}

// Quotes cannot appear: every literal is a marker already. A quoted name is not understood.
bool Pecas(const std::string& sql, std::vector<TPeca>& r) {
    size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '?') {
            r.push_back({TPeca::Tipo::Marcador, "?"});
            ++i;
        } else if (InicioDeNome(c)) {
            size_t j = i;
            while (j < sql.size() && ParteDeNome(sql[j]))
                ++j;
            std::string nome = texto::UpperAZ(sql.substr(i, j - i));
            if (r.size() >= 2 && r.back().tipo == TPeca::Tipo::Sinal && r.back().texto == "." &&
                r[r.size() - 2].tipo == TPeca::Tipo::Nome) {
                r.pop_back();
                r.back().texto = nome;
            } else {
                r.push_back({TPeca::Tipo::Nome, nome});
            }
            i = j;
        } else if (c == '"' || c == '\'' || c == '-' || c == '/' ||
                   std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        } else {
            r.push_back({TPeca::Tipo::Sinal, std::string(1, c)});
            ++i;
        }
    }
    return true;
}

bool E(const std::vector<TPeca>& p, size_t i, const char* texto) {
    return i < p.size() && p[i].texto == texto;
}

bool Nome(const std::vector<TPeca>& p, size_t i) {
    return i < p.size() && p[i].tipo == TPeca::Tipo::Nome;
}

TFormaComando Insert(const std::vector<TPeca>& p) {
    TFormaComando f;
    if (!Nome(p, 2) || !E(p, 3, "("))
        return f;
    std::vector<std::string> colunas;
    size_t i = 4;
    for (; i < p.size() && !E(p, i, ")"); ++i) {
        if (Nome(p, i))
            colunas.push_back(p[i].texto);
        else if (!E(p, i, ","))
            return f;
    }
    if (!E(p, i + 1, "VALUES") || !E(p, i + 2, "("))
        return f;
    // Each value is one piece between commas; a marker alone gives its column's value.
    size_t valor = 0;
    for (i += 3; i < p.size() && !E(p, i, ")"); ++i) {
        if (E(p, i, ",")) {
            ++valor;
            continue;
        }
        const bool sozinho =
            (E(p, i - 1, ",") || E(p, i - 1, "(")) && (E(p, i + 1, ",") || E(p, i + 1, ")"));
        if (p[i].tipo == TPeca::Tipo::Marcador) {
            if (!sozinho || valor >= colunas.size())
                return f;
            f.colunas.push_back(colunas[valor]);
        } else if (!(sozinho && p[i].texto == "NULL")) {
            return f;
        }
    }
    if (i + 1 != p.size() || valor + 1 != colunas.size())
        return f;
    f.tabela = p[2].texto;
    f.contextos = 1;
    f.entendida = true;
    return f;
}

TFormaComando Update(const std::vector<TPeca>& p) {
    TFormaComando f;
    if (!Nome(p, 1) || !E(p, 2, "SET"))
        return f;
    for (size_t i = 3; i < p.size(); ++i) {
        if (p[i].tipo != TPeca::Tipo::Marcador)
            continue;
        if (i < 2 || !E(p, i - 1, "=") || !Nome(p, i - 2) ||
            !(i + 1 == p.size() || E(p, i + 1, ",") || Nome(p, i + 1)))
            return f;
        f.colunas.push_back(p[i - 2].texto);
    }
    f.tabela = p[1].texto;
    f.contextos = 2;
    f.entendida = true;
    return f;
}

}  // namespace

TFormaComando FormaDoComando(const std::string& sqlParametrizado) {
    std::vector<TPeca> p;
    if (!Pecas(sqlParametrizado, p) || p.empty())
        return {};
    if (E(p, 0, "INSERT") && E(p, 1, "INTO"))
        return Insert(p);
    if (E(p, 0, "UPDATE"))
        return Update(p);
    return {};
}
