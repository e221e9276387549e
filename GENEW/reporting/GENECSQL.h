#pragma once
#include "GENEW/data/ventanas/VentanaPrograma.h"
#include "GENEW/reporting/consultas/ComandosRejilla.h"
#include "GENEW/reporting/consultas/InstruccionesConsulta.h"
#include "platform/ui/Keys.h"

#include <QPoint>
#include <functional>

#include <memory>

namespace plat {
class ComboBox;
class DataSource;
class DBGrid;
class GridColumn;
class ListBox;
class Memo;
class MenuItem;
class Panel;
class PopupMenu;
class QueryComponent;
class SpeedButton;
class TableComponent;
} // namespace plat

// "Consultas SQL": the user writes a statement with variables, runs it on the company
// database or another one, sees (and, with pbModificar down, edits) the result, filters,
// searches, sorts, prints, exports and charts it, and stores it in FILTRO under a name for
// the menus and the statement runner. The insertion panel writes keywords, operators,
// tables and fields into the statement.
class TfGENECSQL : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfGENECSQL(QWidget *parent = nullptr);
    ~TfGENECSQL() override;

    plat::Panel *PanelBotones;
    plat::SpeedButton *pbEjecutar;
    plat::SpeedButton *pbModificar;
    plat::SpeedButton *pbImprimir;
    plat::SpeedButton *pbImprimirApaisado;
    plat::SpeedButton *pbExportar;
    plat::SpeedButton *pbImportar;
    plat::SpeedButton *pbExportarExcel;
    plat::SpeedButton *pbGrafico;
    plat::SpeedButton *pbGuardarFiltro;
    plat::SpeedButton *pbGuardarFiltroComo;
    plat::SpeedButton *pbEliminarFiltro;
    plat::SpeedButton *pbCambioDatabase;
    plat::SpeedButton *pbCambiarFont;
    plat::SpeedButton *pbRefrescar;
    plat::SpeedButton *pbZoom;
    plat::SpeedButton *pbRestringirAUsuarios;
    plat::SpeedButton *pbPersonalizarMenu;
    plat::SpeedButton *pbCopiarConfiguracion;
    plat::SpeedButton *pbCopiarAOtrasEmpresas;
    plat::SpeedButton *pbSalir;
    plat::ComboBox *EditDescripcionFiltro;
    plat::Panel *PanelSentencia;
    plat::Memo *SentenciaSQL;
    plat::DBGrid *DBGrid1;
    plat::QueryComponent *QryConsultasSQL;
    plat::DataSource *DSConsultasSQL;
    plat::TableComponent *Filtro;
    plat::TableComponent *Table1;
    plat::Panel *PanelInserciones;
    plat::ListBox *LBComandosSQL;
    plat::ListBox *LBOperacion;
    plat::ListBox *LBTablas;
    plat::ListBox *LBCampos;
    plat::PopupMenu *PopupSentencia;
    plat::MenuItem *InsertarComandoSQL1;
    plat::MenuItem *InsertarTabla1;
    plat::MenuItem *InsertarCampo1;
    plat::PopupMenu *PopUpGrid;
    plat::MenuItem *FiltrarIgual1;
    plat::MenuItem *FiltrarDesde1;
    plat::MenuItem *FiltrarHasta1;
    plat::MenuItem *CancelarFiltros1;
    plat::MenuItem *CancelarOrdenado1;
    plat::MenuItem *BuscarRegistro1;

    // The current statement's Name=Value lines.
    InstruccionesConsulta Instrucciones;

public slots:
    void FormCreate(QObject *Sender);
    void pbEjecutarClick(QObject *Sender);
    void pbModificarClick(QObject *Sender);
    void pbImprimirClick(QObject *Sender);
    void pbExportarClick(QObject *Sender);
    void pbImportarClick(QObject *Sender);
    void pbExportarExcelClick(QObject *Sender);
    void pbGraficoClick(QObject *Sender);
    void pbGuardarFiltroClick(QObject *Sender);
    void pbGuardarFiltroComoClick(QObject *Sender);
    void pbEliminarFiltroClick(QObject *Sender);
    void pbCambioDatabaseClick(QObject *Sender);
    void pbCambiarFontClick(QObject *Sender);
    void pbRefrescarClick(QObject *Sender);
    void pbZoomClick(QObject *Sender);
    void pbRestringirAUsuariosClick(QObject *Sender);
    void pbPersonalizarMenuClick(QObject *Sender);
    void pbCopiarConfiguracionClick(QObject *Sender);
    void pbCopiarAOtrasEmpresasClick(QObject *Sender);
    void EditDescripcionFiltroChange(QObject *Sender);
    void DBGrid1EditButtonClick(QObject *Sender);
    void DBGrid1KeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void DBGrid1TitleClick(QObject *Sender, plat::GridColumn *Column);
    void LBTablasClick(QObject *Sender);
    void LBComandosSQLDblClick(QObject *Sender);
    void LBOperacionDblClick(QObject *Sender);
    void LBTablasDblClick(QObject *Sender);
    void LBCamposDblClick(QObject *Sender);
    void InsertarClick(QObject *Sender);
    void FiltrarClick(QObject *Sender);
    void CancelarFiltrosClick(QObject *Sender);
    void CancelarOrdenadoClick(QObject *Sender);
    void BuscarRegistroClick(QObject *Sender);

private:
    void construirBotones();
    void construirSentenciaYRejilla();
    void construirInserciones();
    void construirMenus();
    void asignarManejadores();
    // The stored statements the user may run, into the combo; the table is left at its end.
    void llenarDescripciones();
    void cargarSentencia();
    bool ejecutar();
    // A "Solo Lectura" user: stored statements only, nothing written.
    void impedirCambios();
    bool edicionActiva() const;
    void ponerSalida(bool habilitada);
    void llenarTablas();
    void pedirGuardarTrasCambio();
    void editarLineas(const std::function<void(QStringList &)> &cambio);
    bool esAdministrador() const;
    int tablaElegida() const;

    InstanciaGlobal<TfGENECSQL> instancia_;
    std::unique_ptr<ComandosRejilla> comandos_;
    bool vivoConModificar_ = false;   // the live result only while pbModificar is down
    bool soloLectura_ = false;
    QPoint agarre_;   // where the insertion panel was taken to be dragged
};

extern TfGENECSQL *fGENECSQL;
