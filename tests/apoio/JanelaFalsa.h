// Stand-ins for the window in tests of the logic: they record the messages, keep the last
// progress shown, and answer the file dialog with what the test queued.
#pragma once

#include "app/logica/Interfaces.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TMensagemGravada {
    std::string tipo;  // "Alerta", "Erro" or "Informação"
    std::string texto;
};

class TMensagensGravadas : public IMensagens {
  public:
    void Alerta(const std::string& texto) override { todas.push_back({"Alerta", texto}); }
    void Erro(const std::string& texto) override { todas.push_back({"Erro", texto}); }
    void Informacao(const std::string& texto) override { todas.push_back({"Informação", texto}); }
    void Sucesso(const std::string& texto, const std::function<std::string()>& aviso,
                 const std::function<std::string()>& detalhe) override {
        todas.push_back({"Informação", texto});
        if (std::string a = aviso(); !a.empty())
            avisosDoFim.push_back(a);
        detalhes.push_back(detalhe());
    }
    void Falha(const std::string& texto, const std::string& detalhe) override {
        todas.push_back({"Erro", texto});
        detalhes.push_back(detalhe);
    }
    bool Pergunta(const std::string& situacao, const std::string&) override {
        perguntas.push_back(situacao);
        return respostaSim;
    }
    // Kept whole for the "Conferência" dialog's tests; recorded as the default shows it too.
    void Conferencia(const TRelatoDaExecucao& relato) override {
        conferencias.push_back(relato);
        IMensagens::Conferencia(relato);
    }

    std::vector<std::string> Textos(const std::string& tipo) const {
        std::vector<std::string> r;
        for (const auto& m : todas) {
            if (m.tipo == tipo)
                r.push_back(m.texto);
        }
        return r;
    }

    std::vector<TMensagemGravada> todas;
    std::vector<std::string> detalhes;     // of the run's end, in order
    std::vector<std::string> avisosDoFim;  // the notices that came with a success
    std::vector<std::string> perguntas;    // the situations asked about
    std::vector<TRelatoDaExecucao> conferencias;
    bool respostaSim = true;
};

class TProgressoGravado : public IProgresso {
  public:
    void Mudou(const TProgresso& p) override {
        ultimo = p;
        ++mudancas;
        if (!p.aguarde.empty() && (legendas.empty() || legendas.back() != p.aguarde)) {
            legendas.push_back(p.aguarde);
        }
    }
    void ProcessaMensagens() override {
        ++processamentos;
        if (aoProcessar)
            aoProcessar();
    }
    void MostraJa() override {
        esperas.push_back(ultimo.aguarde);
        if (aoMostrarJa)
            aoMostrarJa();
    }

    TProgresso ultimo;
    std::vector<std::string> legendas;  // every distinct non-empty caption, in order
    long mudancas = 0;
    long processamentos = 0;
    std::function<void()> aoProcessar;  // what the "window" does while the run lets events run
    std::vector<std::string> esperas;   // the caption shown at each step that lets no events run
    std::function<void()> aoMostrarJa;  // what comes while such a step is about to run
};

class TArquivosFila : public IEscolhaArquivo {
  public:
    std::optional<std::string> Escolhe(const TPedidoArquivo& pedido) override {
        filtros.push_back(pedido.filtro);
        pedidos.push_back(pedido);
        if (respostas.empty())
            return std::nullopt;
        auto r = respostas.front();
        respostas.pop_front();
        return r;
    }

    std::deque<std::optional<std::string>> respostas;  // nullopt: the operator cancelled
    std::vector<std::string> filtros;
    std::vector<TPedidoArquivo> pedidos;
};
