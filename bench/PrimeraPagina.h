#pragma once
#include "GENEW/reporting/informes/ImpresoraInforme.h"
#include "GENEW/reporting/informes/Informe.h"
#include "GENEW/reporting/informes/VistaPreviaInforme.h"

#include <QElapsedTimer>
#include <QMetaObject>

// Seconds from the report's preview call to its first page painted in the preview control;
// the rest of the run is cancelled and the preview closed.
inline double segundosHastaPrimeraPagina(Informe &informe)
{
    QElapsedTimer reloj;
    double segundos = 0;
    informe.OnPreview = [&](QObject *) {
        auto *vista = new VistaPreviaInforme();
        vista->setAttribute(Qt::WA_DeleteOnClose);
        vista->resize(800, 1000);
        vista->OnPageAvailable = [&, vista](QObject *, int n) {
            if (n != 1)
                return;
            vista->widget()->repaint();
            segundos = reloj.nsecsElapsed() / 1e9;
            informe.impresora()->AbortDoc();
            QMetaObject::invokeMethod(vista, &QWidget::close, Qt::QueuedConnection);
        };
        vista->setQRPrinter(informe.impresora());
        vista->show();
    };
    reloj.start();
    informe.Preview();
    return segundos;
}
