#include "GENEW/reporting/GENECINF.h"

#include "GENEW/data/modulo/FormulariosMDI.h"
#include "GENEW/data/ventanas/GENECOPI.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/servicios/TextoRegistros.h"
#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "GENEW/reporting/GENEUINF.h"
#include "GENEW/reporting/IconosHerramientas.h"
#include "GENEW/reporting/personalizados/SentenciaInforme.h"
#include "GENEW/reporting/personalizados/ValidacionInforme.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/ServiciosExternos.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasComponentes.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "platform/base/Errores.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Menus.h"
#include "platform/ui/SpinEdit.h"
#include "platform/ui/data/DataSetComponents.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

TfGENECINF *fGENECINF = nullptr;

using namespace edicionInforme;

namespace {

const QString kSi = QStringLiteral("SI");
const QString kNo = QStringLiteral("NO");
const QString kTipoInforme = QStringLiteral("GeneradorInformes");
const QString kFormato = QStringLiteral("Formato");
const QString kForzado = QStringLiteral("Forzado");
const QString kCrLf = QStringLiteral("\r\n");
const QString kOpcionesDialogo = QStringLiteral("\r\nFormato=0,0,300,0");
const QString kMultipleOrdenada = QStringLiteral("\r\nModo=Multiple\r\nOpciones=Ordenada");
const QString kUnaOrdenada = QStringLiteral("\r\nOpciones=Ordenada");
const QString kPideConstante = QStringLiteral("Introduzca el valor de la constante: ");
const QString kUnaConstante = QStringLiteral("_Una constante");
const QString kUnaVariable = QStringLiteral("_Una variable");
const QString kConstanteMultiple = QStringLiteral("_Una constante multiple");
const QString kVariableMultiple = QStringLiteral("_Una variable multiple");
const QString kExpresion = QStringLiteral("_Expresion");
const QString kExpresionGrupoAnalisis = QStringLiteral("_Expresion_GrupoAnalisis");
const QString kNoGrabado = QStringLiteral("¡No ha sido posible grabar el registro!. Motivo: ");
const QString kRecordatorio = QStringLiteral("Recuerde que los cambios realizados no serán efectivos hasta que las "
                                             "aplicaciones de los usuarios afectados sean cerradas y abiertas de nuevo");
const QString kPideNombreNuevo = QStringLiteral("Introduzca el Nombre del Nuevo Informe: ");

// "   WHERE NombreTabla = 'GeneradorInformes'" and the name's condition, as every statement
// on the reports writes them.
QString condicionTipo()
{
    return QStringLiteral(" FROM FILTRO   WHERE NombreTabla = ") + Entrecomillar(kTipoInforme);
}

QString condicionNombre(const QString &nombre)
{
    return condicionTipo() + QStringLiteral("    AND Descripcion = ") + Entrecomillar(nombre);
}

QStringList lineas(const QString &texto)
{
    QStringList resultado;
    for (const QString &l : DividirLineas(texto))
        if (!l.isEmpty())
            resultado << l;
    return resultado;
}

// The lines of the choice each followed by "*" when preselected.
QString marcadas(const QStringList &opciones, const std::function<bool(const QString &)> &preseleccionada)
{
    QString texto;
    for (const QString &o : opciones)
        texto += o + (preseleccionada(o) ? QStringLiteral("*") : QString()) + kCrLf;
    return texto;
}

// A text's "Name=" line set to the value, the others kept.
QString ponerValor(const QString &texto, const QString &nombre, const QString &valor)
{
    QStringList l = texto.split(kCrLf);
    bool puesto = false;
    for (QString &linea : l)
        if (linea.section(u'=', 0, 0) == nombre) {
            linea = nombre + u'=' + valor;
            puesto = true;
        }
    if (!puesto)
        l << nombre + u'=' + valor;
    return l.join(kCrLf);
}

} // namespace

