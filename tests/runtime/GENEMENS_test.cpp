#include "GENEW/runtime/ServicioMensajes.h"
#include "GENEW/runtime/GENEMENS.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "tests/runtime/ArranqueFixture.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace plat;

namespace {

// A main form exists before the message window, as in the program (the first form created
// is the main one).
class FormPrincipal : public Form
{
public:
    FormPrincipal() { setObjectName("fPRINCIPAL"); }
};

void pulsar(QWidget *destino, int tecla, const QString &texto = QString())
{
    QKeyEvent abajo(QEvent::KeyPress, tecla, Qt::NoModifier, texto);
    QApplication::sendEvent(destino, &abajo);
    QKeyEvent arriba(QEvent::KeyRelease, tecla, Qt::NoModifier, texto);
    QApplication::sendEvent(destino, &arriba);
}

QWidget *enfocado(Form &form)
{
    return form.focusWidget();
}

class Mensajes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!principal)
            principal = createForm<FormPrincipal>();
        formulario.reset(createForm<TfGENEMENS>());
        servicio = std::make_unique<ServicioMensajes>(*formulario);
        servicio->terminar = [this] { ++terminaciones; };
    }
    void TearDown() override
    {
        application().OnModalShown = nullptr;
        servicio.reset();
        formulario.reset();
    }

    // Answers the next message window with the given action, after checking it.
    void responder(std::function<void(TfGENEMENS &)> accion)
    {
        application().OnModalShown = [accion](Form &mostrado) {
            auto *m = qobject_cast<TfGENEMENS *>(&mostrado);
            ASSERT_NE(m, nullptr);
            accion(*m);
        };
    }

    static void guardarCaptura(TfGENEMENS &m, const QString &nombre)
    {
        QDir().mkpath("capturas");
        m.grab().save("capturas/mensaje-" + nombre + ".png");
    }

    static inline FormPrincipal *principal = nullptr;
    std::unique_ptr<TfGENEMENS> formulario;
    std::unique_ptr<ServicioMensajes> servicio;
    int terminaciones = 0;
};

struct Clase
{
    const char *tipo;
    const char *titulo;
    const char *icono;
};

TEST_F(Mensajes, TiposConUnSoloBoton)
{
    const Clase clases[] = {{"I", "Información", "ImagenInformacion"},
                            {"A", "Advertencia", "ImagenExclamacion"},
                            {"E", "Error", "ImagenError"}};
    for (const Clase &c : clases) {
        bool visto = false;
        responder([&](TfGENEMENS &m) {
            visto = true;
            EXPECT_EQ(m.caption(), c.titulo);
            EXPECT_EQ(m.TextoMensaje->text(), "Texto del aviso");
            EXPECT_TRUE(m.PanelMensaje->isVisible());
            for (QLabel *i : {m.ImagenInformacion, m.ImagenExclamacion, m.ImagenInterrogacion, m.ImagenError})
                EXPECT_EQ(i->isVisible(), i->objectName() == c.icono) << c.tipo << qPrintable(i->objectName());
            QLabel *icono = m.findComponent<QLabel>(c.icono);
            EXPECT_EQ(icono->pos(), QPoint(10, 18));
            EXPECT_TRUE(m.pbAceptar->isVisible());
            EXPECT_EQ(m.pbAceptar->pos(), QPoint(153, 99));
            EXPECT_FALSE(m.pbSI->isVisible());
            EXPECT_FALSE(m.pbNO->isVisible());
            EXPECT_FALSE(m.PanelRespuesta->isVisible());
            EXPECT_EQ(m.width(), 404);
            EXPECT_EQ(m.height(), 158);
            EXPECT_EQ(m.left(), (application().screenWidth() - 404) / 2);
            EXPECT_EQ(m.top(), (application().screenHeight() - 158) / 2);
            guardarCaptura(m, c.tipo);
            m.pbAceptar->click();
        });
        EXPECT_EQ(servicio->MostrarMensaje(c.tipo, "Texto del aviso", "sin cambio"), "sin cambio") << c.tipo;
        EXPECT_TRUE(visto) << c.tipo;
        EXPECT_FALSE(formulario->visible());
    }
    // Only the error ends the program.
    EXPECT_EQ(terminaciones, 1);
}

