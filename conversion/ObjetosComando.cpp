#include "conversion/ObjetosComando.h"

#include "common/Texto.h"

#include <algorithm>
#include <cctype>

namespace {

struct TToken {
    enum class Tipo { Nome, Outro, Valor } tipo;
    std::string texto;  // a name upper-cased, or the character
    // A value: a literal's text (inner quotes undone), a number's digits, a parameter's name.
    std::string valor;
    bool parametro = false;
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
            std::string valor;
            while (j < sql.size() && !(sql[j] == c && (j + 1 >= sql.size() || sql[j + 1] != c))) {
                valor += sql[j];
                j += sql[j] == c ? 2 : 1;
            }
            r.push_back({TToken::Tipo::Valor, {}, std::move(valor)});
            i = j + 1;
        } else if (c == ':' && i + 1 < sql.size() && InicioDeNome(sql[i + 1])) {
            const size_t inicio = ++i;
            while (i < sql.size() && ParteDeNome(sql[i]))
                ++i;
            r.push_back(
                {TToken::Tipo::Valor, {}, texto::UpperAZ(sql.substr(inicio, i - inicio)), true});
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            const size_t inicio = i;
            while (i < sql.size() &&
                   (std::isalnum(static_cast<unsigned char>(sql[i])) || sql[i] == '.'))
                ++i;
            r.push_back({TToken::Tipo::Valor, {}, sql.substr(inicio, i - inicio)});
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
                r.push_back({TToken::Tipo::Nome, nome, {}});
            }
            i = j;
        } else {
            r.push_back({TToken::Tipo::Outro, std::string(1, c), {}});
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

// The value of tokens [i, fim): a single literal, number or parameter (a number may carry its
// sign); anything else (NULL, an expression) has no value to name.
TValorDoComando ValorEntre(const std::vector<TToken>& t, size_t i, size_t fim) {
    TValorDoComando v;
    const bool sinal = fim == i + 2 && (E(t, i, "-") || E(t, i, "+"));
    if ((fim == i + 1 || sinal) && t[fim - 1].tipo == TToken::Tipo::Valor &&
        !(sinal && t[fim - 1].parametro)) {
        v.tipo = t[fim - 1].parametro ? TValorDoComando::Tipo::Parametro
                                      : TValorDoComando::Tipo::Literal;
        v.texto = (sinal && E(t, i, "-") ? "-" : "") + t[fim - 1].valor;
    }
    return v;
}

// The end of the expression that starts at i: the next "," or ")" outside parentheses, or WHERE.
size_t FimDaExpressao(const std::vector<TToken>& t, size_t i) {
    int nivel = 0;
    for (; i < t.size(); ++i) {
        if (E(t, i, "("))
            ++nivel;
        else if (E(t, i, ")") && nivel-- == 0)
            break;
        else if (nivel == 0 && (E(t, i, ",") || E(t, i, "WHERE")))
            break;
    }
    return i;
}

}  // namespace

TValoresComando ValoresDoComando(const std::string& sql) {
    const std::vector<TToken> t = Tokens(sql);
    TValoresComando r;
    if (t.size() < 3)
        return r;
    if (E(t, 0, "INSERT") && E(t, 1, "INTO") && E(t, 3, "(")) {
        r.tabela = t[2].texto;
        std::vector<std::string> colunas;
        size_t i = 4;
        for (; i < t.size() && !E(t, i, ")"); ++i) {
            if (t[i].tipo == TToken::Tipo::Nome)
                colunas.push_back(t[i].texto);
        }
        if (!E(t, i + 1, "VALUES") || !E(t, i + 2, "("))
            return r;
        i += 3;
        for (const std::string& coluna : colunas) {
            const size_t fim = FimDaExpressao(t, i);
            if (fim >= t.size())
                break;
            r.pares.push_back({coluna, ValorEntre(t, i, fim)});
            if (E(t, fim, ")"))
                break;
            i = fim + 1;
        }
    } else if (E(t, 0, "UPDATE") && E(t, 2, "SET")) {
        r.tabela = t[1].texto;
        for (size_t i = 3;
             i + 1 < t.size() && t[i].tipo == TToken::Tipo::Nome && E(t, i + 1, "=");) {
            const size_t fim = FimDaExpressao(t, i + 2);
            r.pares.push_back({t[i].texto, ValorEntre(t, i + 2, fim)});
            if (!E(t, fim, ","))
                break;
            i = fim + 1;
        }
    }
    return r;
}

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

std::optional<std::string> TabelaUnicaDoComando(const std::string& sql) {
    const std::vector<TToken> t = Tokens(sql);
    if (t.empty() ||
        !(E(t, 0, "SELECT") || E(t, 0, "INSERT") || E(t, 0, "UPDATE") || E(t, 0, "DELETE")))
        return std::nullopt;
    std::optional<std::string> tabela;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].tipo != TToken::Tipo::Nome)
            continue;
        const std::string& p = t[i].texto;
        if ((p == "SELECT" && i > 0) || p == "JOIN" || p == "UNION" || p == "PROCEDURE" ||
            p == "EXECUTE")
            return std::nullopt;
        if (!(p == "FROM" || p == "INTO" || (p == "UPDATE" && i == 0)))
            continue;
        if (tabela || i + 1 >= t.size() || t[i + 1].tipo != TToken::Tipo::Nome)
            return std::nullopt;
        tabela = t[i + 1].texto;
        // After FROM: "t (" is a procedure, "t, u" or "t a, u" a second table.
        if (p == "FROM") {
            for (size_t j = i + 2;
                 j < t.size() && !E(t, j, "WHERE") && !E(t, j, "ORDER") && !E(t, j, "GROUP"); ++j) {
                if (E(t, j, ",") || E(t, j, "("))
                    return std::nullopt;
            }
        }
    }
    return tabela;
}
