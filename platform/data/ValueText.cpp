#include "platform/data/ValueText.h"
#include "platform/base/FechaHora.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

namespace plat {

QDateTime zeroDate()
{
    return FechaCero();
}

QString floatToText(double value)
{
    if (std::isnan(value) || std::isinf(value))
        return QString::number(value);
    QString text = QString::number(value, 'g', 15);
    if (text.contains(u'e')) {
        // Keep plain digits for the magnitudes the program stores.
        if (std::fabs(value) < 1e15 && std::fabs(value) >= 1e-4)
            text = QString::number(value, 'f', 15 - int(std::floor(std::log10(std::fabs(value)))) - 1);
        if (text.contains(u'.') && !text.contains(u'e')) {
            while (text.endsWith(u'0'))
                text.chop(1);
            if (text.endsWith(u'.'))
                text.chop(1);
        }
    }
    text.replace(u'.', u',');
    return text;
}

bool textToFloat(const QString &text, double &value)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    if (t.contains(u',')) {
        t.remove(u'.');
        t.replace(u',', u'.');
    }
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!number.match(t).hasMatch())
        return false;
    bool ok = false;
    value = t.toDouble(&ok);
    return ok;
}

bool textToInteger(const QString &text, qint64 &value)
{
    static const QRegularExpression integer(QStringLiteral("^\\s*[+-]?\\d+\\s*$"));
    if (!integer.match(text).hasMatch())
        return false;
    bool ok = false;
    value = text.trimmed().toLongLong(&ok);
    return ok;
}

bool textToBoolean(const QString &text, bool &value)
{
    const QString t = text.trimmed().toLower();
    static const QStringList yes{QStringLiteral("true"), QStringLiteral("t"), QStringLiteral("1"),
                                 QStringLiteral("si"), QStringLiteral("sí"), QStringLiteral("s"),
                                 QStringLiteral("yes"), QStringLiteral("y")};
    static const QStringList no{QStringLiteral("false"), QStringLiteral("f"), QStringLiteral("0"),
                                QStringLiteral("no"), QStringLiteral("n")};
    if (yes.contains(t)) {
        value = true;
        return true;
    }
    if (no.contains(t)) {
        value = false;
        return true;
    }
    return false;
}

QString dateTimeToText(const QDateTime &value, TFieldType type)
{
    if (!value.isValid())
        return QString();
    const QString time = value.time().toString(QStringLiteral("HH:mm:ss"));
    if (type == ftTime)
        return time;
    const QString date = value.date().toString(QStringLiteral("dd/MM/yyyy"));
    if (type == ftDate || value.time() == QTime(0, 0))
        return date;
    return date + u' ' + time;
}

namespace {

bool readTime(const QString &text, QTime &time)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2})(?:[.,](\\d{1,3}))?)?$"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    time = QTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                 m.captured(4).leftJustified(3, u'0').left(3).toInt());
    return time.isValid();
}

bool readDate(const QString &text, QDate &date)
{
    static const QRegularExpression spanish(QStringLiteral("^(\\d{1,2})[/.-](\\d{1,2})[/.-](\\d{1,4})$"));
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    const QString t = text.trimmed();
    if (auto m = iso.match(t); m.hasMatch()) {
        date = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        return date.isValid();
    }
    if (auto m = spanish.match(t); m.hasMatch()) {
        int year = m.captured(3).toInt();
        if (m.captured(3).size() <= 2)
            year += year < 50 ? 2000 : 1900;
        date = QDate(year, m.captured(2).toInt(), m.captured(1).toInt());
        return date.isValid();
    }
    return false;
}

} // namespace

bool textToDateTime(const QString &text, TFieldType type, QDateTime &value)
{
    const QString t = text.trimmed();
    if (type == ftTime) {
        QTime time;
        if (!readTime(t, time))
            return false;
        value = FechaHora(zeroDate().date(), time);
        return true;
    }
    QString datePart = t, timePart;
    const qsizetype blank = t.indexOf(QRegularExpression(QStringLiteral("[ T]")));
    if (blank > 0) {
        datePart = t.left(blank);
        timePart = t.mid(blank + 1).trimmed();
    }
    QDate date;
    QTime time(0, 0);
    if (!readDate(datePart, date))
        return false;
    if (!timePart.isEmpty() && !readTime(timePart, time))
        return false;
    value = FechaHora(date, type == ftDate ? QTime(0, 0) : time);
    return true;
}

namespace {

struct NumberSection
{
    QString prefix, suffix;
    int minInteger = 0, minDecimals = 0, maxDecimals = 0;
    bool thousands = false, hasPlaces = false;
};

// Splits on ';' outside quotes.
QStringList sections(const QString &format)
{
    QStringList out;
    QString current;
    QChar quote;
    for (QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            out << current;
            current.clear();
            continue;
        }
        current += c;
    }
    out << current;
    return out;
}

NumberSection parseSection(const QString &section)
{
    NumberSection s;
    bool inDecimals = false, placesSeen = false, placesDone = false;
    QChar quote;
    for (QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                (placesSeen ? s.suffix : s.prefix) += c;
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
            continue;
        }
        const bool place = c == u'0' || c == u'#';
        if (!placesDone && (place || (placesSeen && (c == u'.' || c == u',')) || (c == u'.' && !placesSeen))) {
            placesSeen = true;
            s.hasPlaces = true;
            if (c == u'.')
                inDecimals = true;
            else if (c == u',')
                s.thousands = true;
            else if (inDecimals) {
                ++s.maxDecimals;
                if (c == u'0')
                    s.minDecimals = s.maxDecimals;
            } else if (c == u'0') {
                ++s.minInteger;
            }
            continue;
        }
        if (placesSeen)
            placesDone = true;
        (placesSeen ? s.suffix : s.prefix) += c;
    }
    return s;
}

