#include "GENEW/data/ventanas/FormularioMaestro.h"

#include "GENEW/data/ventanas/GENECOPI.h"
#include "GENEW/data/ventanas/GENEFILT.h"
#include "GENEW/data/ventanas/GlifosBarraMaestro.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/ventanas/InformeImagen.h"
#include "GENEW/data/modulo/SalidaInforme.h"
#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/AvisoServidorAusente.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "GENEW/runtime/formularios/RegistrosSinConfirmar.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Keys.h"
#include "platform/ui/RefusedText.h"
#include "platform/ui/data/DataControls.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kAgregar = QStringLiteral("&Agregar");
const QString kAgregarConDuplicacion = QStringLiteral("&Agregar con Duplicación");

bool enEdicion(plat::DataSetState estado)
{
    return estado == plat::DataSetState::Edit || estado == plat::DataSetState::Insert
        || estado == plat::DataSetState::SetKey;
}

} // namespace

FormularioMaestro::FormularioMaestro(QWidget *parent, const QString &nombre, const QString &titulo)
    : VentanaPrograma(parent, nombre, titulo)
{
    setPosition(plat::poScreenCenter);
    setKeyPreview(true);
    Table1 = make<plat::TableComponent>(QStringLiteral("Table1"), this);
    DataSource1 = make<plat::DataSource>(QStringLiteral("DataSource1"), this);
    DataSource1->setDataSet(Table1);

    auto *caja = new QVBoxLayout(this);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->setSpacing(0);
    AreaDatos = new QWidget(this);
    caja->addWidget(AreaDatos, 1);
    construirPanel();
    caja->addWidget(PanelControl);
    construirMenu();

    plat::DataSet &tabla = Table1->dataSet();
    tabla.BeforeInsert = [this](plat::DataSet &ds) { Table1BeforeInsert(ds); };
    tabla.OnNewRecord = [this](plat::DataSet &ds) { Table1NewRecord(ds); };
    tabla.BeforePost = [this](plat::DataSet &ds) { Table1BeforePost(ds); };
    tabla.AfterPost = [this](plat::DataSet &ds) { Table1AfterPost(ds); };
    tabla.OnPostError = [this](plat::DataSet &ds, const gp::Error &e, plat::DataAction &a) {
        numeracion_.trasFallo(ds, e, a);
    };
    DataSource1->OnStateChange = plat::handler(this, &FormularioMaestro::DataSource1StateChange);
    OnCreate = plat::handler(this, &FormularioMaestro::FormCreate);
    OnActivate = plat::handler(this, &FormularioMaestro::FormActivate);
    OnKeyDown = plat::handler(this, &FormularioMaestro::FormKeyDown);
    OnKeyPress = plat::handler(this, &FormularioMaestro::FormKeyPress);
}

FormularioMaestro::~FormularioMaestro()
{
    // The key control loses the focus while the window is being taken apart.
    if (CampoClave) {
        CampoClave->OnExit = nullptr;
        CampoClave->OnChange = nullptr;
    }
}

