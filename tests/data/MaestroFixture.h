#pragma once
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "tests/data/ModuloFixture.h"

#include <QApplication>
#include <QFile>
#include <QPointer>

// Record windows of the master-form pattern inside a main window's MDI area, on a started
// program, with test tables of their own added to the structure definitions and engine
// triggers that make a table refuse writes (another user's lock).
class MaestroFixture : public ModuloMotorTest
{
protected:
    // Definitions of the test tables, appended to the program's.
    virtual QString definicionesPropias() const { return QString(); }

    void SetUp() override
    {
        marco_ = new plat::Form();
        marco_->setFormStyle(plat::fsMDIForm);
        plat::application().setMainForm(marco_);
        marco_->Show();
        // Focus moves only inside the active window.
        QApplication::setActiveWindow(marco_);
        ModuloFixture::SetUp();
        QFile definiciones(dir_.file(QStringLiteral("DATABASE.TXT")));
        ASSERT_TRUE(definiciones.open(QIODevice::Append));
        definiciones.write(("\r\n" + definicionesPropias()).toUtf8());
        definiciones.close();
        if (!prepararMotor(GetParam()))
            GTEST_SKIP() << "no PostgreSQL test server";
    }

    void TearDown() override
    {
        delete ventana_.data();
        ModuloMotorTest::TearDown();
        plat::application().setMainForm(nullptr);
        delete marco_;
    }

    // Opens window F as the program does (created, then shown in the MDI area).
    template<class F, class... Args>
    F &abrirVentana(Args &&...args)
    {
        auto *f = new F(std::forward<Args>(args)...);
        ventana_ = f;
        f->afterConstruction();
        return *f;
    }

    QPointer<plat::Form> ventana_;
    plat::Form *marco_ = nullptr;
};
