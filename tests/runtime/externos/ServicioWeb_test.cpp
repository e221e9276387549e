// The web service's request against an HTTP server on loopback.
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/ServicioWeb.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "tests/runtime/externos/ApoyoExternos.h"

#include <QProcess>
#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

// Answers every GET with "Recibido ñ " + the path it asked for.
const char *const kServidorHTTP = R"(
import http.server, sys
class H(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        cuerpo = ("Recibido ñ " + self.path).encode("utf-8")
        self.send_response(200)
        self.send_header("Content-Type", "text/plain; charset=utf-8")
        self.send_header("Content-Length", str(len(cuerpo)))
        self.end_headers()
        self.wfile.write(cuerpo)
    def log_message(self, *a):
        pass
s = http.server.HTTPServer(("127.0.0.1", 0), H)
print(s.server_address[1], flush=True)
s.serve_forever()
)";

const QString kSinServicio = QStringLiteral("¡No ha sido posible acceder a la dirección del Servicio Web!. Motivo: ");

class ServicioWeb : public ::testing::Test
{
protected:
    void SetUp() override
    {
        servidor_.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(kServidorHTTP)});
        ASSERT_TRUE(servidor_.waitForReadyRead(20000));
        puerto_ = servidor_.readLine().trimmed().toInt();
        form_.SegundosEsperaServicioWeb = 5;
    }
    void TearDown() override
    {
        servidor_.kill();
        servidor_.waitForFinished();
    }

    // A loopback port that nothing listens on.
    static int puertoCerrado()
    {
        QTcpServer s;
        s.listen(QHostAddress::LocalHost);
        return s.serverPort();
    }

    QProcess servidor_;
    int puerto_ = 0;
    TfGENEINIC form_;
    SalidaMensajesGrabada mensajes_;
    SalidaMensajesInstalada instalada_{mensajes_};
};

TEST_F(ServicioWeb, TheFoldedRequestReachesTheServerAndItsBodyIsTheAnswer)
{
    ParametrosKorvel &p = form_.Configuracion.parametros;
    p.AccesoWebLocalHost = true;
    p.ServidorServicioWebLocal = QStringLiteral("127.0.0.1:") + QString::number(puerto_);
    const QString respuesta = form_.ConectarServicioWeb(QStringLiteral("Licencia cliente\r\nNúñez 50%"));
    EXPECT_EQ(respuesta, "Recibido ñ /WebVKT.EXELicencia_cliente_N%C3%BA%C3%B1ez_50%25");
    EXPECT_EQ(mensajes_.progresos(), (QList<QStringList>{{"ON", "Conexión al Servicio Web de VKT", "Conectando...", ""},
                                                         {"OFF", "", "", ""}}));
    EXPECT_TRUE(mensajes_.mensajes().isEmpty());
}

TEST_F(ServicioWeb, AnUnreachableOrMissingServerAnswersTheErrorTextWithItsReason)
{
    ParametrosKorvel &p = form_.Configuracion.parametros;
    p.ServidorServicioWeb = QStringLiteral("127.0.0.1:") + QString::number(puertoCerrado());
    const QString inalcanzable = form_.ConectarServicioWeb(QStringLiteral("Consulta"));
    EXPECT_TRUE(inalcanzable.startsWith(kSinServicio)) << inalcanzable.toStdString();
    EXPECT_GT(inalcanzable.size(), kSinServicio.size());

    p.ServidorServicioWeb.clear();
    const QString sinServidor = form_.ConectarServicioWeb(QStringLiteral("Consulta"));
    EXPECT_TRUE(sinServidor.startsWith(kSinServicio));
    EXPECT_GT(sinServidor.size(), kSinServicio.size());
    EXPECT_EQ(mensajes_.progresos().size(), 4);
    EXPECT_EQ(mensajes_.progresos().last().first(), "OFF");
}

TEST(DireccionServicioWeb, ControlCharactersAndNonASCIIArePercentEncoded)
{
    EXPECT_EQ(DireccionServicioWeb(QStringLiteral("srv"), QStringLiteral("a\tb#c\x7f")),
              "http://srv/WebVKT.EXEa%09b%23c%7F");
    EXPECT_EQ(DireccionServicioWeb(QString(), QStringLiteral("x")), "");
}

} // namespace
