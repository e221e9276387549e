#pragma once
#include "ProyectoMuestra.h"
#include "ProyectosFixture.h"

#include "projects/proyectos/PROYPROY.h"

#include <QPointer>

// The project window over the sample company, on project "1", at a size of its own and with
// nothing said yet; it goes before the program does.
class VentanaProyectoMuestraTest : public ProyectosMotorTest
{
protected:
    void SetUp() override
    {
        ProyectosMotorTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        cargarProyectoMuestra();
        if (HasFatalFailure())
            return;
        ventana_ = ventanaPrograma<TfPROYPROY>();
        ventana_->setBounds(0, 0, 900, 600);
        cabecera().locate(QStringLiteral("Codigo"), QStringLiteral("1"));
        mensajes_.limpiar();
    }

    void TearDown() override
    {
        delete ventana_.data();
        ProyectosMotorTest::TearDown();
    }

    plat::DataSet &cabecera() { return ventana_->Table1->dataSet(); }
    plat::DataSet &lineas() { return ventana_->Table2->dataSet(); }

    QPointer<TfPROYPROY> ventana_;
};
