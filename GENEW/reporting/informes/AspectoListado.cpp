#include "GENEW/reporting/informes/AspectoListado.h"

#include "GENEW/data/modulo/Genemodu.h"

#include <QFontDatabase>
#include <algorithm>

namespace {

// A font name the system knows (ignoring case), in its own spelling; empty when unknown.
QString familiaConocida(const QString &nombre)
{
    for (const QString &familia : QFontDatabase::families())
        if (familia.compare(nombre, Qt::CaseInsensitive) == 0)
            return familia;
    return QString();
}

} // namespace

void comprimirFuenteListado(QFont &fuente, const ParametrosListado &p)
{
    const double puntos = fuente.pointSizeF() > 0 ? fuente.pointSizeF() : 10;
    fuente.setPointSize(std::max(1, int(puntos * p.FCompresionTLetraListados)));
    if (p.TipoLetraListados != QLatin1String("Por Defecto")) {
        const QString familia = familiaConocida(p.TipoLetraListados);
        if (!familia.isEmpty())
            fuente.setFamily(familia);
    }
}

void enmarcarEtiqueta(EtiquetaInforme &etiqueta)
{
    etiqueta.Color = plat::clWhite;
    etiqueta.FontColor = plat::clBlack;
    etiqueta.Frame = {true, true, true, true, plat::clBlack, 1};
}

// Style of the fixed parts: silver bands go white, black-backed labels framed, texts black.
void aplicarEstiloListado(Informe &informe, const QString &estilo)
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
                    enmarcarEtiqueta(*etiqueta);
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

void comprimirListadoAlCrear(Informe &informe, const ParametrosListado &p)
{
    if (!p.compresionGeneral())
        return;
    for (BandaInforme *banda : informe.bandas()) {
        comprimirFuenteListado(banda->Font, p);
        for (ControlInforme *control : banda->controles()) {
            control->Left = int(control->Left * p.FCompresionListados) + 4;
            control->Width = int(control->Width * p.FCompresionListados);
            if (qobject_cast<ControlTextoInforme *>(control))
                comprimirFuenteListado(control->Font, p);
        }
    }
}

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


PieListado crearPieListado(plat::Form &ventana, BandaInforme &pie, int ancho)
{
    PieListado p;
    p.numeroPagina = ventana.make<DatoSistemaInforme>(QStringLiteral("QRNumeroPagina"), &pie);
    p.numeroPagina->Data = qrsPageNumber;
    p.numeroPagina->Text = QStringLiteral("Página  ");
    p.numeroPagina->Top = 8;
    p.numeroPagina->Width = ancho;
    p.numeroPagina->Alignment = plat::taCenter;
    p.numeroPagina->Font = QFont(QStringLiteral("Arial"), 8);
    p.fechaImpreso = ventana.make<DatoSistemaInforme>(QStringLiteral("QRFechaImpreso"), &pie);
    p.fechaImpreso->Data = qrsDateTime;
    p.fechaImpreso->Text = QStringLiteral("Impreso el ");
    p.fechaImpreso->Top = 24;
    p.fechaImpreso->Width = 200;
    p.fechaImpreso->Left = ancho - p.fechaImpreso->Width;
    p.fechaImpreso->Alignment = plat::taRightJustify;
    p.fechaImpreso->Font = QFont(QStringLiteral("Arial"), 8);
    return p;
}

CabeceraListado crearCabeceraListado(plat::Form &ventana, Informe &informe, int ancho)
{
    CabeceraListado c;
    c.banda = ventana.make<BandaInforme>(QStringLiteral("PageHeader"), &informe, TipoBanda::CabeceraPagina);
    c.banda->Height = 99;
    c.titulo = ventana.make<DatoSistemaInforme>(QStringLiteral("QRTitulo"), c.banda);
    c.titulo->Data = qrsReportTitle;
    c.titulo->Top = 12;
    c.titulo->Width = ancho;
    c.titulo->Alignment = plat::taCenter;
    c.titulo->Font = QFont(QStringLiteral("Arial"), 12, QFont::Bold);
    c.titulo->FontColor = plat::clTeal;
    c.nombreEmpresa = ventana.make<EtiquetaInforme>(QStringLiteral("TituloNombreEmpresa"), c.banda);
    c.nombreEmpresa->Top = 32;
    c.nombreEmpresa->Width = ancho;
    c.nombreEmpresa->Height = 17;
    c.nombreEmpresa->Alignment = plat::taCenter;
    c.nombreEmpresa->Font = QFont(QStringLiteral("Arial"), 10, QFont::Bold);
    c.logotipo = ventana.make<ImagenInforme>(QStringLiteral("TituloLogotipoEmpresa"), c.banda);
    c.logotipo->Width = 100;
    c.logotipo->Height = 75;
    c.logotipo->Center = true;
    c.logotipo->Stretch = true;
    return c;
}
