#include "GENEW/runtime/estructura/CreacionTabla.h"

#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/estructura/DefinicionesEstructura.h"
#include "GENEW/runtime/estructura/LineaDefinicion.h"

#include <utility>

namespace estructura {

namespace mensajes {

QString ErrorCamposUsuario(const QString &tabla, const QString &motivo)
{
    return QStringLiteral("Se ha producido un error al incorporar los Campos de Usuario en la tabla: ") + tabla
           + QStringLiteral(". ") + QStringLiteral("Motivo: ") + motivo;
}

QString SinDefinicion(const QString &tabla)
{
    return QStringLiteral("No se ha encontrado la definición de la tabla. Tabla: ") + tabla;
}

QString ErrorCreandoTabla(const QString &tabla, const QString &motivo)
{
    return QStringLiteral("¡ Error creando la tabla ") + tabla + QStringLiteral(" !. Motivo: ") + motivo;
}

QString ErrorCrearTablaSQL(const QString &motivo)
{
    return QStringLiteral("¡No es posible crear la tabla SQL (Paso 1)!. Motivo: ") + motivo;
}

QString ErrorCrearIndiceSQL(const QString &motivo)
{
    return QStringLiteral("No es posible crear el índice en SQL. Mensaje: ") + motivo;
}

} // namespace mensajes

LoteCreacion::~LoteCreacion()
{
    try {
        confirmar();
    } catch (const gp::Error &) {
        // Not committed, the tables are missing at the next start, which makes them again.
    }
}

void LoteCreacion::incluir(const QString &baseDatos)
{
    if (baseDatos_ == baseDatos)
        return;
    confirmar();
    transacciones_.iniciarTransaccion(baseDatos);
    baseDatos_ = baseDatos;
}

void LoteCreacion::confirmar()
{
    if (baseDatos_.isEmpty())
        return;
    const QString baseDatos = std::exchange(baseDatos_, QString());
    transacciones_.confirmarTransaccion(baseDatos);
}

namespace {

// The hourglass for the span of the creation, whatever way it is left.
class CursorEspera
{
public:
    explicit CursorEspera(EjecutorCreacionTabla &ejecutor) : ejecutor_(ejecutor) { ejecutor_.cursorEspera(true); }
    ~CursorEspera() { ejecutor_.cursorEspera(false); }
    CursorEspera(const CursorEspera &) = delete;
    CursorEspera &operator=(const CursorEspera &) = delete;

private:
    EjecutorCreacionTabla &ejecutor_;
};

class CreadorTabla
{
public:
    CreadorTabla(TablaCreacion &tabla, const ConfiguracionCreacion &configuracion, EjecutorCreacionTabla &ejecutor,
                 LoteCreacion *lote)
        : tabla_(tabla), configuracion_(configuracion), ejecutor_(ejecutor), lote_(lote)
    {
    }

