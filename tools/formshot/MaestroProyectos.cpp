// The project master on the sample project, on each of its pages (the Gantt page with
// the day ticks off).
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Application.h"
#include "projects/PROYPROY.h"
#include "projects/Proymodu.h"
#include "tests/projects/ProyectoMuestra.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct EmpresaProyectos
{
    QTemporaryDir carpeta;
    plat::Session sesion;
    TfGENEINIC *inicio = nullptr;

    bool iniciar()
    {
        QDir::setCurrent(carpeta.path());
        QFile::copy(QStringLiteral(GP_DATA_DIR "/DATABASE.TXT"), carpeta.filePath(QStringLiteral("DATABASE.TXT")));
        TfGENEINIC::ArgumentosArranque = {QStringLiteral("U=ADMIN")};
        inicio = new TfGENEINIC(nullptr, &sesion);
        inicio->afterConstruction();
        if (inicio->ArranqueFallido || !inicio->CrearBaseDatosEmpresa(1))
            return false;
        inicio->ConectarBaseDatosEmpresa(1);
        inicio->Conexiones().EmpresaActual = 1;
        plat::createDataModule<TModuloDatos>();
        CrearMDProyectos();
        for (const QString &sentencia : SentenciasProyectoMuestra())
            ModuloDatos->EjecutarSQL(sentencia);
        return true;
    }
};

plat::Form *maestroProyectos(int pagina)
{
    static auto *empresa = new EmpresaProyectos;
    static const bool iniciada = empresa->iniciar();
    if (!iniciada)
        return nullptr;
    qAddPostRoutine([] {
        LiberarMDProyectos();
        if (ModuloDatos)
            ModuloDatos->Free();
        delete empresa->inicio;
    });
    auto *marco = plat::createForm<plat::Form>();
    marco->setFormStyle(plat::fsMDIForm);
    plat::application().setMainForm(marco);
    marco->resize(1000, 600);
    marco->Show();
    auto *ventana = plat::createForm<TfPROYPROY>();
    ventana->Table1->dataSet().first();
    ventana->setBounds(0, 0, 980, 560);
    ventana->PageControl1->setActivePageIndex(pagina);
    return marco;
}

const bool registrado =
    formshot::registerForm({QStringLiteral("maestro-proyectos"), QStringLiteral("el maestro de proyectos, página General"),
                            [](const QString &) { return maestroProyectos(0); }})
    && formshot::registerForm({QStringLiteral("maestro-proyectos-capitulos"),
                               QStringLiteral("el maestro de proyectos, página de capítulos"),
                               [](const QString &) { return maestroProyectos(1); }})
    && formshot::registerForm({QStringLiteral("maestro-proyectos-grafico"),
                               QStringLiteral("el maestro de proyectos, página del gráfico Gantt"),
                               [](const QString &) { return maestroProyectos(2); }});

} // namespace
