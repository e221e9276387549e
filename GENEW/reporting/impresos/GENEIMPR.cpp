#include "GENEW/reporting/impresos/GENEIMPR.h"

#include "GENEW/data/ventanas/EmpresaListado.h"
#include "GENEW/data/modulo/FormulariosMDI.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/reporting/impresos/GENELIMP.h"
#include "GENEW/reporting/impresos/ServiciosImpresion.h"
#include "GENEW/reporting/informes/AjustesVistaPrevia.h"
#include "GENEW/runtime/AperturaDataSet.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Keys.h"
#include "platform/ui/RefusedText.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPointer>
#include <QScopeGuard>
#include <QStyle>

QString ModoImpresos;
TfGENEIMPR *fGENEIMPR = nullptr;

namespace {

const QString kNombre = QStringLiteral("fGENEIMPR");
const QString kTitulo = QStringLiteral("Configuración de Impresos");
const QString kPredeterminada = QStringLiteral("Predeterminada");

const QStringList kTiposDocumento = {
    "Albaran", "Albaran Web", "Bono Trabajo", "Certificado Calidad", "Cesta Web", "Etiqueta Adjunta OF",
    "Etiqueta Articulo", "Etiqueta Envio", "Etiqueta ODETTE", "Etiqueta Operacion", "Etiqueta Proveedor",
    "Etiqueta Recepcion", "Factura", "Factura E-Mail", "Factura Emitida", "Factura Recibida", "Factura Web",
    "Gama Control", "Hoja Ruta", "Hoja Ruta Auxiliar", "Inspeccion OF", "Inspeccion Recepcion", "Intrastat N-Exp",
    "Intrastat N-Imp", "Intrastat O-Exp", "Intrastat O-Imp", "Intrastat S-Exp", "Intrastat S-Imp", "Lista Empaque",
    "Lista Recambios", "Mailing", "Movimiento Almacen", "No Conformidad", "Nomina", "Notificacion AS Web",
    "Notificacion CD Web", "Notificacion RS Web", "Oferta Cliente", "Oferta Proveedor", "Orden Fabricacion",
    "Orden Trabajo", "Orden Transferencia", "Otros", "Pedido Cliente", "Pedido Cliente Web", "Pedido Proveedor",
    "Plan Mantenimiento", "Proyecto", "Recibo", "Registro Entrada", "Talon", "Ticket", "Transporte", "Visita"};

// The two request tables of a simulation: one document with one line.
const QString kDefinicionDocumentos = QStringLiteral(
    "Tabla Temporal\r\n/C/1/CodigoTemporal/ftInteger/0/*\r\n/I/1/<Primary>/CodigoTemporal");
const QString kDefinicionLineas = QStringLiteral(
    "Tabla Temporal 1\r\n/C/1/CodigoTemporal/ftInteger/0/*\r\n/C/2/Linea/ftSmallint/0/*\r\n"
    "/C/3/LineaMemo/ftSmallint/0/*\r\n/I/1/<Primary>/CodigoTemporal;Linea;LineaMemo");

void crearTablaSimulacion(plat::TableComponent &tabla, const QString &definicion, const QString &propietario)
{
    DataSetAbribleDe<plat::TableDataSet> abrible(tabla.table(), propietario);
    if (!fGENEINIC->CrearTabla(abrible, definicion, -1) || !tabla.table().active())
        throw gp::Error(QStringLiteral("No se pudo crear la tabla temporal del impreso"));
    tabla.table().emptyTable();
}

// A common dialog of the data module with its title (and no filter) for one use; what it
// had comes back afterwards.
template<class D>
class DialogoPrestado
{
public:
    DialogoPrestado(D &dialogo, const QString &titulo) : dialogo_(dialogo), titulo_(dialogo.Title), filtro_(dialogo.Filter)
    {
        dialogo.Title = titulo;
        dialogo.Filter.clear();
    }
    ~DialogoPrestado()
    {
        dialogo_.Title = titulo_;
        dialogo_.Filter = filtro_;
    }
    DialogoPrestado(const DialogoPrestado &) = delete;
    DialogoPrestado &operator=(const DialogoPrestado &) = delete;

private:
    D &dialogo_;
    QString titulo_, filtro_;
};

} // namespace

