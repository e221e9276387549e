#include "GENEW/reporting/IconosHerramientas.h"

#include "platform/ui/Controls.h"

#include <QApplication>
#include <QHash>
#include <QStyle>

namespace {

// A picture of the system's style, or one of the program's own (a resource name).
struct Icono
{
    QStyle::StandardPixmap estandar = QStyle::SP_CustomBase;
    const char *propio = nullptr;
};

const QHash<QString, Icono> &Iconos()
{
    static const QHash<QString, Icono> iconos = {
        {QStringLiteral("pbEjecutar"), {QStyle::SP_MediaPlay}},
        {QStringLiteral("pbModificar"), {QStyle::SP_CustomBase, "modificar"}},
        {QStringLiteral("pbImprimir"), {QStyle::SP_CustomBase, "imprimir"}},
        {QStringLiteral("pbImprimirApaisado"), {QStyle::SP_CustomBase, "imprimir-apaisado"}},
        {QStringLiteral("pbExportar"), {QStyle::SP_CustomBase, "exportar"}},
        {QStringLiteral("pbImportar"), {QStyle::SP_CustomBase, "importar"}},
        {QStringLiteral("pbExportarExcel"), {QStyle::SP_CustomBase, "excel"}},
        {QStringLiteral("pbGrafico"), {QStyle::SP_CustomBase, "grafico"}},
        {QStringLiteral("pbGuardarFiltro"), {QStyle::SP_DialogSaveButton}},
        {QStringLiteral("pbGuardar"), {QStyle::SP_DialogSaveButton}},
        {QStringLiteral("pbGuardarCambios"), {QStyle::SP_DialogSaveButton}},
        {QStringLiteral("pbGuardarFiltroComo"), {QStyle::SP_CustomBase, "guardar-como"}},
        {QStringLiteral("pbGuardarComo"), {QStyle::SP_CustomBase, "guardar-como"}},
        {QStringLiteral("pbEliminarFiltro"), {QStyle::SP_TrashIcon}},
        {QStringLiteral("pbEliminar"), {QStyle::SP_TrashIcon}},
        {QStringLiteral("pbCambioDatabase"), {QStyle::SP_DriveHDIcon}},
        {QStringLiteral("pbCambiarFont"), {QStyle::SP_CustomBase, "letra"}},
        {QStringLiteral("pbRefrescar"), {QStyle::SP_BrowserReload}},
        {QStringLiteral("pbZoom"), {QStyle::SP_TitleBarMaxButton}},
        {QStringLiteral("pbRestringirAUsuarios"), {QStyle::SP_CustomBase, "usuarios"}},
        {QStringLiteral("pbPersonalizarMenu"), {QStyle::SP_CustomBase, "menu"}},
        {QStringLiteral("pbCopiarConfiguracion"), {QStyle::SP_CustomBase, "copiar-configuracion"}},
        {QStringLiteral("pbCopiarAOtrasEmpresas"), {QStyle::SP_CustomBase, "empresas"}},
        {QStringLiteral("pbBuscar"), {QStyle::SP_CustomBase, "buscar"}},
        {QStringLiteral("pbNuevo"), {QStyle::SP_FileIcon}},
        {QStringLiteral("pbValidarInforme"), {QStyle::SP_DialogApplyButton}},
        {QStringLiteral("pbSalir"), {QStyle::SP_DialogCloseButton}},
    };
    return iconos;
}

} // namespace

QIcon IconoHerramienta(const QString &nombreBoton)
{
    const auto i = Iconos().constFind(nombreBoton);
    if (i == Iconos().cend())
        return {};
    if (i->propio)
        return QIcon(QStringLiteral(":/herramientas/") + QLatin1String(i->propio) + QStringLiteral(".svg"));
    return QApplication::style()->standardIcon(i->estandar);
}

void PonerIconoHerramienta(plat::SpeedButton &boton)
{
    boton.setIcon(IconoHerramienta(boton.objectName()));
    boton.setIconSize(QSize(20, 20));
    boton.setCaption(QString());
}
