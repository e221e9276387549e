#include "app/PROYMENU.h"
#include "app/PreparacionDiferida.h"

#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "GENEW/data/ventanas/GENEACER.h"
#include "GENEW/data/ventanas/GENEPARA.h"
#include "GENEW/data/servicios/NombreEmpresaInforme.h"
#include "GENEW/reporting/GENECSQL.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/ImagenesPrograma.h"
#include "GENEW/runtime/ServiciosExternos.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasComponentes.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "projects/gamas/CALIGAMA.h"
#include "projects/comun/GENEMTEX.h"
#include "projects/operarios/PRESIOPE.h"
#include "projects/operarios/PRESOPER.h"
#include "projects/proyectos/PROYCPRO.h"
#include "projects/proyectos/PROYNTEC.h"
#include "projects/proyectos/PROYPROY.h"
#include "projects/proyectos/PROYVERS.h"
#include "projects/operarios/Primmodu.h"
#include "projects/proyectos/Proymodu.h"

#include <QDir>
#include <QEvent>
#include <QMdiArea>
#include <QScopeGuard>
#include <QUrl>
#include <QVBoxLayout>

#include <utility>

TfPROYMENU *fPROYMENU = nullptr;

namespace {

const QString kTotal = QStringLiteral("Total");
const QString kSoloLectura = QStringLiteral("Solo Lectura");

bool conAcceso(const QString &nivel) { return nivel == kTotal || nivel == kSoloLectura; }

// A refusal while the session starts: its warning, and the program ends.
void rechazarSesion(const QString &texto)
{
    MensajeAviso(texto);
    plat::application().terminate();
}

} // namespace

TfPROYMENU::TfPROYMENU(QWidget *parent) : plat::Form(parent), trasPintar_(std::make_unique<PreparacionDiferida>(*this))
{
    setObjectName(QStringLiteral("fPROYMENU"));
    setFormStyle(plat::fsMDIForm);
    setCaption(QStringLiteral("Gestión de Proyectos"));
    setFormState(plat::wsMaximized);

    Image1 = make<plat::Image>(QStringLiteral("Image1"), this);
    Image1->setStretch(true);
    Image1->hide();   // drawn as the MDI area's background, made when the area is first painted

    IrAPaginaWeb = make<plat::Label>(QStringLiteral("IrAPaginaWeb"), this);
    IrAPaginaWeb->setAlignment(plat::taCenter);
    QFont courier(QStringLiteral("Courier New"), 10);
    courier.setBold(true);
    IrAPaginaWeb->setFont(courier);
    IrAPaginaWeb->setCursor(Qt::PointingHandCursor);
    IrAPaginaWeb->hide();   // until the show gives it an address: its font is not loaded before
    if (auto *caja = qobject_cast<QVBoxLayout *>(layout()))
        caja->addWidget(IrAPaginaWeb);

    PanelLogotipo = make<plat::Panel>(QStringLiteral("PanelLogotipo"), mdiArea());
    PanelLogotipo->setGeometry(0, 0, 160, 120);
    PanelLogotipo->hide();
    ImagenLogotipo = make<plat::Image>(QStringLiteral("ImagenLogotipo"), PanelLogotipo);
    ImagenLogotipo->setStretch(true);
    ImagenLogotipo->setCenter(true);

    PanelMoneda = make<plat::Panel>(QStringLiteral("PanelMoneda"), mdiArea());
    PanelMoneda->setGeometry(0, 0, 64, 48);
    PanelMoneda->setCaption(QStringLiteral("€"));
    PanelMoneda->setFont(QFont(QStringLiteral("Tahoma"), 36, QFont::Bold));
    PanelMoneda->setColor(plat::clGray);
    PanelMoneda->setFontColor(plat::clNavy);
    PanelMoneda->hide();

    Empresa = make<plat::TableComponent>(QStringLiteral("Empresa"), this);
    Empresa->setTableName(QStringLiteral("EMPRESA"));

    crearMenu();
    mdiArea()->viewport()->installEventFilter(this);

    OnCreate = plat::handler(this, &TfPROYMENU::FormCreate);
    OnShow = plat::handler(this, &TfPROYMENU::FormShow);
    OnActivate = plat::handler(this, &TfPROYMENU::FormActivate);
    OnKeyDown = plat::handler(this, &TfPROYMENU::FormKeyDown);
    OnClose = plat::handler(this, &TfPROYMENU::FormClose);
    OnResize = plat::handler(this, &TfPROYMENU::FormResize);
    ImagenLogotipo->OnClick = plat::handler(this, &TfPROYMENU::ImagenLogotipoClick);
    IrAPaginaWeb->OnClick = plat::handler(this, &TfPROYMENU::IrAPaginaWebClick);
}

