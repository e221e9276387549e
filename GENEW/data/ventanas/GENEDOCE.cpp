#include "GENEW/data/ventanas/GENEDOCE.h"

#include "GENEW/data/ventanas/GENEMLIS.h"
#include "GENEW/data/ventanas/GENETEXT.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/MensajeCorreo.h"
#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/ServiciosExternos.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Menus.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

TfGENEDOCE *fGENEDOCE = nullptr;

using sentenciasDocumentos::Movimiento;

namespace {

const QString kDatabase = QStringLiteral("Database");
const QString kDebeSeleccionar = QStringLiteral("¡Debe seleccionar algún documento!");
const QString kNombreDocumento = QStringLiteral("Introduzca el Nombre del Documento:");
const QString kNoRegistrado = QStringLiteral("¡No ha sido posible registrar el Documento!");
const QString kSinDireccion = QStringLiteral("Introduzca aquí la dirección de correo del destinatario...");

bool esImagen(const QString &ubicacion)
{
    const QString extension = QFileInfo(ubicacion).suffix().toUpper();
    return extension == QLatin1String("BMP") || extension == QLatin1String("JPG") || extension == QLatin1String("JPEG")
        || extension == QLatin1String("WMF");
}

QString titulo(const QString &entrada) { return entrada.section(u'|', 0, 0); }
QString ubicacion(const QString &entrada) { return entrada.section(u'|', 1); }

} // namespace

