#pragma once
#include "GENEW/data/ventanas/VentanaPrograma.h"
#include "GENEW/reporting/EdicionInforme.h"
#include "GENEW/reporting/personalizados/DefinicionInforme.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Lists.h"

namespace plat {
class CheckBox;
class Edit;
class HtmlView;
class Label;
class Memo;
class MenuItem;
class PageControl;
class PaintBox;
class Panel;
class PopupMenu;
class RadioButton;
class SpeedButton;
class SpinEdit;
class TabSheet;
class TableComponent;
class TableDataSet;
} // namespace plat

// "Configuración de Informes Personalizados": an administrator composes a custom report from
// its seven lists (tables, columns, restrictions, ordering, links, groups, sums), its layout
// and its column widths; the statement follows every change as text and as coloured HTML.
// The report is kept in FILTRO under NombreTabla "GeneradorInformes"; the tool bar saves,
// searches, renames, deletes, restricts, copies, exports, imports and prints it.
class TfGENECINF : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfGENECINF(QWidget *parent = nullptr);

    plat::Panel *PanelBotones;
    plat::SpeedButton *pbBuscar;
    plat::SpeedButton *pbNuevo;
    plat::SpeedButton *pbGuardar;
    plat::SpeedButton *pbGuardarComo;
    plat::SpeedButton *pbEliminar;
    plat::SpeedButton *pbImprimir;
    plat::SpeedButton *pbValidarInforme;
    plat::SpeedButton *pbRestringirAUsuarios;
    plat::SpeedButton *pbPersonalizarMenu;
    plat::SpeedButton *pbCopiarConfiguracion;
    plat::SpeedButton *pbCopiarAOtrasEmpresas;
    plat::SpeedButton *pbExportar;
    plat::SpeedButton *pbImportar;
    plat::SpeedButton *pbZoom;
    plat::SpeedButton *pbSalir;
    plat::Label *LabelNombreInforme;
    plat::Edit *edNombreInforme;
    plat::PageControl *PageControl1;
    plat::TabSheet *TSConfiguracion;
    plat::TabSheet *TSFormato;
    plat::ListBox *LBTablas;
    plat::ListBox *LBColumnas;
    plat::ListBox *LBRestricciones;
    plat::ListBox *LBOrdenacion;
    plat::ListBox *LBVinculos;
    plat::ListBox *LBGrupos;
    plat::ListBox *LBSumatorios;
    plat::Memo *MemoSentenciaSQL;
    plat::Label *LabelSentenciaSQL;
    plat::HtmlView *WebBrowser1;
    plat::RadioButton *FormatoColumnar;
    plat::RadioButton *FormatoFicha;
    plat::SpinEdit *NumeroColumnasFicha;
    plat::SpinEdit *NumeroLineasMemoFicha;
    plat::CheckBox *OrientacionApaisada;
    plat::CheckBox *SepararPorPaginas;
    plat::Panel *PanelFormatoColumnas;
    plat::PaintBox *PaintBox1;
    plat::StringGrid *SGFormatoColumnas;
    plat::SpeedButton *pbAutoajuste;
    plat::PopupMenu *PopupListas;
    plat::MenuItem *SubirElementoLista1;
    plat::MenuItem *BajarElementoLista1;
    plat::MenuItem *AgregarElementoLista1;
    plat::MenuItem *EliminarElementoLista1;
    plat::TableComponent *Filtro;

    // The report the window shows: its lists, options, widths and rights. The list boxes, the
    // statement and the grid show it; every edit goes here first.
    DefinicionInforme Definicion;

    // The definition's storage.
    void CargarInforme(const QString &nombre);
    bool GuardarInforme(const QString &nombre, const QString &opciones);
    bool InformeModificado();
    QString ConstruirInstrucciones();
    QString ConstruirOpciones();
    QString ConstruirFormatoColumnas();
    void ActualizarSentenciaSQL(const QString &opciones);
    QString TituloColumnaInforme(const QString &elemento);
    // The ordering checked against the groups and the statement test-run; the SQL service's
    // answer ("Error..." on failure). "Silenciosa" shows nothing.
    QString ValidarInforme(const QString &opciones);

