#include "GENEW/data/modulo/FormulariosMDI.h"

#include "platform/ui/Application.h"
#include "platform/ui/Form.h"

namespace {

plat::Form *marcoPrincipal() { return plat::application().mainForm(); }

template<class Coincide>
plat::Form *buscarHija(Coincide coincide)
{
    const plat::Form *marco = marcoPrincipal();
    if (!marco)
        return nullptr;
    for (int i = marco->mdiChildCount() - 1; i >= 0; --i)
        if (plat::Form *hija = marco->mdiChild(i); hija && coincide(hija->objectName()))
            return hija;
    return nullptr;
}

// A new program window goes down and right of the one made before it, as the class
// library's default position placed them, starting again at the corner every ten.
plat::Form *enCascada(plat::Form *ventana)
{
    const plat::Form *marco = marcoPrincipal();
    if (ventana && marco && ventana->mdiSubWindow()) {
        const int desplazamiento = 24 * ((marco->mdiChildCount() - 1) % 10);
        ventana->mdiSubWindow()->move(desplazamiento, desplazamiento);
    }
    return ventana;
}

} // namespace

plat::Form *BuscarFormularioMDI(const QString &nombre)
{
    return buscarHija([&nombre](const QString &nombreHija) { return nombreHija.section(u'_', 0, 0) == nombre; });
}

bool ExisteFormularioMDI(const QString &nombre)
{
    return buscarHija([&nombre](const QString &nombreHija) { return nombreHija == nombre; }) != nullptr;
}

QString NombreNuevaInstancia(const QString &nombre)
{
    QString candidato = nombre;
    for (int n = 1; plat::application().findForm(candidato); ++n)
        candidato = nombre + u'_' + QString::number(n);
    return candidato;
}

AperturaMDI AbrirVentanaMDI(const QString &nombre, const QString &opciones,
                            const std::function<plat::Form *(const QString &nombreInstancia)> &crear)
{
    plat::Form *abierta = BuscarFormularioMDI(nombre);
    if (opciones.contains(QLatin1String("Create"))) {
        if (abierta)
            abierta->Close();
        return {enCascada(crear(NombreNuevaInstancia(nombre))), QStringLiteral("Create")};
    }
    if (!abierta)
        return {enCascada(crear(NombreNuevaInstancia(nombre))), QStringLiteral("Create")};
    if (abierta->formState() == plat::wsNormal) {
        abierta->Show();
        abierta->BringToFront();
        return {abierta, QStringLiteral("Show")};
    }
    abierta->setFormState(plat::wsNormal);
    abierta->BringToFront();
    abierta->setFocus(Qt::OtherFocusReason);
    return {abierta, QStringLiteral("Restore")};
}
