#include "GENEW/data/ventanas/GENERESP.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "platform/base/FechaHora.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSource.h"

#include <QVBoxLayout>
#include <memory>

QString TfGENERESP::NombreTablaResp;
QString TfGENERESP::ClaveTablaResp;
QPoint TfGENERESP::posicion_;

namespace {

const QString kRealizadoPor = QStringLiteral("RealizadoPor");
const QString kAprobadoPor = QStringLiteral("AprobadoPor");
const QString kRegistradoPor = QStringLiteral("RegistradoPor");
const QString kFechaRealizacion = QStringLiteral("FechaRealizacion");
const QString kFechaAprobacion = QStringLiteral("FechaAprobacion");
const QString kFechaRegistro = QStringLiteral("FechaRegistro");

QDateTime hoy() { return FechaHora(Ahora().date()); }

bool enEdicion(plat::DataSetState estado)
{
    return estado == plat::DataSetState::Edit || estado == plat::DataSetState::Insert
        || estado == plat::DataSetState::SetKey;
}

void cancelarEnSilencio(plat::DataSet &tabla)
{
    try {
        tabla.cancel();
    } catch (const gp::Error &) {
    }
}

} // namespace

TfGENERESP::TfGENERESP(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENERESP"));
    setCaption(QStringLiteral("Responsabilidad Documental"));
    setFixedSize(430, 262);
    setKeyPreview(true);

    Table1 = make<plat::TableComponent>(QStringLiteral("Table1"), this);
    Table1->setTableName(QStringLiteral("RESPDOC"));
    DataSource1 = make<plat::DataSource>(QStringLiteral("DataSource1"), this);
    DataSource1->setDataSet(Table1);
    DataSource1->setAutoEdit(true);
    Operario = make<plat::TableComponent>(QStringLiteral("Operario"), this);
    Operario->setTableName(QStringLiteral("OPERARIO"));
    plat::TableDataSet &tabla = Table1->table();
    tabla.addCalculatedField(QStringLiteral("NombreRealizadoPor"), ftString, 40);
    tabla.addCalculatedField(QStringLiteral("NombreAprobadoPor"), ftString, 40);
    tabla.addCalculatedField(QStringLiteral("NombreRegistradoPor"), ftString, 40);
    tabla.OnCalcFields = [this](plat::DataSet &ds) { Table1CalcFields(ds); };

    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);

    PanelRegistradoPor =
        crearPanel(QStringLiteral("PanelRegistradoPor"), QStringLiteral("Registrado Por (última modificación)"), LabelRegistradoPor);
    FechaRegistro = crearEdit(PanelRegistradoPor, kFechaRegistro, kFechaRegistro, 58, 130);
    RegistradoPor = crearEdit(PanelRegistradoPor, kRegistradoPor, kRegistradoPor, 194, 40);
    NombreRegistradoPor =
        crearEdit(PanelRegistradoPor, QStringLiteral("NombreRegistradoPor"), QStringLiteral("NombreRegistradoPor"), 238, 180);

    PanelRealizadoPor = crearPanel(QStringLiteral("PanelRealizadoPor"), QStringLiteral("Realizado Por"), LabelRealizadoPor);
    const auto boton = [this](plat::Panel *panel, const QString &nombre, const QString &texto, const QString &ayuda, int left) {
        auto *b = make<plat::SpeedButton>(nombre, panel);
        b->setCaption(texto);
        b->setHint(ayuda);
        b->setGeometry(left, 28, 22, 22);
        return b;
    };
    pbAsignarRealizadoPor = boton(PanelRealizadoPor, QStringLiteral("pbAsignarRealizadoPor"), QStringLiteral("+"),
                                  QStringLiteral("Asignar el Operario/Fecha"), 8);
    pbDesasignarRealizadoPor = boton(PanelRealizadoPor, QStringLiteral("pbDesasignarRealizadoPor"), QStringLiteral("-"),
                                     QStringLiteral("Desasignar el Operario/Fecha"), 32);
    FechaRealizacion = crearEdit(PanelRealizadoPor, kFechaRealizacion, kFechaRealizacion, 58, 130);
    RealizadoPor = crearEdit(PanelRealizadoPor, kRealizadoPor, kRealizadoPor, 194, 40);
    NombreRealizadoPor =
        crearEdit(PanelRealizadoPor, QStringLiteral("NombreRealizadoPor"), QStringLiteral("NombreRealizadoPor"), 238, 180);

    PanelAprobadoPor = crearPanel(QStringLiteral("PanelAprobadoPor"), QStringLiteral("Aprobado Por"), LabelAprobadoPor);
    pbAsignarAprobadoPor = boton(PanelAprobadoPor, QStringLiteral("pbAsignarAprobadoPor"), QStringLiteral("+"),
                                 QStringLiteral("Asignar el Operario/Fecha"), 8);
    pbDesasignarAprobadoPor = boton(PanelAprobadoPor, QStringLiteral("pbDesasignarAprobadoPor"), QStringLiteral("-"),
                                    QStringLiteral("Desasignar el Operario/Fecha"), 32);
    FechaAprobacion = crearEdit(PanelAprobadoPor, kFechaAprobacion, kFechaAprobacion, 58, 130);
    AprobadoPor = crearEdit(PanelAprobadoPor, kAprobadoPor, kAprobadoPor, 194, 40);
    NombreAprobadoPor =
        crearEdit(PanelAprobadoPor, QStringLiteral("NombreAprobadoPor"), QStringLiteral("NombreAprobadoPor"), 238, 180);

    PanelControl = make<plat::Panel>(QStringLiteral("PanelControl"), this);
    pbGrabar = make<plat::Button>(QStringLiteral("pbGrabar"), PanelControl);
    pbGrabar->setCaption(QStringLiteral("&Grabar"));
    pbGrabar->setHint(QStringLiteral("Grabar los datos en el registro"));
    pbGrabar->setGeometry(124, 10, 88, 26);
    pbCancelar = make<plat::Button>(QStringLiteral("pbCancelar"), PanelControl);
    pbCancelar->setCaption(QStringLiteral("&Cancelar"));
    pbCancelar->setHint(QStringLiteral("Abandonar sin grabar los datos en el registro"));
    pbCancelar->setGeometry(218, 10, 88, 26);
    pbCancelar->setCancelButton(true);
    for (plat::Panel *panel : {PanelRegistradoPor, PanelRealizadoPor, PanelAprobadoPor, PanelControl})
        columna->addWidget(panel, 1);

    OnCreate = plat::handler(this, &TfGENERESP::FormCreate);
    OnShow = plat::handler(this, &TfGENERESP::FormShow);
    OnClose = plat::handler(this, &TfGENERESP::FormClose);
    OnKeyDown = plat::handler(this, &TfGENERESP::FormKeyDown);
    OnKeyPress = plat::handler(this, &TfGENERESP::FormKeyPress);
    connect(pbGrabar, &QPushButton::clicked, this, [this] { pbGrabarClick(pbGrabar); });
    connect(pbCancelar, &QPushButton::clicked, this, [this] { pbCancelarClick(pbCancelar); });
    connect(pbAsignarRealizadoPor, &QToolButton::clicked, this, [this] { pbAsignarRealizadoPorClick(nullptr); });
    connect(pbDesasignarRealizadoPor, &QToolButton::clicked, this, [this] { pbDesasignarRealizadoPorClick(nullptr); });
    connect(pbAsignarAprobadoPor, &QToolButton::clicked, this, [this] { pbAsignarAprobadoPorClick(nullptr); });
    connect(pbDesasignarAprobadoPor, &QToolButton::clicked, this, [this] { pbDesasignarAprobadoPorClick(nullptr); });
}

