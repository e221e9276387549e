#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

// The fifteen kinds of symbol the barcode control draws, numbered as layouts store them.
enum class TBarCodeType {
    Code39, Interleaved2Of5, Code128, PostNet, PostnetZip, PostNetZipPlus4, Postnet11,
    EAN, EAN8, EAN13, ITF14, FIMA, FIMB, FIMC, EAN128
};
constexpr int kNumeroTiposCodigoBarras = 15;

// What one drawing of a barcode asks for: the control's settings, its bounds, and the
// target's resolution against the screen's.
struct PeticionBarras
{
    QString texto;
    TBarCodeType tipo = TBarCodeType::Interleaved2Of5;
    bool clearZone = true;
    bool autoSizing = true;
    bool autoPosition = false;
    double magnification = 1.0;
    bool lienzoPropio = false;      // the control paints itself
    QRect limitesControl;           // the control's left, top, width and height
    int resolucionX = 96;
    int resolucionY = 96;
    int pixelesPantalla = 96;
    int derechaRecorte = 0;         // right edge of the target's clip rectangle
};

// A bar (in the bar colour) or a space (in the control's colour).
struct ElementoBarras
{
    QRect rect;
    bool barra;
};

// A human-readable digit of an EAN symbol and the cell it is written in.
struct CifraLegible
{
    QChar cifra;
    QRect celda;
    bool alineadaIzquierda = false;   // the first digit of an EAN-13 starts at its cell's left
};

// Everything a drawing paints, in pixels of the target, decided before any painting: the
// sizes and check digits are tested here and the canvas only carries it out.
struct PlanBarras
{
    enum class Resultado { Nada, Dibujo, NoCabe };
    Resultado resultado = Resultado::Nada;
    QPoint origen;
    QSize trabajo;                          // working width and height
    QString textoCodificado;                // with padding and check digits
    int ancho = 0, estrecho = 0;            // Code 39 and Interleaved 2 of 5 element widths
    int modulo = 0;                         // EAN and Code 128 module; POSTNET pitch; FIM bar
    std::optional<QRect> fondo;             // filled in the control's colour first
    std::vector<ElementoBarras> elementos;
    std::vector<QRect> barrasPortadoras;    // Interleaved 2 of 5 bearer bars
    std::vector<CifraLegible> cifras;
    int altoLetra = 0;                      // height of the digits' font cell
    std::optional<QSize> tamanoControl;     // the control's new size on its own canvas
};

PlanBarras planificarBarras(const PeticionBarras &peticion);

// The text a linked field gives the control: EAN-13 and ITF-14 texts padded with "0" on the
// left to 12 characters, EAN-8 texts to 7.
QString textoDeCampoBarras(const QString &textoCampo, TBarCodeType tipo);
