#include "platform/data/TableLookups.h"

#include <QStringList>

namespace plat {

namespace {

// A key's values as one text, when each compares in memory as the engine compares it:
// nulls, texts, numbers and truth values. None for any other value.
std::optional<QString> keyText(const QVariantList &values)
{
    QString text;
    for (const QVariant &v : values) {
        if (!v.isValid() || v.isNull()) {
            text += QStringLiteral("\x01|");
            continue;
        }
        switch (v.typeId()) {
        case QMetaType::QString:
            text += u'S' + QString::number(v.toString().size()) + u':' + v.toString();
            break;
        case QMetaType::Bool:
            text += v.toBool() ? QStringLiteral("N1|") : QStringLiteral("N0|");
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Double:
        case QMetaType::Float:
            text += u'N' + QString::number(v.toDouble(), 'g', 17) + u'|';
            break;
        default:
            return std::nullopt;
        }
    }
    return text;
}

bool hasText(const QVariantList &values)
{
    for (const QVariant &v : values)
        if (v.typeId() == QMetaType::QString && !v.isNull())
            return true;
    return false;
}

QString signature(const TableLookups::Question &question)
{
    QStringList parts;
    for (int c : question.keyColumns)
        parts << QString::number(c);
    parts << QStringLiteral("=");
    for (int c : question.resultColumns)
        parts << QString::number(c);
    return parts.join(u',');
}

} // namespace

std::optional<Row> TableLookups::find(TableChanges::Stamp stamp, const Question &question, const QVariantList &values,
                                      const ReadAll &readAll, const ReadOne &readOne)
{
    if (stamp != stamp_) {
        questions_.clear();
        whole_.reset();
        stamp_ = stamp;
    }
    Answers &answers = questions_[signature(question)];
    const std::optional<QString> key = keyText(values);
    const bool inMemory = key && (question.exactText || !hasText(values));
    if (inMemory && answers.whole == Answers::Whole::Unread) {
        QVector<int> columns = question.keyColumns;
        for (int c : question.resultColumns)
            if (!columns.contains(c))
                columns << c;
        const std::optional<QVector<Row>> rows = whole_ ? whole_ : readAll(columns, kWholeRows);
        answers.whole = rows ? Answers::Whole::Held : Answers::Whole::TooLarge;
        for (const Row &row : rows.value_or(QVector<Row>())) {
            QVariantList rowKey;
            for (int c : question.keyColumns)
                rowKey << row.value(c);
            // The first row of the order answers, as a locate finds it.
            if (const std::optional<QString> k = keyText(rowKey); k && !answers.rows.contains(*k))
                answers.rows.insert(*k, row);
        }
    }
    if (inMemory && answers.whole == Answers::Whole::Held) {
        const auto found = answers.rows.constFind(*key);
        return found == answers.rows.cend() ? std::nullopt : std::optional<Row>(*found);
    }
    const QString asked = key.value_or(QString());
    if (key) {
        if (const auto found = answers.answered.constFind(asked); found != answers.answered.cend())
            return *found;
    }
    std::optional<Row> row = readOne();
    if (key) {
        if (answers.answered.size() >= kKeptAnswers)
            answers.answered.clear();
        answers.answered.insert(asked, row);
    }
    return row;
}

void TableLookups::holdWhole(TableChanges::Stamp stamp, const QVector<Row> &rows)
{
    if (stamp != stamp_)
        questions_.clear();
    stamp_ = stamp;
    whole_ = rows;
}

void TableLookups::clear()
{
    questions_.clear();
    whole_.reset();
}

} // namespace plat
