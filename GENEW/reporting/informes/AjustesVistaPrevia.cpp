#include "GENEW/reporting/informes/AjustesVistaPrevia.h"

#include "GENEW/data/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/data/DataSetComponents.h"

#include <algorithm>

QString ParametroGeneralVistaPrevia(const QString &campo)
{
    if (!ModuloDatos)
        return QString();
    const plat::TableDataSet &parametros = ModuloDatos->ParamGenerales->table();
    const plat::Field *valor = parametros.active() && !parametros.isEmpty() ? parametros.findField(campo) : nullptr;
    return valor ? valor->asString() : QString();
}

ZoomInicialVistaPrevia LeerZoomInicial(const QString &formato)
{
    if (formato == QLatin1String("Pagina Completa"))
        return {ZoomInicialVistaPrevia::PaginaCompleta, 100};
    if (formato == QLatin1String("Ancho Ajustado"))
        return {ZoomInicialVistaPrevia::AnchoAjustado, 100};
    bool entero = false;
    const int porcentaje = formato.trimmed().toInt(&entero);
    return {ZoomInicialVistaPrevia::Porcentaje,
            entero ? std::clamp(porcentaje, kZoomMinimoVistaPrevia, kZoomMaximoVistaPrevia) : 100};
}

DialogoGrabar::DialogoGrabar(plat::SaveDialog &dialogo, const QString &fichero, const QString &filtro,
                             const QString &titulo)
    : dialogo_(dialogo), ajustes_(dialogo)
{
    dialogo.Title = titulo;
    dialogo.FileName = fichero;
    dialogo.Filter = filtro;
    dialogo.FilterIndex = 1;
    dialogo.DefaultExt.clear();   // the command appends its own extension
}

bool DialogoGrabar::ejecutar()
{
    return dialogo_.Execute();
}

QString DialogoGrabar::fichero() const
{
    return dialogo_.FileName;
}

int DialogoGrabar::filtroElegido() const
{
    return dialogo_.FilterIndex;
}

QString ConExtension(const QString &fichero, const QString &extension)
{
    return fichero.endsWith(extension, Qt::CaseInsensitive) ? fichero : fichero + extension;
}
