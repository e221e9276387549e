#include "platform/data/Field.h"

#include "platform/data/DataSet.h"
#include "platform/data/ValueText.h"
#include "platform/base/FechaHora.h"

#include <QFile>
#include <QIODevice>
#include <cmath>

namespace plat {

namespace {

const char *const typeNames[] = {
    "ftUnknown", "ftString", "ftSmallint", "ftInteger", "ftWord", "ftBoolean", "ftFloat",
    "ftCurrency", "ftBCD", "ftDate", "ftTime", "ftDateTime", "ftBytes", "ftVarBytes",
    "ftAutoInc", "ftBlob", "ftMemo", "ftGraphic", "ftFmtMemo", "ftParadoxOle", "ftDBaseOle",
    "ftTypedBinary"};
constexpr int typeCount = int(sizeof(typeNames) / sizeof(typeNames[0]));

[[noreturn]] void conversionError(const QString &text, const char *what)
{
    throw gp::ConversionError(QStringLiteral("'%1' is not a valid %2").arg(text, QLatin1String(what)));
}

bool isIntegerType(TFieldType t)
{
    return t == ftSmallint || t == ftInteger || t == ftWord || t == ftAutoInc;
}

bool isFloatType(TFieldType t)
{
    return t == ftFloat || t == ftCurrency || t == ftBCD;
}

} // namespace

QString fieldTypeName(TFieldType type)
{
    const int n = int(type);
    return n >= 0 && n < typeCount ? QLatin1String(typeNames[n]) : QStringLiteral("ftUnknown");
}

TFieldType fieldTypeFromName(const QString &name)
{
    for (int i = 0; i < typeCount; ++i)
        if (name.compare(QLatin1String(typeNames[i]), Qt::CaseInsensitive) == 0)
            return TFieldType(i);
    return ftUnknown;
}

FieldDef fieldDef(const QString &name, TFieldType type, int size, bool required)
{
    FieldDef def;
    def.name = name;
    def.type = type;
    def.size = size;
    def.required = required;
    return def;
}

Field::Field(DataSet &dataSet, const FieldDef &def, FieldKind kind)
    : required(def.required), dataSet_(dataSet), def_(def), kind_(kind)
{
    if (isNumeric())
        alignment = Qt::AlignRight;
}

void Field::setIndex(int index)
{
    dataSet_.moveField(*this, index);
}

bool Field::isBlob() const
{
    const TFieldType t = def_.type;
    return t == ftBlob || t == ftMemo || t == ftGraphic || t == ftFmtMemo || t == ftParadoxOle
           || t == ftDBaseOle || t == ftTypedBinary || t == ftBytes || t == ftVarBytes;
}

bool Field::isNumeric() const
{
    return isIntegerType(def_.type) || isFloatType(def_.type);
}

bool Field::isDateTime() const
{
    return def_.type == ftDate || def_.type == ftTime || def_.type == ftDateTime;
}

QString Field::fitText(QString text) const
{
    if (def_.type == ftString && def_.size > 0 && text.size() > def_.size)
        text.truncate(def_.size);
    return text;
}

QVariant Field::convert(const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    const TFieldType t = def_.type;
    const bool textIn = value.typeId() == QMetaType::QString;
    if (t == ftString || t == ftMemo || t == ftFmtMemo) {
        QString text;
        if (textIn)
            text = value.toString();
        else if (value.typeId() == QMetaType::Double)
            text = floatToText(value.toDouble());
        else if (value.typeId() == QMetaType::QDateTime)
            text = dateTimeToText(value.toDateTime(), ftDateTime);
        else if (value.typeId() == QMetaType::QDate)
            text = dateTimeToText(FechaHora(value.toDate()), ftDate);
        else if (value.typeId() == QMetaType::Bool)
            text = value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        else
            text = value.toString();
        return fitText(std::move(text));
    }
    if (isIntegerType(t)) {
        if (textIn) {
            const QString text = value.toString();
            if (text.trimmed().isEmpty())
                return QVariant();
            qint64 n = 0;
            if (!textToInteger(text, n))
                conversionError(text, "integer value");
            return QVariant(n);
        }
        if (value.typeId() == QMetaType::Double)
            return QVariant(qint64(std::llround(value.toDouble())));
        bool ok = false;
        const qint64 n = value.toLongLong(&ok);
        if (!ok)
            conversionError(value.toString(), "integer value");
        return QVariant(n);
    }
    if (isFloatType(t)) {
        double d = 0;
        if (textIn) {
            const QString text = value.toString();
            if (text.trimmed().isEmpty())
                return QVariant();
            if (!textToFloat(text, d))
                conversionError(text, "floating point value");
        } else {
            bool ok = false;
            d = value.toDouble(&ok);
            if (!ok)
                conversionError(value.toString(), "floating point value");
        }
        if (t == ftBCD && def_.scale > 0) {
            const double scale = std::pow(10.0, def_.scale);
            d = std::round(d * scale) / scale;
        }
        return QVariant(d);
    }
    if (t == ftBoolean) {
        if (textIn) {
            const QString text = value.toString();
            if (text.trimmed().isEmpty())
                return QVariant();
            bool b = false;
            if (!textToBoolean(text, b))
                throw gp::ConversionError(QStringLiteral("'%1' is not a valid boolean value").arg(text));
            return QVariant(b);
        }
        return QVariant(value.toBool());
    }
    if (isDateTime()) {
        QDateTime dt;
        if (textIn) {
            const QString text = value.toString();
            if (text.trimmed().isEmpty())
                return QVariant();
            if (!textToDateTime(text, t, dt))
                conversionError(text, t == ftTime ? "time" : "date");
        } else if (value.typeId() == QMetaType::QDate) {
            dt = FechaHora(value.toDate());
        } else if (value.typeId() == QMetaType::QTime) {
            dt = FechaHora(zeroDate().date(), value.toTime());
        } else if (value.typeId() == QMetaType::Double) {
            // Day numbers of the engines' date-time numbering.
            const double days = value.toDouble();
            dt = zeroDate().addMSecs(qint64(std::llround(days * 86400000.0)));
        } else {
            dt = FechaHoraDeReloj(value.toDateTime());
            if (!dt.isValid())
                conversionError(value.toString(), t == ftTime ? "time" : "date");
        }
        if (t == ftDate)
            dt.setTime(QTime(0, 0));
        else if (t == ftTime)
            dt.setDate(zeroDate().date());
        return dt;
    }
    if (isBlob()) {
        if (value.typeId() == QMetaType::QByteArray)
            return value;
        return value.toString().toUtf8();
    }
    return value;
}

QVariant Field::value() const
{
    return dataSet_.fieldValue(*this);
}

void Field::setValue(const QVariant &value)
{
    dataSet_.setFieldValue(*this, convert(value));
}

bool Field::isNull() const
{
    const QVariant &v = dataSet_.heldValue(*this);
    return !v.isValid() || v.isNull();
}

void Field::clear()
{
    dataSet_.setFieldValue(*this, QVariant());
}

QString Field::plainText(const QVariant &v) const
{
    if (!v.isValid() || v.isNull())
        return QString();
    const TFieldType t = def_.type;
    if (isFloatType(t))
        return floatToText(v.toDouble());
    if (isDateTime())
        return dateTimeToText(v.toDateTime(), t);
    if (t == ftBoolean)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (v.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(v.toByteArray());
    return v.toString();
}

QString Field::asString() const
{
    return plainText(value());
}

void Field::setAsString(const QString &text)
{
    setValue(text);
}

qint64 Field::asInteger() const
{
    const QVariant v = value();
    if (v.isNull() || !v.isValid())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        qint64 n = 0;
        if (v.toString().trimmed().isEmpty())
            return 0;
        if (!textToInteger(v.toString(), n))
            conversionError(v.toString(), "integer value");
        return n;
    }
    if (v.typeId() == QMetaType::Double)
        return qint64(std::llround(v.toDouble()));
    return v.toLongLong();
}

void Field::setAsInteger(qint64 value)
{
    setValue(QVariant(value));
}

double Field::asFloat() const
{
    const QVariant &v = dataSet_.heldValue(*this);
    if (v.isNull() || !v.isValid())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        double d = 0;
        if (v.toString().trimmed().isEmpty())
            return 0;
        if (!textToFloat(v.toString(), d))
            conversionError(v.toString(), "floating point value");
        return d;
    }
    if (v.typeId() == QMetaType::QDateTime)
        return double(zeroDate().msecsTo(v.toDateTime())) / 86400000.0;
    return v.toDouble();
}

