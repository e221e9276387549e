#include "GENEW/reporting/personalizados/SentenciaInforme.h"

#include "GENEW/runtime/comun/RutinasTexto.h"

#include <vector>

namespace {

const QString kSaltoLinea = QStringLiteral("\r\n");
const QString kAlias = QStringLiteral(" AS ");
const QString kDesc = QStringLiteral(" DESC");
const QString kExpresion = QStringLiteral("_Expresion");

// The items of a separated text; a final separator opens no item, an empty text has none.
QStringList piezas(const QString &texto, const QString &separador)
{
    if (texto.isEmpty())
        return {};
    QStringList items = texto.split(separador);
    if (items.size() > 1 && items.constLast().isEmpty())
        items.removeLast();
    return items;
}

// A character the text does not hold: the highest from 255 down (CaracterNoUsado's
// choice), else one of the private use area, so that a text holding all of the first 256
// still gets one.
QChar separadorAusente(const QString &texto)
{
    std::vector<bool> presente(0x10000, false);
    for (const QChar c : texto)
        presente[c.unicode()] = true;
    for (int codigo = 255; codigo >= 0; --codigo)
        if (!presente[codigo])
            return QChar(char16_t(codigo));
    for (int codigo = 0xF8FF; codigo >= 0xE000; --codigo)
        if (!presente[codigo])
            return QChar(char16_t(codigo));
    return QChar(0xFFFF);  // a text of more than 6,000 distinct characters
}

QString enUnaLinea(QString texto)
{
    texto.replace(kSaltoLinea, QStringLiteral(" "));
    texto.replace(QLatin1Char('\r'), QLatin1Char(' '));
    texto.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return texto;
}

// Every occurrence of the name that is not the start of a longer name (":#A" in ":#AB"); a
// letter, a digit or "_" continues a name, the frontier character (where a scanner marks the
// next name) never does.
QString reemplazarNombreEntero(const QString &texto, const QString &nombre, const QString &nuevo,
                               QChar frontera = QChar())
{
    const auto continuaNombre = [&](QChar c) { return c != frontera && (c.isLetterOrNumber() || c == u'_'); };
    if (nombre.isEmpty())
        return texto;
    QString resultado;
    qsizetype desde = 0;
    for (qsizetype i = texto.indexOf(nombre); i >= 0; i = texto.indexOf(nombre, i + 1)) {
        const qsizetype fin = i + nombre.size();
        if (i < desde || (fin < texto.size() && continuaNombre(texto.at(fin))))
            continue;
        resultado += QStringView(texto).mid(desde, i - desde);
        resultado += nuevo;
        desde = fin;
    }
    resultado += QStringView(texto).mid(desde);
    return resultado;
}

// "JOIN " + table + " ON " + separator + condition, the table chosen as the link's own.
QString unionDeVinculo(const QString &vinculo, const QString &primeraTabla, QChar separador)
{
    QString tabla = vinculo.section(QLatin1Char('='), 0, 0).trimmed().section(QLatin1Char('.'), 0, 0);
    if (tabla == primeraTabla)
        tabla = vinculo.section(QLatin1Char('='), 1).trimmed().section(QLatin1Char('.'), 0, 0);
    return QStringLiteral("JOIN ") + tabla + QStringLiteral(" ON ") + separador + vinculo;
}

// Later links of a table join the first one's condition, in reverse order of appearance.
void fundirUniones(QStringList &uniones, QChar separador)
{
    for (qsizetype i = 0; i < uniones.size(); ++i) {
        const QString cabeza = uniones.at(i).section(separador, 0, 0);
        for (qsizetype j = uniones.size() - 1; j > i; --j) {
            if (uniones.at(j).section(separador, 0, 0) != cabeza)
                continue;
            uniones[i] += QStringLiteral(" AND ") + uniones.at(j).section(separador, 1);
            uniones.removeAt(j);
        }
    }
}

QString elementoOrdenacion(const QString &item)
{
    if (item.contains(kExpresion))
        return item.section(kAlias, 1);
    return item.section(QLatin1Char(' '), 0, 0) + (item.contains(kDesc) ? kDesc : QString());
}

} // namespace