TEST_F(Mensajes, PreguntaSiNo)
{
    responder([](TfGENEMENS &m) {
        EXPECT_EQ(m.caption(), "Confirmar");
        EXPECT_TRUE(m.ImagenInterrogacion->isVisible());
        EXPECT_TRUE(m.pbSI->isVisible());
        EXPECT_TRUE(m.pbNO->isVisible());
        EXPECT_FALSE(m.pbAceptar->isVisible());
        EXPECT_EQ(enfocado(m), m.pbNO);
        guardarCaptura(m, "C");
        m.pbSI->click();
    });
    EXPECT_EQ(servicio->MostrarMensaje("C", "¿Desea continuar?", ""), "SI");

    // Enter presses the focused button: No.
    responder([](TfGENEMENS &m) { pulsar(m.pbNO, Qt::Key_Return, "\r"); });
    EXPECT_EQ(servicio->MostrarMensaje("C", "¿Seguro?", "SI"), "NO");

    // Esc is the cancel button; the window's close box answers No too.
    responder([](TfGENEMENS &m) { pulsar(m.pbNO, Qt::Key_Escape, "\x1b"); });
    EXPECT_EQ(servicio->MostrarMensaje("C", "¿Seguro?", ""), "NO");
    responder([](TfGENEMENS &m) { m.Close(); });
    EXPECT_EQ(servicio->MostrarMensaje("C", "¿Seguro?", "SI"), "NO");

    // Enter on Yes when the user moved there.
    responder([](TfGENEMENS &m) {
        m.pbSI->setFocus();
        pulsar(m.pbSI, Qt::Key_Return, "\r");
    });
    EXPECT_EQ(servicio->MostrarMensaje("C", "¿Seguro?", ""), "SI");
    EXPECT_EQ(terminaciones, 0);
}

TEST_F(Mensajes, PeticionDeUnDato)
{
    responder([](TfGENEMENS &m) {
        EXPECT_EQ(m.caption(), "Pregunta");
        EXPECT_TRUE(m.PanelRespuesta->isVisible());
        EXPECT_EQ(m.height(), 195);
        EXPECT_EQ(m.pbAceptar->pos(), QPoint(153, 135));
        EXPECT_TRUE(m.ImagenInterrogacion->isVisible());
        EXPECT_EQ(m.EditRespuesta->text(), "Valor propuesto");
        EXPECT_EQ(m.EditRespuesta->echoMode(), QLineEdit::Normal);
        EXPECT_EQ(enfocado(m), m.EditRespuesta);
        guardarCaptura(m, "P");
        // The proposal is selected: what the user types replaces it.
        pulsar(m.EditRespuesta, Qt::Key_O, "O");
        pulsar(m.EditRespuesta, Qt::Key_T, "t");
        pulsar(m.EditRespuesta, Qt::Key_Return, "\r");   // Enter is the default button
    });
    EXPECT_EQ(servicio->MostrarMensaje("P", "Indique el nombre:", "Valor propuesto"), "Ot");

    // A password starts empty and shows "*" for each typed character, not the style's dot.
    responder([](TfGENEMENS &m) {
        EXPECT_EQ(m.EditRespuesta->text(), "");
        EXPECT_EQ(m.EditRespuesta->echoMode(), QLineEdit::Password);
        pulsar(m.EditRespuesta, Qt::Key_X, "x");
        pulsar(m.EditRespuesta, Qt::Key_Y, "y");
        EXPECT_EQ(m.EditRespuesta->displayText(), "**");
        guardarCaptura(m, "P-clave");
        m.pbAceptar->click();
    });
    EXPECT_EQ(servicio->MostrarMensaje("P", "Clave:", "Password"), "xy");

    // Closed without OK: empty, whatever was typed; the next prompt is plain again.
    responder([](TfGENEMENS &m) {
        m.EditRespuesta->setText("escrito");
        m.Close();
    });
    EXPECT_EQ(servicio->MostrarMensaje("P", "Clave:", "Password"), "");
    responder([](TfGENEMENS &m) {
        EXPECT_EQ(m.EditRespuesta->echoMode(), QLineEdit::Normal);
        m.pbAceptar->click();
    });
    EXPECT_EQ(servicio->MostrarMensaje("P", "Dato:", ""), "");
}

