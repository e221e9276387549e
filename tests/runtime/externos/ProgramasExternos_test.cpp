// Starting other programs, waiting for a process and writing command files.
#include "GENEW/runtime/ProgramasExternos.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "tests/runtime/externos/ApoyoExternos.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A shell script that can be run, at the path given.
void crearPrograma(const QString &ruta, const QByteArray &cuerpo)
{
    ASSERT_TRUE(externos::escribirArchivo(ruta, "#!/bin/sh\n" + cuerpo + "\n"));
    QFile(ruta).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool esperarArchivo(const QString &ruta)
{
    for (int i = 0; i < 100 && !QFileInfo::exists(ruta); ++i)
        EsperarMilisegundos(50);
    return QFileInfo::exists(ruta);
}

class Programas : public ::testing::Test
{
protected:
    gptest::TempDir dir_;
    QStringList cuadros_;
    CuadroMensajeInstalado cuadro_{[this](const QString &texto) { cuadros_ << texto; }};
};

TEST(DividirLineaComandos, WordsSplitAsTheShellSplitsThem)
{
    const struct
    {
        const char *linea;
        QStringList palabras;
    } casos[] = {
        {"prog a  b", {"prog", "a", "b"}},
        {"\"/ruta con blancos/prog\" 'x y' z", {"/ruta con blancos/prog", "x y", "z"}},
        {"prog \"\" ''", {"prog", "", ""}},
        {"a\\ b \"c\\\"d\" 'e\\f'", {"a b", "c\"d", "e\\f"}},
        {"  ", {}},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.linea);
        EXPECT_EQ(DividirLineaComandos(QString::fromUtf8(c.linea)), c.palabras);
    }
    for (const QString &palabra : {QStringLiteral("a \"b\" $HOME `x` \\"), QString(), QStringLiteral("ñ'")})
        EXPECT_EQ(DividirLineaComandos(EntrecomillarArgumento(palabra)), QStringList{palabra});
}

TEST_F(Programas, SiblingProgramsAreFoundAsGivenThenWithoutExtensionThenInLowerCase)
{
    for (const char *nombre : {"TROMSEL.EXE", "TROMSEL", "tromsel"}) {
        SCOPED_TRACE(nombre);
        const QString ruta = dir_.file(QString::fromLatin1(nombre));
        crearPrograma(ruta, "exit 0");
        EXPECT_EQ(LocalizarProgramaHermano(QStringLiteral("TROMSEL.EXE"), dir_.path()), ruta);
        QFile::remove(ruta);
    }
    EXPECT_EQ(LocalizarProgramaHermano(QStringLiteral("TROMSEL.EXE"), dir_.path()), "");
    EXPECT_TRUE(LocalizarProgramaHermano(QStringLiteral("sh"), dir_.path()).endsWith(QLatin1String("/sh")));
}

TEST_F(Programas, AFailedStartShowsItsMessageUnlessSinMensaje)
{
    QDir(dir_.path()).mkdir(QStringLiteral("carpeta"));
    ASSERT_TRUE(externos::escribirArchivo(dir_.file("datos.txt"), "no es un programa"));
    const QString falta = dir_.file("falta");
    const QString sinCarpeta = dir_.file("no/existe/prog");
    const QString carpeta = dir_.file("carpeta");
    const QString datos = dir_.file("datos.txt");
    const struct
    {
        QString linea;
        QString mensaje;
    } casos[] = {
        {falta + " -x", "El archivo " + falta + " -x no ha sido encontrado."},
        {"PROGRAMA.EXE", "El archivo PROGRAMA.EXE no ha sido encontrado."},
        {sinCarpeta, "El camino(path) del archivo " + sinCarpeta + " no ha sido encontrado."},
        {carpeta, "El archivo " + carpeta + " no es válido o no es una aplicación Win32."},
        {datos, "El archivo " + datos + " no es válido o no es una aplicación Win32."},
    };
    for (const auto &c : casos) {
        cuadros_.clear();
        EXPECT_FALSE(EjecutarPrograma(c.linea, QStringLiteral("Maximizado"), dir_.path()));
        EXPECT_EQ(cuadros_, QStringList{c.mensaje});
        cuadros_.clear();
        EXPECT_FALSE(EjecutarPrograma(c.linea, QStringLiteral("Minimizado,SinMensaje"), dir_.path()));
        EXPECT_TRUE(cuadros_.isEmpty());
    }
}

