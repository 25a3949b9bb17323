#include "app/cli/Terminal.h"

#include <unistd.h>

#include <iostream>

namespace cli {

TTerminal::TTerminal() : terminal_(isatty(STDERR_FILENO) == 1) {}

std::string NumaLinha(std::string texto) {
    for (char& c : texto) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return texto;
}

void TTerminal::Alerta(const std::string& texto) {
    LimpaBarra();
    if (emExecucao_()) {
        std::cerr << "Alerta: " << NumaLinha(texto) << "\n";
    } else {
        avisoDeEntrada_ = true;
        std::cerr << texto << "\n";
    }
}

void TTerminal::Erro(const std::string& texto) {
    LimpaBarra();
    erro_ = true;
    // The message box shows a carriage return between the prefix and the reason.
    std::string saida = texto;
    const size_t cr = saida.find('\r');
    if (cr != std::string::npos)
        saida[cr] = '\n';
    std::cerr << saida << "\n";
}

void TTerminal::Informacao(const std::string& texto) {
    LimpaBarra();
    sucesso_ = true;
    std::cout << texto << "\n";
}

void TTerminal::Sucesso(const std::string& texto, const std::function<std::string()>& detalhe) {
    LimpaBarra();
    sucesso_ = true;
    // Once the run is committed its line must be out, whatever happens to the process next.
    std::cout << texto << std::endl;
    std::cout << detalhe() << std::endl;
}

void TTerminal::Falha(const std::string& texto, const std::string& detalhe) {
    Erro(texto);
    std::cerr << detalhe << "\n";
}

void TTerminal::Conferencia(const TRelatoDaExecucao& relato) {
    LimpaBarra();
    conferencia_ = true;
    sucesso_ = relato.problemas.empty();
    for (const TProblema& p : relato.problemas)
        std::cout << p.Linha() << "\n";
    std::cout << relato.resumo << "\n" << relato.FimDaConferencia() << std::endl;
}

bool TTerminal::Pergunta(const std::string& situacao, const std::string&) {
    LimpaBarra();
    std::cerr << "Alerta: " << NumaLinha(situacao) << "\n";
    return true;
}

void TTerminal::Mudou(const TProgresso& p) {
    if (!terminal_ || !emExecucao_())
        return;
    const auto agora = std::chrono::steady_clock::now();
    if (barraVisivel_ && agora - ultimoDesenho_ < std::chrono::milliseconds(100))
        return;
    ultimoDesenho_ = agora;
    constexpr int kLargura = 30;
    const int cheio = p.barraMaximo > 0 ? static_cast<int>(static_cast<long long>(kLargura) *
                                                           std::min(p.barraPosicao, p.barraMaximo) /
                                                           p.barraMaximo)
                                        : 0;
    std::string linha = "\r\033[K[" + std::string(static_cast<size_t>(cheio), '#') +
                        std::string(static_cast<size_t>(kLargura - cheio), ' ') + "] " +
                        NumaLinha(p.aguarde);
    if (!p.status.empty())
        linha += "  " + NumaLinha(p.status);
    std::cerr << linha << std::flush;
    barraVisivel_ = true;
}

void TTerminal::LimpaBarra() {
    if (!barraVisivel_)
        return;
    std::cerr << "\r\033[K" << std::flush;
    barraVisivel_ = false;
}

}  // namespace cli
