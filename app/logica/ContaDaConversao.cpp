#include "app/logica/ContaDaConversao.h"

#include <algorithm>

namespace {

std::string Quantos(long n, const char* um, const char* varios) {
    return std::to_string(n) + " " + (n == 1 ? um : varios);
}

}  // namespace

long TContaDaOrigem::Deixados() const {
    long n = 0;
    for (const TDeixadosDeFora& d : deixados)
        n += static_cast<long>(d.registros.size());
    return n;
}

std::string TContaDaOrigem::NomeDoRegistro(const std::string& registro) const {
    return (planilha ? "linha " : "CODIGO ") + registro;
}

std::string TContaDaOrigem::Texto() const {
    std::string r = origem + ": ";
    if (planilha) {
        r += Quantos(lidos, "linha de dados", "linhas de dados") + ", " +
             Quantos(Gravados(), "gravada", "gravadas");
    } else {
        r += Quantos(lidos, "lido", "lidos") + ", " + Quantos(Gravados(), "gravado", "gravados");
    }
    for (const TDeixadosDeFora& d : deixados) {
        const long n = static_cast<long>(d.registros.size());
        r += ", " +
             (planilha ? Quantos(n, "deixada de fora", "deixadas de fora")
                       : Quantos(n, "deixado de fora", "deixados de fora")) +
             " " + d.motivo + " (";
        if (planilha)
            r += n == 1 ? "linha " : "linhas ";
        else
            r += n == 1 ? "código " : "códigos ";
        const size_t mostrados = std::min(d.registros.size(), TContaDaConversao::kExemplos);
        for (size_t i = 0; i < mostrados; ++i)
            r += (i == 0 ? "" : ", ") + d.registros[i];
        if (d.registros.size() > mostrados)
            r += " e mais " + std::to_string(d.registros.size() - mostrados);
        r += ")";
    }
    if (comProblema > 0) {
        r += ", " + std::to_string(comProblema) + " com problema";
    }
    return r;
}

void TContaDaConversao::Origem(const std::string& origem, bool planilha) {
    TContaDaOrigem o;
    o.origem = origem;
    o.planilha = planilha;
    origens_.push_back(std::move(o));
}

void TContaDaConversao::Le(std::string registro) {
    if (origens_.empty())
        return;
    ++origens_.back().lidos;
    registro_ = std::move(registro);
}

void TContaDaConversao::DeixaDeFora(const std::string& motivo) {
    if (origens_.empty())
        return;
    std::vector<TDeixadosDeFora>& deixados = origens_.back().deixados;
    for (TDeixadosDeFora& d : deixados) {
        if (d.motivo == motivo) {
            d.registros.push_back(registro_);
            return;
        }
    }
    deixados.push_back({motivo, {}});
    deixados.back().registros.push_back(registro_);
}

void TContaDaConversao::ComProblema() {
    if (!origens_.empty())
        ++origens_.back().comProblema;
}

void TContaDaConversao::CobertosPorProblema(long n) {
    if (origens_.empty())
        return;
    origens_.back().lidos += n;
    origens_.back().comProblema += n;
}

std::string TContaDaConversao::Texto() const {
    std::string r;
    for (const TContaDaOrigem& o : origens_)
        r += (r.empty() ? "  " : "\n  ") + o.Texto();
    return r;
}