QString RutaLocalDocumento(const QString &ubicacion)
{
    if (ubicacion.startsWith(u'/'))
        return ubicacion;
    if (ubicacion.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return QUrl(ubicacion).toLocalFile();
    return QString();
}

QUrl DireccionDocumento(const QString &ubicacion)
{
    const QString ruta = RutaLocalDocumento(ubicacion);
    if (!ruta.isEmpty())
        return QUrl::fromLocalFile(ruta);
    return QUrl(ubicacion.contains(QLatin1String("://")) ? ubicacion : QStringLiteral("http://") + ubicacion);
}

TfGENEDOCE::TfGENEDOCE(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fGENEDOCE"), QStringLiteral("Documentación Electrónica")),
      instancia_(fGENEDOCE, this)
{
    setBounds(0, 0, 800, 560);
    setKeyPreview(true);
    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);

    Panel1 = make<plat::Panel>(QStringLiteral("Panel1"), this);
    Panel1->setFixedHeight(34);
    auto *barra = new QHBoxLayout(Panel1);
    barra->setContentsMargins(4, 3, 4, 3);
    barra->setSpacing(2);
    pbAgregar = boton(QStringLiteral("pbAgregar"), QStringLiteral("Documento"), QStringLiteral("Agregar un documento a la lista"));
    pbEliminar = boton(QStringLiteral("pbEliminar"), QStringLiteral("Eliminar"), QStringLiteral("Eliminar un documento de la lista"));
    pbEjecutar = boton(QStringLiteral("pbEjecutar"), QStringLiteral("Abrir"),
                       QStringLiteral("Ejecutar la aplicación indicada en Ubicación"));
    pbAgregarWeb = boton(QStringLiteral("pbAgregarWeb"), QStringLiteral("Web"), QStringLiteral("Agregar una página web a la lista"));
    pbAgregarCarpeta = boton(QStringLiteral("pbAgregarCarpeta"), QStringLiteral("Carpeta"),
                             QStringLiteral("Agregar una carpeta o directorio a la lista"));
    pbEnviarEMail = boton(QStringLiteral("pbEnviarEMail"), QStringLiteral("Correo"),
                          QStringLiteral("Enviar los documentos seleccionados por correo electrónico"));
    pbPrimero = boton(QStringLiteral("pbPrimero"), QStringLiteral("|<"), QStringLiteral("Ir al primer registro"));
    pbAnterior = boton(QStringLiteral("pbAnterior"), QStringLiteral("<"), QStringLiteral("Ir al registro anterior"));
    pbSiguiente = boton(QStringLiteral("pbSiguiente"), QStringLiteral(">"), QStringLiteral("Ir al registro siguiente"));
    pbUltimo = boton(QStringLiteral("pbUltimo"), QStringLiteral(">|"), QStringLiteral("Ir al ultimo registro"));
    for (plat::SpeedButton *b : {pbAgregar, pbEliminar, pbEjecutar, pbAgregarWeb, pbAgregarCarpeta, pbEnviarEMail})
        barra->addWidget(b);
    barra->addSpacing(12);
    for (plat::SpeedButton *b : {pbPrimero, pbAnterior, pbSiguiente, pbUltimo})
        barra->addWidget(b);
    pnClave = make<plat::Panel>(QStringLiteral("pnClave"), Panel1);
    barra->addWidget(pnClave, 1);

    ListView1 = make<plat::ListView>(QStringLiteral("ListView1"), this);
    ListView1->addColumn(QStringLiteral("Título"), 250);
    ListView1->addColumn(QStringLiteral("Ubicación"), 500);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setRootIsDecorated(false);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    construirMenu();

    PanelDescripcion = make<plat::Panel>(QStringLiteral("PanelDescripcion"), this);
    auto *descripcion = new QVBoxLayout(PanelDescripcion);
    descripcion->setContentsMargins(2, 2, 2, 2);
    pbEditarDescripcion = make<plat::SpeedButton>(QStringLiteral("pbEditarDescripcion"), PanelDescripcion);
    pbEditarDescripcion->setCaption(QStringLiteral("Descripción"));
    pbEditarDescripcion->setHint(QStringLiteral("Editar la Descripción"));
    MemoDescripcion = make<plat::Memo>(QStringLiteral("MemoDescripcion"), PanelDescripcion);
    MemoDescripcion->setReadOnly(true);
    descripcion->addWidget(pbEditarDescripcion, 0, Qt::AlignLeft);
    descripcion->addWidget(MemoDescripcion, 1);

    PanelVisor = make<plat::Panel>(QStringLiteral("PanelVisor"), this);
    auto *visor = new QVBoxLayout(PanelVisor);
    visor->setContentsMargins(2, 2, 2, 2);
    pbStretch = make<plat::SpeedButton>(QStringLiteral("pbStretch"), PanelVisor);
    pbStretch->setCaption(QStringLiteral("Ajustar"));
    pbStretch->setHint(QStringLiteral("Ajustar la imagen al tamaño de la ventana"));
    pbStretch->setGroupIndex(1);
    pbStretch->setAllowAllUp(true);
    WebBrowser1 = make<plat::HtmlView>(QStringLiteral("WebBrowser1"), PanelVisor);
    ScrollBoxImagen = make<QScrollArea>(QStringLiteral("ScrollBoxImagen"), PanelVisor);
    Imagen = make<plat::Image>(QStringLiteral("Imagen"), ScrollBoxImagen);
    ScrollBoxImagen->setWidget(Imagen);
    visor->addWidget(pbStretch, 0, Qt::AlignLeft);
    visor->addWidget(WebBrowser1, 1);
    visor->addWidget(ScrollBoxImagen, 1);

    auto *partes = new QSplitter(Qt::Vertical, this);
    auto *abajo = new QSplitter(Qt::Horizontal, partes);
    partes->addWidget(ListView1);
    abajo->addWidget(PanelDescripcion);
    abajo->addWidget(PanelVisor);
    abajo->setSizes({260, 540});
    partes->addWidget(abajo);
    partes->setSizes({200, 320});
    columna->addWidget(Panel1);
    columna->addWidget(partes, 1);

    OpenDialog1 = make<plat::OpenDialog>(QStringLiteral("OpenDialog1"), this);

    OnCreate = plat::handler(this, &TfGENEDOCE::FormCreate);
    OnShow = plat::handler(this, &TfGENEDOCE::FormShow);
    OnActivate = plat::handler(this, &TfGENEDOCE::FormActivate);
    OnKeyDown = plat::handler(this, &TfGENEDOCE::FormKeyDown);
    OnKeyPress = plat::handler(this, &TfGENEDOCE::FormKeyPress);
    const auto al = [this](plat::SpeedButton *b, void (TfGENEDOCE::*manejador)(QObject *)) {
        connect(b, &QToolButton::clicked, this, [this, b, manejador] { (this->*manejador)(b); });
    };
    al(pbAgregar, &TfGENEDOCE::pbAgregarClick);
    al(pbEliminar, &TfGENEDOCE::pbEliminarClick);
    al(pbEjecutar, &TfGENEDOCE::pbEjecutarClick);
    al(pbAgregarWeb, &TfGENEDOCE::pbAgregarWebClick);
    al(pbAgregarCarpeta, &TfGENEDOCE::pbAgregarCarpetaClick);
    al(pbEnviarEMail, &TfGENEDOCE::pbEnviarEMailClick);
    al(pbPrimero, &TfGENEDOCE::pbPrimeroClick);
    al(pbAnterior, &TfGENEDOCE::pbAnteriorClick);
    al(pbSiguiente, &TfGENEDOCE::pbSiguienteClick);
    al(pbUltimo, &TfGENEDOCE::pbUltimoClick);
    al(pbEditarDescripcion, &TfGENEDOCE::pbEditarDescripcionClick);
    al(pbStretch, &TfGENEDOCE::pbStretchClick);
    connect(ListView1, &QTreeWidget::currentItemChanged, this, [this] { MostrarDocumento(); });
    connect(ListView1, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        const QPoint global = ListView1->viewport()->mapToGlobal(p);
        PopupMenu1->Popup(global.x(), global.y());
    });
    connect(WebBrowser1, &QTextBrowser::sourceChanged, this, [this] { ListView1->viewport()->update(); });
}

