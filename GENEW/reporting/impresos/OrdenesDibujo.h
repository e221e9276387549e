#pragma once
#include "GENEW/reporting/impresos/DisenoImpreso.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <functional>

#include <QVariant>
#include <optional>

class DestinoDibujo;

// Draws a barcode symbol filling a picture, at the picture's resolution in pixels per inch.
class PintorCodigoBarras
{
public:
    struct Peticion
    {
        QString texto;
        int tipo = 9;   // the barcode component's type number
        bool ajusteAutomatico = false;
        double aumento = 0;   // 0 keeps the component's own
        int resolucion = 96;
    };
    virtual ~PintorCodigoBarras() = default;
    virtual void pintar(QImage &imagen, const Peticion &peticion) = 0;
};

// What the drawing commands read of the run besides the layout: counters, the dataset that
// field-sourced pictures and barcodes read, and the services they name.
struct ContextoOrdenes
{
    DestinoDibujo *destino = nullptr;
    bool simulacion = false;         // the layout editor's simulation: no pictures
    qint64 paginaDocumento = 0;      // page within the current copy of the document
    qint64 contadorPaginas = 0;      // pages made so far in the run
    int numeroCopia = 1;
    bool filaContinuacion = false;   // [LINEAS] runs on a continuation row of a wrapped memo
    // A field of the current dataset (the lines table while [LINEAS] runs, else the
    // documents): its text, or its bytes for a picture field; none when there is no such field.
    std::function<std::optional<QVariant>(const QString &campo)> valorCampo;
    PintorCodigoBarras *codigoBarras = nullptr;
    std::function<QString()> nombreEmpresa;
    // A relative picture name is read from this folder.
    QString directorioUsuario;
};

// The eight drawing commands of a layout: texts, run variables, rectangles, lines, fonts,
// pictures, barcodes and printer codes, drawn on the run's target. Positions in layout
// units go through the layout's conversion; arguments that are not numbers count as 0.
class OrdenesDibujo
{
public:
    OrdenesDibujo(const DisenoImpreso &diseno, EstadoEjecucionImpreso &ejecucion, ContextoOrdenes &contexto);

    // Executes a drawing command; false for the field commands, which it does not draw.
    bool ejecutar(OrdenImpreso orden, const ArgumentosInstruccion &argumentos);

    // The five values of a text as separate arguments, so that a value holding "|" is kept.
    void Texto(const QString &x, const QString &y, const QString &ancho, const QString &texto,
               const QString &alineacion);
    void Variable(const ArgumentosInstruccion &a);
    void Rectangulo(const ArgumentosInstruccion &a);
    void LineaRecta(const ArgumentosInstruccion &a);
    void Fuente(const ArgumentosInstruccion &a);
    void Grafico(const ArgumentosInstruccion &a);
    void CodigoBarras(const ArgumentosInstruccion &a);
    void Ascii(const ArgumentosInstruccion &a);

    // The value of a run variable ("" for an unknown one).
    QString ValorVariable(const QString &variable) const;

private:
    bool enImpresora() const { return ejecucion_.destino == DestinoImpresion::Impresora; }
    bool textoEnImpresora() const { return enImpresora() && diseno_.modoTexto(); }
    int x(long double unidades) const;   // effective position into target pixels
    int y(long double unidades) const;
    int ancho(long double unidades) const;   // a size: no margins, no label offsets
    QRect esquinas(const ArgumentosInstruccion &a) const;
    void textoBruto(long double x, long double yEfectiva, long double ancho, const QString &texto);
    QImage imagenDeFuente(const QString &fuente) const;
    QString textoDeCampo(const QString &valor) const;

    const DisenoImpreso &diseno_;
    EstadoEjecucionImpreso &ejecucion_;
    ContextoOrdenes &contexto_;
};

// A number of an argument; 0 when it cannot be read.
long double NumeroArgumento(const QString &texto);
