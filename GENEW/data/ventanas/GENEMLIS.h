#pragma once
#include "GENEW/data/ventanas/GeometriaDialogo.h"
#include "platform/ui/Form.h"
#include "platform/ui/data/DBGrid.h"

#include <QStringList>

namespace plat {
class Button;
class Field;
class DataSet;
class DataSource;
class Label;
class MenuItem;
class Panel;
class PopupMenu;
class TableComponent;
} // namespace plat

// The list editor: a small list of rows in a grid over a temporary table, with per-row
// calculations, look-ups of coded columns, row styles, totals, value filters and the restore
// of the rows as loaded. MostrarListaDatos prepares it from an options text.
class TfGENEMLIS : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEMLIS(QWidget *parent = nullptr);
    ~TfGENEMLIS() override;

    plat::Panel *P1;
    plat::DBGrid *DBGrid1;
    plat::Panel *PanelTotales;
    plat::Label *LBTextoTotales;
    plat::Label *LBTotales;
    plat::Panel *PanelControl;
    plat::Button *pbAceptar;
    plat::Button *pbRestablecer;
    plat::Button *pbCancelar;
    plat::TableComponent *Temporal;
    plat::DataSource *DataSource1;
    plat::PopupMenu *PopupMenu1;
    plat::MenuItem *FiltrarRegistrosporValorIgualA;
    plat::MenuItem *FiltrarRegistrosporValorDesde;
    plat::MenuItem *FiltrarRegistrosporValorHasta;
    plat::MenuItem *FiltrarRegistrosporValoresDesdeHasta;
    plat::MenuItem *CancelarFiltros;
    plat::MenuItem *VerDetalle1;
    plat::MenuItem *ListadoProgramable1;

    // The rows as shown at first: each field's text (but the line number's) followed by "|",
    // a line per row.
    QStringList FilasCargadas;
    // Lines field + ":" + target + "->" + formula: leaving the field computes the target.
    QStringList CalculosCampos;
    // Lines search table + ">" + field: the field's value must be a key of the table.
    QStringList BusquedasCampos;
    // Fields, separated by ";", whose totals are shown under the grid.
    QString CamposTotalizadores;
    bool NoRedimensionarGrid = false;
    // While set, rows may be added.
    bool InsercionPermitida = true;

    // Kept from one opening to the next.
    static GeometriaDialogo Geometria;

    plat::DataSet &temporal() const;
    // True when the current row may be left or posted; computes the current column's
    // calculations and checks its look-ups first.
    bool ValidarLinea();
    void CalcularTotales();

public slots:
    void FormShow();
    void FormClose();
    void FormResize();
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void FormKeyPress(QObject *Sender, QChar &Key);
    void DBGrid1DblClick();
    void DBGrid1ColExit();
    void TemporalBeforePost();
    void TemporalNewRecord();
    void pbAceptarClick();
    void pbRestablecerClick();
    void FiltrarRegistrosporValorClick(QObject *Sender);
    void FiltrarRegistrosporValoresDesdeHastaClick();
    void CancelarFiltrosClick();
    void VerDetalle1Click();
    void PopupMenu1Popup();
    void ListadoProgramable1Click();

private:
    void DBGrid1DrawColumnCell(const QRect &Rect, plat::GridColumn *Column, plat::GridCellState State);
    void construirMenu();
    plat::MenuItem *opcionMenu(const QString &nombre, const QString &texto);
    // Adds the condition "(field op 'value')" to the filter; false when abandoned or refused.
    bool filtrarPorValor(const QString &operador, const QString &pregunta);
    void ajustarColumnas();
    // The fields a row's text holds, in order: all but the line number.
    QList<plat::Field *> camposFila() const;
    bool editando() const;
    // The search tables of the field's look-up lines.
    QStringList tablasBusqueda(const plat::Field &campo) const;
};

// Opens the list editor on rows given as text (a line per row, values by "|", "·" for a line
// break in a memo). Options as Name=Value lines: "Modo" ("Consulta", "Eliminar", "Sin
// Seleccion"), "NumeroCampos", "DefinicionCampos" (items by ";" of name,type,size,"ReadOnly",
// target->formula,width,search table), "Formato", "Titulo", "CamposTotalizadores", "Opciones"
// ("NoRedimensionarGrid"). Answers the rows as text: the edited list, or the chosen row(s).
QString MostrarListaDatos(const QString &opciones, const QString &datos);