TfPROYMENU::~TfPROYMENU()
{
    plat::application().OnActiveFormChange = nullptr;
    plat::application().OnFormRelease = nullptr;
    if (fPROYMENU == this)
        fPROYMENU = nullptr;
}

plat::MenuItem *TfPROYMENU::entrada(plat::MenuItem *menu, const QString &nombre, const QString &titulo,
                                   void (TfPROYMENU::*manejador)(QObject *))
{
    auto *item = make<plat::MenuItem>(nombre, this);
    item->setCaption(titulo);
    if (manejador)
        item->OnClick = [this, manejador](QObject *Sender) { (this->*manejador)(Sender); };
    menu->Add(item);
    return item;
}

void TfPROYMENU::crearMenu()
{
    MainMenu1 = make<plat::MainMenu>(QStringLiteral("MainMenu1"), this);
    plat::MenuItem *barra = MainMenu1->Items();
    const auto u = [](const char *texto) { return QString::fromUtf8(texto); };

    BaseDatos1 = entrada(barra, u("BaseDatos1"), u("&Base Datos"));
    CambioEmpresa1 = entrada(BaseDatos1, u("CambioEmpresa1"), u("&Cambio Empresa"), &TfPROYMENU::CambioEmpresa1Click);
    CambioEmpresa1->setEnabled(false);
    ConsultasSQL1 = entrada(BaseDatos1, u("ConsultasSQL1"), u("Consultas S&QL"), &TfPROYMENU::ConsultasSQL1Click);
    Salir1 = entrada(BaseDatos1, u("Salir1"), u("&Salir"), &TfPROYMENU::SalirAplicacion);

    Tablas1 = entrada(barra, u("Tablas1"), u("&Tablas"));
    Parametros1 = entrada(Tablas1, u("Parametros1"), u("&Parámetros"));
    Globales1 = entrada(Parametros1, u("Globales1"), u("&Globales"), &TfPROYMENU::Globales1Click);
    MaestrodeTextos1 = entrada(Tablas1, u("MaestrodeTextos1"), u("Maestro de Textos"), &TfPROYMENU::MaestrodeTextos1Click);
    MaestrodeOperarios1 = entrada(Tablas1, u("MaestrodeOperarios1"), u("Maestro de &Operarios"),
                                  &TfPROYMENU::MaestrodeOperarios1Click);
    MaestrodeProyectos1 = entrada(Tablas1, u("MaestrodeProyectos1"), u("Maestro de &Proyectos"),
                                  &TfPROYMENU::MaestrodeProyectos1Click);
    MaestrodeGamasdeControl1 = entrada(Tablas1, u("MaestrodeGamasdeControl1"), u("Maestro de &Gamas de Control"),
                                       &TfPROYMENU::MaestrodeGamasdeControl1Click);

    Procesos1 = entrada(barra, u("Procesos1"), u("&Procesos"));
    IntroduccindeNotasTcnicas1 = entrada(Procesos1, u("IntroduccindeNotasTcnicas1"), u("Introducción de &Notas Técnicas"),
                                         &TfPROYMENU::IntroduccindeNotasTcnicas1Click);
    NotificacionesdeCambiosdeVersin1 =
        entrada(Procesos1, u("NotificacionesdeCambiosdeVersin1"), u("Notificaciones de Cambios de &Versión"),
                &TfPROYMENU::NotificacionesdeCambiosdeVersin1Click);

    Informes1 = entrada(barra, u("Informes1"), u("&Informes"));
    ConsultadeProyectos1 = entrada(Informes1, u("ConsultadeProyectos1"), u("Consulta de &Proyectos"),
                                   &TfPROYMENU::ConsultadeProyectos1Click);

    Utilidades1 = entrada(barra, u("Utilidades1"), u("&Utilidades"));
    IntercambiodeCdigosdeOperarios1 =
        entrada(Utilidades1, u("IntercambiodeCdigosdeOperarios1"), u("Intercambio de Códigos de Operarios"),
                &TfPROYMENU::IntercambiodeCdigosdeOperarios1Click);

    Adicional1 = entrada(barra, u("Adicional1"), u("A&dicional"));
    AplicacionesEspeciales1 = entrada(Adicional1, u("AplicacionesEspeciales1"), u("&Aplicaciones Especiales"),
                                      &TfPROYMENU::AplicacionesEspeciales1Click);
    VerDatosenMonedaNacionalOEuro =
        entrada(Adicional1, u("VerDatosenMonedaNacionalOEuro"), u("&Ver Datos en Moneda Nacional/Euro"),
                &TfPROYMENU::VerDatosenMonedaNacionalOEuroClick);
    VerDatosenMonedaNacionalOEuro->setShortCut(plat::ShortCut('E', plat::ssCtrl));
    VerDatosenMonedaNacionalOEuro->setVisible(false);

    Ventana1 = entrada(barra, u("Ventana1"), u("&Ventana"));
    OrganizarIconos1 = entrada(Ventana1, u("OrganizarIconos1"), u("&Organizar Iconos"), &TfPROYMENU::OrganizarIconos1Click);

    Ayuda1 = entrada(barra, u("Ayuda1"), u("&Ayuda"), &TfPROYMENU::Ayuda1Click);
    IndicedeAyuda = entrada(Ayuda1, u("IndicedeAyuda"), u("&Indice de Ayuda"), &TfPROYMENU::IndicedeAyudaClick);
    AyudadeMenu = entrada(Ayuda1, u("AyudadeMenu"), u("&Ayuda de Menu"), &TfPROYMENU::AyudadeMenuClick);
    AyudadeMenu->setShortCut(plat::ShortCut(plat::VK_F1, {}));
    Ayudade = entrada(Ayuda1, u("Ayudade"), u("&Ayuda de ..."), &TfPROYMENU::AyudadeClick);
    LoNuevoDeMenu = entrada(Ayuda1, u("LoNuevoDeMenu"), u("Lo Nuevo de ..."), &TfPROYMENU::LoNuevoDeMenuClick);
    AcercadeMenu = entrada(Ayuda1, u("AcercadeMenu"), u("A&cerca de ..."), &TfPROYMENU::AcercadeMenuClick);

    setMenu(MainMenu1);
    setWindowMenu(Ventana1);
}