plat::Panel *TfGENERESP::crearPanel(const QString &nombre, const QString &etiqueta, plat::Label *&label)
{
    auto *panel = make<plat::Panel>(nombre, this);
    label = make<plat::Label>(QStringLiteral("Label") + nombre.mid(5), panel);
    label->setCaption(etiqueta);
    label->setGeometry(8, 6, 400, 16);
    return panel;
}

// Every edit is designed read-only, in the button-face colour and out of the tab order;
// FormCreate opens the requested ones.
plat::DBEdit *TfGENERESP::crearEdit(plat::Panel *panel, const QString &nombre, const QString &campo, int left, int width)
{
    auto *edit = make<plat::DBEdit>(nombre, panel);
    edit->setDataSource(DataSource1);
    edit->setDataField(campo);
    edit->setReadOnly(true);
    edit->setColor(plat::clBtnFace);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setGeometry(left, 28, width, 22);
    return edit;
}

// ---- creation -------------------------------------------------------------------------------

void TfGENERESP::FormCreate(QObject *)
{
    if (posicion_.isNull())
        setPosition(plat::poScreenCenter);
    else
        setBounds(posicion_.x(), posicion_.y(), width(), height());
    NombreTablaResp = ModuloDatos->QuitarPropietarioTabla(NombreTablaResp);
    fGENEINIC->AbrirTablasFormulario(*this);

    QVariant configuracion;
    ModuloDatos->LeerCamposRegistro(QStringLiteral("CONFRESP"), NombreTablaResp, configuracion,
                                    QStringLiteral("CamposSolicitados"));
    campos_ = LeerCamposSolicitados(configuracion.toStringList().value(0));
    for (plat::DBEdit *edit : findChildren<plat::DBEdit *>()) {
        if (!campos_.contiene(edit->objectName()))
            continue;
        edit->setColor(plat::clWindow);
        edit->setReadOnly(false);
        edit->setFocusPolicy(Qt::StrongFocus);
    }
    for (plat::Panel *panel : {PanelAprobadoPor, PanelRealizadoPor, PanelRegistradoPor})
        panel->setEnabled(false);

    if (campos_.pideRegistro())
        estamparRegistro();
    PanelRealizadoPor->setEnabled(campos_.contiene(kRealizadoPor) || campos_.contiene(kFechaRealizacion));
    PanelAprobadoPor->setEnabled(campos_.contiene(kAprobadoPor) || campos_.contiene(kFechaAprobacion));

    HayCamposSolicitados = campos_.hayCamposSolicitados();
    if (!HayCamposSolicitados)
        return;
    situarEnFila();
    if (filaNueva_) {
        valoresPorDefecto(pasoRealizado());
        valoresPorDefecto(pasoAprobado());
    }
    setActiveControl(pbGrabar);
}

