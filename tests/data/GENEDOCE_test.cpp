// The electronic-documents window on a real data module, on SQLite and PostgreSQL, with the
// prompts answered through the message sink and the dialogs scripted.
#include "GENEW/data/ventanas/GENEDOCE.h"
#include "GENEW/data/ventanas/GENEMLIS.h"
#include "GENEW/data/ventanas/GENETEXT.h"
#include "GENEW/runtime/GENEOPEN.h"
#include "GENEW/runtime/ServiciosExternos.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Lists.h"
#include "platform/ui/ShellTreeView.h"
#include "tests/data/ModuloFixture.h"
#include "tests/runtime/externos/SumiderosSmtp.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScrollArea>
#include <QStandardPaths>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using sentenciasDocumentos::Movimiento;

class DocumentosTest : public ModuloMotorTest
{
protected:
    // The window lives in the main window's MDI area.
    void SetUp() override
    {
        marco_ = new plat::Form();
        marco_->setFormStyle(plat::fsMDIForm);
        plat::application().setMainForm(marco_);
        marco_->Show();
        ModuloMotorTest::SetUp();
    }

    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        plat::setDialogScript(nullptr);
        delete fGENEDOCE;
        ModuloMotorTest::TearDown();
        plat::application().setMainForm(nullptr);
        delete marco_;
    }

    TfGENEDOCE &abrir(const QString &tabla, const QString &clave)
    {
        modulo_->AbrirDocumentacionElectronica(tabla, clave);
        EXPECT_NE(fGENEDOCE, nullptr);
        return *fGENEDOCE;
    }

    void documento(const QString &clave, const QString &nombre, const QString &ubicacion)
    {
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre, Ubicacion) "
                                     "VALUES ('CLIENTE', %1, %2, %3)")
                          .arg(Entrecomillar(clave), Entrecomillar(nombre), Entrecomillar(ubicacion)),
                      QStringLiteral("Database")),
                  QString());
    }

    static QStringList titulos(const TfGENEDOCE &d)
    {
        QStringList t;
        for (int i = 0; i < d.ListView1->itemCount(); ++i)
            t << d.ListView1->topLevelItem(i)->text(0) + u'=' + d.ListView1->topLevelItem(i)->text(1);
        return t;
    }

    static void elegir(TfGENEDOCE &d, const QString &titulo)
    {
        const auto items = d.ListView1->findItems(titulo, Qt::MatchExactly, 0);
        ASSERT_EQ(items.size(), 1) << titulo.toStdString();
        d.ListView1->setCurrentItem(items.first());
    }

    QString fichero(const QString &nombre, const QByteArray &contenido = "x")
    {
        QFile f(dir_.file(nombre));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenido);
        return f.fileName();
    }

    plat::Form *marco_ = nullptr;
};

