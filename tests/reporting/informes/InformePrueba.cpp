#include "tests/reporting/informes/InformePrueba.h"

#include <QProcess>
#include <QRegularExpression>

namespace gptest {

std::unique_ptr<plat::ClientDataSet> datosPrueba(int filas, int porGrupo)
{
    auto datos = std::make_unique<plat::ClientDataSet>(QStringLiteral("Datos"));
    datos->setFieldDefs({plat::fieldDef("Grupo", ftString, 10), plat::fieldDef("Nombre", ftString, 60),
                         plat::fieldDef("Importe", ftFloat)});
    datos->createDataSet();
    for (int i = 1; i <= filas; ++i) {
        datos->append();
        datos->fieldByName("Grupo").setAsString(QStringLiteral("G%1").arg((i - 1) / porGrupo + 1, 2, 10, QChar(u'0')));
        datos->fieldByName("Nombre").setAsString(QStringLiteral("Registro %1").arg(i));
        datos->fieldByName("Importe").setAsFloat(i);
        datos->post();
    }
    datos->first();
    return datos;
}

VentanaInforme::VentanaInforme()
{
    setObjectName(QStringLiteral("fPRUEBA"));
    informe = make<Informe>(QStringLiteral("QuickReport"), this);
    informe->PrintIfEmpty = false;
    const int ancho = int(informe->page()->imprimible().width());

    cabecera = make<BandaInforme>(QStringLiteral("PageHeader"), informe, TipoBanda::CabeceraPagina);
    cabecera->Height = 99;
    titulo = make<DatoSistemaInforme>(QStringLiteral("QRTitulo"), cabecera);
    titulo->Data = qrsReportTitle;
    titulo->Top = 12;
    titulo->Width = ancho;
    titulo->Alignment = plat::taCenter;
    titulo->Font = QFont(QStringLiteral("Arial"), 12, QFont::Bold);
    titulo->FontColor = plat::clTeal;

    grupo = make<GrupoInforme>(QStringLiteral("BandaCabeceraGrupo"), informe);
    grupo->Height = 32;
    grupo->Color = plat::clSilver;
    grupo->Enabled = false;
    imagenGrupo = make<ImagenInforme>(QStringLiteral("ImgCabeceraGrupo"), grupo);
    imagenGrupo->Width = ancho;
    imagenGrupo->Height = 32;

    detalle = make<BandaInforme>(QStringLiteral("BandaDetalle"), informe, TipoBanda::Detalle);
    detalle->Height = 15;
    detalle->Font = QFont(QStringLiteral("Arial"), 8);
    nombre = make<TextoDatoInforme>(QStringLiteral("LBNombre"), detalle);
    nombre->DataField = QStringLiteral("Nombre");
    nombre->Width = 300;
    importe = make<TextoDatoInforme>(QStringLiteral("LBImporte"), detalle);
    importe->DataField = QStringLiteral("Importe");
    importe->Mask = QStringLiteral("#,##0.00");
    importe->Left = 400;
    importe->Width = 100;
    importe->Alignment = plat::taRightJustify;

    pieGrupo = make<BandaInforme>(QStringLiteral("BandaPieGrupo"), informe, TipoBanda::PieGrupo);
    pieGrupo->Height = 17;
    pieGrupo->Color = plat::clSilver;
    pieGrupo->Enabled = false;
    grupo->FooterBand = pieGrupo;
    sumaGrupo = make<ExpresionInforme>(QStringLiteral("SumaGrupo"), pieGrupo);
    sumaGrupo->Expression = QStringLiteral("Sum(Importe)");
    sumaGrupo->Mask = QStringLiteral("#,##0.00");
    sumaGrupo->ResetAfterPrint = true;
    sumaGrupo->Left = 400;
    sumaGrupo->Width = 100;
    sumaGrupo->Alignment = plat::taRightJustify;

    totales = make<BandaInforme>(QStringLiteral("BandaTotales"), informe, TipoBanda::Resumen);
    totales->Height = 32;
    sumaTotal = make<ExpresionInforme>(QStringLiteral("SumaTotal"), totales);
    sumaTotal->Expression = QStringLiteral("Sum(Importe)");
    sumaTotal->Mask = QStringLiteral("#,##0.00");
    sumaTotal->Left = 400;
    sumaTotal->Top = 8;
    sumaTotal->Width = 100;
    sumaTotal->Alignment = plat::taRightJustify;

    pie = make<BandaInforme>(QStringLiteral("PageFooter"), informe, TipoBanda::PiePagina);
    pie->Height = 45;
    numeroPagina = make<DatoSistemaInforme>(QStringLiteral("QRNumeroPagina"), pie);
    numeroPagina->Data = qrsPageNumber;
    numeroPagina->Text = QStringLiteral("Página  ");
    numeroPagina->Top = 8;
    numeroPagina->Width = ancho;
    numeroPagina->Alignment = plat::taCenter;
    numeroPagina->Font = QFont(QStringLiteral("Arial"), 8);
    fechaImpreso = make<DatoSistemaInforme>(QStringLiteral("QRFechaImpreso"), pie);
    fechaImpreso->Data = qrsDateTime;
    fechaImpreso->Text = QStringLiteral("Impreso el ");
    fechaImpreso->Top = 24;
    fechaImpreso->Left = ancho - 200;
    fechaImpreso->Width = 200;
    fechaImpreso->Alignment = plat::taRightJustify;
    fechaImpreso->Font = QFont(QStringLiteral("Arial"), 8);

    // The group header draws its value on the picture at print time.
    grupo->BeforePrint = [this](QObject *, bool &) {
        plat::Canvas &lienzo = imagenGrupo->canvas();
        lienzo.brush().Color = plat::clWhite;
        lienzo.FillRect(QRect(0, 0, imagenGrupo->Width, imagenGrupo->Height));
        lienzo.setFont(QFont(QStringLiteral("Arial"), 8, QFont::Bold));
        lienzo.font().Color = plat::clNavy;
        lienzo.TextOut(0, 4, QStringLiteral("Grupo:"));
        lienzo.font().Color = plat::clBlack;
        lienzo.TextOut(lienzo.TextWidth(QStringLiteral("Grupo:")) + 4, 4,
                       informe->DataSet->fieldByName(QStringLiteral("Grupo")).asString());
    };
}

void VentanaInforme::ponerDatos(plat::DataSet *datos)
{
    informe->DataSet = datos;
    nombre->DataSet = datos;
    importe->DataSet = datos;
}

void VentanaInforme::activarGrupo(const QString &expresion)
{
    grupo->Enabled = true;
    grupo->Expression = expresion;
    pieGrupo->Enabled = true;
}

QList<QStringList> bandasPorPagina(const ImpresoraInforme &impresora)
{
    QList<QStringList> paginas;
    for (const PaginaCompartida &pagina : impresora.paginas()) {
        QStringList nombres;
        for (const BandaImpresa &banda : pagina->bandas)
            nombres << banda.nombre;
        paginas << nombres;
    }
    return paginas;
}

QStringList textosDe(const ImpresoraInforme &impresora, const QString &nombre)
{
    QStringList textos;
    for (const PaginaCompartida &pagina : impresora.paginas())
        for (const BandaImpresa &banda : pagina->bandas)
            if (banda.nombre == nombre) {
                QStringList deBanda;
                for (const TextoSituado &t : textosDeBanda(banda))
                    deBanda << t.texto;
                textos << deBanda.join(u'|');
            }
    return textos;
}

QString ejecutar(const QString &programa, const QStringList &argumentos)
{
    QProcess proceso;
    proceso.start(programa, argumentos);
    proceso.waitForFinished(30000);
    return QString::fromUtf8(proceso.readAllStandardOutput());
}

QString textoPdf(const QString &fichero) { return ejecutar(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), fichero, QStringLiteral("-")}); }

int paginasPdf(const QString &fichero)
{
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(ejecutar(QStringLiteral("pdfinfo"), {fichero}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString python(const QString &script, const QString &fichero)
{
    QProcess proceso;
    proceso.start(QStringLiteral("python3"), {QStringLiteral("-c"), script, fichero});
    proceso.waitForFinished(30000);
    return QString::fromUtf8(proceso.readAllStandardOutput()) + QString::fromUtf8(proceso.readAllStandardError());
}

} // namespace gptest
