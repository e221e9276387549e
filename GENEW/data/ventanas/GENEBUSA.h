#pragma once
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/Grids.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"

// The long-lived form of the approximate record search, used instead of the standard one when the
// settings ask for it: created once at start-up and shown again on every call. One value per
// column; every value given is looked for anywhere in its column.
class TfGENEBUSA : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEBUSA(QWidget *parent = nullptr);
    ~TfGENEBUSA() override;

    plat::Panel *Panel3;
    plat::ValueListEditor *ValueListEditor;
    plat::Button *pbBuscar;
    plat::Panel *Panel2;
    plat::Button *pbConforme;
    plat::Button *pbCancelar;
    plat::DBGrid *DBGrid1;
    plat::Splitter *Splitter1;
    plat::QueryComponent *Query1;
    plat::DataSource *DataSource1;

    // Shows the form over the table; the chosen row's key values, one per line ("NULL" for an
    // empty one), or empty when the user did not accept.
    QString Buscar(const QString &tabla);
    // The search as the form would show it (Buscar without the modal showing).
    void prepararBusqueda(const QString &tabla);
    QString resultado();
    QString ultimaSentencia() const { return ultimaSentencia_; }

public slots:
    void FormCreate(QObject *Sender);
    void FormDestroy(QObject *Sender);
    void FormShow(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void FormKeyPress(QObject *Sender, QChar &Key);
    void BuscarDatosDBEdit(QObject *Sender);
    void pbBuscarClick(QObject *Sender);
    void DBGrid1KeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void DBGrid1DblClick(QObject *Sender);
    void DBGrid1DrawColumnCell(QObject *Sender, const QRect &Rect, int DataCol, plat::GridColumn *Column,
                               plat::GridCellState State);
    void ValueListEditorDrawCell(QObject *Sender, int ACol, int ARow, const QRect &Rect, plat::GridDrawState State);

private:
    bool rejillaConFoco() const;

    QStringList columnas_;
    QString tabla_;
    QString ultimaSentencia_;
};

extern TfGENEBUSA *fGENEBUSA;
