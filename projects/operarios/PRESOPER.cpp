#include "projects/operarios/PRESOPER.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "platform/base/FechaHora.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Colors.h"
#include "projects/operarios/Primmodu.h"
#include "projects/calendario/RRHHCAOP.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

TfPRESOPER *fPRESOPER = nullptr;

namespace {

const QString kTabla = QStringLiteral("OPERARIO");
const QString kFormatoCifras = QStringLiteral("#,###.##");
const QString kOtraTransaccion =
    QStringLiteral("¡ Hay otra transacción activa en curso !. Debe finalizarla previamente.");
const QString kTransaccionNoCompletada = QStringLiteral("¡ La transacción no ha sido completada !. Inténtelo de nuevo.");

// The local files of a drop, in drop order.
QStringList ficherosLocales(const QMimeData *datos)
{
    QStringList ficheros;
    if (!datos)
        return ficheros;
    for (const QUrl &url : datos->urls())
        if (url.isLocalFile())
            ficheros << url.toLocalFile();
    return ficheros;
}

} // namespace

TfPRESOPER::TfPRESOPER(QWidget *parent)
    : FormularioMaestro(parent, QStringLiteral("fPRESOPER"), QStringLiteral("Maestro de Operarios")),
      instancia_(fPRESOPER, this)
{
    comportamiento.fallaGrabarEdicion = QStringLiteral("¡ El registro está siendo modificado por otro usuario !");
    comportamiento.fallaGrabarAlta = QStringLiteral("¡ Este registro ya existe !");
    comportamiento.soloMinimizar = true;
    Table1->setTableName(kTabla);
    GATablas = make<plat::TableComponent>(QStringLiteral("GATablas"), this);
    GATablas->setTableName(QStringLiteral("GRANTAB"));
    DSGATablas = make<plat::DataSource>(QStringLiteral("DSGATablas"), this);
    DSGATablas->setDataSet(GATablas);
    Table1->dataSet().addCalculatedField(QStringLiteral("ActividadMovil"), ftFloat).displayFormat = kFormatoCifras;
    GATablas->dataSet().addCalculatedField(QStringLiteral("DescripcionGA"), ftString, 40);
    GATablas->dataSet().addCalculatedField(QStringLiteral("CategoriaGA"), ftString, 30);

    QWidget *area = areaDatos();
    construirDatos(area);
    construirGrupos(area);
    construirFoto(area);
    conectarEventos();
    establecerCampoClave(EditCodigo);
    setBounds(0, 0, 640, 470);
    setFixedSize(640, 470);
}

TfPRESOPER::~TfPRESOPER()
{
    // The controls lose the focus while the window is being taken apart.
    EditCategoria->OnExit = nullptr;
    PanelFoto->removeEventFilter(this);
}

void TfPRESOPER::construirDatos(QWidget *area)
{
    int fila = 0;
    const auto campo = [&](plat::Label *&etiqueta, const QString &nombreEtiqueta, const QString &texto,
                           plat::DBEdit *&edit, const QString &nombreEdit, const QString &nombreCampo, int ancho) {
        const int top = 12 + 28 * fila++;
        etiqueta = plat::place(make<plat::Label>(nombreEtiqueta, area), 12, top + 4, 100, 16);
        etiqueta->setCaption(texto);
        edit = plat::place(make<plat::DBEdit>(nombreEdit, area), 116, top, ancho, 24);
        edit->setDataSource(DataSource1);
        edit->setDataField(nombreCampo);
    };
    campo(LBCodigo, QStringLiteral("LBCodigo"), QStringLiteral("Código"), EditCodigo, QStringLiteral("EditCodigo"),
          QStringLiteral("Codigo"), 60);
    campo(LBNombre, QStringLiteral("LBNombre"), QStringLiteral("Nombre"), EditNombre, QStringLiteral("EditNombre"),
          QStringLiteral("Nombre"), 280);
    campo(LBCategoria, QStringLiteral("LBCategoria"), QStringLiteral("Categoría"), EditCategoria,
          QStringLiteral("EditCategoria"), QStringLiteral("CodigoCategoria"), 60);
    campo(LBTarifa, QStringLiteral("LBTarifa"), QStringLiteral("Tarifa"), EditTarifa, QStringLiteral("EditTarifa"),
          QStringLiteral("TarifaHoraria"), 100);
    campo(LBActividadMovil, QStringLiteral("LBActividadMovil"), QStringLiteral("Actividad Móvil"), EditActividadMovil,
          QStringLiteral("EditActividadMovil"), QStringLiteral("ActividadMovil"), 100);
    campo(LBNumeroTarjeta, QStringLiteral("LBNumeroTarjeta"), QStringLiteral("Número Tarjeta"), EditNumeroTarjeta,
          QStringLiteral("EditNumeroTarjeta"), QStringLiteral("NumeroTarjeta"), 160);
    campo(LBCodigoUsuario, QStringLiteral("LBCodigoUsuario"), QStringLiteral("Código Usuario"), EditCodigoUsuario,
          QStringLiteral("EditCodigoUsuario"), QStringLiteral("CodigoUsuario"), 120);
    campo(LBCalendario, QStringLiteral("LBCalendario"), QStringLiteral("Calendario"), EditCalendario,
          QStringLiteral("EditCalendario"), QStringLiteral("CodigoCalendario"), 60);
    EditActividadMovil->setReadOnly(true);
    EditActividadMovil->setColor(plat::clBtnFace);
    EditActividadMovil->setFocusPolicy(Qt::NoFocus);
    CalendarioOperario = plat::place(make<plat::SpeedButton>(QStringLiteral("CalendarioOperario"), area), 180,
                                 EditCalendario->y(), 24, 24);
    CalendarioOperario->setCaption(QStringLiteral("..."));
    CalendarioOperario->setHint(QStringLiteral("Acceso al Calendario del Operario"));
}

