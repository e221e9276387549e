#include "GENEW/runtime/estructura/LineaDefinicion.h"

namespace estructura {

QString Pieza(const QString &linea, int n)
{
    if (n < 0)
        return {};
    qsizetype inicio = 0;
    for (int i = 0; i < n; ++i) {
        const qsizetype barra = linea.indexOf(u'/', inicio);
        if (barra < 0)
            return {};
        inicio = barra + 1;
    }
    const qsizetype fin = linea.indexOf(u'/', inicio);
    return linea.mid(inicio, fin < 0 ? -1 : fin - inicio);
}

QStringList DividirLineas(const QString &texto)
{
    QStringList lineas = texto.split(u'\n');
    for (QString &linea : lineas) {
        if (linea.endsWith(u'\r'))
            linea.chop(1);
    }
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    return lineas;
}

QString UnirLineas(const QStringList &lineas)
{
    QString texto;
    for (const QString &linea : lineas)
        texto += linea + kSaltoLinea;
    return texto;
}

QString TextoDescripcion(const QString &linea)
{
    const qsizetype barra = linea.indexOf(u'|');
    return barra < 0 ? QString() : linea.mid(barra + 1);
}

LineaCampo LeerLineaCampo(const QString &linea)
{
    LineaCampo campo;
    campo.nombre = Pieza(linea, 3);
    campo.tipo = Pieza(linea, 4);
    campo.tamano = Pieza(linea, 5);
    campo.clave = Pieza(linea, 6) == u"*";
    return campo;
}

LineaIndice LeerLineaIndice(const QString &linea)
{
    LineaIndice indice;
    indice.nombre = Pieza(linea, 3);
    indice.campos = Pieza(linea, 4);
    indice.descendente = Pieza(linea, 5).contains(u'-');
    return indice;
}

} // namespace estructura
