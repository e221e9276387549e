// The settings and the message of a send, without the network.
#include "GENEW/runtime/MensajeCorreo.h"
#include "tests/runtime/externos/ApoyoExternos.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// The text of a header value decoded back from its encoded words.
QString decodificar(const QByteArray &cabecera)
{
    static const QRegularExpression palabra(QStringLiteral("=\\?UTF-8\\?B\\?([A-Za-z0-9+/=]*)\\?="));
    QByteArray bytes;
    for (auto it = palabra.globalMatch(QString::fromLatin1(cabecera)); it.hasNext();)
        bytes += QByteArray::fromBase64(it.next().captured(1).toLatin1());
    return QString::fromUtf8(bytes);
}

TEST(MensajeCorreo, HeaderTextsNeverCarryARawLineBreakAndDecodeBack)
{
    const QString textos[] = {
        QStringLiteral("Asunto\r\nBcc: intruso@x.test"),
        QStringLiteral("Presupuesto de reforma integral: cocina, baños, ventanas y fontanería (año 2024) €"),
        QStringLiteral("Símbolos 😀 y más 😀 fuera del plano básico, repetidos para partir palabras 😀😀😀"),
    };
    for (const QString &texto : textos) {
        SCOPED_TRACE(texto.toStdString());
        const QByteArray cabecera = CodificarPalabrasCabecera(texto);
        // Folding between encoded words is the only break, and no line grows past 76.
        for (const QByteArray &linea : QByteArray(cabecera).replace("\r\n ", "\n").split('\n')) {
            EXPECT_FALSE(linea.contains('\r') || linea.contains('\n'));
            EXPECT_LE(linea.size(), 76);
        }
        EXPECT_EQ(QByteArray(cabecera).replace("\r\n ", "").count("\r\n"), 0);
        EXPECT_EQ(decodificar(cabecera), texto);
    }
    EXPECT_EQ(CodificarPalabrasCabecera(QStringLiteral("Plain text")), "Plain text");
}

TEST(MensajeCorreo, AddressesCannotAddHeaders)
{
    MensajeCorreo m;
    m.direccionRemitente = QStringLiteral("of@x.test\r\nBcc: intruso@x.test");
    m.destinatarios = {QStringLiteral("a@x.test\nX-Otra: 1")};
    m.asunto = QStringLiteral("A");
    const QByteArray datos = ComponerMensaje(m, QDateTime::currentDateTime(), "frontera", "id@x");
    const QByteArray cabeceras = datos.left(datos.indexOf("\r\n\r\n"));
    for (const QByteArray &linea : cabeceras.split('\n'))
        EXPECT_FALSE(linea.startsWith("Bcc:") || linea.startsWith("X-Otra:")) << linea.toStdString();
}

} // namespace
