#pragma once
#include "GENEW/runtime/comun/InterfacesComunes.h"
#include "GENEW/runtime/comun/TipoCampo.h"

#include <QString>

// Field-type names, and the Spanish colour and font-style words that option texts and
// layouts store.

// "ftString".."ftTypedBinary" for 1..21, "ftUnknown" for any other number.
QString NombreTipoCampo(int tipo);
// The type of one of those names (exact case; "ftSmallInt" too); ftUnknown for any other.
TFieldType TipoCampoDeNombre(const QString &nombre);
// Default display width in characters: float 13, integer 9, small integer 5, date 10,
// time 8, date-time 10, memo 10; the field's own default for the rest.
int AnchoPorDefectoCampo(const InterfazCampo &campo);

// A colour: red in the low byte, then green, then blue.
using TColor = qint32;

// The first colour name with that value; "" when none.
QString ColorATexto(TColor color);
// The value of a colour name (exact case); 0 (black) for any other text.
TColor TextoAColor(const QString &nombre);
// A colour name, else the text as an integer, else 0.
TColor InterpretarColor(const QString &texto);

// Font styles, numbered as stored; a set holds bit (1 << style) for each style.
enum TFontStyle : int { fsBold = 0, fsItalic = 1, fsUnderline = 2, fsStrikeout = 3 };
using TFontStyles = unsigned;
constexpr TFontStyles ConjuntoEstilo(TFontStyle estilo) { return 1u << estilo; }
// The style number of a failed look-up.
constexpr int kEstiloFuenteDesconocido = 255;

// "fsBold", "fsItalic", "fsUnderline" or "fsStrikeout" for a set of exactly that style; ""
// otherwise.
QString EstiloFuenteATexto(TFontStyles estilos);
// The style number of "fsBold"/"Negrita", "fsItalic"/"Italica", "fsUnderline"/"Subrayado",
// "fsStrikeout"/"Tachado"; 255 for any other text.
int TextoAEstiloFuente(const QString &nombre);
