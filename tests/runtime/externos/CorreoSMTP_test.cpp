// Mail through SMTP against sinks on loopback (tests/runtime/externos/sumideros_smtp.py), with
// certificates of a test CA made here for the host the connect-to map sends.
#include "GENEW/runtime/ClienteSMTP.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "tests/runtime/externos/ApoyoExternos.h"
#include "tests/runtime/externos/SumiderosSmtp.h"
#include "tests/support/TempDir.h"

#include <optional>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kServidor = QStringLiteral("correo.prueba.test");

bool openssl(const QStringList &argumentos, const QString &carpeta)
{
    QProcess p;
    p.setWorkingDirectory(carpeta);
    p.start(QStringLiteral("openssl"), argumentos);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A certificate the test CA signs for a host: <nombre>.pem and <nombre>-clave.pem.
bool firmarPara(const QString &host, const QString &nombre, const QString &carpeta)
{
    QFile f(carpeta + u'/' + nombre + QStringLiteral(".cnf"));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write("subjectAltName=DNS:" + host.toLatin1() + '\n');
    f.close();
    return openssl({"req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=" + host, "-keyout", nombre + "-clave.pem",
                    "-out", nombre + ".csr"},
                   carpeta)
        && openssl({"x509", "-req", "-in", nombre + ".csr", "-CA", "ca.pem", "-CAkey", "ca-clave.pem", "-CAcreateserial",
                    "-days", "2", "-extfile", nombre + ".cnf", "-out", nombre + ".pem"},
                   carpeta);
}

// A CA, the certificates it signs for the test host and for another host; a second CA
// trusts nothing here.
bool crearCertificados(const QString &carpeta)
{
    for (const char *ca : {"ca", "ajena"}) {
        const QString n = QString::fromLatin1(ca);
        if (!openssl({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=CA de pruebas " + n,
                      "-keyout", n + "-clave.pem", "-out", n + ".pem"},
                     carpeta))
            return false;
    }
    return firmarPara(kServidor, QStringLiteral("servidor"), carpeta)
        && firmarPara(QStringLiteral("otro.prueba.test"), QStringLiteral("otro"), carpeta);
}

struct Evento
{
    QString sumidero;
    QString orden;
    bool tls = false;
    QJsonObject datos;
};

class CorreoSMTP : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        carpeta_ = new gptest::TempDir;
        ASSERT_TRUE(crearCertificados(carpeta_->path()));
        sumideros_ = new gptest::SumiderosSmtp(registro(), {carpeta_->file("servidor.pem"), carpeta_->file("servidor-clave.pem"),
                                                            carpeta_->file("otro.pem"), carpeta_->file("otro-clave.pem")});
        ASSERT_EQ(sumideros_->puertos().size(), 5);
    }

    static void TearDownTestSuite()
    {
        delete sumideros_;
        delete carpeta_;
    }

    void SetUp() override
    {
        QFile::remove(registro());
        razonSocial_.emplace(form_.RazonSocial, [] { return QStringLiteral("Construcciones Núñez, S.L."); });
        form_.TransporteCorreo.segundosEspera = 2;
        form_.TransporteCorreo.archivoCA = carpeta_->file("ca.pem");
        enviarA(QStringLiteral("starttls"));
    }

    static QString registro() { return carpeta_->file("registro.jsonl"); }

    // Where the ports of the test host lead: "25" and "2525" to one sink, "465" and "587" to theirs.
    void enviarA(const QString &p25, const QString &p465 = QStringLiteral("tls"),
                 const QString &p587 = QStringLiteral("starttls"))
    {
        auto entrada = [](int puerto, const QString &sumidero) {
            return kServidor + u':' + QString::number(puerto) + QStringLiteral(":127.0.0.1:")
                + QString::number(sumideros_->puertos().value(sumidero));
        };
        form_.TransporteCorreo.conectarA = {entrada(25, p25), entrada(2525, p25), entrada(465, p465),
                                            entrada(587, p587)};
    }

    static QString ajustes(const QString &puerto, bool conClave = true)
    {
        return QStringLiteral("ClienteSMTP=Indy\r\nServidorSMTP=correo.prueba.test\r\n")
            + (conClave ? QStringLiteral("CodigoUsuarioSMTP=usuario@empresa.test\r\nClaveAccesoSMTP=secreta\r\n")
                        : QString())
            + QStringLiteral("CuentaSMTPCopiasDocumentos=copias@empresa.test\r\nPuertoSSL=") + puerto
            + QStringLiteral("\r\n");
    }

    bool enviar(const QString &ajustesSMTP, const QString &adjuntos = QString())
    {
        return form_.EnviarCorreoSMTP(ajustesSMTP, QStringLiteral("cliente@destino.test"),
                                      QStringLiteral("Presupuesto de reforma"), QStringLiteral("Adjunto el presupuesto."),
                                      adjuntos);
    }

    static QList<Evento> eventos()
    {
        QList<Evento> lista;
        QFile f(registro());
        if (!f.open(QIODevice::ReadOnly))
            return lista;
        for (const QByteArray &linea : f.readAll().split('\n')) {
            if (linea.trimmed().isEmpty())
                continue;
            const QJsonObject o = QJsonDocument::fromJson(linea).object();
            lista.append({o.value("sumidero").toString(), o.value("orden").toString(), o.value("tls").toBool(), o});
        }
        return lista;
    }

    static QString resumen(const QList<Evento> &lista)
    {
        QStringList partes;
        for (const Evento &e : lista)
            partes << e.sumidero + u':' + e.orden + (e.tls ? QStringLiteral("+tls") : QStringLiteral("-plano"));
        return partes.join(u' ');
    }

    static QJsonObject datos()
    {
        for (const Evento &e : eventos()) {
            if (e.orden == QLatin1String("DATA"))
                return e.datos;
        }
        return {};
    }

    TfGENEINIC form_;
    std::optional<Gancho<std::function<QString()>>::Instalacion> razonSocial_;
    static gptest::TempDir *carpeta_;
    static gptest::SumiderosSmtp *sumideros_;
};

