#include "GENEW/runtime/ServicioSQL.h"

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

// The rows of a query result, read forward once.
class FilasResultado : public FilasRespuestaSQL
{
public:
    explicit FilasResultado(const plat::QueryResult &resultado) : resultado_(resultado) {}
    int numeroColumnas() const override { return int(resultado_.columns.size()); }
    QString nombreColumna(int columna) const override { return resultado_.columns.value(columna); }
    TFieldType tipoColumna(int columna) const override { return resultado_.types.value(columna, ftUnknown); }
    bool siguienteFila() override { return ++fila_ < resultado_.rows.size(); }
    QVariant valor(int columna) const override { return resultado_.rows.at(fila_).value(columna); }

private:
    const plat::QueryResult &resultado_;
    qsizetype fila_ = -1;
};

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
        const plat::QueryResult resultado = conexion.query(texto);
        FilasResultado lector(resultado);
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
