#pragma once
#include "GENEW/data/ventanas/VentanaPrograma.h"
#include "GENEW/reporting/consultas/InstruccionesConsulta.h"
#include "GENEW/reporting/consultas/PanelVariables.h"

#include <QList>
#include <memory>

namespace plat {
class ClientDataSetComponent;
class DataSetProvider;
class DataSource;
class DBGrid;
class Edit;
class Label;
class MenuItem;
class Panel;
class PopupMenu;
class QueryComponent;
class SpeedButton;
class Splitter;
class StatusBar;
} // namespace plat
class ComandosRejilla;

// The runner of stored SQL statements, opened from the main window's menu on a statement's
// caption: it asks the statement's variables in a panel of boxes, runs it on the company
// database and shows a query's rows in a grid (a copy of them: edits are written back only
// by pbGuardarCambios), which it filters, prints and exports.
class TfGENEUSQL : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfGENEUSQL(QWidget *parent = nullptr);
    ~TfGENEUSQL() override;

    // Loads the statement the menu caption names and asks its variables, or runs it at once
    // when it has none (a statement that is no query, or fails, then closes the window).
    Q_INVOKABLE void CargaConsulta(const QString &descripcion);
    QString Consulta;        // the stored statement's name; empty when none was found
    QString SentenciaSQL;    // its text
    InstruccionesConsulta Instrucciones;
    bool HayVariables = false;
    bool PrimeraEjecucion = true;
    // One label and one box per variable name, in the order the names are listed.
    QList<plat::Label *> EtiquetasVariables;
    QList<plat::Edit *> ValoresVariables;

    plat::Panel *PanelBotones;
    plat::SpeedButton *pbEjecutar;
    plat::SpeedButton *pbModificar;
    plat::SpeedButton *pbImprimir;
    plat::SpeedButton *pbImprimirApaisado;
    plat::SpeedButton *pbExportar;
    plat::SpeedButton *pbImportar;
    plat::SpeedButton *pbExportarExcel;
    plat::SpeedButton *pbGuardarCambios;
    plat::SpeedButton *pbCambiarFont;
    plat::SpeedButton *pbSalir;
    plat::Splitter *Separador;
    plat::Panel *PanelParametros;
    plat::Label *LBPanelParametros;
    plat::Panel *PanelParametrosInterno;
    plat::SpeedButton *pbAplicar;
    plat::Panel *PanelRejilla;
    plat::DBGrid *DBGrid1;
    plat::StatusBar *StatusBar1;
    plat::QueryComponent *QryConsultasSQL;
    std::unique_ptr<plat::DataSetProvider> DataSetProvider1;
    plat::ClientDataSetComponent *ClientDataSet1;
    plat::DataSource *DataSource1;
    plat::PopupMenu *PopUpGrid;
    plat::MenuItem *FiltrarIgual1;
    plat::MenuItem *FiltrarDesde1;
    plat::MenuItem *FiltrarHasta1;
    plat::MenuItem *CancelarFiltros1;

public slots:
    void FormCreate(QObject *Sender);
    void pbEjecutarClick(QObject *Sender);
    void pbModificarClick(QObject *Sender);
    void pbImprimirClick(QObject *Sender);
    void pbExportarClick(QObject *Sender);
    void pbImportarClick(QObject *Sender);
    void pbExportarExcelClick(QObject *Sender);
    void pbGuardarCambiosClick(QObject *Sender);
    void pbCambiarFontClick(QObject *Sender);
    void FiltrarClick(QObject *Sender);
    void CancelarFiltrosClick(QObject *Sender);

private:
    void construirBotones();
    void construirPaneles();
    void construirMenu();
    void crearPanelParametros(const QStringList &variables);
    // The values of the boxes ("_" boxes copied from their base), checked and bound; false
    // when a check failed (its message was shown).
    bool asignarValores();
    // Runs the statement; true when it ran.
    bool ejecutar();
    void mostrarResultado();
    void ajustarAnchoVentana();
    void habilitarSalida(bool exportar, bool modificar);
    bool esConsulta() const;

    InstanciaGlobal<TfGENEUSQL> instancia_;
    std::unique_ptr<ComandosRejilla> comandos_;
    DisenoPanelVariables diseno_;
};

extern TfGENEUSQL *fGENEUSQL;
