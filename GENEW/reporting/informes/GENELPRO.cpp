#include "GENEW/reporting/informes/GENELPRO.h"

#include "GENEW/data/Genemodu.h"
#include "GENEW/data/NombreEmpresaInforme.h"
#include "GENEW/reporting/informes/DisenoListado.h"
#include "GENEW/reporting/informes/GENEPREV.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/ValueText.h"
#include "platform/ui/Application.h"

#include <QFontDatabase>
#include <QRegularExpression>
#include <cmath>

TfGENELPRO *fGENELPRO = nullptr;

namespace {

const QString kInstrucciones = QStringLiteral("InstruccionesListado");

bool esFlotante(const plat::Field &campo)
{
    return campo.dataType() == ftFloat || campo.dataType() == ftCurrency;
}

bool esFechaHora(const plat::Field &campo)
{
    const auto t = campo.dataType();
    return t == ftDate || t == ftTime || t == ftDateTime;
}

bool esImagen(const plat::Field &campo)
{
    return campo.dataType() == ftGraphic || campo.dataType() == ftBlob;
}

bool esMemo(const plat::Field &campo)
{
    return campo.dataType() == ftMemo || campo.dataType() == ftFmtMemo;
}

QString plantillaNumerica(const QString &nombreCampo)
{
    if (ModuloDatos && ModuloDatos->FormatoNumericoDeCampo.valor())
        return ModuloDatos->FormatoNumericoDeCampo.valor()(nombreCampo);
    return FormatoNumericoEstandar;
}

// A font name the system knows (ignoring case), in its own spelling; empty when unknown.
QString familiaConocida(const QString &nombre)
{
    for (const QString &familia : QFontDatabase::families())
        if (familia.compare(nombre, Qt::CaseInsensitive) == 0)
            return familia;
    return QString();
}

void comprimirFuente(QFont &fuente, const ParametrosListado &p)
{
    const double puntos = fuente.pointSizeF() > 0 ? fuente.pointSizeF() : 10;
    fuente.setPointSize(std::max(1, int(puntos * p.FCompresionTLetraListados)));
    if (p.TipoLetraListados != QLatin1String("Por Defecto")) {
        const QString familia = familiaConocida(p.TipoLetraListados);
        if (!familia.isEmpty())
            fuente.setFamily(familia);
    }
}

void enmarcar(EtiquetaInforme &etiqueta)
{
    etiqueta.Color = plat::clWhite;
    etiqueta.FontColor = plat::clBlack;
    etiqueta.Frame = {true, true, true, true, plat::clBlack, 1};
}

// Style of the fixed parts: silver bands go white, black-backed labels framed, texts black.
void aplicarEstilo(Informe &informe, const QString &estilo)
{
    if (estilo == QLatin1String("Standard"))
        return;
    const bool enmarcados = estilo == QLatin1String("Basica") || estilo == QLatin1String("Blanco y Negro");
    const bool blancoYNegro = estilo == QLatin1String("Blanco y Negro");
    for (BandaInforme *banda : informe.bandas()) {
        if (banda->Color == plat::clSilver)
            banda->Color = plat::clWhite;
        for (ControlInforme *control : banda->controles()) {
            if (auto *etiqueta = qobject_cast<EtiquetaInforme *>(control)) {
                if (etiqueta->Color != plat::clBlack)
                    etiqueta->Color = banda->Color;
                else if (enmarcados)
                    enmarcar(*etiqueta);
            } else if (qobject_cast<TextoDatoInforme *>(control)) {
                control->Color = banda->Color;
            }
            if (blancoYNegro) {
                if (auto *figura = qobject_cast<FiguraInforme *>(control))
                    figura->Pen.Color = plat::clBlack;
                else if (qobject_cast<ControlTextoInforme *>(control) && control->FontColor != plat::clWhite)
                    control->FontColor = plat::clBlack;
            }
        }
    }
}

void comprimirAlCrear(Informe &informe, const ParametrosListado &p)
{
    if (!p.compresionGeneral())
        return;
    for (BandaInforme *banda : informe.bandas()) {
        comprimirFuente(banda->Font, p);
        for (ControlInforme *control : banda->controles()) {
            control->Left = int(control->Left * p.FCompresionListados) + 4;
            control->Width = int(control->Width * p.FCompresionListados);
            if (qobject_cast<ControlTextoInforme *>(control))
                comprimirFuente(control->Font, p);
        }
    }
}

} // namespace

// ---- parameters and services -------------------------------------------------------------

ParametrosListado ParametrosListado::actuales()
{
    ParametrosListado p;
    if (!ModuloDatos || !ModuloDatos->ParamGenerales->table().active())
        return p;
    const plat::DataSet &registro = ModuloDatos->ParamGenerales->table();
    const auto texto = [&](const char *nombre, QString &destino) {
        if (plat::Field *campo = registro.findField(QLatin1String(nombre)); campo && !campo->isNull())
            destino = campo->asString().trimmed();
    };
    const auto numero = [&](const char *nombre, double &destino) {
        if (plat::Field *campo = registro.findField(QLatin1String(nombre)); campo && !campo->isNull())
            destino = campo->asFloat();
    };
    texto("TipoCombinacionTramas", p.TipoCombinacionTramas);
    texto("TipoLetraListados", p.TipoLetraListados);
    texto("ListarRestricciones", p.ListarRestricciones);
    numero("FCompresionListados", p.FCompresionListados);
    numero("FCompresionTLetraListados", p.FCompresionTLetraListados);
    double margen = 0;
    numero("MargenIzquierdoImpresora", margen);
    p.MargenIzquierdoImpresora = int(margen);
    return p;
}

