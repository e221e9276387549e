#include "GENEW/runtime/ConfiguracionBasesDatos.h"
#include "GENEW/runtime/ParametrosKorvel.h"
#include "tests/support/PermisosDeUsuario.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

void escribir(const QString &ruta, const QByteArray &contenido)
{
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(contenido);
}

QString trabajo(const gptest::TempDir &dir) { return dir.path() + "/"; }

// ---- BASESDATOS.TXT ----

TEST(ConfiguracionBasesDatos, SinArchivoTodoPorDefecto)
{
    gptest::TempDir dir;
    const ConfiguracionBasesDatos c = ConfiguracionBasesDatos::leer(trabajo(dir));
    EXPECT_EQ(c.Motor, plat::EngineKind::SQLite);
    EXPECT_EQ(c.AliasBaseDatosGeneral, "GENERAL");
    EXPECT_EQ(c.PathBaseDatosGeneral, dir.path() + "/datos");
    EXPECT_EQ(c.AliasBaseDatos, "EMPRESA");
    EXPECT_EQ(c.PathArchivosTemporales, "");
    EXPECT_TRUE(c.temporalesEnBaseDatos());
    EXPECT_EQ(c.motivoRechazo(), "");
}

TEST(ConfiguracionBasesDatos, ValoresDelArchivoYVaciosPorDefecto)
{
    gptest::TempDir dir;
    escribir(dir.file("basesdatos.txt"),  // the name is found whatever its case
             "tipobasedatos=SQL Generica\r\nAliasBaseDatosGeneral=\r\nPathBaseDatosGeneral=otra/sub\r\n"
             "AliasBaseDatos=PROYECTOS\nPathArchivosTemporales=tmp/temporales\nOtraCosa=1\n");
    const ConfiguracionBasesDatos c = ConfiguracionBasesDatos::leer(trabajo(dir));
    EXPECT_EQ(c.Motor, plat::EngineKind::PostgreSQL);
    EXPECT_EQ(c.AliasBaseDatosGeneral, "GENERAL");
    EXPECT_EQ(c.PathBaseDatosGeneral, dir.path() + "/otra/sub");
    EXPECT_EQ(c.AliasBaseDatos, "PROYECTOS");
    EXPECT_EQ(c.PathArchivosTemporales, dir.path() + "/tmp/temporales");
    EXPECT_FALSE(c.temporalesEnBaseDatos());
}

TEST(ConfiguracionBasesDatos, RutasAbsolutasYAliasDeTemporales)
{
    const ConfiguracionBasesDatos c = ConfiguracionBasesDatos::deTexto(
        "PathBaseDatosGeneral=/srv/datos/\nPathArchivosTemporales=GENERAL\n", "/home/x/");
    EXPECT_EQ(c.PathBaseDatosGeneral, "/srv/datos");
    EXPECT_EQ(c.PathArchivosTemporales, "GENERAL");
    EXPECT_TRUE(c.temporalesEnBaseDatos());
}

TEST(ConfiguracionBasesDatos, DirectorioPrivado)
{
    ConfiguracionBasesDatos c = ConfiguracionBasesDatos::deTexto("PathArchivosTemporales=PrivateDir", "/w/");
    EXPECT_EQ(c.PathArchivosTemporales, "PrivateDir");
    c.sustituirDirectorioPrivado("/w/PRIVDIR/0");
    EXPECT_EQ(c.PathArchivosTemporales, "/w/PRIVDIR/0");
    c.sustituirDirectorioPrivado("/otro");   // only the placeholder is replaced
    EXPECT_EQ(c.PathArchivosTemporales, "/w/PRIVDIR/0");
}

TEST(ConfiguracionBasesDatos, MotorInexistenteRechazado)
{
    const ConfiguracionBasesDatos access = ConfiguracionBasesDatos::deTexto("TipoBaseDatos=Microsoft Access", "/w/");
    EXPECT_TRUE(access.motivoRechazo().contains("Microsoft Access"));
    EXPECT_TRUE(ConfiguracionBasesDatos::deTexto("TipoBaseDatos=Oracle", "/w/").motivoRechazo().contains("Oracle"));
    for (const char *motor : {"Paradox", "SQL Generica", "Microsoft SQL Server"}) {
        const ConfiguracionBasesDatos c = ConfiguracionBasesDatos::deTexto(QString("TipoBaseDatos=") + motor, "/w/");
        EXPECT_EQ(c.motivoRechazo(), "") << motor;
    }
}

