#include "spreadsheet/LeitorXlsx.h"

#include <expat.h>
#include <zip.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <deque>
#include <exception>
#include <functional>
#include <unordered_map>

#include "common/ConfiguracaoRegional.h"
#include "common/Win1252.h"
#include "spreadsheet/ConteinerOle.h"

namespace {

// Part names are compared as the packaging rules compare them: without case, "/" as separator,
// no leading slash.
std::string NomeNormal(std::string_view nome) {
    std::string r;
    r.reserve(nome.size());
    for (char c : nome) {
        if (c == '\\')
            c = '/';
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        r += c;
    }
    size_t i = 0;
    while (i < r.size() && r[i] == '/')
        ++i;
    return r.substr(i);
}

int ValorHex(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A relationship target, relative to the folder of the part that names it or absolute from the
// package root ("/xl/worksheets/sheet1.xml"), as the part's name inside the zip.
std::string ResolveAlvo(const std::string& origem, std::string_view alvo) {
    std::string decodificado;
    for (size_t i = 0; i < alvo.size(); ++i) {
        if (alvo[i] == '%' && i + 2 < alvo.size() && ValorHex(alvo[i + 1]) >= 0 &&
            ValorHex(alvo[i + 2]) >= 0) {
            decodificado += static_cast<char>(ValorHex(alvo[i + 1]) * 16 + ValorHex(alvo[i + 2]));
            i += 2;
        } else {
            decodificado += alvo[i] == '\\' ? '/' : alvo[i];
        }
    }
    std::string caminho;
    if (!decodificado.empty() && decodificado[0] == '/') {
        caminho = decodificado;
    } else {
        size_t barra = origem.rfind('/');
        caminho = (barra == std::string::npos ? std::string() : origem.substr(0, barra + 1)) +
                  decodificado;
    }
    std::vector<std::string> partes;
    size_t ini = 0;
    while (ini <= caminho.size()) {
        size_t fim = caminho.find('/', ini);
        if (fim == std::string::npos)
            fim = caminho.size();
        std::string seg = caminho.substr(ini, fim - ini);
        if (seg == "..") {
            if (!partes.empty())
                partes.pop_back();
        } else if (!seg.empty() && seg != ".") {
            partes.push_back(seg);
        }
        ini = fim + 1;
    }
    std::string r;
    for (const std::string& p : partes) {
        if (!r.empty())
            r += '/';
        r += p;
    }
    return r;
}

// The folder/_rels/name.rels part that holds the relationships of a part.
std::string ParteRelacoes(const std::string& parte) {
    size_t barra = parte.rfind('/');
    std::string pasta = barra == std::string::npos ? "" : parte.substr(0, barra + 1);
    std::string nome = barra == std::string::npos ? parte : parte.substr(barra + 1);
    return pasta + "_rels/" + nome + ".rels";
}

// Spreadsheet texts escape the characters XML cannot carry as _xHHHH_ (a UTF-16 code unit;
// "_x000D_" is a carriage return, "_x005F_" a literal underscore). Decodes them and gives the
// text in Windows-1252.
std::string TextoXml(std::string_view utf8) {
    if (utf8.find("_x") == std::string_view::npos)
        return win1252::DeUtf8(utf8);
    std::string u;
    u.reserve(utf8.size());
    char32_t alto = 0;  // a high surrogate waiting for its pair
    auto escape = [&](size_t i, char32_t& unidade) {
        if (i + 7 > utf8.size() || utf8[i] != '_' || utf8[i + 1] != 'x' || utf8[i + 6] != '_') {
            return false;
        }
        unidade = 0;
        for (size_t k = 2; k < 6; ++k) {
            int h = ValorHex(utf8[i + k]);
            if (h < 0)
                return false;
            unidade = unidade * 16 + static_cast<char32_t>(h);
        }
        return true;
    };
    for (size_t i = 0; i < utf8.size();) {
        char32_t unidade;
        if (escape(i, unidade)) {
            i += 7;
            if (unidade >= 0xD800 && unidade <= 0xDBFF) {
                if (alto)
                    u += '?';
                alto = unidade;
                continue;
            }
            if (unidade >= 0xDC00 && unidade <= 0xDFFF) {
                if (alto) {
                    win1252::AcrescentaUtf8(u,
                                            0x10000 + ((alto - 0xD800) << 10) + (unidade - 0xDC00));
                    alto = 0;
                } else {
                    u += '?';
                }
                continue;
            }
            if (alto)
                u += '?';
            alto = 0;
            win1252::AcrescentaUtf8(u, unidade);
            continue;
        }
        if (alto)
            u += '?';
        alto = 0;
        u += utf8[i++];
    }
    if (alto)
        u += '?';
    return win1252::DeUtf8(u);
}

std::string_view Apara(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32)
        --e;
    return s.substr(b, e - b);
}

bool LeDouble(std::string_view s, double& v) {
    s = Apara(s);
    if (!s.empty() && s[0] == '+')
        s.remove_prefix(1);
    if (s.empty())
        return false;
    auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    return res.ec == std::errc() && res.ptr == s.data() + s.size() && std::isfinite(v);
}

// "HH:MM", "HH:MM:SS" or "HH:MM:SS.fff", maybe followed by a time zone (which a day serial has no
// room for), as a fraction of a day.
bool LeHoraIso(std::string_view s, double& dias) {
    int h = 0, mi = 0;
    double seg = 0;
    size_t i = 0;
    while (i < s.size() && i < 2 && s[i] >= '0' && s[i] <= '9')
        h = h * 10 + (s[i++] - '0');
    if (i == 0 || i + 3 > s.size() || s[i] != ':' || s[i + 1] < '0' || s[i + 1] > '9' ||
        s[i + 2] < '0' || s[i + 2] > '9') {
        return false;
    }
    mi = (s[i + 1] - '0') * 10 + (s[i + 2] - '0');
    i += 3;
    if (i < s.size() && s[i] == ':') {
        size_t fim = ++i;
        while (fim < s.size() && ((s[fim] >= '0' && s[fim] <= '9') || s[fim] == '.'))
            ++fim;
        auto res = std::from_chars(s.data() + i, s.data() + fim, seg);
        if (res.ec != std::errc() || res.ptr != s.data() + fim)
            return false;
        i = fim;
    }
    if (i < s.size()) {
        std::string_view zona = s.substr(i);
        if (zona != "Z" && !((zona[0] == '+' || zona[0] == '-') && zona.size() >= 3))
            return false;
    }
    if (h > 24 || mi > 59 || seg >= 61)
        return false;
    dias = (h * 3600.0 + mi * 60.0 + seg) / 86400.0;
    return true;
}

// An ISO 8601 duration ("PT0H11M0.000S", "P1DT2H") in days. Years and months have no fixed
// length in days and are refused.
bool LeDuracaoIso(std::string_view s, double& dias) {
    bool negativo = !s.empty() && s[0] == '-';
    if (negativo)
        s.remove_prefix(1);
    if (s.size() < 3 || s[0] != 'P')
        return false;
    bool hora = false, algum = false;
    double total = 0;
    for (size_t i = 1; i < s.size();) {
        if (s[i] == 'T' && !hora) {
            hora = true;
            ++i;
            continue;
        }
        size_t fim = i;
        while (fim < s.size() && ((s[fim] >= '0' && s[fim] <= '9') || s[fim] == '.'))
            ++fim;
        double v = 0;
        auto res = std::from_chars(s.data() + i, s.data() + fim, v);
        if (fim == i || res.ec != std::errc() || res.ptr != s.data() + fim || fim >= s.size())
            return false;
        char unidade = s[fim];
        if (!hora && unidade == 'W') {
            total += v * 7;
        } else if (!hora && unidade == 'D') {
            total += v;
        } else if (hora && unidade == 'H') {
            total += v / 24;
        } else if (hora && unidade == 'M') {
            total += v / 1440;
        } else if (hora && unidade == 'S') {
            total += v / 86400;
        } else {
            return false;
        }
        algum = true;
        i = fim + 1;
    }
    if (!algum)
        return false;
    dias = negativo ? -total : total;
    return true;
}

// The text of a t="d" cell (an ISO 8601 date, date-time, time of day or duration) as the day
// serial that Excel stores for it: in the 1900 system, which counts the 29th of February 1900
// that never was (1900-01-01 is 1, 1900-03-01 is 61), or in the 1904 system (1904-01-01 is 0).
// A time alone or a duration is a number of days.
bool LeDataIso(std::string_view s, bool data1904, double& serial) {
    s = Apara(s);
    if (!s.empty() && (s[0] == 'P' || s[0] == '-'))
        return LeDuracaoIso(s, serial);
    if (!s.empty() && s[0] == 'T')
        return LeHoraIso(s.substr(1), serial);
    if (s.size() < 10 || s[4] != '-' || s[7] != '-')
        return LeHoraIso(s, serial);
    int ano = 0, mes = 0, dia = 0;
    auto num = [&](size_t ini, size_t n, int& v) {
        auto res = std::from_chars(s.data() + ini, s.data() + ini + n, v);
        return res.ec == std::errc() && res.ptr == s.data() + ini + n;
    };
    if (!num(0, 4, ano) || !num(5, 2, mes) || !num(8, 2, dia) || mes < 1 || mes > 12 || dia < 1)
        return false;
    static const int kDiasMes[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool bissexto = (ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0;
    bool fevereiro1900 = !data1904 && ano == 1900 && mes == 2 && dia == 29;
    if (dia > kDiasMes[mes - 1] + (mes == 2 && bissexto ? 1 : 0) && !fevereiro1900)
        return false;
    double fracao = 0;
    if (s.size() > 10 && ((s[10] != 'T' && s[10] != ' ') || !LeHoraIso(s.substr(11), fracao)))
        return false;
    double dias;
    if (fevereiro1900) {
        dias = 60;
    } else {
        long p = calendario::SerialDeData(ano, mes, dia);
        dias = static_cast<double>(data1904 ? p - 1462 : (p < 61 ? p - 1 : p));
    }
    serial = dias + fracao;
    return true;
}

// A value of type xsd:boolean: "true" or "1", "false" or "0", maybe with spaces around.
bool LeLogicoXml(std::string_view v, bool& valor) {
    v = Apara(v);
    if (v == "1" || v == "true") {
        valor = true;
    } else if (v == "0" || v == "false") {
        valor = false;
    } else {
        return false;
    }
    return true;
}

// An xsd:boolean attribute; absent or unreadable, false.
bool Verdadeiro(const char* v) {
    bool valor = false;
    return v && LeLogicoXml(v, valor) && valor;
}

const char* NomeLocal(const char* nome) {
    const char* p = std::strrchr(nome, '|');
    return p ? p + 1 : nome;
}

// Attribute by local name; with prefixado, only one that carries a namespace (r:id).
const char* Atributo(const char** atts, const char* local, bool prefixado = false) {
    for (size_t i = 0; atts[i]; i += 2) {
        const char* bar = std::strrchr(atts[i], '|');
        if (prefixado != (bar != nullptr))
            continue;
        if (std::strcmp(bar ? bar + 1 : atts[i], local) == 0)
            return atts[i + 1];
    }
    return nullptr;
}

// What an expat parse calls back into. Handlers may throw: the parser stops and rethrows.
class TManipuladorXml {
  public:
    virtual ~TManipuladorXml() = default;
    virtual void Inicio(const char* local, const char** atts) = 0;
    virtual void Fim(const char* local) { (void)local; }
    virtual void Texto(const char* s, int n) {
        (void)s;
        (void)n;
    }
};

class TParserXml {
  public:
    explicit TParserXml(TManipuladorXml& m) : m_(m), p_(XML_ParserCreateNS(nullptr, '|')) {
        if (!p_)
            throw EPlanilha("memória insuficiente para ler o arquivo.");
        XML_SetUserData(p_, this);
        XML_SetElementHandler(p_, &TParserXml::CbInicio, &TParserXml::CbFim);
        XML_SetCharacterDataHandler(p_, &TParserXml::CbTexto);
        // Workbook parts never carry a DTD; refusing one shuts out entity expansion tricks.
        XML_SetStartDoctypeDeclHandler(p_, &TParserXml::CbDoctype);
    }
    ~TParserXml() { XML_ParserFree(p_); }
    TParserXml(const TParserXml&) = delete;
    TParserXml& operator=(const TParserXml&) = delete;

    void Alimenta(const char* dados, size_t n, bool final, const std::string& parte) {
        if (XML_Parse(p_, dados, static_cast<int>(n), final ? 1 : 0) == XML_STATUS_ERROR) {
            if (erro_)
                std::rethrow_exception(erro_);
            throw EPlanilha("o conteúdo de \"" + parte + "\" não é XML válido (" +
                            XML_ErrorString(XML_GetErrorCode(p_)) + ", linha " +
                            std::to_string(XML_GetCurrentLineNumber(p_)) + ").");
        }
    }

  private:
    template <class F>
    static void Protegido(void* ud, F&& f) {
        auto* self = static_cast<TParserXml*>(ud);
        if (self->erro_)
            return;
        try {
            f(self->m_);
        } catch (...) {
            self->erro_ = std::current_exception();
            XML_StopParser(self->p_, XML_FALSE);
        }
    }
    static void CbInicio(void* ud, const XML_Char* nome, const XML_Char** atts) {
        Protegido(ud, [&](TManipuladorXml& m) { m.Inicio(NomeLocal(nome), atts); });
    }
    static void CbFim(void* ud, const XML_Char* nome) {
        Protegido(ud, [&](TManipuladorXml& m) { m.Fim(NomeLocal(nome)); });
    }
    static void CbTexto(void* ud, const XML_Char* s, int n) {
        Protegido(ud, [&](TManipuladorXml& m) { m.Texto(s, n); });
    }
    static void CbDoctype(void* ud, const XML_Char*, const XML_Char*, const XML_Char*, int) {
        Protegido(ud, [](TManipuladorXml&) {
            throw EPlanilha("o arquivo contém uma declaração DTD, que uma planilha não usa.");
        });
    }

    TManipuladorXml& m_;
    XML_Parser p_;
    std::exception_ptr erro_;
};

struct TRelacao {
    std::string tipo;  // the last segment of the relationship type: "worksheet", "chartsheet"...
    std::string alvo;  // resolved part name
};

class TManipuladorRelacoes : public TManipuladorXml {
  public:
    TManipuladorRelacoes(std::string origem, std::unordered_map<std::string, TRelacao>& rels)
        : origem_(std::move(origem)), rels_(rels) {}
    void Inicio(const char* local, const char** atts) override {
        if (std::strcmp(local, "Relationship") != 0)
            return;
        const char* id = Atributo(atts, "Id");
        const char* tipo = Atributo(atts, "Type");
        const char* alvo = Atributo(atts, "Target");
        const char* modo = Atributo(atts, "TargetMode");
        if (!id || !tipo || !alvo || (modo && std::strcmp(modo, "External") == 0))
            return;
        std::string t = tipo;
        size_t barra = t.rfind('/');
        rels_[id] = TRelacao{barra == std::string::npos ? t : t.substr(barra + 1),
                             ResolveAlvo(origem_, alvo)};
    }

  private:
    std::string origem_;
    std::unordered_map<std::string, TRelacao>& rels_;
};

struct TAbaDeclarada {
    std::string nome;  // Windows-1252
    std::string idRelacao;
};

class TManipuladorPasta : public TManipuladorXml {
  public:
    TManipuladorPasta(std::vector<TAbaDeclarada>& abas, bool& data1904)
        : abas_(abas), data1904_(data1904) {}
    void Inicio(const char* local, const char** atts) override {
        if (std::strcmp(local, "workbookPr") == 0) {
            data1904_ = Verdadeiro(Atributo(atts, "date1904"));
        } else if (std::strcmp(local, "sheets") == 0) {
            emSheets_ = true;
        } else if (emSheets_ && std::strcmp(local, "sheet") == 0) {
            const char* nome = Atributo(atts, "name");
            const char* id = Atributo(atts, "id", true);
            abas_.push_back(TAbaDeclarada{TextoXml(nome ? nome : ""), id ? id : ""});
        }
    }
    void Fim(const char* local) override {
        if (std::strcmp(local, "sheets") == 0)
            emSheets_ = false;
    }

  private:
    std::vector<TAbaDeclarada>& abas_;
    bool& data1904_;
    bool emSheets_ = false;
};

// <si> items: plain <t>, or rich text runs <r><t>, whose texts join; <rPh> phonetic runs are
// reading aids shown above the text, not part of it.
class TManipuladorTextos : public TManipuladorXml {
  public:
    TManipuladorTextos(TTextos& textos, std::uint32_t& anunciados)
        : textos_(textos), anunciados_(anunciados) {}
    void Inicio(const char* local, const char** atts) override {
        if (std::strcmp(local, "sst") == 0) {
            const char* n = Atributo(atts, "uniqueCount");
            if (!n)
                n = Atributo(atts, "count");
            if (n)
                std::from_chars(n, n + std::strlen(n), anunciados_);
        } else if (std::strcmp(local, "si") == 0) {
            emSi_ = true;
            fonetico_ = 0;
            atual_.clear();
        } else if (emSi_ && std::strcmp(local, "rPh") == 0) {
            ++fonetico_;
        } else if (emSi_ && fonetico_ == 0 && std::strcmp(local, "t") == 0) {
            emT_ = true;
        }
    }
    void Fim(const char* local) override {
        if (std::strcmp(local, "t") == 0) {
            emT_ = false;
        } else if (std::strcmp(local, "rPh") == 0) {
            if (fonetico_ > 0)
                --fonetico_;
        } else if (std::strcmp(local, "si") == 0 && emSi_) {
            emSi_ = false;
            textos_.Acrescenta(TextoXml(atual_));
        }
    }
    void Texto(const char* s, int n) override {
        if (emT_)
            atual_.append(s, static_cast<size_t>(n));
    }

  private:
    TTextos& textos_;
    std::uint32_t& anunciados_;
    std::string atual_;
    bool emSi_ = false, emT_ = false;
    int fonetico_ = 0;
};

// The <sheetData> of a worksheet, cell by cell. Rows and cells without an "r" attribute (or,
// for cells, with one that cannot be read) follow the previous one; <dimension> is never
// consulted, since producers write it wrong or not at all.
class TManipuladorAba : public TManipuladorXml {
  public:
    // anunciados: how many texts the shared table said it holds; data1904: the workbook counts
    // its dates from 1904.
    TManipuladorAba(TReceptorCelulas& aba, const TTextos* textos, std::uint32_t anunciados,
                    bool data1904, std::string parte)
        : aba_(aba),
          textos_(textos),
          anunciados_(anunciados),
          data1904_(data1904),
          parte_(std::move(parte)) {}

    void Inicio(const char* local, const char** atts) override {
        if (!emDados_) {
            if (std::strcmp(local, "sheetData") == 0)
                emDados_ = true;
            return;
        }
        switch (local[0]) {
            case 'c':
                if (local[1] == '\0')
                    IniciaCelula(atts);
                break;
            case 'r':
                if (std::strcmp(local, "row") == 0) {
                    const char* r = Atributo(atts, "r");
                    int n = 0;
                    if (r) {
                        auto res = std::from_chars(r, r + std::strlen(r), n);
                        if (res.ec != std::errc() || n < 1) {
                            throw Falha("número de linha inválido \"" + std::string(r) + "\"");
                        }
                    }
                    linha_ = r ? n : linha_ + 1;
                    coluna_ = 0;
                } else if (emIs_ && std::strcmp(local, "rPh") == 0) {
                    ++fonetico_;
                }
                break;
            case 'v':
                if (emC_ && local[1] == '\0') {
                    emV_ = true;
                    temV_ = true;
                }
                break;
            case 'i':
                if (emC_ && std::strcmp(local, "is") == 0) {
                    emIs_ = true;
                    temIs_ = true;
                }
                break;
            case 't':
                if (emIs_ && fonetico_ == 0 && local[1] == '\0')
                    emT_ = true;
                break;
            default:
                break;
        }
    }

    void Fim(const char* local) override {
        if (!emDados_)
            return;
        switch (local[0]) {
            case 'c':
                if (local[1] == '\0' && emC_)
                    ConcluiCelula();
                break;
            case 'v':
                if (local[1] == '\0')
                    emV_ = false;
                break;
            case 't':
                if (local[1] == '\0')
                    emT_ = false;
                break;
            case 'i':
                if (std::strcmp(local, "is") == 0)
                    emIs_ = false;
                break;
            case 'r':
                if (std::strcmp(local, "rPh") == 0 && fonetico_ > 0)
                    --fonetico_;
                break;
            case 's':
                if (std::strcmp(local, "sheetData") == 0)
                    emDados_ = false;
                break;
            default:
                break;
        }
    }

    void Texto(const char* s, int n) override {
        if (emV_) {
            valor_.append(s, static_cast<size_t>(n));
        } else if (emT_) {
            inline_.append(s, static_cast<size_t>(n));
        }
    }

  private:
    EPlanilha Falha(const std::string& motivo) const {
        return EPlanilha("dados inválidos em \"" + parte_ + "\": " + motivo + ".");
    }

    void IniciaCelula(const char** atts) {
        const char* r = nullptr;
        const char* t = nullptr;
        for (size_t i = 0; atts[i]; i += 2) {
            const char* nome = atts[i];
            if (nome[0] == 'r' && nome[1] == '\0')
                r = atts[i + 1];
            if (nome[0] == 't' && nome[1] == '\0')
                t = atts[i + 1];
        }
        // A reference that is no reference ("0", written by some report generators) places
        // the cell as a missing one would.
        int c = 0, l = 0;
        if (r && planilha::LeReferencia(r, c, l)) {
            coluna_ = c;
            linha_ = l;
        } else {
            if (linha_ == 0)
                linha_ = 1;
            ++coluna_;
        }
        tipo_ = t ? t : "";
        emC_ = true;
        temV_ = temIs_ = false;
        valor_.clear();
        inline_.clear();
        fonetico_ = 0;
    }

    void ConcluiCelula() {
        emC_ = emV_ = emIs_ = emT_ = false;
        auto ref = [&] { return planilha::ReferenciaCelula(coluna_, linha_); };
        if (tipo_ == "s") {
            std::string_view v = Apara(valor_);
            if (v.empty())
                return;
            std::uint32_t i = 0;
            auto res = std::from_chars(v.data(), v.data() + v.size(), i);
            std::size_t tem = textos_ ? textos_->Quantidade() : 0;
            // A table shorter than it announced leaves its missing texts empty.
            if (res.ec != std::errc() || res.ptr != v.data() + v.size() ||
                (i >= tem && i >= anunciados_)) {
                throw Falha("a célula " + ref() +
                            " aponta para um texto compartilhado que não existe");
            }
            aba_.PoeTextoCompartilhado(coluna_, linha_, i);
        } else if (tipo_ == "inlineStr") {
            aba_.PoeTexto(coluna_, linha_, TextoXml(temIs_ ? inline_ : valor_));
        } else if (tipo_ == "str") {
            // A formula's text result, kept in the file as it was last calculated.
            aba_.PoeTexto(coluna_, linha_, TextoXml(valor_));
        } else if (!temV_) {
            return;
        } else if (tipo_ == "b") {
            bool v = false;
            if (Apara(valor_).empty())
                return;
            if (!LeLogicoXml(valor_, v))
                throw Falha("valor lógico inválido na célula " + ref());
            aba_.PoeLogico(coluna_, linha_, v);
        } else if (tipo_ == "e") {
            std::string_view v = Apara(valor_);
            if (!v.empty())
                aba_.PoeErro(coluna_, linha_, win1252::DeUtf8(v));
        } else if (tipo_ == "d") {
            double serial = 0;
            if (Apara(valor_).empty())
                return;
            if (LeDataIso(valor_, data1904_, serial)) {
                aba_.PoeNumero(coluna_, linha_, serial);
            } else {
                // Like a formula that failed: only reading this cell fails.
                std::string_view v = Apara(valor_);
                aba_.PoeErro(coluna_, linha_,
                             "#VALUE! (data ilegível \"" +
                                 win1252::DeUtf8(v.substr(0, std::min<size_t>(v.size(), 40))) +
                                 "\")");
            }
        } else {
            double v = 0;
            if (Apara(valor_).empty())
                return;
            if (!LeDouble(valor_, v))
                throw Falha("valor numérico inválido na célula " + ref());
            aba_.PoeNumero(coluna_, linha_, v);
        }
    }

    TReceptorCelulas& aba_;
    const TTextos* textos_;
    std::uint32_t anunciados_;
    bool data1904_;
    std::string parte_;
    bool emDados_ = false, emC_ = false, emV_ = false, emIs_ = false, emT_ = false;
    bool temV_ = false, temIs_ = false;
    int fonetico_ = 0;
    int linha_ = 0, coluna_ = 0;
    std::string tipo_, valor_, inline_;
};

std::string ExcessoLimite(const std::string& parte) {
    return "a parte \"" + parte + "\" passa de " +
           std::to_string(planilha::kLimiteBytes / (1024 * 1024)) +
           " MiB descompactada; o arquivo foi recusado (possível bomba de compactação).";
}

// One part of the package open for reading piece by piece, counting what is inflated: a part
// that inflates past the limit is refused whatever its header claims.
class TParteZip {
  public:
    TParteZip(zip_file_t* f, std::string parte) : f_(f), parte_(std::move(parte)) {}
    ~TParteZip() { zip_fclose(f_); }
    TParteZip(const TParteZip&) = delete;
    TParteZip& operator=(const TParteZip&) = delete;

    // Up to n bytes; 0 at the end of the part.
    std::size_t Le(char* destino, std::size_t n) {
        zip_int64_t lidos = zip_fread(f_, destino, n);
        if (lidos < 0) {
            throw EPlanilha("a parte \"" + parte_ + "\" está corrompida ou truncada (" +
                            zip_file_strerror(f_) + ").");
        }
        total_ += static_cast<std::size_t>(lidos);
        if (total_ > planilha::kLimiteBytes)
            throw EPlanilha(ExcessoLimite(parte_));
        return static_cast<std::size_t>(lidos);
    }

  private:
    zip_file_t* f_;
    std::string parte_;
    std::size_t total_ = 0;
};

}  // namespace

class TLeitorXlsx::TZip {
  public:
    explicit TZip(const std::string& caminho) {
        int codigo = 0;
        z_ = zip_open(caminho.c_str(), ZIP_RDONLY, &codigo);
        if (!z_)
            throw EPlanilha(MotivoAbertura(caminho, codigo));
        zip_int64_t n = zip_get_num_entries(z_, 0);
        for (zip_int64_t i = 0; i < n; ++i) {
            const char* nome = zip_get_name(z_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
            if (nome)
                indice_.emplace(NomeNormal(nome), static_cast<zip_uint64_t>(i));
        }
    }
    ~TZip() { zip_discard(z_); }
    TZip(const TZip&) = delete;
    TZip& operator=(const TZip&) = delete;

    bool Existe(const std::string& parte) const { return indice_.count(NomeNormal(parte)) > 0; }

    std::unique_ptr<TParteZip> Abre(const std::string& parte) const {
        auto it = indice_.find(NomeNormal(parte));
        if (it == indice_.end())
            throw EPlanilha("a parte \"" + parte + "\" não existe no arquivo.");
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(z_, it->second, 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE) &&
            st.size > planilha::kLimiteBytes) {
            throw EPlanilha(ExcessoLimite(parte));
        }
        zip_file_t* f = zip_fopen_index(z_, it->second, 0);
        if (!f) {
            throw EPlanilha("a parte \"" + parte + "\" não pode ser lida (" + zip_strerror(z_) +
                            ").");
        }
        return std::make_unique<TParteZip>(f, parte);
    }

    // Streams one part into the parser.
    void Analisa(const std::string& parte, TManipuladorXml& manipulador) const {
        std::unique_ptr<TParteZip> aberta = Abre(parte);
        TParserXml parser(manipulador);
        std::vector<char> buf(1 << 18);
        for (;;) {
            const std::size_t n = aberta->Le(buf.data(), buf.size());
            if (n == 0)
                break;
            parser.Alimenta(buf.data(), n, false, parte);
        }
        parser.Alimenta(buf.data(), 0, true, parte);
    }

  private:
    static std::string MotivoAbertura(const std::string& caminho, int codigo) {
        if (codigo == ZIP_ER_NOZIP || codigo == ZIP_ER_INCONS) {
            if (TConteinerOle::TemAssinatura(caminho)) {
                bool criptografado = false;
                try {
                    criptografado = TConteinerOle(caminho).EhPacoteCriptografado();
                } catch (const EPlanilha&) {
                }
                if (criptografado) {
                    return "a pasta de trabalho está protegida por senha (criptografada). "
                           "Abra-a no Excel, retire a senha e salve-a de novo.";
                }
                return "o arquivo está no formato antigo do Excel (.xls), não em .xlsx.";
            }
            return "o arquivo não é uma pasta de trabalho .xlsx válida (não é um pacote zip "
                   "íntegro: pode estar truncado ou corrompido).";
        }
        zip_error_t erro;
        zip_error_init_with_code(&erro, codigo);
        std::string m = zip_error_strerror(&erro);
        zip_error_fini(&erro);
        return "o arquivo não pode ser aberto (" + m + ").";
    }

    zip_t* z_ = nullptr;
    std::unordered_map<std::string, zip_uint64_t> indice_;
};

namespace {

// A worksheet in order, parsed as its rows are asked for.
class TPercursoXlsx : public TPercursoEmFila {
  public:
    TPercursoXlsx(std::shared_ptr<const TLeitorXlsx::TZip> zip, std::string parte,
                  std::shared_ptr<const TTextos> textos, std::uint32_t anunciados, bool data1904,
                  std::string prefixoErro)
        : TPercursoEmFila(textos, std::move(prefixoErro)),
          zip_(std::move(zip)),
          parte_(std::move(parte)),
          textos_(std::move(textos)),
          anunciados_(anunciados),
          data1904_(data1904) {
        Reinicia();
    }
    ~TPercursoXlsx() override { Fecha(); }

  protected:
    void Recomeca() override {
        Fecha();
        manipulador_ = std::make_unique<TManipuladorAba>(Fila(), textos_.get(), anunciados_,
                                                         data1904_, parte_);
        aberta_ = zip_->Abre(parte_);
        parser_ = std::make_unique<TParserXml>(*manipulador_);
    }
    bool Avanca() override {
        const std::size_t n = aberta_->Le(buf_.data(), buf_.size());
        parser_->Alimenta(buf_.data(), n, n == 0, parte_);
        return n > 0;
    }

  private:
    void Fecha() {
        parser_.reset();
        aberta_.reset();
        manipulador_.reset();
    }

    std::shared_ptr<const TLeitorXlsx::TZip> zip_;
    std::string parte_;
    std::shared_ptr<const TTextos> textos_;
    std::uint32_t anunciados_;
    bool data1904_;
    std::unique_ptr<TManipuladorAba> manipulador_;
    std::vector<char> buf_ = std::vector<char>(std::size_t{1} << 16);
    std::unique_ptr<TParteZip> aberta_;
    std::unique_ptr<TParserXml> parser_;
};

}  // namespace

TLeitorXlsx::TLeitorXlsx(const std::string& caminho) : TPastaTrabalho(caminho) {
    try {
        zip_ = std::make_shared<TZip>(caminho);

        // The package's own relationships say where the workbook part is.
        std::string partePasta = "xl/workbook.xml";
        if (zip_->Existe("_rels/.rels")) {
            std::unordered_map<std::string, TRelacao> raiz;
            TManipuladorRelacoes m("", raiz);
            zip_->Analisa("_rels/.rels", m);
            for (const auto& [id, rel] : raiz) {
                if (rel.tipo == "officeDocument" && zip_->Existe(rel.alvo))
                    partePasta = rel.alvo;
            }
        }
        if (!zip_->Existe(partePasta)) {
            throw EPlanilha("o arquivo não é uma pasta de trabalho .xlsx (falta a parte \"" +
                            partePasta + "\").");
        }
        std::vector<TAbaDeclarada> declaradas;
        TManipuladorPasta mp(declaradas, data1904_);
        zip_->Analisa(partePasta, mp);

        std::unordered_map<std::string, TRelacao> rels;
        std::string parteRels = ParteRelacoes(partePasta);
        if (zip_->Existe(parteRels)) {
            TManipuladorRelacoes mr(partePasta, rels);
            zip_->Analisa(parteRels, mr);
        }
        for (const auto& [id, rel] : rels) {
            if (rel.tipo == "sharedStrings" && zip_->Existe(rel.alvo))
                parteTextos_ = rel.alvo;
        }
        for (const TAbaDeclarada& a : declaradas) {
            auto it = rels.find(a.idRelacao);
            if (it == rels.end()) {
                // A sheet without any relationship (a very hidden one, say) has no cells.
                nomes_.push_back(a.nome);
                partesAbas_.emplace_back();
                continue;
            }
            // Chart, macro and dialog sheets hold no cells to convert.
            if (it->second.tipo != "worksheet")
                continue;
            nomes_.push_back(a.nome);
            partesAbas_.push_back(it->second.alvo);
        }
    } catch (const EPlanilha& e) {
        throw Erro(e.what());
    }
}

TLeitorXlsx::~TLeitorXlsx() = default;

std::shared_ptr<const TTextos> TLeitorXlsx::TextosCompartilhados() {
    if (!textos_) {
        auto textos = std::make_shared<TTextos>();
        if (!parteTextos_.empty()) {
            TManipuladorTextos m(*textos, textosAnunciados_);
            zip_->Analisa(parteTextos_, m);
        }
        textos_ = std::move(textos);
    }
    return textos_;
}

std::unique_ptr<TAbaLida> TLeitorXlsx::LeAba(std::size_t indice) {
    try {
        std::shared_ptr<const TTextos> textos = TextosCompartilhados();
        auto aba = std::make_unique<TAbaLida>(textos);
        if (partesAbas_.at(indice).empty())
            return aba;
        TManipuladorAba m(*aba, textos.get(), textosAnunciados_, data1904_, partesAbas_.at(indice));
        zip_->Analisa(partesAbas_.at(indice), m);
        return aba;
    } catch (const EPlanilha& e) {
        throw Erro("aba \"" + win1252::ParaUtf8(nomes_.at(indice)) + "\": " + e.what());
    }
}

std::optional<TMedidaAba> TLeitorXlsx::MedeAba(std::size_t indice) {
    try {
        std::shared_ptr<const TTextos> textos = TextosCompartilhados();
        TMedidorAba medidor(textos);
        if (!partesAbas_.at(indice).empty()) {
            TManipuladorAba m(medidor, textos.get(), textosAnunciados_, data1904_,
                              partesAbas_.at(indice));
            zip_->Analisa(partesAbas_.at(indice), m);
        }
        return medidor.Medida();
    } catch (const EPlanilha& e) {
        throw Erro("aba \"" + win1252::ParaUtf8(nomes_.at(indice)) + "\": " + e.what());
    }
}

std::unique_ptr<TPercursoAba> TLeitorXlsx::PercorreAba(std::size_t indice) {
    if (partesAbas_.at(indice).empty())
        return nullptr;
    const std::string prefixo =
        Erro("aba \"" + win1252::ParaUtf8(nomes_.at(indice)) + "\": ").what();
    return std::make_unique<TPercursoXlsx>(zip_, partesAbas_.at(indice), TextosCompartilhados(),
                                           textosAnunciados_, data1904_, prefixo);
}
