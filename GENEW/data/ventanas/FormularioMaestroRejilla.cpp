#include "GENEW/data/ventanas/FormularioMaestroRejilla.h"

#include "GENEW/data/ventanas/GENEVMEM.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/formularios/AutorizacionEscritura.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Keys.h"

#include <QScopeGuard>
#include <QVBoxLayout>

namespace {

const QString kClaveNoModificable = QStringLiteral("¡ No se puede modificar la clave del registro !");

} // namespace

FormularioMaestroRejilla::FormularioMaestroRejilla(QWidget *parent, const QString &nombre, const QString &titulo)
    : FormularioMaestro(parent, nombre, titulo)
{
    comportamiento.fallaGrabarEdicion = QStringLiteral(
        "¡ No se puede grabar el registro porque está bloqueado por otro usuario o porque el dato introducido no es "
        "válido !");
    comportamiento.anadirAlFinal = true;
    comportamiento.refrescarSoloNavegando = true;

    DBGrid1 = make<plat::DBGrid>(QStringLiteral("DBGrid1"), areaDatos());
    DBGrid1->setDataSource(DataSource1);
    auto *caja = new QVBoxLayout(areaDatos());
    caja->setContentsMargins(0, 0, 0, 0);
    caja->setSpacing(0);
    caja->addWidget(DBGrid1, 1);
    DBGrid1->OnColExit = plat::handler(this, &FormularioMaestroRejilla::DBGrid1ColExit);
    DBGrid1->OnKeyDown = plat::handler(this, &FormularioMaestroRejilla::DBGrid1KeyDown);
    DBGrid1->OnKeyPress = plat::handler(this, &FormularioMaestroRejilla::DBGrid1KeyPress);
    DBGrid1->OnDblClick = [this](QObject *Sender) { DBGrid1DblClick(Sender); };

    plat::DataSet &tabla = Table1->dataSet();
    tabla.BeforeEdit = [this](plat::DataSet &ds) { Table1BeforeEdit(ds); };
    tabla.AfterOpen = [this](plat::DataSet &ds) { prepararCampos(ds); };
}

plat::Field *FormularioMaestroRejilla::campoClave() const
{
    const plat::DataSet &tabla = Table1->dataSet();
    return tabla.active() && tabla.fieldCount() > 0 ? &tabla.field(0) : nullptr;
}

void FormularioMaestroRejilla::prepararCampos(plat::DataSet &tabla)
{
    camposClave_ = -1;
    if (tabla.fieldCount() > 0)
        tabla.field(0).OnChange = [this](plat::Field &) { CampoClaveChange(this); };
    // A memo shows "(MEMO)" in the grid only when it holds text, so that an emptied one
    // reads as empty.
    for (int i = 0; i < tabla.fieldCount(); ++i) {
        plat::Field &campo = tabla.field(i);
        if (campo.dataType() == ftMemo && !campo.OnGetText)
            campo.OnGetText = [](plat::Field &f, QString &texto, bool mostrar) {
                texto = !mostrar ? f.asString() : f.asString().isEmpty() ? QString() : QStringLiteral("(MEMO)");
            };
    }
}

bool FormularioMaestroRejilla::columnaClave(int columna)
{
    if (camposClave_ < 0)
        camposClave_ = ModuloDatos->NumeroCamposClave(Table1->dataSet());
    return columna >= 0 && columna < camposClave_;
}

void FormularioMaestroRejilla::FormCreate(QObject *Sender)
{
    FormularioMaestro::FormCreate(Sender);
    if (Table1->dataSet().active())
        prepararCampos(Table1->dataSet());
}

// ---- adding and the key --------------------------------------------------------------------

void FormularioMaestroRejilla::nuevaLinea()
{
    DBGrid1->setFocus();
    DBGrid1->setSelectedIndex(0);
    // The new line goes after the last one; duplication still copies the record that was
    // current when it was asked for.
    plat::DataSet &tabla = Table1->dataSet();
    claveAntesDeAnadir_ = ModuloDatos->EstaVacio(tabla) ? QString() : ModuloDatos->ClaveRegistro(tabla);
    const auto alTerminar = qScopeGuard([this] { claveAntesDeAnadir_.reset(); });
    tabla.last();
    tabla.append();
}

void FormularioMaestroRejilla::Table1BeforeInsert(plat::DataSet &DataSet)
{
    if (!claveAntesDeAnadir_) {
        FormularioMaestro::Table1BeforeInsert(DataSet);
        return;
    }
    ClaveDuplicacion = *claveAntesDeAnadir_;
}

void FormularioMaestroRejilla::AgregarClick(QObject *) { nuevaLinea(); }

void FormularioMaestroRejilla::DataSource1StateChange(QObject *Sender)
{
    FormularioMaestro::DataSource1StateChange(Sender);
    const bool insertando = Table1->dataSet().state() == plat::DataSetState::Insert;
    // The key of a row already stored is never edited in its cell.
    for (int i = 0; i < DBGrid1->columnCount(); ++i)
        DBGrid1->column(i)->ReadOnly = !insertando && columnaClave(i);
    if (insertando) {
        DBGrid1->setFocus();
        DBGrid1->setSelectedIndex(0);
    }
}

