// The keyboard behaviour every form shares: the key table of key-down, the key-press
// rules for Enter and the keypad's decimal key, and the on-screen keypad.
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "GENEW/runtime/formularios/ComponentesFormulario.h"
#include "GENEW/runtime/formularios/ReglasFormulario.h"
#include "GENEW/runtime/formularios/ServiciosFormulario.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Form.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Published.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSource.h"

#include <QAbstractButton>
#include <QAbstractItemDelegate>
#include <QPushButton>
#include <QPointer>
#include <QScreen>
#include <QTimer>

bool ListadoCancelado = false;

namespace {

constexpr plat::ShiftState kNinguno;
const plat::ShiftState kCtrl(plat::ssCtrl);
const plat::ShiftState kShift(plat::ssShift);
const plat::ShiftState kCtrlAlt(plat::ssCtrl | plat::ssAlt);

template<class T>
T *controlEnfocado(QWidget *foco)
{
    for (QWidget *w = foco; w; w = w->parentWidget()) {
        if (auto *control = dynamic_cast<T *>(w))
            return control;
        if (qobject_cast<plat::Form *>(w))
            break;
    }
    return nullptr;
}

// Enter on a focused push button presses it rather than moving on.
bool esBotonPulsable(const QWidget *foco)
{
    return qobject_cast<const QPushButton *>(foco) != nullptr;
}

bool esFlotante(const plat::Field *campo)
{
    return campo && (campo->dataType() == ftFloat || campo->dataType() == ftCurrency);
}

bool enEdicion(const plat::DataSet &ds)
{
    const auto estado = ds.state();
    return estado == plat::DataSetState::Edit || estado == plat::DataSetState::Insert
        || estado == plat::DataSetState::SetKey;
}

// What one key-down sees of its form.
struct ContextoTecla
{
    plat::Form *formulario = nullptr;
    QWidget *foco = nullptr;
    plat::DBGrid *rejilla = nullptr;
    plat::DataBound *datos = nullptr;   // a focused data-aware control

    QObject *componente(const QString &nombre) const
    {
        return formulario ? formulario->findComponent(nombre) : nullptr;
    }
    plat::DataSet *dataSetDe(plat::DataSource *fuente) const { return fuente ? fuente->dataSet() : nullptr; }
    plat::DataSet *dataSet1() const { return dataSetDe(qobject_cast<plat::DataSource *>(componente(QStringLiteral("DataSource1")))); }
    // The record's data source: the grid's, a data-aware edit's, else "DataSource1".
    plat::DataSet *registro() const
    {
        if (rejilla)
            return rejilla->dataSet();
        if (datos && dynamic_cast<plat::DBEdit *>(datos))
            return dataSetDe(datos->dataSource());
        return dataSet1();
    }
};

} // namespace

