#include "GENEW/data/ventanas/GENEFILT.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/comun/RutinasTipos.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"

#include <QVBoxLayout>

TfGENEFILT *fGENEFILT = nullptr;

namespace {

const QString kNombreTabla = QStringLiteral("NombreTabla");
const QString kDescripcion = QStringLiteral("Descripcion");
const QString kFiltro = QStringLiteral("Filtro");

} // namespace

TfGENEFILT::TfGENEFILT(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEFILT"));
    setCaption(QStringLiteral("Filtrar Registros"));
    setPosition(plat::poScreenCenter);
    resize(540, 330);
    construirControles();

    pbAgregar->OnClick = [this](QObject *s) { pbAgregarClick(s); };
    pbRestablecer->OnClick = [this](QObject *s) { pbRestablecerClick(s); };
    Guardar->OnClick = [this](QObject *s) { GuardarClick(s); };
    GuardarComo->OnClick = [this](QObject *s) { GuardarComoClick(s); };
    Eliminar->OnClick = [this](QObject *s) { EliminarClick(s); };
    Salir->OnClick = [this](QObject *s) { SalirClick(s); };
    // The box edits no record (the look-up combo shows no choice then): the chosen entry is
    // kept selected and loaded.
    connect(EditDescripcionFiltro, &QComboBox::activated, this, [this](int indice) {
        EditDescripcionFiltro->setItemIndex(indice);
        EditDescripcionFiltroClick(EditDescripcionFiltro);
    });
    OnClose = [this](QObject *s, plat::CloseAction &) { FormClose(s); };
    // Enter moves to the next control everywhere but in the list of conditions.
    setKeyPreview(true);
    OnKeyPress = [this](QObject *, QChar &Key) {
        if (Key == QChar(u'\r') && focusWidget() != MemoFiltros) {
            Key = QChar();
            selectNext(true);
        }
    };
}

// The global names only a living form.
TfGENEFILT::~TfGENEFILT()
{
    if (fGENEFILT == this)
        fGENEFILT = nullptr;
}

void TfGENEFILT::construirControles()
{
    auto *caja = new QVBoxLayout(this);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->setSpacing(0);

    P0 = make<plat::Panel>(QStringLiteral("P0"), this);
    P0->setFixedHeight(36);
    LabelDescripcion = plat::place(make<plat::Label>(QStringLiteral("LabelDescripcion"), P0), 8, 10, 140, 16);
    LabelDescripcion->setCaption(QStringLiteral("Descripción del Filtro"));
    EditDescripcionFiltro =
        plat::place(make<plat::DBLookupComboBox>(QStringLiteral("EditDescripcionFiltro"), P0), 152, 6, 376, 24);

    Panel1 = make<plat::Panel>(QStringLiteral("Panel1"), this);
    Panel1->setFixedHeight(56);
    LabelCampo = plat::place(make<plat::Label>(QStringLiteral("LabelCampo"), Panel1), 8, 4, 180, 16);
    LabelCampo->setCaption(QStringLiteral("Campo"));
    ListaCampos = plat::place(make<plat::ComboBox>(QStringLiteral("ListaCampos"), Panel1), 8, 22, 180, 24);
    ListaCampos->setStyle(plat::ComboBox::csDropDownList);
    LabelOperador = plat::place(make<plat::Label>(QStringLiteral("LabelOperador"), Panel1), 194, 4, 70, 16);
    LabelOperador->setCaption(QStringLiteral("Operador"));
    Operador = plat::place(make<plat::ComboBox>(QStringLiteral("Operador"), Panel1), 194, 22, 70, 24);
    Operador->setStyle(plat::ComboBox::csDropDownList);
    Operador->setItems({QStringLiteral("="), QStringLiteral("<"), QStringLiteral(">"), QStringLiteral(">="),
                        QStringLiteral("<="), QStringLiteral("<>")});
    Operador->setItemIndex(0);
    LabelValor = plat::place(make<plat::Label>(QStringLiteral("LabelValor"), Panel1), 270, 4, 170, 16);
    LabelValor->setCaption(QStringLiteral("Valor"));
    Valor = plat::place(make<plat::Edit>(QStringLiteral("Valor"), Panel1), 270, 22, 170, 24);
    pbAgregar = plat::place(make<plat::Button>(QStringLiteral("pbAgregar"), Panel1), 448, 21, 80, 26);
    pbAgregar->setCaption(QStringLiteral("&Agregar"));
    pbAgregar->setHint(QStringLiteral("Agregar el filtro a la lista"));

    Panel2 = make<plat::Panel>(QStringLiteral("Panel2"), this);
    auto *cajaFiltro = new QVBoxLayout(Panel2);
    cajaFiltro->setContentsMargins(8, 4, 8, 4);
    LabelFiltro = make<plat::Label>(QStringLiteral("LabelFiltro"), Panel2);
    LabelFiltro->setCaption(QStringLiteral("Filtro"));
    MemoFiltros = make<plat::Memo>(QStringLiteral("MemoFiltros"), Panel2);
    cajaFiltro->addWidget(LabelFiltro);
    cajaFiltro->addWidget(MemoFiltros, 1);

    PanelControl = make<plat::Panel>(QStringLiteral("PanelControl"), this);
    PanelControl->setFixedHeight(42);
    pbAplicar = plat::place(make<plat::Button>(QStringLiteral("pbAplicar"), PanelControl), 8, 8, 90, 26);
    pbAplicar->setCaption(QStringLiteral("&Aplicar"));
    pbAplicar->setModalResult(plat::mrOk);
    pbCancelar = plat::place(make<plat::Button>(QStringLiteral("pbCancelar"), PanelControl), 104, 8, 90, 26);
    pbCancelar->setCaption(QStringLiteral("&Cancelar"));
    pbCancelar->setModalResult(plat::mrCancel);
    pbCancelar->setCancelButton(true);
    pbRestablecer = plat::place(make<plat::Button>(QStringLiteral("pbRestablecer"), PanelControl), 200, 8, 100, 26);
    pbRestablecer->setCaption(QStringLiteral("&Restablecer"));
    pbRestablecer->setHint(QStringLiteral("Eliminar el filtro actual y aplicar"));
    pbRestablecer->setModalResult(plat::mrOk);

    caja->addWidget(P0);
    caja->addWidget(Panel1);
    caja->addWidget(Panel2, 1);
    caja->addWidget(PanelControl);

    MainMenu1 = make<plat::MainMenu>(QStringLiteral("MainMenu1"), this);
    Archivo = make<plat::MenuItem>(QStringLiteral("Archivo"), this);
    Archivo->setCaption(QStringLiteral("&Archivo"));
    MainMenu1->Items()->Add(Archivo);
    const auto entrada = [this](const QString &nombre, const QString &titulo) {
        auto *item = make<plat::MenuItem>(nombre, this);
        item->setCaption(titulo);
        Archivo->Add(item);
        return item;
    };
    Guardar = entrada(QStringLiteral("Guardar"), QStringLiteral("&Guardar"));
    GuardarComo = entrada(QStringLiteral("GuardarComo"), QStringLiteral("Guardar &Como..."));
    Eliminar = entrada(QStringLiteral("Eliminar"), QStringLiteral("&Eliminar"));
    Salir = entrada(QStringLiteral("Salir"), QStringLiteral("&Salir"));
    setMenu(MainMenu1);

    Filtro = make<plat::TableComponent>(QStringLiteral("Filtro"), this);
    Filtro->setTableName(QStringLiteral("FILTRO"));
    DSFiltro = make<plat::DataSource>(QStringLiteral("DSFiltro"), this);
    DSFiltro->setDataSet(&Filtro->dataSet());
    EditDescripcionFiltro->setKeyField(kDescripcion);
    EditDescripcionFiltro->setListField(kDescripcion);
    EditDescripcionFiltro->setListSource(DSFiltro);
}