// ---- session values ------------------------------------------------------------------------

QString TfPROYMENU::usuario() const { return fGENEINIC->UsuarioActual; }
int TfPROYMENU::empresaActual() const { return fGENEINIC->Conexiones().EmpresaActual; }
void TfPROYMENU::ponerEmpresaActual(int codigo) { fGENEINIC->Conexiones().EmpresaActual = codigo; }

// ---- creation and the start of the session --------------------------------------------------

void TfPROYMENU::FormCreate(QObject *)
{
    setBounds(0, 0, 1024, 768);
    nombrePrograma_ = caption();
    plat::application().OnActiveFormChange = [this] { CambioFormularioActivo(); };
    primeraActivacion_ = true;
    plat::application().OnFormRelease = [](plat::Form *liberado) {
        if (fGENEINIC)
            fGENEINIC->RegistrarLiberacionFormulario(liberado);
    };
}

void TfPROYMENU::CambioFormularioActivo()
{
    if (plat::Form *hija = activeMdiChild())
        hija->update();
}

void TfPROYMENU::FormShow(QObject *Sender)
{
    fGENEINIC->PrepararFormulario(this);
    if (Sender && !iniciarSesion())
        return;
    CambioEmpresa1->setEnabled(true);
    ConsultasSQL1->setEnabled(true);
    IrAPaginaWeb->setCaption(fGENEINIC->Configuracion.direccionWeb);
    IrAPaginaWeb->setVisible(!IrAPaginaWeb->caption().isEmpty());
}