// The registration stamp is posted at once; any failure leaves the row as it was.
void TfGENERESP::estamparRegistro()
{
    plat::TableDataSet &tabla = Table1->table();
    try {
        if (LocalizarResponsabilidad(NombreTablaResp, ClaveTablaResp)) {
            tabla.edit();
        } else {
            tabla.insert();
            filaNueva_ = true;
        }
        campo(QStringLiteral("NombreTabla")).setAsString(NombreTablaResp);
        campo(QStringLiteral("ClaveTabla")).setAsString(ClaveTablaResp);
        if (campos_.contiene(kRegistradoPor)) {
            if (const auto operario = operarioUsuario())
                campo(kRegistradoPor).setAsInteger(*operario);
            else
                campo(kRegistradoPor).clear();
        }
        if (campos_.contiene(kFechaRegistro))
            campo(kFechaRegistro).setAsDateTime(Ahora());
        tabla.post();
    } catch (const std::exception &) {
        cancelarEnSilencio(tabla);
    }
}

void TfGENERESP::situarEnFila()
{
    plat::TableDataSet &tabla = Table1->table();
    if (!LocalizarResponsabilidad(NombreTablaResp, ClaveTablaResp)) {
        try {
            tabla.insert();
            filaNueva_ = true;
        } catch (const gp::Error &) {
        }
    }
    setCaption(caption() + QStringLiteral(" (") + NombreTablaResp + QStringLiteral(": ") + ClaveTablaResp + u')');
    if (tabla.state() == plat::DataSetState::Browse) {
        try {
            tabla.edit();
        } catch (const gp::Error &) {
            // The row is shown without editing it.
        }
    }
}

void TfGENERESP::valoresPorDefecto(const Paso &paso)
{
    if (!editando())
        return;
    if (campos_.contiene(paso.campoOperario) && campo(paso.campoOperario).asInteger() == 0) {
        const auto operario = operarioUsuario();
        if (operario && (paso.operarios.isEmpty() || OperarioEnLista(QString::number(*operario), paso.operarios)))
            campo(paso.campoOperario).setAsInteger(*operario);
    }
    plat::Field &fecha = campo(paso.campoFecha);
    if (campos_.contiene(paso.campoFecha) && (fecha.isNull() || EsFechaCero(fecha.asDateTime())))
        fecha.setAsDateTime(hoy());
}

