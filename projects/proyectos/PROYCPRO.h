#pragma once
#include "GENEW/data/ventanas/VentanaPrograma.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"
#include "projects/proyectos/ConsultaProyectos.h"
#include "projects/proyectos/ListadoGrafico.h"
#include "projects/proyectos/RejillaGantt.h"

#include <QHash>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

// The project query: the projects chosen by situation and director with their plan
// figures, their Gantt bars and the current project's chapters over a horizon, the hours
// still pending up to a date, and the tools that re-plan chapters and close projects.
class TfPROYCPRO : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfPROYCPRO(QWidget *parent = nullptr);
    ~TfPROYCPRO() override;

    plat::QueryComponent *QryProyecto;
    std::unique_ptr<plat::DataSetProvider> DSPProyecto;
    plat::ClientDataSetComponent *Proyecto;
    plat::TableComponent *LProyecto;
    plat::DataSource *DataSource1, *DataSource3;

    plat::Panel *PanelInferior, *PanelSuperior;
    plat::Label *LabelDirector, *LabelEstadisticas, *LabelHorizonte, *LabelDirectorConsulta;
    plat::DBEdit *EditNombreDirector;
    plat::Edit *EditFechaEstadisticas, *EditEstadisticas, *DesdeHorizonte, *HastaHorizonte;
    plat::SpeedButton *pbEstadisticas, *VerProyectosAbiertos, *VerProyectosCerrados, *VerDias, *VerGradoAvance3,
        *VerPlanificado, *VerSoloMalPlanificado, *AccesoMaestroProyectos, *pbImprimir, *pbImprimirApaisado,
        *pbCerrarProyectoCapitulo, *pbSalir;
    plat::ComboBox *EditCodigoOperario;
    plat::PageControl *PageControl1;
    plat::TabSheet *PagGeneral, *PagGrafico;
    plat::DBGrid *DBGrid1, *DBGrid2, *DBGrid3;
    plat::Splitter *Splitter1;
    plat::PopupMenu *PopupMenu1, *PopupMenu2;
    plat::MenuItem *FiltrarIgual1, *FiltrarDesde1, *FiltrarHasta1, *FiltrarRegistrosporValoresDesdeHasta1,
        *CancelarFiltros1, *RestaurarConfiguracinOriginalRejilla1, *CambiarCondiciones1, *Desplazar1, *Ampliar1,
        *DarporTerminado1;

    bool PrimeraActivacion = false;

    bool ValidarFechasConsulta();
    void ConstruirConsultaProyectos();
    void DarPorTerminado();
    // The listing of the focused grid's rows (the chapters when DBGrid3 has the focus, else
    // the projects) over the horizon; landscape for pbImprimirApaisado.
    PeticionListadoGrafico PeticionImprimir(QObject *Sender) const;

public slots:
    void FormCreate(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormClose(QObject *Sender, plat::CloseAction &Action);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void FormKeyPress(QObject *Sender, QChar &Key);
    void FormResize(QObject *Sender);
    void pbSalirClick(QObject *Sender);
    void ReconsultarClick(QObject *Sender);
    // Leaving one of the query's dates.
    void FechaExit(QObject *Sender);
    void VerDiasClick(QObject *Sender);
    void PageControl1Change(QObject *Sender);
    void AccesoMaestroProyectosClick(QObject *Sender);
    void pbImprimirClick(QObject *Sender);
    void pbCerrarProyectoCapituloClick(QObject *Sender);
    void FiltrarRegistrosporValorClick(QObject *Sender);
    void FiltrarRegistrosporValoresDesdeHasta1Click(QObject *Sender);
    void CancelarFiltros1Click(QObject *Sender);
    void RestaurarConfiguracinOriginalRejilla1Click(QObject *Sender);
    void CambiarCondicionesClick(QObject *Sender);
    void DesplazarClick(QObject *Sender);
    void DarporTerminadoClick(QObject *Sender);
    void QryProyectoCalcFields(plat::DataSet &DataSet);
    void LProyectoCalcFields(plat::DataSet &DataSet);
    void LProyectoFilterRecord(plat::DataSet &DataSet, bool &Accept);
    void DBGrid2DrawColumnCell(QObject *Sender, const QRect &Rect, int DataCol, plat::GridColumn *Column,
                               plat::GridCellState State);
    void DBGrid3DrawColumnCell(QObject *Sender, const QRect &Rect, int DataCol, plat::GridColumn *Column,
                               plat::GridCellState State);
    void DBGrid2DrawTitle(QObject *Sender, const QRect &Rect, int DataCol, plat::GridColumn *Column);
    void DBGrid3DrawTitle(QObject *Sender, const QRect &Rect, int DataCol, plat::GridColumn *Column);

private:
    void construirPanelSuperior(QWidget *area);
    void construirPanelInferior(QWidget *area);
    void construirPaginas(QWidget *area);
    void construirMenus();
    void definirCampos();
    void conectarEventos();
    void cargarDirectores();
    void calcularFilasProyecto();
    void calcularEstadisticas();
    void ajustarGraficos();
    plat::DBGrid *rejillaActiva() const;
    VistaCapitulos vistaCapitulos() const;
    // Writes a chapter's row through `cambiar`, showing the system's warning when it cannot
    // be saved; true when saved.
    bool grabarCapitulo(const std::function<void(plat::DataSet &)> &cambiar);
    // The given rows of LProyecto, or else every chapter of the current project the chapter
    // filter shows, each made current in turn; the chapter that was current is current again.
    void recorrerCapitulos(const std::optional<QList<plat::Bookmark>> &filas, bool haciaAtras,
                           const std::function<void()> &visitar);
    void filtrarPorValor(const QString &operador);
    QDateTime fechaEdicion(const plat::Edit &edicion) const;
    // The query's dates, each with the name its refusal gives it.
    QList<std::pair<plat::Edit *, QString>> fechasConsulta() const;
    // The wrong date a date edit last said, which leaving it again does not say again.
    QHash<const plat::Edit *, QString> fechaDicha_;

    RejillaGantt *ganttCapitulos_ = nullptr;
    InstanciaGlobal<TfPROYCPRO> instancia_;
};

extern TfPROYCPRO *fPROYCPRO;
