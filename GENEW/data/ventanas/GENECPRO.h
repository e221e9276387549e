#pragma once
#include "GENEW/data/servicios/TextosListado.h"
#include "platform/base/Gancho.h"
#include "platform/data/engine/Schema.h"
#include "platform/ui/Form.h"
#include "platform/ui/Grids.h"

#include <QStringList>
#include <functional>

namespace plat {
class Button;
class CheckBox;
class ComboBox;
class DataSet;
class DataSource;
class DBGrid;
class DBNavigator;
class Edit;
class ListBox;
class MenuItem;
class Memo;
class PageControl;
class Panel;
class PopupMenu;
class QueryComponent;
class SpeedButton;
class SpinEdit;
class StringGrid;
class TabSheet;
class TableComponent;
} // namespace plat

class TfGENECPRO;

// Makes the listing of the dataset the dialog shows (preview or print); installed by the
// reporting layer, which owns the run-time listing.
using ImprimirListadoFn = std::function<void(TfGENECPRO &dialogo, plat::DataSet &datos)>;
Gancho<ImprimirListadoFn> &ganchoImprimirListadoProgramable();

// "Listado Programable": the long-lived dialog where the user picks and orders fields,
// limits rows by ranges and filter lines, adjusts the columns on a sample grid and lists or
// exports; the choices are kept by name in FORMLIST. Created once at start-up.
class TfGENECPRO : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENECPRO(QWidget *parent = nullptr);
    ~TfGENECPRO() override;

    // Lists the data set with the saved formats whose names begin with the prefix.
    // Options: "CamposOrdenadosOFF" keeps the data set's field order.
    virtual void AbrirListado(plat::DataSet &dataSet, const QString &prefijoFormato, const QString &titulo,
                              const QString &opciones);

    plat::PageControl *PageControl1;
    plat::TabSheet *PagSeleccionCampos;
    plat::TabSheet *PagDesdeHasta;
    plat::TabSheet *PagFiltros;
    plat::TabSheet *PagAjustar;
    plat::ListBox *LBDisponible;
    plat::ListBox *LBSeleccionado;
    plat::StringGrid *StringGrid;
    plat::ComboBox *ListaCampos;
    plat::ComboBox *Operador;
    plat::Edit *Valor;
    plat::Button *pbAgregar;
    plat::Memo *MemoFiltros;
    plat::DBGrid *DBGrid1;
    plat::CheckBox *FormatoFicha;
    plat::SpinEdit *NumeroColumnasFicha;
    plat::SpinEdit *NumeroLineasMemoFicha;
    plat::CheckBox *SepararPorPaginas;
    plat::ComboBox *cbTamanio;
    plat::CheckBox *cbApaisado;
    plat::CheckBox *VisualizacionPrevia;
    plat::CheckBox *cbClasificado;
    plat::CheckBox *LimitarPalabras;
    plat::Edit *Titulo;
    plat::ComboBox *NombreFormato;
    plat::SpeedButton *pbGuardar;
    plat::SpeedButton *pbGuardarComo;
    plat::SpeedButton *pbEliminar;
    plat::SpeedButton *pbStandard;
    plat::SpeedButton *pbCambiarFont;
    plat::SpeedButton *pbActivarTablaLogica;
    plat::SpeedButton *pbExportarExcel;
    plat::DBNavigator *DBNavigator1;
    plat::Button *pbConforme;
    plat::Button *pbSalir;
    plat::TableComponent *FORMLIST;
    plat::TableComponent *TablaFisica;
    plat::TableComponent *Temporal;   // the sorted copy of a logical-mode listing
    plat::QueryComponent *Query1;
    plat::DataSource *DSAjustar;
    plat::DataSource *DSFormatos;
    plat::PopupMenu *PopupMenu1;
    plat::MenuItem *BorrarFiltros1;
    plat::MenuItem *DeseleccionarTodos1;
    plat::MenuItem *SeleccionarTodos1;

    bool ModoLogico() const;
    // The type name of each field offered, parallel to ListaCampos.
    const QStringList &TiposCampos() const { return tipos_; }
    // The condition of the filter memo and the "Desde-Hasta" grid in the current mode.
    QString TextoCondicion() const;
    // The query's text for the current selection, filters and ranges (physical mode).
    QString TextoConsulta() const;
    // The dataset the listing is made of: the query (physical) or the listed dataset.
    plat::DataSet *DatosAjustar() const;

public slots:
    void pbAgregarClick(QObject *Sender);
    void pbConformeClick(QObject *Sender);
    void pbGuardarClick(QObject *Sender);
    void pbGuardarComoClick(QObject *Sender);
    void pbEliminarClick(QObject *Sender);
    void pbStandardClick(QObject *Sender);
    void pbCambiarFontClick(QObject *Sender);
    void PageControl1Change(QObject *Sender);
    void FormatoFichaClick(QObject *Sender);
    void pbActivarTablaLogicaClick(QObject *Sender);
    void LBDisponibleDragOver(QObject *Sender, QObject *Source, int X, int Y, plat::DragState State, bool &Accept);
    void LBDisponibleDragDrop(QObject *Sender, QObject *Source, int X, int Y);
    void LBSeleccionadoDragOver(QObject *Sender, QObject *Source, int X, int Y, plat::DragState State, bool &Accept);
    void LBSeleccionadoDragDrop(QObject *Sender, QObject *Source, int X, int Y);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void StringGridDrawCell(QObject *Sender, int ACol, int ARow, const QRect &Rect, plat::GridDrawState State);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void construirControles();
    void construirMenu();
    QString grupo() const;
    QString nombreTablaListada() const;
    bool abrirTablas();
    bool abrirFormatos(bool crear);
    bool leerColumnasFisicas();
    QList<plat::FieldDef> camposFuente() const;
    bool hayTablaFormatos() const;
    void cargarFormato(bool estandar);
    void formatoElegido();
    QVector<CampoListado> seleccionConTipos() const;
    bool abrirConsulta(bool paraListar = false);
    bool aplicarFiltroLogico();
    void volverASeleccion();
    void deListaARejilla();
    void deRejillaALista();
    void prepararColumnasAjustar();
    void anchoDeColumna(int columna, int pixeles);
    bool pasarAAjustarLogico();
    void marcarCamposListados(plat::DataSet &datos) const;
    void listar(plat::DataSet &datos);
    void restaurarFiltro();

    plat::DataSet *dataSet_ = nullptr;
    QString prefijo_;
    QString titulo_;
    QString programaListado_;   // the program of the window whose data is listed
    QString filtroOriginal_;
    bool filtroGuardado_ = false;   // filtroOriginal_ is the listed dataset's, to give back
    QStringList tipos_;
    QList<plat::FieldDef> columnasFisicas_;   // the listed table's columns (physical mode)
    int paginaAnterior_ = 0;
    bool cabeceraPulsada_ = false;   // a column width is being dragged by the user
};

extern TfGENECPRO *fGENECPRO;
