#include "app/janela/DialogoConferencia.h"

#include <QClipboard>
#include <QCollator>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

namespace {

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// Places hold row numbers: "linha 9" comes before "linha 10".
class TCelula : public QTableWidgetItem {
  public:
    explicit TCelula(const QString& texto) : QTableWidgetItem(texto) {
        setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        setToolTip(texto);
    }
    bool operator<(const QTableWidgetItem& outro) const override {
        static const QCollator ordem = [] {
            QCollator c(QLocale(QStringLiteral("pt_BR")));
            c.setNumericMode(true);
            c.setCaseSensitivity(Qt::CaseInsensitive);
            return c;
        }();
        return ordem.compare(text(), outro.text()) < 0;
    }
};

// Ctrl+C copies whole rows, not the current cell alone.
class TTabelaProblemas : public QTableWidget {
  public:
    TTabelaProblemas(std::function<QString()> selecao, QWidget* pai)
        : QTableWidget(pai), selecao_(std::move(selecao)) {}

  protected:
    void keyPressEvent(QKeyEvent* evento) override {
        if (evento->matches(QKeySequence::Copy)) {
            QGuiApplication::clipboard()->setText(selecao_());
            evento->accept();
            return;
        }
        QTableWidget::keyPressEvent(evento);
    }

  private:
    std::function<QString()> selecao_;
};

}  // namespace

TDialogoConferencia::TDialogoConferencia(TQuadroConferencia quadro, std::function<void()> salvar,
                                         QWidget* dono)
    : QDialog(dono), quadro_(std::move(quadro)) {
    setWindowTitle(QString::fromUtf8(TQuadroConferencia::kTitulo));
    setObjectName(QStringLiteral("DialogoConferencia"));
    resize(720, 440);

    auto* conclusao = new QLabel(Q(quadro_.Conclusao()), this);
    conclusao->setObjectName(QStringLiteral("lblConclusao"));
    QFont negrito = conclusao->font();
    negrito.setBold(true);
    conclusao->setFont(negrito);

    auto* conta = new QPlainTextEdit(Q(quadro_.Conta()), this);
    conta->setObjectName(QStringLiteral("txtConta"));
    conta->setReadOnly(true);
    conta->setLineWrapMode(QPlainTextEdit::NoWrap);
    conta->setMaximumHeight(conta->fontMetrics().lineSpacing() * 7 + 12);

    tabela_ = new TTabelaProblemas([this] { return TextoDaSelecao(); }, this);
    tabela_->setObjectName(QStringLiteral("tabelaProblemas"));
    tabela_->setColumnCount(static_cast<int>(TQuadroConferencia::kColunas.size()));
    QStringList titulos;
    for (const char* t : TQuadroConferencia::kColunas)
        titulos << QString::fromUtf8(t);
    tabela_->setHorizontalHeaderLabels(titulos);
    tabela_->setRowCount(static_cast<int>(quadro_.Linhas()));
    for (size_t l = 0; l < quadro_.Linhas(); ++l) {
        for (size_t c = 0; c < TQuadroConferencia::kColunas.size(); ++c) {
            auto* celula = new TCelula(Q(quadro_.Celula(l, c)));
            // Which problem the row shows, whatever order the table is sorted in.
            celula->setData(Qt::UserRole, static_cast<qulonglong>(l));
            tabela_->setItem(static_cast<int>(l), static_cast<int>(c), celula);
        }
    }
    tabela_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabela_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tabela_->setWordWrap(false);
    tabela_->verticalHeader()->setVisible(false);
    // One line of text per row: a site may have hundreds of problems.
    tabela_->verticalHeader()->setDefaultSectionSize(tabela_->fontMetrics().height() + 8);
    tabela_->resizeColumnsToContents();
    tabela_->horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < tabela_->columnCount() - 1; ++c)
        tabela_->setColumnWidth(c, std::min(tabela_->columnWidth(c), 220));
    // In the order found until a heading is clicked.
    tabela_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    tabela_->setSortingEnabled(true);

    auto* botoes = new QDialogButtonBox(this);
    QPushButton* btSalvar = botoes->addButton(
        QString::fromUtf8(TQuadroConferencia::kSalvarRelatorio), QDialogButtonBox::ActionRole);
    btSalvar->setObjectName(QStringLiteral("btSalvarRelatorio"));
    btSalvar->setAutoDefault(false);
    btSalvar->setVisible(static_cast<bool>(salvar));
    QPushButton* btFechar = botoes->addButton(QString::fromUtf8(TQuadroConferencia::kFechar),
                                              QDialogButtonBox::RejectRole);
    btFechar->setObjectName(QStringLiteral("btFechar"));
    btFechar->setDefault(true);
    connect(btSalvar, &QPushButton::clicked, this, [salvar = std::move(salvar)] {
        if (salvar)
            salvar();
    });
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(conclusao);
    layout->addWidget(conta);
    layout->addWidget(tabela_, 1);
    layout->addWidget(botoes);
    tabela_->setFocus();
}

QString TDialogoConferencia::TextoDaSelecao() const {
    std::set<int> linhasVisiveis;
    for (const QModelIndex& i : tabela_->selectionModel()->selectedIndexes())
        linhasVisiveis.insert(i.row());
    std::vector<size_t> linhas;
    for (int l : linhasVisiveis)
        linhas.push_back(tabela_->item(l, 0)->data(Qt::UserRole).toULongLong());
    return Q(quadro_.TextoParaCopiar(linhas));
}