void TfPRESOPER::construirGrupos(QWidget *area)
{
    LBGruposAnalisis = plat::place(make<plat::Label>(QStringLiteral("LBGruposAnalisis"), area), 12, 244, 200, 16);
    LBGruposAnalisis->setCaption(QStringLiteral("Grupos de Análisis"));
    DBGridGA = plat::place(make<plat::DBGrid>(QStringLiteral("DBGridGA"), area), 12, 262, 400, 148);
    DBGridGA->setDataSource(DSGATablas);
    LBGruposAnalisis->setBuddy(DBGridGA);
    DBGridGA->setHint(QStringLiteral("Pulsar FLECHA ABAJO para agregar registros aquí"));
    const struct
    {
        const char *campo;
        const char *titulo;
        int ancho;
    } columnas[] = {{"GrupoAnalisis", "G.A.", 58}, {"CategoriaGA", "Categoría", 83}, {"DescripcionGA", "Descripción", 220}};
    for (const auto &c : columnas) {
        plat::GridColumn *columna = DBGridGA->addColumn(QString::fromLatin1(c.campo));
        columna->TitleCaption = QString::fromUtf8(c.titulo);
        columna->Width = c.ancho;
    }
    DBGridGA->updateColumns();
}

void TfPRESOPER::construirFoto(QWidget *area)
{
    LBFotografia = plat::place(make<plat::Label>(QStringLiteral("LBFotografia"), area), 430, 16, 180, 16);
    LBFotografia->setCaption(QStringLiteral("Fotografía"));
    PanelFoto = plat::place(make<plat::Panel>(QStringLiteral("PanelFoto"), area), 430, 36, 190, 220);
    PanelFoto->setColor(plat::clWhite);
    PanelFoto->setAcceptDrops(true);
    PanelFoto->installEventFilter(this);
    Foto = plat::place(make<plat::Image>(QStringLiteral("Foto"), PanelFoto), 2, 2, 186, 216);
    Foto->setStretch(true);
    PopupMenuFoto = make<plat::PopupMenu>(QStringLiteral("PopupMenuFoto"), this);
    BorrarlaImgen1 = make<plat::MenuItem>(QStringLiteral("BorrarlaImgen1"), QStringLiteral("&Borrar la Imágen"), PopupMenuFoto);
    BorrarlaImgen1->OnClick = plat::handler(this, &TfPRESOPER::BorrarlaImgen1Click);
    PopupMenuFoto->Items()->Add(BorrarlaImgen1);
    Foto->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Foto, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        const QPoint global = Foto->mapToGlobal(p);
        PopupMenuFoto->Popup(global.x(), global.y());
    });
}

