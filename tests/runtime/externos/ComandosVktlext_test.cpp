// The auxiliary program's command files, with a recording stand-in in the program's folder.
#include "GENEW/runtime/ComandosVktlext.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/ProgramasExternos.h"
#include "tests/runtime/externos/ApoyoExternos.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// Records its arguments, the command file that started it (its parent shell's script), the
// .INI and the .VAL, then ends with $GP_PRUEBA_SALIDA (0 by default).
const QByteArray kSustituto = R"(#!/bin/sh
r="$GP_PRUEBA_REGISTRO"
printf '%s\n' "$@" > "$r/argumentos"
bat=$(tr '\0' '\n' < /proc/$PPID/cmdline | sed -n 2p)
cp "$bat" "$r/bat"
cp "$2" "$r/ini"
val=$(sed -n 's/^PathArchivoValores=\(.*\)\r$/\1/p' "$2")
[ -n "$val" ] && cp "$val" "$r/val"
exit ${GP_PRUEBA_SALIDA:-0}
)";

class ComandosVktlext : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir raiz(dir_.path());
        raiz.mkdir(QStringLiteral("programa"));
        raiz.mkdir(QStringLiteral("registro"));
        raiz.mkdir(QStringLiteral("temporal"));
        ASSERT_TRUE(externos::escribirArchivo(dir_.file("programa/vktlext"), kSustituto));
        QFile(dir_.file("programa/vktlext")).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        form_.DirectorioInstalacion = dir_.file("programa/");
        form_.Configuracion.directorioTrabajo = QDir::currentPath() + u'/';
        qputenv("GP_PRUEBA_REGISTRO", dir_.file("registro").toUtf8());
        qputenv("GP_PRUEBA_SALIDA", "0");
        tmpPrevio_ = qgetenv("TMPDIR");
        qputenv("TMPDIR", dir_.file("temporal").toUtf8());
    }
    void TearDown() override
    {
        qputenv("TMPDIR", tmpPrevio_);
        qunsetenv("GP_PRUEBA_REGISTRO");
        qunsetenv("GP_PRUEBA_SALIDA");
    }

    QString registro(const char *nombre) const
    {
        return QString::fromUtf8(externos::leerArchivo(dir_.file(QStringLiteral("registro/") + QLatin1String(nombre))));
    }
    QStringList argumentos() const { return registro("argumentos").split(u'\n', Qt::SkipEmptyParts); }
    QStringList restos() const { return QDir(dir_.file("temporal")).entryList(QDir::Files); }
    QString programa() const { return dir_.file("programa/vktlext"); }

    gptest::TempDir dir_;
    TfGENEINIC form_;
    QByteArray tmpPrevio_;
    QStringList cuadros_;
    CuadroMensajeInstalado cuadro_{[this](const QString &texto) { cuadros_ << texto; }};
};

TEST_F(ComandosVktlext, MailWritesItsKeysInOrderFoldingOnlyTextAndAttachments)
{
    const int resultado = form_.EnviarCorreoMAPI(
        QStringLiteral("Asunto\r\ncon salto"), QStringLiteral("Hola\r\nadiós"), QStringLiteral("/a.pdf\r\n/b.pdf"),
        QStringLiteral("Remite"), QStringLiteral("r@x.test"), QStringLiteral("Destino"), QStringLiteral("d@x.test"),
        QStringLiteral("Copia"), QStringLiteral("c@x.test"), QStringLiteral("Opc"));
    EXPECT_EQ(resultado, 0);
    EXPECT_EQ(registro("ini"), "Asunto=Asunto\r\ncon salto\r\nTexto=Hola·adiós\r\nArchivosAdjuntos=/a.pdf·/b.pdf\r\n"
                               "NombreRemitente=Remite\r\nEMailRemitente=r@x.test\r\nNombreDestinatario=Destino\r\n"
                               "EMailDestinatario=d@x.test\r\nNombreDestinatarioCC=Copia\r\n"
                               "EMailDestinatarioCC=c@x.test\r\nOpciones=Opc\r\n");
    const QStringList args = argumentos();
    ASSERT_EQ(args.size(), 2);
    EXPECT_EQ(args[0], "EnviarEMailMAPI");
    EXPECT_TRUE(args[1].startsWith(dir_.file("temporal/")) && args[1].endsWith(".INI"));
    EXPECT_EQ(registro("bat"), EntrecomillarArgumento(programa()) + " \"EnviarEMailMAPI\" " + EntrecomillarArgumento(args[1]) + '\n');
    EXPECT_TRUE(restos().isEmpty()) << restos().join(' ').toStdString();
    EXPECT_EQ(QDir::currentPath() + u'/', form_.Configuracion.directorioTrabajo);
}