QString ParametrosSentencia(const DefinicionInforme &d)
{
    return QStringList{QStringLiteral("Tablas=") + d.Tablas.join(u','),
                       QStringLiteral("Campos=") + d.Columnas.join(u','),
                       QStringLiteral("Restricciones=") + d.Restricciones.join(u'·'),
                       QStringLiteral("Ordenacion=") + d.Ordenacion.join(u','),
                       QStringLiteral("Vinculos=") + d.Vinculos.join(u',')}
        .join(kSaltoLinea);
}

QString ConstruirSentenciaSQL(const DefinicionInforme &definicion)
{
    return ConstruirSentenciaSQL(ParametrosSentencia(definicion));
}

QString ConstruirSentenciaSQL(const QString &parametros)
{
    const QStringList lineas = DividirLineas(parametros);
    const auto valor = [&](const char *nombre) { return LeerValorDeLineas(QLatin1String(nombre), lineas); };
    const QStringList tablas = piezas(valor("Tablas"), QStringLiteral(","));
    const QString vinculos = valor("Vinculos");

    QString sentencia = QStringLiteral("SELECT ") + piezas(valor("Campos"), QStringLiteral(",")).join(u", ")
                        + kSaltoLinea;
    if (!vinculos.isEmpty()) {
        const QString primera = tablas.value(0);
        sentencia += QStringLiteral("FROM ") + primera + kSaltoLinea;
        const QChar separador = separadorAusente(vinculos);
        QStringList uniones;
        for (const QString &vinculo : piezas(vinculos, QStringLiteral(",")))
            uniones << unionDeVinculo(vinculo, primera, separador);
        fundirUniones(uniones, separador);
        for (QString &union_ : uniones)
            sentencia += union_.replace(separador, u' ') + kSaltoLinea;
    } else if (!tablas.isEmpty()) {
        sentencia += QStringLiteral("FROM ") + tablas.join(u", ") + kSaltoLinea;
    }
    if (const QStringList restricciones = piezas(valor("Restricciones"), QStringLiteral("·")); !restricciones.isEmpty())
        sentencia += QStringLiteral("WHERE ") + restricciones.join(u" AND ") + kSaltoLinea;
    if (const QStringList ordenacion = piezas(valor("Ordenacion"), QStringLiteral(",")); !ordenacion.isEmpty()) {
        QStringList orden;
        for (const QString &item : ordenacion)
            orden << elementoOrdenacion(item);
        sentencia += QStringLiteral("ORDER BY ") + orden.join(u", ") + kSaltoLinea;
    }
    return sentencia == QStringLiteral("SELECT ") + kSaltoLinea ? QString() : sentencia;
}

QString ListaTitulosColumnas(const QString &sentencia)
{
    QString texto = enUnaLinea(sentencia);
    const QString separador(separadorAusente(texto));
    texto.replace(QStringLiteral(" AS '"), separador);
    QString lista;
    for (qsizetype i = texto.indexOf(separador); i >= 0; i = texto.indexOf(separador)) {
        const qsizetype cierre = texto.indexOf(QLatin1Char('\''), i + 1);
        const QString titulo = texto.mid(i + 1, cierre < 0 ? -1 : cierre - i - 1);
        lista += Entrecomillar(titulo) + kSaltoLinea;
        // The whole title with its closing quote, so that 'Total' leaves 'Total Neto' alone.
        texto.replace(separador + titulo + (cierre < 0 ? QString() : QStringLiteral("'")), QStringLiteral(" "));
    }
    return lista;
}

QString ListaVariablesSQL(const QString &sentencia)
{
    QString texto = enUnaLinea(sentencia);
    const QString separador(separadorAusente(texto));
    QString lista;
    for (const char *prefijo : {":#", ":&", ":$", ":*"}) {
        texto.replace(QLatin1String(prefijo), separador);
        for (qsizetype i = texto.indexOf(separador); i >= 0; i = texto.indexOf(separador)) {
            const qsizetype blanco = texto.indexOf(QLatin1Char(' '), i + 1);
            QString nombre = texto.mid(i + 1, blanco < 0 ? -1 : blanco - i - 1);
            if (nombre.endsWith(u','))
                nombre.chop(1);
            if (nombre.isEmpty()) {  // a prefix alone names nothing
                texto.remove(i, 1);
                continue;
            }
            lista += QLatin1String(prefijo) + nombre + kSaltoLinea;
            texto = reemplazarNombreEntero(texto, separador + nombre, QStringLiteral(" "), separador.at(0));
        }
    }
    return lista;
}