bool TfPROYMENU::iniciarSesion()
{
    iniciandoSesion_ = true;
    const auto iniciada = qScopeGuard([this] { iniciandoSesion_ = false; });
    CrearModulosDatos();
    QString codigo = usuario();
    if (!ModuloDatos->IdentificarUsuario(codigo)) {
        rechazarSesion(QStringLiteral("No ha sido posible iniciar la aplicación (3). Póngase en contacto con su distribuidor."));
        return false;
    }
    if (!conAcceso(ModuloDatos->NivelAccesoPrograma(usuario(), nombrePrograma_))) {
        rechazarSesion(QStringLiteral("No ha sido posible iniciar la aplicación (4). Póngase en contacto con su distribuidor."));
        return false;
    }
    if (!abrirTablaEmpresa()) {
        rechazarSesion(QStringLiteral("No ha sido posible crear la empresa."));
        return false;
    }

    ponerEmpresaActual(0);
    const QString empresas =
        ModuloDatos->LeerConfiguracionUsuario(ModuloDatos->UsuarioConfiguracion(usuario()), QStringLiteral("Empresas"));
    if (!empresas.isEmpty()) {
        ponerEmpresaActual(empresas.section(u'\r', 0, 0).trimmed().toInt());
        // A company database the server will not make is a setting to mend, not a right the
        // user lacks: the start ends naming it.
        if (const QString motivo = AbrirEmpresa(); !motivo.isEmpty()) {
            fGENEINIC->MostrarMensaje(QStringLiteral("E"), QStringLiteral("¡Imposible iniciar la aplicación!. Motivo: ") + motivo);
            plat::application().terminate();
            return false;
        }
    }
    if (empresaActual() == 0) {
        rechazarSesion(QStringLiteral("¡Ud. no tiene acceso a ninguna empresa!"));
        return false;
    }

    const ParametrosKorvel &parametros = fGENEINIC->Configuracion.parametros;
    if (!parametros.DesactivarDiagnostico
        && ModuloDatos->LeerConfiguracionUsuario(usuario(), QStringLiteral("DiagnosticoBaseDatosActivado"),
                                                 QStringLiteral("NO"))
               == QLatin1String("SI"))
        fGENEINIC->MostrarDiagnostico(QStringLiteral("MotorBaseDatos"));
    fGENEINIC->LanzarMensajeria(this, QStringLiteral("Modo=Inicio"));
    ModuloDatos->RegistrarAccesoFormulario(this, QStringLiteral("Start,Show"));
    return true;
}

bool TfPROYMENU::abrirTablaEmpresa()
{
    plat::TableDataSet &tabla = Empresa->table();
    tabla.close();
    tabla.setDatabaseName(fGENEINIC->DatabaseGeneral().databaseName());
    tabla.setConnection(&fGENEINIC->DatabaseGeneral());
    const auto abrir = [&tabla] {
        try {
            tabla.open();
            return true;
        } catch (const gp::Abort &) {
            throw;
        } catch (const gp::Error &) {
            return false;
        }
    };
    if (abrir())
        return true;
    // Creation answers false for a table that exists: a program starting at the same moment
    // may have made it, with its company 1, since the opening above. Opening again tells.
    DataSetAbribleDe<plat::TableDataSet> abrible(tabla, objectName());
    fGENEINIC->CrearTablaDataSet(abrible);
    return abrir();
}

TModuloDatos::EstadoVistaMoneda TfPROYMENU::estadoVistaMoneda() const
{
    TModuloDatos::EstadoVistaMoneda estado;
    if (plat::Form *activo = activeMdiChild() ? activeMdiChild() : plat::application().activeForm()) {
        if (const QObject *boton = activo->findComponent(QStringLiteral("pbEuro"))) {
            estado.hayBotonEuro = true;
            estado.botonEuroPulsado = boton->property("Down").toBool();
        }
    }
    estado.menuOtraMoneda = VerDatosenMonedaNacionalOEuro->checked();
    return estado;
}

