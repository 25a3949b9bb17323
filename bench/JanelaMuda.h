// A window that shows nothing: the benchmarks drive the window's logic without paying for a
// display, and only warnings and errors reach the terminal.
#pragma once

#include "app/logica/Interfaces.h"

#include <chrono>
#include <iostream>
#include <optional>
#include <string>

struct TJanelaMuda : IMensagens, IProgresso, IEscolhaArquivo {
    void Alerta(const std::string& t) override { std::cerr << "Alerta: " << t << "\n"; }
    void Erro(const std::string& t) override { std::cerr << "Erro: " << t << "\n"; }
    void Informacao(const std::string&) override {}
    void Sucesso(const std::string&, const std::function<std::string()>&) override {}
    void Falha(const std::string& t, const std::string&) override { Erro(t); }
    void Conferencia(const TRelatoDaExecucao&) override {}
    bool Pergunta(const std::string&, const std::string&) override { return true; }
    void Mudou(const TProgresso&) override {}
    void ProcessaMensagens() override {}
    std::optional<std::string> Escolhe(const TPedidoArquivo&) override { return std::nullopt; }
};

inline double Segundos(std::chrono::steady_clock::time_point desde) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - desde).count();
}
