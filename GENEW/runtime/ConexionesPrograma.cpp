#include "GENEW/runtime/ConexionesPrograma.h"

#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/ClaveSQLServer.h"
#include "GENEW/runtime/ConfiguracionBasesDatos.h"
#include "GENEW/runtime/NombresConexion.h"
#include "GENEW/runtime/SentenciasBaseDatosSQLServer.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/EngineErrors.h"
#include "platform/data/engine/Session.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString ServerName = QStringLiteral("SERVER NAME");
const QString DatabaseNameParam = QStringLiteral("DATABASE NAME");
const QString UserName = QStringLiteral("USER NAME");
const QString HostName = QStringLiteral("HOST NAME");
const QString PasswordParam = QStringLiteral("PASSWORD");
const QString kDatabase = QStringLiteral("Database");
const QString kDatabaseGeneral = QStringLiteral("DatabaseGeneral");
const QString kDatabaseAlt = QStringLiteral("DatabaseAlt");

bool mismoNombre(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

} // namespace

ConexionesPrograma::ConexionesPrograma(plat::Session &sesion) : sesion_(sesion) {}

ConexionesPrograma::~ConexionesPrograma() = default;

void ConexionesPrograma::configurar(const AjustesConexiones &ajustes)
{
    ajustes_ = ajustes;
    usuario_ = ajustes.NombreUsuarioInicioSesion;
    password_ = ajustes.PasswordInicioSesion;
    IntercalacionTXIDIOMA = ajustes.NombreIntercalacionMSSQL;
}

bool ConexionesPrograma::esSQLServer() const { return ajustes_.Motor == plat::EngineKind::SqlServer; }
bool ConexionesPrograma::esSQLGenerica() const { return ajustes_.Motor == plat::EngineKind::PostgreSQL; }

plat::Connection &ConexionesPrograma::Database() const { return sesion_.connection(kDatabase); }
plat::Connection &ConexionesPrograma::DatabaseGeneral() const { return sesion_.connection(kDatabaseGeneral); }
plat::Connection &ConexionesPrograma::DatabaseAlt() const { return sesion_.connection(kDatabaseAlt); }
plat::Connection &ConexionesPrograma::ADOConnection() const { return sesion_.connection(QStringLiteral("ADOConnection")); }
plat::Connection &ConexionesPrograma::ADOConnectionAlt() const
{
    return sesion_.connection(QStringLiteral("ADOConnectionAlt"));
}

QString ConexionesPrograma::aplicacion() const { return ajustes_.ejecutable; }

// The password an alias is reached with: on "SQL Generica" the alias's own PASSWORD unless the
// program has one (from the settings file or the log-in prompt); on SQL Server the program's.
QString ConexionesPrograma::claveDe(const QStringList &parametrosAlias, const QString &clavePrograma) const
{
    if (esSQLGenerica() && clavePrograma.isEmpty())
        return plat::paramValue(parametrosAlias, PasswordParam);
    return clavePrograma;
}

QString ConexionesPrograma::claveEmpresa() const
{
    return claveDe(sesion_.alias(ajustes_.AliasBaseDatos).params, password_);
}

// ---- start-up ---------------------------------------------------------------------------

void ConexionesPrograma::AbrirConexionesInicio(const EjecutorSQL &ejecutarSQL)
{
    if (esSQLServer()) {
        const QString motivo = MotivoRechazoAjustesSQLServer(ajustes_.NombreIntercalacionMSSQL,
                                                             ajustes_.NivelAislamientoTransaccionesMSSQL,
                                                             ajustes_.archivoConfiguracion);
        if (!motivo.isEmpty())
            throw gp::Error(motivo);
    }
    creadasEnArranque_.clear();
    const auto anotarHechaAntes = [this](const plat::Connection &conexion, const QString &alias) {
        if (preparadasEnArranque_.contains(alias) && sesion_.madeFile(conexion))
            creadasEnArranque_ << alias;
    };
    abrirInicio(Database(), ajustes_.AliasBaseDatos, false, ejecutarSQL);
    anotarHechaAntes(Database(), ajustes_.AliasBaseDatos);
    literalFecha_.reset();
    literalFecha_.emplace(ganchoLiteralFechaSQL(), Database().dialect().programDateLiteral());
    abrirInicio(DatabaseGeneral(), ajustes_.AliasBaseDatosGeneral, true, ejecutarSQL);
    anotarHechaAntes(DatabaseGeneral(), ajustes_.AliasBaseDatosGeneral);
    if (esSQLServer()) {
        IntercalacionTXIDIOMA = ejecutarSQL(QStringLiteral("SELECT TOP 1 collation_name   FROM information_schema.columns"
                                                          "   WHERE table_name = 'TXIDIOMA'"),
                                            kDatabaseGeneral, QString());
    } else {
        IntercalacionTXIDIOMA = ajustes_.NombreIntercalacionMSSQL;
    }
}

