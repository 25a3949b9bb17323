// The window's messages and progress on a terminal: messages on stderr (the success message on
// stdout), a progress bar on stderr only when stderr is a terminal.
#pragma once

#include "app/logica/Interfaces.h"

#include <chrono>
#include <functional>
#include <string>

namespace cli {

class TTerminal : public IMensagens, public IProgresso, public IEscolhaArquivo {
  public:
    TTerminal();

    // While a run is under way, warnings are printed as "Alerta: <text>"; before it, they are
    // the input warnings that end the command with exit code 2.
    void DefineEmExecucao(std::function<bool()> emExecucao) { emExecucao_ = std::move(emExecucao); }
    bool HouveAvisoDeEntrada() const { return avisoDeEntrada_; }
    bool HouveErro() const { return erro_; }
    bool HouveSucesso() const { return sucesso_; }
    // A check went through every record (with or without problems).
    bool HouveConferencia() const { return conferencia_; }

    void Alerta(const std::string& texto) override;
    void Erro(const std::string& texto) override;
    void Informacao(const std::string& texto) override;
    // The text on stdout, flushed before the detail is asked for.
    void Sucesso(const std::string& texto, const std::function<std::string()>& detalhe) override;
    // The error as Erro prints it, then what was undone.
    void Falha(const std::string& texto, const std::string& detalhe) override;
    // No one to ask: the run goes on, and the situation is printed as "Alerta: <situation>".
    bool Pergunta(const std::string& situacao, const std::string& pergunta) override;
    // On stdout: one line per problem, the summary with the account, and the last line. A
    // check without problems counts as a success.
    void Conferencia(const TRelatoDaExecucao& relato) override;

    void Mudou(const TProgresso& progresso) override;
    void ProcessaMensagens() override {}

    // There is no dialog on a terminal: the paths come as options.
    std::optional<std::string> Escolhe(const TPedidoArquivo&) override { return std::nullopt; }

    // Clears the progress line, if one is shown.
    void LimpaBarra();

  private:
    bool terminal_;
    std::function<bool()> emExecucao_ = [] { return false; };
    bool avisoDeEntrada_ = false;
    bool erro_ = false;
    bool sucesso_ = false;
    bool conferencia_ = false;
    bool barraVisivel_ = false;
    std::chrono::steady_clock::time_point ultimoDesenho_{};
};

// Line breaks of a message for a single terminal line.
std::string NumaLinha(std::string texto);

}  // namespace cli
