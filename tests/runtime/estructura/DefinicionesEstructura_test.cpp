#include "GENEW/runtime/estructura/DefinicionesEstructura.h"
#include "GENEW/runtime/estructura/FicherosDefiniciones.h"
#include "GENEW/runtime/estructura/LineaDefinicion.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <gtest/gtest.h>

using namespace estructura;

namespace {

// Writes the bytes as the whole of the file, its folder made first.
bool escribir(const QString &ruta, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(ruta).path());
    QFile fichero(ruta);
    return fichero.open(QIODevice::WriteOnly | QIODevice::Truncate) && fichero.write(bytes) == bytes.size();
}

QString Texto(const QStringList &lineas) { return UnirLineas(lineas); }

// Files held in memory; a name missing from the map does not exist.
class LectorEnMemoria : public LectorFicheros
{
public:
    QMap<QString, QString> ficheros;
    QStringList ilegibles;

    bool existe(const QString &ruta) const override { return ficheros.contains(ruta); }
    bool leer(const QString &ruta, QString &texto, QString &motivo) const override
    {
        if (!ficheros.contains(ruta) || ilegibles.contains(ruta)) {
            motivo = QStringLiteral("No such file");
            return false;
        }
        texto = ficheros.value(ruta);
        return true;
    }
};

const QStringList kEstandar = {
    "EMPRESA/C/1/Codigo/ftInteger/0/*/|Empresas",
    "EMPRESA/C/2/Nombre/ftString/40//|Empresas",
    "EMPRESA/I/1/<Primary>/Codigo//|Empresas",
    "PROYECT/C/1/Codigo/ftString/15/*/|Proyectos",
    "PROYECT/C/2/Descripcion/ftString/60//|Proyectos",
    "PROYECT/I/1/<Primary>/Codigo//|Proyectos",
    "PROYECT/I/2/Clave2/Descripcion;Codigo/-/|Proyectos",
    "PROYECT/SQL/1/texto libre/|Proyectos",
};

} // namespace

TEST(LineaDefinicion, PiecesAreCutAtEverySlashAndMissingOnesReadEmpty)
{
    const QString linea = "T/C//Campo/ftString/10";
    EXPECT_EQ(Pieza(linea, 0), "T");
    EXPECT_EQ(Pieza(linea, 2), "");
    EXPECT_EQ(Pieza(linea, 3), "Campo");
    EXPECT_EQ(Pieza(linea, 5), "10");
    EXPECT_EQ(Pieza(linea, 6), "");
    EXPECT_EQ(Pieza(linea, 40), "");

    // A closing "/" and a missing key piece: both read the same for the key test.
    EXPECT_TRUE(LeerLineaCampo("/C/1/GENEMLISLinea/ftInteger/0/*/").clave);
    EXPECT_TRUE(LeerLineaCampo("/C/1/CodigoTemporal/ftInteger/0/*").clave);
    EXPECT_FALSE(LeerLineaCampo("/C/1/Nombre/ftString/10").clave);
    EXPECT_FALSE(LeerLineaCampo("/C/1/Nombre/ftString/10/NO").clave);

    const LineaIndice indice = LeerLineaIndice("T/I/2/Clave2/A;B/x-y/");
    EXPECT_EQ(indice.nombre, "Clave2");
    EXPECT_EQ(indice.campos, "A;B");
    EXPECT_TRUE(indice.descendente);
    EXPECT_FALSE(LeerLineaIndice("T/I/2/Clave2/A;B//").descendente);
}

TEST(LineaDefinicion, LinesAcceptCrLfAndBareLf)
{
    EXPECT_EQ(DividirLineas("a\r\nb\nc\r\n"), QStringList({"a", "b", "c"}));
    EXPECT_EQ(DividirLineas("a\r\n\r\nb"), QStringList({"a", "", "b"}));
    EXPECT_TRUE(DividirLineas("").isEmpty());
}