void ConexionesPrograma::PrepararBasesDatosInicio()
{
    preparadasEnArranque_.clear();
    const QString general = ajustes_.AliasBaseDatosGeneral;
    const bool servidor = esSQLServer() || esSQLGenerica();
    // An alias missing from a server's settings is said when the start opens it.
    if (!servidor || sesion_.isAlias(general))
        sesion_.prepareDriver(sesion_.resolve(general, sesion_.alias(general).params));
    if (servidor)
        return;
    // The databases the opening below would make: a missing file in a folder that exists or
    // that a start may make. Both aliases may name one.
    QStringList nuevas;   // their locations' keys
    QString claveGeneral;
    for (const QString &alias : {ajustes_.AliasBaseDatos, ajustes_.AliasBaseDatosGeneral}) {
        const QStringList parametros = sesion_.alias(alias).params;
        if (EsRutaWindows(plat::paramValue(parametros, QStringLiteral("PATH"))))
            continue;
        const plat::DatabaseLocation lugar = sesion_.resolve(alias, parametros);
        if (prepararBaseDatos(lugar)) {
            preparadasEnArranque_ << alias;
            nuevas << lugar.key();
        }
        if (alias == general)
            claveGeneral = lugar.key();
    }
    // A new general database gets the company table, and with it company 1 and its database,
    // from this start, unless it ends first: then the empty database waits for the next one.
    if (nuevas.contains(claveGeneral)) {
        const QString empresa1 = NombreBaseDatosEmpresa(1);
        prepararBaseDatos(sesion_.resolve(empresa1, ParametrosServidor(empresa1)));
    }
}

bool ConexionesPrograma::prepararBaseDatos(const plat::DatabaseLocation &lugar)
{
    return lugar.isFolder() && (QFileInfo(lugar.folder).isDir() || carpetaCreable(lugar.folder))
        && sesion_.prepareDatabase(lugar);
}

// The server engines reach their databases only through ALIAS.INI: an alias missing from it
// would otherwise end on a folder of the embedded engine, a new and empty database.
void ConexionesPrograma::comprobarAlias(const QString &alias, const QStringList &parametros) const
{
    const QString archivo = ajustes_.archivoAlias.isEmpty() ? QStringLiteral("ALIAS.INI") : ajustes_.archivoAlias;
    if ((esSQLServer() || esSQLGenerica()) && !sesion_.isAlias(alias)) {
        throw gp::Error(QStringLiteral("El alias \"%1\" de %2 no está definido en %3%4.")
                            .arg(alias, plat::engineTypeWord(ajustes_.Motor), archivo,
                                 QFileInfo::exists(archivo) ? QString() : QStringLiteral(" (el archivo no existe)")));
    }
    const QString carpeta = plat::paramValue(parametros, QStringLiteral("PATH"));
    if (EsRutaWindows(carpeta)) {
        throw gp::Error(QStringLiteral("El valor \"%1\" de PATH del alias \"%2\" en %3 es una ruta de Windows. "
                                       "Indique una carpeta de este sistema, con \"/\" como separador.")
                            .arg(carpeta, alias, archivo));
    }
}

