#include "GENEW/runtime/comun/RutinasTipos.h"

#include "GENEW/runtime/comun/RutinasNumeros.h"

#include <iterator>

namespace {

const char *const kNombresTipo[] = {
    "ftUnknown", "ftString", "ftSmallint", "ftInteger", "ftWord", "ftBoolean", "ftFloat", "ftCurrency",
    "ftBCD", "ftDate", "ftTime", "ftDateTime", "ftBytes", "ftVarBytes", "ftAutoInc", "ftBlob", "ftMemo",
    "ftGraphic", "ftFmtMemo", "ftParadoxOle", "ftDBaseOle", "ftTypedBinary",
};
constexpr int kNumeroTipos = static_cast<int>(std::size(kNombresTipo));

struct ColorConNombre
{
    const char *nombre;   // UTF-8
    int rojo, verde, azul;
};

// In search order: "Gris" and "Plateado" come after the shades with the same values.
const ColorConNombre kColores[] = {
    {"Aguamarina", 0, 255, 255},   {"Negro", 0, 0, 0},           {"Azul", 0, 0, 255},
    {"Gris Oscuro", 128, 128, 128}, {"Fucsia", 255, 0, 255},      {"Gris", 128, 128, 128},
    {"Verde", 0, 128, 0},          {"Verde Claro", 0, 255, 0},    {"Gris Claro", 192, 192, 192},
    {"Rojo Oscuro", 128, 0, 0},    {"Azul Marino", 0, 0, 128},    {"Oliva", 128, 128, 0},
    {"Purpura", 128, 0, 128},      {"Rojo", 255, 0, 0},           {"Plateado", 192, 192, 192},
    {"Esmeralda", 0, 128, 128},    {"Blanco", 255, 255, 255},     {"Amarillo", 255, 255, 0},
    {"Azul Celeste", 166, 202, 240}, {"Verde Claro 2", 192, 220, 192}, {"Crema", 255, 251, 240},
    {"Gris Medio", 160, 160, 164},
};

TColor ValorColor(const ColorConNombre &c)
{
    return c.rojo | (c.verde << 8) | (c.azul << 16);
}

struct EstiloConNombres
{
    TFontStyle estilo;
    const char *nombre;
    const char *nombreEspanol;
};

const EstiloConNombres kEstilos[] = {
    {fsBold, "fsBold", "Negrita"},
    {fsItalic, "fsItalic", "Italica"},
    {fsUnderline, "fsUnderline", "Subrayado"},
    {fsStrikeout, "fsStrikeout", "Tachado"},
};

} // namespace

QString NombreTipoCampo(int tipo)
{
    return QString::fromLatin1(kNombresTipo[tipo > 0 && tipo < kNumeroTipos ? tipo : 0]);
}

TFieldType TipoCampoDeNombre(const QString &nombre)
{
    if (nombre == QLatin1String("ftSmallInt"))
        return ftSmallint;
    for (int tipo = 1; tipo < kNumeroTipos; ++tipo) {
        if (nombre == QLatin1String(kNombresTipo[tipo]))
            return static_cast<TFieldType>(tipo);
    }
    return ftUnknown;
}

int AnchoPorDefectoCampo(const InterfazCampo &campo)
{
    switch (campo.tipoDato()) {
    case ftFloat:
        return 13;
    case ftInteger:
        return 9;
    case ftSmallint:
        return 5;
    case ftDate:
    case ftDateTime:
    case ftMemo:
        return 10;
    case ftTime:
        return 8;
    default:
        return campo.anchoPorDefecto();
    }
}

QString ColorATexto(TColor color)
{
    for (const ColorConNombre &c : kColores) {
        if (ValorColor(c) == color)
            return QString::fromUtf8(c.nombre);
    }
    return QString();
}

TColor TextoAColor(const QString &nombre)
{
    for (const ColorConNombre &c : kColores) {
        if (nombre == QString::fromUtf8(c.nombre))
            return ValorColor(c);
    }
    return 0;
}

TColor InterpretarColor(const QString &texto)
{
    const TColor color = TextoAColor(texto);
    if (color != 0)
        return color;
    int numero = 0;
    return LeerEntero(texto, numero) ? numero : 0;
}

QString EstiloFuenteATexto(TFontStyles estilos)
{
    for (const EstiloConNombres &e : kEstilos) {
        if (estilos == ConjuntoEstilo(e.estilo))
            return QString::fromLatin1(e.nombre);
    }
    return QString();
}

int TextoAEstiloFuente(const QString &nombre)
{
    for (const EstiloConNombres &e : kEstilos) {
        if (nombre == QLatin1String(e.nombre) || nombre == QLatin1String(e.nombreEspanol))
            return e.estilo;
    }
    return kEstiloFuenteDesconocido;
}