TfGENECINF::TfGENECINF(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fGENECINF"), QStringLiteral("Configuración de Informes Personalizados")),
      instancia_(fGENECINF, this)
{
    resize(900, 640);
    auto *caja = new QVBoxLayout(this);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->setSpacing(0);
    construirBotones();
    caja->addWidget(PanelBotones);
    PageControl1 = make<plat::PageControl>(QStringLiteral("PageControl1"), this);
    caja->addWidget(PageControl1, 1);
    construirConfiguracion();
    construirFormato();
    construirMenu();
    Filtro = make<plat::TableComponent>(QStringLiteral("Filtro"), this);
    Filtro->setTableName(QStringLiteral("FILTRO"));
    OnCreate = plat::handler(this, &TfGENECINF::FormCreate);
    OnShow = plat::handler(this, &TfGENECINF::FormShow);
    OnActivate = plat::handler(this, &TfGENECINF::FormActivate);
    setKeyPreview(true);
    OnKeyDown = [](QObject *Sender, int &Key, plat::ShiftState Shift) {
        if (fGENEINIC)
            fGENEINIC->ProcesarTeclaFormulario(Sender, Key, Shift);
    };
    OnKeyPress = [](QObject *Sender, QChar &Key) {
        if (fGENEINIC)
            fGENEINIC->ProcesarTeclaPulsada(Sender, Key);
    };
}

void TfGENECINF::construirBotones()
{
    PanelBotones = make<plat::Panel>(QStringLiteral("PanelBotones"), this);
    PanelBotones->setFixedHeight(40);
    auto *fila = new QHBoxLayout(PanelBotones);
    fila->setContentsMargins(4, 4, 4, 4);
    fila->setSpacing(2);
    const auto boton = [&](const QString &nombre, const QString &ayuda, void (TfGENECINF::*manejador)(QObject *)) {
        auto *b = make<plat::SpeedButton>(nombre, PanelBotones);
        PonerIconoHerramienta(*b);
        b->setHint(ayuda);
        b->setFixedSize(36, 28);
        b->OnClick = plat::handler(this, manejador);
        fila->addWidget(b);
        return b;
    };
    pbBuscar = boton(QStringLiteral("pbBuscar"), QStringLiteral("Buscar un Informe Existente"),
                     &TfGENECINF::BuscarDatosDBEdit);
    pbNuevo = boton(QStringLiteral("pbNuevo"), QStringLiteral("Crear un Nuevo Informe en Blanco"),
                    &TfGENECINF::pbNuevoClick);
    pbGuardar = boton(QStringLiteral("pbGuardar"), QStringLiteral("Guardar el Informe actual"),
                      &TfGENECINF::pbGuardarClick);
    pbGuardarComo = boton(QStringLiteral("pbGuardarComo"), QStringLiteral("Guardar el Informe actual como..."),
                          &TfGENECINF::pbGuardarComoClick);
    pbEliminar = boton(QStringLiteral("pbEliminar"), QStringLiteral("Eliminar el Informe actual"),
                       &TfGENECINF::pbEliminarClick);
    pbValidarInforme = boton(QStringLiteral("pbValidarInforme"), QStringLiteral("Validar el Informe actual"),
                             &TfGENECINF::pbValidarInformeClick);
    pbImprimir = boton(QStringLiteral("pbImprimir"), QStringLiteral("Imprimir el Informe Actual"),
                       &TfGENECINF::pbImprimirClick);
    pbRestringirAUsuarios = boton(QStringLiteral("pbRestringirAUsuarios"),
                                  QStringLiteral("Restringir el Acceso al Informe a determinados Usuarios"),
                                  &TfGENECINF::pbRestringirAUsuariosClick);
    pbPersonalizarMenu = boton(QStringLiteral("pbPersonalizarMenu"),
                               QStringLiteral("Personalizar el Informe en un Menú de Aplicación"),
                               &TfGENECINF::pbPersonalizarMenuClick);
    pbCopiarConfiguracion = boton(QStringLiteral("pbCopiarConfiguracion"),
                                  QStringLiteral("Copiar la configuración de Usuarios y Aplicaciones de este informe "
                                                 "a otros informes"), &TfGENECINF::pbCopiarConfiguracionClick);
    pbCopiarAOtrasEmpresas = boton(QStringLiteral("pbCopiarAOtrasEmpresas"),
                                   QStringLiteral("Copiar todos los Informes a otras Empresas"),
                                   &TfGENECINF::pbCopiarAOtrasEmpresasClick);
    pbExportar = boton(QStringLiteral("pbExportar"), QStringLiteral("Exportar los datos a un fichero de texto (ASCII)"),
                       &TfGENECINF::pbExportarClick);
    pbImportar = boton(QStringLiteral("pbImportar"),
                       QStringLiteral("Importar los datos desde un fichero de texto (ASCII)"),
                       &TfGENECINF::pbImportarClick);
    pbZoom = boton(QStringLiteral("pbZoom"), QStringLiteral("Ajustar el área visible a la pantalla"),
                   &TfGENECINF::pbZoomClick);
    pbSalir = boton(QStringLiteral("pbSalir"), QStringLiteral("&Salir"), &TfGENECINF::pbSalirClick);
    fila->addSpacing(12);
    LabelNombreInforme = make<plat::Label>(QStringLiteral("LabelNombreInforme"), PanelBotones);
    LabelNombreInforme->setCaption(QStringLiteral("Nombre Informe"));
    fila->addWidget(LabelNombreInforme);
    edNombreInforme = make<plat::Edit>(QStringLiteral("edNombreInforme"), PanelBotones);
    edNombreInforme->setReadOnly(true);
    edNombreInforme->OnDblClick = plat::handler(this, &TfGENECINF::BuscarDatosDBEdit);
    fila->addWidget(edNombreInforme, 1);
}

plat::ListBox *TfGENECINF::construirLista(const QString &nombre, const QString &titulo, const QString &subtitulo,
                                          QGridLayout *rejilla, int fila, int columna)
{
    auto *bloque = make<plat::Panel>(QStringLiteral("Panel") + nombre, TSConfiguracion);
    auto *caja = new QGridLayout(bloque);
    caja->setContentsMargins(2, 2, 2, 2);
    caja->setSpacing(2);
    auto *etiqueta = make<plat::Label>(QStringLiteral("Label") + nombre, bloque);
    etiqueta->setCaption(titulo);
    QFont negrita = etiqueta->font();
    negrita.setBold(true);
    etiqueta->setFont(negrita);
    auto *subetiqueta = make<plat::Label>(QStringLiteral("Label") + nombre + QStringLiteral("SQL"), bloque);
    subetiqueta->setCaption(subtitulo);
    auto *lista = make<plat::ListBox>(nombre, bloque);
    lista->setOwnerDraw(true);
    lista->OnDrawItem = plat::handler(this, &TfGENECINF::LBDrawItem);
    lista->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lista, &QWidget::customContextMenuRequested, this, [this, lista](const QPoint &p) {
        lista->setFocus();
        const QPoint global = lista->mapToGlobal(p);
        PopupListas->Popup(global.x(), global.y());
    });
    caja->addWidget(etiqueta, 0, 0);
    caja->addWidget(subetiqueta, 0, 1, Qt::AlignRight);
    caja->addWidget(lista, 1, 0, 1, 2);
    auto *botones = new QVBoxLayout;
    botones->setSpacing(1);
    const struct
    {
        const char *prefijo, *texto, *ayuda;
        void (TfGENECINF::*manejador)(QObject *);
    } kBotones[] = {
        {"pbSubir", "▲", "Subir el elemento de la lista seleccionado", &TfGENECINF::pbSubirLBClick},
        {"pbBajar", "▼", "Bajar el elemento de la lista seleccionado", &TfGENECINF::pbBajarLBClick},
        {"pbEliminar", "–", "Eliminar elementos de la lista", &TfGENECINF::pbEliminarLBClick},
        {"pbAgregar", "+", "Agregar elementos a la lista", &TfGENECINF::pbAgregarLBClick},
    };
    for (const auto &b : kBotones) {
        auto *boton = make<plat::SpeedButton>(QLatin1String(b.prefijo) + nombre, bloque);
        boton->setCaption(QString::fromUtf8(b.texto));
        boton->setHint(QString::fromUtf8(b.ayuda));
        boton->setFixedSize(22, 22);
        boton->OnClick = plat::handler(this, b.manejador);
        botones->addWidget(boton);
    }
    botones->addStretch();
    caja->addLayout(botones, 1, 2);
    rejilla->addWidget(bloque, fila, columna);
    return lista;
}

void TfGENECINF::construirConfiguracion()
{
    TSConfiguracion = make<plat::TabSheet>(QStringLiteral("TSConfiguracion"), PageControl1);
    TSConfiguracion->setCaption(QStringLiteral("Configuración"));
    PageControl1->addPage(TSConfiguracion);
    auto *rejilla = new QGridLayout(TSConfiguracion);
    rejilla->setContentsMargins(4, 4, 4, 4);
    LBTablas = construirLista(QStringLiteral("LBTablas"), QStringLiteral("Tablas"), QStringLiteral("(FROM)"), rejilla, 0, 0);
    LBColumnas = construirLista(QStringLiteral("LBColumnas"), QStringLiteral("Columnas"), QStringLiteral("(SELECT)"), rejilla, 0, 1);
    LBRestricciones = construirLista(QStringLiteral("LBRestricciones"), QStringLiteral("Restricciones"),
                                     QStringLiteral("(WHERE)"), rejilla, 0, 2);
    LBOrdenacion = construirLista(QStringLiteral("LBOrdenacion"), QStringLiteral("Ordenación"), QStringLiteral("(ORDER BY)"),
                                  rejilla, 0, 3);
    LBVinculos = construirLista(QStringLiteral("LBVinculos"), QStringLiteral("Vínculos"), QStringLiteral("(JOIN..ON)"),
                                rejilla, 1, 0);
    LBGrupos = construirLista(QStringLiteral("LBGrupos"), QStringLiteral("Grupos"), QStringLiteral("(Datos Cabecera)"),
                              rejilla, 1, 1);
    LBSumatorios = construirLista(QStringLiteral("LBSumatorios"), QStringLiteral("Sumatorios"), QString(), rejilla, 1, 2);
    LBColumnas->OnDblClick = plat::handler(this, &TfGENECINF::LBColumnasDblClick);
    LBOrdenacion->OnDblClick = plat::handler(this, &TfGENECINF::LBOrdenacionDblClick);
    auto *sentencia = make<plat::Panel>(QStringLiteral("PanelSentenciaSQL"), TSConfiguracion);
    auto *caja = new QVBoxLayout(sentencia);
    caja->setContentsMargins(2, 2, 2, 2);
    LabelSentenciaSQL = make<plat::Label>(QStringLiteral("LabelSentenciaSQL"), sentencia);
    LabelSentenciaSQL->setCaption(QStringLiteral("Sentencia SQL"));
    QFont negrita = LabelSentenciaSQL->font();
    negrita.setBold(true);
    LabelSentenciaSQL->setFont(negrita);
    WebBrowser1 = make<plat::HtmlView>(QStringLiteral("WebBrowser1"), sentencia);
    // The statement's own text: what is saved and compared; the page shows its HTML.
    MemoSentenciaSQL = make<plat::Memo>(QStringLiteral("MemoSentenciaSQL"), sentencia);
    MemoSentenciaSQL->setVisible(false);
    caja->addWidget(LabelSentenciaSQL);
    caja->addWidget(WebBrowser1, 1);
    rejilla->addWidget(sentencia, 1, 3);
    rejilla->setRowStretch(0, 1);
    rejilla->setRowStretch(1, 1);
}

