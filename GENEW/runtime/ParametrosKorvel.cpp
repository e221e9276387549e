#include "GENEW/runtime/ParametrosKorvel.h"

#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QFileInfo>

namespace {

// The keys of one section as Name=Value lines. A key written with an empty value counts as
// written: it does not take the default unless the key's default applies to empty values.
class LectorSeccion
{
public:
    LectorSeccion(const QString &archivo, const char *seccion)
        : lineas_(archivo.isEmpty() ? QStringList() : LeerSeccionINI(archivo, QString::fromUtf8(seccion)))
    {
    }

    void texto(const char *clave, QString &destino) const
    {
        if (presente(clave))
            destino = LeerValorDeLineas(QString::fromUtf8(clave), lineas_);
    }
    void textoNoVacio(const char *clave, QString &destino) const
    {
        const QString valor = LeerValorDeLineas(QString::fromUtf8(clave), lineas_);
        if (!valor.isEmpty())
            destino = valor;
    }
    void marca(const char *clave, bool &destino) const
    {
        if (presente(clave))
            destino = LeerValorDeLineas(QString::fromUtf8(clave), lineas_) == QLatin1String("SI");
    }

private:
    bool presente(const char *clave) const
    {
        const QString prefijo = QString::fromUtf8(clave) + QLatin1Char('=');
        for (const QString &linea : lineas_) {
            if (linea.startsWith(prefijo, Qt::CaseInsensitive))
                return true;
        }
        return false;
    }

    QStringList lineas_;
};

} // namespace

QString ParametrosKorvel::fechaCeroSQL() const
{
    return AjustesComunes::fechaCeroSQLDeFormato(FormatoFechaSQL);
}

QString ParametrosKorvel::nombreArchivo(const QString &directorioTrabajo, const QString &valorOpcion)
{
    if (valorOpcion.isEmpty())
        return directorioTrabajo + QLatin1String(NombreArchivoPorDefecto);
    if (valorOpcion.contains(QLatin1Char('/')))
        return valorOpcion;
    return directorioTrabajo + valorOpcion;
}

ParametrosKorvel ParametrosKorvel::deArchivo(const QString &archivo, plat::EngineKind motor)
{
    ParametrosKorvel p;
    const LectorSeccion c(archivo, SeccionConfiguracion);
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
    if (motor == plat::EngineKind::SqlServer)
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
    c.texto("ServidorServicioWeb", p.ServidorServicioWeb);
    c.texto("ServidorServicioWebLocal", p.ServidorServicioWebLocal);
    c.texto("AspectoAplicacion", p.AspectoAplicacion);
    c.texto("BDEPrivateDir", p.BDEPrivateDir);

    const LectorSeccion s(archivo, SeccionSQLServer);
    s.textoNoVacio("NombreIntercalacionMSSQL", p.NombreIntercalacionMSSQL);
    s.texto("NombreUsuarioInicioSesion", p.NombreUsuarioInicioSesion);
    s.texto("PasswordInicioSesion", p.PasswordInicioSesion);
    s.textoNoVacio("NivelAislamientoTransaccionesMSSQL", p.NivelAislamientoTransaccionesMSSQL);
    s.texto("NombreServicioAgenteMSSQL", p.NombreServicioAgenteMSSQL);
    return p;
}

ParametrosKorvel::Lectura ParametrosKorvel::leer(const QString &archivo, plat::EngineKind motor)
{
    Lectura lectura;
    const QString ruta = LocalizarFichero(archivo);
    if (!QFileInfo::exists(ruta))
        return lectura;
    bool leido = false;
    LeerFicheroTexto(ruta, &leido);
    if (!leido || QFileInfo(ruta).isDir()) {
        lectura.aviso = QStringLiteral("No ha sido posible leer los parámetros del archivo ") + archivo
            + QStringLiteral(". Se utilizarán los parámetros por defecto.");
        return lectura;
    }
    lectura.parametros = deArchivo(ruta, motor);
    return lectura;
}
