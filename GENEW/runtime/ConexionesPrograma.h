#pragma once
#include "platform/base/LiteralFechaSQL.h"
#include "platform/base/EngineKind.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace plat {
class Connection;
class Session;
struct DatabaseLocation;
} // namespace plat

// What the connections are built from: the database settings, the SQL Server section of
// the settings file and the executable's name.
struct AjustesConexiones
{
    plat::EngineKind Motor = plat::EngineKind::SQLite;
    QString AliasBaseDatosGeneral;
    QString PathBaseDatosGeneral;
    QString AliasBaseDatos;          // the company alias base
    QString PathArchivosTemporales;
    bool AutenticacionWindows = false;
    QString NombreUsuarioInicioSesion;
    QString PasswordInicioSesion;    // clear text
    QString NivelAislamientoTransaccionesMSSQL = QStringLiteral("READ UNCOMMITTED");
    QString NombreIntercalacionMSSQL = QStringLiteral("SQL_Latin1_General_Cp1_CI_AI");
    QString ejecutable;              // file name of the running program
    QString archivoConfiguracion;    // where a password typed at start-up is stored
    QString archivoAlias;            // ALIAS.INI, named when an alias is missing from it
    QString carpetaPrimerArranque;   // "datos" of a first run, made without asking
};

// The program's connections: `Database` (current company), `DatabaseGeneral`, `DatabaseAlt`
// (a second company) and the ADO twins of the two company connections, all of one engine
// session. It opens them at start-up, re-points the company ones, names databases, keeps
// each connection and its twin in one transaction and creates missing databases.
class ConexionesPrograma
{
public:
    explicit ConexionesPrograma(plat::Session &sesion);
    ~ConexionesPrograma();
    ConexionesPrograma(const ConexionesPrograma &) = delete;
    ConexionesPrograma &operator=(const ConexionesPrograma &) = delete;

    void configurar(const AjustesConexiones &ajustes);
    const AjustesConexiones &ajustes() const { return ajustes_; }
    plat::Session &sesion() const { return sesion_; }
    bool esSQLServer() const;
    bool esSQLGenerica() const;

    plat::Connection &Database() const;
    plat::Connection &DatabaseGeneral() const;
    plat::Connection &DatabaseAlt() const;
    plat::Connection &ADOConnection() const;
    plat::Connection &ADOConnectionAlt() const;

    // Session values the names depend on.
    int EmpresaActual = 0;
    QString UsuarioActual;
    QString CatalogoForzado;          // set by the SQL service for the duration of a call
    QString IntercalacionTXIDIOMA;    // collation the translation service compares with

    // The login the connections use (the settings file's, or the alias's user name, or
    // what the user typed at the password prompt) and the server of the company alias.
    // On "SQL Generica" an alias's own PASSWORD is used unless this password is not empty.
    QString usuario() const { return usuario_; }
    QString password() const { return password_; }
    QString servidor() const { return servidor_; }

    // Opens `Database` and `DatabaseGeneral` at start-up. Raises gp::Error with the
    // driver's reason when the program cannot go on; a missing database (on engines other
    // than SQL Server) is created and the connection tried once more. The SQL service runs
    // the isolation statement and the collation query (SQL Server only).
    using EjecutorSQL = std::function<QString(const QString &sql, const QString &baseDatos, const QString &opciones)>;
    void AbrirConexionesInicio(const EjecutorSQL &ejecutarSQL);

    // The start's database driver is loaded ahead, and on the embedded engine the start's
    // database files that do not exist and that the start would make are made ahead, each on a
    // thread of its own, while the start does other work before opening them (the installation
    // diagnosis). Needs the settings.
    void PrepararBasesDatosInicio();

    void ConectarBaseDatosEmpresa(int codigo, const EjecutorSQL &ejecutarSQL);
    void ConectarBaseDatosAlt(int codigo, const QString &nombre, const EjecutorSQL &ejecutarSQL);

    QString NombreBaseDatosEmpresa(int codigo) const;
    QString BaseDatosDeTabla(const QString &tabla) const;
    QString CadenaConexionADO(const QString &selector, const QString &servidor) const;

    // Creates the database when it does not exist: a folder on "Paradox", CREATE DATABASE on
    // the servers (SQL Server with the program's three statements, run by ejecutarSQLADO on
    // "master"). Raises gp::Error with the reason on failure. A folder is made only when it
    // is the first run's "datos" or a company's folder inside the general one: any other
    // missing folder is a mistyped setting, reported as the engine reports a missing path.
    void CrearBaseDatos(const QString &nombre, const EjecutorSQL &ejecutarSQLADO);
    // A company's database made when missing, as CrearBaseDatos does. On the servers its name
    // comes from the company alias, so the reason of a failure names that setting and its value.
    void CrearBaseDatosEmpresa(int codigo, const EjecutorSQL &ejecutarSQLADO);

    // Transactions of a connection (none = Database) and its ADO twin.
    bool EnTransaccion = false;
    bool EnTransaccionFormularios = false;   // the second flag that project forms set
    bool IniciarTransaccion(plat::Connection *db = nullptr);
    // Raise gp::Error with the reason on failure, flags unchanged.
    void ConfirmarTransaccion(plat::Connection *db = nullptr);
    void CancelarTransaccion(plat::Connection *db = nullptr);

    // The connection a database selector of the SQL service names: "Database" or empty,
    // "DatabaseGeneral", "DatabaseAlt", "?" + alias, or any other database name.
    plat::Connection &ConexionDeSelector(const QString &selector);
    // The ADO connection of a selector: the twins for "Database"/empty and "DatabaseAlt",
    // else a connection of its own over the connection string (owned by the caller).
    struct ConexionADO
    {
        plat::Connection *conexion = nullptr;
        std::unique_ptr<plat::Connection> propia;
    };
    ConexionADO ConexionADODeSelector(const QString &selector, const QString &servidor);
    // The connection a table component's database name reaches: one of the three program
    // connections when it is their database name, else a connection of that name.
    plat::Connection &ConexionDeBaseDatos(const QString &nombreBaseDatos);

    // The parameter lines a server database is reached with (the alias's lines, or the
    // company alias's with another database name), with the connections' login.
    QStringList ParametrosServidor(const QString &nombre) const;

private:
    static QString catalogoDe(const plat::Connection &conexion);
    void comprobarAlias(const QString &alias, const QStringList &parametros) const;
    void crearBaseDatosInicio(const QString &alias, const EjecutorSQL &ejecutarSQL);
    static QString ajusteAlias(bool general, const QString &alias);
    bool carpetaCreable(const QString &carpeta) const;
    bool prepararBaseDatos(const plat::DatabaseLocation &lugar);
    QString claveDe(const QStringList &parametrosAlias, const QString &clavePrograma) const;
    QString claveEmpresa() const;
    void abrirInicio(plat::Connection &conexion, const QString &alias, bool general,
                     const EjecutorSQL &ejecutarSQL);
    void ejecutarAislamiento(const QString &palabra, const EjecutorSQL &ejecutarSQL);
    void confirmarVacia();
    QString aplicacion() const;

    plat::Session &sesion_;
    AjustesConexiones ajustes_;
    QString usuario_;
    QString password_;
    QString servidor_;
    QStringList creadasEnArranque_;   // databases this start-up made, named if a later one fails
    QStringList preparadasEnArranque_;   // aliases whose database files are being made ahead
    // While the company database is open, the program writes dates as its engine reads them.
    std::optional<Gancho<LiteralFechaSQLFn>::Instalacion> literalFecha_;
};
