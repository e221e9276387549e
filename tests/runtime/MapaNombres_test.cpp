#include "GENEW/runtime/MapaNombres.h"
#include "GENEW/runtime/Plataforma.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(MapaNombres, ReescrituraDeLineas)
{
    struct Caso { const char *linea; const char *reescrita; };
    const Caso casos[] = {
        {"10 Gestion_de_Proyectos 100", "Gestion de Proyectos=100"},
        {"10 fPROYPROY 2010 resto de palabras", "fPROYPROY=2010"},
        {"10  NOMBRE 5", "=NOMBRE"},          // two blanks make an empty word
        {"solo", "="},
        {"dos Palabras", "Palabras="},
        {"", "="},
        {"1 Con_Guion_Bajo_ 7", "Con Guion Bajo =7"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(MapaNombres::reescribirLinea(c.linea), c.reescrita) << c.linea;
}

TEST(MapaNombres, NombreDeCodigoYCodigoDeNombre)
{
    const MapaNombres mapa = MapaNombres::deTexto(
        "1 Gestion_de_Proyectos 100\r\nuna\r\n2 Contabilidad 200\r\n3 Otra_Contabilidad 200\r\n4 Texto abc\r\n");
    ASSERT_EQ(mapa.lineas().size(), 5);
    EXPECT_EQ(NombreDeCodigoEnLista(mapa, 100), "Gestion de Proyectos");
    EXPECT_EQ(NombreDeCodigoEnLista(mapa, 200), "Contabilidad");   // the first line wins
    EXPECT_EQ(NombreDeCodigoEnLista(mapa, 300), "");
    // A one-word line becomes "=" and only a number that is not one matches code 0.
    EXPECT_EQ(NombreDeCodigoEnLista(mapa, 0), "");
    EXPECT_EQ(mapa.lineas().at(1), "=");
    EXPECT_EQ(mapa.codigoDeNombre("gestion de proyectos"), 100);
    EXPECT_EQ(mapa.codigoDeNombre("Texto"), 0);
    EXPECT_EQ(mapa.codigoDeNombre("Ninguno"), 0);
}

TEST(MapaNombres, ArchivoAusenteOIlegibleDaMapaVacio)
{
    gptest::TempDir dir;
    EXPECT_TRUE(MapaNombres::leer(dir.path() + "/", QString()).lineas().isEmpty());
    QFile f(dir.file("korvel.map"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("7 Ventana_Uno 1234\n");
    f.close();
    const MapaNombres mapa = MapaNombres::leer(dir.path() + "/", QString());
    EXPECT_EQ(mapa.lineas(), QStringList{"Ventana Uno=1234"});
    EXPECT_EQ(NombreDeCodigoEnLista(mapa, 1234), "Ventana Uno");
}

TEST(MapaNombres, SinMapaLocalSeLeeElInstaladoConElPrograma)
{
    gptest::TempDir trabajo, otro;
    const QString instalacion = QStringLiteral(GP_DATA_DIR "/");
    // The shipped map names this program's application under the first application code.
    const MapaNombres instalado = MapaNombres::leer(trabajo.path() + "/", instalacion);
    EXPECT_EQ(NombreDeCodigoEnLista(instalado, 100), QString::fromUtf8("Gestión de Proyectos"));
    EXPECT_EQ(instalado.codigoDeNombre(QString::fromUtf8("Gestión de Proyectos")), 100);

    // A map of the working folder wins over the installed one, even an empty one.
    QFile propio(trabajo.file("KORVEL.MAP"));
    ASSERT_TRUE(propio.open(QIODevice::WriteOnly));
    propio.write("1 Otra 200\r\n");
    propio.close();
    EXPECT_EQ(MapaNombres::leer(trabajo.path() + "/", instalacion).lineas(), QStringList{"Otra=200"});
    QFile vacio(otro.file("KORVEL.MAP"));
    ASSERT_TRUE(vacio.open(QIODevice::WriteOnly));
    vacio.close();
    EXPECT_TRUE(MapaNombres::leer(otro.path() + "/", instalacion).lineas().isEmpty());
}

TEST(Plataforma, TextoDeCuatroLineas)
{
    VersionWindows version;
    version.tamano = kTamanoVersionWindows;
    version.versionMayor = 6;
    version.versionMenor = 1;
    version.compilacion = 0;
    EXPECT_EQ(ObtenerPlataformaDe("NAME=\"Debian\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n", version),
              "PlataformaBase=Linux\r\nPlataforma=Debian GNU/Linux 12 (bookworm)\r\nVersion=6.1.0\r\nNivel=");
    EXPECT_EQ(ObtenerPlataformaDe("PRETTY_NAME=Sin comillas", version),
              "PlataformaBase=Linux\r\nPlataforma=Sin comillas\r\nVersion=6.1.0\r\nNivel=");
    EXPECT_EQ(ObtenerPlataformaDe("", version), "PlataformaBase=Linux\r\nPlataforma=Desconocida\r\nVersion=6.1.0\r\nNivel=");
    EXPECT_EQ(ObtenerPlataformaDe("PRETTY_NAME=X", VersionWindows{}),
              "PlataformaBase=Linux\r\nPlataforma=Desconocida\r\nVersion=0.0.0\r\nNivel=");
    EXPECT_TRUE(ObtenerPlataforma().startsWith("PlataformaBase=Linux\r\nPlataforma="));
    // The running copy's number, the same at every call.
    EXPECT_GE(NumeroSesionRed(), 0);
    EXPECT_EQ(NumeroSesionRed(), NumeroSesionRed());
}

} // namespace
