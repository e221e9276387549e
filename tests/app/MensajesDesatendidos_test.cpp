#include "app/MensajesDesatendidos.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QString contenido(const QString &ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The plain system box opens no window in an unattended run: it is written to the message
// file with its own kind letter, like every other message, and the run goes on at once.
TEST(MensajesDesatendidos, ElCuadroDelSistemaSeEscribeConSuLetra)
{
    gptest::TempDir dir;
    MensajesDesatendidos salida(dir.file("MENSAJES.TXT"));
    SalidaMensajesInstalada instalada(salida);
    MensajeAviso("Aviso");
    MensajeSistema("Hay un error en la siguiente Sentencia SQL: \r\nSELECT X");
    EXPECT_EQ(contenido(dir.file("MENSAJES.TXT")),
              "A: Aviso\nS: Hay un error en la siguiente Sentencia SQL: \r\nSELECT X\n");
}

// A message file that cannot be written loses no message: they go to standard error.
TEST(MensajesDesatendidos, SinArchivoLosMensajesVanALaSalidaDeErrores)
{
    gptest::TempDir dir;
    MensajesDesatendidos salida(dir.file("no/existe/MENSAJES.TXT"));
    SalidaMensajesInstalada instalada(salida);
    testing::internal::CaptureStderr();
    MensajeAviso("No se puede escribir");
    MensajeSistema("Cuadro");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "A: No se puede escribir\nS: Cuadro\n");
}

} // namespace
