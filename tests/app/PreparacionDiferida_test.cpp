#include "app/PreparacionDiferida.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

// A window that counts its paints.
class Ventana : public QWidget
{
public:
    Ventana() { resize(200, 100); }
    int pinturas = 0;

protected:
    void paintEvent(QPaintEvent *) override
    {
        ++pinturas;
        QPainter(this).fillRect(rect(), Qt::white);
    }
};

// A widget that notes, when input reaches it, how many times the steps had run.
class Receptor : public QWidget
{
public:
    explicit Receptor(const int &corridas) : corridas_(corridas) { resize(50, 50); }
    int alTeclear = -1;
    int alPulsar = -1;

protected:
    void keyPressEvent(QKeyEvent *) override { alTeclear = corridas_; }
    void mousePressEvent(QMouseEvent *) override { alPulsar = corridas_; }

private:
    const int &corridas_;
};

bool esperar(const std::function<bool()> &condicion, int milisegundos = 5000)
{
    QElapsedTimer reloj;
    reloj.start();
    while (!condicion() && reloj.elapsed() < milisegundos)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condicion();
}

void procesarUnRato(int milisegundos = 150)
{
    esperar([] { return false; }, milisegundos);
}

constexpr int kSinPlazo = 60000;

// Another window's paint leaves them waiting; the window's own first paint runs them, once.
TEST(PreparacionDiferida, LosPasosEsperanALaPrimeraPinturaDeLaVentanaYCorrenUnaVez)
{
    Ventana ventana;
    Ventana otra;
    int corridas = 0;
    int pinturasAlCorrer = -1;
    PreparacionDiferida preparacion(ventana, kSinPlazo);
    preparacion.anadir([&] {
        ++corridas;
        pinturasAlCorrer = ventana.pinturas;
    });
    otra.show();
    ASSERT_TRUE(esperar([&] { return otra.pinturas > 0; }));
    procesarUnRato();
    EXPECT_EQ(corridas, 0);
    EXPECT_TRUE(preparacion.pendiente());

    ventana.show();
    ASSERT_TRUE(esperar([&] { return corridas > 0; }));
    EXPECT_GE(pinturasAlCorrer, 1);   // after the paint, never before
    EXPECT_FALSE(preparacion.pendiente());

    ventana.update();
    ASSERT_TRUE(esperar([&] { return ventana.pinturas > pinturasAlCorrer; }));
    procesarUnRato();
    EXPECT_EQ(corridas, 1);
}

TEST(PreparacionDiferida, UnaTeclaOUnClicEnCualquierVentanaLosCorreAntesDeLlegarle)
{
    Ventana principal;   // never shown: only the input can bring the steps forward
    int corridas = 0;
    Receptor receptor(corridas);
    {
        PreparacionDiferida preparacion(principal, kSinPlazo);
        preparacion.anadir([&] { ++corridas; });
        // The release of a key pressed before (the log-in prompt's Return) leaves them waiting.
        QTest::keyRelease(&receptor, Qt::Key_Return);
        EXPECT_EQ(corridas, 0);
        EXPECT_TRUE(preparacion.pendiente());
        QTest::keyClick(&receptor, Qt::Key_F3);
        EXPECT_EQ(receptor.alTeclear, 1);
        EXPECT_FALSE(preparacion.pendiente());
    }
    corridas = 0;
    {
        PreparacionDiferida preparacion(principal, kSinPlazo);
        preparacion.anadir([&] { ++corridas; });
        QTest::mouseClick(&receptor, Qt::LeftButton);
        EXPECT_EQ(receptor.alPulsar, 1);
    }
    // Gone, it watches nothing more.
    corridas = 7;
    QTest::keyClick(&receptor, Qt::Key_A);
    EXPECT_EQ(receptor.alTeclear, 7);
}

TEST(PreparacionDiferida, CadaPasoCorreUnaVezEnOrdenAunqueUnoPidaLosDemas)
{
    Ventana ventana;
    QStringList orden;
    PreparacionDiferida preparacion(ventana, kSinPlazo);
    preparacion.anadir([&] {
        orden << QStringLiteral("A");
        preparacion.completar();
        orden << QStringLiteral("A fin");
    });
    preparacion.anadir([&] { orden << QStringLiteral("B"); });
    preparacion.anadir([&] { orden << QStringLiteral("C"); });
    preparacion.completar();
    preparacion.completar();
    EXPECT_EQ(orden, QStringList({"A", "B", "C", "A fin"}));
    EXPECT_FALSE(preparacion.pendiente());

    // A step added later waits again, and runs once asked for.
    preparacion.anadir([&] { orden << QStringLiteral("D"); });
    EXPECT_TRUE(preparacion.pendiente());
    preparacion.completar();
    EXPECT_EQ(orden.last(), QStringLiteral("D"));
    EXPECT_EQ(orden.size(), 5);
}

TEST(PreparacionDiferida, UnaVentanaQueNuncaSePintaLosRecibeAlAcabarElPlazo)
{
    Ventana ventana;   // never shown
    int corridas = 0;
    PreparacionDiferida preparacion(ventana, 100);
    preparacion.anadir([&] { ++corridas; });
    EXPECT_EQ(corridas, 0);
    EXPECT_TRUE(esperar([&] { return corridas == 1; }, 3000));
    EXPECT_EQ(ventana.pinturas, 0);
}

} // namespace
