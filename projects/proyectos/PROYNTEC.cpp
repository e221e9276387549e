#include "projects/proyectos/PROYNTEC.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasComponentes.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/base/FechaHora.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Keys.h"

#include <QApplication>
#include <QBoxLayout>
#include <QGridLayout>

TfPROYNTEC *fPROYNTEC = nullptr;

namespace {

const QString kDocumentacion = QStringLiteral("DocumentacionElectronica");
const QString kAmpliada = QStringLiteral("DescripcionAmpliada");

// Colours of the painted cells, as red, green, blue.
constexpr int kVerde = 0x008000, kRojo = 0x0000FF, kGranate = 0x000080, kVerdeAzulado = 0x808000;

bool resuelta(const QString &situacion)
{
    return situacion == QLatin1String("Solucionado") || situacion == QLatin1String("Desestimado");
}

QDateTime hoy() { return FechaHora(Ahora().date()); }

} // namespace

TfPROYNTEC::TfPROYNTEC(QWidget *parent)
    : FormularioMaestroRejilla(parent, QStringLiteral("fPROYNTEC"), QStringLiteral("Introducción de Notas Técnicas")),
      instancia_(fPROYNTEC, this)
{
    setBounds(0, 0, 900, 480);
    Table1->setTableName(QStringLiteral("NTECNICA"));
    Table1->dataSet().addCalculatedField(kDocumentacion, ftString, 2);
    Table1->dataSet().OnCalcFields = [this](plat::DataSet &ds) { Table1CalcFields(ds); };
    DataSource1->OnDataChange = plat::handler(this, &TfPROYNTEC::DataSource1DataChange);
    construirColumnas();
    construirOpciones();
    construirMenu();

    StatusBar1 = make<plat::StatusBar>(QStringLiteral("StatusBar1"), this);
    StatusBar1->setSimplePanel(true);
    static_cast<QBoxLayout *>(layout())->addWidget(StatusBar1);
    // The buttons stay in the middle of their panel.
    static_cast<QBoxLayout *>(PanelControl->layout())->insertStretch(0, 1);
    DBGrid1->OnDrawColumnCell = plat::handler(this, &TfPROYNTEC::DBGrid1DrawColumnCell);
    DBGrid1->OnEditButtonClick = plat::handler(this, &TfPROYNTEC::DBGrid1EditButtonClick);
    // A double click looks a value up; typing or F2 edits the cell.
    DBGrid1->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    OnResize = plat::handler(this, &TfPROYNTEC::FormResize);
}

void TfPROYNTEC::construirColumnas()
{
    const auto columna = [this](const QString &campo, const QString &titulo, int ancho, const QStringList &lista = {}) {
        plat::GridColumn *c = DBGrid1->addColumn(campo);
        c->TitleCaption = titulo;
        c->Width = ancho;
        c->PickList = lista;
        return c;
    };
    columna(QStringLiteral("NotaTecnica"), QStringLiteral("NTEC"), 44);
    columna(kDocumentacion, QStringLiteral("  "), 22);
    columna(QStringLiteral("CodigoProyecto"), QStringLiteral("Proyecto"), 70);
    columna(QStringLiteral("Descripcion"), QStringLiteral("Descripción Abreviada de la Nota Técnica"), 260);
    plat::GridColumn *ampliada = columna(kAmpliada, QStringLiteral("..."), 30);
    ampliada->Alignment = Qt::AlignHCenter;
    ampliada->ButtonStyle = plat::cbsEllipsis;
    columna(QStringLiteral("DetectadoPor"), QStringLiteral("Detectado Por"), 90);
    columna(QStringLiteral("FechaDeteccion"), QStringLiteral("F.Detección"), 80);
    columna(QStringLiteral("NivelUrgencia"), QStringLiteral("Tipo"), 80, {QStringLiteral("Error"), QStringLiteral("Sugerencia")});
    columna(QStringLiteral("FechaPrevista"), QStringLiteral("F.Prevista"), 80);
    columna(QStringLiteral("NivelPrioridad"), QStringLiteral("Prioridad"), 70,
            {QStringLiteral("Maxima"), QStringLiteral("Urgente"), QStringLiteral("Normal")});
    columna(QStringLiteral("SolucionadoPor"), QStringLiteral("Solucionado Por"), 90);
    columna(QStringLiteral("FechaSolucion"), QStringLiteral("F.Solución"), 80);
    columna(QStringLiteral("NotificarA"), QStringLiteral("Notificar A"), 90);
    columna(QStringLiteral("Situacion"), QStringLiteral("Situación"), 85,
            {QStringLiteral("Pendiente"), QStringLiteral("Solucionado"), QStringLiteral("Desestimado")});
    columna(QStringLiteral("DocumentoApoyo"), QStringLiteral("Documento Apoyo"), 120);
    DBGrid1->addColumn(QStringLiteral("Responsable"))->Width = 80;
}