// The engine word is matched ignoring case; a word that names no engine lists the valid
// ones instead of starting on some default.
TEST(ConfiguracionBasesDatos, PalabraDelMotorSinMayusculasYDesconocidaConLasValidas)
{
    const struct
    {
        const char *escrito;
        plat::EngineKind leido;
    } casos[] = {
        {"paradox", plat::EngineKind::SQLite},
        {"sql generica", plat::EngineKind::PostgreSQL},
        {"MICROSOFT SQL SERVER", plat::EngineKind::SqlServer},
    };
    for (const auto &c : casos) {
        const ConfiguracionBasesDatos leida = ConfiguracionBasesDatos::deTexto(QString("TipoBaseDatos=") + c.escrito, "/w/");
        EXPECT_EQ(leida.Motor, c.leido) << c.escrito;
        EXPECT_EQ(leida.motivoRechazo(), QString()) << c.escrito;
    }
    EXPECT_TRUE(ConfiguracionBasesDatos::deTexto("TipoBaseDatos=microsoft access", "/w/")
                    .motivoRechazo()
                    .startsWith("El tipo de base de datos \"Microsoft Access\" no está disponible"));
    const ConfiguracionBasesDatos otro = ConfiguracionBasesDatos::deTexto("TipoBaseDatos=Postgres", "/w/");
    EXPECT_EQ(otro.motivoRechazo(),
              "El tipo de base de datos \"Postgres\" no existe. Indique \"Paradox\", \"SQL Generica\" o "
              "\"Microsoft SQL Server\" en TipoBaseDatos de BASESDATOS.TXT.");
}

// A folder written for Windows names nothing here: refused, naming the setting, instead of
// a new, empty database in some other folder.
TEST(ConfiguracionBasesDatos, CarpetaDeWindowsRechazada)
{
    for (const char *ruta : {"C:\\GESTION\\DATOS", "d:/datos", "datos\\empresa", "\\\\servidor\\datos"}) {
        const ConfiguracionBasesDatos c =
            ConfiguracionBasesDatos::deTexto(QString("PathBaseDatosGeneral=") + ruta, "/w/");
        EXPECT_EQ(c.motivoRechazo(), QString("El valor \"%1\" de PathBaseDatosGeneral en BASESDATOS.TXT es una ruta de "
                                             "Windows. Indique una carpeta de este sistema, con \"/\" como separador.")
                                         .arg(ruta))
            << ruta;
    }
    EXPECT_EQ(ConfiguracionBasesDatos::deTexto("PathBaseDatosGeneral=/srv/datos", "/w/").motivoRechazo(), "");
}

// A settings file that exists but cannot be read is no absent file: the start-up ends,
// naming it and the system's reason, instead of starting on the defaults' empty database.
TEST(ConfiguracionBasesDatos, ArchivoIlegibleRechazadoConSuMotivo)
{
    gptest::TempDir dir;
    escribir(dir.file("BASESDATOS.TXT"), "TipoBaseDatos=SQL Generica\r\n");
    gptest::quitarPermisos(dir.file("BASESDATOS.TXT"));
    gptest::PermisosDeUsuario comoUsuario;
    if (!gptest::PermisosDeUsuario::rigen(dir.path()))
        GTEST_SKIP() << "file permissions do not hold for this process";
    const ConfiguracionBasesDatos c = ConfiguracionBasesDatos::leer(trabajo(dir));
    EXPECT_EQ(c.motivoRechazo(),
              "No está disponible el archivo " + dir.file("BASESDATOS.TXT") + ". Motivo: Permission denied");
}

// Bytes no text editor writes are no settings, even without a NUL (random bytes read as
// Windows-1252): the start-up ends naming the file and its first control character.
TEST(ConfiguracionBasesDatos, BytesQueNoSonTextoRechazadosAunqueNoTenganNUL)
{
    gptest::TempDir dir;
    const char *casos[][2] = {{"\xe3\xa4\x17\x02\x9c\x8f\xbb", "0x17 en la línea 1"},
                              {"TipoBaseDatos=Paradox\r\n\x81\r\n", "0x81 en la línea 2"}};
    for (const auto &c : casos) {
        escribir(dir.file("BASESDATOS.TXT"), c[0]);
        EXPECT_EQ(ConfiguracionBasesDatos::leer(trabajo(dir)).motivoRechazo(),
                  "No está disponible el archivo " + dir.file("BASESDATOS.TXT")
                      + ". Motivo: Su contenido no es texto: tiene el carácter de control " + QString::fromUtf8(c[1]));
    }
    // Tabs, both line ends and Windows-1252 letters are text.
    escribir(dir.file("BASESDATOS.TXT"), "TipoBaseDatos=SQL Generica\t\nAliasBaseDatos=A\xd1O\r\n");
    EXPECT_EQ(ConfiguracionBasesDatos::leer(trabajo(dir)).AliasBaseDatos, "AÑO");
}