bool ParametrosListado::compresionGeneral() const
{
    if (FCompresionListados == 0 || FCompresionTLetraListados == 0)
        return false;
    return !(FCompresionListados == 1 && FCompresionTLetraListados == 1
             && TipoLetraListados == QLatin1String("Por Defecto"));
}

Gancho<ServiciosListado> &serviciosListado()
{
    static Gancho<ServiciosListado> gancho;
    return gancho;
}

QString textoRestriccionesVentana(const VentanaLlamante &ventana, const QString &rangosGruposAnalisis)
{
    QString texto;
    for (const ControlLlamante &control : ventana.controles) {
        if (!control.habilitado || control.nombre == QLatin1String("VisualizacionPrevia"))
            continue;
        if (control.tipo == ControlLlamante::Tipo::Edicion)
            texto += SepararPalabras(control.nombre) + QStringLiteral(": ") + control.texto + QStringLiteral(", ");
        else if (control.marcado)
            texto += control.texto + QStringLiteral(", ");
    }
    if (ventana.tieneRangoGruposAnalisis)
        texto += DescribirRangos(rangosGruposAnalisis);
    return limpiarTextoRestricciones(texto);
}

QString textoRestriccionesDatos(const plat::DataSet *datos, const RestriccionesDialogo &dialogo)
{
    QString texto;
    if (const auto *consulta = dynamic_cast<const plat::QueryDataSet *>(datos);
        consulta && consulta->name().compare(QLatin1String("QryConsultasSQL"), Qt::CaseInsensitive) == 0) {
        texto = QStringLiteral("Sentencia SQL: ") + consulta->sql();
        if (!consulta->filter().isEmpty())
            texto += QStringLiteral(". Filtro: ") + consulta->filter();
    }
    for (int fila = 1; fila < dialogo.rangos.size(); ++fila) {
        const QStringList &r = dialogo.rangos[fila];
        const QString campo = r.value(0), desde = r.value(1), hasta = r.value(2);
        if (desde.isEmpty() && hasta.isEmpty())
            continue;
        texto += QStringLiteral("Desde %1: %2, Hasta %1: %3, ").arg(campo, desde, hasta);
    }
    if (!dialogo.filtros.isEmpty())
        texto += QStringLiteral(" Filtros: ") + dialogo.filtros;
    return limpiarTextoRestricciones(texto);
}

// ---- restrictions header -----------------------------------------------------------------

CabeceraRestricciones::CabeceraRestricciones(plat::Form &ventana, BandaInforme &cabecera, int altoLogo)
    : QObject(cabecera.informe()), cabecera_(cabecera), alturaBase_(cabecera.Height)
{
    setObjectName(QStringLiteral("CabeceraRestricciones"));
    anotarTopes();
    memo_ = ventana.make<MemoInforme>(QStringLiteral("MemoRestricciones"), &cabecera);
    memo_->Left = 0;
    memo_->Top = altoLogo + 2;
    memo_->Font = QFont(QStringLiteral("Arial"), 8);
    memo_->FontColor = plat::clMaroon;
    memo_->WordWrap = true;
    memo_->Enabled = false;
    cabecera.BeforePrint = [this, &cabecera](QObject *, bool &) { ajustar(cabecera); };
}

CabeceraRestricciones *CabeceraRestricciones::de(Informe &informe)
{
    return informe.findChild<CabeceraRestricciones *>(QStringLiteral("CabeceraRestricciones"), Qt::FindDirectChildrenOnly);
}

void CabeceraRestricciones::anotarTopes()
{
    const auto anotado = [this](ControlInforme *control) {
        return std::any_of(topes_.cbegin(), topes_.cend(), [control](const auto &t) { return t.first == control; });
    };
    topes_.removeIf([](const auto &t) { return t.first.isNull(); });
    for (ControlInforme *control : cabecera_.controles())
        if (qobject_cast<EtiquetaInforme *>(control) && !anotado(control))
            topes_.append({control, control->Top});
}

void CabeceraRestricciones::empezarPrimeraPagina()
{
    anotarTopes();
    primeraPagina_ = true;
}

