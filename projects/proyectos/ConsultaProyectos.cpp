#include "projects/proyectos/ConsultaProyectos.h"

#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/ValueText.h"
#include "platform/data/engine/Dialect.h"

namespace {
const QString kTodos = QStringLiteral("Todos");
const QString kSeparadorDirector = QStringLiteral(" - ");
} // namespace

QString SentenciaDirectores(const plat::Dialect &dialecto)
{
    return QStringLiteral("SELECT ")
        + dialecto.concat({QStringLiteral("Nombre"), QStringLiteral("' - '"), QStringLiteral("CAST(Codigo AS VARCHAR)")})
        + QStringLiteral(" FROM OPERARIO   ORDER BY Nombre, Codigo");
}

QString SentenciaFechaCierre(const QString &codigo)
{
    return QStringLiteral("SELECT FechaFinalizacion FROM PROYECT   WHERE Codigo = ") + Entrecomillar(codigo);
}

QString SentenciaCerrarProyecto(const QString &codigo, const QDateTime &fecha)
{
    return QStringLiteral("UPDATE PROYECT   SET Situacion = 'Cerrado',       FechaFinalizacion = ") + ValorASQL(fecha)
        + QStringLiteral("  WHERE Codigo = ") + Entrecomillar(codigo);
}

QString CodigoDirector(const QString &textoDirector)
{
    const qsizetype separador = textoDirector.lastIndexOf(kSeparadorDirector);
    return separador < 0 ? QString() : textoDirector.mid(separador + kSeparadorDirector.size());
}

QString ConsultaProyectos(bool abiertos, bool cerrados, const QString &textoDirector)
{
    QString c;
    if (abiertos)
        c += QStringLiteral("(Situacion = 'Abierto')");
    if (cerrados) {
        if (!c.isEmpty())
            c += QStringLiteral(" OR ");
        c += QStringLiteral("(Situacion = 'Cerrado')");
    }
    if (!c.isEmpty())
        c = u'(' + c + u')';
    if (textoDirector != kTodos) {
        if (!c.isEmpty())
            c += QStringLiteral(" AND ");
        c += QStringLiteral(" (Director = ") + CodigoDirector(textoDirector) + QStringLiteral(") ");
    }
    if (!c.isEmpty())
        c = QStringLiteral("WHERE ") + c;
    return QStringLiteral("SELECT * FROM PROYECT ") + c;
}

bool CapituloVisible(const LineaPlan &linea, const VistaCapitulos &vista, double hoy)
{
    if (linea.GradoAvance == QLatin1String("Terminado") && !vista.VerTerminados)
        return false;
    if (linea.FechaInicio == 0 && linea.FechaFinal == 0 && linea.TiempoPrevisto != 0 && !vista.VerNoPlanificado)
        return false;
    return !vista.SoloMalPlanificado || linea.FechaFinal < hoy;
}

QString TextoEstadisticas(double previsto, double realizado)
{
    const QString formato = QStringLiteral("#,###");
    return QStringLiteral("Tiempo Asignado Pendiente: ") + plat::formatFloat(formato, previsto - realizado)
        + QStringLiteral(" h. (") + plat::formatFloat(formato, previsto) + QStringLiteral(" h. - ")
        + plat::formatFloat(formato, realizado) + QStringLiteral(" h.)");
}