void Field::setAsFloat(double value)
{
    setValue(QVariant(value));
}

QDateTime Field::asDateTime() const
{
    const QVariant v = value();
    if (v.isNull() || !v.isValid())
        return QDateTime();
    if (v.typeId() == QMetaType::QString) {
        QDateTime dt;
        if (!textToDateTime(v.toString(), ftDateTime, dt))
            conversionError(v.toString(), "date");
        return dt;
    }
    return FechaHoraDeReloj(v.toDateTime());
}

void Field::setAsDateTime(const QDateTime &value)
{
    setValue(value.isValid() ? QVariant(value) : QVariant());
}

bool Field::asBoolean() const
{
    const QVariant v = value();
    if (v.isNull() || !v.isValid())
        return false;
    if (v.typeId() == QMetaType::QString) {
        bool b = false;
        if (!textToBoolean(v.toString(), b))
            throw gp::ConversionError(QStringLiteral("'%1' is not a valid boolean value").arg(v.toString()));
        return b;
    }
    return v.toBool();
}

void Field::setAsBoolean(bool value)
{
    setValue(QVariant(value));
}

QByteArray Field::asBytes() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray();
    return asString().toUtf8();
}

void Field::setAsBytes(const QByteArray &bytes)
{
    if (def_.type == ftMemo || def_.type == ftFmtMemo || def_.type == ftString)
        setValue(QString::fromUtf8(bytes));
    else
        setValue(bytes);
}

