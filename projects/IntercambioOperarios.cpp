#include "projects/IntercambioOperarios.h"

#include "GENEW/runtime/comun/RutinasTexto.h"

namespace intercambio {

namespace {

ColumnaOperario Columna(const char *tabla, const char *columna, const char *condicion = "")
{
    return {QString::fromLatin1(tabla), QString::fromLatin1(columna), QString::fromLatin1(condicion)};
}

std::optional<qint64> Entero(const QString &texto)
{
    bool ok = false;
    const qint64 valor = texto.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(valor) : std::nullopt;
}

QString ErrorConversion(const QString &texto)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(texto);
}

} // namespace

const QList<ColumnaOperario> &ColumnasOperario()
{
    static const QList<ColumnaOperario> columnas = {
        Columna("AVISOPER", "CodigoOperario"),
        Columna("BONO", "CodigoOperario"),
        Columna("DCHAC", "CodigoOperario"),
        Columna("DCHPD", "CodigoOperario"),
        Columna("DCRES", "CodigoOperario"),
        Columna("INCCALOP", "CodigoOperario"),
        Columna("INSPECC", "CodigoOperario"),
        Columna("INSTALC", "CodigoOperarioResp"),
        Columna("LECTURA", "CodigoOperario"),
        Columna("LMULTPOB", "Codigo", "TipoMultiParte = 'Trabajo'"),
        Columna("LMULTPOB", "CodigoOperario", "TipoMultiParte = 'Maquina'"),
        Columna("LSOLIMAT", "CodigoOperario"),
        Columna("MARCAJE", "CodigoOperario"),
        Columna("OORDALT", "CodigoOperario"),
        Columna("OORDEN", "CodigoOperario"),
        Columna("OPALTAUX", "CodigoOperario"),
        Columna("OPERALT", "CodigoOperario"),
        Columna("OPERAUX", "CodigoOperario"),
        Columna("OPERCION", "CodigoOperario"),
        Columna("PARMAQOB", "CodigoOperario"),
        Columna("PERSONAL", "CodigoOperarioPresencia"),
        Columna("PARTE", "CodigoOperario"),
        Columna("PARTEF", "CodigoOperario"),
        Columna("PARTEOB", "CodigoOperario"),
        Columna("PMUSOEQ", "CodigoOperario"),
        Columna("SOLIMAT", "CodigoOperario"),
        Columna("TARFOPOB", "CodigoOperario"),
        Columna("UDADINT", "CodigoOperario"),
        Columna("UDADINTP", "CodigoOperario"),
        // This program's own references to an operator: project directors, chapter and
        // note responsibles and the personal calendar.
        Columna("PROYECT", "Director"),
        Columna("LPROYECT", "Responsable"),
        Columna("NTECNICA", "Responsable"),
        Columna("CALENOPE", "CodigoOperario"),
    };
    return columnas;
}

const QList<ColumnaOperario> &ColumnasLateralesOperario()
{
    static const QList<ColumnaOperario> columnas = {
        Columna("DOCUTRON", "ClaveTabla", "(NombreTabla = 'OPERARIO')"),
        Columna("GRANTAB", "ClaveTabla", "(NombreTabla = 'OPERARIO')"),
        Columna("CONTACTO", "CodigoTabla", "(NombreTabla = 'OPERARIO')"),
    };
    return columnas;
}

LecturaPareja LeerPareja(const QString &origen, const QString &destino)
{
    const auto o = Entero(origen);
    if (!o)
        return {std::nullopt, ErrorConversion(origen)};
    const auto d = Entero(destino);
    if (!d)
        return {std::nullopt, ErrorConversion(destino)};
    return {ParejaCodigos{*o, *d}, QString()};
}

QList<PasoIntercambio> PlanIntercambio(const ParejaCodigos &pareja, bool destinoExiste)
{
    QList<PasoIntercambio> pasos;
    if (pareja.origen == pareja.destino)
        return pasos;
    const QString origen = QString::number(pareja.origen);
    const QString destino = QString::number(pareja.destino);
    const auto reemplazo = [&](const ColumnaOperario &c) {
        return PasoIntercambio{AccionPaso::Reemplazar, c.tabla, c.columna, c.condicion, origen, destino};
    };
    for (const ColumnaOperario &c : ColumnasOperario())
        pasos.append(reemplazo(c));
    const ColumnaOperario operario = Columna("OPERARIO", "Codigo");
    if (destinoExiste)
        pasos.append(PasoIntercambio{AccionPaso::Eliminar, operario.tabla, operario.columna, QString(), origen, QString()});
    else
        pasos.append(reemplazo(operario));
    for (const ColumnaOperario &c : ColumnasLateralesOperario())
        pasos.append(reemplazo(c));
    return pasos;
}

ResultadoPareja IntercambiarPareja(const ParejaCodigos &pareja, EjecutorIntercambio &ejecutor,
                                   QStringList &incidencias)
{
    if (pareja.origen == pareja.destino)
        return ResultadoPareja::Omitida;
    ejecutor.iniciar();
    try {
        const int antes = incidencias.size();
        const auto pasos = PlanIntercambio(pareja, ejecutor.existeOperario(pareja.destino));
        bool correcto = true;
        for (const PasoIntercambio &paso : pasos)
            if (!ejecutor.ejecutar(paso, incidencias)) {
                correcto = false;
                break;
            }
        if (correcto && incidencias.size() == antes) {
            ejecutor.confirmar();
            return ResultadoPareja::Terminada;
        }
    } catch (...) {
        ejecutor.cancelar();
        throw;
    }
    ejecutor.cancelar();
    return ResultadoPareja::Fallida;
}

QList<LineaEquivalencia> LeerEquivalencias(const QString &texto, QChar separador)
{
    QList<LineaEquivalencia> lineas;
    const QString sep(separador);
    for (QStringView linea : QStringView(texto).split(u'\n')) {
        if (linea.endsWith(u'\r'))
            linea.chop(1);
        if (linea.isEmpty())
            continue;
        const QString l = linea.toString();
        lineas.append({ExtraerCampo(0, l, sep), ExtraerCampo(1, l, sep)});
    }
    return lineas;
}

QString EscribirEquivalencias(const QList<LineaEquivalencia> &lineas, QChar separador)
{
    QString texto;
    for (const LineaEquivalencia &l : lineas)
        texto += l.origen + separador + l.destino + QStringLiteral("\r\n");
    return texto;
}

} // namespace intercambio
