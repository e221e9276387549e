#include "GENEW/data/servicios/TextosListado.h"

#include "GENEW/runtime/comun/LiteralFechaSQL.h"
#include "platform/base/Errores.h"
#include "platform/data/engine/Dialect.h"

#include <gtest/gtest.h>

namespace {

QStringList lineasFiltro(const QVector<std::array<QString, 4>> &entradas, ModoListado modo)
{
    QStringList lineas;
    for (const auto &[campo, operador, tipo, valor] : entradas)
        AgregarLineaFiltro(lineas, campo, operador, tipo, valor, modo);
    return lineas;
}

TEST(TextosListado, FilterLinesJoinWithAndAndQuoteByType)
{
    struct Caso
    {
        const char *nombre;
        QVector<std::array<QString, 4>> entradas;
        QStringList esperadas;
    };
    const QVector<Caso> casos{
        {"two lines, inner quote doubled",
         {{"Codigo", ">=", "ftString", "5"}, {"Nombre", "=", "ftString", "O'Brien"}},
         {"(Codigo >= '5') AND", "(Nombre = 'O''Brien')"}},
        {"empty value adds nothing",
         {{"Codigo", ">=", "ftString", "5"}, {"Nombre", "=", "ftString", ""}},
         {"(Codigo >= '5')"}},
        {"float as SQL number", {{"Importe", "=", "ftFloat", "1234,5"}}, {"(Importe = '1234.500000')"}},
        {"logical date", {{"Fecha", "<", "ftDateTime", "31/03/2024"}}, {"(Fecha < '31/03/2024')"}},
        {"time as typed", {{"Hora", "<>", "ftTime", "10:00"}}, {"(Hora <> '10:00')"}},
    };
    for (const Caso &caso : casos)
        EXPECT_EQ(lineasFiltro(caso.entradas, ModoListado::Logico), caso.esperadas) << caso.nombre;
}

TEST(TextosListado, TypedFloatPointBecomesComma)
{
    EXPECT_EQ(AjustarValorFlotante(QStringLiteral("1234.5")), QStringLiteral("1234,5"));
    EXPECT_EQ(AjustarValorFlotante(QStringLiteral("1.234,5")), QStringLiteral("1.234,5"));
    QStringList lineas;
    AgregarLineaFiltro(lineas, QStringLiteral("Importe"), QStringLiteral("="), QStringLiteral("ftFloat"),
                       AjustarValorFlotante(QStringLiteral("1234.5")), ModoListado::Fisico);
    EXPECT_EQ(lineas, QStringList{QStringLiteral("(Importe = '1234.500000')")});
}

TEST(TextosListado, DateThatDoesNotReadThrowsAndAddsNoLine)
{
    QStringList lineas{QStringLiteral("(Codigo = '1')")};
    try {
        AgregarLineaFiltro(lineas, QStringLiteral("Fecha"), QStringLiteral("="), QStringLiteral("ftDate"),
                           QStringLiteral("x"), ModoListado::Logico);
        ADD_FAILURE() << "no error";
    } catch (const gp::ConversionError &e) {
        EXPECT_EQ(e.mensaje(), QStringLiteral("'x' is not a valid date"));
    }
    EXPECT_EQ(lineas, QStringList{QStringLiteral("(Codigo = '1')")});
    EXPECT_THROW(TextoRangosListado({{QStringLiteral("Fecha"), QStringLiteral("ftDate"), QStringLiteral("x"), {}}},
                                    ModoListado::Fisico),
                 gp::ConversionError);
}

TEST(TextosListado, RangesInOwnPairsInsideOnePairPerModeAndEngine)
{
    const QVector<RangoListado> soloHasta{{QStringLiteral("Fecha"), QStringLiteral("ftDateTime"), {}, QStringLiteral("31/03/2024")}};
    EXPECT_EQ(TextoRangosListado(soloHasta, ModoListado::Logico), QStringLiteral("((Fecha <= '31/03/2024'))"));
    // No engine hook: the program's own literal (FormatoFechaSQL "mm/dd/yyyy"), as on SQL Server.
    EXPECT_EQ(TextoRangosListado(soloHasta, ModoListado::Fisico), QStringLiteral("((Fecha <= '03/31/2024'))"));
    {
        const Gancho<LiteralFechaSQLFn>::Instalacion sqlite(
            ganchoLiteralFechaSQL(), plat::Dialect::forEngine(plat::EngineKind::SQLite).programDateLiteral());
        EXPECT_EQ(TextoRangosListado(soloHasta, ModoListado::Fisico),
                  QStringLiteral("((Fecha <= '2024-03-31 00:00:00'))"));
    }
    const QVector<RangoListado> varios{{QStringLiteral("Codigo"), QStringLiteral("ftString"), QStringLiteral("1"), QStringLiteral("9")},
                                       {QStringLiteral("Nombre"), QStringLiteral("ftString"), {}, {}},
                                       {QStringLiteral("Notas"), QStringLiteral("ftMemo"), QStringLiteral("a'b"), {}}};
    EXPECT_EQ(TextoRangosListado(varios, ModoListado::Logico),
              QStringLiteral("((Codigo >= '1') AND (Codigo <= '9') AND (Notas >= 'a''b'))"));
    EXPECT_TRUE(TextoRangosListado({varios[1]}, ModoListado::Logico).isEmpty());
}

TEST(TextosListado, ConditionJoinsMemoAndRanges)
{
    EXPECT_EQ(TextoCondicionListado(QStringLiteral("(A = '1')"), QStringLiteral("((B >= '2'))")),
              QStringLiteral("((A = '1')) AND ((B >= '2'))"));
    EXPECT_EQ(TextoCondicionListado(QStringLiteral("(A = '1')"), {}), QStringLiteral("((A = '1'))"));
    EXPECT_EQ(TextoCondicionListado({}, QStringLiteral("((B >= '2'))")), QStringLiteral("((B >= '2'))"));
    EXPECT_TRUE(TextoCondicionListado({}, {}).isEmpty());
}

QVector<CampoListado> campos(const QStringList &descripcion)
{
    QVector<CampoListado> resultado;
    for (const QString &d : descripcion) {
        const QStringList partes = d.split(QLatin1Char(':'));
        resultado.append({partes[0], partes[1], partes.value(2).toInt()});
    }
    return resultado;
}

TEST(TextosListado, PhysicalQuerySortsNonMemoFieldsOfTheFirstTen)
{
    const auto seleccion = campos({"Codigo:ftString", "Notas:ftMemo", "Nombre:ftString", "Importe:ftFloat"});
    EXPECT_EQ(SentenciaListado(seleccion, QStringLiteral("LISTA"), QStringLiteral("((Codigo >= '5'))"), true),
              QStringLiteral("SELECT Codigo,Notas,Nombre,Importe\r\nFROM LISTA\r\nWHERE ((Codigo >= '5'))\r\n"
                             "ORDER BY Codigo,Nombre,Importe"));
    EXPECT_EQ(SentenciaListado(seleccion, QStringLiteral("LISTA"), {}, false),
              QStringLiteral("SELECT Codigo,Notas,Nombre,Importe\r\nFROM LISTA"));
    QStringList once;
    for (int i = 1; i <= 11; ++i)
        once << QStringLiteral("C%1:ftString").arg(i);
    EXPECT_TRUE(SentenciaListado(campos(once), QStringLiteral("T"), {}, true).endsWith(QStringLiteral("ORDER BY C1,C2,C3,C4,C5,C6,C7,C8,C9,C10")));
}

TEST(TextosListado, SortedCopyDefinitionKeysWhatItIndexes)
{
    EXPECT_EQ(DefinicionCopiaClasificada(campos({"Codigo:ftString:10", "Notas:ftMemo", "Importe:ftFloat"})),
              QStringLiteral("Tabla Temporal\r\n/C/1/Codigo/ftString/10/*/\r\n/C/2/Importe/ftFloat/0/*/\r\n"
                             "/C/3/ContadorAutoLP/ftInteger/0/*/\r\n/C/4/Notas/ftMemo/0/\r\n"
                             "/I/1/<Primary>/Codigo;Importe;ContadorAutoLP\r\n"));

    // Two memos among the first eleven fields: all ten key columns are still indexed.
    QStringList doce{"M1:ftMemo", "M2:ftBlob"};
    for (int i = 1; i <= 10; ++i)
        doce << QStringLiteral("C%1:ftString:5").arg(i);
    const QString dos = DefinicionCopiaClasificada(campos(doce));
    EXPECT_TRUE(dos.contains(QStringLiteral("/C/10/C10/ftString/5/*/\r\n/C/11/ContadorAutoLP/ftInteger/0/*/\r\n")));
    EXPECT_TRUE(dos.endsWith(QStringLiteral("/I/1/<Primary>/C1;C2;C3;C4;C5;C6;C7;C8;C9;C10;ContadorAutoLP\r\n")));

    // Eleven leading memos: the copy still keeps its key order.
    QStringList memos;
    for (int i = 1; i <= 11; ++i)
        memos << QStringLiteral("M%1:ftMemo").arg(i);
    memos << QStringLiteral("Codigo:ftString:3");
    const QString once = DefinicionCopiaClasificada(campos(memos));
    EXPECT_TRUE(once.startsWith(QStringLiteral("Tabla Temporal\r\n/C/1/Codigo/ftString/3/*/\r\n/C/2/ContadorAutoLP/ftInteger/0/*/\r\n")));
    EXPECT_TRUE(once.endsWith(QStringLiteral("/I/1/<Primary>/Codigo;ContadorAutoLP\r\n")));

    // Twelve plain fields: the eleventh and twelfth come after the counter, unkeyed.
    QStringList planos;
    for (int i = 1; i <= 12; ++i)
        planos << QStringLiteral("C%1:ftInteger").arg(i);
    const QString doceP = DefinicionCopiaClasificada(campos(planos));
    EXPECT_TRUE(doceP.contains(QStringLiteral("/C/11/ContadorAutoLP/ftInteger/0/*/\r\n/C/12/C11/ftInteger/0/\r\n")));
}

} // namespace