gptest::TempDir *CorreoSMTP::carpeta_ = nullptr;
gptest::SumiderosSmtp *CorreoSMTP::sumideros_ = nullptr;

struct CasoConexion
{
    const char *nombre;
    const char *puerto;
    bool conClave;
    const char *sumidero25;    // where each port of the host leads in this case ("2525" as "25")
    const char *sumidero465;
    const char *sumidero587;
    const char *esperado;      // AUTH and DATA as the sink saw them; "error" when the send fails
    bool sinCifrado;           // the failure says the server offers no encryption
};

TEST_F(CorreoSMTP, EachPortTextConnectsAsItsRuleSaysAndAPasswordNeverTravelsInClear)
{
    const CasoConexion casos[] = {
        {"25 con STARTTLS", "25", true, "starttls", "tls", "starttls", "starttls:AUTH+tls starttls:DATA+tls", false},
        {"vacío es el 25", "", true, "starttls", "tls", "starttls", "starttls:AUTH+tls starttls:DATA+tls", false},
        {"2525 con STARTTLS", "2525", true, "starttls", "tls", "starttls", "starttls:AUTH+tls starttls:DATA+tls", false},
        {"25 sin cifrado con clave", "25", true, "plano", "tls", "starttls", "error", true},
        {"2525 sin cifrado con clave", "2525", true, "plano", "tls", "starttls", "error", true},
        {"25 sin cifrado ni clave", "25", false, "plano", "tls", "starttls", "plano:DATA-plano", false},
        {"25 con STARTTLS sin clave", "25", false, "starttls", "tls", "starttls", "starttls:DATA+tls", false},
        {"25 con el certificado de otro host", "25", true, "ajeno", "tls", "starttls", "error", false},
        {"25 sin clave y el certificado de otro host", "25", false, "ajeno", "tls", "starttls", "error", false},
        {"25 cifrado al segundo intento", "25", true, "tls", "tls", "starttls", "tls:AUTH+tls tls:DATA+tls", false},
        {"465 cifrado desde el principio", "465", true, "plano", "tls", "starttls", "tls:AUTH+tls tls:DATA+tls", false},
        {"587 con STARTTLS", "587", true, "plano", "tls", "starttls", "starttls:AUTH+tls starttls:DATA+tls", false},
        {"587 sin STARTTLS", "587", true, "plano", "tls", "plano", "error", true},
    };
    for (const CasoConexion &c : casos) {
        SCOPED_TRACE(c.nombre);
        QFile::remove(registro());
        enviarA(QString::fromLatin1(c.sumidero25), QString::fromLatin1(c.sumidero465), QString::fromLatin1(c.sumidero587));
        QString resultado;
        try {
            EXPECT_TRUE(enviar(ajustes(QString::fromLatin1(c.puerto), c.conClave)));
            resultado = resumen(eventos());
        } catch (const ErrorEnvioSMTP &e) {
            resultado = QStringLiteral("error");
            EXPECT_EQ(e.tipo() == FalloEnvioSMTP::SinCifrado, c.sinCifrado) << e.mensaje().toStdString();
            EXPECT_EQ(resumen(eventos()), "") << "nothing may reach a sink when the send fails";
        }
        EXPECT_EQ(resultado, QString::fromLatin1(c.esperado));
    }
}

