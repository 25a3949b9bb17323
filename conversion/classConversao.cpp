#include "conversion/classConversao.h"

#include "common/ConfiguracaoRegional.h"
#include "common/Erros.h"
#include "common/Texto.h"
#include "conversion/BuscaConcorrente.h"
#include "conversion/ComandoEscritor.h"
#include "conversion/ErrosMotor.h"
#include "conversion/LoteComandos.h"
#include "conversion/ObjetosComando.h"

#include "conversion/Firebird.h"

#include <cmath>

using texto::Primeiros;
using texto::Trim;
using texto::UpperAZ;

TConversao::TConversao(TBancoFirebird& banco, IAvisos& avisos)
    : banco_(banco), avisos_(avisos), principal_(banco), auxiliar_(banco) {}

TConversao::~TConversao() = default;

void TConversao::DefineComandosLiterais(bool literais) {
    ::DefineComandosLiterais(literais);
}

void TConversao::ExecutaNaPrincipal(const std::string& sql) {
    principal_.Fecha();
    banco_.Lote().Grava(sql);
}

void TConversao::EsvaziaTabela(const std::string& comandoDelete) {
    // What is held ran before the clearing in the order the writers gave it; its refusal is its
    // own.
    banco_.Lote().Descarrega();
    auxiliar_.Fecha();
    auxiliar_.DefineSQL(comandoDelete);
    try {
        auxiliar_.Executa();
    } catch (const EBancoDados& e) {
        erros_motor::LancaNaTabela(e, ObjetosDoComando(comandoDelete).tabela);
        throw;
    }
}

namespace {

const char* const kBeloHorizonte = " select codcidade from cidades where cidade = 'BELO HORIZONTE'";

// The next code after the highest one of a lookup table, zero-filled to its width. A table whose
// codes have run out ends the run: a cut code would point at another row.
std::string ProximoCodigo(const std::string& maximo, int largura, const char* tabela) {
    if (maximo.empty())
        return TConversao::CompletaZeros("1", largura);
    std::int64_t proximo = texto::LeInteiro(maximo) + 1;
    std::string codigo = TConversao::CompletaZeros(texto::Inteiro(proximo), largura);
    if (static_cast<int>(codigo.size()) > largura) {
        throw EConversor(std::string("Os códigos da tabela ") + tabela +
                         " se esgotaram: o próximo (" + codigo + ") não cabe em " +
                         std::to_string(largura) + " dígitos.");
    }
    return codigo;
}

}  // namespace

std::string TConversao::RetornaClasFiscal(const std::string& ncm) {
    const std::string codigoNcm = Primeiros(Trim(ncm), 8);
    const std::string chave = TMemoriaTransacao::Chave("RetornaClasFiscal", codigoNcm);
    if (const std::string* lembrado = banco_.Memoria().Busca(chave))
        return *lembrado;
    const std::string codigo = ClasFiscalNoBanco(codigoNcm);
    banco_.Memoria().Guarda(chave, codigo);
    return codigo;
}

std::string TConversao::ClasFiscalNoBanco(const std::string& codigoNcm) {
    auxiliar_.Fecha();
    auxiliar_.DefineSQL(" SELECT CODCLASFIS FROM CLASFISC WHERE CODIGONCM = " +
                        texto::Literal(codigoNcm));
    auxiliar_.Abre();
    if (!auxiliar_.Fim())
        return auxiliar_.Texto("CODCLASFIS");

    auxiliar_.Fecha();
    const TLinhaDeBusca linha{{{" SELECT CODCLASFIS FROM CLASFISC WHERE CODIGONCM = :CODIGONCM",
                                {{"CODIGONCM", codigoNcm}},
                                "CODCLASFIS"}},
                              " Select Max(CODCLASFIS) as CodClasFis From CLASFISC ",
                              "CodClasFis"};
    return AchaOuCriaLinha(
        banco_, linha, [](const std::string& maior) { return ProximoCodigo(maior, 4, "CLASFISC"); },
        [&](const std::string& novo) {
            auxiliar_.Fecha();
            auxiliar_.DefineSQL(kInsereClasFisc);
            auxiliar_.Parametro("CodClasFis", CompletaZeros(Primeiros(novo, 4), 4));
            auxiliar_.Parametro("CodigoNCM", codigoNcm);
            auxiliar_.Parametro("CodNBM", codigoNcm);
            auxiliar_.Executa();
        });
}

