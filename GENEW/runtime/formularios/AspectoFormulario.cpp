// The look of a form: the "evo" fonts and colours, owner-drawn tabs and status panels, the
// frames of coloured check boxes under "evo+", and the classic main window's picture.
#include "GENEW/runtime/ConfiguracionArranque.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/formularios/ComponentesFormulario.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Published.h"

#include <QPainter>

namespace {

bool esEvo(const QString &aspecto) { return aspecto.startsWith(QLatin1String("evo")); }

// The class library gives these controls the button-face colour unless they set another.
bool colorCaraBoton(QObject *c)
{
    const int color = plat::readProperty(c, QStringLiteral("Color")).toInt();
    if (color == plat::clBtnFace)
        return true;
    return color == plat::clDefault
        && (qobject_cast<plat::Panel *>(c) || qobject_cast<plat::Label *>(c) || qobject_cast<plat::CheckBox *>(c)
            || qobject_cast<plat::RadioButton *>(c) || qobject_cast<plat::RadioGroup *>(c)
            || qobject_cast<plat::TabSheet *>(c) || qobject_cast<plat::StatusBar *>(c));
}

QFont fuenteEvo(QFont fuente, const QFont &aspecto)
{
    if (fuente.family() == QLatin1String("MS Sans Serif"))
        fuente.setFamily(aspecto.family());
    if (fuente.pointSize() == 8 || fuente.pointSize() == 9)
        fuente.setPointSize(aspecto.pointSize());
    return fuente;
}

// The rounded frame around a check box whose text is coloured.
class MarcoCasilla : public QWidget
{
public:
    MarcoCasilla(plat::CheckBox &casilla)
        : QWidget(casilla.parentWidget()), color_(plat::toQColor(casilla.fontColor()))
    {
        setObjectName(casilla.objectName() + QStringLiteral("Marco"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(casilla.x() - 3, casilla.y() - 1, casilla.width() + 6, casilla.height() + 2);
        show();
        stackUnder(&casilla);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setPen(color_);
        p.drawRoundedRect(rect().adjusted(0, 0, -1, -1), 6, 6);
    }

private:
    QColor color_;
};

} // namespace

void TfGENEINIC::AplicarAspecto(QObject *formulario)
{
    auto *form = qobject_cast<plat::Form *>(formulario);
    const QString aspecto = AspectoVisual::aspectoEfectivo(Configuracion.parametros.AspectoAplicacion);
    const bool principal = form && form == plat::application().mainForm();
    if (principal)
        ActualizarManifiesto(aspecto);
    const QList<QObject *> componentes = componentesDe(formulario);
    if (!aspecto.contains(QLatin1String("evo"))) {
        if (form && principal && form->formStyle() == plat::fsMDIForm) {
            for (QObject *c : componentes) {
                auto *imagen = qobject_cast<plat::Image *>(c);
                if (imagen && imagen->parentWidget() == form) {
                    imagen->setPicture(QPixmap());
                    break;
                }
            }
        }
        return;
    }
    if (!esEvo(aspecto))
        return;
    int colorFormulario = ColorAspecto2;
    if (form) {
        const bool mdi = form->formStyle() == plat::fsMDIChild || form->formStyle() == plat::fsMDIForm;
        colorFormulario = mdi ? ColorAspecto1 : ColorAspecto2;
        form->setColor(colorFormulario);
    }
    for (QObject *c : componentes) {
        for (const QString &propiedad : {QStringLiteral("Font"), QStringLiteral("TitleFont")}) {
            if (plat::hasProperty(c, propiedad))
                plat::writeProperty(c, propiedad, fuenteEvo(plat::readProperty(c, propiedad).value<QFont>(), FuenteAspecto));
        }
        if (form && plat::hasProperty(c, QStringLiteral("Color")) && colorCaraBoton(c))
            plat::writeProperty(c, QStringLiteral("Color"), colorFormulario);
        if (form && plat::hasProperty(c, QStringLiteral("FixedColor"))
            && plat::readProperty(c, QStringLiteral("FixedColor")).toInt() == plat::clBtnFace)
            plat::writeProperty(c, QStringLiteral("FixedColor"), colorFormulario);
        if (auto *paginas = qobject_cast<plat::PageControl *>(c)) {
            paginas->setOwnerDraw(true);
            paginas->OnDrawTab = [this](QObject *Control, int TabIndex, const QRect &Rect, bool Active) {
                DibujarPestana(Control, TabIndex, Rect, Active);
            };
        } else if (auto *barra = qobject_cast<plat::StatusBar *>(c)) {
            if (barra->simplePanel()) {
                plat::StatusPanel panel;
                panel.Text = barra->simpleText();
                panel.Width = barra->width();
                barra->setSimplePanel(false);
                barra->setPanels({panel});
            }
            for (plat::StatusPanel &panel : barra->panels())
                panel.OwnerDraw = true;
            barra->OnDrawPanel = [this](QObject *Bar, int Panel, const QRect &Rect) { DibujarPanelEstado(Bar, Panel, Rect); };
            barra->update();
        } else if (auto *casilla = qobject_cast<plat::CheckBox *>(c); casilla && aspecto == QLatin1String("evo+")) {
            const int color = casilla->fontColor();
            if (color != plat::clBlack && color != plat::clWindowText && color != plat::clDefault
                && !casilla->parentWidget()->findChild<QWidget *>(casilla->objectName() + QStringLiteral("Marco"),
                                                                   Qt::FindDirectChildrenOnly))
                new MarcoCasilla(*casilla);
        }
    }
}

// The look is taken by each form as it is prepared; nothing has to be written or restarted.
void TfGENEINIC::ActualizarManifiesto(const QString &) {}

// The background of owner-drawn tabs and panels: the MDI colour on an MDI child, the dialog
// colour elsewhere.
int TfGENEINIC::colorDeFondo(const QWidget *control) const
{
    const plat::Form *form = plat::Form::formOf(control);
    return form && form->formStyle() == plat::fsMDIChild ? ColorAspecto1 : ColorAspecto2;
}

void TfGENEINIC::DibujarPestana(QObject *Control, int TabIndex, const QRect &Rect, bool Active)
{
    auto *paginas = qobject_cast<plat::PageControl *>(Control);
    if (!paginas || !paginas->canvas())
        return;
    QString titulo;
    int visibles = 0;
    for (int i = 0; i < paginas->pageCount(); ++i) {
        if (!paginas->page(i)->tabVisible())
            continue;
        if (visibles++ == TabIndex) {
            titulo = paginas->page(i)->caption();
            break;
        }
    }
    plat::Canvas &lienzo = *paginas->canvas();
    lienzo.brush().Color = colorDeFondo(paginas);
    lienzo.FillRect(Rect);
    lienzo.font().Color = plat::clBlack;
    if (paginas->tabPosition() == QTabWidget::South)
        lienzo.TextOut(Rect.left(), Rect.top() - 2, titulo);
    else if (Active)
        lienzo.TextOut(Rect.left() + 4, Rect.top() + 4, titulo);
    else
        lienzo.TextOut(Rect.left() + 2, Rect.top() + 2, titulo);
}

void TfGENEINIC::DibujarPanelEstado(QObject *StatusBar, int Panel, const QRect &Rect)
{
    auto *barra = qobject_cast<plat::StatusBar *>(StatusBar);
    if (!barra || !barra->canvas())
        return;
    plat::Canvas &lienzo = *barra->canvas();
    if (plat::Form::formOf(barra))
        lienzo.brush().Color = colorDeFondo(barra);
    lienzo.FillRect(Rect);
    const QString texto = Panel >= 0 && Panel < barra->panels().size() ? barra->panels()[Panel].Text : QString();
    lienzo.TextRect(Rect, Rect.left(), Rect.top(), texto);
}
