#pragma once
#include "GENEW/data/servicios/CamposSolicitados.h"
#include "platform/ui/Form.h"
#include "platform/ui/data/DataSetComponents.h"

#include <QPoint>
#include <optional>

namespace plat {
class Button;
class DataSet;
class DataSource;
class DBEdit;
class Label;
class Panel;
class SpeedButton;
} // namespace plat

// The responsibility sign-off of one record (RESPDOC): who did it and when, who approved
// it and when, who registered it last and when. Which of the six items a table asks for,
// and which operators may sign, comes from the table's CONFRESP row; an edit is editable
// exactly when its item is asked for. Creating the form already stamps the registration
// items, also when the dialog is not shown.
class TfGENERESP : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENERESP(QWidget *parent = nullptr);

    plat::Panel *PanelRegistradoPor;
    plat::Label *LabelRegistradoPor;
    plat::DBEdit *FechaRegistro;
    plat::DBEdit *RegistradoPor;
    plat::DBEdit *NombreRegistradoPor;
    plat::Panel *PanelRealizadoPor;
    plat::Label *LabelRealizadoPor;
    plat::SpeedButton *pbAsignarRealizadoPor;
    plat::SpeedButton *pbDesasignarRealizadoPor;
    plat::DBEdit *FechaRealizacion;
    plat::DBEdit *RealizadoPor;
    plat::DBEdit *NombreRealizadoPor;
    plat::Panel *PanelAprobadoPor;
    plat::Label *LabelAprobadoPor;
    plat::SpeedButton *pbAsignarAprobadoPor;
    plat::SpeedButton *pbDesasignarAprobadoPor;
    plat::DBEdit *FechaAprobacion;
    plat::DBEdit *AprobadoPor;
    plat::DBEdit *NombreAprobadoPor;
    plat::Panel *PanelControl;
    plat::Button *pbGrabar;
    plat::Button *pbCancelar;
    plat::TableComponent *Table1;
    plat::DataSource *DataSource1;
    plat::TableComponent *Operario;

    // The record to show: set by the opener before it creates the form.
    static QString NombreTablaResp;
    static QString ClaveTablaResp;

    // Some requested item is more than the registration stamp: only then is the dialog shown.
    bool HayCamposSolicitados = false;
    const CamposSolicitados &Solicitados() const { return campos_; }

public slots:
    void FormCreate(QObject *Sender);
    void FormShow(QObject *Sender);
    void FormClose(QObject *Sender, plat::CloseAction &Action);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void FormKeyPress(QObject *Sender, QChar &Key);
    void BuscarDatosDBEdit(QObject *Sender);
    void pbGrabarClick(QObject *Sender);
    void pbCancelarClick(QObject *Sender);
    void pbAsignarRealizadoPorClick(QObject *Sender);
    void pbDesasignarRealizadoPorClick(QObject *Sender);
    void pbAsignarAprobadoPorClick(QObject *Sender);
    void pbDesasignarAprobadoPorClick(QObject *Sender);
    void Table1CalcFields(plat::DataSet &DataSet);
    // control: the RealizadoPor or AprobadoPor edit, or nullptr for every check (which also
    // clears the date of a step nobody signed).
    bool ValidarOperarios(QWidget *control);
    // Places Table1 on the row of (table, key), or else of (table, key + "|").
    bool LocalizarResponsabilidad(const QString &tabla, const QString &clave);

private:
    // A signed step: "Realizado" or "Aprobado".
    struct Paso
    {
        QString campoOperario;
        QString campoFecha;
        plat::DBEdit *editOperario;
        plat::DBEdit *editFecha;
        QString operarios;   // the authorised codes; empty: any operator
        QString aviso;       // the warning for an operator not in the list
    };
    Paso pasoRealizado() const;
    Paso pasoAprobado() const;
    void asignar(const Paso &paso);
    void desasignar(const Paso &paso);
    void valoresPorDefecto(const Paso &paso);
    void estamparRegistro();
    void situarEnFila();
    bool editando() const;
    plat::Field &campo(const QString &nombre) const;
    // The logged-in user's operator (OPERARIO.CodigoUsuario), when there is one.
    std::optional<int> operarioUsuario();
    plat::DBEdit *crearEdit(plat::Panel *panel, const QString &nombre, const QString &campo, int left, int width);
    plat::Panel *crearPanel(const QString &nombre, const QString &etiqueta, plat::Label *&label);

    CamposSolicitados campos_;
    bool filaNueva_ = false;
    // Where the window was at its last closing in this run; (0, 0) centres it.
    static QPoint posicion_;
};

// Shows the responsibility of the record the data set stands on, when the switch
// ResponsabilidadDocumentalActivada is on and CONFRESP configures its table: the
// registration is stamped and the dialog shown when it asks for more than that.
void MostrarResponsabilidad(plat::DataSet &tabla);