void FormularioMaestro::construirPanel()
{
    PanelControl = make<plat::Panel>(QStringLiteral("PanelControl"), this);
    PanelControl->setFixedHeight(40);
    auto *fila = new QHBoxLayout(PanelControl);
    fila->setContentsMargins(4, 4, 4, 4);
    PanelNavegador = make<plat::Panel>(QStringLiteral("PanelNavegador"), PanelControl);
    fila->addWidget(PanelNavegador);
    fila->addStretch(1);
    auto *botones = new QHBoxLayout(PanelNavegador);
    botones->setContentsMargins(2, 2, 2, 2);
    botones->setSpacing(2);
    const auto boton = [&](const QString &nombre, BotonBarraMaestro glifo, const QString &pista,
                           void (FormularioMaestro::*clic)(QObject *)) {
        auto *b = make<plat::Button>(nombre, PanelNavegador);
        b->setIcon(GlifoBarraMaestro(glifo));
        b->setFixedSize(30, 28);
        b->setHint(pista);
        b->OnClick = plat::handler(this, clic);
        botones->addWidget(b);
        return b;
    };
    using B = BotonBarraMaestro;
    pbPrimero = boton(QStringLiteral("pbPrimero"), B::Primero, QStringLiteral("Ir al primer registro"),
                      &FormularioMaestro::pbPrimeroClick);
    pbAnterior = boton(QStringLiteral("pbAnterior"), B::Anterior, QStringLiteral("Ir al registro anterior"),
                       &FormularioMaestro::pbAnteriorClick);
    pbSiguiente = boton(QStringLiteral("pbSiguiente"), B::Siguiente, QStringLiteral("Ir al registro siguiente"),
                        &FormularioMaestro::pbSiguienteClick);
    pbUltimo = boton(QStringLiteral("pbUltimo"), B::Ultimo, QStringLiteral("Ir al ultimo registro"),
                     &FormularioMaestro::pbUltimoClick);
    pbEliminar = boton(QStringLiteral("pbEliminar"), B::Eliminar, QStringLiteral("Eliminar el registro actual"),
                       &FormularioMaestro::Eliminar1Click);
    pbAgregar = boton(QStringLiteral("pbAgregar"), B::Agregar, QStringLiteral("Agregar registros"),
                      &FormularioMaestro::AgregarClick);
    pbSalir = boton(QStringLiteral("pbSalir"), B::Salir, QStringLiteral("Salir"), &FormularioMaestro::Salir1Click);
    pbCancelar = boton(QStringLiteral("pbCancelar"), B::Cancelar, QStringLiteral("Cancelar la edicion sin grabar"),
                       &FormularioMaestro::pbCancelarClick);
    pbConforme = boton(QStringLiteral("pbConforme"), B::Conforme, QStringLiteral("Aceptar y grabar los datos actuales"),
                       &FormularioMaestro::pbConformeClick);
    pbRefrescar = boton(QStringLiteral("pbRefrescar"), B::Refrescar, QStringLiteral("Refrescar todas las tablas"),
                        &FormularioMaestro::pbRefrescarClick);
}

void FormularioMaestro::construirMenu()
{
    MainMenu1 = make<plat::MainMenu>(QStringLiteral("MainMenu1"), this);
    Ficha = make<plat::MenuItem>(QStringLiteral("Ficha"), this);
    Ficha->setCaption(QStringLiteral("&Ficha"));
    Ficha->setGroupIndex(3);
    MainMenu1->Items()->Add(Ficha);
    int separadores = 0;
    const auto separador = [&] {
        auto *linea = make<plat::MenuItem>(QStringLiteral("N%1").arg(++separadores), this);
        linea->setCaption(QStringLiteral("-"));
        Ficha->Add(linea);
    };
    const auto entrada = [&](plat::MenuItem *menu, const QString &nombre, const QString &titulo, int tecla,
                             void (FormularioMaestro::*clic)(QObject *)) {
        auto *item = make<plat::MenuItem>(nombre, this);
        item->setCaption(titulo);
        if (tecla)
            item->setShortCut(tecla);
        if (clic)
            item->OnClick = plat::handler(this, clic);
        menu->Add(item);
        return item;
    };
    const int sinTecla = 0;
    const auto tecla = [](int vk) { return plat::ShortCut(vk, {}); };
    IralPaneldeControl1 = entrada(Ficha, QStringLiteral("IralPaneldeControl1"), QStringLiteral("&Ir al Panel de Control"),
                                  tecla(plat::VK_F3), &FormularioMaestro::IralPaneldeControl1Click);
    separador();
    Agregar = entrada(Ficha, QStringLiteral("Agregar"), kAgregar, tecla(plat::VK_F5), &FormularioMaestro::AgregarClick);
    Eliminar1 = entrada(Ficha, QStringLiteral("Eliminar1"), QStringLiteral("&Eliminar"), tecla(plat::VK_F6),
                        &FormularioMaestro::Eliminar1Click);
    EliminacionMultiple1 = entrada(Ficha, QStringLiteral("EliminacionMultiple1"), QStringLiteral("Eliminación &Múltiple..."),
                                   sinTecla, &FormularioMaestro::EliminacionMultiple1Click);
    separador();
    Buscar = entrada(Ficha, QStringLiteral("Buscar"), QStringLiteral("&Buscar Registro..."), tecla(plat::VK_F11),
                     &FormularioMaestro::BuscarClick);
    FiltrarRegistros1 = entrada(Ficha, QStringLiteral("FiltrarRegistros1"), QStringLiteral("&Filtrar Registros..."),
                                tecla(plat::VK_F12), &FormularioMaestro::FiltrarRegistros1Click);
    CopiarRegistrosaOtrasEmpresas1 =
        entrada(Ficha, QStringLiteral("CopiarRegistrosaOtrasEmpresas1"), QStringLiteral("Copiar &Registros a Otras Empresas..."),
                sinTecla, &FormularioMaestro::CopiarRegistrosaOtrasEmpresas1Click);
    separador();
    ListarFichaActual1 =
        entrada(Ficha, QStringLiteral("ListarFichaActual1"), QStringLiteral("&Listar Ficha Actual"), sinTecla, nullptr);
    FormatoOriginal1 = entrada(ListarFichaActual1, QStringLiteral("FormatoOriginal1"), QStringLiteral("&Formato Original"),
                               sinTecla, &FormularioMaestro::FormatoOriginal1Click);
    APaginaCompleta1 = entrada(ListarFichaActual1, QStringLiteral("APaginaCompleta1"),
                               QStringLiteral("&A Página Completa"), sinTecla, &FormularioMaestro::APaginaCompleta1Click);
    CancelarEdicion1 = entrada(Ficha, QStringLiteral("CancelarEdicion1"), QStringLiteral("&Cancelar Edición"),
                               tecla(plat::VK_ESCAPE), &FormularioMaestro::pbCancelarClick);
    ListadoProgramable1 = entrada(Ficha, QStringLiteral("ListadoProgramable1"), QStringLiteral("Listado &Programable..."),
                                  sinTecla, &FormularioMaestro::ListadoProgramable1Click);
    separador();
    DocumentacionElectronica1 =
        entrada(Ficha, QStringLiteral("DocumentacionElectronica1"), QStringLiteral("&Documentación Electrónica..."),
                sinTecla, &FormularioMaestro::DocumentacionElectronica1Click);
    separador();
    Cerrar1 = entrada(Ficha, QStringLiteral("Cerrar1"), QStringLiteral("C&errar"), sinTecla, &FormularioMaestro::Cerrar1Click);
    setMenu(MainMenu1);
}

