#include "GENEW/data/RespuestaSQL.h"

#include "GENEW/runtime/comun/Errores.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVector>
#include <cmath>

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QString NombreRowguid = QStringLiteral("rowguid");
const QChar PuntoMedio(0x00B7);

// Two-digit and four-digit fields written straight into the answer; the answer of a
// large SELECT is mostly dates and numbers, and QDateTime::toString is slow.
void anadirDigitos(QString &destino, int valor, int cifras)
{
    QChar buffer[8];
    for (int i = cifras - 1; i >= 0; --i) {
        buffer[i] = QChar(u'0' + valor % 10);
        valor /= 10;
    }
    destino.append(buffer, cifras);
}

void anadirFecha(QString &destino, const QDate &fecha)
{
    anadirDigitos(destino, fecha.day(), 2);
    destino.append(u'/');
    anadirDigitos(destino, fecha.month(), 2);
    destino.append(u'/');
    const int anyo = fecha.year();
    if (anyo >= 0 && anyo <= 9999)
        anadirDigitos(destino, anyo, 4);
    else
        destino.append(QString::number(anyo));
}

void anadirHora(QString &destino, const QTime &hora)
{
    anadirDigitos(destino, hora.hour(), 2);
    destino.append(u':');
    anadirDigitos(destino, hora.minute(), 2);
    destino.append(u':');
    anadirDigitos(destino, hora.second(), 2);
}

bool esTipoFecha(TFieldType tipo)
{
    return tipo == ftDate || tipo == ftTime || tipo == ftDateTime;
}

bool esTipoDecimal(TFieldType tipo)
{
    return tipo == ftFloat || tipo == ftCurrency || tipo == ftBCD;
}

bool esTipoMemo(TFieldType tipo)
{
    return tipo == ftMemo || tipo == ftFmtMemo;
}

// Day numbers count from the zero date 30/12/1899, the time being the fraction of a day.
QDateTime fechaDeNumero(double dias)
{
    const QDate cero(1899, 12, 30);
    const double entero = std::floor(dias);
    const qint64 ms = std::llround((dias - entero) * 86400000.0);
    return QDateTime(cero.addDays(static_cast<qint64>(entero)), QTime(0, 0)).addMSecs(ms);
}

// Engines that keep dates as text give them in ISO form, with a blank or a "T".
QDateTime fechaDeTexto(const QString &texto)
{
    QString iso = texto.trimmed();
    if (iso.size() > 10 && iso.at(10) == u' ')
        iso[10] = u'T';
    QDateTime fecha = QDateTime::fromString(iso, Qt::ISODateWithMs);
    if (!fecha.isValid()) {
        const QDate soloFecha = QDate::fromString(iso, Qt::ISODate);
        if (soloFecha.isValid())
            fecha = QDateTime(soloFecha, QTime(0, 0));
    }
    return fecha;
}

void anadirFechaHora(QString &destino, const QDateTime &valor, TFieldType tipo)
{
    const QTime hora = valor.time();
    if (tipo == ftTime) {
        anadirHora(destino, hora);
        return;
    }
    anadirFecha(destino, valor.date());
    if (tipo != ftDate && (hora.hour() != 0 || hora.minute() != 0 || hora.second() != 0)) {
        destino.append(u' ');
        anadirHora(destino, hora);
    }
}