plat::SpeedButton *TfGENEDOCE::boton(const QString &nombre, const QString &texto, const QString &ayuda)
{
    auto *b = make<plat::SpeedButton>(nombre, Panel1);
    b->setCaption(texto);
    b->setHint(ayuda);
    b->setMinimumWidth(28);
    return b;
}

void TfGENEDOCE::construirMenu()
{
    PopupMenu1 = make<plat::PopupMenu>(QStringLiteral("PopupMenu1"), this);
    const auto entrada = [this](const QString &nombre, const QString &texto, void (TfGENEDOCE::*manejador)(QObject *)) {
        auto *item = make<plat::MenuItem>(nombre, texto, PopupMenu1);
        item->OnClick = [this, manejador](QObject *Sender) { (this->*manejador)(Sender); };
        PopupMenu1->Items()->Add(item);
        return item;
    };
    const auto separador = [this](const QString &nombre) {
        PopupMenu1->Items()->Add(make<plat::MenuItem>(nombre, QStringLiteral("-"), PopupMenu1));
    };
    InicializarLista1 = entrada(QStringLiteral("InicializarLista1"),
                                QStringLiteral("Inicializar la lista de documentos seleccionados"),
                                &TfGENEDOCE::InicializarLista1Click);
    AgregarALista1 = entrada(QStringLiteral("AgregarALista1"), QStringLiteral("Agregar a la lista de documentos seleccionados"),
                             &TfGENEDOCE::AgregarALista1Click);
    VerLista1 = entrada(QStringLiteral("VerLista1"), QStringLiteral("Ver la lista de documentos seleccionados"),
                        &TfGENEDOCE::VerLista1Click);
    separador(QStringLiteral("N1"));
    EnviarLista1 = entrada(QStringLiteral("EnviarLista1"),
                           QStringLiteral("Enviar la lista de documentos seleccionados por correo electrónico"),
                           &TfGENEDOCE::EnviarLista1Click);
    separador(QStringLiteral("N2"));
    EnviarDocumento1 = entrada(QStringLiteral("EnviarDocumento1"),
                               QStringLiteral("Enviar el documento seleccionado por correo electrónico"),
                               &TfGENEDOCE::EnviarDocumento1Click);
}