void ConexionesPrograma::abrirInicio(plat::Connection &conexion, const QString &alias, bool general,
                                     const EjecutorSQL &ejecutarSQL)
{
    conexion.setAliasName(alias);
    conexion.setDatabaseName(alias);
    conexion.setKeepConnection(true);
    conexion.setIsolationLevel(plat::IsolationLevel::ReadCommitted);
    const bool servidorConLogin = esSQLServer() || esSQLGenerica();
    const QStringList parametrosAlias = sesion_.alias(alias).params;
    comprobarAlias(alias, parametrosAlias);
    QStringList parametros = parametrosAlias;
    if (!general) {
        servidor_ = NombreServidor(plat::paramValue(parametros, ServerName), ajustes_.AutenticacionWindows);
        if (servidorConLogin) {
            if (ajustes_.AutenticacionWindows) {
                usuario_.clear();
                password_.clear();
                plat::setParamValue(parametros, UserName, QString());
                plat::setParamValue(parametros, HostName, QString());
                plat::setParamValue(parametros, PasswordParam, QString());
            } else {
                if (usuario_.isEmpty())
                    usuario_ = plat::paramValue(parametros, UserName);
                else
                    plat::setParamValue(parametros, UserName, usuario_);
                plat::setParamValue(parametros, PasswordParam, claveDe(parametrosAlias, password_));
            }
        }
    } else if (servidorConLogin) {
        plat::setParamValue(parametros, UserName, usuario_);
        plat::setParamValue(parametros, HostName, usuario_);
        plat::setParamValue(parametros, PasswordParam, claveDe(parametrosAlias, password_));
    }
    if (!parametrosAlias.isEmpty())
        conexion.setParams(parametros);

    const auto conectar = [this, &conexion, &parametrosAlias](const QString &password) {
        if (!conexion.params().isEmpty()) {
            QStringList p = conexion.params();
            plat::setParamValue(p, PasswordParam, claveDe(parametrosAlias, password));
            conexion.setParams(p);
        }
        conexion.open();
    };
    try {
        bool creada = false;
        for (;;) {
            const ResultadoConexionConClave r = ConectarPidiendoClave(conectar, password_, ajustes_.archivoConfiguracion);
            if (r.conectado)
                break;
            // Only a server that answered that the database is missing gets it created: any
            // other failure (no server, no permission) is the one error the user sees.
            if (creada || r.fallo.tipo != gp::DatabaseErrorKind::MissingPath)
                throw gp::DatabaseError(r.fallo.mensaje, r.fallo.tipo);
            crearBaseDatosInicio(alias, ejecutarSQL);
            creada = true;
            if (esSQLServer())
                break;   // the server's own way: datasets connect on demand
        }
    } catch (const gp::DatabaseError &error) {
        if (!servidorConLogin)
            throw;
        throw gp::DatabaseError(ajusteAlias(general, alias) + error.mensaje(), error.kind());
    } catch (const gp::Abort &) {
        throw;
    } catch (const gp::Error &error) {
        if (!servidorConLogin)
            throw;
        throw gp::Error(ajusteAlias(general, alias) + error.mensaje());
    }
    ejecutarAislamiento(general ? kDatabaseGeneral : kDatabase, ejecutarSQL);
}

// On the servers an alias names a database of the server, whatever text it holds: a database
// the server cannot reach, make or open is told with the setting that names it, so that the
// administrator knows which line to mend.
QString ConexionesPrograma::ajusteAlias(bool general, const QString &alias)
{
    return (general ? QStringLiteral("AliasBaseDatosGeneral=") : QStringLiteral("AliasBaseDatos=")) + alias
        + QStringLiteral(": ");
}

// A database made at start-up. When an earlier one of this start-up was made and this one
// fails, the message says so: the administrator finds one new, empty database and not the other.
void ConexionesPrograma::crearBaseDatosInicio(const QString &alias, const EjecutorSQL &ejecutarSQL)
{
    try {
        CrearBaseDatos(alias, ejecutarSQL);
    } catch (const gp::Error &error) {
        if (creadasEnArranque_.isEmpty())
            throw;
        throw gp::Error(error.mensaje() + QStringLiteral("\nLa base de datos \"")
                        + creadasEnArranque_.join(QStringLiteral("\", \""))
                        + QStringLiteral("\" se ha creado en este arranque y queda vacía; la base de datos \"") + alias
                        + QStringLiteral("\" no se ha podido crear."));
    }
    creadasEnArranque_ << alias;
}