void TfGENECINF::construirFormato()
{
    TSFormato = make<plat::TabSheet>(QStringLiteral("TSFormato"), PageControl1);
    TSFormato->setCaption(QStringLiteral("Formato"));
    PageControl1->addPage(TSFormato);
    auto *caja = new QVBoxLayout(TSFormato);
    auto *opciones = new QGridLayout;
    FormatoColumnar = make<plat::RadioButton>(QStringLiteral("FormatoColumnar"), TSFormato);
    FormatoColumnar->setCaption(QStringLiteral("Formato Columnar"));
    FormatoFicha = make<plat::RadioButton>(QStringLiteral("FormatoFicha"), TSFormato);
    FormatoFicha->setCaption(QStringLiteral("Formato Ficha"));
    for (plat::RadioButton *r : {FormatoColumnar, FormatoFicha})
        r->OnClick = plat::handler(this, &TfGENECINF::FormatoClick);
    const auto numero = [&](const QString &nombre, const QString &texto, int fila) {
        auto *etiqueta = make<plat::Label>(QStringLiteral("Label") + nombre, TSFormato);
        etiqueta->setCaption(texto);
        auto *spin = make<plat::SpinEdit>(nombre, TSFormato);
        spin->setMinimum(1);
        spin->setMaximum(99);
        opciones->addWidget(etiqueta, fila, 1);
        opciones->addWidget(spin, fila, 2);
        return spin;
    };
    opciones->addWidget(FormatoColumnar, 0, 0);
    opciones->addWidget(FormatoFicha, 1, 0);
    NumeroColumnasFicha = numero(QStringLiteral("NumeroColumnasFicha"), QStringLiteral("Número de Columnas"), 1);
    NumeroLineasMemoFicha = numero(QStringLiteral("NumeroLineasMemoFicha"), QStringLiteral("Número de Líneas en Campos Memo"), 2);
    OrientacionApaisada = make<plat::CheckBox>(QStringLiteral("OrientacionApaisada"), TSFormato);
    OrientacionApaisada->setCaption(QStringLiteral("Orientación Apaisada"));
    OrientacionApaisada->OnClick = plat::handler(this, &TfGENECINF::OrientacionApaisadaClick);
    SepararPorPaginas = make<plat::CheckBox>(QStringLiteral("SepararPorPaginas"), TSFormato);
    SepararPorPaginas->setCaption(QStringLiteral("Separar por Páginas"));
    opciones->addWidget(OrientacionApaisada, 0, 3);
    opciones->addWidget(SepararPorPaginas, 1, 3);
    opciones->setColumnStretch(4, 1);
    caja->addLayout(opciones);

    PanelFormatoColumnas = make<plat::Panel>(QStringLiteral("PanelFormatoColumnas"), TSFormato);
    auto *ajuste = new QVBoxLayout(PanelFormatoColumnas);
    auto *cabecera = new QHBoxLayout;
    auto *titulo = make<plat::Label>(QStringLiteral("LabelAjusteColumnas"), PanelFormatoColumnas);
    titulo->setCaption(QStringLiteral("Ajuste de Columnas"));
    pbAutoajuste = make<plat::SpeedButton>(QStringLiteral("pbAutoajuste"), PanelFormatoColumnas);
    pbAutoajuste->setCaption(QStringLiteral("Autoajuste"));
    pbAutoajuste->OnClick = plat::handler(this, &TfGENECINF::pbAutoajusteClick);
    cabecera->addWidget(titulo);
    cabecera->addStretch();
    cabecera->addWidget(pbAutoajuste);
    ajuste->addLayout(cabecera);
    PaintBox1 = make<plat::PaintBox>(QStringLiteral("PaintBox1"), PanelFormatoColumnas);
    PaintBox1->setFixedHeight(26);
    PaintBox1->OnPaint = plat::handler(this, &TfGENECINF::PaintBox1Paint);
    SGFormatoColumnas = make<plat::StringGrid>(QStringLiteral("SGFormatoColumnas"), PanelFormatoColumnas);
    SGFormatoColumnas->setFixedCols(0);
    SGFormatoColumnas->setFixedRows(1);
    SGFormatoColumnas->setRowCount(3);
    SGFormatoColumnas->setColCount(0);
    SGFormatoColumnas->setColumnMoving(true);
    SGFormatoColumnas->setColumnSizing(true);
    SGFormatoColumnas->setFixedHeight(3 * SGFormatoColumnas->rowHeight(0) + 24);
    SGFormatoColumnas->setFrameShape(QFrame::NoFrame);
    SGFormatoColumnas->OnDrawCell = plat::handler(this, &TfGENECINF::SGFormatoColumnasDrawCell);
    SGFormatoColumnas->OnColumnMoved = plat::handler(this, &TfGENECINF::SGFormatoColumnasColumnMoved);
    SGFormatoColumnas->OnMouseUp = [this](QObject *s, Qt::MouseButton, plat::ShiftState, int, int) {
        SGFormatoColumnasMouseUp(s);
    };
    ajuste->addWidget(PaintBox1);
    ajuste->addWidget(SGFormatoColumnas);
    ajuste->addStretch();
    caja->addWidget(PanelFormatoColumnas, 1);
}

void TfGENECINF::construirMenu()
{
    PopupListas = make<plat::PopupMenu>(QStringLiteral("PopupListas"), this);
    const auto opcion = [this](const QString &nombre, const QString &texto, void (TfGENECINF::*manejador)(QObject *)) {
        auto *item = make<plat::MenuItem>(nombre, texto, PopupListas);
        PopupListas->Items()->Add(item);
        item->OnClick = plat::handler(this, manejador);
        return item;
    };
    SubirElementoLista1 = opcion(QStringLiteral("SubirElementoLista1"), QStringLiteral("Subir el elemento seleccionado de la lista"),
                                 &TfGENECINF::SubirElementoListaClick);
    BajarElementoLista1 = opcion(QStringLiteral("BajarElementoLista1"), QStringLiteral("Bajar el elemento seleccionado de la lista"),
                                 &TfGENECINF::BajarElementoSeleccionadoClick);
    AgregarElementoLista1 = opcion(QStringLiteral("AgregarElementoLista1"), QStringLiteral("Agregar un elemento a la lista"),
                                   &TfGENECINF::AgregarElementoListaClick);
    EliminarElementoLista1 = opcion(QStringLiteral("EliminarElementoLista1"),
                                    QStringLiteral("Eliminar el elemento seleccionado de la lista"),
                                    &TfGENECINF::EliminarElementoListaClick);
}

// ---- opening ---------------------------------------------------------------------------------

bool TfGENECINF::esAdministrador() const
{
    return ModuloDatos && fGENEINIC && ModuloDatos->EsAdministrador(fGENEINIC->UsuarioActual, QStringLiteral("Silencio"));
}

void TfGENECINF::FormCreate(QObject *)
{
    if (fGENEINIC)
        fGENEINIC->PrepararFormulario(this);
    PageControl1->setActivePage(TSConfiguracion);
    const bool administrador = esAdministrador();
    pbRestringirAUsuarios->setEnabled(administrador);
    pbPersonalizarMenu->setEnabled(administrador);
    if (SoloLectura(this)) {
        for (plat::SpeedButton *b : {pbNuevo, pbGuardar, pbGuardarComo, pbEliminar, pbCopiarConfiguracion,
                                     pbCopiarAOtrasEmpresas, pbExportar, pbImportar})
            b->setEnabled(false);
    }
    CargarInforme(primerNombre());
}

void TfGENECINF::FormShow(QObject *)
{
    if (fGENEINIC)
        fGENEINIC->TraducirFormulario(this);
}

void TfGENECINF::FormActivate(QObject *)
{
    update();
}

QString TfGENECINF::primerNombre()
{
    if (!ModuloDatos)
        return {};
    const QString nombre = ModuloDatos->EjecutarSQL(QStringLiteral("SELECT MIN(Descripcion)") + condicionTipo());
    return nombre.startsWith(QLatin1String("Error")) ? QString() : nombre;
}

void TfGENECINF::pbZoomClick(QObject *)
{
    const plat::Form *principal = plat::application().mainForm();
    if (!principal)
        return;
    const QSize area = principal->mdiArea() ? principal->mdiArea()->viewport()->size() : principal->size();
    QWidget *marco = qobject_cast<QMdiSubWindow *>(parentWidget()) ? parentWidget() : static_cast<QWidget *>(this);
    marco->setGeometry(0, 0, area.width() - 4, area.height() - 4);
}

// ---- the lists -------------------------------------------------------------------------------

