#include "GENEW/runtime/DiagnosticoInstalacion.h"

#include "GENEW/runtime/Plataforma.h"
#include "GENEW/runtime/ProgramasExternos.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/ui/SystemFonts.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kMayorIgual = QStringLiteral(">=");
const QString kLugarParadox = QStringLiteral("BDEAdministrator\\Configuration\\Drivers\\Native\\PARADOX");
const QString kLugarMSSQL = QStringLiteral("BDEAdministrator\\Configuration\\Drivers\\Native\\MSSQL");
const QString kLugarSistema = QStringLiteral("BDEAdministrator\\Configuration\\System\\INIT");
const QString kIdioma = QStringLiteral("LANGDRIVER");

struct ValorRegistro
{
    QString clave;        // where it is read
    QString claveEscrita; // where the repair writes it
    QString nombre;
    QString tipo;
    QString esperado;
    QString reparado;
};

QList<ValorRegistro> valoresRegistro(const EntornoDiagnostico &entorno)
{
    QList<ValorRegistro> valores;
    if (entorno.plataformaBase() == QLatin1String("Windows 95")) {
        valores << ValorRegistro{QStringLiteral("\\SYSTEM\\CurrentcontrolSet\\Services\\VxD\\Vredir"),
                                 QStringLiteral("\\SYSTEM\\CurrentControlSet\\Services\\VxD\\Vredir"),
                                 QStringLiteral("DiscardCacheonOpen"), QStringLiteral("binary"), QStringLiteral("1"),
                                 QStringLiteral("1")}
                << ValorRegistro{QStringLiteral("\\SYSTEM\\CurrentcontrolSet\\Control\\FileSystem"),
                                 QStringLiteral("\\SYSTEM\\CurrentControlSet\\Control\\FileSystem"),
                                 QStringLiteral("DriveWriteBehind"), QStringLiteral("dword"), QStringLiteral("0"),
                                 QStringLiteral("0")};
    }
    if (entorno.plataforma() == QLatin1String("Windows 8"))
        valores << ValorRegistro{QStringLiteral("\\SOFTWARE\\Wow6432Node\\Microsoft\\HTMLHelp\\1.x\\HHRestrictions"),
                                 QStringLiteral("SOFTWARE\\Microsoft\\HTMLHelp\\1.x\\HHRestrictions"),
                                 QStringLiteral("MaxAllowedZone"), QStringLiteral("dword"), QStringLiteral(">=1"),
                                 QStringLiteral("1")};
    else
        valores << ValorRegistro{QStringLiteral("\\SOFTWARE\\Microsoft\\HTMLHelp\\1.x\\ItssRestrictions"),
                                 QStringLiteral("SOFTWARE\\Microsoft\\HTMLHelp\\1.x\\ItssRestrictions"),
                                 QStringLiteral("MaxAllowedZone"), QStringLiteral("dword"), QStringLiteral(">=1"),
                                 QStringLiteral("1")};
    return valores;
}

// One parameter of the engine's configuration: an empty type is a language driver that must
// be assigned; an empty place is an alias parameter, written to the matching aliases.
struct ValorConfiguracion
{
    QString direccion;
    QString lugar;
    QString tipo;
    QString esperado;
    QString reparado;
    bool deAlias = false;
};

