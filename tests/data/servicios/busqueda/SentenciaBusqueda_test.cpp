#include "GENEW/data/servicios/busqueda/PreferenciasBusqueda.h"
#include "GENEW/data/servicios/busqueda/SentenciaBusqueda.h"
#include "platform/data/engine/Dialect.h"
#include "tests/support/ImprimirQString.h"

#include <gtest/gtest.h>

namespace {

using plat::EngineKind;

SentenciaBusqueda en(EngineKind motor) { return SentenciaBusqueda(plat::Dialect::forEngine(motor)); }

PeticionBusqueda peticion(const QString &dato, ModoBusqueda modo = ModoBusqueda::Aproximada)
{
    PeticionBusqueda p;
    p.tabla = "LINEAS";
    p.campos = "Codigo;Linea";
    p.dato = dato;
    p.columnas = "Codigo,Linea,Nombre";
    p.modo = modo;
    p.limite = "100";
    return p;
}

// ---- SQL Server: the program's own texts -------------------------------------------------

struct CasoCondicion
{
    const char *campos;
    QString dato;
    ModoBusqueda modo;
    const char *esperado;
};

TEST(SentenciaBusquedaTest, SqlServerConditionsAreTheProgramsTexts)
{
    const CasoCondicion casos[] = {
        {"Codigo;Linea", "A,B", ModoBusqueda::Aproximada, " (Codigo = 'A') AND  (Linea >= 'B') "},
        {"Codigo;Linea", "A,B", ModoBusqueda::Parcial, " (Codigo LIKE 'A%') AND  (Linea LIKE 'B%') "},
        {"Codigo;Linea", "A;B", ModoBusqueda::Fonetica, " (Codigo LIKE '%A%') AND  (Linea LIKE '%B%') "},
        // More values than fields: the extra ones are ignored.
        {"Codigo", "A,B,C", ModoBusqueda::Aproximada, " (Codigo >= 'A') "},
        // More fields than values: the last value given takes ">=".
        {"Codigo;Linea;Orden", "A", ModoBusqueda::Aproximada, " (Codigo >= 'A') "},
        // An empty value ends the pairs.
        {"Codigo;Linea", ";B", ModoBusqueda::Aproximada, ""},
        // A quote stays inside its literal.
        {"Nombre", "O'Brien", ModoBusqueda::Aproximada, " (Nombre >= 'O''Brien') "},
        {"Nombre", "a')b", ModoBusqueda::Parcial, " (Nombre LIKE 'a'')b%') "},
        // A NUL would end the statement's text: it never reaches a literal.
        {"Nombre", QString("a") + QChar(0) + "b", ModoBusqueda::Fonetica, " (Nombre LIKE '%ab%') "},
        // Dates and times of the approximate mode in the program's SQL date format.
        {"Codigo;Fecha", "7,31/12/2024", ModoBusqueda::Aproximada, " (Codigo = '7') AND  (Fecha >= '12/31/2024') "},
        {"HoraInicio", "10:30", ModoBusqueda::Aproximada, " (HoraInicio >= '12/30/1899 10:30:00') "},
        {"Nombre", "10:30", ModoBusqueda::Aproximada, " (Nombre >= '10:30') "},
        // The partial mode compares dates as texts.
        {"Fecha", "31/12/2024", ModoBusqueda::Parcial, " (Fecha LIKE '31/12/2024%') "},
    };
    const SentenciaBusqueda s = en(EngineKind::SqlServer);
    for (const auto &c : casos)
        EXPECT_EQ(s.condicion(c.campos, c.dato, c.modo), QString(c.esperado)) << c.campos << " / " << c.dato.toStdString();
}

TEST(SentenciaBusquedaTest, SqlServerStatementsWithFilterOrderAndLimit)
{
    const SentenciaBusqueda s = en(EngineKind::SqlServer);
    PeticionBusqueda p = peticion("A,B");
    EXPECT_EQ(s.sentencia(p), "SELECT TOP 100 Codigo,Linea,Nombre FROM LINEAS WITH(NOLOCK)  WHERE  (Codigo = 'A') AND  "
                              "(Linea >= 'B') ");
    p.limite = "1000";
    p.filtro = "Baja = 0";
    p.ordenada = true;
    EXPECT_EQ(s.sentencia(p), "SELECT TOP 1000 Codigo,Linea,Nombre FROM LINEAS WITH(NOLOCK)  WHERE  (Codigo = 'A') AND  "
                              "(Linea >= 'B')  AND (Baja = 0) ORDER BY Codigo,Linea");
    p.dato.clear();
    p.limite = "Ilimitado";
    EXPECT_EQ(s.sentencia(p), "SELECT Codigo,Linea,Nombre FROM LINEAS WITH(NOLOCK)  WHERE Baja = 0 ORDER BY Codigo,Linea");
    p.filtro.clear();
    p.ordenada = false;
    for (const char *limite : {"0", "muchos"}) {
        p.limite = limite;
        EXPECT_EQ(s.sentencia(p), "SELECT TOP 1 Codigo,Linea,Nombre FROM LINEAS WITH(NOLOCK) ") << limite;
    }
}

TEST(SentenciaBusquedaTest, LetterClassesTolerateAccentsAndLetterVariants)
{
    EXPECT_EQ(SentenciaBusqueda::clasesLetras("García"), "g[aá]r[ck][iíy][aá]");
    EXPECT_EQ(SentenciaBusqueda::clasesLetras("Chacón"), "[ct][hxz][aá][ck][oó]n");
    EXPECT_EQ(SentenciaBusqueda::clasesLetras("Vizkaya"), "[bv][iíy]z[ck][aá][iíy][aá]");
    EXPECT_EQ(SentenciaBusqueda::clasesLetras("Etxeberria"), "[eé][ct][hxz][eé][bv][eé]rr[iíy][aá]");
}

TEST(SentenciaBusquedaTest, ApproximateFormConditions)
{
    const QList<QPair<QString, QString>> valores = {{"Codigo", ""}, {"Nombre", "García"}, {"Ciudad", "L'Hospitalet"}};
    EXPECT_EQ(en(EngineKind::SqlServer).condicionAproximacion(valores),
              " WHERE (Nombre LIKE '%g[aá]r[ck][iíy][aá]%') AND (Ciudad LIKE '%l''h[oó]sp[iíy]t[aá]l[eé]t%')");
    EXPECT_EQ(en(EngineKind::SQLite).condicionAproximacion(valores),
              " WHERE (GP_PLEGAR(Nombre) LIKE GP_PLEGAR('%García%')) AND (GP_PLEGAR(Ciudad) LIKE "
              "GP_PLEGAR('%L''Hospitalet%'))");
    EXPECT_EQ(en(EngineKind::SQLite).condicionAproximacion({{"Codigo", ""}}), "");
    EXPECT_EQ(en(EngineKind::SqlServer).sentenciaAproximacion("CLIENTE", " WHERE (A LIKE '%x%')"),
              "SELECT * FROM CLIENTE WHERE (A LIKE '%x%')");
}

// ---- the other engines --------------------------------------------------------------------

TEST(SentenciaBusquedaTest, OtherEnginesFoldTheirLikesAndTakeNoHintNorLimit)
{
    struct Caso
    {
        EngineKind motor;
        const char *parcial;
        const char *aproximada;
    };
    const Caso casos[] = {
        {EngineKind::SQLite, " (GP_PLEGAR(Codigo) LIKE GP_PLEGAR('A%')) AND  (GP_PLEGAR(Linea) LIKE GP_PLEGAR('B%')) ",
         "SELECT Codigo,Linea,Nombre FROM LINEAS  WHERE  (Codigo = 'A') AND  (Fecha >= '2024-12-31 00:00:00') "},
        {EngineKind::PostgreSQL,
         " (translate(lower(CAST(Codigo AS TEXT)), 'ÁÉÍÓÚÀÈÌÒÙÄËÏÖÜÂÊÎÔÛÑÇáéíóúàèìòùäëïöüâêîôûç', "
         "'aeiouaeiouaeiouaeiouñçaeiouaeiouaeiouaeiouc') LIKE translate(lower(CAST('A%' AS TEXT)), "
         "'ÁÉÍÓÚÀÈÌÒÙÄËÏÖÜÂÊÎÔÛÑÇáéíóúàèìòùäëïöüâêîôûç', 'aeiouaeiouaeiouaeiouñçaeiouaeiouaeiouaeiouc') ESCAPE '') "
         "AND  "
         "(translate(lower(CAST(Linea AS TEXT)), 'ÁÉÍÓÚÀÈÌÒÙÄËÏÖÜÂÊÎÔÛÑÇáéíóúàèìòùäëïöüâêîôûç', "
         "'aeiouaeiouaeiouaeiouñçaeiouaeiouaeiouaeiouc') LIKE translate(lower(CAST('B%' AS TEXT)), "
         "'ÁÉÍÓÚÀÈÌÒÙÄËÏÖÜÂÊÎÔÛÑÇáéíóúàèìòùäëïöüâêîôûç', 'aeiouaeiouaeiouaeiouñçaeiouaeiouaeiouaeiouc') ESCAPE '') ",
         "SELECT Codigo,Linea,Nombre FROM LINEAS  WHERE  (Codigo = 'A') AND  (Fecha >= '2024-12-31 00:00:00') "},
    };
    for (const auto &c : casos) {
        const SentenciaBusqueda s = en(c.motor);
        EXPECT_FALSE(s.admiteLimite());
        EXPECT_EQ(s.condicion("Codigo;Linea", "A,B", ModoBusqueda::Parcial), QString(c.parcial));
        PeticionBusqueda p = peticion("A,31/12/2024");
        p.campos = "Codigo;Fecha";
        p.limite = "1000";
        EXPECT_EQ(s.sentencia(p), QString(c.aproximada));
        EXPECT_EQ(s.condicion("Nombre", "O'Brien", ModoBusqueda::Aproximada), " (Nombre >= 'O''Brien') ");
    }
}

TEST(SentenciaBusquedaTest, WherePartCombinesConditionAndFilter)
{
    EXPECT_EQ(SentenciaBusqueda::parteWhere("", ""), "");
    EXPECT_EQ(SentenciaBusqueda::parteWhere("", "Baja = 0"), " WHERE Baja = 0");
    EXPECT_EQ(SentenciaBusqueda::parteWhere(" (A = '1') ", ""), " WHERE  (A = '1') ");
    EXPECT_EQ(SentenciaBusqueda::parteWhere(" (A = '1') ", "B = 2 OR C = 3"), " WHERE  (A = '1')  AND (B = 2 OR C = 3)");
    EXPECT_EQ(SentenciaBusqueda::normalizarDato("1,2;3"), "1;2;3");
}

// ---- DatosBusqueda ------------------------------------------------------------------------

TEST(PreferenciasBusquedaTest, EntriesReadAndWriteInTheFlagOrder)
{
    const QString datos = "CLIENTE:Nombre(F)(M),T:A;B(P)(O),LINEAS:Codigo(A)";
    const PreferenciaBusqueda t = PreferenciaBusqueda::leer(DatosBusqueda::entrada(datos, "T"));
    EXPECT_EQ(t.campos, "A;B");
    EXPECT_EQ(t.modo, ModoBusqueda::Parcial);
    EXPECT_TRUE(t.ordenada);
    EXPECT_FALSE(t.memos);
    EXPECT_EQ(t.texto(), "A;B(P)(O)");

    const PreferenciaBusqueda sinMarcas = PreferenciaBusqueda::leer("Nombre");
    EXPECT_FALSE(sinMarcas.modo.has_value());
    EXPECT_EQ(PreferenciaBusqueda::leer("Nombre(M)(O)(F)").texto(), "Nombre(F)(O)(M)");
    // Flags are read off the end only: taking one away never makes another of the list's letters.
    const PreferenciaBusqueda rara = PreferenciaBusqueda::leer("orbre(P(O))");
    EXPECT_FALSE(rara.ordenada);
    EXPECT_EQ(PreferenciaBusqueda::leer(rara.texto()).texto(), rara.texto());

    EXPECT_EQ(DatosBusqueda::conEntrada(datos, "T", "C(A)"), "CLIENTE:Nombre(F)(M),T:C(A),LINEAS:Codigo(A)");
    EXPECT_EQ(DatosBusqueda::conEntrada(datos, "NUEVA", "X(A)"), datos + ",NUEVA:X(A)");
    EXPECT_EQ(DatosBusqueda::conEntrada("", "T", "A;B(P)(O)"), "T:A;B(P)(O)");
    EXPECT_EQ(DatosBusqueda::entrada("", "T"), "");
    // A doubled separator of a hand-edited text does not open an empty entry.
    EXPECT_EQ(DatosBusqueda::conEntrada("A:x(A),,B:y(A)", "B", "z(P)"), "A:x(A),B:z(P)");
}

} // namespace