QStringList &TfGENECINF::listaDe(const plat::ListBox *lista)
{
    if (lista == LBTablas) return Definicion.Tablas;
    if (lista == LBColumnas) return Definicion.Columnas;
    if (lista == LBRestricciones) return Definicion.Restricciones;
    if (lista == LBOrdenacion) return Definicion.Ordenacion;
    if (lista == LBVinculos) return Definicion.Vinculos;
    if (lista == LBGrupos) return Definicion.Grupos;
    return Definicion.Sumatorios;
}

ListasInforme TfGENECINF::listas()
{
    return {Definicion.Columnas, Definicion.Restricciones, Definicion.Ordenacion, Definicion.Vinculos,
            Definicion.Grupos, Definicion.Sumatorios};
}

plat::ListBox *TfGENECINF::listaDeBoton(QObject *boton, const QString &prefijo)
{
    const QString nombre = boton ? boton->objectName().mid(prefijo.size()) : QString();
    return qobject_cast<plat::ListBox *>(BuscarComponente(this, nombre));
}

plat::ListBox *TfGENECINF::listaEnfocada()
{
    for (plat::ListBox *l : {LBTablas, LBColumnas, LBRestricciones, LBOrdenacion, LBVinculos, LBGrupos, LBSumatorios})
        if (l == focusWidget())
            return l;
    return nullptr;
}

void TfGENECINF::mostrarListas()
{
    for (plat::ListBox *l : {LBTablas, LBColumnas, LBRestricciones, LBOrdenacion, LBVinculos, LBGrupos, LBSumatorios}) {
        const QStringList &items = listaDe(l);
        if (l->items() == items) {
            l->viewport()->update();
            continue;
        }
        const int fila = l->currentRow();
        l->setItems(items);
        if (!items.isEmpty() && fila >= 0)
            l->setCurrentRow(std::min<int>(fila, int(items.size()) - 1));
    }
}

void TfGENECINF::SubirElementoListaClick(QObject *)
{
    if (plat::ListBox *l = listaEnfocada())
        pbSubirLBClick(BuscarComponente(this, QStringLiteral("pbSubir") + l->objectName()));
}

void TfGENECINF::BajarElementoSeleccionadoClick(QObject *)
{
    if (plat::ListBox *l = listaEnfocada())
        pbBajarLBClick(BuscarComponente(this, QStringLiteral("pbBajar") + l->objectName()));
}

void TfGENECINF::AgregarElementoListaClick(QObject *)
{
    if (plat::ListBox *l = listaEnfocada())
        pbAgregarLBClick(BuscarComponente(this, QStringLiteral("pbAgregar") + l->objectName()));
}

void TfGENECINF::EliminarElementoListaClick(QObject *)
{
    if (plat::ListBox *l = listaEnfocada())
        pbEliminarLBClick(BuscarComponente(this, QStringLiteral("pbEliminar") + l->objectName()));
}

void TfGENECINF::pbSubirLBClick(QObject *Sender)
{
    plat::ListBox *l = listaDeBoton(Sender, QStringLiteral("pbSubir"));
    const int fila = l ? l->currentRow() : -1;
    if (fila <= 0)
        return;
    listaDe(l).swapItemsAt(fila, fila - 1);
    mostrarListas();
    l->setCurrentRow(fila - 1);
    ActualizarSentenciaSQL({});
}

void TfGENECINF::pbBajarLBClick(QObject *Sender)
{
    plat::ListBox *l = listaDeBoton(Sender, QStringLiteral("pbBajar"));
    const int fila = l ? l->currentRow() : -1;
    if (fila < 0 || fila >= l->count() - 1)
        return;
    listaDe(l).swapItemsAt(fila, fila + 1);
    mostrarListas();
    l->setCurrentRow(fila + 1);
    ActualizarSentenciaSQL({});
}

void TfGENECINF::pbEliminarLBClick(QObject *Sender)
{
    plat::ListBox *l = listaDeBoton(Sender, QStringLiteral("pbEliminar"));
    const int fila = l ? l->currentRow() : -1;
    if (fila < 0)
        return;
    const QString elemento = listaDe(l).at(fila);
    const auto preguntar = [](const QString &que) {
        return MensajeConfirmacion(QStringLiteral("Esta acción eliminará todas las referencias del informe a ") + que
                                   + QStringLiteral(". ¿Está seguro de continuar?"))
            != kNo;
    };
    if (l == LBTablas) {
        if (!preguntar(QStringLiteral("la tabla ") + elemento))
            return;
        quitarReferenciasTabla(elemento, listas());
    } else if (l == LBColumnas) {
        if (!preguntar(QStringLiteral("la columna ") + columnaDe(elemento)))
            return;
        quitarReferenciasColumna(elemento, listas());
    }
    QStringList &lista = listaDe(l);
    lista.removeOne(elemento);
    mostrarListas();
    if (!lista.isEmpty())
        l->setCurrentRow(std::max(0, fila - 1));
    ActualizarSentenciaSQL(kForzado);
}

void TfGENECINF::LBOrdenacionDblClick(QObject *)
{
    const int fila = LBOrdenacion->currentRow();
    if (fila < 0)
        return;
    QString &item = Definicion.Ordenacion[fila];
    const qsizetype desc = item.indexOf(QLatin1String(" DESC"));
    if (desc >= 0)
        item.remove(desc, 5);
    else
        item += QStringLiteral(" DESC");
    mostrarListas();
    ActualizarSentenciaSQL({});
}

void TfGENECINF::LBColumnasDblClick(QObject *)
{
    editarTitulo(LBColumnas->currentRow());
}

void TfGENECINF::editarTitulo(int fila)
{
    if (fila < 0 || fila >= Definicion.Columnas.size())
        return;
    const QString anterior = Definicion.Columnas.at(fila);
    const bool expresion = esExpresion(anterior);
    const QString base = expresion ? QStringLiteral("Expresion") : columnaDe(anterior).section(u'.', 1);
    const QString propuesta = tieneTitulo(anterior) ? tituloColumna(anterior) : AbreviarNombreCampo(base, 1);
    const QString titulo = MensajePedirDato(QStringLiteral("Introduzca el Título para la columna ") + base, propuesta);
    const QString nueva = columnaConTitulo(anterior, titulo);
    Definicion.Columnas[fila] = nueva;
    propagarTitulo(anterior, nueva, listas());
    mostrarListas();
    ActualizarSentenciaSQL(kForzado);
}

void TfGENECINF::LBDrawItem(QObject *Control, int Index, const QRect &Rect, plat::OwnerDrawState State)
{
    auto *lista = qobject_cast<plat::ListBox *>(Control);
    if (!lista || !lista->canvas() || Index < 0 || Index >= lista->count())
        return;
    plat::Canvas &c = *lista->canvas();
    const QString texto = lista->item(Index)->text();
    c.brush().Color = State & plat::odSelected ? plat::clHighlight : plat::clWindow;
    c.FillRect(Rect);
    int color = State & plat::odSelected ? plat::clHighlightText : plat::clBlack;
    if (lista == LBColumnas && esGrupo(texto, Definicion.Grupos))
        color = plat::clSilver;
    else if (lista == LBOrdenacion && texto.contains(QLatin1String(" DESC")))
        color = plat::clBlue;
    c.font().Color = color;
    c.brush().Style = plat::bsClear;
    c.TextOut(Rect.left() + 2, Rect.top() + 1, texto);
}

// ---- adding --------------------------------------------------------------------------------

QString TfGENECINF::seleccionar(const QStringList &candidatos, const QString &opciones)
{
    if (!fGENEINIC || !fGENEINIC->PuntosEntrada.SeleccionarDeLista)
        return {};
    return fGENEINIC->PuntosEntrada.SeleccionarDeLista(candidatos.join(kCrLf) + (candidatos.isEmpty() ? QString() : kCrLf), opciones + kOpcionesDialogo);
}

