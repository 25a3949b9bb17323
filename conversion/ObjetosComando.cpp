#include "conversion/ObjetosComando.h"

#include "common/Texto.h"

#include <algorithm>
#include <cctype>

namespace {

struct TToken {
    enum class Tipo { Nome, Outro, Valor } tipo;
    std::string texto;  // a name upper-cased, or the character
};

bool InicioDeNome(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool ParteDeNome(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$';
}

std::vector<TToken> Tokens(const std::string& sql) {
    std::vector<TToken> r;
    size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            i = std::min(sql.find('\n', i), sql.size());
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            const size_t fim = sql.find("*/", i + 2);
            i = fim == std::string::npos ? sql.size() : fim + 2;
        } else if (c == '\'' || c == '"') {
            // A literal (dialect 1 quotes texts either way), doubled quotes inside.
            size_t j = i + 1;
            while (j < sql.size() && !(sql[j] == c && (j + 1 >= sql.size() || sql[j + 1] != c)))
                j += sql[j] == c ? 2 : 1;
            r.push_back({TToken::Tipo::Valor, {}});
            i = j + 1;
        } else if (c == ':' && i + 1 < sql.size() && InicioDeNome(sql[i + 1])) {
            i += 1;
            while (i < sql.size() && ParteDeNome(sql[i]))
                ++i;
            r.push_back({TToken::Tipo::Valor, {}});
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            while (i < sql.size() &&
                   (std::isalnum(static_cast<unsigned char>(sql[i])) || sql[i] == '.'))
                ++i;
            r.push_back({TToken::Tipo::Valor, {}});
        } else if (InicioDeNome(c)) {
            size_t j = i;
            while (j < sql.size() && ParteDeNome(sql[j]))
                ++j;
            std::string nome = texto::UpperAZ(sql.substr(i, j - i));
            // A qualified name counts by its last part: "Produto.CODPROD" names CODPROD.
            if (!r.empty() && r.back().tipo == TToken::Tipo::Outro && r.back().texto == "." &&
                r.size() >= 2 && r[r.size() - 2].tipo == TToken::Tipo::Nome) {
                r.pop_back();
                r.back().texto = nome;
            } else {
                r.push_back({TToken::Tipo::Nome, nome});
            }
            i = j;
        } else {
            r.push_back({TToken::Tipo::Outro, std::string(1, c)});
            ++i;
        }
    }
    return r;
}

bool PalavraChave(const std::string& nome) {
    static const char* const kPalavras[] = {
        "SELECT", "FROM",   "WHERE", "AND",    "OR",   "AS",   "INSERT", "INTO",
        "VALUES", "UPDATE", "SET",   "DELETE", "NULL", "NOT",  "IS",     "DISTINCT",
        "FIRST",  "SKIP",   "ORDER", "BY",     "IN",   "LIKE", "ASC",    "DESC"};
    return std::find(std::begin(kPalavras), std::end(kPalavras), nome) != std::end(kPalavras);
}

bool E(const std::vector<TToken>& t, size_t i, const char* texto) {
    return i < t.size() && t[i].texto == texto;
}

bool Coluna(const std::vector<TToken>& t, size_t i) {
    return t[i].tipo == TToken::Tipo::Nome && !PalavraChave(t[i].texto) && !E(t, i + 1, "(") &&
           !(i > 0 && E(t, i - 1, "AS"));
}

void Acrescenta(TObjetosComando& r, const std::string& coluna) {
    if (std::find(r.colunas.begin(), r.colunas.end(), coluna) == r.colunas.end())
        r.colunas.push_back(coluna);
}

// The names compared in a WHERE or assigned in a SET, from position i on.
void ColunasComparadas(const std::vector<TToken>& t, size_t i, TObjetosComando& r) {
    for (; i < t.size(); ++i) {
        if (Coluna(t, i) &&
            (E(t, i + 1, "=") || E(t, i + 1, "<") || E(t, i + 1, ">") || E(t, i + 1, "!")))
            Acrescenta(r, t[i].texto);
    }
}

}  // namespace

TObjetosComando ObjetosDoComando(const std::string& sql) {
    const std::vector<TToken> t = Tokens(sql);
    TObjetosComando r;
    if (t.empty())
        return r;
    const std::string& verbo = t[0].texto;
    if (verbo == "INSERT" && E(t, 1, "INTO") && t.size() > 2) {
        r.tabela = t[2].texto;
        for (size_t i = 4; E(t, 3, "(") && i < t.size() && !E(t, i, ")"); ++i) {
            if (t[i].tipo == TToken::Tipo::Nome)
                Acrescenta(r, t[i].texto);
        }
    } else if (verbo == "UPDATE" && t.size() > 1) {
        r.tabela = t[1].texto;
        ColunasComparadas(t, 2, r);
    } else if (verbo == "DELETE" && E(t, 1, "FROM") && t.size() > 2) {
        r.tabela = t[2].texto;
        ColunasComparadas(t, 3, r);
    } else if (verbo == "SELECT") {
        size_t i = 1;
        for (; i < t.size() && !E(t, i, "FROM"); ++i) {
            if (Coluna(t, i))
                Acrescenta(r, t[i].texto);
        }
        if (i + 1 < t.size()) {
            r.tabela = t[i + 1].texto;
            ColunasComparadas(t, i + 2, r);
        }
    }
    return r;
}