QString SentenciaSQLAHTML(const QString &sentencia)
{
    QString html = sentencia.toHtmlEscaped();
    html.replace(kSaltoLinea, QStringLiteral("<br>"));
    html = QStringLiteral("<body bgcolor=\"#FFFFD2\"><font face=\"Verdana\" size=\"1.5\">") + html
           + QStringLiteral("</font></body>");
    if (const qsizetype i = html.indexOf(QStringLiteral("SELECT ")); i >= 0)
        html.replace(i, 7, QStringLiteral("<b>SELECT </b>"));
    for (const char *palabra : {" AS ", "FROM ", "JOIN ", " ON ", "WHERE ", " AND ", "ORDER BY ", " DESC"}) {
        const QString texto = QLatin1String(palabra);
        const QString marcado = texto == QStringLiteral("FROM ") ? QStringLiteral(" FROM ") : texto;
        html.replace(texto, QStringLiteral("<b>") + marcado + QStringLiteral("</b>"));
    }
    for (const QString &titulo : DividirLineas(ListaTitulosColumnas(sentencia))) {
        const QString escapado = titulo.toHtmlEscaped();
        html.replace(escapado, QStringLiteral("<font color=\"blue\">") + escapado + QStringLiteral("</font>"));
    }
    for (const QString &variable : DividirLineas(ListaVariablesSQL(sentencia))) {
        const QString escapada = variable.toHtmlEscaped();
        html = reemplazarNombreEntero(html, escapada,
                                      QStringLiteral("<font color=\"red\">") + escapada + QStringLiteral("</font>"));
    }
    return html;
}

QString ColumnaDeElemento(const QString &elemento) { return elemento.section(QLatin1Char(' '), 0, 0); }

bool OrdenacionEmpiezaPorGrupos(const QStringList &ordenacion, const QStringList &grupos)
{
    if (ordenacion.size() < grupos.size())
        return false;
    for (qsizetype i = 0; i < grupos.size(); ++i)
        if (ColumnaDeElemento(ordenacion.at(i)) != ColumnaDeElemento(grupos.at(i)))
            return false;
    return true;
}

QStringList CorregirOrdenacion(const QStringList &ordenacion, const QStringList &grupos)
{
    QStringList corregida = grupos + ordenacion;
    for (qsizetype i = 0; i < corregida.size(); ++i) {
        const QString columna = ColumnaDeElemento(corregida.at(i));
        for (qsizetype j = corregida.size() - 1; j > i; --j) {
            if (ColumnaDeElemento(corregida.at(j)) == columna) {
                corregida.removeAt(j);
                break;
            }
        }
    }
    return corregida;
}

QString SentenciaPruebaInforme(const QString &sentencia, ListaVaciaPrueba listaVacia)
{
    QString prueba = enUnaLinea(sentencia);
    if (const qsizetype i = prueba.indexOf(QStringLiteral("SELECT ")); i >= 0)
        prueba.replace(i, 7, QStringLiteral("SELECT TOP 1 "));
    const QString listaFicticia = listaVacia == ListaVaciaPrueba::ComillasDobles ? QStringLiteral("\"\"")
                                                                                  : QStringLiteral("''");
    for (const QString &variable : DividirLineas(ListaVariablesSQL(sentencia))) {
        const QStringView prefijo = QStringView(variable).left(2);
        const QString ficticio = prefijo == u":#"   ? QStringLiteral("0")
                                 : prefijo == u":&" ? QStringLiteral("'1/1/1900'")
                                 : prefijo == u":$" ? QStringLiteral("''")
                                                    : listaFicticia;
        prueba = reemplazarNombreEntero(prueba, variable, ficticio);
    }
    return prueba;
}

QString NombreCampoResultado(const QString &elemento)
{
    if (elemento.contains(kAlias))
        return elemento.section(kAlias, 1).remove(QLatin1Char('\''));
    return elemento.section(QLatin1Char('.'), 1);
}