TEST_P(DocumentosTest, DocumentsOfEachKindAreAddedDescribedAndDeletedAndATitleIsOnePerRecord)
{
    TfGENEDOCE &d = abrir(QStringLiteral("CLIENTE"), QStringLiteral("7|A"));
    EXPECT_EQ(d.pnClave->caption(), QStringLiteral("CLIENTE - 7 · A"));
    EXPECT_EQ(d.ListView1->itemCount(), 0);
    EXPECT_TRUE(d.MemoDescripcion->text().isEmpty());
    EXPECT_TRUE(d.WebBrowser1->isVisibleTo(&d));
    EXPECT_TRUE(d.WebBrowser1->toPlainText().isEmpty());

    const QString plano = fichero(QStringLiteral("plano.v2.pdf"));
    QDir(dir_.path()).mkdir(QStringLiteral("obras"));
    plat::setDialogScript([&](QObject *dialogo) {
        static_cast<plat::OpenDialog *>(dialogo)->FileName = plano;
        return true;
    });
    plat::application().OnModalShown = [&](plat::Form &f) {
        auto &selector = static_cast<TfGENEOPEN &>(f);
        selector.ShellTreeView->setPath(dir_.file("obras"));
        selector.pbAceptar->click();
    };
    mensajes_.programarRespuestas({"Plano", "Obras", "www.ejemplo.es", "Web"});
    d.pbAgregarClick(nullptr);
    d.pbAgregarCarpetaClick(nullptr);
    d.pbAgregarWebClick(nullptr);
    QStringList propuestas;
    for (const auto &m : mensajes_.mensajes())
        if (m.tipo == QLatin1String("P"))
            propuestas << m.respuestaPropuesta;
    EXPECT_EQ(propuestas, (QStringList{"plano.v2", "obras", "", "www.ejemplo.es"}));

    // A note: nothing chosen, a title and a text of two lines with quotes.
    d.ListView1->setCurrentItem(nullptr);
    mensajes_.programarRespuestas({"Nota d'obra"});
    plat::application().OnModalShown = [](plat::Form &f) {
        auto &texto = static_cast<TfGENETEXT &>(f);
        EXPECT_EQ(texto.caption(), QStringLiteral("Descripción"));
        texto.Memo1->setText(QStringLiteral("Revisar 'junta'\r\nsegunda línea"));
        texto.pbAceptar->click();
    };
    d.pbEditarDescripcionClick(nullptr);

    d.CargarDocumentos();
    QStringList lista = titulos(d);
    lista.sort();
    EXPECT_EQ(lista, (QStringList{"Nota d'obra=", "Obras=" + dir_.file("obras"), "Plano=" + plano, "Web=www.ejemplo.es"}));
    elegir(d, QStringLiteral("Nota d'obra"));
    EXPECT_EQ(d.MemoDescripcion->text(), QStringLiteral("Revisar 'junta'\r\nsegunda línea"));

    // The same title twice in one record is refused; deleting one deletes no other.
    mensajes_.programarRespuestas({"otra.es", "Web"});
    d.pbAgregarWebClick(nullptr);
    EXPECT_EQ(textosDeTipo(QStringLiteral("A")), QStringList{"¡No ha sido posible registrar el Documento!"});
    elegir(d, QStringLiteral("Web"));
    d.pbEliminarClick(nullptr);
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) FROM DOCUTRON WHERE ClaveTabla = '7|A'"), QStringLiteral("Database")),
              QStringLiteral("3"));
    EXPECT_EQ(d.ListView1->itemCount(), 3);
}

TEST_P(DocumentosTest, TheRecordsWithDocumentsAreWalkedInTextOrderOfTheirKey)
{
    for (const char *clave : {"9", "10", "2"})
        documento(QString::fromLatin1(clave), QStringLiteral("Doc ") + QString::fromLatin1(clave), QString());
    TfGENEDOCE &d = abrir(QStringLiteral("CLIENTE"), QStringLiteral("9"));
    d.pbSiguienteClick(nullptr);
    EXPECT_EQ(textosDeTipo(QStringLiteral("I")), QStringList{"Esta Vd. en el último registro"});
    EXPECT_EQ(d.ClaveDocumentos, QStringLiteral("9"));
    QStringList recorrido;
    d.pbPrimeroClick(nullptr);
    recorrido << d.ClaveDocumentos;
    d.pbSiguienteClick(nullptr);
    recorrido << d.ClaveDocumentos;
    d.pbUltimoClick(nullptr);
    recorrido << d.ClaveDocumentos;
    d.pbAnteriorClick(nullptr);
    recorrido << d.ClaveDocumentos;
    EXPECT_EQ(recorrido, (QStringList{"10", "2", "9", "2"}));
    EXPECT_EQ(titulos(d), QStringList{"Doc 2="});
}