// A mask read into its sections: positive, and negative and zero when it has them.
struct NumberFormat
{
    NumberSection positive, negative, zero;
    bool hasNegative = false, hasZero = false;

    explicit NumberFormat(const QString &format)
    {
        const QStringList parts = sections(format);
        positive = parseSection(parts.value(0));
        hasNegative = parts.size() > 1 && !parts[1].isEmpty();
        if (hasNegative)
            negative = parseSection(parts[1]);
        hasZero = parts.size() > 2 && !parts[2].isEmpty();
        if (hasZero)
            zero = parseSection(parts[2]);
    }
};

// Listings and grids format column after column with one mask: the last mask read is kept,
// as reading it costs more than the number.
const NumberFormat &numberFormat(const QString &format)
{
    thread_local QString lastText;
    thread_local std::optional<NumberFormat> last;
    if (!last || format != lastText) {
        last.emplace(format);
        lastText = format;
    }
    return *last;
}

} // namespace

QString formatFloat(const QString &format, double value)
{
    if (format.isEmpty())
        return floatToText(value);
    const NumberFormat &parsed = numberFormat(format);
    const NumberSection *chosen = &parsed.positive;
    bool sign = value < 0;
    if (value < 0 && parsed.hasNegative) {
        chosen = &parsed.negative;
        sign = false;
    } else if (value == 0 && parsed.hasZero) {
        chosen = &parsed.zero;
    }
    const NumberSection &s = *chosen;
    if (!s.hasPlaces)
        return s.prefix + s.suffix;
    // Made in one string from views of the fixed text: a number is formatted for every row
    // of a listing.
    const QString fixed = QString::number(std::fabs(value), 'f', s.maxDecimals);
    const QStringView all(fixed);
    const qsizetype point = all.indexOf(u'.');
    QStringView integer = point < 0 ? all : all.left(point);
    QStringView decimals = point < 0 ? QStringView() : all.mid(point + 1);
    while (decimals.size() > s.minDecimals && decimals.endsWith(u'0'))
        decimals.chop(1);
    if (integer == u"0" && s.minInteger == 0)
        integer = QStringView();
    const auto onlyZeros = [](QStringView t) { return std::all_of(t.begin(), t.end(), [](QChar c) { return c == u'0'; }); };
    const bool isZero = onlyZeros(integer) && onlyZeros(decimals);
    const qsizetype padding = std::max<qsizetype>(0, s.minInteger - integer.size());
    const qsizetype digits = padding + integer.size();
    QString out;
    out.reserve(s.prefix.size() + 1 + digits + digits / 3 + 1 + decimals.size() + s.suffix.size());
    out += s.prefix;
    if (sign && !isZero)
        out += u'-';
    for (qsizetype i = 0; i < digits; ++i) {
        if (s.thousands && i > 0 && (digits - i) % 3 == 0)
            out += u'.';
        out += i < padding ? QChar(u'0') : integer[i - padding];
    }
    if (!decimals.isEmpty()) {
        out += u',';
        out += decimals;
    }
    out += s.suffix;
    return out;
}

QString formatDateTime(const QString &format, const QDateTime &value)
{
    static const char *const months[] = {"enero", "febrero", "marzo", "abril", "mayo", "junio", "julio",
                                         "agosto", "septiembre", "octubre", "noviembre", "diciembre"};
    static const char *const days[] = {"lunes", "martes", "miércoles", "jueves", "viernes", "sábado", "domingo"};
    if (format.isEmpty())
        return dateTimeToText(value, ftDateTime);
    const QDate d = value.date();
    const QTime t = value.time();
    QString out;
    bool afterHour = false;
    for (int i = 0; i < format.size();) {
        const QChar c = format[i];
        const QChar lower = c.toLower();
        int run = 1;
        while (i + run < format.size() && format[i + run].toLower() == lower)
            ++run;
        auto two = [](int v) { return QString::number(v).rightJustified(2, u'0'); };
        if (c == u'\'' || c == u'"') {
            const int end = int(format.indexOf(c, i + 1));
            out += format.mid(i + 1, end < 0 ? -1 : end - i - 1);
            i = end < 0 ? int(format.size()) : end + 1;
            continue;
        }
        if (lower == u'd') {
            if (run >= 4)
                out += QString::fromUtf8(days[d.dayOfWeek() - 1]);
            else if (run == 3)
                out += QString::fromUtf8(days[d.dayOfWeek() - 1]).left(3);
            else
                out += run == 2 ? two(d.day()) : QString::number(d.day());
        } else if (lower == u'm' && afterHour && run <= 2) {
            out += run == 2 ? two(t.minute()) : QString::number(t.minute());
            afterHour = false;
        } else if (lower == u'm') {
            if (run >= 4)
                out += QString::fromUtf8(months[d.month() - 1]);
            else if (run == 3)
                out += QString::fromUtf8(months[d.month() - 1]).left(3);
            else
                out += run == 2 ? two(d.month()) : QString::number(d.month());
        } else if (lower == u'y') {
            out += run <= 2 ? two(d.year() % 100) : QString::number(d.year()).rightJustified(4, u'0');
        } else if (lower == u'h') {
            out += run >= 2 ? two(t.hour()) : QString::number(t.hour());
            afterHour = true;
            i += run;
            continue;
        } else if (lower == u'n') {
            out += run >= 2 ? two(t.minute()) : QString::number(t.minute());
        } else if (lower == u's') {
            out += run >= 2 ? two(t.second()) : QString::number(t.second());
        } else {
            out += format.mid(i, run);
            i += run;
            continue; // separators keep a pending hour so "hh:mm" reads minutes
        }
        afterHour = false;
        i += run;
    }
    return out;
}

} // namespace plat