void CabeceraRestricciones::ajustar(BandaInforme &cabecera)
{
    static const QString prefijo = QStringLiteral("RESTRICCIONES Y OPCIONES DEL LISTADO: ");
    QString texto = textoCreacion_ + textoImpresion_;
    if (!texto.isEmpty())
        texto.prepend(prefijo);
    memo_->Lines = texto.isEmpty() ? QStringList() : QStringList{texto};
    const bool mostrar = primeraPagina_ && !texto.isEmpty();
    const int alto = altoMemoRestricciones(int(texto.size()), cabecera.landscape());
    memo_->Height = alto;
    if (Informe *informe = cabecera.informe())
        memo_->Width = int(informe->page()->imprimible().width());
    memo_->Enabled = mostrar;
    cabecera.Height = alturaBase_ + (mostrar ? alto : 0);
    for (const auto &[control, tope] : std::as_const(topes_))
        if (control)
            control->Top = mostrar && control->objectName() != QLatin1String("TituloNombreEmpresa") ? tope + alto : tope;
    primeraPagina_ = false;
}

// ---- creation over any listing -------------------------------------------------------------

void PrepararListadoAlCrear(plat::Form &ventana, Informe &informe, const ParametrosListado &parametros)
{
    const ServiciosListado &servicios = serviciosListado().valor();
    informe.PrinterSettings.outputBin = -1;
    if (servicios.AsignarBotonEuro)
        servicios.AsignarBotonEuro(&ventana, QStringLiteral("Asignar"));
    if (servicios.PonerListadoCancelado)
        servicios.PonerListadoCancelado(false);

    BandaInforme *cabecera = informe.banda(TipoBanda::CabeceraPagina);
    const bool pedida = parametros.ListarRestricciones == QLatin1String("SI") || servicios.RestriccionesEnCreacion;
    if (pedida && cabecera && !cabecera->BeforePrint.assigned() && servicios.ControlesVentanaLlamante) {
        const std::optional<VentanaLlamante> llamante = servicios.ControlesVentanaLlamante();
        if (llamante && !llamante->esDialogoListado) {
            const auto *logo = cabecera->findChild<ImagenInforme *>(QStringLiteral("TituloLogotipoEmpresa"));
            auto *restricciones = new CabeceraRestricciones(ventana, *cabecera, logo ? logo->Height : 0);
            const QString rangos = servicios.RangosGruposAnalisis ? servicios.RangosGruposAnalisis() : QString();
            restricciones->ponerTextoCreacion(textoRestriccionesVentana(*llamante, rangos));
        }
    }
    aplicarEstilo(informe, parametros.TipoCombinacionTramas);
    comprimirAlCrear(informe, parametros);
}

// ---- the listing window --------------------------------------------------------------------

TfGENELPRO::TfGENELPRO(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENELPRO"));
    construirPartesFijas();
    OnCreate = [this](QObject *s) { FormCreate(s); };
    OnActivate = [this](QObject *s) { FormActivate(s); };
    OnClose = [this](QObject *s, plat::CloseAction &a) { FormClose(s, a); };
    OnDestroy = [this](QObject *s) { FormDestroy(s); };
}

TfGENELPRO::~TfGENELPRO()
{
    if (fGENELPRO == this)
        fGENELPRO = nullptr;
}

