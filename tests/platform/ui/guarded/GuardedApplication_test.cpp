// The program's QApplication catches what escapes a plain Qt slot: this test has a main of
// its own because the guarded application must be the process's QApplication.
#include "platform/ui/Application.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace plat;

TEST(GuardedApplication, AnExceptionFromAPlainSlotReachesTheHandler)
{
    QList<QObject *> senders;
    QStringList texts;
    application().OnException = [&](QObject *sender, const std::exception &e) {
        senders << sender;
        texts << QString::fromUtf8(e.what());
    };
    QPushButton button(QStringLiteral("Grabar"));
    QObject::connect(&button, &QPushButton::clicked, [] { throw gp::Error(QStringLiteral("Key violation")); });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    ASSERT_EQ(texts, QStringList{"Key violation"});
    EXPECT_EQ(senders.value(0), &button);

    // A timer's slot too; the process goes on and the event loop keeps running.
    QTimer::singleShot(0, [] { throw std::runtime_error("Table is busy"); });
    QTimer::singleShot(10, [] { QCoreApplication::exit(7); });
    EXPECT_EQ(QCoreApplication::exec(), 7);
    EXPECT_EQ(texts.value(1), "Table is busy");
    application().OnException = nullptr;
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    GuardedApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
