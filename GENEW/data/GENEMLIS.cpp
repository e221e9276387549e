#include "GENEW/data/GENEMLIS.h"

#include "GENEW/data/GENEDETA.h"
#include "GENEW/data/Genemodu.h"
#include "GENEW/data/busqueda/ServiciosBusqueda.h"
#include "GENEW/data/lista/CalculoExpresion.h"
#include "GENEW/data/lista/OpcionesListaDatos.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/comun/RutinasTipos.h"
#include "platform/base/Errores.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/ValueText.h"
#include "platform/ui/Application.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"

#include <QHBoxLayout>
#include <QScopeGuard>
#include <QVBoxLayout>
#include <memory>

GeometriaDialogo TfGENEMLIS::Geometria;

namespace {

constexpr int kAnchoBoton = 75;
constexpr int kAltoBoton = 25;
constexpr int kAltoLineaTotal = 15;

// The field part of a "field:calculation" or "table>field" line.
bool lineaDeCampo(const QString &campoLinea, const plat::Field &campo)
{
    return campoLinea.compare(campo.fieldName(), Qt::CaseInsensitive) == 0;
}

// A field's value for a row formula: its number, or what its text reads as, or 0.
std::optional<double> valorNumericoDe(const plat::DataSet &ds, const QString &nombre)
{
    const plat::Field *campo = ds.findField(nombre);
    if (!campo)
        return std::nullopt;
    if (campo->isNumeric())
        return campo->isNull() ? 0.0 : campo->asFloat();
    return LeerNumeroExpresion(campo->asString()).value_or(0);
}

// Sets a field even when it is read-only for the user.
void asignarAbierto(plat::Field &campo, const std::function<void(plat::Field &)> &asignar)
{
    const bool soloLectura = campo.readOnly;
    campo.readOnly = false;
    const auto cerrar = qScopeGuard([&] { campo.readOnly = soloLectura; });
    asignar(campo);
}

} // namespace

TfGENEMLIS::TfGENEMLIS(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEMLIS"));
    setCaption(QStringLiteral("Mantenimiento de Lista"));
    resize(430, 300);
    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);

    Temporal = make<plat::TableComponent>(QStringLiteral("Temporal"), this);
    DataSource1 = make<plat::DataSource>(QStringLiteral("DataSource1"), this);
    DataSource1->setDataSet(Temporal);

    P1 = make<plat::Panel>(QStringLiteral("P1"), this);
    auto *cajaRejilla = new QVBoxLayout(P1);
    cajaRejilla->setContentsMargins(0, 0, 0, 0);
    cajaRejilla->setSpacing(0);
    DBGrid1 = make<plat::DBGrid>(QStringLiteral("DBGrid1"), P1);
    DBGrid1->setDataSource(DataSource1);
    DBGrid1->setDefaultDrawing(false);
    cajaRejilla->addWidget(DBGrid1, 1);
    PanelTotales = make<plat::Panel>(QStringLiteral("PanelTotales"), P1);
    auto *filaTotales = new QHBoxLayout(PanelTotales);
    filaTotales->setContentsMargins(0, 0, 0, 0);
    filaTotales->setSpacing(0);
    LBTextoTotales = make<plat::Label>(QStringLiteral("LBTextoTotales"), PanelTotales);
    LBTotales = make<plat::Label>(QStringLiteral("LBTotales"), PanelTotales);
    LBTotales->setAlignment(plat::taRightJustify);
    filaTotales->addStretch();
    filaTotales->addWidget(LBTextoTotales);
    filaTotales->addWidget(LBTotales);
    PanelTotales->hide();
    cajaRejilla->addWidget(PanelTotales);

    PanelControl = make<plat::Panel>(QStringLiteral("PanelControl"), this);
    PanelControl->setFixedHeight(37);
    pbAceptar = make<plat::Button>(QStringLiteral("pbAceptar"), PanelControl);
    pbAceptar->setCaption(QStringLiteral("&Aceptar"));
    pbAceptar->setHint(QStringLiteral("Aceptar los datos actuales"));
    pbAceptar->setModalResult(plat::mrOk);
    pbRestablecer = make<plat::Button>(QStringLiteral("pbRestablecer"), PanelControl);
    pbRestablecer->setCaption(QStringLiteral("&Restablecer"));
    pbRestablecer->setHint(QStringLiteral("Restablecer los datos originales"));
    pbCancelar = make<plat::Button>(QStringLiteral("pbCancelar"), PanelControl);
    pbCancelar->setCaption(QStringLiteral("&Cancelar"));
    pbCancelar->setHint(QStringLiteral("Abandonar sin asignar los datos"));
    pbCancelar->setModalResult(plat::mrCancel);
    pbCancelar->setCancelButton(true);
    for (plat::Button *b : {pbAceptar, pbRestablecer, pbCancelar})
        b->setGeometry(0, 6, kAnchoBoton, kAltoBoton);
    columna->addWidget(P1, 1);
    columna->addWidget(PanelControl);
    construirMenu();

    Geometria.aplicar(*this, plat::poMainFormCenter);

    using plat::handler;
    OnShow = [this](QObject *) { FormShow(); };
    OnClose = [this](QObject *, plat::CloseAction &) { FormClose(); };
    OnResize = [this](QObject *) { FormResize(); };
    setKeyPreview(true);
    OnKeyDown = handler(this, &TfGENEMLIS::FormKeyDown);
    OnKeyPress = handler(this, &TfGENEMLIS::FormKeyPress);
    pbAceptar->OnClick = [this](QObject *) { pbAceptarClick(); };
    pbRestablecer->OnClick = [this](QObject *) { pbRestablecerClick(); };
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, [this] { DBGrid1DblClick(); });
    DBGrid1->OnColExit = [this](QObject *) { DBGrid1ColExit(); };
    DBGrid1->OnDrawColumnCell = [this](QObject *, const QRect &rect, int, plat::GridColumn *columna,
                                       plat::GridCellState estado) { DBGrid1DrawColumnCell(rect, columna, estado); };
    plat::DataSet &t = temporal();
    t.BeforePost = [this](plat::DataSet &) { TemporalBeforePost(); };
    t.OnNewRecord = [this](plat::DataSet &) { TemporalNewRecord(); };
}