void TfPROYMENU::CrearModulosDatos()
{
    {
        const bool antes = std::exchange(TModuloDatos::DiferirTablasAuxiliares, true);
        const auto restaurar = qScopeGuard([antes] { TModuloDatos::DiferirTablasAuxiliares = antes; });
        plat::createDataModule<TModuloDatos>();
    }
    if (ModuloDatos->tablasAuxiliaresPendientes())
        trasPintar_->anadir([] {
            if (ModuloDatos)
                ModuloDatos->AbrirTablasAuxiliares();
        });
    using VistaMoneda = decltype(TModuloDatos::VistaMonedaActual);
    const QPointer<TfPROYMENU> ventana(this);
    ModuloDatos->ConservarInstalacion(std::make_shared<VistaMoneda::Instalacion>(
        ModuloDatos->VistaMonedaActual,
        [ventana] { return ventana ? ventana->estadoVistaMoneda() : TModuloDatos::EstadoVistaMoneda{}; }));
    VerDatosenMonedaNacionalOEuro->setChecked(true);
    VerDatosenMonedaNacionalOEuroClick(VerDatosenMonedaNacionalOEuro);
    if (empresaActual() == 0)
        return;
    // At the session's start only the user's programs reach the projects' and bonuses' modules,
    // and they wait for the steps after the first paint.
    if (iniciandoSesion_) {
        const QPointer<TfPROYMENU> ventana(this);
        trasPintar_->anadir([ventana] {
            if (ventana && ventana->empresaActual() != 0 && !MDProyectos) {
                CrearMDProyectos();
                CrearMDPrimas();
            }
        });
        return;
    }
    CrearMDProyectos();
    CrearMDPrimas();
}

QString TfPROYMENU::AbrirEmpresa()
{
    const int codigo = empresaActual();
    // The code is looked up before anything is freed: a code missing from EMPRESA, or a
    // company whose database folder cannot be made, is a company the user may not open, and
    // the session stays on the company it had.
    bool existe = false;
    try {
        existe = Empresa->table().active() && Empresa->table().locate(QStringLiteral("Codigo"), codigo);
    } catch (const gp::Error &) {
    }
    QString motivo;
    if (!existe || !ModuloDatos->UsuarioAccedeEmpresa(usuario(), codigo)
        || !fGENEINIC->PrepararBaseDatosEmpresa(codigo, &motivo)) {
        ponerEmpresaActual(0);
        return motivo;
    }
    fGENEINIC->CerrarFormulariosAbiertos();

    const plat::TableDataSet &empresa = Empresa->table();
    nombreEmpresa_ = empresa.fieldByName(QStringLiteral("Nombre")).asString();
    if (!empresaAbierta_)
        empresaAbierta_.emplace(ganchoNombreEmpresaAbierta(), [this] { return nombreEmpresa_; });
    const QString logotipo = empresa.fieldByName(QStringLiteral("Logotipo")).asString();
    if (!logotipo.isEmpty())
        fGENEINIC->NombreArchivoLogo = logotipo;
    setCaption(nombrePrograma_ + QStringLiteral(": ") + empresa.fieldByName(QStringLiteral("Abreviatura")).asString());
    if (fGENEINIC->Configuracion.parametros.VisualizarLogoEmpresaEnMenu) {
        const bool cargado = ImagenLogotipo->LoadFromFile(
            QDir(fGENEINIC->Configuracion.directorioTrabajo).absoluteFilePath(fGENEINIC->NombreArchivoLogo));
        PanelLogotipo->setVisible(cargado);
        colocarPaneles();
    }
    try {
        fGENEINIC->ConectarBaseDatosEmpresa(codigo);
    } catch (...) {
        // The session never stays without its data module.
        CrearModulosDatos();
        throw;
    }
    CrearModulosDatos();
    // The reports' entries sit in menus nobody has opened yet: at the session's start they are
    // added after the first paint, unless the window is translated with them.
    if (iniciandoSesion_ && fGENEINIC->CodigoIdioma.isEmpty()) {
        informesPendientes_ = true;
        const QPointer<TfPROYMENU> ventana(this);
        trasPintar_->anadir([ventana] {
            if (ventana && ventana->informesPendientes_)
                ventana->anadirInformes();
        });
    } else {
        anadirInformes();
    }
    return QString();
}