void TfGENELPRO::construirPartesFijas()
{
    QuickReport = make<Informe>(QStringLiteral("QuickReport"), this);
    QuickReport->Font = QFont(QStringLiteral("Arial"), 10);
    QuickReport->PrintIfEmpty = false;
    QuickReport->page()->LeftMargin = 5;
    QuickReport->page()->RightMargin = 5;
    const int ancho = 750;

    PageHeader = make<BandaInforme>(QStringLiteral("PageHeader"), QuickReport, TipoBanda::CabeceraPagina);
    PageHeader->Height = 99;
    QRTitulo = make<DatoSistemaInforme>(QStringLiteral("QRTitulo"), PageHeader);
    QRTitulo->Data = qrsReportTitle;
    QRTitulo->Top = 12;
    QRTitulo->Width = ancho;
    QRTitulo->Alignment = plat::taCenter;
    QRTitulo->Font = QFont(QStringLiteral("Arial"), 12, QFont::Bold);
    QRTitulo->FontColor = plat::clTeal;
    TituloNombreEmpresa = make<EtiquetaInforme>(QStringLiteral("TituloNombreEmpresa"), PageHeader);
    TituloNombreEmpresa->Top = 32;
    TituloNombreEmpresa->Width = ancho;
    TituloNombreEmpresa->Height = 17;
    TituloNombreEmpresa->Alignment = plat::taCenter;
    TituloNombreEmpresa->Font = QFont(QStringLiteral("Arial"), 10, QFont::Bold);
    TituloNombreEmpresa->WordWrap = true;
    TituloLogotipoEmpresa = make<ImagenInforme>(QStringLiteral("TituloLogotipoEmpresa"), PageHeader);
    TituloLogotipoEmpresa->Width = 100;
    TituloLogotipoEmpresa->Height = 75;
    TituloLogotipoEmpresa->Center = true;
    TituloLogotipoEmpresa->Stretch = true;

    BandaCabeceraGrupo = make<GrupoInforme>(QStringLiteral("BandaCabeceraGrupo"), QuickReport);
    BandaCabeceraGrupo->Height = 32;
    BandaCabeceraGrupo->Color = plat::clSilver;
    BandaCabeceraGrupo->Enabled = false;
    ImgCabeceraGrupo = make<ImagenInforme>(QStringLiteral("ImgCabeceraGrupo"), BandaCabeceraGrupo);
    SeparadorCabecera = make<FiguraInforme>(QStringLiteral("SeparadorCabecera"), BandaCabeceraGrupo);
    SeparadorCabecera->Shape = qrsHorLine;
    SeparadorCabecera->Top = 19;
    SeparadorCabecera->Height = 1;

    BandaDetalle = make<BandaInforme>(QStringLiteral("BandaDetalle"), QuickReport, TipoBanda::Detalle);
    BandaDetalle->Height = 15;
    BandaDetalle->Color = plat::clSilver;
    BandaDetalle->Font = QFont(QStringLiteral("Arial"), 8);
    BordeBandaDetalle = make<FiguraInforme>(QStringLiteral("BordeBandaDetalle"), BandaDetalle);
    BordeBandaDetalle->Shape = qrsRectangle;
    BordeBandaDetalle->Brush.Style = plat::bsClear;
    BordeBandaDetalle->Enabled = false;

    BandaPieGrupo = make<BandaInforme>(QStringLiteral("BandaPieGrupo"), QuickReport, TipoBanda::PieGrupo);
    BandaPieGrupo->Height = 17;
    BandaPieGrupo->Color = plat::clSilver;
    BandaPieGrupo->Enabled = false;
    BandaCabeceraGrupo->FooterBand = BandaPieGrupo;
    SeparadorPieGrupo = make<FiguraInforme>(QStringLiteral("SeparadorPieGrupo"), BandaPieGrupo);
    SeparadorPieGrupo->Shape = qrsHorLine;
    SeparadorPieGrupo->Height = 1;

    BandaTotales = make<BandaInforme>(QStringLiteral("BandaTotales"), QuickReport, TipoBanda::Resumen);
    BandaTotales->Height = 32;
    SeparadorTotales = make<FiguraInforme>(QStringLiteral("SeparadorTotales"), BandaTotales);
    SeparadorTotales->Shape = qrsHorLine;
    SeparadorTotales->Top = 5;
    SeparadorTotales->Height = 1;

    PageFooter = make<BandaInforme>(QStringLiteral("PageFooter"), QuickReport, TipoBanda::PiePagina);
    PageFooter->Height = 45;
    QRNumeroPagina = make<DatoSistemaInforme>(QStringLiteral("QRNumeroPagina"), PageFooter);
    QRNumeroPagina->Data = qrsPageNumber;
    QRNumeroPagina->Text = QStringLiteral("Página  ");
    QRNumeroPagina->Top = 8;
    QRNumeroPagina->Width = ancho;
    QRNumeroPagina->Alignment = plat::taCenter;
    QRNumeroPagina->Font = QFont(QStringLiteral("Arial"), 8);
    QRFechaImpreso = make<DatoSistemaInforme>(QStringLiteral("QRFechaImpreso"), PageFooter);
    QRFechaImpreso->Data = qrsDateTime;
    QRFechaImpreso->Text = QStringLiteral("Impreso el ");
    QRFechaImpreso->Top = 24;
    QRFechaImpreso->Width = 200;
    QRFechaImpreso->Left = ancho - QRFechaImpreso->Width;
    QRFechaImpreso->Alignment = plat::taRightJustify;
    QRFechaImpreso->Font = QFont(QStringLiteral("Arial"), 8);

    QuickReport->BeforePrint = [this](QObject *s, bool &p) { QuickReportBeforePrint(s, p); };
    QuickReport->OnPreview = [this](QObject *s) { QuickReportPreview(s); };
    BandaDetalle->BeforePrint = [this](QObject *s, bool &p) { BandaDetalleBeforePrint(s, p); };
    BandaCabeceraGrupo->BeforePrint = [this](QObject *s, bool &p) { BandaCabeceraGrupoBeforePrint(s, p); };
    BandaPieGrupo->BeforePrint = [this](QObject *s, bool &p) { BandaPieGrupoBeforePrint(s, p); };
    BandaTotales->BeforePrint = [this](QObject *s, bool &p) { BandaTotalesBeforePrint(s, p); };
}

void TfGENELPRO::FormCreate(QObject *Sender)
{
    const ServiciosListado &servicios = serviciosListado().valor();
    if (servicios.PrepararFormulario.assigned())
        servicios.PrepararFormulario(this);
    Parametros = ParametrosListado::actuales();
    PrepararListadoAlCrear(*this, *QuickReport, Parametros);
    ListaSumatorios.clear();
    InstruccionesFila.clear();
}

void TfGENELPRO::QuickReportBeforePrint(QObject *, bool &)
{
    if (TamanioPapel.isEmpty())
        TamanioPapel = QStringLiteral("A4");
    if (TamanioPapel == QLatin1String("A4"))
        QuickReport->page()->PaperSize = plat::ReportPaper::A4;
    else if (TamanioPapel == QLatin1String("A3"))
        QuickReport->page()->PaperSize = plat::ReportPaper::A3;
    ListaSumatorios = Sumatorios.split(u',');
    if (FormatoFicha)
        ConstruirFichas();
    else
        ConstruirColumnas();
    if (Parametros.ListarRestricciones == QLatin1String("SI"))
        ponerRestriccionesAlImprimir();
    if (SoloTotales)
        BandaDetalle->Enabled = false;
    if (const auto &traducir = serviciosListado().valor().TraducirFormulario)
        traducir(this);
}