public slots:
    void FormCreate(QObject *Sender);
    void FormShow(QObject *Sender);
    void FormActivate(QObject *Sender);
    void pbValidarInformeClick(QObject *Sender);
    void pbZoomClick(QObject *Sender);
    void pbAgregarLBClick(QObject *Sender);
    void pbEliminarLBClick(QObject *Sender);
    void pbSubirLBClick(QObject *Sender);
    void pbBajarLBClick(QObject *Sender);
    void AgregarElementoListaClick(QObject *Sender);
    void EliminarElementoListaClick(QObject *Sender);
    void SubirElementoListaClick(QObject *Sender);
    void BajarElementoSeleccionadoClick(QObject *Sender);
    void LBColumnasDblClick(QObject *Sender);
    void LBOrdenacionDblClick(QObject *Sender);
    void LBDrawItem(QObject *Control, int Index, const QRect &Rect, plat::OwnerDrawState State);
    void FormatoClick(QObject *Sender);
    void OrientacionApaisadaClick(QObject *Sender);
    void PaintBox1Paint(QObject *Sender);
    void SGFormatoColumnasDrawCell(QObject *Sender, int ACol, int ARow, const QRect &Rect, plat::GridDrawState State);
    void SGFormatoColumnasMouseUp(QObject *Sender);
    void SGFormatoColumnasColumnMoved(QObject *Sender, int FromIndex, int ToIndex);
    void pbAutoajusteClick(QObject *Sender);

    void BuscarDatosDBEdit(QObject *Sender);
    void pbNuevoClick(QObject *Sender);
    void pbGuardarClick(QObject *Sender);
    void pbGuardarComoClick(QObject *Sender);
    void pbEliminarClick(QObject *Sender);
    void pbSalirClick(QObject *Sender);
    void pbImprimirClick(QObject *Sender);
    void pbRestringirAUsuariosClick(QObject *Sender);
    void pbPersonalizarMenuClick(QObject *Sender);
    void pbCopiarConfiguracionClick(QObject *Sender);
    void pbCopiarAOtrasEmpresasClick(QObject *Sender);
    void pbExportarClick(QObject *Sender);
    void pbImportarClick(QObject *Sender);

private:
    void construirBotones();
    void construirConfiguracion();
    void construirFormato();
    void construirMenu();
    plat::ListBox *construirLista(const QString &nombre, const QString &titulo, const QString &subtitulo,
                                  class QGridLayout *rejilla, int fila, int columna);
    QStringList &listaDe(const plat::ListBox *lista);
    edicionInforme::ListasInforme listas();
    plat::ListBox *listaDeBoton(QObject *boton, const QString &prefijo);
    plat::ListBox *listaEnfocada();
    // The definition into the list boxes (selection kept) and the layout controls.
    void mostrarListas();
    void mostrarOpciones();
    // The layout controls into the definition.
    void leerOpciones();
    // The format grid from the definition's columns and widths.
    void mostrarRejilla();
    int anchoTitulo(const QString &columna);
    QList<edicionInforme::CampoInforme> camposDeTablas(bool conTipo);
    QString seleccionar(const QStringList &candidatos, const QString &opciones);
    void agregarTablas();
    void agregarColumnas();
    void agregarExpresion();
    void agregarGrupoAnalisis();
    void agregarRestriccion();
    void agregarVinculo();
    void editarTitulo(int fila);
    // The report row of a name: false when absent.
    bool leerFila(const QString &nombre, QString *filtro, QString *instrucciones);
    bool abrirFiltro();
    bool nombreExiste(const QString &nombre);
    QString primerNombre();
    // Whether the user may go on after the question of saving a modified report.
    bool guardarSiModificado(const QString &pregunta);
    void recordarCambios();
    bool esAdministrador() const;

    // The definition with the grid's widths when they are set (row 2 "Formato").
    DefinicionInforme definicionCompleta();

    InstanciaGlobal<TfGENECINF> instancia_;
};

extern TfGENECINF *fGENECINF;