void TfGENEINIC::ProcesarTeclaFormulario(QObject *Sender, int &Key, plat::ShiftState Shift)
{
    const int tecla = Key;
    const plat::ShiftState mods = Shift & (plat::ssShift | plat::ssAlt | plat::ssCtrl);
    ContextoTecla c;
    c.formulario = qobject_cast<plat::Form *>(Sender);
    if (!c.formulario)
        if (auto *w = qobject_cast<QWidget *>(Sender))
            c.formulario = plat::Form::formOf(w);
    c.foco = c.formulario ? c.formulario->activeControl() : nullptr;
    c.rejilla = controlEnfocado<plat::DBGrid>(c.foco);
    c.datos = controlEnfocado<plat::DataBound>(c.foco);

    const LugarTecleo lugar = c.rejilla ? LugarTecleo{c.rejilla, c.rejilla->cellSerial()} : LugarTecleo{c.foco};
    if (lugar != LugarTeclasPulsadas) {
        TeclasPulsadas.clear();
        LugarTeclasPulsadas = lugar;
    }
    AnotarTecla(TeclasPulsadas, tecla, mods.testAnyFlags(plat::ssCtrl | plat::ssAlt));
    UltimaTecla = tecla;
    enterCambiadoATab_ = false;
    const auto es = [&](int k, plat::ShiftState m) { return tecla == k && mods == m; };
    const auto sinFallos = [](const std::function<void()> &trabajo) { (void)gp::capturarFallo(trabajo); };
    PuntosEntradaFormulario &e = PuntosEntrada;

    if (es(plat::VK_RETURN, kNinguno) && !controlEnfocado<plat::Memo>(c.foco) && !esBotonPulsable(c.foco)) {
        Key = plat::VK_TAB;
        enterCambiadoATab_ = true;
    }
    if (es(plat::VK_F5, kCtrl)) {
        if (auto *agregar = qobject_cast<plat::MenuItem *>(c.componente(QStringLiteral("Agregar"))))
            sinFallos([&] {
                agregar->setChecked(!agregar->checked());
                agregar->setCaption(agregar->checked() ? QStringLiteral("&Agregar con Duplicación") : QStringLiteral("&Agregar"));
            });
    }
    if (es(plat::VK_F5, kShift) && c.rejilla && c.rejilla->dataSet() && enEdicion(*c.rejilla->dataSet())
        && c.rejilla->selectedField() && e.CopiarCampoRegistro) {
        if (ServiciosFormulario *s = serviciosFormulario())
            e.CopiarCampoRegistro(*c.rejilla->dataSet(), s->ClaveUltimoRegistroGrupo(*c.rejilla->dataSet()),
                                  c.rejilla->selectedField()->fieldName());
    }
    if (es('C', kCtrlAlt) && c.rejilla && c.rejilla->dataSet() && e.RegistroATexto)
        RegistroCopiado = e.RegistroATexto(*c.rejilla->dataSet());
    if (es('V', kCtrlAlt) && c.rejilla && c.rejilla->dataSet() && e.TextoARegistro)
        e.TextoARegistro(*c.rejilla->dataSet(), RegistroCopiado, QStringLiteral("SinIndices"));
    if (es('L', kCtrl) && e.SeleccionarFuente) {
        auto *cuadricula = controlEnfocado<plat::StringGrid>(c.foco);
        auto *memo = controlEnfocado<plat::Memo>(c.foco);
        QWidget *destino = c.rejilla ? static_cast<QWidget *>(c.rejilla) : cuadricula ? static_cast<QWidget *>(cuadricula) : memo;
        QFont fuente = destino ? destino->font() : QFont();
        if (destino && e.SeleccionarFuente(fuente)) {
            destino->setFont(fuente);
            if (c.rejilla) {
                c.rejilla->setTitleFont(fuente);
                c.rejilla->setTitleFontColor(plat::clNavy);
            }
        }
    }
    if (es('Z', kCtrl) && c.registro() && e.MostrarCamposRegistro)
        e.MostrarCamposRegistro(*c.registro());
    if (es(plat::VK_ADD, kCtrl) && e.MostrarCamposUsuario) {
        plat::DataSet *ds = c.rejilla ? c.rejilla->dataSet() : c.dataSet1();
        if (ds && ds->active())
            e.MostrarCamposUsuario(*ds);
    }
    if (es('R', kCtrl) && e.MostrarResponsabilidad) {
        plat::DataSet *ds = c.rejilla ? c.rejilla->dataSet() : c.dataSet1();
        if (ds && (c.rejilla || ds->active()))
            e.MostrarResponsabilidad(*ds);
    }
    if (es('G', kCtrl) && c.rejilla && e.AjustarRejilla)
        e.AjustarRejilla(*c.rejilla);
    if (es('H', kCtrl) && c.rejilla)
        c.rejilla->clearColumns();
    if (es(plat::VK_F2, kNinguno))
        teclaF2(c.formulario, c.foco);
    if (es('B', kCtrl)) {
        if (auto *boton = qobject_cast<QAbstractButton *>(c.componente(QStringLiteral("pbBusquedaEspecial"))))
            sinFallos([&] { boton->click(); });
    }
    if (es('I', kCtrl) && e.LimpiarValorControl)
        e.LimpiarValorControl(c.foco);
    if (es('S', kCtrl) && c.rejilla)
        c.rejilla->setMultiSelect(!c.rejilla->multiSelect());
    if (es('T', kCtrl))
        teclaTextoPredefinido(c.foco);
    if (es(plat::VK_F8, kNinguno) && Configuracion.parametros.ModoAdministradorActivado)
        teclaF8(c.formulario);
    if (es(plat::VK_F3, kNinguno)) {
        QObject *boton = c.componente(QStringLiteral("pbAceptar"));
        if (!boton)
            boton = c.componente(QStringLiteral("pbGrabar"));
        if (auto *w = qobject_cast<QWidget *>(boton))
            w->setFocus(Qt::OtherFocusReason);
    }
    if (es(plat::VK_RETURN, kCtrl) && c.rejilla)
        plat::invokeMethod(c.formulario, c.rejilla->objectName() + QStringLiteral("EditButtonClick"), c.rejilla);
    if (es('M', kCtrl) && e.LanzarMensajeria)
        e.LanzarMensajeria(QString());
    if (tecla == plat::VK_ESCAPE)
        ListadoCancelado = true;
    if (es('P', kCtrl) && c.foco && c.foco->objectName() == QLatin1String("EditFormatoImpreso") && e.EditarImpreso
        && e.PuedeAbrirPrograma && e.PuedeAbrirPrograma(QStringLiteral("Configuración de Impresos"))) {
        const QString codigo = plat::readProperty(c.foco, QStringLiteral("Text")).toString();
        sinFallos([&] { e.EditarImpreso(codigo); });
        // A layout written or retyped in the editor is offered by the selector at once; the
        // one chosen before stays chosen.
        if (auto *selector = qobject_cast<plat::DBLookupComboBox *>(c.foco))
            if (plat::DataSource *lista = selector->listSource(); lista && lista->dataSet() && lista->dataSet()->active()) {
                const QString elegido = selector->text();
                sinFallos([&] { lista->dataSet()->refresh(); });
                selector->setItemIndex(selector->items().indexOf(elegido));
            }
    }
    if (es('A', kCtrl) && c.registro() && e.MostrarHistorialAccesos)
        e.MostrarHistorialAccesos(*c.registro());
    if (es('D', kCtrl)) {
        if (QObject *documentacion = c.componente(QStringLiteral("DocumentacionElectronica1")))
            sinFallos([&] {
                plat::invokeMethod(c.formulario, QStringLiteral("DocumentacionElectronica1Click"), documentacion);
            });
    }
}

