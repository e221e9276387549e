#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>

// The installation diagnosis: the checks of the workstation and the engine's set-up that
// the old system made (Windows registry, the old engine's configuration file, two network
// driver files, the SQL Server Agent), here behind an environment that answers them, and
// the report composed from what they find. On Linux none of those exist: the environment
// says so and only the project's own operating-system lines can appear.

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
    virtual QString estadoServicio(const QString &maquina, const QString &servicio) = 0;

    // The project's own checks of this system.
    virtual bool hayFuenteConCaracteres(const QString &caracteres) const = 0;
    // Empty when the auxiliary program is in place, else the name it was looked for by.
    virtual QString programaAuxiliarAusente() const = 0;
};

// The start-up settings the checks compare with.
struct AjustesDiagnostico
{
    QString aliasGeneral;
    QString aliasEmpresa;
    QString versionSQLServer;
    QString intercalacion;
    QString nombreServicioAgente;
    QString maquinaServicioAgente;
};

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

// This system: no registry, no engine configuration, no services; fonts and the auxiliary
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
    QString estadoServicio(const QString &, const QString &) override { return QStringLiteral("No disponible"); }
    bool hayFuenteConCaracteres(const QString &caracteres) const override;
    QString programaAuxiliarAusente() const override;

private:
    QString directorio_;
};