bool TfGENERESP::LocalizarResponsabilidad(const QString &tabla, const QString &clave)
{
    plat::TableDataSet &respdoc = Table1->table();
    return respdoc.findKey({tabla, clave}) || respdoc.findKey({tabla, clave + u'|'});
}

// ---- the other handlers of the form -------------------------------------------------------

void TfGENERESP::FormShow(QObject *)
{
    fGENEINIC->TraducirFormulario(this);
}

void TfGENERESP::FormClose(QObject *, plat::CloseAction &)
{
    posicion_ = QPoint(left(), top());
}

void TfGENERESP::FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift)
{
    fGENEINIC->ProcesarTeclaFormulario(Sender, Key, Shift);
}

void TfGENERESP::FormKeyPress(QObject *Sender, QChar &Key) { fGENEINIC->ProcesarTeclaPulsada(Sender, Key); }

void TfGENERESP::BuscarDatosDBEdit(QObject *) {}

void TfGENERESP::Table1CalcFields(plat::DataSet &DataSet)
{
    plat::TableDataSet &operarios = Operario->table();
    for (const QString &codigo : {kRealizadoPor, kAprobadoPor, kRegistradoPor}) {
        plat::Field &nombre = DataSet.fieldByName(QStringLiteral("Nombre") + codigo);
        nombre.clear();
        const plat::Field &campoCodigo = DataSet.fieldByName(codigo);
        if (!operarios.active() || campoCodigo.isNull())
            continue;
        const QVariant encontrado = operarios.lookup(QStringLiteral("Codigo"), campoCodigo.value(), QStringLiteral("Nombre"));
        if (!encontrado.isNull())
            nombre.setAsString(encontrado.toString());
    }
}

// ---- saving -----------------------------------------------------------------------------------

bool TfGENERESP::ValidarOperarios(QWidget *control)
{
    bool valido = true;
    if (!editando() || activeControl() == pbCancelar)
        return valido;
    for (const Paso &paso : {pasoRealizado(), pasoAprobado()}) {
        if (control && control != paso.editOperario)
            continue;
        const QString codigo = paso.editOperario->text();
        if (!paso.operarios.isEmpty() && !codigo.isEmpty() && !OperarioEnLista(codigo, paso.operarios)) {
            MensajeAviso(paso.aviso);
            valido = false;
        }
    }
    if (!control) {
        for (const Paso &paso : {pasoRealizado(), pasoAprobado()}) {
            if (campos_.contiene(paso.campoFecha) && campos_.contiene(paso.campoOperario)
                && campo(paso.campoOperario).asInteger() == 0)
                campo(paso.campoFecha).clear();
        }
    }
    return valido;
}

void TfGENERESP::pbGrabarClick(QObject *)
{
    DataSource1->UpdateRecord();
    if (!ValidarOperarios(nullptr))
        return;
    plat::TableDataSet &tabla = Table1->table();
    if (editando()) {
        try {
            campo(QStringLiteral("NombreTabla")).setAsString(NombreTablaResp);
            campo(QStringLiteral("ClaveTabla")).setAsString(ClaveTablaResp);
            for (const QString &nombre : {kFechaRealizacion, kFechaAprobacion, kFechaRegistro}) {
                if (campo(nombre).text().isEmpty())
                    campo(nombre).setAsDateTime(FechaCero());
            }
            tabla.post();
        } catch (const gp::Error &) {
            // The dialog stays open with what was typed, to be saved again or cancelled.
            MensajeAviso(QStringLiteral(
                "¡Imposible modificar el registro. Es posible que esté siendo modificado por otro usuario.!"));
            return;
        }
    }
    setModalResult(plat::mrOk);
}

void TfGENERESP::pbCancelarClick(QObject *)
{
    cancelarEnSilencio(Table1->table());
    setModalResult(plat::mrCancel);
}

// ---- signing ------------------------------------------------------------------------------------

TfGENERESP::Paso TfGENERESP::pasoRealizado() const
{
    return {kRealizadoPor, kFechaRealizacion, RealizadoPor, FechaRealizacion, campos_.operariosRealizadoPor,
            QStringLiteral("¡El Operario de Realizado Por no está autorizado!")};
}

