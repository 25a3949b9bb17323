#include "common/ConfiguracaoRegional.h"

#include "common/Erros.h"
#include "common/Win1252.h"

#include <langinfo.h>
#include <locale.h>

#include <charconv>
#include <cmath>
#include <ctime>

namespace calendario {

// Days from civil, after H. Hinnant's public-domain algorithm; epoch moved to 30/12/1899.
long SerialDeData(int ano, int mes, int dia) {
    long y = ano - (mes <= 2 ? 1 : 0);
    long era = (y >= 0 ? y : y - 399) / 400;
    long yoe = y - era * 400;
    long mp = (mes + 9) % 12;
    long doy = (153 * mp + 2) / 5 + dia - 1;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    long diasDesde1970 = era * 146097 + doe - 719468;
    return diasDesde1970 + 25569;
}

void DataDeSerial(long serial, int& ano, int& mes, int& dia) {
    long z = serial - 25569 + 719468;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long y = yoe + era * 400;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    dia = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    mes = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    ano = static_cast<int>(y + (mes <= 2 ? 1 : 0));
}

}  // namespace calendario

TConfiguracaoRegional& TConfiguracaoRegional::Instancia() {
    static TConfiguracaoRegional instancia;
    return instancia;
}

TConfiguracaoRegional::TConfiguracaoRegional() {
    // Read the operator's LC_NUMERIC without switching the C library's own locale, so that no
    // other code in the process changes the way it formats numbers.
    locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (loc != static_cast<locale_t>(0)) {
        const char* radix = nl_langinfo_l(RADIXCHAR, loc);
        if (radix && radix[0] && !radix[1])
            separadorDecimal_ = radix[0];
        freelocale(loc);
    }
}

namespace {

// %g-like general form with 15 significant digits, trailing zeros removed, "." as separator.
std::string FormaGeral(double valor) {
    if (valor == 0)
        return "0";  // also -0
    if (std::isnan(valor))
        return "NAN";
    if (std::isinf(valor))
        return valor > 0 ? "INF" : "-INF";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, valor, std::chars_format::general, 15);
    std::string s(buf, res.ptr);
    auto e = s.find('e');
    if (e == std::string::npos)
        return s;
    // Exponent as the operators know it: E, a minus only when negative, no leading zeros.
    std::string mantissa = s.substr(0, e);
    std::string expo = s.substr(e + 1);
    bool negativo = !expo.empty() && expo[0] == '-';
    if (!expo.empty() && (expo[0] == '-' || expo[0] == '+'))
        expo.erase(0, 1);
    while (expo.size() > 1 && expo[0] == '0')
        expo.erase(0, 1);
    return mantissa + "E" + (negativo ? "-" : "") + expo;
}

}  // namespace

std::string TConfiguracaoRegional::NumeroParaTexto(double valor) const {
    std::string s = FormaGeral(valor);
    if (separadorDecimal_ != '.') {
        for (char& c : s) {
            if (c == '.')
                c = separadorDecimal_;
        }
    }
    return s;
}

std::string TConfiguracaoRegional::NumeroSql(double valor) const {
    std::string s = NumeroParaTexto(valor);
    for (char& c : s) {
        if (c == ',')
            c = '.';
    }
    return s;
}

bool TConfiguracaoRegional::TentaTextoParaNumero(std::string_view texto, double& valor) const {
    // Blanks around the number are allowed, as the regional conversion allows them.
    size_t b = 0, e = texto.size();
    while (b < e && static_cast<unsigned char>(texto[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(texto[e - 1]) <= 32)
        --e;
    std::string s(texto.substr(b, e - b));
    if (s.empty())
        return false;
    // Only the regional separator is a decimal separator here.
    std::string normal;
    normal.reserve(s.size());
    bool viuSeparador = false, viuDigito = false;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == separadorDecimal_) {
            if (viuSeparador)
                return false;
            viuSeparador = true;
            normal += '.';
        } else if (c >= '0' && c <= '9') {
            viuDigito = true;
            normal += c;
        } else if ((c == '+' || c == '-') && (i == 0 || s[i - 1] == 'e' || s[i - 1] == 'E')) {
            normal += c;
        } else if ((c == 'e' || c == 'E') && viuDigito) {
            normal += 'e';
        } else {
            return false;
        }
    }
    if (!viuDigito)
        return false;
    const char* ini = normal.data();
    if (*ini == '+')
        ++ini;
    auto res = std::from_chars(ini, normal.data() + normal.size(), valor);
    return res.ec == std::errc() && res.ptr == normal.data() + normal.size();
}