// Saved as "Unicode" by a Windows editor: UTF-16 with its byte-order mark.
TEST(ConfiguracionBasesDatos, ArchivoEnUtf16)
{
    gptest::TempDir dir;
    const QString texto = "TipoBaseDatos=SQL Generica\r\nAliasBaseDatos=AÑO\r\n";
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char *>(texto.utf16()), texto.size() * 2);
    escribir(dir.file("BASESDATOS.TXT"), bytes);
    const ConfiguracionBasesDatos c = ConfiguracionBasesDatos::leer(trabajo(dir));
    EXPECT_EQ(c.Motor, plat::EngineKind::PostgreSQL);
    EXPECT_EQ(c.AliasBaseDatos, "AÑO");
    EXPECT_EQ(c.motivoRechazo(), "");
}

// ---- KORVEL.INI ----

// The settings of a KORVEL.INI holding the text.
ParametrosKorvel desdeTexto(const QString &texto, const QString &tipoBaseDatos)
{
    gptest::TempDir dir;
    QFile f(dir.file("KORVEL.INI"));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(texto.toUtf8());
    f.close();
    const ParametrosKorvel::Lectura l = ParametrosKorvel::leer(dir.file("KORVEL.INI"), plat::engineFromTypeWord(tipoBaseDatos));
    EXPECT_EQ(l.aviso, "");
    return l.parametros;
}

void esperarPorDefecto(const ParametrosKorvel &p)
{
    EXPECT_FALSE(p.VisualizarLogoEmpresaEnMenu);
    EXPECT_EQ(p.NivelCapturaIncidencias, "Minimo");
    EXPECT_FALSE(p.DesactivarForzadoGrabacionDatosADisco);
    EXPECT_EQ(p.TiempoForzarTerminacionAplicacion, "");
    EXPECT_FALSE(p.ModoAdministradorActivado);
    EXPECT_FALSE(p.ModoControlesNoVisiblesActivado);
    EXPECT_FALSE(p.RegistroAccesosActivado);
    EXPECT_FALSE(p.ResponsabilidadDocumentalActivada);
    EXPECT_FALSE(p.AccesoWebLocalHost);
    EXPECT_FALSE(p.DesactivarIndicesPorUsuarioEnBusquedas);
    EXPECT_EQ(p.FormatoFechaSQL, "mm/dd/yyyy");
    EXPECT_EQ(p.fechaCeroSQL(), "12/30/1899 00:00:00");
    EXPECT_FALSE(p.MensajeriaInternaActivada);
    EXPECT_TRUE(p.VisualizacionPreviaActivada);
    EXPECT_FALSE(p.BusquedaAproximadaActivada);
    EXPECT_EQ(p.BDENetDir, "");
    EXPECT_FALSE(p.DesactivarDiagnostico);
    EXPECT_FALSE(p.AutenticacionWindows);
    EXPECT_FALSE(p.MonitorizarActividadUsuario);
    EXPECT_TRUE(p.ArchivosTemporalesEnBD);
    EXPECT_EQ(p.URLAccesoMenuWebDistribuidor, "");
    EXPECT_EQ(p.AspectoAplicacion, "");
    EXPECT_EQ(p.BDEPrivateDir, "");
    EXPECT_EQ(p.NombreIntercalacionMSSQL, "SQL_Latin1_General_Cp1_CI_AI");
    EXPECT_EQ(p.NombreUsuarioInicioSesion, "");
    EXPECT_EQ(p.PasswordInicioSesion, "");
    EXPECT_EQ(p.NivelAislamientoTransaccionesMSSQL, "READ UNCOMMITTED");
}

TEST(ParametrosKorvel, ArchivoAusenteTodoPorDefectoSinAviso)
{
    gptest::TempDir dir;
    const ParametrosKorvel::Lectura l = ParametrosKorvel::leer(dir.file("KORVEL.INI"), plat::EngineKind::SQLite);
    EXPECT_EQ(l.aviso, "");
    esperarPorDefecto(l.parametros);
}

