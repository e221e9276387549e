#pragma once
#include "GENEW/reporting/impresos/EstadoEjecucionImpreso.h"
#include "GENEW/reporting/impresos/InstruccionImpreso.h"
#include "GENEW/reporting/impresos/RegistroImpreso.h"

#include <QHash>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

// The six sections of a layout, in the order their headers are listed.
enum class SeccionImpreso { Sistema, Cabecera, Lineas, PieSumaYSigue, Pie, PiePagina };
constexpr int kNumeroSecciones = 6;
// "[SISTEMA]", "[CABECERA]", "[LINEAS]", "[PIESUMAYSIGUE]", "[PIE]", "[PIEPAGINA]".
QString CabeceraSeccion(SeccionImpreso seccion);
// The section whose header is exactly that text (case and blanks count).
std::optional<SeccionImpreso> SeccionDeCabecera(const QString &texto);

constexpr int kMaximoCamposSuma = 100;
constexpr int kLineasPapelContinuo = 9999;   // last line position of continuous paper

// The settings of the layout in force, in layout units (millimetres; in text mode columns of
// 1/10 inch and lines of 1/6 inch). Reading a layout resets all but the first and last line
// positions.
struct AjustesDiseno
{
    double margenIzquierdo = 0;
    double margenSuperior = 0;
    int etiquetasAncho = 1;   // labels across, always 1 or more
    int etiquetasAlto = 1;    // labels down, always 1 or more
    double separacionAncho = 0;   // label pitch across
    double separacionAlto = 0;    // label pitch down
    double compresionAncho = 1;   // never 0
    double compresionAlto = 1;    // never 0
    int alturaLinea = 0;
    int inicioLineas = 0;
    int finLineas = 0;
    qint64 lineasPorPagina = 0;
    qint64 etiquetasPorPagina = 1;
    qint64 primeraEtiqueta = 1;   // label position of the run's first label
    QString driverAlternativo;    // read and kept; nothing is copied
    QStringList conexiones;       // SQL table name, ">", key items
    QStringList gruposAnalisis;   // name, ";", table,category,key field
};

// A stored layout of table IMPRESO as the print engine runs it: its record and paper, its
// six section lists, the settings its lines set, and the conversion of layout coordinates
// into printer and page-bitmap pixels. The engine form owns one and forwards to it by name;
// what the layout reads of the run comes from the engine's EstadoEjecucionImpreso, the
// IMPRESO records and the SQL table names from the engine's services, and the drawing and
// field commands go to the engine's EjecutorOrdenesImpreso.
class DisenoImpreso
{
public:
    struct Servicios
    {
        // The IMPRESO record of a code; none when there is no such layout.
        std::function<std::optional<RegistroImpreso>(const QString &codigo)> buscarImpreso;
        // The engine name of a table (the data module's NombreTablaSQL).
        std::function<QString(const QString &tabla)> nombreTablaSQL;
        EjecutorOrdenesImpreso *ordenes = nullptr;
    };

    DisenoImpreso(EstadoEjecucionImpreso &ejecucion, Servicios servicios);

    // Takes the record of the code, else that of the request's layout; with neither nothing
    // changes and the answer is false. Sets text mode from `Modo` and the paper from `Formato`.
    bool AsignarFormatoPapel(const QString &codigo);
    // Reads the record's `Instrucciones` into the sections, the sum slots and the settings,
    // runs [SISTEMA] and derives lines and labels per page.
    void AnalizarInstrucciones();
    // Executes one instruction line: settings are stored, commands go to the engine.
    void EjecutarInstruccion(const QString &linea);

    // Effective position on the page, in layout units: margins, the current line of
    // [LINEAS] or the printer's text line in a foot section, and the label's offsets.
    long double PosicionX(long double x) const;
    long double PosicionY(long double y) const;
    // Effective positions into pixels, halves to even and clamped to the int range. A width
    // or height goes through these directly (no margins, no label offsets).
    int XImpresora(long double x) const;
    int YImpresora(long double y) const;
    int XPagina(long double x) const;
    int YPagina(long double y) const;
    // Sets the compression across and down; 0 keeps the value before, as a layout line does.
    void PonerCompresion(double ancho, double alto);
    // The paper's size in layout units at compression 1 (columns and lines in text mode).
    long double AnchoPapelUnidades() const;
    long double AltoPapelUnidades() const;

    const RegistroImpreso &registro() const { return registro_; }
    const PapelImpreso &papel() const { return papel_; }
    bool modoTexto() const { return modoTexto_; }
    QSize tamanoPaginaPantalla() const { return TamanoPaginaPantalla(papel_); }
    const AjustesDiseno &ajustes() const { return ajustes_; }
    const QStringList &seccion(SeccionImpreso seccion) const { return secciones_[static_cast<int>(seccion)]; }
    // The character that stands for "|" in arguments; empty when the text uses all 256.
    const QString &sustituto() const { return sustituto_; }
    // The field names of the "Suma" lines of the foot sections, slot 1 first (at most 100).
    const QStringList &camposSuma() const { return camposSuma_; }
    // Whether any section but [SISTEMA] holds a line; without it no page is made.
    bool tieneContenidoPagina() const { return contenidoPagina_; }
    // The key of the line being executed (or last executed).
    const QString &ordenActual() const { return ordenActual_; }

    // Whole-text options, read by name from the layout text.
    QString DocumentosAdjuntos() const;
    QString ConexionDocumentosAdjuntos() const;
    QString DocumentoModelo() const;

private:
    void leerSecciones();
    void ejecutarAjuste(const QString &clave, const ArgumentosInstruccion &argumentos);
    void pedirPrimeraEtiqueta();
    void despacharOrden(OrdenImpreso orden, const ArgumentosInstruccion &argumentos);
    qint64 indiceEtiqueta() const;

    EstadoEjecucionImpreso &ejecucion_;
    Servicios servicios_;
    RegistroImpreso registro_;
    PapelImpreso papel_;
    bool modoTexto_ = false;
    AjustesDiseno ajustes_;
    std::array<QStringList, kNumeroSecciones> secciones_;
    QString sustituto_;
    // The lines met so far, split, with their commands: a run executes the same section lines
    // for every document and line. Bounded, as a line's own instructions come from its row.
    struct InstruccionPreparada
    {
        InstruccionDividida dividida;
        std::optional<OrdenImpreso> orden;
    };
    QHash<QString, InstruccionPreparada> preparadas_;
    QStringList camposSuma_;
    bool contenidoPagina_ = false;
    QString ordenActual_;
};
