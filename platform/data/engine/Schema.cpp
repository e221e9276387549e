#include "platform/data/engine/Schema.h"

#include <QRegularExpression>

namespace plat {

namespace {

struct TypeWord
{
    const char *word;
    TFieldType type;
};

// Declared words of every engine, read back to the program's types. Order matters
// only where one word starts another (checked whole-word below).
const TypeWord kTypeWords[] = {
    {"VARCHAR", ftString},       {"NVARCHAR", ftString},     {"CHARACTER VARYING", ftString},
    {"CHAR", ftString},          {"NCHAR", ftString},        {"CHARACTER", ftString},
    {"SMALLINT", ftSmallint},    {"INT2", ftSmallint},       {"WORD", ftWord},
    {"INTEGER", ftInteger},      {"INT", ftInteger},         {"INT4", ftInteger},
    {"BIGINT", ftInteger},       {"INT8", ftInteger},        {"AUTOINC", ftAutoInc},
    {"SERIAL", ftAutoInc},       {"BOOLEAN", ftBoolean},     {"BOOL", ftBoolean},
    {"BIT", ftBoolean},          {"DOUBLE PRECISION", ftFloat}, {"DOUBLE", ftFloat},
    {"FLOAT", ftFloat},          {"FLOAT8", ftFloat},        {"REAL", ftFloat},
    {"DECIMAL", ftFloat},        {"NUMERIC", ftFloat},       {"MONEY", ftCurrency},
    {"CURRENCY", ftCurrency},    {"DATETIME", ftDateTime},   {"TIMESTAMP", ftDateTime},
    {"TIMESTAMP WITHOUT TIME ZONE", ftDateTime},             {"DATE", ftDate},
    {"TIME", ftTime},            {"TEXT", ftMemo},           {"NTEXT", ftMemo},
    {"MEMO", ftMemo},            {"BLOB", ftBlob},           {"IMAGE", ftBlob},
    {"BYTEA", ftBlob},           {"VARBINARY", ftBlob},      {"GRAPHIC", ftGraphic},
};

} // namespace

FieldDef fieldFromDeclaredType(const QString &name, const QString &declaredType)
{
    FieldDef f;
    f.name = name;
    f.declaredType = declaredType.trimmed();
    static const QRegularExpression re(
        QStringLiteral("^\\s*([A-Za-z][A-Za-z0-9]*(?:\\s+[A-Za-z][A-Za-z0-9]*)*)\\s*(?:\\(\\s*(\\w+)\\s*(?:,\\s*(\\d+)\\s*)?\\))?\\s*(.*)$"));
    const auto m = re.match(f.declaredType);
    if (!m.hasMatch())
        return f;
    const QString word = m.captured(1).toUpper();
    const QString rest = m.captured(4).toUpper();
    for (const auto &tw : kTypeWords) {
        if (word == QLatin1String(tw.word)) {
            f.type = tw.type;
            break;
        }
    }
    if (f.type == ftUnknown) {
        // "INTEGER IDENTITY" and the like: the first word decides, the rest qualifies.
        const QString first = word.section(QLatin1Char(' '), 0, 0);
        for (const auto &tw : kTypeWords) {
            if (first == QLatin1String(tw.word)) {
                f.type = tw.type;
                break;
            }
        }
    }
    if (word.contains(QLatin1String("IDENTITY")) || rest.contains(QLatin1String("IDENTITY"))
        || rest.contains(QLatin1String("AUTOINCREMENT")))
        f.type = ftAutoInc;
    const QString a = m.captured(2), b = m.captured(3);
    if (f.type == ftString) {
        f.size = a.compare(QLatin1String("MAX"), Qt::CaseInsensitive) == 0 ? 0 : a.toInt();
        if (a.compare(QLatin1String("MAX"), Qt::CaseInsensitive) == 0)
            f.type = ftMemo;
    } else if (word == QLatin1String("DECIMAL") || word == QLatin1String("NUMERIC")) {
        f.precision = a.toInt();
        f.scale = b.toInt();
    }
    return f;
}

QString declaredTypeOfField(const FieldDef &field)
{
    switch (field.type) {
    case ftString: return QStringLiteral("VARCHAR(%1)").arg(field.size > 0 ? field.size : 255);
    case ftSmallint: return QStringLiteral("SMALLINT");
    case ftWord: return QStringLiteral("WORD");
    case ftInteger: return QStringLiteral("INTEGER");
    case ftAutoInc: return QStringLiteral("AUTOINC");
    case ftBoolean: return QStringLiteral("BOOLEAN");
    case ftFloat:
        if (field.precision > 0)
            return QStringLiteral("DECIMAL(%1,%2)").arg(field.precision).arg(field.scale);
        return QStringLiteral("DOUBLE");
    case ftCurrency: return QStringLiteral("CURRENCY");
    case ftBCD: return QStringLiteral("DECIMAL(%1,%2)").arg(field.precision > 0 ? field.precision : 19)
            .arg(field.precision > 0 ? field.scale : 4);
    case ftDate: return QStringLiteral("DATE");
    case ftTime: return QStringLiteral("TIME");
    case ftDateTime: return QStringLiteral("DATETIME");
    case ftMemo:
    case ftFmtMemo: return QStringLiteral("TEXT");
    case ftBlob:
    case ftGraphic:
    case ftBytes:
    case ftVarBytes:
    case ftTypedBinary:
    case ftParadoxOle:
    case ftDBaseOle: return QStringLiteral("BLOB");
    case ftUnknown: break;
    }
    return {};
}

const FieldDef *findField(const QList<FieldDef> &fields, const QString &name)
{
    for (const auto &f : fields)
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

const IndexDef *findIndex(const QList<IndexDef> &indexes, const QString &name)
{
    for (const auto &i : indexes)
        if (i.name.compare(name, Qt::CaseInsensitive) == 0)
            return &i;
    return nullptr;
}

} // namespace plat
