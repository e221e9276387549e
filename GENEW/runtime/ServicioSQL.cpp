#include "GENEW/runtime/ServicioSQL.h"

#include "GENEW/runtime/FilasResultadoConsulta.h"
#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "platform/data/engine/Connection.h"

namespace {

const QString IsNull = QStringLiteral(" IS NULL ");

} // namespace

QString PrepararSentenciaSQL(const QString &sql, const QString &opciones)
{
    QString texto = AjustarComparacionesVacias(sql);
    if (PrimeraPalabraSQL(sql) != QLatin1String("SELECT"))
        return texto;
    texto = SustituirFueraDeLiterales(texto, QStringLiteral("=NULL"), IsNull);
    texto = SustituirFueraDeLiterales(texto, QStringLiteral("= NULL"), IsNull);
    if (opciones.contains(OpcionSQL::ForzarNULL)) {
        texto = SustituirFueraDeLiterales(texto, QStringLiteral(" = ''"), IsNull);
        texto = SustituirFueraDeLiterales(texto, QStringLiteral(" = \"\""), IsNull);
    }
    return texto;
}

QString EjecutarSQLEnConexion(plat::Connection &conexion, const QString &sql, const QString &opciones, FormaSQL forma)
{
    // The first word decides, compared exactly: a lower-case select is executed.
    const QString primeraPalabra = PrimeraPalabraSQL(sql);
    const bool filas = primeraPalabra == QLatin1String("SELECT")
        || (forma == FormaSQL::Motor && primeraPalabra == QLatin1String("EXEC"));
    const QString texto = PrepararSentenciaSQL(sql, opciones);
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
            MensajeInformacion(QStringLiteral("Hay un error en la siguiente Sentencia SQL: \r\n") + texto);
        }
        return respuesta;
    }
}
