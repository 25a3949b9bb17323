// The real window on the offscreen platform: what it shows at start, how it forwards the
// operator's keys and clicks, its message boxes, and its state while a run is under way.
#include "app/Principal.h"
#include "app/janela/EscolhaArquivoJanela.h"
#include "app/logica/Interrupcao.h"
#include "app/logica/LogicaPrincipal.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/JanelaFalsa.h"
#include "tests/spreadsheet/ApoioPlanilhas.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <fstream>
#include <functional>

namespace {

const char* const kDez[] = {"Btabrir",     "btAbrirAlmuro",  "btOK",       "btSair",
                            "rbtProdutos", "rbtCliente",     "rbtFornece", "MostraPlanilha",
                            "NumLinha",    "btnAbrirTessaly"};

struct TCaixaVista {
    QString titulo;
    QString texto;
    QMessageBox::Icon icone;
    QStringList botoes;
    QString detalhe;
};

// Closes every message box that comes up, after noting what it showed; a question gets the
// answer the test chose.
class TFechaCaixas {
  public:
    TFechaCaixas() {
        relogio_.setInterval(10);
        QObject::connect(&relogio_, &QTimer::timeout, [this] {
            auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!caixa)
                return;
            TCaixaVista v{
                caixa->windowTitle(), caixa->text(), caixa->icon(), {}, caixa->detailedText()};
            QAbstractButton* fecha = caixa->button(QMessageBox::Ok);
            for (QAbstractButton* b : caixa->buttons()) {
                v.botoes << b->text();
                if (!fecha && b->text() == resposta)
                    fecha = b;
            }
            vistas.push_back(v);
            if (fecha)
                fecha->click();
        });
        relogio_.start();
    }
    std::vector<TCaixaVista> vistas;
    QString resposta = QString::fromUtf8("Não");

  private:
    QTimer relogio_;
};

// A stop asked in a test is forgotten when the test ends, however it ends.
struct TEsquecePedido {
    ~TEsquecePedido() { TInterrupcao::Limpa(); }
};

// A dialog stand-in the window owns, answering from a queue the test keeps filling.
class TArquivosDoTeste : public IEscolhaArquivo {
  public:
    explicit TArquivosDoTeste(TArquivosFila& fila) : fila_(fila) {}
    std::optional<std::string> Escolhe(const TPedidoArquivo& pedido) override {
        return fila_.Escolhe(pedido);
    }

  private:
    TArquivosFila& fila_;
};

}  // namespace

