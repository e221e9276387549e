#include "platform/data/TableDataSet.h"

#include "platform/data/engine/Connection.h"
#include "platform/data/engine/EngineErrors.h"
#include "platform/data/engine/Session.h"
#include "platform/base/FechaHora.h"

#include <algorithm>

namespace plat {

namespace {

enum Relation { Earlier = -1, Equal = 0, Later = 1 };

// Grid pages kept at most; the ones far from the last asked for are dropped first.
constexpr int maxGridPages = 64;

} // namespace

// Conditions and their bound values, named :k0, :k1...
class TableDataSet::Statement
{
public:
    QStringList conditions;
    QVariantMap params;
    QString bind(const QVariant &value)
    {
        const QString name = QStringLiteral("k%1").arg(params.size());
        params.insert(name, value);
        return u':' + name;
    }
    QString where() const
    {
        return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    }
};

TableDataSet::TableDataSet(QString name) : DataSet(std::move(name)) {}

TableDataSet::~TableDataSet() = default;

void TableDataSet::setConnection(Connection *connection)
{
    if (active())
        close();
    link_.setConnection(connection);
}

void TableDataSet::setDatabaseName(const QString &name)
{
    if (active())
        close();
    link_.setDatabaseName(name);
}

void TableDataSet::setTableName(const QString &name)
{
    if (active())
        close();
    tableName_ = name;
}

Connection &TableDataSet::conn() const
{
    return link_.connection();
}

bool TableDataSet::nullsFirst() const
{
    return conn().dialect().nullsSortFirst();
}

void TableDataSet::updateIndexDefs()
{
    indexes_ = conn().indexes(tableName_);
}

void TableDataSet::createTable()
{
    if (active())
        fail(QStringLiteral("Cannot perform this operation on an open dataset"));
    TableDef def;
    def.name = tableName_;
    def.fields = fieldDefs_;
    // The primary index first, as the engine expects.
    for (const IndexDef &index : indexes_)
        (index.primary ? def.indexes.prepend(index) : def.indexes.append(index));
    Connection &c = conn();
    c.dropTable(tableName_, true);
    c.createTable(def);
}

void TableDataSet::deleteTable()
{
    if (active())
        fail(QStringLiteral("Cannot perform this operation on an open dataset"));
    conn().dropTable(tableName_, false);
}

void TableDataSet::emptyTable()
{
    conn().emptyTable(tableName_);
    if (active())
        conditionsChanged();
}

QList<FieldDef> TableDataSet::cursorOpen()
{
    if (tableName_.isEmpty())
        throw engineFailure(EngineText::TableDoesNotExist);
    Connection &c = conn();
    const QList<FieldDef> defs = c.columns(tableName_);
    indexes_ = c.indexes(tableName_);
    fieldDefs_ = defs;
    keyFields_.clear();
    keyColumns_.clear();
    QStringList names;
    for (const FieldDef &def : defs)
        names << def.name;
    columnList_ = names.join(QStringLiteral(", "));
    for (const IndexDef &index : indexes_)
        if (index.primary && !index.fields.isEmpty()) {
            keyFields_ = index.fields;
            break;
        }
    if (keyFields_.isEmpty())
        keyFields_ = names;   // no primary key: the whole row names the record
    for (const QString &f : keyFields_) {
        const auto it = std::find_if(defs.begin(), defs.end(),
                                     [&](const FieldDef &d) { return d.name.compare(f, Qt::CaseInsensitive) == 0; });
        keyColumns_ << int(it - defs.begin());
    }
    cursorReset();
    return defs;
}

void TableDataSet::cursorClose()
{
    cursorReset();
    order_.clear();
    filterSql_.clear();
    filterComplete_ = false;
}

QStringList TableDataSet::cursorSetOrder(const QString &indexName, const QStringList &fields)
{
    // No index asked for: the primary index.
    IndexDef chosen;
    bool found = false;
    if (!indexName.isEmpty() || fields.isEmpty()) {
        for (const IndexDef &index : indexes_)
            if (indexName.isEmpty() ? index.primary : index.name.compare(indexName, Qt::CaseInsensitive) == 0) {
                chosen = index;
                found = true;
                break;
            }
        if (!found && !indexName.isEmpty())
            fail(QStringLiteral("Index '%1' not found").arg(indexName));
    } else {
        chosen.fields = fields;
        for (const IndexDef &index : indexes_)
            if (index.fields.join(u';').compare(fields.join(u';'), Qt::CaseInsensitive) == 0)
                chosen = index;
        chosen.fields = fields;
    }
    const Dialect &dialect = conn().dialect();
    order_.clear();
    QStringList orderFields;
    auto addTerm = [&](const QString &field, bool descending, bool caseInsensitive) {
        const int column = columnOf(field);
        if (column < 0)
            fail(DataSetMessages::fieldNotFound(field));
        for (const OrderTerm &t : order_)
            if (t.column == column)
                return;
        const QString name = columns()[size_t(column)].name;
        const bool text = columns()[size_t(column)].type == ftString || columns()[size_t(column)].type == ftMemo;
        const bool folded = caseInsensitive && text;
        QString expression = name;
        if (folded)
            expression = dialect.caseInsensitiveOrder(name);
        order_ << OrderTerm{column, expression, descending, folded};
    };
    for (const QString &f : chosen.fields) {
        addTerm(f, chosen.descending, chosen.caseInsensitive);
        orderFields << columns()[size_t(columnOf(f))].name;
    }
    // The primary key breaks ties, so that every row has one place in the order.
    for (const QString &f : keyFields_)
        addTerm(f, false, false);
    cursorReset();
    return orderFields;
}

void TableDataSet::filterCompiled(const CompiledFilter *filter)
{
    filterSql_.clear();
    filterComplete_ = false;
    if (!filter)
        return;
    const FilterSql sql = filter->toSql(conn().dialect().filterDialect());
    filterSql_ = sql.condition;
    filterComplete_ = sql.complete;
    cursorReset();
}

// --- Statements -------------------------------------------------------------------------

QString TableDataSet::valueExpression(const OrderTerm &term, const QString &param) const
{
    if (!term.caseInsensitive)
        return param;
    return conn().dialect().caseInsensitiveValue(param);
}

QString TableDataSet::termCondition(const OrderTerm &term, const QVariant &value, int relation, Statement &st) const
{
    const bool isNull = !value.isValid() || value.isNull();
    const QString &e = term.expression;
    if (relation == Equal)
        return isNull ? e + QStringLiteral(" IS NULL") : e + QStringLiteral(" = ") + valueExpression(term, st.bind(value));
    // Where NULL stands in this term's order, and which comparison means "later".
    const bool nullFirstInOrder = term.descending ? !nullsFirst() : nullsFirst();
    const bool greater = (relation == Later) != term.descending;
    const QString op = greater ? QStringLiteral(" > ") : QStringLiteral(" < ");
    const bool towardsNull = (relation == Earlier) == nullFirstInOrder;
    if (isNull)
        return towardsNull ? QStringLiteral("1=0") : e + QStringLiteral(" IS NOT NULL");
    const QString compare = e + op + valueExpression(term, st.bind(value));
    return towardsNull ? u'(' + compare + QStringLiteral(" OR ") + e + QStringLiteral(" IS NULL)") : compare;
}

QString TableDataSet::keyset(const Row &boundary, int terms, bool after, bool inclusive, Statement &st) const
{
    // (t0 later) OR (t0 = AND t1 later) OR ... [OR all equal]
    const int relation = after ? Later : Earlier;
    QStringList alternatives;
    QStringList equalSoFar;
    for (int i = 0; i < terms && i < order_.size(); ++i) {
        const OrderTerm &t = order_[i];
        const QVariant v = boundary.value(t.column);
        QStringList parts = equalSoFar;
        parts << termCondition(t, v, relation, st);
        alternatives << u'(' + parts.join(QStringLiteral(" AND ")) + u')';
        equalSoFar << termCondition(t, v, Equal, st);
    }
    if (inclusive)
        alternatives << u'(' + equalSoFar.join(QStringLiteral(" AND ")) + u')';
    QString out = u'(' + alternatives.join(QStringLiteral(" OR ")) + u')';
    // A plain bound on the first term lets the engine start its index scan there.
    if (terms > 1 && !order_.isEmpty()) {
        const QVariant first = boundary.value(order_[0].column);
        if (first.isValid() && !first.isNull()) {
            const OrderTerm &t = order_[0];
            const QString bound = termCondition(t, first, relation, st);
            const QString equal = termCondition(t, first, Equal, st);
            out = QStringLiteral("(%1 OR %2) AND %3").arg(bound, equal, out);
        }
    }
    return out;
}

void TableDataSet::addConditions(Statement &st) const
{
    const KeyRange &r = range();
    if (r.isActive()) {
        const int startTerms = int(std::min<qsizetype>(r.start.size(), order_.size()));
        const int endTerms = int(std::min<qsizetype>(r.end.size(), order_.size()));
        if (r.start == r.end) {
            for (int i = 0; i < startTerms; ++i)
                st.conditions << termCondition(order_[i], r.start[i], Equal, st);
        } else {
            Row start(int(columns().size())), end(int(columns().size()));
            for (int i = 0; i < startTerms; ++i)
                start[order_[i].column] = r.start[i];
            for (int i = 0; i < endTerms; ++i)
                end[order_[i].column] = r.end[i];
            if (startTerms > 0)
                st.conditions << keyset(start, startTerms, true, true, st);
            if (endTerms > 0)
                st.conditions << keyset(end, endTerms, false, true, st);
        }
    }
    if (!filterSql_.isEmpty() && filtered())
        st.conditions << u'(' + filterSql_ + u')';
}

QString TableDataSet::orderBy(bool reverse) const
{
    QStringList terms;
    for (const OrderTerm &t : order_)
        terms << t.expression + ((t.descending != reverse) ? QStringLiteral(" DESC") : QString());
    return terms.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + terms.join(QStringLiteral(", "));
}

// Values as the fields hold them; those read already so (the usual case) are kept as they are.
Row TableDataSet::normalized(QVariantList values) const
{
    values.resize(qsizetype(columns().size()));
    for (int i = 0; i < values.size(); ++i) {
        QVariant &v = values[i];
        const TFieldType t = columns()[size_t(i)].type;
        const int type = v.typeId();
        if (!v.isValid() || v.isNull()) {
            v = QVariant();
        } else if (t == ftDate || t == ftTime || t == ftDateTime) {
            if (type == QMetaType::QDate)
                v = FechaHora(v.toDate());
            else if (type == QMetaType::QString)
                v = FechaHoraISO(v.toString());
            else if (type != QMetaType::QDateTime || v.toDateTime().timeSpec() != Qt::UTC)
                v = FechaHoraDeReloj(v.toDateTime());
        } else if (t == ftSmallint || t == ftInteger || t == ftWord || t == ftAutoInc) {
            if (type != QMetaType::LongLong)
                v = QVariant(v.toLongLong());
        } else if (t == ftFloat || t == ftCurrency || t == ftBCD) {
            if (type != QMetaType::Double)
                v = QVariant(v.toDouble());
        } else if (t == ftBoolean) {
            if (type != QMetaType::Bool)
                v = QVariant(v.toBool());
        } else if (t == ftString || t == ftMemo || t == ftFmtMemo) {
            if (type != QMetaType::QString)
                v = QVariant(v.toString());
        }
    }
    return values;
}

QString TableDataSet::selectText(const Statement &st, bool reverse, int limit, qint64 offset, const QString &columns,
                                 const QString &from) const
{
    QString sql = QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + from + st.where() + orderBy(reverse);
    if (limit > 0) {
        const Dialect &dialect = conn().dialect();
        if (offset > 0)
            sql += dialect.pageClause(limit, offset);
        else
            sql = dialect.selectTop(sql, limit);
    }
    return sql;
}

QVector<Row> TableDataSet::select(Statement &st, bool reverse, int limit, qint64 offset)
{
    const QString sql = selectText(st, reverse, limit, offset, columnList_, tableName_);
    QueryResult result = conn().query(sql, st.params, SqlOrigin::AsWritten);
    QVector<Row> rows;
    rows.reserve(result.rows.size());
    for (QVariantList &values : result.rows)
        rows << normalized(std::move(values));
    return rows;
}

QVector<Row> TableDataSet::selectColumns(Statement &st, const QVector<int> &columns, int limit)
{
    QStringList names;
    for (int column : columns)
        names << this->columns()[size_t(column)].name;
    const QString sql = selectText(st, false, limit, 0, names.join(QStringLiteral(", ")), tableName_);
    QueryResult result = conn().query(sql, st.params, SqlOrigin::AsWritten);
    QVector<Row> rows;
    rows.reserve(result.rows.size());
    for (const QVariantList &values : std::as_const(result.rows)) {
        QVariantList row(qsizetype(this->columns().size()));
        for (int i = 0; i < columns.size(); ++i)
            row[columns[i]] = values.value(i);
        rows << normalized(std::move(row));
    }
    return rows;
}

// Up to `limit` rows of the current order after (or before) `boundary`, or from the
// start (end) when there is none; rows the cursor cannot test in SQL are tested here.
QVector<Row> TableDataSet::fetchFrom(const Row *boundary, bool after, int limit)
{
    QVector<Row> out;
    if (detailOfUnstoredMaster())
        return out;
    const bool testHere = hasRowConditions();
    Row from;
    bool hasFrom = boundary != nullptr;
    if (hasFrom)
        from = *boundary;
    while (out.size() < limit) {
        Statement st;
        addConditions(st);
        if (hasFrom)
            st.conditions << keyset(from, int(order_.size()), after, false, st);
        const QVector<Row> rows = select(st, !after, limit);
        for (const Row &r : rows)
            if (!testHere || acceptsRow(r))
                out << r;
        if (rows.size() < limit)
            break;
        from = rows.last();
        hasFrom = true;
    }
    if (out.size() > limit)
        out.resize(limit);
    if (!after)
        std::reverse(out.begin(), out.end());
    return out;
}

bool TableDataSet::setWindow(QVector<Row> rows, int position, bool atStart, bool atEnd, Row &row)
{
    if (rows.isEmpty())
        return false;
    window_ = std::move(rows);
    position_ = std::clamp(position, 0, int(window_.size()) - 1);
    windowAtStart_ = atStart;
    windowAtEnd_ = atEnd;
    row = window_[position_];
    return true;
}

// --- Navigation -------------------------------------------------------------------------

bool TableDataSet::cursorFirst(Row &row)
{
    const TableChanges::Stamp stamp = conn().changeStamp(tableName_);
    QVector<Row> rows = fetchFrom(nullptr, true, pageSize_);
    const bool end = rows.size() < pageSize_;
    // These are the grid's first page, and when they are every row shown, the look-ups'
    // rows too: neither reads them again.
    if (gridPages_.isEmpty()) {
        gridPages_.insert(0, rows);
        firstPageStamp_ = stamp;
    }
    if (end && !hasRowConditions())
        lookups_.holdWhole(stamp, rows);
    return setWindow(std::move(rows), 0, true, end, row);
}

bool TableDataSet::cursorLast(Row &row)
{
    // A first page shorter than a page is every row, while the table's stamp has not moved.
    if (const auto first = gridPages_.constFind(0); first != gridPages_.cend() && first->size() < pageSize_
        && conn().changeStamp(tableName_) == firstPageStamp_)
        return setWindow(*first, int(first->size()) - 1, true, true, row);
    QVector<Row> rows = fetchFrom(nullptr, false, pageSize_);
    const bool start = rows.size() < pageSize_;
    const int last = int(rows.size()) - 1;
    return setWindow(std::move(rows), last, start, true, row);
}

bool TableDataSet::cursorNext(Row &row)
{
    if (position_ < 0)
        return false;
    if (position_ + 1 >= window_.size()) {
        if (windowAtEnd_)
            return false;
        const Row boundary = window_.last();
        const QVector<Row> more = fetchFrom(&boundary, true, pageSize_);
        if (more.size() < pageSize_)
            windowAtEnd_ = true;
        if (more.isEmpty())
            return false;
        // Keep a few pages around the current record, not the whole table.
        if (window_.size() > 3 * pageSize_) {
            const int drop = int(window_.size()) - pageSize_;
            window_.remove(0, drop);
            position_ -= drop;
            windowAtStart_ = false;
        }
        window_ += more;
    }
    row = window_[++position_];
    return true;
}

bool TableDataSet::cursorPrior(Row &row)
{
    if (position_ < 0)
        return false;
    if (position_ == 0) {
        if (windowAtStart_)
            return false;
        const Row boundary = window_.first();
        const QVector<Row> more = fetchFrom(&boundary, false, pageSize_);
        if (more.size() < pageSize_)
            windowAtStart_ = true;
        if (more.isEmpty())
            return false;
        if (window_.size() > 3 * pageSize_) {
            window_.resize(pageSize_ * 2);
            windowAtEnd_ = false;
        }
        window_ = more + window_;
        position_ += int(more.size());
    }
    row = window_[--position_];
    return true;
}

QString TableDataSet::keyCondition(const QVariantList &key, Statement &st) const
{
    QStringList parts;
    for (int i = 0; i < keyColumns_.size(); ++i) {
        const QString &name = columns()[size_t(keyColumns_[i])].name;
        const QVariant v = key.value(i);
        parts << (v.isValid() && !v.isNull() ? name + QStringLiteral(" = ") + st.bind(v) : name + QStringLiteral(" IS NULL"));
    }
    return parts.join(QStringLiteral(" AND "));
}

bool TableDataSet::cursorGoto(const Bookmark &bookmark, Row &row)
{
    if (bookmark.key.size() != keyColumns_.size())
        return false;
    for (int i = 0; i < window_.size(); ++i)
        if (cursorBookmark(window_[i]) == bookmark) {
            position_ = i;
            row = window_[i];
            return true;
        }
    Statement st;
    st.conditions << keyCondition(bookmark.key, st);
    QVector<Row> rows = select(st, false, 1);
    return setWindow(std::move(rows), 0, false, false, row);
}

bool TableDataSet::cursorReread(const Bookmark &bookmark, Row &row)
{
    if (bookmark.key.size() != keyColumns_.size())
        return false;
    Statement st;
    st.conditions << keyCondition(bookmark.key, st);
    const QVector<Row> rows = select(st, false, 1);
    if (rows.isEmpty())
        return false;
    row = rows.first();
    if (position_ >= 0 && position_ < window_.size() && cursorBookmark(window_[position_]) == bookmark)
        window_[position_] = row;
    else
        setWindow({row}, 0, false, false, row);
    return true;
}

Bookmark TableDataSet::cursorBookmark(const Row &row) const
{
    Bookmark b;
    for (int column : keyColumns_)
        b.key << row.value(column);
    return b;
}

bool TableDataSet::cursorSeek(const QVariantList &values, bool exact, Row &row)
{
    const int terms = int(std::min<qsizetype>(values.size(), order_.size()));
    Row boundary(int(columns().size()));
    for (int i = 0; i < terms; ++i)
        boundary[order_[i].column] = values[i];
    Statement st;
    addConditions(st);
    if (exact) {
        for (int i = 0; i < terms; ++i)
            st.conditions << termCondition(order_[i], values[i], Equal, st);
    } else if (terms > 0) {
        st.conditions << keyset(boundary, terms, true, true, st);
    }
    QVector<Row> rows = select(st, false, pageSize_);
    if (hasRowConditions()) {
        QVector<Row> kept;
        for (const Row &r : rows)
            if (acceptsRow(r))
                kept << r;
        if (kept.isEmpty() && rows.size() == pageSize_) {
            // Every row of the page was filtered out here: walk on from its end.
            const Row last = rows.last();
            kept = fetchFrom(&last, true, 1);
            if (exact && !kept.isEmpty() && compareKey(kept.first(), values) != 0)
                kept.clear();
        }
        rows = kept;
    }
    return setWindow(std::move(rows), 0, false, false, row);
}

std::optional<Row> TableDataSet::locateRow(const QStringList &fields, const QVariantList &values, LocateOptions options)
{
    Connection &c = conn();
    const Dialect &d = c.dialect();
    Statement st;
    addConditions(st);
    const bool ci = options.testFlag(LocateOption::CaseInsensitive);
    const bool partial = options.testFlag(LocateOption::PartialKey);
    for (int i = 0; i < fields.size(); ++i) {
        const int column = columnOf(fields[i]);
        if (column < 0)
            fail(DataSetMessages::fieldNotFound(fields[i]));
        const FieldDef &def = columns()[size_t(column)];
        const QVariant v = values.value(i);
        if (!v.isValid() || v.isNull()) {
            st.conditions << def.name + QStringLiteral(" IS NULL");
            continue;
        }
        const bool text = def.type == ftString || def.type == ftMemo;
        if (!text) {
            st.conditions << def.name + QStringLiteral(" = ") + st.bind(v);
            continue;
        }
        QString lhs = def.name;
        QString rhs = st.bind(v.toString());
        if (partial)
            lhs = d.leftPart(lhs, int(v.toString().size()));
        st.conditions << (ci ? d.foldedCompare(lhs, QStringLiteral("="), rhs) : lhs + QStringLiteral(" = ") + rhs);
    }
    const int limit = hasRowConditions() ? pageSize_ : 1;
    for (;;) {
        const QVector<Row> rows = select(st, false, limit);
        for (const Row &r : rows)
            if (!hasRowConditions() || acceptsRow(r))
                return r;
        if (rows.size() < limit)
            return std::nullopt;
        st.conditions << keyset(rows.last(), int(order_.size()), true, false, st);
    }
}

bool TableDataSet::cursorLocate(const QStringList &fields, const QVariantList &values, LocateOptions options, Row &row)
{
    const std::optional<Row> found = locateRow(fields, values, options);
    return found && setWindow({*found}, 0, false, false, row);
}

bool TableDataSet::cursorLookup(const QStringList &fields, const QVariantList &values, const QVector<int> &resultColumns,
                                Row &row)
{
    // Rows tested here (an OnFilterRecord, a filter SQL cannot say) are the walk's.
    if (hasRowConditions())
        return DataSet::cursorLookup(fields, values, resultColumns, row);
    TableLookups::Question question;
    for (const QString &f : fields) {
        const int column = columnOf(f);
        if (column < 0)
            fail(DataSetMessages::fieldNotFound(f));
        question.keyColumns << column;
    }
    question.resultColumns = resultColumns;
    Connection &c = conn();
    question.exactText = c.dialect().exactTextEquality();
    const std::optional<Row> found = lookups_.find(
        c.changeStamp(tableName_), question, values,
        [&](const QVector<int> &columns, int limit) -> std::optional<QVector<Row>> {
            Statement st;
            addConditions(st);
            QVector<Row> rows = selectColumns(st, columns, limit + 1);
            return rows.size() > limit ? std::nullopt : std::optional<QVector<Row>>(std::move(rows));
        },
        [&] { return locateRow(fields, values, {}); });
    if (found)
        row = *found;
    return found.has_value();
}

void TableDataSet::cursorRefresh()
{
    // Whatever the session keeps of its database is read again too: the rows shown may take
    // texts and values from other tables.
    conn().markDatabaseChanged();
    cursorReset();
}

// --- Writing ----------------------------------------------------------------------------

Bookmark TableDataSet::cursorInsert(const Row &row)
{
    Connection &c = conn();
    QStringList names, values;
    QVariantMap params;
    int autoIncColumn = -1;
    for (int i = 0; i < row.size(); ++i) {
        const FieldDef &def = columns()[size_t(i)];
        const QVariant v = row[i];
        if (def.type == ftAutoInc) {
            autoIncColumn = i;
            if (!v.isValid() || v.isNull())
                continue;
        }
        const QString param = QStringLiteral("v%1").arg(i);
        names << def.name;
        values << u':' + param;
        params.insert(param, v.isNull() ? QVariant() : v);
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(tableName_, names.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")));
    std::optional<QVector<Row>> held = everyRowHeld();
    Row written = row;
    std::optional<Row> stored;
    link_.inTransaction([&] {
        if (writesAnswerRows()) {
            stored = writtenRow(sql, params);
            if (stored)
                written = *stored;
            return 0;
        }
        c.exec(sql, params, SqlOrigin::AsWritten);
        if (autoIncColumn >= 0 && (!row[autoIncColumn].isValid() || row[autoIncColumn].isNull())) {
            const QString last = c.dialect().lastInsertedIdQuery(tableName_, columns()[size_t(autoIncColumn)].name);
            written[autoIncColumn] = QVariant(c.scalar(last, {}, SqlOrigin::AsWritten).toLongLong());
        }
        return 0;
    });
    cursorReset();
    if (!held || !stored || !holdWithWritten(std::move(*held), *stored, std::nullopt))
        holdWritten(stored);
    return cursorBookmark(written);
}

bool TableDataSet::writesAnswerRows() const { return conn().dialect().kind() == EngineKind::PostgreSQL; }

std::optional<Row> TableDataSet::writtenRow(const QString &sql, const QVariantMap &params)
{
    QueryResult result = conn().query(sql + QStringLiteral(" RETURNING ") + columnList_, params, SqlOrigin::AsWritten);
    if (result.rows.isEmpty())
        return std::nullopt;
    return normalized(std::move(result.rows.first()));
}

void TableDataSet::holdWritten(const std::optional<Row> &stored)
{
    // The record settles on the row as stored without reading it again.
    if (stored)
        window_ = {*stored};
}

std::optional<QVector<Row>> TableDataSet::everyRowHeld() const
{
    const auto first = gridPages_.constFind(0);
    if (first == gridPages_.cend() || first->size() >= pageSize_ || filtered() || hasRowConditions()
        || conn().changeStamp(tableName_) != firstPageStamp_)
        return std::nullopt;
    return *first;
}

std::optional<QVariantList> TableDataSet::heldValues(const QString &field) const
{
    const Field *f = findField(field);
    const std::optional<QVector<Row>> rows = f && !f->isCalculated() ? everyRowHeld() : std::nullopt;
    if (!rows)
        return std::nullopt;
    QVariantList values;
    values.reserve(rows->size());
    for (const Row &row : *rows)
        values.append(row.value(f->index()));
    return values;
}

std::optional<int> TableDataSet::compareInOrder(const Row &a, const Row &b) const
{
    for (const OrderTerm &term : order_) {
        const QVariant &x = a.value(term.column), &y = b.value(term.column);
        if (x.isNull() && y.isNull())
            continue;
        if (x.isNull() != y.isNull())
            return std::nullopt;
        if (valuesEqual(x, y, false, false))
            continue;
        switch (columns()[size_t(term.column)].type) {
        case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftBoolean:
        case ftFloat: case ftCurrency: case ftBCD: case ftDate: case ftTime: case ftDateTime:
            break;
        default:
            return std::nullopt;
        }
        const int c = compareValues(x, y);
        return term.descending ? -c : c;
    }
    return 0;
}

bool TableDataSet::showsRow(const Row &row) const
{
    // A range of one key (a detail's master link) holds the rows whose key is that one,
    // compared exactly; any other range is the server's to apply.
    const KeyRange &r = range();
    if (!r.isActive())
        return true;
    if (r.start != r.end || r.start.size() > order_.size())
        return false;
    for (int i = 0; i < r.start.size(); ++i) {
        const QVariant &v = row.value(order_[i].column);
        if (v.isNull() || r.start[i].isNull() || !valuesEqual(v, r.start[i], false, false))
            return false;
    }
    return true;
}

bool TableDataSet::holdWithWritten(QVector<Row> rows, const Row &stored, const std::optional<Bookmark> &replaced)
{
    if (!showsRow(stored))
        return false;
    if (replaced) {
        const auto old = std::find_if(rows.begin(), rows.end(), [&](const Row &r) { return cursorBookmark(r) == *replaced; });
        if (old == rows.end())
            return false;
        rows.erase(old);
    }
    if (rows.size() + 1 >= pageSize_)
        return false;
    qsizetype at = rows.size();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const std::optional<int> c = compareInOrder(stored, rows[i]);
        if (!c)
            return false;
        if (*c < 0) {
            at = i;
            break;
        }
    }
    rows.insert(at, stored);
    // The table's stamp now stands where this write left it: what was held plus this row is the table.
    firstPageStamp_ = conn().changeStamp(tableName_);
    gridPages_.insert(0, rows);
    count_ = rows.size();
    window_ = std::move(rows);
    position_ = int(at);
    windowAtStart_ = windowAtEnd_ = true;
    return true;
}

// Only the changed columns are written, and only while each still holds what the edit
// read: another user's change to another column stays, one to the same column is refused.
Bookmark TableDataSet::cursorUpdate(const Bookmark &at, const Row &oldRow, const Row &row)
{
    Connection &c = conn();
    const Dialect &dialect = c.dialect();
    Statement st;
    QStringList sets, unchanged;
    for (int i = 0; i < row.size(); ++i) {
        const QVariant &before = oldRow.value(i);
        const FieldDef &column = columns()[size_t(i)];
        if (valuesEqual(before, row[i], false, false) && before.isNull() == row[i].isNull())
            continue;
        // A NULL text is held as '': that is no change, and writing it would undo another user's text.
        const bool text = column.type == ftString || column.type == ftMemo;
        if (text && before.isNull() && row[i].toString().isEmpty())
            continue;
        sets << column.name + QStringLiteral(" = ") + st.bind(row[i].isNull() ? QVariant() : row[i]);
        if (before.isNull())
            unchanged << column.name + QStringLiteral(" IS NULL");
        else if (const QString same = dialect.sameValueCondition(column.name, column.type, st.bind(before)); !same.isEmpty())
            unchanged << same;
    }
    if (sets.isEmpty())
        return at;
    unchanged.prepend(keyCondition(at.key, st));
    std::optional<QVector<Row>> held = everyRowHeld();
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                            .arg(tableName_, sets.join(QStringLiteral(", ")), unchanged.join(QStringLiteral(" AND ")));
    std::optional<Row> stored;
    link_.inTransaction([&] {
        if (writesAnswerRows()) {
            stored = writtenRow(sql, st.params);
            if (stored)
                return 0;
        } else if (c.exec(sql, st.params, SqlOrigin::AsWritten) > 0) {
            return 0;
        }
        // Nothing matched: the record is gone, or a column the edit changed was changed meanwhile.
        Statement byKey;
        const QString exists = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(tableName_, keyCondition(at.key, byKey));
        if (c.scalar(exists, byKey.params, SqlOrigin::AsWritten).toLongLong() == 0)
            throw engineFailure(EngineText::RecordDeleted);
        throw engineFailure(EngineText::RecordChanged);
    });
    cursorReset();
    if (!held || !stored || !holdWithWritten(std::move(*held), *stored, at))
        holdWritten(stored);
    return cursorBookmark(stored ? *stored : row);
}

void TableDataSet::cursorDelete(const Bookmark &at, const Row &)
{
    Connection &c = conn();
    Statement st;
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE %2").arg(tableName_, keyCondition(at.key, st));
    link_.inTransaction([&] { return c.exec(sql, st.params, SqlOrigin::AsWritten); });
    // The rows around it stay as read: the next delete of a run walks on without reading.
    QVector<Row> window = std::move(window_);
    const bool atStart = windowAtStart_, atEnd = windowAtEnd_;
    cursorReset();
    const auto doomed = std::find_if(window.begin(), window.end(), [&](const Row &r) { return cursorBookmark(r) == at; });
    if (doomed != window.end() && window.size() > 1) {
        const int index = int(doomed - window.begin());
        window.erase(doomed);
        window_ = std::move(window);
        position_ = std::min(index, int(window_.size()) - 1);
        windowAtStart_ = atStart;
        windowAtEnd_ = atEnd;
    }
}

// --- Counting and grids -----------------------------------------------------------------

void TableDataSet::cursorReset()
{
    lookups_.clear();
    window_.clear();
    position_ = -1;
    windowAtStart_ = windowAtEnd_ = false;
    count_ = -1;
    gridPages_.clear();
}

qint64 TableDataSet::cursorCount()
{
    if (count_ >= 0)
        return count_;
    if (detailOfUnstoredMaster())
        return count_ = 0;
    if (hasRowConditions()) {
        qint64 n = 0;
        QVector<Row> page = fetchFrom(nullptr, true, pageSize_);
        while (!page.isEmpty()) {
            n += page.size();
            if (page.size() < pageSize_)
                break;
            const Row last = page.last();
            page = fetchFrom(&last, true, pageSize_);
        }
        return count_ = n;
    }
    Statement st;
    addConditions(st);
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + tableName_ + st.where();
    count_ = conn().scalar(sql, st.params, SqlOrigin::AsWritten).toLongLong();
    return count_;
}

QVector<Row> TableDataSet::gridPage(qint64 page)
{
    if (const auto it = gridPages_.constFind(page); it != gridPages_.cend())
        return it.value();
    QVector<Row> rows;
    if (page == 0) {
        firstPageStamp_ = conn().changeStamp(tableName_);
        rows = fetchFrom(nullptr, true, pageSize_);
    } else if (const auto before = gridPages_.constFind(page - 1); before != gridPages_.cend()) {
        if (before->size() < pageSize_)
            return {};
        const Row boundary = before->last();
        rows = fetchFrom(&boundary, true, pageSize_);
    } else if (const auto after = gridPages_.constFind(page + 1); after != gridPages_.cend() && !after->isEmpty()) {
        const Row boundary = after->first();
        rows = fetchFrom(&boundary, false, pageSize_);
    } else if (hasRowConditions()) {
        // Positions of rows tested here are only known by walking from the start.
        for (qint64 p = 0; p < page; ++p)
            if (gridPage(p).size() < pageSize_)
                return {};
        return gridPage(page);
    } else {
        // A jump: one page by position, counted from the nearer end of the table.
        Statement st;
        addConditions(st);
        const qint64 first = page * pageSize_;
        const qint64 total = cursorCount();
        if (first >= total)
            return {};
        if (first > total / 2) {
            const qint64 fromEnd = std::max<qint64>(0, total - first - pageSize_);
            const int size = int(std::min<qint64>(pageSize_, total - first));
            rows = select(st, true, size, fromEnd);
            std::reverse(rows.begin(), rows.end());
        } else {
            rows = select(st, false, pageSize_, first);
        }
    }
    if (gridPages_.size() >= maxGridPages) {
        // Drop the page farthest from this one.
        qint64 farthest = gridPages_.firstKey();
        if (std::llabs(gridPages_.lastKey() - page) > std::llabs(farthest - page))
            farthest = gridPages_.lastKey();
        gridPages_.remove(farthest);
    }
    gridPages_.insert(page, rows);
    return rows;
}

QVector<Row> TableDataSet::cursorRows(qint64 first, int count)
{
    QVector<Row> out;
    if (first < 0 || count <= 0)
        return out;
    for (qint64 i = first; i < first + count;) {
        const qint64 page = i / pageSize_;
        const QVector<Row> rows = gridPage(page);
        const qint64 offset = i - page * pageSize_;
        if (offset >= rows.size())
            break;
        for (qint64 k = offset; k < rows.size() && i < first + count; ++k, ++i)
            out << rows[int(k)];
        if (rows.size() < pageSize_)
            break;
    }
    return out;
}

QVector<Row> TableDataSet::cursorRowsAfter(const Row *previous, qint64 first, int count)
{
    // By key from the previous row, in one statement, past the grid's pages.
    if (first > 0 && !previous)
        return cursorRows(first, count);
    return count > 0 ? fetchFrom(previous, true, count) : QVector<Row>();
}

// The dataset's conditions, and past `previous` in the current order when given.
TableDataSet::Statement TableDataSet::conditionsAfter(const Row *previous) const
{
    Statement st;
    addConditions(st);
    if (previous)
        st.conditions << keyset(*previous, int(order_.size()), true, false, st);
    return st;
}

std::optional<SelectStatement> TableDataSet::cursorSelectAfter(const Row *previous, int count, const QList<int> &columns,
                                                               const QString &schema)
{
    // Rows tested here (a filter event, a filter SQL cannot say) are beyond a statement.
    if (hasRowConditions())
        return std::nullopt;
    Statement st = conditionsAfter(previous);
    QStringList names;
    for (int column : columns)
        names << this->columns()[size_t(column)].name;
    return SelectStatement{
        selectText(st, false, count, 0, names.join(QStringLiteral(", ")), schema + u'.' + tableName_), st.params};
}

std::optional<DatabaseLocation> TableDataSet::cursorCommittedSource() const
{
    Connection &c = conn();
    const DatabaseLocation location = c.location();
    if (!location.isFolder() || c.inTransaction())
        return std::nullopt;
    return location;
}

std::optional<Row> TableDataSet::cursorLastRowAfter(const Row *previous, qint64 first, int count)
{
    if (count <= 0 || hasRowConditions() || (first > 0 && !previous))
        return DataSet::cursorLastRowAfter(previous, first, count);
    Statement st = conditionsAfter(previous);
    const QVector<Row> rows = select(st, false, 1, count - 1);
    return rows.isEmpty() ? std::nullopt : std::optional<Row>(rows.first());
}

qint64 TableDataSet::cursorPosition(const Row &row)
{
    const Bookmark wanted = cursorBookmark(row);
    for (auto it = gridPages_.cbegin(); it != gridPages_.cend(); ++it)
        for (int i = 0; i < it->size(); ++i)
            if (cursorBookmark(it.value()[i]) == wanted)
                return it.key() * pageSize_ + i;
    if (!hasRowConditions() && (windowAtStart_ || windowAtEnd_)) {
        // A row of the window at either end of the table: its place follows from the count.
        for (int i = 0; i < window_.size(); ++i)
            if (cursorBookmark(window_[i]) == wanted)
                return windowAtStart_ ? i : cursorCount() - (window_.size() - i);
    }
    if (hasRowConditions()) {
        qint64 n = 0;
        QVector<Row> page = fetchFrom(nullptr, true, pageSize_);
        while (!page.isEmpty()) {
            for (const Row &r : page) {
                if (cursorBookmark(r) == wanted)
                    return n;
                ++n;
            }
            const Row last = page.last();
            page = fetchFrom(&last, true, pageSize_);
        }
        return -1;
    }
    Statement st;
    addConditions(st);
    st.conditions << keyset(row, int(order_.size()), false, false, st);
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + tableName_ + st.where();
    return conn().scalar(sql, st.params, SqlOrigin::AsWritten).toLongLong();
}

} // namespace plat