void TfGENELPRO::leerCampos()
{
    plat::DataSet *datos = QuickReport->DataSet;
    const int campos = datos ? datos->fieldCount() : 0;
    HayInstrucciones = campos > 0
                       && datos->field(campos - 1).fieldName().compare(kInstrucciones, Qt::CaseInsensitive) == 0;
    UltimoCampo = campos - (HayInstrucciones ? 2 : 1);
}

void TfGENELPRO::liberarControles()
{
    const auto liberar = [](auto &lista) {
        for (auto *control : std::as_const(lista))
            delete control;
        lista.clear();
    };
    liberar(EtiquetasCabecera);
    liberar(EtiquetasDetalle);
    liberar(SumasGrupo);
    liberar(SumasTotales);
    liberar(Imagenes);
}

void TfGENELPRO::ponerMargenesYAncho(bool todasLasBandas)
{
    PaginaInforme &pagina = *QuickReport->page();
    const bool apaisado = pagina.Orientation == QPageLayout::Landscape;
    const int margen = apaisado ? 10 : 5;
    pagina.LeftMargin = Parametros.MargenIzquierdoImpresora != 0 ? Parametros.MargenIzquierdoImpresora : margen;
    pagina.RightMargin = margen;
    anchoImprimible_ = anchoImprimibleListado(pagina.PaperSize, apaisado, pagina.imprimible().width());

    QRTitulo->Width = anchoImprimible_;
    TituloNombreEmpresa->Width = anchoImprimible_;
    QRNumeroPagina->Width = anchoImprimible_;
    QRFechaImpreso->Left = anchoImprimible_ - QRFechaImpreso->Width;
    if (!todasLasBandas)
        return;
    for (FiguraInforme *separador : {SeparadorCabecera, SeparadorPieGrupo, SeparadorTotales}) {
        separador->Left = 0;
        separador->Width = anchoImprimible_;
    }
    ImgCabeceraGrupo->Width = anchoImprimible_;
    const bool sinSumas = Sumatorios.isEmpty();
    SeparadorCabecera->Enabled = sinSumas;
    SeparadorPieGrupo->Enabled = !sinSumas;
    SeparadorTotales->Enabled = true;
}

void TfGENELPRO::ponerEmpresaYLogotipo()
{
    TituloNombreEmpresa->Caption = NombreEmpresaInforme();
    TituloLogotipoEmpresa->Picture = QImage();
    if (fGENEINIC)
        TituloLogotipoEmpresa->LoadFromFile(fGENEINIC->NombreArchivoLogo);
}

QFont TfGENELPRO::fuenteValores() const
{
    return Fuente ? *Fuente : BandaDetalle->Font;
}

EtiquetaInforme *TfGENELPRO::crearTitulo(const QString &nombre, QObject *banda, const QString &campo)
{
    auto *titulo = make<EtiquetaInforme>(nombre, banda);
    titulo->Caption = TituloColumna(campo);
    titulo->Alignment = plat::taLeftJustify;
    titulo->Height = 15;
    titulo->Font = fuenteValores();
    titulo->Font.setBold(true);
    titulo->Font.setPointSize(8);
    if (Parametros.TipoCombinacionTramas == QLatin1String("Basica")) {
        enmarcar(*titulo);
    } else {
        titulo->Color = plat::clBlack;
        titulo->FontColor = plat::clWhite;
    }
    titulo->Transparent = false;
    return titulo;
}

void TfGENELPRO::crearValor(int columna, plat::Field &campo, int izquierda, int arriba, int ancho, int alto)
{
    if (esImagen(campo)) {
        auto *imagen = make<ImagenInforme>(QStringLiteral("LBImagen%1").arg(columna), BandaDetalle);
        imagen->Left = izquierda;
        imagen->Top = arriba;
        imagen->Width = ancho;
        imagen->Height = alto;
        comprimir(*imagen);
        Imagenes[columna] = imagen;
        return;
    }
    auto *valor = make<EtiquetaInforme>(QStringLiteral("LBDetalle%1").arg(columna), BandaDetalle);
    valor->Alignment = esFlotante(campo) && !FormatoFicha ? plat::taRightJustify : plat::taLeftJustify;
    valor->AutoStretch = !FormatoFicha;
    valor->WordWrap = AjustarPalabras;
    valor->Font = fuenteValores();
    valor->Color = BandaDetalle->Color;
    valor->Left = izquierda;
    valor->Top = arriba;
    valor->Width = ancho;
    valor->Height = alto;
    valor->OnPrint = [this](QObject *s, QString &v) { LBDetallePrint(s, v); };
    comprimir(*valor);
    EtiquetasDetalle[columna] = valor;
}