void TfPROYMENU::anadirInformes()
{
    informesPendientes_ = false;
    fGENEINIC->AnadirInformesPersonalizados(usuario(), nombrePrograma_, MainMenu1);
}

void TfPROYMENU::SeleccionarEmpresa()
{
    QString empresas = ModuloDatos->LeerConfiguracionUsuario(usuario(), QStringLiteral("Empresas"));
    while (empresas.endsWith(u'\n') || empresas.endsWith(u'\r'))
        empresas.chop(1);
    const QString lista = DividirLineas(empresas).join(QStringLiteral(", "));
    if (lista.isEmpty())
        return;
    const QVariant elegida =
        BuscarRegistroConFiltro(QStringLiteral("EMPRESA"), 0, QStringLiteral("Codigo IN (") + lista + u')');
    if (!elegida.isNull())
        ponerEmpresaActual(elegida.toList().value(0).toString().toInt());
}

void TfPROYMENU::CambioEmpresa1Click(QObject *)
{
    CompletarPreparacion();
    const int anterior = empresaActual();
    SeleccionarEmpresa();
    if (empresaActual() == anterior)
        return;
    // The open windows go with the company they show: each is asked first, as Salir asks
    // it, and one that keeps its typed values keeps the company too.
    if (!CloseQuery()) {
        ponerEmpresaActual(anterior);
        return;
    }
    AbrirEmpresa();
    if (empresaActual() == 0) {
        MensajeAviso(QStringLiteral("¡Ud. no tiene acceso a esta empresa!"));
        ponerEmpresaActual(anterior);
        return;
    }
    primeraActivacion_ = true;
    FormActivate(this);
}

void TfPROYMENU::FormActivate(QObject *)
{
    update();
    if (!primeraActivacion_ || !ModuloDatos)
        return;
    primeraActivacion_ = false;
    // The reports' entries may be programs the user opens at the start.
    if (informesPendientes_)
        CompletarPreparacion();
    const QList<QObject *> componentes = components();
    for (QObject *componente : componentes) {
        auto *item = qobject_cast<plat::MenuItem *>(componente);
        if (item && item->OnClick.assigned() && ModuloDatos->EsProgramaActivo(usuario(), ModuloDatos->RutaMenu(item))) {
            CompletarPreparacion();
            if (AntesDeAbrirProgramas)
                std::exchange(AntesDeAbrirProgramas, nullptr)();
            item->Click();
        }
    }
}

void TfPROYMENU::CompletarPreparacion() { trasPintar_->completar(); }
bool TfPROYMENU::PreparacionPendiente() const { return trasPintar_->pendiente(); }

bool TfPROYMENU::accesoPermitido(const plat::MenuItem *item) const
{
    return ModuloDatos && conAcceso(ModuloDatos->NivelAccesoPrograma(usuario(), ModuloDatos->RutaMenu(item)));
}

// ---- program entries --------------------------------------------------------------------------