std::string TConversao::VerificaUnidade(const std::string& unidade) {
    const std::string codigo = UpperAZ(Primeiros(unidade, 2));
    const std::string chave = TMemoriaTransacao::Chave("VerificaUnidade", codigo);
    if (banco_.Memoria().Busca(chave))
        return codigo;
    // A refusal of a held statement is that record's failure, not this lookup's warning.
    banco_.Lote().Descarrega();
    try {
        auxiliar_.DefineSQL("Select UNIDADE from UNIDADES Where UNIDADE = :PUNIDADE");
        auxiliar_.Parametro("PUNIDADE", codigo);
        auxiliar_.Abre();
        if (auxiliar_.Fim()) {
            const TLinhaDeBusca linha{{{"Select UNIDADE from UNIDADES Where UNIDADE = :PUNIDADE",
                                        {{"PUNIDADE", codigo}},
                                        "UNIDADE"}},
                                      {},
                                      {}};
            AchaOuCriaLinha(
                banco_, linha, [&](const std::string&) { return codigo; },
                [&](const std::string&) {
                    auxiliar_.Fecha();
                    auxiliar_.DefineSQL(kInsereUnidade);
                    auxiliar_.Parametro("PUNIDADE", codigo);
                    auxiliar_.Executa();
                });
        }
        banco_.Memoria().Guarda(chave, codigo);
    } catch (const std::exception&) {
        avisos_.Alerta("Erro ao converter Unidade.");
    }
    return codigo;
}

std::string TConversao::CodCidadeDaOrigem(const std::string& cidade, const std::string& estado) {
    if (texto::Trim(cidade).empty())
        return {};
    return RetornaCodCidade(cidade, estado);
}

namespace {

// How many cities the run created that a case- or accent-blind column could take for BHTE or
// BELO HORIZONTE: an answer got through BELO HORIZONTE holds only until the next one.
constexpr const char* kCidadesParecidasComBh = "CidadesParecidasComBh";

// The key of an answer got through BELO HORIZONTE, which holds only while the run creates no
// city like it.
std::string ChaveDoBhte(TBancoFirebird& banco, const std::string& estado) {
    const std::string* parecidas = banco.Memoria().Busca(kCidadesParecidasComBh);
    return TMemoriaTransacao::Chave("RetornaCodCidade", "BHTE",
                                    estado + '\n' + (parecidas ? *parecidas : "0"));
}

}  // namespace

void TConversao::CidadeCriada(TBancoFirebird& banco, const std::string& nome) {
    const std::string semBrancos = nome.substr(0, nome.find_last_not_of(' ') + 1);
    if (semBrancos.size() != 4 && semBrancos.size() != 14)
        return;
    const std::string* parecidas = banco.Memoria().Busca(kCidadesParecidasComBh);
    banco.Memoria().Guarda(kCidadesParecidasComBh,
                           std::to_string((parecidas ? texto::LeInteiro(*parecidas) : 0) + 1));
}

std::string TConversao::RetornaCodCidade(const std::string& cidade, const std::string& estado) {
    const std::string chave = TMemoriaTransacao::Chave("RetornaCodCidade", cidade, estado);
    if (const std::string* lembrado = banco_.Memoria().Busca(chave))
        return *lembrado;
    if (cidade == "BHTE") {
        if (const std::string* lembrado = banco_.Memoria().Busca(ChaveDoBhte(banco_, estado)))
            return *lembrado;
    }
    TLembranca lembranca = TLembranca::Sempre;
    const std::string codigo = CodCidadeNoBanco(cidade, estado, lembranca);
    if (lembranca == TLembranca::Sempre)
        banco_.Memoria().Guarda(chave, codigo);
    else if (lembranca == TLembranca::AteCidadeParecida)
        banco_.Memoria().Guarda(ChaveDoBhte(banco_, estado), codigo);
    return codigo;
}