TEST_F(Mensajes, TextoLargoEnLetraPequenaYLaSiguienteRecuperaSuTamano)
{
    int tamanoLargo = 0, tamanoCorto = 0;
    responder([&](TfGENEMENS &m) {
        tamanoLargo = m.TextoMensaje->font().pointSize();
        m.pbAceptar->click();
    });
    servicio->MostrarMensaje("I", QString(91, 'x'), "");
    responder([&](TfGENEMENS &m) {
        tamanoCorto = m.TextoMensaje->font().pointSize();
        m.pbAceptar->click();
    });
    servicio->MostrarMensaje("I", QString(90, 'x'), "");
    EXPECT_EQ(tamanoLargo, 8);
    EXPECT_EQ(tamanoCorto, 10);
}

// A start-up error carrying the server's reason runs to several lines: every one is shown,
// the buttons below the text, and the next short message has the window's own size.
TEST_F(Mensajes, UnTextoDeMuchasLineasAgrandaLaVentanaYLaSiguienteVuelveASuTamano)
{
    const QString largo = QStringLiteral(
        "¡Imposible iniciar la aplicación!. Motivo: AliasBaseDatos=EMPRESA: General SQL error. connection to "
        "server at \"127.0.0.1\", port 1 failed: Connection refused\nIs the server running on that host and "
        "accepting TCP/IP connections? QPSQL: No es posible establecer conexión");
    for (const char *tipo : {"E", "C", "P"}) {
        responder([&](TfGENEMENS &m) {
            const int necesario = m.TextoMensaje->heightForWidth(m.TextoMensaje->width());
            EXPECT_GT(necesario, 80) << tipo;
            EXPECT_GE(m.TextoMensaje->height(), necesario) << tipo;
            EXPECT_GE(m.PanelMensaje->geometry().bottom(), m.TextoMensaje->geometry().bottom()) << tipo;
            for (QWidget *w : {static_cast<QWidget *>(m.pbAceptar), static_cast<QWidget *>(m.pbSI),
                               static_cast<QWidget *>(m.PanelRespuesta)}) {
                if (!w->isVisible())
                    continue;
                EXPECT_GT(w->y(), m.PanelMensaje->geometry().bottom()) << tipo << qPrintable(w->objectName());
                EXPECT_LE(w->geometry().bottom(), m.height()) << tipo << qPrintable(w->objectName());
            }
            EXPECT_EQ(m.top(), (application().screenHeight() - m.height()) / 2);
            guardarCaptura(m, QStringLiteral("largo-") + tipo);
            m.Close();
        });
        servicio->MostrarMensaje(tipo, largo, "");
    }
    responder([](TfGENEMENS &m) {
        EXPECT_EQ(m.height(), 158);
        EXPECT_EQ(m.TextoMensaje->height(), 80);
        EXPECT_EQ(m.pbAceptar->pos(), QPoint(153, 99));
        m.pbAceptar->click();
    });
    servicio->MostrarMensaje("I", "Texto del aviso", "");
    responder([](TfGENEMENS &m) {
        EXPECT_EQ(m.pbSI->pos(), QPoint(100, 99));
        EXPECT_EQ(m.pbNO->pos(), QPoint(207, 99));
        m.pbSI->click();
    });
    servicio->MostrarMensaje("C", "¿Desea continuar?", "");

    // More lines than the screen holds: the window stops at the screen, the text's start in sight.
    responder([](TfGENEMENS &m) {
        EXPECT_LE(m.height(), application().screenHeight());
        EXPECT_GE(m.top(), 0);
        EXPECT_TRUE(m.TextoMensaje->alignment() & Qt::AlignTop);
        m.pbAceptar->click();
    });
    servicio->MostrarMensaje("I", QStringList(200, QStringLiteral("Línea de texto")).join(u'\n'), "");
}

TEST_F(Mensajes, TextosMarcadosSeMuestranEnEspanol)
{
    QString mostrado;
    responder([&](TfGENEMENS &m) {
        mostrado = m.TextoMensaje->text();
        m.pbAceptar->click();
    });
    servicio->MostrarMensaje("A", "TRADUCIR: Index is out of date Tabla: CLIENTE", "");
    EXPECT_EQ(mostrado, "El índice no está actualizado. Tabla: CLIENTE");
}