TfGENERESP::Paso TfGENERESP::pasoAprobado() const
{
    return {kAprobadoPor, kFechaAprobacion, AprobadoPor, FechaAprobacion, campos_.operariosAprobadoPor,
            QStringLiteral("¡El Operario de Aprobado Por no está autorizado!")};
}

void TfGENERESP::pbAsignarRealizadoPorClick(QObject *) { asignar(pasoRealizado()); }
void TfGENERESP::pbDesasignarRealizadoPorClick(QObject *) { desasignar(pasoRealizado()); }
void TfGENERESP::pbAsignarAprobadoPorClick(QObject *) { asignar(pasoAprobado()); }
void TfGENERESP::pbDesasignarAprobadoPorClick(QObject *) { desasignar(pasoAprobado()); }

void TfGENERESP::asignar(const Paso &paso)
{
    if (!editando())
        return;
    const auto operario = operarioUsuario();
    if (!paso.operarios.isEmpty() && operario && !OperarioEnLista(QString::number(*operario), paso.operarios))
        return;
    plat::Field &codigo = campo(paso.campoOperario);
    const QString filtro = FiltroOperarios(paso.operarios);
    if (filtro.isEmpty()) {
        // Another operator's signature is not overwritten.
        if (codigo.asInteger() != 0 && operario && *operario != codigo.asInteger())
            return;
        if (!paso.editOperario->isReadOnly() && operario)
            codigo.setAsInteger(*operario);
        if (!paso.editFecha->isReadOnly())
            campo(paso.campoFecha).setAsDateTime(hoy());
        return;
    }
    const QVariant elegido = BuscarRegistroConFiltro(QStringLiteral("OPERARIO"), 0, filtro);
    if (elegido.isNull())
        return;
    codigo.setAsString(elegido.toList().value(0).toString());
    if (ValidarOperarios(paso.editOperario) && !paso.editFecha->isReadOnly())
        campo(paso.campoFecha).setAsDateTime(hoy());
}

void TfGENERESP::desasignar(const Paso &paso)
{
    if (!editando() || !paso.operarios.isEmpty())
        return;
    plat::Field &codigo = campo(paso.campoOperario);
    const auto operario = operarioUsuario();
    if (codigo.asInteger() != 0 && operario && *operario != codigo.asInteger())
        return;
    if (!paso.editOperario->isReadOnly())
        codigo.clear();
    if (!paso.editFecha->isReadOnly())
        campo(paso.campoFecha).clear();
}

// ---- helpers ------------------------------------------------------------------------------------

bool TfGENERESP::editando() const { return enEdicion(Table1->table().state()); }

plat::Field &TfGENERESP::campo(const QString &nombre) const { return Table1->table().fieldByName(nombre); }

std::optional<int> TfGENERESP::operarioUsuario()
{
    plat::TableDataSet &operarios = Operario->table();
    if (!operarios.active())
        return std::nullopt;
    const QVariant codigo =
        operarios.lookup(QStringLiteral("CodigoUsuario"), fGENEINIC->UsuarioActual, QStringLiteral("Codigo"));
    if (codigo.isNull())
        return std::nullopt;
    return codigo.toInt();
}

// ---- the opener -------------------------------------------------------------------------------

void MostrarResponsabilidad(plat::DataSet &tabla)
{
    auto *registro = dynamic_cast<plat::TableDataSet *>(&tabla);
    if (!registro || !ModuloDatos || !fGENEINIC->Configuracion.parametros.ResponsabilidadDocumentalActivada)
        return;
    if (!ModuloDatos->ExisteClaveEnTabla(QStringLiteral("CONFRESP"), ModuloDatos->QuitarPropietarioTabla(registro->tableName())))
        return;
    // Opening the dialog already stamps the registration.
    if (!EscrituraAutorizada(tabla))
        return;
    TfGENERESP::NombreTablaResp = registro->tableName();
    TfGENERESP::ClaveTablaResp = ModuloDatos->ClaveLateralRegistro(tabla);
    std::unique_ptr<TfGENERESP> dialogo(plat::createForm<TfGENERESP>());
    if (dialogo->HayCamposSolicitados)
        dialogo->ShowModal();
}