TEST_P(DocumentosTest, PicturesGoToTheImagePaneFilesToTheBrowserAndAddressesToTheDesktop)
{
    QImage imagen(8, 6, QImage::Format_RGB32);
    imagen.fill(Qt::red);
    ASSERT_TRUE(imagen.save(dir_.file("foto.JPEG"), "JPEG"));
    const QString pagina = fichero(QStringLiteral("acta.html"), "<p>Acta de recepción</p>");
    const QString pdf = fichero(QStringLiteral("oferta.pdf"));
    documento(QStringLiteral("1"), QStringLiteral("Foto"), dir_.file("foto.JPEG"));
    documento(QStringLiteral("1"), QStringLiteral("Acta"), pagina);
    documento(QStringLiteral("1"), QStringLiteral("Oferta"), pdf);
    documento(QStringLiteral("1"), QStringLiteral("Portal"), QStringLiteral("www.ejemplo.es/obra"));
    TfGENEDOCE &d = abrir(QStringLiteral("CLIENTE"), QStringLiteral("1"));

    elegir(d, QStringLiteral("Foto"));
    EXPECT_TRUE(d.ScrollBoxImagen->isVisibleTo(&d));
    EXPECT_FALSE(d.WebBrowser1->isVisibleTo(&d));
    EXPECT_EQ(d.Imagen->picture().size(), QSize(8, 6));
    elegir(d, QStringLiteral("Acta"));
    EXPECT_FALSE(d.ScrollBoxImagen->isVisibleTo(&d));
    EXPECT_TRUE(d.WebBrowser1->toPlainText().contains(QStringLiteral("Acta de recepción")));
    elegir(d, QStringLiteral("Oferta"));
    EXPECT_EQ(d.WebBrowser1->address(), QStringLiteral("file://") + pdf);
    EXPECT_TRUE(d.WebBrowser1->toPlainText().isEmpty());

    QList<QUrl> abiertas;
    bool acepta = true;
    const AperturaURLInstalada apertura([&](const QUrl &url) {
        abiertas << url;
        return acepta;
    });
    d.pbEjecutarClick(nullptr);
    elegir(d, QStringLiteral("Portal"));
    d.pbEjecutarClick(nullptr);
    EXPECT_EQ(abiertas, (QList<QUrl>{QUrl::fromLocalFile(pdf), QUrl(QStringLiteral("http://www.ejemplo.es/obra"))}));
    acepta = false;
    d.pbEjecutarClick(nullptr);
    EXPECT_EQ(textosDeTipo(QStringLiteral("A")), QStringList{"¡Imposible ejecutar la aplicación!"});
}

