#include "spreadsheet/LeitorCsv.h"

#include <cstdio>

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
char Delimitador(std::string_view s) {
    size_t pontoVirgula = 0, virgula = 0, tab = 0;
    bool aspas = false;
    for (char c : s) {
        if (c == '"') {
            aspas = !aspas;
        } else if (!aspas) {
            if (c == '\n' || c == '\r')
                break;
            if (c == ';')
                ++pontoVirgula;
            if (c == ',')
                ++virgula;
            if (c == '\t')
                ++tab;
        }
    }
    if (virgula > pontoVirgula && virgula > tab)
        return ',';
    if (tab > pontoVirgula && tab > virgula)
        return '\t';
    return ';';
}

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

}  // namespace

TLeitorCsv::TLeitorCsv(const std::string& caminho) : TPastaTrabalho(caminho) {
    nomes_.push_back(win1252::DeUtf8(NomeSemExtensao(caminho)));
}

std::unique_ptr<TAbaLida> TLeitorCsv::LeAba(std::size_t indice) {
    (void)indice;
    std::string dados;
    {
        std::FILE* f = std::fopen(Caminho().c_str(), "rb");
        if (!f)
            throw Erro("o arquivo não pode ser aberto.");
        struct Fecha {
            std::FILE* f;
            ~Fecha() { std::fclose(f); }
        } fecha{f};
        char buf[1 << 16];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
            if (dados.size() + n > planilha::kLimiteBytes) {
                throw Erro("o arquivo passa de " +
                           std::to_string(planilha::kLimiteBytes / (1024 * 1024)) +
                           " MiB, mais do que pode ser carregado.");
            }
            dados.append(buf, n);
        }
        if (std::ferror(f))
            throw Erro("a leitura do arquivo falhou.");
    }
    std::string_view s(dados);
    if (s.substr(0, 3) == "\xEF\xBB\xBF")
        s.remove_prefix(3);
    // One decision per file: text that is valid UTF-8 is UTF-8, anything else Windows-1252.
    const bool utf8 = win1252::EhUtf8Valido(s);
    const char delim = Delimitador(s);

    auto aba = std::make_unique<TAbaLida>();
    int linha = 1, coluna = 1;
    std::string campo;
    auto fechaCampo = [&] {
        bool logico;
        if (EhLogico(campo, logico)) {
            aba->PoeLogico(coluna, linha, logico);
        } else if (utf8) {
            aba->PoeTexto(coluna, linha, win1252::DeUtf8(campo));
        } else {
            std::string t;
            t.reserve(campo.size());
            for (char c : campo) {
                if (c != '\0')
                    t += c;
            }
            aba->PoeTexto(coluna, linha, t);
        }
        campo.clear();
    };
    size_t i = 0;
    const size_t n = s.size();
    bool linhaAberta = false;  // something (even an empty field) was read on this line
    while (i < n) {
        char c = s[i];
        if (c == '"' && campo.empty()) {
            // A quoted field: delimiters and line breaks inside are text, "" is one quote.
            // What follows the closing quote up to the delimiter is kept as written.
            ++i;
            for (;;) {
                if (i >= n)
                    break;
                if (s[i] == '"') {
                    if (i + 1 < n && s[i + 1] == '"') {
                        campo += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                campo += s[i++];
            }
            linhaAberta = true;
            continue;
        }
        if (c == delim) {
            fechaCampo();
            ++coluna;
            ++i;
            linhaAberta = true;
            continue;
        }
        if (c == '\r' || c == '\n') {
            fechaCampo();
            i += (c == '\r' && i + 1 < n && s[i + 1] == '\n') ? 2 : 1;
            ++linha;
            coluna = 1;
            linhaAberta = false;
            continue;
        }
        campo += c;
        ++i;
        linhaAberta = true;
    }
    if (linhaAberta)
        fechaCampo();
    return aba;
}