TEST(ExtraerBloqueDefinicion, TakesTheFirstBlockOnlyByKindInOrder)
{
    const QString texto = Texto({
        "PROYECT/SQL/1/primero/|P",
        "PROYECT/I/1/<Primary>/Codigo/|P",
        "PROYECT/C/1/Codigo/ftString/15/*/|P",
        "OTRA/C/1/X/ftInteger/0/|O",
        "PROYECT/C/1/Segundo/ftString/15/*/|P",
    });
    EXPECT_EQ(ExtraerBloqueDefinicion("PROYECT", texto, ""),
              Texto({"PROYECT/C/1/Codigo/ftString/15/*/|P", "PROYECT/I/1/<Primary>/Codigo/|P",
                     "PROYECT/SQL/1/primero/|P"}));
    EXPECT_EQ(ExtraerBloqueDefinicion("PROYECT", texto, "Indices,Campos"),
              Texto({"PROYECT/C/1/Codigo/ftString/15/*/|P", "PROYECT/I/1/<Primary>/Codigo/|P"}));
    EXPECT_EQ(ExtraerBloqueDefinicion("PROYECT", texto, "SQL"), Texto({"PROYECT/SQL/1/primero/|P"}));
    // The table name is compared with case counting.
    EXPECT_EQ(ExtraerBloqueDefinicion("proyect", texto, ""), "");
}

TEST(ExtraerBloqueDefinicion, AnEmptyLineEndsTheBlock)
{
    const QString texto = Texto({"T/C/1/A/ftInteger/0/*/|t", "", "T/C/2/B/ftInteger/0//|t"});
    EXPECT_EQ(ListarCamposDefinicion("T", ExtraerBloqueDefinicion("T", texto, ""), ""), Texto({"A"}));
}

TEST(ExtraerBloqueDefinicion, UserFieldsComeAfterTheColumnsAndUnknownWordsAreSkipped)
{
    QString pedida;
    const ConsultaCamposUsuario consulta = [&](const QString &tabla) {
        pedida = tabla;
        return QStringLiteral("3|Color|Alfanumerico|20\r\n4|Peso|Numerico|0\r\n5|Raro|Booleano|0\r\n"
                              "6|Alta|Fecha|0\r\n7|Notas|Texto|0\r\n8|Veces|Entero|0");
    };
    const QString bloque = ExtraerBloqueDefinicion("PROYECT", Texto(kEstandar), "CamposUsuario", consulta);
    EXPECT_EQ(pedida, "PROYECT");
    EXPECT_EQ(bloque, Texto({"PROYECT/C/1003/Color/ftString/20/", "PROYECT/C/1004/Peso/ftFloat/0/",
                             "PROYECT/C/1006/Alta/ftDateTime/0/", "PROYECT/C/1007/Notas/ftMemo/0/",
                             "PROYECT/C/1008/Veces/ftInteger/0/"}));

    EXPECT_EQ(ObtenerEstructuraTabla("PROYECT", "IncluirTipo", Texto(kEstandar), consulta),
              Texto({"Codigo/ftString", "Descripcion/ftString", "Color/ftString", "Peso/ftFloat",
                     "Alta/ftDateTime", "Notas/ftMemo", "Veces/ftInteger"}));
    EXPECT_EQ(ObtenerEstructuraTabla("PROYECT", "", Texto(kEstandar)), Texto({"Codigo", "Descripcion"}));
}

TEST(ExtraerBloqueDefinicion, UserFieldStatementQuotesTheTableName)
{
    EXPECT_EQ(SentenciaCamposUsuario("GENERAL", "PRO'Y"),
              "SELECT OrdenCampo, NombreCampo, TipoCampo, LongitudCampo   FROM GENERAL.dbo.CAMPOUSR "
              "  WHERE NombreTabla = 'PRO''Y'");
}

TEST(ListarTablasTexto, ListsSortedDistinctTablesOfLinesWithText)
{
    const QString texto = Texto({"ZETA/C/1/A/ftInteger/0/*/|z", "ALFA/C/1/A/ftInteger/0/*/|a",
                                 "ALFA/C/2/B/ftInteger/0//|a", "SINTEXTO/C/1/A/ftInteger/0/*/",
                                 "VACIO/C/1/A/ftInteger/0/*/|", "MEDIO/C/1/A/ftInteger/0/*/|m"});
    EXPECT_EQ(ListarTablasTexto(texto), Texto({"ALFA", "MEDIO", "ZETA"}));
}

TEST(ListarTablasDefinidas, CutsAtTheBarAndExcludesGeneralTablesOnlyWhenAskedExactly)
{
    const QString texto = Texto({"USUARIO|x/C/1/A/ftInteger/0/*/|u", "PROYECT/C/1/A/ftInteger/0/*/|p",
                                 "EMPRESA/C/1/A/ftInteger/0/*/|e"});
    EXPECT_EQ(ListarTablasDefinidas("", texto), Texto({"EMPRESA", "PROYECT", "USUARIO"}));
    EXPECT_EQ(ListarTablasDefinidas("ExcluirTablasBDGeneral", texto), Texto({"PROYECT"}));
    EXPECT_EQ(ListarTablasDefinidas("ExcluirTablasBDGeneral,Otra", texto).count("\r\n"), 3);
}

