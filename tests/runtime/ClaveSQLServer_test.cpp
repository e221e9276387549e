#include "GENEW/runtime/ClaveSQLServer.h"
#include "GENEW/runtime/CifradoClave.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

const char *const ClaveRechazada = "Unknown user name or password. Login failed for user 'sa'.";

// A server that accepts one password and counts the attempts.
struct Servidor
{
    QString aceptada;
    QStringList intentos;
    void operator()(const QString &password)
    {
        intentos << password;
        if (password != aceptada)
            throw gp::DatabaseError(ClaveRechazada, gp::DatabaseErrorKind::UnknownUser);
    }
};

QString guardada(const QString &archivo)
{
    return DescifrarClave(LeerINI(archivo, "Microsoft SQL Server", "PasswordInicioSesion"));
}

TEST(ClaveSQLServer, PideLaClaveHastaQueElServidorLaAcepta)
{
    gptest::TempDir dir;
    const QString ini = dir.file("KORVEL.INI");
    Servidor servidor{"buena", {}};
    SalidaMensajesGrabada usuario;
    SalidaMensajesInstalada instalada(usuario);
    usuario.programarRespuestas({"mala", "buena"});
    QString password = "vieja";
    const ResultadoConexionConClave r = ConectarPidiendoClave(std::ref(servidor), password, ini);
    EXPECT_TRUE(r.conectado);
    EXPECT_EQ(password, "buena");
    EXPECT_EQ(servidor.intentos, (QStringList{"vieja", "mala", "buena"}));
    EXPECT_EQ(guardada(ini), "buena");
    ASSERT_EQ(usuario.mensajes().size(), 2);
    EXPECT_EQ(usuario.mensajes()[0].tipo, "P");
    EXPECT_EQ(usuario.mensajes()[0].respuestaPropuesta, "Password");   // masked entry
    EXPECT_TRUE(usuario.mensajes()[0].texto.startsWith("La clave de inicio de sesión de SQL Server no coincide"));
}

TEST(ClaveSQLServer, ClaveVaciaSoloSiSeConfirma)
{
    gptest::TempDir dir;
    const QString ini = dir.file("KORVEL.INI");
    Servidor servidor{"", {}};
    SalidaMensajesGrabada usuario;
    SalidaMensajesInstalada instalada(usuario);
    // Empty, not confirmed: the same attempt again; then empty and confirmed.
    usuario.programarRespuestas({"", "NO", "", "SI"});
    QString password = "x";
    const ResultadoConexionConClave r = ConectarPidiendoClave(std::ref(servidor), password, ini);
    EXPECT_TRUE(r.conectado);
    EXPECT_EQ(servidor.intentos, (QStringList{"x", "x", ""}));
    EXPECT_EQ(usuario.textos().at(1), "¿Está seguro de que desea dejar la contraseña en blanco?");
    EXPECT_EQ(usuario.mensajes().size(), 4);
    EXPECT_EQ(LeerINI(ini, "Microsoft SQL Server", "PasswordInicioSesion", "ausente"), "");
}

TEST(ClaveSQLServer, OtrosFallosNoPreguntan)
{
    gptest::TempDir dir;
    SalidaMensajesGrabada usuario;
    SalidaMensajesInstalada instalada(usuario);
    QString password = "x";
    const ResultadoConexionConClave r = ConectarPidiendoClave(
        [](const QString &) { throw gp::DatabaseError("Cannot open database \"EMPRESA\""); }, password,
        dir.file("KORVEL.INI"));
    EXPECT_FALSE(r.conectado);
    EXPECT_EQ(r.fallo.mensaje, "Cannot open database \"EMPRESA\"");
    EXPECT_TRUE(usuario.mensajes().isEmpty());
    EXPECT_FALSE(QFile::exists(dir.file("KORVEL.INI")));
}

} // namespace
