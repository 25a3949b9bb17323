// The "Conferência" dialog: the end of a check that found problems. The conclusion and the
// account above, the problems in a table (sortable by any column; Ctrl+C copies the selected
// rows as tab-separated text), "Salvar relatório..." and "Fechar".
#pragma once

#include "app/logica/QuadroConferencia.h"

#include <QDialog>
#include <functional>

class QTableWidget;

class TDialogoConferencia : public QDialog {
    Q_OBJECT

  public:
    // salvar is what "Salvar relatório..." does (no button without it); the dialog stays open
    // meanwhile and after.
    TDialogoConferencia(TQuadroConferencia quadro, std::function<void()> salvar, QWidget* dono);

    // The selected rows, in the order the table shows them, as Ctrl+C copies them.
    QString TextoDaSelecao() const;

  private:
    TQuadroConferencia quadro_;
    QTableWidget* tabela_ = nullptr;
};