TEST_F(Mensajes, UnMensajeDuranteOtroTambienSeVe)
{
    int aspectos = 0;
    formulario->AplicarAspecto = [&](QObject *) { ++aspectos; };
    QStringList vistos;
    QString respuestaInterior;
    application().OnModalShown = [&](Form &mostrado) {
        auto &m = static_cast<TfGENEMENS &>(mostrado);
        vistos << m.TextoMensaje->text();
        if (vistos.size() == 1) {
            // While the first is on screen something asks a question.
            respuestaInterior = servicio->MostrarMensaje("C", "¿Segunda?", "");
            EXPECT_TRUE(m.visible());   // the first window is still there
            m.pbAceptar->click();
        } else {
            EXPECT_NE(&m, formulario.get());
            EXPECT_TRUE(formulario->visible());
            EXPECT_EQ(m.caption(), "Confirmar");
            m.pbSI->click();
        }
    };
    EXPECT_EQ(servicio->MostrarMensaje("I", "Primera", "x"), "x");
    EXPECT_EQ(vistos, (QStringList{"Primera", "¿Segunda?"}));
    EXPECT_EQ(respuestaInterior, "SI");
    EXPECT_EQ(aspectos, 2);   // the second window has the routines of the first
}

TEST_F(Mensajes, TraduccionAlActivarse)
{
    int formulariosTraducidos = 0;
    const Gancho<TraduccionMensajesFn>::Instalacion traduccion(ganchoTraduccionMensajes(),
                                                               [](const QString &t) { return "[" + t + "]"; });
    formulario->TraducirFormulario = [&](QObject *) { ++formulariosTraducidos; };
    formulario->setCaption("Información");
    formulario->TextoMensaje->setText("Hola");
    formulario->FormActivate(formulario.get());
    EXPECT_EQ(formulario->caption(), "[Información]");
    EXPECT_EQ(formulario->TextoMensaje->text(), "[Hola]");
    EXPECT_EQ(formulariosTraducidos, 1);
}

TEST_F(Mensajes, SeleccionMarcadaEnLaRespuesta)
{
    formulario->EditRespuesta->setText("Copia de :SelStart:Informe:SelEnd: 2");
    formulario->FormActivate(formulario.get());
    EXPECT_EQ(formulario->EditRespuesta->text(), "Copia de Informe 2");
    EXPECT_EQ(formulario->EditRespuesta->selectedText(), "Informe");
    formulario->EditRespuesta->setText("Sin marcas");
    formulario->FormActivate(formulario.get());
    EXPECT_EQ(formulario->EditRespuesta->text(), "Sin marcas");
}

TEST_F(Mensajes, ComoSalidaDeMensajesDelPrograma)
{
    SalidaMensajesGrabada previa;
    SalidaMensajesInstalada conPrevia(previa);
    servicio->instalar();
    responder([](TfGENEMENS &m) {
        EXPECT_EQ(m.caption(), "Confirmar");
        m.pbSI->click();
    });
    EXPECT_EQ(MensajeConfirmacion("¿Grabar?"), "SI");
    IndicarProgreso("1", "2", "3", "4");   // progress still reaches the sink that was there
    ASSERT_EQ(previa.progresos().size(), 1);
    EXPECT_EQ(previa.progresos().first(), (QStringList{"1", "2", "3", "4"}));
    EXPECT_TRUE(previa.mensajes().isEmpty());
    servicio->desinstalar();
    EXPECT_EQ(&salidaMensajes(), &previa);
}

// The plain system box is no message window: kind "S" goes to the box of the toolkit.
TEST_F(Mensajes, ElCuadroDelSistemaNoEsLaVentanaDeMensajes)
{
    QStringList cuadros;
    servicio->cuadroSistema = [&cuadros](const QString &t) { cuadros << t; };
    bool ventana = false;
    application().OnModalShown = [&ventana](Form &) { ventana = true; };
    servicio->instalar();
    MensajeSistema("Hay un error en la siguiente Sentencia SQL: \r\nSELECT X");
    servicio->desinstalar();
    EXPECT_FALSE(ventana);
    EXPECT_EQ(cuadros, QStringList{"Hay un error en la siguiente Sentencia SQL: \r\nSELECT X"});
    EXPECT_EQ(terminaciones, 0);
}