TfGENEIMPR::TfGENEIMPR(QWidget *parent)
    : FormularioMaestro(parent, kNombre, kTitulo), enContexto_(ModoImpresos == kModoContexto), instancia_(fGENEIMPR, this)
{
    comportamiento.fallaGrabarEdicion =
        QStringLiteral("¡Imposible modificar el registro!. Es posible que esté siendo modificado por otro usuario.");
    comportamiento.refrescarSoloNavegando = true;
    // Opened from a layout selector the window is shown modally, which an MDI child cannot be.
    if (enContexto_)
        setFormStyle(plat::fsNormal);
    setBounds(0, 0, 720, 540);
    Table1->setTableName(QStringLiteral("IMPRESO"));

    QWidget *area = areaDatos();
    construirDatos(area);
    construirPaginas(area);
    construirHerramientas(area);
    ajustarMenu();
    establecerCampoClave(EditCodigo);
    EditCodigo->OnExit = plat::handler(this, &TfGENEIMPR::CampoClaveExit);
    EditModo->OnExit = plat::handler<FormularioMaestro>(this, &FormularioMaestro::ValidacionWinControl);
    connect(DataSource1, &plat::DataSource::recordChanged, this, &TfGENEIMPR::mostrarValoresFueraDeLista);
    connect(DataSource1, &plat::DataSource::fieldChanged, this, &TfGENEIMPR::mostrarValoresFueraDeLista);
    connect(DataSource1, &plat::DataSource::dataSetReplaced, this, &TfGENEIMPR::mostrarValoresFueraDeLista);
    // A save on leaving the key answers only the click that follows it, before anything changes.
    connect(DataSource1, &plat::DataSource::recordChanged, this, [this] { grabadoAlSalirDeClave_.reset(); });
    connect(DataSource1, &plat::DataSource::fieldChanged, this, [this] { grabadoAlSalirDeClave_.reset(); });

    OnShow = plat::handler(this, &TfGENEIMPR::FormShow);
    OnClose = plat::handler(this, &TfGENEIMPR::FormClose);
    OnKeyDown = plat::handler(this, &TfGENEIMPR::FormKeyDown);
    OnKeyPress = plat::handler(this, &TfGENEIMPR::FormKeyPress);
}

TfGENEIMPR::~TfGENEIMPR()
{
    // The table goes after this part of the window, telling its data source on the way.
    disconnect(DataSource1, nullptr, this, nullptr);
}

// ---- building ------------------------------------------------------------------------------

void TfGENEIMPR::construirDatos(QWidget *area)
{
    const auto etiqueta = [&](const QString &nombre, const QString &texto, int left, int top, int width) {
        auto *l = plat::place(make<plat::Label>(nombre, area), left, top, width, 16);
        l->setCaption(texto);
        return l;
    };
    const auto enlazar = [this](plat::DataBound *control, const QString &campo) {
        control->setDataSource(DataSource1);
        control->setDataField(campo);
    };
    const auto lista = [&](const QString &nombre, plat::ComboBox::Style estilo, const QStringList &items, int left,
                           int top, int width) {
        auto *c = plat::place(make<plat::DBComboBox>(nombre, area), left, top, width, 24);
        c->setStyle(estilo);
        c->setItems(items);
        return c;
    };
    LabelCodigo = etiqueta(QStringLiteral("LabelCodigo"), QStringLiteral("Código"), 12, 14, 90);
    EditCodigo = plat::place(make<plat::DBEdit>(QStringLiteral("EditCodigo"), area), 110, 10, 160, 24);
    enlazar(EditCodigo, QStringLiteral("Codigo"));
    LabelDescripcion = etiqueta(QStringLiteral("LabelDescripcion"), QStringLiteral("Descripción"), 12, 44, 90);
    EditDescripcion = plat::place(make<plat::DBEdit>(QStringLiteral("EditDescripcion"), area), 110, 40, 360, 24);
    enlazar(EditDescripcion, QStringLiteral("Descripcion"));
    LabelTipoDocumento = etiqueta(QStringLiteral("LabelTipoDocumento"), QStringLiteral("Tipo Documento"), 12, 74, 96);
    EditTipoDocumento =
        lista(QStringLiteral("EditTipoDocumento"), plat::ComboBox::csDropDown, kTiposDocumento, 110, 70, 200);
    enlazar(EditTipoDocumento, QStringLiteral("TipoDocumento"));
    LabelModo = etiqueta(QStringLiteral("LabelModo"), QStringLiteral("Modo"), 12, 104, 90);
    EditModo = lista(QStringLiteral("EditModo"), plat::ComboBox::csDropDownList,
                     {QStringLiteral("Grafico"), QStringLiteral("Texto"), QStringLiteral("ASCII"), QStringLiteral("MSWord")},
                     110, 100, 120);
    enlazar(EditModo, QStringLiteral("Modo"));
    LabelFormato = etiqueta(QStringLiteral("LabelFormato"), QStringLiteral("Formato"), 250, 104, 60);
    EditFormato = lista(QStringLiteral("EditFormato"), plat::ComboBox::csDropDown,
                        {QStringLiteral("A4"), QStringLiteral("A4-Apaisado"), QStringLiteral("A5"),
                         QStringLiteral("A5-Apaisado"), QStringLiteral("Sin Formato")},
                        310, 100, 160);
    enlazar(EditFormato, QStringLiteral("Formato"));
}

