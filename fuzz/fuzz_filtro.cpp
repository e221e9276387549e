// Arbitrary text as a dataset filter: parsed, compiled against a small fixed record,
// evaluated and written as SQL. Malformed filters and type errors must come back as
// gp::DatabaseError, never as a crash, a hang or another exception.
#include "platform/data/filter/FilterExpression.h"
#include "platform/base/Errores.h"

#include <QDateTime>

#include <cstdint>
#include <optional>
#include <vector>

namespace {

struct Column
{
    const char *name;
    TFieldType type;
    bool calculated;
};

const Column kColumns[] = {
    {"Codigo", ftString, false},   {"Nombre", ftString, false},  {"Importe", ftFloat, false},
    {"Cantidad", ftInteger, false}, {"Fecha", ftDateTime, false}, {"Dia", ftDate, false},
    {"Hora", ftTime, false},       {"Activo", ftBoolean, false}, {"Notas", ftMemo, false},
    {"Foto", ftGraphic, false},    {"Fecha de alta", ftDate, false}, {"Calculado", ftString, true},
};
constexpr int kColumnCount = int(sizeof(kColumns) / sizeof(kColumns[0]));

class Fields : public plat::FilterFields
{
public:
    int fieldIndex(const QString &name) const override
    {
        for (int i = 0; i < kColumnCount; ++i)
            if (name.compare(QLatin1String(kColumns[i].name), Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    TFieldType fieldType(int index) const override { return kColumns[index].type; }
    QString columnName(int index) const override
    {
        return kColumns[index].calculated ? QString() : QString::fromLatin1(kColumns[index].name);
    }
};

class Record : public plat::FilterRecord
{
public:
    explicit Record(std::vector<QVariant> values) : values_(std::move(values)) {}
    QVariant fieldValue(int index) const override { return values_.at(size_t(index)); }

private:
    std::vector<QVariant> values_;
};

class FoldingDialect : public plat::FilterSqlDialect
{
public:
    QString caseInsensitive(const QString &sqlExpression) const override
    {
        return QStringLiteral("FOLD(") + sqlExpression + QLatin1Char(')');
    }
};

const std::vector<Record> &records()
{
    static const std::vector<Record> all = {
        Record({QString("A1"), QString::fromUtf8("ñandú"), 1234.5, 7, QDateTime(QDate(2024, 3, 1), QTime(10, 30)),
                QDate(2024, 3, 1), QTime(10, 30), true, QString("nota"), QByteArray("\x89PNG"), QDate(2020, 1, 2),
                QString("x")}),
        Record(std::vector<QVariant>(kColumnCount)),
        Record({QString(""), QString("O'Brien"), QString("9,5"), QString("x"), QString("2024-03-01 10:30:00"),
                QString("basura"), QString("25:00"), QString("quizá"), QString(), QVariant(), QDateTime(),
                QVariant(QMetaType(QMetaType::QString))}),
    };
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    std::optional<plat::FilterExpression> expression;
    try {
        expression.emplace(text);
    } catch (const gp::DatabaseError &) {
        return 0;
    }
    static const Fields fields;
    static const plat::FilterSqlDialect plainDialect;
    static const FoldingDialect foldingDialect;
    for (const bool ignoreCase : {false, true}) {
        plat::FilterOptions options;
        options.caseInsensitive = ignoreCase;
        options.partialCompare = !ignoreCase;
        try {
            const plat::CompiledFilter compiled = expression->compile(fields, options);
            for (const Record &record : records())
                compiled.accepts(record);
            const plat::FilterSql plain = compiled.toSql(plainDialect);
            const plat::FilterSql folded = compiled.toSql(foldingDialect);
            // Without case folding both dialects write the same condition.
            if (!ignoreCase && (plain.condition != folded.condition || plain.complete != folded.complete))
                __builtin_trap();
        } catch (const gp::DatabaseError &) {
        }
    }
    return 0;
}
