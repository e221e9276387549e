#include "GENEW/data/ventanas/GENECALC.h"

#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

class CalculadoraTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        calc_ = plat::createForm<TfGENECALC>();
        calc_->DuracionPulsacion = 0;
    }
    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        calc_->Free();
    }

    // The keys clicked: each character names the key panel the keyboard table gives it.
    void pulsar(const QString &teclas)
    {
        static const QHash<QChar, QString> palabras{
            {u'+', QStringLiteral("Sumar")},        {u'-', QStringLiteral("Restar")},
            {u'x', QStringLiteral("Multiplicar")}, {u'/', QStringLiteral("Dividir")},
            {u'=', QStringLiteral("Igual")},       {u',', QStringLiteral("PuntoDecimal")},
            {u'C', QStringLiteral("PonerACero")},  {u'E', QStringLiteral("Euro")},
            {u'P', QStringLiteral("Pesetas")}};
        for (QChar c : teclas) {
            plat::Panel *tecla = calc_->Tecla(c.isDigit() ? QString(c) : palabras.value(c));
            ASSERT_NE(tecla, nullptr) << QString(c).toStdString();
            calc_->TeclaClick(tecla);
        }
    }

    static QKeyEvent *evento(QChar c)
    {
        const int tecla = c == u'\b' ? Qt::Key_Backspace : c == u'\r' ? Qt::Key_Return : c.toUpper().unicode();
        return new QKeyEvent(QEvent::KeyPress, tecla, Qt::NoModifier, c == u'\b' ? QString() : QString(c));
    }

    // The same keys typed on the keyboard.
    void teclear(const QString &teclas)
    {
        for (QChar c : teclas) {
            std::unique_ptr<QKeyEvent> e(evento(c));
            QCoreApplication::sendEvent(calc_, e.get());
        }
    }

    QString display() const { return calc_->Display->caption(); }

    TfGENECALC *calc_ = nullptr;
};

struct Caso
{
    const char *clicks;    // by the key panels
    const char *teclado;   // the same by the keyboard
    const char *esperado;
};

const Caso kCasos[] = {
    {"5+3=", "5+3=", "8"},
    {"5+3=2", "5+3\r2", "2"},          // a digit after "=" starts a new number
    {"5+3x2=", "5+3*2=", "16"},        // the pending addition is worked out first
    {"5+-", "5+-", "Error"},           // the second operator finds no second operand
    {"10/0=", "10/0=", "Error"},
    {"10/0=7", "10/0=7", "7"},
    {"1000E", "1000e", "6,01"},
    {"1000EP", "1000Ep", "999,98"},    // the rounded euro value converted back
    {"2,5x2=", "2.5X2=", "5"},
    {"0,,5", "0,.5", "0,5"},
    {"12C", "12c", "0"},
    {"7/2=", "7/2=", "3,5"},
};

TEST_F(CalculadoraTest, KeysByClickAndByKeyboardGiveTheSameDisplay)
{
    for (const Caso &c : kCasos) {
        pulsar(QStringLiteral("C"));
        pulsar(QString::fromUtf8(c.clicks));
        EXPECT_EQ(display(), QString::fromUtf8(c.esperado)) << "clicks " << c.clicks;
        pulsar(QStringLiteral("C"));
        teclear(QString::fromUtf8(c.teclado));
        EXPECT_EQ(display(), QString::fromUtf8(c.esperado)) << "keyboard " << c.teclado;
    }
}

TEST_F(CalculadoraTest, BackspaceRemovesTheLastCharacterDownToZero)
{
    const struct
    {
        const char *teclas;
        const char *esperado;
    } casos[] = {{"7\b", "0"}, {"123\b", "12"}, {"5+-\b", "0"}, {"1,\b", "1"}};
    for (const auto &c : casos) {
        pulsar(QStringLiteral("C"));
        teclear(QString::fromUtf8(c.teclas));
        EXPECT_EQ(display(), QString::fromUtf8(c.esperado)) << c.teclas;
    }
}

TEST_F(CalculadoraTest, KeysTypedDuringAPressApplyInTheirOrder)
{
    calc_->DuracionPulsacion = 75;
    QCoreApplication::postEvent(calc_, evento(u'1'));
    QCoreApplication::postEvent(calc_, evento(u'2'));
    QElapsedTimer reloj;
    reloj.start();
    while (reloj.elapsed() < 500 && display() != QLatin1String("12"))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(display(), QStringLiteral("12"));
}

TEST_F(CalculadoraTest, ClosingKeepsTheResultAndTheWindowForTheNextUse)
{
    plat::application().OnModalShown = [this](plat::Form &) {
        pulsar(QStringLiteral("x2="));
        calc_->TeclaClick(calc_->Tecla(QStringLiteral("Apagar")));
    };
    EXPECT_DOUBLE_EQ(calc_->Calcular(QStringLiteral("12,5")), 25.0);
    EXPECT_DOUBLE_EQ(calc_->Resultado, 25.0);
    EXPECT_FALSE(calc_->isVisible());

    // Esc closes too; a display that is no number gives 0.
    plat::application().OnModalShown = [this](plat::Form &) {
        pulsar(QStringLiteral("1/0="));
        teclear(QStringLiteral("o"));
    };
    EXPECT_DOUBLE_EQ(calc_->Calcular(QStringLiteral("3")), 0.0);
}

} // namespace
