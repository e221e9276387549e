// The record filter dialog with two conditions, the calculator after a conversion to euros,
// and the on-screen numeric keypad.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/ventanas/GENECALC.h"
#include "GENEW/data/ventanas/GENEFILT.h"
#include "GENEW/data/ventanas/GENEKPAD.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Lists.h"
#include "platform/ui/data/DataControls.h"

namespace {

plat::Form *filtro(const QString &)
{
    auto *f = plat::createForm<TfGENEFILT>();
    f->setCaption(QStringLiteral("Filtrar Registros de la Tabla CLIENTES"));
    f->ListaCampos->setItems({QStringLiteral("Codigo"), QStringLiteral("Nombre"), QStringLiteral("Población")});
    f->EditDescripcionFiltro->addItem(QStringLiteral("Clientes de Cádiz"));
    f->EditDescripcionFiltro->setCurrentIndex(0);
    const auto agregar = [f](const QString &campo, const QString &operador, const QString &valor) {
        f->ListaCampos->setText(campo);
        f->Operador->setText(operador);
        f->Valor->setText(valor);
        f->pbAgregarClick(f->pbAgregar);
    };
    agregar(QStringLiteral("Codigo"), QStringLiteral(">="), QStringLiteral("5"));
    agregar(QStringLiteral("Población"), QStringLiteral("="), QStringLiteral("Cádiz"));
    f->Valor->setText(QStringLiteral("Peñíscola"));
    return f;
}

plat::Form *calculadora(const QString &)
{
    auto *c = plat::createForm<TfGENECALC>();
    c->DuracionPulsacion = 0;
    for (const char *palabra : {"1", "0", "0", "0", "Euro"})
        c->TeclaClick(c->Tecla(QString::fromLatin1(palabra)));
    return c;
}

plat::Form *teclado(const QString &) { return CrearTecladoNumerico(nullptr); }

const bool registrados = formshot::registerForm({QStringLiteral("filtro"),
                                                 QStringLiteral("filtro de registros con dos condiciones"), filtro})
    && formshot::registerForm({QStringLiteral("calculadora"), QStringLiteral("calculadora tras pasar 1000 a euros"),
                               calculadora})
    && formshot::registerForm({QStringLiteral("teclado"), QStringLiteral("teclado numérico en pantalla"), teclado});

} // namespace
