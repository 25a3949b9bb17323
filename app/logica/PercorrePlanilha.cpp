// The walk that the three sheet mappings share: the heading row skipped, every other staged row
// handed to the mapping, with the progress the window shows while it goes.
#include "app/logica/LogicaPrincipal.h"
#include "common/Erros.h"
#include "common/Win1252.h"
#include "conversion/ConsultaSequencial.h"

void TLogicaPrincipal::PercorrePlanilha(const std::string& aguarde,
                                        const std::function<void(int linha)>& converteLinha,
                                        const std::function<void()>& descarta, int ateLinha) {
    DefineAguarde(aguarde);
    const int total = cdsTabelaTemp.TotalRegistros();
    DefineBarraPosicao(0);
    DefineBarraMaximo(total);
    cdsTabelaTemp.Primeiro();
    Conta.Origem("planilha", true);
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
        const int linha = n + 1;
        if (ateLinha >= 0 && linha > ateLinha) {
            Conta.CobertosPorProblema(total - ateLinha);
            break;
        }
        Lugar.LinhaPlanilha(cdsTabelaTemp, linha);
        Conta.Le(std::to_string(linha));
        Continuacao.Registro([&] { converteLinha(linha); }, descarta);
        Lugar.Limpa();
        cdsTabelaTemp.Proximo();
        AvancaBarra();
        ++n;
    }
    DefineAguarde(std::string());
    DefineStatus(std::string());
    DefineBarraPosicao(0);
}

void TLogicaPrincipal::PercorreOrigem(TConsultaSequencial& origem, const std::string& tabela,
                                      const std::string& aguarde,
                                      const std::function<void()>& converteRegistro,
                                      const std::function<void()>& descarta) {
    // Counted by the engine in the source's snapshot, so the rows are read as they are mapped
    // and never held all at once.
    DefineBarraMaximo(origem.ContaRegistros());
    Conta.Origem("banco TESSALY, tabela " + tabela, false);
    const std::string deTotal = " de " + std::to_string(Progresso().barraMaximo);
    int registro = 1;
    while (!origem.Fim()) {
        DefineAguarde(aguarde + std::to_string(registro) + deTotal);
        ProcessaMensagens();
        const std::string codigo = origem.Texto("CODIGO");
        Lugar.RegistroOrigem(tabela, codigo);
        Conta.Le(win1252::MensagemUtf8(codigo));
        Continuacao.Registro(converteRegistro, descarta);
        Lugar.Limpa();
        ++registro;
        origem.Proximo();
        DefineBarraPosicao(registro);
    }
}

bool TLogicaPrincipal::DocumentoEmBranco(const std::string& documento) {
    return documento == "__.___.___/____-__" || documento == "___.___.___-__";
}

int TLogicaPrincipal::PrimeiraLinhaSemCodigo(std::int64_t primeiroCodigo, int digitos,
                                             int primeiraLinha, int ultimaLinha) {
    std::int64_t limite = 1;
    for (int i = 0; i < digitos; ++i)
        limite *= 10;
    if (ultimaLinha < primeiraLinha || primeiroCodigo + (ultimaLinha - primeiraLinha) < limite)
        return 0;
    if (primeiroCodigo >= limite)
        return primeiraLinha;
    return primeiraLinha + static_cast<int>(limite - primeiroCodigo);
}

void TLogicaPrincipal::ExigeCodigosQueCabem(const std::string& cadastro,
                                            std::int64_t primeiroCodigo, int digitos,
                                            int primeiraLinha, int ultimaLinha) {
    const int linha = PrimeiraLinhaSemCodigo(primeiroCodigo, digitos, primeiraLinha, ultimaLinha);
    if (linha == 0)
        return;
    const std::int64_t codigo = primeiroCodigo + (linha - primeiraLinha);
    const int depois = ultimaLinha - linha;
    std::string texto = "O código de " + cadastro + " " + std::to_string(codigo) +
                        " não cabe nos " + std::to_string(digitos) +
                        " dígitos do código: a linha " + std::to_string(linha) +
                        " da planilha repetiria o código de outro " + cadastro;
    if (depois == 1)
        texto += ", e a linha seguinte também";
    else if (depois > 1)
        texto += ", e as " + std::to_string(depois) + " linhas seguintes também";
    throw EConversor(texto + ".");
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