QList<ValorConfiguracion> valoresConfiguracion(const AjustesDiagnostico &a)
{
    const QString entero = QStringLiteral("integer");
    const QString texto = QStringLiteral("string");
    QList<ValorConfiguracion> valores{
        {QStringLiteral("\\DRIVERS\\PARADOX\\INIT\\;LANGDRIVER"), kLugarParadox, {}, {}, {}},
        {QStringLiteral("\\DRIVERS\\PARADOX\\TABLE CREATE\\;LEVEL"), kLugarParadox, entero, QStringLiteral(">=5"), QStringLiteral("5")},
        {QStringLiteral("\\DRIVERS\\PARADOX\\TABLE CREATE\\;BLOCK SIZE"), kLugarParadox, entero, QStringLiteral(">=32768"),
         QStringLiteral("32768")},
        {QStringLiteral("\\DRIVERS\\MSSQL\\DB OPEN\\;LANGDRIVER"), kLugarMSSQL, {}, {}, {}},
        {QStringLiteral("\\DRIVERS\\MSSQL\\INIT\\;MAX DBPROCESSES"), kLugarMSSQL, entero, QStringLiteral(">=1000"), QStringLiteral("1000")},
        {QStringLiteral("\\DRIVERS\\MSSQL\\DB OPEN\\;BLOB SIZE"), kLugarMSSQL, entero, QStringLiteral(">=999"), QStringLiteral("999")},
        {QStringLiteral("\\DRIVERS\\MSSQL\\DB OPEN\\;BLOBS TO CACHE"), kLugarMSSQL, entero, QStringLiteral(">=65535"),
         QStringLiteral("65535")},
    };
    for (const QString &alias : {a.aliasGeneral, a.aliasEmpresa}) {
        const QString lugar = QStringLiteral("BDEAdministrator\\Databases\\") + alias;
        const QString ruta = QStringLiteral("\\Databases\\") + alias + QStringLiteral("\\DB OPEN\\;");
        valores << ValorConfiguracion{ruta + QStringLiteral("BLOB SIZE"), lugar, entero, QStringLiteral(">=999"), QStringLiteral("999"), true}
                << ValorConfiguracion{ruta + QStringLiteral("BLOBS TO CACHE"), lugar, entero, QStringLiteral(">=65535"),
                                      QStringLiteral("65535"), true};
    }
    valores << ValorConfiguracion{QStringLiteral("\\SYSTEM\\INIT\\;LANGDRIVER"), kLugarSistema, {}, {}, {}}
            << ValorConfiguracion{QStringLiteral("\\SYSTEM\\INIT\\;LOCAL SHARE"), kLugarSistema, texto, QStringLiteral("TRUE"),
                                  QStringLiteral("TRUE")}
            << ValorConfiguracion{QStringLiteral("\\SYSTEM\\INIT\\;MAXBUFSIZE"), kLugarSistema, entero, QStringLiteral(">=2048"),
                                  QStringLiteral("16384")}
            << ValorConfiguracion{QStringLiteral("\\SYSTEM\\INIT\\;MAXFILEHANDLES"), kLugarSistema, entero, QStringLiteral(">=99"),
                                  QStringLiteral("99")}
            << ValorConfiguracion{QStringLiteral("\\SYSTEM\\INIT\\;SHAREDMEMSIZE"), kLugarSistema, entero, QStringLiteral(">=2048"),
                                  QStringLiteral("16384")}
            << ValorConfiguracion{QStringLiteral("\\SYSTEM\\INIT\\;SHAREDMEMLOCATION"), kLugarSistema, texto,
                                  QStringLiteral("0x5BDE"), QStringLiteral("0x5BDE")};
    return valores;
}

QPair<QString, QString> partesDireccion(const QString &direccion)
{
    const qsizetype puntoYComa = direccion.indexOf(u';');
    if (puntoYComa < 0)
        throw gp::Error(QStringLiteral("Invalid parameter passed tofunction.  There must be a semicolon delimited string passed."));
    return {direccion.left(puntoYComa), direccion.mid(puntoYComa + 1)};
}

// A section of the report: its header and lines, after a blank line when the report has some.
void anadirSeccion(QString &informe, const QString &cabecera, const QString &lineas)
{
    if (lineas.isEmpty())
        return;
    if (!informe.isEmpty())
        informe += kCrLf + kCrLf;
    informe += cabecera + kCrLf + kCrLf + lineas;
}

// The Agent's line of the report; a server without an Agent has nothing to back up with,
// so it gets no line either way.
QString anomaliaAgente(const AjustesDiagnostico &ajustes)
{
    const QString estado = EstadoServicio(ajustes.servidor);
    if (estado.isEmpty())
        return QString();
    if (ajustes.nombreServicioAgente.isEmpty())
        return QStringLiteral("No tiene configurado el sistema de alerta sobre la actividad del Agente de SQL Server "
                              "(Configuración de la Aplicación > Bases de Datos > Microsoft SQL Server)")
            + kCrLf;
    if (estado != QLatin1String("Iniciado"))
        return QStringLiteral("El servicio de Agente de SQL Server no está iniciado. ")
            + QStringLiteral("Este servicio es necesario para realizar copias de seguridad periódicas.");
    return QString();
}

struct ArchivoRed
{
    const char *nombre;
    QDate minima;
};

} // namespace

QString ComprobarValorRegistro(EntornoDiagnostico &entorno, const QString &clave, const QString &nombre,
                               const QString &tipo, const QString &esperado)
{
    QString valor;
    QString error;
    if (!entorno.leerRegistro(clave, nombre, tipo, valor, error))
        return nombre + QStringLiteral(" en ") + clave + QStringLiteral(",") + QStringLiteral(" presenta el siguiente error: ") + error;
    bool correcto = false;
    if (tipo == QLatin1String("dword") && esperado.startsWith(kMayorIgual))
        correcto = valor.toLongLong() >= esperado.mid(2).toLongLong();
    else if (tipo == QLatin1String("dword"))
        correcto = valor.toLongLong() == esperado.toLongLong();
    else
        correcto = valor == esperado;
    return correcto ? QString() : nombre + u'=' + valor + QStringLiteral(" no es un valor correcto en ") + clave + u'.';
}

