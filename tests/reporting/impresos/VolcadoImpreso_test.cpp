#include "GENEW/reporting/impresos/VolcadoImpreso.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "tests/reporting/impresos/ImpresoPrueba.h"

#include <QDir>
#include <QFile>

namespace {

QByteArray Leer(const QString &ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Each layout of tests/reporting/layouts ("<name>.imp", stored byte for byte with CR LF)
// beside its parse written by hand ("<name>.esperado") and, when the record matters, its
// `Formato` and `Modo` ("<name>.registro", Name=Value lines). `tools/layoutdump` prints the
// same parse.
TEST(ImpresosDeReferencia, ParseAsWrittenByHand)
{
    const QDir carpeta(QStringLiteral(GP_LAYOUTS_DIR));
    const QStringList impresos = carpeta.entryList({"*.imp"}, QDir::Files, QDir::Name);
    ASSERT_GE(impresos.size(), 10);
    for (const QString &nombre : impresos) {
        const QString base = carpeta.filePath(nombre.chopped(4));
        const QByteArray bytes = Leer(carpeta.filePath(nombre));
        ASSERT_TRUE(bytes.contains("\r\n")) << nombre.toStdString() << " lost its CR LF";
        const QString registroTexto = QString::fromUtf8(Leer(base + ".registro"));
        RegistroImpreso registro;
        registro.Codigo = QStringLiteral("VOLCADO");
        registro.Instrucciones = QString::fromUtf8(bytes);
        registro.Formato = LeerValorDeLista("Formato", registroTexto);
        registro.Modo = LeerValorDeLista("Modo", registroTexto);
        const QString esperado = QString::fromUtf8(Leer(base + ".esperado"));
        ASSERT_FALSE(esperado.isEmpty()) << nombre.toStdString() << " has no expected parse";
        EXPECT_EQ(VolcarRegistroImpreso(registro), esperado) << nombre.toStdString();
    }
}

} // namespace
