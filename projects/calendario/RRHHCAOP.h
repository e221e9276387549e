#pragma once
#include "GENEW/data/ventanas/VentanaPrograma.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"
#include "projects/calendario/CalendarioOperario.h"

#include <QHash>

// What the opener sets before creating the calendar window: the operator, year and month
// shown first, and the company calendar the operator follows.
extern int OperarioApertura;
extern int EjercicioApertura;
extern int MesApertura;
extern int CalendarioApertura;

// An operator's day calendar, month by month: personal days (CALENOPE) over the company
// calendar (CALENDAR), the day-type toggles that mark them, and the operator's incidences
// (INCCALOP) below the grid. What it shows and allows depends on the family program it runs as.
class TfRRHHCAOP : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfRRHHCAOP(QWidget *parent = nullptr);
    ~TfRRHHCAOP() override;

    plat::Panel *PanelSuperior;
    plat::Label *LabelEjercicio;
    plat::Edit *EditEjercicio;
    plat::SpinButton *SpinEjercicio;
    plat::Label *LabelMes;
    plat::Edit *EditMes;
    plat::SpinButton *SpinMes;
    plat::Label *LabelOperario;
    plat::Edit *EditOperario;
    plat::SpinButton *SpinOperario;
    plat::Edit *EditNombreOperario;
    plat::SpeedButton *pbEliminarEjercicio;
    plat::SpeedButton *pbEliminar;
    plat::Panel *PanelMarcas;
    plat::Label *LabelHorario;
    plat::SpeedButton *pbGenerarCalendario;
    plat::SpeedButton *pbMarcarDiasRegulacionEmpleo;
    plat::SpeedButton *pbZoom;
    plat::SpeedButton *pbModificar;
    plat::SpeedButton *pbTrabajados;
    plat::SpeedButton *pbLaborables;
    plat::SpeedButton *pbFestivos;
    plat::SpeedButton *pbVacaciones;
    plat::SpeedButton *pbPermiso;
    plat::SpeedButton *pbPuente;
    plat::ComboBox *EditSituacion;
    plat::DBLookupComboBox *EditNumeroHorario;
    plat::Button *pbSalir;
    plat::StringGrid *SGrid;
    plat::PopupMenu *PopupMenu1;
    plat::MenuItem *Eliminardia;
    plat::Panel *PanelIncidencias;
    plat::DBGrid *DBGrid1;
    plat::TableComponent *CalendarioPersonal;
    plat::TableComponent *CalendarioEmpresa;
    plat::TableComponent *Horarios;
    plat::DataSource *DSHorarios;
    plat::TableComponent *IncidenciasCalendario;
    plat::DataSource *DSIncidencias;

    const calendario::MesOperario &mesMostrado() const { return mostrado_; }
    int codigoCalendario() const { return codigoCalendario_; }
    calendario::Familia familia() const { return familia_; }

public slots:
    void FormCreate(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormClose(QObject *Sender, plat::CloseAction &Action);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void FormKeyPress(QObject *Sender, QChar &Key);
    void SGridDrawCell(QObject *Sender, int ACol, int ARow, const QRect &Rect, plat::GridDrawState State);
    void SGridSelectCell(QObject *Sender, int ACol, int ARow, bool &CanSelect);
    void SpinEjercicioDownClick(QObject *Sender);
    void SpinEjercicioUpClick(QObject *Sender);
    void SpinMesDownClick(QObject *Sender);
    void SpinMesUpClick(QObject *Sender);
    void SpinOperarioDownClick(QObject *Sender);
    void SpinOperarioUpClick(QObject *Sender);
    void pbEliminarClick(QObject *Sender);
    void pbEliminarEjercicioClick(QObject *Sender);
    void EliminardiaClick(QObject *Sender);
    void pbMarcasClick(QObject *Sender);
    void pbGenerarCalendarioClick(QObject *Sender);
    void pbMarcarDiasRegulacionEmpleoClick(QObject *Sender);
    // Generates the operator's personal days from Desde to Hasta (empty: the shown month's
    // first and last days); only as the questal program.
    void GeneraCalendarioOperario(int Operario, const QString &Desde, const QString &Hasta);
    void pbZoomClick(QObject *Sender);
    void pbSalirClick(QObject *Sender);
    void Cerrar1Click(QObject *Sender);
    void TipoSubsidioAfterPost(plat::DataSet &DataSet);
    void IncidenciasCalendarioNewRecord(plat::DataSet &DataSet);
    void DBGrid1ColExit(QObject *Sender);
    void DBGrid1EditButtonClick(QObject *Sender);
    void BuscarDatosDBEdit(QObject *Sender);
    void BuscarClick(QObject *Sender);
    void DBGrid1DrawColumnCell(QObject *Sender, const QRect &Rect, int DataCol, plat::GridColumn *Column,
                               plat::GridCellState State);

private:
    void construirVentana();
    void construirCabecera();
    void construirMarcas();
    void construirRejilla();
    void construirIncidencias();
    void aplicarFamilia();
    void MostrarMes(const QDate &fecha);
    void FiltrarIncidenciasMes();
    // Reads the shown month's personal and company days that painting uses.
    void leerDiasMes();
    void refrescarRejilla();
    calendario::Marcadores marcadores() const;
    std::optional<calendario::DiaCalendario> diaEmpresa(const QDate &fecha);
    calendario::LiteralesFecha literales(const QDate &fecha) const;
    // The operators of PERSONAL between the two typed bounds.
    QList<int> operariosEntre(const QString &desde, const QString &hasta);
    // Appends or marks one generated day; false when the table refused it.
    bool generarDia(int operario, const QDate &fecha);
    // Deletes the shown operator's days or incidences of the shown year, or of its month mes,
    // or of day dia of that month.
    void borrar(const QString &tabla, int mes = 0, int dia = 0);
    // The incidence being inserted takes the next line of its operator and date.
    void numerarIncidencia();

    InstanciaGlobal<TfRRHHCAOP> instancia_;
    calendario::MesOperario mostrado_;
    calendario::Familia familia_ = calendario::Familia::Otra;
    int codigoCalendario_ = 0;
    int colorDiaEmpresa_ = 0xFFFFFF;
    int colorDiaPersonal_ = 0xD2FFFF;
    QHash<int, calendario::DiaCalendario> diasPersonales_;
    QHash<int, calendario::DiaCalendario> diasEmpresa_;
};

extern TfRRHHCAOP *fRRHHCAOP;

// Fills the opening values and opens the calendar window.
TfRRHHCAOP *AbrirCalendarioOperario(int operario, int anyo, int mes, int calendario);
