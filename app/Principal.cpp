#include "app/Principal.h"

#include "app/janela/Demonstracao.h"
#include "app/janela/EscolhaArquivoJanela.h"
#include "app/janela/Icone.h"
#include "app/janela/MensagensJanela.h"
#include "app/janela/ProgressoJanela.h"
#include "app/janela/SessaoGrafica.h"
#include "app/janela/SinaisJanela.h"
#include "app/janela/TraducaoDoQt.h"
#include "app/logica/Interrupcao.h"
#include "app/logica/LogicaPrincipal.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTranslator>
#include <algorithm>
#include <cstdio>

namespace {

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// What reaches NumLinha of a key typed into it. Keys that type nothing (arrows, Home, Delete)
// and focus moves pass; of the characters, the logic's filter decides.
bool TeclaEntraNoNumLinha(const QKeyEvent& tecla) {
    switch (tecla.key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
            return true;
        default:
            break;
    }
    const QString texto = tecla.text();
    if (texto.isEmpty())
        return true;
    if (texto.size() != 1 || texto.at(0).unicode() > 0x7F)
        return false;
    return TLogicaPrincipal::NumLinhaKeyPress(static_cast<char>(texto.at(0).unicode())) != '\0';
}

// The box is narrow; its drop-down list opens as wide as the longest sheet name.
void AlargaListaDePlanilhas(QComboBox& caixa) {
    QAbstractItemView* lista = caixa.view();
    int largura =
        lista->sizeHintForColumn(0) + 2 * lista->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    if (caixa.count() > caixa.maxVisibleItems())
        largura += lista->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    lista->setMinimumWidth(std::max(largura, 0));
}

}  // namespace

TFPrincipal::TFPrincipal(std::unique_ptr<IEscolhaArquivo> arquivos) {
    CriaControles();
    setWindowIcon(IconeDoPrograma());
    if (QScreen* tela = QGuiApplication::primaryScreen())
        move(tela->availableGeometry().center() - QPoint(kLargura / 2, kAltura / 2));

    mensagens_ = std::make_unique<TMensagensJanela>(this, [this] {
        if (TInterrupcao::Sinal() > 0)
            FechaAoTerminar();  // a signal may get here before its notice does
        progresso_->MostraAgora();
        MostraControles();
    });
    mensagens_->DefineRelatorio([this] { return logica_->Relato().feito; },
                                [this] { Trata([this] { logica_->btSalvarRelatorioClick(); }); });
    progresso_ = std::make_unique<TProgressoJanela>(
        [this](const TProgresso& p) {
            MostraProgresso(p);
            MostraControles();
        },
        [this] { repaint(); });
    arquivos_ = arquivos ? std::move(arquivos) : std::make_unique<TEscolhaArquivoJanela>(this);
    logica_ = std::make_unique<TLogicaPrincipal>(*mensagens_, *progresso_, *arquivos_);
    sinais_ = std::make_unique<TSinaisJanela>([this] { AoSinal(); });

    connect(Btabrir, &QPushButton::clicked, this, &TFPrincipal::BtabrirClick);
    connect(btAbrirAlmuro, &QPushButton::clicked, this, &TFPrincipal::btAbrirAlmuroClick);
    connect(btnAbrirTessaly, &QPushButton::clicked, this, &TFPrincipal::btnAbrirTessalyClick);
    connect(btOK, &QPushButton::clicked, this, &TFPrincipal::btOKClick);
    connect(btVerificar, &QPushButton::clicked, this, &TFPrincipal::btVerificarClick);
    connect(btSair, &QPushButton::clicked, this, &TFPrincipal::btSairClick);
    connect(MostraPlanilha, &QComboBox::activated, this, [this](int indice) {
        if (!mostrando_ && indice != logica_->IndicePlanilha())
            Trata([&] { logica_->EscolhePlanilha(indice); });
    });
    connect(MostraPlanilha, &QComboBox::editTextChanged, this, [this](const QString& texto) {
        if (!mostrando_)
            Trata([&] { logica_->DigitaPlanilha(texto.toStdString()); });
    });
    connect(NumLinha, &QLineEdit::textEdited, this,
            [this](const QString& texto) { logica_->DefineNumLinha(texto.toStdString()); });
    const std::pair<QRadioButton*, TTipoConversao> tipos[] = {
        {rbtProdutos, TTipoConversao::Produtos},
        {rbtCliente, TTipoConversao::Clientes},
        {rbtFornece, TTipoConversao::Fornecedores}};
    for (const auto& [botao, tipo] : tipos) {
        connect(botao, &QRadioButton::toggled, this, [this, tipo = tipo](bool marcado) {
            if (marcado && !mostrando_)
                logica_->DefineTipo(tipo);
        });
    }
    // Key preview: the window sees every key of its controls before they do.
    qApp->installEventFilter(this);

    FormCreate();
}