// ---- life -----------------------------------------------------------------------------------

void TfGENEDOCE::FormCreate(QObject *)
{
    fGENEINIC->AbrirTablasFormulario(*this);
    DocumentosSeleccionados.clear();
    vaciarVisores();
}

void TfGENEDOCE::FormShow(QObject *) { fGENEINIC->TraducirFormulario(this); }

void TfGENEDOCE::FormActivate(QObject *) { update(); }

void TfGENEDOCE::FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift)
{
    fGENEINIC->ProcesarTeclaFormulario(Sender, Key, Shift);
}

void TfGENEDOCE::FormKeyPress(QObject *Sender, QChar &Key) { fGENEINIC->ProcesarTeclaPulsada(Sender, Key); }

void TfGENEDOCE::BuscarDatosDBEdit(QObject *) {}

// ---- showing ------------------------------------------------------------------------------

void TfGENEDOCE::CargarDocumentos()
{
    pnClave->setCaption(TablaDocumentos + QStringLiteral(" - ") + QString(ClaveDocumentos).replace(u'|', QStringLiteral(" · ")));
    ListView1->Clear();
    // Read as values, not as the SQL service's text answer, whose "|" between columns would
    // cut a name or a location holding one.
    plat::QueryDataSet consulta(QStringLiteral("Documentos"));
    consulta.setSqlOrigin(plat::SqlOrigin::Program);
    consulta.setSql(sentenciasDocumentos::Documentos(TablaDocumentos, ClaveDocumentos));
    try {
        if (ModuloDatos->AbrirConsulta(consulta)) {
            for (consulta.first(); !consulta.eof(); consulta.next())
                ListView1->addItem(consulta.fieldByName(QStringLiteral("Nombre")).asString(),
                                   {consulta.fieldByName(QStringLiteral("Ubicacion")).asString()});
        }
    } catch (const gp::Error &) {
        // A list that cannot be read is shown empty, as a failed answer was.
    }
    if (ListView1->itemCount() > 0)
        ListView1->setCurrentItem(ListView1->topLevelItem(0));
    else
        mostrarNada();
    DocumentosSeleccionados.clear();
}

void TfGENEDOCE::mostrarNada()
{
    MemoDescripcion->Clear();
    vaciarVisores();
    WebBrowser1->show();
    fGENEINIC->AbrirPaginaHTML(this, WebBrowser1);
}

void TfGENEDOCE::vaciarVisores()
{
    WebBrowser1->hide();
    ScrollBoxImagen->hide();
    pbStretch->hide();
    Imagen->setPicture(QPixmap());
}

QString TfGENEDOCE::descripcionDe(const QString &nombre)
{
    // A single column comes with its line breaks.
    const QString respuesta =
        ModuloDatos->EjecutarSQL(sentenciasDocumentos::Descripcion(TablaDocumentos, ClaveDocumentos, nombre), kDatabase);
    return EsRespuestaErrorSQL(respuesta) ? QString() : respuesta;
}

void TfGENEDOCE::MostrarDocumento()
{
    const QTreeWidgetItem *item = ListView1->selectedItem();
    if (!item)
        return;
    MemoDescripcion->setText(descripcionDe(item->text(0)));
    vaciarVisores();
    const QString lugar = item->text(1);
    const QString ruta = RutaLocalDocumento(lugar);
    if (esImagen(lugar)) {
        pbStretch->show();
        ScrollBoxImagen->show();
        // A picture that cannot be read leaves the pane empty.
        if (Imagen->LoadFromFile(ruta.isEmpty() ? lugar : ruta))
            pbStretchClick(pbStretch);
    } else {
        WebBrowser1->show();
        if (!ruta.isEmpty()) {
            fGENEINIC->AbrirPaginaHTML(this, WebBrowser1);
            WebBrowser1->Navigate(QStringLiteral("file://") + ruta);
        } else {
            WebBrowser1->Navigate(lugar);
        }
    }
    ListView1->setFocus();
    ListView1->viewport()->update();
}