void TfGENELPRO::comprimir(ControlInforme &control) const
{
    if (!Parametros.compresionGeneral())
        return;
    control.Left = int(control.Left * Parametros.FCompresionListados);
    control.Width = int(control.Width * Parametros.FCompresionListados);
    if (qobject_cast<ControlTextoInforme *>(&control))
        comprimirFuente(control.Font, Parametros);
}

void TfGENELPRO::comprimirPartesFijas(ControlInforme *anchoDetalle)
{
    const double f = Parametros.FCompresionListados;
    if (f == 0 || f == 1)
        return;
    for (ControlInforme *control : std::initializer_list<ControlInforme *>{QRTitulo, TituloNombreEmpresa, QRNumeroPagina})
        control->Width = int(control->Width * f);
    QRFechaImpreso->Left = int(QRFechaImpreso->Left * f);
    if (anchoDetalle)
        anchoDetalle->Width = int(anchoDetalle->Width * f);
}

int TfGENELPRO::AnchoColumna(int indiceCampo) const
{
    const plat::DataSet *datos = QuickReport->DataSet;
    if (!datos || indiceCampo < 0 || indiceCampo > UltimoCampo)
        return 0;
    const QVector<double> formato = pesosFormatoColumnas(FormatoColumnas, UltimoCampo + 1);
    const auto peso = [&](int i) {
        return FormatoColumnas.isEmpty() ? double(datos->field(i).effectiveDisplayWidth()) : formato[i];
    };
    double total = 0;
    for (int i = 0; i <= UltimoCampo; ++i)
        if (datos->field(i).tag != 999)
            total += peso(i);
    return total > 0 ? int(peso(indiceCampo) * anchoImprimible_ / total) : 0;
}

QString TfGENELPRO::TituloColumna(const QString &nombreCampo)
{
    return tituloColumnaListado(nombreCampo);
}

plat::Field *TfGENELPRO::CampoDeColumna(int columna) const
{
    plat::DataSet *datos = QuickReport->DataSet;
    if (!datos)
        return nullptr;
    for (int i = 0; i <= UltimoCampo; ++i)
        if (datos->field(i).tag == columna)
            return &datos->field(i);
    return nullptr;
}

void TfGENELPRO::ConstruirColumnas()
{
    leerCampos();
    BandaCabeceraGrupo->Enabled = !Grupos.isEmpty();
    BandaCabeceraGrupo->Expression = Grupos;
    BandaPieGrupo->Enabled = BandaCabeceraGrupo->Enabled;
    BordeBandaDetalle->Enabled = false;
    BandaCabeceraGrupo->ForceNewPage = SepararPorPaginas;
    BandaTotales->ForceNewPage = SepararPorPaginas;
    BandaTotales->Enabled = !Sumatorios.isEmpty();
    liberarControles();
    ponerMargenesYAncho(true);
    ponerEmpresaYLogotipo();

    plat::DataSet *datos = QuickReport->DataSet;
    QVector<int> visibles;
    for (int i = 0; i <= UltimoCampo; ++i)
        if (datos->field(i).tag != 999)
            visibles << i;
    // The arrays grow with the columns: one entry per column made.
    EtiquetasCabecera.fill(nullptr, visibles.size());
    EtiquetasDetalle.fill(nullptr, visibles.size());
    SumasGrupo.fill(nullptr, visibles.size());
    SumasTotales.fill(nullptr, visibles.size());
    Imagenes.fill(nullptr, visibles.size());

    int izquierda = 0;
    for (int k = 0; k < visibles.size(); ++k) {
        plat::Field &campo = datos->field(visibles[k]);
        campo.tag = k;
        const int hueco = AnchoColumna(visibles[k]);
        const int ancho = std::max(0, hueco - 2);

        EtiquetaInforme *titulo = crearTitulo(QStringLiteral("LBCabecera%1").arg(k), PageHeader, campo.fieldName());
        titulo->Left = izquierda;
        titulo->Top = 79;
        titulo->Width = ancho;
        comprimir(*titulo);
        EtiquetasCabecera[k] = titulo;

        crearValor(k, campo, izquierda, 0, ancho, BandaDetalle->Height);

        const auto crearSuma = [&](const QString &nombre, BandaInforme *banda, int arriba) {
            auto *suma = make<ExpresionInforme>(nombre, banda);
            suma->Expression = QStringLiteral("Sum(%1)").arg(campo.fieldName());
            suma->Mask = plantillaNumerica(campo.fieldName());
            suma->ResetAfterPrint = true;
            suma->Alignment = plat::taRightJustify;
            suma->AutoStretch = true;
            suma->WordWrap = AjustarPalabras;
            suma->Font = fuenteValores();
            suma->Font.setBold(true);
            suma->Color = banda->Color;
            suma->Left = izquierda;
            suma->Top = arriba;
            suma->Width = ancho;
            suma->OnPrint = [this](QObject *s, QString &v) { LBTotalesPrint(s, v); };
            // A sum over a field that is not a float never prints (and adds nothing up).
            suma->Enabled = esFlotante(campo);
            if (!esFlotante(campo))
                suma->Expression = u'\'' + campo.fieldName() + u'\'';
            comprimir(*suma);
            return suma;
        };
        SumasGrupo[k] = crearSuma(QStringLiteral("LBPieGrupo%1").arg(k), BandaPieGrupo, 2);
        SumasTotales[k] = crearSuma(QStringLiteral("LBTotales%1").arg(k), BandaTotales, 8);
        izquierda += hueco;
    }
    BandaDetalle->Height = 15;
    BandaTotales->Height = 17;
    comprimirPartesFijas(nullptr);
}