TFPrincipal::~TFPrincipal() = default;

// ---- Event handlers -----------------------------------------------------------------------

template <class F>
void TFPrincipal::Trata(F&& handler) {
    std::string erro;
    try {
        handler();
    } catch (const std::exception& e) {
        erro = e.what();
        if (erro.empty())
            erro = "Erro inesperado.";
    } catch (...) {
        erro = "Erro inesperado.";
    }
    Mostra();
    if (!erro.empty() && !Fechando())
        MostraErroDoPrograma(this, erro);
}

void TFPrincipal::FormCreate() {
    Trata([this] { logica_->FormCreate(); });
    Btabrir->setFocus();
}

void TFPrincipal::BtabrirClick() {
    Trata([this] { logica_->BtabrirClick(); });
}

void TFPrincipal::btAbrirAlmuroClick() {
    Trata([this] { logica_->btAbrirAlmuroClick(); });
}

void TFPrincipal::btnAbrirTessalyClick() {
    Trata([this] { logica_->btnAbrirTessalyClick(); });
}

void TFPrincipal::btOKClick() {
    const size_t antes = mensagens_->Mostradas();
    Trata([this] { logica_->btOKClick(); });
    AposExecucao(antes, btOK);
}

void TFPrincipal::btVerificarClick() {
    const size_t antes = mensagens_->Mostradas();
    Trata([this] { logica_->btVerificarClick(); });
    AposExecucao(antes, btVerificar);
}

void TFPrincipal::AposExecucao(size_t mensagensAntes, QPushButton* botao) {
    if (Fechando()) {
        // The run was stopped and has ended; the window goes as it was asked to.
        FechaAoTerminar();
        close();
        return;
    }
    // A run always ends on its error or success box; a warning last means the inputs stopped
    // it, and the focus goes where the warning points.
    QWidget* foco = nullptr;
    if (mensagens_->Mostradas() > mensagensAntes &&
        mensagens_->UltimoTipo() == TMensagensJanela::kAlerta)
        foco = Controle(logica_->Foco());
    if (!foco && (!focusWidget() || !focusWidget()->isEnabled()))
        foco = botao;
    if (foco)
        foco->setFocus();
}

void TFPrincipal::btSairClick() {
    close();
}

bool TFPrincipal::FormKeyDown(int tecla) {
    return logica_->FormKeyDown(tecla);
}

void TFPrincipal::closeEvent(QCloseEvent* evento) {
    // The running loop still uses the staging table, the connections and the widgets: the run
    // ends first, and the window closes when the click that started it returns.
    if (!logica_->PodeFechar()) {
        evento->ignore();
        if (Fechando())
            return;
        if (logica_->Gravando()) {
            // Too late to undo anything: the run ends committed, its box tells that the stop
            // came, and the window closes after it.
            fecharAoTerminar_ = true;
            TInterrupcao::Pede(TInterrupcao::kPedidoDoOperador);
            return;
        }
        if (PerguntaInterromper()) {
            FechaAoTerminar();
            TInterrupcao::Pede(TInterrupcao::kPedidoDoOperador);
        }
        return;
    }
    // The engine's last writes happen while the window is still there, so that nothing is left
    // running once it has gone.
    logica_->Encerra();
    evento->accept();
}

bool TFPrincipal::PerguntaInterromper() {
    progresso_->MostraAgora();
    return PerguntaSimNao(this, QMessageBox::Question, kPerguntaInterromper);
}

void TFPrincipal::AoSinal() {
    FechaAoTerminar();
    // A box or dialog waiting for the operator would hold the run or the closing back.
    for (int i = 0; i < 8; ++i) {
        auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialogo)
            break;
        dialogo->reject();
    }
    if (!logica_->PodeFechar())
        return;  // the run sees the stop at its next record; btOKClick closes after it
    close();
}

bool TFPrincipal::Fechando() const {
    return fecharAoTerminar_ || TInterrupcao::Pedida();
}

void TFPrincipal::FechaAoTerminar() {
    fecharAoTerminar_ = true;
    mensagens_->Silencia();
}

bool TFPrincipal::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() != QEvent::KeyPress)
        return false;
    auto* alvo = qobject_cast<QWidget*>(objeto);
    if (!alvo || alvo->window() != this)
        return false;
    const auto& tecla = *static_cast<QKeyEvent*>(evento);
    if (tecla.key() == Qt::Key_Escape) {
        constexpr int kEsc = 27;
        if (!FormKeyDown(kEsc))
            return false;
        close();
        return true;
    }
    return objeto == NumLinha && !TeclaEntraNoNumLinha(tecla);
}

// ---- The logic's state in the widgets -----------------------------------------------------

