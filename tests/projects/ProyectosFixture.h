#pragma once
#include <QCoreApplication>
#include <QDir>
#include "ProyectoMuestra.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "projects/proyectos/Proymodu.h"
#include "tests/data/ModuloFixture.h"
#include "tests/support/Captura.h"
#include <QPointer>

// A company database with the data module and the project data module created, on each
// engine.
class ProyectosMotorTest : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        ModuloMotorTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        CrearMDProyectos();
    }

    void TearDown() override
    {
        LiberarMDProyectos();
        ModuloMotorTest::TearDown();
    }

    // The sample company of ProyectoMuestra.h written to the company database.
    void cargarProyectoMuestra()
    {
        for (const QString &sentencia : SentenciasProyectoMuestra())
            ASSERT_EQ(sql(sentencia), QString()) << sentencia.toStdString();
    }

    // A project; dates as 'yyyy-mm-dd' or NULL.
    void proyecto(const QString &codigo, const QString &aceptacion, const QString &entrega,
                  const QString &finalizacion = QStringLiteral("NULL"))
    {
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO PROYECT (Codigo, Descripcion, FechaAceptacion, FechaEntrega, "
                                     "FechaFinalizacion) VALUES ('%1', 'Proyecto %1', %2, %3, %4)")
                          .arg(codigo, fecha(aceptacion), fecha(entrega), fecha(finalizacion))),
                  QString());
    }

    // A line of a project; the chapter may be NULL.
    void linea(const QString &codigo, int numero, const QString &capitulo, const QString &inicio,
               const QString &fin, double horas, const QString &grado)
    {
        const QString cap = capitulo == QLatin1String("NULL") ? capitulo : u'\'' + capitulo + u'\'';
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, "
                                     "FechaInicio, FechaFinal, TiempoPrevisto, GradoAvance) VALUES ('%1', %2, %3, "
                                     "'Linea %2', %4, %5, %6, '%7')")
                          .arg(codigo)
                          .arg(numero)
                          .arg(cap, fecha(inicio), fecha(fin), QString::number(horas, 'g', 15), grado)),
                  QString());
    }

    // A program window of class F, an MDI child of a frame that stands for the main window.
    template<class F>
    static F *ventanaPrograma()
    {
        // Made again when an earlier case's clean-up has freed it (cases may share one process).
        static QPointer<plat::Form> marco;
        if (!marco) {
            marco = new plat::Form;
            marco->setFormStyle(plat::fsMDIForm);
        }
        plat::application().setMainForm(marco);
        return plat::createForm<F>();
    }

    static void guardarCaptura(QWidget &ventana, const QString &nombre) { GuardarCaptura(ventana, nombre); }

    static QString fecha(const QString &texto)
    {
        return texto == QLatin1String("NULL") ? texto : u'\'' + texto + QStringLiteral(" 00:00:00'");
    }
};
