#pragma once
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"

#include <QList>
#include <QStringList>

// Table LISTA of the listing tests with the given fields (keyed by "Codigo"), opened into
// tabla with six rows: codes 3 to 8, two of them named O'Brien, "Importe" 100.5 apart.
// False when the table does not open.
inline bool crearTablaLista(TModuloDatos &modulo, plat::TableDataSet &tabla, const QList<plat::FieldDef> &campos)
{
    plat::TableDef def;
    def.name = QStringLiteral("LISTA");
    def.fields = campos;
    def.indexes = {{QStringLiteral("Clave1"), {QStringLiteral("Codigo")}, true, true}};
    fGENEINIC->Database().createTable(def);
    tabla.setTableName(QStringLiteral("LISTA"));
    if (!modulo.AbrirTabla(tabla))
        return false;
    const QStringList nombres{QStringLiteral("Ana"), QStringLiteral("Eva"), QStringLiteral("O'Brien"),
                              QStringLiteral("Luis"), QStringLiteral("O'Brien"), QStringLiteral("Pía")};
    for (int i = 0; i < nombres.size(); ++i) {
        tabla.append();
        tabla.fieldByName(QStringLiteral("Codigo")).setAsString(QString::number(i + 3));
        tabla.fieldByName(QStringLiteral("Nombre")).setAsString(nombres[i]);
        tabla.fieldByName(QStringLiteral("Importe")).setValue(100.5 * i);
        tabla.post();
    }
    return true;
}