void TfGENEDOCE::pbStretchClick(QObject *)
{
    const bool ajustar = pbStretch->downState();
    Imagen->setStretch(ajustar);
    ScrollBoxImagen->setWidgetResizable(ajustar);
    if (!ajustar)
        Imagen->resize(Imagen->picture().size());
}

void TfGENEDOCE::pbEjecutarClick(QObject *)
{
    const QTreeWidgetItem *item = ListView1->selectedItem();
    if (!item)
        return;
    Imagen->setPicture(QPixmap());
    fGENEINIC->AbrirPaginaHTML(this, WebBrowser1);
    if (!AbrirURL(DireccionDocumento(item->text(1))))
        MensajeAviso(QStringLiteral("¡Imposible ejecutar la aplicación!"));
}

// ---- editing the list ---------------------------------------------------------------------

namespace {

// The declared widths of DOCUTRON's text columns: one engine would cut a longer text, or store
// it whole, where another refuses it. None when the table cannot be read; its insert says why.
QHash<QString, int> anchosDocumentos()
{
    QHash<QString, int> anchos;
    try {
        for (const plat::FieldDef &columna : fGENEINIC->Database().columns(QStringLiteral("DOCUTRON")))
            if (columna.type == ftString)
                anchos.insert(columna.name.toLower(), columna.size);
    } catch (const gp::Error &) {
    }
    return anchos;
}

} // namespace

QStringList TfGENEDOCE::programas() const { return {caption(), ProgramaRegistro}; }

void TfGENEDOCE::aplicarNivel()
{
    const bool soloLectura = SoloLectura(programas());
    for (plat::SpeedButton *b : {pbAgregar, pbEliminar, pbAgregarWeb, pbAgregarCarpeta, pbEditarDescripcion})
        b->setEnabled(!soloLectura);
}

void TfGENEDOCE::agregarDocumento(const QString &nombre, const QString &ubicacion, const QString &descripcion)
{
    const QString motivo =
        sentenciasDocumentos::MotivoNoCabe(TablaDocumentos, ClaveDocumentos, nombre, ubicacion, anchosDocumentos());
    if (!motivo.isEmpty()) {
        MensajeAviso(kNoRegistrado + QStringLiteral(". Motivo: ") + motivo);
        return;
    }
    const QString sentencia =
        sentenciasDocumentos::Insertar(TablaDocumentos, ClaveDocumentos, nombre, ubicacion, descripcion);
    if (!ModuloDatos->EjecutarSQL(sentencia, kDatabase, OpcionSQL::Silenciosa).isEmpty()) {
        MensajeAviso(kNoRegistrado);
        return;
    }
    ListView1->setCurrentItem(ListView1->addItem(nombre, {ubicacion}));
}

namespace {

// A chosen file or folder whose name is not text (bytes that are no UTF-8) reaches the program
// as another name, which would be stored pointing nowhere: it is refused before anything else.
bool rutaExistente(const QString &ruta)
{
    if (QFileInfo::exists(ruta))
        return true;
    MensajeAviso(kNoRegistrado);
    return false;
}

} // namespace

void TfGENEDOCE::pbAgregarClick(QObject *)
{
    if (!EscrituraAutorizada(programas()) || !OpenDialog1->Execute() || OpenDialog1->FileName.isEmpty()
        || !rutaExistente(OpenDialog1->FileName))
        return;
    const QFileInfo fichero(OpenDialog1->FileName);
    QString propuesta = fichero.fileName();
    if (!fichero.suffix().isEmpty())
        propuesta.remove(propuesta.indexOf(u'.' + fichero.suffix()), fichero.suffix().size() + 1);
    const QString nombre = MensajePedirDato(kNombreDocumento, propuesta);
    if (nombre.isEmpty())
        return;
    agregarDocumento(nombre, ObtenerNombreUNC(fichero.absoluteFilePath()), QString());
}

