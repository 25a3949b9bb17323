#include "conversion/classConversao.h"

#include "common/ConfiguracaoRegional.h"
#include "common/Erros.h"
#include "common/Texto.h"
#include "conversion/BuscaDeLinha.h"
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
    TBuscaDaLinha busca;
    busca.proprias = {
        {" SELECT CODCLASFIS FROM CLASFISC WHERE CODIGONCM = " + texto::Literal(codigoNcm),
         {},
         "CODCLASFIS"}};
    busca.confirmadas = {{{" SELECT CODCLASFIS FROM CLASFISC WHERE CODIGONCM = :CODIGONCM",
                           {{"CODIGONCM", codigoNcm}},
                           "CODCLASFIS"}},
                         " Select Max(CODCLASFIS) as CodClasFis From CLASFISC ",
                         "CodClasFis"};
    busca.proximo = [](const std::string& maior) { return ProximoCodigo(maior, 4, "CLASFISC"); };
    busca.criacao = {kInsereClasFisc, [&](const std::string& novo) -> TParametrosComando {
                         return {{"CodClasFis", CompletaZeros(Primeiros(novo, 4), 4)},
                                 {"CodigoNCM", codigoNcm},
                                 {"CodNBM", codigoNcm}};
                     }};
    return BuscaOuCriaLinha(banco_, busca).codigo;
}

std::string TConversao::VerificaUnidade(const std::string& unidade) {
    const std::string codigo = UpperAZ(Primeiros(unidade, 2));
    const std::string chave = TMemoriaTransacao::Chave("VerificaUnidade", codigo);
    if (banco_.Memoria().Busca(chave))
        return codigo;
    try {
        const TBuscaDeCodigo porUnidade{"Select UNIDADE from UNIDADES Where UNIDADE = :PUNIDADE",
                                        {{"PUNIDADE", codigo}},
                                        "UNIDADE"};
        TBuscaDaLinha busca;
        busca.proprias = {porUnidade};
        busca.confirmadas = {{porUnidade}, {}, {}};
        busca.proximo = [&](const std::string&) { return codigo; };
        busca.criacao = {kInsereUnidade, [&](const std::string&) -> TParametrosComando {
                             return {{"PUNIDADE", codigo}};
                         }};
        BuscaOuCriaLinha(banco_, busca);
        banco_.Memoria().Guarda(chave, codigo);
    } catch (const ERecusaRetida&) {
        throw;  // a held statement's refusal is that record's failure, not this lookup's warning
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
    TBuscaDaLinha busca;
    busca.proprias = {{" select CodCidade from Cidades  where Cidade = " + texto::Literal(nome) +
                           "   And Estado = " + texto::Literal(uf),
                       {},
                       "CodCidade"}};
    busca.confirmadas = {
        {{" select CodCidade from Cidades  where Cidade = :CIDADE   And Estado = :ESTADO",
          {{"CIDADE", nome}, {"ESTADO", uf}},
          "CodCidade"}},
        " Select Max(CodCidade) as CodCliente From Cidades ",
        "CodCliente"};
    if (cidade == "BHTE") {
        busca.proprias.push_back({kBeloHorizonte, {}, "CODCIDADE"});
        busca.confirmadas.buscas.push_back({kBeloHorizonte, {}, "CODCIDADE"});
    }
    busca.proximo = [](const std::string& maior) { return ProximoCodigo(maior, 5, "Cidades"); };
    busca.criacao = {kInsereCidade, [&](const std::string& novo) -> TParametrosComando {
                         return {{"CodCidade", novo}, {"Cidade", nome}, {"Estado", uf}};
                     }};
    const TLinhaAchada achada = BuscaOuCriaLinha(banco_, busca);
    // BHTE through BELO HORIZONTE: not for good, since a later "bhte" of the same state creates a
    // row BHTE that the exact lookup would find from then on; when another run committed BELO
    // HORIZONTE, not at all, as the exact lookup may find a BHTE another run commits.
    if (achada.indice == 1 && achada.origem == TLinhaAchada::TOrigem::Propria)
        lembranca = TLembranca::AteCidadeParecida;
    else if (achada.indice == 1 && achada.origem == TLinhaAchada::TOrigem::Confirmada)
        lembranca = TLembranca::Nunca;
    else if (achada.origem == TLinhaAchada::TOrigem::Criada)
        CidadeCriada(banco_, nome);
    return achada.codigo;
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
