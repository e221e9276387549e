#pragma once
#include "GENEW/data/servicios/busqueda/SentenciaBusqueda.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"

#include <memory>

// The long-lived form of the record search: created once at start-up and shown again on every
// call. The caller sets Tabla, Filtro, CamposVisibles, Indice and the text of DatoABuscar; the
// accepted row's key values come back in Resultado, one per line ("NULL" for an empty last one).
class TfGENEBUSQ : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEBUSQ(QWidget *parent = nullptr);
    ~TfGENEBUSQ() override;

    plat::Panel *PanelBuscar;
    plat::Label *Label2;
    plat::SpeedButton *pbPersonalizarBusqueda;
    plat::Edit *DatoABuscar;
    plat::StatusBar *StatusBar1;
    plat::Panel *Panel2;
    plat::DBNavigator *DBNavigator1;
    plat::Button *pbConforme;
    plat::Button *pbCancelar;
    plat::Panel *Panel3;
    plat::DBGrid *DBGrid1;
    plat::Panel *PanelPersonalizarBusqueda;
    plat::RadioButton *BusquedaAproximada;
    plat::RadioButton *BusquedaParcial;
    plat::RadioButton *BusquedaFonetica;
    plat::Label *Label1;
    plat::ComboBox *ListaCamposBusqueda;
    plat::Label *Label3;
    plat::ComboBox *NumeroMaximoRegistros;
    plat::CheckBox *ResultadosOrdenados;
    plat::CheckBox *MostrarCamposMemo;
    plat::QueryComponent *Query1;
    plat::ClientDataSetComponent *ClientDataSet1;
    plat::DataSource *DataSource1;
    plat::PopupMenu *PopupMenu1;
    plat::MenuItem *LetraPequena;
    plat::MenuItem *FiltrarRegistrosporValorIguala;
    plat::MenuItem *FiltrarRegistrosporValorDesde;
    plat::MenuItem *FiltrarRegistrosporValorHasta;
    plat::MenuItem *FiltrarRegistrosporValoresDesdeHasta1;
    plat::MenuItem *CancelarFiltros1;
    plat::MenuItem *ListadoProgramable1;

    QString Tabla;
    QString Filtro;
    QString CamposVisibles;
    QString Resultado;
    int Indice = 0;

    ModoBusqueda modo() const;
    // The conditions the grid's value filters have added so far.
    QString filtroValores() const { return filtroValores_; }
    // The statement the last search ran.
    QString ultimaSentencia() const { return ultimaSentencia_; }

public slots:
    void FormCreate(QObject *Sender);
    void FormShow(QObject *Sender);
    void FormClose(QObject *Sender, plat::CloseAction &Action);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void pbBuscarClick(QObject *Sender);
    void pbConformeClick(QObject *Sender);
    void pbPersonalizarBusquedaClick(QObject *Sender);
    void ModoBusquedaClick(QObject *Sender);
    void ListaCamposBusquedaChange(QObject *Sender);
    void ListaCamposBusquedaCloseUp(QObject *Sender);
    void ListaCamposBusquedaKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void NumeroMaximoRegistrosChange(QObject *Sender);
    void NumeroMaximoRegistrosCloseUp(QObject *Sender);
    void NumeroMaximoRegistrosKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void ResultadosOrdenadosClick(QObject *Sender);
    void MostrarCamposMemoClick(QObject *Sender);
    void DatoABuscarKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void DatoABuscarKeyPress(QObject *Sender, QChar &Key);
    void DatoABuscarDblClick(QObject *Sender);
    void DBGrid1KeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void DBGrid1DblClick(QObject *Sender);
    void DBGrid1DrawColumnCell(QObject *Sender, const QRect &Rect, int DataCol, plat::GridColumn *Column,
                               plat::GridCellState State);
    void LetraPequenaClick(QObject *Sender);
    void FiltrarRegistrosporValorClick(QObject *Sender);
    void FiltrarRegistrosporValoresDesdeHasta1Click(QObject *Sender);
    void CancelarFiltros1Click(QObject *Sender);
    void ListadoProgramable1Click(QObject *Sender);

private:
    void construirPanelBuscar();
    void construirPanelPersonalizar();
    void construirDatos();
    void construirMenu();
    void asignarManejadores();
    plat::MenuItem *opcionMenu(const QString &nombre, const QString &texto);
    void llenarListaCampos();
    void restaurarPreferencias();
    void grabarPreferencias();
    void refrescarEstado();
    void seleccionarModo(ModoBusqueda modo);
    void prepararColumnas();
    void filtrarPorValor(const QString &operador, const QString &pregunta);
    void cerrarRespuesta();
    const plat::Dialect &dialecto() const;
    bool esSQLServer() const;

    QString filtroValores_;
    QString ultimaSentencia_;
    bool ocupado_ = false;
    int ultimaTecla_ = 0;
    std::unique_ptr<plat::DataSetProvider> DataSetProvider1;
};

extern TfGENEBUSQ *fGENEBUSQ;
