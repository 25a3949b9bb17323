// The walk that the three sheet mappings share: the heading row skipped, every other staged row
// handed to the mapping, with the progress the window shows while it goes.
#include "app/logica/LogicaPrincipal.h"
#include "common/Erros.h"

void TLogicaPrincipal::PercorrePlanilha(const std::string& aguarde,
                                        const std::function<void(int linha)>& converteLinha) {
    DefineAguarde(aguarde);
    const int total = cdsTabelaTemp.TotalRegistros();
    DefineBarraPosicao(0);
    DefineBarraMaximo(total);
    cdsTabelaTemp.Primeiro();
    const std::string deTotal = " de " + std::to_string(total);
    int n = 0;
    while (!cdsTabelaTemp.Fim()) {
        DefineStatus("Processando Registro " + std::to_string(n) + deTotal);
        ProcessaMensagens();
        if (n == 0) {
            Lugar.LeTitulos(cdsTabelaTemp);
            cdsTabelaTemp.Proximo();  // the heading row
            n = 1;
            if (cdsTabelaTemp.Fim())
                break;
        }
        Lugar.LinhaPlanilha(cdsTabelaTemp, n + 1);
        converteLinha(n + 1);
        Lugar.Limpa();
        cdsTabelaTemp.Proximo();
        AvancaBarra();
        ++n;
    }
    DefineAguarde(std::string());
    DefineStatus(std::string());
    DefineBarraPosicao(0);
}

bool TLogicaPrincipal::DocumentoEmBranco(const std::string& documento) {
    return documento == "__.___.___/____-__" || documento == "___.___.___-__";
}

void TLogicaPrincipal::ExigeCodigoQueCabe(const std::string& cadastro, std::int64_t codigo,
                                          int digitos, int linha) {
    if (std::to_string(codigo).size() <= static_cast<size_t>(digitos))
        return;
    throw EConversor("O código de " + cadastro + " " + std::to_string(codigo) + " não cabe nos " +
                     std::to_string(digitos) + " dígitos do código: a linha " +
                     std::to_string(linha) + " da planilha repetiria o código de outro " +
                     cadastro + ".");
}
