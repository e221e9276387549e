// The memo-field editor on a record's notes and the about box.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/ventanas/GENEACER.h"
#include "GENEW/data/ventanas/GENEVMEM.h"
#include "platform/data/ClientDataSet.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSource.h"

namespace {

plat::Form *editorMemo()
{
    auto *f = plat::createForm<TfGENEVMEM>();
    // The record lives as long as the form.
    auto *notas = new plat::ClientDataSet(QStringLiteral("Notas"));
    QObject::connect(f, &QObject::destroyed, [notas] { delete notas; });
    notas->setFieldDefs({plat::fieldDef(QStringLiteral("Observaciones"), ftMemo)});
    notas->createDataSet();
    notas->append();
    notas->fieldByName(QStringLiteral("Observaciones"))
        .setAsString(QStringLiteral("Revisión de la cimentación: añadir zapata en el eje 3.\r\n"
                                    "Pedir camión grúa para el miércoles.\r\nÚltima visita: 05/03/2024"));
    notas->post();
    f->setCaption(QStringLiteral("Visualizar/Asignar Campo de Texto (Observaciones)"));
    f->DataSource1->setDataSet(notas);
    f->DBMemo->setDataSource(f->DataSource1);
    f->DBMemo->setDataField(QStringLiteral("Observaciones"));
    return f;
}

bool registrar()
{
    formshot::registerForm({QStringLiteral("visor-memo"), QStringLiteral("el editor de un campo de texto largo"),
                            [](const QString &) { return editorMemo(); }});
    return formshot::registerForm({QStringLiteral("acerca-de"), QStringLiteral("la ventana Acerca de"),
                                   [](const QString &) {
                                       auto *f = plat::createForm<TfGENEACER>();
                                       f->setCaption(QStringLiteral("Acerca de Gestión de Proyectos"));
                                       f->NombreProducto->setCaption(QStringLiteral("Gestión de Proyectos"));
                                       return f;
                                   }});
}

const bool registrado = registrar();

} // namespace
