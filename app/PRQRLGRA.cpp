#include "app/PRQRLGRA.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/servicios/NombreEmpresaInforme.h"
#include "GENEW/reporting/informes/GENELPRO.h"
#include "GENEW/reporting/informes/GENEPREV.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/ui/Application.h"
#include "projects/proyectos/DibujoGantt.h"
#include "projects/proyectos/PintoresGantt.h"

TfPRQRLGRA *fPRQRLGRA = nullptr;

namespace {

// The title's width, and where both pictures start.
constexpr int kAnchoVertical = 750;
constexpr int kAnchoApaisado = 1075;
constexpr int kIzquierdaImagen = 172;
constexpr int kAnchoIdentificacion = 169;

QSize TamanoDe(const ImagenInforme &imagen) { return QSize(imagen.Width, imagen.Height); }

} // namespace

TfPRQRLGRA::TfPRQRLGRA(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fPRQRLGRA"));
    construirInforme();
    OnCreate = [this](QObject *s) { FormCreate(s); };
    OnClose = [this](QObject *s, plat::CloseAction &a) { FormClose(s, a); };
    OnDestroy = [this](QObject *s) { FormDestroy(s); };
}

TfPRQRLGRA::~TfPRQRLGRA()
{
    if (fPRQRLGRA == this)
        fPRQRLGRA = nullptr;
}

void TfPRQRLGRA::construirInforme()
{
    QuickReport = make<Informe>(QStringLiteral("QuickReport"), this);
    QuickReport->Font = QFont(QStringLiteral("Arial"), 10);
    PaginaInforme &pagina = *QuickReport->page();
    pagina.LeftMargin = pagina.RightMargin = pagina.TopMargin = pagina.BottomMargin = 5;
    const int ancho = kAnchoVertical;

    const CabeceraListado cabecera = crearCabeceraListado(*this, *QuickReport, ancho);
    PageHeader = cabecera.banda;
    QRTitulo = cabecera.titulo;
    TituloNombreEmpresa = cabecera.nombreEmpresa;
    TituloLogotipoEmpresa = cabecera.logotipo;

    ChildBand1 = make<BandaHija>(QStringLiteral("ChildBand1"), QuickReport);
    ChildBand1->ParentBand = PageHeader;
    ChildBand1->Height = 15;
    LBIdentificacion = make<EtiquetaInforme>(QStringLiteral("LBIdentificacion"), ChildBand1);
    LBIdentificacion->Caption = QStringLiteral("Identificación");
    LBIdentificacion->Width = kAnchoIdentificacion;
    LBIdentificacion->Height = 15;
    LBIdentificacion->Alignment = plat::taCenter;
    LBIdentificacion->Font = QFont(QStringLiteral("Arial"), 8, QFont::Bold);
    LBIdentificacion->Color = plat::clSilver;
    LBIdentificacion->Transparent = false;
    QRImage1 = make<ImagenInforme>(QStringLiteral("QRImage1"), ChildBand1);
    QRImage1->Left = kIzquierdaImagen;
    QRImage1->Height = 15;

    BandaDetalle = make<BandaInforme>(QStringLiteral("BandaDetalle"), QuickReport, TipoBanda::Detalle);
    BandaDetalle->Height = 15;
    QRIdentificacion = make<EtiquetaInforme>(QStringLiteral("QRIdentificacion"), BandaDetalle);
    QRIdentificacion->Width = kAnchoIdentificacion;
    QRIdentificacion->Height = 15;
    QRIdentificacion->Font = QFont(QStringLiteral("Arial"), 8);
    QRImage2 = make<ImagenInforme>(QStringLiteral("QRImage2"), BandaDetalle);
    QRImage2->Left = kIzquierdaImagen;
    QRImage2->Height = 15;

    PageFooter = make<BandaInforme>(QStringLiteral("PageFooter"), QuickReport, TipoBanda::PiePagina);
    PageFooter->Height = 45;
    LBNombreEmpresa = make<EtiquetaInforme>(QStringLiteral("LBNombreEmpresa"), PageFooter);
    LBNombreEmpresa->Top = 8;
    LBNombreEmpresa->Width = 300;
    LBNombreEmpresa->Font = QFont(QStringLiteral("Arial"), 8);
    const PieListado pie = crearPieListado(*this, *PageFooter, ancho);
    QRNumeroPagina = pie.numeroPagina;
    QRFechaImpreso = pie.fechaImpreso;

    QuickReport->BeforePrint = [this](QObject *s, bool &p) { QuickReportBeforePrint(s, p); };
    QuickReport->OnPreview = [this](QObject *s) { QuickReportPreview(s); };
    ChildBand1->BeforePrint = [this](QObject *s, bool &p) { ChildBand1BeforePrint(s, p); };
    BandaDetalle->BeforePrint = [this](QObject *s, bool &p) { BandaDetalleBeforePrint(s, p); };
}

// Prepared as the run-time listing is: the form framework, then the listing's own creation
// step (style, compression, restrictions header, currency hooks).
void TfPRQRLGRA::FormCreate(QObject *)
{
    const ServiciosListado &servicios = serviciosListado().valor();
    if (servicios.PrepararFormulario.assigned())
        servicios.PrepararFormulario(this);
    Parametros = ParametrosListado::actuales();
    PrepararListadoAlCrear(*this, *QuickReport, Parametros);
}

