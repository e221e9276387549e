#include "platform/base/FechaHora.h"

#include "platform/base/AjustesComunes.h"

#include <QStringList>

namespace {

// Built at compile time: dates made by other files' static initialisers use them.
constexpr QDate kDiaCero = QDate::fromJulianDay(2415019);      // 30/12/1899

// Whole number of 1 to maxDigitos digits.
bool LeerNumero(const QString &texto, int maxDigitos, int &valor)
{
    if (texto.isEmpty() || texto.size() > maxDigitos)
        return false;
    for (const QChar c : texto) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    valor = texto.toInt();
    return true;
}

// Order of day, month and year in the short date format, e.g. "dmy".
QString OrdenFecha()
{
    QString orden;
    for (const QChar c : ajustesComunes().FormatoFechaCorta.toLower()) {
        if ((c == QLatin1Char('d') || c == QLatin1Char('m') || c == QLatin1Char('y')) && !orden.contains(c))
            orden += c;
    }
    return orden.size() == 3 ? orden : QStringLiteral("dmy");
}

bool LeerHoraConMilisegundos(const QString &texto, QTime &hora)
{
    const QStringList partes = texto.trimmed().split(ajustesComunes().SeparadorHora);
    if (partes.size() < 2 || partes.size() > 3)
        return false;
    int h = 0, n = 0, s = 0, ms = 0;
    if (!LeerNumero(partes.at(0), 2, h) || !LeerNumero(partes.at(1), 2, n))
        return false;
    if (partes.size() == 3) {
        QString segundos = partes.at(2);
        const qsizetype punto = segundos.indexOf(QLatin1Char('.'));
        if (punto >= 0) {
            if (!LeerNumero(segundos.mid(punto + 1), 3, ms))
                return false;
            segundos.truncate(punto);
        }
        if (!LeerNumero(segundos, 2, s))
            return false;
    }
    if (h > 23 || n > 59 || s > 59)
        return false;
    hora = QTime(h, n, s, ms);
    return hora.isValid();
}

// Fixed-width ISO readers over any character type.
template <typename Caracter>
int Cifra(Caracter c)
{
    const auto v = static_cast<unsigned>(c) - unsigned('0');
    return v <= 9 ? int(v) : -1;
}

template <typename Caracter>
bool LeerCifras(const Caracter *texto, qsizetype largo, qsizetype desde, int cifras, int &valor)
{
    if (desde + cifras > largo)
        return false;
    valor = 0;
    for (int i = 0; i < cifras; ++i) {
        const int c = Cifra(texto[desde + i]);
        if (c < 0)
            return false;
        valor = valor * 10 + c;
    }
    return true;
}

template <typename Caracter>
QDate LeerFechaISO(const Caracter *texto, qsizetype largo)
{
    int anyo = 0, mes = 0, dia = 0;
    if (!LeerCifras(texto, largo, 0, 4, anyo) || largo < 10 || texto[4] != Caracter('-') || texto[7] != Caracter('-')
        || !LeerCifras(texto, largo, 5, 2, mes) || !LeerCifras(texto, largo, 8, 2, dia))
        return QDate();
    return QDate(anyo, mes, dia);   // invalid when the day does not exist
}

// The time from the start of the text; 'fin' is left past what was read.
template <typename Caracter>
QTime LeerHoraISO(const Caracter *texto, qsizetype largo, qsizetype &fin)
{
    int h = 0, n = 0, s = 0, ms = 0;
    if (!LeerCifras(texto, largo, 0, 2, h) || largo < 5 || texto[2] != Caracter(':') || !LeerCifras(texto, largo, 3, 2, n))
        return QTime();
    fin = 5;
    if (fin < largo && texto[fin] == Caracter(':')) {
        if (!LeerCifras(texto, largo, 6, 2, s))
            return QTime();
        fin = 8;
        if (fin < largo && (texto[fin] == Caracter('.') || texto[fin] == Caracter(','))) {
            ++fin;
            int peso = 100;
            const qsizetype inicio = fin;
            for (; fin < largo && Cifra(texto[fin]) >= 0; ++fin) {
                ms += Cifra(texto[fin]) * peso;
                peso /= 10;
            }
            if (fin == inicio)
                return QTime();
        }
    }
    if (!QTime::isValid(h, n, s, ms))
        return QTime();
    return QTime(h, n, s, ms);
}

// Past the time: nothing, or a zone ("Z", "+hh", "+hh:mm", "-hhmm"), maybe after a blank.
template <typename Caracter>
bool SoloZona(const Caracter *texto, qsizetype largo, qsizetype desde)
{
    qsizetype i = desde;
    if (i < largo && texto[i] == Caracter(' '))
        ++i;
    if (i == largo)
        return i == desde;   // a trailing blank alone is not a zone
    if (texto[i] == Caracter('Z'))
        return i + 1 == largo;
    if (texto[i] != Caracter('+') && texto[i] != Caracter('-'))
        return false;
    for (++i; i < largo; ++i) {
        if (Cifra(texto[i]) < 0 && texto[i] != Caracter(':'))
            return false;
    }
    return true;
}

template <typename Caracter>
QDateTime LeerFechaHoraISO(const Caracter *texto, qsizetype largo)
{
    while (largo > 0 && (texto[largo - 1] == Caracter(' ') || texto[largo - 1] == Caracter('\t')))
        --largo;
    while (largo > 0 && (texto[0] == Caracter(' ') || texto[0] == Caracter('\t'))) {
        ++texto;
        --largo;
    }
    const QDate fecha = LeerFechaISO(texto, largo);
    if (!fecha.isValid())
        return QDateTime();
    if (largo == 10)
        return FechaHora(fecha);
    if (texto[10] != Caracter(' ') && texto[10] != Caracter('T'))
        return QDateTime();
    qsizetype fin = 0;
    const QTime hora = LeerHoraISO(texto + 11, largo - 11, fin);
    if (!hora.isValid() || !SoloZona(texto + 11, largo - 11, fin))
        return QDateTime();
    return FechaHora(fecha, hora);
}

} // namespace

