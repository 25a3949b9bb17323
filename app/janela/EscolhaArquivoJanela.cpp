#include "app/janela/EscolhaArquivoJanela.h"

#include <QFileDialog>

namespace {

QString SemCaixa(const QString& padrao) {
    QString r;
    for (QChar c : padrao) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            r += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            r += c;
    }
    return r;
}

}  // namespace

QString DescricaoDoFiltro(const std::string& filtro) {
    const QString f = QString::fromStdString(filtro);
    return f.section(QLatin1Char('|'), 0, 0).trimmed();
}

QStringList PadroesDoFiltro(const std::string& filtro) {
    const QString f = QString::fromStdString(filtro);
    QStringList r;
    for (const QString& p : f.section(QLatin1Char('|'), 1).split(QLatin1Char(';'))) {
        if (!p.trimmed().isEmpty())
            r << SemCaixa(p.trimmed());
    }
    return r;
}

QString FiltroDoDialogo(const std::string& filtro) {
    return DescricaoDoFiltro(filtro) + QStringLiteral(" (") +
           PadroesDoFiltro(filtro).join(QLatin1Char(' ')) + QLatin1Char(')');
}

std::optional<std::string> TEscolhaArquivoJanela::Escolhe(const TPedidoArquivo& pedido) {
    QFileDialog dialogo(dono_, QString::fromStdString(pedido.titulo),
                        QString::fromStdString(pedido.pasta));
    if (pedido.salvar) {
        dialogo.setFileMode(QFileDialog::AnyFile);
        dialogo.setAcceptMode(QFileDialog::AcceptSave);
        // A name typed without its extension gets the filter's first one, before the dialog
        // asks whether to replace an existing file.
        const QString primeiro = QString::fromStdString(pedido.filtro)
                                     .section(QLatin1Char('|'), 1)
                                     .section(QLatin1Char(';'), 0, 0)
                                     .trimmed();
        if (primeiro.startsWith(QStringLiteral("*.")))
            dialogo.setDefaultSuffix(primeiro.mid(2));
    } else {
        dialogo.setFileMode(QFileDialog::ExistingFile);
        dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    }
    dialogo.setOption(QFileDialog::HideNameFilterDetails);
    dialogo.setNameFilter(FiltroDoDialogo(pedido.filtro));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return std::nullopt;
    return dialogo.selectedFiles().first().toStdString();
}
