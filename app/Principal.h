// The main window: a view over TLogicaPrincipal. It shows the logic's state in the widgets and
// forwards the operator's events to it; what a click does is decided there.
#pragma once

#include "app/logica/Interfaces.h"

#include <QWidget>
#include <memory>
#include <string>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStatusBar;
class TLogicaPrincipal;
class TMensagensJanela;
class TProgressoJanela;
class TSinaisJanela;
struct TProgresso;
enum class TControle;

class TFPrincipal : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kLargura = 593;
    static constexpr int kAltura = 385;
    static constexpr const char* kTitulo = "Conversor Korvane + Tessaly";
    static constexpr const char* kPerguntaInterromper =
        "Interromper a conversão? Nada será gravado.";

    // arquivos answers the file dialogs; without one the window shows Qt's own dialog.
    explicit TFPrincipal(std::unique_ptr<IEscolhaArquivo> arquivos = nullptr);
    ~TFPrincipal() override;

    TLogicaPrincipal& Logica() { return *logica_; }

  protected:
    void closeEvent(QCloseEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    // Widgets and their places (ControlesPrincipal.cpp).
    void CriaControles();
    void DefineOrdemTab();

    // Event handlers.
    void FormCreate();
    void BtabrirClick();
    void btAbrirAlmuroClick();
    void btnAbrirTessalyClick();
    void btOKClick();
    void btVerificarClick();
    void btSairClick();
    bool FormKeyDown(int tecla);
    // What follows a run or a check: the window closing if a stop was asked, else the focus
    // where the operator goes on.
    void AposExecucao(size_t mensagensAntes, QPushButton* botao);

    // Closing during a run: "Sim" ends the run at its next record, rolled back, and the window
    // closes after it; "Não" lets the run go on.
    bool PerguntaInterromper();
    // A stop asked by a signal: a run ends the same way; an idle window closes at once.
    void AoSinal();
    // The run is to end and the window to close after it; its closing messages are not shown.
    void FechaAoTerminar();
    // A stop was asked for (by the operator or a signal): the window is on its way out.
    bool Fechando() const;

    // Runs a handler of the logic; an error that escapes it goes to the program's error box.
    template <class F>
    void Trata(F&& handler);

    // The logic's state in the widgets.
    void Mostra();
    void MostraControles();
    void MostraPlanilhas();
    void MostraProgresso(const TProgresso& progresso);
    QWidget* Controle(TControle controle);

    std::unique_ptr<TMensagensJanela> mensagens_;
    std::unique_ptr<TProgressoJanela> progresso_;
    std::unique_ptr<IEscolhaArquivo> arquivos_;
    std::unique_ptr<TLogicaPrincipal> logica_;
    std::unique_ptr<TSinaisJanela> sinais_;
    bool fecharAoTerminar_ = false;
    bool mostrando_ = false;  // the view is writing to the widgets: their signals are not events

    QFrame* Panel1 = nullptr;
    QLabel* Image = nullptr;
    QLabel* Label1 = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* CaminhoAlmuro = nullptr;
    QPushButton* btAbrirAlmuro = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Caminho = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* MostraPlanilha = nullptr;
    QPushButton* Btabrir = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* NumLinha = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* edtCaminhoTessaly = nullptr;
    QPushButton* btnAbrirTessaly = nullptr;
    QPushButton* btOK = nullptr;
    QPushButton* btVerificar = nullptr;
    QPushButton* btSair = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QRadioButton* rbtProdutos = nullptr;
    QRadioButton* rbtCliente = nullptr;
    QRadioButton* rbtFornece = nullptr;
    QFrame* Panel3 = nullptr;
    QLabel* lblAguarde = nullptr;
    QProgressBar* Barra = nullptr;
    QStatusBar* stbStatus = nullptr;
};

// Starts the application with the main window and runs it until the window closes.
int AbreJanelaPrincipal(int argc, char** argv);
