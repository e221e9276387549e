// The two print-request windows of the projects: project documents, and control ranges with
// the document box on and two open orders listed, on the started sample program.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "projects/gamas/CALILGAM.h"
#include "projects/proyectos/PROYLPRO.h"

namespace {

// Layouts of both document types (made from the definitions on first use), and an MDI frame.
bool preparar()
{
    if (!formshot::programaIniciado())
        return false;
    static const bool hecho = [] {
        plat::TableComponent impreso;
        impreso.setTableName(QStringLiteral("IMPRESO"));
        if (!fGENEINIC->AbrirDataSet(impreso.table()))
            return false;
        for (const char *fila : {"'PR1', 'Documento de proyecto', 'Proyecto'", "'GC1', 'Hoja de gama de control', 'Gama Control'"})
            if (!ModuloDatos
                     ->EjecutarSQL(QStringLiteral("INSERT INTO IMPRESO (Codigo, Descripcion, TipoDocumento) VALUES (%1)")
                                       .arg(QString::fromUtf8(fila)))
                     .isEmpty())
                return false;
        auto *marco = plat::createForm<plat::Form>();
        marco->setFormStyle(plat::fsMDIForm);
        plat::application().setMainForm(marco);
        return true;
    }();
    return hecho;
}

plat::Form *listadoProyectos()
{
    return preparar() ? plat::createForm<TfPROYLPRO>() : nullptr;
}

plat::Form *listadoGamas()
{
    if (!preparar())
        return nullptr;
    DocumentosApertura = QStringLiteral("2024/12\r\n2024/7");
    auto *ventana = plat::createForm<TfCALILGAM>();
    ventana->pbImprimirGamasDocumentos->setChecked(true);
    ventana->pbImprimirGamasDocumentosClick(nullptr);
    return ventana;
}

const bool registrado =
    formshot::registerForm({QStringLiteral("listado-documentos-proyecto"),
                            QStringLiteral("el listado de documentos de proyecto"),
                            [](const QString &) { return listadoProyectos(); }})
    && formshot::registerForm({QStringLiteral("listado-gamas"),
                               QStringLiteral("el listado de gamas de control con dos órdenes en su lista"),
                               [](const QString &) { return listadoGamas(); }});

} // namespace