void FormularioMaestro::establecerCampoClave(plat::Edit *control)
{
    CampoClave = control;
    control->OnChange = plat::handler(this, &FormularioMaestro::CampoClaveChange);
    control->OnExit = plat::handler(this, &FormularioMaestro::CampoClaveExit);
}

bool FormularioMaestro::editando() const
{
    const plat::DataSetState estado = Table1->dataSet().state();
    return estado == plat::DataSetState::Edit || estado == plat::DataSetState::Insert;
}

bool FormularioMaestro::ValidarControl(QWidget *) { return true; }

QList<plat::TableComponent *> FormularioMaestro::tablas() const { return findChildren<plat::TableComponent *>(); }

// ---- creation and states -------------------------------------------------------------------

void FormularioMaestro::FormCreate(QObject *)
{
    // The window's own close check replaces the common close question, which would settle
    // the edit before the check could refuse.
    if (comportamiento.comprobarCierre)
        OnCloseQuery = plat::handler(this, &FormularioMaestro::FormCloseQuery);
    IndiceBusqueda = 0;
    fGENEINIC->AbrirTablasFormulario(*this);
    soloLectura_ = SoloLectura(this);
    DataSource1->setAutoEdit(true);
    HabilitarControles(false);
    ClaveModificada = false;
    pbSalir->setFocus();
    DocumentacionElectronica1->setEnabled(true);
    CopiarRegistrosaOtrasEmpresas1->setVisible(true);
}

void FormularioMaestro::FormActivate(QObject *) { update(); }

void FormularioMaestro::HabilitarControles(bool editando)
{
    for (QWidget *control : {static_cast<QWidget *>(pbConforme), static_cast<QWidget *>(pbCancelar)})
        control->setEnabled(editando);
    CancelarEdicion1->setEnabled(editando);
    for (QWidget *control : {static_cast<QWidget *>(pbEliminar), static_cast<QWidget *>(pbAgregar)})
        control->setEnabled(!editando && !soloLectura_);
    for (plat::MenuItem *item : {Buscar, FiltrarRegistros1, DocumentacionElectronica1, Cerrar1})
        item->setEnabled(!editando);
    // What only writes is not offered to a user who may only consult.
    for (plat::MenuItem *item : {Eliminar1, Agregar, EliminacionMultiple1, CopiarRegistrosaOtrasEmpresas1})
        item->setEnabled(!editando && !soloLectura_);
    if (comportamiento.refrescarSoloNavegando)
        pbRefrescar->setEnabled(!editando);
}