void TfPROYNTEC::construirOpciones()
{
    PanelSuperior = make<plat::Panel>(QStringLiteral("PanelSuperior"), areaDatos());
    PanelSuperior->setFixedHeight(52);
    static_cast<QBoxLayout *>(areaDatos()->layout())->insertWidget(0, PanelSuperior);
    PanelOpciones = make<plat::Panel>(QStringLiteral("PanelOpciones"), PanelSuperior);
    auto *grupos = new QHBoxLayout(PanelOpciones);
    grupos->setContentsMargins(2, 2, 2, 2);
    const auto grupo = [&](const QString &nombre) {
        auto *panel = make<plat::Panel>(nombre, PanelOpciones);
        panel->setColor(plat::clWhite);
        auto *casillas = new QGridLayout(panel);
        casillas->setContentsMargins(6, 2, 6, 2);
        casillas->setVerticalSpacing(0);
        grupos->addWidget(panel);
        return panel;
    };
    const auto casilla = [this](plat::Panel *panel, const QString &nombre, const QString &titulo, bool marcada) {
        auto *c = make<plat::CheckBox>(nombre, panel);
        c->setCaption(titulo);
        c->setChecked(marcada);
        c->OnClick = plat::handler(this, &TfPROYNTEC::VerOpcionClick);
        auto *casillas = static_cast<QGridLayout *>(panel->layout());
        const int n = casillas->count();
        casillas->addWidget(c, n % 2, n / 2);
        return c;
    };
    PanelTipo = grupo(QStringLiteral("PanelTipo"));
    VerSugerencias = casilla(PanelTipo, QStringLiteral("VerSugerencias"), QStringLiteral("Ver Sugerencias"), true);
    VerErrores = casilla(PanelTipo, QStringLiteral("VerErrores"), QStringLiteral("Ver Errores"), true);
    PanelSituacion = grupo(QStringLiteral("PanelSituacion"));
    VerSolucionado = casilla(PanelSituacion, QStringLiteral("VerSolucionado"), QStringLiteral("Ver Solucionado"), false);
    VerPendiente = casilla(PanelSituacion, QStringLiteral("VerPendiente"), QStringLiteral("Ver Pendiente"), true);
    PanelPrioridad = grupo(QStringLiteral("PanelPrioridad"));
    VerPrioritario = casilla(PanelPrioridad, QStringLiteral("VerPrioritario"), QStringLiteral("Ver Prioritario"), true);
    VerUrgente = casilla(PanelPrioridad, QStringLiteral("VerUrgente"), QStringLiteral("Ver Urgente"), true);
    VerNormal = casilla(PanelPrioridad, QStringLiteral("VerNormal"), QStringLiteral("Ver Normal"), false);
    CheckBox4 = casilla(PanelPrioridad, QStringLiteral("CheckBox4"), QStringLiteral("Ver Solucionado"), false);
    PanelOpciones->adjustSize();
}