QList<CampoInforme> TfGENECINF::camposDeTablas(bool conTipo)
{
    QList<CampoInforme> campos;
    if (!fGENEINIC)
        return campos;
    for (const QString &tabla : Definicion.Tablas)
        for (const QString &linea : lineas(fGENEINIC->ObtenerEstructuraTabla(tabla, conTipo ? QStringLiteral("IncluirTipo") : QString())))
            campos.append({tabla + u'.' + linea.section(u'/', 0, 0), linea.section(u'/', 1, 1)});
    return campos;
}

void TfGENECINF::pbAgregarLBClick(QObject *Sender)
{
    plat::ListBox *l = listaDeBoton(Sender, QStringLiteral("pbAgregar"));
    if (!l)
        return;
    if (l == LBTablas) {
        agregarTablas();
    } else if (l == LBColumnas) {
        agregarColumnas();
    } else if (l == LBRestricciones) {
        agregarRestriccion();
    } else if (l == LBVinculos) {
        agregarVinculo();
    } else if (l == LBOrdenacion) {
        const QString elegidos = seleccionar(candidatosOrdenacion(Definicion.Columnas),
                                             QStringLiteral("Titulo=Seleccion de Ordenación") + kMultipleOrdenada);
        anadirAusentes(Definicion.Ordenacion, lineas(elegidos));
        mostrarListas();
        ActualizarSentenciaSQL(kForzado);
        return;
    } else {
        const bool grupos = l == LBGrupos;
        const QList<CampoInforme> campos = camposDeTablas(true);
        const QStringList candidatos = grupos ? candidatosGrupos(Definicion.Columnas, campos)
                                              : candidatosSumatorios(Definicion.Columnas, campos);
        const QString elegidos = seleccionar(candidatos, (grupos ? QStringLiteral("Titulo=Seleccion de Grupos")
                                                                 : QStringLiteral("Titulo=Seleccion de Sumatorios"))
                                                             + kMultipleOrdenada);
        anadirAusentes(grupos ? Definicion.Grupos : Definicion.Sumatorios, lineas(elegidos));
        mostrarListas();
        ActualizarSentenciaSQL(grupos ? kForzado : QString());
        return;
    }
    mostrarListas();
    ActualizarSentenciaSQL({});
}

void TfGENECINF::agregarTablas()
{
    const QStringList tablas = fGENEINIC ? lineas(fGENEINIC->ListarTablasDefinidas(QStringLiteral("ExcluirTablasBDGeneral")))
                                         : QStringList();
    QStringList candidatos;
    for (const QString &t : tablas)
        candidatos << t.section(u'|', 0, 0);
    anadirAusentes(Definicion.Tablas,
                   lineas(seleccionar(candidatos, QStringLiteral("Titulo=Seleccion de Tablas") + kMultipleOrdenada)));
}

void TfGENECINF::agregarColumnas()
{
    QStringList candidatos = {kExpresion, kExpresionGrupoAnalisis};
    for (const CampoInforme &c : camposDeTablas(false))
        candidatos << c.nombre;
    const QStringList elegidos = lineas(seleccionar(candidatos, QStringLiteral("Titulo=Seleccion de Campos") + kMultipleOrdenada));
    for (const QString &e : elegidos) {
        if (e == kExpresion)
            agregarExpresion();
        else if (e == kExpresionGrupoAnalisis)
            agregarGrupoAnalisis();
        else
            anadirAusentes(Definicion.Columnas, {e});
    }
}

void TfGENECINF::agregarExpresion()
{
    const QString expresion = MensajePedirDato(QStringLiteral("Introduzca la expresión: "));
    if (expresion.isEmpty())
        return;
    const QString columna = u'(' + expresion + u')';
    if (!anadirAusentes(Definicion.Columnas, {columna}))
        return;
    mostrarListas();
    LBColumnas->setCurrentRow(int(Definicion.Columnas.size()) - 1);
    editarTitulo(int(Definicion.Columnas.size()) - 1);
}

void TfGENECINF::agregarGrupoAnalisis()
{
    const QString tabla = lineas(seleccionar(Definicion.Tablas, QStringLiteral("Titulo=Seleccion de Tabla con G.Análisis")
                                                                  + kUnaOrdenada))
                              .value(0);
    if (tabla.isEmpty() || !ModuloDatos)
        return;
    const QStringList clave = ModuloDatos->CamposClaveSQL(tabla).split(u';', Qt::SkipEmptyParts);
    const QString categoria = MensajePedirDato(QStringLiteral("Introduzca la Categoría del Grupo de Análisis: "));
    if (categoria.isEmpty() || clave.isEmpty())
        return;
    const plat::Dialect &dialecto = fGENEINIC->Database().dialect();
    if (anadirAusentes(Definicion.Columnas, {columnaGrupoAnalisis(tabla, clave, categoria, dialecto)})) {
        mostrarListas();
        LBColumnas->setCurrentRow(int(Definicion.Columnas.size()) - 1);
    }
}

void TfGENECINF::agregarRestriccion()
{
    const QList<CampoInforme> campos = camposDeTablas(true);
    QStringList nombres;
    for (const CampoInforme &c : campos)
        nombres << c.nombre;
    const QString columna = lineas(seleccionar(nombres, QStringLiteral("Titulo=Seleccion de Campo (Parte A)") + kUnaOrdenada)).value(0);
    if (columna.isEmpty())
        return;
    QStringList textos;
    for (const Relacion &r : relaciones())
        textos << r.texto;
    const QString relacion = lineas(seleccionar(textos, QStringLiteral("Titulo=Seleccion de Relación"))).value(0);
    const auto r = std::find_if(relaciones().begin(), relaciones().end(), [&](const Relacion &x) { return x.texto == relacion; });
    if (r == relaciones().end())
        return;
    const bool multiple = esRelacionMultiple(r->operador);
    const QString tipo = tipoDe(columna, campos);
    const QString opcionesB = QStringLiteral("Titulo=Seleccion de Campo (Parte B)") + kUnaOrdenada;
    QString valor;
    if (multiple) {
        const QString clase = lineas(seleccionar({kConstanteMultiple, kVariableMultiple + u'*'}, opcionesB)).value(0);
        if (clase == kConstanteMultiple)
            valor = valorListaConstantes(MensajePedirDato(QStringLiteral("Introduzca el valor de las constantes separadas por una coma: ")));
        else if (clase == kVariableMultiple)
            valor = valorListaVariable(MensajePedirDato(QStringLiteral("Introduzca el nombre de la variable: ")));
    } else {
        const QString clase = lineas(seleccionar(QStringList{kUnaConstante, kUnaVariable + u'*'} + nombres, opcionesB)).value(0);
        if (clase == kUnaConstante) {
            const QString constante = MensajePedirDato(kPideConstante);
            if (!constante.isEmpty())
                valor = valorConstante(constante);
        } else if (clase == kUnaVariable) {
            valor = valorVariable(MensajePedirDato(QStringLiteral("Introduzca el nombre de la variable: ")), tipo);
        } else {
            valor = clase;
        }
    }
    if (!valor.isEmpty())
        Definicion.Restricciones << columna + u' ' + r->operador + u' ' + valor;
}

void TfGENECINF::agregarVinculo()
{
    QStringList nombres;
    for (const CampoInforme &c : camposDeTablas(false))
        nombres << c.nombre;
    const QString parteA = lineas(seleccionar(nombres, QStringLiteral("Titulo=Seleccion de Campo (Parte A)") + kUnaOrdenada)).value(0);
    if (parteA.isEmpty())
        return;
    const QString parteB = lineas(seleccionar(QStringList{QStringLiteral("Una constante")} + nombres,
                                              QStringLiteral("Titulo=Seleccion de Campo (Parte B)") + kUnaOrdenada))
                               .value(0);
    QString valor = parteB;
    if (parteB == QLatin1String("Una constante")) {
        const QString constante = MensajePedirDato(kPideConstante);
        valor = constante.isEmpty() ? QString() : valorConstante(constante);
    }
    if (!valor.isEmpty())
        Definicion.Vinculos << parteA + QStringLiteral(" = ") + valor;
}

// ---- the statement and the grid ----------------------------------------------------------------

