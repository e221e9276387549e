#pragma once
#include "GENEW/reporting/informes/Informe.h"
#include "platform/ui/Form.h"

#include <QFont>
#include <QString>

// The look of a listing out of the general parameters: the shading style, the compression
// of lefts, widths and font sizes and the listing font.

// The general parameters that shape a listing's look (PARAGENE).
struct ParametrosListado
{
    QString TipoCombinacionTramas = QStringLiteral("Standard");
    double FCompresionListados = 1;
    double FCompresionTLetraListados = 1;
    QString TipoLetraListados = QStringLiteral("Por Defecto");
    int MargenIzquierdoImpresora = 0;
    QString ListarRestricciones;

    // Read from the data module's record; the defaults without one.
    static ParametrosListado actuales();
    // Lefts, widths and fonts of the listing's controls change.
    bool compresionGeneral() const;
};

// A listing's page header, 99 high: the report title centred in teal Arial 12 bold, the
// company name under it in Arial 10 bold, the 100 × 75 logo at its left.
struct CabeceraListado
{
    BandaInforme *banda;
    DatoSistemaInforme *titulo;
    EtiquetaInforme *nombreEmpresa;
    ImagenInforme *logotipo;
};
CabeceraListado crearCabeceraListado(plat::Form &ventana, Informe &informe, int ancho);

// A listing's page footer: the page number centred across ancho and "Impreso el " with the
// date and time at its right, both in Arial 8, made by the window that owns them.
struct PieListado
{
    DatoSistemaInforme *numeroPagina;
    DatoSistemaInforme *fechaImpreso;
};
PieListado crearPieListado(plat::Form &ventana, BandaInforme &pie, int ancho);

// Font size times the letter factor, and the listing font when the system knows it.
void comprimirFuenteListado(QFont &fuente, const ParametrosListado &parametros);
// White with black text and framed on all four sides.
void enmarcarEtiqueta(EtiquetaInforme &etiqueta);
// The style at creation: silver bands white, black-backed labels framed ("Basica", "Blanco y
// Negro"), the texts and pens black ("Blanco y Negro"); "Standard" keeps everything.
void aplicarEstiloListado(Informe &informe, const QString &estilo);
// The compression of the fixed parts at creation, when the general one is active.
void comprimirListadoAlCrear(Informe &informe, const ParametrosListado &parametros);
