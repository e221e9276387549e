#include "GENEW/runtime/RespuestaSQL.h"

#include "GENEW/runtime/comun/Rutinas.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVector>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QString NombreRowguid = QStringLiteral("rowguid");
const QChar PuntoMedio(0x00B7);

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
    const double entero = std::floor(dias);
    const qint64 ms = std::llround((dias - entero) * 86400000.0);
    return FechaHora(FechaCero().date().addDays(static_cast<qint64>(entero))).addMSecs(ms);
}

// Large answers are mostly dates and numbers: with the program's default formats they are
// written here digit by digit, giving exactly the text of FechaHoraATexto and
// FlotanteATexto (the common routines, used for any other format) in a fraction of the time.
void anadirDigitos(QString &destino, int valor, int cifras)
{
    QChar buffer[4];
    for (int i = cifras - 1; i >= 0; --i) {
        buffer[i] = QChar(u'0' + valor % 10);
        valor /= 10;
    }
    destino.append(buffer, cifras);
}

bool formatosFechaPorDefecto()
{
    const AjustesComunes &ajustes = ajustesComunes();
    return ajustes.FormatoFechaCorta == QLatin1String("dd/mm/yyyy") && ajustes.SeparadorFecha == u'/'
        && ajustes.FormatoHoraLarga == QLatin1String("hh:nn:ss") && ajustes.SeparadorHora == u':';
}

void anadirFechaRapida(QString &destino, const QDate &fecha)
{
    anadirDigitos(destino, fecha.day(), 2);
    destino.append(u'/');
    anadirDigitos(destino, fecha.month(), 2);
    destino.append(u'/');
    anadirDigitos(destino, fecha.year(), 4);
}

void anadirHoraRapida(QString &destino, const QTime &hora)
{
    anadirDigitos(destino, hora.hour(), 2);
    destino.append(u':');
    anadirDigitos(destino, hora.minute(), 2);
    destino.append(u':');
    anadirDigitos(destino, hora.second(), 2);
}

void anadirFechaHora(QString &destino, const QDateTime &valor, TFieldType tipo)
{
    const QDate fecha = valor.date();
    if (!formatosFechaPorDefecto() || fecha.year() < 1 || fecha.year() > 9999) {
        if (tipo == ftTime)
            destino.append(FormatearFechaHora(ajustesComunes().FormatoHoraLarga, valor));
        else if (tipo == ftDate)
            destino.append(FormatearFechaHora(ajustesComunes().FormatoFechaCorta, valor));
        else
            destino.append(FechaHoraATexto(valor));
        return;
    }
    const QTime hora = valor.time();
    if (tipo == ftTime) {
        anadirHoraRapida(destino, hora);
        return;
    }
    anadirFechaRapida(destino, fecha);
    if (tipo != ftDate && hora != QTime(0, 0)) {
        destino.append(u' ');
        anadirHoraRapida(destino, hora);
    }
}

// The shortest text that reads back as the number is the 15-digit text whenever it has
// 15 significant digits or fewer (most stored amounts); anything else, and the range in
// which the common routine writes an exponent, goes through FlotanteATexto.
void anadirNumero(QString &destino, double numero)
{
    const double magnitud = std::fabs(numero);
    if (numero != 0 && !(magnitud >= 1e-4 && magnitud < 1e15)) {
        destino.append(FlotanteATexto(numero));
        return;
    }
    char buffer[64];
    const auto [fin, error] = std::to_chars(buffer, buffer + sizeof buffer, numero, std::chars_format::fixed);
    int significativas = 0;
    bool empezado = false;
    for (const char *c = buffer; c != fin; ++c) {
        if (*c >= '1' && *c <= '9')
            empezado = true;
        if (empezado && *c >= '0' && *c <= '9')
            ++significativas;
    }
    if (error != std::errc() || significativas > 15) {
        destino.append(FlotanteATexto(numero));
        return;
    }
    const QChar decimal = ajustesComunes().SeparadorDecimal;
    for (const char *c = buffer; c != fin; ++c)
        destino.append(*c == '.' ? decimal : QChar(QLatin1Char(*c)));
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
        anadirNumero(destino, valor.toDouble());
        return;
    case QMetaType::Bool:
        destino.append(valor.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
        return;
    case QMetaType::QDateTime:
        anadirFechaHora(destino, valor.toDateTime(), tipo);
        return;
    case QMetaType::QDate:
        anadirFechaHora(destino, FechaHora(valor.toDate()), tipo);
        return;
    case QMetaType::QTime:
        anadirFechaHora(destino, FechaHora(FechaCero().date(), valor.toTime()), tipo);
        return;
    case QMetaType::QByteArray:
        destino.append(QString::fromUtf8(valor.toByteArray()));
        return;
    case QMetaType::QString: {
        const QString texto = valor.toString();
        if (esTipoFecha(tipo)) {
            const QDateTime fecha = FechaHoraISO(texto);
            if (fecha.isValid()) {
                anadirFechaHora(destino, fecha, tipo);
                return;
            }
        } else if (esTipoDecimal(tipo)) {
            // Exact numerics may come as text with a decimal point.
            bool ok = false;
            const double numero = texto.toDouble(&ok);
            if (ok) {
                anadirNumero(destino, numero);
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
        QString lineas = opciones;
        lineas.replace(u',', QStringLiteral("\r\n"));
        const QString delimitador = LeerValorDeLista(OpcionSQL::DelimitadorCRLFMemo, lineas);
        if (!delimitador.isEmpty())
            formato.delimitadorMemo = delimitador;
    }
    return formato;
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