void TfPRESOPER::conectarEventos()
{
    using plat::handler;
    OnCreate = handler(this, &TfPRESOPER::FormCreate);
    pbRefrescar->OnClick = handler(this, &TfPRESOPER::pbRefrescarClick);
    EditCategoria->OnExit = [this](QObject *Sender) { ValidacionWinControl(Sender); };
    EditCategoria->OnDblClick = handler(this, &TfPRESOPER::BuscarDatosDBEdit);
    DBGridGA->OnDblClick = handler(this, &TfPRESOPER::DBGridGADblClick);
    CalendarioOperario->OnClick = handler(this, &TfPRESOPER::CalendarioOperarioClick);
    DataSource1->OnDataChange = handler(this, &TfPRESOPER::DataSource1DataChange);

    plat::DataSet &o = Table1->dataSet();
    o.BeforeDelete = [this](plat::DataSet &ds) { Table1BeforeDelete(ds); };
    o.AfterDelete = [this](plat::DataSet &ds) { Table1AfterDelete(ds); };
    o.OnDeleteError = [this](plat::DataSet &ds, const gp::Error &e, plat::DataAction &a) { Table1DeleteError(ds, e, a); };
    o.BeforeCancel = [this](plat::DataSet &ds) { Table1BeforeCancel(ds); };
    o.AfterScroll = [this](plat::DataSet &ds) { Table1AfterScroll(ds); };
    o.OnCalcFields = [this](plat::DataSet &ds) { Table1CalcFields(ds); };
    // The operators open before the groups: the groups' opening then reads the record's alone.
    o.AfterOpen = [this](plat::DataSet &) { DataSource1DataChange(DataSource1, nullptr); };
    plat::DataSet &g = GATablas->dataSet();
    g.OnNewRecord = [this](plat::DataSet &ds) { GATablasNewRecord(ds); };
    g.OnCalcFields = [this](plat::DataSet &ds) { GATablasCalcFields(ds); };
}

// ---- creation ------------------------------------------------------------------------------

void TfPRESOPER::FormCreate(QObject *Sender)
{
    aplicarEjecutable();
    // Without a started program (the window pictured on its own) nothing opens.
    if (!fGENEINIC || !ModuloDatos)
        return;
    FormularioMaestro::FormCreate(Sender);
    if (plat::Field *tarifa = Table1->dataSet().findField(QStringLiteral("TarifaHoraria")))
        tarifa->displayFormat = kFormatoCifras;
    // The opening of the tables already limited the groups to the record and showed its
    // photo when it found one; the groups of a table opened without a record start here.
    if (!GATablas->dataSet().range().isActive())
        DataSource1DataChange(DataSource1, nullptr);
    if (!Table1->dataSet().active() || Table1->dataSet().isEmpty())
        Table1AfterScroll(Table1->dataSet());
}

// The sibling programs of the family show this window differently.
void TfPRESOPER::aplicarEjecutable()
{
    if (EsEsteEjecutable(QStringLiteral("OSTRELA.EXE"))) {
        for (QWidget *control : std::initializer_list<QWidget *>{LBCalendario, EditCalendario, LBCategoria, EditCategoria,
                                                                 LBActividadMovil, EditActividadMovil, LBNumeroTarjeta,
                                                                 EditNumeroTarjeta})
            control->setEnabled(false);
    }
    CalendarioOperario->setEnabled(EsEsteEjecutable(QStringLiteral("VIMBARO.EXE")));
}

void TfPRESOPER::pbRefrescarClick(QObject *) { fGENEINIC->RefrescarDatos(this, QStringLiteral("Apertura/Cierre")); }

// ---- the record ----------------------------------------------------------------------------

QString TfPRESOPER::ClaveOperario()
{
    QString clave = ModuloDatos->ClaveRegistro(Table1->dataSet());
    clave.replace(u';', u'|');
    if (clave.endsWith(u'|'))
        clave.chop(1);
    return clave;
}

bool TfPRESOPER::categoriaValida()
{
    const plat::Field &categoria = Table1->dataSet().fieldByName(QStringLiteral("CodigoCategoria"));
    const QString codigo = categoria.displayText();
    if (categoria.asInteger() == 0 || ModuloDatos->ExisteClaveEnTabla(QStringLiteral("CATEGORI"), codigo + u';'))
        return true;
    MensajeAviso(QStringLiteral("¡No existe la Categoría ") + codigo + u'!');
    return false;
}

bool TfPRESOPER::ValidarControl(QWidget *control)
{
    if (!editando() || (focusWidget() && focusWidget() == pbCancelar))
        return true;
    if (control && control != EditCategoria)
        return true;
    return categoriaValida();
}

