#include "GENEW/runtime/RegistroErrores.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(RegistroErrores, EntradasConFechaTituloYTexto)
{
    gptest::TempDir dir;
    const RegistroErrores registro(dir.path() + "/");
    EXPECT_EQ(registro.ruta(), dir.file("ERRORES.LOG"));
    EXPECT_TRUE(registro.entradas().isEmpty());

    // In the hour that Madrid skips when summer time begins: a reading, not an instant.
    const QDateTime momento = FechaHora(QDate(2026, 3, 29), QTime(2, 6, 7));
    ASSERT_TRUE(registro.anotar("Al entrar en fGENEINIC (AperturaTablaOK)",
                                "Table does not exist\r\nTabla: CLIENTE(Table1) DataBase: datos", momento));
    ASSERT_TRUE(registro.anotar("Segundo\ncon salto", "\tempieza con tabulador\n", momento.addSecs(1)));

    const QList<RegistroErrores::Entrada> e = registro.entradas();
    ASSERT_EQ(e.size(), 2);
    EXPECT_EQ(e[0].momento, momento);
    EXPECT_EQ(e[0].titulo, "Al entrar en fGENEINIC (AperturaTablaOK)");
    EXPECT_EQ(e[0].texto, "Table does not exist\r\nTabla: CLIENTE(Table1) DataBase: datos");
    EXPECT_EQ(e[1].titulo, "Segundo con salto");
    EXPECT_EQ(e[1].texto, "\tempieza con tabulador");   // one final line break is not kept

    QFile f(registro.ruta());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readLine().startsWith("29/03/2026 02:06:07  Al entrar en fGENEINIC"));
}

TEST(RegistroErrores, SeConservanLasUltimasMil)
{
    gptest::TempDir dir;
    const RegistroErrores registro(dir.path() + "/");
    const QDateTime inicio = FechaHora(QDate(2026, 1, 1), QTime(0, 0, 0));
    for (int i = 0; i < RegistroErrores::MaximoEntradas + 5; ++i)
        ASSERT_TRUE(registro.anotar(QString("Entrada %1").arg(i), QString("texto %1").arg(i), inicio.addSecs(i)));
    const QList<RegistroErrores::Entrada> e = registro.entradas();
    ASSERT_EQ(e.size(), RegistroErrores::MaximoEntradas);
    EXPECT_EQ(e.first().titulo, "Entrada 5");
    EXPECT_EQ(e.last().titulo, QString("Entrada %1").arg(RegistroErrores::MaximoEntradas + 4));
    EXPECT_EQ(e.last().texto, QString("texto %1").arg(RegistroErrores::MaximoEntradas + 4));
}

TEST(RegistroErrores, SinPermisoDeEscrituraNoFallaElPrograma)
{
    gptest::TempDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("ERRORES.LOG"));   // a folder in the log's place
    const RegistroErrores registro(dir.path() + "/");
    EXPECT_FALSE(registro.anotar("t", "x"));
    EXPECT_TRUE(registro.entradas().isEmpty());
}

} // namespace