std::string TConversao::CodCidadeNoBanco(const std::string& cidade, const std::string& estado,
                                         TLembranca& lembranca) {
    const std::string nome = UpperAZ(cidade);
    const std::string uf = UpperAZ(estado);
    auxiliar_.Fecha();
    auxiliar_.DefineSQL(" select CodCidade from Cidades  where Cidade = " + texto::Literal(nome) +
                        "   And Estado = " + texto::Literal(uf));
    auxiliar_.Abre();
    if (!auxiliar_.Fim())
        return auxiliar_.Texto("CodCidade");

    if (cidade == "BHTE") {
        auxiliar_.Fecha();
        auxiliar_.DefineSQL(kBeloHorizonte);
        auxiliar_.Abre();
        // Not for good: a later "bhte" of the same state creates a row BHTE that the exact
        // lookup would find from then on.
        lembranca = TLembranca::AteCidadeParecida;
        if (!auxiliar_.Fim())
            return auxiliar_.Texto("CODCIDADE");
        lembranca = TLembranca::Sempre;
    }

    auxiliar_.Fecha();
    TLinhaDeBusca linha{
        {{" select CodCidade from Cidades  where Cidade = :CIDADE   And Estado = :ESTADO",
          {{"CIDADE", nome}, {"ESTADO", uf}},
          "CodCidade"}},
        " Select Max(CodCidade) as CodCliente From Cidades ",
        "CodCliente"};
    if (cidade == "BHTE")
        linha.buscas.push_back({kBeloHorizonte, {}, "CODCIDADE"});
    int achadaPor = -1;
    const std::string codigo = AchaOuCriaLinha(
        banco_, linha, [](const std::string& maior) { return ProximoCodigo(maior, 5, "Cidades"); },
        [&](const std::string& novo) {
            auxiliar_.Fecha();
            auxiliar_.DefineSQL(kInsereCidade);
            auxiliar_.Parametro("CodCidade", novo);
            auxiliar_.Parametro("Cidade", nome);
            auxiliar_.Parametro("Estado", uf);
            auxiliar_.Executa();
            CidadeCriada(banco_, nome);
        },
        &achadaPor);
    // Belo Horizonte committed by another run: asked again every time, as the exact lookup may
    // find a BHTE another run commits.
    if (achadaPor == 1)
        lembranca = TLembranca::Nunca;
    return codigo;
}

std::string TConversao::CompletaZeros(const std::string& texto, int largura) {
    const int n = largura - static_cast<int>(texto.size());
    if (n <= 0)
        return texto;
    return std::string(static_cast<size_t>(n), '0') + texto;
}

std::string TConversao::SomenteNumeros(const std::string& texto) {
    const std::string maiusculo = UpperAZ(texto);
    if (Trim(maiusculo) == "ISENTO")
        return maiusculo;
    if (texto::Contem(maiusculo, "ISEN"))
        return {};
    std::string digitos;
    for (char c : maiusculo) {
        if (c >= '0' && c <= '9')
            digitos += c;
    }
    return digitos;
}

std::string TConversao::FormataData(const std::string& data) {
    const auto& cfg = TConfiguracaoRegional::Instancia();
    if (data.empty() || data == "  -   -")
        return cfg.DataParaTexto(TConfiguracaoRegional::Hoje());
    if (texto::Contem(data, "/"))
        return texto::TrocaTodos(data, "/", ".");
    if (texto::Contem(data, "-"))
        return texto::TrocaTodos(data, "-", ".");
    if (texto::Contem(data, "."))
        return data;

    double serial = 0;
    if (!cfg.TentaTextoParaNumero(data, serial))
        return {};
    static const double kPrimeiro = calendario::SerialDeData(100, 1, 1);
    static const double kDepoisDoUltimo = calendario::SerialDeData(9999, 12, 31) + 1;
    if (!(serial >= kPrimeiro && serial < kDepoisDoUltimo))
        return {};
    return cfg.FormataData("DD/MM/YYYY", std::floor(serial));
}

std::string TConversao::RetiraCaracteres(const std::string& texto) {
    std::string r = texto;
    for (char c : std::string("()-./'")) {
        size_t p;
        while ((p = r.find(c)) != std::string::npos) {
            r = Trim(r.substr(0, p) + texto::Copia(r, static_cast<long>(p) + 2, 100));
        }
    }
    return r;
}
