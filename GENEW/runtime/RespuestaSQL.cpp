#include "GENEW/runtime/RespuestaSQL.h"

#include "GENEW/runtime/comun/Rutinas.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVector>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace {

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

bool formatosFechaPorDefecto()
{
    const AjustesComunes &ajustes = ajustesComunes();
    return ajustes.FormatoFechaCorta == QLatin1String("dd/mm/yyyy") && ajustes.SeparadorFecha == u'/'
        && ajustes.FormatoHoraLarga == QLatin1String("hh:nn:ss") && ajustes.SeparadorHora == u':';
}

// The answer is written as UTF-8 into one buffer (grown geometrically) and decoded once at
// the end: values read from the engine as UTF-8 are copied as they are. Large answers are
// mostly dates and numbers: with the program's default formats they are written here digit
// by digit, giving exactly the text of FechaHoraATexto and FlotanteATexto (the common
// routines, used for any other format) in a fraction of the time. The settings are read
// once per answer.
class Escritor
{
public:
    Escritor() : fechasPorDefecto_(formatosFechaPorDefecto()), decimal_(QString(ajustesComunes().SeparadorDecimal).toStdString())
    {
        texto_.reserve(1 << 16);
    }

    // The answer's UTF-8 bytes so far; the last CR LF taken off when asked.
    QString decodificado(bool quitarUltimoCRLF) const
    {
        qsizetype largo = qsizetype(texto_.size());
        if (quitarUltimoCRLF && texto_.ends_with("\r\n"))
            largo -= 2;
        return QString::fromUtf8(texto_.data(), largo);
    }

    void bytes(const char *datos, qsizetype largo) { texto_.append(datos, size_t(largo)); }
    void caracter(char c) { texto_.push_back(c); }
    void cadena(QStringView texto)
    {
        // Most texts are ASCII: copied a character at a time, without a UTF-8 copy first.
        const size_t inicio = texto_.size();
        texto_.resize(inicio + size_t(texto.size()));
        char *destino = texto_.data() + inicio;
        for (const QChar c : texto) {
            if (c.unicode() >= 0x80) {
                texto_.resize(inicio);
                const QByteArray utf8 = texto.toUtf8();
                texto_.append(utf8.constData(), size_t(utf8.size()));
                return;
            }
            *destino++ = char(c.unicode());
        }
    }

    void entero(qint64 valor)
    {
        char buffer[24];
        const auto fin = std::to_chars(buffer, buffer + sizeof buffer, valor).ptr;
        texto_.append(buffer, size_t(fin - buffer));
    }

    void natural(quint64 valor)
    {
        char buffer[24];
        const auto fin = std::to_chars(buffer, buffer + sizeof buffer, valor).ptr;
        texto_.append(buffer, size_t(fin - buffer));
    }

    // The shortest text that reads back as the number is the 15-digit text whenever it has
    // 15 significant digits or fewer (most stored amounts); anything else, and the range in
    // which the common routine writes an exponent, goes through FlotanteATexto.
    void numero(double valor)
    {
        const double magnitud = std::fabs(valor);
        if (valor != 0 && !(magnitud >= 1e-4 && magnitud < 1e15)) {
            cadena(FlotanteATexto(valor));
            return;
        }
        char buffer[64];
        const auto [fin, error] = std::to_chars(buffer, buffer + sizeof buffer, valor, std::chars_format::fixed);
        int significativas = 0;
        bool empezado = false;
        const char *punto = nullptr;
        for (const char *c = buffer; c != fin; ++c) {
            if (*c >= '1' && *c <= '9')
                empezado = true;
            if (empezado && *c >= '0' && *c <= '9')
                ++significativas;
            if (*c == '.')
                punto = c;
        }
        if (error != std::errc() || significativas > 15) {
            cadena(FlotanteATexto(valor));
            return;
        }
        if (!punto) {
            texto_.append(buffer, size_t(fin - buffer));
            return;
        }
        texto_.append(buffer, size_t(punto - buffer));
        texto_.append(decimal_);
        texto_.append(punto + 1, size_t(fin - punto - 1));
    }

    // A date and time by parts, as anadirFechaHora writes them with the default formats:
    // written into a few bytes on the stack and appended at once.
    void fechaHora(int anyo, int mes, int dia, int hora, int minuto, int segundo, bool medianoche, TFieldType tipo)
    {
        char buffer[19];
        char *c = buffer;
        if (tipo != ftTime) {
            c = digitos(c, dia, 2);
            *c++ = '/';
            c = digitos(c, mes, 2);
            *c++ = '/';
            c = digitos(c, anyo, 4);
        }
        if (tipo == ftTime || (tipo != ftDate && !medianoche)) {
            if (c != buffer)
                *c++ = ' ';
            c = digitos(c, hora, 2);
            *c++ = ':';
            c = digitos(c, minuto, 2);
            *c++ = ':';
            c = digitos(c, segundo, 2);
        }
        texto_.append(buffer, size_t(c - buffer));
    }

