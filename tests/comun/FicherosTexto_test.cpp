#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

void Grabar(const QString &ruta, const QByteArray &bytes)
{
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray Leer(const QString &ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(FicherosTexto, Utf8YRespaldoWindows1252)
{
    EXPECT_EQ(TextoDeBytes(QByteArray("Configuraci\xC3\xB3n")), QStringLiteral("Configuración"));
    EXPECT_EQ(TextoDeBytes(QByteArray("\xEF\xBB\xBFSI")), QStringLiteral("SI"));
    // Bytes of a file written on Windows: "ó" as 0xF3, "€" as 0x80, "ñ" as 0xF1.
    EXPECT_EQ(TextoDeBytes(QByteArray("Configuraci\xF3n \x80 a\xF1o")), QStringLiteral("Configuración € año"));
    EXPECT_EQ(TextoDeBytes(QByteArray("\x93hola\x94")), QStringLiteral("“hola”"));
}

TEST(FicherosTexto, BusquedaSinMayusculas)
{
    gptest::TempDir dir;
    Grabar(dir.file(QStringLiteral("Korvel.ini")), "A=1\r\n");
    EXPECT_EQ(LocalizarFichero(dir.file(QStringLiteral("KORVEL.INI"))), dir.file(QStringLiteral("Korvel.ini")));
    EXPECT_EQ(LocalizarFichero(dir.file(QStringLiteral("Korvel.ini"))), dir.file(QStringLiteral("Korvel.ini")));
    EXPECT_EQ(LocalizarFichero(dir.file(QStringLiteral("OTRO.INI"))), dir.file(QStringLiteral("OTRO.INI")));
    bool leido = false;
    EXPECT_EQ(LeerFicheroTexto(dir.file(QStringLiteral("korvel.INI")), &leido), QStringLiteral("A=1\r\n"));
    EXPECT_TRUE(leido);
    EXPECT_EQ(LeerFicheroTexto(dir.file(QStringLiteral("falta.txt")), &leido), QString());
    EXPECT_FALSE(leido);
}

TEST(FicherosTexto, LeerValorTexto)
{
    gptest::TempDir dir;
    const QString ruta = dir.file(QStringLiteral("BASESDATOS.TXT"));
    Grabar(ruta, "TipoBaseDatos=Paradox\r\nAliasBaseDatos=\r\nPathBaseDatosGeneral=datos/a\xF1o\r\n");
    EXPECT_EQ(LeerValorTexto(ruta, QStringLiteral("tipobasedatos"), QStringLiteral("X")), QStringLiteral("Paradox"));
    EXPECT_EQ(LeerValorTexto(ruta, QStringLiteral("AliasBaseDatos"), QStringLiteral("EMPRESA")), QStringLiteral("EMPRESA"));
    EXPECT_EQ(LeerValorTexto(ruta, QStringLiteral("Falta"), QStringLiteral("D")), QStringLiteral("D"));
    EXPECT_EQ(LeerValorTexto(ruta, QStringLiteral("PathBaseDatosGeneral"), QString()), QStringLiteral("datos/año"));
    EXPECT_EQ(LeerValorTexto(dir.file(QStringLiteral("no.txt")), QStringLiteral("A"), QStringLiteral("D")),
              QStringLiteral("D"));
}

TEST(FicherosINI, SeccionConAcentos)
{
    gptest::TempDir dir;
    const QString ruta = dir.file(QStringLiteral("KORVEL.INI"));
    // A settings file copied from Windows, in its 8-bit code page.
    Grabar(ruta, "[Configuraci\xF3n]\r\nTipoBaseDatos=Paradox\r\n\r\n[Microsoft SQL Server]\r\nServidor=S1\r\n");
    EXPECT_EQ(LeerINI(ruta, QStringLiteral("Configuración"), QStringLiteral("tipobasedatos")), QStringLiteral("Paradox"));
    EXPECT_EQ(LeerINI(ruta, QStringLiteral("CONFIGURACIÓN"), QStringLiteral("Falta"), QStringLiteral("d")),
              QStringLiteral("d"));

    EscribirINI(ruta, QStringLiteral("Configuración"), QStringLiteral("FormatoFechaSQL"), QStringLiteral("dd/mm/yyyy"));
    EscribirINI(ruta, QStringLiteral("Microsoft SQL Server"), QStringLiteral("servidor"), QStringLiteral("S2"));
    EscribirINI(ruta, QStringLiteral("Reconstrucción Automática de Tablas"), QStringLiteral("Tablas"), QStringLiteral("A;B"));

    EXPECT_EQ(QString::fromUtf8(Leer(ruta)),
              QStringLiteral("[Configuración]\r\nTipoBaseDatos=Paradox\r\nFormatoFechaSQL=dd/mm/yyyy\r\n\r\n"
                             "[Microsoft SQL Server]\r\nservidor=S2\r\n\r\n"
                             "[Reconstrucción Automática de Tablas]\r\nTablas=A;B\r\n"));
    EXPECT_EQ(LeerSeccionINI(ruta, QStringLiteral("Configuración")),
              (QStringList{QStringLiteral("TipoBaseDatos=Paradox"), QStringLiteral("FormatoFechaSQL=dd/mm/yyyy")}));
}

TEST(FicherosINI, CreaElFicheroYFallaSinCarpeta)
{
    gptest::TempDir dir;
    const QString ruta = dir.file(QStringLiteral("nuevo.ini"));
    EscribirINI(ruta, QStringLiteral("Configuración"), QStringLiteral("A"), QStringLiteral("1"));
    EXPECT_EQ(QString::fromUtf8(Leer(ruta)), QStringLiteral("[Configuración]\r\nA=1\r\n"));
    EXPECT_THROW(EscribirINI(dir.file(QStringLiteral("falta/x.ini")), QStringLiteral("S"), QStringLiteral("A"),
                             QStringLiteral("1")),
                 gp::Error);
}

} // namespace