void FormularioMaestro::DataSource1StateChange(QObject *)
{
    const plat::DataSetState estado = Table1->dataSet().state();
    const bool insertando = estado == plat::DataSetState::Insert;
    if (CampoClave) {
        CampoClave->setReadOnly(!insertando);
        CampoClave->setColor(insertando ? plat::clWindow : plat::clBtnFace);
    }
    HabilitarControles(insertando || estado == plat::DataSetState::Edit);
}

// ---- keys ----------------------------------------------------------------------------------

void FormularioMaestro::FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift)
{
    fGENEINIC->ProcesarTeclaFormulario(Sender, Key, Shift);
}

void FormularioMaestro::FormKeyPress(QObject *Sender, QChar &Key) { fGENEINIC->ProcesarTeclaPulsada(Sender, Key); }

void FormularioMaestro::BuscarDatosDBEdit(QObject *) {}

void FormularioMaestro::DBGrid1DblClick(QObject *) {}

// ---- navigation ----------------------------------------------------------------------------

void FormularioMaestro::pbPrimeroClick(QObject *) { Table1->dataSet().first(); }

void FormularioMaestro::pbUltimoClick(QObject *) { Table1->dataSet().last(); }

void FormularioMaestro::pbAnteriorClick(QObject *)
{
    plat::DataSet &tabla = Table1->dataSet();
    tabla.prior();
    if (tabla.bof())
        MensajeInformacion(QStringLiteral("Está Vd. en el primer registro"));
}

void FormularioMaestro::pbSiguienteClick(QObject *)
{
    plat::DataSet &tabla = Table1->dataSet();
    tabla.next();
    if (tabla.eof())
        MensajeInformacion(QStringLiteral("Está Vd. en el último registro"));
}

void FormularioMaestro::IralPaneldeControl1Click(QObject *) { pbSalir->setFocus(); }

// ---- adding --------------------------------------------------------------------------------

void FormularioMaestro::AgregarClick(QObject *)
{
    if (!EscrituraAutorizada(this))
        return;
    if (comportamiento.anadirAlFinal)
        Table1->dataSet().append();
    else
        Table1->dataSet().insert();
}

void FormularioMaestro::Table1BeforeInsert(plat::DataSet &DataSet)
{
    ClaveDuplicacion = ModuloDatos->EstaVacio(DataSet) ? QString() : ModuloDatos->ClaveRegistro(DataSet);
    if (CampoClave)
        CampoClave->setFocus();
}

void FormularioMaestro::Table1NewRecord(plat::DataSet &)
{
    if (Agregar->caption() == kAgregarConDuplicacion && !ClaveDuplicacion.isEmpty())
        ModuloDatos->CopiarDatosRegistro(Table1->table(), ClaveDuplicacion);
}

// ---- the key -------------------------------------------------------------------------------

void FormularioMaestro::volverAlCampoClave() { plat::refuseText(*CampoClave); }

bool FormularioMaestro::claveEnRango(const plat::Field &campo, const QString &texto)
{
    qint64 maximo = 0;
    if (campo.dataType() == ftSmallint)
        maximo = 9999;
    else if (campo.dataType() == ftInteger)
        maximo = 99999999;
    else
        return true;
    bool numero = false;
    const qint64 valor = texto.trimmed().toLongLong(&numero);
    if (numero && valor >= 1 && valor <= maximo)
        return true;
    MensajeAviso(QStringLiteral("¡ El valor debe estar entre 1 y %1 !").arg(maximo));
    return false;
}

void FormularioMaestro::CampoClaveExit(QObject *)
{
    if (!CampoClave || !Table1->dataSet().active())
        return;
    plat::DataSet &tabla = Table1->dataSet();
    const QString clave = CampoClave->text().trimmed();
    if (clave.isEmpty()) {
        tabla.cancel();
        return;
    }
    const auto *enlazado = dynamic_cast<plat::DataBound *>(CampoClave);
    const plat::Field *campo = enlazado && enlazado->field() ? enlazado->field() : &tabla.field(0);
    if (!claveEnRango(*campo, clave)) {
        volverAlCampoClave();
        return;
    }
    if (!ValidarControl(CampoClave))
        return;
    if (tabla.state() == plat::DataSetState::Edit && ClaveModificada && ModuloDatos->ExisteClave(tabla, clave)) {
        MensajeAviso(QStringLiteral("¡ Ya existe el registro !"));
    } else if (tabla.state() == plat::DataSetState::Insert && ModuloDatos->ExisteClave(tabla, clave)) {
        MensajeAviso(QStringLiteral("¡ Ya existe el registro !"));
        volverAlCampoClave();
    }
}