void ConexionesPrograma::ejecutarAislamiento(const QString &palabra, const EjecutorSQL &ejecutarSQL)
{
    // Only SQL Server has the statement; the other engines keep their own isolation.
    if (esSQLServer())
        ejecutarSQL(QStringLiteral("SET TRANSACTION ISOLATION LEVEL ") + ajustes_.NivelAislamientoTransaccionesMSSQL,
                    palabra, QString());
}

// ---- re-pointing ------------------------------------------------------------------------

void ConexionesPrograma::ConectarBaseDatosEmpresa(int codigo, const EjecutorSQL &ejecutarSQL)
{
    plat::Connection &db = Database();
    const QString nombre = NombreBaseDatosEmpresa(codigo);
    db.close();
    db.setAliasName(QString());
    db.setDatabaseName(nombre);
    db.setParams(ParametrosConexionEmpresa(servidor_, nombre, usuario_, claveEmpresa(), aplicacion(), UsuarioActual));
    db.open();
    if (!sesion_.isAlias(nombre) && !nombre.contains(u'/'))
        sesion_.addAlias(nombre, QStringLiteral("MSSQL"), db.params());
    ejecutarAislamiento(kDatabase, ejecutarSQL);
    confirmarVacia();
    plat::Connection &ado = ADOConnection();
    ado.close();
    ado.setConnectionString(CadenaConexionADO(nombre, servidor_));
    ado.open();
}

void ConexionesPrograma::ConectarBaseDatosAlt(int codigo, const QString &nombreDado, const EjecutorSQL &ejecutarSQL)
{
    plat::Connection &alt = DatabaseAlt();
    const QString nombre = nombreDado.isEmpty() ? NombreBaseDatosEmpresa(codigo) : nombreDado;
    if (alt.isOpen() && mismoNombre(alt.databaseName(), nombre))
        return;
    const QString alias = codigo == -1 ? ajustes_.AliasBaseDatos : nombre;
    alt.close();
    alt.setAliasName(alias);
    alt.setDatabaseName(nombre);
    alt.setParams(ParametrosConexionEmpresa(servidor_, nombre, usuario_, claveEmpresa(), aplicacion(), UsuarioActual));
    if (!sesion_.isAlias(nombre) && !nombre.contains(u'/'))
        sesion_.addAlias(nombre, QStringLiteral("MSSQL"), alt.params());
    alt.open();
    ejecutarAislamiento(kDatabaseAlt, ejecutarSQL);
    if (esSQLServer())
        confirmarVacia();
    plat::Connection &ado = ADOConnectionAlt();
    ado.close();
    ado.setConnectionString(CadenaConexionADO(nombre, servidor_));
    ado.open();
}

// An empty transaction at once, as the program did after connecting, so that the driver
// has settled its connection state before the first real one.
void ConexionesPrograma::confirmarVacia()
{
    plat::Connection &db = Database();
    if (!db.inTransaction()) {
        db.startTransaction();
        db.commit();
    }
}

// ---- names ------------------------------------------------------------------------------

QString ConexionesPrograma::NombreBaseDatosEmpresa(int codigo) const
{
    return ::NombreBaseDatosEmpresa(ajustes_.Motor, ajustes_.PathBaseDatosGeneral, ajustes_.AliasBaseDatos,
                                    codigo);
}

QString ConexionesPrograma::BaseDatosDeTabla(const QString &tabla) const
{
    return EsTablaGeneral(tabla) ? DatabaseGeneral().databaseName() : Database().databaseName();
}

// The catalogue an ADO string names for a connection: on a server the database its alias
// points at (a connection opened by alias is named after the alias, not the database).
QString ConexionesPrograma::catalogoDe(const plat::Connection &conexion)
{
    if (conexion.databaseName().isEmpty() && conexion.aliasName().isEmpty() && conexion.connectionString().isEmpty())
        return QString();   // not pointed anywhere yet
    const plat::DatabaseLocation lugar = conexion.location();
    return lugar.isFolder() || lugar.database.isEmpty() ? conexion.databaseName() : lugar.database;
}

