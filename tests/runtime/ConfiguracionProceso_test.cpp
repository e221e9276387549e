#include "GENEW/runtime/ConfiguracionArranque.h"
#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "platform/ui/Colors.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString trabajo(const gptest::TempDir &dir) { return dir.path() + "/"; }

void crear(const QString &ruta, const QString &texto = "x") { ASSERT_TRUE(EscribirFicheroTexto(ruta, texto)); }

TEST(ConfiguracionArranque, MaquinaSinAjustes)
{
    gptest::TempDir dir;
    const ConfiguracionArranque c = ConfiguracionArranque::leer(trabajo(dir), {"U=ADMIN"}, "Debian");
    EXPECT_EQ(c.lineaComandos.usuario, "ADMIN");
    EXPECT_EQ(c.archivoConfiguracion, dir.file("KORVEL.INI"));
    EXPECT_EQ(c.basesDatos.Motor, plat::EngineKind::SQLite);
    EXPECT_EQ(c.basesDatos.PathBaseDatosGeneral, dir.file("datos"));
    // Temporary tables live in the general database unless the settings file says otherwise.
    EXPECT_TRUE(c.temporalesEnBaseDatos);
    EXPECT_EQ(c.basesDatos.PathArchivosTemporales, "GENERAL");
    EXPECT_EQ(c.baseAliasEmpresa, "EMPRESA");
    EXPECT_EQ(c.altoTitulo, 27);
    EXPECT_EQ(c.direccionWeb, "");
    EXPECT_EQ(c.aviso, "");
    EXPECT_EQ(c.rechazo, "");
    EXPECT_TRUE(c.mapaNombres.lineas().isEmpty());
    EXPECT_EQ(c.LineaComandos("OTRO"), " U=OTRO I= T=");
}

TEST(ConfiguracionArranque, ArchivosNombradosYTemporalesEnCarpeta)
{
    gptest::TempDir dir;
    crear(dir.file("BASESDATOS.TXT"), "PathArchivosTemporales=tmp/temporales\r\nAliasBaseDatos=PROY\r\n");
    crear(dir.file("otro.ini"), QString::fromUtf8("[Configuración]\r\nArchivosTemporalesEnBD=NO\r\n"
                                                  "URLAccesoMenuWebDistribuidor=www.ejemplo.test\r\n"));
    crear(dir.file("KORVEL.MAP"), "1 Gestion_de_Proyectos 100\r\n");
    const ConfiguracionArranque c =
        ConfiguracionArranque::leer(trabajo(dir), {"I=otro.ini", "T=EN"}, "Windows XP");
    EXPECT_EQ(c.archivoConfiguracion, dir.file("otro.ini"));
    EXPECT_FALSE(c.temporalesEnBaseDatos);
    EXPECT_EQ(c.basesDatos.PathArchivosTemporales, dir.file("tmp/temporales"));
    EXPECT_EQ(c.baseAliasEmpresa, "PROY");
    EXPECT_EQ(c.direccionWeb, "www.ejemplo.test");
    EXPECT_EQ(c.altoTitulo, 32);
    EXPECT_EQ(NombreDeCodigoEnLista(c.mapaNombres, 100), "Gestion de Proyectos");
    EXPECT_EQ(c.LineaComandos("ADMIN"), " U=ADMIN I=otro.ini T=EN");
}