double TConfiguracaoRegional::TextoParaNumero(std::string_view texto) const {
    double v = 0;
    if (!TentaTextoParaNumero(texto, v)) {
        throw EConversao("'" + win1252::MensagemUtf8(texto) + "' não é um valor numérico válido");
    }
    return v;
}

std::string TConfiguracaoRegional::FormataData(std::string_view formato, double serial) const {
    int ano, mes, dia;
    calendario::DataDeSerial(static_cast<long>(std::floor(serial)), ano, mes, dia);
    auto dois = [](int n) {
        std::string s = std::to_string(n);
        return s.size() < 2 ? "0" + s : s;
    };
    std::string r;
    for (size_t i = 0; i < formato.size();) {
        char c = static_cast<char>(formato[i] | 0x20);
        size_t n = 1;
        while (i + n < formato.size() && static_cast<char>(formato[i + n] | 0x20) == c)
            ++n;
        if (c == 'd') {
            r += n >= 2 ? dois(dia) : std::to_string(dia);
        } else if (c == 'm') {
            r += n >= 2 ? dois(mes) : std::to_string(mes);
        } else if (c == 'y') {
            if (n >= 3) {
                std::string a = std::to_string(ano);
                while (a.size() < 4)
                    a = "0" + a;
                r += a;
            } else {
                r += dois(ano % 100);
            }
        } else if (formato[i] == '/') {
            r.append(n, separadorData_);
        } else {
            r.append(formato.substr(i, n));
        }
        i += n;
    }
    return r;
}

std::string TConfiguracaoRegional::DataParaTexto(double serial) const {
    return FormataData(formatoDataCurta_, serial);
}

double TConfiguracaoRegional::Hoje() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return static_cast<double>(
        calendario::SerialDeData(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday));
}

double TConfiguracaoRegional::TextoParaData(std::string_view texto) const {
    // Day, month and year in the order the short date format names them.
    int partes[3] = {0, 0, 0};
    int n = 0;
    bool emNumero = false;
    for (char c : texto) {
        if (c >= '0' && c <= '9') {
            if (!emNumero) {
                if (n == 3)
                    n = 4;
                emNumero = true;
            }
            if (n < 3)
                partes[n] = partes[n] * 10 + (c - '0');
        } else {
            if (emNumero)
                ++n;
            emNumero = false;
        }
    }
    if (emNumero)
        ++n;
    if (n != 3)
        throw EConversao("'" + win1252::MensagemUtf8(texto) + "' não é uma data válida");
    int dia = 0, mes = 0, ano = 0, k = 0;
    char vistos[3] = {0, 0, 0};
    for (char c : formatoDataCurta_) {
        char l = static_cast<char>(c | 0x20);
        if ((l == 'd' || l == 'm' || l == 'y') && (k == 0 || vistos[k - 1] != l) && k < 3) {
            vistos[k++] = l;
        }
    }
    for (int i = 0; i < 3; ++i) {
        if (vistos[i] == 'd')
            dia = partes[i];
        if (vistos[i] == 'm')
            mes = partes[i];
        if (vistos[i] == 'y')
            ano = partes[i];
    }
    if (mes < 1 || mes > 12 || dia < 1 || dia > 31) {
        throw EConversao("'" + win1252::MensagemUtf8(texto) + "' não é uma data válida");
    }
    return static_cast<double>(calendario::SerialDeData(ano, mes, dia));
}