void anadirValor(QString &destino, const QVariant &valor, TFieldType tipo)
{
    if (valor.isNull())
        return;
    switch (valor.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
        if (esTipoFecha(tipo))
            break;
        destino.append(QString::number(valor.toInt()));
        return;
    case QMetaType::LongLong:
    case QMetaType::Long:
        if (esTipoFecha(tipo))
            break;
        destino.append(QString::number(valor.toLongLong()));
        return;
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::ULong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        destino.append(QString::number(valor.toULongLong()));
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        if (esTipoFecha(tipo))
            break;
        destino.append(TextoNumeroSQL(valor.toDouble()));
        return;
    case QMetaType::Bool:
        destino.append(valor.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
        return;
    case QMetaType::QDateTime:
        anadirFechaHora(destino, valor.toDateTime(), tipo);
        return;
    case QMetaType::QDate:
        anadirFechaHora(destino, QDateTime(valor.toDate(), QTime(0, 0)), tipo);
        return;
    case QMetaType::QTime:
        anadirFechaHora(destino, QDateTime(QDate(1899, 12, 30), valor.toTime()), tipo);
        return;
    case QMetaType::QByteArray:
        destino.append(QString::fromUtf8(valor.toByteArray()));
        return;
    case QMetaType::QString: {
        const QString texto = valor.toString();
        if (esTipoFecha(tipo)) {
            const QDateTime fecha = fechaDeTexto(texto);
            if (fecha.isValid()) {
                anadirFechaHora(destino, fecha, tipo);
                return;
            }
        } else if (esTipoDecimal(tipo)) {
            // Exact numerics may come as text with a decimal point.
            bool ok = false;
            const double numero = texto.toDouble(&ok);
            if (ok) {
                destino.append(TextoNumeroSQL(numero));
                return;
            }
        }
        destino.append(texto);
        return;
    }
    default:
        break;
    }
    if (esTipoFecha(tipo)) {
        bool ok = false;
        const double dias = valor.toDouble(&ok);
        if (ok) {
            anadirFechaHora(destino, fechaDeNumero(dias), tipo);
            return;
        }
    }
    destino.append(valor.toString());
}

// A memo's line breaks give way to the delimiter so that the row stays on one line;
// a bare LF (texts typed on this system) counts as a line break too.
void anadirMemo(QString &destino, const QVariant &valor, const QString &delimitador)
{
    if (valor.isNull())
        return;
    QString texto = valor.typeId() == QMetaType::QByteArray ? QString::fromUtf8(valor.toByteArray())
                                                              : valor.toString();
    if (texto.contains(u'\n') || texto.contains(u'\r')) {
        texto.replace(CRLF, delimitador);
        texto.replace(QChar(u'\n'), delimitador);
        texto.replace(QChar(u'\r'), delimitador);
    }
    destino.append(texto);
}

struct Columna
{
    QString nombre;
    TFieldType tipo;
    bool memo;
    bool rowguid;
};

// The value of a Name=Value option inside the option text (its pieces separated by ",").
QString valorOpcion(const QString &opciones, const QString &nombre)
{
    const QString prefijo = nombre + u'=';
    const QStringList piezas = opciones.split(u',');
    for (const QString &pieza : piezas) {
        if (pieza.startsWith(prefijo, Qt::CaseInsensitive))
            return pieza.mid(prefijo.size());
    }
    return QString();
}

} // namespace

QString RespuestaErrorSQL(const QString &motivo)
{
    return PrefijoErrorSQL + motivo;
}

bool EsRespuestaErrorSQL(const QString &respuesta)
{
    return respuesta.startsWith(PrefijoErrorSQL);
}

FormatoRespuestaSQL FormatoRespuestaSQL::deOpciones(const QString &opciones)
{
    FormatoRespuestaSQL formato;
    formato.formatoINI = opciones.contains(OpcionSQL::FormatoINI);
    formato.conservarUltimoCRLF = opciones.contains(OpcionSQL::NoEliminarUltimoCRLF);
    if (opciones.contains(OpcionSQL::DelimitadorCRLFMemo)) {
        const QString delimitador = valorOpcion(opciones, OpcionSQL::DelimitadorCRLFMemo);
        if (!delimitador.isEmpty())
            formato.delimitadorMemo = delimitador;
    }
    return formato;
}

