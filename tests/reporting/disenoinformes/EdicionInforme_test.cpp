#include "GENEW/reporting/EdicionInforme.h"

#include "platform/data/engine/Dialect.h"

#include <gtest/gtest.h>

using namespace edicionInforme;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

struct Listas
{
    QStringList columnas, restricciones, ordenacion, vinculos, grupos, sumatorios;
    ListasInforme ref() { return {columnas, restricciones, ordenacion, vinculos, grupos, sumatorios}; }
};

} // namespace

TEST(EdicionInforme, DeletingATableOrAColumnTakesItsReferencesAlong)
{
    Listas l;
    l.columnas = {"A.x", "B.y AS 'Total'", "BB.z", "(A.x * 2) AS 'Doble'"};
    l.restricciones = {"A.x = :$X", "B.y > 3", "A.x = B.y", "BB.z = 'B.q'"};
    l.ordenacion = {"B.y AS 'Total' DESC", "A.x", "_Expresion AS 'Doble'"};
    l.vinculos = {"A.x = B.y", "A.x = BB.z"};
    l.grupos = {"A.x", "_Expresion AS 'Doble'"};
    l.sumatorios = {"B.y AS 'Total'"};
    quitarReferenciasTabla("B", l.ref());
    EXPECT_EQ(l.columnas, QStringList({"A.x", "BB.z", "(A.x * 2) AS 'Doble'"}));
    EXPECT_EQ(l.restricciones, QStringList({"A.x = :$X", "BB.z = 'B.q'"}));   // 'B.q' holds no blank before B
    EXPECT_EQ(l.vinculos, QStringList({"A.x = BB.z"}));
    EXPECT_EQ(l.ordenacion, QStringList({"A.x", "_Expresion AS 'Doble'"}));
    EXPECT_TRUE(l.sumatorios.isEmpty());

    quitarReferenciasColumna("(A.x * 2) AS 'Doble'", l.ref());
    EXPECT_EQ(l.ordenacion, QStringList({"A.x"}));
    EXPECT_EQ(l.grupos, QStringList({"A.x"}));
    quitarReferenciasColumna("A.x", l.ref());
    EXPECT_TRUE(l.ordenacion.isEmpty());
    EXPECT_TRUE(l.grupos.isEmpty());
    EXPECT_EQ(l.columnas.size(), 3);   // the column itself is the caller's to remove
}

TEST(EdicionInforme, TitlesStoredOnlyWhenTheyDifferAndCarriedToEveryReference)
{
    const struct
    {
        const char *columna, *titulo, *resultado, *mostrado;
    } casos[] = {
        {"PROYECT.FechaEntrega", "F.Entrega", "PROYECT.FechaEntrega", "F.Entrega"},
        {"PROYECT.FechaEntrega", "FechaEntrega", "PROYECT.FechaEntrega", "F.Entrega"},
        {"PROYECT.FechaEntrega AS 'Entrega'", "", "PROYECT.FechaEntrega", "F.Entrega"},
        {"PROYECT.FechaEntrega", "Entrega", "PROYECT.FechaEntrega AS 'Entrega'", "Entrega"},
        {"CLIENTE.Nombre", "O'Brien", "CLIENTE.Nombre AS 'O''Brien'", "O'Brien"},
        {"(A.x * 2) AS 'Doble'", "Triple", "(A.x * 2) AS 'Triple'", "Triple"},
        {"(CAST(A.x AS INTEGER))", "Entero", "(CAST(A.x AS INTEGER)) AS 'Entero'", "Entero"},
    };
    for (const auto &c : casos) {
        const QString nueva = columnaConTitulo(c.columna, c.titulo);
        EXPECT_EQ(nueva, c.resultado) << c.columna << " / " << c.titulo;
        EXPECT_EQ(tituloColumna(nueva), c.mostrado) << c.columna;
    }

    Listas l;
    l.ordenacion = {"A.x DESC", "_Expresion AS 'Doble' DESC", "A.y"};
    l.grupos = {"A.x", "_Expresion AS 'Doble'"};
    l.sumatorios = {"A.x AS 'Viejo'"};
    propagarTitulo("A.x", "A.x AS 'Equis'", l.ref());
    propagarTitulo("(A.x * 2) AS 'Doble'", "(A.x * 2) AS 'Dos'", l.ref());
    EXPECT_EQ(l.ordenacion, QStringList({"A.x AS 'Equis' DESC", "_Expresion AS 'Dos' DESC", "A.y"}));
    EXPECT_EQ(l.grupos, QStringList({"A.x AS 'Equis'", "_Expresion AS 'Dos'"}));
    EXPECT_EQ(l.sumatorios, QStringList({"A.x AS 'Equis'"}));
}

