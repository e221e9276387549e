#include "platform/ui/Application.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Published.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

using namespace plat;

TEST(ApplicationHooks, HintAndActiveFormChanges)
{
    Form first;
    first.afterConstruction();
    auto *button = first.make<Button>(QStringLiteral("pbGrabar"), &first);
    button->setHint(QStringLiteral("Grabar|Graba el registro actual"));
    QStringList hints;
    application().OnHint = [&] { hints << application().hint(); };
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(button, &enter);
    QCoreApplication::sendEvent(button, &enter);   // the same hint is reported once
    application().OnHint = nullptr;
    EXPECT_EQ(hints, QStringList{"Graba el registro actual"});

    Form second;
    second.afterConstruction();
    int changes = 0;
    application().OnActiveFormChange = [&] { ++changes; };
    first.Show();
    QApplication::setActiveWindow(&first);
    EXPECT_EQ(application().activeForm(), &first);
    second.Show();
    QApplication::setActiveWindow(&second);
    EXPECT_EQ(application().activeForm(), &second);
    application().OnActiveFormChange = nullptr;
    EXPECT_GE(changes, 2);
}

// Qt appends a display name it was given to every window's caption ("Calculadora — ..."):
// the program's title is kept apart from it.
TEST(ApplicationHooks, TheTitleIsNoDisplayNameForWindowCaptions)
{
    const QString nombre = QCoreApplication::applicationName();
    application().setTitle(QStringLiteral("Gestión de Proyectos"));
    EXPECT_EQ(application().title(), QStringLiteral("Gestión de Proyectos"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), nombre);
}