TEST_F(ComandosVktlext, AWordDocumentTakesItsValuesFileAndPrintingNamesItsCommandByType)
{
    const QString valores = QStringLiteral("Nombre=Reforma\r\nLinea=Partida=1|Importe=10,5|\r\n");
    form_.AbrirDocumentoWord(QStringLiteral("/docs/plantilla.docx"), valores);
    const QStringList args = argumentos();
    ASSERT_EQ(args.size(), 2);
    const QString val = args[1].chopped(4) + QStringLiteral(".VAL");
    EXPECT_EQ(registro("ini"), "PathDocumento=/docs/plantilla.docx\r\nPathArchivoValores=" + val + "\r\n");
    EXPECT_EQ(registro("val"), valores);
    EXPECT_TRUE(restos().isEmpty());

    const struct
    {
        const char *tipo;
        const char *palabra;
    } casos[] = {{"DOC", "ImprimirDocumentoWord"}, {"PDF", "ImprimirDocumentoPDF"}, {"XLS", ""}};
    for (const auto &c : casos) {
        SCOPED_TRACE(c.tipo);
        form_.ImprimirDocumento(QStringLiteral("/docs/informe"), QStringLiteral("Oficina 2"), QString::fromLatin1(c.tipo));
        const QStringList impresion = registro("argumentos").split(u'\n');
        EXPECT_EQ(impresion.value(0), QString::fromLatin1(c.palabra));
        EXPECT_EQ(registro("ini"), "PathDocumento=/docs/informe\r\nNombreImpresora=Oficina 2\r\n");
        EXPECT_TRUE(registro("bat").contains(EntrecomillarArgumento(programa()) + " \"" + c.palabra + "\" "));
        EXPECT_TRUE(restos().isEmpty());
    }
}

TEST_F(ComandosVktlext, TheMailOutcomeIsTheProgramsExitCode)
{
    const QString ajustes = QStringLiteral("ClienteSMTP=MAPI\r\nCuentaSMTPCopiasDocumentos=copias@x.test\r\n");
    const QString datos = QStringLiteral("NombreRemitente=Oficina\r\nEMailRemitente=of@x.test\r\n");
    QString error;
    EXPECT_TRUE(form_.EnviarCorreoElectronico(ajustes, QStringLiteral("d@x.test"), QStringLiteral("A"),
                                              QStringLiteral("T"), QString(), error, datos, QString()));
    EXPECT_EQ(error, "");
    // Without a copy address in the data, the copies account is the copy's name and address.
    EXPECT_TRUE(registro("ini").contains("NombreDestinatarioCC=copias@x.test\r\nEMailDestinatarioCC=copias@x.test\r\n"));
    EXPECT_TRUE(registro("ini").contains("NombreRemitente=Oficina\r\nEMailRemitente=of@x.test\r\n"));

    qputenv("GP_PRUEBA_SALIDA", "3");
    EXPECT_FALSE(form_.EnviarCorreoElectronico(ajustes, QStringLiteral("d@x.test"), QStringLiteral("A"),
                                               QStringLiteral("T"), QString(), error, datos, QString()));
    EXPECT_EQ(error, "Error en el envío (MAPI): 3");
    EXPECT_TRUE(restos().isEmpty());

    // Without the program nothing counts as sent, and the program says it is missing.
    QFile::remove(programa());
    EXPECT_FALSE(form_.EnviarDocumentoCorreo(ajustes, QStringLiteral("d@x.test"), QStringLiteral("A"),
                                             QStringLiteral("T"), QString(), datos, QString()));
    EXPECT_EQ(cuadros_, QStringList{"El archivo VKTLEXT.EXE no ha sido encontrado."});
    EXPECT_TRUE(restos().isEmpty());
}

TEST_F(ComandosVktlext, ACommandFileThatCannotBeWrittenRunsNothingAndTheOtherFilesGo)
{
    // A folder where the .BAT should go: the .INI and the .VAL are written, the .BAT is not.
    QDir(dir_.file("temporal")).mkdir(QStringLiteral("ORDEN-1.BAT"));
    const EntornoVktlext entorno{programa(), dir_.file("temporal"), QString(), [] { return QStringLiteral("ORDEN-1"); }};
    EXPECT_EQ(EjecutarComandoVktlext(ComandoAbrirDocumentoWord(QStringLiteral("/d.docx"), QStringLiteral("A=1")), entorno), -1);
    ASSERT_EQ(cuadros_.size(), 1);
    EXPECT_TRUE(cuadros_[0].startsWith("Error de Creación del Archivo (.bat). Motivo: "));
    EXPECT_TRUE(registro("argumentos").isEmpty());
    EXPECT_TRUE(restos().isEmpty()) << restos().join(' ').toStdString();
}

} // namespace
