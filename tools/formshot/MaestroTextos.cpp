// The texts master inside the main window, on a started program (its own temporary
// folder, SQLite), browsing a text and with a new one being entered.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "app/PROYMENU.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Application.h"
#include "projects/GENEMTEX.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

plat::Form *maestroTextos(bool alta)
{
    static QTemporaryDir carpeta;
    QDir::setCurrent(carpeta.path());
    QFile::copy(QStringLiteral(GP_DATA_DIR "/DATABASE.TXT"),
                carpeta.filePath(QStringLiteral("DATABASE.TXT")));
    QFile ajustes(carpeta.filePath(QStringLiteral("KORVEL.INI")));
    if (ajustes.open(QIODevice::WriteOnly))
        ajustes.write("[Configuración]\r\nAspectoAplicacion=evo+\r\n");
    ajustes.close();
    TfGENEINIC::ArgumentosArranque = {QStringLiteral("U=ADMIN")};
    auto *inicio = new TfGENEINIC;
    inicio->afterConstruction();
    if (inicio->ArranqueFallido || !inicio->CrearBaseDatosEmpresa(1))
        return nullptr;
    inicio->ConectarBaseDatosEmpresa(1);
    inicio->Conexiones().EmpresaActual = 1;
    auto *modulo = plat::createDataModule<TModuloDatos>();

    auto *ventana = plat::createForm<TfPROYMENU>();
    ventana->OnShow = nullptr;
    ventana->setCaption(QStringLiteral("Gestión de Proyectos: EMP1"));
    plat::application().setMainForm(ventana);
    ventana->Show();
    auto *textos = plat::openForm<TfGENEMTEX>(QStringLiteral("fGENEMTEX"));
    plat::TableDataSet &t = textos->Table1->table();
    t.append();
    t.fieldByName(QStringLiteral("Codigo")).setValue(QStringLiteral("ACTA"));
    t.fieldByName(QStringLiteral("Descripcion")).setValue(QStringLiteral("Acta de recepción de obra"));
    t.fieldByName(QStringLiteral("Texto")).setValue(
        QStringLiteral("Cliente: \r\nFecha de recepción: \r\nObservaciones: "));
    t.fieldByName(QStringLiteral("Tipo")).setValue(QStringLiteral("Plantilla"));
    t.post();
    t.first();
    if (alta)
        textos->AgregarClick(textos);
    QObject::connect(ventana, &QObject::destroyed, [inicio, modulo] {
        modulo->Free();
        delete inicio;
        plat::Session::defaultSession().closeAll();
    });
    return ventana;
}

const bool registrado =
    formshot::registerForm({QStringLiteral("maestro-textos"), QStringLiteral("el maestro de textos en la ventana principal"),
                            [](const QString &) { return maestroTextos(false); }})
    && formshot::registerForm({QStringLiteral("maestro-textos-alta"),
                               QStringLiteral("el maestro de textos con un texto nuevo en curso"),
                               [](const QString &) { return maestroTextos(true); }});

} // namespace
