#include "GENEW/reporting/consultas/CasillasVariables.h"

#include "platform/ui/Colors.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"

void crearCasillasVariables(plat::Form &ventana, QWidget &panel, const DisenoPanelVariables &diseno,
                            bool etiquetasNegrita, QList<plat::Label *> &etiquetas, QList<plat::Edit *> &cajas)
{
    QWidget *anterior = nullptr;
    for (const CasillaVariable &c : diseno.casillas) {
        auto *etiqueta = new plat::Label(&panel);
        etiqueta->setCaption(c.etiqueta);
        etiqueta->setGeometry(c.rectEtiqueta);
        QFont letra = etiqueta->font();
        letra.setBold(etiquetasNegrita);
        etiqueta->setFont(letra);
        etiqueta->setFontColor(plat::clNavy);
        auto *caja = ventana.make<plat::Edit>(c.nombreCaja, &panel);
        caja->setGeometry(c.rectCaja);
        caja->setFontColor(plat::clBlack);
        caja->setText(c.valorInicial);
        etiqueta->setVisible(c.visible);
        caja->setVisible(c.visible);
        if (c.visible) {
            if (anterior)
                QWidget::setTabOrder(anterior, caja);
            anterior = caja;
        } else {
            caja->setFocusPolicy(Qt::NoFocus);
        }
        etiquetas << etiqueta;
        cajas << caja;
    }
}