// The message window with the keyboard routines the start-up form gives it, as at run time
// (they turn Enter into Tab before the window sees it).
class MensajesConTeclado : public ArranqueFixture
{
protected:
    void SetUp() override
    {
        ArranqueFixture::SetUp();
        TfGENEINIC &inicio = arrancar();
        ASSERT_FALSE(inicio.ArranqueFallido) << mensajes_.textos().join(u'\n').toStdString();
        ventana.reset(createForm<TfGENEMENS>());
        inicio.conectarVentanaMensajes(*ventana);
        servicio = std::make_unique<ServicioMensajes>(*ventana);
        servicio->terminar = [] {};
    }
    void TearDown() override
    {
        application().OnModalShown = nullptr;
        servicio.reset();
        ventana.reset();
        ArranqueFixture::TearDown();
    }

    std::unique_ptr<TfGENEMENS> ventana;
    std::unique_ptr<ServicioMensajes> servicio;
};

void tecla(TfGENEMENS &m, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(m.focusWidget(), k, mods);
}

TEST_F(MensajesConTeclado, EnterPressesTheFocusedOrTheDefaultButtonAndEscCancels)
{
    struct Caso
    {
        const char *tipo, *propuesta;
        std::function<void(TfGENEMENS &)> teclas;
        const char *respuesta;
    };
    const QList<Caso> casos = {
        // The log-in prompt: the proposed code typed over, Enter accepts it.
        {"P", "usuario-sistema",
         [](TfGENEMENS &m) {
             tecla(m, Qt::Key_A, Qt::ControlModifier);
             QTest::keyClicks(m.focusWidget(), "ADMIN");
             tecla(m, Qt::Key_Return);
         },
         "ADMIN"},
        {"P", "propuesta", [](TfGENEMENS &m) { tecla(m, Qt::Key_Enter, Qt::KeypadModifier); }, "propuesta"},
        {"I", "sin cambio", [](TfGENEMENS &m) { tecla(m, Qt::Key_Return); }, "sin cambio"},
        {"A", "sin cambio", [](TfGENEMENS &m) { tecla(m, Qt::Key_Return); }, "sin cambio"},
        {"C", "", [](TfGENEMENS &m) { tecla(m, Qt::Key_Return); }, "NO"},
        {"C", "", [](TfGENEMENS &m) { tecla(m, Qt::Key_Escape); }, "NO"},
        // Esc closes a notice, and leaves a value asked for unanswered.
        {"I", "sin cambio", [](TfGENEMENS &m) { tecla(m, Qt::Key_Escape); }, "sin cambio"},
        {"A", "sin cambio", [](TfGENEMENS &m) { tecla(m, Qt::Key_Escape); }, "sin cambio"},
        {"P", "propuesta", [](TfGENEMENS &m) { tecla(m, Qt::Key_Escape); }, ""},
        // Tab moves to "SI", which Enter then presses.
        {"C", "",
         [](TfGENEMENS &m) {
             tecla(m, Qt::Key_Tab);
             ASSERT_EQ(m.focusWidget(), m.pbSI);
             tecla(m, Qt::Key_Return);
         },
         "SI"},
    };
    for (const Caso &c : casos) {
        bool cerrada = true;
        application().OnModalShown = [&](Form &mostrada) {
            auto &m = static_cast<TfGENEMENS &>(mostrada);
            c.teclas(m);
            if (m.modalResult() == mrNone) {   // the keys left it open: close it, or the test waits
                cerrada = false;
                m.Close();
            }
        };
        const QString respuesta = servicio->MostrarMensaje(c.tipo, "Texto", c.propuesta);
        EXPECT_TRUE(cerrada) << c.tipo << " " << c.respuesta;
        if (cerrada)
            EXPECT_EQ(respuesta, c.respuesta) << c.tipo;
    }
}

TEST(MensajeError, TerminaElBucleDeEventos)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            createForm<FormPrincipal>();
            auto *formulario = createForm<TfGENEMENS>();
            ServicioMensajes servicio(*formulario);
            application().OnModalShown = [](Form &m) { static_cast<TfGENEMENS &>(m).pbAceptar->click(); };
            QTimer::singleShot(0, [&] { servicio.MostrarMensaje("E", "Fallo grave", ""); });
            QTimer::singleShot(5000, [] { std::exit(2); });   // the loop did not end
            QApplication::exec();
            std::exit(application().terminated() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
