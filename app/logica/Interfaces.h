// What the window's logic asks of whatever shows it: message boxes, the progress display and
// the file dialog. The Qt window, the command line and the tests each provide their own.
#pragma once

#include "app/logica/RelatoDaExecucao.h"
#include "conversion/Avisos.h"

#include <functional>
#include <optional>
#include <string>

// Modal messages with one "OK" button; the caption names the kind. Texts are UTF-8.
class IMensagens : public IAvisos {
  public:
    // "Alerta" (also the warnings of the lookups, through IAvisos)
    void Alerta(const std::string& texto) override = 0;
    // "Erro"
    virtual void Erro(const std::string& texto) = 0;
    // "Informação"
    virtual void Informacao(const std::string& texto) = 0;

    // The end of a run that went through: "Informação" with the text and, as its detail, what
    // the run did. The detail is asked for once the text is out, so that a terminal shows the
    // text the moment the run is committed.
    virtual void Sucesso(const std::string& texto, const std::function<std::string()>& detalhe) = 0;
    // The end of a run that failed: "Erro" with the text and, as its detail, what was undone.
    virtual void Falha(const std::string& texto, const std::string& detalhe) = 0;
    // A doubt about the inputs, before anything is done: the situation and the question, with
    // "Sim" and "Não"; true for "Sim". A terminal goes on, printing the situation as a warning.
    virtual bool Pergunta(const std::string& situacao, const std::string& pergunta) = 0;
    // The end of a check that went through every record: its problems (in the order found),
    // its account and its last line are in relato. By default: with no problem, Sucesso with
    // the last line and the summary as detail; otherwise Falha with the last line and, as
    // detail, one line per problem and the summary.
    virtual void Conferencia(const TRelatoDaExecucao& relato);
};

// lblAguarde, stbStatus and Barra as the logic last set them.
struct TProgresso {
    std::string aguarde = "...";
    std::string status;
    int barraPosicao = 0;
    int barraMaximo = 100;
};

class IProgresso {
  public:
    virtual ~IProgresso() = default;
    // The display changed; a view may repaint later (throttled) as long as it shows these texts.
    virtual void Mudou(const TProgresso& progresso) = 0;
    // Let pending window events run (painting, moving, the refused close).
    virtual void ProcessaMensagens() = 0;
};

// What one file-open dialog shows: its title, the filter in the window's own form
// ("Descrição (*.a;*.b)|*.a; *.b") and the folder it opens in (empty: the dialog's own choice).
struct TPedidoArquivo {
    std::string titulo;
    std::string filtro;
    std::string pasta;
};

// The file-open dialog; the result is a UTF-8 path, or nothing when cancelled.
class IEscolhaArquivo {
  public:
    virtual ~IEscolhaArquivo() = default;
    virtual std::optional<std::string> Escolhe(const TPedidoArquivo& pedido) = 0;
};