QString TfGENECINF::TituloColumnaInforme(const QString &elemento)
{
    const QString titulo = tituloColumna(elemento);
    return ModuloDatos ? ModuloDatos->Traducir(titulo) : titulo;
}

void TfGENECINF::ActualizarSentenciaSQL(const QString &opciones)
{
    const QString sentencia = ConstruirSentenciaSQL(Definicion);
    if (sentencia == MemoSentenciaSQL->text() && !opciones.contains(kForzado))
        return;
    MemoSentenciaSQL->setText(sentencia);
    MostrarHTML(this, SentenciaSQLAHTML(sentencia), WebBrowser1);
    mostrarRejilla();
}

int TfGENECINF::anchoTitulo(const QString &columna)
{
    return QFontMetrics(SGFormatoColumnas->font()).horizontalAdvance(TituloColumnaInforme(columna));
}

void TfGENECINF::mostrarRejilla()
{
    plat::StringGrid &g = *SGFormatoColumnas;
    QList<std::pair<QString, int>> anteriores;
    for (int c = 0; c < g.colCount(); ++c)
        anteriores.append({g.cell(c, 1), g.colWidth(c)});
    const bool formato = g.colCount() > 0 && !g.cell(0, 2).isEmpty();
    const QList<int> anchos = anchosRejilla(Definicion.Columnas, Definicion.Grupos, anteriores,
                                            [this](const QString &c) { return anchoTitulo(c); });
    g.setColCount(int(Definicion.Columnas.size()));
    for (int c = 0; c < g.colCount(); ++c) {
        g.setCell(c, 0, TituloColumnaInforme(Definicion.Columnas.at(c)));
        g.setCell(c, 1, Definicion.Columnas.at(c));
        g.setCell(c, 2, formato ? kFormato : QString());
        g.setColWidth(c, anchos.at(c));
    }
}

void TfGENECINF::SGFormatoColumnasDrawCell(QObject *, int ACol, int ARow, const QRect &Rect, plat::GridDrawState)
{
    plat::Canvas *c = SGFormatoColumnas->canvas();
    if (!c)
        return;
    c->brush().Color = plat::clGradientActiveCaption;
    c->brush().Style = plat::bsSolid;
    c->pen().Color = plat::clGray;
    const QRect caja = Rect.adjusted(2, 2, -2, -2);
    c->Rectangle(caja);
    QFont fuente = SGFormatoColumnas->font();
    fuente.setBold(true);
    c->setFont(fuente);
    c->font().Color = plat::clNavy;
    c->brush().Style = plat::bsClear;
    c->TextRect(caja.adjusted(1, 1, -1, -1), caja.left() + 2, caja.top() + 1, SGFormatoColumnas->cell(ACol, ARow));
}

void TfGENECINF::SGFormatoColumnasMouseUp(QObject *)
{
    for (int c = 0; c < SGFormatoColumnas->colCount(); ++c)
        SGFormatoColumnas->setCell(c, 2, kFormato);
}

void TfGENECINF::SGFormatoColumnasColumnMoved(QObject *, int, int)
{
    QStringList columnas;
    for (int c = 0; c < SGFormatoColumnas->colCount(); ++c)
        columnas << SGFormatoColumnas->cell(c, 1);
    Definicion.Columnas = columnas;
    mostrarListas();
    ActualizarSentenciaSQL({});
}

void TfGENECINF::pbAutoajusteClick(QObject *)
{
    const QString respuesta = MensajePedirDato(QStringLiteral("Introduzca la anchura máxima para el ajuste: "),
                                               OrientacionApaisada->isChecked() ? QStringLiteral("277") : QStringLiteral("190"));
    bool numero = false;
    const int milimetros = respuesta.trimmed().toInt(&numero);
    // No answer, or one that is no positive number, leaves the widths as they are.
    if (!numero || milimetros <= 0)
        return;
    plat::StringGrid &g = *SGFormatoColumnas;
    QList<int> anchos;
    for (int c = 0; c < g.colCount(); ++c)
        anchos << g.colWidth(c);
    anchos = autoajustar(anchos, milimetros * kPixelesPorMilimetroInforme);
    for (int c = 0; c < g.colCount(); ++c)
        g.setColWidth(c, anchos.at(c));
}

void TfGENECINF::PaintBox1Paint(QObject *)
{
    plat::Canvas *c = PaintBox1->canvas();
    if (!c)
        return;
    const int ancho = PaintBox1->width();
    const int alto = PaintBox1->height();
    c->setFont(QFont(QStringLiteral("Small Fonts"), 7));
    c->brush().Style = plat::bsSolid;
    c->brush().Color = plat::clWindow;
    c->FillRect(QRect(0, 0, ancho, alto));
    const int pagina = (OrientacionApaisada->isChecked() ? 297 : 210) * kPixelesPorMilimetroInforme;
    c->brush().Color = plat::clBtnFace;
    c->FillRect(QRect(pagina, 0, std::max(0, ancho - pagina), alto));
    c->brush().Style = plat::bsClear;
    c->pen().Color = plat::clBlack;
    for (int mm = 0; mm <= 400; ++mm) {
        const int x = mm * kPixelesPorMilimetroInforme;
        if (x > ancho)
            break;
        const int largo = mm % 10 == 0 ? 13 : mm % 5 == 0 ? 5 : 2;
        c->MoveTo(x, alto - 1);
        c->LineTo(x, alto - 1 - largo);
        if (mm % 10 == 0)
            c->TextOut(x + 2, 0, QString::number(mm / 10) + (mm == 0 ? QStringLiteral("cm") : QString()));
    }
}

void TfGENECINF::FormatoClick(QObject *)
{
    PanelFormatoColumnas->setVisible(FormatoColumnar->isChecked());
}

void TfGENECINF::OrientacionApaisadaClick(QObject *)
{
    PaintBox1->update();
}

void TfGENECINF::pbValidarInformeClick(QObject *)
{
    ValidarInforme(QString());
}

QString TfGENECINF::ValidarInforme(const QString &opciones)
{
    return ::ValidarInforme(opciones, Definicion, MemoSentenciaSQL->text(), [this] {
        mostrarListas();
        ActualizarSentenciaSQL(kForzado);
        return MemoSentenciaSQL->text();
    });
}

// ---- storage ----------------------------------------------------------------------------------

void TfGENECINF::leerOpciones()
{
    OpcionesInforme &o = Definicion.opciones;
    o.formatoColumnar = FormatoColumnar->isChecked();
    o.formatoFicha = FormatoFicha->isChecked();
    o.numeroColumnasFicha = NumeroColumnasFicha->value();
    o.numeroLineasMemoFicha = NumeroLineasMemoFicha->value();
    o.orientacionApaisada = OrientacionApaisada->isChecked();
    o.separarPorPaginas = SepararPorPaginas->isChecked();
}

void TfGENECINF::mostrarOpciones()
{
    const OpcionesInforme &o = Definicion.opciones;
    FormatoColumnar->setChecked(o.formatoColumnar);
    FormatoFicha->setChecked(o.formatoFicha);
    NumeroColumnasFicha->setValue(o.numeroColumnasFicha);
    NumeroLineasMemoFicha->setValue(o.numeroLineasMemoFicha);
    OrientacionApaisada->setChecked(o.orientacionApaisada);
    SepararPorPaginas->setChecked(o.separarPorPaginas);
    PaintBox1->update();
}

DefinicionInforme TfGENECINF::definicionCompleta()
{
    leerOpciones();
    DefinicionInforme d = Definicion;
    d.anchosColumnas.clear();
    plat::StringGrid &g = *SGFormatoColumnas;
    if (g.colCount() > 0 && !g.cell(0, 2).isEmpty())
        for (int c = 0; c < g.colCount(); ++c)
            d.anchosColumnas << g.colWidth(c);
    return d;
}

QString TfGENECINF::ConstruirOpciones()
{
    leerOpciones();
    return ::ConstruirOpciones(Definicion.opciones);
}

QString TfGENECINF::ConstruirFormatoColumnas()
{
    const DefinicionInforme d = definicionCompleta();
    return ::ConstruirFormatoColumnas(d.anchosColumnas, d.opciones);
}

