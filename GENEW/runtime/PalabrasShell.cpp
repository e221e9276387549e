#include "GENEW/runtime/PalabrasShell.h"

#include <QStringView>

QStringList DividirLineaComandos(const QString &linea)
{
    QStringList palabras;
    QString actual;
    bool hayPalabra = false;
    QChar comilla;
    for (qsizetype i = 0; i < linea.size(); ++i) {
        const QChar c = linea.at(i);
        if (comilla == u'\'') {
            if (c == u'\'')
                comilla = QChar();
            else
                actual += c;
            continue;
        }
        if (c == u'\\' && i + 1 < linea.size()) {
            const QChar siguiente = linea.at(i + 1);
            // Inside double quotes only these keep their backslash meaning, as in the shell.
            if (comilla.isNull() || QStringView(u"\"\\$`").contains(siguiente)) {
                actual += siguiente;
                ++i;
                hayPalabra = true;
                continue;
            }
        }
        if (comilla == u'"') {
            if (c == u'"')
                comilla = QChar();
            else
                actual += c;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            comilla = c;
            hayPalabra = true;
        } else if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n') {
            if (hayPalabra)
                palabras << actual;
            actual.clear();
            hayPalabra = false;
        } else {
            actual += c;
            hayPalabra = true;
        }
    }
    if (hayPalabra)
        palabras << actual;
    return palabras;
}

QString EntrecomillarArgumento(const QString &palabra)
{
    QString texto = palabra;
    texto.replace(u'\\', QLatin1String("\\\\"))
        .replace(u'"', QLatin1String("\\\""))
        .replace(u'$', QLatin1String("\\$"))
        .replace(u'`', QLatin1String("\\`"));
    return u'"' + texto + u'"';
}
