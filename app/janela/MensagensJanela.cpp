#include "app/janela/MensagensJanela.h"

namespace {

void Caixa(QWidget* dono, QMessageBox::Icon icone, const QString& titulo,
           const std::string& texto) {
    QMessageBox caixa(icone, titulo, TextoDaMensagem(texto), QMessageBox::Ok, dono);
    // Error messages quote data and the database's words; none of it is markup.
    caixa.setTextFormat(Qt::PlainText);
    caixa.setDefaultButton(QMessageBox::Ok);
    caixa.exec();
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

void TMensagensJanela::Mostra(QMessageBox::Icon icone, const char* titulo,
                              const std::string& texto) {
    ++mostradas_;
    ultimoTipo_ = titulo;
    if (antes_)
        antes_();
    if (silenciosa_)
        return;
    Caixa(dono_, icone, QString::fromUtf8(titulo), texto);
}

void MostraErroDoPrograma(QWidget* dono, const std::string& texto) {
    Caixa(dono, QMessageBox::Critical, QStringLiteral("Conversor"), texto);
}
