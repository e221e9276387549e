#pragma once
#include "GENEW/runtime/comun/RutinasTipos.h"

#include <QList>
#include <QString>
#include <optional>

// The saved layout of a data grid as the FILTRO row keeps it, and the fitting of its
// columns to the grid's width: plain values, no widgets, so the reading of a stored text
// can be tried on any input.

struct FuenteRejilla
{
    QString nombre;
    std::optional<int> tamano;   // points; absent when the stored size is no integer
    TColor color = 0;
    TFontStyles estilos = 0;
};

struct ColumnaRejilla
{
    QString campo;
    int ancho = 0;   // pixels
    QString titulo;
};

struct ConfiguracionRejillaLeida
{
    std::optional<FuenteRejilla> fuente;                 // when a "Font" line was met
    std::optional<QList<ColumnaRejilla>> columnas;       // when a "Campos" line was met
};

// "Font=" + name + "|" + size + "|" + colour name, then "|" + style name for each style
// in the order bold, italic, underline, strike-out.
QString LineaFuenteRejilla(const FuenteRejilla &fuente);
// "Campos=" + field "," width "," title "|" for every column, the last one included.
QString LineaCamposRejilla(const QList<ColumnaRejilla> &columnas);
// The stored text: the two lines joined by CR LF.
QString TextoConfiguracionRejilla(const FuenteRejilla &fuente, const QList<ColumnaRejilla> &columnas);
// Reads a stored text: every line is named by what comes before its first "=" and its
// value runs to the next "=". A width that is no integer gives 50; pieces end at the first
// empty one; unknown style names are ignored.
ConfiguracionRejillaLeida LeerConfiguracionRejilla(const QString &texto);

// One grid column as the fitting sees it.
struct AnchoColumna
{
    int ancho = 0;             // its width now, in pixels
    int anchoPorDefecto = 0;   // its field's default width, in characters
    bool visible = true;
};

// The first fitted column of an options text: the number after "ColumnaInicial:" when
// that is the first option, else 0.
int ColumnaInicialAjuste(const QString &opciones);
// The widths after fitting the visible columns from the first fitted one to a grid of
// that width (less 32 with the row indicator, 20 without): each in proportion to its
// field's default width, the last visible one taking up the rest less one pixel. Nothing
// (the widths stay) when there are no columns or the fitted columns' default widths add
// up to 0.
std::optional<QList<int>> AnchosAjustados(const QList<AnchoColumna> &columnas, int anchoRejilla, bool indicador,
                                          const QString &opciones);
// The width the visible columns need: each width + 1, plus 12 for the row indicator.
int AnchoNecesario(const QList<AnchoColumna> &columnas, bool indicador);
