#pragma once
#include "GENEW/data/ventanas/FormularioMaestro.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Lists.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"
#include "projects/proyectos/HuecoLinea.h"
#include "projects/proyectos/PlanProyecto.h"
#include "projects/proyectos/Proymodu.h"
#include "projects/proyectos/RejillaGantt.h"

#include <QVariant>
#include <optional>
#include <utility>

namespace plat {
class Connection;
}

// The project master: the projects (PROYECT) with their chapters and milestones (LPROYECT),
// each chapter's plan figures, and the project's Gantt page.
class TfPROYPROY : public FormularioMaestro
{
    Q_OBJECT
public:
    explicit TfPROYPROY(QWidget *parent = nullptr);
    ~TfPROYPROY() override;

    plat::TableComponent *Table2, *Cliente, *Operario, *Temporal;
    plat::DataSource *DataSource2, *DSOperario;
    plat::Panel *PanelCabecera, *PanelHerramientas;
    plat::Label *LabelCodigo, *LabelDescripcion, *LabelSituacion;
    plat::DBEdit *EditCodigoProyecto, *EditDescripcion;
    plat::DBComboBox *EditSituacion;
    plat::SpeedButton *pbImprimirDocumento, *VerDias, *pbDuplicar, *pbImprimir, *pbImprimirApaisado, *pbDocumentoWord,
        *pbEliminarDocumentoWord, *pbDocumentacionElectronica;
    plat::ComboBox *Modalidad;
    plat::PageControl *PageControl1;
    plat::TabSheet *PagGeneral, *PagCapitulos, *PagGrafico;
    plat::DBMemo *DBMemo1;
    plat::Label *LabelCliente, *LabelDirector, *LabelPersonaContacto, *LabelTelefono, *LabelFechaAceptacion,
        *LabelFechaEntrega, *LabelFechaFinalizacion;
    plat::DBEdit *EditCodigoCliente, *EditNombreCliente, *EditPersonaContacto, *EditTelefono, *EditFechaAceptacion,
        *EditFechaEntrega, *EditFechaFinalizacion;
    plat::DBLookupComboBox *EditDirector;
    plat::DBGrid *DBGrid1, *DBGrid2;
    plat::PopupMenu *PopupMenu1;
    plat::MenuItem *CortarLinea1, *CopiarLnea1, *PegarLinea1, *ReordenarporFechadeInicio1, *RenumerarCapitulos;

    QString CampoLinea;
    int SiguienteLinea = 1;
    bool InsercionIntermedia = false;
    bool LineaEnHueco = false;   // the line being added goes into a gap before the line it was inserted at
    plat::DataSetState EstadoCabeceraAlGrabarLinea = plat::DataSetState::Browse;
    QVariant LineaPortapapeles;

    // The work table the reordering sorts the lines in, made (or emptied, when the run made
    // it before) and opened at its first use; false when it could not be.
    bool abrirTablaTrabajo();

    bool ValidarControl(QWidget *control) override;
    bool ValidarProyecto(QObject *control);
    bool ValidarValorColumna(plat::DBGrid *rejilla, plat::Field *campo);

public slots:
    void FormCreate(QObject *Sender) override;
    void FormClose(QObject *Sender, plat::CloseAction &Action);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void FormResize(QObject *Sender);
    void GrabarDatos(QObject *Sender) override;
    void pbCancelarClick(QObject *Sender);
    void Eliminar1Click(QObject *Sender);
    void Table1NewRecord(plat::DataSet &DataSet) override;
    void Table1BeforeDelete(plat::DataSet &DataSet);
    void Table1AfterDelete(plat::DataSet &DataSet);
    void Table1DeleteError(plat::DataSet &DataSet, const gp::Error &E, plat::DataAction &Action);
    void Table1BeforeCancel(plat::DataSet &DataSet);
    void Table1AfterPost(plat::DataSet &DataSet) override;
    void Table1BeforePost(plat::DataSet &DataSet) override;
    void Table2BeforeInsert(plat::DataSet &DataSet);
    void Table2NewRecord(plat::DataSet &DataSet);
    void Table2BeforePost(plat::DataSet &DataSet);
    void Table2AfterPost(plat::DataSet &DataSet);
    void Table2CalcFields(plat::DataSet &DataSet);
    void DataSource2StateChange(QObject *Sender);
    void DBGrid1Enter(QObject *Sender);
    void DBGrid1KeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void DBGrid1ColExit(QObject *Sender);
    void DBGrid1DblClick(QObject *Sender) override;
    void DBGrid1EditButtonClick(QObject *Sender);
    void DBGrid1DrawColumnCell(QObject *Sender, const QRect &Rect, int DataCol, plat::GridColumn *Column,
                               plat::GridCellState State);
    void DBGrid2DrawColumnCell(QObject *Sender, const QRect &Rect, int DataCol, plat::GridColumn *Column,
                               plat::GridCellState State);
    void DBGrid2DrawTitle(QObject *Sender, const QRect &Rect, int DataCol, plat::GridColumn *Column);
    void BuscarDatosDBEdit(QObject *Sender) override;
    void ModalidadChange(QObject *Sender);
    void VerDiasClick(QObject *Sender);
    void PageControl1Change(QObject *Sender);

