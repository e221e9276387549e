#include "GENEW/reporting/personalizados/ValidacionInforme.h"

#include "GENEW/data/ventanas/GENEDETA.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/reporting/personalizados/SentenciaInforme.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "platform/data/engine/Connection.h"

namespace {

const QString kSilenciosa = QStringLiteral("Silenciosa");

// The trial run's transaction: rolled back however the run ends.
class TransaccionDescartada
{
public:
    explicit TransaccionDescartada(plat::Connection &conexion) : conexion_(conexion) { conexion_.startTransaction(); }
    ~TransaccionDescartada()
    {
        try {
            conexion_.rollback();
        } catch (const std::exception &) {
            // The engine already ended the transaction with the failed statement.
        }
    }
    TransaccionDescartada(const TransaccionDescartada &) = delete;
    TransaccionDescartada &operator=(const TransaccionDescartada &) = delete;

private:
    plat::Connection &conexion_;
};

QString ejecutarPrueba(const QString &sentencia)
{
    plat::Connection &conexion = fGENEINIC->Database();
    const ListaVaciaPrueba lista = conexion.engine() == plat::EngineKind::SqlServer ? ListaVaciaPrueba::ComillasDobles
                                                                                    : ListaVaciaPrueba::ComillasSimples;
    const QString prueba = SentenciaPruebaInforme(sentencia, lista);
    TransaccionDescartada transaccion(conexion);
    return ModuloDatos->EjecutarSQL(prueba, QString(), kSilenciosa);
}

void mostrarResultado(const QString &respuesta)
{
    if (!respuesta.startsWith(QLatin1String("Error"))) {
        MensajeInformacion(QStringLiteral("El informe es correcto"));
        return;
    }
    QString motivo = respuesta.toHtmlEscaped();
    motivo.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    MostrarDetalle(QStringLiteral("<font face=\"Verdana\" size=\"2\"><b>La Sentencia SQL es incorrecta</b><br><br>"
                                  "<font color=\"red\">")
                       + motivo + QStringLiteral("</font></font>"),
                   QStringLiteral("Informe de Validación de la Sentencia SQL"),
                   QStringLiteral("Interprete=HTML\r\nFormato=550,250"));
}

} // namespace

QString ValidarInforme(const QString &opciones, DefinicionInforme &definicion, const QString &sentenciaMostrada,
                       const std::function<QString()> &regenerarSentencia)
{
    QString sentencia = sentenciaMostrada;
    if (!OrdenacionEmpiezaPorGrupos(definicion.Ordenacion, definicion.Grupos)
        && MensajeConfirmacion(QStringLiteral("La secuencia de Ordenación deberia ser idéntica a la de los Grupos en sus "
                                              "primeros elementos. ¿Desea corregir esta anomalía?"))
               != QLatin1String("NO")) {
        definicion.Ordenacion = CorregirOrdenacion(definicion.Ordenacion, definicion.Grupos);
        sentencia = regenerarSentencia ? regenerarSentencia() : ConstruirSentenciaSQL(definicion);
    }
    const QString respuesta = ejecutarPrueba(sentencia);
    if (!opciones.contains(kSilenciosa))
        mostrarResultado(respuesta);
    return respuesta;
}