void TfGENELPRO::ConstruirFichas()
{
    SeparadorCabecera->Enabled = false;
    SeparadorPieGrupo->Enabled = false;
    SeparadorTotales->Enabled = false;
    BordeBandaDetalle->Enabled = true;
    BandaDetalle->ForceNewPage = SepararPorPaginas;
    BandaCabeceraGrupo->Enabled = false;
    BandaPieGrupo->Enabled = false;
    BandaTotales->Enabled = false;
    leerCampos();
    liberarControles();
    ponerMargenesYAncho(false);
    ponerEmpresaYLogotipo();

    plat::DataSet *datos = QuickReport->DataSet;
    QVector<int> visibles;
    for (int i = 0; i <= UltimoCampo; ++i)
        if (datos->field(i).tag < 999)
            visibles << i;
    const GeometriaFicha ficha = geometriaFicha(int(visibles.size()), UltimoCampo, NumeroColumnasFicha, anchoImprimible_);
    EtiquetasCabecera.fill(nullptr, visibles.size());
    EtiquetasDetalle.fill(nullptr, visibles.size());
    Imagenes.fill(nullptr, visibles.size());

    const int altoMemo = altoMemoFicha(NumeroLineasMemoFicha);
    int arriba = 17, fondo = 17;
    bool anteriorMemo = false;
    for (int k = 0; k < visibles.size(); ++k) {
        plat::Field &campo = datos->field(visibles[k]);
        campo.tag = k;
        if (k % ficha.lineasPorColumna == 0)
            arriba = 17;
        else
            arriba += 17 + (anteriorMemo ? altoMemo - 15 : 0);
        anteriorMemo = esMemo(campo);
        const int alto = anteriorMemo ? altoMemo : 17;
        fondo = std::max(fondo, arriba + (anteriorMemo ? altoMemo - 15 : 0));

        EtiquetaInforme *titulo = crearTitulo(QStringLiteral("LBCabecera%1").arg(k), BandaDetalle, campo.fieldName());
        titulo->Left = ficha.izquierdaTitulo(k);
        titulo->Top = arriba;
        titulo->Width = ficha.anchoTitulo();
        comprimir(*titulo);
        EtiquetasCabecera[k] = titulo;
        crearValor(k, campo, ficha.izquierdaValor(k), arriba, ficha.anchoValor(), alto);
    }
    BandaDetalle->Height = fondo + 32;
    BordeBandaDetalle->Left = 0;
    BordeBandaDetalle->Top = 2;
    BordeBandaDetalle->Width = anchoImprimible_ - 2;
    BordeBandaDetalle->Height = BandaDetalle->Height - 2;
    comprimirPartesFijas(BordeBandaDetalle);
}

void TfGENELPRO::BandaDetalleBeforePrint(QObject *, bool &)
{
    for (int k = 0; k < EtiquetasDetalle.size(); ++k) {
        plat::Field *campo = CampoDeColumna(k);
        if (!campo)
            continue;
        if (ImagenInforme *imagen = Imagenes.value(k)) {
            imagen->Picture = QImage::fromData(campo->asBytes());
        } else if (EtiquetaInforme *valor = EtiquetasDetalle.value(k)) {
            valor->Caption = campo->asString();
        }
    }
    if (!HayInstrucciones)
        return;
    plat::DataSet *datos = QuickReport->DataSet;
    InstruccionesFila = datos->field(datos->fieldCount() - 1).asString().split(QRegularExpression(QStringLiteral("\r?\n")));
    const bool negrita = filaEnNegrita(InstruccionesFila);
    for (EtiquetaInforme *valor : std::as_const(EtiquetasDetalle)) {
        if (!valor)
            continue;
        const int puntos = valor->Font.pointSize();
        valor->Font = fuenteValores();
        valor->Font.setPointSize(puntos);
        valor->Font.setBold(negrita);
    }
}

void TfGENELPRO::alinearPorInstrucciones(ControlTextoInforme &control, const QString &nombreCampo, bool flotante)
{
    control.Alignment = flotante && !FormatoFicha ? plat::taRightJustify : plat::taLeftJustify;
    if (alinearDerechaPorInstruccion(InstruccionesFila, nombreCampo))
        control.Alignment = plat::taRightJustify;
}