TEST(EdicionInforme, CandidatesByColumnTypeAndExpressions)
{
    const QList<CampoInforme> campos = {{"L.Capitulo", "ftString"}, {"L.Linea", "ftSmallint"}, {"L.Importe", "ftFloat"},
                                        {"L.FechaInicio", "ftDateTime"}, {"L.Notas", "ftMemo"}};
    const QStringList columnas = {"L.Capitulo AS 'Cap'", "L.Linea", "L.Importe", "L.FechaInicio", "L.Notas",
                                  "(L.Importe * 2) AS 'Doble'"};
    EXPECT_EQ(candidatosGrupos(columnas, campos),
              QStringList({"L.Capitulo AS 'Cap'", "L.Linea", "L.FechaInicio", "_Expresion AS 'Doble'"}));
    EXPECT_EQ(candidatosSumatorios(columnas, campos), QStringList({"L.Importe", "_Expresion AS 'Doble'"}));
    EXPECT_EQ(candidatosOrdenacion({"L.Linea", "(L.Importe * 2) AS 'Doble'"}), QStringList({"L.Linea", "_Expresion AS 'Doble'"}));
    EXPECT_TRUE(esGrupo("(L.Importe * 2) AS 'Doble'", {"_Expresion AS 'Doble'"}));
    EXPECT_FALSE(esGrupo("L.Linea", {"L.Linea AS 'N'"}));

    QStringList lista = {"L.Linea"};
    EXPECT_FALSE(anadirAusentes(lista, {"L.Linea", ""}));
    EXPECT_TRUE(anadirAusentes(lista, {"L.Importe", "L.Linea"}));
    EXPECT_EQ(lista, QStringList({"L.Linea", "L.Importe"}));
}

TEST(EdicionInforme, RestrictionValuesQuotedAndVariablesTypedByTheirColumn)
{
    const struct
    {
        QString valor, esperado;
    } casos[] = {
        {valorConstante("O'Brien"), "'O''Brien'"},
        {valorListaConstantes("a , b,"), "('a','b')"},
        {valorListaConstantes("x\") OR (\"1\"=\"1, O'B"), "('x\") OR (\"1\"=\"1','O''B')"},
        {valorListaConstantes(","), ""},
        {valorVariable("Importe Minimo", "ftFloat"), ":#ImporteMinimo"},
        {valorVariable("N", "ftSmallint"), ":#N"},
        {valorVariable("Desde", "ftDateTime"), ":&Desde"},
        {valorVariable("Cliente", "ftString"), ":$Cliente"},
        {valorVariable(" ", "ftString"), ""},
        {valorListaVariable("Lista"), "( :*Lista )"},
    };
    for (const auto &c : casos)
        EXPECT_EQ(c.valor, c.esperado);
    QStringList operadores;
    for (const Relacion &r : relaciones())
        operadores << r.operador;
    EXPECT_EQ(operadores, QStringList({"=", ">", "<", ">=", "<=", "<>", "IN", "NOT IN"}));
}

TEST(EdicionInforme, AnalysisGroupColumnOnEachEngine)
{
    const QString sqlServer = columnaGrupoAnalisis("LPROYECT", {"CodigoProyecto", "Linea"}, "Zona",
                                                   plat::Dialect::forEngine(plat::EngineKind::SqlServer));
    EXPECT_EQ(sqlServer,
              "(SELECT TOP 1 GRANALIS.Descripcion FROM GRANALIS JOIN GRANTAB ON GRANTAB.NombreTabla = 'LPROYECT' AND "
              "GRANTAB.ClaveTabla = LPROYECT.CodigoProyecto+'|'+LPROYECT.Linea AND GRANALIS.Codigo = GRANTAB.GrupoAnalisis "
              "WHERE GRANALIS.CategoriaGrupo = 'Zona') AS 'Zona'");
    const QString sqlite = columnaGrupoAnalisis("PROYECT", {"Codigo"}, "O'Zona", plat::Dialect::forEngine(plat::EngineKind::SQLite));
    EXPECT_EQ(sqlite,
              "(SELECT GRANALIS.Descripcion FROM GRANALIS JOIN GRANTAB ON GRANTAB.NombreTabla = 'PROYECT' AND "
              "GRANTAB.ClaveTabla = PROYECT.Codigo AND GRANALIS.Codigo = GRANTAB.GrupoAnalisis "
              "WHERE GRANALIS.CategoriaGrupo = 'O''Zona' LIMIT 1) AS 'O''Zona'");
}

