#include "GENEW/reporting/impresos/TablaImpresos.h"

#include "platform/data/TableDataSet.h"

std::optional<RegistroImpreso> LeerRegistroImpreso(plat::TableDataSet &impreso, const QString &codigo)
{
    if (codigo.isEmpty() || !impreso.findKey({codigo}))
        return std::nullopt;
    const auto valor = [&impreso](const char *campo) { return impreso.fieldByName(QLatin1String(campo)).asString(); };
    RegistroImpreso registro;
    registro.Codigo = valor("Codigo");
    registro.Descripcion = valor("Descripcion");
    registro.TipoDocumento = valor("TipoDocumento");
    registro.Modo = valor("Modo");
    registro.Instrucciones = valor("Instrucciones");
    registro.Formato = valor("Formato");
    registro.ImpresoraPorDefecto = valor("ImpresoraPorDefecto");
    return registro;
}

std::function<std::optional<RegistroImpreso>(const QString &)> BuscadorDeImpresos(plat::TableDataSet &impreso)
{
    return [&impreso](const QString &codigo) { return LeerRegistroImpreso(impreso, codigo); };
}