void FormularioMaestro::CampoClaveChange(QObject *)
{
    ClaveModificada = Table1->dataSet().state() == plat::DataSetState::Edit;
}

void FormularioMaestro::ValidacionWinControl(QObject *Sender)
{
    auto *control = qobject_cast<QWidget *>(Sender);
    if (control && !ValidarControl(control))
        control->setFocus();
}

// ---- saving, cancelling, deleting ----------------------------------------------------------

void FormularioMaestro::Table1BeforePost(plat::DataSet &)
{
    if (!ValidarControl(nullptr))
        throw gp::Abort();
}

bool FormularioMaestro::grabarRegistro(const QString &fallaEdicion, const QString &fallaAlta)
{
    return grabarTabla(Table1->dataSet(), fallaEdicion, fallaAlta);
}

bool FormularioMaestro::grabarTabla(plat::DataSet &tabla, const QString &fallaEdicion, const QString &fallaAlta)
{
    const plat::DataSetState estado = tabla.state();
    if (estado != plat::DataSetState::Edit && estado != plat::DataSetState::Insert)
        return true;
    // A text a control still holds goes in first; one its field refuses stops the save.
    for (plat::DataSource *fuente : findChildren<plat::DataSource *>())
        if (fuente->dataSet() == &tabla && !fuente->UpdateRecord())
            return false;
    gp::Fallo fallo;
    try {
        fallo = gp::capturarFallo([&] { tabla.post(); });
        if (!fallo)
            return true;
    } catch (const gp::Abort &) {
        return false;   // the window's validation refused and said why; the edit stays
    }
    // The engines refuse at the save, after the typing: the record stays as typed, for the
    // user to save again once the lock or the server is gone, or to cancel.
    if (fallo.tipo == gp::DatabaseErrorKind::ConnectionLost)
        AvisoServidorAusente::delPrograma().avisar(fallo.mensaje);
    else
        MensajeAviso(estado == plat::DataSetState::Edit ? fallaEdicion : fallaAlta);
    return false;
}

bool FormularioMaestro::grabarAntesDeLineas(QWidget *rejilla)
{
    if (!editando() || grabarRegistro(comportamiento.fallaGrabarEdicion, comportamiento.fallaGrabarAlta))
        return true;
    QWidget *destino = Table1->dataSet().state() == plat::DataSetState::Insert ? CampoClave : nullptr;
    for (QWidget *w = rejilla->previousInFocusChain(); !destino && w && w != rejilla; w = w->previousInFocusChain())
        if (isAncestorOf(w) && !rejilla->isAncestorOf(w) && w->isVisible() && w->isEnabled()
            && (w->focusPolicy() & Qt::TabFocus))
            destino = w;
    // After the focus change into the grid has finished, or it would win.
    QTimer::singleShot(0, this, [destino = QPointer<QWidget>(destino)] {
        if (destino)
            destino->setFocus(Qt::OtherFocusReason);
    });
    return false;
}

void FormularioMaestro::GrabarDatos(QObject *)
{
    const plat::DataSetState estado = Table1->dataSet().state();
    if (estado != plat::DataSetState::Edit && estado != plat::DataSetState::Insert)
        return;
    if (!grabarRegistro(comportamiento.fallaGrabarEdicion, comportamiento.fallaGrabarAlta))
        return;   // refused: the record stays as typed
    if (estado == plat::DataSetState::Insert && comportamiento.nuevoTrasGrabarAlta)
        AgregarClick(this);
}

void FormularioMaestro::pbConformeClick(QObject *Sender) { GrabarDatos(Sender); }

void FormularioMaestro::numerarAlta(plat::DataSet &DataSet, const QString &campo)
{
    numeracion_.numerar(DataSet, campo, [this] { return QString::number(ModuloDatos->SiguienteCodigo(Table1->table(), 1)); });
}

void FormularioMaestro::Table1AfterPost(plat::DataSet &DataSet)
{
    if (comportamiento.grabarMemos)
        ModuloDatos->GrabarMemosSQL(Table1->table());
    fGENEINIC->TablaAfterPost(DataSet);
}

