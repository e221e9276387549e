#include "GENEW/runtime/ServicioSQL.h"

#include "GENEW/runtime/AvisoServidorAusente.h"
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

ResultadoSentenciaSQL EjecutarSentenciaSQL(plat::Connection &conexion, const QString &sql, const QString &opciones,
                                           FormaSQL forma)
{
    // The first word decides, compared exactly: a lower-case select is executed.
    const QString primeraPalabra = PrimeraPalabraSQL(sql);
    const bool filas = primeraPalabra == QLatin1String("SELECT")
        || (forma == FormaSQL::Motor && primeraPalabra == QLatin1String("EXEC"));
    ResultadoSentenciaSQL resultado;
    resultado.sentencia = PrepararSentenciaSQL(sql, opciones);
    resultado.fallo = gp::capturarFallo([&] {
        if (!filas) {
            conexion.exec(resultado.sentencia);
            return;
        }
        const std::unique_ptr<plat::QueryCursor> cursor = conexion.openQuery(resultado.sentencia);
        FilasCursorConsulta lector(*cursor);
        FormatoRespuestaSQL formato = FormatoRespuestaSQL::deOpciones(opciones);
        if (forma == FormaSQL::ADO)
            formato.formatoINI = false;
        resultado.respuesta = FormatearRespuestaSQL(lector, formato);
    });
    if (resultado.fallo)
        resultado.respuesta = RespuestaErrorSQL(resultado.fallo.mensaje);
    return resultado;
}

void InformarSentenciaErronea(const QString &mensaje, const QString &sentencia, const gp::Fallo &fallo)
{
    if (fallo.tipo == gp::DatabaseErrorKind::ConnectionLost) {
        AvisoServidorAusente::delPrograma().avisar(fallo.mensaje);
        return;
    }
    MensajeAviso(mensaje);
    // The system's plain box, as every failed statement is shown.
    MensajeSistema(QStringLiteral("Hay un error en la siguiente Sentencia SQL: \r\n") + sentencia);
}

QString EjecutarSQLEnConexion(plat::Connection &conexion, const QString &sql, const QString &opciones, FormaSQL forma)
{
    const ResultadoSentenciaSQL resultado = EjecutarSentenciaSQL(conexion, sql, opciones, forma);
    if (resultado.fallo && !opciones.contains(OpcionSQL::Silenciosa))
        InformarSentenciaErronea(resultado.respuesta, resultado.sentencia, resultado.fallo);
    return resultado.respuesta;
}
