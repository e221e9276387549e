// The programmable listing dialog on its selection page, on its filters page with two
// lines and a range, and on its sample grid over the started program's customers.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/ventanas/GENECPRO.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Lists.h"

namespace {

TfGENECPRO *dialogo()
{
    auto *d = plat::createForm<TfGENECPRO>();
    const QStringList campos{QStringLiteral("Codigo"), QStringLiteral("Nombre"), QStringLiteral("Fecha"),
                             QStringLiteral("Importe"), QStringLiteral("Notas")};
    d->LBDisponible->setItems(campos);
    d->LBSeleccionado->setItems({QStringLiteral("Codigo"), QStringLiteral("Nombre"), QStringLiteral("Importe")});
    d->ListaCampos->setItems(campos);
    d->Titulo->setText(QStringLiteral("Listado programable de la tabla LISTA"));
    d->NombreFormato->setItems({QStringLiteral("Cortos")});
    d->NombreFormato->setItemIndex(0);
    d->StringGrid->setRowCount(campos.size() + 1);
    d->StringGrid->setCell(0, 0, QStringLiteral("Campo"));
    d->StringGrid->setCell(1, 0, QStringLiteral("Desde Valor"));
    d->StringGrid->setCell(2, 0, QStringLiteral("Hasta Valor"));
    for (int i = 0; i < campos.size(); ++i)
        d->StringGrid->setCell(0, i + 1, campos[i]);
    d->StringGrid->setCell(2, 3, QStringLiteral("31/03/2024"));
    const auto agregar = [d](int campo, const QString &operador, const QString &valor) {
        d->ListaCampos->setItemIndex(campo);
        d->Operador->setText(operador);
        d->Valor->setText(valor);
        d->pbAgregarClick(d->pbAgregar);
    };
    agregar(0, QStringLiteral(">="), QStringLiteral("5"));
    agregar(1, QStringLiteral("="), QStringLiteral("O'Brien"));
    return d;
}

plat::Form *seleccion(const QString &)
{
    return dialogo();
}

plat::Form *filtros(const QString &)
{
    TfGENECPRO *d = dialogo();
    d->PageControl1->setActivePage(d->PagFiltros);
    return d;
}

plat::Form *rangos(const QString &)
{
    TfGENECPRO *d = dialogo();
    d->PageControl1->setActivePage(d->PagDesdeHasta);
    return d;
}

// Shown before it opens, so the dialog does not wait as a modal window.
plat::Form *ajustar(const QString &)
{
    if (!formshot::programaIniciado())
        return nullptr;
    static plat::TableDataSet clientes;
    clientes.setTableName(QStringLiteral("CLIENTES"));
    if (!ModuloDatos->AbrirTabla(clientes))
        return nullptr;
    auto *d = plat::createForm<TfGENECPRO>();
    d->resize(720, 480);
    d->Show();
    d->AbrirListado(clientes, QString(), QString(), QString());
    d->LBSeleccionado->setItems({QStringLiteral("Codigo"), QStringLiteral("Nombre"), QStringLiteral("FechaAlta"),
                                 QStringLiteral("Saldo")});
    d->PageControl1->setActivePage(d->PagAjustar);
    return d;
}

const bool registrados[] = {
    formshot::registerForm({QStringLiteral("listado-dialogo-seleccion"),
                            QStringLiteral("diálogo del listado programable: selección de campos"), seleccion}),
    formshot::registerForm({QStringLiteral("listado-dialogo-filtros"),
                            QStringLiteral("diálogo del listado programable: dos líneas de filtro"), filtros}),
    formshot::registerForm({QStringLiteral("listado-dialogo-rangos"),
                            QStringLiteral("diálogo del listado programable: un rango Desde-Hasta"), rangos}),
    formshot::registerForm({QStringLiteral("listado-dialogo-ajustar"),
                            QStringLiteral("diálogo del listado programable: la rejilla de muestra de los clientes"),
                            ajustar}),
};

} // namespace
