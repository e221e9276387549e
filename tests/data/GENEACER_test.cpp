// The about box is as wide as its caption and its lines need, so that neither a window
// manager's title bar nor a label cuts them.
#include "GENEW/data/GENEACER.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

class AcercaDeTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (acerca_)
            acerca_->Free();
    }

    TfGENEACER &abrir(const QString &programa)
    {
        acerca_ = plat::createForm<TfGENEACER>();
        acerca_->setCaption(QStringLiteral("Acerca de ") + programa);
        acerca_->NombreProducto->setCaption(programa);
        acerca_->Show();
        return *acerca_;
    }

    // The caption's own width in the bold face title bars use.
    static int anchoTitulo(const TfGENEACER &f)
    {
        QFont negrita = f.font();
        negrita.setBold(true);
        return QFontMetrics(negrita).horizontalAdvance(f.caption());
    }

    static void sinCortes(const plat::Label &l)
    {
        EXPECT_GE(l.width(), QFontMetrics(l.font()).horizontalAdvance(l.caption()))
            << l.objectName().toStdString() << ": " << l.caption().toStdString();
    }

    TfGENEACER *acerca_ = nullptr;
};

TEST_F(AcercaDeTest, TheBoxWidensForItsCaptionAndLinesAndStaysCentredWhereItWasPlaced)
{
    for (const QString &programa : {QStringLiteral("Gestión de Proyectos"),
                                    QStringLiteral("Gestión de Proyectos y Presupuestos de Obra Civil Pública")}) {
        SCOPED_TRACE(programa.toStdString());
        TfGENEACER &f = abrir(programa);
        // The title bar draws the caption beside the window's icon and buttons.
        const int barra = QFontMetrics(f.font()).height();
        EXPECT_GE(f.width(), anchoTitulo(f) + 3 * barra);
        EXPECT_EQ(f.width(), f.anchoNecesario());
        for (const plat::Label *l : {f.NombreProducto, f.Version, f.Copyright, f.DireccionEMail})
            sinCortes(*l);
        // A caption changed while shown widens it about its centre.
        const int centro = f.left() + f.width() / 2;
        f.setCaption(f.caption() + QStringLiteral(" — edición de evaluación para centros de formación"));
        EXPECT_GE(f.width(), anchoTitulo(f) + 3 * barra);
        EXPECT_LE(std::abs(f.left() + f.width() / 2 - centro), 1);
        acerca_->Free();
        acerca_ = nullptr;
    }
}

} // namespace
