#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "tests/support/PermisosDeUsuario.h"
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

// What Windows editors save as "Unicode": UTF-16 after a byte-order mark, either order.
TEST(FicherosTexto, Utf16ConMarcaYBytesQueNoSonTexto)
{
    const QString esperado = QStringLiteral("TipoBaseDatos=Año €\r\n");
    QByteArray le("\xFF\xFE"), be("\xFE\xFF");
    for (const QChar c : esperado) {
        const char16_t u = c.unicode();
        le.append(char(u & 0xFF)).append(char(u >> 8));
        be.append(char(u >> 8)).append(char(u & 0xFF));
    }
    const struct
    {
        const char *caso;
        QByteArray bytes;
        bool texto;
        QString leido;
    } casos[] = {
        {"UTF-16LE", le, true, esperado},
        {"UTF-16BE", be, true, esperado},
        {"UTF-16 cortado a medio carácter", le.left(le.size() - 1), false, QString()},
        {"sustituto suelto", QByteArray("\xFF\xFE\x00\xD8\x41\x00", 6), false, QString()},
        {"bytes con NUL sin marca", QByteArray("A\0B\0", 4), false, QString()},
        {"UTF-8", QByteArray("a\xC3\xB1o"), true, QStringLiteral("año")},
    };
    for (const auto &c : casos) {
        QString texto;
        EXPECT_EQ(DecodificarTexto(c.bytes, texto), c.texto) << c.caso;
        if (c.texto)
            EXPECT_EQ(texto, c.leido) << c.caso;
    }

    gptest::TempDir dir;
    Grabar(dir.file(QStringLiteral("U.TXT")), le);
    EXPECT_EQ(LeerValorTexto(dir.file(QStringLiteral("U.TXT")), QStringLiteral("TipoBaseDatos"), QString()),
              QStringLiteral("Año €"));
    Grabar(dir.file(QStringLiteral("ROTO.TXT")), le.left(le.size() - 1));
    const LecturaFicheroTexto roto = LeerFicheroTextoConMotivo(dir.file(QStringLiteral("ROTO.TXT")));
    EXPECT_TRUE(roto.ilegible());
    EXPECT_EQ(roto.texto, QString());
    EXPECT_EQ(roto.textoNoDisponible(), QStringLiteral("No está disponible el archivo ") + dir.file(QStringLiteral("ROTO.TXT"))
                                            + QStringLiteral(". Motivo: Su contenido no es texto (UTF-8, Windows-1252 o UTF-16)"));
}

// A file that exists but cannot be read is not an absent one: the reader says why.
TEST(FicherosTexto, IlegibleConElMotivoDelSistema)
{
    gptest::TempDir dir;
    const QString ruta = dir.file(QStringLiteral("BASESDATOS.TXT"));
    Grabar(ruta, "TipoBaseDatos=SQL Generica\r\n");
    gptest::quitarPermisos(ruta);
    gptest::PermisosDeUsuario comoUsuario;
    if (!gptest::PermisosDeUsuario::rigen(dir.path()))
        GTEST_SKIP() << "file permissions do not hold for this process";
    const LecturaFicheroTexto l = LeerFicheroTextoConMotivo(ruta);
    EXPECT_TRUE(l.existe);
    EXPECT_FALSE(l.leido);
    EXPECT_EQ(l.motivo, QStringLiteral("Permission denied"));
    const LecturaFicheroTexto falta = LeerFicheroTextoConMotivo(dir.file(QStringLiteral("FALTA.TXT")));
    EXPECT_FALSE(falta.existe);
    EXPECT_FALSE(falta.ilegible());
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