void TfPROYNTEC::construirMenu()
{
    PopupMenu1 = make<plat::PopupMenu>(QStringLiteral("PopupMenu1"), this);
    const auto opcion = [this](const QString &nombre, const QString &titulo, int tecla,
                               void (TfPROYNTEC::*clic)(QObject *)) {
        auto *item = make<plat::MenuItem>(nombre, titulo, PopupMenu1);
        if (tecla)
            item->setShortCut(plat::ShortCut(tecla, plat::ssCtrl));
        if (clic)
            item->OnClick = plat::handler(this, clic);
        PopupMenu1->Items()->Add(item);
        return item;
    };
    MenuItem2 = opcion(QStringLiteral("MenuItem2"), QStringLiteral("&Filtrar Registros..."), 0, nullptr);
    MenuItem2->setEnabled(false);
    FiltrarRegistrosporValorIgualA =
        opcion(QStringLiteral("FiltrarRegistrosporValorIgualA"), QStringLiteral("Filtrar Registros por Valor &Igual a..."),
               'I', &TfPROYNTEC::FiltrarRegistrosporValorClick);
    FiltrarRegistrosporValorDesde =
        opcion(QStringLiteral("FiltrarRegistrosporValorDesde"), QStringLiteral("Filtrar Registros por Valor &Desde..."),
               'D', &TfPROYNTEC::FiltrarRegistrosporValorClick);
    FiltrarRegistrosporValorHasta =
        opcion(QStringLiteral("FiltrarRegistrosporValorHasta"), QStringLiteral("Filtrar Registros por Valor &Hasta..."),
               'H', &TfPROYNTEC::FiltrarRegistrosporValorClick);
    CancelarFiltros1 =
        opcion(QStringLiteral("CancelarFiltros1"), QStringLiteral("Cancelar Filtros"), 0, &TfPROYNTEC::CancelarFiltros1Click);
    setContextMenuPolicy(Qt::CustomContextMenu);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    const auto mostrar = [this](QWidget *origen, const QPoint &p) {
        const QPoint global = origen->mapToGlobal(p);
        PopupMenu1->Popup(global.x(), global.y());
    };
    connect(this, &QWidget::customContextMenuRequested, this, [this, mostrar](const QPoint &p) { mostrar(this, p); });
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this, mostrar](const QPoint &p) { mostrar(DBGrid1->viewport(), p); });
}

// ---- creation and layout ---------------------------------------------------------------------

void TfPROYNTEC::FormCreate(QObject *Sender)
{
    fGENEINIC->AjustarTamanoFormulario(this, QString());
    FormularioMaestroRejilla::FormCreate(Sender);
    FiltroPorValor.clear();
    FiltrarNotasTecnicas();
    FormResize(this);
}

void TfPROYNTEC::FormResize(QObject *)
{
    // The panels take their new sizes first.
    layout()->activate();
    areaDatos()->layout()->activate();
    PanelOpciones->adjustSize();
    plat::WidgetPlacement botones(PanelNavegador);
    PosicionarControl(botones, QStringLiteral("Centro-Horizontal"));
    plat::WidgetPlacement opciones(PanelOpciones);
    PosicionarControl(opciones, QStringLiteral("Centro"));
}

// ---- filters ---------------------------------------------------------------------------------

filtroNotas::Opciones TfPROYNTEC::opciones() const
{
    filtroNotas::Opciones o;
    o.sugerencias = VerSugerencias->isChecked();
    o.errores = VerErrores->isChecked();
    o.solucionado = VerSolucionado->isChecked();
    o.pendiente = VerPendiente->isChecked();
    o.prioritario = VerPrioritario->isChecked();
    o.urgente = VerUrgente->isChecked();
    o.normal = VerNormal->isChecked();
    return o;
}

void TfPROYNTEC::FiltrarNotasTecnicas()
{
    // The text goes in while filtering stays on: the table is read once, and a text the
    // data layer refuses leaves the previous filter in force.
    plat::DataSet &tabla = Table1->dataSet();
    const int columna = DBGrid1->selectedIndex();
    tabla.setFilter(filtroNotas::TextoFiltro(opciones(), FiltroPorValor));
    tabla.setFiltered(true);
    // The rows read again keep the column the user was on.
    DBGrid1->setSelectedIndex(columna);
}

void TfPROYNTEC::pbRefrescarClick(QObject *)
{
    const filtroNotas::Opciones o = opciones();
    if (editando())
        MensajeAviso(QStringLiteral("¡Debe finalizar la edición antes de filtrar las opciones!"));
    else if (filtroNotas::CondicionTipo(o).isEmpty())
        MensajeAviso(QStringLiteral("¡Debe escoger alguna opción para el Tipo de Nota!"));
    else if (filtroNotas::CondicionSituacion(o).isEmpty())
        MensajeAviso(QStringLiteral("¡Debe escoger alguna opción para la Situación!"));
    else if (filtroNotas::CondicionPrioridad(o).isEmpty())
        MensajeAviso(QStringLiteral("¡Debe escoger alguna opción para el Nivel de Prioridad!"));
    else
        FiltrarNotasTecnicas();
}

void TfPROYNTEC::VerOpcionClick(QObject *Sender) { pbRefrescarClick(Sender); }

