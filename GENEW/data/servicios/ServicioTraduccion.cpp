#include "GENEW/data/servicios/ServicioTraduccion.h"

#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/data/servicios/traduccion/PatronTraduccion.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

namespace {

const QString kSelectTexto = QStringLiteral("SELECT TOP 1 Texto FROM TXIDIOMA   WHERE Idioma = ");
const QString kSelectClave = QStringLiteral("SELECT TOP 1 ClaveTexto FROM TXIDIOMA   WHERE Idioma = ");

bool esNombreComponenteInforme(const QString &texto)
{
    return texto.startsWith(QLatin1String("QR")) || texto.startsWith(QLatin1String("LB"));
}

} // namespace

QString ServicioTraduccion::respuesta(const QString &sql)
{
    const QString r = fuente_.consultar(sql);
    if (!EsRespuestaErrorSQL(r))
        return r;
    huboFallo_ = true;
    return QString();
}

QString ServicioTraduccion::consultaTexto(const QString &idioma, const QString &clave) const
{
    return kSelectTexto + Entrecomillar(idioma) + QStringLiteral("    AND ")
        + fuente_.compararClave(QStringLiteral("="), Entrecomillar(clave)) + fuente_.clausulaIntercalacion();
}

QString ServicioTraduccion::Traducir(const QString &texto)
{
    huboFallo_ = false;
    const QString resultado = TraducirTexto(texto, QString(), QString());
    // A text that could not be looked up (a failing question, the general database not
    // connected) is no untranslated text: it is asked again next time.
    if (resultado.isEmpty() || huboFallo_ || !fuente_.conectada())
        return resultado;
    if (resultado == texto)
        anadirSinTraduccion(texto);
    else if (entradaSinAcelerador && texto.contains(u'&') && resultado == QString(texto).remove(u'&'))
        anadirSinTraduccion(resultado);
    return resultado;
}

void ServicioTraduccion::anadirSinTraduccion(const QString &texto)
{
    // Once: a text the cache already answers needs no second line, which would only push
    // real translations out sooner.
    if (!cache_.valor(texto) && !cache_.esTraduccion(texto))
        cache_.anadir(texto, texto);
}

QString ServicioTraduccion::TraducirTexto(const QString &texto, const QString &variables, const QString &idioma)
{
    if (texto.isEmpty() || esNombreComponenteInforme(texto) || !fuente_.conectada())
        return texto;
    const QString lengua = idioma.isEmpty() ? fuente_.idiomaUsuario() : idioma;
    if (lengua.isEmpty())
        return sustituirVariables(texto, variables, lengua);

    const QString sinMarcas = QString(texto).remove(u'&');
    if (sinMarcas.size() <= 1)
        return texto;
    QString resultado = clave(sinMarcas, lengua);
    if (resultado.isEmpty())
        resultado = patron(sinMarcas, lengua);
    if (resultado.isEmpty())
        resultado = palabraAPalabra(sinMarcas, lengua);
    if (resultado.isEmpty())
        resultado = sinMarcas;
    return sustituirVariables(resultado, variables, lengua);
}

QString ServicioTraduccion::sustituirVariables(QString texto, const QString &variables, const QString &idioma)
{
    for (const QString &linea : DividirLineas(variables)) {
        const qsizetype igual = linea.indexOf(u'=');
        if (igual < 0)
            continue;
        const QString nombre = linea.left(igual);
        QString valor = linea.mid(igual + 1);
        if (!idioma.isEmpty()) {
            const QString traducido = clave(valor, idioma);
            if (!traducido.isEmpty())
                valor = traducido;
        }
        texto.replace(u'$' + nombre, valor);
    }
    return texto;
}

QString ServicioTraduccion::palabraAPalabra(const QString &texto, const QString &idioma)
{
    const QStringList palabras = texto.split(u' ');
    QString resultado;
    for (qsizetype i = 0; i < palabras.size(); ++i) {
        const QString &palabra = palabras.at(i);
        if (!palabra.isEmpty()) {
            const QString traducida = clave(palabra, idioma);
            // Cut to the source word's length, so that a caption keeps its width.
            resultado += (traducida.isEmpty() ? palabra : traducida).left(palabra.size());
        }
        if (i + 1 < palabras.size())
            resultado += u' ';
    }
    return resultado;
}

QString ServicioTraduccion::TraducirClave(const QString &texto)
{
    const QString idioma = fuente_.idiomaUsuario();
    return idioma.isEmpty() ? QString() : clave(texto, idioma);
}

QString ServicioTraduccion::clave(const QString &texto, const QString &idioma)
{
    if (texto.isEmpty())
        return texto;
    // A text holding "=" cannot be the name of a cache line.
    if (!texto.contains(u'=')) {
        if (const std::optional<QString> valor = cache_.valor(texto))
            return *valor;
    }
    if (cache_.esTraduccion(texto))
        return texto;
    const QString traduccion = respuesta(consultaTexto(idioma, texto));
    if (!traduccion.isEmpty())
        cache_.anadir(texto, traduccion);
    return traduccion;
}

QString ServicioTraduccion::TraducirPatron(const QString &texto)
{
    const QString idioma = fuente_.idiomaUsuario();
    return idioma.isEmpty() ? QString() : patron(texto, idioma);
}

QString ServicioTraduccion::patron(const QString &texto, const QString &idioma)
{
    // Each word narrows the key search; a word that finds no key is a variable part.
    const QString inicio = kSelectClave + Entrecomillar(idioma);
    QString condiciones;
    QString claveEncontrada;
    for (const QString &pieza : PiezasBusquedaPatron(texto)) {
        const QString candidata = condiciones + QStringLiteral(" AND ")
            + fuente_.compararClave(QStringLiteral("LIKE"), Entrecomillar(pieza)) + u' ';
        const QString encontrada = respuesta(inicio + candidata + fuente_.clausulaIntercalacion());
        if (encontrada.isEmpty())
            continue;
        condiciones = candidata;
        claveEncontrada = encontrada;
    }
    if (!EsClavePatron(claveEncontrada))
        return QString();
    const QString traduccion = respuesta(consultaTexto(idioma, claveEncontrada));
    return AplicarPatronTraduccion(texto, claveEncontrada, traduccion, [this](const QString &parte) {
        return TraducirTexto(parte, QString(), QString());
    });
}

QString ServicioTraduccion::TraducirLista(const QString &lista)
{
    QStringList elementos = lista.split(u';');
    if (elementos.size() > 1 && elementos.last().isEmpty())
        elementos.removeLast();
    for (QString &elemento : elementos)
        elemento = Traducir(elemento);
    const QString resultado = elementos.join(u';');
    return resultado.isEmpty() ? lista : resultado;
}
