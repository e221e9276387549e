// The main window with two program windows, and the progress window.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/ventanas/GENEPROG.h"
#include "app/PROYMENU.h"
#include "platform/ui/Application.h"
#include "projects/operarios/PRESOPER.h"
#include "projects/proyectos/PROYPROY.h"

namespace {

plat::Form *ventanaPrincipal()
{
    // The window as the session leaves it, without a session of its own.
    auto *ventana = plat::createForm<TfPROYMENU>();
    ventana->OnShow = nullptr;
    ventana->setCaption(QStringLiteral("Gestión de Proyectos: EMP1"));
    plat::application().setMainForm(ventana);
    ventana->Show();
    auto *proyectos = plat::openForm<TfPROYPROY>(QStringLiteral("fPROYPROY"));
    proyectos->setBounds(24, 24, 520, 300);
    auto *operarios = plat::openForm<TfPRESOPER>(QStringLiteral("fPRESOPER"));
    operarios->setBounds(300, 200, 480, 280);
    return ventana;
}

plat::Form *ventanaProgreso()
{
    auto *progreso = plat::createForm<TfGENEPROG>();
    progreso->setCaption(QStringLiteral("Listado de Proyectos"));
    progreso->PonerTexto(QStringLiteral("Leyendo capítulos del proyecto 0042...128"));
    return progreso;
}

const bool registrado =
    formshot::registerForm({QStringLiteral("ventana-principal"),
                            QStringLiteral("la ventana principal con su menú y dos ventanas de programa"),
                            [](const QString &) { return ventanaPrincipal(); }})
    && formshot::registerForm({QStringLiteral("ventana-progreso"), QStringLiteral("la ventana de progreso"),
                               [](const QString &) { return ventanaProgreso(); }});

} // namespace
