#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/LiteralFechaSQL.h"
#include "GENEW/runtime/comun/RutinasSQL.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

QDateTime F(int a, int m, int d, int h = 0, int n = 0, int s = 0)
{
    return FechaHora(QDate(a, m, d), QTime(h, n, s));
}

// Restores the SQL date format after each case.
class SQLTexto : public ::testing::Test
{
protected:
    void TearDown() override
    {
        ajustesComunes().ponerFormatoFechaSQL(QStringLiteral("mm/dd/yyyy"));
    }
};

TEST_F(SQLTexto, TablaDeLaSentencia)
{
    EXPECT_EQ(ObtenerTablaDeSQL(QStringLiteral("SELECT * FROM clientes WHERE A = 1")), QStringLiteral("CLIENTES"));
    EXPECT_EQ(ObtenerTablaDeSQL(QStringLiteral("SELECT *\r\nFROM dbo.Tabla\r\nWHERE X = 1")), QStringLiteral("DBO.TABLA"));
    EXPECT_EQ(ObtenerTablaDeSQL(QStringLiteral("SELECT * FROM A,B")), QStringLiteral("A,B"));
    EXPECT_EQ(ObtenerTablaDeSQL(QStringLiteral("select * from clientes")), QString());
    EXPECT_EQ(ObtenerTablaDeSQL(QStringLiteral("SELECT A FROM T1 WHERE B IN (SELECT C FROM T2)")), QStringLiteral("T1"));
}