void TfGENEDOCE::pbAgregarCarpetaClick(QObject *)
{
    QString carpeta;
    if (!EscrituraAutorizada(programas())
        || !fGENEINIC->SeleccionarCarpetaArchivo(QStringLiteral("Seleccione la carpeta que desea incorporar"), carpeta,
                                                 QStringLiteral("Carpetas"))
        || carpeta.isEmpty() || !rutaExistente(carpeta))
        return;
    const QString nombre = MensajePedirDato(kNombreDocumento, QFileInfo(QDir::cleanPath(carpeta)).fileName());
    if (nombre.isEmpty())
        return;
    agregarDocumento(nombre, ObtenerNombreUNC(carpeta), QString());
}

void TfGENEDOCE::pbAgregarWebClick(QObject *)
{
    if (!EscrituraAutorizada(programas()))
        return;
    const QString direccion = MensajePedirDato(QStringLiteral("Introduzca la dirección de la página Web:"));
    if (direccion.isEmpty())
        return;
    const QString nombre = MensajePedirDato(kNombreDocumento, direccion);
    if (nombre.isEmpty())
        return;
    agregarDocumento(nombre, direccion, QString());
}

void TfGENEDOCE::pbEliminarClick(QObject *)
{
    QTreeWidgetItem *item = ListView1->selectedItem();
    if (!item || !EscrituraAutorizada(programas()))
        return;
    const QString respuesta =
        ModuloDatos->EjecutarSQL(sentenciasDocumentos::Eliminar(TablaDocumentos, ClaveDocumentos, item->text(0)), kDatabase);
    if (!respuesta.isEmpty()) {
        MensajeAviso(QStringLiteral("¡No ha sido posible eliminar el registro del Documento!"));
        return;
    }
    delete item;
    if (ListView1->itemCount() == 0)
        mostrarNada();
}

void TfGENEDOCE::pbEditarDescripcionClick(QObject *)
{
    if (!EscrituraAutorizada(programas()))
        return;
    if (const QTreeWidgetItem *item = ListView1->selectedItem()) {
        const QString texto = EditarTexto(QStringLiteral("Titulo=Descripción del Documento"), MemoDescripcion->text());
        const QString respuesta = ModuloDatos->EjecutarSQL(
            sentenciasDocumentos::ActualizarDescripcion(TablaDocumentos, ClaveDocumentos, item->text(0), texto), kDatabase);
        if (respuesta.isEmpty())
            MemoDescripcion->setText(texto);
        return;
    }
    const QString nombre = MensajePedirDato(QStringLiteral("Introduzca el Título:"));
    if (nombre.isEmpty())
        return;
    const QString texto = EditarTexto(QStringLiteral("Titulo=Descripción"), MemoDescripcion->text());
    agregarDocumento(nombre, QString(), texto);
    MemoDescripcion->setText(texto);
}

// ---- walking the records -------------------------------------------------------------------

void TfGENEDOCE::navegar(Movimiento movimiento)
{
    const QString respuesta =
        ModuloDatos->EjecutarSQL(sentenciasDocumentos::Navegar(movimiento, TablaDocumentos, ClaveDocumentos), kDatabase);
    // An error answer is no key: the window keeps its record.
    if (EsRespuestaErrorSQL(respuesta))
        return;
    const QString clave = DividirLineas(respuesta).value(0);
    if (clave.isEmpty() && movimiento == Movimiento::Siguiente) {
        MensajeInformacion(QStringLiteral("Esta Vd. en el último registro"));
        return;
    }
    if (clave.isEmpty() && movimiento == Movimiento::Anterior) {
        MensajeInformacion(QStringLiteral("Esta Vd. en el primer registro"));
        return;
    }
    ClaveDocumentos = clave;
    CargarDocumentos();
}