void TfPRESOPER::BuscarDatosDBEdit(QObject *)
{
    plat::DataSet &o = Table1->dataSet();
    if (!o.active())
        return;
    gp::capturarFallo([&] { o.edit(); });
    if (focusWidget() != EditCategoria)
        return;
    const QVariant elegido = BuscarRegistro(QStringLiteral("CATEGORI"), 0);
    if (!elegido.isNull() && !elegido.toList().isEmpty())
        o.fieldByName(QStringLiteral("CodigoCategoria")).setAsString(elegido.toList().first().toString());
}

void TfPRESOPER::Table1CalcFields(plat::DataSet &DataSet)
{
    const int codigo = int(DataSet.fieldByName(QStringLiteral("Codigo")).asInteger());
    DataSet.fieldByName(QStringLiteral("ActividadMovil"))
        .setValue(MDPrimas ? MDPrimas->ActividadMovilOperario(codigo, FechaHora(Ahora().date())) : 0.0);
}

// ---- analysis groups -----------------------------------------------------------------------

void TfPRESOPER::DataSource1DataChange(QObject *, plat::Field *Field)
{
    // The groups not open yet open on the record's range alone.
    plat::DataSet &g = GATablas->dataSet();
    if ((Field && Field->fieldName() != QLatin1String("Codigo")) || !Table1->dataSet().active())
        return;
    const QVariantList limite{ModuloDatos->QuitarPropietarioTabla(kTabla),
                              Table1->dataSet().fieldByName(QStringLiteral("Codigo")).displayText()};
    // The groups already shown for this record are not read again.
    if (g.active() && g.range().start == limite && g.range().end == limite)
        return;
    g.setRange(limite, limite);
}

void TfPRESOPER::GATablasNewRecord(plat::DataSet &DataSet)
{
    DBGridGA->setSelectedIndex(0);
    DataSet.fieldByName(QStringLiteral("NombreTabla")).setAsString(ModuloDatos->QuitarPropietarioTabla(kTabla));
    DataSet.fieldByName(QStringLiteral("ClaveTabla"))
        .setAsString(Table1->dataSet().fieldByName(QStringLiteral("Codigo")).displayText());
}

void TfPRESOPER::GATablasCalcFields(plat::DataSet &DataSet)
{
    QVariant leidos;
    ModuloDatos->LeerCamposRegistro(QStringLiteral("GRANALIS"),
                                    DataSet.fieldByName(QStringLiteral("GrupoAnalisis")).asString() + u';', leidos,
                                    QStringLiteral("CategoriaGrupo;Descripcion"));
    const QStringList valores = leidos.toStringList();
    DataSet.fieldByName(QStringLiteral("CategoriaGA")).setAsString(valores.value(0));
    DataSet.fieldByName(QStringLiteral("DescripcionGA")).setAsString(valores.value(1));
}

void TfPRESOPER::DBGridGADblClick(QObject *)
{
    plat::DataSet &g = GATablas->dataSet();
    if (!g.active())
        return;
    gp::capturarFallo([&] { g.edit(); });
    const plat::Field *campo = DBGridGA->selectedField();
    if (!campo || campo->fieldName() != QLatin1String("GrupoAnalisis"))
        return;
    const QString filtro = ModuloDatos->FiltroCategoriasGruposAnalisis(QStringLiteral("Operario"));
    const QVariant elegido = BuscarRegistroConFiltro(QStringLiteral("GRANALIS"), 0, filtro);
    if (!elegido.isNull() && !elegido.toList().isEmpty())
        g.fieldByName(QStringLiteral("GrupoAnalisis")).setAsString(elegido.toList().first().toString());
}

// ---- the photo -----------------------------------------------------------------------------

void TfPRESOPER::Table1AfterScroll(plat::DataSet &)
{
    if (ModuloDatos)
        ModuloDatos->CargarImagenRegistro(kTabla, ClaveOperario(), QStringLiteral("Foto"), Foto);
}

void TfPRESOPER::CalendarioOperarioClick(QObject *)
{
    plat::DataSet &operario = Table1->dataSet();
    const int calendario = int(operario.fieldByName(QStringLiteral("CodigoCalendario")).asInteger());
    if (calendario == 0) {
        MensajeAviso(QStringLiteral("¡El Operario no tiene Calendario asignado!"));
        return;
    }
    const QDate hoy = Ahora().date();
    const int codigo = int(operario.fieldByName(QStringLiteral("Codigo")).asInteger());
    AbrirCalendarioOperario(ModuloDatos->CodigoOperarioPresencia(codigo), hoy.year(), hoy.month(), calendario);
}