class TesteJanela : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<TFPrincipal> Janela() {
        fila_ = TArquivosFila();
        auto j = std::make_unique<TFPrincipal>(std::make_unique<TArquivosDoTeste>(fila_));
        j->show();
        if (!QTest::qWaitForWindowActive(j.get()))
            qWarning("the window did not become active");
        return j;
    }
    template <class T>
    static T* Filho(TFPrincipal& j, const char* nome) {
        T* w = j.findChild<T*>(QString::fromLatin1(nome));
        if (!w)
            qFatal("no child %s", nome);
        return w;
    }
    static QString Texto(TFPrincipal& j, const char* nome) {
        QWidget* w = Filho<QWidget>(j, nome);
        if (auto* l = qobject_cast<QLabel*>(w))
            return l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            return b->text();
        if (auto* e = qobject_cast<QLineEdit*>(w))
            return e->text();
        if (auto* g = qobject_cast<QGroupBox*>(w))
            return g->title();
        if (auto* c = qobject_cast<QComboBox*>(w))
            return c->currentText();
        return {};
    }
    static QStringList Habilitados(TFPrincipal& j) {
        QStringList r;
        for (const char* nome : kDez) {
            if (Filho<QWidget>(j, nome)->isEnabled())
                r << QString::fromLatin1(nome);
        }
        return r;
    }
    static QString Foco(TFPrincipal& j) {
        QWidget* f = j.focusWidget();
        return f ? f->objectName() : QString();
    }
    void Clica(TFPrincipal& j, const char* botao) { Filho<QPushButton>(j, botao)->click(); }
    std::string Escreve(const std::string& nome, const std::string& conteudo) {
        const std::string caminho = dir_.Arquivo(nome);
        std::ofstream(caminho, std::ios::binary) << conteudo;
        return caminho;
    }
    // A products sheet: the heading and n rows.
    std::string Produtos(int n) {
        std::string csv = "Codigo;Descricao;Barras;Grupo;Unidade;Preco\n";
        for (int i = 1; i <= n; ++i)
            csv += std::to_string(i) + ";Produto " + std::to_string(i) + ";;;UN;" +
                   std::to_string(i) + "\n";
        return Escreve("produtos.csv", csv);
    }

    apoio::TDiretorioTemporario dir_;
    TArquivosFila fila_;

  private slots:
    void estadoInicialLegendasEOrdemTab() {
        auto j = Janela();
        QCOMPARE(j->windowTitle(), QStringLiteral("Conversor Korvane + Tessaly"));
        QCOMPARE(j->size(), QSize(593, 385));
        QCOMPARE(j->minimumSize(), j->maximumSize());
        QVERIFY(j->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!j->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

        const std::pair<const char*, const char*> legendas[] = {
            {"Label1", "Conversor Korvane - Tessaly (Excel + Firebird)"},
            {"Label4", "Caminho do banco ALMURO:"},
            {"Label2", "Caminho da planilha a ser convertida (KORVANE):"},
            {"Label3", "Escolher a planilha:"},
            {"Label5", "Informe a linha do último registro da planilha"},
            {"Label6", "Caminho do banco TESSALY:"},
            {"btAbrirAlmuro", "&Abrir"},
            {"Btabrir", "&Abrir"},
            {"btnAbrirTessaly", "&Abrir"},
            {"btOK", "&Efetuar Conversão"},
            {"btSair", "&Sair"},
            {"GroupBox2", "| Tabelas à Converter |"},
            {"rbtProdutos", "Produtos"},
            {"rbtCliente", "Cliente"},
            {"rbtFornece", "Fornecedor"},
            {"lblAguarde", "..."},
            {"Caminho", ""},
            {"CaminhoAlmuro", ""},
            {"edtCaminhoTessaly", ""},
            {"NumLinha", ""},
            {"MostraPlanilha", ""}};
        for (const auto& [nome, texto] : legendas)
            QCOMPARE(Texto(*j, nome), QString::fromUtf8(texto));
        QVERIFY(!Filho<QLabel>(*j, "Image")->pixmap().isNull());

        QCOMPARE(Habilitados(*j).size(), 10);
        for (const char* caminho : {"Caminho", "CaminhoAlmuro", "edtCaminhoTessaly"})
            QVERIFY(!Filho<QWidget>(*j, caminho)->isEnabled());
        QVERIFY(Filho<QComboBox>(*j, "MostraPlanilha")->isEditable());
        QVERIFY(Filho<QRadioButton>(*j, "rbtProdutos")->isChecked());
        QCOMPARE(Filho<QProgressBar>(*j, "Barra")->value(), 0);
        QCOMPARE(Filho<QStatusBar>(*j, "stbStatus")->currentMessage(), QString());

        QCOMPARE(Foco(*j), QStringLiteral("Btabrir"));
        QStringList ordem;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ordem << Foco(*j);
        }
        QCOMPARE(ordem, (QStringList{"MostraPlanilha", "btOK", "btSair", "btAbrirAlmuro",
                                     "NumLinha", "btnAbrirTessaly", "rbtProdutos", "Btabrir"}));
    }

    void avisosComLegendaEFoco() {
        auto j = Janela();
        TFechaCaixas caixas;
        Clica(*j, "btOK");
        QCOMPARE(caixas.vistas.size(), size_t(1));
        QCOMPARE(caixas.vistas[0].titulo, QStringLiteral("Alerta"));
        QCOMPARE(caixas.vistas[0].texto, QString::fromUtf8(TLogicaPrincipal::kAvisoLinha));
        QCOMPARE(caixas.vistas[0].icone, QMessageBox::Warning);
        QCOMPARE(caixas.vistas[0].botoes, QStringList{"OK"});
        QCOMPARE(Foco(*j), QStringLiteral("NumLinha"));

        // Only digits and backspace get into the row number; the logic sees what is typed.
        auto* linha = Filho<QLineEdit>(*j, "NumLinha");
        QTest::keyClicks(linha, "1a2;-b,3 ");
        QCOMPARE(linha->text(), QStringLiteral("123"));
        QTest::keyClick(linha, Qt::Key_Backspace);
        QTest::keyClick(linha, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(linha->text(), QStringLiteral("12"));
        QCOMPARE(j->Logica().NumLinha(), std::string("12"));

        Clica(*j, "btOK");
        QCOMPARE(caixas.vistas.size(), size_t(2));
        QCOMPARE(caixas.vistas[1].titulo, QStringLiteral("Alerta"));
        QCOMPARE(caixas.vistas[1].texto, QString::fromUtf8(TLogicaPrincipal::kAvisoCaminho));
        QCOMPARE(Foco(*j), QStringLiteral("Btabrir"));
    }

    void planilhaEscolhidaNaCaixaOuDigitada() {
        const std::string caminho = dir_.Arquivo("duas.xlsx");
        apoio_planilha::GravaZip(
            caminho,
            apoio_planilha::PacoteXlsx({{"Uma", "<row r=\"4\"><c r=\"A4\"><v>1</v></c></row>"},
                                        {"Outra", "<row r=\"9\"><c r=\"A9\"><v>1</v></c></row>"}}));
        auto j = Janela();
        TFechaCaixas caixas;
        fila_.respostas.push_back(caminho);
        Clica(*j, "Btabrir");
        auto* abas = Filho<QComboBox>(*j, "MostraPlanilha");
        QCOMPARE(abas->count(), 2);
        QCOMPARE(abas->currentText(), QStringLiteral("Uma"));
        QCOMPARE(Texto(*j, "Caminho"), QString::fromStdString(caminho));
        QCOMPARE(Texto(*j, "NumLinha"), QStringLiteral("4"));

        abas->setFocus();
        QTest::keyClick(abas, Qt::Key_Down);
        QCOMPARE(j->Logica().IndicePlanilha(), 1);
        QCOMPARE(Texto(*j, "NumLinha"), QStringLiteral("9"));

        abas->lineEdit()->selectAll();
        QTest::keyClicks(abas->lineEdit(), "xyz");
        QCOMPARE(abas->currentText(), QStringLiteral("xyz"));
        QCOMPARE(j->Logica().IndicePlanilha(), -1);
        Clica(*j, "btOK");
        QCOMPARE(caixas.vistas.size(), size_t(1));
        QCOMPARE(caixas.vistas[0].texto, QString::fromUtf8(TLogicaPrincipal::kAvisoPlanilha));
        QCOMPARE(Foco(*j), QStringLiteral("MostraPlanilha"));

        // A cancelled dialog keeps the workbook.
        Clica(*j, "Btabrir");
        QCOMPARE(Texto(*j, "Caminho"), QString::fromStdString(caminho));
        QCOMPARE(abas->count(), 2);
    }

    void conversaoDesabilitaEDepoisDevolveOsControles() {
        apoio::TBancosTeste bancos;
        std::vector<std::vector<apoio::TValor>> estoque;
        for (int i = 1; i <= 40; ++i)
            estoque.push_back({"000000" + std::to_string(10 + i), "Item", "UN", "UN"});
        apoio::InsereLinhas(bancos.Tessaly(), "ESTOQUE",
                            {"CODIGO", "NOME", "UND_COMPRA", "UND_VENDA"}, estoque);
        auto j = Janela();
        TFechaCaixas caixas;
        fila_.respostas = {bancos.CaminhoAlmuro(), bancos.CaminhoTessaly(), Produtos(20)};
        Clica(*j, "btAbrirAlmuro");
        Clica(*j, "btnAbrirTessaly");
        Clica(*j, "Btabrir");
        QCOMPARE(Texto(*j, "CaminhoAlmuro"), QString::fromStdString(bancos.CaminhoAlmuro()));
        QCOMPARE(Texto(*j, "edtCaminhoTessaly"), QString::fromStdString(bancos.CaminhoTessaly()));
        QCOMPARE(Texto(*j, "MostraPlanilha"), QStringLiteral("produtos"));
        QCOMPARE(Texto(*j, "NumLinha"), QStringLiteral("21"));
        QVERIFY(caixas.vistas.empty());

        // Seen from the window's events while the run lets them through.
        bool viu = false;
        QStringList habilitados;
        QString aguarde;
        bool visivelAposFechar = false, visivelAposEsc = false;
        QTimer::singleShot(0, j.get(), [&] {
            viu = true;
            habilitados = Habilitados(*j);
            aguarde = Texto(*j, "lblAguarde");
            j->close();
            visivelAposFechar = j->isVisible();
            QTest::keyClick(j.get(), Qt::Key_Escape);
            visivelAposEsc = j->isVisible();
        });
        Clica(*j, "btOK");
        QVERIFY(viu);
        QCOMPARE(habilitados, QStringList());
        QCOMPARE(aguarde, QStringLiteral("Carregando dados do Excel, aguarde!"));
        QVERIFY(visivelAposFechar);
        QVERIFY(visivelAposEsc);

        // The close box asked whether to stop; "Não" let the run go on to its end.
        QCOMPARE(caixas.vistas.size(), size_t(2));
        QCOMPARE(caixas.vistas[0].texto, QString::fromUtf8(TFPrincipal::kPerguntaInterromper));
        QCOMPARE(caixas.vistas[0].botoes, (QStringList{"Sim", "Não"}));
        QCOMPARE(caixas.vistas[1].titulo, QStringLiteral("Informação"));
        QCOMPARE(caixas.vistas[1].texto, QString::fromUtf8(TLogicaPrincipal::kSucesso));
        QCOMPARE(caixas.vistas[1].icone, QMessageBox::Information);
        QCOMPARE(Habilitados(*j).size(), 10);
        QCOMPARE(Foco(*j), QStringLiteral("btOK"));
        j->Logica().dbAlmuro.Transacao().Confirma();
        QCOMPARE(apoio::ContaLinhas(bancos.Almuro(), "PRODUTO"), 60);

        // Idle again: Esc closes the window.
        QTest::keyClick(j->focusWidget(), Qt::Key_Escape);
        QVERIFY(!j->isVisible());
    }

    // "Sim" to the close box, or a SIGTERM, in the middle of a run: the run ends at its next
    // record, rolled back, and the window closes without a box.
    void fecharComSimOuSigtermDesfazEFecha() {
        for (const bool porSinal : {false, true}) {
            const TEsquecePedido esquece;
            apoio::TBancosTeste bancos;
            apoio::Executa(bancos.Almuro(),
                           "insert into PRODUTO (CODPROD, DESCRICAO) values ('000009', 'antigo')");
            std::vector<std::vector<apoio::TValor>> estoque;
            for (int i = 1; i <= 3000; ++i)
                estoque.push_back({std::to_string(10000000 + i), "Item", "UN", "UN"});
            apoio::InsereLinhas(bancos.Tessaly(), "ESTOQUE",
                                {"CODIGO", "NOME", "UND_COMPRA", "UND_VENDA"}, estoque);
            auto j = Janela();
            TFechaCaixas caixas;
            caixas.resposta = QStringLiteral("Sim");
            fila_.respostas = {bancos.CaminhoAlmuro(), bancos.CaminhoTessaly(), Produtos(20)};
            Clica(*j, "btAbrirAlmuro");
            Clica(*j, "btnAbrirTessaly");
            Clica(*j, "Btabrir");
            // Once the source records are being converted, the stop is asked.
            bool pediu = false;
            QTimer vigia;
            vigia.setInterval(0);
            QObject::connect(&vigia, &QTimer::timeout, j.get(), [&] {
                if (pediu || !Texto(*j, "lblAguarde").startsWith(QStringLiteral("Convertendo")))
                    return;
                pediu = true;
                if (porSinal)
                    std::raise(SIGTERM);
                else
                    j->close();
            });
            vigia.start();
            Clica(*j, "btOK");
            vigia.stop();
            QVERIFY(pediu);
            QVERIFY(!j->isVisible());
            QCOMPARE(caixas.vistas.size(), size_t(porSinal ? 0 : 1));
            QVERIFY(!j->Logica().dbAlmuro.Transacao().Ativa());
            QCOMPARE(apoio::Linhas(bancos.Almuro(), "select CODPROD from PRODUTO"),
                     (std::vector<apoio::TLinha>{{"000009"}}));
        }
    }

    void sigtermComAJanelaParadaFecha() {
        const TEsquecePedido esquece;
        auto j = Janela();
        std::raise(SIGTERM);
        QTRY_VERIFY(!j->isVisible());
    }

    void erroDaConversaoLimpaOProgresso() {
        auto j = Janela();
        TFechaCaixas caixas;
        fila_.respostas = {Produtos(4)};
        Clica(*j, "Btabrir");
        Filho<QRadioButton>(*j, "rbtCliente")->click();
        QCOMPARE(j->Logica().Tipo(), TTipoConversao::Clientes);
        Clica(*j, "btOK");
        QCOMPARE(caixas.vistas.size(), size_t(1));
        QCOMPARE(caixas.vistas[0].titulo, QStringLiteral("Erro"));
        QCOMPARE(caixas.vistas[0].icone, QMessageBox::Critical);
        QCOMPARE(caixas.vistas[0].texto,
                 QString::fromUtf8(TLogicaPrincipal::kPrefixoErro) +
                     QString::fromUtf8("\nO banco ALMURO não foi escolhido: escolha o arquivo do "
                                       "banco ALMURO antes de converter.\nCannot perform "
                                       "operation -- DB is not open"));
        QCOMPARE(Texto(*j, "lblAguarde"), QString());
        QCOMPARE(Filho<QStatusBar>(*j, "stbStatus")->currentMessage(), QString());
        QCOMPARE(Filho<QProgressBar>(*j, "Barra")->value(), 0);
        QCOMPARE(Filho<QProgressBar>(*j, "Barra")->maximum(), 5);
        QCOMPARE(caixas.vistas[0].detalhe, QString::fromUtf8(TLogicaPrincipal::kNadaGravado));
        QCOMPARE(Habilitados(*j).size(), 10);
        QVERIFY(Filho<QRadioButton>(*j, "rbtCliente")->isChecked());
    }

    void linhaAlemDaPlanilhaPerguntaEOResumoVaiNoDetalhe() {
        apoio::TBancosTeste bancos;
        auto j = Janela();
        TFechaCaixas caixas;
        fila_.respostas = {bancos.CaminhoAlmuro(), bancos.CaminhoTessaly(), Produtos(2)};
        Clica(*j, "btAbrirAlmuro");
        Clica(*j, "btnAbrirTessaly");
        Clica(*j, "Btabrir");
        auto* linha = Filho<QLineEdit>(*j, "NumLinha");
        linha->selectAll();
        QTest::keyClicks(linha, "5");
        QCOMPARE(j->Logica().NumLinha(), std::string("5"));

        // "Não": nothing done, the window idle, the row number to be mended.
        Clica(*j, "btOK");
        QCOMPARE(caixas.vistas.size(), size_t(1));
        QCOMPARE(caixas.vistas[0].titulo, QStringLiteral("Alerta"));
        QCOMPARE(caixas.vistas[0].botoes, (QStringList{"Sim", QString::fromUtf8("Não")}));
        QCOMPARE(caixas.vistas[0].texto,
                 QString::fromUtf8("A última linha usada da planilha \"produtos\" é a 3: até a "
                                   "linha 5 informada, 2 linhas vazias seriam convertidas.\n"
                                   "Converter assim mesmo?"));
        QCOMPARE(Foco(*j), QStringLiteral("NumLinha"));
        QCOMPARE(Habilitados(*j).size(), 10);
        QCOMPARE(j->Logica().cdsTabelaTemp.TotalRegistros(), 0);
        QVERIFY(!j->Logica().dbAlmuro.Transacao().Ativa());

        // "Sim": the run goes on (the blank rows' empty unit among the units it creates), and
        // the success box tells what it did.
        caixas.resposta = QStringLiteral("Sim");
        Clica(*j, "btOK");
        QCOMPARE(caixas.vistas.size(), size_t(3));
        QCOMPARE(caixas.vistas[2].texto, QString::fromUtf8(TLogicaPrincipal::kSucesso));
        QVERIFY2(caixas.vistas[2].detalhe.startsWith(QStringLiteral(
                     "Linhas gravadas: PRODUTO 4; PRODUTODETALHE 0;\n"
                     "  banco TESSALY, tabela ESTOQUE: 0 lidos, 0 gravados\n"
                     "  planilha: 4 linhas de dados, 4 gravadas\n"
                     "Linhas criadas nas tabelas auxiliares: CLASFISC 0; UNIDADES 2;\n"
                     "Avisos: nenhum\nTempo: ")),
                 qPrintable(caixas.vistas[2].detalhe));
        QCOMPARE(Foco(*j), QStringLiteral("btOK"));
        QCOMPARE(apoio::ContaLinhas(bancos.Almuro(), "PRODUTO"), 4);
    }

    void erroQueEscapaVaiParaACaixaDoPrograma() {
        auto j = Janela();
        TFechaCaixas caixas;
        const std::string ruim = Escreve("ruim.xlsx", "isto não é uma planilha");
        fila_.respostas = {ruim, dir_.Arquivo("nao-existe.fdb")};
        Clica(*j, "Btabrir");
        Clica(*j, "btAbrirAlmuro");
        QCOMPARE(caixas.vistas.size(), size_t(2));
        for (const TCaixaVista& v : caixas.vistas) {
            QCOMPARE(v.titulo, QStringLiteral("Conversor"));
            QCOMPARE(v.icone, QMessageBox::Critical);
            QCOMPARE(v.botoes, QStringList{"OK"});
        }
        QVERIFY(caixas.vistas[0].texto.contains(QStringLiteral("ruim.xlsx")));
        QCOMPARE(Texto(*j, "Caminho"), QString::fromStdString(ruim));
        QCOMPARE(Filho<QComboBox>(*j, "MostraPlanilha")->count(), 0);
        QCOMPARE(Texto(*j, "CaminhoAlmuro"), QString());
        QCOMPARE(Habilitados(*j).size(), 10);
        QVERIFY(j->isVisible());
    }

    void filtrosDosDialogos() {
        const std::pair<const char*, QStringList> casos[] = {
            {TLogicaPrincipal::kFiltroPlanilha, {"a.xlsx", "B.XLSX", "c.Xls", "d.csv", "E.CSV"}},
            {TLogicaPrincipal::kFiltroBanco, {"a.fdb", "B.FDB", "c.Gdb", "d.fb", "E.FB"}}};
        for (const auto& [filtro, aceitos] : casos) {
            QList<QRegularExpression> padroes;
            for (const QString& p : PadroesDoFiltro(filtro))
                padroes << QRegularExpression(QRegularExpression::wildcardToRegularExpression(p));
            auto aceita = [&](const QString& nome) {
                for (const auto& r : padroes) {
                    if (r.match(nome).hasMatch())
                        return true;
                }
                return false;
            };
            for (const QString& nome : aceitos)
                QVERIFY2(aceita(nome), qPrintable(nome));
            for (const char* nome : {"a.txt", "a.xlsx.bak", "fdb", "a.xlsm"})
                QVERIFY2(!aceita(QString::fromLatin1(nome)), nome);
        }
        // The dialog shows the description as written and keeps the patterns out of sight.
        QFileDialog dialogo;
        dialogo.setOption(QFileDialog::DontUseNativeDialog);
        dialogo.setOption(QFileDialog::HideNameFilterDetails);
        dialogo.setNameFilter(FiltroDoDialogo(TLogicaPrincipal::kFiltroBanco));
        auto* tipos = dialogo.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(tipos);
        QCOMPARE(tipos->currentText(), QStringLiteral("Banco Firebird (*.FB;*.FDB;*.GDB)"));
    }
};

QTEST_MAIN(TesteJanela)
#include "TesteJanela.moc"