void TfGENEDOCE::pbPrimeroClick(QObject *) { navegar(Movimiento::Primero); }
void TfGENEDOCE::pbAnteriorClick(QObject *) { navegar(Movimiento::Anterior); }
void TfGENEDOCE::pbSiguienteClick(QObject *) { navegar(Movimiento::Siguiente); }
void TfGENEDOCE::pbUltimoClick(QObject *) { navegar(Movimiento::Ultimo); }

// ---- mailing --------------------------------------------------------------------------------

void TfGENEDOCE::seleccionar(const QTreeWidgetItem &item)
{
    const QString entrada = item.text(0) + u'|' + item.text(1);
    const auto lugar = std::lower_bound(DocumentosSeleccionados.begin(), DocumentosSeleccionados.end(), entrada);
    if (lugar == DocumentosSeleccionados.end() || *lugar != entrada)
        DocumentosSeleccionados.insert(lugar, entrada);
}

void TfGENEDOCE::InicializarLista1Click(QObject *) { DocumentosSeleccionados.clear(); }

void TfGENEDOCE::AgregarALista1Click(QObject *)
{
    if (const QTreeWidgetItem *item = ListView1->selectedItem())
        seleccionar(*item);
}

void TfGENEDOCE::VerLista1Click(QObject *)
{
    const QString lista = MostrarListaDatos(
        QStringLiteral("Titulo=Lista de Documentos Seleccionados\r\nFormato=0,0,530,0;\r\nNumeroCampos=2\r\n"
                       "DefinicionCampos=Titulo,ftString,125;Ubicacion,ftString,255;\r\nModo=Consulta,Eliminar\r\n"),
        UnirLineas(DocumentosSeleccionados));
    QStringList quedan;
    for (const QString &linea : DividirLineas(lista)) {
        // A row of the list editor ends its last value with "|" too.
        const QString entrada = titulo(linea) + u'|' + ExtraerCampo(1, linea, QStringLiteral("|"));
        if (!linea.isEmpty() && !quedan.contains(entrada))
            quedan << entrada;
    }
    quedan.sort();
    DocumentosSeleccionados = quedan;
}

void TfGENEDOCE::EnviarLista1Click(QObject *) { EnviarDocumentosCorreo(); }

void TfGENEDOCE::EnviarDocumento1Click(QObject *)
{
    const QTreeWidgetItem *item = ListView1->selectedItem();
    if (!item)
        return;
    DocumentosSeleccionados.clear();
    seleccionar(*item);
    EnviarDocumentosCorreo();
}

void TfGENEDOCE::pbEnviarEMailClick(QObject *)
{
    if (DocumentosSeleccionados.isEmpty()) {
        if (const QTreeWidgetItem *item = ListView1->selectedItem())
            seleccionar(*item);
    }
    EnviarDocumentosCorreo();
}

// A customer's or supplier's address by its code, empty when there is none; the key's first
// piece becomes SQL only when it is a whole number.
QString TfGENEDOCE::destinatario()
{
    const QString tabla = ModuloDatos->QuitarPropietarioTabla(TablaDocumentos);
    bool esCodigo = false;
    const qint64 codigo = ExtraerCampo(0, ClaveDocumentos, QStringLiteral("|")).toLongLong(&esCodigo);
    QString direccion;
    if ((tabla == QLatin1String("CLIENTE") || tabla == QLatin1String("PROVEEDR")) && esCodigo) {
        const QString respuesta = ModuloDatos->EjecutarSQL(sentenciasDocumentos::DireccionCorreo(tabla, codigo), kDatabase);
        if (!EsRespuestaErrorSQL(respuesta))
            direccion = DividirLineas(respuesta).value(0).trimmed();
    }
    return direccion;
}