TEST_F(CorreoSMTP, AnUntrustedCertificateIsAnErrorAndNothingIsSent)
{
    form_.TransporteCorreo.archivoCA = carpeta_->file("ajena.pem");
    EXPECT_THROW(enviar(ajustes(QStringLiteral("465"))), gp::Error);
    EXPECT_TRUE(eventos().isEmpty());
}

// Each common refusal reaches the user as the failed send with its kind and its reason in Spanish.
TEST_F(CorreoSMTP, TheCommonRefusalsAreToldInSpanish)
{
    QTcpServer cerrado, mudo;   // nothing listens on the first once closed; the second never greets
    ASSERT_TRUE(cerrado.listen(QHostAddress::LocalHost) && mudo.listen(QHostAddress::LocalHost));
    const int nadie = cerrado.serverPort(), rechazo = sumideros_->puertos().value(QStringLiteral("rechazo"));
    cerrado.close();
    const struct { const char *servidor; int puerto; const char *ca; FalloEnvioSMTP tipo; const char *motivo; } casos[] = {
        {"correo.prueba.test", nadie, "ca", FalloEnvioSMTP::ConexionRechazada,
         "el servidor de correo \"correo.prueba.test\" no acepta conexiones en el puerto 2525"},
        {"no-existe.invalid", nadie, "ca", FalloEnvioSMTP::ServidorDesconocido,
         "no se encuentra el servidor de correo \"no-existe.invalid\""},
        {"correo.prueba.test", rechazo, "ca", FalloEnvioSMTP::Autenticacion,
         "el servidor de correo no acepta el usuario o la clave de acceso"},
        {"correo.prueba.test", rechazo, "ajena", FalloEnvioSMTP::CertificadoNoConfiable,
         "el certificado del servidor de correo \"correo.prueba.test\" no es de confianza o no es el de ese servidor"},
        {"correo.prueba.test", mudo.serverPort(), "ca", FalloEnvioSMTP::TiempoAgotado,
         "el servidor de correo \"correo.prueba.test\" no ha respondido en 2 segundos"},
    };
    for (const auto &c : casos) {
        form_.TransporteCorreo.conectarA = {kServidor + QStringLiteral(":2525:127.0.0.1:") + QString::number(c.puerto)};
        form_.TransporteCorreo.archivoCA = carpeta_->file(QString::fromLatin1(c.ca) + QStringLiteral(".pem"));
        try {
            enviar(QString(ajustes(QStringLiteral("2525"))).replace(kServidor, QString::fromLatin1(c.servidor)));
            ADD_FAILURE() << "sent: " << c.motivo;
        } catch (const ErrorEnvioSMTP &e) {
            EXPECT_EQ(e.tipo(), c.tipo) << c.motivo;
            EXPECT_EQ(e.mensaje(), "¡No ha sido posible enviar el correo electrónico!. Motivo: " + QString::fromUtf8(c.motivo));
        }
    }
}

TEST_F(CorreoSMTP, TheMessageReadsBackWithSenderCopiesSubjectAndEveryRegularFileAttached)
{
    gptest::TempDir dir;
    QByteArray binario;
    for (int i = 0; i < 70000; ++i)
        binario += char(i * 7 % 256);
    QFile a(dir.file("plano.bin"));
    ASSERT_TRUE(a.open(QIODevice::WriteOnly));
    a.write(binario);
    a.close();
    QFile b(dir.file("Memoria de calidades.pdf"));
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.write("%PDF-1.4\r\n.\r\n..linea con punto\r\n");
    b.close();
    QDir(dir.path()).mkdir(QStringLiteral("carpeta"));
    // A note with no file, an empty piece and a folder sit between the two files.
    const QString adjuntos = dir.file("plano.bin") + QStringLiteral("|nota sin archivo||") + dir.file("carpeta") + u'|'
        + dir.file("Memoria de calidades.pdf");

    ASSERT_TRUE(form_.EnviarCorreoSMTP(ajustes(QStringLiteral("25")), QStringLiteral("cliente@destino.test; otro@destino.test"),
                                       QStringLiteral("Factura de junio: año 2024, señal pagada"),
                                       QStringLiteral("Buenos días:\nadjunto la factura.\r\n"), adjuntos));
    const QJsonObject m = datos();
    EXPECT_EQ(m.value("remitente_nombre").toString(), "Construcciones Núñez, S.L.");
    EXPECT_EQ(m.value("remitente_direccion").toString(), "usuario@empresa.test");
    EXPECT_EQ(m.value("asunto").toString(), "Factura de junio: año 2024, señal pagada");
    EXPECT_EQ(m.value("cabecera_to").toArray(), QJsonArray({"cliente@destino.test", "otro@destino.test"}));
    EXPECT_EQ(m.value("cabecera_cc").toArray(), QJsonArray({"copias@empresa.test"}));
    EXPECT_EQ(m.value("para").toArray(), QJsonArray({"cliente@destino.test", "otro@destino.test", "copias@empresa.test"}));
    EXPECT_EQ(m.value("texto").toString(), "Buenos días:\r\nadjunto la factura.\r\n");
    const QJsonArray archivos = m.value("adjuntos").toArray();
    ASSERT_EQ(archivos.size(), 2);
    EXPECT_EQ(archivos[0].toObject().value("nombre").toString(), "plano.bin");
    EXPECT_EQ(QByteArray::fromBase64(archivos[0].toObject().value("datos").toString().toLatin1()), binario);
    EXPECT_EQ(archivos[1].toObject().value("nombre").toString(), "Memoria de calidades.pdf");
    EXPECT_EQ(QByteArray::fromBase64(archivos[1].toObject().value("datos").toString().toLatin1()),
              QByteArray("%PDF-1.4\r\n.\r\n..linea con punto\r\n"));
    EXPECT_TRUE(m.value("lineas_cabecera_sueltas").toArray().isEmpty());
    // The Date header reads as the moment of sending in the machine's own offset.
    const QDateTime fecha = QDateTime::fromString(m.value("fecha").toString(), Qt::ISODate);
    ASSERT_TRUE(fecha.isValid()) << "Date header unreadable";
    EXPECT_LT(std::abs(fecha.secsTo(QDateTime::currentDateTime())), 120);
    EXPECT_EQ(fecha.offsetFromUtc(), QDateTime::currentDateTime().offsetFromUtc());
}

