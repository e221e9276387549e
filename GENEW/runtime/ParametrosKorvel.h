#pragma once
#include "platform/base/EngineKind.h"

#include <QString>

// Every key of the settings file KORVEL.INI that has an effect, with its default. Yes/no
// keys are true exactly when the stored text is "SI". Keys not listed here are ignored.
struct ParametrosKorvel
{
    static constexpr const char *NombreArchivoPorDefecto = "KORVEL.INI";
    static constexpr const char *SeccionConfiguracion = "Configuración";
    static constexpr const char *SeccionSQLServer = "Microsoft SQL Server";
    static constexpr const char *SeccionReconstruccion = "Reconstrucción Automática de Tablas";

    // Section "Configuración".
    bool VisualizarLogoEmpresaEnMenu = false;
    QString NivelCapturaIncidencias = QStringLiteral("Minimo");
    bool DesactivarForzadoGrabacionDatosADisco = false;
    QString TiempoForzarTerminacionAplicacion;
    bool ModoAdministradorActivado = false;
    bool ModoControlesNoVisiblesActivado = false;
    bool RegistroAccesosActivado = false;
    bool ResponsabilidadDocumentalActivada = false;
    bool AccesoWebLocalHost = false;
    bool DesactivarIndicesPorUsuarioEnBusquedas = false;
    QString FormatoFechaSQL = QStringLiteral("mm/dd/yyyy");
    bool MensajeriaInternaActivada = false;
    bool VisualizacionPreviaActivada = true;
    bool BusquedaAproximadaActivada = false;
    QString BDENetDir;
    bool DesactivarDiagnostico = false;
    bool AutenticacionWindows = false;
    bool MonitorizarActividadUsuario = false;
    bool ArchivosTemporalesEnBD = true;
    QString URLAccesoMenuWebDistribuidor;
    // The web service's servers ("host" or "host:port"): the public one, and the one of the
    // local network that AccesoWebLocalHost chooses.
    QString ServidorServicioWeb;
    QString ServidorServicioWebLocal = QStringLiteral("127.0.0.1");
    QString AspectoAplicacion;
    QString BDEPrivateDir;

    // Section "Microsoft SQL Server".
    QString NombreIntercalacionMSSQL = QStringLiteral("SQL_Latin1_General_Cp1_CI_AI");
    QString NombreUsuarioInicioSesion;
    QString PasswordInicioSesion;   // as stored: scrambled (DescifrarClave gives it clear)
    QString NivelAislamientoTransaccionesMSSQL = QStringLiteral("READ UNCOMMITTED");
    // The SQL Server Agent's service: set, the engine's diagnosis reports the Agent's state.
    QString NombreServicioAgenteMSSQL;

    // The zero date as the program writes it into SQL in the configured date format.
    QString fechaCeroSQL() const;

    // The settings file's path: KORVEL.INI of the working directory (which ends in "/")
    // when valorOpcion ("I=") is empty, valorOpcion unchanged when it names a folder,
    // else that file of the working directory.
    static QString nombreArchivo(const QString &directorioTrabajo, const QString &valorOpcion);

    struct Lectura;
    // Reads the file. A missing file gives every default without a warning; one that
    // cannot be read gives every default and the warning to show. FormatoFechaSQL is read
    // only on "Microsoft SQL Server".
    static Lectura leer(const QString &archivo, plat::EngineKind motor);
    // The keys of a readable file (missing keys and sections take their defaults).
    static ParametrosKorvel deArchivo(const QString &archivo, plat::EngineKind motor);
};

struct ParametrosKorvel::Lectura
{
    ParametrosKorvel parametros;
    QString aviso;   // empty when nothing needs to be said
};