    // The line tools, printing and documents of the window.
    void CortarLinea1Click(QObject *Sender);
    void CopiarLnea1Click(QObject *Sender);
    void PegarLinea1Click(QObject *Sender);
    void ReordenarporFechadeInicio1Click(QObject *Sender);
    void RenumerarCapitulosClick(QObject *Sender);
    void pbImprimirClick(QObject *Sender);
    void pbImprimirDocumentoClick(QObject *Sender);
    void pbDuplicarClick(QObject *Sender);
    void pbDocumentoWordClick(QObject *Sender);
    void pbEliminarDocumentoWordClick(QObject *Sender);
    void pbDocumentacionElectronicaClick(QObject *Sender);
    void CopiarRegistrosaOtrasEmpresas1Click(QObject *Sender);
    void Table1AfterScroll(plat::DataSet &DataSet);

private:
    void construirCabecera(QWidget *area);
    void construirHerramientas(QWidget *area);
    void construirPaginas(QWidget *area);
    void construirPaginaGeneral();
    void construirRejillaCapitulos();
    void construirRejillaGrafico();
    void construirMenuLineas();
    void definirCampos();
    void conectarEventos();

    plat::DataSet &cabecera() const { return Table1->dataSet(); }
    plat::DataSet &lineas() const { return Table2->dataSet(); }
    plat::Connection *conexion() const;
    bool editandoLineas() const;
    void grabarLinea();
    void nuevaLinea();
    void ajustarGrafico();
    // The highest line number of the project: as the server has it, or, for the project this
    // window has just made (which has the lines the window gave it), from the lines the grid
    // holds when it holds all of them.
    int mayorLinea(bool delServidor = false);
    QString proyectoHecho_;   // the code of the last project this window saved new
    bool grabandoAlta_ = false;   // the project being posted is a new one
    // The project's stored dates and all its lines as the window holds them, for its plan.
    std::optional<TMDProyectos::ProyectoEnMano> proyectoEnMano(const QString &codigoProyecto) const;
    bool validarCliente();
    bool validarLinea(bool deRejilla);
    void terminarBorrado(bool confirmar);
    // Marks the next insertion to go before the current line, under its number (the gap is
    // opened when the new line is written, `hueco_`).
    void marcarHuecoLinea();
    // A line being edited is dropped and a header being edited saved before a tool walks the
    // lines; false when the header could not be saved.
    bool prepararHerramientaLineas();
    // The project's lines re-entered in the order of the work table's keys; false (the lines
    // as they were, the reason shown) when any step failed.
    bool reentrarLineasEnOrden(const QString &codigo);

    // The transaction a project's deletion runs in, from its before-delete to its end.
    plat::Connection *borrando_ = nullptr;
    NumeracionAlta numeracionLineas_;
    HuecoLinea hueco_;
    RejillaGantt *ganttGrafico_ = nullptr;
    InstanciaGlobal<TfPROYPROY> instancia_;
};

extern TfPROYPROY *fPROYPROY;