TEST_P(DocumentosTest, NameAndPlaceAreStoredAsGivenAndAPathThatNamesNoFileIsRefused)
{
    QDir(dir_.path()).mkdir(QStringLiteral("planos·2024"));
    // A name of bytes that are no UTF-8 reaches the program as another name.
    const QByteArray latino = QFile::encodeName(dir_.path()) + "/caf\xe9.txt";
    const int descriptor = ::open(latino.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(descriptor, 0);
    ::close(descriptor);
    ASSERT_FALSE(QFile::exists(QFile::decodeName(latino)));
    const struct
    {
        const char *caso;
        QString ruta;          // what the dialog gives
        bool carpeta;
        QString nombre;        // what the user types
        bool registrado;
    } casos[] = {
        {"a middle dot in both", fichero(QStringLiteral("acta·final.txt")), false, QStringLiteral("Acta·final"), true},
        {"quotes, colons and a bar", fichero(QStringLiteral("o'brien:v2|b.txt")), false,
         QStringLiteral("Carta de O'Brien: \"v2\""), true},
        {"a folder with a middle dot", dir_.file(QStringLiteral("planos·2024")), true, QStringLiteral("Planos·2024"), true},
        {"a name that is not text", QFile::decodeName(latino), false, QStringLiteral("Café"), false},
        {"a file that went away", dir_.file(QStringLiteral("borrado.txt")), false, QStringLiteral("Borrado"), false},
    };
    TfGENEDOCE &d = abrir(QStringLiteral("CLIENTE"), QStringLiteral("5"));
    QStringList esperado;
    for (const auto &c : casos) {
        mensajes_.limpiar();
        plat::setDialogScript([&](QObject *dialogo) {
            static_cast<plat::OpenDialog *>(dialogo)->FileName = c.ruta;
            return true;
        });
        plat::application().OnModalShown = [&](plat::Form &f) {
            static_cast<TfGENEOPEN &>(f).ShellTreeView->setPath(c.ruta);
            static_cast<TfGENEOPEN &>(f).pbAceptar->click();
        };
        mensajes_.programarRespuestas({c.nombre});
        if (c.carpeta)
            d.pbAgregarCarpetaClick(nullptr);
        else
            d.pbAgregarClick(nullptr);
        if (c.registrado) {
            esperado << c.nombre + u'|' + c.ruta;
            EXPECT_TRUE(mensajes_.mensajes().size() == 1 && mensajes_.mensajes()[0].tipo == QLatin1String("P"))
                << c.caso << ": " << mensajes_.textos().join(u'\n').toStdString();
        } else {
            // Refused before the name is asked for.
            EXPECT_EQ(mensajes_.textos(), QStringList{"¡No ha sido posible registrar el Documento!"}) << c.caso;
        }
    }
    esperado.sort();
    EXPECT_EQ(sql(QStringLiteral("SELECT Nombre, Ubicacion FROM DOCUTRON WHERE ClaveTabla = '5' ORDER BY Nombre"),
                  QStringLiteral("Database")),
              esperado.join(QStringLiteral("\r\n")));
    EXPECT_EQ(d.ListView1->itemCount(), esperado.size());

    // The description keeps its rule: every line break as CR LF, a middle dot as a line break.
    d.ListView1->setCurrentItem(nullptr);
    d.ListView1->clearSelection();
    mensajes_.limpiar();
    mensajes_.programarRespuestas({QStringLiteral("Nota")});
    plat::application().OnModalShown = [](plat::Form &f) {
        static_cast<TfGENETEXT &>(f).Memo1->setText(QStringLiteral("uno\ndos·tres"));
        static_cast<TfGENETEXT &>(f).pbAceptar->click();
    };
    d.pbEditarDescripcionClick(nullptr);
    EXPECT_EQ(sql(QStringLiteral("SELECT Descripcion FROM DOCUTRON WHERE Nombre = 'Nota'"), QStringLiteral("Database")),
              QStringLiteral("uno\r\ndos\r\ntres"));
}

// The list is read back whole: a name or a place holding "|" is not cut there, nor one that
// ends with it.
TEST_P(DocumentosTest, TheListShowsNamesAndPlacesHoldingABarWhole)
{
    documento(QStringLiteral("9"), QStringLiteral("Planos | alzados"), QStringLiteral("/srv/obras|2024/planos.pdf"));
    documento(QStringLiteral("9"), QStringLiteral("Acta|"), QStringLiteral("www.ejemplo.es/a||b"));
    TfGENEDOCE &d = abrir(QStringLiteral("CLIENTE"), QStringLiteral("9"));
    QStringList lista = titulos(d);
    lista.sort();
    EXPECT_EQ(lista, (QStringList{"Acta|=www.ejemplo.es/a||b", "Planos | alzados=/srv/obras|2024/planos.pdf"}));
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
}

// A text longer than its column is refused the same way on every engine, with the reason, and
// nothing is stored cut; the engines count characters, so 100 outside the basic plane fit.
TEST_P(DocumentosTest, ANameOrPlaceLongerThanItsColumnIsRefusedWithItsReason)
{
    TfGENEDOCE &d = abrir(QStringLiteral("CLIENTE"), QStringLiteral("8"));
    const QString web = QStringLiteral("www.ejemplo.es/");
    const QString casos[][3] = {{web, QString(156, u'n'), "el nombre tiene 156 caracteres y el campo admite 100"},
                                {web + QString(285, u'd'), "Larga", "la ubicación tiene 300 caracteres y el campo admite 255"},
                                {web, QStringLiteral("😀").repeated(100), ""}};
    for (const auto &c : casos) {
        mensajes_.limpiar();
        mensajes_.programarRespuestas({c[0], c[1]});
        d.pbAgregarWebClick(nullptr);
        EXPECT_EQ(textosDeTipo(QStringLiteral("A")),
                  c[2].isEmpty() ? QStringList() : QStringList{"¡No ha sido posible registrar el Documento!. Motivo: " + c[2]});
    }
    EXPECT_EQ(sql(QStringLiteral("SELECT Nombre FROM DOCUTRON WHERE ClaveTabla = '8'"), QStringLiteral("Database")),
              casos[2][1]);
}

// Without SMTP settings the mail goes through the real auxiliary program and xdg-email to the
// mail program $MAILER names, here a script recording the address it is given.
TEST_P(DocumentosTest, ThePlaceholderOpensTheDesktopMailWithNoRecipientAndAFailureIsTold)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-email")).isEmpty())
        GTEST_SKIP() << "xdg-email is not installed (package xdg-utils)";
    QDir(dir_.path()).mkdir(QStringLiteral("programa"));
    ASSERT_TRUE(QFile::link(QStringLiteral(GP_VKTLEXT), dir_.file("programa/vktlext")));
    form_->DirectorioInstalacion = dir_.file("programa/");
    const QString correo = fichero(QStringLiteral("correo"), "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \""
                                                                 + dir_.file("mailto").toUtf8() + "\"\nexit $GP_PRUEBA_SALIDA\n");
    QFile::setPermissions(correo, QFile::ReadOwner | QFile::ExeOwner);
    qputenv("MAILER", correo.toUtf8());
    qputenv("GP_PRUEBA_SALIDA", "0");
    documento(QStringLiteral("22"), QStringLiteral("Portal"), QStringLiteral("www.ejemplo.es"));
    abrir(QStringLiteral("CLIENTE"), QStringLiteral("22")).pbEnviarEMailClick(nullptr);
    QFile abiertas(dir_.file("mailto"));
    EXPECT_TRUE(abiertas.open(QIODevice::ReadOnly) && abiertas.readAll().startsWith("mailto:?subject=Portal&body="));
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
    // xdg-email ends with 4 when the mail program fails, and so does the auxiliary program.
    qputenv("GP_PRUEBA_SALIDA", "1");
    abrir(QStringLiteral("CLIENTE"), QStringLiteral("22")).pbEnviarEMailClick(nullptr);
    qunsetenv("MAILER");
    qunsetenv("GP_PRUEBA_SALIDA");
    EXPECT_EQ(textosDeTipo(QStringLiteral("A")),
              QStringList{"¡No ha sido posible enviar el correo electrónico!. Motivo: Error en el envío (MAPI): 4"});
}

