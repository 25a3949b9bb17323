#include "app/janela/MensagensJanela.h"

#include "app/janela/DialogoConferencia.h"

#include <QCoreApplication>
#include <QPushButton>

namespace {

// A button that had the focus would take Enter for itself ("Mostrar detalhes..." once clicked):
// only the default button answers it.
void EnterSoNoPadrao(QMessageBox& caixa) {
    for (QPushButton* botao : caixa.findChildren<QPushButton*>()) {
        if (botao != caixa.defaultButton())
            botao->setAutoDefault(false);
    }
}

// Returns true when the box was closed by "Salvar relatório..." (offered when comRelatorio).
bool Caixa(QWidget* dono, QMessageBox::Icon icone, const QString& titulo, const std::string& texto,
           const std::string& detalhe = {}, bool comRelatorio = false) {
    QMessageBox caixa(icone, titulo, TextoDaMensagem(texto), QMessageBox::Ok, dono);
    // Error messages quote data and the database's words; none of it is markup.
    caixa.setTextFormat(Qt::PlainText);
    QPushButton* relatorio = nullptr;
    if (comRelatorio) {
        relatorio = caixa.addButton(QString::fromUtf8(TQuadroConferencia::kSalvarRelatorio),
                                    QMessageBox::ActionRole);
        caixa.setEscapeButton(QMessageBox::Ok);
    }
    if (!detalhe.empty())
        caixa.setDetailedText(TextoDaMensagem(detalhe));
    caixa.setDefaultButton(QMessageBox::Ok);
    EnterSoNoPadrao(caixa);
    caixa.exec();
    return relatorio && caixa.clickedButton() == relatorio;
}

}  // namespace

QString TextoDaMensagem(const std::string& texto) {
    QString t = QString::fromStdString(texto);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

TMensagensJanela::TMensagensJanela(QWidget* dono, std::function<void()> antes)
    : dono_(dono), antes_(std::move(antes)) {}

void TMensagensJanela::Alerta(const std::string& texto) {
    Mostra(QMessageBox::Warning, kAlerta, texto);
}

void TMensagensJanela::Erro(const std::string& texto) {
    Mostra(QMessageBox::Critical, kErro, texto);
}

void TMensagensJanela::Informacao(const std::string& texto) {
    Mostra(QMessageBox::Information, kInformacao, texto);
}

void TMensagensJanela::Sucesso(const std::string& texto, const std::function<std::string()>& aviso,
                               const std::function<std::string()>& detalhe) {
    // The events that waited while the engine committed come first: a close among them is a
    // stop that came during the commit, and the box tells of it.
    QCoreApplication::processEvents();
    const std::string a = aviso();
    Mostra(QMessageBox::Information, kInformacao, a.empty() ? texto : texto + "\r" + a, detalhe(),
           true);
}

void TMensagensJanela::Falha(const std::string& texto, const std::string& detalhe) {
    Mostra(QMessageBox::Critical, kErro, texto, detalhe, true);
}

void TMensagensJanela::Conferencia(const TRelatoDaExecucao& relato) {
    if (relato.problemas.empty()) {
        IMensagens::Conferencia(relato);
        return;
    }
    Conta(TQuadroConferencia::kTitulo);
    if (silenciosa_)
        return;
    TDialogoConferencia dialogo(TQuadroConferencia::DoRelato(relato),
                                ComRelatorio() ? salvarRelatorio_ : std::function<void()>(), dono_);
    dialogo.exec();
    ultimoTipo_ = TQuadroConferencia::kTitulo;  // not the warning of a report not written
}

bool TMensagensJanela::ComRelatorio() const {
    return salvarRelatorio_ && relatorioDisponivel_ && relatorioDisponivel_();
}

bool TMensagensJanela::Pergunta(const std::string& situacao, const std::string& pergunta) {
    Conta(kAlerta);
    if (silenciosa_)
        return false;
    return PerguntaSimNao(dono_, QMessageBox::Warning, situacao + "\r" + pergunta);
}

bool PerguntaSimNao(QWidget* dono, QMessageBox::Icon icone, const std::string& texto) {
    QMessageBox caixa(icone, QString::fromUtf8(TMensagensJanela::kAlerta), TextoDaMensagem(texto),
                      QMessageBox::NoButton, dono);
    caixa.setTextFormat(Qt::PlainText);
    QPushButton* sim = caixa.addButton(QStringLiteral("Sim"), QMessageBox::YesRole);
    QPushButton* nao = caixa.addButton(QString::fromUtf8("Não"), QMessageBox::NoRole);
    caixa.setDefaultButton(nao);
    caixa.setEscapeButton(nao);
    caixa.exec();
    return caixa.clickedButton() == sim;
}

void TMensagensJanela::Conta(const char* titulo) {
    ++mostradas_;
    ultimoTipo_ = titulo;
    if (antes_)
        antes_();
}

void TMensagensJanela::Mostra(QMessageBox::Icon icone, const char* titulo, const std::string& texto,
                              const std::string& detalhe, bool fimDeExecucao) {
    Conta(titulo);
    if (silenciosa_)
        return;
    const bool comRelatorio = fimDeExecucao && ComRelatorio();
    while (Caixa(dono_, icone, QString::fromUtf8(titulo), texto, detalhe, comRelatorio) &&
           !silenciosa_) {
        salvarRelatorio_();
        ultimoTipo_ = titulo;  // not the warning of a report not written
    }
}

void MostraErroDoPrograma(QWidget* dono, const std::string& texto) {
    Caixa(dono, QMessageBox::Critical, QString::fromUtf8(TMensagensJanela::kErro), texto);
}
