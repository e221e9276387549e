#include "GENEW/reporting/consultas/NombreAlmacenado.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QStringList>

namespace {

// The answer of a question on that database; empty when it failed.
QString respuesta(const QString &sql, const QString &baseDatos)
{
    const QString r = ModuloDatos->EjecutarSQL(sql, baseDatos);
    return EsRespuestaErrorSQL(r) ? QString() : r;
}

} // namespace

QString NombreAlmacenadoDeTitulo(const QString &titulo, const QString &tipo)
{
    if (!fGENEINIC || fGENEINIC->CodigoIdioma.isEmpty())
        return titulo;
    if (!ModuloDatos)
        return QString();
    QStringList nombres;
    for (const QString &nombre : DividirLineas(respuesta(
             QStringLiteral("SELECT Descripcion FROM FILTRO   WHERE NombreTabla = ") + Entrecomillar(tipo),
             QStringLiteral("Database"))))
        if (!nombre.isEmpty())
            nombres << Entrecomillar(nombre);
    if (nombres.isEmpty())
        return QString();
    return respuesta(QStringLiteral("SELECT TOP 1 ClaveTexto FROM TXIDIOMA   WHERE Texto = ") + Entrecomillar(titulo)
                         + QStringLiteral("    AND ClaveTexto IN (") + nombres.join(u',') + u')',
                     QStringLiteral("DatabaseGeneral"));
}