QString TfGENECINF::ConstruirInstrucciones()
{
    return ::ConstruirInstrucciones(definicionCompleta());
}

bool TfGENECINF::abrirFiltro()
{
    plat::TableDataSet &t = Filtro->table();
    t.close();
    return ModuloDatos && ModuloDatos->AbrirTabla(t);
}

bool TfGENECINF::leerFila(const QString &nombre, QString *filtro, QString *instrucciones)
{
    if (nombre.isEmpty() || !abrirFiltro())
        return false;
    plat::TableDataSet &t = Filtro->table();
    const bool encontrada = t.locate(QStringLiteral("NombreTabla;Descripcion"), QVariantList{kTipoInforme, nombre});
    if (encontrada) {
        *filtro = t.fieldByName(QStringLiteral("Filtro")).asString();
        *instrucciones = t.fieldByName(QStringLiteral("Instrucciones")).asString();
    }
    t.close();
    return encontrada;
}

void TfGENECINF::CargarInforme(const QString &nombre)
{
    edNombreInforme->setText(nombre);
    Definicion = DefinicionInforme();
    SGFormatoColumnas->setColCount(0);
    QString filtro, instrucciones;
    if (leerFila(nombre, &filtro, &instrucciones)) {
        Definicion = LeerInstrucciones(instrucciones);
        // The stored widths, when there are, before the grid is filled from the columns.
        SGFormatoColumnas->setColCount(int(Definicion.Columnas.size()));
        for (int c = 0; c < Definicion.anchosColumnas.size() && c < Definicion.Columnas.size(); ++c) {
            SGFormatoColumnas->setCell(c, 1, Definicion.Columnas.at(c));
            SGFormatoColumnas->setCell(c, 2, kFormato);
            SGFormatoColumnas->setColWidth(c, Definicion.anchosColumnas.at(c));
        }
    }
    mostrarOpciones();
    mostrarListas();
    MemoSentenciaSQL->clear();
    ActualizarSentenciaSQL(kForzado);
    FormatoClick(FormatoColumnar);
}

bool TfGENECINF::GuardarInforme(const QString &nombre, const QString &opciones)
{
    if (!EscrituraAutorizada(this))
        return false;
    if (!opciones.contains(QLatin1String("Nuevo")) && ValidarInforme(QStringLiteral("Silenciosa")).startsWith(QLatin1String("Error"))
        && MensajeConfirmacion(QStringLiteral("El informe contiene errores. ¿Desea continuar con la grabación?")) == kNo)
        return false;
    if (!ModuloDatos || !abrirFiltro())
        return false;
    plat::BusyCursor reloj;
    plat::TableDataSet &t = Filtro->table();
    plat::Connection &conexion = t.connection() ? *t.connection() : fGENEINIC->Database();
    const QString instrucciones = ConstruirInstrucciones();
    // The old row goes only together with the new one: a failed insert keeps it.
    bool correcto = false;
    conexion.startTransaction();
    // A refused DELETE has been reported by the SQL service.
    if (ModuloDatos->EjecutarSQL(QStringLiteral("DELETE") + condicionNombre(nombre)).startsWith(QLatin1String("Error"))) {
        conexion.rollback();
        t.close();
        return false;
    }
    try {
        t.refresh();
        t.append();
        t.fieldByName(QStringLiteral("NombreTabla")).setAsString(kTipoInforme);
        t.fieldByName(QStringLiteral("Descripcion")).setAsString(nombre);
        t.fieldByName(QStringLiteral("Filtro")).setAsString(MemoSentenciaSQL->text());
        t.fieldByName(QStringLiteral("Instrucciones")).setAsString(instrucciones);
        t.post();
        conexion.commit();
        correcto = true;
    } catch (const gp::Error &e) {
        if (t.state() != plat::DataSetState::Browse)
            t.cancel();
        if (conexion.inTransaction())
            conexion.rollback();
        MensajeAviso(kNoGrabado + e.mensaje());
    }
    t.close();
    return correcto;
}

bool TfGENECINF::InformeModificado()
{
    QString filtro, instrucciones;
    if (!leerFila(edNombreInforme->text(), &filtro, &instrucciones))
        return true;
    return filtro != MemoSentenciaSQL->text() || instrucciones != ConstruirInstrucciones();
}

bool TfGENECINF::nombreExiste(const QString &nombre)
{
    return !ModuloDatos->EjecutarSQL(QStringLiteral("SELECT Descripcion") + condicionNombre(nombre)).isEmpty();
}

bool TfGENECINF::guardarSiModificado(const QString &pregunta)
{
    const QString nombre = edNombreInforme->text();
    if (nombre.isEmpty() || SoloLectura(this) || !InformeModificado() || MensajeConfirmacion(pregunta) != kSi)
        return true;
    return GuardarInforme(nombre, QString());
}

void TfGENECINF::BuscarDatosDBEdit(QObject *)
{
    if (!guardarSiModificado(QStringLiteral("¿Desea guardar los cambios del informe actual?")))
        return;
    const QVariant clave = BuscarRegistroConParametros(
        QStringLiteral("FILTRO"), QStringLiteral("Filtro=(NombreTabla = ") + Entrecomillar(kTipoInforme)
                                      + QStringLiteral(")\r\nCamposVisibles=Descripcion"));
    // The chosen key: (NombreTabla, Descripcion).
    const QString nombre = clave.toList().value(1).toString();
    if (!nombre.isEmpty())
        CargarInforme(nombre);
}

void TfGENECINF::pbNuevoClick(QObject *)
{
    if (!EscrituraAutorizada(this)
        || !guardarSiModificado(QStringLiteral("¿Desea guardar las modificaciones al informe anterior?")))
        return;
    const QString nombre = MensajePedirDato(kPideNombreNuevo);
    if (nombre.isEmpty())
        return;
    if (nombreExiste(nombre)) {
        MensajeAviso(QStringLiteral("¡El nombre del informe indicado ya existe!"));
        return;
    }
    CargarInforme(nombre);
    GuardarInforme(nombre, QStringLiteral("Nuevo"));
    PageControl1->setActivePage(TSConfiguracion);
}

void TfGENECINF::pbGuardarClick(QObject *)
{
    if (!edNombreInforme->text().isEmpty())
        GuardarInforme(edNombreInforme->text(), QString());
}

void TfGENECINF::pbGuardarComoClick(QObject *)
{
    if (!EscrituraAutorizada(this))
        return;
    const QString nombre = MensajePedirDato(kPideNombreNuevo, edNombreInforme->text());
    if (nombre.isEmpty())
        return;
    if (GuardarInforme(nombre, QString()))
        CargarInforme(nombre);
}

void TfGENECINF::pbEliminarClick(QObject *)
{
    const QString nombre = edNombreInforme->text();
    if (nombre.isEmpty() || !EscrituraAutorizada(this)
        || MensajeConfirmacion(QStringLiteral("¿Está seguro de que quiere eliminar el Informe actual?")) != kSi)
        return;
    ModuloDatos->EjecutarSQL(QStringLiteral("DELETE") + condicionNombre(nombre));
    QString anterior = ModuloDatos->EjecutarSQL(QStringLiteral("SELECT MAX(Descripcion)") + condicionTipo()
                                                + QStringLiteral("    AND Descripcion < ") + Entrecomillar(nombre));
    if (anterior.isEmpty() || anterior.startsWith(QLatin1String("Error")))
        anterior = primerNombre();
    CargarInforme(anterior);
}

void TfGENECINF::pbSalirClick(QObject *)
{
    if (!edNombreInforme->text().isEmpty() && !SoloLectura(this) && InformeModificado()
        && MensajeConfirmacion(QStringLiteral("El informe ha sido modificado. ¿Desea guardarlo antes de salir?")) == kSi)
        GuardarInforme(edNombreInforme->text(), QString());
    Close();
}

