#include "GENEW/runtime/ConfiguracionArranque.h"

#include "GENEW/runtime/Plataforma.h"
#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "platform/ui/Colors.h"

#include <QDir>
#include <QFileInfo>

ConfiguracionArranque ConfiguracionArranque::leer(const QString &directorioTrabajo, const QStringList &argumentos,
                                                  const QString &plataforma, const QString &directorioInstalacion)
{
    ConfiguracionArranque c;
    c.directorioTrabajo = directorioTrabajo;
    c.plataforma = plataforma;
    c.altoTitulo = plataforma == QLatin1String("Windows XP") ? 32 : 27;
    c.lineaComandos = OpcionesLineaComandos::leer(argumentos);

    c.basesDatos = ConfiguracionBasesDatos::leer(directorioTrabajo);
    c.rechazo = c.basesDatos.motivoRechazo();
    c.baseAliasEmpresa = c.basesDatos.AliasBaseDatos;

    c.archivoConfiguracion = ParametrosKorvel::nombreArchivo(directorioTrabajo, c.lineaComandos.archivoConfiguracion);
    const ParametrosKorvel::Lectura lectura = ParametrosKorvel::leer(c.archivoConfiguracion, c.basesDatos.Motor);
    c.parametros = lectura.parametros;
    c.aviso = lectura.aviso;

    // The settings file decides where temporary tables live.
    c.temporalesEnBaseDatos = c.parametros.ArchivosTemporalesEnBD;
    if (c.temporalesEnBaseDatos)
        c.basesDatos.PathArchivosTemporales = c.basesDatos.AliasBaseDatosGeneral;

    c.direccionWeb = DireccionWebDistribuidor(c.parametros.URLAccesoMenuWebDistribuidor);
    c.mapaNombres = MapaNombres::leer(directorioTrabajo, directorioInstalacion);
    return c;
}

void ConfiguracionArranque::aplicarAjustesComunes() const
{
    ajustesComunes().ponerFormatoFechaSQL(parametros.FormatoFechaSQL);
}

QString ConfiguracionArranque::LineaComandos(const QString &usuarioActual) const
{
    return ::LineaComandos(usuarioActual, lineaComandos);
}

void BorrarTemporalesAntiguos(const QString &directorioTrabajo)
{
    BorrarFicheros(directorioTrabajo + QStringLiteral("_QS*.*"));
    BorrarFicheros(DirectorioTemporal() + QStringLiteral("QRP*.TMP"));
    BorrarTemporalesDeProgramasTerminados();
}

QString DireccionWebDistribuidor(const QString &valor)
{
    // No address of the maker is built in: the default link is none.
    if (valor.isEmpty() || valor == QLatin1String("Por Defecto") || valor == QLatin1String("Ninguna"))
        return QString();
    return valor;
}

QString AspectoVisual::aspectoEfectivo(const QString &aspectoAplicacion)
{
    return aspectoAplicacion.isEmpty() ? QStringLiteral("evo+") : aspectoAplicacion;
}

AspectoVisual AspectoVisual::deAspecto(const QString &aspecto)
{
    AspectoVisual a;
    if (aspecto.startsWith(QLatin1String("evo"))) {
        a.fuente = QStringLiteral("Segoe UI");
        a.color1 = plat::clGradientInactiveCaption;
        a.color2 = plat::fromQColor(QColor(234, 234, 255));
    } else {
        a.fuente = QStringLiteral("MS Sans Serif");
        a.color1 = plat::clBtnFace;
        a.color2 = plat::clBtnFace;
    }
    return a;
}

namespace {

// Creates the folder (an error counts only through what follows) and empties it of the
// temporary tables of an earlier session.
bool prepararCarpeta(const QString &carpeta)
{
    QDir().mkpath(carpeta);
    const QFileInfo info(carpeta);
    return info.isDir() && info.isWritable() && BorrarFicheros(carpeta + QStringLiteral("TEMP*.*"));
}

} // namespace

DirectorioPrivado DirectorioPrivado::preparar(const QString &directorioTrabajo, int numeroSesion,
                                              const ParametrosKorvel &parametros, bool temporalesEnBaseDatos)
{
    DirectorioPrivado d;
    d.usar = parametros.BDEPrivateDir.compare(QLatin1String("AUTO"), Qt::CaseInsensitive) == 0
        && parametros.BDENetDir.compare(QLatin1String("LOCAL"), Qt::CaseInsensitive) != 0 && !temporalesEnBaseDatos;
    if (!d.usar)
        return d;
    const QString base = directorioTrabajo + QStringLiteral("PRIVDIR/");
    QDir().mkpath(base);
    // From the session number down to 1 (session 0 tries its own folder once); the start-up
    // fails only when no attempt succeeded.
    for (int n = qMax(0, numeroSesion); n >= qMin(1, qMax(0, numeroSesion)); --n) {
        const QString carpeta = base + QString::number(n) + QLatin1Char('/');
        if (prepararCarpeta(carpeta)) {
            d.carpeta = carpeta;
            return d;
        }
    }
    d.conflicto = true;
    return d;
}