TEST_F(CorreoSMTP, TheSenderAddressFollowsItsThreeRules)
{
    struct Caso
    {
        const char *usuario;
        const char *cuentaFrom;
        const char *esperado;
    };
    const Caso casos[] = {
        {"usuario@empresa.test", "envios@empresa.test", "envios@empresa.test"},
        {"usuario@empresa.test", "", "usuario@empresa.test"},
        {"usuario", "", "copias@empresa.test"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.usuario);
        QFile::remove(registro());
        const QString texto = QStringLiteral("ClienteSMTP=Indy\r\nServidorSMTP=correo.prueba.test\r\nCodigoUsuarioSMTP=")
            + QString::fromLatin1(c.usuario) + QStringLiteral("\r\nClaveAccesoSMTP=secreta\r\nPuertoSSL=25\r\n"
                                                               "CuentaSMTPCopiasDocumentos=copias@empresa.test\r\n"
                                                               "CuentaFromSMTP=")
            + QString::fromLatin1(c.cuentaFrom);
        ASSERT_TRUE(enviar(texto));
        const QJsonObject m = datos();
        EXPECT_EQ(m.value("remitente_direccion").toString(), QString::fromLatin1(c.esperado));
        EXPECT_EQ(m.value("de").toString(), QString::fromLatin1(c.esperado));
    }
}

TEST_F(CorreoSMTP, MassMailingSettingsGoBySMTPAndEmptySettingsOrRecipientsSendNothing)
{
    const QString masivo = QStringLiteral("ClienteSMTP(Masivo)=Indy\r\nServidorSMTP(Masivo)=correo.prueba.test\r\n"
                                          "CodigoUsuarioSMTP(Masivo)=usuario@empresa.test\r\nClaveAccesoSMTP(Masivo)=secreta\r\n"
                                          "PuertoSSL(Masivo)=25\r\n");
    QString error = QStringLiteral("anterior");
    EXPECT_TRUE(form_.EnviarCorreoElectronico(masivo, QStringLiteral("cliente@destino.test"), QStringLiteral("Aviso"),
                                              QStringLiteral("Texto"), QString(), error, QString(), QString()));
    EXPECT_EQ(error, "");
    EXPECT_EQ(resumen(eventos()), "starttls:AUTH+tls starttls:DATA+tls");

    QFile::remove(registro());
    EXPECT_FALSE(form_.EnviarCorreoSMTP(QString(), QStringLiteral("cliente@destino.test"), QStringLiteral("A"),
                                        QStringLiteral("B"), QString()));
    EXPECT_FALSE(form_.EnviarCorreoSMTP(ajustes(QStringLiteral("25")), QString(), QStringLiteral("A"), QStringLiteral("B"),
                                        QString()));
    EXPECT_FALSE(form_.EnviarCorreoSMTP(ajustes(QStringLiteral("25")), QStringLiteral(" ;, "), QStringLiteral("A"),
                                        QStringLiteral("B"), QString()));
    EXPECT_TRUE(eventos().isEmpty());
}

} // namespace
