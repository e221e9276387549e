#include "GENEW/reporting/informes/GENELPRO.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/servicios/NombreEmpresaInforme.h"
#include "GENEW/reporting/informes/DisenoListado.h"
#include "GENEW/reporting/informes/GENEPREV.h"
#include "GENEW/reporting/informes/MedidasTexto.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/data/ValueText.h"
#include "platform/ui/Application.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>
#include <vector>

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

// A date-time the program keeps as zero: none, or the zero day at midnight.
bool esFechaCero(const QDateTime &fecha)
{
    return !fecha.isValid() || (fecha.date() == QDate(1899, 12, 30) && fecha.time() == QTime(0, 0));
}

// Dates and numbers: a column of them is never narrower than its widest value, since a
// value cut short ("08/12/202") is a wrong value; texts wrap or end in "…".
bool esAnchoFijo(const plat::Field &campo)
{
    switch (campo.dataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftDate:
    case ftTime:
    case ftDateTime:
        return true;
    default:
        return false;
    }
}

// The text a value label prints for the field's value (comoVino, the field's text, read here
// when not given and only when it prints): floats by the numeric template, the time of a
// "Hora" field, nothing for the zero date. A value that cannot be formatted prints as it came.
QString textoValorListado(const plat::Field &campo, const QString *comoVino = nullptr)
{
    try {
        if (esFlotante(campo))
            return campo.isNull() ? QString() : plat::formatFloat(plantillaNumerica(campo.fieldName()), campo.asFloat());
        if (esFechaHora(campo)) {
            const QDateTime fecha = campo.asDateTime();
            if (campo.fieldName().contains(QLatin1String("Hora"), Qt::CaseInsensitive))
                return fecha.isValid() ? FormatearFechaHora(QStringLiteral("hh:nn:ss"), fecha) : QString();
            if (campo.isNull() || esFechaCero(fecha))
                return QString();
        }
    } catch (const std::exception &) {
        // The value prints as it came.
    }
    return comoVino ? *comoVino : campo.asString();
}

// The widest of the texts of a column, read as they print. Texts of one length are drawn in
// about one width (figures in exactly one), so only those nearly as long as the longest so
// far are measured.
class AnchoMayor
{
public:
    AnchoMayor(MedidasTexto &medidas, const QFont &fuente) : medidas_(medidas), fuente_(fuente) {}
    void medir(QStringView texto)
    {
        if (texto.size() + 2 < largo_)
            return;
        largo_ = std::max(largo_, texto.size());
        ancho_ = std::max(ancho_, medidas_.ancho(medidas_.fuente(fuente_), texto.toString()));
    }
    // Each word of the text, words parted by white space.
    void medirPalabras(QStringView texto)
    {
        qsizetype desde = 0;
        for (qsizetype i = 0; i <= texto.size(); ++i) {
            if (i < texto.size() && !texto[i].isSpace())
                continue;
            if (i > desde)
                medir(texto.sliced(desde, i - desde));
            desde = i + 1;
        }
    }
    double ancho() const { return ancho_; }

private:
    MedidasTexto &medidas_;
    QFont fuente_;
    qsizetype largo_ = 0;
    double ancho_ = 0;
};

struct SumaPorSigno
{
    double positivos = 0, negativos = 0;
};

// The sums of the positive and of the negative values of each field (by index) over the rows
// the dataset shows, read as it keeps them; none when a field is not stored (a calculated
// one) or holds a value that is not a number, whose reading only the field itself knows.
std::optional<QVector<SumaPorSigno>> sumasPorSigno(plat::DataSet &datos, const QList<int> &campos)
{
    for (int indice : campos)
        if (datos.field(indice).fieldKind() != plat::FieldKind::Data)
            return std::nullopt;
    QVector<SumaPorSigno> sumas(campos.size());
    bool numeros = true;
    const auto sumar = [&](const QVariant *fila) {
        for (qsizetype i = 0; i < sumas.size(); ++i) {
            const QVariant &valor = fila[i];
            if (!valor.isValid() || valor.isNull())
                continue;
            if (valor.typeId() != QMetaType::Double)
                return numeros = false;
            const double numero = valor.toDouble();
            (numero < 0 ? sumas[i].negativos : sumas[i].positivos) += numero;
        }
        return true;
    };
    plat::DataSet::StoredRows filas(datos, campos);
    constexpr int kLote = 4096;
    while (filas.visit(kLote, sumar) > 0 && numeros) {
    }
    return numeros ? std::optional(sumas) : std::nullopt;
}