void TfGENEINIC::teclaF2(plat::Form *formulario, QWidget *foco)
{
    const auto calcular = [this](plat::DataSet &ds, plat::Field &campo) {
        if (gp::capturarFallo([&] { ds.edit(); })) {
            MostrarMensaje(QStringLiteral("A"), QStringLiteral("El registro está siendo bloqueado por otro usuario"));
            return;
        }
        campo.setAsFloat(MostrarCalculadora(campo.asFloat()));
    };
    if (auto *rejilla = controlEnfocado<plat::DBGrid>(foco)) {
        plat::Field *campo = rejilla->selectedField();
        if (esFlotante(campo) && rejilla->dataSet())
            calcular(*rejilla->dataSet(), *campo);
        else if (rejilla->OnDblClick.assigned())
            rejilla->OnDblClick(rejilla);
        return;
    }
    if (auto *edit = controlEnfocado<plat::DBEdit>(foco)) {
        plat::Field *campo = edit->field();
        if (esFlotante(campo) && edit->dataSource() && edit->dataSource()->dataSet())
            calcular(*edit->dataSource()->dataSet(), *campo);
        else
            plat::invokeMethod(formulario, QStringLiteral("BuscarDatosDBEdit"), edit);
        return;
    }
    if (formulario && plat::hasMethod(formulario, QStringLiteral("BuscarDatosDBEdit")))
        plat::invokeMethod(formulario, QStringLiteral("BuscarDatosDBEdit"), foco);
    else if (auto *edit = qobject_cast<plat::Edit *>(foco))
        BuscarTablaAsociadaEdit(edit);
}

void TfGENEINIC::teclaTextoPredefinido(QWidget *foco)
{
    if (!PuntosEntrada.ObtenerTextoPredefinido)
        return;
    // A text for a record is written into it: the template's questions are not asked of a
    // user who may not write there.
    auto *rejilla = controlEnfocado<plat::DBGrid>(foco);
    auto *datos = rejilla ? nullptr : controlEnfocado<plat::DataBound>(foco);
    plat::DataSet *registro = rejilla ? rejilla->dataSet()
        : datos && datos->field() && datos->dataSource() ? datos->dataSource()->dataSet()
                                                          : nullptr;
    if (registro && !EscrituraAutorizada(foco))
        return;
    const auto texto = [this](const QString &codigo) { return PuntosEntrada.ObtenerTextoPredefinido(codigo); };
    const gp::Fallo fallo = gp::capturarFallo([&] {
        if (rejilla) {
            // A window the text opens (the search, a template's questions) closes the cell
            // editor that has the focus; one still open would write the typed code back over
            // the text when it closes, so it is closed unwritten.
            const QPointer<QWidget> editorCelda = foco != rejilla ? foco : nullptr;
            const QString t = texto(UltimoCodigoTecleado(TeclasPulsadas));
            if (!t.isEmpty() && rejilla->dataSet() && rejilla->selectedField()) {
                rejilla->dataSet()->edit();
                rejilla->selectedField()->setAsString(t);
                if (editorCelda)
                    emit rejilla->itemDelegate()->closeEditor(editorCelda, QAbstractItemDelegate::NoHint);
            }
        } else if (datos && datos->field()) {
            const QString t = texto(plat::readProperty(foco, QStringLiteral("Text")).toString());
            if (!t.isEmpty()) {
                datos->dataSource()->dataSet()->edit();
                datos->field()->setAsString(t);
            }
        } else if (auto *edit = qobject_cast<plat::Edit *>(foco)) {
            const QString t = texto(edit->text());
            if (!t.isEmpty())
                edit->setText(t);
        } else if (auto *memo = controlEnfocado<plat::Memo>(foco)) {
            const QString t = texto(memo->text());
            if (!t.isEmpty())
                memo->setText(t);
        }
    });
    if (fallo)
        MostrarMensaje(QStringLiteral("A"), QStringLiteral("¡No ha sido posible asignar el texto!. Motivo: ") + fallo.mensaje);
}

