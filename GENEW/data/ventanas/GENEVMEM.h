#pragma once
#include "platform/ui/Form.h"

namespace plat {
class DataSet;
class DataSource;
class DBMemo;
class Panel;
} // namespace plat

// The memo-field viewer and editor: one long-lived form, created at start-up and shown
// again on every call (hidden, never freed, on close).
class TfGENEVMEM : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEVMEM(QWidget *parent = nullptr);
    ~TfGENEVMEM() override;

    plat::Panel *Panel1;
    plat::DBMemo *DBMemo;
    plat::DataSource *DataSource1;

    // Table name, index number and field name joined by ";", set by a caller before the
    // editor opens: F2 and a double click then append a value chosen in the record search.
    // The editor clears it after each use.
    QString BusquedaTexto;

    // Binds the memo to the dataset's field, shows the window modally and unbinds it. With
    // a translation language the caption is the legend translated and the field's
    // abbreviated name in brackets, else the title.
    QString Mostrar(plat::DataSet &dataSet, const QString &titulo, const QString &leyenda, const QString &campo,
                    bool soloLectura, bool cursorAlFinal);

public slots:
    // The search of F2 and of a double click: appends the chosen record's first key value,
    // or its field of BusquedaTexto, and a line break. Only in the editor with a search set.
    void BuscarTexto();

private:
    void FormClose();
    void FormKeyDown(int &Key, plat::ShiftState Shift);
};

extern TfGENEVMEM *fGENEVMEM;

// The editor on the field of the dataset's current record; options "CursorAlFinal" puts the
// caret after the text. The memo's text when the window closes, also left in texto.
QString VisualizarAsignarCampoTexto(plat::DataSet &dataSet, const QString &titulo, const QString &campo,
                                    QString &texto, const QString &opciones = QString());
// The same field shown read-only.
void VisorCampoTexto(plat::DataSet &dataSet, const QString &titulo, const QString &campo);
