#include "GENEW/runtime/comun/RutinasSQL.h"

#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/LiteralFechaSQL.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QDateTime>
#include <QList>
#include <cmath>

namespace {

QString NombreSinPropietario(const QString &tabla)
{
    return tabla.contains(QLatin1Char('.')) ? ExtraerCampo(1, tabla, QStringLiteral(".")) : tabla;
}

QString FechaEntreComillas(const QDateTime &valor, const QString &literalPrograma)
{
    return QLatin1Char('\'') + LiteralFechaSQL(valor, literalPrograma) + QLatin1Char('\'');
}

// A floating number as an SQL literal, without losing digits.
QString NumeroSQL(double valor)
{
    return std::isfinite(valor) ? QString::number(valor, 'g', 15) : QStringLiteral("0");
}

bool EsPalabraEntera(const QString &tipo)
{
    return tipo == QLatin1String("ftInteger") || tipo == QLatin1String("ftSmallint")
        || tipo == QLatin1String("CAST_AS_INTEGER");
}

// An integer bound as written into SQL: its digits, "0" for an empty or wrong one.
QString LimiteEntero(const QString &limite)
{
    int valor = 0;
    return LeerEntero(limite, valor) ? QString::number(valor) : QStringLiteral("0");
}

QString LimiteFecha(const QString &limite)
{
    const QDateTime leida = TextoAFechaHora(limite);
    const QDateTime dia(leida.date(), QTime(0, 0));
    return FechaEntreComillas(dia, FormatearFechaHora(ajustesComunes().FormatoFechaSQL, dia));
}

} // namespace

QString ObtenerTablaDeSQL(const QString &sql)
{
    QString t = sql;
    t.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    t = t.trimmed();
    t.replace(QStringLiteral(" FROM "), QStringLiteral("|"));
    t = t.trimmed();
    return ExtraerCampo(0, ExtraerCampo(1, t, QStringLiteral("|")), QStringLiteral(" ")).trimmed().toUpper();
}

QString ValorASQL(const QVariant &valor)
{
    if (!valor.isValid())
        return QString();
    if (valor.isNull())
        return QStringLiteral("''");
    switch (valor.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double numero = valor.toDouble();
        return std::isfinite(numero) ? QString::number(numero, 'f', 6) : QStringLiteral("NULL");
    }
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:   // the data layer's integers may come 64 bits wide
    case QMetaType::ULongLong:
        return valor.toString();
    case QMetaType::QString:
        return Entrecomillar(valor.toString());
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        const QDateTime fecha = valor.typeId() == QMetaType::QDate ? FechaHora(valor.toDate())
                                                                    : FechaHoraDeReloj(valor.toDateTime());
        if (EsFechaCero(fecha))
            return FechaEntreComillas(FechaCero(), ajustesComunes().FechaCeroSQL);
        return FechaEntreComillas(
            fecha, FormatearFechaHora(ajustesComunes().FormatoFechaSQL + QStringLiteral(" hh:nn:ss"), fecha));
    }
    default:
        return QString();
    }
}

QString VarianteATexto(const QVariant &valor)
{
    if (!valor.isValid() || valor.isNull())
        return QString();
    switch (valor.typeId()) {
    case QMetaType::QVariantList: {
        const QVariantList lista = valor.toList();
        return lista.isEmpty() || lista.first().typeId() == QMetaType::QVariantList ? QString()
                                                                                   : VarianteATexto(lista.first());
    }
    case QMetaType::QString:
        return valor.toString();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return valor.toString();
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return QString();
    case QMetaType::Double:
    case QMetaType::Float:
        return FlotanteATexto(valor.toDouble());
    case QMetaType::QDateTime:
        return FechaHoraATexto(valor.toDateTime());
    case QMetaType::QDate:
        return FechaHoraATexto(FechaHora(valor.toDate()));
    case QMetaType::QTime:
        return FormatearFechaHora(ajustesComunes().FormatoHoraLarga, FechaHora(FechaCero().date(), valor.toTime()));
    case QMetaType::Bool:
        return valor.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return valor.canConvert<QString>() ? valor.toString() : QString();
    }
}