// ---- filtering -----------------------------------------------------------------------------

QString TfGENEFILT::nombreTablaFiltrada(const plat::DataSet &dataSet) const
{
    QString nombre;
    if (const auto *tabla = dynamic_cast<const plat::TableDataSet *>(&dataSet))
        nombre = tabla->tableName();
    else if (const QObject *componente = plat::DataSetComponent::of(&dataSet))
        nombre = componente->objectName().toUpper();
    return ModuloDatos ? ModuloDatos->QuitarPropietarioTabla(nombre) : nombre;
}

bool TfGENEFILT::abrirFiltrosGuardados()
{
    plat::TableDataSet &filtro = Filtro->table();
    if (ModuloDatos)
        filtro.setTableName(ModuloDatos->NombreTablaSQL(QStringLiteral("FILTRO")));
    if (!fGENEINIC || !fGENEINIC->AbrirDataSet(filtro))
        return false;
    filtro.setFiltered(false);
    filtro.setFilter(QStringLiteral("(NombreTabla = ") + Entrecomillar(nombreTabla_) + u')');
    filtro.setFiltered(true);
    filtro.first();
    EditDescripcionFiltro->reloadList();
    return true;
}

void TfGENEFILT::ofrecerCampos(const plat::DataSet &dataSet)
{
    QStringList nombres;
    tiposCampos_.clear();
    for (int i = 0; i < dataSet.fieldCount(); ++i) {
        const plat::Field &campo = dataSet.field(i);
        if (campo.dataType() == ftMemo || campo.dataType() == ftFmtMemo || campo.isCalculated())
            continue;
        if (ModuloDatos && ModuloDatos->EsCampoNoVisible(campo.fieldName()))
            continue;
        nombres << campo.fieldName();
        tiposCampos_ << NombreTipoCampo(campo.dataType());
    }
    ListaCampos->setItems(nombres);
}

void TfGENEFILT::FiltrarTabla(plat::DataSet &dataSet)
{
    nombreTabla_ = nombreTablaFiltrada(dataSet);
    if (!abrirFiltrosGuardados())
        return;
    mostrarFiltroActual(false);
    MemoFiltros->setText(!dataSet.filter().isEmpty() ? dataSet.filter() : textoFiltroActual());
    ofrecerCampos(dataSet);
    const QString titulo = QStringLiteral("Filtrar Registros de la Tabla");
    setCaption((ModuloDatos ? ModuloDatos->Traducir(titulo) : titulo) + u' ' + nombreTabla_);
    ListaCampos->setItemIndex(ListaCampos->count() > 0 ? 0 : -1);
    Valor->clear();
    setActiveControl(ListaCampos);
    if (ShowModal() == plat::mrOk)
        aplicarFiltro(dataSet);
    tiposCampos_.clear();
}

