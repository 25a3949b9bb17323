// The file-open dialog of the window. The logic gives its filters in the form
// "Description (*.a;*.b)|*.a; *.b"; the dialog shows the description as written and matches the
// patterns whatever the case of the file names.
#pragma once

#include "app/logica/Interfaces.h"

#include <QString>
#include <QStringList>

class QWidget;

class TEscolhaArquivoJanela : public IEscolhaArquivo {
  public:
    explicit TEscolhaArquivoJanela(QWidget* dono) : dono_(dono) {}
    std::optional<std::string> Escolhe(const TPedidoArquivo& pedido) override;

  private:
    QWidget* dono_;
};

// The description part of a filter ("Banco Firebird (*.FB;*.FDB;*.GDB)").
QString DescricaoDoFiltro(const std::string& filtro);

// The patterns after the bar, each one matching both cases: "*.fb" gives "*.[fF][bB]".
QStringList PadroesDoFiltro(const std::string& filtro);

// The filter as the Qt dialog takes it: the description, then the patterns in parentheses,
// which the dialog keeps out of sight.
QString FiltroDoDialogo(const std::string& filtro);
