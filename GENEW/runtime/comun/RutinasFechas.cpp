#include "GENEW/runtime/comun/RutinasFechas.h"

#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"

#include <QStringList>

namespace {

// Typed dates must lie after 01/01/1890.
constexpr QDate kFechaMinima = QDate::fromJulianDay(2411369);

QDateTime Valida(const QDateTime &fecha)
{
    return fecha.isValid() ? fecha : FechaCero();
}

} // namespace

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
        return FechaHora(FechaCero().date(), hora);
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
