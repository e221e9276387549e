#pragma once
#include "platform/base/EngineKind.h"
#include "platform/base/Errores.h"
#include "GENEW/runtime/estructura/FicherosDefiniciones.h"
#include "GENEW/runtime/estructura/PlanCreacionTabla.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// Creation of one table from its definition: the steps, their order and their messages.
// Everything that touches a connection, a table component or the screen goes through
// EjecutorCreacionTabla, which the service form implements over the data layer.
namespace estructura {

// The table component being created, as creation reads and changes it.
struct TablaCreacion
{
    QString DatabaseName;      // a connection's database name, an alias, "?" + alias, or a folder
    QString TableName;
    QString propietario;       // Name of the owning form or data module
};

// The settings creation depends on.
struct ConfiguracionCreacion
{
    plat::EngineKind Motor = plat::EngineKind::SQLite;
    QString PathArchivosTemporales;
    QString FormatoFechaSQL;
    QString VersionSQLServer;
    bool AutenticacionWindows = false;
    QString CodigoUsuario;     // the logged-in user
};

// Connection words of the executor.
inline const QString kConexionEmpresa = QStringLiteral("Database");
inline const QString kConexionGeneral = QStringLiteral("DatabaseGeneral");
inline const QString kConexionAlternativa = QStringLiteral("DatabaseAlt");

// The messages of table creation, by kind: "A" warning, "E" error (the program ends),
// and "" for a plain box that shows a text as it is.
namespace mensajes {
inline const QString kImposibleAbrirEstructuras =
    QStringLiteral("¡ Imposible abrir el fichero de estructuras de la Base de Datos !");
inline const QString kImposibleCrearEmpresa1 = QStringLiteral("¡ Imposible crear el registro de la empresa 1 !");
QString ErrorCamposUsuario(const QString &tabla, const QString &motivo);
// The table alone: the user is not shown where the program keeps its files.
QString SinDefinicion(const QString &tabla);
QString ErrorCreandoTabla(const QString &tabla, const QString &motivo);
QString ErrorCrearTablaSQL(const QString &motivo);
QString ErrorCrearIndiceSQL(const QString &motivo);
} // namespace mensajes

// Default name of company 1 in a new EMPRESA table.
inline const QString kNombreEmpresa1 = QStringLiteral("Empresa 1");

// The transactions of creation, on a connection word or a database name.
class TransaccionesCreacion
{
public:
    virtual ~TransaccionesCreacion() = default;
    virtual void iniciarTransaccion(const QString &conexion) = 0;
    virtual void confirmarTransaccion(const QString &conexion) = 0;
    virtual void deshacerTransaccion(const QString &conexion) = 0;
    // The next statement is the transaction's last: where the engine can, its commit travels
    // with it (the confirmation that follows then sends nothing).
    virtual void confirmarConLaSiguiente(const QString &) {}
};

// Tables of the file engine made while a batch lives share one transaction per database, so
// that a first start commits (and waits for the disk) once per database file, not once per
// table. The batch's first table in a database starts that transaction: it is the write lock
// two first starts meet on, and the later one then finds the tables made. The batch holds one
// database at a time (turning to another confirms the one held), so that two programs starting
// together never wait on each other in a circle.
class LoteCreacion
{
public:
    explicit LoteCreacion(TransaccionesCreacion &transacciones) : transacciones_(transacciones) {}
    // Confirms what is still held; a failure to do so leaves the tables to the next start.
    ~LoteCreacion();
    LoteCreacion(const LoteCreacion &) = delete;
    LoteCreacion &operator=(const LoteCreacion &) = delete;

    // Makes sure the transaction of baseDatos is the one held.
    void incluir(const QString &baseDatos);
    // Commits the transaction held, if any (before the program waits for the user, say).
    void confirmar();
    bool retiene() const { return !baseDatos_.isEmpty(); }

    // The structure text of a definition as first read in the batch, split: the start's tables
    // are made within moments of each other, each reading the same files whole otherwise.
    std::shared_ptr<const TextoDividido> textoLeido(const QString &definicion) const { return textos_.value(definicion); }
    void anotarTextoLeido(const QString &definicion, std::shared_ptr<const TextoDividido> texto)
    {
        textos_.insert(definicion, std::move(texto));
    }

    // The rows of CAMPOUSR as first read in the batch, read again by no later table: nothing
    // the start does changes them.
    const QList<FilaCampoUsuario> *camposUsuarioLeidos() const { return camposUsuario_ ? &*camposUsuario_ : nullptr; }
    void anotarCamposUsuario(const QList<FilaCampoUsuario> &filas) { camposUsuario_ = filas; }

private:
    TransaccionesCreacion &transacciones_;
    QString baseDatos_;
    QHash<QString, std::shared_ptr<const TextoDividido>> textos_;
    std::optional<QList<FilaCampoUsuario>> camposUsuario_;
};

class EjecutorCreacionTabla : public TransaccionesCreacion
{
public:

    // Messages (kind "A", "E", or "" for a plain box).
    virtual void mostrarMensaje(const QString &tipo, const QString &texto) = 0;
    virtual void cursorEspera(bool activo) = 0;

