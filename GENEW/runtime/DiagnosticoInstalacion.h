#pragma once
#include "platform/base/EngineKind.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

// The installation diagnosis: the checks of the workstation and the engine's set-up that
// the old system made (Windows registry, the old engine's configuration file, two network
// driver files), here behind an environment that answers them, the SQL Server Agent, asked
// of the server the program is connected to, and the report composed from what they find.
// On Linux the Windows places do not exist: the environment says so and only the project's
// own operating-system lines and the Agent's can appear.

// What the checks read and write.
class EntornoDiagnostico
{
public:
    virtual ~EntornoDiagnostico() = default;

    // Whether the Windows checks have anything to read.
    virtual bool esWindows() const = 0;
    // The "PlataformaBase" and "Plataforma" values of ObtenerPlataforma.
    virtual QString plataformaBase() const = 0;
    virtual QString plataforma() const = 0;
    virtual void ejecutarOculto(const QString &lineaComandos) = 0;

    // A value of HKEY_LOCAL_MACHINE by type ("dword" as a decimal number, "string" as text,
    // "binary" its first byte in decimal); false with the reason when it cannot be read.
    virtual bool leerRegistro(const QString &clave, const QString &nombre, const QString &tipo, QString &valor,
                              QString &error) = 0;
    // False when the key does not exist and cannot be made; write errors are not reported.
    virtual bool escribirRegistro(const QString &clave, const QString &nombre, const QString &tipo, const QString &valor) = 0;

    // A parameter of the engine's configuration at a path; raises gp::Error when it fails.
    virtual QString leerConfiguracion(const QString &ruta, const QString &parametro) = 0;
    virtual void escribirConfiguracion(const QString &ruta, const QString &parametro, const QString &valor) = 0;
    // The names of the engine's aliases.
    virtual QStringList aliasConfiguracion() = 0;

    virtual QString directorioSistema() const = 0;
    // The file's date; invalid when it does not exist.
    virtual QDateTime fechaArchivo(const QString &ruta) const = 0;

    // The project's own checks of this system.
    virtual bool hayFuenteConCaracteres(const QString &caracteres) const = 0;
    // Empty when the auxiliary program is in place, else the name it was looked for by.
    virtual QString programaAuxiliarAusente() const = 0;
};

// The server the program is connected to, asked a query as written: its rows, or gp::Error
// when it fails.
using ConsultaServidor = std::function<QList<QVariantList>(const QString &sql)>;

// The start-up settings the checks compare with.
struct AjustesDiagnostico
{
    QString aliasGeneral;
    QString aliasEmpresa;
    QString versionSQLServer;
    QString intercalacion;
    QString nombreServicioAgente;   // NombreServicioAgenteMSSQL: empty when the Agent's alert is not set up
    plat::EngineKind motor = plat::EngineKind::SQLite;
    ConsultaServidor servidor;      // asked only on SQL Server
};

// How the Agent's state is asked: the server's own view of its services. The Agent is told
// by its display name ("SQL Server Agent", "Agente SQL Server") or by its program file.
inline const QString kSentenciaEstadoAgente = QStringLiteral(
    "SELECT status FROM sys.dm_server_services "
    "WHERE servicename LIKE N'%Agent%' OR UPPER(filename) LIKE N'%SQLAGENT%'");

// The SQL Server Agent's state as the server gives it: "Detenido", "Iniciando", "Deteniendo",
// "Iniciado", "Pausado", the state's number for a pending continue or pause, "No disponible"
// when the server cannot be asked (no rights to its view, a server too old to have it); empty
// when the server lists no Agent, as an Express edition.
QString EstadoServicio(const ConsultaServidor &servidor);

// The routines the checks are made of, on an environment.
QString ComprobarValorRegistro(EntornoDiagnostico &entorno, const QString &clave, const QString &nombre,
                               const QString &tipo, const QString &esperado);
void EscribirValorRegistro(EntornoDiagnostico &entorno, const QString &clave, const QString &nombre, const QString &tipo,
                           const QString &valor);
// The address is a configuration path and a parameter name joined by ";".
QString LeerValorBDE(EntornoDiagnostico &entorno, const QString &direccion);
void EscribirValorBDE(EntornoDiagnostico &entorno, const QString &direccion, const QString &valor);
QString ComprobarValorBDE(EntornoDiagnostico &entorno, const QString &lugar, const QString &direccion,
                          const QString &esperado, const QString &tipo);

// The report of the topics ("Configuracion", "MotorBaseDatos") found in `tema`: one section per
// kind of place with a line " - " + problem for each, CR LF between; empty when all is right.
struct ResultadoDiagnostico
{
    QString informe;
    bool idiomaSinAsignar = false;   // a LANGDRIVER was found unassigned
};
ResultadoDiagnostico ComponerDiagnostico(EntornoDiagnostico &entorno, const AjustesDiagnostico &ajustes,
                                         const QString &tema);
// Puts the values of the checks right, as far as the environment lets it.
void RepararInstalacion(EntornoDiagnostico &entorno, const AjustesDiagnostico &ajustes, bool idiomaSinAsignar);

inline const QString kPreguntaReparacion = QStringLiteral(
    "¿Desea que la aplicación reconfigure la instalación \r\nintentando subsanar las anomalías detectadas?");

// This system: no registry, no engine configuration, no driver files; fonts and the auxiliary
// program in the installation folder are looked at.
class EntornoDiagnosticoLinux : public EntornoDiagnostico
{
public:
    explicit EntornoDiagnosticoLinux(QString directorioInstalacion) : directorio_(std::move(directorioInstalacion)) {}
    bool esWindows() const override { return false; }
    QString plataformaBase() const override;
    QString plataforma() const override;
    void ejecutarOculto(const QString &) override {}
    bool leerRegistro(const QString &, const QString &, const QString &, QString &, QString &error) override;
    bool escribirRegistro(const QString &, const QString &, const QString &, const QString &) override { return true; }
    QString leerConfiguracion(const QString &, const QString &) override { return QString(); }
    void escribirConfiguracion(const QString &, const QString &, const QString &) override {}
    QStringList aliasConfiguracion() override { return {}; }
    QString directorioSistema() const override { return QString(); }
    QDateTime fechaArchivo(const QString &ruta) const override;
    bool hayFuenteConCaracteres(const QString &caracteres) const override;
    QString programaAuxiliarAusente() const override;

private:
    QString directorio_;
};
