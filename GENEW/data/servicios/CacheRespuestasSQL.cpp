#include "GENEW/data/servicios/CacheRespuestasSQL.h"

#include "GENEW/runtime/RespuestaSQL.h"

const QString CacheRespuestasSQL::ConjuntoVacio = QStringLiteral("Conjunto_Vacio");

namespace {
const QString Igual = QStringLiteral("=");
const QString MarcaIgual = QStringLiteral("$IGUAL$");
const QString CRLF = QStringLiteral("\r\n");
const QString MarcaCRLF = QStringLiteral("$CRLF$");
} // namespace

QString CacheRespuestasSQL::codificar(const QString &texto)
{
    QString codificado = texto;
    codificado.replace(Igual, MarcaIgual);
    codificado.replace(CRLF, MarcaCRLF);
    return codificado;
}

QString CacheRespuestasSQL::claveDe(const QString &sql)
{
    QString clave = sql;
    clave.replace(Igual, MarcaIgual);
    return clave;
}

QString CacheRespuestasSQL::decodificar(const QString &texto)
{
    QString decodificado = texto;
    decodificado.replace(MarcaIgual, Igual);
    decodificado.replace(MarcaCRLF, CRLF);
    return decodificado;
}

QString CacheRespuestasSQL::respuesta(const QString &sql, const Ejecutor &ejecutar)
{
    if (entradas_.size() > static_cast<size_t>(LimiteEntradas)) {
        indice_.remove(entradas_.front().clave);
        entradas_.pop_front();
        ++primeraSecuencia_;
    }

    const QString clave = claveDe(sql);
    const auto encontrada = indice_.constFind(clave);
    if (encontrada != indice_.constEnd()) {
        const Entrada &entrada = entradas_[static_cast<size_t>(*encontrada - primeraSecuencia_)];
        return entrada.valor == ConjuntoVacio ? QString() : decodificar(entrada.valor);
    }

    const QString respuesta = ejecutar(sql);
    if (EsRespuestaErrorSQL(respuesta))
        return respuesta;
    indice_.insert(clave, primeraSecuencia_ + static_cast<qint64>(entradas_.size()));
    entradas_.push_back(Entrada{clave, respuesta.isEmpty() ? ConjuntoVacio : codificar(respuesta)});
    return respuesta;
}

QStringList CacheRespuestasSQL::lineas() const
{
    QStringList lineas;
    lineas.reserve(static_cast<qsizetype>(entradas_.size()));
    for (const Entrada &entrada : entradas_)
        lineas.append(entrada.clave + Igual + entrada.valor);
    return lineas;
}

void CacheRespuestasSQL::vaciar()
{
    entradas_.clear();
    indice_.clear();
    primeraSecuencia_ = 0;
}
