// The framework's timers, look and listing header on the started runtime (no data module).
#include "ArranqueFixture.h"

#include "GENEW/runtime/GENEMENS.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/report/ReportComponents.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"

#include <QApplication>
#include <QTimer>

namespace {

class FormularioInicioTest : public ArranqueFixture
{
protected:
    TfGENEINIC &arrancarCon(const QString &korvel)
    {
        escribir(QStringLiteral("KORVEL.INI"), QStringLiteral("[Configuración]\r\n") + korvel);
        return arrancar();
    }
};

TEST_F(FormularioInicioTest, AnIdleTimeThatIsNoPositiveNumberLeavesTheTimerOff)
{
    for (const char *valor : {"0", "1O", "-5", ""}) {
        TfGENEINIC &f = arrancarCon(QStringLiteral("TiempoForzarTerminacionAplicacion=%1\r\n").arg(valor));
        ASSERT_FALSE(f.ArranqueFallido);
        EXPECT_FALSE(f.TimerAplicacion->isActive()) << valor;
        form_.reset();
        sesion_.closeAll();
    }
    EXPECT_TRUE(arrancarCon("TiempoForzarTerminacionAplicacion=10\r\n").TimerAplicacion->isActive());
}

TEST_F(FormularioInicioTest, TheProgramEndsAtTheFirstTickPastTheIdleMinutes)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TfGENEINIC &f = arrancarCon("TiempoForzarTerminacionAplicacion=10\r\n");
            const QDateTime inicio = FechaHora(QDate(2024, 3, 31), QTime(1, 50));
            QDateTime ahora = inicio;
            f.Reloj = [&ahora] { return ahora; };
            f.RegistrarActividad();
            ahora = inicio.addSecs(600);   // exactly ten minutes: not yet
            f.TimerAplicacionTimer(f.TimerAplicacion);
            if (plat::application().terminated() || !f.TimerAplicacion->isActive())
                std::exit(3);
            ahora = inicio.addSecs(300);   // activity restarts the count
            f.RegistrarActividad();
            ahora = inicio.addSecs(900);
            f.TimerAplicacionTimer(f.TimerAplicacion);
            if (plat::application().terminated())
                std::exit(4);
            ahora = inicio.addSecs(915);
            f.TimerAplicacionTimer(f.TimerAplicacion);
            std::exit(plat::application().terminated() && !f.TimerAplicacion->isActive() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// A form whose own mouse-move handler is set keeps it: moving over it is no activity.
TEST_F(FormularioInicioTest, ActivityStampsOnlyWhereTheFormLeavesTheEvent)
{
    TfGENEINIC &f = arrancarCon("");
    QDateTime ahora = FechaHora(QDate(2024, 5, 1), QTime(9, 0));
    f.Reloj = [&ahora] { return ahora; };
    plat::Form libre, propio;
    bool movido = false;
    propio.OnMouseMove = [&movido](QObject *, plat::ShiftState, int, int) { movido = true; };
    f.PrepararFormulario(&libre);
    f.PrepararFormulario(&propio);
    f.UltimaActividad = FechaCero();
    propio.OnMouseMove(&propio, {}, 1, 1);
    EXPECT_TRUE(movido);
    EXPECT_EQ(f.UltimaActividad, FechaCero());
    libre.OnMouseMove(&libre, {}, 1, 1);
    EXPECT_EQ(f.UltimaActividad, ahora);
    ahora = ahora.addSecs(60);
    int tecla = 'A';
    libre.OnKeyUp(&libre, tecla, {});
    EXPECT_EQ(f.UltimaActividad, ahora);
}

// ---- look ----------------------------------------------------------------------------------

class LookForm : public plat::Form
{
public:
    LookForm()
    {
        setObjectName("fLOOK");
        auto etiqueta = [this](const QString &nombre, const QString &familia, int tamano) {
            auto *l = make<plat::Label>(nombre, this);
            l->setFont(QFont(familia, tamano));
            return l;
        };
        SansNueve = etiqueta("SansNueve", "MS Sans Serif", 9);
        ArialNueve = etiqueta("ArialNueve", "Arial", 9);
        SansDiez = etiqueta("SansDiez", "MS Sans Serif", 10);
        Panel1 = make<plat::Panel>("Panel1", this);
        Roja = make<plat::CheckBox>("Roja", Panel1);
        Roja->setFontColor(plat::clRed);
        Roja->setGeometry(10, 10, 80, 18);
        Negra = make<plat::CheckBox>("Negra", Panel1);
        Negra->setGeometry(10, 40, 80, 18);
    }
    plat::Label *SansNueve, *ArialNueve, *SansDiez;
    plat::Panel *Panel1;
    plat::CheckBox *Roja, *Negra;
};

TEST_F(FormularioInicioTest, TheEvoLooksChangeFontsColoursAndFrames)
{
    const struct
    {
        const char *aspecto;
        bool evo;
        bool marcos;
    } casos[] = {{"evo", true, false}, {"evo+", true, true}, {"clasico", false, false}};
    for (const auto &c : casos) {
        TfGENEINIC &f = arrancarCon(QStringLiteral("AspectoAplicacion=%1\r\n").arg(c.aspecto));
        LookForm form;
        f.AplicarAspecto(&form);
        EXPECT_EQ(form.SansNueve->font().family(), c.evo ? "Segoe UI" : "MS Sans Serif") << c.aspecto;
        EXPECT_EQ(form.SansNueve->font().pointSize(), c.evo ? 8 : 9) << c.aspecto;
        EXPECT_EQ(form.ArialNueve->font().family(), "Arial");
        EXPECT_EQ(form.ArialNueve->font().pointSize(), c.evo ? 8 : 9);
        EXPECT_EQ(form.SansDiez->font().pointSize(), 10);
        EXPECT_EQ(form.color(), c.evo ? f.ColorAspecto2 : int(plat::clBtnFace)) << c.aspecto;
        EXPECT_EQ(form.Panel1->color(), c.evo ? f.ColorAspecto2 : int(plat::clDefault)) << c.aspecto;
        const bool marcoRojo = form.Panel1->findChild<QWidget *>("RojaMarco") != nullptr;
        EXPECT_EQ(marcoRojo, c.marcos) << c.aspecto;
        EXPECT_EQ(form.Panel1->findChild<QWidget *>("NegraMarco"), nullptr);
        f.AplicarAspecto(&form);   // applied again, still one frame
        EXPECT_EQ(form.Panel1->findChildren<QWidget *>("RojaMarco").size(), c.marcos ? 1 : 0);
        form_.reset();
        sesion_.closeAll();
    }
}

TEST_F(FormularioInicioTest, TheMessageWindowIsPluggedIntoTheFramework)
{
    TfGENEMENS mensajes;
    fGENEMENS = &mensajes;
    TfGENEINIC &f = arrancarCon("AspectoAplicacion=evo\r\n");
    fGENEMENS = nullptr;
    EXPECT_TRUE(mensajes.AplicarAspecto.assigned());
    EXPECT_TRUE(mensajes.TraducirFormulario.assigned());
    EXPECT_TRUE(mensajes.ProcesarTeclaPulsada.assigned());
    EXPECT_TRUE(mensajes.ProcesarTeclaFormulario.assigned());
    mensajes.AplicarAspecto(&mensajes);
    EXPECT_EQ(mensajes.color(), f.ColorAspecto2);
    int tecla = plat::VK_ESCAPE;
    ListadoCancelado = false;
    mensajes.ProcesarTeclaFormulario(&mensajes, tecla, {});
    EXPECT_TRUE(ListadoCancelado);
    ListadoCancelado = false;
    // The window is freed after the start-up form: its routines then do nothing.
    form_.reset();
    mensajes.ProcesarTeclaFormulario(&mensajes, tecla, {});
    EXPECT_FALSE(ListadoCancelado);
}

// ---- listing header ------------------------------------------------------------------------

class ControlFalso : public QObject, public plat::ReportTextControl
{
public:
    ControlFalso(const QString &nombre, Kind tipo, int tope) : tipo_(tipo), tope_(tope) { setObjectName(nombre); }
    QObject *object() override { return this; }
    int top() const override { return tope_; }
    void setTop(int top) override { tope_ = top; }
    int height() const override { return alto_; }
    void setHeight(int height) override { alto_ = height; }
    bool enabled() const override { return visible_; }
    void setEnabled(bool enabled) override { visible_ = enabled; }
    bool visible() const override { return visible_; }
    void setVisible(bool visible) override { visible_ = visible; }
    Kind reportKind() const override { return tipo_; }
    int tag() const override { return 0; }
    QString dataName() const override { return {}; }
    QString dataField() const override { return {}; }
    QString expression() const override { return {}; }
    QString text() const override { return texto_; }
    void setText(const QString &text) override { texto_ = text; }
    bool printHandlerAssigned() const override { return false; }
    bool printsAmount() const override { return false; }
    void setPrintsAmount(bool) override {}

private:
    Kind tipo_;
    int tope_, alto_ = 17;
    bool visible_ = true;
    QString texto_;
};

class BandaFalsa : public QObject, public plat::ReportBand
{
public:
    QObject *object() override { return this; }
    int height() const override { return alto; }
    void setHeight(int height) override { alto = height; }
    QList<plat::ReportControl *> reportControls() const override { return controles; }
    bool landscape() const override { return apaisado; }
    bool beforePrintAssigned() const override { return false; }
    void setBeforePrint(BeforePrintHandler) override {}
    int alto = 0;
    bool apaisado = false;
    QList<plat::ReportControl *> controles;
};

TEST_F(FormularioInicioTest, TheListingHeaderMakesRoomForItsRestrictionsOnTheFirstPage)
{
    TfGENEINIC &f = arrancarCon("");
    ControlFalso memo("Restricciones", plat::ReportTextControl::Memo, 40);
    ControlFalso titulo("Titulo", plat::ReportTextControl::Label, 10);
    ControlFalso empresa("TituloNombreEmpresa", plat::ReportTextControl::Label, 5);
    ControlFalso fecha("Fecha", plat::ReportTextControl::SystemData, 12);
    BandaFalsa banda;
    banda.controles = {&memo, &titulo, &empresa, &fecha};
    memo.setText(QString(150, u'x'));
    f.CabeceraListadoActual = {&memo, "Titulo=10\r\nTituloNombreEmpresa=5", true, 60};
    bool imprimir = true;
    f.AjustarCabeceraListado(banda, imprimir);
    const int largo = 150 + 38;   // with the heading prefixed
    const int alto = 15 * (largo / 100 + 1);
    EXPECT_TRUE(memo.text().startsWith("RESTRICCIONES Y OPCIONES DEL LISTADO: "));
    EXPECT_TRUE(memo.visible());
    EXPECT_EQ(memo.height(), alto);
    EXPECT_EQ(banda.alto, 60 + alto);
    EXPECT_EQ(titulo.top(), 10 + alto);
    EXPECT_EQ(empresa.top(), 5);
    EXPECT_EQ(fecha.top(), 12);   // only labels move
    EXPECT_FALSE(f.CabeceraListadoActual.primeraPagina);

    // Later pages: the memo hides, the labels go back to their stored tops.
    f.AjustarCabeceraListado(banda, imprimir);
    EXPECT_FALSE(memo.visible());
    EXPECT_EQ(banda.alto, 60);
    EXPECT_EQ(titulo.top(), 10);
    EXPECT_EQ(memo.text().count("RESTRICCIONES"), 1);

    // Below 100 (160 in landscape) characters the formula gives 15, which becomes 30.
    banda.apaisado = true;
    memo.setText("");
    f.CabeceraListadoActual.primeraPagina = true;
    f.AjustarCabeceraListado(banda, imprimir);
    EXPECT_EQ(memo.height(), 30);
    EXPECT_FALSE(memo.visible());
    EXPECT_EQ(banda.alto, 60);
}

} // namespace