TfGENEMLIS::~TfGENEMLIS() = default;

plat::DataSet &TfGENEMLIS::temporal() const
{
    return Temporal->dataSet();
}

plat::MenuItem *TfGENEMLIS::opcionMenu(const QString &nombre, const QString &texto)
{
    auto *opcion = make<plat::MenuItem>(nombre, texto, PopupMenu1);
    PopupMenu1->Items()->Add(opcion);
    return opcion;
}

void TfGENEMLIS::construirMenu()
{
    PopupMenu1 = make<plat::PopupMenu>(QStringLiteral("PopupMenu1"), this);
    FiltrarRegistrosporValorIgualA = opcionMenu(QStringLiteral("FiltrarRegistrosporValorIgualA"),
                                                QStringLiteral("Filtrar Registros por Valor &Igual a..."));
    FiltrarRegistrosporValorDesde = opcionMenu(QStringLiteral("FiltrarRegistrosporValorDesde"),
                                               QStringLiteral("Filtrar Registros por Valor &Desde..."));
    FiltrarRegistrosporValorHasta = opcionMenu(QStringLiteral("FiltrarRegistrosporValorHasta"),
                                               QStringLiteral("Filtrar Registros por Valor &Hasta..."));
    FiltrarRegistrosporValoresDesdeHasta = opcionMenu(QStringLiteral("FiltrarRegistrosporValoresDesdeHasta"),
                                                      QStringLiteral("&Filtrar Registros por Valores Desde-Hasta..."));
    CancelarFiltros = opcionMenu(QStringLiteral("CancelarFiltros"), QStringLiteral("&Cancelar Filtros"));
    VerDetalle1 = opcionMenu(QStringLiteral("VerDetalle1"), QStringLiteral("&Ver Detalle"));
    ListadoProgramable1 = opcionMenu(QStringLiteral("ListadoProgramable1"), QStringLiteral("Listado Programable..."));
    for (plat::MenuItem *filtro : {FiltrarRegistrosporValorIgualA, FiltrarRegistrosporValorDesde, FiltrarRegistrosporValorHasta})
        filtro->OnClick = [this](QObject *sender) { FiltrarRegistrosporValorClick(sender); };
    FiltrarRegistrosporValoresDesdeHasta->OnClick = [this](QObject *) { FiltrarRegistrosporValoresDesdeHastaClick(); };
    CancelarFiltros->OnClick = [this](QObject *) { CancelarFiltrosClick(); };
    VerDetalle1->OnClick = [this](QObject *) { VerDetalle1Click(); };
    ListadoProgramable1->OnClick = [this](QObject *) { ListadoProgramable1Click(); };
    PopupMenu1->OnPopup = [this](QObject *) { PopupMenu1Popup(); };
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        const QPoint global = DBGrid1->viewport()->mapToGlobal(p);
        PopupMenu1->Popup(global.x(), global.y());
    });
}