void EscribirValorRegistro(EntornoDiagnostico &entorno, const QString &clave, const QString &nombre, const QString &tipo,
                           const QString &valor)
{
    if (!entorno.escribirRegistro(clave, nombre, tipo, valor))
        MensajeSistema(QStringLiteral("Error creando la clave ") + clave + QStringLiteral(" en el registro de Windows."));
}

QString LeerValorBDE(EntornoDiagnostico &entorno, const QString &direccion)
{
    const auto [ruta, parametro] = partesDireccion(direccion);
    return entorno.leerConfiguracion(ruta, parametro);
}

void EscribirValorBDE(EntornoDiagnostico &entorno, const QString &direccion, const QString &valor)
{
    const auto [ruta, parametro] = partesDireccion(direccion);
    entorno.escribirConfiguracion(ruta, parametro, valor);
}

QString ComprobarValorBDE(EntornoDiagnostico &entorno, const QString &lugar, const QString &direccion,
                          const QString &esperado, const QString &tipo)
{
    const QString valor = LeerValorBDE(entorno, direccion);
    const QString inicio = QStringLiteral("El valor ") + partesDireccion(direccion).second + u'=' + valor
        + QStringLiteral(" de la Direccion ") + lugar + QStringLiteral(" no es correcto");
    const QString distinto = inicio + QStringLiteral(" (debería ser ") + esperado + QStringLiteral(").");
    if (tipo == QLatin1String("integer") && esperado.startsWith(kMayorIgual)) {
        const QString minimo = esperado.mid(2);
        return valor.toLongLong() < minimo.toLongLong() ? inicio + QStringLiteral(" (debería ser >= ") + minimo + QStringLiteral(").")
                                                        : QString();
    }
    if (tipo != QLatin1String("integer") && esperado.startsWith(QStringLiteral("<>")))
        return valor == esperado.mid(2) ? inicio + u'.' : QString();
    return valor == esperado ? QString() : distinto;
}

ResultadoDiagnostico ComponerDiagnostico(EntornoDiagnostico &entorno, const AjustesDiagnostico &ajustes,
                                         const QString &tema)
{
    ResultadoDiagnostico r;
    if (tema.contains(QStringLiteral("Configuracion"))) {
        QString sistema;
        if (entorno.esWindows()) {
            if (entorno.plataformaBase() == QLatin1String("Windows NT"))
                entorno.ejecutarOculto(QStringLiteral("NET TIME /SET /YES"));
            for (const ValorRegistro &v : valoresRegistro(entorno))
                if (const QString p = ComprobarValorRegistro(entorno, v.clave, v.nombre, v.tipo, v.esperado); !p.isEmpty())
                    r.informe += QStringLiteral(" - ") + p + kCrLf;
            if (!r.informe.isEmpty())
                r.informe.prepend(QStringLiteral("Las siguientes anomalías han sido detectadas en el Registro de Windows:\r\n\r\n"));

            QString configuracion;
            for (const ValorConfiguracion &v : valoresConfiguracion(ajustes)) {
                QString p;
                if (v.tipo.isEmpty()) {
                    if (LeerValorBDE(entorno, v.direccion).isEmpty()) {
                        p = QStringLiteral("El valor del parámetro LANGDRIVER de la Direccion ") + v.lugar
                            + QStringLiteral(" no está asignado.");
                        r.idiomaSinAsignar = true;
                    }
                } else {
                    p = ComprobarValorBDE(entorno, v.lugar, v.direccion, v.esperado, v.tipo);
                }
                if (!p.isEmpty())
                    configuracion += QStringLiteral(" - ") + p + kCrLf;
            }
            anadirSeccion(r.informe,
                          QStringLiteral("Las siguientes anomalías han sido detectadas en el archivo ")
                              + QStringLiteral("de configuración del BDE:"),
                          configuracion);

            for (const ArchivoRed &a : {ArchivoRed{"VREDIR.VXD", QDate(1997, 9, 12)}, ArchivoRed{"VNETSUP.VXD", QDate(1997, 5, 31)}}) {
                const QDateTime fecha = entorno.fechaArchivo(entorno.directorioSistema() + u'\\' + QLatin1String(a.nombre));
                if (fecha.isValid() && fecha.date() < a.minima)
                    sistema += QStringLiteral("El archivo ") + QLatin1String(a.nombre) + QStringLiteral(" debe ser actualizado.") + kCrLf;
            }
        }
        // The fonts are asked last: at the start their configuration may still be loading.
        const QString ausente = entorno.programaAuxiliarAusente();
        if (!entorno.hayFuenteConCaracteres(QStringLiteral("ñá€")))
            sistema += QStringLiteral("Ninguna de las fuentes instaladas tiene los caracteres ñ, á y €: los textos se verán "
                                      "incompletos.")
                + kCrLf;
        if (!ausente.isEmpty())
            sistema += QStringLiteral("No se encuentra el programa auxiliar ") + ausente
                + QStringLiteral(": no se podrán enviar correos ni combinar documentos.") + kCrLf;
        anadirSeccion(r.informe,
                      QStringLiteral("Las siguientes anomalías han sido detectadas en el ") + QStringLiteral("Sistema Operativo: "),
                      sistema);
    }
    if (tema.contains(QStringLiteral("MotorBaseDatos")) && ajustes.motor == plat::EngineKind::SqlServer
        && !ajustes.versionSQLServer.contains(QStringLiteral("Express Edition"))) {
        anadirSeccion(r.informe,
                      QStringLiteral("Las siguientes anomalías han sido detectadas en Microsoft SQL Server ")
                          + QStringLiteral("y deben ser reconfiguradas manualmente: "),
                      anomaliaAgente(ajustes));
    }
    return r;
}