TEST_F(SQLTexto, ValorComoLiteral)
{
    EXPECT_EQ(ValorASQL(2.5), QStringLiteral("2.500000"));
    EXPECT_EQ(ValorASQL(-1234.5678901), QStringLiteral("-1234.567890"));
    EXPECT_EQ(ValorASQL(7), QStringLiteral("7"));
    EXPECT_EQ(ValorASQL(QVariant::fromValue<qlonglong>(-9)), QStringLiteral("-9"));
    EXPECT_EQ(ValorASQL(QStringLiteral("abc")), QStringLiteral("'abc'"));
    EXPECT_EQ(ValorASQL(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(ValorASQL(QVariant::fromValue(nullptr)), QStringLiteral("''"));
    EXPECT_EQ(ValorASQL(QVariant(QMetaType::fromType<double>())), QStringLiteral("''"));
    EXPECT_EQ(ValorASQL(true), QString());
    EXPECT_EQ(ValorASQL(QVariant()), QString());
    EXPECT_EQ(ValorASQL(QVariant::fromValue<short>(3)), QString());
}

TEST_F(SQLTexto, FechasEnElFormatoSQL)
{
    EXPECT_EQ(ValorASQL(F(2024, 3, 5, 7, 8, 9)), QStringLiteral("'03/05/2024 07:08:09'"));
    EXPECT_EQ(ValorASQL(QDate(2024, 3, 5)), QStringLiteral("'03/05/2024 00:00:00'"));
    EXPECT_EQ(ValorASQL(F(1899, 12, 30)), QStringLiteral("'12/30/1899 00:00:00'"));
    ajustesComunes().ponerFormatoFechaSQL(QStringLiteral("dd/mm/yyyy"));
    EXPECT_EQ(ValorASQL(F(2024, 3, 5, 7, 8, 9)), QStringLiteral("'05/03/2024 07:08:09'"));
    EXPECT_EQ(ValorASQL(QDateTime()), QStringLiteral("'30/12/1899 00:00:00'"));
}

TEST_F(SQLTexto, ElLiteralDeFechaInstalado)
{
    QList<QPair<QDateTime, QString>> llamadas;
    std::optional<Gancho<LiteralFechaSQLFn>::Instalacion> literal;
    literal.emplace(ganchoLiteralFechaSQL(), [&](const QDateTime &valor, const QString &literal) {
        llamadas.append({valor, literal});
        return valor.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    });
    EXPECT_EQ(ValorASQL(F(2024, 3, 5, 7, 8, 9)), QStringLiteral("'2024-03-05 07:08:09'"));
    EXPECT_EQ(ValorASQL(QDateTime()), QStringLiteral("'1899-12-30 00:00:00'"));
    EXPECT_EQ(ConstruirCondicionRango(QStringLiteral("Fecha"), QStringLiteral("1/2/2024"), QStringLiteral("29/2/2024"),
                                      QStringLiteral("ftDate")),
              QStringLiteral("(Fecha >= '2024-02-01 00:00:00' AND Fecha <= '2024-02-29 00:00:00')"));
    ASSERT_EQ(llamadas.size(), 4);
    EXPECT_EQ(llamadas.at(0).second, QStringLiteral("03/05/2024 07:08:09"));
    EXPECT_EQ(llamadas.at(1).second, QStringLiteral("12/30/1899 00:00:00"));
    EXPECT_EQ(llamadas.at(2).second, QStringLiteral("02/01/2024"));
    literal.reset();   // the program's own literal comes back
    EXPECT_EQ(LiteralFechaSQL(F(2024, 1, 1), QStringLiteral("01/01/2024")), QStringLiteral("01/01/2024"));
}

TEST_F(SQLTexto, VarianteATexto)
{
    EXPECT_EQ(VarianteATexto(QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_EQ(VarianteATexto(42), QStringLiteral("42"));
    EXPECT_EQ(VarianteATexto(1.5), QStringLiteral("1,5"));
    EXPECT_EQ(VarianteATexto(F(2024, 3, 5)), QStringLiteral("05/03/2024"));
    EXPECT_EQ(VarianteATexto(F(2024, 3, 5, 10, 0)), QStringLiteral("05/03/2024 10:00:00"));
    EXPECT_EQ(VarianteATexto(QVariantList{QStringLiteral("primero"), 2}), QStringLiteral("primero"));
    EXPECT_EQ(VarianteATexto(QVariant::fromValue(nullptr)), QString());
    EXPECT_EQ(VarianteATexto(QVariant::fromValue<uchar>(65)), QString());
    EXPECT_EQ(VarianteATexto(QVariant()), QString());
}

struct CasoVacias
{
    const char *sql;
    const char *esperado;
};

TEST_F(SQLTexto, ComparacionesVacias)
{
    const CasoVacias casos[] = {
        {"SELECT * FROM T WHERE A = 1", "SELECT * FROM T WHERE A = 1"},
        {"SELECT * FROM T WHERE A = ''", "SELECT * FROM T WHERE (A = '' OR A IS NULL)"},
        {"SELECT * FROM T WHERE A <> '' AND B = ''",
         "SELECT * FROM T WHERE (A <> '' AND A IS NOT NULL) AND (B = '' OR B IS NULL)"},
        {"SELECT * FROM T WHERE (Nombre = '')", "SELECT * FROM T WHERE ((Nombre = '' OR Nombre IS NULL))"},
        {"A = '' AND B = ''", "(A = '' OR A IS NULL) AND (B = '' OR B IS NULL)"},
        // A comparison before WHERE stops the later ones of its kind.
        {"SELECT A = '' FROM T WHERE B = '' AND C <> ''",
         "SELECT A = '' FROM T WHERE B = '' AND (C <> '' AND C IS NOT NULL)"},
        // Quoted literals are not comparisons, and '''...' is a literal that starts with a quote.
        {"SELECT * FROM T WHERE A = 'x = '' y' AND B = ''",
         "SELECT * FROM T WHERE A = 'x = '' y' AND (B = '' OR B IS NULL)"},
        {"SELECT * FROM T WHERE A = '''O''Brien'", "SELECT * FROM T WHERE A = '''O''Brien'"},
        {"SELECT * FROM T WHERE A = 'O''Brien' AND B <> ''",
         "SELECT * FROM T WHERE A = 'O''Brien' AND (B <> '' AND B IS NOT NULL)"},
        // No name before the comparison: the text stays as it was.
        {"WHERE ( = '')", "WHERE ( = '')"},
        {"SELECT * FROM T\r\nWHERE\r\nA = ''", "SELECT * FROM T\r\nWHERE\r\n(A = '' OR A IS NULL)"},
    };
    for (const CasoVacias &c : casos)
        EXPECT_EQ(AjustarComparacionesVacias(QString::fromUtf8(c.sql)), QString::fromUtf8(c.esperado)) << c.sql;
}

struct CasoRango
{
    const char *desde;
    const char *hasta;
    const char *tipo;
    const char *esperado;
};

TEST_F(SQLTexto, CondicionDeRango)
{
    const CasoRango casos[] = {
        {"", "10", "ftInteger", "((F >= 0 AND F <= 10) OR (F IS NULL))"},
        {"5", "5", "ftInteger", "(F = 5)"},
        {"x", "7", "ftSmallint", "((F >= 0 AND F <= 7) OR (F IS NULL))"},
        {"3", "1;DROP", "ftInteger", "(F >= 3 AND F <= 0)"},
        {"2", "9", "CAST_AS_INTEGER", "(CAST(F AS INTEGER) >= 2 AND  CAST(F AS INTEGER) <= 9)"},
        {"4", "4", "CAST_AS_INTEGER", "(CAST(F AS INTEGER) = 4)"},
        {"1,5", "10,25", "ftFloat", "(F >= 1.5 AND F <= 10.25)"},
        {"1.234,5", "1.234,5", "ftFloat", "(F = 1234.5)"},
        {"0", "abc", "ftFloat", "((F >= 0 AND F <= 0) OR (F IS NULL))"},
        {"1) OR (1=1", "2", "ftFloat", "((F >= 0 AND F <= 2) OR (F IS NULL))"},
        {"A", "M", "ftString", "(F >= 'A' AND F <= 'M')"},
        {"", "M", "ftString", "((F >= '' AND F <= 'M') OR (F IS NULL))"},
        {"", "M", "ftMemo", "(F >= '' AND F <= 'M')"},
        {"O'Brien", "O'Brien", "ftString", "(F = 'O''Brien')"},
        {"1/2/2024", "1/2/2024", "ftDate", "(F = '02/01/2024')"},
        {"1/2/2024 10:30", "3/2/2024", "ftDateTime", "(F >= '02/01/2024' AND F <= '02/03/2024')"},
        {"", "3/2/2024", "ftDate", "((F >= '12/30/1899' AND F <= '02/03/2024') OR (F IS NULL))"},
    };
    for (const CasoRango &c : casos)
        EXPECT_EQ(ConstruirCondicionRango(QStringLiteral("F"), QString::fromUtf8(c.desde), QString::fromUtf8(c.hasta),
                                          QString::fromUtf8(c.tipo)),
                  QString::fromUtf8(c.esperado))
            << c.desde << " / " << c.hasta << " / " << c.tipo;
}

TEST_F(SQLTexto, NombresDeTablas)
{
    EXPECT_TRUE(EsTablaGeneral(QStringLiteral("EMPRESA")));
    EXPECT_TRUE(EsTablaGeneral(QStringLiteral("dbo.EMPRESA")));
    EXPECT_TRUE(EsTablaGeneral(QStringLiteral("VPART")));
    EXPECT_FALSE(EsTablaGeneral(QStringLiteral("empresa")));
    EXPECT_FALSE(EsTablaGeneral(QStringLiteral("GENERAL.dbo.EMPRESA")));
    EXPECT_FALSE(EsTablaGeneral(QStringLiteral("PROYECTO")));
    EXPECT_TRUE(EsTablaTemporal(QStringLiteral("TEMP12345")));
    EXPECT_TRUE(EsTablaTemporal(QStringLiteral("temp_abcd")));
    EXPECT_TRUE(EsTablaTemporal(QStringLiteral("dbo.TEMP000001_X")));
    EXPECT_FALSE(EsTablaTemporal(QStringLiteral("TEMP1234")));
    EXPECT_FALSE(EsTablaTemporal(QStringLiteral("TMP123456")));
    EXPECT_TRUE(EsErrorTablaInexistente(QStringLiteral("Error: TABLE DOES NOT EXIST. no such table")));
    EXPECT_TRUE(EsErrorTablaInexistente(QStringLiteral("Table unknown")));
    EXPECT_FALSE(EsErrorTablaInexistente(QStringLiteral("Key violation")));
}

} // namespace