QList<plat::Field *> TfGENEMLIS::camposFila() const
{
    QList<plat::Field *> campos;
    const plat::DataSet &t = temporal();
    for (int i = 0; i < t.fieldCount(); ++i)
        if (t.field(i).fieldName() != kCampoLineaLista)
            campos << &t.field(i);
    return campos;
}

QStringList TfGENEMLIS::tablasBusqueda(const plat::Field &campo) const
{
    QStringList tablas;
    for (const QString &linea : BusquedasCampos) {
        const qsizetype flecha = linea.indexOf(u'>');
        if (flecha >= 0 && lineaDeCampo(linea.mid(flecha + 1), campo))
            tablas << linea.left(flecha);
    }
    return tablas;
}

bool TfGENEMLIS::editando() const
{
    const plat::DataSetState estado = temporal().state();
    return estado == plat::DataSetState::Edit || estado == plat::DataSetState::Insert;
}

// ---- showing and closing -------------------------------------------------------------------

void TfGENEMLIS::ajustarColumnas()
{
    if (NoRedimensionarGrid) {
        const int anchoLetra = DBGrid1->fontMetrics().horizontalAdvance(u'Z');
        for (int i = 0; i < DBGrid1->columnCount(); ++i) {
            plat::GridColumn *c = DBGrid1->column(i);
            if (c->Visible && c->field())
                DBGrid1->setShownWidth(i, anchoLetra * AnchoPorDefectoCampo(*c->field()));
        }
        DBGrid1->updateColumns();
    } else if (ModuloDatos) {
        ModuloDatos->AjustarRejilla(*DBGrid1);
    }
}

void TfGENEMLIS::FormShow()
{
    if (DBGrid1->readOnly())
        DBGrid1->setColor(plat::clInfoBk);
    LBTotales->setVisible(!CamposTotalizadores.isEmpty());
    ajustarColumnas();
    plat::DataSet &t = temporal();
    for (int i = 0; i < DBGrid1->columnCount(); ++i) {
        plat::GridColumn *c = DBGrid1->column(i);
        c->TitleCaption = AbreviarNombreCampo(c->TitleCaption.isEmpty() ? c->FieldName : c->TitleCaption, 1);
        plat::Field *campo = c->field();
        if (!campo)
            continue;
        if (campo->dataType() == ftFloat && fGENEINIC)
            campo->displayFormat = fGENEINIC->ObtenerFormatoNumerico(campo->fieldName());
        if (campo->dataType() == ftDateTime && ModuloDatos)
            campo->OnGetText = [](plat::Field &f, QString &texto, bool mostrar) {
                ModuloDatos->MostrarTextoFecha(f, texto, mostrar);
            };
    }
    DBGrid1->updateColumns();
    FilasCargadas.clear();
    if (t.active()) {
        for (t.first(); !t.eof(); t.next()) {
            QString linea;
            for (const plat::Field *campo : camposFila())
                linea += campo->asString() + u'|';
            FilasCargadas << linea;
        }
        t.first();
    }
    if (fGENEINIC)
        fGENEINIC->AplicarAspecto(this);
    pbAceptar->setFocus();
    CalcularTotales();
    if (fGENEINIC)
        fGENEINIC->TraducirFormulario(this);
}

void TfGENEMLIS::FormClose()
{
    Geometria.guardar(*this);
}

void TfGENEMLIS::FormResize()
{
    const int w = pbAceptar->width();
    const int y = pbAceptar->y();
    if (pbRestablecer->isVisibleTo(this)) {
        const int x = (PanelControl->width() - 3 * w - 4) / 2;
        pbAceptar->move(x, y);
        pbRestablecer->move(x + w + 2, y);
        pbCancelar->move(x + 2 * w + 4, y);
    } else {
        const int x = (PanelControl->width() - 2 * w - 2) / 2;
        pbAceptar->move(x, y);
        pbCancelar->move(x + w + 2, y);
    }
    if (!NoRedimensionarGrid && isVisible())
        ajustarColumnas();
}

