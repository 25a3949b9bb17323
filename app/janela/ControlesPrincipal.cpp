// The main window's widgets, their captions and places. Places and sizes follow the window's
// original layout, widened where Qt's widgets need more room for the same captions.
#include "app/Principal.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>

namespace {

template <class T>
T* Novo(QWidget* pai, const char* nome, int x, int y, int largura, int altura) {
    T* w = new T(pai);
    w->setObjectName(QString::fromLatin1(nome));
    w->setGeometry(x, y, largura, altura);
    return w;
}

QLabel* Rotulo(QWidget* pai, const char* nome, int x, int y, int largura, const char* texto,
               bool negrito = true) {
    QLabel* r = Novo<QLabel>(pai, nome, x, y, largura, 16);
    r->setText(QString::fromUtf8(texto));
    if (negrito) {
        QFont f = r->font();
        f.setBold(true);
        r->setFont(f);
    }
    return r;
}

QLineEdit* CaixaDeCaminho(QWidget* pai, const char* nome, int x, int y, int largura) {
    QLineEdit* e = Novo<QLineEdit>(pai, nome, x, y, largura, 22);
    e->setEnabled(false);  // display only: paths come from the dialogs
    return e;
}

QPushButton* Botao(QWidget* pai, const char* nome, int x, int y, int largura, int altura,
                   const char* texto, QStyle::StandardPixmap figura) {
    QPushButton* b = Novo<QPushButton>(pai, nome, x, y, largura, altura);
    b->setText(QString::fromUtf8(texto));
    b->setIcon(pai->style()->standardIcon(figura));
    b->setAutoDefault(false);
    return b;
}

QFrame* Painel(QWidget* pai, const char* nome, int y, int altura, bool relevo) {
    QFrame* p = Novo<QFrame>(pai, nome, 0, y, TFPrincipal::kLargura, altura);
    p->setFrameShape(relevo ? QFrame::StyledPanel : QFrame::NoFrame);
    p->setFrameShadow(QFrame::Raised);
    return p;
}

}  // namespace

