#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/LiteralFechaSQL.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "tests/support/TempDir.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

// The literals the routines write must be valid SQL that finds the right rows.
class SQLiteReal : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConexion);
            db.setDatabaseName(dir_.file(QStringLiteral("datos.sqlite")));
            ASSERT_TRUE(db.open()) << qPrintable(db.lastError().text());
        }
        Ejecutar(QStringLiteral("CREATE TABLE CLIENTE (Codigo INTEGER, Nombre VARCHAR(40), Alta DATETIME, "
                                "Saldo DOUBLE)"));
    }

    void TearDown() override
    {
        QSqlDatabase::removeDatabase(kConexion);
    }

    void Ejecutar(const QString &sql)
    {
        QSqlQuery q(QSqlDatabase::database(kConexion));
        ASSERT_TRUE(q.exec(sql)) << qPrintable(sql) << ": " << qPrintable(q.lastError().text());
    }

    QStringList Codigos(const QString &sql)
    {
        QSqlQuery q(QSqlDatabase::database(kConexion));
        QStringList codigos;
        if (!q.exec(sql)) {
            ADD_FAILURE() << qPrintable(sql) << ": " << qPrintable(q.lastError().text());
            return codigos;
        }
        while (q.next())
            codigos << q.value(0).toString();
        return codigos;
    }

    void Insertar(int codigo, const QVariant &nombre, const QVariant &alta, double saldo)
    {
        Ejecutar(QStringLiteral("INSERT INTO CLIENTE (Codigo, Nombre, Alta, Saldo) VALUES (%1, %2, %3, %4)")
                     .arg(ValorASQL(codigo), nombre.isNull() ? QStringLiteral("NULL") : ValorASQL(nombre),
                          ValorASQL(alta), ValorASQL(saldo)));
    }

    static inline const QString kConexion = QStringLiteral("comun_sqlite_test");
    // SQLite keeps dates as 'yyyy-mm-dd hh:mm:ss', as its dialect writes them.
    Gancho<LiteralFechaSQLFn>::Instalacion literal_{ganchoLiteralFechaSQL(), [](const QDateTime &valor, const QString &) {
        return valor.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    }};
    gptest::TempDir dir_;
};

TEST_F(SQLiteReal, ValorConComillasYVaciosNulos)
{
    Insertar(1, QStringLiteral("O'Brien"), FechaHora(QDate(2024, 3, 5), QTime(10, 0)), 1.5);
    Insertar(2, QString(QLatin1String("")), QDateTime(), 0);
    Insertar(3, QVariant(), FechaHora(QDate(2024, 3, 6), QTime(0, 0)), -2.25);
    Insertar(4, QStringLiteral("x = '' y"), FechaHora(QDate(2024, 3, 7), QTime(0, 0)), 3);

    EXPECT_EQ(Codigos(QStringLiteral("SELECT Codigo FROM CLIENTE WHERE Nombre = ") + ValorASQL(QStringLiteral("O'Brien"))),
              QStringList{QStringLiteral("1")});

    const QString vacios = AjustarComparacionesVacias(
        QStringLiteral("SELECT Codigo FROM CLIENTE WHERE Nombre = '' ORDER BY Codigo"));
    EXPECT_EQ(Codigos(vacios), (QStringList{QStringLiteral("2"), QStringLiteral("3")}));

    const QString conLiteral = AjustarComparacionesVacias(
        QStringLiteral("SELECT Codigo FROM CLIENTE WHERE Nombre <> ") + ValorASQL(QStringLiteral("x = '' y"))
        + QStringLiteral(" AND Nombre <> '' ORDER BY Codigo"));
    EXPECT_EQ(Codigos(conLiteral), QStringList{QStringLiteral("1")});

    const QString conComillaInicial = AjustarComparacionesVacias(
        QStringLiteral("SELECT Codigo FROM CLIENTE WHERE Nombre = ") + ValorASQL(QStringLiteral("'x")));
    EXPECT_TRUE(Codigos(conComillaInicial).isEmpty());
}

TEST_F(SQLiteReal, RangosDeFechasNumerosYTextos)
{
    Insertar(1, QStringLiteral("O'Brien"), FechaHora(QDate(2024, 3, 5), QTime(0, 0)), 1.5);
    Insertar(2, QStringLiteral("Zapata"), FechaHora(QDate(2024, 3, 9), QTime(0, 0)), 12.75);
    Insertar(3, QStringLiteral("Abad"), QDateTime(), 0);

    auto codigos = [&](const QString &condicion) {
        return Codigos(QStringLiteral("SELECT Codigo FROM CLIENTE WHERE ") + condicion + QStringLiteral(" ORDER BY Codigo"));
    };
    EXPECT_EQ(codigos(ConstruirCondicionRango(QStringLiteral("Alta"), QStringLiteral("1/3/2024"),
                                              QStringLiteral("6/3/2024"), QStringLiteral("ftDate"))),
              QStringList{QStringLiteral("1")});
    EXPECT_EQ(codigos(ConstruirCondicionRango(QStringLiteral("Saldo"), QStringLiteral("1,5"),
                                              QStringLiteral("12,75"), QStringLiteral("ftFloat"))),
              (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(codigos(ConstruirCondicionRango(QStringLiteral("Nombre"), QStringLiteral("O'Brien"),
                                              QStringLiteral("O'Brien"), QStringLiteral("ftString"))),
              QStringList{QStringLiteral("1")});
    EXPECT_EQ(codigos(ConstruirCondicionRango(QStringLiteral("Codigo"), QString(), QStringLiteral("2"),
                                              QStringLiteral("ftInteger"))),
              (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    // The zero date is stored as a value, and the equality finds it.
    EXPECT_EQ(Codigos(QStringLiteral("SELECT Codigo FROM CLIENTE WHERE Alta = ") + ValorASQL(QDateTime())),
              QStringList{QStringLiteral("3")});
}

} // namespace