void TfGENELPRO::LBDetallePrint(QObject *Sender, QString &Value)
{
    auto *valor = qobject_cast<EtiquetaInforme *>(Sender);
    if (!valor)
        return;
    plat::Field *campo = CampoDeColumna(valor->objectName().mid(int(qstrlen("LBDetalle"))).toInt());
    if (!campo)
        return;
    try {
        if (esFlotante(*campo)) {
            Value = campo->isNull() ? QString() : plat::formatFloat(plantillaNumerica(campo->fieldName()), campo->asFloat());
        } else if (esFechaHora(*campo)) {
            const QDateTime fecha = campo->asDateTime();
            if (campo->fieldName().contains(QLatin1String("Hora"), Qt::CaseInsensitive))
                Value = fecha.isValid() ? FormatearFechaHora(QStringLiteral("hh:nn:ss"), fecha) : QString();
            else if (campo->isNull() || !fecha.isValid())
                Value.clear();
        }
    } catch (const std::exception &) {
        // The value prints as it came.
    }
    if (HayInstrucciones)
        alinearPorInstrucciones(*valor, campo->fieldName(), esFlotante(*campo));
}

void TfGENELPRO::LBTotalesPrint(QObject *Sender, QString &)
{
    auto *suma = qobject_cast<ExpresionInforme *>(Sender);
    if (!suma || !HayInstrucciones)
        return;
    const QString nombre = suma->objectName();
    const int columna = nombre.mid(nombre.startsWith(QLatin1String("LBPieGrupo")) ? 10 : 9).toInt();
    if (plat::Field *campo = CampoDeColumna(columna))
        alinearPorInstrucciones(*suma, campo->fieldName(), esFlotante(*campo));
}

void TfGENELPRO::ponerSumas(const QVector<ExpresionInforme *> &sumas)
{
    const SumatoriosListado pedidos(Sumatorios);
    for (int k = 0; k < sumas.size(); ++k) {
        plat::Field *campo = CampoDeColumna(k);
        if (sumas[k])
            sumas[k]->Enabled = campo && esFlotante(*campo) && pedidos.suma(campo->fieldName());
    }
}

void TfGENELPRO::BandaPieGrupoBeforePrint(QObject *, bool &)
{
    if (!FormatoFicha)
        ponerSumas(SumasGrupo);
}

void TfGENELPRO::BandaTotalesBeforePrint(QObject *, bool &PrintBand)
{
    if (!FormatoFicha)
        ponerSumas(SumasTotales);
    PrintBand = !Sumatorios.isEmpty();
}

void TfGENELPRO::BandaCabeceraGrupoBeforePrint(QObject *, bool &)
{
    const QStringList nombres = nombresGrupo(Grupos);
    ImgCabeceraGrupo->Left = 0;
    ImgCabeceraGrupo->Top = 0;
    ImgCabeceraGrupo->Width = anchoImprimible_;
    ImgCabeceraGrupo->Height = BandaCabeceraGrupo->Height;
    plat::Canvas &lienzo = ImgCabeceraGrupo->canvas();
    lienzo.brush().Color = plat::clWhite;
    lienzo.FillRect(QRect(0, 0, ImgCabeceraGrupo->Width, ImgCabeceraGrupo->Height));
    QFont fuente = fuenteValores();
    fuente.setBold(true);
    lienzo.setFont(fuente);
    int x = 0;
    plat::DataSet *datos = QuickReport->DataSet;
    for (int i = 0; datos && i <= UltimoCampo; ++i) {
        plat::Field &campo = datos->field(i);
        if (campo.tag != 999 || !esCampoDeGrupo(nombres, campo.fieldName()))
            continue;
        const QString titulo = TituloColumna(campo.fieldName()) + u':';
        lienzo.font().Color = plat::clNavy;
        lienzo.TextOut(x, 4, titulo);
        x += lienzo.TextWidth(titulo) + 4;
        const QString valor = campo.text();
        lienzo.font().Color = plat::clBlack;
        lienzo.TextOut(x, 4, valor);
        x += lienzo.TextWidth(valor) + 8;
    }
}

void TfGENELPRO::ponerRestriccionesAlImprimir()
{
    CabeceraRestricciones *cabecera = CabeceraRestricciones::de(*QuickReport);
    if (!cabecera)
        cabecera = new CabeceraRestricciones(*this, *PageHeader, TituloLogotipoEmpresa->Height);
    const auto &dialogo = serviciosListado().valor().RestriccionesDialogoListado;
    const QString texto = textoRestriccionesDatos(QuickReport->DataSet, dialogo ? dialogo() : RestriccionesDialogo());
    cabecera->ponerTextoImpresion(texto);
    cabecera->empezarPrimeraPagina();
}

void TfGENELPRO::QuickReportPreview(QObject *)
{
    AbrirPrevisualizacion(*QuickReport);
}

void TfGENELPRO::FormActivate(QObject *)
{
    update();
}

void TfGENELPRO::FormClose(QObject *, plat::CloseAction &)
{
    liberarControles();
    plat::application().setCursor(plat::crDefault);
}

void TfGENELPRO::FormDestroy(QObject *)
{
    ListaSumatorios.clear();
    InstruccionesFila.clear();
}

void TfGENELPRO::BuscarDatosDBEdit(QObject *) {}
