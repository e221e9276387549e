#include "GENEW/runtime/ParametrosKorvel.h"

#include "GENEW/runtime/LecturaArchivos.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace {

// The keys of one section of an INI text, by lower-cased name (look-ups ignore case).
using ClavesSeccion = QHash<QString, QString>;

ClavesSeccion leerSeccion(const QString &texto, const QString &seccion)
{
    static const QRegularExpression saltos(QStringLiteral("\r\n|\n|\r"));
    ClavesSeccion claves;
    bool dentro = false;
    for (const QString &bruta : texto.split(saltos)) {
        const QString linea = bruta.trimmed();
        if (linea.startsWith(QLatin1Char('[')) && linea.endsWith(QLatin1Char(']'))) {
            dentro = linea.mid(1, linea.size() - 2).trimmed().compare(seccion, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype igual = linea.indexOf(QLatin1Char('='));
        if (!dentro || igual <= 0)
            continue;
        const QString clave = linea.left(igual).trimmed().toLower();
        if (!claves.contains(clave))
            claves.insert(clave, linea.mid(igual + 1).trimmed());
    }
    return claves;
}

class LectorSeccion
{
public:
    LectorSeccion(const QString &texto, const char *seccion) : claves_(leerSeccion(texto, QString::fromUtf8(seccion))) {}

    void texto(const char *clave, QString &destino) const
    {
        const auto it = claves_.constFind(QString::fromUtf8(clave).toLower());
        if (it != claves_.constEnd())
            destino = *it;
    }
    void textoNoVacio(const char *clave, QString &destino) const
    {
        QString valor = destino;
        texto(clave, valor);
        if (!valor.isEmpty())
            destino = valor;
    }
    void marca(const char *clave, bool &destino) const
    {
        const auto it = claves_.constFind(QString::fromUtf8(clave).toLower());
        if (it != claves_.constEnd())
            destino = *it == QLatin1String("SI");
    }

private:
    ClavesSeccion claves_;
};

} // namespace

QString ParametrosKorvel::fechaCeroSQL() const
{
    return FormatoFechaSQL == QLatin1String("dd/mm/yyyy") ? QStringLiteral("30/12/1899 00:00:00")
                                                          : QStringLiteral("12/30/1899 00:00:00");
}

QString ParametrosKorvel::nombreArchivo(const QString &directorioTrabajo, const QString &valorOpcion)
{
    if (valorOpcion.isEmpty())
        return directorioTrabajo + QLatin1String(NombreArchivoPorDefecto);
    if (valorOpcion.contains(QLatin1Char('/')))
        return valorOpcion;
    return directorioTrabajo + valorOpcion;
}

ParametrosKorvel ParametrosKorvel::deTexto(const QString &texto, const QString &tipoBaseDatos)
{
    ParametrosKorvel p;
    const LectorSeccion c(texto, SeccionConfiguracion);
    c.marca("VisualizarLogoEmpresaEnMenu", p.VisualizarLogoEmpresaEnMenu);
    c.texto("NivelCapturaIncidencias", p.NivelCapturaIncidencias);
    c.marca("DesactivarForzadoGrabacionDatosADisco", p.DesactivarForzadoGrabacionDatosADisco);
    c.texto("TiempoForzarTerminacionAplicacion", p.TiempoForzarTerminacionAplicacion);
    c.marca("ModoAdministradorActivado", p.ModoAdministradorActivado);
    c.marca("ModoControlesNoVisiblesActivado", p.ModoControlesNoVisiblesActivado);
    c.marca("RegistroAccesosActivado", p.RegistroAccesosActivado);
    c.marca("ResponsabilidadDocumentalActivada", p.ResponsabilidadDocumentalActivada);
    c.marca("AccesoWebLocalHost", p.AccesoWebLocalHost);
    c.marca("DesactivarIndicesPorUsuarioEnBusquedas", p.DesactivarIndicesPorUsuarioEnBusquedas);
    // The date format matters only to the one engine that takes local date literals.
    if (tipoBaseDatos == QLatin1String("Microsoft SQL Server"))
        c.textoNoVacio("FormatoFechaSQL", p.FormatoFechaSQL);
    c.marca("MensajeriaInternaActivada", p.MensajeriaInternaActivada);
    c.marca("VisualizacionPreviaActivada", p.VisualizacionPreviaActivada);
    c.marca("BusquedaAproximadaActivada", p.BusquedaAproximadaActivada);
    c.texto("BDENetDir", p.BDENetDir);
    c.marca("DesactivarDiagnostico", p.DesactivarDiagnostico);
    c.marca("AutenticacionWindows", p.AutenticacionWindows);
    c.marca("MonitorizarActividadUsuario", p.MonitorizarActividadUsuario);
    c.marca("ArchivosTemporalesEnBD", p.ArchivosTemporalesEnBD);
    c.texto("URLAccesoMenuWebDistribuidor", p.URLAccesoMenuWebDistribuidor);
    c.texto("AspectoAplicacion", p.AspectoAplicacion);
    c.texto("BDEPrivateDir", p.BDEPrivateDir);

    const LectorSeccion s(texto, SeccionSQLServer);
    s.textoNoVacio("NombreIntercalacionMSSQL", p.NombreIntercalacionMSSQL);
    s.texto("NombreUsuarioInicioSesion", p.NombreUsuarioInicioSesion);
    s.texto("PasswordInicioSesion", p.PasswordInicioSesion);
    s.textoNoVacio("NivelAislamientoTransaccionesMSSQL", p.NivelAislamientoTransaccionesMSSQL);
    return p;
}

ParametrosKorvel::Lectura ParametrosKorvel::leer(const QString &archivo, const QString &tipoBaseDatos)
{
    Lectura lectura;
    const QString ruta = LocalizarArchivo(archivo);
    if (!QFileInfo::exists(ruta))
        return lectura;
    const std::optional<QString> texto = LeerArchivoTexto(ruta);
    if (!texto) {
        lectura.aviso = QStringLiteral("No ha sido posible leer los parámetros del archivo ") + archivo
            + QStringLiteral(". Se utilizarán los parámetros por defecto.");
        return lectura;
    }
    lectura.parametros = deTexto(*texto, tipoBaseDatos);
    return lectura;
}
