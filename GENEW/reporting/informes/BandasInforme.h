#pragma once
#include "GENEW/reporting/informes/ControlesInforme.h"
#include "platform/report/ReportComponents.h"
#include "platform/ui/Event.h"

#include <QFont>
#include <QList>
#include <QObject>

namespace plat {
class DataSet;
}
class Informe;

// A band of a report: a strip across the page that prints its controls. Bands are children
// of their report and controls children of their band, each in creation order.
class BandaInforme : public QObject, public plat::ReportBand
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled MEMBER Enabled)
    Q_PROPERTY(int Height MEMBER Height)
    Q_PROPERTY(int Color MEMBER Color)
    Q_PROPERTY(QFont Font MEMBER Font)
    Q_PROPERTY(bool ForceNewPage MEMBER ForceNewPage)

public:
    explicit BandaInforme(QObject *report = nullptr, TipoBanda tipo = TipoBanda::Detalle);

    TipoBanda BandType;
    bool Enabled = true;
    int Height = 40;
    int Color = plat::clWhite;
    QFont Font;
    bool ForceNewPage = false;
    // Runs before each printing; clearing PrintBand skips the band this time.
    plat::Event<void(QObject *Sender, bool &PrintBand)> BeforePrint;

    Informe *informe() const;
    QList<ControlInforme *> controles() const;

    QObject *object() override { return this; }
    int height() const override { return Height; }
    void setHeight(int height) override { Height = height; }
    QList<plat::ReportControl *> reportControls() const override;
    bool landscape() const override;
    bool beforePrintAssigned() const override { return BeforePrint.assigned(); }
    void setBeforePrint(BeforePrintHandler handler) override;
};

// The group band: prints when the value of its expression changes, its footer band before.
class GrupoInforme : public BandaInforme
{
    Q_OBJECT
    Q_PROPERTY(QString Expression MEMBER Expression)
    Q_PROPERTY(bool ReprintOnNewPage MEMBER ReprintOnNewPage)
public:
    explicit GrupoInforme(QObject *report = nullptr) : BandaInforme(report, TipoBanda::CabeceraGrupo) {}
    QString Expression;
    BandaInforme *FooterBand = nullptr;
    bool ReprintOnNewPage = false;
};

// Prints right after its parent band, whenever the parent prints.
class BandaHija : public BandaInforme
{
    Q_OBJECT
public:
    explicit BandaHija(QObject *report = nullptr) : BandaInforme(report, TipoBanda::Hija) {}
    BandaInforme *ParentBand = nullptr;
};

// Prints once per record of its own dataset after each detail.
class SubDetalleInforme : public BandaInforme
{
    Q_OBJECT
public:
    explicit SubDetalleInforme(QObject *report = nullptr) : BandaInforme(report, TipoBanda::SubDetalle) {}
    plat::DataSet *DataSet = nullptr;
};