TEST(CombinarDefiniciones, NewOrSubstituteDefinitionsWinOverTheStandardOnes)
{
    const QString variante = Texto({"EMPRESA/C/1/Codigo/ftInteger/0/*/|Nueva", "EMPRESA/C/2/Otra/ftString/5//|Nueva",
                                    "EMPRESA/I/1/<Primary>/Codigo//|Nueva"});
    const QString combinado = CombinarDefiniciones(Texto(kEstandar), variante);
    EXPECT_EQ(ListarCamposDefinicion("EMPRESA", ExtraerBloqueDefinicion("EMPRESA", combinado, ""), ""),
              Texto({"Codigo", "Otra"}));
    // Tables the variant does not touch keep their standard block.
    EXPECT_EQ(ExtraerBloqueDefinicion("PROYECT", combinado, ""), ExtraerBloqueDefinicion("PROYECT", Texto(kEstandar), ""));
}

TEST(CombinarDefiniciones, ComplementaryLinesAreMergedPerTableColumnsThenIndexes)
{
    const QString variante = Texto({
        "[Definiciones Complementarias]",
        "PROYECT/I/3/Clave3/Extra//|añadido",
        "PROYECT/C/10/Extra/ftString/8//|añadido",
        "",
        "SUELTA/C/1/A/ftInteger/0/*/",
    });
    const QString combinado = CombinarDefiniciones(Texto(kEstandar), variante);
    EXPECT_EQ(ExtraerBloqueDefinicion("PROYECT", combinado, "Campos,Indices,SQL"),
              Texto({"PROYECT/C/1/Codigo/ftString/15/*/|Proyectos", "PROYECT/C/2/Descripcion/ftString/60//|Proyectos",
                     "PROYECT/C/10/Extra/ftString/8//|añadido", "PROYECT/I/1/<Primary>/Codigo//|Proyectos",
                     "PROYECT/I/2/Clave2/Descripcion;Codigo/-/|Proyectos", "PROYECT/I/3/Clave3/Extra//|añadido",
                     "PROYECT/SQL/1/texto libre/|Proyectos"}));
    // The merged block stands first and has no empty line inside.
    EXPECT_TRUE(combinado.startsWith("PROYECT/C/1/Codigo"));
    EXPECT_FALSE(combinado.left(combinado.indexOf("EMPRESA")).contains("\r\n\r\n"));
    // A table with no "|" text in the complementary section is not merged at all.
    EXPECT_FALSE(combinado.contains("SUELTA"));
}

TEST(CombinarDefiniciones, SectionsFollowTheirHeadersInAnyOrder)
{
    const QString variante = Texto({
        "ANTES/C/1/A/ftInteger/0/*/|antes",
        "[Definiciones Complementarias]",
        "PROYECT/C/10/Extra/ftString/8//|c",
        "[Definiciones Nuevas o Sustitutivas]",
        "DESPUES/C/1/A/ftInteger/0/*/|despues",
    });
    const QString combinado = CombinarDefiniciones(Texto(kEstandar), variante);
    const QStringList lineas = DividirLineas(combinado);
    // Completed tables, then the first section (before any header and after its header), then the standard.
    const qsizetype extra = lineas.indexOf("PROYECT/C/10/Extra/ftString/8//|c");
    const qsizetype antes = lineas.indexOf("ANTES/C/1/A/ftInteger/0/*/|antes");
    const qsizetype despues = lineas.indexOf("DESPUES/C/1/A/ftInteger/0/*/|despues");
    const qsizetype estandar = lineas.indexOf(kEstandar.first());
    ASSERT_GE(extra, 0);
    EXPECT_LT(extra, antes);
    EXPECT_EQ(despues, antes + 1);
    EXPECT_LT(despues, estandar);
    EXPECT_EQ(ListarTablasTexto(combinado), Texto({"ANTES", "DESPUES", "EMPRESA", "PROYECT"}));
}