void TfGENECINF::pbImprimirClick(QObject *)
{
    const QString nombre = edNombreInforme->text();
    if (nombre.isEmpty())
        return;
    if (InformeModificado()) {
        if (MensajeConfirmacion(QStringLiteral("El informe debe ser guardado antes de imprimir. ¿Desea continuar?")) == kNo)
            return;
        if (!GuardarInforme(nombre, QString()))
            return;
    }
    if (fGENEUINF)
        fGENEUINF->Close();
    NombreInforme = nombre;
    plat::openForm<TfGENEUINF>(NombreNuevaInstancia(QStringLiteral("fGENEUINF")));
}

void TfGENECINF::recordarCambios()
{
    EsperarMilisegundos(500);
    MensajeInformacion(kRecordatorio);
}

void TfGENECINF::pbRestringirAUsuariosClick(QObject *)
{
    QStringList usuarios;
    for (const QString &fila : lineas(ModuloDatos->EjecutarSQL(QStringLiteral("SELECT Codigo, Nombre FROM USUARIO   ORDER BY Codigo"),
                                                              QStringLiteral("DatabaseGeneral"))))
        usuarios << fila.section(u'|', 0, 0) + QStringLiteral(" - ") + fila.section(u'|', 1);
    const QStringList actuales = Definicion.usuariosAutorizados.split(u',', Qt::SkipEmptyParts);
    const QString elegidos = fGENEINIC->PuntosEntrada.SeleccionarDeLista
        ? fGENEINIC->PuntosEntrada.SeleccionarDeLista(
              marcadas(usuarios, [&](const QString &u) { return actuales.contains(columnaDe(u)); }),
              QStringLiteral("Titulo=Seleccion de Usuarios") + kMultipleOrdenada + kOpcionesDialogo)
        : QString();
    QString texto;
    for (const QString &l : lineas(elegidos))
        texto += columnaDe(l) + u',';
    Definicion.usuariosAutorizados = texto;
    recordarCambios();
}

void TfGENECINF::pbPersonalizarMenuClick(QObject *)
{
    QStringList aplicaciones;
    for (int codigo = 100; codigo <= 9900; codigo += 100)
        if (const QString nombre = fGENEINIC->NombreDeCodigoEnLista(codigo); !nombre.isEmpty())
            aplicaciones << nombre;
    const QStringList actuales = Definicion.aplicacionesContenedoras.split(u',', Qt::SkipEmptyParts);
    const QString elegidas = fGENEINIC->PuntosEntrada.SeleccionarDeLista
        ? fGENEINIC->PuntosEntrada.SeleccionarDeLista(
              marcadas(aplicaciones, [&](const QString &a) { return actuales.contains(a); }),
              QStringLiteral("Titulo=Seleccion de Aplicaciones Contenedoras") + kMultipleOrdenada + kOpcionesDialogo)
        : QString();
    QString texto;
    for (const QString &l : lineas(elegidas))
        texto += l + u',';
    Definicion.aplicacionesContenedoras = texto;
    recordarCambios();
}

void TfGENECINF::pbCopiarConfiguracionClick(QObject *)
{
    if (!EscrituraAutorizada(this))
        return;
    const QStringList informes = lineas(ModuloDatos->ListaConsultasSQL(QString(), QString(), kTipoInforme));
    const QStringList elegidos = lineas(seleccionar(informes, QStringLiteral("Titulo=Seleccion de Informes") + kMultipleOrdenada));
    EsperarMilisegundos(500);
    if (MensajeConfirmacion(QStringLiteral("¿Está seguro de querer copiar la configuración de usuarios y aplicaciones a los "
                                           "informes indicados?"))
        != kSi)
        return;
    {
        plat::BusyCursor reloj;
        if (!abrirFiltro())
            return;
        plat::TableDataSet &t = Filtro->table();
        for (const QString &nombre : elegidos) {
            if (!t.locate(QStringLiteral("NombreTabla;Descripcion"), QVariantList{kTipoInforme, nombre}))
                continue;
            try {
                QString instrucciones = t.fieldByName(QStringLiteral("Instrucciones")).asString();
                instrucciones = ponerValor(instrucciones, QStringLiteral("UsuariosAutorizados"), Definicion.usuariosAutorizados);
                instrucciones = ponerValor(instrucciones, QStringLiteral("AplicacionesContenedoras"),
                                           Definicion.aplicacionesContenedoras);
                t.edit();
                t.fieldByName(QStringLiteral("Instrucciones")).setAsString(instrucciones);
                t.post();
            } catch (const gp::Error &e) {
                t.cancel();
                MensajeAviso(kNoGrabado + e.mensaje());
            }
        }
        t.close();
    }
    MensajeInformacion(kRecordatorio);
}

void TfGENECINF::pbCopiarAOtrasEmpresasClick(QObject *)
{
    if (!fGENECOPI || !abrirFiltro())
        return;
    // Only the reports: the table also keeps saved filters, grid layouts and statements.
    plat::TableDataSet &t = Filtro->table();
    t.setFilter(QStringLiteral("NombreTabla = ") + Entrecomillar(kTipoInforme));
    t.setFiltered(true);
    fGENECOPI->CopiarTabla(t);
    t.setFiltered(false);
    t.setFilter(QString());
    t.close();
}

void TfGENECINF::pbExportarClick(QObject *)
{
    // The report is saved before it is exported.
    if (!EscrituraAutorizada(this))
        return;
    if (MensajeConfirmacion(QStringLiteral("Se guadarán los datos del registro actual previamente. ¿Desea continuar en cualquier "
                                           "caso?"))
        == kNo)
        return;
    const QString nombre = edNombreInforme->text();
    if (nombre.isEmpty() || !GuardarInforme(nombre, QString()))
        return;
    plat::SaveDialog &dialogo = *ModuloDatos->SaveDialog1;
    dialogo.Title = QStringLiteral("Exportar a un Archivo de Texto");
    dialogo.FileName = QStringLiteral("INFORME.TXT");
    if (!dialogo.Execute() || !abrirFiltro())
        return;
    plat::TableDataSet &t = Filtro->table();
    QString texto;
    if (t.locate(QStringLiteral("NombreTabla;Descripcion"), QVariantList{kTipoInforme, nombre}))
        texto = textoRegistros::RegistroATextoOpciones(t, QStringLiteral("FormatoINI"));
    t.close();
    if (!EscribirFicheroTexto(dialogo.FileName, texto))
        MensajeAviso(QStringLiteral("¡No se puede grabar el archivo %1!").arg(dialogo.FileName));
}

void TfGENECINF::pbImportarClick(QObject *)
{
    if (!EscrituraAutorizada(this))
        return;
    if (!edNombreInforme->text().isEmpty()
        && MensajeConfirmacion(QStringLiteral("¿Desea guadar los datos del registro actual previamente?")) == kSi)
        GuardarInforme(edNombreInforme->text(), QString());
    plat::OpenDialog &dialogo = *ModuloDatos->OpenDialog1;
    dialogo.Title = QStringLiteral("Importar desde un Archivo de Texto");
    dialogo.FileName = QStringLiteral("INFORME.TXT");
    if (!dialogo.Execute())
        return;
    bool leido = false;
    const InformeExportado informe = leerInformeExportado(LeerFicheroTexto(dialogo.FileName, &leido));
    if (!leido)
        return;
    const QString nombre = MensajePedirDato(QStringLiteral("Introduzca un nuevo nombre para el Informe:"), informe.descripcion);
    if (nombre.isEmpty() || !abrirFiltro())
        return;
    plat::TableDataSet &t = Filtro->table();
    try {
        t.append();
        t.fieldByName(QStringLiteral("NombreTabla")).setAsString(kTipoInforme);
        t.fieldByName(QStringLiteral("Descripcion")).setAsString(nombre);
        t.fieldByName(QStringLiteral("Filtro")).setAsString(informe.filtro);
        t.fieldByName(QStringLiteral("Instrucciones")).setAsString(informe.instrucciones);
        t.post();
    } catch (const gp::Error &e) {
        t.cancel();
        t.close();
        MensajeAviso(kNoGrabado + e.mensaje());
        return;
    }
    t.close();
    CargarInforme(nombre);
}