    // The structure files. ficheroDefinicionesBaseDatos raises gp::Error when there is none to use.
    virtual QString ficheroDefinicionesBaseDatos() = 0;
    virtual const LectorFicheros &lectorFicheros() = 0;

    // Names of the data module.
    virtual QString nombreTablaTemporal(const QString &propietario, int numero) = 0;
    virtual QString nombreTablaSQL(const QString &tabla) = 0;
    virtual QString quitarPropietarioTabla(const QString &tabla) = 0;
    virtual QString nombreIndice(const QString &tabla, const QString &indice) = 0;

    // Connections: the second company, the tables a connection holds (without system
    // tables), the database name a connection is open on.
    virtual void conectarBaseDatosAlt(const QString &alias, int empresa) = 0;
    virtual QStringList nombresTablas(const QString &conexion) = 0;
    virtual QString nombreBaseDatos(const QString &conexion) = 0;

    // Every row of CAMPOUSR; raises gp::Error when it cannot be read.
    virtual QList<FilaCampoUsuario> camposUsuario() = 0;

    // The table component: close it; make it ready for creation (exclusive, table type of
    // the engine, no field or index definitions); end the creation (exclusive cleared);
    // open it exclusively (false when that fails).
    virtual void cerrarTabla(const TablaCreacion &tabla) = 0;
    virtual void prepararTabla(const TablaCreacion &tabla, bool motorFicheros) = 0;
    virtual void terminarCreacion(const TablaCreacion &tabla) = 0;
    virtual bool abrirTablaExclusiva(const TablaCreacion &tabla) = 0;

    // Statements of the server engines. ejecutarSentencia runs on the named database and
    // raises gp::Error with the engine's reason; ejecutarSQLSilencioso never raises.
    virtual void ejecutarSentencia(const QString &baseDatos, const QString &sentencia) = 0;
    virtual void ejecutarSQLSilencioso(const QString &baseDatos, const QString &sentencia) = 0;
    // Inside the transaction of the connection: waits until no other process is creating
    // a table of that name, and keeps them waiting until the transaction ends.
    virtual void bloquearCreacion(const QString &conexion, const QString &tabla) = 0;
    // Whether the engine of the named database makes a table unless it exists in one
    // exchange (crearSiFalta): its check, on the server under the lock, is then the only one.
    virtual bool creaSiFalta(const QString &baseDatos)
    {
        Q_UNUSED(baseDatos);
        return false;
    }
    // Runs the statements of the table on the named database, in one exchange with the lock
    // and the commit asked before, unless a table of that name exists: true when made, false
    // when the one there was left alone. Raises gp::Error with the engine's reason.
    virtual bool crearSiFalta(const QString &baseDatos, const QString &tabla, const QStringList &sentencias)
    {
        Q_UNUSED(tabla);
        Q_UNUSED(sentencias);
        throw gp::Error(QStringLiteral("The engine of ") + baseDatos + QStringLiteral(" checks before it creates"));
    }

    // The file engine creates (or replaces) the table under its write lock; raises gp::Error
    // with the reason. False when another process made it meanwhile with this definition:
    // it is kept as it is, rows and all.
    virtual bool crearTablaMotor(const TablaCreacion &tabla, const DefinicionesTabla &definiciones) = 0;

    // Work tables: one made in this run from a definition is noted; a later creation of the
    // same one from the same definition empties it (every row deleted) and opens it
    // exclusively instead, answering false when that cannot be done (the table is gone).
    virtual void anotarTablaTrabajo(const TablaCreacion &tabla, const QString &definicion)
    {
        Q_UNUSED(tabla);
        Q_UNUSED(definicion);
    }
    virtual bool vaciarTablaTrabajo(const TablaCreacion &tabla, const QString &definicion)
    {
        Q_UNUSED(tabla);
        Q_UNUSED(definicion);
        return false;
    }

    // Company 1 of a new EMPRESA table: open, insert and post (raises gp::Error), cancel
    // a failed insert, and create the company's SQL Server database.
    virtual void insertarEmpresa1(const TablaCreacion &tabla, const QString &nombre, const QString &abreviatura) = 0;
    virtual void cancelarInsercion(const TablaCreacion &tabla) = 0;
    virtual void crearBaseDatosEmpresa1() = 0;
};

// Creates the table from the definition text: empty (the structure files), a "Tabla
// Temporal" text, or a standard and a specific file path joined by ";". A work table ("Tabla
// Temporal") made earlier in the run from the same text is emptied and opened instead, except
// on SQL Server. empresa is the
// company of a "?" database name. True when the table was created (or found made by another
// program under the creation's lock: where the engine checks as it creates, that is any table
// found there); false when it already existed, had no definition or could not be created. A failing CREATE
// statement rolls the transaction back, shows why and raises gp::Abort. With a batch, a
// table of the file engine (not a temporary one) is made inside the batch's transaction.
bool CrearTabla(TablaCreacion &tabla, const QString &definicion, int empresa,
                const ConfiguracionCreacion &configuracion, EjecutorCreacionTabla &ejecutor,
                LoteCreacion *lote = nullptr);

} // namespace estructura