void TfGENEFILT::aplicarFiltro(plat::DataSet &dataSet)
{
    try {
        dataSet.setFilter(MemoFiltros->text());
        dataSet.setFiltered(true);
    } catch (const gp::Error &) {
        MensajeAviso(QStringLiteral("¡La lista de filtros es incorrecta! Inténtelo de nuevo."));
        dataSet.setFiltered(false);
    }
    dataSet.first();
}

// ---- the list of conditions ----------------------------------------------------------------

void TfGENEFILT::pbAgregarClick(QObject *)
{
    QStringList lineas = MemoFiltros->lines();
    if (lineas.size() == 1 && lineas.first().isEmpty())
        lineas.clear();
    if (Valor->text().isEmpty()) {
        MemoFiltros->setLines(lineas);
        return;
    }
    if (!lineas.isEmpty())
        lineas.last() += QStringLiteral(" AND");
    lineas << u'(' + ListaCampos->text() + u' ' + Operador->text() + u' ' + Entrecomillar(Valor->text()) + u')';
    MemoFiltros->setLines(lineas);
}

void TfGENEFILT::pbRestablecerClick(QObject *)
{
    MemoFiltros->Clear();
}

// ---- saved filters -------------------------------------------------------------------------

bool TfGENEFILT::hayFiltroSeleccionado() const
{
    const plat::TableDataSet &filtro = Filtro->table();
    return filtro.active() && !filtro.isEmpty() && EditDescripcionFiltro->currentIndex() >= 0;
}

QString TfGENEFILT::textoFiltroActual() const
{
    const plat::TableDataSet &filtro = Filtro->table();
    if (!filtro.active() || filtro.isEmpty())
        return QString();
    return filtro.fieldByName(kFiltro).asString();
}

void TfGENEFILT::mostrarFiltroActual(bool cargarTexto)
{
    const plat::TableDataSet &filtro = Filtro->table();
    const bool hay = filtro.active() && !filtro.isEmpty();
    EditDescripcionFiltro->setItemIndex(hay ? EditDescripcionFiltro->findText(filtro.fieldByName(kDescripcion).asString())
                                            : -1);
    if (cargarTexto)
        MemoFiltros->setText(textoFiltroActual());
}

void TfGENEFILT::EditDescripcionFiltroClick(QObject *)
{
    const QVariant clave = EditDescripcionFiltro->keyValue();
    plat::TableDataSet &filtro = Filtro->table();
    if (!clave.isValid() || !filtro.active())
        return;
    if (filtro.locate(kDescripcion, clave))
        MemoFiltros->setText(textoFiltroActual());
}

void TfGENEFILT::GuardarClick(QObject *Sender)
{
    if (!hayFiltroSeleccionado()) {
        GuardarComoClick(Sender);
        return;
    }
    plat::TableDataSet &filtro = Filtro->table();
    try {
        filtro.edit();
        filtro.fieldByName(kFiltro).setAsString(MemoFiltros->text());
        filtro.post();
    } catch (const gp::Error &) {
        MensajeAviso(QStringLiteral("¡El registro está siendo utilizado por otro usuario!"));
        filtro.cancel();
    }
}

void TfGENEFILT::GuardarComoClick(QObject *)
{
    const QString descripcion = MensajePedirDato(QStringLiteral("Introduzca la Descripción del Filtro: "));
    plat::TableDataSet &filtro = Filtro->table();
    if (descripcion.isEmpty() || !filtro.active())
        return;
    try {
        filtro.insert();
        filtro.fieldByName(kNombreTabla).setAsString(nombreTabla_);
        filtro.fieldByName(kDescripcion).setAsString(descripcion);
        filtro.fieldByName(kFiltro).setAsString(MemoFiltros->text());
        filtro.post();
    } catch (const gp::Error &) {
        MensajeAviso(QStringLiteral("¡Imposible grabar el registro!"));
        filtro.cancel();
        return;
    }
    EditDescripcionFiltro->reloadList();
    filtro.locate(kDescripcion, descripcion);
    mostrarFiltroActual(true);
}

void TfGENEFILT::EliminarClick(QObject *)
{
    if (!hayFiltroSeleccionado())
        return;
    plat::TableDataSet &filtro = Filtro->table();
    try {
        filtro.remove();
    } catch (const gp::Error &) {
        MensajeAviso(QStringLiteral("¡El registro está siendo utilizado por otro usuario!"));
        return;
    }
    EditDescripcionFiltro->reloadList();
    filtro.first();
    mostrarFiltroActual(true);
}

void TfGENEFILT::SalirClick(QObject *)
{
    Close();
}

void TfGENEFILT::FormClose(QObject *)
{
    Filtro->table().close();
}
