#pragma once
#include "platform/data/engine/TableCopy.h"
#include "platform/ui/Form.h"

#include <QList>

namespace plat {
class Button;
class Connection;
class Edit;
class Label;
class ListBox;
class Panel;
class RadioButton;
class TableComponent;
class TableDataSet;
} // namespace plat

// The long-lived form of the copy of records to other companies: created once at start-up and
// shown again on every call. The records a form's table shows (its filter, range and master
// link applied) go into the same table of each chosen company, each with the details it shows,
// a record and its details' rows committed together. A failure is reported per company and
// table; what was copied is not undone.
class TfGENECOPI : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENECOPI(QWidget *parent = nullptr);
    ~TfGENECOPI() override;

    plat::Panel *P2;
    plat::Label *LabelLista;
    plat::ListBox *ListaEmpresas;
    plat::Panel *PanelControl;
    plat::Button *pbConforme;
    plat::Button *pbCancelar;
    plat::Panel *PanelEmpresaOrigen;
    plat::Label *Label2;
    plat::Edit *EditEmpresaOrigen;
    plat::Panel *PanelMetodo;
    plat::Label *Label1;
    plat::RadioButton *AgregarYSustituir;
    plat::RadioButton *Agregar;
    plat::RadioButton *Sustituir;
    plat::TableComponent *Empresa;
    plat::TableComponent *TablaDestino;

    // The tables come open; a detail table follows the master's current record.
    void CopiarTabla(plat::TableDataSet &Tabla);
    void CopiarTablaConDetalle(plat::TableDataSet &Tabla, plat::TableDataSet &Detalle);
    void CopiarTablaConDetalles(plat::TableDataSet &Tabla, plat::TableDataSet &Detalle1, plat::TableDataSet &Detalle2);
    // Absent details are null entries.
    void CopiarDatosEmpresas(plat::TableDataSet &Tabla, const QList<plat::TableDataSet *> &Detalles);

public slots:
    // The same for a form's table component reached by name.
    void CopiarTabla(QObject *Tabla);
    void FormShow();
    void FormKeyPress(QObject *Sender, QChar &Key);

private:
    struct Destino
    {
        int codigo = 0;
        QString nombre;
    };
    QList<Destino> prepararLista();
    QList<int> empresasElegidas(const QList<Destino> &destinos) const;
    void copiarAEmpresa(int empresa, plat::TableDataSet &tabla, const QList<plat::TableDataSet *> &detalles);
    plat::Connection *abrirDestino(int empresa, plat::TableDataSet &origen);
    plat::CopyMode modoElegido() const;
    bool copiarFilas(plat::TableDataSet &origen, plat::Connection &destino);
    void avisarFallo(int empresa);
    QString traducir(const QString &texto) const;
};

extern TfGENECOPI *fGENECOPI;