// Walks the listing's rows, its grids not following, and leaves it on its first row.
class RecorridoListado
{
public:
    explicit RecorridoListado(plat::DataSet &datos) : datos_(datos) { datos_.disableControls(); }
    ~RecorridoListado()
    {
        datos_.first();
        datos_.enableControls();
    }
    RecorridoListado(const RecorridoListado &) = delete;
    RecorridoListado &operator=(const RecorridoListado &) = delete;

private:
    plat::DataSet &datos_;
};

// The narrowest a text column is made to give room to dates and numbers: a letter and "…".
constexpr int kHuecoMinimoTexto = 20;
// What a value label needs beyond its text: the 2 pixels between columns and one for the
// text's antialiased edge.
constexpr int kMargenValor = 3;

// The window the listing was started from: the main form's active MDI child.
std::optional<VentanaLlamante> ventanaActiva()
{
    const plat::Form *principal = plat::application().mainForm();
    const plat::Form *activa = principal ? principal->activeMdiChild() : nullptr;
    return activa ? std::optional(leerVentanaLlamante(*activa)) : std::nullopt;
}

// The listing dialog, when one is open.
RestriccionesDialogo dialogoListado()
{
    for (const plat::Form *formulario : plat::application().forms())
        if (formulario->objectName().compare(QLatin1String("fGENECPRO"), Qt::CaseInsensitive) == 0)
            return leerRestriccionesDialogo(*formulario);
    return RestriccionesDialogo();
}

} // namespace

Gancho<ServiciosListado> &serviciosListado()
{
    // The form framework's part is reached through the start-up form while it lives, as the
    // preview does; tests install their own.
    static Gancho<ServiciosListado> gancho([] {
        ServiciosListado porDefecto;
        porDefecto.PrepararFormulario = [](QObject *formulario) {
            if (fGENEINIC)
                fGENEINIC->PrepararFormulario(formulario);
        };
        porDefecto.TraducirFormulario = [](QObject *formulario) {
            if (fGENEINIC)
                fGENEINIC->TraducirFormulario(formulario);
        };
        porDefecto.AsignarBotonEuro = [](QObject *formulario, const QString &modo) {
            if (fGENEINIC)
                fGENEINIC->AsignarBotonEuro(formulario, modo);
        };
        porDefecto.PonerListadoCancelado = [](bool cancelado) { ListadoCancelado = cancelado; };
        porDefecto.ControlesVentanaLlamante = ventanaActiva;
        porDefecto.RestriccionesDialogoListado = dialogoListado;
        return porDefecto;
    }());
    return gancho;
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
    aplicarEstiloListado(informe, parametros.TipoCombinacionTramas);
    comprimirListadoAlCrear(informe, parametros);
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

    const CabeceraListado cabecera = crearCabeceraListado(*this, *QuickReport, ancho);
    PageHeader = cabecera.banda;
    QRTitulo = cabecera.titulo;
    TituloNombreEmpresa = cabecera.nombreEmpresa;
    TituloLogotipoEmpresa = cabecera.logotipo;
    TituloNombreEmpresa->WordWrap = true;

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
    const PieListado pie = crearPieListado(*this, *PageFooter, ancho);
    QRNumeroPagina = pie.numeroPagina;
    QRFechaImpreso = pie.fechaImpreso;

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
    // A later print without it lists the rows again.
    BandaDetalle->Enabled = !SoloTotales;
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
        enmarcarEtiqueta(*titulo);
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
    valor->cortarConElipsis = !AjustarPalabras;
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
        comprimirFuenteListado(control.Font, Parametros);
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
    if (!datos || indiceCampo < 0 || indiceCampo > UltimoCampo || datos->field(indiceCampo).tag == 999)
        return 0;
    const QVector<double> formato = pesosFormatoColumnas(FormatoColumnas, UltimoCampo + 1);
    QVector<double> pesos;
    int posicion = 0;
    for (int i = 0; i <= UltimoCampo; ++i) {
        if (datos->field(i).tag == 999)
            continue;
        if (i < indiceCampo)
            ++posicion;
        pesos << (FormatoColumnas.isEmpty() ? double(datos->field(i).effectiveDisplayWidth()) : formato[i]);
    }
    return huecosColumnas(pesos, anchoImprimible_).value(posicion);
}