QString EstadoServicio(const ConsultaServidor &servidor)
{
    const QString noDisponible = QStringLiteral("No disponible");
    if (!servidor)
        return noDisponible;
    QList<QVariantList> filas;
    try {
        filas = servidor(kSentenciaEstadoAgente);
    } catch (const gp::Error &) {
        return noDisponible;
    }
    if (filas.isEmpty())
        return QString();
    bool esNumero = false;
    const int estado = filas.first().value(0).toInt(&esNumero);
    if (!esNumero)
        return noDisponible;
    // The server numbers its services' states as the service manager does.
    switch (estado) {
    case 1: return QStringLiteral("Detenido");
    case 2: return QStringLiteral("Iniciando");
    case 3: return QStringLiteral("Deteniendo");
    case 4: return QStringLiteral("Iniciado");
    case 7: return QStringLiteral("Pausado");
    default: return QString::number(estado);
    }
}

void RepararInstalacion(EntornoDiagnostico &entorno, const AjustesDiagnostico &ajustes, bool idiomaSinAsignar)
{
    if (!entorno.esWindows())
        return;
    for (const ValorRegistro &v : valoresRegistro(entorno))
        EscribirValorRegistro(entorno, v.claveEscrita, v.nombre, v.tipo, v.reparado);
    const QList<ValorConfiguracion> valores = valoresConfiguracion(ajustes);
    const QStringList alias = entorno.aliasConfiguracion();
    for (const QString &nombre : alias) {
        if (nombre != ajustes.aliasGeneral && !ajustes.aliasEmpresa.contains(nombre))
            continue;
        const QString ruta = QStringLiteral("\\Databases\\") + nombre + QStringLiteral("\\DB OPEN\\;");
        EscribirValorBDE(entorno, ruta + QStringLiteral("BLOB SIZE"), QStringLiteral("999"));
        EscribirValorBDE(entorno, ruta + QStringLiteral("BLOBS TO CACHE"), QStringLiteral("65535"));
    }
    if (idiomaSinAsignar) {
        const QString idioma = ajustes.intercalacion == QLatin1String("Modern_Spanish_CI_AS") ? QStringLiteral("ascii")
                                                                                                : QStringLiteral("BLLT1ES0");
        for (const ValorConfiguracion &v : valores)
            if (v.tipo.isEmpty())
                EscribirValorBDE(entorno, v.direccion, idioma);
    }
    for (const ValorConfiguracion &v : valores)
        if (!v.tipo.isEmpty() && !v.deAlias)
            EscribirValorBDE(entorno, v.direccion, v.reparado);
}

// ---- this system ------------------------------------------------------------------------------

QString EntornoDiagnosticoLinux::plataformaBase() const
{
    return LeerValorDeLista(QStringLiteral("PlataformaBase"), ObtenerPlataforma());
}

QString EntornoDiagnosticoLinux::plataforma() const
{
    return LeerValorDeLista(QStringLiteral("Plataforma"), ObtenerPlataforma());
}

bool EntornoDiagnosticoLinux::leerRegistro(const QString &, const QString &, const QString &, QString &, QString &error)
{
    error = QStringLiteral("No existe el registro de Windows");
    return false;
}

QDateTime EntornoDiagnosticoLinux::fechaArchivo(const QString &ruta) const
{
    const QFileInfo info(ruta);
    return info.exists() ? info.lastModified() : QDateTime();
}

bool EntornoDiagnosticoLinux::hayFuenteConCaracteres(const QString &caracteres) const
{
    // Asked of the font configuration: opening a font to ask it cost a start a millisecond.
    return plat::fontsCover(caracteres);
}

QString EntornoDiagnosticoLinux::programaAuxiliarAusente() const
{
    if (!LocalizarProgramaHermano(QStringLiteral("VKTLEXT.EXE"), directorio_).isEmpty())
        return QString();
    return QDir(directorio_).filePath(QStringLiteral("vktlext"));
}
