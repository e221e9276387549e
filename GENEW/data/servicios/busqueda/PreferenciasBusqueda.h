#pragma once
#include "GENEW/data/servicios/busqueda/SentenciaBusqueda.h"

#include <QString>
#include <optional>

// One table's entry of the user's "DatosBusqueda" text: the searched fields and the flags
// "(F)"/"(P)"/"(A)", "(O)" (ordered answer) and "(M)" (memo columns shown).
struct PreferenciaBusqueda
{
    QString campos;
    std::optional<ModoBusqueda> modo;   // none: the entry names no mode
    bool ordenada = false;
    bool memos = false;

    // "A;B(P)(O)": the fields and the flags in their written order.
    QString texto() const;
    static PreferenciaBusqueda leer(const QString &entrada);
};

// The "DatosBusqueda" text: entries "table:fields(flags)" joined by ",". The table key is
// the table name without owner.
namespace DatosBusqueda {
// The table's entry; empty when it has none.
QString entrada(const QString &datos, const QString &tabla);
// The text with the table's entry set to the value (replaced or added).
QString conEntrada(const QString &datos, const QString &tabla, const QString &valor);
} // namespace DatosBusqueda
