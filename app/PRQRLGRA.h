#pragma once
#include "GENEW/reporting/informes/AspectoListado.h"
#include "GENEW/reporting/informes/BandasInforme.h"
#include "GENEW/reporting/informes/Informe.h"
#include "platform/ui/Form.h"
#include "projects/proyectos/ListadoGrafico.h"
#include "projects/proyectos/Proymodu.h"

#include <QDateTime>
#include <QString>
#include <optional>

// The Gantt listing: never shown, it prints one Gantt row per line of a project (mode
// "Capitulos") or per project over the report's dates (mode "Proyectos") under the title,
// the company and a row of month names. Its caller sets the mode, dates, rows, orientation
// and title, then previews or prints it, and frees it. The bands draw through the project
// views' Gantt painters on each picture's print-time canvas, so the pages stay vector.
class TfPRQRLGRA : public plat::Form
{
    Q_OBJECT
public:
    explicit TfPRQRLGRA(QWidget *parent = nullptr);
    ~TfPRQRLGRA() override;

    Informe *QuickReport;
    BandaInforme *PageHeader;
    DatoSistemaInforme *QRTitulo;
    EtiquetaInforme *TituloNombreEmpresa;
    ImagenInforme *TituloLogotipoEmpresa;
    BandaHija *ChildBand1;
    EtiquetaInforme *LBIdentificacion;
    ImagenInforme *QRImage1;
    BandaInforme *BandaDetalle;
    EtiquetaInforme *QRIdentificacion;
    ImagenInforme *QRImage2;
    BandaInforme *PageFooter;
    EtiquetaInforme *LBNombreEmpresa;
    DatoSistemaInforme *QRNumeroPagina;
    DatoSistemaInforme *QRFechaImpreso;

    // Set by the caller: the span of the scale in mode "Proyectos", and the mode.
    QDateTime FechaInicioInforme, FechaFinalInforme;
    QString ModoInforme;

    // The general parameters the look was taken from at creation.
    ParametrosListado Parametros;

public slots:
    void FormCreate(QObject *Sender);
    void QuickReportBeforePrint(QObject *Sender, bool &PrintReport);
    void ChildBand1BeforePrint(QObject *Sender, bool &PrintBand);
    void BandaDetalleBeforePrint(QObject *Sender, bool &PrintBand);
    void QuickReportPreview(QObject *Sender);
    void FormClose(QObject *Sender, plat::CloseAction &Action);
    void FormDestroy(QObject *Sender);

private:
    void construirInforme();
    bool porCapitulos() const { return ModoInforme == QLatin1String("Capitulos"); }
};

extern TfPRQRLGRA *fPRQRLGRA;

// Runs a project window's request through the Gantt listing: created, set, previewed or
// printed through the data module's report output, freed however the run ends. destino is
// that output's destination (empty: the current printer; "PDF:" + a file).
void ImprimirListadoGraficoConInforme(const PeticionListadoGrafico &peticion, const QString &destino = QString());

// The Gantt listing behind the project windows' print buttons while this lives.
class ListadoGraficoInstalado : public Gancho<ImprimirListadoGraficoFn>::Instalacion
{
public:
    ListadoGraficoInstalado()
        : Instalacion(ganchoListadoGrafico(),
                      [](const PeticionListadoGrafico &peticion) { ImprimirListadoGraficoConInforme(peticion); })
    {
    }
};
