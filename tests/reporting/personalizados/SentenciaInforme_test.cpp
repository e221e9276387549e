#include "GENEW/reporting/personalizados/SentenciaInforme.h"

#include <gtest/gtest.h>

namespace {

struct CasoSentencia
{
    const char *nombre;
    DefinicionInforme definicion;
    const char *sentencia;
};

DefinicionInforme listas(QStringList tablas, QStringList columnas, QStringList vinculos = {},
                         QStringList restricciones = {}, QStringList ordenacion = {})
{
    DefinicionInforme d;
    d.Tablas = tablas;
    d.Columnas = columnas;
    d.Vinculos = vinculos;
    d.Restricciones = restricciones;
    d.Ordenacion = ordenacion;
    return d;
}

TEST(SentenciaInforme, BuildsTheStatementOfTheLists)
{
    const CasoSentencia casos[] = {
        {"empty", listas({}, {}), ""},
        {"columns only", listas({}, {"a", "b"}), "SELECT a, b\r\n"},
        {"tables without links", listas({"A", "B"}, {"A.x"}), "SELECT A.x\r\nFROM A, B\r\n"},
        {"two links on B merged", listas({"A", "B"}, {"A.x"}, {"A.x = B.x", "A.y = B.y"}),
         "SELECT A.x\r\nFROM A\r\nJOIN B ON  A.x = B.x AND A.y = B.y\r\n"},
        {"three links read c1, c3, c2", listas({"A", "B"}, {"A.x"}, {"A.c1 = B.c1", "A.c2 = B.c2", "A.c3 = B.c3"}),
         "SELECT A.x\r\nFROM A\r\nJOIN B ON  A.c1 = B.c1 AND A.c3 = B.c3 AND A.c2 = B.c2\r\n"},
        {"a link from another table joins its left table; unlinked tables are not named",
         listas({"A", "B", "C", "D"}, {"A.x"}, {"C.k = B.k", "A.b = B.b"}),
         "SELECT A.x\r\nFROM A\r\nJOIN C ON  C.k = B.k\r\nJOIN B ON  A.b = B.b\r\n"},
        {"restrictions keep their commas",
         listas({"A"}, {"A.x"}, {}, {"A.x IN (\"a\",\"b\")", "A.y > :#Minimo"}),
         "SELECT A.x\r\nFROM A\r\nWHERE A.x IN (\"a\",\"b\") AND A.y > :#Minimo\r\n"},
        {"ordering: titled column, expression by its title, DESC",
         listas({"A"}, {"A.x AS 'Equis'", "(A.y*2) AS 'Total'"}, {}, {},
                {"A.x AS 'Equis' DESC", "_Expresion AS 'Total'", "_Expresion AS 'Otro' DESC"}),
         "SELECT A.x AS 'Equis', (A.y*2) AS 'Total'\r\nFROM A\r\nORDER BY A.x DESC, 'Total', 'Otro' DESC\r\n"},
    };
    for (const auto &caso : casos)
        EXPECT_EQ(ConstruirSentenciaSQL(caso.definicion), QString::fromUtf8(caso.sentencia)) << caso.nombre;
}

TEST(SentenciaInforme, HtmlMarksKeywordsTitlesAndVariablesOverEscapedText)
{
    const DefinicionInforme d = listas({"A", "B"}, {"A.x", "(A.y & 1) AS 'Total'"}, {"A.k = B.k"},
                                       {"A.z < :$Nombre", "A.w = '<b>'"}, {"A.x DESC"});
    EXPECT_EQ(SentenciaSQLAHTML(ConstruirSentenciaSQL(d)),
              "<body bgcolor=\"#FFFFD2\"><font face=\"Verdana\" size=\"1.5\">"
              "<b>SELECT </b>A.x, (A.y &amp; 1)<b> AS </b><font color=\"blue\">'Total'</font><br>"
              "<b> FROM </b>A<br>"
              "<b>JOIN </b>B<b> ON </b> A.k = B.k<br>"
              "<b>WHERE </b>A.z &lt; <font color=\"red\">:$Nombre</font><b> AND </b>A.w = '&lt;b&gt;'<br>"
              "<b>ORDER BY </b>A.x<b> DESC</b><br></font></body>");
}

TEST(SentenciaInforme, ScannersTakeWholeNames)
{
    const QString sentencia = "SELECT (a) AS 'Total', (b) AS 'Total Neto', (c) AS 'Total'\r\n"
                              "WHERE x = :#A AND y = :#AB AND f > :&Desde AND n IN ( :*Lista ) AND z = :#A";
    EXPECT_EQ(ListaTitulosColumnas(sentencia), "'Total'\r\n'Total Neto'\r\n");
    EXPECT_EQ(ListaVariablesSQL(sentencia), ":#A\r\n:#AB\r\n:&Desde\r\n:*Lista\r\n");
}

TEST(SentenciaInforme, TrialTextTakesTheDummies)
{
    const QString sentencia = "SELECT A.x\r\nFROM A\r\nWHERE A.n = :#A AND A.m = :#AB AND A.f = :&Desde"
                              " AND A.t = :$Texto AND A.l IN ( :*Lista )\r\n";
    const QString comun = "SELECT TOP 1 A.x FROM A WHERE A.n = 0 AND A.m = 0 AND A.f = '1/1/1900'"
                          " AND A.t = '' AND A.l IN ( %1 ) ";
    EXPECT_EQ(SentenciaPruebaInforme(sentencia, ListaVaciaPrueba::ComillasDobles), comun.arg("\"\""));
    EXPECT_EQ(SentenciaPruebaInforme(sentencia, ListaVaciaPrueba::ComillasSimples), comun.arg("''"));
    EXPECT_EQ(SentenciaPruebaInforme("UPDATE A SET x = 1", ListaVaciaPrueba::ComillasSimples), "UPDATE A SET x = 1");
}

TEST(SentenciaInforme, OrderingMustBeginWithTheGroups)
{
    struct
    {
        QStringList grupos, ordenacion, corregida;
        bool correcta;
    } casos[] = {
        {{"A", "B"}, {"B"}, {"A", "B"}, false},
        {{"A", "B"}, {"A DESC", "B", "C"}, {"A", "B", "C"}, true},
        {{"A.x AS 'X'"}, {"A.x DESC", "B.y"}, {"A.x AS 'X'", "B.y"}, true},
        {{"A"}, {"B", "A DESC"}, {"A", "B"}, false},
        {{}, {"B"}, {"B"}, true},
    };
    for (const auto &c : casos) {
        EXPECT_EQ(OrdenacionEmpiezaPorGrupos(c.ordenacion, c.grupos), c.correcta) << c.ordenacion.join('|').toStdString();
        EXPECT_EQ(CorregirOrdenacion(c.ordenacion, c.grupos), c.corregida) << c.ordenacion.join('|').toStdString();
    }
}

} // namespace