void TFPrincipal::Mostra() {
    mostrando_ = true;
    // A long path does not fit its box; the tooltip shows it whole.
    const std::pair<QLineEdit*, std::string> caminhos[] = {
        {Caminho, logica_->Caminho()},
        {CaminhoAlmuro, logica_->CaminhoAlmuro()},
        {edtCaminhoTessaly, logica_->CaminhoTessaly()}};
    for (const auto& [caixa, caminho] : caminhos) {
        caixa->setText(Q(caminho));
        caixa->setToolTip(Q(caminho));
    }
    MostraPlanilhas();
    if (NumLinha->text() != Q(logica_->NumLinha()))
        NumLinha->setText(Q(logica_->NumLinha()));
    switch (logica_->Tipo()) {
        case TTipoConversao::Produtos:
            rbtProdutos->setChecked(true);
            break;
        case TTipoConversao::Clientes:
            rbtCliente->setChecked(true);
            break;
        case TTipoConversao::Fornecedores:
            rbtFornece->setChecked(true);
            break;
    }
    mostrando_ = false;
    MostraProgresso(logica_->Progresso());
    MostraControles();
}

// The list is rebuilt only when the workbook's sheets changed, and the text only when it is not
// what the operator is typing. A sheet name longer than the box shows whole in its tooltip.
void TFPrincipal::MostraPlanilhas() {
    QStringList nomes;
    for (const std::string& n : logica_->Planilhas())
        nomes << Q(n);
    QStringList atuais;
    for (int i = 0; i < MostraPlanilha->count(); ++i)
        atuais << MostraPlanilha->itemText(i);
    const QString texto = Q(logica_->TextoPlanilha());
    if (nomes != atuais) {
        MostraPlanilha->clear();
        MostraPlanilha->addItems(nomes);
        for (int i = 0; i < nomes.size(); ++i)
            MostraPlanilha->setItemData(i, nomes[i], Qt::ToolTipRole);
        AlargaListaDePlanilhas(*MostraPlanilha);
    }
    if (nomes != atuais || MostraPlanilha->currentText() != texto) {
        MostraPlanilha->setCurrentIndex(logica_->IndicePlanilha());
        MostraPlanilha->setEditText(texto);
    }
    MostraPlanilha->setToolTip(texto);
}

void TFPrincipal::MostraControles() {
    const bool habilitados = logica_->ControlesHabilitados();
    for (QWidget* w : {static_cast<QWidget*>(Btabrir), static_cast<QWidget*>(btAbrirAlmuro),
                       static_cast<QWidget*>(btOK), static_cast<QWidget*>(btVerificar),
                       static_cast<QWidget*>(btSair), static_cast<QWidget*>(rbtProdutos),
                       static_cast<QWidget*>(rbtCliente), static_cast<QWidget*>(rbtFornece),
                       static_cast<QWidget*>(MostraPlanilha), static_cast<QWidget*>(NumLinha),
                       static_cast<QWidget*>(btnAbrirTessaly)})
        w->setEnabled(habilitados);
}

void TFPrincipal::MostraProgresso(const TProgresso& progresso) {
    lblAguarde->setText(Q(progresso.aguarde));
    if (progresso.status.empty())
        stbStatus->clearMessage();
    else
        stbStatus->showMessage(Q(progresso.status));
    // An empty range would turn the gauge into a busy indicator; past the end it stays full.
    const int maximo = std::max(progresso.barraMaximo, 0);
    Barra->setRange(0, std::max(maximo, 1));
    Barra->setValue(std::clamp(progresso.barraPosicao, 0, maximo));
}

QWidget* TFPrincipal::Controle(TControle controle) {
    switch (controle) {
        case TControle::Btabrir:
            return Btabrir;
        case TControle::MostraPlanilha:
            return MostraPlanilha;
        case TControle::NumLinha:
            return NumLinha;
        case TControle::btAbrirAlmuro:
            return btAbrirAlmuro;
        case TControle::btnAbrirTessaly:
            return btnAbrirTessaly;
        case TControle::Nenhum:
            break;
    }
    return nullptr;
}

// ---- Program start ------------------------------------------------------------------------

int AbreJanelaPrincipal(int argc, char** argv) {
    if (const std::string falta = FaltaSessaoGrafica(); !falta.empty()) {
        std::fprintf(stderr, "%s\n", falta.c_str());
        return 2;
    }
    QApplication aplicacao(argc, argv);
    aplicacao.setWindowIcon(IconeDoPrograma());
    // Lets the desktop tie the window to the installed conversor.desktop and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("conversor"));
    const std::unique_ptr<QTranslator> traducao = TraducaoDoQt();
    if (traducao)
        aplicacao.installTranslator(traducao.get());
    TFPrincipal janela(EscolhaDaDemonstracao());
    janela.show();
    IniciaDemonstracao(janela);
    return aplicacao.exec();
}
