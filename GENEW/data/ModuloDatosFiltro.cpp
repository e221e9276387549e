// The data module's services over FILTRO besides the saved filters: grid layouts and the
// fitting of grid columns, and the variables of stored SQL text.
#include "GENEW/data/ConfiguracionRejilla.h"
#include "GENEW/data/Genemodu.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/SqlVariables.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/ValueText.h"
#include "platform/ui/Form.h"
#include "platform/ui/data/DBGrid.h"

#include <QPointer>
#include <cmath>

namespace {

const QString kCamposClave = QStringLiteral("NombreTabla;Descripcion");

QString claveRejilla(const QString &formulario, const plat::DBGrid &rejilla)
{
    return formulario + u'.' + rejilla.objectName();
}

// The row of a grid layout: the key, and an empty description (never NULL, so that every
// engine finds it by the same comparison).
QVariant valoresClave(const QString &clave)
{
    return QVariantList{clave, QStringLiteral("")};
}

// The column's width as the layout keeps it: its own, or the one the grid gave it from its
// field, in the program's pixels.
int anchoColumna(const plat::DBGrid &rejilla, int indice)
{
    const plat::GridColumn *c = rejilla.column(indice);
    return c->Width > 0 ? c->Width : rejilla.widthScale().toProgram(rejilla.columnWidth(indice));
}

FuenteRejilla fuenteDe(const plat::DBGrid &rejilla)
{
    const QFont f = rejilla.controlFont();
    FuenteRejilla fuente;
    fuente.nombre = f.family();
    fuente.tamano = f.pointSize();
    fuente.color = rejilla.fontColor();
    if (f.bold())
        fuente.estilos |= ConjuntoEstilo(fsBold);
    if (f.italic())
        fuente.estilos |= ConjuntoEstilo(fsItalic);
    if (f.underline())
        fuente.estilos |= ConjuntoEstilo(fsUnderline);
    if (f.strikeOut())
        fuente.estilos |= ConjuntoEstilo(fsStrikeout);
    return fuente;
}

QList<ColumnaRejilla> columnasDe(const plat::DBGrid &rejilla)
{
    QList<ColumnaRejilla> columnas;
    for (int i = 0; i < rejilla.columnCount(); ++i) {
        const plat::GridColumn *c = rejilla.column(i);
        const QString titulo = rejilla.model()->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString();
        columnas << ColumnaRejilla{c->FieldName, anchoColumna(rejilla, i), titulo};
    }
    return columnas;
}

void aplicarFuente(plat::DBGrid &rejilla, const FuenteRejilla &fuente)
{
    QFont f = rejilla.controlFont();
    f.setFamily(fuente.nombre);
    if (fuente.tamano && *fuente.tamano > 0)
        f.setPointSize(*fuente.tamano);
    f.setBold(fuente.estilos & ConjuntoEstilo(fsBold));
    f.setItalic(fuente.estilos & ConjuntoEstilo(fsItalic));
    f.setUnderline(fuente.estilos & ConjuntoEstilo(fsUnderline));
    f.setStrikeOut(fuente.estilos & ConjuntoEstilo(fsStrikeout));
    rejilla.setControlFont(f);
    rejilla.setFontColor(fuente.color);
}

void aplicarColumnas(plat::DBGrid &rejilla, const QList<ColumnaRejilla> &columnas)
{
    QHash<QString, QStringList> listas;
    for (int i = 0; i < rejilla.columnCount(); ++i)
        if (!rejilla.column(i)->PickList.isEmpty())
            listas.insert(rejilla.column(i)->FieldName, rejilla.column(i)->PickList);
    plat::DataSet *ds = rejilla.dataSet();
    rejilla.clearColumns();
    for (const ColumnaRejilla &c : columnas) {
        if (ds && ds->active() && !ds->findField(c.campo)) {
            MensajeAviso(QStringLiteral("El nombre del campo ") + c.campo
                         + QStringLiteral(" ha cambiado, se recomienda Restaurar la Configuración Original de la Rejilla"));
            continue;
        }
        plat::GridColumn *columna = rejilla.addColumn(c.campo);
        columna->TitleCaption = c.titulo;
        columna->Width = c.ancho;
        if (c.titulo.contains(QLatin1String("...")))
            columna->ButtonStyle = plat::cbsEllipsis;
        if (listas.contains(c.campo))
            columna->PickList = listas.value(c.campo);
    }
    rejilla.updateColumns();
}

// The columns' widths on screen, as the grid's own width is measured.
QList<AnchoColumna> anchosDe(const plat::DBGrid &rejilla)
{
    QList<AnchoColumna> anchos;
    for (int i = 0; i < rejilla.columnCount(); ++i) {
        const plat::GridColumn *c = rejilla.column(i);
        anchos << AnchoColumna{rejilla.shownWidth(i), c->field() ? AnchoPorDefectoCampo(*c->field()) : 0, c->Visible};
    }
    return anchos;
}

// Holds the module's busy flag over the changed-grid list; one found held means another
// operation on the list is under way further up the same thread's stack.
class OcupacionRejillas
{
public:
    explicit OcupacionRejillas(bool &ocupada) : ocupada_(ocupada), tomada_(!ocupada) { ocupada_ = true; }
    ~OcupacionRejillas()
    {
        if (tomada_)
            ocupada_ = false;
    }
    bool tomada() const { return tomada_; }

private:
    bool &ocupada_;
    bool tomada_;
};

} // namespace