void TfPROYNTEC::FiltrarRegistrosporValorClick(QObject *Sender)
{
    plat::Field *campo = DBGrid1->selectedField();
    if (editando() || !campo || campo->isCalculated())
        return;
    QString operador = QStringLiteral("=");
    QString pregunta = QStringLiteral("Introduzca el valor del campo ");
    if (Sender == FiltrarRegistrosporValorDesde) {
        operador = QStringLiteral(">=");
        pregunta = QStringLiteral("Introduzca el valor Desde ");
    } else if (Sender == FiltrarRegistrosporValorHasta) {
        operador = QStringLiteral("<=");
        pregunta = QStringLiteral("Introduzca el valor Hasta ");
    }
    const QString respuesta = MensajePedirDato(pregunta + AbreviarNombreCampo(campo->fieldName(), 1));
    if (respuesta.isEmpty())
        return;
    const QString anterior = FiltroPorValor;
    FiltroPorValor =
        filtroNotas::AnadirCondicion(FiltroPorValor, filtroNotas::CondicionPorValor(campo->fieldName(), operador, respuesta));
    if (const gp::Fallo fallo = gp::capturarFallo([this] { FiltrarNotasTecnicas(); })) {
        FiltroPorValor = anterior;
        MensajeAviso(fallo.mensaje);
    }
}

void TfPROYNTEC::CancelarFiltros1Click(QObject *)
{
    FiltroPorValor.clear();
    FiltrarNotasTecnicas();
    FormResize(this);
}

// ---- a note ----------------------------------------------------------------------------------

QString TfPROYNTEC::numeroNota() const { return Table1->dataSet().fieldByName(QStringLiteral("NotaTecnica")).asString(); }

void TfPROYNTEC::Table1NewRecord(plat::DataSet &DataSet)
{
    numerarAlta(DataSet, QStringLiteral("NotaTecnica"));
    DataSet.fieldByName(QStringLiteral("NivelUrgencia")).setValue(QStringLiteral("Error"));
    DataSet.fieldByName(QStringLiteral("NivelPrioridad")).setValue(QStringLiteral("Urgente"));
    DataSet.fieldByName(QStringLiteral("Situacion")).setValue(QStringLiteral("Pendiente"));
    DataSet.fieldByName(QStringLiteral("FechaDeteccion")).setValue(hoy());
    FormularioMaestroRejilla::Table1NewRecord(DataSet);
}

void TfPROYNTEC::Table1CalcFields(plat::DataSet &DataSet)
{
    const bool tiene = ModuloDatos->TieneDocumentacionElectronica(
        QStringLiteral("NTECNICA"), DataSet.fieldByName(QStringLiteral("NotaTecnica")).asString());
    DataSet.fieldByName(kDocumentacion).setValue(tiene ? QStringLiteral("SI") : QStringLiteral("  "));
}

void TfPROYNTEC::DataSource1DataChange(QObject *, plat::Field *Field)
{
    // A value typed into a field leaves the number of notes as it was.
    if (Field)
        return;
    const plat::DataSet &tabla = Table1->dataSet();
    const qint64 notas = tabla.active() ? Table1->dataSet().recordCount() : 0;
    fGENEINIC->ConfigurarBarraEstado(StatusBar1, QStringLiteral("Número de Notas: ") + QString::number(notas));
}

bool TfPROYNTEC::ValidarControl(QWidget *) { return ValidarNotaTecnica(); }

bool TfPROYNTEC::ValidarNotaTecnica()
{
    plat::DataSet &tabla = Table1->dataSet();
    if (!editando() || tabla.field(0).asString().isEmpty() || QApplication::focusWidget() == pbCancelar)
        return true;
    plat::GridColumn *columna = DBGrid1->column(DBGrid1->selectedIndex());
    plat::Field *campo = columna ? columna->field() : nullptr;
    if (!campo)
        return true;
    const QString nombre = campo->fieldName();
    if (nombre == QLatin1String("Responsable")) {
        if (!ModuloDatos->ExisteClaveEnTabla(QStringLiteral("OPERARIO"), campo->asString())) {
            MensajeAviso(QStringLiteral("¡No existe el operario!"));
            return false;
        }
    } else if (nombre == QLatin1String("Situacion")) {
        plat::Field &fecha = tabla.fieldByName(QStringLiteral("FechaSolucion"));
        if (resuelta(campo->asString()) && (fecha.isNull() || EsFechaCero(fecha.asDateTime())))
            fecha.setValue(hoy());
    } else if (nombre == QLatin1String("DetectadoPor")) {
        plat::Field &notificar = tabla.fieldByName(QStringLiteral("NotificarA"));
        if (notificar.asString().isEmpty())
            notificar.setValue(campo->asString());
    }
    if (!columna->PickList.isEmpty() && !columna->PickList.contains(campo->asString(), Qt::CaseSensitive)) {
        MensajeAviso(QStringLiteral("¡ El valor \"") + campo->asString() + QStringLiteral("\" de la columna \"")
                     + columna->TitleCaption + QStringLiteral("\" no es correcto !"));
        return false;
    }
    return true;
}