void TfPRESOPER::BorrarlaImgen1Click(QObject *)
{
    ModuloDatos->LimpiarValorControl(Foto);
    ModuloDatos->GuardarImagenRegistro(kTabla, ClaveOperario(), Foto, QString());
}

// A photo stored under an empty key would be shown by every operator added later.
void TfPRESOPER::PanelFotoDropFiles(QObject *, const QStringList &Ficheros)
{
    if (Ficheros.isEmpty() || !ModuloDatos || !Table1->dataSet().active())
        return;
    const QString clave = ClaveOperario();
    if (clave.isEmpty())
        return;
    // A drop arrives outside the controls' guarded handlers: a file that cannot be stored
    // is told here, and the stored photo stays.
    if (const gp::Fallo fallo =
            gp::capturarFallo([&] { ModuloDatos->GuardarImagenRegistro(kTabla, clave, Foto, Ficheros.first()); }))
        MensajeError(fallo.mensaje);
}

bool TfPRESOPER::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == PanelFoto) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto *arrastre = static_cast<QDragMoveEvent *>(event);
            if (!ficherosLocales(arrastre->mimeData()).isEmpty())
                arrastre->acceptProposedAction();
            return true;
        }
        if (event->type() == QEvent::Drop) {
            auto *soltar = static_cast<QDropEvent *>(event);
            const QStringList ficheros = ficherosLocales(soltar->mimeData());
            soltar->acceptProposedAction();
            PanelFotoDropFiles(PanelFoto, ficheros);
            return true;
        }
    }
    return FormularioMaestro::eventFilter(watched, event);
}

// ---- deleting and cancelling ---------------------------------------------------------------

// The operator and every side row go in one transaction: the side rows are deleted here,
// the operator's own delete ends it (committed after it, rolled back on its failure), so
// an operator is never left without its photo, groups or documents.
void TfPRESOPER::Table1BeforeDelete(plat::DataSet &DataSet)
{
    ConexionesPrograma &conexiones = fGENEINIC->Conexiones();
    if (conexiones.EnTransaccion || conexiones.EnTransaccionFormularios) {
        MensajeAviso(kOtraTransaccion);
        throw gp::Abort();
    }
    bool hecho = fGENEINIC->IniciarTransaccion();
    borrando_ = hecho;
    if (hecho) {
        try {
            bool borrados = false;
            hecho = !gp::capturarFallo([&] { borrados = ModuloDatos->BorrarRegistrosAsociados(DataSet); }) && borrados;
            if (hecho)
                hecho = !gp::capturarFallo([&] { fGENEINIC->TablaBeforeDelete(DataSet); });
        } catch (const gp::Abort &) {
            hecho = false;
        }
    }
    if (!hecho) {
        conexiones.EnTransaccionFormularios = true;
        terminarBorrado(false);
        MensajeAviso(kTransaccionNoCompletada);
        throw gp::Abort();
    }
}

void TfPRESOPER::terminarBorrado(bool confirmar)
{
    const bool abierta = std::exchange(borrando_, false);
    if (confirmar && abierta)
        fGENEINIC->ConfirmarTransaccion();
    else
        fGENEINIC->CancelarTransaccion();
}

void TfPRESOPER::Table1AfterDelete(plat::DataSet &) { terminarBorrado(true); }

void TfPRESOPER::Table1DeleteError(plat::DataSet &, const gp::Error &, plat::DataAction &) { terminarBorrado(false); }

// A new operator's side rows are those attached to its code meanwhile; an operator saved
// under that code by another user keeps its own.
void TfPRESOPER::Table1BeforeCancel(plat::DataSet &DataSet)
{
    plat::DataSet &g = GATablas->dataSet();
    if (g.active() && (g.state() == plat::DataSetState::Edit || g.state() == plat::DataSetState::Insert))
        g.cancel();
    if (DataSet.state() != plat::DataSetState::Insert || (focusWidget() && focusWidget() == EditCodigo))
        return;
    const QString codigo = DataSet.fieldByName(QStringLiteral("Codigo")).asString();
    if (codigo.isEmpty() || ModuloDatos->ExisteClaveEnTabla(kTabla, codigo + u';'))
        return;
    ModuloDatos->BorrarRegistrosAsociados(DataSet);
}