void TModuloDatos::GuardarConfiguracionRejilla(const QString &formulario, plat::DBGrid &rejilla)
{
    const QString clave = claveRejilla(formulario, rejilla);
    if (!RejillaModificada(clave))
        return;
    if (MensajeConfirmacion(QStringLiteral("La Configuración de la Rejilla ha Cambiado. ¿Desea guardarla?"))
        == QLatin1String("NO"))
        return;
    plat::TableDataSet filtro;
    filtro.setTableName(NombreTablaSQL(QStringLiteral("FILTRO")));
    if (!AbrirTabla(filtro))
        return;
    const QString texto = TextoConfiguracionRejilla(fuenteDe(rejilla), columnasDe(rejilla));
    try {
        if (filtro.locate(kCamposClave, valoresClave(clave))) {
            filtro.edit();
        } else {
            filtro.insert();
            filtro.fieldByName(QStringLiteral("NombreTabla")).setAsString(clave);
            filtro.fieldByName(QStringLiteral("Descripcion")).setAsString(QStringLiteral(""));
        }
        filtro.fieldByName(QStringLiteral("Filtro")).setAsString(texto);
        filtro.post();
    } catch (const gp::Error &) {
        MensajeAviso(QStringLiteral("No ha sido posible guardar la configuración de la Rejilla"));
        if (filtro.state() == plat::DataSetState::Edit || filtro.state() == plat::DataSetState::Insert)
            filtro.cancel();
    }
}

void TModuloDatos::RestaurarConfiguracionRejilla(const QString &formulario, plat::DBGrid &rejilla)
{
    MensajeInformacion(
        QStringLiteral("La Configuración de la Rejilla estará disponible la próxima vez que ejecute la consulta"));
    plat::TableDataSet filtro;
    filtro.setTableName(NombreTablaSQL(QStringLiteral("FILTRO")));
    if (!AbrirTabla(filtro))
        return;
    try {
        if (filtro.locate(kCamposClave, valoresClave(claveRejilla(formulario, rejilla))))
            filtro.remove();
    } catch (const gp::Error &) {
        MensajeAviso(QStringLiteral("No ha sido posible restaurar la configuración de la Rejilla"));
    }
}

void TModuloDatos::CargarConfiguracionRejilla(const QString &formulario, plat::DBGrid &rejilla)
{
    const QString imposible = QStringLiteral("¡Imposible restablecer la configuración de la rejilla!");
    plat::TableDataSet filtro;
    filtro.setTableName(NombreTablaSQL(QStringLiteral("FILTRO")));
    if (!AbrirTabla(filtro)) {
        MensajeAviso(imposible);
    } else {
        // The grid may outlive this module (a company closed while its form stays open).
        rejilla.OnColumnMoved = [modulo = QPointer<TModuloDatos>(this)](QObject *Sender, int desde, int hasta) {
            if (modulo)
                modulo->MarcarRejillaModificada(Sender, desde, hasta);
        };
        try {
            if (filtro.locate(kCamposClave, valoresClave(claveRejilla(formulario, rejilla)))) {
                const ConfiguracionRejillaLeida leida =
                    LeerConfiguracionRejilla(filtro.fieldByName(QStringLiteral("Filtro")).asString());
                if (leida.fuente)
                    aplicarFuente(rejilla, *leida.fuente);
                if (leida.columnas)
                    aplicarColumnas(rejilla, *leida.columnas);
            }
        } catch (const gp::Error &) {
            MensajeAviso(imposible);
        }
    }
    if (PrepararFormularioRejilla.valor())
        PrepararFormularioRejilla.valor()(rejilla.window());
}