TEST(ParametrosKorvel, ArchivoIlegibleAvisaYDejaLosValoresPorDefecto)
{
    gptest::TempDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("KORVEL.INI"));
    const QString archivo = dir.file("KORVEL.INI");
    const ParametrosKorvel::Lectura l = ParametrosKorvel::leer(archivo, plat::EngineKind::SQLite);
    EXPECT_EQ(l.aviso, "No ha sido posible leer los parámetros del archivo " + archivo
                           + ". Se utilizarán los parámetros por defecto.");
    esperarPorDefecto(l.parametros);
}

TEST(ParametrosKorvel, ClavesAusentesPorDefecto)
{
    // Sections present but holding other keys, and a section without accent (another name).
    esperarPorDefecto(desdeTexto("[Configuración]\nOtra=SI\n[Configuracion]\nModoAdministradorActivado=SI\n"
                                                "[Microsoft SQL Server]\n",
                                                "Microsoft SQL Server"));
    esperarPorDefecto(desdeTexto("", "Paradox"));
}

TEST(ParametrosKorvel, CadaClaveSeLeeDeSuSeccion)
{
    const QString texto = QString::fromUtf8(
        "[Configuración]\r\n"
        "VisualizarLogoEmpresaEnMenu=SI\r\nNivelCapturaIncidencias=Maximo\r\n"
        "DesactivarForzadoGrabacionDatosADisco=SI\r\nTiempoForzarTerminacionAplicacion=30\r\n"
        "ModoAdministradorActivado=SI\r\nModoControlesNoVisiblesActivado=SI\r\nRegistroAccesosActivado=SI\r\n"
        "ResponsabilidadDocumentalActivada=SI\r\nAccesoWebLocalHost=SI\r\n"
        "DesactivarIndicesPorUsuarioEnBusquedas=SI\r\nFormatoFechaSQL=dd/mm/yyyy\r\n"
        "MensajeriaInternaActivada=SI\r\nVisualizacionPreviaActivada=NO\r\nBusquedaAproximadaActivada=SI\r\n"
        "BDENetDir=LOCAL\r\nDesactivarDiagnostico=SI\r\nAutenticacionWindows=SI\r\n"
        "MonitorizarActividadUsuario=SI\r\nArchivosTemporalesEnBD=NO\r\n"
        "URLAccesoMenuWebDistribuidor=Ninguna\r\nAspectoAplicacion=clasico\r\nBDEPrivateDir=auto\r\n"
        "[Microsoft SQL Server]\r\n"
        "NombreIntercalacionMSSQL=Modern_Spanish_CI_AS\r\nNombreUsuarioInicioSesion=sa\r\n"
        "PasswordInicioSesion=012003\r\nNivelAislamientoTransaccionesMSSQL=READ COMMITTED\r\n"
        "NombreServicioAgenteMSSQL=SQLAgent$PROD\r\n");
    const ParametrosKorvel p = desdeTexto(texto, "Microsoft SQL Server");
    EXPECT_TRUE(p.VisualizarLogoEmpresaEnMenu);
    EXPECT_EQ(p.NivelCapturaIncidencias, "Maximo");
    EXPECT_TRUE(p.DesactivarForzadoGrabacionDatosADisco);
    EXPECT_EQ(p.TiempoForzarTerminacionAplicacion, "30");
    EXPECT_TRUE(p.ModoAdministradorActivado);
    EXPECT_TRUE(p.ModoControlesNoVisiblesActivado);
    EXPECT_TRUE(p.RegistroAccesosActivado);
    EXPECT_TRUE(p.ResponsabilidadDocumentalActivada);
    EXPECT_TRUE(p.AccesoWebLocalHost);
    EXPECT_TRUE(p.DesactivarIndicesPorUsuarioEnBusquedas);
    EXPECT_EQ(p.FormatoFechaSQL, "dd/mm/yyyy");
    EXPECT_EQ(p.fechaCeroSQL(), "30/12/1899 00:00:00");
    EXPECT_TRUE(p.MensajeriaInternaActivada);
    EXPECT_FALSE(p.VisualizacionPreviaActivada);
    EXPECT_TRUE(p.BusquedaAproximadaActivada);
    EXPECT_EQ(p.BDENetDir, "LOCAL");
    EXPECT_TRUE(p.DesactivarDiagnostico);
    EXPECT_TRUE(p.AutenticacionWindows);
    EXPECT_TRUE(p.MonitorizarActividadUsuario);
    EXPECT_FALSE(p.ArchivosTemporalesEnBD);
    EXPECT_EQ(p.URLAccesoMenuWebDistribuidor, "Ninguna");
    EXPECT_EQ(p.AspectoAplicacion, "clasico");
    EXPECT_EQ(p.BDEPrivateDir, "auto");
    EXPECT_EQ(p.NombreIntercalacionMSSQL, "Modern_Spanish_CI_AS");
    EXPECT_EQ(p.NombreUsuarioInicioSesion, "sa");
    EXPECT_EQ(p.PasswordInicioSesion, "012003");
    EXPECT_EQ(p.NivelAislamientoTransaccionesMSSQL, "READ COMMITTED");
    EXPECT_EQ(p.NombreServicioAgenteMSSQL, "SQLAgent$PROD");
}

