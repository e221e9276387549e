#pragma once
#include "GENEW/reporting/informes/AspectoListado.h"
#include "GENEW/reporting/informes/DisenoListado.h"
#include "GENEW/reporting/informes/RestriccionesListado.h"
#include "platform/base/Gancho.h"
#include "platform/ui/Form.h"

#include <QFont>
#include <QPointer>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

namespace plat {
class Field;
}

// What the listing needs of the layers above it: the form framework (preparation,
// translation, currency hooks, "listing cancelled"), the main window (the calling window
// and the listing dialog) and the analysis-group ranges ("field|from|to" lines). Unassigned
// entries add nothing.
struct ServiciosListado
{
    plat::NotifyEvent PrepararFormulario;
    std::function<void(QObject *formulario)> TraducirFormulario;
    std::function<void(QObject *formulario, const QString &modo)> AsignarBotonEuro;
    std::function<void(bool cancelado)> PonerListadoCancelado;
    std::function<std::optional<VentanaLlamante>()> ControlesVentanaLlamante;
    std::function<RestriccionesDialogo()> RestriccionesDialogoListado;
    std::function<QString()> RangosGruposAnalisis;
    bool RestriccionesEnCreacion = false;
};
Gancho<ServiciosListado> &serviciosListado();

// What a listing window does once the form framework has prepared it, over any report: the
// automatic output bin, currency hooks, "listing cancelled" cleared, the restrictions header
// from the calling window, the style and the creation compression of the fixed parts.
void PrepararListadoAlCrear(plat::Form &ventana, Informe &informe, const ParametrosListado &parametros);

// The run-time listing: never shown, it lists any open dataset as a report built at each
// before-print, in columns (headers, groups, sums, totals) or cards.
class TfGENELPRO : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENELPRO(QWidget *parent = nullptr);
    ~TfGENELPRO() override;

    Informe *QuickReport;
    BandaInforme *PageHeader;
    DatoSistemaInforme *QRTitulo;
    EtiquetaInforme *TituloNombreEmpresa;
    ImagenInforme *TituloLogotipoEmpresa;
    GrupoInforme *BandaCabeceraGrupo;
    ImagenInforme *ImgCabeceraGrupo;
    FiguraInforme *SeparadorCabecera;
    BandaInforme *BandaDetalle;
    FiguraInforme *BordeBandaDetalle;
    BandaInforme *BandaPieGrupo;
    FiguraInforme *SeparadorPieGrupo;
    BandaInforme *BandaTotales;
    FiguraInforme *SeparadorTotales;
    BandaInforme *PageFooter;
    DatoSistemaInforme *QRNumeroPagina;
    DatoSistemaInforme *QRFechaImpreso;

    // Request.
    QString TamanioPapel;
    bool FormatoFicha = false;
    int NumeroColumnasFicha = 1;
    int NumeroLineasMemoFicha = 1;
    bool SepararPorPaginas = false;
    bool AjustarPalabras = false;
    QString FormatoColumnas;
    QString Sumatorios;
    QString Grupos;
    bool SoloTotales = false;
    std::optional<QFont> Fuente;

    // Working state of the last build.
    int UltimoCampo = -1;
    bool HayInstrucciones = false;
    QStringList ListaSumatorios;
    QStringList InstruccionesFila;
    QVector<EtiquetaInforme *> EtiquetasCabecera;
    QVector<EtiquetaInforme *> EtiquetasDetalle;
    QVector<ExpresionInforme *> SumasGrupo;
    QVector<ExpresionInforme *> SumasTotales;
    QVector<ImagenInforme *> Imagenes;

    // The general parameters the look was taken from at creation.
    ParametrosListado Parametros;

    void ConstruirColumnas();
    void ConstruirFichas();
    // A field's slot by the Part's rule: its share of the printable width.
    int AnchoColumna(int indiceCampo) const;
    // What each visible column (by position in visibles, the fields' indexes) needs of its
    // slot: a date or a number column its widest value as it prints (its sums too), a text
    // column its widest word (DisenoListado.h); one walk of the rows.
    QVector<NecesidadColumna> necesidadesColumnas(const QVector<int> &visibles);
    static QString TituloColumna(const QString &nombreCampo) ;
    plat::Field *CampoDeColumna(int columna) const;

public slots:
    void FormCreate(QObject *Sender);
    void QuickReportBeforePrint(QObject *Sender, bool &PrintReport);
    void BandaDetalleBeforePrint(QObject *Sender, bool &PrintBand);
    void BandaCabeceraGrupoBeforePrint(QObject *Sender, bool &PrintBand);
    void BandaPieGrupoBeforePrint(QObject *Sender, bool &PrintBand);
    void BandaTotalesBeforePrint(QObject *Sender, bool &PrintBand);
    void LBDetallePrint(QObject *Sender, QString &Value);
    void LBTotalesPrint(QObject *Sender, QString &Value);
    void QuickReportPreview(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormClose(QObject *Sender, plat::CloseAction &Action);
    void FormDestroy(QObject *Sender);
    void BuscarDatosDBEdit(QObject *Sender);

private:
    void construirPartesFijas();
    // Listed fields up to UltimoCampo, the instructions field noted.
    void leerCampos();
    void liberarControles();
    void ponerMargenesYAncho(bool todasLasBandas);
    void ponerEmpresaYLogotipo();
    QFont fuenteValores() const;
    EtiquetaInforme *crearTitulo(const QString &nombre, QObject *banda, const QString &campo);
    void crearValor(int columna, plat::Field &campo, int izquierda, int arriba, int ancho, int alto);
    void comprimir(ControlInforme &control) const;
    void comprimirPartesFijas(ControlInforme *anchoDetalle);
    void ponerRestriccionesAlImprimir();
    void ponerSumas(const QVector<ExpresionInforme *> &sumas);
    void alinearPorInstrucciones(ControlTextoInforme &control, const QString &nombreCampo, bool flotante);

    int anchoImprimible_ = 0;
};

extern TfGENELPRO *fGENELPRO;