void TModuloDatos::MarcarRejillaModificada(QObject *Sender, int, int)
{
    auto *rejilla = qobject_cast<plat::DBGrid *>(Sender);
    if (!rejilla)
        return;
    const OcupacionRejillas ocupacion(rejillasOcupadas_);
    if (!ocupacion.tomada())
        return;
    const plat::Form *formulario = plat::Form::formOf(rejilla);
    const QString clave = claveRejilla(formulario ? formulario->objectName() : QString(), *rejilla);
    if (!RejillasModificadas.contains(clave))
        RejillasModificadas << clave;
}

bool TModuloDatos::RejillaModificada(const QString &clave)
{
    const OcupacionRejillas ocupacion(rejillasOcupadas_);
    if (!ocupacion.tomada())
        return false;
    return RejillasModificadas.removeOne(clave);
}

void TModuloDatos::AjustarColumnasRejilla(plat::DBGrid &rejilla, const QString &opciones)
{
    const auto anchos = AnchosAjustados(anchosDe(rejilla), rejilla.width(), rejilla.indicator(), opciones);
    if (!anchos)
        return;
    for (int i = 0; i < anchos->size(); ++i)
        if (anchos->at(i) != rejilla.shownWidth(i))
            rejilla.setShownWidth(i, anchos->at(i));
    rejilla.updateColumns();
}

int TModuloDatos::AnchoColumnasRejilla(const plat::DBGrid &rejilla) const
{
    return AnchoNecesario(anchosDe(rejilla), rejilla.indicator());
}

void OcultarColumnaRejilla(const QString &campo, plat::DBGrid &rejilla)
{
    for (int i = 0; i < rejilla.columnCount(); ++i)
        if (rejilla.column(i)->FieldName.compare(campo, Qt::CaseInsensitive) == 0) {
            rejilla.column(i)->Visible = false;
            rejilla.updateColumns();
            return;
        }
}

// ---- SQL variables -----------------------------------------------------------------------

QString TModuloDatos::ParametrosSQL(const QString &sql) const
{
    return UnirLineas(plat::sqlVariableNames(sql));
}

namespace {

// A "#" value: an integer (64 bits) when it has no fractional part, else a float.
QVariant valorNumerico(const QString &texto, TFieldType &tipo)
{
    qint64 entero = 0;
    if (plat::textToInteger(texto.trimmed(), entero)) {
        tipo = ftInteger;
        return entero;
    }
    const double numero = TextoANumero(texto);
    if (std::trunc(numero) == numero && std::abs(numero) < 9.2e18) {
        tipo = ftInteger;
        return qint64(numero);
    }
    tipo = ftFloat;
    return numero;
}

} // namespace

void TModuloDatos::AsignarParametrosSQL(plat::QueryDataSet &query, const QString &valores) const
{
    const QStringList nombres = plat::sqlVariableNames(query.sql());
    query.clearParams();
    for (int i = 0; i < nombres.size(); ++i) {
        const QString &nombre = nombres[i];
        const QString valor = ExtraerCampo(i, valores, QStringLiteral("|"));
        switch (nombre.isEmpty() ? char16_t(0) : nombre.front().unicode()) {
        case u'$':
            query.createParam(ftString, nombre).setValue(valor);
            break;
        case u'#': {
            TFieldType tipo = ftInteger;
            const QVariant v = valorNumerico(valor, tipo);
            query.createParam(tipo, nombre).setValue(v);
            break;
        }
        case u'&':
            query.createParam(ftDateTime, nombre).setValue(TextoAFechaHora(valor));
            break;
        case u'*':
            // One bound text per item: a typed value never becomes part of the statement.
            query.createParam(ftString, nombre).setValue(plat::sqlListItems(valor));
            break;
        default:
            break;
        }
    }
}
