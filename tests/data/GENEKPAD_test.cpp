#include "GENEW/data/ventanas/GENEKPAD.h"

#include "platform/data/ClientDataSet.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSource.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

// A target form with two edit boxes and a grid over the fields N (integer) and F (float).
class TecladoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        datos_.setFieldDefs({plat::fieldDef(QStringLiteral("N"), ftInteger), plat::fieldDef(QStringLiteral("F"), ftFloat)});
        datos_.createDataSet();
        for (int n : {1, 2}) {
            datos_.append();
            datos_.fieldByName(QStringLiteral("N")).setValue(n);
            datos_.fieldByName(QStringLiteral("F")).setValue(12.0);
            datos_.post();
        }
        destino_ = plat::createForm<plat::Form>();
        destino_->setObjectName(QStringLiteral("fDESTINO"));
        destino_->resize(400, 300);
        edit1_ = destino_->make<plat::Edit>(QStringLiteral("Edit1"), destino_);
        edit1_->setBounds(8, 8, 100, 24);
        edit2_ = destino_->make<plat::Edit>(QStringLiteral("Edit2"), destino_);
        edit2_->setBounds(8, 40, 100, 24);
        auto *fuente = destino_->make<plat::DataSource>(QStringLiteral("DataSource1"), destino_);
        fuente->setDataSet(&datos_);
        rejilla_ = destino_->make<plat::DBGrid>(QStringLiteral("Rejilla"), destino_);
        rejilla_->setBounds(8, 72, 380, 200);
        rejilla_->setDataSource(fuente);
        destino_->Show();
        teclado_ = static_cast<TfGENEKPAD *>(CrearTecladoNumerico(edit1_));
    }
    void TearDown() override
    {
        teclado_->Free();
        destino_->Free();
    }

    void pulsar(std::initializer_list<plat::Panel *> botones)
    {
        for (plat::Panel *b : botones)
            teclado_->BotonClick(b);
    }

    plat::ClientDataSet datos_{QStringLiteral("Datos")};
    plat::Form *destino_ = nullptr;
    plat::Edit *edit1_ = nullptr;
    plat::Edit *edit2_ = nullptr;
    plat::DBGrid *rejilla_ = nullptr;
    TfGENEKPAD *teclado_ = nullptr;
};

TEST_F(TecladoTest, ItIsAFixedToolWindowThatTakesNoFocus)
{
    EXPECT_EQ(teclado_->FormularioDestino, destino_);
    EXPECT_EQ(teclado_->size(), QSize(208, 258));
    EXPECT_TRUE(teclado_->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_EQ(teclado_->findChildren<plat::Panel *>().size(), 17);
    EXPECT_EQ(teclado_->btMas->height(), 102);   // two cells high
    EXPECT_EQ(teclado_->bt0->width(), 102);      // two cells wide
}

TEST_F(TecladoTest, ButtonsTypeIntoTheActiveEditBox)
{
    destino_->setActiveControl(edit1_);
    edit1_->setText(QStringLiteral("98"));
    edit1_->setCursorPosition(0);
    auto *t = teclado_;
    pulsar({t->btBorrar, t->bt1, t->btComa, t->bt5});
    EXPECT_EQ(edit1_->text(), QStringLiteral("91,5"));
    EXPECT_EQ(edit1_->cursorPosition(), 4);
    EXPECT_FALSE(edit1_->hasSelectedText());
    pulsar({t->btIntro});
    EXPECT_EQ(destino_->activeControl(), edit2_);
    EXPECT_EQ(edit1_->text(), QStringLiteral("91,5"));
}

TEST_F(TecladoTest, ACommaInAGridWaitsForTheNextDigit)
{
    destino_->setActiveControl(rejilla_);
    datos_.first();
    rejilla_->setSelectedIndex(1);
    auto *t = teclado_;
    pulsar({t->btComa});
    EXPECT_EQ(t->ComaPendiente, QStringLiteral(","));
    EXPECT_DOUBLE_EQ(datos_.fieldByName(QStringLiteral("F")).asFloat(), 12.0);
    pulsar({t->bt5});
    EXPECT_DOUBLE_EQ(datos_.fieldByName(QStringLiteral("F")).asFloat(), 12.5);
    EXPECT_TRUE(t->ComaPendiente.isEmpty());
    pulsar({t->btBorrar});
    EXPECT_DOUBLE_EQ(datos_.fieldByName(QStringLiteral("F")).asFloat(), 12.0);
}

TEST_F(TecladoTest, IntroMovesAcrossTheColumnsAndAppendsAfterTheLastRow)
{
    destino_->setActiveControl(rejilla_);
    datos_.last();
    rejilla_->setSelectedIndex(0);
    auto *t = teclado_;
    pulsar({t->btIntro});
    EXPECT_EQ(rejilla_->selectedIndex(), 1);
    EXPECT_EQ(datos_.state(), plat::DataSetState::Browse);
    pulsar({t->btIntro});
    EXPECT_EQ(datos_.state(), plat::DataSetState::Insert);
    EXPECT_EQ(rejilla_->selectedIndex(), 0);
    pulsar({t->bt7, t->btIntro, t->btIntro});   // types 7, moves to F, then posts and appends
    EXPECT_EQ(datos_.state(), plat::DataSetState::Insert);
    EXPECT_EQ(datos_.recordCount(), 3);
}

} // namespace
