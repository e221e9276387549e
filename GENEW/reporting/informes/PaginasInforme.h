#pragma once
#include "platform/ui/Drawing.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVector>
#include <memory>
#include <optional>
#include <variant>

class QPainter;

// A generated page: what the report's bands laid out, as drawing primitives in 96-dpi page
// pixels from the sheet's top-left corner. Every renderer and export filter reads these.

enum class TipoBanda { CabeceraPagina, Detalle, CabeceraGrupo, PieGrupo, Hija, Resumen, PiePagina, SubDetalle };

// One laid-out line of a text control. The origin is the baseline's left end, placed with
// unhinted metrics, so that every device draws the text at the same page position. The
// line was cut at layout to the whole characters inside its clip, so renderers draw it
// without clipping.
struct TextoPagina
{
    QString texto;
    QFont fuente;          // pixel size in page pixels
    QColor color;
    Qt::Alignment alineacion = Qt::AlignLeft;
    QPointF origen;
    QRectF caja;           // the line's box across the control
    QRectF recorte;        // the control: nothing is drawn outside
};

struct LineaPagina
{
    QLineF linea;
    QPen pluma;
};

struct RectanguloPagina
{
    QRectF rectangulo;
    QPen pluma;            // Qt::NoPen: no outline
    QColor relleno;        // invalid: not filled
    bool elipse = false;
};

struct ImagenPagina
{
    QRectF destino;
    QImage imagen;
    QRectF recorte;
};

// A picture drawn at print time: kept as vector drawing, placed unscaled at the control.
struct DibujoPagina
{
    QPointF origen;
    plat::Drawing dibujo;
    QRectF recorte;
};

using Primitiva = std::variant<TextoPagina, LineaPagina, RectanguloPagina, ImagenPagina, DibujoPagina>;

// A band as it printed on the page, with the primitives it produced.
struct BandaImpresa
{
    TipoBanda tipo = TipoBanda::Detalle;   // a child band takes its parent's kind
    QString nombre;
    QRectF area;
    bool recortada = false;   // taller than the page: drawn clipped to its area
    QVector<Primitiva> primitivas;
    // Primitives of one control share a number, so that wrapped lines stay one value.
    QVector<int> controlDePrimitiva;
};

struct PaginaGenerada
{
    int numero = 0;
    QSizeF tamanio;                    // the whole sheet
    QVector<BandaImpresa> bandas;      // in printing order
};

using PaginaCompartida = std::shared_ptr<const PaginaGenerada>;

// Draws a page on an active painter already mapped to page units (see plat::mapPageUnits).
void dibujarPagina(const PaginaGenerada &pagina, QPainter &painter);

// A page as stored bytes (a page file) and back; nullopt when the bytes are not a page file
// of this format.
QByteArray guardarPagina(const PaginaGenerada &pagina);
std::optional<PaginaGenerada> leerPagina(const QByteArray &bytes);

// Page size in page pixels from millimetres.
double milimetrosAPixeles(double milimetros);
