#pragma once
#include "app/ServiciosSesion.h"
#include "app/PROYMENU.h"
#include "tests/runtime/ArranqueFixture.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Plataforma.h"
#include "projects/operarios/Primmodu.h"
#include "projects/proyectos/Proymodu.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <QPointer>
#include <functional>
#include <optional>

// The program as it starts: the start-up form, the session services and the main window,
// in a fresh working folder with the access log on. The session starts when the window is
// shown (mostrar); settings of ADMIN may be written before (usuario).
class SesionFixture : public ArranqueFixture
{
protected:
    void SetUp() override
    {
        ArranqueFixture::SetUp();
        escribir(QStringLiteral("KORVEL.INI"), QStringLiteral("[Configuración]\r\nMonitorizarActividadUsuario=SI\r\n"));
        escribir(QStringLiteral("KORVEL.MAP"),
                 QStringLiteral("AYUDA Gestión_de_Proyectos 15\r\nAYUDA Maestro_de_Proyectos 42\r\n"));
    }

    void TearDown() override
    {
        if (ventana_)
            ventana_->Free();
        LiberarMDPrimas();
        LiberarMDProyectos();
        if (ModuloDatos)
            ModuloDatos->Free();
        servicios_.reset();
        // A refused session asked the application to end: the next test starts with an
        // event loop that runs (the application's exec clears that request).
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
        ArranqueFixture::TearDown();
    }

    // The start-up form, with the session services installed.
    TfGENEINIC &iniciar()
    {
        if (!form_) {
            TfGENEINIC &f = arrancar();
            EXPECT_FALSE(f.ArranqueFallido) << mensajes_.textos().join(u'\n').toStdString();
            servicios_.emplace(f, servicios_sesion::Todos());
        }
        return *form_;
    }

    // Runs statements on the general database before the session, through a data module
    // of their own (which also makes USUARIO and ADMIN).
    void general(const QStringList &sentencias)
    {
        iniciar();
        auto *modulo = plat::createDataModule<TModuloDatos>();
        for (const QString &s : sentencias)
            EXPECT_EQ(modulo->EjecutarSQL(s, QStringLiteral("DatabaseGeneral")), QString()) << s.toStdString();
        modulo->Free();
    }

    void usuario(const QString &columna, const QString &valor)
    {
        general({QStringLiteral("UPDATE USUARIO SET %1 = '%2' WHERE Codigo = 'ADMIN'").arg(columna, valor)});
    }

    // The main window made and shown: the session starts (antes runs between the two).
    TfPROYMENU &mostrar(const std::function<void(TfPROYMENU &)> &antes = {})
    {
        iniciar();
        ventana_ = plat::createForm<TfPROYMENU>();
        fPROYMENU = ventana_;
        plat::application().setMainForm(ventana_);
        if (antes)
            antes(*ventana_);
        ventana_->Show();
        return *ventana_;
    }

    // The access log's lines as action and form name.
    QList<QPair<QString, QString>> registro() const
    {
        QFile f(dir_.file(ObtenerUsuarioWindows() + QStringLiteral(".log")));
        QList<QPair<QString, QString>> lineas;
        if (!f.open(QIODevice::ReadOnly))
            return lineas;
        for (const QString &linea : QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
            const QStringList campos = linea.split(QStringLiteral(", "));
            lineas.append({campos.value(1), campos.value(2)});
        }
        return lineas;
    }

    QStringList avisos() const { return textosDeTipo(QStringLiteral("A")); }

    QPointer<TfPROYMENU> ventana_;
    std::optional<ServiciosSesionInstalados> servicios_;
};
