// A client dataset's changes written back through the closed live query it was read from.
#include "platform/base/Errores.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/QueryDataSet.h"
#include "tests/platform/engine/EngineFixture.h"

using namespace plat;
using gptest::EngineTest;

namespace {

QString stored(Connection &db)
{
    QStringList rows;
    for (const QVariantList &row : db.query(QStringLiteral("SELECT Codigo, Nombre FROM T ORDER BY Codigo")).rows)
        rows << row.value(0).toString() + u'=' + row.value(1).toString();
    return rows.join(u',');
}

void setRow(DataSet &ds, const QVariant &codigo, const QString &nombre)
{
    ds.fieldByName(QStringLiteral("Codigo")).setValue(codigo);
    ds.fieldByName(QStringLiteral("Nombre")).setAsString(nombre);
    ds.post();
}

} // namespace

TEST_P(EngineTest, ClientChangesAreWrittenInOneTransactionOrNotAtAll)
{
    TableDef t;
    t.name = QStringLiteral("T");
    t.fields = {fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true), fieldDef(QStringLiteral("Nombre"), ftString, 20)};
    IndexDef key;
    key.name = QStringLiteral("Clave");
    key.fields = {QStringLiteral("Codigo")};
    key.primary = key.unique = true;
    t.indexes = {key};
    db().createTable(t);
    db().exec(QStringLiteral("INSERT INTO T (Codigo, Nombre) VALUES (1, 'A')"));
    db().exec(QStringLiteral("INSERT INTO T (Codigo, Nombre) VALUES (2, 'B')"));
    db().exec(QStringLiteral("INSERT INTO T (Codigo, Nombre) VALUES (3, 'C')"));

    QueryDataSet query;
    query.setConnection(&db());
    query.setSql(QStringLiteral("SELECT Codigo, Nombre FROM T ORDER BY Codigo"));
    DataSetProvider provider(&query);
    ClientDataSet client;
    client.setProvider(&provider);

    // Read-only: nothing can be written back.
    client.open();
    client.edit();
    setRow(client, 1, QStringLiteral("X"));
    EXPECT_THROW(client.applyUpdates(), gp::DatabaseError);
    client.close();

    query.setRequestLive(true);
    client.open();
    query.close();   // the client keeps the rows; the query its table and key
    client.edit();
    setRow(client, 1, QStringLiteral("X"));
    client.next();
    client.edit();
    setRow(client, 3, QStringLiteral("B3"));   // the key of the third row
    EXPECT_THROW(client.applyUpdates(), gp::DatabaseError);
    EXPECT_EQ(stored(db()), "1=A,2=B,3=C") << "the first edit went back with the second";
    EXPECT_EQ(client.changeCount(), 2);
    EXPECT_FALSE(db().inTransaction());

    client.edit();
    setRow(client, 2, QStringLiteral("Y"));
    client.last();
    client.remove();
    client.append();
    setRow(client, 4, QStringLiteral("D"));
    client.applyUpdates();
    EXPECT_EQ(stored(db()), "1=X,2=Y,4=D");
    EXPECT_EQ(client.changeCount(), 0);
    EXPECT_EQ(client.recordCount(), 3);
}

TEST_P(EngineTest, RowsPassedThroughToTheClientArriveOnceAndInOrder)
{
    db().exec(QStringLiteral("CREATE TABLE N (I INTEGER)"));
    db().exec(QStringLiteral("INSERT INTO N (I) WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s "
                             "WHERE i < 2500) SELECT i FROM s"),
              {}, SqlOrigin::AsWritten);
    QueryDataSet query;
    query.setConnection(&db());
    query.setSql(QStringLiteral("SELECT I FROM N ORDER BY I"));
    DataSetProvider provider(&query);
    provider.setPassThrough(true);
    ClientDataSet client;
    client.setProvider(&provider);
    for (int packet : {-1, 700}) {
        client.setPacketRecords(packet);
        client.open();
        qint64 expected = 0, wrong = 0;
        for (client.first(); !client.eof(); client.next())
            wrong += client.field(0).asInteger() != ++expected;
        EXPECT_EQ(expected, 2500) << packet;
        EXPECT_EQ(wrong, 0) << packet;
        EXPECT_LT(query.recordCount(), 2500) << "the query keeps only what it read before";
        client.close();
        query.close();
    }
}
