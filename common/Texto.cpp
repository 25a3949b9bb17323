#include "common/Texto.h"

#include "common/Erros.h"
#include "common/Win1252.h"

#include <charconv>

namespace texto {

namespace {
bool EhBranco(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
}  // namespace

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && EhBranco(s[b]))
        ++b;
    while (e > b && EhBranco(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

std::string TrimRight(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && EhBranco(s[e - 1]))
        --e;
    return std::string(s.substr(0, e));
}

std::string UpperAZ(std::string_view s) {
    std::string r(s);
    for (char& c : r) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return r;
}

std::string Primeiros(std::string_view s, long n) {
    if (n <= 0)
        return {};
    return std::string(s.substr(0, static_cast<size_t>(n)));
}

std::string Copia(std::string_view s, long start, long count) {
    if (start < 1)
        start = 1;
    if (count <= 0 || static_cast<size_t>(start) > s.size())
        return {};
    return std::string(s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count)));
}

std::string Literal(std::string_view s) {
    std::string r;
    r.reserve(s.size() + 2);
    r += '\'';
    for (char c : s) {
        if (c == '\'')
            r += '\'';
        r += c;
    }
    r += '\'';
    return r;
}

std::string TrocaTodos(std::string_view s, std::string_view de, std::string_view para) {
    if (de.empty())
        return std::string(s);
    std::string r;
    size_t pos = 0;
    while (true) {
        size_t achou = s.find(de, pos);
        if (achou == std::string_view::npos)
            break;
        r.append(s.substr(pos, achou - pos));
        r.append(para);
        pos = achou + de.size();
    }
    r.append(s.substr(pos));
    return r;
}

bool Contem(std::string_view s, std::string_view parte) {
    return s.find(parte) != std::string_view::npos;
}

std::string Inteiro(std::int64_t n) {
    return std::to_string(n);
}

bool TentaLerInteiro(std::string_view s, std::int64_t& valor) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    std::string_view resto = s.substr(i);
    if (!resto.empty() && resto[0] == '+')
        resto.remove_prefix(1);
    if (resto.empty())
        return false;
    auto [fim, erro] = std::from_chars(resto.data(), resto.data() + resto.size(), valor);
    return erro == std::errc() && fim == resto.data() + resto.size();
}

std::int64_t LeInteiro(std::string_view s) {
    std::int64_t v = 0;
    if (!TentaLerInteiro(s, v)) {
        throw EConversao("'" + win1252::MensagemUtf8(s) + "' não é um valor inteiro válido");
    }
    return v;
}

}  // namespace texto