QString ConexionesPrograma::CadenaConexionADO(const QString &selector, const QString &servidor) const
{
    DatosCadenaADO datos;
    datos.autenticacionWindows = ajustes_.AutenticacionWindows;
    datos.usuario = usuario_;
    datos.password = claveEmpresa();
    datos.servidor = servidor_;
    datos.baseDatosGeneral = catalogoDe(DatabaseGeneral());
    datos.baseDatosAlt = catalogoDe(DatabaseAlt());
    datos.catalogoForzado = CatalogoForzado;
    datos.baseDatosEmpresaActual = NombreBaseDatosEmpresa(EmpresaActual);
    datos.ejecutable = aplicacion();
    datos.usuarioActual = UsuarioActual;
    return ::CadenaConexionADO(datos, selector, servidor);
}

QStringList ConexionesPrograma::ParametrosServidor(const QString &nombre) const
{
    if (!esSQLServer() && !esSQLGenerica())
        return {};
    const QStringList parametrosAlias =
        sesion_.alias(sesion_.isAlias(nombre) ? nombre : ajustes_.AliasBaseDatos).params;
    QStringList parametros = parametrosAlias;
    if (sesion_.isAlias(nombre)) {
        if (plat::paramValue(parametros, DatabaseNameParam).isEmpty())
            plat::setParamValue(parametros, DatabaseNameParam, nombre);
    } else {
        if (plat::paramValue(parametros, ServerName).isEmpty())
            plat::setParamValue(parametros, ServerName, servidor_);
        plat::setParamValue(parametros, DatabaseNameParam, nombre);
    }
    if (!plat::paramValue(parametros, QStringLiteral("PATH")).isEmpty())
        return parametros;
    if (!usuario_.isEmpty() || ajustes_.AutenticacionWindows)
        plat::setParamValue(parametros, UserName, usuario_);
    plat::setParamValue(parametros, PasswordParam, claveDe(parametrosAlias, password_));
    return parametros;
}

// ---- creation of databases --------------------------------------------------------------

bool ConexionesPrograma::carpetaCreable(const QString &carpeta) const
{
    const QString limpia = QDir::cleanPath(carpeta);
    if (!ajustes_.carpetaPrimerArranque.isEmpty() && limpia == QDir::cleanPath(ajustes_.carpetaPrimerArranque))
        return true;
    const QString general = QDir::cleanPath(ajustes_.PathBaseDatosGeneral);
    return QFileInfo(limpia).absolutePath() == general && QFileInfo(general).isDir();
}

void ConexionesPrograma::CrearBaseDatos(const QString &nombre, const EjecutorSQL &ejecutarSQLADO)
{
    const QStringList parametros = ParametrosServidor(nombre);
    const plat::DatabaseLocation lugar = sesion_.resolve(nombre, parametros);
    if (lugar.isFolder() && !QFileInfo::exists(lugar.folder) && !carpetaCreable(lugar.folder))
        throw gp::DatabaseError(plat::EngineText::PathNotFound + QStringLiteral(".\n") + lugar.folder);
    if (!esSQLServer()) {
        sesion_.createDatabase(nombre, {}, parametros);
        return;
    }
    if (sesion_.databaseExists(nombre, parametros))
        return;
    const QString master = QStringLiteral("master");
    const QStringList sentencias = SentenciasCrearBaseDatosSQLServer(nombre, ajustes_.NombreIntercalacionMSSQL);
    for (qsizetype i = 0; i < sentencias.size(); ++i) {
        const QString respuesta = ejecutarSQLADO(sentencias[i], master, QString());
        if (!EsRespuestaErrorSQL(respuesta))
            continue;
        throw gp::Error((i == 0 ? QStringLiteral("¡Imposible crear la base de datos ")
                                : QStringLiteral("¡Error configurando la base de datos "))
                        + nombre + QStringLiteral("!. Motivo:") + respuesta);
    }
}

void ConexionesPrograma::CrearBaseDatosEmpresa(int codigo, const EjecutorSQL &ejecutarSQLADO)
{
    const QString nombre = NombreBaseDatosEmpresa(codigo);
    if (!esSQLServer() && !esSQLGenerica()) {
        CrearBaseDatos(nombre, ejecutarSQLADO);
        return;
    }
    const QString ajuste = ajusteAlias(false, ajustes_.AliasBaseDatos);
    try {
        CrearBaseDatos(nombre, ejecutarSQLADO);
    } catch (const gp::DatabaseError &error) {
        throw gp::DatabaseError(ajuste + error.mensaje(), error.kind());
    } catch (const gp::Abort &) {
        throw;
    } catch (const gp::Error &error) {
        throw gp::Error(ajuste + error.mensaje());
    }
}