TEST(CargarDefinicionesEstructura, SpecificBeforeStandardThenVariantsInOrder)
{
    LectorEnMemoria lector;
    lector.ficheros["d/DATABASE.TXT"] = Texto(kEstandar);
    lector.ficheros["d/DATABASE.ESP"] = Texto({"EMPRESA/C/1/Especifico/ftInteger/0/*/|e"});
    lector.ficheros["d/UNO.VRT"] = Texto({"PROYECT/C/1/Uno/ftInteger/0/*/|1"});
    lector.ficheros["d/DOS.VRT"] = Texto({"PROYECT/C/1/Dos/ftInteger/0/*/|2"});
    QStringList mensajes;
    const auto mostrar = [&](const QString &tipo, const QString &texto) { mensajes << tipo + ":" + texto; };

    const QString texto = CargarDefinicionesEstructura("d/DATABASE.TXT", "d/DATABASE.ESP",
                                                       "d/UNO.VRT,,d/FALTA.VRT,d/DOS.VRT", lector, mostrar);
    EXPECT_TRUE(mensajes.isEmpty());
    EXPECT_EQ(ObtenerEstructuraTabla("EMPRESA", "", texto), Texto({"Especifico"}));
    // The last variant merged stands in front, so its block wins.
    EXPECT_EQ(ObtenerEstructuraTabla("PROYECT", "", texto), Texto({"Dos"}));
}

TEST(CargarDefinicionesEstructura, AMissingStandardFileWarnsAndGoesOn)
{
    LectorEnMemoria lector;
    lector.ficheros["d/DATABASE.ESP"] = Texto({"EMPRESA/C/1/Especifico/ftInteger/0/*/|e"});
    lector.ficheros["d/MALA.VRT"] = Texto({"PROYECT/C/1/Uno/ftInteger/0/*/|1"});
    lector.ilegibles << "d/MALA.VRT";
    QStringList mensajes;
    const auto mostrar = [&](const QString &tipo, const QString &texto) { mensajes << tipo + ":" + texto; };

    const QString texto = CargarDefinicionesEstructura("d/DATABASE.TXT", "d/DATABASE.ESP", "d/MALA.VRT", lector, mostrar);
    EXPECT_EQ(mensajes, QStringList({"A:No está disponible el archivo d/DATABASE.TXT. Motivo: No such file"}));
    EXPECT_EQ(ListarTablasTexto(texto), Texto({"EMPRESA"}));
}

TEST(TablaTemporal, NumberComesFromTheFirstLine)
{
    EXPECT_TRUE(EsDefinicionTemporal("Tabla Temporal\r\n/C/1/A/ftInteger/0/*"));
    EXPECT_FALSE(EsDefinicionTemporal("Tabla temporal\r\n"));
    const struct
    {
        const char *linea;
        int numero;
    } casos[] = {{"Tabla Temporal", 0}, {"Tabla Temporal 0", 0}, {"Tabla Temporal 1", 1},
                 {"Tabla Temporal 12", 12}, {"Tabla Temporal x", 0}, {"Tabla Temporal Tabla Temporal 3", 3}};
    for (const auto &caso : casos)
        EXPECT_EQ(NumeroTablaTemporal(caso.linea), caso.numero) << caso.linea;
}

TEST(FicherosDefiniciones, TheInstalledCopyFillsAnEmptyGeneralFolder)
{
    gptest::TempDir dir;
    QDir().mkpath(dir.file("trabajo"));
    ASSERT_TRUE(escribir(dir.file("instalado/DATABASE.TXT"), "EMPRESA/C/1/Codigo/ftInteger/0/*/|Empresas\r\n"));

    const QString ruta = FicheroDefinicionesBaseDatos(dir.file("datos"), dir.file("trabajo"), dir.file("instalado"));
    EXPECT_EQ(ruta, dir.file("datos/DATABASE.TXT"));
    LectorFicherosDisco lector;
    QString texto, motivo;
    ASSERT_TRUE(lector.leer(ruta, texto, motivo)) << motivo.toStdString();
    EXPECT_EQ(ListarTablasTexto(texto), Texto({"EMPRESA"}));

    // The working directory's copy comes before the installed one, and a copy in place is kept.
    ASSERT_TRUE(escribir(dir.file("trabajo/DATABASE.TXT"), "PROYECT/C/1/Codigo/ftInteger/0/*/|P\r\n"));
    EXPECT_EQ(FicheroDefinicionesBaseDatos(dir.file("otra"), dir.file("trabajo"), dir.file("instalado")),
              dir.file("otra/DATABASE.TXT"));
    ASSERT_TRUE(lector.leer(dir.file("otra/DATABASE.TXT"), texto, motivo));
    EXPECT_EQ(ListarTablasTexto(texto), Texto({"PROYECT"}));
    FicheroDefinicionesBaseDatos(dir.file("datos"), dir.file("trabajo"), dir.file("instalado"));
    ASSERT_TRUE(lector.leer(ruta, texto, motivo));
    EXPECT_EQ(ListarTablasTexto(texto), Texto({"EMPRESA"}));

    EXPECT_EQ(CambiarExtension(ruta, ".ESP"), dir.file("datos/DATABASE.ESP"));
}

