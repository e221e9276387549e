#pragma once
#include "platform/base/Gancho.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

// What the form framework does to a report's components: translating texts is done through
// their published properties ("Caption", "ReportTitle", "Text"); amounts, hidden fields and
// the listing header reach the bands and controls through these interfaces.
namespace plat {

class ReportControl
{
public:
    virtual ~ReportControl() = default;
    virtual QObject *object() = 0;
    virtual int top() const = 0;
    virtual void setTop(int top) = 0;
    virtual int height() const = 0;
    virtual void setHeight(int height) = 0;
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
};

// A control that prints a text: label, expression, data text, data calculation, system data.
class ReportTextControl : public virtual ReportControl
{
public:
    virtual int tag() const = 0;
    // The field or expression the control prints, for hiding and formatting by name.
    virtual QString dataName() const = 0;
    // Whether the control's own print handler is assigned.
    virtual bool printHandlerAssigned() const = 0;
    // Amount controls print their value through the installed ReportAmountPrinter.
    virtual bool printsAmount() const = 0;
    virtual void setPrintsAmount(bool on) = 0;
};

class ReportBand
{
public:
    using BeforePrintHandler = std::function<void(ReportBand &band, bool &printBand)>;

    virtual ~ReportBand() = default;
    virtual QObject *object() = 0;
    virtual int height() const = 0;
    virtual void setHeight(int height) = 0;
    // The controls placed on the band, in creation order.
    virtual QList<ReportControl *> reportControls() const = 0;
    virtual bool landscape() const = 0;   // of the report the band belongs to
    virtual bool beforePrintAssigned() const = 0;
    virtual void setBeforePrint(BeforePrintHandler handler) = 0;
};

// Turns a printed amount into the currency the user shows; the data module installs one.
class ReportAmountPrinter
{
public:
    virtual ~ReportAmountPrinter() = default;
    virtual void printAmount(QObject *control, QString &value) = 0;
};

// The amount printer the data module installs; none at first, and amounts print as they are.
inline Gancho<ReportAmountPrinter *> &reportAmountPrinterHook()
{
    static Gancho<ReportAmountPrinter *> hook(nullptr);
    return hook;
}

// Installs an amount printer (not owned) for the life of this object; the previous one comes back.
class ScopedReportAmountPrinter : public Gancho<ReportAmountPrinter *>::Instalacion
{
public:
    explicit ScopedReportAmountPrinter(ReportAmountPrinter &printer)
        : Instalacion(reportAmountPrinterHook(), &printer) {}
};

} // namespace plat
