#pragma once
#include "GENEW/data/ventanas/FormularioMaestro.h"
#include "platform/ui/data/DBGrid.h"

#include <optional>

// A record window whose records are the rows of one grid: the key is the table's first
// field, new rows are appended at the end and entered one after another, the key of an
// existing row cannot be changed, a column is checked when it is left, and Ctrl+Delete
// deletes the row.
class FormularioMaestroRejilla : public FormularioMaestro
{
    Q_OBJECT
public:
    FormularioMaestroRejilla(QWidget *parent, const QString &nombre, const QString &titulo);

    plat::DBGrid *DBGrid1;
    // The key field, bound when the table opens.
    plat::Field *campoClave() const;

public slots:
    void FormCreate(QObject *Sender) override;
    void AgregarClick(QObject *Sender) override;
    void GrabarDatos(QObject *Sender) override;
    void pbConformeClick(QObject *Sender) override;
    void pbRefrescarClick(QObject *Sender) override;
    void DataSource1StateChange(QObject *Sender) override;
    void Table1BeforeInsert(plat::DataSet &DataSet) override;
    void Table1BeforePost(plat::DataSet &DataSet) override;
    void Table1AfterPost(plat::DataSet &DataSet) override;
    void Table1BeforeEdit(plat::DataSet &DataSet);
    void DBGrid1ColExit(QObject *Sender);
    void DBGrid1KeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void DBGrid1KeyPress(QObject *Sender, QChar &Key);

protected:
    // Whether the saved record was new (the state before the post).
    bool grabadoEraNuevo() const { return estadoAntesDeGrabar_ == plat::DataSetState::Insert; }
    // The grid's first column selected and a new record appended, the grid focused.
    void nuevaLinea();
    // A column of the key: its index is below the table's number of key fields.
    bool columnaClave(int columna);
    // The memo window on the field of the current row, titled titulo (the table put into
    // edit first; a refused edit leaves the memo to be read only as it is).
    void editarMemo(const QString &campo, const QString &titulo);
    // Called after a save, once the new line (if any) is on its way; members refresh here.
    virtual void trasGrabar() {}

private:
    bool claveBloqueada(const QString &aviso);
    bool claveCompleta();
    void prepararCampos(plat::DataSet &tabla);

    plat::DataSetState estadoAntesDeGrabar_ = plat::DataSetState::Browse;
    int camposClave_ = -1;
    // While a new line goes to the end: the key of the record that was current before.
    std::optional<QString> claveAntesDeAnadir_;
};