INSTANTIATE_TEST_SUITE_P(Motores, DocumentosTest, ::testing::Bool(), NombreMotor);

// Mail through a sink on loopback (tests/runtime/externos/sumideros_smtp.py); the general
// parameters name the server and the user has no mail settings of its own.
class CorreoDocumentosTest : public DocumentosTest
{
protected:
    static void SetUpTestSuite()
    {
        carpeta_ = new gptest::TempDir;
        QProcess openssl;
        openssl.setWorkingDirectory(carpeta_->path());
        openssl.start(QStringLiteral("openssl"), {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                                                  "/CN=correo.prueba.test", "-keyout", "clave.pem", "-out", "cert.pem"});
        ASSERT_TRUE(openssl.waitForFinished(60000) && openssl.exitCode() == 0);
        sumideros_ = new gptest::SumiderosSmtp(registro(), {carpeta_->file("cert.pem"), carpeta_->file("clave.pem")});
        puerto_ = sumideros_->puertos().value(QStringLiteral("plano"));
        ASSERT_NE(puerto_, 0);
    }

    static void TearDownTestSuite()
    {
        delete sumideros_;
        delete carpeta_;
    }

    void SetUp() override
    {
        DocumentosTest::SetUp();
        if (IsSkipped())
            return;
        QFile::remove(registro());
        ASSERT_EQ(sql(QStringLiteral("DELETE FROM PARAGENE"), QStringLiteral("Database")), QString());
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO PARAGENE (IdRegistro, CfgCorreoElectronico) VALUES (0, 'ClienteSMTP=Indy\r\n"
                                     "ServidorSMTP=correo.prueba.test\r\nCuentaFromSMTP=oficina@empresa.test\r\n')"),
                      QStringLiteral("Database")),
                  QString());
        crearModulo();
        form_->UsuarioActual = QStringLiteral("ANA");
        form_->TransporteCorreo.segundosEspera = 5;
        form_->TransporteCorreo.conectarA = {QStringLiteral("correo.prueba.test:25:127.0.0.1:") + QString::number(puerto_)};
    }

    static QString registro() { return carpeta_->file("registro.jsonl"); }

    // The messages the sink took, as a mail reader reads them.
    static QList<QJsonObject> recibidos()
    {
        QList<QJsonObject> lista;
        QFile f(registro());
        if (f.open(QIODevice::ReadOnly))
            for (const QByteArray &linea : f.readAll().split('\n'))
                if (const QJsonObject o = QJsonDocument::fromJson(linea).object(); o.value("orden") == QLatin1String("DATA"))
                    lista << o;
        return lista;
    }

    static QStringList adjuntos(const QJsonObject &mensaje)
    {
        QStringList nombres;
        for (const QJsonValue &a : mensaje.value("adjuntos").toArray())
            nombres << a.toObject().value("nombre").toString();
        return nombres;
    }

    static inline gptest::TempDir *carpeta_ = nullptr;
    static inline gptest::SumiderosSmtp *sumideros_ = nullptr;
    static inline int puerto_ = 0;
};

