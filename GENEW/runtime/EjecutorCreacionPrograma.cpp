#include "GENEW/runtime/EjecutorCreacionPrograma.h"

#include "GENEW/runtime/AperturaDataSet.h"
#include "GENEW/runtime/ConexionesPrograma.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"

#include <algorithm>

using estructura::DefinicionesTabla;
using estructura::FilaCampoUsuario;
using estructura::TablaCreacion;

namespace {
const QString kPrimario = QStringLiteral("<Primary>");
}

EjecutorCreacionPrograma::EjecutorCreacionPrograma(ConexionesPrograma &conexiones, DataSetAbrible &tabla,
                                                   const NombresCreacionTablas &nombres, Entorno entorno)
    : conexiones_(conexiones), transacciones_(conexiones), tabla_(tabla), nombres_(nombres), entorno_(std::move(entorno))
{
}

void EjecutorCreacionPrograma::mostrarMensaje(const QString &tipo, const QString &texto)
{
    entorno_.mostrarMensaje(tipo.isEmpty() ? TipoCuadroSistema : tipo, texto);
}

void EjecutorCreacionPrograma::cursorEspera(bool activo)
{
    plat::application().setCursor(activo ? plat::crHourGlass : plat::crDefault);
}

QString EjecutorCreacionPrograma::ficheroDefinicionesBaseDatos()
{
    return estructura::FicheroDefinicionesBaseDatos(entorno_.pathBaseDatosGeneral, entorno_.directorioTrabajo,
                                                    entorno_.directorioInstalacion);
}

QString EjecutorCreacionPrograma::nombreTablaTemporal(const QString &propietario, int numero)
{
    if (!nombres_.nombreTablaTemporal)
        throw gp::Error(QStringLiteral("Temporary-table names need the data module"));
    return nombres_.nombreTablaTemporal(propietario, numero);
}

QString EjecutorCreacionPrograma::nombreTablaSQL(const QString &tabla)
{
    return nombres_.nombreTablaSQL ? nombres_.nombreTablaSQL(tabla) : tabla;
}

QString EjecutorCreacionPrograma::quitarPropietarioTabla(const QString &tabla)
{
    return nombres_.quitarPropietarioTabla ? nombres_.quitarPropietarioTabla(tabla) : tabla;
}

QString EjecutorCreacionPrograma::nombreIndice(const QString &tabla, const QString &indice)
{
    if (nombres_.nombreIndice)
        return nombres_.nombreIndice(tabla, indice);
    // The file engine's logical names: the primary index is "Clave1", the others keep theirs.
    return indice == kPrimario ? QStringLiteral("Clave1") : indice;
}

void EjecutorCreacionPrograma::conectarBaseDatosAlt(const QString &alias, int empresa)
{
    entorno_.conectarBaseDatosAlt(alias, empresa);
}

QStringList EjecutorCreacionPrograma::nombresTablas(const QString &conexion)
{
    return conexiones_.ConexionDeSelector(conexion).tableNames();
}

QString EjecutorCreacionPrograma::nombreBaseDatos(const QString &conexion)
{
    return conexiones_.ConexionDeSelector(conexion).databaseName();
}

QList<FilaCampoUsuario> EjecutorCreacionPrograma::camposUsuario()
{
    const plat::QueryResult r = conexiones_.DatabaseGeneral().query(
        QStringLiteral("SELECT NombreTabla, OrdenCampo, NombreCampo, TipoCampo, LongitudCampo FROM CAMPOUSR"));
    QList<FilaCampoUsuario> filas;
    for (const QVariantList &fila : r.rows) {
        FilaCampoUsuario f;
        f.NombreTabla = fila.value(0).toString();
        f.OrdenCampo = fila.value(1).toInt();
        f.NombreCampo = fila.value(2).toString();
        f.TipoCampo = fila.value(3).toString();
        f.LongitudCampo = fila.value(4).toString();
        filas << f;
    }
    return filas;
}