void TfPROYNTEC::trasGrabar() { Table1->dataSet().refresh(); }

// ---- look-ups and the extended description ----------------------------------------------------

void TfPROYNTEC::DBGrid1DblClick(QObject *)
{
    plat::Field *campo = DBGrid1->selectedField();
    if (!campo)
        return;
    const QString nombre = campo->fieldName();
    if (nombre == kDocumentacion) {
        ModuloDatos->AbrirDocumentacionElectronica(QStringLiteral("NTECNICA"), numeroNota());
        return;
    }
    QString tabla;
    if (nombre == QLatin1String("CodigoProyecto"))
        tabla = QStringLiteral("PROYECT");
    else if (nombre == QLatin1String("Responsable") || nombre == QLatin1String("DetectadoPor")
             || nombre == QLatin1String("SolucionadoPor"))
        tabla = QStringLiteral("OPERARIO");
    if (tabla.isEmpty())
        return;
    const QVariantList clave = BuscarRegistro(tabla, 0).toList();
    const QString valor = clave.isEmpty() ? QString() : clave.first().toString();
    if (valor.isEmpty())
        return;
    // A refused edit (a lock) leaves the note as it was, without a message.
    try {
        (void)gp::capturarFallo([&] {
            Table1->dataSet().edit();
            campo->setText(valor);
        });
    } catch (const gp::Abort &) {
    }
}

QString TfPROYNTEC::TituloDescripcionAmpliada() const
{
    return QStringLiteral("Nota Técnica ") + numeroNota() + QStringLiteral(" - Descripción Ampliada");
}

void TfPROYNTEC::DBGrid1EditButtonClick(QObject *)
{
    plat::Field *campo = DBGrid1->selectedField();
    if (campo && campo->fieldName() == kAmpliada)
        editarMemo(kAmpliada, TituloDescripcionAmpliada());
}

// ---- painting --------------------------------------------------------------------------------

void TfPROYNTEC::DBGrid1DrawColumnCell(QObject *, const QRect &Rect, int, plat::GridColumn *Column,
                                       plat::GridCellState State)
{
    if (!Column)
        return;
    const QString &campo = Column->FieldName;
    QString texto = DBGrid1->drawnText(campo);
    int color = plat::clBlack;
    if (campo == QLatin1String("NivelUrgencia")) {
        color = texto == QLatin1String("Sugerencia") ? kVerde : plat::clBlack;
    } else if (campo == QLatin1String("NivelPrioridad")) {
        color = texto == QLatin1String("Maxima") ? kRojo : texto == QLatin1String("Urgente") ? kGranate : plat::clBlack;
    } else if (campo == QLatin1String("Descripcion") || campo == QLatin1String("Situacion")) {
        color = resuelta(DBGrid1->drawnText(QStringLiteral("Situacion"))) ? kVerdeAzulado : plat::clBlack;
    } else if (campo == kAmpliada) {
        color = texto.isEmpty() ? plat::clBlack : kRojo;
        texto = texto.isEmpty() ? QStringLiteral(" ...") : QStringLiteral(" -->");
    } else if (campo != kDocumentacion) {
        return;   // the grid's own drawing
    }
    plat::Canvas *canvas = DBGrid1->canvas();
    canvas->brush().Color = State.testFlag(plat::gdsSelected) ? plat::clHighlight : plat::clWindow;
    if (campo == kDocumentacion) {
        canvas->FillRect(Rect);
        if (texto == QLatin1String("SI"))
            canvas->Draw(Rect.left(), Rect.top(), fGENEINIC->Imagenes.value(QStringLiteral("DOCEON")));
        return;
    }
    canvas->font().Color = color;
    canvas->TextRect(Rect, Rect.left() + 2, Rect.top() + 2, texto);
}