    bool crear(const QString &definicion, int empresa)
    {
        ejecutor_.cerrarTabla(tabla_);
        temporal_ = EsDefinicionTemporal(definicion);
        const QString &carpetaTemporal = configuracion_.PathArchivosTemporales;
        const bool temporalEnCarpeta = temporal_ && (carpetaTemporal.contains(u'/') || carpetaTemporal.contains(u'\\'));
        const plat::EngineKind motor = temporalEnCarpeta ? plat::EngineKind::SQLite : configuracion_.Motor;
        sqlServer_ = motor == plat::EngineKind::SqlServer;
        servidor_ = motor != plat::EngineKind::SQLite;

        std::shared_ptr<const TextoDividido> texto;
        if (temporal_)
            texto = std::make_shared<const TextoDividido>(nombrarTablaTemporal(definicion));
        else if (!obtenerTexto(definicion, texto))
            return false;

        if (temporal_ && !sqlServer_ && ejecutor_.vaciarTablaTrabajo(tabla_, definicion))
            return true;

        alternativa_ = tabla_.DatabaseName.startsWith(u'?');
        if (alternativa_) {
            ejecutor_.conectarBaseDatosAlt(tabla_.DatabaseName.mid(1), empresa);
            if (sqlServer_)
                tabla_.TableName = ejecutor_.quitarPropietarioTabla(tabla_.TableName);
        }
        nombre_ = ejecutor_.quitarPropietarioTabla(tabla_.TableName);
        general_ = EsTablaGeneral(tabla_.TableName);
        deUnaVez_ = servidor_ && !temporal_
            && ejecutor_.creaSiFalta(alternativa_ ? tabla_.DatabaseName.mid(1) : tabla_.DatabaseName);
        if (!temporal_ && !deUnaVez_ && existeTabla())
            return false;
        if (alternativa_)
            tabla_.DatabaseName = tabla_.DatabaseName.mid(1);

        CursorEspera cursor(ejecutor_);
        ejecutor_.prepararTabla(tabla_, !servidor_);
        const QList<FilaCampoUsuario> camposUsuario = camposUsuarioDeLaTabla();
        const QStringList definidas = LineasAConstruir(nombre_, *texto, temporal_, {});
        const QStringList lineas =
            camposUsuario.isEmpty() ? definidas : LineasAConstruir(nombre_, *texto, temporal_, camposUsuario);
        const bool definida = !definidas.isEmpty();

        // EMPRESA and its company 1 are made in one transaction: a program starting at the same
        // moment never finds the table without its first company. A table another process
        // made meanwhile came with its own company 1.
        empresa_ = !temporal_ && tabla_.TableName.contains(u"EMPRESA") && tabla_.propietario != u"fGENEACTU";
        if (temporal_) {
            const bool creada = servidor_ ? crearConSentencias(lineas) : crearConMotor(lineas);
            if (creada)
                ejecutor_.anotarTablaTrabajo(tabla_, definicion);
            return creada;
        }
        if (servidor_)
            return crearConSentencias(definida ? lineas : QStringList());
        if (!empresa_)
            return crearConMotor(definida ? lineas : QStringList());
        if (lote_)
            lote_->incluir(tabla_.DatabaseName);
        const QString conexion = conexionTransaccion();
        ejecutor_.iniciarTransaccion(conexion);
        try {
            const bool creada = crearConMotor(definida ? lineas : QStringList());
            if (creada && !hechaPorOtro_)
                crearEmpresa1();
            ejecutor_.confirmarTransaccion(conexion);
            return creada;
        } catch (...) {
            ejecutor_.deshacerTransaccion(conexion);
            throw;
        }
    }

private:
    bool obtenerTexto(const QString &definicion, std::shared_ptr<const TextoDividido> &texto)
    {
        bool avisado = false;
        const auto mostrar = [this, &avisado](const QString &tipo, const QString &mensaje) {
            avisado = true;
            ejecutor_.mostrarMensaje(tipo, mensaje);
        };
        try {
            if (definicion.isEmpty())
                archivoDefiniciones_ = ejecutor_.ficheroDefinicionesBaseDatos();
            const QString clave = definicion.isEmpty() ? archivoDefiniciones_ : u';' + definicion;
            if (lote_) {
                texto = lote_->textoLeido(clave);
                if (texto)
                    return true;
            }
            const QString leido =
                definicion.isEmpty()
                    ? TextoEstructura(archivoDefiniciones_, ejecutor_.lectorFicheros(), mostrar)
                    : CargarDefinicionesEstructura(definicion.section(u';', 0, 0), definicion.section(u';', 1, 1),
                                                   QString(), ejecutor_.lectorFicheros(), mostrar);
            texto = std::make_shared<const TextoDividido>(leido);
            // A file that could not be read is tried again, and said again, by the next table.
            if (lote_ && !avisado)
                lote_->anotarTextoLeido(clave, texto);
        } catch (const gp::Error &) {
            ejecutor_.mostrarMensaje(QStringLiteral("E"), mensajes::kImposibleAbrirEstructuras);
            return false;
        }
        return true;
    }

    // Takes the number off the header line and gives the table its temporary name.
    QString nombrarTablaTemporal(const QString &texto)
    {
        QStringList lineas = DividirLineas(texto);
        const int numero = NumeroTablaTemporal(lineas.value(0));
        if (!lineas.isEmpty())
            lineas.removeFirst();
        tabla_.DatabaseName = configuracion_.PathArchivosTemporales;
        tabla_.TableName = ejecutor_.nombreTablaSQL(ejecutor_.nombreTablaTemporal(tabla_.propietario, numero));
        return UnirLineas(lineas);
    }

