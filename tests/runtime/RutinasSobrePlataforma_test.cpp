#include "GENEW/runtime/comun/RutinasComponentes.h"
#include "GENEW/runtime/comun/RutinasTipos.h"
#include "platform/data/ClientDataSet.h"
#include "platform/ui/Application.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Control.h"
#include "platform/ui/Form.h"

#include <QLineEdit>
#include <gtest/gtest.h>

// The common routines reach fields, forms, controls and colours of the platform through the
// interfaces the platform implements.

using namespace plat;

namespace {

// A form that publishes the search handler the routines call by name.
class SearchForm : public Form
{
    Q_OBJECT
public:
    SearchForm()
    {
        setObjectName(QStringLiteral("fSEARCH"));
        edit = make<QLineEdit>(QStringLiteral("EditCodigo"), this);
    }
    QLineEdit *edit;
    QList<QObject *> calls;

public slots:
    void BuscarDatosDBEdit(QObject *Sender) { calls.append(Sender); }
};

class PlainForm : public Form
{
    Q_OBJECT
public:
    PlainForm() { setObjectName(QStringLiteral("fPLAIN")); }
};

} // namespace

TEST(CommonRoutinesFields, DefaultWidthsForTheCommonRoutines)
{
    ClientDataSet ds{"Datos"};
    ds.setFieldDefs({fieldDef("Nombre", ftString, 5), fieldDef("Activo", ftBoolean)});
    ds.createDataSet();
    ds.append();
    EXPECT_EQ(AnchoPorDefectoCampo(ds.fieldByName("Nombre")), 5);   // a string's size
    EXPECT_EQ(AnchoPorDefectoCampo(ds.fieldByName("Activo")), 5);
    ds.fieldByName("Nombre").displayWidth = 12;
    EXPECT_EQ(AnchoPorDefectoCampo(ds.fieldByName("Nombre")), 12);
}

TEST(CanvasColours, TheProgramsSpanishColourNamesDrawTheirColour)
{
    Bitmap bitmap(4, 2);
    Canvas &canvas = bitmap.canvas();
    canvas.pen().Style = psClear;
    canvas.brush().Color = TextoAColor(QStringLiteral("Azul Marino"));
    canvas.Rectangle(0, 0, 2, 2);
    canvas.brush().Color = InterpretarColor(QStringLiteral("Rojo"));
    canvas.Rectangle(2, 0, 4, 2);
    EXPECT_EQ(bitmap.image().pixelColor(1, 1), QColor(0, 0, 128));
    EXPECT_EQ(bitmap.image().pixelColor(3, 1), QColor(255, 0, 0));
    EXPECT_EQ(ColorATexto(fromQColor(QColor(0, 0, 128))), "Azul Marino");
}

TEST(CommonRoutines, SeeTheFormsComponentsAndTheMainForm)
{
    auto *main = createForm<PlainForm>();
    application().setMainForm(main);
    main->resize(640, 480);
    std::unique_ptr<SearchForm> form(createForm<SearchForm>());
    form->make<QLineEdit>(QStringLiteral("Edit2"), form.get());
    // The form's own list, in creation order, is what BuscarComponente walks.
    EXPECT_EQ(BuscarComponente(*form, QStringLiteral("EDITCODIGO")), form->edit);
    EXPECT_EQ(form->numeroComponentes(), 2);
    ASSERT_NE(formularioPrincipal(), nullptr);
    EXPECT_EQ(formularioPrincipal()->tamano(), QSize(640, 480));
    EXPECT_TRUE(EjecutarMetodoPorNombre(form.get(), QStringLiteral("BuscarDatosDBEdit"), form->edit));
    EXPECT_EQ(form->calls.size(), 1);

    // A control is placed within its parent.
    form->resize(300, 100);
    form->edit->resize(100, 20);
    WidgetPlacement placement(form->edit);
    PosicionarControl(placement, QStringLiteral("Centro"));
    EXPECT_EQ(form->edit->pos(), QPoint(100, 40));
    main->Free();
}

#include "RutinasSobrePlataforma_test.moc"