TEST_F(Programas, AQuotedPathWithBlanksStartsDirectlyAndThroughThePointer)
{
    QDir(dir_.path()).mkdir(QStringLiteral("mis programas"));
    const QString programa = dir_.file("mis programas/marcar archivo");
    crearPrograma(programa, "echo \"$2\" > \"$1\"");
    const QString marca = dir_.file("marca uno");
    // Command lines have no length limit.
    const QString largo = QString(20000, u'x');
    ASSERT_TRUE(EjecutarPrograma(EntrecomillarArgumento(programa) + ' ' + EntrecomillarArgumento(marca) + " 'dos palabras "
                                     + largo + "'",
                                 QString(), dir_.path()));
    ASSERT_TRUE(esperarArchivo(marca));
    EsperarMilisegundos(100);
    EXPECT_EQ(externos::leerArchivo(marca), ("dos palabras " + largo + "\n").toUtf8());

    const Gancho<EjecutarProgramaFn>::Instalacion instalado(ganchoEjecutarPrograma(),
                                                            EjecutorProgramas(dir_.path() + QStringLiteral("/mis programas")));
    ASSERT_TRUE(ganchoEjecutarPrograma().valor());
    const QString otra = dir_.file("marca dos");
    // A bare name is a sibling program of the folder the pointer was installed with.
    ganchoEjecutarPrograma().valor()(QStringLiteral("\"marcar archivo\" ") + EntrecomillarArgumento(otra) + " x", QString());
    EXPECT_TRUE(esperarArchivo(otra));
    EXPECT_TRUE(cuadros_.isEmpty());
}

TEST_F(Programas, WaitingForAProcessKeepsTheEventsGoingAndKeepsItsExitCode)
{
    int ticks = 0;
    QTimer reloj;
    QObject::connect(&reloj, &QTimer::timeout, [&ticks] { ++ticks; });
    reloj.start(100);
    EXPECT_EQ(EjecutarProcesoYEsperar(QStringLiteral("/bin/sleep"), QStringLiteral("1")), 0);
    EXPECT_GE(ticks, 5);

    crearPrograma(dir_.file("siete"), "exit 7");
    EXPECT_EQ(EjecutarProcesoYEsperar(dir_.file("siete"), QString()), 7);
    ASSERT_TRUE(externos::escribirArchivo(dir_.file("ORDENES.BAT"), "exit 9\n"));
    EXPECT_EQ(EjecutarProcesoYEsperar(dir_.file("ORDENES.BAT"), QString()), 9);
    EXPECT_TRUE(cuadros_.isEmpty());

    EXPECT_EQ(EjecutarProcesoYEsperar(dir_.file("no existe"), QString()), -1);
    ASSERT_EQ(cuadros_.size(), 1);
    EXPECT_TRUE(cuadros_[0].startsWith("Error de Creación del Proceso: ")) << cuadros_[0].toStdString();
}

TEST_F(Programas, TheCommandFileIsAShellScriptEndingInLFOrAMessageWhenItCannotBeWritten)
{
    EXPECT_TRUE(CrearArchivoBAT(dir_.file("A.BAT"), QStringLiteral("\"/p q/r\" \"\" \"s\"")));
    EXPECT_EQ(externos::leerArchivo(dir_.file("A.BAT")), "\"/p q/r\" \"\" \"s\"\n");
    EXPECT_TRUE(cuadros_.isEmpty());

    EXPECT_FALSE(CrearArchivoBAT(dir_.file("no existe/A.BAT"), QStringLiteral("x")));
    ASSERT_EQ(cuadros_.size(), 1);
    EXPECT_TRUE(cuadros_[0].startsWith("Error de Creación del Archivo (.bat). Motivo: "));
    EXPECT_GT(cuadros_[0].size(), QStringLiteral("Error de Creación del Archivo (.bat). Motivo: ").size());
}

} // namespace
