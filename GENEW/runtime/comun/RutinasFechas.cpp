#include "GENEW/runtime/comun/RutinasFechas.h"

#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"

#include <QStringList>

namespace {

// Built at compile time: dates made by other files' static initialisers use them.
constexpr QDate kDiaCero = QDate::fromJulianDay(2415019);      // 30/12/1899
constexpr QDate kFechaMinima = QDate::fromJulianDay(2411369);  // 01/01/1890; typed dates must lie after it

QDateTime Valida(const QDateTime &fecha)
{
    return fecha.isValid() ? fecha : FechaCero();
}

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

int AnyoDeFecha(const QDateTime &fecha)
{
    return Valida(fecha).date().year();
}

int MesDeFecha(const QDateTime &fecha)
{
    return Valida(fecha).date().month();
}

int DiaDeFecha(const QDateTime &fecha)
{
    return Valida(fecha).date().day();
}

int DiaDeLaSemana(const QDateTime &fecha)
{
    return Valida(fecha).date().dayOfWeek();
}

QDateTime SumarMeses(int n, const QDateTime &fecha)
{
    const QDateTime f = Valida(fecha);
    const QDate d = f.date();
    const int meses = d.year() * 12 + (d.month() - 1) + n;
    const int anyo = meses / 12;   // the program's dates have positive years
    const int mes = meses % 12 + 1;
    const int dia = std::min(d.day(), QDate(anyo, mes, 1).daysInMonth());
    return FechaHora(QDate(anyo, mes, dia), f.time());
}

QDateTime SumarAnyos(int n, const QDateTime &fecha)
{
    const QDateTime f = Valida(fecha);
    const QDate d = f.date();
    const int anyo = d.year() + n;
    int dia = d.day();
    if (d.month() == 2 && dia == 29 && !EsAnyoBisiesto(anyo))
        dia = 28;
    return FechaHora(QDate(anyo, d.month(), dia), QTime(0, 0));
}

bool EsAnyoBisiesto(int anyo)
{
    return anyo % 4 == 0 && (anyo % 100 != 0 || anyo % 400 == 0);
}

int CompletarAnyo(int anyo)
{
    if (anyo > 99)
        return anyo;
    return anyo < 50 ? anyo + 2000 : anyo + 1900;
}

QString NombreMes(int mes)
{
    static const char *const kNombres[12] = {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio",
                                             "Agosto", "Septiembre", "Octubre", "Noviembre", "Diciembre"};
    return mes >= 1 && mes <= 12 ? QString::fromLatin1(kNombres[mes - 1]) : QString();
}

int DiasDelMes(const QDateTime &fecha)
{
    return Valida(fecha).date().daysInMonth();
}

QDateTime PrimerDiaDelMes(const QDateTime &fecha)
{
    const QDateTime f = Valida(fecha);
    return FechaHora(QDate(f.date().year(), f.date().month(), 1), QTime(0, 0));
}

QDateTime UltimoDiaDelMes(const QDateTime &fecha)
{
    const QDateTime f = Valida(fecha);
    const QDate d = f.date();
    return FechaHora(QDate(d.year(), d.month(), d.daysInMonth()), QTime(0, 0));
}

double HoraADecimal(const QDateTime &fecha)
{
    const QTime t = Valida(fecha).time();
    return t.hour() + t.minute() / 60.0 + t.second() / 3600.0;
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

QDateTime TextoAFechaHora(const QString &texto)
{
    const QString t = texto.trimmed();
    const qsizetype blanco = t.indexOf(QLatin1Char(' '));
    const QString parteFecha = blanco < 0 ? t : t.left(blanco);
    const QString parteHora = blanco < 0 ? QString() : t.mid(blanco + 1).trimmed();
    QDate fecha;
    QTime hora(0, 0);
    if (LeerFecha(parteFecha, fecha)) {
        if (!parteHora.isEmpty() && !LeerHora(parteHora, hora))
            return FechaCero();
        return FechaHora(fecha, hora);
    }
    if (blanco < 0 && LeerHora(t, hora))
        return FechaHora(kDiaCero, hora);
    return FechaCero();
}

QString FormatearFechaHora(const QString &formato, const QDateTime &fechaHora)
{
    const QDateTime f = Valida(fechaHora);
    const QDate d = f.date();
    const QTime t = f.time();
    const AjustesComunes &ajustes = ajustesComunes();
    auto dos = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    QString r;
    bool trasHora = false;   // an "m" right after an hour stands for minutes
    const qsizetype largo = formato.size();
    for (qsizetype i = 0; i < largo;) {
        const QChar c = formato.at(i);
        const QChar baja = c.toLower();
        qsizetype n = 1;
        while (i + n < largo && formato.at(i + n).toLower() == baja)
            ++n;
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype cierre = formato.indexOf(c, i + 1);
            const qsizetype fin = cierre < 0 ? largo : cierre;
            r += formato.mid(i + 1, fin - i - 1);
            i = fin + 1;
            continue;
        }
        if (baja == QLatin1Char('d')) {
            r += n >= 2 ? dos(d.day()) : QString::number(d.day());
        } else if (baja == QLatin1Char('m') && trasHora) {
            r += n >= 2 ? dos(t.minute()) : QString::number(t.minute());
        } else if (baja == QLatin1Char('m')) {
            if (n >= 4)
                r += NombreMes(d.month());
            else if (n == 3)
                r += NombreMes(d.month()).left(3);
            else
                r += n == 2 ? dos(d.month()) : QString::number(d.month());
        } else if (baja == QLatin1Char('y')) {
            r += n >= 3 ? QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0')) : dos(d.year() % 100);
        } else if (baja == QLatin1Char('h')) {
            r += n >= 2 ? dos(t.hour()) : QString::number(t.hour());
        } else if (baja == QLatin1Char('n')) {
            r += n >= 2 ? dos(t.minute()) : QString::number(t.minute());
        } else if (baja == QLatin1Char('s')) {
            r += n >= 2 ? dos(t.second()) : QString::number(t.second());
        } else if (baja == QLatin1Char('z')) {
            r += n >= 3 ? QStringLiteral("%1").arg(t.msec(), 3, 10, QLatin1Char('0')) : QString::number(t.msec());
        } else {
            const QChar salida = c == QLatin1Char('/') ? ajustes.SeparadorFecha
                               : c == QLatin1Char(':') ? ajustes.SeparadorHora
                                                       : c;
            r += QString(n, salida);
        }
        if (baja != QLatin1Char(' ') && baja != QLatin1Char(':'))
            trasHora = baja == QLatin1Char('h');
        i += n;
    }
    return r;
}

QString FechaHoraATexto(const QDateTime &fecha)
{
    const QDateTime f = Valida(fecha);
    QString texto = FormatearFechaHora(ajustesComunes().FormatoFechaCorta, f);
    if (f.time() != QTime(0, 0))
        texto += QLatin1Char(' ') + FormatearFechaHora(ajustesComunes().FormatoHoraLarga, f);
    return texto;
}

bool ValidarFecha(const QString &texto, const QString &titulo)
{
    QDate fecha;
    if (LeerFecha(texto, fecha) && fecha > kFechaMinima)
        return true;
    if (!titulo.isEmpty())
        MensajeAviso(QStringLiteral("¡La fecha de ") + titulo + QStringLiteral(" es incorrecta! Repita por favor"));
    return false;
}

bool ValidarHora(const QString &texto, const QString &titulo)
{
    QTime hora;
    if (LeerHora(texto, hora))
        return true;
    if (!titulo.isEmpty())
        MensajeAviso(QStringLiteral("¡La hora de ") + titulo + QStringLiteral(" es incorrecta! Repita por favor"));
    return false;
}