    void fechaHora(const QDateTime &valor, TFieldType tipo)
    {
        const QDate fecha = valor.date();
        if (!fechasPorDefecto_ || fecha.year() < 1 || fecha.year() > 9999) {
            if (tipo == ftTime)
                cadena(FormatearFechaHora(ajustesComunes().FormatoHoraLarga, valor));
            else if (tipo == ftDate)
                cadena(FormatearFechaHora(ajustesComunes().FormatoFechaCorta, valor));
            else
                cadena(FechaHoraATexto(valor));
            return;
        }
        const QTime hora = valor.time();
        fechaHora(fecha.year(), fecha.month(), fecha.day(), hora.hour(), hora.minute(), hora.second(),
                  hora == QTime(0, 0), tipo);
    }

    // A stored ISO text "yyyy-mm-dd" or "yyyy-mm-dd hh:mm:ss" of a date column, written
    // without making a date; false for any other text (the caller reads it the long way).
    bool fechaISO(const char *t, qsizetype largo, TFieldType tipo)
    {
        if (!fechasPorDefecto_ || (largo != 10 && largo != 19) || (tipo == ftTime && largo != 19))
            return false;
        int anyo, mes, dia, hora = 0, minuto = 0, segundo = 0;
        if (!leer(t, 0, 4, anyo) || t[4] != '-' || !leer(t, 5, 2, mes) || t[7] != '-' || !leer(t, 8, 2, dia)
            || anyo < 1 || !QDate::isValid(anyo, mes, dia))
            return false;
        if (largo == 19
            && (t[10] != ' ' || !leer(t, 11, 2, hora) || t[13] != ':' || !leer(t, 14, 2, minuto) || t[16] != ':'
                || !leer(t, 17, 2, segundo) || !QTime::isValid(hora, minuto, segundo)))
            return false;
        fechaHora(anyo, mes, dia, hora, minuto, segundo, hora == 0 && minuto == 0 && segundo == 0, tipo);
        return true;
    }

    // A memo's line breaks give way to the delimiter so that the row stays on one line;
    // a bare LF (texts typed on this system) or CR counts as a line break too.
    void memo(const char *t, qsizetype largo, const QByteArray &delimitador)
    {
        qsizetype desde = 0;
        for (qsizetype i = 0; i < largo; ++i) {
            if (t[i] != '\r' && t[i] != '\n')
                continue;
            texto_.append(t + desde, size_t(i - desde));
            texto_.append(delimitador.constData(), size_t(delimitador.size()));
            if (t[i] == '\r' && i + 1 < largo && t[i + 1] == '\n')
                ++i;
            desde = i + 1;
        }
        texto_.append(t + desde, size_t(largo - desde));
    }

private:
    static bool leer(const char *t, int desde, int cifras, int &valor)
    {
        valor = 0;
        for (int i = desde; i < desde + cifras; ++i) {
            if (t[i] < '0' || t[i] > '9')
                return false;
            valor = valor * 10 + (t[i] - '0');
        }
        return true;
    }

    static char *digitos(char *destino, int valor, int cifras)
    {
        for (int i = cifras - 1; i >= 0; --i) {
            destino[i] = char('0' + valor % 10);
            valor /= 10;
        }
        return destino + cifras;
    }

    // A standard string: its appends are a capacity check and a copy.
    std::string texto_;
    bool fechasPorDefecto_;
    std::string decimal_;
};

