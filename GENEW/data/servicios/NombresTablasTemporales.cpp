#include "GENEW/data/servicios/NombresTablasTemporales.h"

#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/comun/Rutinas.h"

#include <QRandomGenerator>
#include <chrono>
#include <thread>

QString NombreLargoTablaTemporal(const QString &direccionMAC, const QString &propietario, int numeroTabla,
                                 int numeroSesionRed, const QString &codigoUsuario)
{
    return QStringLiteral("TEMP_") + direccionMAC + u'_' + propietario + u'_' + QString::number(numeroTabla) + u'_'
        + QString::number(numeroSesionRed) + u'_' + codigoUsuario;
}

QString NombreCortoTablaTemporal(int contador, const QString &propietario)
{
    return QStringLiteral("TEMP") + QStringLiteral("%1").arg(contador, 6, 10, QLatin1Char('0')) + u'_' + propietario;
}

QString AlmacenNombresTemporalesSQL::sentenciaBuscar(const QString &nombreLargo)
{
    // Two sessions may have registered the same long name at once: the first row wins.
    return QStringLiteral("SELECT NombreTablaTemporal FROM NOMBTTEM   WHERE NombreTablaTemporalOrg = ")
        + Entrecomillar(nombreLargo) + QStringLiteral(" ORDER BY Contador");
}

QString AlmacenNombresTemporalesSQL::sentenciaMaximo()
{
    return QStringLiteral("SELECT MAX(Contador) FROM NOMBTTEM");
}

QString AlmacenNombresTemporalesSQL::sentenciaInsertar(int contador, const QString &nombreLargo,
                                                       const QString &nombreCorto)
{
    return QStringLiteral("INSERT INTO NOMBTTEM VALUES (") + QString::number(contador) + QStringLiteral(", ")
        + Entrecomillar(nombreLargo) + QStringLiteral(", ") + Entrecomillar(nombreCorto) + QStringLiteral(")");
}

std::optional<QString> AlmacenNombresTemporalesSQL::buscar(const QString &nombreLargo)
{
    const QString respuesta = ejecutar_(sentenciaBuscar(nombreLargo), QString());
    if (respuesta.isEmpty() || EsRespuestaErrorSQL(respuesta))
        return std::nullopt;
    return DividirLineas(respuesta).value(0);
}

int AlmacenNombresTemporalesSQL::maximoContador()
{
    const QString respuesta = ejecutar_(sentenciaMaximo(), QString());
    if (EsRespuestaErrorSQL(respuesta))
        return 0;
    return static_cast<int>(TextoANumero(respuesta));
}

bool AlmacenNombresTemporalesSQL::insertar(int contador, const QString &nombreLargo, const QString &nombreCorto)
{
    const QString respuesta =
        ejecutar_(sentenciaInsertar(contador, nombreLargo, nombreCorto), OpcionSQL::Silenciosa);
    ultimoError_ = EsRespuestaErrorSQL(respuesta) ? respuesta.mid(PrefijoErrorSQL.size()) : QString();
    return !EsRespuestaErrorSQL(respuesta);
}

QString AbreviarNombreTablaTemporal(const QString &nombreLargo, const QString &propietario,
                                    AlmacenNombresTemporales &almacen)
{
    QString motivo;
    for (int intento = 0; intento < IntentosNombreTemporal; ++intento) {
        if (const auto nombre = almacen.buscar(nombreLargo))
            return nombre->left(LongitudMaximaNombreTemporal);
        const int contador = almacen.maximoContador() + 1;
        if (!almacen.insertar(contador, nombreLargo, NombreCortoTablaTemporal(contador, propietario))) {
            motivo = almacen.ultimoError();
            // Another session took the counter: wait a little, a random time, so that two
            // sessions in step do not clash again on every attempt.
            std::this_thread::sleep_for(std::chrono::milliseconds(QRandomGenerator::global()->bounded(2, 12) * (intento + 1)));
        }
    }
    if (const auto nombre = almacen.buscar(nombreLargo))
        return nombre->left(LongitudMaximaNombreTemporal);
    throw gp::DatabaseError(QStringLiteral("¡Imposible asignar un nombre a la tabla temporal ") + nombreLargo
                            + QStringLiteral("! Motivo: ") + motivo);
}

QString NombreTablaTemporal(const QString &propietario, int numeroTabla, const SesionTablasTemporales &sesion,
                            AlmacenNombresTemporales &almacen)
{
    const QString nombrePropietario = propietario.isEmpty() ? QStringLiteral("Unknown") : propietario;
    const QString largo = NombreLargoTablaTemporal(sesion.direccionMAC, nombrePropietario, numeroTabla,
                                                   sesion.numeroSesionRed, sesion.codigoUsuario);
    return AbreviarNombreTablaTemporal(largo, nombrePropietario, almacen);
}