namespace {

struct ComparacionVacia
{
    qsizetype posicion;   // the blank before "=" or "<>"
    qsizetype largo;      // of the marker, " = ''" or " <> ''"
    bool igualdad;
};

} // namespace

QString AjustarComparacionesVacias(const QString &sql)
{
    const QString igual = QStringLiteral(" = ''");
    const QString distinto = QStringLiteral(" <> ''");
    const qsizetype largo = sql.size();
    auto comparacionEn = [&](qsizetype i, const QString &marca) {
        // Two quotes followed by a third open a literal that starts with a quote.
        return QStringView(sql).mid(i, marca.size()) == marca
            && !(i + marca.size() < largo && sql.at(i + marca.size()) == QLatin1Char('\''));
    };

    // Comparisons with the empty text and the first WHERE, both outside quoted literals.
    QList<ComparacionVacia> comparaciones;
    qsizetype donde = -1;
    bool enLiteral = false;
    for (qsizetype i = 0; i < largo;) {
        const QChar c = sql.at(i);
        if (enLiteral) {
            if (c == QLatin1Char('\'')) {
                if (i + 1 < largo && sql.at(i + 1) == QLatin1Char('\'')) {
                    i += 2;
                    continue;
                }
                enLiteral = false;
            }
            ++i;
        } else if (c == QLatin1Char('\'')) {
            enLiteral = true;
            ++i;
        } else if (comparacionEn(i, igual)) {
            comparaciones.append({i, igual.size(), true});
            i += igual.size();
        } else if (comparacionEn(i, distinto)) {
            comparaciones.append({i, distinto.size(), false});
            i += distinto.size();
        } else {
            if (donde < 0 && QStringView(sql).mid(i, 5).compare(QLatin1String("WHERE"), Qt::CaseInsensitive) == 0)
                donde = i;
            ++i;
        }
    }

    // Of each kind, the comparisons are rewritten in order until one stands before WHERE.
    struct Sustitucion
    {
        qsizetype desde;
        qsizetype hasta;
        QString texto;
    };
    QList<Sustitucion> sustituciones;
    bool paradas[2] = {false, false};
    qsizetype finAnterior = 0;
    for (const ComparacionVacia &comparacion : comparaciones) {
        const qsizetype limite = finAnterior;
        finAnterior = comparacion.posicion + comparacion.largo;
        bool &parada = paradas[comparacion.igualdad ? 0 : 1];
        if (parada || comparacion.posicion <= donde) {
            parada = true;
            continue;
        }
        qsizetype inicio = comparacion.posicion;
        while (inicio > limite && !QStringLiteral(" ()\n\r").contains(sql.at(inicio - 1)))
            --inicio;
        const QString nombre = sql.mid(inicio, comparacion.posicion - inicio);
        if (nombre.isEmpty())
            return sql;
        const QString texto = comparacion.igualdad
            ? QStringLiteral("(%1 = '' OR %1 IS NULL)").arg(nombre)
            : QStringLiteral("(%1 <> '' AND %1 IS NOT NULL)").arg(nombre);
        sustituciones.append({inicio, finAnterior, texto});
    }
    QString resultado = sql;
    for (qsizetype i = sustituciones.size() - 1; i >= 0; --i) {
        const Sustitucion &s = sustituciones.at(i);
        resultado.replace(s.desde, s.hasta - s.desde, s.texto);
    }
    return resultado;
}