TEST(ParametrosKorvel, MarcasCiertasSoloConSI)
{
    struct Caso { const char *valor; bool esperado; };
    const Caso casos[] = {{"SI", true}, {"si", false}, {"Si", false}, {"S", false}, {"", false}, {"NO", false}, {"1", false}};
    for (const Caso &c : casos) {
        const ParametrosKorvel p = desdeTexto(
            QString::fromUtf8("[Configuración]\nModoAdministradorActivado=%1\nVisualizacionPreviaActivada=%1\n").arg(c.valor),
            "Paradox");
        EXPECT_EQ(p.ModoAdministradorActivado, c.esperado) << c.valor;
        EXPECT_EQ(p.VisualizacionPreviaActivada, c.esperado) << c.valor;
    }
}

TEST(ParametrosKorvel, ValoresVaciosQueTomanElDefecto)
{
    const ParametrosKorvel p = desdeTexto(
        QString::fromUtf8("[Configuración]\nFormatoFechaSQL=\nNivelCapturaIncidencias=\n"
                          "[Microsoft SQL Server]\nNombreIntercalacionMSSQL=\nNivelAislamientoTransaccionesMSSQL=\n"),
        "Microsoft SQL Server");
    EXPECT_EQ(p.FormatoFechaSQL, "mm/dd/yyyy");
    EXPECT_EQ(p.NombreIntercalacionMSSQL, "SQL_Latin1_General_Cp1_CI_AI");
    EXPECT_EQ(p.NivelAislamientoTransaccionesMSSQL, "READ UNCOMMITTED");
    // A key written empty is read as empty where no default is promised for it.
    EXPECT_EQ(p.NivelCapturaIncidencias, "");
}

TEST(ParametrosKorvel, FormatoFechaSoloEnSQLServer)
{
    const QString texto = QString::fromUtf8("[Configuración]\nFormatoFechaSQL=dd/mm/yyyy\n");
    EXPECT_EQ(desdeTexto(texto, "Paradox").FormatoFechaSQL, "mm/dd/yyyy");
    EXPECT_EQ(desdeTexto(texto, "SQL Generica").fechaCeroSQL(), "12/30/1899 00:00:00");
    EXPECT_EQ(desdeTexto(texto, "Microsoft SQL Server").FormatoFechaSQL, "dd/mm/yyyy");
}

TEST(ParametrosKorvel, ArchivoDeWindowsConAcentosEnLatin1)
{
    gptest::TempDir dir;
    // "Configuración" written by the old system: one byte for the accented letter.
    escribir(dir.file("korvel.ini"), QByteArray("[Configuraci\xf3n]\r\nModoAdministradorActivado=SI\r\n"));
    const ParametrosKorvel::Lectura l = ParametrosKorvel::leer(dir.file("KORVEL.INI"), plat::EngineKind::SQLite);
    EXPECT_EQ(l.aviso, "");
    EXPECT_TRUE(l.parametros.ModoAdministradorActivado);
}

TEST(ParametrosKorvel, NombreDelArchivo)
{
    EXPECT_EQ(ParametrosKorvel::nombreArchivo("/w/", ""), "/w/KORVEL.INI");
    EXPECT_EQ(ParametrosKorvel::nombreArchivo("/w/", "OTRO.INI"), "/w/OTRO.INI");
    EXPECT_EQ(ParametrosKorvel::nombreArchivo("/w/", "/etc/gp/OTRO.INI"), "/etc/gp/OTRO.INI");
    EXPECT_EQ(ParametrosKorvel::nombreArchivo("/w/", "sub/OTRO.INI"), "sub/OTRO.INI");
}

} // namespace