void TfGENEDOCE::EnviarDocumentosCorreo()
{
    if (DocumentosSeleccionados.isEmpty()) {
        MensajeAviso(kDebeSeleccionar);
        return;
    }
    QString para = destinatario();
    QString adjuntos;
    for (const QString &entrada : std::as_const(DocumentosSeleccionados))
        adjuntos += ubicacion(entrada) + u'|';
    const auto esFichero = [](const QString &lugar) {
        const QString ruta = RutaLocalDocumento(lugar);
        return !ruta.isEmpty() && QFileInfo(ruta).isFile();
    };
    QString asunto, texto;
    if (DocumentosSeleccionados.size() == 1) {
        const QString &entrada = DocumentosSeleccionados.constFirst();
        asunto = titulo(entrada);
        texto = esFichero(ubicacion(entrada)) ? QStringLiteral("Ver documentos adjuntos...")
                                               : QStringLiteral("La referencia siguiente puede ser de su interés: ")
                + titulo(entrada) + QStringLiteral(" (") + ubicacion(entrada) + u')';
    } else {
        asunto = QStringLiteral("Documentos/referencias de su interés");
        texto = QStringLiteral("Adjunto le remitimos los siguientes documentos/referencias: \r\n");
        for (const QString &entrada : std::as_const(DocumentosSeleccionados)) {
            const QString lugar = ubicacion(entrada);
            texto += titulo(entrada) + QStringLiteral(" (")
                + (esFichero(lugar) ? QFileInfo(RutaLocalDocumento(lugar)).fileName() : lugar) + QStringLiteral(")\r\n");
        }
    }
    const plat::Field *ajustesGenerales = ModuloDatos->ParamGenerales->table().active()
        ? ModuloDatos->ParamGenerales->table().findField(QStringLiteral("CfgCorreoElectronico"))
        : nullptr;
    // The placeholder only invites an address: the desktop's mail program opens without one.
    if (ajustesGenerales && ajustesGenerales->asString().contains(QLatin1String("ClienteSMTP=Indy"))) {
        para = MensajePedirDato(QStringLiteral("Introduzca la dirección de correo electrónica del destinatario:"),
                                para.isEmpty() ? kSinDireccion : para);
        if (para.isEmpty() || para == kSinDireccion)
            return;
    }
    const QString ajustes = ModuloDatos->ConfiguracionSMTP();
    QString error;
    if (!fGENEINIC->EnviarCorreoElectronico(ajustes, para, asunto, texto, adjuntos, error, QString(), QString()))
        MensajeAviso(TextoCorreoNoEnviado(
            error.isEmpty() ? QStringLiteral("no se ha indicado la dirección del destinatario") : error));
    else if (EnviaPorSMTP(ajustes))
        MensajeInformacion(QStringLiteral("El correo electrónico ha sido enviado a ") + para);
    DocumentosSeleccionados.clear();
}

// ---- the opener -------------------------------------------------------------------------------

void AbrirDocumentacionElectronica(const QString &tabla, const QString &clave)
{
    if (!ModuloDatos
        || ModuloDatos->NivelAccesoPrograma(fGENEINIC->UsuarioActual, QStringLiteral("Documentación Electrónica"))
            == QLatin1String("Ninguno"))
        return;
    // The record's window is the one the user is in: its menu, its keys or its scrolling
    // opened this one.
    const plat::Form *principal = plat::application().mainForm();
    const plat::Form *registro = principal ? principal->activeMdiChild() : nullptr;
    TfGENEDOCE *ventana = nullptr;
    ModuloDatos->AbrirFormularioMDI(ventana, QStringLiteral("fGENEDOCE"));
    if (!ventana)
        return;
    if (registro != ventana)
        ventana->ProgramaRegistro = registro ? registro->caption() : QString();
    ventana->aplicarNivel();
    ventana->TablaDocumentos = ModuloDatos->QuitarPropietarioTabla(tabla);
    ventana->ClaveDocumentos = clave;
    ventana->CargarDocumentos();
}