void TFPrincipal::CriaControles() {
    Q_INIT_RESOURCE(janela);

    setWindowTitle(QString::fromUtf8(kTitulo));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kLargura, kAltura);
    QFont fonte = font();
    fonte.setPointSize(8);
    setFont(fonte);
    // The window's background is the light shade of the buttons.
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, paleta.color(QPalette::Light));
    setPalette(paleta);
    setAutoFillBackground(true);

    // Header.
    Panel1 = Painel(this, "Panel1", 0, 76, true);
    Image = Novo<QLabel>(Panel1, "Image", 5, 3, 179, 68);
    Image->setPixmap(QPixmap(QStringLiteral(":/janela/logo.png")));
    Image->setScaledContents(true);
    Label1 =
        Rotulo(Panel1, "Label1", 196, 28, 390, "Conversor Korvane - Tessaly (Excel + Firebird)");
    QFont titulo = Label1->font();
    titulo.setPointSize(10);
    Label1->setFont(titulo);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFixedHeight(20);

    // Inputs.
    Panel2 = Painel(this, "Panel2", 76, 237, false);
    Label4 = Rotulo(Panel2, "Label4", 6, 4, 300, "Caminho do banco ALMURO:");
    CaminhoAlmuro = CaixaDeCaminho(Panel2, "CaminhoAlmuro", 5, 20, 505);
    btAbrirAlmuro =
        Botao(Panel2, "btAbrirAlmuro", 515, 18, 72, 26, "&Abrir", QStyle::SP_DialogOpenButton);

    Label2 =
        Rotulo(Panel2, "Label2", 5, 57, 400, "Caminho da planilha a ser convertida (KORVANE):");
    Caminho = CaixaDeCaminho(Panel2, "Caminho", 5, 73, 372);
    Label3 = Rotulo(Panel2, "Label3", 382, 57, 128, "Escolher a planilha:");
    MostraPlanilha = Novo<QComboBox>(Panel2, "MostraPlanilha", 382, 73, 128, 22);
    MostraPlanilha->setEditable(true);
    MostraPlanilha->setInsertPolicy(QComboBox::NoInsert);
    Btabrir = Botao(Panel2, "Btabrir", 515, 71, 72, 26, "&Abrir", QStyle::SP_DialogOpenButton);

    Label5 =
        Rotulo(Panel2, "Label5", 8, 103, 300, "Informe a linha do último registro da planilha");
    NumLinha = Novo<QLineEdit>(Panel2, "NumLinha", 0, 100, 75, 22);
    NumLinha->move(Label5->x() + Label5->sizeHint().width() + 8, NumLinha->y());

    Label6 = Rotulo(Panel2, "Label6", 6, 132, 300, "Caminho do banco TESSALY:");
    edtCaminhoTessaly = CaixaDeCaminho(Panel2, "edtCaminhoTessaly", 5, 148, 505);
    btnAbrirTessaly =
        Botao(Panel2, "btnAbrirTessaly", 515, 146, 72, 26, "&Abrir", QStyle::SP_DialogOpenButton);

    // The check sits between the run and the exit; the kind group gave up the room it had
    // to spare on its right for it.
    btOK = Botao(Panel2, "btOK", 297, 199, 132, 30, "&Efetuar Conversão",
                 QStyle::SP_DialogApplyButton);
    btVerificar = Botao(Panel2, "btVerificar", 435, 199, 86, 30, "&Verificar",
                        QStyle::SP_FileDialogContentsView);
    btSair = Botao(Panel2, "btSair", 527, 199, 60, 30, "&Sair", QStyle::SP_DialogCloseButton);

    // The kind of record, over the lower edge of the inputs.
    GroupBox2 = Novo<QGroupBox>(this, "GroupBox2", 8, 264, 283, 44);
    GroupBox2->setTitle(QString::fromUtf8("| Tabelas à Converter |"));
    QFont negrito = GroupBox2->font();
    negrito.setBold(true);
    GroupBox2->setFont(negrito);
    rbtProdutos = Novo<QRadioButton>(GroupBox2, "rbtProdutos", 13, 18, 80, 20);
    rbtProdutos->setText(QStringLiteral("Produtos"));
    rbtCliente = Novo<QRadioButton>(GroupBox2, "rbtCliente", 96, 18, 72, 20);
    rbtCliente->setText(QStringLiteral("Cliente"));
    rbtFornece = Novo<QRadioButton>(GroupBox2, "rbtFornece", 171, 18, 104, 20);
    rbtFornece->setText(QStringLiteral("Fornecedor"));
    for (QRadioButton* r : {rbtProdutos, rbtCliente, rbtFornece})
        r->setFont(fonte);
    GroupBox2->raise();

    // Progress, and the status bar below it.
    Panel3 = Painel(this, "Panel3", kAltura - 20 - 50, 50, true);
    lblAguarde = Rotulo(Panel3, "lblAguarde", 5, 3, 580, "...");
    Barra = Novo<QProgressBar>(Panel3, "Barra", 5, 22, 583, 17);
    Barra->setTextVisible(false);
    Barra->setRange(0, 100);
    Barra->setValue(0);
    stbStatus = Novo<QStatusBar>(this, "stbStatus", 0, kAltura - 20, kLargura, 20);
    stbStatus->setSizeGripEnabled(false);

    DefineOrdemTab();
}

// Inputs first, from the workbook's button; the kind of record last.
void TFPrincipal::DefineOrdemTab() {
    QWidget* const ordem[] = {
        Btabrir,         Caminho,       MostraPlanilha, btOK,      btVerificar,
        btSair,          CaminhoAlmuro, btAbrirAlmuro,  NumLinha,  edtCaminhoTessaly,
        btnAbrirTessaly, rbtProdutos,   rbtCliente,     rbtFornece};
    for (size_t i = 0; i + 1 < std::size(ordem); ++i)
        setTabOrder(ordem[i], ordem[i + 1]);
}
