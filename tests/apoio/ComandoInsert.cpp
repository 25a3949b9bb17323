#include "tests/apoio/ComandoInsert.h"

#include "common/Texto.h"

#include <stdexcept>

namespace apoio {

namespace {

// Splits a list on commas outside quotes; each item trimmed.
std::vector<std::string> Divide(const std::string& lista) {
    std::vector<std::string> itens;
    std::string atual;
    char aspas = 0;
    for (char c : lista) {
        if (aspas) {
            if (c == aspas)
                aspas = 0;  // a doubled quote reopens at once
            atual += c;
        } else if (c == '\'' || c == '"') {
            aspas = c;
            atual += c;
        } else if (c == ',') {
            itens.push_back(texto::Trim(atual));
            atual.clear();
        } else {
            atual += c;
        }
    }
    itens.push_back(texto::Trim(atual));
    return itens;
}

// The text between the parenthesis at abre and its closing one, outside quotes.
std::string Parenteses(const std::string& s, size_t abre, size_t& fecha) {
    char aspas = 0;
    for (size_t i = abre + 1; i < s.size(); ++i) {
        char c = s[i];
        if (aspas) {
            if (c == aspas)
                aspas = 0;
        } else if (c == '\'' || c == '"') {
            aspas = c;
        } else if (c == ')') {
            fecha = i;
            return s.substr(abre + 1, i - abre - 1);
        }
    }
    throw std::runtime_error("parêntese sem fechamento em: " + s);
}

}  // namespace

TInsert LeInsert(const std::string& sql) {
    const std::string maiusculo = texto::UpperAZ(sql);
    size_t into = maiusculo.find("INSERT INTO");
    if (into == std::string::npos)
        throw std::runtime_error("não é um insert: " + sql);
    size_t abre = sql.find('(', into);
    TInsert r;
    r.tabela = texto::Trim(sql.substr(into + 11, abre - into - 11));
    size_t fecha = 0;
    auto nomes = Divide(Parenteses(sql, abre, fecha));
    size_t values = maiusculo.find("VALUES", fecha);
    size_t abreValores = sql.find('(', values);
    auto valores = Divide(Parenteses(sql, abreValores, fecha));
    if (nomes.size() != valores.size()) {
        throw std::runtime_error("colunas e valores em número diferente: " + sql);
    }
    for (size_t i = 0; i < nomes.size(); ++i)
        r.colunas.emplace_back(nomes[i], valores[i]);
    return r;
}

const std::string& TInsert::Valor(const std::string& coluna) const {
    for (const auto& [nome, valor] : colunas) {
        if (texto::UpperAZ(nome) == texto::UpperAZ(coluna))
            return valor;
    }
    throw std::runtime_error("coluna ausente: " + coluna);
}

bool TInsert::Tem(const std::string& coluna) const {
    for (const auto& par : colunas) {
        if (texto::UpperAZ(par.first) == texto::UpperAZ(coluna))
            return true;
    }
    return false;
}

std::vector<std::string> TInsert::Nomes() const {
    std::vector<std::string> r;
    for (const auto& par : colunas)
        r.push_back(par.first);
    return r;
}

}  // namespace apoio