QVector<NecesidadColumna> TfGENELPRO::necesidadesColumnas(const QVector<int> &visibles)
{
    QVector<NecesidadColumna> necesidades(visibles.size());
    plat::DataSet *datos = QuickReport->DataSet;
    if (!datos || !datos->active())
        return necesidades;
    // Measured in the fonts as they print, compression included, and given back in the
    // widths before compression.
    QFont valores = fuenteValores(), sumas = valores;
    sumas.setBold(true);
    double escala = 1;
    if (Parametros.compresionGeneral()) {
        comprimirFuenteListado(valores, Parametros);
        comprimirFuenteListado(sumas, Parametros);
        escala = Parametros.FCompresionListados;
    }
    struct Columna
    {
        int indice;
        plat::Field *campo;
        bool fija;
        AnchoMayor valores, sumas;
        double positivos = 0, negativos = 0;
        bool conSuma = false;
    };
    MedidasTexto medidas;
    const SumatoriosListado pedidos(Sumatorios);
    std::vector<Columna> columnas;
    for (int k = 0; k < visibles.size(); ++k) {
        plat::Field &campo = datos->field(visibles[k]);
        if (esImagen(campo))
            continue;
        const bool conSuma = esFlotante(campo) && pedidos.hayResumen() && pedidos.suma(campo.fieldName());
        // Listing only the totals prints no row's value: only the sums need room.
        if (SoloTotales && !conSuma)
            continue;
        columnas.push_back({k, &campo, esAnchoFijo(campo), AnchoMayor(medidas, valores), AnchoMayor(medidas, sumas)});
        columnas.back().conSuma = conSuma;
    }
    if (columnas.empty())
        return necesidades;
    // A listing of totals reads the sums' values where the dataset keeps them, without
    // making each row the current record; other listings measure every value as it prints.
    bool sumado = false;
    if (SoloTotales) {
        QList<int> sumados;
        for (const Columna &c : columnas)
            sumados << visibles[c.indice];
        if (const std::optional<QVector<SumaPorSigno>> sumas = sumasPorSigno(*datos, sumados)) {
            for (size_t i = 0; i < columnas.size(); ++i) {
                columnas[i].positivos = (*sumas)[qsizetype(i)].positivos;
                columnas[i].negativos = (*sumas)[qsizetype(i)].negativos;
            }
            sumado = true;
        }
    }
    if (!sumado) {
        const RecorridoListado recorrido(*datos);
        for (datos->first(); !datos->eof(); datos->next()) {
            for (Columna &c : columnas) {
                if (SoloTotales) {
                    if (!c.campo->isNull())
                        (c.campo->asFloat() < 0 ? c.negativos : c.positivos) += c.campo->asFloat();
                    continue;
                }
                const QString texto = textoValorListado(*c.campo);
                if (!c.fija) {
                    c.valores.medirPalabras(texto);
                    continue;
                }
                c.valores.medir(texto);
                if (c.conSuma && !c.campo->isNull())
                    (c.campo->asFloat() < 0 ? c.negativos : c.positivos) += c.campo->asFloat();
            }
        }
    }
    for (Columna &c : columnas) {
        // A group's sum never goes beyond the sum of the same sign over the whole listing.
        if (c.conSuma) {
            const QString mascara = plantillaNumerica(c.campo->fieldName());
            c.sumas.medir(plat::formatFloat(mascara, c.positivos));
            c.sumas.medir(plat::formatFloat(mascara, c.negativos));
        }
        const double texto = std::max(c.valores.ancho(), c.sumas.ancho());
        if (texto <= 0)
            continue;
        const int hueco = int(std::ceil(texto / escala)) + kMargenValor;
        (c.fija ? necesidades[c.indice].minimo : necesidades[c.indice].deseado) = hueco;
    }
    return necesidades;
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
    BandaDetalle->ForceNewPage = false;   // a card build may have set it
    BandaTotales->Enabled = true;
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

    QVector<int> huecos;
    for (int k = 0; k < visibles.size(); ++k) {
        datos->field(visibles[k]).tag = k;
        huecos << AnchoColumna(visibles[k]);
    }
    huecos = huecosConMinimos(huecos, necesidadesColumnas(visibles), kHuecoMinimoTexto);

    int izquierda = 0;
    for (int k = 0; k < visibles.size(); ++k) {
        plat::Field &campo = datos->field(visibles[k]);
        const int hueco = huecos[k];
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
    // Every field but the hidden ones is a card line; those tagged above 999 do not count
    // for the lines per card column.
    QVector<int> visibles;
    int contados = 0;
    for (int i = 0; i <= UltimoCampo; ++i) {
        const int tag = datos->field(i).tag;
        if (tag != 999)
            visibles << i;
        contados += tag < 999;
    }
    const GeometriaFicha ficha = geometriaFicha(contados, UltimoCampo, NumeroColumnasFicha, anchoImprimible_);
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
    // The font each label was built with, bold or not by the row.
    for (EtiquetaInforme *valor : std::as_const(EtiquetasDetalle))
        if (valor)
            valor->Font.setBold(negrita);
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
    Value = textoValorListado(*campo, &Value);
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