void TfPRQRLGRA::QuickReportBeforePrint(QObject *, bool &PrintReport)
{
    const bool apaisado = QuickReport->page()->Orientation == QPageLayout::Landscape;
    QRTitulo->Width = apaisado ? kAnchoApaisado : kAnchoVertical;
    QRImage1->Width = QRTitulo->Width - QRImage1->Left;
    QRImage2->Width = QRImage1->Width;
    TituloNombreEmpresa->Width = QRTitulo->Width;
    QRNumeroPagina->Width = QRTitulo->Width;
    QRFechaImpreso->Left = QRTitulo->Width - QRFechaImpreso->Width;

    TituloNombreEmpresa->Caption = NombreEmpresaInforme();
    LBNombreEmpresa->Caption = TituloNombreEmpresa->Caption;
    TituloLogotipoEmpresa->Picture = QImage();
    if (fGENEINIC)
        TituloLogotipoEmpresa->LoadFromFile(fGENEINIC->NombreArchivoLogo);

    plat::DataSet *datos = QuickReport->DataSet;
    if (!datos || (ModuloDatos ? ModuloDatos->EstaVacio(*datos) : datos->isEmpty())) {
        MensajeInformacion(QStringLiteral("No existen datos para listar"));
        PrintReport = false;
        return;
    }
    datos->first();
    if (const auto &traducir = serviciosListado().valor().TraducirFormulario)
        traducir(this);
}

// The month names over the span of the current line's project, or over the report's dates.
void TfPRQRLGRA::ChildBand1BeforePrint(QObject *, bool &)
{
    const plat::DataSet *datos = QuickReport->DataSet;
    if (!datos || !datos->active())
        return;
    if (porCapitulos())
        DibujarCabeceraCapitulos(QRImage1->canvas(), TamanoDe(*QRImage1),
                                 datos->fieldByName(QStringLiteral("CodigoProyecto")).asString());
    else
        DibujarCabeceraProyectos(QRImage1->canvas(), TamanoDe(*QRImage1), FechaInicioInforme, FechaFinalInforme);
}

void TfPRQRLGRA::BandaDetalleBeforePrint(QObject *, bool &)
{
    const plat::DataSet &datos = *QuickReport->DataSet;
    const auto texto = [&](const char *campo) { return datos.fieldByName(QString::fromLatin1(campo)).asString(); };
    const BandaGantt banda = porCapitulos()
        ? BandaGantt::deCapitulo(texto("DescripcionAbreviada"), LineaPlanDe(datos))
        : BandaGantt::deProyecto(texto("Codigo"), texto("NombreCliente"));
    BandaDetalle->Height = banda.Alto;
    QRIdentificacion->Caption = banda.Etiqueta;
    QRIdentificacion->Font.setBold(banda.Negrita);
    QRIdentificacion->Top = banda.ArribaEtiqueta;
    QRImage2->Height = banda.Alto;
    if (porCapitulos())
        DibujarBandaCapitulo(QRImage2->canvas(), TamanoDe(*QRImage2), FilaCapituloGantt::de(datos));
    else
        DibujarBandaProyecto(QRImage2->canvas(), TamanoDe(*QRImage2), FilaProyectoGantt::de(datos),
                             FechaInicioInforme, FechaFinalInforme);
}

void TfPRQRLGRA::QuickReportPreview(QObject *)
{
    AbrirPrevisualizacion(*QuickReport);
}

void TfPRQRLGRA::FormClose(QObject *, plat::CloseAction &)
{
    plat::application().setCursor(plat::crDefault);
}

void TfPRQRLGRA::FormDestroy(QObject *)
{
    plat::application().setCursor(plat::crDefault);
}

// ---- the project windows' request ----------------------------------------------------------

namespace {

// The listing of one request, freed however the run ends.
class ListadoDePeticion
{
public:
    ListadoDePeticion() { fPRQRLGRA = plat::createForm<TfPRQRLGRA>(); }
    ~ListadoDePeticion()
    {
        if (fPRQRLGRA)
            fPRQRLGRA->Free();
        fPRQRLGRA = nullptr;
    }
    ListadoDePeticion(const ListadoDePeticion &) = delete;
    ListadoDePeticion &operator=(const ListadoDePeticion &) = delete;
};

} // namespace

void ImprimirListadoGraficoConInforme(const PeticionListadoGrafico &peticion, const QString &destino)
{
    ListadoDePeticion listado;
    TfPRQRLGRA &f = *fPRQRLGRA;
    f.QuickReport->page()->Orientation = peticion.Apaisado ? QPageLayout::Landscape : QPageLayout::Portrait;
    f.FechaInicioInforme = peticion.FechaInicioInforme;
    f.FechaFinalInforme = peticion.FechaFinalInforme;
    f.ModoInforme = peticion.ModoInforme;
    f.QuickReport->DataSet = peticion.DataSet;
    f.QuickReport->ReportTitle = peticion.Titulo;
    if (peticion.VistaPrevia) {
        f.QuickReport->Preview();
        return;
    }
    // Generated first, so that a listing without rows says so before any printer is asked for.
    f.QuickReport->Prepare();
    if (ModuloDatos && f.QuickReport->pageCount() > 0)
        ModuloDatos->ImprimirInforme(*f.QuickReport, destino);
}