TEST(ConfiguracionArranque, AvisoYRechazo)
{
    gptest::TempDir dir;
    crear(dir.file("BASESDATOS.TXT"), "TipoBaseDatos=Microsoft Access\r\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir("KORVEL.INI"));
    const ConfiguracionArranque c = ConfiguracionArranque::leer(trabajo(dir), {}, "Debian");
    EXPECT_TRUE(c.rechazo.contains("Microsoft Access"));
    EXPECT_TRUE(c.aviso.startsWith("No ha sido posible leer los parámetros del archivo "));
    EXPECT_TRUE(c.parametros.VisualizacionPreviaActivada);
}

TEST(ConfiguracionArranque, FormatoDeFechaSQLParaTodoElPrograma)
{
    gptest::TempDir dir;
    crear(dir.file("BASESDATOS.TXT"), "TipoBaseDatos=Microsoft SQL Server\r\n");
    crear(dir.file("KORVEL.INI"), QString::fromUtf8("[Configuración]\r\nFormatoFechaSQL=dd/mm/yyyy\r\n"));
    const AjustesComunes antes = ajustesComunes();
    ConfiguracionArranque::leer(trabajo(dir), {}, "Debian").aplicarAjustesComunes();
    EXPECT_EQ(ajustesComunes().FormatoFechaSQL, "dd/mm/yyyy");
    EXPECT_EQ(ajustesComunes().FechaCeroSQL, "30/12/1899 00:00:00");
    ajustesComunes() = antes;
}

TEST(ConfiguracionArranque, DireccionWebYAspecto)
{
    EXPECT_EQ(DireccionWebDistribuidor(""), "");
    EXPECT_EQ(DireccionWebDistribuidor("Por Defecto"), "");
    EXPECT_EQ(DireccionWebDistribuidor("Ninguna"), "");
    EXPECT_EQ(DireccionWebDistribuidor("intranet.local/menu"), "intranet.local/menu");

    EXPECT_EQ(AspectoVisual::aspectoEfectivo(""), "evo+");
    EXPECT_EQ(AspectoVisual::aspectoEfectivo("clasico"), "clasico");
    const AspectoVisual evo = AspectoVisual::deAspecto("evo2");
    EXPECT_EQ(evo.fuente, "Segoe UI");
    EXPECT_EQ(evo.tamano, 8);
    EXPECT_EQ(evo.color1, plat::clGradientInactiveCaption);
    EXPECT_EQ(plat::toQColor(evo.color2), QColor(234, 234, 255));
    const AspectoVisual clasico = AspectoVisual::deAspecto("Evo");   // case counts
    EXPECT_EQ(clasico.fuente, "MS Sans Serif");
    EXPECT_EQ(clasico.color1, plat::clBtnFace);
    EXPECT_EQ(clasico.color2, plat::clBtnFace);
}

TEST(ConfiguracionArranque, BorradoDeTemporalesAntiguos)
{
    gptest::TempDir dir;
    crear(dir.file("_QS0001.TMP"));
    crear(dir.file("_qsotro"));
    crear(dir.file("DATOS.TXT"));
    const QString informe = QDir::tempPath() + QString("/QRPprueba%1.TMP").arg(QCoreApplication::applicationPid());
    crear(informe);
    BorrarTemporalesAntiguos(trabajo(dir));
    EXPECT_FALSE(QFile::exists(dir.file("_QS0001.TMP")));
    EXPECT_FALSE(QFile::exists(dir.file("_qsotro")));
    EXPECT_TRUE(QFile::exists(dir.file("DATOS.TXT")));
    EXPECT_FALSE(QFile::exists(informe));
}

ParametrosKorvel privadoAutomatico()
{
    ParametrosKorvel p;
    p.BDEPrivateDir = "auto";
    return p;
}

TEST(DirectorioPrivado, SoloCuandoSePideYLosTemporalesVanEnCarpetas)
{
    gptest::TempDir dir;
    EXPECT_FALSE(DirectorioPrivado::preparar(trabajo(dir), 0, ParametrosKorvel{}, false).usar);
    EXPECT_FALSE(DirectorioPrivado::preparar(trabajo(dir), 0, privadoAutomatico(), true).usar);
    ParametrosKorvel local = privadoAutomatico();
    local.BDENetDir = "Local";
    EXPECT_FALSE(DirectorioPrivado::preparar(trabajo(dir), 0, local, false).usar);
    EXPECT_FALSE(QDir(dir.file("PRIVDIR")).exists());
}

TEST(DirectorioPrivado, SesionCeroConExitoNoTerminaElPrograma)
{
    gptest::TempDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.file("PRIVDIR/0")));
    crear(dir.file("PRIVDIR/0/TEMP000001_X.DB"));
    crear(dir.file("PRIVDIR/0/CONSERVAR.TXT"));
    const DirectorioPrivado d = DirectorioPrivado::preparar(trabajo(dir), 0, privadoAutomatico(), false);
    EXPECT_TRUE(d.usar);
    EXPECT_FALSE(d.conflicto);
    EXPECT_EQ(d.carpeta, dir.file("PRIVDIR/0/"));
    EXPECT_FALSE(QFile::exists(dir.file("PRIVDIR/0/TEMP000001_X.DB")));
    EXPECT_TRUE(QFile::exists(dir.file("PRIVDIR/0/CONSERVAR.TXT")));
}

TEST(DirectorioPrivado, DeLaSesionHaciaAbajoYConflictoSiNingunoSirve)
{
    gptest::TempDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.file("PRIVDIR")));
    // A file in a folder's place makes that attempt fail.
    crear(dir.file("PRIVDIR/3"));
    crear(dir.file("PRIVDIR/2"));
    DirectorioPrivado d = DirectorioPrivado::preparar(trabajo(dir), 3, privadoAutomatico(), false);
    EXPECT_FALSE(d.conflicto);
    EXPECT_EQ(d.carpeta, dir.file("PRIVDIR/1/"));

    // A folder among the "TEMP" matches cannot be deleted: the last attempt fails too.
    ASSERT_TRUE(QDir(dir.file("PRIVDIR/1")).mkdir("TEMPCARPETA"));
    d = DirectorioPrivado::preparar(trabajo(dir), 3, privadoAutomatico(), false);
    EXPECT_TRUE(d.conflicto);
    EXPECT_EQ(d.carpeta, "");
    EXPECT_FALSE(QDir(dir.file("PRIVDIR/0")).exists());   // session 3 never tries 0
}

} // namespace