void TfGENEIMPR::construirPaginas(QWidget *area)
{
    PageControl1 = plat::place(make<plat::PageControl>(QStringLiteral("PageControl1"), area), 8, 134, 704, 334);
    const auto pagina = [&](const QString &nombre, const QString &titulo) {
        auto *p = make<plat::TabSheet>(nombre, PageControl1);
        p->setCaption(titulo);
        PageControl1->addPage(p);
        return p;
    };
    PagInstrucciones = pagina(QStringLiteral("PagInstrucciones"), QStringLiteral("Instrucciones"));
    PagAdicional = pagina(QStringLiteral("PagAdicional"), QStringLiteral("Adicional"));

    EditInstrucciones = plat::place(make<plat::DBMemo>(QStringLiteral("EditInstrucciones"), PagInstrucciones), 4, 4, 692, 296);
    EditInstrucciones->setWordWrap(false);
    EditInstrucciones->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    EditInstrucciones->setDataSource(DataSource1);
    EditInstrucciones->setDataField(QStringLiteral("Instrucciones"));

    LabelImpresoraPorDefecto = plat::place(make<plat::Label>(QStringLiteral("LabelImpresoraPorDefecto"), PagAdicional), 12, 18,
                                       140, 16);
    LabelImpresoraPorDefecto->setCaption(QStringLiteral("Impresora por Defecto"));
    EditImpresoraPorDefecto =
        plat::place(make<plat::DBComboBox>(QStringLiteral("EditImpresoraPorDefecto"), PagAdicional), 160, 14, 320, 24);
    EditImpresoraPorDefecto->setStyle(plat::ComboBox::csDropDownList);
    EditImpresoraPorDefecto->setDataSource(DataSource1);
    EditImpresoraPorDefecto->setDataField(QStringLiteral("ImpresoraPorDefecto"));
}

void TfGENEIMPR::construirHerramientas(QWidget *area)
{
    P1 = plat::place(make<plat::Panel>(QStringLiteral("P1"), area), 486, 8, 190, 40);
    int left = 6;
    const auto boton = [&](const QString &nombre, QStyle::StandardPixmap icono, const QString &pista,
                           void (TfGENEIMPR::*clic)(QObject *)) {
        auto *b = plat::place(make<plat::SpeedButton>(nombre, P1), left, 6, 28, 28);
        left += 30;
        b->setIcon(style()->standardIcon(icono));
        b->setHint(pista);
        b->OnClick = plat::handler(this, clic);
        return b;
    };
    pbSimular = boton(QStringLiteral("pbSimular"), QStyle::SP_FileDialogContentsView,
                      QStringLiteral("Salvar y Simular la previsualización del informe"), &TfGENEIMPR::pbSimularClick);
    pbCambiarFont = boton(QStringLiteral("pbCambiarFont"), QStyle::SP_FileDialogDetailedView,
                          QStringLiteral("Cambiar el font de las instrucciones"), &TfGENEIMPR::pbCambiarFontClick);
    pbImportar = boton(QStringLiteral("pbImportar"), QStyle::SP_DialogOpenButton,
                       QStringLiteral("Importar las instrucciones desde un fichero de texto (ASCII)"),
                       &TfGENEIMPR::pbImportarClick);
    pbExportar = boton(QStringLiteral("pbExportar"), QStyle::SP_DialogSaveButton,
                       QStringLiteral("Exportar las instrucciones a un fichero de texto (ASCII)"),
                       &TfGENEIMPR::pbExportarClick);
    left += 6;
    pbAyuda = boton(QStringLiteral("pbAyuda"), QStyle::SP_MessageBoxQuestion, QStringLiteral("Ayuda"),
                    &TfGENEIMPR::pbAyudaClick);
    P1->resize(left + 4, P1->height());
}

