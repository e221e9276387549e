#include "GENEW/data/modulo/VentanasModulo.h"
#include "GENEW/data/ventanas/GENECPRO.h"
#include "GENEW/data/ventanas/GENEDETA.h"
#include "GENEW/data/ventanas/GENEMLIS.h"
#include "GENEW/data/ventanas/GENEPROG.h"
#include "GENEW/data/ventanas/GENESELE.h"
#include "GENEW/data/ventanas/GENEVLIS.h"
#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "platform/ui/Controls.h"

namespace {

class VentanasModuloDatos final : public VentanasModulo
{
public:
    QString SeleccionarDeLista(const QString &opciones, const QString &lista) override
    {
        return ::SeleccionarDeLista(opciones, lista);
    }
    QString MostrarListaDatos(const QString &opciones, const QString &datos) override
    {
        return ::MostrarListaDatos(opciones, datos);
    }
    QString MostrarVisorDatos(const QString &opciones, const QString &datos) override
    {
        return ::MostrarVisorDatos(opciones, datos);
    }
    void MostrarCamposRegistro(plat::DataSet &dataSet) override { ::MostrarCamposRegistro(dataSet); }
    void MostrarCamposUsuario(plat::DataSet &dataSet) override { ::MostrarCamposUsuario(dataSet); }
    void MostrarProgreso(const QString &modo, const QString &titulo, const QString &texto) override
    {
        ::MostrarProgreso(modo, titulo, texto);
    }
    void MostrarDetalle(const QString &texto, const QString &titulo, const QString &opciones) override
    {
        ::MostrarDetalle(texto, titulo, opciones);
    }
    QVariant BuscarRegistroConFiltroYDato(const QString &tabla, int indice, const QString &filtro,
                                          const QString &dato) override
    {
        return ::BuscarRegistroConFiltroYDato(tabla, indice, filtro, dato);
    }

    bool HayListado() const override { return fGENECPRO != nullptr; }
    void AbrirListado(plat::DataSet &dataSet, const QString &prefijoFormato, const QString &titulo,
                      const QString &opciones) override
    {
        if (fGENECPRO)
            fGENECPRO->AbrirListado(dataSet, prefijoFormato, titulo, opciones);
    }
    plat::SpeedButton *BotonTablaLogicaListado() override
    {
        return fGENECPRO ? fGENECPRO->findChild<plat::SpeedButton *>(QStringLiteral("pbActivarTablaLogica")) : nullptr;
    }
};

} // namespace

VentanasModulo &ventanasDelPrograma()
{
    static VentanasModuloDatos ventanas;
    return ventanas;
}