QString TextoNumeroSQL(double numero)
{
    if (std::isnan(numero))
        return QStringLiteral("NAN");
    if (std::isinf(numero))
        return numero > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    const double magnitud = std::fabs(numero);
    if (numero == std::floor(numero) && magnitud < 1e15)
        return QString::number(static_cast<qint64>(numero));
    if (magnitud >= 0.0001 && magnitud < 1e15) {
        // Fixed notation in this range is exactly what 'g' gives with 15 digits.
        QString texto = QString::number(numero, 'g', 15);
        texto.replace(u'.', u',');
        return texto;
    }

    // Fifteen significant digits, trailing zeros dropped; fixed notation from 0.00001 up
    // to fifteen integer digits, scientific ("1,5E20", "1,5E-6") outside that range.
    const QString cientifico = QString::number(numero, 'e', 14);
    const qsizetype posE = cientifico.indexOf(u'e');
    const int exponente = cientifico.mid(posE + 1).toInt();
    QString digitos = cientifico.left(posE);
    const bool negativo = digitos.startsWith(u'-');
    if (negativo)
        digitos.remove(0, 1);
    digitos.remove(u'.');
    while (digitos.size() > 1 && digitos.endsWith(u'0'))
        digitos.chop(1);

    QString texto;
    if (negativo)
        texto.append(u'-');
    if (std::fabs(numero) >= 0.00001 && exponente < 15) {
        if (exponente < 0) {
            texto.append(QStringLiteral("0,"));
            texto.append(QString(-exponente - 1, u'0'));
            texto.append(digitos);
        } else if (digitos.size() <= exponente + 1) {
            texto.append(digitos);
            texto.append(QString(exponente + 1 - digitos.size(), u'0'));
        } else {
            texto.append(digitos.left(exponente + 1));
            texto.append(u',');
            texto.append(digitos.mid(exponente + 1));
        }
        return texto;
    }
    texto.append(digitos.left(1));
    if (digitos.size() > 1) {
        texto.append(u',');
        texto.append(digitos.mid(1));
    }
    texto.append(u'E');
    texto.append(QString::number(exponente));
    return texto;
}

QString TextoValorSQL(const QVariant &valor, TFieldType tipo)
{
    QString texto;
    anadirValor(texto, valor, tipo);
    return texto;
}

QString FormatearRespuestaSQL(FilasRespuestaSQL &filas, const QString &opciones)
{
    return FormatearRespuestaSQL(filas, FormatoRespuestaSQL::deOpciones(opciones));
}

QString FormatearRespuestaSQL(FilasRespuestaSQL &filas, const FormatoRespuestaSQL &formato)
{
    const int numeroColumnas = filas.numeroColumnas();
    QVector<Columna> columnas;
    columnas.reserve(numeroColumnas);
    for (int i = 0; i < numeroColumnas; ++i) {
        const QString nombre = filas.nombreColumna(i);
        const TFieldType tipo = filas.tipoColumna(i);
        columnas.append(Columna{nombre, tipo, esTipoMemo(tipo), nombre == NombreRowguid});
    }

    QString respuesta;
    const bool unaColumna = numeroColumnas == 1 && !formato.formatoINI;
    while (filas.siguienteFila()) {
        if (unaColumna) {
            // A single column is written as it stands, line breaks included.
            anadirValor(respuesta, filas.valor(0), columnas[0].tipo);
        } else if (formato.formatoINI) {
            bool primera = true;
            for (int i = 0; i < numeroColumnas; ++i) {
                const Columna &columna = columnas[i];
                QVariant valor;
                if (columna.memo) {
                    try {
                        valor = filas.valor(i);
                    } catch (const gp::Error &) {
                        continue;   // an unreadable memo is left out of the row
                    }
                } else if (!columna.rowguid) {
                    valor = filas.valor(i);
                }
                if (!primera)
                    respuesta.append(PuntoMedio);
                primera = false;
                respuesta.append(columna.nombre);
                respuesta.append(u'=');
                if (columna.memo)
                    anadirMemo(respuesta, valor, formato.delimitadorMemo);
                else
                    anadirValor(respuesta, valor, columna.tipo);
            }
        } else {
            for (int i = 0; i < numeroColumnas; ++i) {
                const Columna &columna = columnas[i];
                if (i > 0)
                    respuesta.append(u'|');
                if (columna.rowguid)
                    continue;
                if (columna.memo)
                    anadirMemo(respuesta, filas.valor(i), formato.delimitadorMemo);
                else
                    anadirValor(respuesta, filas.valor(i), columna.tipo);
            }
        }
        respuesta.append(CRLF);
    }
    if (!formato.conservarUltimoCRLF && respuesta.endsWith(CRLF))
        respuesta.chop(2);
    return respuesta;
}