void TfGENEMLIS::FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift)
{
    if (fGENEINIC)
        fGENEINIC->ProcesarTeclaFormulario(Sender, Key, Shift);
}

void TfGENEMLIS::FormKeyPress(QObject *Sender, QChar &Key)
{
    if (fGENEINIC)
        fGENEINIC->ProcesarTeclaPulsada(Sender, Key);
}

void TfGENEMLIS::pbAceptarClick()
{
    // The row being edited is part of what is accepted: a row that cannot be posted keeps
    // the window open.
    if (editando() && !plat::application().guard(this, [this] { temporal().post(); }))
        setModalResult(plat::mrNone);
}

// ---- rows: calculations, look-ups, new rows, restore ---------------------------------------

bool TfGENEMLIS::ValidarLinea()
{
    plat::Field *campo = DBGrid1->selectedField();
    if (!campo || !editando())
        return true;
    plat::DataSet &t = temporal();
    for (const QString &linea : CalculosCampos) {
        const qsizetype dosPuntos = linea.indexOf(u':');
        if (dosPuntos < 0 || !lineaDeCampo(linea.left(dosPuntos), *campo))
            continue;
        const auto calculo = LeerCalculoColumna(linea.mid(dosPuntos + 1));
        plat::Field *destino = calculo ? t.findField(calculo->destino) : nullptr;
        if (!destino)
            continue;
        const QString formula =
            FormulaConValores(calculo->formula, [&t](const QString &nombre) { return valorNumericoDe(t, nombre); });
        try {
            // A computed column is usually read-only for the user, not for its calculation.
            asignarAbierto(*destino, [&](plat::Field &campo) { campo.setAsFloat(CalcularExpresion(formula)); });
        } catch (const gp::Error &) {
            // A value the target cannot hold is dropped.
        }
    }
    bool valida = true;
    for (const QString &tabla : tablasBusqueda(*campo)) {
        if (ModuloDatos && !ModuloDatos->ExisteClaveEnTabla(tabla, campo->asString())) {
            MensajeAviso(QStringLiteral("¡No existe el registro!"));
            valida = false;
        }
    }
    return valida;
}

void TfGENEMLIS::DBGrid1ColExit()
{
    if (!ValidarLinea())
        throw gp::Abort();
}

void TfGENEMLIS::TemporalBeforePost()
{
    if (!ValidarLinea())
        throw gp::Abort();
}

void TfGENEMLIS::TemporalNewRecord()
{
    if (!InsercionPermitida)
        throw gp::Abort();
    plat::DataSet &t = temporal();
    if (plat::Field *linea = t.findField(kCampoLineaLista); linea && ModuloDatos)
        linea->setAsInteger(ModuloDatos->SiguienteCodigo(Temporal->table(), 1));
}

void TfGENEMLIS::pbRestablecerClick()
{
    plat::DataSet &t = temporal();
    InsercionPermitida = true;
    t.cancel();
    // Every row goes, also those a filter hides; the filter applies again afterwards.
    const bool filtrado = t.filtered();
    t.setFiltered(false);
    for (t.first(); !t.isEmpty();)
        t.remove();
    for (const QString &linea : FilasCargadas) {
        const QStringList valores = linea.split(u'|');
        t.append();
        const QList<plat::Field *> campos = camposFila();
        for (qsizetype i = 0; i < campos.size(); ++i)
            asignarAbierto(*campos[i], [&](plat::Field &campo) { campo.setAsString(valores.value(i)); });
        t.post();
    }
    InsercionPermitida = false;
    t.setFiltered(filtrado);
    t.first();
    CalcularTotales();
}

// ---- grid ----------------------------------------------------------------------------------

void TfGENEMLIS::DBGrid1DblClick()
{
    if (DBGrid1->readOnly()) {
        setModalResult(plat::mrOk);
        return;
    }
    plat::Field *campo = DBGrid1->selectedField();
    if (!campo)
        return;
    for (const QString &tabla : tablasBusqueda(*campo)) {
        plat::application().guard(this, [&] {
            temporal().edit();
            const QVariant eleccion = BuscarRegistro(tabla, 0);
            if (!eleccion.isNull())
                campo->setAsString(eleccion.toList().value(0).toString());
        });
    }
}