QDateTime FechaHora(const QDate &fecha, const QTime &hora)
{
    return QDateTime(fecha, hora, Qt::UTC);
}

QDateTime FechaHoraDeReloj(const QDateTime &valor)
{
    if (valor.timeSpec() == Qt::UTC)
        return valor;
    // A local time in a daylight-saving gap is invalid as an instant but keeps its parts.
    const QDate fecha = valor.date();
    const QTime hora = valor.time();
    return fecha.isValid() && hora.isValid() ? FechaHora(fecha, hora) : QDateTime();
}

QDateTime Ahora()
{
    const QDateTime local = QDateTime::currentDateTime();
    return FechaHora(local.date(), local.time());
}

QDateTime FechaHoraISO(QStringView texto)
{
    return LeerFechaHoraISO(texto.utf16(), texto.size());
}

QDateTime FechaHoraISO(QByteArrayView texto)
{
    return LeerFechaHoraISO(reinterpret_cast<const unsigned char *>(texto.data()), texto.size());
}

QDate FechaISO(QByteArrayView texto)
{
    return LeerFechaISO(reinterpret_cast<const unsigned char *>(texto.data()), texto.size());
}

QTime HoraISO(QByteArrayView texto)
{
    qsizetype fin = 0;
    const auto *t = reinterpret_cast<const unsigned char *>(texto.data());
    const QTime hora = LeerHoraISO(t, texto.size(), fin);
    return fin == texto.size() ? hora : QTime();
}

QDateTime FechaCero()
{
    return FechaHora(kDiaCero);
}

bool EsFechaCero(const QDateTime &fecha)
{
    return !fecha.isValid() || (fecha.date() == kDiaCero && fecha.time() == QTime(0, 0));
}

int CompletarAnyo(int anyo)
{
    if (anyo > 99)
        return anyo;
    return anyo < 50 ? anyo + 2000 : anyo + 1900;
}

bool LeerFecha(const QString &texto, QDate &fecha)
{
    const QStringList partes = texto.trimmed().split(ajustesComunes().SeparadorFecha);
    if (partes.size() < 2 || partes.size() > 3)
        return false;
    const QString orden = OrdenFecha();
    int dia = 0, mes = 0, anyo = Ahora().date().year();
    int leidas = 0;
    for (const QChar campo : orden) {
        if (campo == QLatin1Char('y') && partes.size() == 2)
            continue;   // day and month alone: this year
        const QString &parte = partes.at(leidas++);
        int valor = 0;
        if (!LeerNumero(parte, campo == QLatin1Char('y') ? 4 : 2, valor))
            return false;
        if (campo == QLatin1Char('d'))
            dia = valor;
        else if (campo == QLatin1Char('m'))
            mes = valor;
        else
            anyo = parte.size() <= 2 ? CompletarAnyo(valor) : valor;
    }
    if (anyo < 1 || !QDate::isValid(anyo, mes, dia))
        return false;
    fecha = QDate(anyo, mes, dia);
    return true;
}

bool LeerHora(const QString &texto, QTime &hora)
{
    return LeerHoraConMilisegundos(texto, hora);
}