void FormularioMaestro::pbCancelarClick(QObject *)
{
    if (editando())
        Table1->dataSet().cancel();
}

void FormularioMaestro::Eliminar1Click(QObject *)
{
    plat::DataSet &tabla = Table1->dataSet();
    if (editando() || ModuloDatos->EstaVacio(tabla) || !EscrituraAutorizada(this))
        return;
    if (MensajeConfirmacion(comportamiento.preguntaEliminar) != QLatin1String("SI"))
        return;
    try {
        if (gp::capturarFallo([&] { tabla.remove(); }))
            MensajeAviso(comportamiento.fallaEliminar);
    } catch (const gp::Abort &) {
        // the before-delete hook stopped it and said why
    }
}

// ---- services ------------------------------------------------------------------------------

void FormularioMaestro::EliminacionMultiple1Click(QObject *)
{
    if (EscrituraAutorizada(this))
        ModuloDatos->BorrarTodosLosRegistros(Table1->dataSet());
}

void FormularioMaestro::BuscarClick(QObject *) { BuscarYPosicionarTabla(Table1->table(), IndiceBusqueda); }

void FormularioMaestro::FiltrarRegistros1Click(QObject *)
{
    if (fGENEFILT)
        fGENEFILT->FiltrarTabla(Table1->dataSet());
}

void FormularioMaestro::CopiarRegistrosaOtrasEmpresas1Click(QObject *)
{
    if (fGENECOPI)
        fGENECOPI->CopiarTabla(Table1->table());
}

void FormularioMaestro::ListadoProgramable1Click(QObject *) { ModuloDatos->ListarDataSet(Table1->dataSet()); }

void FormularioMaestro::DocumentacionElectronica1Click(QObject *)
{
    plat::DataSet &tabla = Table1->dataSet();
    const QString clave = ModuloDatos->ClaveLateralRegistro(tabla);
    ModuloDatos->AbrirDocumentacionElectronica(ModuloDatos->QuitarPropietarioTabla(Table1->table().tableName()), clave);
}

void FormularioMaestro::pbRefrescarClick(QObject *) { fGENEINIC->RefrescarDatos(this, QString()); }

void FormularioMaestro::FormatoOriginal1Click(QObject *) { listarFichaActual(false); }

void FormularioMaestro::APaginaCompleta1Click(QObject *) { listarFichaActual(true); }

void FormularioMaestro::listarFichaActual(bool aPaginaCompleta)
{
    InformeImagen ficha(grab().toImage(), logicalDpiX(),
                        aPaginaCompleta ? InformeImagen::Escala::PaginaCompleta : InformeImagen::Escala::Original);
    if (ModuloDatos->EjecutarDialogoImpresora(ficha))
        servicioImpresoras().imprimir(ficha);
}

void FormularioMaestro::showEvent(QShowEvent *event)
{
    VentanaPrograma::showEvent(event);
    if (!comportamiento.soloMinimizar || bordeSoloMinimizar_)
        return;
    // The frame exists once the window is first shown; changing its flags hides it.
    bordeSoloMinimizar_ = true;
    QWidget *marco = mdiSubWindow() ? static_cast<QWidget *>(mdiSubWindow()) : this;
    const QRect lugar = marco->geometry();
    marco->setWindowFlags((marco->windowFlags() & Qt::WindowType_Mask) | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    marco->setGeometry(lugar);
    marco->show();
}

// ---- closing -------------------------------------------------------------------------------

void FormularioMaestro::Salir1Click(QObject *) { Close(); }

void FormularioMaestro::Cerrar1Click(QObject *) { Close(); }

void FormularioMaestro::FormCloseQuery(QObject *, bool &CanClose)
{
    // A new record nothing was typed in (the one a save starts) holds no work: it is dropped.
    QList<plat::DataSet *> dataSets;
    for (plat::TableComponent *tabla : tablas())
        dataSets << &tabla->dataSet();
    RegistrosSinConfirmar(this, caption(), dataSets).descartarSinTeclear();
    for (plat::TableComponent *tabla : tablas()) {
        if (enEdicion(tabla->dataSet().state())) {
            MensajeAviso(QStringLiteral("¡ Debe grabar o cancelar la edición antes de cerrar la ventana !"));
            CanClose = false;
            return;
        }
    }
}