void TfGENEMLIS::DBGrid1DrawColumnCell(const QRect &Rect, plat::GridColumn *Column, plat::GridCellState State)
{
    plat::Canvas &lienzo = *DBGrid1->canvas();
    const plat::Field *campo = Column ? Column->field() : nullptr;
    // A read-only grid marks its current row whether or not it has the focus.
    const bool seleccionada = State.testFlag(plat::gdsSelected)
                              || (DBGrid1->readOnly() && DBGrid1->currentIndex().row() == DBGrid1->drawingRow());
    lienzo.font().Color = plat::clBlack;
    if (seleccionada)
        lienzo.brush().Color = plat::clSkyBlue;
    else if (campo && campo->readOnly)
        lienzo.brush().Color = plat::clInfoBk;
    else
        lienzo.brush().Color = DBGrid1->color() == plat::clDefault ? plat::clWindow : DBGrid1->color();
    if (temporal().findField(kCampoEstiloLinea)) {
        const QStringList estilo = DBGrid1->drawnText(kCampoEstiloLinea).split(u',');
        if (!estilo.value(0).trimmed().isEmpty())
            lienzo.font().Color = InterpretarColor(estilo.value(0).trimmed());
        const int numeroEstilo = TextoAEstiloFuente(estilo.value(1).trimmed());
        QFont fuente = lienzo.font().Font;
        fuente.setBold(numeroEstilo == fsBold);
        fuente.setItalic(numeroEstilo == fsItalic);
        fuente.setUnderline(numeroEstilo == fsUnderline);
        fuente.setStrikeOut(numeroEstilo == fsStrikeout);
        lienzo.setFont(fuente);
        if (!estilo.value(2).trimmed().isEmpty())
            lienzo.brush().Color = InterpretarColor(estilo.value(2).trimmed());
    }
    lienzo.FillRect(Rect);
    const QString texto = Column ? DBGrid1->drawnText(Column->FieldName) : QString();
    int x = Rect.left() + 2;
    if (campo && campo->isNumeric())
        x = Rect.right() - 2 - lienzo.TextWidth(texto);
    lienzo.brush().Style = plat::bsClear;
    lienzo.TextRect(Rect, x, Rect.top() + 2, texto);
}

// ---- totals and filters --------------------------------------------------------------------

void TfGENEMLIS::CalcularTotales()
{
    if (CamposTotalizadores.isEmpty())
        return;
    PanelTotales->setFixedHeight((ContarCaracter(u';', CamposTotalizadores) + 1) * kAltoLineaTotal);
    PanelTotales->show();
    QString textos;
    QString totales;
    plat::DataSet &t = temporal();
    t.disableControls();
    for (const QString &nombre : CamposTotalizadores.split(u';')) {
        double suma = 0;
        if (const plat::Field *campo = t.active() ? t.findField(nombre) : nullptr)
            for (t.first(); !t.eof(); t.next())
                suma += campo->isNull() ? 0 : valorNumericoDe(t, nombre).value_or(0);
        textos += QStringLiteral("Total ") + SepararPalabras(nombre) + QStringLiteral(": \n");
        totales += plat::formatFloat(QStringLiteral("#,##0.00"), suma) + Espacios(7) + u'\n';
    }
    t.enableControls();
    if (t.active())
        t.first();
    textos.chop(1);
    totales.chop(1);
    LBTextoTotales->setCaption(textos);
    LBTotales->setCaption(totales);
}

bool TfGENEMLIS::filtrarPorValor(const QString &operador, const QString &pregunta)
{
    plat::Field *campo = DBGrid1->selectedField();
    if (!campo || (editando() && campo->isCalculated()))
        return false;
    const QString valor = MensajePedirDato(pregunta + AbreviarNombreCampo(campo->fieldName(), 1), campo->editText());
    if (valor.isEmpty())
        return false;
    plat::DataSet &t = temporal();
    const QString anterior = t.filter();
    const bool filtrado = t.filtered();
    try {
        t.setFiltered(false);
        t.setFilter(anterior + (anterior.isEmpty() ? QString() : QStringLiteral(" AND ")) + u'(' + campo->fieldName()
                    + u' ' + operador + u' ' + Entrecomillar(valor) + u')');
        t.setFiltered(true);
        CalcularTotales();
        return true;
    } catch (const gp::Error &) {
        // The rows stay as they were shown.
        try {
            t.setFilter(anterior);
            t.setFiltered(filtrado);
        } catch (const gp::Error &) {
        }
        MensajeAviso(QStringLiteral("¡No ha sido posible filtrar registros!"));
        return false;
    }
}

