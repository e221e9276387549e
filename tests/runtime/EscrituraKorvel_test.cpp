#include "GENEW/runtime/CifradoClave.h"
#include "GENEW/runtime/EscrituraKorvel.h"
#include "GENEW/runtime/ParametrosKorvel.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(EscrituraKorvel, PasswordCifradaSinTocarLoDemas)
{
    gptest::TempDir dir;
    const QString archivo = dir.file("KORVEL.INI");
    ASSERT_TRUE(EscribirFicheroTexto(archivo, QString::fromUtf8("[Configuración]\r\nModoAdministradorActivado=SI\r\n"
                                                                "[Microsoft SQL Server]\r\nPasswordInicioSesion=000\r\n")));
    GuardarPasswordInicioSesion(archivo, "Clave ñ");
    const ParametrosKorvel::Lectura l = ParametrosKorvel::leer(archivo, plat::EngineKind::SqlServer);
    EXPECT_EQ(l.parametros.PasswordInicioSesion, CifrarClave("Clave ñ"));
    EXPECT_EQ(DescifrarClave(l.parametros.PasswordInicioSesion), "Clave ñ");
    EXPECT_TRUE(l.parametros.ModoAdministradorActivado);

    // No settings file yet: it is created.
    const QString nuevo = dir.file("NUEVO.INI");
    GuardarPasswordInicioSesion(nuevo, "");
    EXPECT_TRUE(QFile::exists(nuevo));
    EXPECT_EQ(ParametrosKorvel::leer(nuevo, plat::EngineKind::SqlServer).parametros.PasswordInicioSesion, "");

    ASSERT_TRUE(QDir(dir.path()).mkdir("CARPETA.INI"));
    EXPECT_THROW(GuardarPasswordInicioSesion(dir.file("CARPETA.INI"), "x"), gp::Error);
}

TEST(EscrituraKorvel, ListaDeTablasParaReconstruir)
{
    gptest::TempDir dir;
    const QString archivo = dir.file("KORVEL.INI");
    const QString seccion = QString::fromUtf8("Reconstrucción Automática de Tablas");
    AnotarTablaParaReconstruir(archivo, "/d/datos/1/PROYECT");
    AnotarTablaParaReconstruir(archivo, "/d/datos/1/CLIENTE");
    AnotarTablaParaReconstruir(archivo, "/d/datos/1/cliente");   // already there
    AnotarTablaParaReconstruir(archivo, "/d/datos/1/LPROYECT");
    EXPECT_EQ(LeerINI(archivo, seccion, "Tablas"), "/d/datos/1/CLIENTE,/d/datos/1/LPROYECT,/d/datos/1/PROYECT");
}

TEST(EscrituraKorvel, SoloLosFallosDeIndiceOArchivoDelMotorDeCarpetas)
{
    EXPECT_TRUE(FalloPideReconstruccion(plat::EngineKind::SQLite, "Index is out of date"));
    EXPECT_TRUE(FalloPideReconstruccion(plat::EngineKind::SQLite, "database disk image is malformed: corrupt"));
    EXPECT_FALSE(FalloPideReconstruccion(plat::EngineKind::SQLite, "Table does not exist"));
    EXPECT_FALSE(FalloPideReconstruccion(plat::EngineKind::PostgreSQL, "Index is out of date"));
    EXPECT_FALSE(FalloPideReconstruccion(plat::EngineKind::SqlServer, "corrupt"));
}

} // namespace