// The component follows the names creation gives the table.
void EjecutorCreacionPrograma::apuntar(const TablaCreacion &tabla)
{
    if (tabla_.nombreTabla() != tabla.TableName)
        tabla_.ponerNombreTabla(tabla.TableName);
    if (tabla_.nombreBaseDatos() != tabla.DatabaseName)
        tabla_.ponerBaseDatos(tabla.DatabaseName, &conexiones_.ConexionDeBaseDatos(tabla.DatabaseName));
}

void EjecutorCreacionPrograma::cerrarTabla(const TablaCreacion &) { tabla_.cerrar(); }

void EjecutorCreacionPrograma::prepararTabla(const TablaCreacion &tabla, bool)
{
    tabla_.cerrar();
    apuntar(tabla);
    tabla_.ponerExclusivo(true);
}

void EjecutorCreacionPrograma::terminarCreacion(const TablaCreacion &tabla)
{
    apuntar(tabla);
    tabla_.ponerExclusivo(false);
}

bool EjecutorCreacionPrograma::abrirTablaExclusiva(const TablaCreacion &tabla)
{
    apuntar(tabla);
    tabla_.ponerExclusivo(true);
    try {
        tabla_.abrir();
        return true;
    } catch (const gp::Error &) {
        return false;
    }
}

void TransaccionesConexiones::iniciarTransaccion(const QString &conexion)
{
    conexiones_.ConexionDeSelector(conexion).startTransaction();
}

void TransaccionesConexiones::confirmarTransaccion(const QString &conexion)
{
    conexiones_.ConexionDeSelector(conexion).commit();
}

void TransaccionesConexiones::confirmarConLaSiguiente(const QString &conexion)
{
    conexiones_.ConexionDeSelector(conexion).commitWithNext();
}

void TransaccionesConexiones::deshacerTransaccion(const QString &conexion)
{
    plat::Connection &c = conexiones_.ConexionDeSelector(conexion);
    if (c.inTransaction())
        c.rollback();
}

void EjecutorCreacionPrograma::ejecutarSentencia(const QString &baseDatos, const QString &sentencia)
{
    conexiones_.ConexionDeBaseDatos(baseDatos).exec(sentencia);
}

void EjecutorCreacionPrograma::ejecutarSQLSilencioso(const QString &baseDatos, const QString &sentencia)
{
    entorno_.ejecutarSQL(sentencia, baseDatos, QStringLiteral("Silenciosa"));
}

namespace {

QString claveTablaTrabajo(const TablaCreacion &tabla) { return tabla.DatabaseName + u'\n' + tabla.TableName; }

} // namespace

void EjecutorCreacionPrograma::anotarTablaTrabajo(const TablaCreacion &tabla, const QString &definicion)
{
    if (entorno_.tablasTrabajo)
        entorno_.tablasTrabajo->insert(claveTablaTrabajo(tabla), definicion);
}

// Emptying costs one statement; making it again a round of them and of its catalogue rows.
bool EjecutorCreacionPrograma::vaciarTablaTrabajo(const TablaCreacion &tabla, const QString &definicion)
{
    if (!entorno_.tablasTrabajo || entorno_.tablasTrabajo->value(claveTablaTrabajo(tabla)) != definicion)
        return false;
    try {
        conexiones_.ConexionDeBaseDatos(tabla.DatabaseName).emptyTable(tabla.TableName);
    } catch (const gp::Error &) {
        // Dropped since: it is made again.
        entorno_.tablasTrabajo->remove(claveTablaTrabajo(tabla));
        return false;
    }
    terminarCreacion(tabla);
    return abrirTablaExclusiva(tabla);
}

void EjecutorCreacionPrograma::bloquearCreacion(const QString &conexion, const QString &tabla)
{
    plat::Connection &c = conexiones_.ConexionDeSelector(conexion);
    const QString bloqueo = c.dialect().tableCreationLock(tabla);
    if (!bloqueo.isEmpty())
        c.execWithNext(bloqueo);   // with the check that follows it
}