TEST(EdicionInforme, GridWidthsFollowTheColumnsAndTheGroups)
{
    const auto ancho = [](const QString &c) { return int(c.size()); };
    const QStringList columnas = {"A.x", "A.yy AS 'Y'", "A.z"};
    const QList<std::pair<QString, int>> anteriores = {{"A.z", 90}, {"A.yy", -1}, {"A.x", 40}};
    EXPECT_EQ(anchosRejilla(columnas, {"A.x"}, anteriores, ancho), QList<int>({-1, 11 + 8, 90}));
    EXPECT_EQ(anchosRejilla(columnas, {}, anteriores, ancho), QList<int>({40, 19, 90}));
    EXPECT_EQ(anchosRejilla({"A.w"}, {}, anteriores, ancho), QList<int>({3 + 8}));
}

TEST(EdicionInforme, AutoFitScalesByTheTotalWithItsGapsAndTheLastTakesTheRest)
{
    // Total 101 + 134 + 58 - 1 = 292: 195, 259 and 111 truncated; the last takes 570 - 567.
    EXPECT_EQ(autoajustar({100, -1, 133, 57}, 190 * 3), QList<int>({195, -1, 259, 114}));
    // A hidden last column takes nothing: the truncation stays short of the target.
    EXPECT_EQ(autoajustar({100, 200, -1}, 570), QList<int>({189, 378, -1}));
    // Widened as well as narrowed: 11 + 11 - 1 = 21 to 42.
    EXPECT_EQ(autoajustar({10, 10}, 42), QList<int>({20, 21}));
    // No visible width, or a total that is not positive: nothing changes.
    EXPECT_EQ(autoajustar({-1, -1}, 570), QList<int>({-1, -1}));
    EXPECT_EQ(autoajustar({0}, 570), QList<int>({0}));
}

TEST(EdicionInforme, AutoFitNeverHidesAVisibleColumn)
{
    // Three empty columns fitted to one pixel: the truncation gives 0, 0, 0, whose total with
    // the gaps is 2, and the last would take 1 - 2 and be -1, hidden; each keeps one pixel.
    EXPECT_EQ(autoajustar({0, 0, 0}, 1), QList<int>({1, 1, 1}));
    // A narrow column truncated to nothing keeps one pixel, taken from the last, so the
    // total stays 100; a hidden one stays hidden.
    EXPECT_EQ(autoajustar({1, -1, 1000}, 100), QList<int>({1, -1, 98}));
    // Twenty narrow columns each keep a pixel and the wide last one still closes the target:
    // 20 x (1 + 1) - 1 + 61 = 100.
    QList<int> estrechas(20, 1);
    estrechas << 1000;
    const QList<int> ajustadas = autoajustar(estrechas, 100);
    EXPECT_EQ(ajustadas.last(), 60);
    qint64 total = -1;
    for (int a : ajustadas) {
        EXPECT_GE(a, 1);
        total += a + 1;
    }
    EXPECT_EQ(total, 100);
}

TEST(EdicionInforme, ExportFileReadWithItsLineBreaksAndMissingKeysEmpty)
{
    const InformeExportado i = leerInformeExportado(
        "NombreTabla=GeneradorInformes\r\nDescripcion=Ventas=2\r\nInstrucciones=ListaTablas=A\xC2\xB7ListaGrupos=\r\n"
        "Basura\r\nDescripcion=Otra\r\n");
    EXPECT_EQ(i.descripcion, "Ventas=2");
    EXPECT_EQ(i.instrucciones, "ListaTablas=A\r\nListaGrupos=");
    EXPECT_EQ(i.filtro, "");
}
