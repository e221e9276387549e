#pragma once
#include "GENEW/runtime/comun/TipoCampo.h"
#include "platform/base/EngineKind.h"

#include <QString>
#include <QStringList>

namespace plat {
class Field;
}

// Table and index names differ between the database engines; these rules hide it.

// What the naming rules need of the start-up settings.
struct ConfiguracionNombres
{
    plat::EngineKind motor = plat::EngineKind::SQLite;
    // Temporary tables live in a database ("SI"), or in a folder of their own ("NO").
    bool archivosTemporalesEnBD = true;
    // The database or folder that holds the temporary tables.
    QString baseDatosTemporal;
};

class NombresMotor
{
public:
    explicit NombresMotor(ConfiguracionNombres configuracion) : configuracion_(std::move(configuracion)) {}

    const ConfiguracionNombres &configuracion() const { return configuracion_; }
    bool esSQLServer() const { return configuracion_.motor == plat::EngineKind::SqlServer; }

    // The engine's name of a table: "dbo." in front on SQL Server, unless the name is
    // already qualified or is a temporary table kept in a folder.
    QString NombreTablaSQL(const QString &tabla) const;

    // On SQL Server a name with exactly one "." loses its owner; otherwise unchanged.
    QString QuitarPropietarioTabla(const QString &tabla) const;

    // The engine's name of an index of a table ("" or "<Primary>" is the primary index).
    // sinCamposIndice: the table is open and has no index fields, so the name stays.
    QString NombreIndice(const QString &tabla, const QString &indice, bool sinCamposIndice = false) const;

    // True when the key fields of the table come from the server's catalogue rather than
    // from the index definitions of the dataset.
    bool clavesDeCatalogo(const QString &tabla) const;

    // The full index name the catalogue knows: a name without "_" is completed with the
    // table name without owner ("" is the primary index "<table>_Clave1").
    QString NombreIndiceCatalogo(const QString &tabla, const QString &indice) const;

    // The database word of a catalogue query on a table: the temporary-table database for
    // a temporary table, "DatabaseGeneral" for a general table, empty for the company one.
    QString BaseDatosCatalogo(const QString &tabla) const;

    // Where the column catalogue of a table is read: a three-part name
    // "<database>.<owner>.<table>" names its database; otherwise as BaseDatosCatalogo.
    struct TablaCatalogo
    {
        QString baseDatos;
        QString tabla;
    };
    TablaCatalogo TablaColumnasCatalogo(const QString &tabla) const;

private:
    ConfiguracionNombres configuracion_;
};

// A catalogue answer (one name a line) as the program passes names on: joined by ";".
QString RespuestaANombres(const QString &respuesta);
// The number of names of a ";" list: 0 for an empty text.
int NumeroNombres(const QString &nombres);
// The option "Sin Campos Memo" of the column list is read as "SinMemos".
QString OpcionesColumnasTabla(const QString &opciones);
// A ";" list of names as one name a line, without a trailing line break.
QString NombresALineas(const QString &nombres);

// A date-time field whose name holds "Hora" (case counts) carries a time of day.
bool EsCampoHora(TFieldType tipo, const QString &nombre);
bool EsCampoHora(const plat::Field &campo);
