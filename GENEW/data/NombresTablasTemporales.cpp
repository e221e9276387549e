#include "GENEW/data/NombresTablasTemporales.h"

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

QString AlmacenNombresTemporalesSQL::leer(const QString &sql)
{
    const ResultadoSentenciaSQL resultado = ejecutar_(sql, OpcionSQL::Silenciosa);
    if (resultado.fallo)
        throw gp::DatabaseError(resultado.fallo.mensaje, resultado.fallo.tipo);
    return resultado.respuesta;
}

std::optional<QString> AlmacenNombresTemporalesSQL::buscar(const QString &nombreLargo)
{
    const QString respuesta = leer(sentenciaBuscar(nombreLargo));
    if (respuesta.isEmpty())
        return std::nullopt;
    return DividirLineas(respuesta).value(0);
}

int AlmacenNombresTemporalesSQL::maximoContador()
{
    return static_cast<int>(TextoANumero(leer(sentenciaMaximo())));
}

bool AlmacenNombresTemporalesSQL::insertar(int contador, const QString &nombreLargo, const QString &nombreCorto)
{
    ultimoFallo_ = ejecutar_(sentenciaInsertar(contador, nombreLargo, nombreCorto), OpcionSQL::Silenciosa).fallo;
    return !ultimoFallo_;
}

namespace {

QString sinNombre(const QString &nombreLargo, const QString &motivo)
{
    return QStringLiteral("¡Imposible asignar un nombre a la tabla temporal ") + nombreLargo
        + QStringLiteral("! Motivo: ") + motivo;
}

// A read of the store whose failure names the table it was for; a server that cannot be
// reached goes up as it came.
template<typename Lectura>
auto leerAlmacen(const QString &nombreLargo, Lectura &&lectura)
{
    try {
        return lectura();
    } catch (const gp::DatabaseError &error) {
        if (error.kind() == gp::DatabaseErrorKind::ConnectionLost)
            throw;
        throw gp::DatabaseError(sinNombre(nombreLargo, error.mensaje()), error.kind());
    }
}

std::optional<QString> registrado(const QString &nombreLargo, AlmacenNombresTemporales &almacen)
{
    const std::optional<QString> nombre = leerAlmacen(nombreLargo, [&] { return almacen.buscar(nombreLargo); });
    return nombre ? std::optional<QString>(nombre->left(LongitudMaximaNombreTemporal)) : std::nullopt;
}

} // namespace

QString AbreviarNombreTablaTemporal(const QString &nombreLargo, const QString &propietario,
                                    AlmacenNombresTemporales &almacen)
{
    gp::Fallo fallo;
    for (int intento = 0; intento < IntentosNombreTemporal; ++intento) {
        if (const auto nombre = registrado(nombreLargo, almacen))
            return *nombre;
        const int contador = leerAlmacen(nombreLargo, [&] { return almacen.maximoContador(); }) + 1;
        if (almacen.insertar(contador, nombreLargo, NombreCortoTablaTemporal(contador, propietario)))
            continue;
        fallo = almacen.ultimoFallo();
        if (fallo.tipo == gp::DatabaseErrorKind::ConnectionLost)
            throw gp::DatabaseError(fallo.mensaje, fallo.tipo);
        // Another session took the counter: wait a little, a random time, so that two
        // sessions in step do not clash again on every attempt.
        std::this_thread::sleep_for(std::chrono::milliseconds(QRandomGenerator::global()->bounded(2, 12) * (intento + 1)));
    }
    if (const auto nombre = registrado(nombreLargo, almacen))
        return *nombre;
    throw gp::DatabaseError(sinNombre(nombreLargo, fallo.mensaje), fallo.tipo);
}

QString NombreTablaTemporal(const QString &propietario, int numeroTabla, const SesionTablasTemporales &sesion,
                            AlmacenNombresTemporales &almacen)
{
    const QString nombrePropietario = propietario.isEmpty() ? QStringLiteral("Unknown") : propietario;
    const QString largo = NombreLargoTablaTemporal(sesion.direccionMAC, nombrePropietario, numeroTabla,
                                                   sesion.numeroSesionRed, sesion.codigoUsuario);
    return AbreviarNombreTablaTemporal(largo, nombrePropietario, almacen);
}
