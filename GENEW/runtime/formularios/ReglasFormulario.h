#pragma once
#include "GENEW/runtime/formularios/ServiciosFormulario.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

// The framework's rules that need no form: each is a plain function of its inputs.

// The display template of a field by its name: "PRECIO" prices, "IMPORTE" amounts, then the
// words of lists 1 to 5, then "TOTAL" amounts, else the standard one (names in upper case).
QString FormatoNumericoDeNombre(const QString &nombre, const PlantillasVisualizacion &plantillas);

// The texts of a status bar's panels from a "|"-separated text: piece 0 always, then each
// further piece up to the first empty one.
QStringList PiezasBarraEstado(const QString &texto);

// The size the standard form sizes give on a main window of that client size; the mode
// word is tested as a substring ("Design", "Fit", else "XGA"/"SVGA"/nothing).
struct TamanoFormulario
{
    enum Forma { Igual, MasAlto, Ajustado, Fijo } forma = Igual;
    QRect rectangulo;   // Ajustado: the place; Fijo: the size; MasAlto: the extra height
};
TamanoFormulario CalcularTamanoFormulario(const QString &modo, bool tieneMenu, QSize principal);

// Where the on-screen keypad and its control go ("Posicion=Derecha", "Arriba", "Abajo" or
// centred on the screen). Halves truncate toward zero; the control's own coordinates are
// used unchanged.
struct PosicionTeclado
{
    QPoint control;     // the control's new left and top
    QPoint teclado;     // the keypad's left and top
    bool centrado = false;
};
PosicionTeclado CalcularPosicionTeclado(const QRect &control, QSize teclado, QSize pantalla, const QString &opciones);

// The typed-key buffer: letters and digits between codes 40 and 122 as typed (upper-case
// codes, with or without Shift), anything else and any key with Ctrl or Alt as "|", runs of
// "|" collapsed; the Shift and Caps Lock keys themselves add nothing. Emptied first when
// longer than 10000 characters.
void AnotarTecla(QString &buffer, int tecla, bool conCtrlOAlt);
// The code typed just before the current key: the last "|"-piece before it.
QString UltimoCodigoTecleado(const QString &buffer);

// The idle minutes of TiempoForzarTerminacionAplicacion; 0 (no timer) unless the text is a
// positive whole number.
int MinutosInactividad(const QString &texto);