void TfGENEIMPR::ajustarMenu()
{
    // The layouts have no card listing; its entry and sub-entries go.
    Ficha->Delete(Ficha->indexOf(ListarFichaActual1));
    ListarFichaActual1 = FormatoOriginal1 = APaginaCompleta1 = nullptr;
    Buscar->OnClick = plat::handler(this, &TfGENEIMPR::Buscar1Click);
    CopiarRegistrosaOtrasEmpresas1->OnClick = plat::handler(this, &TfGENEIMPR::CopiarRegistrosaOtrasEmpresas1Click);
    DocumentacionElectronica1->OnClick = plat::handler(this, &TfGENEIMPR::DocumentacionElectronica1Click);
}

// ---- creation, showing, closing ------------------------------------------------------------

void TfGENEIMPR::FormCreate(QObject *Sender)
{
    if (!fGENEINIC || !ModuloDatos)
        return;
    fGENEINIC->PrepararFormulario(this);
    setCaption(kTitulo);
    fGENEINIC->AjustarTamanoFormulario(this, QString());
    if (!enContexto_ && fGENEINIC->SeleccionEmpresaActiva && !elegirEmpresa()) {
        Close();
        return;
    }
    if (!ModuloDatos->ProcesoAutorizado(fGENEINIC->UsuarioActual, QStringLiteral("Modificar Impresos")))
        fGENEINIC->TablasSoloLectura(this);
    FormularioMaestro::FormCreate(Sender);
    if (!Table1->dataSet().active())
        return;   // the tables could not be opened: the window is closing
    EditCodigo->setFocus();
    CopiarRegistrosaOtrasEmpresas1->setVisible(fGENEINIC->SeleccionEmpresaActiva);
    // Importing writes the layout's instructions.
    pbImportar->setEnabled(!SoloLectura(this));
    llenarImpresoras();
    PageControl1->setActivePage(PagInstrucciones);
}

