#include "app/ServiciosSesion.h"

#include "GENEW/data/Genemodu.h"
#include "GENEW/reporting/GENECINF.h"
#include "GENEW/reporting/GENEUINF.h"
#include "GENEW/reporting/GENEUSQL.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/ui/DataModule.h"
#include "platform/ui/Menus.h"

#include <QPointer>

namespace servicios_sesion {

namespace {

constexpr int kTagAnadida = 100;

bool formularioDeCompania(const plat::Form *formulario)
{
    const QString nombre = formulario->objectName();
    if (!nombre.startsWith(QLatin1String("fGE")))
        return true;
    for (const char *deCompania : {"fGENEUSQL", "fGENECINF", "fGENEMTEX", "fGENEUINF"})
        if (nombre.contains(QLatin1String(deCompania)))
            return true;
    return false;
}

plat::MenuItem *buscarPorNombre(plat::MenuItem *raiz, const QString &nombre)
{
    for (plat::MenuItem *item : raiz->items()) {
        if (item->objectName() == nombre)
            return item;
        if (plat::MenuItem *encontrado = buscarPorNombre(item, nombre))
            return encontrado;
    }
    return nullptr;
}

void quitarAnadidas(plat::MenuItem *menu)
{
    for (int i = menu->count() - 1; i >= 0; --i)
        if (menu->item(i)->tag() == kTagAnadida)
            menu->Delete(i);
}

plat::MenuItem *anadir(plat::MenuItem *menu, const QString &titulo, void (TfGENEINIC::*manejador)(QObject *) = nullptr)
{
    auto *item = new plat::MenuItem(titulo, menu);
    item->setTag(kTagAnadida);
    if (manejador)
        item->OnClick = [manejador](QObject *Sender) { (fGENEINIC->*manejador)(Sender); };
    menu->Add(item);
    return item;
}

void anadirLista(plat::MenuItem *menu, const QString &lista)
{
    const QStringList lineas = DividirLineas(lista);
    QStringList elementos;
    for (const QString &linea : lineas)
        if (!linea.isEmpty())
            elementos << linea;
    if (elementos.isEmpty())
        return;
    anadir(menu, QStringLiteral("-"));
    for (const QString &elemento : elementos)
        anadir(menu, elemento, &TfGENEINIC::MenuConsultaInformeClick);
}

} // namespace

void CerrarFormulariosAbiertos()
{
    const plat::Form *principal = plat::application().mainForm();
    QList<QPointer<QObject>> componentes;
    for (QObject *c : plat::application().components())
        componentes << c;
    for (auto it = componentes.rbegin(); it != componentes.rend(); ++it) {
        QObject *componente = *it;
        if (!componente)
            continue;
        if (auto *modulo = qobject_cast<plat::DataModule *>(componente)) {
            modulo->Free();
        } else if (auto *formulario = qobject_cast<plat::Form *>(componente)) {
            if (formulario != principal && formularioDeCompania(formulario))
                formulario->Free();
        }
    }
}

void AnadirInformesPersonalizados(const QString &usuario, const QString &programa, plat::MainMenu *menu)
{
    if (!menu || !ModuloDatos)
        return;
    plat::MenuItem *adicional = buscarPorNombre(menu->Items(), QStringLiteral("Adicional1"));
    plat::MenuItem *informes = buscarPorNombre(menu->Items(), QStringLiteral("Informes1"));
    for (plat::MenuItem *m : {adicional, informes})
        if (m)
            quitarAnadidas(m);
    if (adicional)
        anadirLista(adicional, ModuloDatos->ListaConsultasSQL(usuario, programa, QStringLiteral("ConsultasSQL")));
    if (informes) {
        anadir(informes, QStringLiteral("-"));
        anadir(informes, QStringLiteral("Configuración de Informes Personalizados"), &TfGENEINIC::ConfigurarInformesClick);
        anadirLista(informes, ModuloDatos->ListaConsultasSQL(usuario, programa, QStringLiteral("GeneradorInformes")));
    }
    if (QObject *ventana = menu->parent())
        fGENEINIC->TraducirFormulario(ventana);
}

void MenuConsultaInformeClick(QObject *Sender)
{
    const auto *item = qobject_cast<const plat::MenuItem *>(Sender);
    if (!item || !ModuloDatos)
        return;
    QString titulo = item->caption();
    if (const qsizetype ampersand = titulo.indexOf(u'&'); ampersand >= 0)
        titulo.remove(ampersand, 1);
    if (const plat::Form *principal = plat::application().mainForm()) {
        for (int i = principal->mdiChildCount() - 1; i >= 0; --i)
            if (plat::Form *hija = principal->mdiChild(i); hija && hija->caption() == titulo)
                hija->Close();
    }
    const plat::MenuItem *padre = item->parentItem();
    if (padre && padre->objectName() == QLatin1String("Informes1")) {
        NombreInforme = titulo;
        plat::openForm<TfGENEUINF>(NombreNuevaInstancia(QStringLiteral("fGENEUINF")));
        ModuloDatos->RegistrarAccesoFormulario(fGENEUINF, QStringLiteral("Create"));
    } else if (padre && padre->objectName() == QLatin1String("Adicional1")) {
        plat::openForm<TfGENEUSQL>(NombreNuevaInstancia(QStringLiteral("fGENEUSQL")));
        ModuloDatos->RegistrarAccesoFormulario(fGENEUSQL, QStringLiteral("Create"));
        fGENEUSQL->CargaConsulta(titulo);
    }
}

void ConfigurarInformesClick(QObject *Sender)
{
    if (!ModuloDatos)
        return;
    const QString usuario = fGENEINIC->UsuarioActual;
    if (!ModuloDatos->EsAdministrador(usuario))
        return;
    const QString nivel = ModuloDatos->NivelAccesoPrograma(usuario, ModuloDatos->RutaMenu(Sender));
    if (nivel == QLatin1String("Total") || nivel == QLatin1String("Solo Lectura"))
        ModuloDatos->AbrirFormularioMDI(fGENECINF, QStringLiteral("fGENECINF"));
}

void RegistrarLiberacionFormulario(plat::Form *liberado)
{
    if (ModuloDatos && liberado && liberado->formStyle() == plat::fsMDIChild)
        ModuloDatos->RegistrarAccesoFormulario(liberado, QStringLiteral("Free"));
}

ServiciosSesion Todos()
{
    ServiciosSesion s;
    s.cerrarFormulariosAbiertos = CerrarFormulariosAbiertos;
    s.anadirInformesPersonalizados = AnadirInformesPersonalizados;
    s.menuConsultaInformeClick = MenuConsultaInformeClick;
    s.configurarInformesClick = ConfigurarInformesClick;
    s.registrarLiberacionFormulario = RegistrarLiberacionFormulario;
    return s;
}

ServiciosPrevisualizacion Previsualizacion()
{
    // Over the framework's part: keys, the restrictions header and the Excel export stay.
    ServiciosPrevisualizacion s = TfGENEPREV::ServiciosDelMarco();
    s.ImprimirInforme = [](plat::PreparedReport &informe, const QString &destino) {
        if (ModuloDatos)
            ModuloDatos->ImprimirInforme(informe, destino);
    };
    s.EjecutarDialogoImpresora = [](plat::PreparedReport &informe) {
        return ModuloDatos && ModuloDatos->EjecutarDialogoImpresora(informe);
    };
    s.MostrarAyuda = [](int contexto) { fGENEINIC->MostrarAyuda(contexto); };
    return s;
}

} // namespace servicios_sesion
