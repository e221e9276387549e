#include "platform/data/engine/Dialects.h"
#include "platform/data/engine/SqlServerCatalogue.h"

#include "platform/base/FechaHora.h"

#include <QRegularExpression>

namespace plat {

namespace {
QString &dateFormatSetting()
{
    static QString format = QStringLiteral("mm/dd/yyyy");
    return format;
}
} // namespace

void SqlServerDialect::setProgramDateFormat(const QString &format)
{
    dateFormatSetting() = format.trimmed().isEmpty() ? QStringLiteral("mm/dd/yyyy") : format.trimmed();
}

QString SqlServerDialect::programDateFormat() { return dateFormatSetting(); }

QString SqlServerDialect::selectTop(const QString &selectSql, int n) const
{
    static const QRegularExpression head(QStringLiteral("^\\s*SELECT\\s+(DISTINCT\\s+)?"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = head.match(selectSql);
    if (!m.hasMatch())
        return selectSql;
    return selectSql.left(m.capturedEnd(0)) + QStringLiteral("TOP %1 ").arg(n) + selectSql.mid(m.capturedEnd(0));
}

QString SqlServerDialect::lockHint() const { return QStringLiteral(" WITH(NOLOCK) "); }

QString SqlServerDialect::isNumeric(const QString &expr) const
{
    return QStringLiteral("ISNUMERIC(%1)").arg(expr);
}

QString SqlServerDialect::concat(const QStringList &parts) const { return parts.join(QStringLiteral(" + ")); }

QString SqlServerDialect::dateLiteral(const QDateTime &value) const
{
    const QDateTime v = literalReading(value);
    const bool dayFirst = programDateFormat().startsWith(QLatin1String("dd"), Qt::CaseInsensitive);
    return quoted(v.toString(dayFirst ? QStringLiteral("dd/MM/yyyy HH:mm:ss") : QStringLiteral("MM/dd/yyyy HH:mm:ss")));
}

QString SqlServerDialect::dateLiteralText(const QDateTime &value, const QString &programLiteral) const
{
    if (!programLiteral.isEmpty())
        return programLiteral;
    const QString q = dateLiteral(value);
    return q.mid(1, q.size() - 2);
}

QString SqlServerDialect::keyFieldsQuery(const QString &table, const QString &indexName) const
{
    const QString name = indexName.isEmpty() ? physicalIndexName(table, QStringLiteral("Clave1")) : indexName;
    return QStringLiteral("SELECT C.Name   FROM SYSINDEXES I JOIN SYSINDEXKEYS K   ON I.id = K.id AND I.indid = "
                          "K.indid   JOIN SYSCOLUMNS C ON I.id = C.id AND K.colid = C.colid   WHERE I.Name = ")
        + quoted(name) + QStringLiteral("  ORDER BY K.KeyNo");
}

QString SqlServerDialect::columnsQuery(const QString &table, bool withoutMemos) const
{
    return QStringLiteral("SELECT C.Name   FROM SYSCOLUMNS C JOIN SYSOBJECTS O        ON C.id = O.id   WHERE O.name = ")
        + quoted(table) + (withoutMemos ? QStringLiteral(" AND C.xtype <> 35 ") : QString())
        + QStringLiteral(" ORDER BY C.colid ");
}

QString SqlServerDialect::columnType(const FieldDef &field) const
{
    switch (field.type) {
    case ftWord: return QStringLiteral("INTEGER");
    case ftAutoInc: return identityColumnType();
    case ftBoolean: return QStringLiteral("BIT");
    case ftFloat: return field.precision > 0 ? declaredTypeOfField(field) : QStringLiteral("FLOAT");
    case ftCurrency: return QStringLiteral("MONEY");
    case ftDate:
    case ftTime:
    case ftDateTime: return QStringLiteral("DATETIME");
    case ftBlob:
    case ftGraphic:
    case ftBytes:
    case ftVarBytes:
    case ftTypedBinary:
    case ftParadoxOle:
    case ftDBaseOle: return QStringLiteral("IMAGE");
    default: return declaredTypeOfField(field);
    }
}

QString SqlServerDialect::sameValueCondition(const QString &column, TFieldType type, const QString &param) const
{
    FieldDef field;
    field.type = type;
    const QString made = columnType(field);
    if (made == QLatin1String("TEXT") || made == QLatin1String("IMAGE"))
        return {};
    return Dialect::sameValueCondition(column, type, param);
}

QString SqlServerDialect::identityColumnType() const { return QStringLiteral("INTEGER IDENTITY(1,1)"); }

// The server's collation already ignores case and accents.
QString SqlServerDialect::foldExpression(const QString &expr) const { return expr; }

QString SqlServerDialect::threePartName(const QString &database, const QString &table, bool) const
{
    return database + QStringLiteral(".dbo.") + table;
}

QString SqlServerDialect::indexColumn(const IndexDef &index, const QString &field) const
{
    return index.descending ? field + QStringLiteral(" DESC") : field;
}

QString SqlServerDialect::pageClause(int n, qint64 offset) const
{
    return QStringLiteral(" OFFSET %1 ROWS FETCH NEXT %2 ROWS ONLY").arg(offset).arg(n);
}

QString SqlServerDialect::lastInsertedIdQuery(const QString &, const QString &) const
{
    return QStringLiteral("SELECT SCOPE_IDENTITY()");
}

QString SqlServerDialect::caseInsensitiveOrder(const QString &column) const
{
    return column + QStringLiteral(" COLLATE Modern_Spanish_CI_AS");
}

QString SqlServerDialect::leftPart(const QString &expr, int n) const
{
    return QStringLiteral("SUBSTRING(%1, 1, %2)").arg(expr).arg(n);
}

namespace {

// Dates in the program's own literal; texts compared in binary order whatever the
// database's collation.
class SqlServerFilterSql : public Dialect::FilterSqlOf
{
public:
    using FilterSqlOf::FilterSqlOf;
    QString dateTimeLiteral(const QDate &date, const QTime &time) const override
    {
        return dialect_.dateLiteral(FechaHora(date, time));
    }
    QString binaryText(const QString &e) const override { return e + QStringLiteral(" COLLATE Latin1_General_BIN"); }
};

} // namespace

const FilterSqlDialect &SqlServerDialect::filterDialect() const
{
    static const SqlServerFilterSql filter(*this);
    return filter;
}

std::unique_ptr<Catalogue> SqlServerDialect::catalogue(PhysicalConnection &connection) const
{
    return std::make_unique<SqlServerCatalogue>(connection);
}

QString SqlServerDialect::tableCreationLock(const QString &table) const
{
    return QStringLiteral("EXEC sp_getapplock @Resource = N'gp_crear_tabla:%1', @LockMode = 'Exclusive', "
                          "@LockOwner = 'Transaction'")
        .arg(table.toLower().replace(QLatin1Char('\''), QLatin1String("''")));
}

bool SqlServerDialect::isSingleStatement(QStringView sql) const
{
    static const QSet<QString> statementWords = {
        QStringLiteral("INSERT"),    QStringLiteral("UPDATE"),      QStringLiteral("DELETE"),
        QStringLiteral("MERGE"),     QStringLiteral("EXEC"),        QStringLiteral("EXECUTE"),
        QStringLiteral("CREATE"),    QStringLiteral("ALTER"),       QStringLiteral("DROP"),
        QStringLiteral("TRUNCATE"),  QStringLiteral("GRANT"),       QStringLiteral("REVOKE"),
        QStringLiteral("DENY"),      QStringLiteral("BACKUP"),      QStringLiteral("RESTORE"),
        QStringLiteral("DBCC"),      QStringLiteral("USE"),         QStringLiteral("DECLARE"),
        QStringLiteral("BEGIN"),     QStringLiteral("COMMIT"),      QStringLiteral("ROLLBACK"),
        QStringLiteral("SAVE"),      QStringLiteral("KILL"),        QStringLiteral("SHUTDOWN"),
        QStringLiteral("RECONFIGURE"), QStringLiteral("CHECKPOINT"), QStringLiteral("BULK"),
        QStringLiteral("WAITFOR"),   QStringLiteral("IF"),          QStringLiteral("WHILE"),
        QStringLiteral("PRINT"),     QStringLiteral("RAISERROR"),   QStringLiteral("THROW"),
        QStringLiteral("RETURN"),    QStringLiteral("GOTO"),        QStringLiteral("UPDATETEXT"),
        QStringLiteral("WRITETEXT"), QStringLiteral("SETUSER"),     QStringLiteral("REVERT"),
        QStringLiteral("ENABLE"),    QStringLiteral("DISABLE"),     QStringLiteral("SEND"),
        QStringLiteral("RECEIVE"),
    };
    StatementLexicon lexicon;
    lexicon.nestedComments = true;
    lexicon.bracketNames = true;
    lexicon.doubledBrackets = true;
    lexicon.atSignNames = true;
    lexicon.statementWords = &statementWords;
    return plat::isSingleStatement(sql, lexicon);
}

} // namespace plat
