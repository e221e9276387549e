#include "app/vktlext/ValoresFusion.h"

#include <QStringList>

namespace {

QString conSaltos(QString valor) { return valor.replace(u'·', u'\n'); }

} // namespace

plat::office::MergeValues LeerValoresFusion(const QString &texto)
{
    static const QString linea = QStringLiteral("LINEA");
    plat::office::MergeValues valores;
    for (const QString &renglon : QString(texto).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(u'\n')) {
        const qsizetype igual = renglon.indexOf(u'=');
        if (igual <= 0)
            continue;
        const QString nombre = renglon.left(igual).trimmed();
        const QString valor = renglon.mid(igual + 1);
        if (nombre.compare(linea, Qt::CaseInsensitive) != 0) {
            valores.add(nombre, conSaltos(valor));
            continue;
        }
        QMap<QString, QString> campos;
        for (const QString &par : valor.split(u'|')) {
            const qsizetype i = par.indexOf(u'=');
            if (i > 0)
                campos.insert(par.left(i).trimmed().toUpper(), conSaltos(par.mid(i + 1)));
        }
        valores.lines << campos;
    }
    return valores;
}