bool EjecutorCreacionPrograma::creaSiFalta(const QString &baseDatos)
{
    return conexiones_.ConexionDeBaseDatos(baseDatos).createsUnlessExists();
}

bool EjecutorCreacionPrograma::crearSiFalta(const QString &baseDatos, const QString &tabla, const QStringList &sentencias)
{
    const std::optional<bool> hecha = conexiones_.ConexionDeBaseDatos(baseDatos).createTableUnlessExists(tabla, sentencias);
    if (!hecha)
        return estructura::EjecutorCreacionTabla::crearSiFalta(baseDatos, tabla, sentencias);
    return *hecha;
}

namespace {

// The table holds the columns of the definition (names ignoring case, any order).
bool mismasColumnas(const QList<plat::FieldDef> &existentes, const plat::TableDef &def)
{
    if (existentes.size() != def.fields.size())
        return false;
    for (const plat::FieldDef &campo : def.fields) {
        const bool esta = std::any_of(existentes.cbegin(), existentes.cend(), [&campo](const plat::FieldDef &e) {
            return e.name.compare(campo.name, Qt::CaseInsensitive) == 0;
        });
        if (!esta)
            return false;
    }
    return true;
}

} // namespace

bool EjecutorCreacionPrograma::crearTablaMotor(const TablaCreacion &tabla, const DefinicionesTabla &definiciones)
{
    plat::TableDef def;
    def.name = tabla.TableName;
    for (const auto &campo : definiciones.campos) {
        plat::FieldDef f;
        f.name = campo.nombre;
        f.type = campo.tipo;
        f.size = campo.tamano;
        f.required = campo.requerido;
        def.fields << f;
    }
    for (const auto &indice : definiciones.indices) {
        plat::IndexDef i;
        i.name = indice.nombre;
        i.fields = indice.campos.split(u';', Qt::SkipEmptyParts);
        i.primary = indice.primario;
        i.unique = indice.unico;
        i.caseInsensitive = indice.sinMayusculas;
        i.descending = indice.descendente;
        if (i.primary)
            def.indexes.prepend(i);
        else
            def.indexes << i;
    }
    // The check, the replacement of a stale table of that name (as the old file engine
    // overwrote its file) and the creation run under one write lock: a second process starting
    // at the same moment waits, then finds the table made and never drops it.
    plat::Connection &conexion = conexiones_.ConexionDeBaseDatos(tabla.DatabaseName);
    conexion.startTransaction();
    try {
        bool hecha = false;
        if (!conexion.tableExists(def.name) || !mismasColumnas(conexion.columns(def.name), def)) {
            conexion.dropTable(def.name, true);
            conexion.createTable(def);
            hecha = true;
        }
        conexion.commit();
        return hecha;
    } catch (...) {
        if (conexion.inTransaction())
            conexion.rollback();
        throw;
    }
}

void EjecutorCreacionPrograma::insertarEmpresa1(const TablaCreacion &tabla, const QString &nombre,
                                                const QString &abreviatura)
{
    conexiones_.ConexionDeBaseDatos(tabla.DatabaseName)
        .exec(QStringLiteral("INSERT INTO ") + tabla.TableName
                  + QStringLiteral(" (Codigo, Nombre, Abreviatura) VALUES (1, :Nombre, :Abreviatura)"),
              {{QStringLiteral("Nombre"), nombre}, {QStringLiteral("Abreviatura"), abreviatura}});
}

void EjecutorCreacionPrograma::cancelarInsercion(const TablaCreacion &)
{
    // The insert is one statement: a failed one left nothing behind.
}

void EjecutorCreacionPrograma::crearBaseDatosEmpresa1() { entorno_.crearBaseDatosEmpresa1(); }
