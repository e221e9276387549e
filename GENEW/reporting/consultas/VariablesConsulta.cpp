#include "GENEW/reporting/consultas/VariablesConsulta.h"

#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "platform/base/Errores.h"
#include "platform/base/FechaHora.h"
#include "platform/data/ValueText.h"
#include "platform/data/SqlVariables.h"

#include <QHash>

namespace {

QString valorPorDefecto(QChar tipo)
{
    if (tipo == u'#')
        return QStringLiteral("0");
    if (tipo == u'&')
        return QStringLiteral("1/1/1900");
    return QString();
}

ValorVariable convertir(const QString &nombre, const QString &texto)
{
    ValorVariable v{nombre, ftString, texto};
    switch (nombre.front().unicode()) {
    case u'#': {
        qint64 entero = 0;
        double numero = 0;
        if (plat::textToInteger(texto.trimmed(), entero)) {
            v.tipo = ftInteger;
            v.valor = entero;
        } else if (LeerNumero(texto, numero)) {
            v.tipo = ftFloat;
            v.valor = numero;
        } else {
            throw gp::ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(texto));
        }
        break;
    }
    case u'&': {
        QDate fecha;
        if (!LeerFecha(texto.trimmed(), fecha))
            throw gp::ConversionError(QStringLiteral("'%1' is not a valid date").arg(texto));
        v.tipo = ftDateTime;
        v.valor = FechaHora(fecha, QTime(0, 0));
        break;
    }
    case u'*':
        v.valor = plat::sqlListItems(texto);
        break;
    default:
        break;
    }
    return v;
}

} // namespace

QString PreguntaVariable(const QString &nombre)
{
    QString limpio = nombre;
    for (const QChar c : {u'$', u'#', u'&', u'\r', u'\n'})
        limpio.remove(c);
    return QStringLiteral("Introduzca el valor para la variable ") + limpio;
}

QList<ValorVariable> ValoresVariables(const QString &sql, const PedirValor &pedir)
{
    QList<ValorVariable> valores;
    QHash<QString, QString> dados;   // the typed text of each name asked
    for (const QString &nombre : plat::sqlVariableNames(sql)) {
        QString texto;
        const qsizetype guion = nombre.indexOf(u'_');
        if (guion < 0) {
            texto = pedir(PreguntaVariable(nombre));
            dados.insert(nombre, texto);
        } else {
            const QString base = nombre.left(guion);
            texto = dados.contains(base) ? dados.value(base) : valorPorDefecto(nombre.front());
        }
        valores << convertir(nombre, texto);
    }
    return valores;
}