TEST(ApplicationHooks, BusyCursorPutsThePreviousCursorBack)
{
    EXPECT_EQ(application().cursor(), crDefault);
    {
        // No window on screen: nothing to show the cursor on.
        BusyCursor busy;
        EXPECT_EQ(application().cursor(), crHourGlass);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        WaitCursor wait;
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    QWidget window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    {
        WaitCursor wait;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        BusyCursor busy;
        EXPECT_EQ(application().cursor(), crHourGlass);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        application().setCursor(crNoDrop);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
    }
    EXPECT_EQ(application().cursor(), crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(ApplicationHooks, TerminateEndsTheLoopAfterTheCurrentEvent)
{
    QStringList order;
    QObject scope;   // the timers die with the test
    QTimer::singleShot(0, &scope, [&] {
        order << "handler";
        application().terminate();
        order << "after terminate";   // the current event goes on to its end
    });
    QTimer::singleShot(2000, &scope, [&] {
        order << "too late";
        QCoreApplication::exit(1);
    });
    const int result = QCoreApplication::exec();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(order, (QStringList{"handler", "after terminate"}));
    EXPECT_TRUE(application().terminated());
}

TEST(CanvasTargets, APrinterPageTakesTheSameDrawing)
{
    gptest::TempDir dir;
    const QString file = dir.file(QStringLiteral("pagina.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        Canvas canvas(&printer);
        canvas.brush().Color = clSilver;
        canvas.Rectangle(100, 100, 1200, 400);
        canvas.brush().Style = bsClear;
        canvas.TextOut(150, 200, QStringLiteral("Listado de Proyectos — Año 2026"));
    }
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
    EXPECT_GT(pdf.size(), 500);
}

TEST(OwnerDrawing, ListsAndPaintBoxesDrawOnTheirCanvas)
{
    ListBox list;
    list.setItems({QStringLiteral("uno"), QStringLiteral("dos")});
    list.setItemIndex(1);
    QList<int> drawn;
    QList<bool> selected;
    list.OnDrawItem = [&](QObject *sender, int index, const QRect &rect, OwnerDrawState state) {
        EXPECT_EQ(sender, &list);
        drawn << index;
        selected << bool(state & odSelected);
        list.canvas()->brush().Color = clYellow;
        list.canvas()->FillRect(rect);
    };
    list.setOwnerDraw(true);
    list.resize(120, 80);
    const QImage shot = list.grab().toImage();
    EXPECT_EQ(drawn, (QList<int>{0, 1}));
    EXPECT_EQ(selected, (QList<bool>{false, true}));
    const QRect first = list.visualItemRect(list.item(0));
    EXPECT_EQ(shot.pixelColor(first.center() + list.viewport()->pos()), QColor(255, 255, 0));

    PaintBox box;
    box.resize(40, 30);
    box.OnPaint = [&](QObject *) {
        box.canvas()->brush().Color = clNavy;
        box.canvas()->pen().Style = psClear;
        box.canvas()->Rectangle(0, 0, 20, 30);
    };
    const QImage painted = box.grab().toImage();
    EXPECT_EQ(painted.pixelColor(19, 29), QColor(0, 0, 0x80));
    EXPECT_NE(painted.pixelColor(20, 29), QColor(0, 0, 0x80));
}

TEST(Pictures, ImagesFromFilesAndFromTheProgramsResources)
{
    gptest::TempDir dir;
    QImage red(8, 6, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(dir.file(QStringLiteral("LOGO.BMP")), "BMP"));
    ASSERT_TRUE(red.save(dir.file(QStringLiteral("foto.jpg")), "JPEG"));
    Image image;
    EXPECT_TRUE(image.LoadFromFile(dir.file(QStringLiteral("LOGO.BMP"))));
    EXPECT_EQ(image.picture().size(), QSize(8, 6));
    EXPECT_TRUE(image.LoadFromFile(dir.file(QStringLiteral("foto.jpg"))));
    EXPECT_FALSE(image.LoadFromFile(dir.file(QStringLiteral("no-existe.bmp"))));
    EXPECT_EQ(image.picture().size(), QSize(8, 6)) << "a failed load keeps the picture";

    {
        const Gancho<PictureProvider>::Instalacion pictures(pictureProviderHook(), [](const QString &name) {
            QPixmap p(name == QLatin1String("EUROPTS") ? 16 : 0, 16);
            p.fill(Qt::blue);
            return p;
        });
        EXPECT_TRUE(image.LoadFromResource(QStringLiteral("EUROPTS")));
        EXPECT_EQ(image.picture().size(), QSize(16, 16));
        EXPECT_FALSE(image.LoadFromResource(QStringLiteral("DESCONOCIDA")));
    }
    EXPECT_FALSE(image.LoadFromResource(QStringLiteral("EUROPTS")));

    // Stretched, the picture fills the control.
    image.setStretch(true);
    image.resize(40, 20);
    EXPECT_EQ(image.grab().toImage().pixelColor(39, 19), QColor(Qt::blue));
}

TEST(ControlEvents, KeysEnterExitAndPropertiesByName)
{
    Form form;
    form.afterConstruction();
    auto *edit = form.make<Edit>(QStringLiteral("Edit1"), &form);
    auto *other = form.make<Edit>(QStringLiteral("Edit2"), &form);
    other->move(0, 40);
    QStringList log;
    edit->OnEnter = [&](QObject *) { log << "enter"; };
    edit->OnExit = [&](QObject *) { log << "exit"; };
    edit->OnKeyDown = [&](QObject *, int &key, ShiftState) {
        if (key == VK_F2) {
            log << "F2";
            key = 0;
        }
    };
    form.Show();
    QApplication::setActiveWindow(&form);
    edit->SetFocus();
    QTest::keyClick(edit, Qt::Key_F2);
    other->SetFocus();
    EXPECT_EQ(log, (QStringList{"enter", "F2", "exit"}));

    EXPECT_TRUE(writeProperty(edit, QStringLiteral("Visible"), false));
    EXPECT_TRUE(edit->isHidden());
    EXPECT_TRUE(writeProperty(edit, QStringLiteral("Color"), clYellow));
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_TRUE(writeProperty(edit, QStringLiteral("Text"), QStringLiteral("Código")));
    EXPECT_EQ(readProperty(edit, QStringLiteral("Text")).toString(), "Código");
    EXPECT_TRUE(hasProperty(edit, QStringLiteral("EditMask")));
    auto *label = form.make<Label>(QStringLiteral("Label1"), &form);
    EXPECT_TRUE(writeProperty(label, QStringLiteral("Caption"), QStringLiteral("Descripción")));
    EXPECT_EQ(label->text(), "Descripción");
    EXPECT_EQ(Control::of(label), static_cast<Control *>(label));
}

TEST(ControlEvents, SpinButtonsHaveAClickForEachArrow)
{
    SpinButton spin;
    int up = 0, down = 0;
    spin.OnUpClick = [&](QObject *) { ++up; };
    spin.OnDownClick = [&](QObject *) { ++down; };
    spin.resize(20, 30);
    spin.show();
    QTest::mouseClick(spin.upButton(), Qt::LeftButton);
    QTest::mouseClick(spin.upButton(), Qt::LeftButton);
    QTest::mouseClick(spin.downButton(), Qt::LeftButton);
    EXPECT_EQ(up, 2);
    EXPECT_EQ(down, 1);
    EXPECT_EQ(spin.upButton()->focusPolicy(), Qt::NoFocus);
}
