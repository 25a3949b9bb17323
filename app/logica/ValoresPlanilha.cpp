// The value helpers that the sheet mappings share.
#include "app/logica/LogicaPrincipal.h"
#include "common/Texto.h"
#include "conversion/BuscaDeLinha.h"
#include "conversion/Consulta.h"
#include "conversion/LoteComandos.h"
#include "conversion/classConversao.h"

std::string TLogicaPrincipal::LimpaTexto(const std::string& texto) {
    return TConversao::RetiraCaracteres(texto);
}

std::string TLogicaPrincipal::ZerosEsquerda(const std::string& texto, int largura) {
    return TConversao::CompletaZeros(texto, largura);
}

std::string TLogicaPrincipal::FormataTelefone(const std::string& texto) {
    std::string t = LimpaTexto(texto::Trim(texto));
    size_t zeros = t.find_first_not_of('0');
    t.erase(0, zeros == std::string::npos ? t.size() : zeros);
    std::string semEspacos;
    for (char c : t) {
        if (c != ' ')
            semEspacos += c;
    }
    if (semEspacos.size() == 8)
        semEspacos = "31" + semEspacos;
    return semEspacos;
}

std::string TLogicaPrincipal::CodCidadeDaPlanilha(const std::string& cidade,
                                                  const std::string& estado) {
    return texto::Trim(cidade).empty() ? std::string() : BuscaCodCidade(cidade, estado);
}

// The city code of the sheet mappings. Failures become a warning and the row goes on with what
// was found; a code is returned only once its city is really in CIDADES, and nothing is
// committed here: the new city belongs to the run.
std::string TLogicaPrincipal::BuscaCodCidade(const std::string& cidade, const std::string& estado) {
    std::string resultado;
    const std::string nome = texto::Trim(cidade) == "BHTE" ? std::string("Belo Horizonte") : cidade;
    // The run asks once for each city and state it sent: the code found, or the one created when
    // the lookup will find that new row again (a state longer than 2 is stored whole but looked
    // up by its first 2 characters, so it is not).
    const std::string chave =
        TMemoriaTransacao::Chave("BuscaCodCidade", texto::Primeiros(nome, 30), estado);
    if (const std::string* lembrado = dbAlmuro.Memoria().Busca(chave))
        return *lembrado;
    try {
        const TBuscaDeCodigo porNome{
            "Select CODCIDADE from CIDADES Where CIDADE = :PCIDADE AND ESTADO = :PESTADO",
            {{"PCIDADE", texto::Primeiros(nome, 30)}, {"PESTADO", texto::Primeiros(estado, 2)}},
            "CODCIDADE"};
        TBuscaDaLinha busca;
        busca.proprias = {porNome};
        busca.nuloEncontra = false;  // a city without a code is created again
        busca.confirmadas = {
            {porNome}, "Select MAX(CODCIDADE) as CODCIDADE from CIDADES", "CODCIDADE"};
        busca.proximo = [](const std::string& maior) {
            if (maior.empty())
                return std::string("00001");
            std::string novo = ZerosEsquerda(texto::Inteiro(texto::LeInteiro(maior) + 1), 5);
            if (novo.size() > 5) {
                throw EConversor("Os códigos da tabela CIDADES se esgotaram: o próximo (" + novo +
                                 ") não cabe em 5 dígitos.");
            }
            return novo;
        };
        busca.criacao = {kInsereCidadePlanilha, [&](const std::string& novo) -> TParametrosComando {
                             return {{"PCODCIDADE", novo},
                                     {"PCIDADE", texto::Primeiros(nome, 30)},
                                     {"PESTADO", texto::Primeiros(estado, 30)}};
                         }};
        const TLinhaAchada achada = BuscaOuCriaLinha(dbAlmuro, busca);
        resultado = achada.codigo;
        if (achada.origem == TLinhaAchada::TOrigem::Criada)
            TConversao::CidadeCriada(dbAlmuro, texto::Primeiros(nome, 30));
        if (achada.origem == TLinhaAchada::TOrigem::Propria || estado.size() <= 2)
            dbAlmuro.Memoria().Guarda(chave, resultado);
    } catch (const ERecusaRetida&) {
        throw;  // a held statement's refusal is that record's failure, not this lookup's warning
    } catch (const std::exception& e) {
        avisos_.Alerta(std::string("Erro ao converter Cidades. Motivo: ") + "\r" + e.what());
    }
    return resultado;
}
