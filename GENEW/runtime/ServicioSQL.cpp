#include "GENEW/runtime/ServicioSQL.h"

#include "GENEW/data/FilasResultadoConsulta.h"
#include "GENEW/data/RespuestaSQL.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "platform/data/engine/Connection.h"

namespace {

PreparacionSentenciaSQL &preparacionInstalada()
{
    static PreparacionSentenciaSQL preparacion;
    return preparacion;
}

} // namespace

void InstalarPreparacionSentenciaSQL(PreparacionSentenciaSQL preparacion)
{
    preparacionInstalada() = std::move(preparacion);
}

QString PrepararSentencia(const QString &sql, const QString &opciones)
{
    if (const auto &preparacion = preparacionInstalada())
        return preparacion(sql, opciones);
    return AjustarComparacionesVacias(sql);
}

QString EjecutarSQLEnConexion(plat::Connection &conexion, const QString &sql, const QString &opciones, FormaSQL forma)
{
    // The first word decides, compared exactly: a lower-case select is executed.
    const QString primeraPalabra = sql.section(u' ', 0, 0);
    const bool filas = primeraPalabra == QLatin1String("SELECT")
        || (forma == FormaSQL::Motor && primeraPalabra == QLatin1String("EXEC"));
    const QString texto = PrepararSentencia(sql, opciones);
    try {
        if (!filas) {
            conexion.exec(texto);
            return QString();
        }
        const std::unique_ptr<plat::QueryCursor> cursor = conexion.openQuery(texto);
        FilasCursorConsulta lector(*cursor);
        FormatoRespuestaSQL formato = FormatoRespuestaSQL::deOpciones(opciones);
        if (forma == FormaSQL::ADO)
            formato.formatoINI = false;
        return FormatearRespuestaSQL(lector, formato);
    } catch (const gp::Abort &) {
        throw;
    } catch (const gp::Error &error) {
        const QString respuesta = RespuestaErrorSQL(error.mensaje());
        if (!opciones.contains(OpcionSQL::Silenciosa)) {
            MensajeAviso(respuesta);
            MensajeSistema(QStringLiteral("Hay un error en la siguiente Sentencia SQL: \r\n") + texto);
        }
        return respuesta;
    }
}