void TfGENEMLIS::FiltrarRegistrosporValorClick(QObject *Sender)
{
    if (Sender == FiltrarRegistrosporValorIgualA)
        filtrarPorValor(QStringLiteral("="), QStringLiteral("Introduzca el valor del campo "));
    else if (Sender == FiltrarRegistrosporValorDesde)
        filtrarPorValor(QStringLiteral(">="), QStringLiteral("Introduzca el valor Desde "));
    else
        filtrarPorValor(QStringLiteral("<="), QStringLiteral("Introduzca el valor Hasta "));
}

void TfGENEMLIS::FiltrarRegistrosporValoresDesdeHastaClick()
{
    FiltrarRegistrosporValorClick(FiltrarRegistrosporValorDesde);
    FiltrarRegistrosporValorClick(FiltrarRegistrosporValorHasta);
}

void TfGENEMLIS::CancelarFiltrosClick()
{
    plat::DataSet &t = temporal();
    try {
        t.setFilter(QString());
        t.setFiltered(false);
    } catch (const gp::Error &) {
    }
    // The totals follow the rows shown again.
    CalcularTotales();
}

void TfGENEMLIS::PopupMenu1Popup()
{
    const bool habilitados = !DBGrid1->rowSelect();
    for (plat::MenuItem *item : {FiltrarRegistrosporValorIgualA, FiltrarRegistrosporValorDesde,
                                 FiltrarRegistrosporValorHasta, FiltrarRegistrosporValoresDesdeHasta, CancelarFiltros})
        item->setEnabled(habilitados);
}

void TfGENEMLIS::VerDetalle1Click()
{
    const plat::Field *campo = DBGrid1->selectedField();
    if (campo && campo->dataType() == ftMemo)
        MostrarDetalle(campo->asString(), QStringLiteral("Detalle del campo ") + SepararPalabras(campo->fieldName()));
}

void TfGENEMLIS::ListadoProgramable1Click()
{
    if (ModuloDatos)
        ModuloDatos->ListarDataSetTemporal(temporal(), objectName(), caption());
}

// ---- the driver ----------------------------------------------------------------------------