void FormularioMaestroRejilla::Table1BeforeEdit(plat::DataSet &)
{
    if (DBGrid1->selectedIndex() == 0) {
        MensajeAviso(kClaveNoModificable);
        throw gp::Abort();
    }
}

bool FormularioMaestroRejilla::claveBloqueada(const QString &aviso)
{
    if (Table1->dataSet().state() == plat::DataSetState::Insert || !columnaClave(DBGrid1->selectedIndex()))
        return false;
    MensajeAviso(aviso);
    return true;
}

void FormularioMaestroRejilla::DBGrid1KeyDown(QObject *, int &Key, plat::ShiftState Shift)
{
    plat::DataSet &tabla = Table1->dataSet();
    if (Key == plat::VK_DELETE && Shift.testFlag(plat::ssCtrl)) {
        Key = 0;
        if (editando() || ModuloDatos->EstaVacio(tabla) || !EscrituraAutorizada(this))
            return;
        if (MensajeConfirmacion(QStringLiteral("¿ Está seguro de querer eliminar la linea ?")) != QLatin1String("SI"))
            return;
        try {
            if (gp::capturarFallo([&] { tabla.remove(); }))
                MensajeAviso(comportamiento.fallaEliminar);
        } catch (const gp::Abort &) {
            // the before-delete hook stopped it and said why
        }
        return;
    }
    if ((Key == plat::VK_DELETE || Key == plat::VK_BACK) && claveBloqueada(kClaveNoModificable))
        Key = 0;
}

void FormularioMaestroRejilla::DBGrid1KeyPress(QObject *, QChar &Key)
{
    if (Key.isPrint() && claveBloqueada(kClaveNoModificable))
        Key = QChar();
}

void FormularioMaestroRejilla::DBGrid1ColExit(QObject *)
{
    plat::DataSet &tabla = Table1->dataSet();
    if (!editando())
        return;
    plat::Field *clave = campoClave();
    const QString texto = clave ? clave->asString().trimmed() : QString();
    if (texto.isEmpty()) {
        tabla.cancel();
        return;
    }
    if (!claveEnRango(*clave, texto) || !ValidarControl(DBGrid1))
        throw gp::Abort();
    if (DBGrid1->selectedIndex() == 0 && tabla.state() == plat::DataSetState::Insert && claveCompleta()
        && ModuloDatos->ExisteClave(tabla, ModuloDatos->ClaveRegistro(tabla))) {
        MensajeAviso(QStringLiteral("¡ Ya existe el registro !"));
        throw gp::Abort();
    }
}

bool FormularioMaestroRejilla::claveCompleta()
{
    // A key of several fields is looked for once all of them hold a value; until then the
    // post tells a repeated one.
    columnaClave(0);
    const plat::DataSet &tabla = Table1->dataSet();
    for (int i = 0; i < camposClave_ && i < tabla.fieldCount(); ++i)
        if (tabla.field(i).asString().trimmed().isEmpty())
            return false;
    return true;
}

void FormularioMaestroRejilla::editarMemo(const QString &campo, const QString &titulo)
{
    plat::DataSet &tabla = Table1->dataSet();
    try {
        (void)gp::capturarFallo([&] { tabla.edit(); });
    } catch (const gp::Abort &) {
    }
    if (!fGENEVMEM)
        return;
    QString texto;
    VisualizarAsignarCampoTexto(tabla, titulo, campo, texto);
    if (editando())
        tabla.fieldByName(campo).setValue(texto);
}

// ---- saving --------------------------------------------------------------------------------

void FormularioMaestroRejilla::Table1BeforePost(plat::DataSet &DataSet)
{
    estadoAntesDeGrabar_ = DataSet.state();
    FormularioMaestro::Table1BeforePost(DataSet);
}

void FormularioMaestroRejilla::GrabarDatos(QObject *)
{
    // A saved new line is followed by the next one after the post; a refused one stays as typed.
    grabarRegistro(comportamiento.fallaGrabarEdicion, comportamiento.fallaGrabarAlta);
}

void FormularioMaestroRejilla::pbConformeClick(QObject *Sender)
{
    if (Table1->dataSet().state() != plat::DataSetState::Insert) {
        GrabarDatos(Sender);
        return;
    }
    const QString noGrabado = QStringLiteral("¡ El registro no ha sido grabado !");
    grabarRegistro(noGrabado, noGrabado);
}

void FormularioMaestroRejilla::Table1AfterPost(plat::DataSet &DataSet)
{
    FormularioMaestro::Table1AfterPost(DataSet);
    DBGrid1->setFocus();
    trasGrabar();
    if (grabadoEraNuevo())
        nuevaLinea();
}

void FormularioMaestroRejilla::pbRefrescarClick(QObject *)
{
    fGENEINIC->RefrescarDatos(this, QStringLiteral("Apertura/Cierre"));
}