TEST_P(CorreoDocumentosTest, ASelectionIsMailedWithItsFilesAttachedAndOneAddressAsAReference)
{
    const QString informe = fichero(QStringLiteral("informe.pdf"), "%PDF-1.4");
    const QString plano = fichero(QStringLiteral("plano.dwg"), "dwg");
    QDir(dir_.path()).mkdir(QStringLiteral("fotos"));
    documento(QStringLiteral("1"), QStringLiteral("A revisar"), QString());
    documento(QStringLiteral("1"), QStringLiteral("Informe"), informe);
    documento(QStringLiteral("1"), QStringLiteral("Plano"), plano);
    documento(QStringLiteral("1"), QStringLiteral("Fotos"), dir_.file("fotos"));
    documento(QStringLiteral("1"), QStringLiteral("Portal"), QStringLiteral("www.ejemplo.es"));
    TfGENEDOCE &d = abrir(QStringLiteral("CLIENTE"), QStringLiteral("1"));
    for (const char *titulo : {"Plano", "A revisar", "Fotos", "Informe", "Plano"}) {
        elegir(d, QString::fromLatin1(titulo));
        d.AgregarALista1->Click();
    }
    // The list shown lets entries go: the folder leaves the selection.
    plat::application().OnModalShown = [](plat::Form &f) {
        auto &lista = static_cast<TfGENEMLIS &>(f);
        EXPECT_EQ(lista.caption(), QStringLiteral("Lista de Documentos Seleccionados"));
        EXPECT_EQ(lista.temporal().recordCount(), 4);
        lista.temporal().first();
        lista.temporal().next();
        lista.temporal().remove();
        lista.pbAceptar->click();
    };
    d.VerLista1->Click();
    EXPECT_EQ(d.DocumentosSeleccionados.size(), 3);
    mensajes_.programarRespuestas({"cliente@destino.test"});
    d.EnviarLista1->Click();
    EXPECT_TRUE(d.DocumentosSeleccionados.isEmpty());

    elegir(d, QStringLiteral("Portal"));
    mensajes_.programarRespuestas({"otro@destino.test"});
    d.pbEnviarEMailClick(nullptr);

    const QList<QJsonObject> correos = recibidos();
    ASSERT_EQ(correos.size(), 2);
    EXPECT_EQ(correos[0].value("para").toArray().first().toString(), "cliente@destino.test");
    EXPECT_EQ(correos[0].value("asunto").toString(), "Documentos/referencias de su interés");
    EXPECT_EQ(correos[0].value("texto").toString().replace("\r\n", "\n"),
              "Adjunto le remitimos los siguientes documentos/referencias: \nA revisar ()\nInforme (informe.pdf)\n"
              "Plano (plano.dwg)\n");
    EXPECT_EQ(adjuntos(correos[0]), (QStringList{"informe.pdf", "plano.dwg"}));
    EXPECT_EQ(correos[1].value("asunto").toString(), "Portal");
    EXPECT_EQ(correos[1].value("texto").toString().trimmed(),
              "La referencia siguiente puede ser de su interés: Portal (www.ejemplo.es)");
    EXPECT_TRUE(adjuntos(correos[1]).isEmpty());
    const QStringList avisos = textosDeTipo(QStringLiteral("P"));
    EXPECT_EQ(avisos.value(0), "Introduzca la dirección de correo electrónica del destinatario:");
    EXPECT_EQ(textosDeTipo(QStringLiteral("I")),
              (QStringList{"El correo electrónico ha sido enviado a cliente@destino.test",
                           "El correo electrónico ha sido enviado a otro@destino.test"}));
}

