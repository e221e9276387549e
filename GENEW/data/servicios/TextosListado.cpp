#include "GENEW/data/servicios/TextosListado.h"

#include "GENEW/runtime/comun/LiteralFechaSQL.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/base/AjustesComunes.h"
#include "platform/base/Errores.h"
#include "platform/base/FechaHora.h"

namespace {

const QString kFinLinea = QStringLiteral("\r\n");
constexpr int kCamposClave = 10;

bool esFecha(const QString &tipo)
{
    return tipo == QLatin1String("ftDate") || tipo == QLatin1String("ftDateTime");
}

QString literalFecha(const QString &valor, ModoListado modo)
{
    const QDateTime leida = TextoAFechaHora(valor.trimmed());
    if (EsFechaCero(leida))
        throw gp::ConversionError(QStringLiteral("'%1' is not a valid date").arg(valor));
    const QDateTime dia(leida.date(), QTime(0, 0));
    if (modo == ModoListado::Logico)
        return Entrecomillar(dia.toString(QStringLiteral("dd/MM/yyyy")));
    return QLatin1Char('\'') + LiteralFechaSQL(dia, FormatearFechaHora(ajustesComunes().FormatoFechaSQL, dia))
        + QLatin1Char('\'');
}

} // namespace

bool EsCampoMemoListado(const QString &tipo)
{
    return tipo == QLatin1String("ftMemo") || tipo == QLatin1String("ftFmtMemo") || tipo == QLatin1String("ftGraphic")
        || tipo == QLatin1String("ftBlob");
}

QString AjustarValorFlotante(const QString &valor)
{
    if (valor.contains(QLatin1Char('.')) && !valor.contains(QLatin1Char(',')))
        return QString(valor).replace(QLatin1Char('.'), QLatin1Char(','));
    return valor;
}

QString ValorListado(const QString &tipo, const QString &valor, ModoListado modo)
{
    if (esFecha(tipo))
        return literalFecha(valor, modo);
    if (tipo == QLatin1String("ftFloat"))
        return Entrecomillar(ValorASQL(TextoANumero(valor)));
    return Entrecomillar(valor);
}

bool AgregarLineaFiltro(QStringList &lineas, const QString &campo, const QString &operador, const QString &tipo,
                        const QString &valor, ModoListado modo)
{
    if (valor.isEmpty())
        return false;
    // Read first: a value that is not valid must leave the memo untouched.
    const QString literal = ValorListado(tipo, valor, modo);
    if (!lineas.isEmpty())
        lineas.last() += QStringLiteral(" AND");
    lineas << QStringLiteral("(%1 %2 %3)").arg(campo, operador, literal);
    return true;
}

QString TextoRangosListado(const QVector<RangoListado> &rangos, ModoListado modo)
{
    QString texto;
    const auto limite = [&](const RangoListado &rango, const QString &valor, const char *operador) {
        if (valor.isEmpty())
            return;
        const QString literal = esFecha(rango.tipo) ? literalFecha(valor, modo) : Entrecomillar(valor);
        texto += QStringLiteral(" AND (%1 %2 %3)").arg(rango.campo, QLatin1String(operador), literal);
    };
    for (const RangoListado &rango : rangos) {
        limite(rango, rango.desde, ">=");
        limite(rango, rango.hasta, "<=");
    }
    if (texto.isEmpty())
        return texto;
    return QLatin1Char('(') + texto.mid(5) + QLatin1Char(')');
}

QString TextoCondicionListado(const QString &memo, const QString &rangos)
{
    const QString filtros = memo.isEmpty() ? QString() : QLatin1Char('(') + memo + QLatin1Char(')');
    if (!filtros.isEmpty() && !rangos.isEmpty())
        return filtros + QStringLiteral(" AND ") + rangos;
    return filtros.isEmpty() ? rangos : filtros;
}

QString SentenciaListado(const QVector<CampoListado> &seleccion, const QString &tabla, const QString &condicion,
                         bool clasificado)
{
    QStringList campos, orden;
    for (int i = 0; i < seleccion.size(); ++i) {
        campos << seleccion[i].nombre;
        if (i < kCamposClave && !EsCampoMemoListado(seleccion[i].tipo))
            orden << seleccion[i].nombre;
    }
    QStringList lineas{QStringLiteral("SELECT ") + campos.join(QLatin1Char(',')), QStringLiteral("FROM ") + tabla};
    if (!condicion.isEmpty())
        lineas << QStringLiteral("WHERE ") + condicion;
    if (clasificado && !orden.isEmpty())
        lineas << QStringLiteral("ORDER BY ") + orden.join(QLatin1Char(','));
    return lineas.join(kFinLinea);
}

QString DefinicionCopiaClasificada(const QVector<CampoListado> &campos)
{
    QString texto = QStringLiteral("Tabla Temporal") + kFinLinea;
    QStringList claves;
    int numero = 0;
    const auto columna = [&](const QString &nombre, const QString &tipo, int tamanio, bool clave) {
        texto += QStringLiteral("/C/%1/%2/%3/%4/").arg(++numero).arg(nombre, tipo).arg(tamanio);
        if (clave)
            texto += QStringLiteral("*/");
        texto += kFinLinea;
    };
    int normales = 0;
    for (const CampoListado &c : campos)
        normales += EsCampoMemoListado(c.tipo) ? 0 : 1;
    for (const CampoListado &c : campos) {
        if (EsCampoMemoListado(c.tipo))
            continue;
        const bool clave = claves.size() < kCamposClave;
        if (clave)
            claves << c.nombre;
        columna(c.nombre, c.tipo, c.tamanio, clave);
        if (claves.size() == std::min(kCamposClave, normales) && clave)
            columna(QLatin1String(kContadorCopia), QStringLiteral("ftInteger"), 0, true);
    }
    if (normales == 0)
        columna(QLatin1String(kContadorCopia), QStringLiteral("ftInteger"), 0, true);
    for (const CampoListado &c : campos)
        if (EsCampoMemoListado(c.tipo))
            columna(c.nombre, c.tipo, c.tamanio, false);
    claves << QLatin1String(kContadorCopia);
    texto += QStringLiteral("/I/1/<Primary>/") + claves.join(QLatin1Char(';')) + kFinLinea;
    return texto;
}
