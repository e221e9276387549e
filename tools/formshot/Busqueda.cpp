// The two record-search forms over a started program: a company database of a folder of
// its own with a table of customers, searched as a user would.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/ventanas/GENEBUSA.h"
#include "GENEW/data/ventanas/GENEBUSQ.h"

namespace {

using formshot::programaIniciado;

// The standard form showing its answer: with a filter the search runs as it is shown.
plat::Form *busquedaEstandar(bool personalizar)
{
    if (!programaIniciado())
        return nullptr;
    fGENEBUSQ = plat::createForm<TfGENEBUSQ>();
    fGENEBUSQ->resize(720, 460);
    fGENEBUSQ->Tabla = QStringLiteral("CLIENTES");
    fGENEBUSQ->Filtro = QStringLiteral("Saldo >= 0");
    fGENEBUSQ->CamposVisibles = QStringLiteral("*");   // the memo column too
    fGENEBUSQ->pbPersonalizarBusqueda->setDownState(personalizar);
    return fGENEBUSQ;
}

plat::Form *busquedaAproximada()
{
    if (!programaIniciado())
        return nullptr;
    fGENEBUSA = plat::createForm<TfGENEBUSA>();
    fGENEBUSA->prepararBusqueda(QStringLiteral("CLIENTES"));
    fGENEBUSA->ValueListEditor->setValue(QStringLiteral("Nombre"), QStringLiteral("garc"));
    fGENEBUSA->pbBuscar->click();
    return fGENEBUSA;
}

const bool registrados =
    formshot::registerForm({QStringLiteral("busqueda"), QStringLiteral("búsqueda de registros con su respuesta"),
                            [](const QString &) { return busquedaEstandar(false); }})
    && formshot::registerForm({QStringLiteral("busqueda-personalizar"),
                               QStringLiteral("búsqueda de registros con el panel de personalización"),
                               [](const QString &) { return busquedaEstandar(true); }})
    && formshot::registerForm({QStringLiteral("busqueda-aproximada"),
                               QStringLiteral("búsqueda por aproximación, un valor por columna"),
                               [](const QString &) { return busquedaAproximada(); }});

} // namespace