void anadirValor(Escritor &destino, const QVariant &valor, TFieldType tipo)
{
    if (valor.isNull())
        return;
    switch (valor.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::LongLong:
    case QMetaType::Long:
        if (esTipoFecha(tipo))
            break;
        destino.entero(valor.toLongLong());
        return;
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::ULong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        destino.natural(valor.toULongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        if (esTipoFecha(tipo))
            break;
        destino.numero(valor.toDouble());
        return;
    case QMetaType::Bool:
        destino.cadena(valor.toBool() ? u"True" : u"False");
        return;
    case QMetaType::QDateTime:
        destino.fechaHora(valor.toDateTime(), tipo);
        return;
    case QMetaType::QDate:
        destino.fechaHora(FechaHora(valor.toDate()), tipo);
        return;
    case QMetaType::QTime:
        destino.fechaHora(FechaHora(FechaCero().date(), valor.toTime()), tipo);
        return;
    case QMetaType::QByteArray: {
        // Decoded and encoded again, so that a malformed sequence reads as it always has.
        destino.cadena(QString::fromUtf8(valor.toByteArray()));
        return;
    }
    case QMetaType::QString: {
        const QString texto = valor.toString();
        if (esTipoFecha(tipo)) {
            const QDateTime fecha = FechaHoraISO(texto);
            if (fecha.isValid()) {
                destino.fechaHora(fecha, tipo);
                return;
            }
        } else if (esTipoDecimal(tipo)) {
            // Exact numerics may come as text with a decimal point.
            bool ok = false;
            const double numero = texto.toDouble(&ok);
            if (ok) {
                destino.numero(numero);
                return;
            }
        }
        destino.cadena(texto);
        return;
    }
    default:
        break;
    }
    if (esTipoFecha(tipo)) {
        bool ok = false;
        const double dias = valor.toDouble(&ok);
        if (ok) {
            destino.fechaHora(fechaDeNumero(dias), tipo);
            return;
        }
    }
    destino.cadena(valor.toString());
}

void anadirMemo(Escritor &destino, const QVariant &valor, const QByteArray &delimitador)
{
    if (valor.isNull())
        return;
    const QByteArray texto = valor.typeId() == QMetaType::QByteArray
        ? QString::fromUtf8(valor.toByteArray()).toUtf8()
        : valor.toString().toUtf8();
    destino.memo(texto.constData(), texto.size(), delimitador);
}

// A value read straight from the source's cell; false when it must be read as a QVariant
// (the source cannot give it so, or its text needs reading as a date or a number).
bool anadirCelda(Escritor &destino, const CeldaSQL &celda, TFieldType tipo)
{
    switch (celda.tipo) {
    case CeldaSQL::Tipo::Nulo:
        return true;
    case CeldaSQL::Tipo::Entero:
        if (esTipoFecha(tipo))
            return false;
        destino.entero(celda.entero);
        return true;
    case CeldaSQL::Tipo::Real:
        if (esTipoFecha(tipo))
            return false;
        destino.numero(celda.real);
        return true;
    case CeldaSQL::Tipo::Texto:
        if (esTipoFecha(tipo))
            return destino.fechaISO(celda.texto, celda.largo, tipo);
        if (esTipoDecimal(tipo))
            return false;
        destino.bytes(celda.texto, celda.largo);
        return true;
    case CeldaSQL::Tipo::Otro:
        break;
    }
    return false;
}

bool anadirMemoCelda(Escritor &destino, const CeldaSQL &celda, const QByteArray &delimitador)
{
    if (celda.tipo == CeldaSQL::Tipo::Nulo)
        return true;
    if (celda.tipo != CeldaSQL::Tipo::Texto)
        return false;
    destino.memo(celda.texto, celda.largo, delimitador);
    return true;
}

struct Columna
{
    QByteArray nombre;   // UTF-8
    TFieldType tipo;
    bool memo;
    bool rowguid;
};

void anadirColumna(Escritor &destino, FilasRespuestaSQL &filas, int i, TFieldType tipo)
{
    if (!anadirCelda(destino, filas.celda(i), tipo))
        anadirValor(destino, filas.valor(i), tipo);
}

void anadirMemoColumna(Escritor &destino, FilasRespuestaSQL &filas, int i, const QByteArray &delimitador)
{
    if (!anadirMemoCelda(destino, filas.celda(i), delimitador))
        anadirMemo(destino, filas.valor(i), delimitador);
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
    Escritor escritor;
    anadirValor(escritor, valor, tipo);
    return escritor.decodificado(false);
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
        columnas.append(Columna{nombre.toUtf8(), tipo, esTipoMemo(tipo), nombre == NombreRowguid});
    }
    const QByteArray delimitador = formato.delimitadorMemo.toUtf8();
    const QByteArray puntoMedio = QString(PuntoMedio).toUtf8();

    Escritor escritor;
    const bool unaColumna = numeroColumnas == 1 && !formato.formatoINI;
    while (filas.siguienteFila()) {
        if (unaColumna) {
            // A single column is written as it stands, line breaks included.
            anadirColumna(escritor, filas, 0, columnas[0].tipo);
        } else if (formato.formatoINI) {
            bool primera = true;
            for (int i = 0; i < numeroColumnas; ++i) {
                const Columna &columna = columnas[i];
                CeldaSQL celda;
                QVariant valor;
                if (columna.memo) {
                    try {
                        celda = filas.celda(i);
                        if (celda.tipo != CeldaSQL::Tipo::Nulo && celda.tipo != CeldaSQL::Tipo::Texto)
                            valor = filas.valor(i);
                    } catch (const gp::Error &) {
                        continue;   // an unreadable memo is left out of the row
                    }
                }
                if (!primera)
                    escritor.bytes(puntoMedio.constData(), puntoMedio.size());
                primera = false;
                escritor.bytes(columna.nombre.constData(), columna.nombre.size());
                escritor.caracter('=');
                if (columna.memo) {
                    if (!anadirMemoCelda(escritor, celda, delimitador))
                        anadirMemo(escritor, valor, delimitador);
                } else if (!columna.rowguid) {
                    anadirColumna(escritor, filas, i, columna.tipo);
                }
            }
        } else {
            for (int i = 0; i < numeroColumnas; ++i) {
                const Columna &columna = columnas[i];
                if (i > 0)
                    escritor.caracter('|');
                if (columna.rowguid)
                    continue;
                if (columna.memo)
                    anadirMemoColumna(escritor, filas, i, delimitador);
                else
                    anadirColumna(escritor, filas, i, columna.tipo);
            }
        }
        escritor.bytes("\r\n", 2);
    }
    return escritor.decodificado(!formato.conservarUltimoCRLF);
}
