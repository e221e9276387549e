// Translation of a form's texts, the status bar's panels and the standard form sizes.
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/formularios/ComponentesFormulario.h"
#include "GENEW/runtime/formularios/DibujarElementoTraducido.h"
#include "GENEW/runtime/formularios/ReglasFormulario.h"
#include "GENEW/runtime/formularios/ServiciosFormulario.h"
#include "platform/report/ReportComponents.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Form.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Lists.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QFontMetrics>
#include <QMdiArea>
#include <QMetaProperty>

void DibujarElementoTraducido::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (ServiciosFormulario *servicios = serviciosFormulario())
        option->text = servicios->TraducirLista(option->text);
}

bool DibujarElementoTraducido::eventFilter(QObject *objeto, QEvent *evento)
{
    auto *combo = qobject_cast<QComboBox *>(objeto);
    ServiciosFormulario *servicios = serviciosFormulario();
    if (!combo || evento->type() != QEvent::Paint || !servicios)
        return false;
    QStylePainter pintor(combo);
    QStyleOptionComboBox opcion;
    opcion.initFrom(combo);
    opcion.editable = combo->isEditable();
    opcion.currentText = servicios->TraducirLista(combo->currentText());
    pintor.drawComplexControl(QStyle::CC_ComboBox, opcion);
    pintor.drawControl(QStyle::CE_ComboBoxLabel, opcion);
    return true;
}

namespace {

QString traducir(const QString &texto)
{
    ServiciosFormulario *servicios = serviciosFormulario();
    return servicios && !texto.isEmpty() ? servicios->Traducir(texto) : texto;
}

bool esPropiedadTexto(const QObject *objeto, const char *nombre)
{
    const int i = objeto->metaObject()->indexOfProperty(nombre);
    return i >= 0 && objeto->metaObject()->property(i).userType() == QMetaType::QString
        && objeto->metaObject()->property(i).isWritable();
}

void traducirPropiedad(QObject *objeto, const char *nombre)
{
    if (!esPropiedadTexto(objeto, nombre))
        return;
    const QString texto = objeto->property(nombre).toString();
    if (!texto.isEmpty())
        objeto->setProperty(nombre, traducir(texto));
}

void traducirElementos(QObject *componente)
{
    if (auto *rejilla = dynamic_cast<plat::DBGrid *>(componente)) {
        if (rejilla->customColumns()) {
            for (int i = 0; i < rejilla->columnCount(); ++i) {
                plat::GridColumn *columna = rejilla->column(i);
                const QString titulo = columna->TitleCaption.isEmpty() && columna->field()
                    ? columna->field()->label()
                    : columna->TitleCaption;
                columna->TitleCaption = traducir(titulo);
            }
            rejilla->updateColumns();
        } else if (plat::DataSet *ds = rejilla->dataSet()) {
            for (int i = 0; i < ds->fieldCount(); ++i)
                ds->field(i).displayLabel = traducir(ds->field(i).label());
            rejilla->clearColumns();
        }
    } else if (auto *cuadricula = dynamic_cast<plat::StringGrid *>(componente)) {
        if (cuadricula->fixedRows() > 0) {
            for (int col = 0; col < cuadricula->colCount(); ++col)
                cuadricula->setCell(col, 0, traducir(cuadricula->cell(col, 0)));
        }
    } else if (auto *navegador = dynamic_cast<plat::DBNavigator *>(componente)) {
        QStringList pistas = navegador->hints();
        for (QString &pista : pistas)
            pista = traducir(pista);
        navegador->setHints(pistas);
    } else if (auto *lista = dynamic_cast<plat::ListView *>(componente)) {
        for (int i = 0; i < lista->columnCount(); ++i)
            lista->setColumnCaption(i, traducir(lista->columnCaption(i)));
    } else if (auto *dato = dynamic_cast<plat::ReportTextControl *>(componente)) {
        if (dato->reportKind() == plat::ReportTextControl::SystemData)
            traducirPropiedad(componente, "Text");
    }
}

} // namespace

void TfGENEINIC::TraducirFormulario(QObject *formulario, const QString &idioma)
{
    const QString lengua = idioma.isEmpty() ? CodigoIdioma : idioma;
    if (lengua.isEmpty() || !formulario || !serviciosFormulario())
        return;
    traducirPropiedad(formulario, "Caption");
    for (QObject *componente : componentesDe(formulario)) {
        for (const char *propiedad : {"Caption", "Hint", "ReportTitle"})
            traducirPropiedad(componente, propiedad);
        traducirElementos(componente);
    }
}

void TfGENEINIC::TraducirPropiedad(QObject *formulario, const QString &propiedad)
{
    const QByteArray nombre = propiedad.toLatin1();
    for (QObject *componente : componentesDe(formulario))
        traducirPropiedad(componente, nombre.constData());
}

// The translating delegate goes to lists whose items are fixed: a combo the user types into
// shows what was typed, which is no key of the translations.
void TfGENEINIC::instalarDelegadosTraducidos(const QList<QObject *> &componentes)
{
    for (QObject *componente : componentes) {
        if (auto *combo = dynamic_cast<plat::ComboBox *>(componente)) {
            if (combo->OnDrawItem.assigned() || combo->style() == plat::ComboBox::csDropDown)
                continue;
            combo->setItemHeight(15);
            auto *delegado = new DibujarElementoTraducido(combo);
            combo->setItemDelegate(delegado);
            combo->installEventFilter(delegado);
        } else if (auto *lista = dynamic_cast<plat::ListBox *>(componente)) {
            if (!lista->OnDrawItem.assigned())
                lista->setItemDelegate(new DibujarElementoTraducido(lista));
        }
    }
}

void TfGENEINIC::ConfigurarBarraEstado(QObject *barra, const QString &texto, const QString &)
{
    auto *estado = qobject_cast<plat::StatusBar *>(barra);
    if (!estado)
        return;
    estado->clearPanels();
    if (estado->simplePanel()) {
        estado->setSimpleText(traducir(texto));
        return;
    }
    const QFontMetrics medidas(estado->font());
    QList<plat::StatusPanel> paneles;
    for (const QString &pieza : PiezasBarraEstado(texto)) {
        plat::StatusPanel panel;
        panel.Text = traducir(pieza);
        panel.OwnerDraw = true;
        panel.Width = medidas.horizontalAdvance(panel.Text) + 10;
        paneles << panel;
    }
    estado->setPanels(paneles);
}

void TfGENEINIC::AjustarTamanoFormulario(QObject *formulario, const QString &modo)
{
    auto *form = qobject_cast<plat::Form *>(formulario);
    plat::Form *principal = plat::application().mainForm();
    if (!form)
        return;
    QSize cliente = principal ? QSize(principal->width(), principal->height()) : QSize(1024, 768);
    if (principal && principal->mdiArea())
        cliente = principal->mdiArea()->size();
    const TamanoFormulario t = CalcularTamanoFormulario(modo, form->menu() != nullptr, cliente);
    switch (t.forma) {
    case TamanoFormulario::Igual: break;
    case TamanoFormulario::MasAlto: form->setHeight(form->height() + t.rectangulo.height()); break;
    case TamanoFormulario::Ajustado:
        form->setPosition(plat::poDesigned);
        form->setBounds(0, 0, t.rectangulo.width(), t.rectangulo.height());
        break;
    case TamanoFormulario::Fijo:
        form->setWidth(t.rectangulo.width());
        form->setHeight(t.rectangulo.height());
        break;
    }
}