void TfPROYMENU::ConsultasSQL1Click(QObject *) { AbrirFormulario(fGENECSQL, ConsultasSQL1, QStringLiteral("fGENECSQL")); }
void TfPROYMENU::SalirAplicacion(QObject *) { Close(); }
void TfPROYMENU::Globales1Click(QObject *) { AbrirFormulario(fGENEPARA, Globales1, QStringLiteral("fGENEPARA")); }
void TfPROYMENU::MaestrodeTextos1Click(QObject *)
{
    AbrirFormulario(fGENEMTEX, MaestrodeTextos1, QStringLiteral("fGENEMTEX"));
}
void TfPROYMENU::MaestrodeOperarios1Click(QObject *)
{
    AbrirFormulario(fPRESOPER, MaestrodeOperarios1, QStringLiteral("fPRESOPER"));
}
void TfPROYMENU::MaestrodeProyectos1Click(QObject *)
{
    AbrirFormulario(fPROYPROY, MaestrodeProyectos1, QStringLiteral("fPROYPROY"));
}
void TfPROYMENU::MaestrodeGamasdeControl1Click(QObject *)
{
    AbrirFormulario(fCALIGAMA, MaestrodeGamasdeControl1, QStringLiteral("fCALIGAMA"));
}
void TfPROYMENU::IntroduccindeNotasTcnicas1Click(QObject *)
{
    AbrirFormulario(fPROYNTEC, IntroduccindeNotasTcnicas1, QStringLiteral("fPROYNTEC"));
}
void TfPROYMENU::NotificacionesdeCambiosdeVersin1Click(QObject *)
{
    AbrirFormulario(fPROYVERS, NotificacionesdeCambiosdeVersin1, QStringLiteral("fPROYVERS"));
}
void TfPROYMENU::ConsultadeProyectos1Click(QObject *)
{
    AbrirFormulario(fPROYCPRO, ConsultadeProyectos1, QStringLiteral("fPROYCPRO"));
}
void TfPROYMENU::IntercambiodeCdigosdeOperarios1Click(QObject *)
{
    AbrirFormulario(fPRESIOPE, IntercambiodeCdigosdeOperarios1, QStringLiteral("fPRESIOPE"));
}

void TfPROYMENU::AplicacionesEspeciales1Click(QObject *)
{
    QDir::setCurrent(fGENEINIC->Configuracion.directorioTrabajo);
    if (const EjecutarProgramaFn &ejecutar = ganchoEjecutarPrograma().valor())
        ejecutar(QStringLiteral("GALVERIN.EXE ") + fGENEINIC->LineaComandos(), QStringLiteral("Normal"));
}

void TfPROYMENU::OrganizarIconos1Click(QObject *) { ArrangeIcons(); }

// ---- currency toggle ------------------------------------------------------------------------

void TfPROYMENU::VerDatosenMonedaNacionalOEuroClick(QObject *Sender)
{
    plat::MenuItem *item = VerDatosenMonedaNacionalOEuro;
    if (empresaActual() != 0)
        item->setChecked(!item->checked());
    fGENEINIC->RefrescarFormularioActivo();
    const bool marcado = item->checked();
    const bool monedaDistinta = ModuloDatos && ModuloDatos->MonedaBaseDistintaNacional();
    const bool pesetas = marcado == monedaDistinta;
    item->action()->setIcon(IconoPrograma(marcado ? QStringLiteral("PTSEURO") : QStringLiteral("EUROPTS")));
    PanelMoneda->setVisible(marcado);
    PanelMoneda->setCaption(pesetas ? QStringLiteral("Pts") : QStringLiteral("€"));
    PanelMoneda->setFont(QFont(QStringLiteral("Tahoma"), pesetas ? 18 : 36, QFont::Bold));
    PanelMoneda->setFontColor(pesetas ? plat::clWhite : plat::clNavy);
    colocarPaneles();
    const QList<plat::Form *> formularios = plat::application().forms();
    for (plat::Form *formulario : formularios)
        if (formulario != this && TieneEsteMetodo(formulario, QStringLiteral("VerDatosEnMonedaNacionalOEuroClick")))
            EjecutarMetodoPorNombre(formulario, QStringLiteral("VerDatosEnMonedaNacionalOEuroClick"), Sender);
}

// ---- help --------------------------------------------------------------------------------------

void TfPROYMENU::asignarAtajoAyuda()
{
    const int f1 = plat::ShortCut(plat::VK_F1, {});
    if (mdiChildCount() == 0) {
        Ayudade->setVisible(false);
        Ayudade->setShortCut(0);
        AyudadeMenu->setShortCut(f1);
    } else {
        AyudadeMenu->setShortCut(0);
        Ayudade->setShortCut(f1);
        Ayudade->setVisible(true);
    }
}