namespace {

QString valoresDeFila(const plat::DataSet &t, int numeroCampos)
{
    QStringList valores;
    for (int k = 1; k <= numeroCampos && k < t.fieldCount(); ++k)
        valores << ValorEnFilaLista(t.field(k).asString());
    return valores.join(u'|');
}

QString todasLasFilas(plat::DataSet &t, int numeroCampos)
{
    QString filas;
    for (t.first(); !t.eof(); t.next())
        filas += valoresDeFila(t, numeroCampos) + QStringLiteral("\r\n");
    return filas;
}

void cargarFilas(TfGENEMLIS &editor, const OpcionesListaDatos &o, const QString &datos)
{
    plat::DataSet &t = editor.temporal();
    for (const QString &linea : DividirLineas(datos)) {
        const QStringList valores = linea.split(u'|');
        t.append();
        for (qsizetype k = 0; k < o.columnas.size() && k + 1 < t.fieldCount(); ++k) {
            QString valor = valores.value(k);
            if (o.columnas[k].esMemo())
                valor.replace(QStringLiteral("·"), QStringLiteral("\r\n"));
            try {
                t.field(int(k + 1)).setAsString(valor);
            } catch (const gp::Error &) {
                // A value the field refuses is left empty.
            }
        }
        t.post();
    }
    if (ModuloDatos)
        ModuloDatos->RefrescarDataSet(t);
}

void prepararColumnas(TfGENEMLIS &editor, const OpcionesListaDatos &o)
{
    plat::DataSet &t = editor.temporal();
    plat::DBGrid &rejilla = *editor.DBGrid1;
    // The line number and the row style stay out of the grid (the style is read per row).
    for (int i = 1; i < t.fieldCount() && i <= o.columnas.size(); ++i) {
        const ColumnaListaDatos &c = o.columnas[i - 1];
        t.field(i).readOnly = c.soloLectura;
        if (c.nombre.compare(kCampoEstiloLinea, Qt::CaseInsensitive) == 0)
            continue;
        plat::GridColumn *columna = rejilla.addColumn(t.field(i).fieldName());
        columna->Width = c.ancho != 0 ? c.ancho : (c.esFlotante() ? 100 : 0);
    }
    rejilla.updateColumns();
    if (fGENEINIC)
        fGENEINIC->AsignarFormatosCampos(editor.Temporal);
    editor.CalculosCampos = o.lineasCalculo();
    editor.BusquedasCampos = o.lineasBusqueda();
    editor.CamposTotalizadores = o.camposTotalizadores;
    editor.NoRedimensionarGrid = o.noRedimensionarGrid;
}

void prepararModo(TfGENEMLIS &editor, const OpcionesListaDatos &o)
{
    if (!o.consulta) {
        editor.pbCancelar->setHint(QStringLiteral("Rechazar los datos y Abandonar"));
        return;
    }
    editor.DBGrid1->setReadOnly(!o.eliminar);
    editor.pbRestablecer->hide();
    editor.pbAceptar->setCaption(QStringLiteral("&Conforme"));
    if (o.sinSeleccion) {
        editor.pbAceptar->setHint(QString());
        editor.pbCancelar->setHint(QStringLiteral("Abandonar"));
    } else {
        editor.pbAceptar->setHint(QStringLiteral("Aceptar los datos seleccionados"));
        editor.pbCancelar->setHint(QStringLiteral("Abandonar sin seleccionar ningún dato"));
        editor.DBGrid1->setRowSelect(true);
    }
}

// The rows the editor gives back when accepted.
QString filasAceptadas(TfGENEMLIS &editor, const OpcionesListaDatos &o)
{
    plat::DataSet &t = editor.temporal();
    const int n = *o.numeroCampos;
    if (o.consulta && editor.DBGrid1->multiSelect()) {
        QString filas;
        for (const plat::Bookmark &marca : editor.DBGrid1->selectedRows()) {
            t.gotoBookmark(marca);
            filas += valoresDeFila(t, n) + QStringLiteral("\r\n");
        }
        return filas;
    }
    if (o.consulta && !o.eliminar)
        return t.isEmpty() ? QString() : valoresDeFila(t, n);
    // Every row goes back, whatever filter the user left on.
    t.setFiltered(false);
    return todasLasFilas(t, n);
}

} // namespace

QString MostrarListaDatos(const QString &opciones, const QString &datos)
{
    const OpcionesListaDatos o = LeerOpcionesListaDatos(opciones);
    QString resultado = o.consulta && !o.eliminar ? QString() : datos;
    if (!o.numeroCampos)
        return resultado;
    if (!o.formato.isEmpty())
        TfGENEMLIS::Geometria.leerFormato(o.formato);
    auto editor = std::make_unique<TfGENEMLIS>();
    editor->afterConstruction();
    editor->setCaption(o.titulo);
    prepararModo(*editor, o);
    plat::TableDataSet &tabla = editor->Temporal->table();
    DataSetAbribleDe<plat::TableDataSet> abrible(tabla, editor->objectName());
    if (!fGENEINIC || !fGENEINIC->CrearTabla(abrible, o.definicionTabla(), fGENEINIC->Conexiones().EmpresaActual))
        return resultado;
    try {
        if (!tabla.active())
            tabla.open();
        cargarFilas(*editor, o, datos);
        prepararColumnas(*editor, o);
        if (editor->ShowModal() == plat::mrOk)
            resultado = filasAceptadas(*editor, o);
        else if (!o.consulta
                 && MensajeConfirmacion(QStringLiteral("¿Desea dejar en blanco la lista de datos?")) == QLatin1String("SI"))
            resultado.clear();
    } catch (const gp::Error &e) {
        fGENEINIC->GestionExcepciones(editor.get(), e);
    }
    try {
        tabla.close();
        tabla.deleteTable();
    } catch (const gp::Error &) {
        // A temporary table that cannot be dropped now is left behind, not lost data.
    }
    return QuitarSaltoFinal(resultado);
}