TEST_P(CorreoDocumentosTest, ACustomerWithoutAnAddressIsOfferedThePlaceholderAndAnEmptyAnswerSendsNothing)
{
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO CLIENTE (Codigo, Nombre) VALUES (12, 'Sin correo')"), QStringLiteral("Database")),
              QString());
    documento(QStringLiteral("12"), QStringLiteral("Portal"), QStringLiteral("www.ejemplo.es"));
    documento(QStringLiteral("12 OR 1=1"), QStringLiteral("Portal"), QStringLiteral("www.ejemplo.es"));
    const QString invitacion = QStringLiteral("Introduzca aquí la dirección de correo del destinatario...");
    // The placeholder accepted as it is is no address either.
    for (const QString &respuesta : {QString(), invitacion})
        for (const char *clave : {"12", "12 OR 1=1"}) {
            TfGENEDOCE &d = abrir(QStringLiteral("CLIENTE"), QString::fromLatin1(clave));
            mensajes_.limpiar();
            mensajes_.programarRespuestas({respuesta});
            d.pbEnviarEMailClick(nullptr);
            ASSERT_EQ(mensajes_.mensajes().size(), 1);
            EXPECT_EQ(mensajes_.mensajes().first().respuestaPropuesta, invitacion);
        }
    EXPECT_TRUE(recibidos().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Motores, CorreoDocumentosTest, ::testing::Values(false), NombreMotor);

TEST(SentenciasDocumentos, TheStatementsAreTheProgramsOwnText)
{
    using namespace sentenciasDocumentos;
    const QString t = QStringLiteral("CLIENTE"), k = QStringLiteral("7|O'B"), n = QStringLiteral("Plano");
    EXPECT_EQ(Documentos(t, k), "SELECT Nombre, Ubicacion, Descripcion FROM DOCUTRON   WHERE NombreTabla = 'CLIENTE'    "
                                "AND ClaveTabla = '7|O''B'");
    EXPECT_EQ(Eliminar(t, k, n), "DELETE DOCUTRON   WHERE NombreTabla = 'CLIENTE'    AND ClaveTabla = '7|O''B'    AND "
                                 "Nombre = 'Plano'");
    EXPECT_EQ(ActualizarDescripcion(t, k, n, "a'b"),
              "UPDATE DOCUTRON   SET Descripcion = 'a''b'  WHERE NombreTabla = 'CLIENTE'    AND ClaveTabla = '7|O''B'    "
              "AND Nombre = 'Plano'");
    EXPECT_EQ(Navegar(Movimiento::Siguiente, t, k),
              "SELECT TOP 1 ClaveTabla FROM DOCUTRON   WHERE NombreTabla = 'CLIENTE'    AND ClaveTabla > '7|O''B'  ORDER "
              "BY NombreTabla, ClaveTabla");
    EXPECT_EQ(Navegar(Movimiento::Ultimo, t, k),
              "SELECT TOP 1 ClaveTabla FROM DOCUTRON   WHERE NombreTabla = 'CLIENTE'  ORDER BY NombreTabla, ClaveTabla DESC");
    EXPECT_EQ(DireccionCorreo(t, 7), "SELECT DirecCorreoElectronico FROM CLIENTE  WHERE Codigo = 7");
    EXPECT_EQ(Insertar(t, k, "Plano·A", "", "uno\ndos"),
              "INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre, Descripcion)  VALUES ('CLIENTE', '7|O''B', "
              "'Plano·A', 'uno\r\ndos')");
}

} // namespace