void TfPROYMENU::Ayuda1Click(QObject *)
{
    const auto traducir = [](const QString &texto) { return ModuloDatos ? ModuloDatos->Traducir(texto) : texto; };
    AyudadeMenu->setCaption(traducir(QStringLiteral("&Ayuda de")) + u' ' + nombrePrograma_);
    AcercadeMenu->setCaption(traducir(QStringLiteral("A&cerca de")) + u' ' + nombrePrograma_);
    LoNuevoDeMenu->setCaption(traducir(QStringLiteral("Lo &Nuevo de")) + u' ' + nombrePrograma_);
    asignarAtajoAyuda();
    if (plat::Form *hija = activeMdiChild())
        Ayudade->setCaption(traducir(QStringLiteral("A&yuda de")) + u' ' + hija->caption());
}

void TfPROYMENU::FormKeyDown(QObject *, int &Key, plat::ShiftState)
{
    if (Key == plat::VK_F1)
        asignarAtajoAyuda();
}

void TfPROYMENU::IndicedeAyudaClick(QObject *) { fGENEINIC->MostrarAyuda(0); }

void TfPROYMENU::AyudadeMenuClick(QObject *) { fGENEINIC->MostrarAyuda(ContextoAyudaDeTitulo(nombrePrograma_)); }

void TfPROYMENU::AyudadeClick(QObject *)
{
    const plat::Form *hija = activeMdiChild();
    fGENEINIC->MostrarAyuda(ContextoAyudaDeTitulo(hija ? hija->caption() : nombrePrograma_));
}

void TfPROYMENU::LoNuevoDeMenuClick(QObject *Sender) { fGENEINIC->OpcionNoDisponible(Sender); }

void TfPROYMENU::AcercadeMenuClick(QObject *)
{
    auto *acerca = plat::createForm<TfGENEACER>();
    const QString acercaDe = ModuloDatos ? ModuloDatos->Traducir(QStringLiteral("Acerca de")) : QStringLiteral("Acerca de");
    acerca->setCaption(acercaDe + u' ' + nombrePrograma_);
    acerca->NombreProducto->setCaption(nombrePrograma_);
    acerca->ShowModal();
    acerca->Free();
}

// ---- logo, web link, layout and close ------------------------------------------------------------

void TfPROYMENU::ImagenLogotipoClick(QObject *)
{
    int ancho = PanelLogotipo->width() - 20;
    if (ancho <= 0)
        ancho = 160;
    PanelLogotipo->resize(ancho, ancho * 3 / 4);
    colocarPaneles();
}

void TfPROYMENU::IrAPaginaWebClick(QObject *) { AbrirURL(QUrl(QStringLiteral("http://") + IrAPaginaWeb->caption())); }

void TfPROYMENU::colocarPaneles()
{
    const QRect area = mdiArea()->rect();
    PanelLogotipo->move(area.right() - PanelLogotipo->width() - 8, 8);
    ImagenLogotipo->setGeometry(PanelLogotipo->rect().adjusted(2, 2, -2, -2));
    PanelMoneda->move(area.right() - PanelMoneda->width() - 8, area.bottom() - PanelMoneda->height() - 8);
    PanelLogotipo->raise();
    PanelMoneda->raise();
}

void TfPROYMENU::FormResize(QObject *) { colocarPaneles(); }

void TfPROYMENU::ajustarFondo()
{
    const QSize tamano = mdiArea()->viewport()->size();
    if (tamano.isEmpty() || tamano == fondoAjustado_)
        return;
    fondoAjustado_ = tamano;
    if (Image1->picture().isNull())
        Image1->setPicture(ImagenPrograma(QStringLiteral("FONDOMENU")));
    mdiArea()->setBackground(QBrush(Image1->picture().scaled(tamano, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

bool TfPROYMENU::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mdiArea()->viewport() && event->type() == QEvent::Resize)
        colocarPaneles();
    // The picture (and the fonts its text loads) waits for the first paint: the window is
    // shown without it.
    if (watched == mdiArea()->viewport() && event->type() == QEvent::Paint)
        ajustarFondo();
    return plat::Form::eventFilter(watched, event);
}

void TfPROYMENU::FormClose(QObject *Sender, plat::CloseAction &Action)
{
    fGENEINIC->CerrarFormularioComun(Sender, Action);
}