    bool existeTabla()
    {
        const QString conexion = alternativa_ ? kConexionAlternativa : general_ ? kConexionGeneral : kConexionEmpresa;
        for (const QString &existente : ejecutor_.nombresTablas(conexion)) {
            if (ejecutor_.quitarPropietarioTabla(existente).compare(nombre_, Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    }

    QList<FilaCampoUsuario> camposUsuarioDeLaTabla()
    {
        QList<FilaCampoUsuario> filas;
        if (temporal_ || nombre_.compare(u"CAMPOUSR", Qt::CaseInsensitive) == 0)
            return filas;
        try {
            const QString nombreSQL = ejecutor_.nombreTablaSQL(nombre_);
            for (const FilaCampoUsuario &fila : todosCamposUsuario()) {
                if (ejecutor_.nombreTablaSQL(fila.NombreTabla) == nombreSQL)
                    filas << fila;
            }
        } catch (const gp::Error &error) {
            ejecutor_.mostrarMensaje(QStringLiteral("A"), mensajes::ErrorCamposUsuario(nombre_, error.mensaje()));
            filas.clear();
        }
        return filas;
    }

    // Raises gp::Error when CAMPOUSR cannot be read; that table is then tried, and reported,
    // again by the next one.
    QList<FilaCampoUsuario> todosCamposUsuario()
    {
        if (const QList<FilaCampoUsuario> *leidos = lote_ ? lote_->camposUsuarioLeidos() : nullptr)
            return *leidos;
        const QList<FilaCampoUsuario> filas = ejecutor_.camposUsuario();
        if (lote_)
            lote_->anotarCamposUsuario(filas);
        return filas;
    }

    QString conexionTransaccion()
    {
        const bool temporalEnGeneral =
            temporal_ && ejecutor_.nombreBaseDatos(kConexionGeneral) == configuracion_.PathArchivosTemporales;
        return temporalEnGeneral || general_ ? kConexionGeneral : kConexionEmpresa;
    }

    // Runs one statement of the creation; a failure undoes the transaction, so that it
    // never stays open, before the abort leaves the creation.
    void ejecutar(const QString &conexion, const QString &sentencia, bool esTabla)
    {
        try {
            ejecutor_.ejecutarSentencia(tabla_.DatabaseName, sentencia);
        } catch (const gp::Abort &) {
            ejecutor_.deshacerTransaccion(conexion);
            throw;
        } catch (const gp::Error &error) {
            ejecutor_.deshacerTransaccion(conexion);
            if (esTabla) {
                ejecutor_.mostrarMensaje(QStringLiteral("A"), mensajes::ErrorCrearTablaSQL(error.mensaje()));
                ejecutor_.mostrarMensaje(QString(), sentencia);
            } else {
                ejecutor_.mostrarMensaje(QStringLiteral("A"), mensajes::ErrorCrearIndiceSQL(error.mensaje()));
            }
            throw gp::Abort();
        }
    }

    bool crearConSentencias(const QStringList &lineas)
    {
        OpcionesSentencias opciones;
        opciones.dialecto = sqlServer_ ? DialectoSQL::SQLServer : DialectoSQL::SQLGenerica;
        opciones.formatoFechaSQL = configuracion_.FormatoFechaSQL;
        opciones.versionSQLServer = configuracion_.VersionSQLServer;
        opciones.temporal = temporal_;
        const SentenciasCreacion sentencias = SentenciasCrearTabla(nombre_, lineas, opciones);

        const QString conexion = conexionTransaccion();
        // The common case in one exchange; a failure goes the long way below, whose messages
        // name the statement that fails.
        if (deUnaVez_ && !sentencias.crearTabla.isEmpty() && crearDeUnaVez(conexion, sentencias))
            return terminarConSentencias(true);
        ejecutor_.iniciarTransaccion(conexion);
        // Two first starts at once: the second waits here for the first to finish and then
        // finds the table made.
        if (!temporal_ && !sentencias.crearTabla.isEmpty()) {
            ejecutor_.bloquearCreacion(conexion, nombre_);
            hechaPorOtro_ = existeTabla();
        }
        bool creada = hechaPorOtro_;
        // The last statement of the creation takes the commit along, unless company 1 follows it.
        const bool conEmpresa = empresa_ && !sentencias.crearTabla.isEmpty();
        const auto ultima = [&](bool es) {
            if (es && !conEmpresa)
                ejecutor_.confirmarConLaSiguiente(conexion);
        };
        if (!hechaPorOtro_ && !sentencias.crearTabla.isEmpty()) {
            if (temporal_)
                ejecutor_.ejecutarSQLSilencioso(tabla_.DatabaseName, QStringLiteral("DROP TABLE ") + nombre_);
            ultima(sentencias.crearIndices.isEmpty());
            ejecutar(conexion, sentencias.crearTabla, true);
            creada = true;
        }
        if (!hechaPorOtro_) {
            for (qsizetype i = 0; i < sentencias.crearIndices.size(); ++i) {
                ultima(i + 1 == sentencias.crearIndices.size());
                ejecutar(conexion, sentencias.crearIndices[i], false);
            }
        }
        if (empresa_ && creada && !hechaPorOtro_)
            crearEmpresa1();
        ejecutor_.confirmarTransaccion(conexion);
        return terminarConSentencias(creada);
    }

    // The lock, the check, the table with its indexes and record, and the commit, in one
    // exchange (company 1 follows it in the same transaction). False, with the transaction
    // undone, when that exchange failed.
    bool crearDeUnaVez(const QString &conexion, const SentenciasCreacion &sentencias)
    {
        ejecutor_.iniciarTransaccion(conexion);
        ejecutor_.bloquearCreacion(conexion, nombre_);
        if (!empresa_)
            ejecutor_.confirmarConLaSiguiente(conexion);
        try {
            hechaPorOtro_ = !ejecutor_.crearSiFalta(tabla_.DatabaseName, nombre_,
                                                    QStringList{sentencias.crearTabla} + sentencias.crearIndices);
        } catch (const gp::Abort &) {
            ejecutor_.deshacerTransaccion(conexion);
            throw;
        } catch (const gp::Error &) {
            ejecutor_.deshacerTransaccion(conexion);
            return false;
        }
        if (empresa_ && !hechaPorOtro_)
            crearEmpresa1();
        ejecutor_.confirmarTransaccion(conexion);
        return true;
    }

    bool terminarConSentencias(bool creada)
    {
        if (sqlServer_)
            tabla_.TableName = ejecutor_.nombreTablaSQL(nombre_);
        ejecutor_.terminarCreacion(tabla_);
        if (temporal_ && creada && !ejecutor_.abrirTablaExclusiva(tabla_) && configuracion_.AutenticacionWindows) {
            tabla_.TableName = configuracion_.CodigoUsuario + u'.' + nombre_;
            ejecutor_.abrirTablaExclusiva(tabla_);
        }
        return creada;
    }

    bool crearConMotor(const QStringList &lineas)
    {
        if (lineas.isEmpty()) {
            ejecutor_.mostrarMensaje(QStringLiteral("A"), mensajes::SinDefinicion(tabla_.TableName));
            return false;
        }
        const DefinicionesTabla definiciones =
            DefinicionesCrearTabla(tabla_.TableName, lineas, [this](const QString &tabla, const QString &indice) {
                return ejecutor_.nombreIndice(tabla, indice);
            });
        if (lote_ && !temporal_)
            lote_->incluir(tabla_.DatabaseName);
        try {
            hechaPorOtro_ = !ejecutor_.crearTablaMotor(tabla_, definiciones);
        } catch (const gp::Abort &) {
            throw;
        } catch (const gp::Error &error) {
            ejecutor_.mostrarMensaje(QStringLiteral("E"), mensajes::ErrorCreandoTabla(tabla_.TableName, error.mensaje()));
            return false;
        }
        ejecutor_.terminarCreacion(tabla_);
        if (temporal_)
            ejecutor_.abrirTablaExclusiva(tabla_);
        return true;
    }

    void crearEmpresa1()
    {
        try {
            ejecutor_.insertarEmpresa1(tabla_, kNombreEmpresa1, kNombreEmpresa1);
            ejecutor_.crearBaseDatosEmpresa1();
        } catch (const gp::Abort &) {
            throw;
        } catch (const gp::Error &) {
            ejecutor_.cancelarInsercion(tabla_);
            ejecutor_.mostrarMensaje(QStringLiteral("E"), mensajes::kImposibleCrearEmpresa1);
        }
    }

    TablaCreacion &tabla_;
    const ConfiguracionCreacion &configuracion_;
    EjecutorCreacionTabla &ejecutor_;
    LoteCreacion *lote_;
    bool temporal_ = false;
    bool sqlServer_ = false;
    bool servidor_ = false;
    bool general_ = false;
    bool alternativa_ = false;
    bool hechaPorOtro_ = false;   // another process made the table while this one waited
    bool deUnaVez_ = false;       // the engine checks and creates in one exchange
    bool empresa_ = false;        // the company table, made with its company 1
    QString nombre_;   // the table name without owner
    QString archivoDefiniciones_;   // the structure file read
};

} // namespace

bool CrearTabla(TablaCreacion &tabla, const QString &definicion, int empresa,
                const ConfiguracionCreacion &configuracion, EjecutorCreacionTabla &ejecutor, LoteCreacion *lote)
{
    return CreadorTabla(tabla, configuracion, ejecutor, lote).crear(definicion, empresa);
}

} // namespace estructura
