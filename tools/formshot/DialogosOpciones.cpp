// The text and selection dialogs and the field viewer in its modes.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/ventanas/GENESELE.h"
#include "GENEW/data/ventanas/GENETEXT.h"
#include "GENEW/data/ventanas/GENEVLIS.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Lists.h"

namespace {

plat::Form *visor(const QString &modo, const QStringList &filas)
{
    ModoVisor = modo;
    auto *f = plat::createForm<TfGENEVLIS>();
    f->StringGrid->setRowCount(int(filas.size()) + 1);
    f->StringGrid->setCell(0, 0, QStringLiteral("Campo"));
    f->StringGrid->setCell(1, 0, QStringLiteral("Valor"));
    for (int i = 0; i < filas.size(); ++i) {
        f->StringGrid->setCell(0, i + 1, filas[i].section(u'=', 0, 0));
        f->StringGrid->setCell(1, i + 1, filas[i].section(u'=', 1));
    }
    return f;
}

bool registrar()
{
    formshot::registerForm({QStringLiteral("editor-textos"), QStringLiteral("el diálogo de texto con unas notas"),
                            [](const QString &) {
                                auto *f = plat::createForm<TfGENETEXT>();
                                f->setCaption(QStringLiteral("Contenido del Campo: Observaciones"));
                                f->Memo1->setText(QStringLiteral("Revisión de la cimentación.\r\nAñadir camión grúa."));
                                return f;
                            }});
    formshot::registerForm({QStringLiteral("seleccion-opciones"), QStringLiteral("el diálogo de selección múltiple"),
                            [](const QString &) {
                                auto *f = plat::createForm<TfGENESELE>();
                                f->setCaption(QStringLiteral("Selección de Categoría"));
                                f->ListBox1->setMultiSelect(true);
                                f->ListBox1->setItems({QStringLiteral("Albañilería"), QStringLiteral("Fontanería"),
                                                       QStringLiteral("Electricidad"), QStringLiteral("Carpintería")});
                                f->ListBox1->setSelected(1, true);
                                f->ListBox1->setSelected(3, true);
                                return f;
                            }});
    formshot::registerForm({QStringLiteral("visor-campos"), QStringLiteral("los campos del registro actual (Ctrl+Z)"),
                            [](const QString &) {
                                return visor(VisorCampos, {QStringLiteral("CodigoProyecto=P-0012"),
                                                           QStringLiteral("DescripcionProyecto=Reforma del almacén"),
                                                           QStringLiteral("FechaInicio=05/03/2024"),
                                                           QStringLiteral("HoraInicio=08:15:00"),
                                                           QStringLiteral("ImportePresupuesto=12.500,00")});
                            }});
    formshot::registerForm({QStringLiteral("visor-campos-usuario"), QStringLiteral("campos de usuario de un registro"),
                            [](const QString &) {
                                return visor(VisorCamposUsuario, {QStringLiteral("ZonaObra=Norte"),
                                                                  QStringLiteral("ResponsableCalidad=Begoña Núñez")});
                            }});
    return formshot::registerForm(
        {QStringLiteral("visor-agregar-datos"), QStringLiteral("diálogo de introducción de datos con un título"),
         [](const QString &) {
             auto *f = visor(VisorAgregarDatos, {QStringLiteral("Datos Generales (*)=TÍTULO"),
                                                 QStringLiteral("Estado=ABIERTO"), QStringLiteral("Notas=primera·segunda")});
             f->setCaption(QStringLiteral("Datos del Parte"));
             return f;
         }});
}

const bool registrado = registrar();

} // namespace