QVariant Field::oldValue() const
{
    return dataSet_.oldFieldValue(*this);
}

QString Field::formattedText(const QVariant &v, bool display) const
{
    if (!v.isValid() || v.isNull())
        return QString();
    const QString format = display ? displayFormat : (editFormat.isEmpty() ? QString() : editFormat);
    if (!format.isEmpty()) {
        if (isNumeric())
            return formatFloat(format, v.toDouble());
        if (isDateTime())
            return formatDateTime(format, v.toDateTime());
    }
    if (display && (def_.type == ftMemo || def_.type == ftFmtMemo))
        return QStringLiteral("(MEMO)");
    if (display && isBlob())
        return def_.type == ftGraphic ? QStringLiteral("(GRAPHIC)") : QStringLiteral("(BLOB)");
    return plainText(v);
}

QString Field::text() const
{
    QString out = formattedText(value(), false);
    if (OnGetText)
        OnGetText(const_cast<Field &>(*this), out, false);
    return out;
}

QString Field::displayText() const
{
    QString out = formattedText(value(), true);
    if (OnGetText)
        OnGetText(const_cast<Field &>(*this), out, true);
    return out;
}

QString Field::displayTextOf(const QVariant &v) const
{
    return formattedText(v, true);
}

void Field::setText(const QString &text)
{
    if (OnSetText)
        OnSetText(*this, text);
    else
        setAsString(text);
}

int Field::effectiveDisplayWidth() const
{
    if (displayWidth > 0)
        return displayWidth;
    switch (def_.type) {
    case ftString: return def_.size > 0 ? def_.size : 20;
    case ftSmallint: case ftWord: return 6;
    case ftInteger: case ftAutoInc: return 11;
    case ftBoolean: return 5;
    case ftDate: return 10;
    case ftTime: return 8;
    case ftDateTime: return 19;
    default: return 10;
    }
}

void Field::loadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw gp::DatabaseError(QStringLiteral("Cannot open file %1").arg(fileName));
    loadFromStream(file);
}

void Field::saveToFile(const QString &fileName) const
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw gp::DatabaseError(QStringLiteral("Cannot create file %1").arg(fileName));
    saveToStream(file);
}

void Field::loadFromStream(QIODevice &stream)
{
    setAsBytes(stream.readAll());
}

void Field::saveToStream(QIODevice &stream) const
{
    stream.write(asBytes());
}

} // namespace plat