QString ConstruirCondicionRango(const QString &campo, const QString &desde, const QString &hasta,
                                const QString &tipo)
{
    const bool entero = EsPalabraEntera(tipo);
    const bool flotante = tipo == QLatin1String("ftFloat");
    const bool fecha = tipo == QLatin1String("ftDate") || tipo == QLatin1String("ftDateTime");
    const bool iguales = entero ? LimiteEntero(desde) == LimiteEntero(hasta) : desde == hasta;

    QString d, h;
    bool aceptaNulo = false;
    if (entero) {
        d = LimiteEntero(desde);
        h = LimiteEntero(hasta);
        aceptaNulo = d == QLatin1String("0");
    } else if (flotante) {
        // Typed with a decimal comma; SQL wants a point. A bound that is not a number is 0.
        const double numeroDesde = TextoANumero(desde);
        d = NumeroSQL(numeroDesde);
        h = NumeroSQL(TextoANumero(hasta));
        aceptaNulo = numeroDesde == 0;
    } else if (fecha) {
        d = LimiteFecha(desde);
        h = LimiteFecha(hasta);
        aceptaNulo = desde.isEmpty();
    } else {
        d = Entrecomillar(desde);
        h = Entrecomillar(hasta);
        aceptaNulo = desde.isEmpty() && tipo == QLatin1String("ftString");
    }

    QString condicion;
    if (tipo == QLatin1String("CAST_AS_INTEGER")) {
        const QString columna = QStringLiteral("CAST(") + campo + QStringLiteral(" AS INTEGER)");
        condicion = iguales ? QStringLiteral("(") + columna + QStringLiteral(" = ") + d + QStringLiteral(")")
                            : QStringLiteral("(") + columna + QStringLiteral(" >= ") + d + QStringLiteral(" AND ")
                                  + QStringLiteral(" ") + columna + QStringLiteral(" <= ") + h + QStringLiteral(")");
    } else if (iguales) {
        condicion = QStringLiteral("(") + campo + QStringLiteral(" = ") + d + QStringLiteral(")");
    } else {
        condicion = QStringLiteral("(") + campo + QStringLiteral(" >= ") + d + QStringLiteral(" AND ") + campo
                    + QStringLiteral(" <= ") + h + QStringLiteral(")");
    }
    if (aceptaNulo)
        condicion = QStringLiteral("(") + condicion + QStringLiteral(" OR (") + campo + QStringLiteral(" IS NULL))");
    return condicion;
}

bool EsTablaGeneral(const QString &tabla)
{
    static const QStringList kGenerales{
        QStringLiteral("EMPRESA"),  QStringLiteral("USUARIO"),  QStringLiteral("CONFAPLI"),
        QStringLiteral("CAMPOUSR"), QStringLiteral("INCAPLIC"), QStringLiteral("NOMBTTEM"),
        QStringLiteral("IDIOMA"),   QStringLiteral("TXIDIOMA"), QStringLiteral("MENSAJE"),
        QStringLiteral("UDADCALC"), QStringLiteral("VPART")};
    return kGenerales.contains(NombreSinPropietario(tabla));
}

bool EsTablaTemporal(const QString &tabla)
{
    const QString nombre = NombreSinPropietario(tabla);
    return nombre.size() >= 9 && nombre.startsWith(QStringLiteral("TEMP"), Qt::CaseInsensitive);
}

bool EsErrorTablaInexistente(const QString &error)
{
    return error.contains(QStringLiteral("Table does not exist"), Qt::CaseInsensitive)
        || error.contains(QStringLiteral("Table unknown"), Qt::CaseInsensitive);
}

QString PrimeraPalabraSQL(const QString &sql)
{
    const qsizetype blanco = sql.indexOf(u' ');
    return blanco < 0 ? sql : sql.left(blanco);
}

QString SustituirFueraDeLiterales(const QString &texto, const QString &buscado, const QString &nuevo)
{
    if (buscado.isEmpty() || !texto.contains(buscado))
        return texto;
    const QChar ultimo = buscado.back();
    const bool terminaEnComilla = ultimo == u'\'' || ultimo == u'"';
    QString resultado;
    resultado.reserve(texto.size());
    QChar comillaAbierta;   // null outside literals
    const qsizetype largo = texto.size();
    for (qsizetype i = 0; i < largo;) {
        const QChar c = texto.at(i);
        if (!comillaAbierta.isNull()) {
            resultado.append(c);
            ++i;
            if (c == comillaAbierta) {
                if (i < largo && texto.at(i) == comillaAbierta) {   // a doubled quote inside
                    resultado.append(c);
                    ++i;
                } else {
                    comillaAbierta = QChar();
                }
            }
            continue;
        }
        if (QStringView(texto).mid(i, buscado.size()) == buscado) {
            const qsizetype despues = i + buscado.size();
            if (!(terminaEnComilla && despues < largo && texto.at(despues) == ultimo)) {
                resultado.append(nuevo);
                i = despues;
                continue;
            }
        }
        if (c == u'\'' || c == u'"')
            comillaAbierta = c;
        resultado.append(c);
        ++i;
    }
    return resultado;
}