bool TfGENEIMPR::elegirEmpresa()
{
    try {
        ConectarEmpresaListado();
        const int empresa = fGENEINIC->CodigoEmpresaListado;
        if (empresa == 0)
            return false;
        QVariant resultado;
        const QVariant campos = ModuloDatos->LeerCamposRegistro(QStringLiteral("EMPRESA"), QString::number(empresa),
                                                                resultado, QStringLiteral("Abreviatura"));
        if (campos.isNull())
            return false;
        setCaption(campos.toStringList().value(0) + QStringLiteral(": ") + caption());
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void TfGENEIMPR::llenarImpresoras()
{
    EditImpresoraPorDefecto->setItems(QStringList{kPredeterminada} + impresorasMotor().impresoras());
    mostrarValoresFueraDeLista();
}

void TfGENEIMPR::mostrarValoresFueraDeLista()
{
    const plat::DataSet &tabla = Table1->dataSet();
    for (plat::DBComboBox *lista : {EditModo, EditImpresoraPorDefecto}) {
        const plat::Field *campo = tabla.active() ? tabla.findField(lista->dataField()) : nullptr;
        lista->setPlaceholderText(campo ? campo->text() : QString());
    }
}

void TfGENEIMPR::FormShow(QObject *)
{
    if (fGENEINIC)
        fGENEINIC->TraducirFormulario(this);
}

void TfGENEIMPR::FormClose(QObject *, plat::CloseAction &Action)
{
    // Opened from a selector the window belongs to its opener, which frees it.
    Action = enContexto_ ? plat::caHide : plat::caFree;
    ModoImpresos.clear();
}

// ---- keys ----------------------------------------------------------------------------------

bool TfGENEIMPR::focoEn(const QWidget *control) const
{
    const QWidget *foco = QApplication::focusWidget();
    return foco && (foco == control || control->isAncestorOf(foco));
}

void TfGENEIMPR::FormKeyDown(QObject *, int &Key, plat::ShiftState Shift)
{
    enterCambiadoATab_ = false;
    if (Shift != plat::ShiftState{})
        return;
    switch (Key) {
    case plat::VK_RETURN:
        if (!focoEn(EditInstrucciones)) {
            Key = plat::VK_TAB;
            enterCambiadoATab_ = true;
        }
        break;
    case plat::VK_F1:
        pbAyudaClick(this);
        Key = 0;
        break;
    case plat::VK_F2:
        BuscarDatosDBEdit(this);
        Key = 0;
        break;
    case plat::VK_F9:
        pbSimularClick(this);
        Key = 0;
        break;
    default:
        break;
    }
}

void TfGENEIMPR::FormKeyPress(QObject *, QChar &Key)
{
    if (Key != u'\r' || focoEn(EditInstrucciones))
        return;
    Key = QChar();
    // A key-down that already turned Enter into Tab has moved the focus.
    if (!enterCambiadoATab_)
        selectNext();
}

void TfGENEIMPR::BuscarDatosDBEdit(QObject *) {}

// ---- states and the new record -------------------------------------------------------------

void TfGENEIMPR::DataSource1StateChange(QObject *Sender)
{
    FormularioMaestro::DataSource1StateChange(Sender);
    // The electronic documents do nothing here, in any state.
    DocumentacionElectronica1->setEnabled(true);
}

void TfGENEIMPR::Table1NewRecord(plat::DataSet &DataSet)
{
    DataSet.fieldByName(QStringLiteral("TipoDocumento")).setAsString(QStringLiteral("Otro"));
    DataSet.fieldByName(QStringLiteral("Modo")).setAsString(QStringLiteral("Grafico"));
    DataSet.fieldByName(QStringLiteral("Formato")).setAsString(QStringLiteral("A4"));
    DataSet.fieldByName(QStringLiteral("ImpresoraPorDefecto")).setAsString(kPredeterminada);
}

void TfGENEIMPR::Table1AfterPost(plat::DataSet &) { ModuloDatos->GrabarMemosSQL(Table1->table()); }

// ---- checks and the key --------------------------------------------------------------------

bool TfGENEIMPR::ValidarDatos(QWidget *control)
{
    if (!editando() || focoEn(pbCancelar))
        return true;
    plat::DataSet &tabla = Table1->dataSet();
    if ((!control || control == EditCodigo) && tabla.fieldByName(QStringLiteral("Codigo")).asString().trimmed().isEmpty()) {
        MensajeAviso(QStringLiteral("¡No es posible crear registros con el código en blanco!"));
        return false;
    }
    if ((!control || control == EditModo) && tabla.fieldByName(QStringLiteral("Modo")).asString() == QLatin1String("ASCII"))
        tabla.fieldByName(QStringLiteral("Formato")).setAsString(QStringLiteral("Sin Formato"));
    return true;
}

void TfGENEIMPR::volverAlCampoClave() { plat::refuseText(*EditCodigo); }

void TfGENEIMPR::CampoClaveExit(QObject *)
{
    plat::DataSet &tabla = Table1->dataSet();
    if (!tabla.active())
        return;
    const QString clave = EditCodigo->text().trimmed();
    if (clave.isEmpty()) {
        tabla.cancel();
        return;
    }
    if (!claveEnRango(*EditCodigo->field(), clave)) {
        volverAlCampoClave();
        return;
    }
    if (!ValidarDatos(EditCodigo))
        return;
    if (tabla.state() == plat::DataSetState::Edit) {
        if (ClaveModificada && ModuloDatos->ExisteClave(tabla, clave))
            MensajeAviso(QStringLiteral("¡ Ya existe el registro !"));
    } else if (tabla.state() == plat::DataSetState::Insert) {
        if (focoEn(pbConforme)) {
            grabadoAlSalirDeClave_ = grabar();
        } else if (ModuloDatos->ExisteClave(tabla, clave)) {
            MensajeAviso(QStringLiteral("¡ Ya existe el registro !"));
            volverAlCampoClave();
        }
    }
}

// ---- saving --------------------------------------------------------------------------------

bool TfGENEIMPR::grabar()
{
    plat::DataSet &tabla = Table1->dataSet();
    const plat::DataSetState estado = tabla.state();
    if (estado != plat::DataSetState::Edit && estado != plat::DataSetState::Insert)
        return true;
    try {
        if (gp::capturarFallo([&] { tabla.post(); })) {
            // The record stays as typed, for the user to mend or cancel.
            if (estado == plat::DataSetState::Edit)
                MensajeAviso(comportamiento.fallaGrabarEdicion);
            return false;
        }
    } catch (const gp::Abort &) {
        return false;   // a check refused and said why
    }
    if (estado == plat::DataSetState::Insert)
        AgregarClick(this);   // which takes the focus to the key
    return true;
}

void TfGENEIMPR::GrabarDatos(QObject *) { grabar(); }

void TfGENEIMPR::pbConformeClick(QObject *)
{
    const bool grabado = grabadoAlSalirDeClave_ ? *grabadoAlSalirDeClave_ : grabar();
    grabadoAlSalirDeClave_.reset();
    if (!grabado)
        MensajeAviso(QStringLiteral("¡ El registro no ha sido grabado !"));
}

// ---- menu handlers -------------------------------------------------------------------------

void TfGENEIMPR::Buscar1Click(QObject *Sender) { BuscarClick(Sender); }

void TfGENEIMPR::CopiarRegistrosaOtrasEmpresas1Click(QObject *Sender)
{
    if (EsEsteEjecutable(QStringLiteral("KORVEL.EXE")) || EsEsteEjecutable(QStringLiteral("PELKARO.EXE")))
        return;
    FormularioMaestro::CopiarRegistrosaOtrasEmpresas1Click(Sender);
}

void TfGENEIMPR::DocumentacionElectronica1Click(QObject *) {}

void TfGENEIMPR::pbRefrescarClick(QObject *) { fGENEINIC->RefrescarDatos(this, QStringLiteral("Apertura/Cierre")); }

// ---- help ----------------------------------------------------------------------------------

void TfGENEIMPR::mostrarAyuda(const QString &titulo)
{
    if (fGENEINIC)
        fGENEINIC->MostrarAyuda(ContextoAyudaDeTitulo(titulo));
}

void TfGENEIMPR::Ayuda1Click(QObject *) { mostrarAyuda(caption()); }

void TfGENEIMPR::pbAyudaClick(QObject *)
{
    // Without the company's abbreviation before it.
    const QString titulo = caption();
    const int separador = titulo.indexOf(QLatin1String(": "));
    mostrarAyuda(separador < 0 ? titulo : titulo.mid(separador + 2));
}

// ---- tools ---------------------------------------------------------------------------------

void TfGENEIMPR::pbSimularClick(QObject *)
{
    plat::DataSet &tabla = Table1->dataSet();
    if (!tabla.active())
        return;
    // Read before saving: a new layout saved here is followed by the next blank one.
    const QString codigo = tabla.fieldByName(QStringLiteral("Codigo")).asString();
    if (editando() && !grabar())
        return;   // a preview of what is stored would not be what is on screen
    FormularioLlamanteImpreso = kNombre;
    VistaPreviaImpreso = true;
    CodigoImpresoPeticion = codigo;
    FormularioMotorImpreso formulario;
    TfGENELIMP &motor = formulario.motor();
    crearTablaSimulacion(*motor.Temporal, kDefinicionDocumentos, motor.objectName());
    crearTablaSimulacion(*motor.LTemporal, kDefinicionLineas, motor.objectName());
    plat::TableDataSet &documentos = motor.Temporal->table();
    plat::TableDataSet &lineas = motor.LTemporal->table();
    lineas.setIndexFieldNames(QStringLiteral("CodigoTemporal;Linea;LineaMemo"));
    lineas.setMasterSource(&documentos, QStringLiteral("CodigoTemporal"));
    documentos.append();
    documentos.fieldByName(QStringLiteral("CodigoTemporal")).setAsInteger(1);
    documentos.post();
    lineas.append();
    lineas.fieldByName(QStringLiteral("CodigoTemporal")).setAsInteger(1);
    lineas.fieldByName(QStringLiteral("Linea")).setAsInteger(1);
    lineas.fieldByName(QStringLiteral("LineaMemo")).setAsInteger(0);
    lineas.post();
    motor.Imprimir();
}

void TfGENEIMPR::pbImportarClick(QObject *)
{
    if (!EscrituraAutorizada(this))
        return;
    plat::OpenDialog &dialogo = *ModuloDatos->OpenDialog1;
    {
        const DialogoPrestado prestado(dialogo, QStringLiteral("Importar desde un Archivo de Texto"));
        if (!dialogo.Execute())
            return;
    }
    const LecturaFicheroTexto lectura = LeerFicheroTextoConMotivo(dialogo.FileName);
    if (!lectura.leido) {
        MensajeAviso(lectura.textoNoDisponible());
        return;
    }
    Table1->dataSet().fieldByName(QStringLiteral("Instrucciones")).setAsString(lectura.texto);
}

void TfGENEIMPR::pbExportarClick(QObject *)
{
    plat::SaveDialog &dialogo = *ModuloDatos->SaveDialog1;
    {
        const DialogoPrestado prestado(dialogo, QStringLiteral("Exportar a un Archivo de Texto"));
        if (!dialogo.Execute())
            return;
    }
    const QString texto = Table1->dataSet().fieldByName(QStringLiteral("Instrucciones")).asString();
    if (!EscribirFicheroTexto(dialogo.FileName, texto))
        MensajeAviso(QStringLiteral("¡No se puede grabar el archivo %1!").arg(dialogo.FileName));
}

void TfGENEIMPR::pbCambiarFontClick(QObject *)
{
    plat::FontDialog &dialogo = *ModuloDatos->FontDialog1;
    dialogo.Font = EditInstrucciones->font();
    if (dialogo.Execute())
        EditInstrucciones->setFont(dialogo.Font);
}

// ---- opening from a layout selector --------------------------------------------------------

void EditarImpresoEnContexto(const QString &codigoImpreso)
{
    ModoImpresos = kModoContexto;
    const auto limpiarModo = qScopeGuard([] { ModoImpresos.clear(); });
    TfGENEIMPR *editor = nullptr;
    // An editor the user has open among the program windows stays as it is; this one is
    // another instance.
    if (BuscarFormularioMDI(kNombre)) {
        editor = plat::openForm<TfGENEIMPR>(NombreNuevaInstancia(kNombre));
        ModuloDatos->RegistrarAccesoFormulario(editor, QStringLiteral("Create"));
    } else {
        ModuloDatos->AbrirFormularioMDI(editor, kNombre);
    }
    QPointer<TfGENEIMPR> abierto(editor);
    const auto liberar = qScopeGuard([&abierto] {
        if (abierto)
            abierto->Free();
    });
    if (!abierto || !abierto->Table1->dataSet().active())
        return;
    (void)gp::capturarFallo([&] { abierto->Table1->dataSet().findKey({codigoImpreso}); });
    abierto->ShowModal();
}

EdicionImpresosInstalada::EdicionImpresosInstalada()
{
    PuntosEntradaFormulario &e = fGENEINIC->PuntosEntrada;
    editarPrevio_ = e.EditarImpreso;
    puedeAbrirPrevio_ = e.PuedeAbrirPrograma;
    e.EditarImpreso = EditarImpresoEnContexto;
    e.PuedeAbrirPrograma = [](const QString &programa) {
        return ModuloDatos
            && ModuloDatos->NivelAccesoPrograma(fGENEINIC->UsuarioActual, programa) != QLatin1String("Ninguno");
    };
}

EdicionImpresosInstalada::~EdicionImpresosInstalada()
{
    if (!fGENEINIC)
        return;
    PuntosEntradaFormulario &e = fGENEINIC->PuntosEntrada;
    e.EditarImpreso = editarPrevio_;
    e.PuedeAbrirPrograma = puedeAbrirPrevio_;
}