void TfGENEINIC::teclaF8(plat::Form *formulario)
{
    plat::Form *principal = plat::application().mainForm();
    if (!principal || !formulario)
        return;
    const QString clave = principal->caption().section(u' ', 0, 0);
    QObject *componente = componenteDeClave(formulario, clave);
    auto *rejilla = dynamic_cast<plat::DBGrid *>(componente);
    if (!rejilla) {
        anotarControlNoVisible(clave);
        return;
    }
    ClaveControlActual = clave;
    if (MostrarMensaje(QStringLiteral("C"), QStringLiteral("¿Desea agregar la rejilla completa a la lista de controles?"))
        == QLatin1String("SI")) {
        anotarControlNoVisible(clave);
        return;
    }
    if (!rejilla->dataSource()) {
        MostrarMensaje(QStringLiteral("A"), QStringLiteral("¡No ha sido agregada la columna a la lista de controles!. "
                                                           "Intente activar los datos asociados a la rejilla."));
        return;
    }
    plat::DataSet *ds = rejilla->dataSet();
    if (ds && ds->fieldCount() > 0 && rejilla->selectedField())
        anotarControlNoVisible(claveCampoRejilla(*rejilla, *rejilla->selectedField()));
}

void TfGENEINIC::ProcesarTeclaPulsada(QObject *Sender, QChar &Key)
{
    plat::Form *formulario = qobject_cast<plat::Form *>(Sender);
    if (!formulario)
        if (auto *w = qobject_cast<QWidget *>(Sender))
            formulario = plat::Form::formOf(w);
    QWidget *foco = formulario ? formulario->activeControl() : nullptr;
    auto *rejilla = controlEnfocado<plat::DBGrid>(foco);
    if (Key == u'\r') {
        if (esBotonPulsable(foco))
            return;   // the button takes it
        if (rejilla || controlEnfocado<plat::StringGrid>(foco)) {
            Key = u'\t';
        } else if (!controlEnfocado<plat::Memo>(foco)) {
            Key = QChar();
            // A key-down that already turned Enter into Tab has moved the focus.
            if (formulario && !enterCambiadoATab_)
                formulario->selectNext();
        }
        return;
    }
    if (UltimaTecla != plat::VK_DECIMAL || Key != u'.')
        return;
    plat::Field *campo = rejilla ? rejilla->selectedField() : nullptr;
    plat::DataSet *ds = rejilla ? rejilla->dataSet() : nullptr;
    if (!rejilla) {
        if (auto *edit = controlEnfocado<plat::DBEdit>(foco)) {
            campo = edit->field();
            ds = edit->dataSource() ? edit->dataSource()->dataSet() : nullptr;
        }
    }
    ServiciosFormulario *servicios = serviciosFormulario();
    const bool hora = campo && ds && servicios && servicios->EsCampoHora(*ds, campo->fieldName());
    if (!DesactivarPuntoPorComaDecimal && !hora)
        Key = u',';
    if (Key == u'.' && hora)
        Key = u':';
}

// ---- on-screen keypad ----------------------------------------------------------------------

void TfGENEINIC::ActivarTecladoPantalla(QWidget *control, const QString &opciones)
{
    ControlTecladoPantalla = control;
    OpcionesTecladoPantalla = opciones;
    TimerKeyPad->start();
}

void TfGENEINIC::TimerKeyPadTimer(QObject *)
{
    TimerKeyPad->stop();
    QWidget *control = ControlTecladoPantalla;
    if (!control || !PuntosEntrada.CrearTecladoNumerico)
        return;
    CerrarTecladoPantalla();
    TecladoPantalla = PuntosEntrada.CrearTecladoNumerico(control);
    if (!TecladoPantalla)
        return;
    const QScreen *pantalla = control->screen();
    const QSize tamanoPantalla = pantalla ? pantalla->geometry().size() : QSize(1024, 768);
    const PosicionTeclado p = CalcularPosicionTeclado(control->geometry(),
                                                      QSize(TecladoPantalla->width(), TecladoPantalla->height()),
                                                      tamanoPantalla, OpcionesTecladoPantalla);
    control->move(p.control);
    TecladoPantalla->setPosition(plat::poDesigned);
    TecladoPantalla->setLeft(p.teclado.x());
    TecladoPantalla->setTop(p.teclado.y());
    TecladoPantalla->Show();
    control->activateWindow();
    control->setFocus(Qt::OtherFocusReason);
}

void TfGENEINIC::CerrarTecladoPantalla()
{
    if (TecladoPantalla)
        TecladoPantalla->Free();
    TecladoPantalla = nullptr;
}
