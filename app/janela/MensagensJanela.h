// The window's message boxes: modal, one "OK" button (the one Enter presses), the caption naming
// the kind, and the box for an error that no handler dealt with.
#pragma once

#include "app/logica/Interfaces.h"

#include <QMessageBox>
#include <functional>
#include <string>

class QWidget;

class TMensagensJanela : public IMensagens {
  public:
    static constexpr const char* kAlerta = "Alerta";
    static constexpr const char* kErro = "Erro";
    static constexpr const char* kInformacao = "Informação";

    // antes runs before each box, so that the window behind it shows the latest state (it may
    // also silence the box).
    TMensagensJanela(QWidget* dono, std::function<void()> antes);

    void Alerta(const std::string& texto) override;
    void Erro(const std::string& texto) override;
    void Informacao(const std::string& texto) override;
    // The notice, when there is one, shows under the text.
    void Sucesso(const std::string& texto, const std::function<std::string()>& aviso,
                 const std::function<std::string()>& detalhe) override;
    void Falha(const std::string& texto, const std::string& detalhe) override;
    // An "Alerta" box with "Sim" and "Não"; "Não" is the default, and Esc answers it.
    bool Pergunta(const std::string& situacao, const std::string& pergunta) override;

    // A check that found problems: the "Conferência" dialog. Without problems, the
    // information box with the account as detail.
    void Conferencia(const TRelatoDaExecucao& relato) override;

    // The boxes at the end of a run and the check's dialog offer "Salvar relatório..." when
    // disponivel says there is a report; salvar saves it. A box comes back after it, so that
    // the operator still reads it and answers "OK".
    void DefineRelatorio(std::function<bool()> disponivel, std::function<void()> salvar) {
        relatorioDisponivel_ = std::move(disponivel);
        salvarRelatorio_ = std::move(salvar);
    }

    // From now on the boxes are counted but not shown: the window is closing.
    void Silencia() { silenciosa_ = true; }

    // How many boxes were shown, and the caption of the last one ("" before the first).
    size_t Mostradas() const { return mostradas_; }
    const std::string& UltimoTipo() const { return ultimoTipo_; }

  private:
    void Mostra(QMessageBox::Icon icone, const char* titulo, const std::string& texto,
                const std::string& detalhe = {}, bool fimDeExecucao = false);
    void Conta(const char* titulo);
    bool ComRelatorio() const;

    QWidget* dono_;
    std::function<void()> antes_;
    size_t mostradas_ = 0;
    std::string ultimoTipo_;
    bool silenciosa_ = false;
    std::function<bool()> relatorioDisponivel_;
    std::function<void()> salvarRelatorio_;
};

// The box for an error that escaped an event handler (a workbook or a database that cannot be
// opened): captioned "Erro" like every error, an error icon and "OK". The program goes on
// afterwards.
void MostraErroDoPrograma(QWidget* dono, const std::string& texto);

// A modal question captioned "Alerta" with "Sim" and "Não"; "Não" is the default and Esc answers
// it, so that only a deliberate "Sim" says yes.
bool PerguntaSimNao(QWidget* dono, QMessageBox::Icon icone, const std::string& texto);

// A UTF-8 message as a box shows it: the carriage returns of the messages become line breaks.
QString TextoDaMensagem(const std::string& texto);