// The copy is made on a thread of its own: reads of its path before it stands give the file
// copied, and once it stands, the copy itself.
TEST(FicherosDefiniciones, TheCopyStandsWholeAndIsReadOnceMade)
{
    gptest::TempDir dir;
    QByteArray lineas;
    for (int i = 0; i < 2000; ++i)
        lineas += "TABLA" + QByteArray::number(i) + "/C/1/Codigo/ftInteger/0/*/|T\r\n";
    ASSERT_TRUE(escribir(dir.file("instalado/DATABASE.TXT"), lineas));

    const QString ruta = FicheroDefinicionesBaseDatos(dir.file("datos"), dir.file("trabajo"), dir.file("instalado"));
    LectorFicherosDisco lector;
    QString texto, motivo;
    EXPECT_TRUE(lector.existe(ruta));
    ASSERT_TRUE(lector.leer(ruta, texto, motivo)) << motivo.toStdString();
    EXPECT_EQ(DividirLineas(ListarTablasTexto(texto)).size(), 2000);
    // Asked again while under way, the same path and no second copy.
    EXPECT_EQ(FicheroDefinicionesBaseDatos(dir.file("datos"), dir.file("trabajo"), dir.file("instalado")), ruta);

    EsperarCopiasDefiniciones();
    QFile copia(ruta);
    ASSERT_TRUE(copia.open(QIODevice::ReadOnly));
    EXPECT_EQ(copia.readAll(), lineas);
    copia.close();
    EXPECT_EQ(QDir(dir.file("datos")).entryList(QDir::Files), QStringList{"DATABASE.TXT"});

    // The general folder's own file is read from now on.
    ASSERT_TRUE(escribir(ruta, "PROPIA/C/1/Codigo/ftInteger/0/*/|P\r\n"));
    ASSERT_TRUE(lector.leer(ruta, texto, motivo));
    EXPECT_EQ(ListarTablasTexto(texto), Texto({"PROPIA"}));
}

// A general folder that cannot be made (its parent is a file): the start goes on with the
// file copied, and no copy is left anywhere.
TEST(FicherosDefiniciones, ACopyThatCannotBeMadeIsReadFromTheFileCopied)
{
    gptest::TempDir dir;
    ASSERT_TRUE(escribir(dir.file("instalado/DATABASE.TXT"), "EMPRESA/C/1/Codigo/ftInteger/0/*/|Empresas\r\n"));
    ASSERT_TRUE(escribir(dir.file("estorbo"), QByteArray()));

    const QString ruta =
        FicheroDefinicionesBaseDatos(dir.file("estorbo/datos"), dir.file("trabajo"), dir.file("instalado"));
    EsperarCopiasDefiniciones();
    EXPECT_FALSE(QFileInfo::exists(ruta));
    LectorFicherosDisco lector;
    QString texto, motivo;
    EXPECT_TRUE(lector.existe(ruta));
    ASSERT_TRUE(lector.leer(ruta, texto, motivo)) << motivo.toStdString();
    EXPECT_EQ(ListarTablasTexto(texto), Texto({"EMPRESA"}));
}

TEST(FicherosDefiniciones, ReadsWindows1252WhenNotUtf8AndFindsNamesIgnoringCase)
{
    gptest::TempDir dir;
    ASSERT_TRUE(escribir(dir.file("database.txt"), "T/C/1/A\xf1o/ftInteger/0/*/|A\xf1os \x80\r\n"));

    LectorFicherosDisco lector;
    EXPECT_TRUE(lector.existe(dir.file("DATABASE.TXT")));
    QString texto, motivo;
    ASSERT_TRUE(lector.leer(dir.file("DATABASE.TXT"), texto, motivo));
    EXPECT_EQ(texto, QString::fromUtf8("T/C/1/Año/ftInteger/0/*/|Años €\r\n"));
    EXPECT_FALSE(lector.leer(dir.file("NINGUNO.TXT"), texto, motivo));
    EXPECT_FALSE(motivo.isEmpty());
}
