#include "GENEW/data/servicios/busqueda/SentenciaBusqueda.h"

#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/base/AjustesComunes.h"
#include "platform/data/engine/Dialect.h"

namespace {

const QString kIlimitado = QStringLiteral("Ilimitado");

// The pairs of field and value of a search: they end at the first empty field or value.
QList<QPair<QString, QString>> paresBusqueda(const QString &campos, const QString &dato)
{
    QList<QPair<QString, QString>> pares;
    for (int i = 0;; ++i) {
        const QString campo = ExtraerCampo(i, campos, QStringLiteral(";"));
        const QString valor = ExtraerCampo(i, dato, QStringLiteral(";"));
        if (campo.isEmpty() || valor.isEmpty())
            return pares;
        pares.append({campo, valor});
    }
}

// A value as it can travel inside an SQL literal: the engines end a statement's text at a NUL.
QString textoLiteral(QString valor)
{
    return valor.remove(QChar(0));
}

} // namespace

QString SentenciaBusqueda::normalizarDato(const QString &dato)
{
    return QString(dato).replace(u',', u';');
}

int SentenciaBusqueda::filasLimite(const QString &limite)
{
    if (limite == kIlimitado)
        return -1;
    bool numero = false;
    const int n = limite.trimmed().toInt(&numero);
    return numero && n > 0 ? n : 1;
}

bool SentenciaBusqueda::esSQLServer() const { return dialecto_.kind() == plat::EngineKind::SqlServer; }

bool SentenciaBusqueda::admiteLimite() const { return esSQLServer(); }

// A value of the approximate mode that reads as a date (or as a time, in a "Hora" field) is
// written as the engine reads dates; any other value is a quoted text.
QString SentenciaBusqueda::literal(const QString &campo, const QString &valorDado, ModoBusqueda modo) const
{
    const QString valor = textoLiteral(valorDado);
    if (modo == ModoBusqueda::Aproximada) {
        const QString formato = ajustesComunes().FormatoFechaSQL;
        const bool fecha = ValidarFecha(valor, QString());
        if (fecha || (campo.contains(QLatin1String("Hora")) && ValidarHora(valor, QString()))) {
            const QDateTime momento = TextoAFechaHora(valor);
            if (!esSQLServer())
                return dialecto_.dateLiteral(momento);
            return Entrecomillar(FormatearFechaHora(fecha ? formato : formato + QStringLiteral(" hh:nn:ss"), momento));
        }
        return Entrecomillar(valor);
    }
    return Entrecomillar(modo == ModoBusqueda::Parcial ? valor + u'%' : u'%' + valor + u'%');
}

QString SentenciaBusqueda::comparacion(const QString &campo, const QString &valor, bool ultimo,
                                       ModoBusqueda modo) const
{
    const QString texto = literal(campo, valor, modo);
    if (modo != ModoBusqueda::Aproximada)
        return dialecto_.foldedCompare(campo, QStringLiteral("LIKE"), texto);
    return campo + (ultimo ? QStringLiteral(" >= ") : QStringLiteral(" = ")) + texto;
}

QString SentenciaBusqueda::condicion(const QString &campos, const QString &dato, ModoBusqueda modo) const
{
    const auto pares = paresBusqueda(campos, normalizarDato(dato));
    QString texto;
    for (qsizetype i = 0; i < pares.size(); ++i)
        texto += QStringLiteral(" (") + comparacion(pares[i].first, pares[i].second, i == pares.size() - 1, modo)
            + QStringLiteral(") AND ");
    texto.chop(4);   // the condition ends in ") "
    return texto;
}

QString SentenciaBusqueda::parteWhere(const QString &condicion, const QString &filtro)
{
    if (condicion.isEmpty())
        return filtro.isEmpty() ? QString() : QStringLiteral(" WHERE ") + filtro;
    if (filtro.isEmpty())
        return QStringLiteral(" WHERE ") + condicion;
    return QStringLiteral(" WHERE ") + condicion + QStringLiteral(" AND (") + filtro + u')';
}

QString SentenciaBusqueda::parteOrden(const QString &campos, bool ordenada)
{
    if (!ordenada || campos.isEmpty())
        return QString();
    return QStringLiteral(" ORDER BY ") + QString(campos).replace(u';', u',');
}

QString SentenciaBusqueda::sentencia(const PeticionBusqueda &p) const
{
    const QString where = parteWhere(condicion(p.campos, p.dato, p.modo), p.filtro);
    const QString texto = QStringLiteral("SELECT ") + p.columnas + QStringLiteral(" FROM ") + p.tabla
        + dialecto_.lockHint() + where + parteOrden(p.campos, p.ordenada);
    const int filas = filasLimite(p.limite);
    if (!admiteLimite() || filas < 0)
        return texto;
    return dialecto_.selectTop(texto, filas);
}

QString SentenciaBusqueda::clasesLetras(const QString &valor)
{
    static const QList<QPair<QString, QString>> pasos = {
        {"á", "a"},        {"é", "e"},        {"í", "i"},          {"ó", "o"},          {"ú", "u"},
        {"v", "b"},        {"k", "c"},        {"y", "i"},          {"tx", "ch"},        {"tz", "ch"},
        {"a", "[aá]"},     {"e", "[eé]"},     {"i", "[iíy]"},      {"o", "[oó]"},       {"u", "[uú]"},
        {"b", "[bv]"},     {"ch", "[ct][hxz]"}, {"[ct]", "[**]"}, {"c", "[ck]"},       {"[**]", "[ct]"},
    };
    QString texto = valor.toLower();
    for (const auto &[anterior, nuevo] : pasos)
        texto.replace(anterior, nuevo);
    return texto;
}

QString SentenciaBusqueda::condicionAproximacion(const QList<QPair<QString, QString>> &valores) const
{
    QString condicion;
    for (const auto &[columna, valor] : valores) {
        const QString texto = textoLiteral(valor);
        if (texto.isEmpty())
            continue;
        condicion += condicion.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ");
        // On SQL Server the letter classes; elsewhere the value as typed, folded on both sides.
        const QString patron = Entrecomillar(u'%' + (esSQLServer() ? clasesLetras(texto) : texto) + u'%');
        condicion += u'(' + dialecto_.foldedCompare(columna, QStringLiteral("LIKE"), patron) + u')';
    }
    return condicion;
}

QString SentenciaBusqueda::sentenciaAproximacion(const QString &tabla, const QString &condicion) const
{
    return QStringLiteral("SELECT * FROM ") + tabla + condicion;
}
