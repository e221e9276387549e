#pragma once
#include <QString>
#include <array>

// In-text markup: tags at the start of a printed text that set the colour ("<R>", "<V>",
// "<A>"), the style ("<N>" bold, "<C>" italic, "<S>" underline) and the size ("<14>") of
// that one text; "</>" keeps the font as the layout left it. The scanners only read: the
// print engine applies the state to its font (AplicarMarcasFuente).

constexpr int kMaximoEstilosMarca = 3;

struct EstadoMarcas
{
    QString color;   // "Rojo", "Verde", "Azul"; empty = unchanged
    std::array<QString, kMaximoEstilosMarca> estilos;   // "Negrita", "Italica", "Subrayado"; empty = free
    qint16 tamano = 0;     // points; 0 = unchanged
    bool cierre = false;   // "</>" was met
    int blancos = 0;       // blanks skipped by the text scanner
};

// One tag, "<" to ">" included. False when it is neither a known tag nor a whole number
// (of the 16-bit size range): the size goes back to 0 and the scan stops there.
bool InterpretarMarca(const QString &marca, EstadoMarcas &estado);
// The style goes into the first free slot; with all three taken it replaces the third.
void AnadirEstiloMarca(const QString &estilo, EstadoMarcas &estado);

struct MarcasTexto
{
    QString texto;   // the blanks met among the tags, then the text after them
    EstadoMarcas estado;
    bool aplicarFuente = false;   // unless "</>" was met
};
// The tags at the start of a text that is drawn (the last character never starts a tag).
MarcasTexto InterpretarMarcasTexto(const QString &texto);

struct MarcasLineaMemo
{
    bool hayMarcas = false;   // "</>" was met or the prefix is not empty
    QString prefijo;          // the leading tags, blanks removed
    EstadoMarcas estado;
    bool aplicarFuente = false;   // a prefix and no "</>"
};
// The tags at the start of a memo line, handed back so that continuation lines can repeat them.
MarcasLineaMemo InterpretarMarcasLineaMemo(const QString &linea);
