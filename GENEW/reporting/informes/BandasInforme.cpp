#include "GENEW/reporting/informes/BandasInforme.h"

#include "GENEW/reporting/informes/Informe.h"

BandaInforme::BandaInforme(QObject *report, TipoBanda tipo) : QObject(report), BandType(tipo)
{
    Font = QFont(QStringLiteral("Arial"), 10);
    if (const Informe *i = informe())
        Font = i->Font;
}

Informe *BandaInforme::informe() const
{
    return qobject_cast<Informe *>(parent());
}

QList<ControlInforme *> BandaInforme::controles() const
{
    QList<ControlInforme *> lista;
    for (QObject *hijo : children())
        if (auto *control = qobject_cast<ControlInforme *>(hijo))
            lista << control;
    return lista;
}

QList<plat::ReportControl *> BandaInforme::reportControls() const
{
    QList<plat::ReportControl *> lista;
    for (ControlInforme *control : controles())
        lista << control;
    return lista;
}

bool BandaInforme::landscape() const
{
    const Informe *i = informe();
    return i && i->page()->Orientation == QPageLayout::Landscape;
}

void BandaInforme::setBeforePrint(BeforePrintHandler handler)
{
    if (!handler) {
        this->BeforePrint = nullptr;
        return;
    }
    this->BeforePrint = [this, handler](QObject *, bool &imprimir) { handler(*this, imprimir); };
}