// ---- transactions -----------------------------------------------------------------------

namespace {

// The ADO twin that goes with a connection in a transaction, when it has been pointed.
plat::Connection *gemela(const ConexionesPrograma &c, plat::Connection &db)
{
    plat::Connection *ado = nullptr;
    if (&db == &c.Database())
        ado = &c.ADOConnection();
    else if (&db == &c.DatabaseAlt())
        ado = &c.ADOConnectionAlt();
    return ado && !ado->connectionString().isEmpty() ? ado : nullptr;
}

} // namespace

bool ConexionesPrograma::IniciarTransaccion(plat::Connection *db)
{
    plat::Connection &conexion = db ? *db : Database();
    if (conexion.inTransaction()) {
        EnTransaccion = true;
        return true;
    }
    try {
        conexion.startTransaction();
        if (plat::Connection *ado = gemela(*this, conexion)) {
            try {
                ado->startTransaction();
            } catch (...) {
                conexion.rollback();
                throw;
            }
        }
        EnTransaccion = true;
    } catch (const gp::Error &) {
        EnTransaccion = false;
    }
    return EnTransaccion;
}

void ConexionesPrograma::ConfirmarTransaccion(plat::Connection *db)
{
    plat::Connection &conexion = db ? *db : Database();
    if (conexion.inTransaction()) {
        conexion.commit();
        if (plat::Connection *ado = gemela(*this, conexion); ado && ado->inTransaction())
            ado->commit();
    }
    EnTransaccion = false;
    EnTransaccionFormularios = false;
}

void ConexionesPrograma::CancelarTransaccion(plat::Connection *db)
{
    plat::Connection &conexion = db ? *db : Database();
    if (conexion.inTransaction()) {
        conexion.rollback();
        if (plat::Connection *ado = gemela(*this, conexion); ado && ado->inTransaction())
            ado->rollback();
    }
    EnTransaccion = false;
    EnTransaccionFormularios = false;
}

// ---- selectors --------------------------------------------------------------------------

plat::Connection &ConexionesPrograma::ConexionDeSelector(const QString &selector)
{
    if (selector.isEmpty() || selector == kDatabase)
        return Database();
    if (selector == kDatabaseGeneral)
        return DatabaseGeneral();
    if (selector == kDatabaseAlt)
        return DatabaseAlt();
    return ConexionDeBaseDatos(selector.startsWith(u'?') ? selector.mid(1) : selector);
}

plat::Connection &ConexionesPrograma::ConexionDeBaseDatos(const QString &nombreDado)
{
    const QString nombre = nombreDado.startsWith(u'?') ? nombreDado.mid(1) : nombreDado;
    for (plat::Connection *c : {&Database(), &DatabaseGeneral(), &DatabaseAlt()}) {
        if (!c->databaseName().isEmpty() && mismoNombre(c->databaseName(), nombre))
            return *c;
    }
    plat::Connection &otra = sesion_.connection(QStringLiteral("?") + nombre);
    if (otra.databaseName().isEmpty()) {
        otra.setDatabaseName(nombre);
        otra.setParams(ParametrosServidor(nombre));
    }
    return otra;
}

ConexionesPrograma::ConexionADO ConexionesPrograma::ConexionADODeSelector(const QString &selector,
                                                                         const QString &servidor)
{
    ConexionADO resultado;
    if (servidor.isEmpty() && (selector.isEmpty() || selector == kDatabase)) {
        resultado.conexion = &ADOConnection();
    } else if (servidor.isEmpty() && selector == kDatabaseAlt) {
        resultado.conexion = &ADOConnectionAlt();
    } else {
        resultado.propia = std::make_unique<plat::Connection>(sesion_, QStringLiteral("ADO:") + selector);
        resultado.propia->setConnectionString(CadenaConexionADO(selector, servidor));
        resultado.conexion = resultado.propia.get();
    }
    return resultado;
}
