#include "GENEW/reporting/informes/GENELPRO.h"

#include "GENEW/reporting/informes/GENEPREV.h"
#include "GENEW/reporting/informes/ImpresoraInforme.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/QueryDataSet.h"
#include "tests/data/ModuloFixture.h"
#include "tests/reporting/informes/ImpresoraGrabadora.h"
#include "tests/reporting/informes/InformePrueba.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"

#include <QBuffer>
#include <QPointer>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QTimer>

using namespace gptest;

namespace {

struct Fila
{
    const char *codigo, *zona;
    double importe;
    const char *total;
    QTime hora;
    QDate alta;
    const char *notas, *instrucciones;
};

QByteArray imagenPng()
{
    QImage imagen(8, 8, QImage::Format_RGB32);
    imagen.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    imagen.save(&buffer, "PNG");
    return bytes;
}

// The projects a listing lists: a text key, a zone to group by, a float amount, a text
// column named Total, a time, a date, a memo, a picture and the row instructions.
std::unique_ptr<plat::ClientDataSet> proyectos(const QList<Fila> &filas)
{
    auto datos = std::make_unique<plat::ClientDataSet>(QStringLiteral("Proyectos"));
    datos->setFieldDefs({plat::fieldDef("CodigoProyecto", ftString, 10), plat::fieldDef("Zona", ftString, 10),
                         plat::fieldDef("Importe", ftFloat), plat::fieldDef("Total", ftString, 10),
                         plat::fieldDef("HoraInicio", ftTime), plat::fieldDef("FechaAlta", ftDate),
                         plat::fieldDef("Notas", ftMemo), plat::fieldDef("Foto", ftGraphic),
                         plat::fieldDef("InstruccionesListado", ftMemo)});
    datos->createDataSet();
    const QByteArray foto = imagenPng();
    for (const Fila &f : filas) {
        datos->append();
        datos->fieldByName("CodigoProyecto").setAsString(QString::fromUtf8(f.codigo));
        datos->fieldByName("Zona").setAsString(QString::fromUtf8(f.zona));
        datos->fieldByName("Importe").setAsFloat(f.importe);
        datos->fieldByName("Total").setAsString(QString::fromUtf8(f.total));
        if (f.hora.isValid())
            datos->fieldByName("HoraInicio").setAsDateTime(QDateTime(QDate(1899, 12, 30), f.hora));
        if (f.alta.isValid())
            datos->fieldByName("FechaAlta").setAsDateTime(f.alta.startOfDay());
        datos->fieldByName("Notas").setAsString(QString::fromUtf8(f.notas));
        datos->fieldByName("Foto").setAsBytes(foto);
        datos->fieldByName("InstruccionesListado").setAsString(QString::fromUtf8(f.instrucciones));
        datos->post();
    }
    datos->first();
    return datos;
}

const QList<Fila> kFilas = {
    {"0001", "Norte", 1234.5, "Uno", QTime(8, 30), QDate(2026, 3, 1), "Primera nota", "Negrita\nImporte=JR"},
    {"0002", "Norte", 10, "Dos", QTime(9, 0), QDate(1899, 12, 30), "Segunda", ""},
    {"0003", "Sur", 5.25, "Tres", QTime(10, 15), QDate(2026, 4, 2), "Tercera\nen dos líneas", ""},
};

// A started program with PARAGENE, and the listing created as its callers create it.
class Listado : public ModuloFixture
{
protected:
    void SetUp() override
    {
        ModuloFixture::SetUp();
        ASSERT_TRUE(prepararMotor(false));
        datos = proyectos(kFilas);
    }

    void TearDown() override
    {
        if (fGENELPRO)
            fGENELPRO->Free();
        datos.reset();
        ModuloFixture::TearDown();
    }

    void ponerParametro(const QString &campo, const QVariant &valor)
    {
        plat::TableDataSet &parametros = modulo_->ParamGenerales->table();
        ASSERT_TRUE(parametros.active());
        parametros.edit();
        parametros.fieldByName(campo).setValue(valor);
        parametros.post();
    }

    // Created after the parameters, which the look reads at creation.
    TfGENELPRO &crear()
    {
        fGENELPRO = plat::createForm<TfGENELPRO>();
        fGENELPRO->QuickReport->DataSet = datos.get();
        fGENELPRO->QuickReport->ReportTitle = QStringLiteral("Listado de Proyectos");
        fGENELPRO->Sumatorios = QStringLiteral("Todas");
        return *fGENELPRO;
    }

    void ocultar(const QStringList &campos)
    {
        for (const QString &campo : campos)
            datos->fieldByName(campo).tag = 999;
    }

    ImpresoraInforme &preparar()
    {
        datos->first();
        fGENELPRO->QuickReport->Prepare();
        return *fGENELPRO->QuickReport->impresora();
    }

    // The printed text of a band kind on a page, first match; null when none.
    static const TextoPagina *texto(const ImpresoraInforme &impresora, const QString &banda, const QString &valor)
    {
        for (const PaginaCompartida &pagina : impresora.paginas())
            for (const BandaImpresa &b : pagina->bandas)
                if (b.nombre == banda)
                    for (const Primitiva &p : b.primitivas)
                        if (const auto *t = std::get_if<TextoPagina>(&p); t && t->texto == valor)
                            return t;
        return nullptr;
    }

    static QColor fondoDe(const ImpresoraInforme &impresora, const QString &banda)
    {
        for (const BandaImpresa &b : impresora.GetPage(1)->bandas)
            if (b.nombre == banda)
                for (const Primitiva &p : b.primitivas)
                    if (const auto *r = std::get_if<RectanguloPagina>(&p); r && r->relleno.isValid())
                        return r->relleno;
        return QColor(Qt::white);
    }

    int componentesLlamados(const QString &prefijo) const
    {
        int n = 0;
        for (QObject *c : fGENELPRO->components())
            n += c->objectName().startsWith(prefijo);
        return n;
    }

    std::unique_ptr<plat::ClientDataSet> datos;
};

// Without anything installed, a new listing reaches the running framework: a cancel left
// over from the previous listing is cleared, so the new one is not cut short.
TEST_F(Listado, UnListadoNuevoBorraLaCancelacionAnteriorDelMarco)
{
    ListadoCancelado = true;
    TfGENELPRO &l = crear();
    EXPECT_FALSE(ListadoCancelado);
    l.Free();
}

TEST_F(Listado, AnchoImprimibleYMargenesPorPapelYOrientacion)
{
    struct Caso
    {
        const char *papel;
        QPageLayout::Orientation orientacion;
        int margenParametro;
        int ancho;
        double izquierdo, derecho;
        plat::ReportPaper hoja;
    } casos[] = {
        {"", QPageLayout::Portrait, 0, 750, 5, 5, plat::ReportPaper::A4},
        {"A3", QPageLayout::Portrait, 0, 1047, 5, 5, plat::ReportPaper::A3},
        {"A4", QPageLayout::Landscape, 0, 1047, 10, 10, plat::ReportPaper::A4},
        {"A3", QPageLayout::Landscape, 12, 1511, 12, 10, plat::ReportPaper::A3},
        // Any other paper text leaves the sheet A4 and lays the columns out on it.
        {"A5", QPageLayout::Portrait, 0, 750, 5, 5, plat::ReportPaper::A4},
    };
    for (const Caso &c : casos) {
        ponerParametro(QStringLiteral("MargenIzquierdoImpresora"), c.margenParametro);
        TfGENELPRO &l = crear();
        l.TamanioPapel = QString::fromLatin1(c.papel);
        l.QuickReport->page()->Orientation = c.orientacion;
        preparar();
        EXPECT_EQ(l.QRTitulo->Width, c.ancho) << c.papel;
        EXPECT_EQ(l.QRFechaImpreso->Left + l.QRFechaImpreso->Width, c.ancho) << c.papel;
        EXPECT_EQ(l.QuickReport->page()->LeftMargin, c.izquierdo) << c.papel;
        EXPECT_EQ(l.QuickReport->page()->RightMargin, c.derecho) << c.papel;
        EXPECT_EQ(l.QuickReport->page()->PaperSize, c.hoja) << c.papel;
        // The columns never pass the page's edge.
        const EtiquetaInforme *ultima = l.EtiquetasCabecera.last();
        EXPECT_LE(ultima->Left + ultima->Width, l.QuickReport->page()->imprimible().width()) << c.papel;
        l.Free();
    }
}

TEST_F(Listado, ColumnasPorFormatoTituloYReconstruccion)
{
    TfGENELPRO &l = crear();
    ocultar({QStringLiteral("Zona"), QStringLiteral("Total"), QStringLiteral("HoraInicio"), QStringLiteral("FechaAlta"),
             QStringLiteral("Foto")});
    l.FormatoColumnas = QStringLiteral("10|99|0|99|99|99|30|99|");
    ImpresoraInforme &impresora = preparar();
    ASSERT_EQ(l.EtiquetasCabecera.size(), 3);
    const int izquierdas[] = {0, 187, 187}, anchos[] = {185, 0, 560};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(l.EtiquetasCabecera[k]->Left, izquierdas[k]) << k;
        EXPECT_EQ(l.EtiquetasCabecera[k]->Width, anchos[k]) << k;
        EXPECT_EQ(l.EtiquetasDetalle[k]->Left, izquierdas[k]) << k;
    }
    EXPECT_EQ(l.EtiquetasCabecera[0]->Caption, QStringLiteral("C.Proyecto"));
    EXPECT_EQ(l.EtiquetasCabecera[0]->Color, plat::clBlack);
    EXPECT_EQ(l.EtiquetasCabecera[0]->FontColor, plat::clWhite);
    EXPECT_EQ(textosDe(impresora, QStringLiteral("BandaDetalle")).value(0), QStringLiteral("0001|Primera nota"));
    // Hidden fields and the instructions are listed nowhere.
    EXPECT_EQ(l.CampoDeColumna(3), nullptr);

    // A second print frees the first controls: one set, the same layout.
    const int antes = l.componentCount();
    preparar();
    EXPECT_EQ(l.componentCount(), antes);
    EXPECT_EQ(componentesLlamados(QStringLiteral("LBCabecera")), 3);
    EXPECT_EQ(componentesLlamados(QStringLiteral("LBTotales")), 3);
}

TEST_F(Listado, NingunaColumnaVisibleYNombreConBlanco)
{
    TfGENELPRO &l = crear();
    for (int i = 0; i < datos->fieldCount(); ++i)
        datos->field(i).tag = 999;
    ImpresoraInforme &impresora = preparar();
    EXPECT_TRUE(l.EtiquetasCabecera.isEmpty());
    EXPECT_EQ(componentesLlamados(QStringLiteral("LBDetalle")), 0);
    EXPECT_GT(impresora.pageCount(), 0);
    EXPECT_EQ(TfGENELPRO::TituloColumna(QStringLiteral("Codigo de Proyecto")), QStringLiteral("Codigo de Proyecto"));
}

TEST_F(Listado, ValoresFormateadosEInstruccionesDeFila)
{
    TfGENELPRO &l = crear();
    ocultar({QStringLiteral("Foto")});
    ImpresoraInforme &impresora = preparar();
    const QStringList filas = textosDe(impresora, QStringLiteral("BandaDetalle"));
    ASSERT_EQ(filas.size(), 3);
    EXPECT_TRUE(filas[0].contains(QStringLiteral("|1.234,5|Uno|08:30:00|01/03/2026|"))) << filas[0].toStdString();
    // A zero date prints empty.
    EXPECT_TRUE(filas[1].contains(QStringLiteral("|Dos|09:00:00|Segunda"))) << filas[1].toStdString();

    const TextoPagina *negrita = texto(impresora, QStringLiteral("BandaDetalle"), QStringLiteral("0001"));
    const TextoPagina *normal = texto(impresora, QStringLiteral("BandaDetalle"), QStringLiteral("0002"));
    ASSERT_TRUE(negrita && normal);
    EXPECT_TRUE(negrita->fuente.bold());
    EXPECT_FALSE(normal->fuente.bold());
    const TextoPagina *importe = texto(impresora, QStringLiteral("BandaDetalle"), QStringLiteral("1.234,5"));
    ASSERT_TRUE(importe);
    EXPECT_TRUE(importe->alineacion & Qt::AlignRight);
    EXPECT_TRUE(texto(impresora, QStringLiteral("BandaDetalle"), QStringLiteral("10"))->alineacion & Qt::AlignRight);
}

// A date or a number column is never narrower than its widest value, its total included,
// however little it weighs: the room comes from the text columns, whose values end in "…"
// on one line, or wrap at word boundaries.
TEST_F(Listado, FechasYNumerosNuncaSeCortanYLosTextosCedenElSitio)
{
    const QString nota = QStringLiteral("Importe estimado de la obra en la fase de cimentación, estructura y cubierta, "
                                        "con revisión de plazos, certificaciones mensuales y liquidación final del "
                                        "contrato con la dirección facultativa");
    datos->first();
    datos->edit();
    datos->fieldByName(QStringLiteral("Notas")).setAsString(nota);
    datos->post();
    for (const bool ajustar : {false, true}) {
        SCOPED_TRACE(ajustar ? "wrapped" : "one line");
        TfGENELPRO &l = crear();
        ocultar({QStringLiteral("Zona"), QStringLiteral("Total"), QStringLiteral("HoraInicio"), QStringLiteral("Foto")});
        l.FormatoColumnas = QStringLiteral("10|99|1|99|99|1|60|99|");
        l.AjustarPalabras = ajustar;
        ImpresoraInforme &impresora = preparar();
        const QStringList filas = textosDe(impresora, QStringLiteral("BandaDetalle"));
        ASSERT_EQ(filas.size(), 3);
        EXPECT_TRUE(filas[0].startsWith(QStringLiteral("0001|1.234,5|01/03/2026|"))) << filas[0].toStdString();
        EXPECT_EQ(textosDe(impresora, QStringLiteral("BandaTotales")), QStringList{QStringLiteral("1.249,75")});
        const QStringList palabras = filas[0].section(u'|', 3).split(QRegularExpression(QStringLiteral("[| ]")));
        if (ajustar) {
            EXPECT_EQ(palabras, nota.split(u' '));
        } else {
            EXPECT_TRUE(filas[0].endsWith(u'…')) << filas[0].toStdString();
            EXPECT_TRUE(nota.startsWith(filas[0].section(u'|', 3).chopped(1))) << filas[0].toStdString();
        }
        const EtiquetaInforme *ultima = l.EtiquetasDetalle.last();
        EXPECT_LE(ultima->Left + ultima->Width, 750);
        l.Free();
    }
}

TEST_F(Listado, SumatoriosPorPeticion)
{
    struct Caso
    {
        const char *sumatorios;
        const char *totales;   // the summary band's texts; null: no summary band
    } casos[] = {
        {"Todas", "1.249,75"},
        {"Importe,Total", "1.249,75"},
        {"total", ""},
        {"Ninguna", ""},
        {"", nullptr},
    };
    for (const Caso &c : casos) {
        TfGENELPRO &l = crear();
        ocultar({QStringLiteral("Foto"), QStringLiteral("Notas")});
        l.Sumatorios = QString::fromLatin1(c.sumatorios);
        const QStringList totales = textosDe(preparar(), QStringLiteral("BandaTotales"));
        if (c.totales)
            EXPECT_EQ(totales, QStringList{QString::fromUtf8(c.totales)}) << c.sumatorios;
        else
            EXPECT_TRUE(totales.isEmpty()) << c.sumatorios;
        l.Free();
    }
}

TEST_F(Listado, GruposConCampoOcultoEnLaCabeceraYSumasQueReempiezan)
{
    TfGENELPRO &l = crear();
    ocultar({QStringLiteral("Zona"), QStringLiteral("Foto"), QStringLiteral("Notas"), QStringLiteral("FechaAlta")});
    l.Grupos = QStringLiteral(" zona ");
    ImpresoraInforme &impresora = preparar();
    const QStringList cabeceras = textosDe(impresora, QStringLiteral("BandaCabeceraGrupo"));
    EXPECT_EQ(cabeceras, (QStringList{QStringLiteral("Zona:|Norte"), QStringLiteral("Zona:|Sur")}));
    EXPECT_EQ(textosDe(impresora, QStringLiteral("BandaPieGrupo")),
              (QStringList{QStringLiteral("1.244,5"), QStringLiteral("5,25")}));
    for (const QString &fila : textosDe(impresora, QStringLiteral("BandaDetalle")))
        EXPECT_FALSE(fila.contains(QStringLiteral("Norte")) || fila.contains(QStringLiteral("Primera"))) << fila.toStdString();

    // Only totals: the same sums, no detail rows; each group on its own page.
    l.SoloTotales = true;
    l.SepararPorPaginas = true;
    ImpresoraInforme &soloTotales = preparar();
    EXPECT_TRUE(textosDe(soloTotales, QStringLiteral("BandaDetalle")).isEmpty());
    EXPECT_EQ(textosDe(soloTotales, QStringLiteral("BandaPieGrupo")),
              (QStringList{QStringLiteral("1.244,5"), QStringLiteral("5,25")}));
    EXPECT_EQ(textosDe(soloTotales, QStringLiteral("BandaTotales")), QStringList{QStringLiteral("1.249,75")});
    EXPECT_EQ(soloTotales.pageCount(), 3);
    l.SoloTotales = false;
    EXPECT_EQ(textosDe(preparar(), QStringLiteral("BandaDetalle")).size(), 3);
}

// Only totals: the columns get room for what prints, the sums, whatever the rows that do not
// print hold (a listing of 100,000 rows measured every value for nothing).
TEST_F(Listado, SoloTotalesDaSitioALasSumasYNoALasFilas)
{
    const auto anchos = [&](const QList<Fila> &filas) {
        datos = proyectos(filas);
        TfGENELPRO &l = crear();
        ocultar({QStringLiteral("Foto")});
        l.SoloTotales = true;
        preparar();
        QList<int> w;
        for (const auto *etiqueta : l.EtiquetasCabecera)
            w << (etiqueta ? etiqueta->Width : -1);
        l.Free();
        return w;
    };
    QList<Fila> largas = kFilas;
    largas[0].notas = "Impermeabilización-de-cubiertas-ajardinadas-transitables-y-no-transitables";
    largas[1].alta = QDate(2026, 12, 31);
    QList<Fila> vacias;
    for (Fila f : kFilas) {
        f.codigo = f.zona = f.total = f.notas = "";
        f.hora = QTime();
        f.alta = QDate();
        vacias << f;
    }
    const QList<int> conValores = anchos(largas);
    EXPECT_EQ(conValores, anchos(vacias));
    EXPECT_EQ(conValores.size(), 7);
}

TEST_F(Listado, FichasEnDosColumnasConMemo)
{
    TfGENELPRO &l = crear();
    ocultar({QStringLiteral("FechaAlta")});
    l.FormatoFicha = true;
    l.NumeroColumnasFicha = 2;
    l.NumeroLineasMemoFicha = 3;
    ImpresoraInforme &impresora = preparar();
    // Seven lines: CodigoProyecto, Zona, Importe, Total | HoraInicio, Notas, Foto.
    ASSERT_EQ(l.EtiquetasCabecera.size(), 7);
    EXPECT_EQ(l.EtiquetasCabecera[3]->Left, 4);
    EXPECT_EQ(l.EtiquetasCabecera[4]->Left, 379);
    EXPECT_EQ(l.EtiquetasCabecera[4]->Width, 121);
    EXPECT_EQ(l.EtiquetasDetalle[4]->Left, 375 + 129);
    EXPECT_EQ(l.EtiquetasDetalle[4]->Width, 242);
    EXPECT_EQ(l.EtiquetasDetalle[5]->Height, 47);
    EXPECT_EQ(l.Imagenes[6]->Top - l.EtiquetasDetalle[5]->Top, 49);
    EXPECT_EQ(l.BandaDetalle->Height, l.Imagenes[6]->Top + 32);
    EXPECT_TRUE(l.BordeBandaDetalle->Enabled);
    EXPECT_EQ(l.BordeBandaDetalle->Width, 748);
    // Left-aligned amounts in cards, unless the row's instructions say otherwise.
    const TextoPagina *conInstruccion = texto(impresora, QStringLiteral("BandaDetalle"), QStringLiteral("1.234,5"));
    const TextoPagina *sin = texto(impresora, QStringLiteral("BandaDetalle"), QStringLiteral("10"));
    ASSERT_TRUE(conInstruccion && sin);
    EXPECT_TRUE(conInstruccion->alineacion & Qt::AlignRight);
    EXPECT_TRUE(sin->alineacion & Qt::AlignLeft);
    EXPECT_TRUE(textosDe(impresora, QStringLiteral("BandaTotales")).isEmpty());

    // A card a page; in columns the rows share a page and the totals start their own.
    l.SepararPorPaginas = true;
    EXPECT_EQ(preparar().pageCount(), 3);
    l.FormatoFicha = false;
    EXPECT_EQ(preparar().pageCount(), 2);
    l.FormatoFicha = true;
    l.SepararPorPaginas = false;

    // One field in four card columns still lists.
    ocultar({QStringLiteral("Zona"), QStringLiteral("Importe"), QStringLiteral("Total"), QStringLiteral("HoraInicio"),
             QStringLiteral("Notas"), QStringLiteral("Foto")});
    l.NumeroColumnasFicha = 4;
    const QStringList fichas = textosDe(preparar(), QStringLiteral("BandaDetalle"));
    EXPECT_EQ(fichas.value(2), QStringLiteral("C.Proyecto|0003"));
}

TEST_F(Listado, EstilosYCompresion)
{
    struct Caso
    {
        const char *estilo;
        QColor detalle;
        int colorTitulo;
    } casos[] = {
        {"Standard", QColor(192, 192, 192), plat::clTeal},
        {"Por Defecto", QColor(Qt::white), plat::clTeal},
        {"Blanco y Negro", QColor(Qt::white), plat::clBlack},
    };
    for (const Caso &c : casos) {
        ponerParametro(QStringLiteral("TipoCombinacionTramas"), QString::fromLatin1(c.estilo));
        TfGENELPRO &l = crear();
        EXPECT_EQ(fondoDe(preparar(), QStringLiteral("BandaDetalle")), c.detalle) << c.estilo;
        EXPECT_EQ(l.QRTitulo->FontColor, c.colorTitulo) << c.estilo;
        l.Free();
    }

    ponerParametro(QStringLiteral("TipoCombinacionTramas"), QStringLiteral("Basica"));
    TfGENELPRO &basica = crear();
    preparar();
    EXPECT_EQ(basica.EtiquetasCabecera[0]->Color, plat::clWhite);
    EXPECT_TRUE(basica.EtiquetasCabecera[0]->Frame.DrawLeft && basica.EtiquetasCabecera[0]->Frame.DrawBottom);
    basica.Free();

    // Factors 1 with the fonts kept change nothing; 0.8 narrows every run-time control.
    ponerParametro(QStringLiteral("FCompresionListados"), 1.0);
    ponerParametro(QStringLiteral("FCompresionTLetraListados"), 1.0);
    ponerParametro(QStringLiteral("TipoLetraListados"), QStringLiteral("Por Defecto"));
    TfGENELPRO &igual = crear();
    const int fechaLeft = igual.QRFechaImpreso->Left;
    ocultar({QStringLiteral("Zona"), QStringLiteral("Total"), QStringLiteral("HoraInicio"), QStringLiteral("FechaAlta"),
             QStringLiteral("Notas"), QStringLiteral("Foto")});
    igual.FormatoColumnas = QStringLiteral("102|0|648|");
    preparar();
    EXPECT_EQ(igual.EtiquetasCabecera[0]->Width, 100);
    EXPECT_EQ(igual.EtiquetasCabecera[1]->Left, 102);
    EXPECT_EQ(igual.QRFechaImpreso->Left, fechaLeft);
    igual.Free();

    ponerParametro(QStringLiteral("FCompresionListados"), 0.8);
    TfGENELPRO &comprimido = crear();
    EXPECT_EQ(comprimido.TituloLogotipoEmpresa->Left, 4);
    EXPECT_EQ(comprimido.QRTitulo->Left, 4);
    comprimido.FormatoColumnas = QStringLiteral("102|0|648|");
    preparar();
    EXPECT_EQ(comprimido.EtiquetasCabecera[0]->Width, 80);
    EXPECT_EQ(comprimido.EtiquetasCabecera[1]->Left, 81);
    EXPECT_EQ(comprimido.EtiquetasDetalle[0]->Width, 80);
    EXPECT_EQ(comprimido.QRTitulo->Width, 600);
}

TEST_F(Listado, CabeceraDeRestriccionesSoloEnLaPrimeraPagina)
{
    ponerParametro(QStringLiteral("ListarRestricciones"), QStringLiteral("SI"));
    ServiciosListado servicios;
    servicios.ControlesVentanaLlamante = [] {
        VentanaLlamante v;
        v.controles = {{ControlLlamante::Tipo::Edicion, QStringLiteral("EditDesdeProyecto"), QStringLiteral("0001")},
                       {ControlLlamante::Tipo::Casilla, QStringLiteral("SoloAbiertos"), QStringLiteral("Solo Abiertos"),
                        true, true},
                       {ControlLlamante::Tipo::Casilla, QStringLiteral("VisualizacionPrevia"), QStringLiteral("Previa"),
                        true, true}};
        return std::optional(v);
    };
    servicios.RestriccionesDialogoListado = [] {
        return RestriccionesDialogo{{{}, {QStringLiteral("Zona"), QStringLiteral("N"), QStringLiteral("S")}},
                                    QStringLiteral("Importe > 0")};
    };
    Gancho<ServiciosListado>::Instalacion instalados(serviciosListado(), servicios);

    datos = proyectos(QList<Fila>(120, kFilas[1]));
    TfGENELPRO &l = crear();
    ocultar({QStringLiteral("Foto"), QStringLiteral("Notas")});
    ImpresoraInforme &impresora = preparar();
    ASSERT_GE(impresora.pageCount(), 2);
    const QString esperado = QStringLiteral(
        "RESTRICCIONES Y OPCIONES DEL LISTADO:  Desde Proyecto: 0001, Solo Abiertos, Desde Zona: N, Hasta Zona: S,  "
        "Filtros: Importe > 0");
    const QStringList cabeceras = textosDe(impresora, QStringLiteral("PageHeader"));
    EXPECT_TRUE(cabeceras[0].contains(QStringLiteral("RESTRICCIONES Y OPCIONES DEL LISTADO"))) << cabeceras[0].toStdString();
    EXPECT_FALSE(cabeceras[1].contains(QStringLiteral("RESTRICCIONES")));
    ASSERT_EQ(l.findChildren<MemoInforme *>().size(), 1);
    EXPECT_EQ(l.findChildren<MemoInforme *>()[0]->Lines.join(QString()), esperado);
    EXPECT_EQ(l.findChildren<MemoInforme *>()[0]->Height, 30);

    // The header grew on page 1 and moved the captions down by the memo; not on page 2.
    const auto alto = [&](int pagina) {
        for (const BandaImpresa &b : impresora.GetPage(pagina + 1)->bandas)
            if (b.nombre == QLatin1String("PageHeader"))
                return b.area.height();
        return 0.0;
    };
    EXPECT_DOUBLE_EQ(alto(0) - alto(1), 30);
    const auto arriba = [&](int pagina, const QString &valor) {
        for (const BandaImpresa &b : impresora.GetPage(pagina + 1)->bandas)
            for (const Primitiva &p : b.primitivas)
                if (const auto *t = std::get_if<TextoPagina>(&p); t && t->texto == valor)
                    return t->caja.top();
        return -1.0;
    };
    EXPECT_DOUBLE_EQ(arriba(0, QStringLiteral("C.Proyecto")) - arriba(1, QStringLiteral("C.Proyecto")), 30);
    EXPECT_DOUBLE_EQ(arriba(0, QStringLiteral("Listado de Proyectos")), arriba(1, QStringLiteral("Listado de Proyectos")));

    // A print after the preview shows it again on its first page; through a PDF too.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("listado.pdf"));
    ImpresoraInforme &otra = preparar();
    ASSERT_TRUE(escribirPdf(otra.paginas(), pdf, l.QuickReport->paper(), l.QuickReport->orientation()));
    EXPECT_TRUE(textoPdf(pdf).contains(QStringLiteral("RESTRICCIONES Y OPCIONES DEL LISTADO"))) << textoPdf(pdf).left(600).toStdString();
    const QString pagina2 = ejecutar(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QStringLiteral("2"),
                                                                   QStringLiteral("-l"), QStringLiteral("2"), pdf,
                                                                   QStringLiteral("-")});
    EXPECT_TRUE(pagina2.contains(QStringLiteral("C.Proyecto")));
    EXPECT_FALSE(pagina2.contains(QStringLiteral("RESTRICCIONES")));
}

TEST_F(Listado, RestriccionesDeUnaConsultaSQL)
{
    ponerParametro(QStringLiteral("ListarRestricciones"), QStringLiteral("SI"));
    sql(QStringLiteral("CREATE TABLE PROYECT (Codigo VARCHAR(10), Situacion VARCHAR(10))"));
    sql(QStringLiteral("INSERT INTO PROYECT VALUES ('0001', 'Abierto')"));
    sql(QStringLiteral("INSERT INTO PROYECT VALUES ('0002', 'Cerrado')"));
    plat::QueryDataSet consulta(QStringLiteral("QryConsultasSQL"));
    consulta.setConnection(&fGENEINIC->Database());
    consulta.setSql(QStringLiteral("SELECT * FROM PROYECT"));
    consulta.setFilter(QStringLiteral("Situacion = 'Abierto'"));
    consulta.setFiltered(true);
    consulta.open();
    TfGENELPRO &l = crear();
    l.QuickReport->DataSet = &consulta;
    ImpresoraInforme &impresora = preparar();
    EXPECT_EQ(textosDe(impresora, QStringLiteral("BandaDetalle")), QStringList{QStringLiteral("0001|Abierto")});
    EXPECT_TRUE(textosDe(impresora, QStringLiteral("PageHeader"))
                    .value(0)
                    .contains(QStringLiteral("Sentencia SQL: SELECT * FROM PROYECT. Filtro: Situacion = 'Abierto'")));
    l.Free();
}

} // namespace

namespace {

TEST_F(Listado, ColumnasYFichasEnPdf)
{
    QTemporaryDir dir;
    struct Caso
    {
        const char *fichero;
        bool ficha;
        QStringList esperados;
    } casos[] = {
        {"columnas.pdf", false, {QStringLiteral("C.Proyecto"), QStringLiteral("1.234,5"), QStringLiteral("08:30:00"),
                                 QStringLiteral("1.249,75"), QStringLiteral("Página 1")}},
        {"fichas.pdf", true, {QStringLiteral("C.Proyecto"), QStringLiteral("0003"), QStringLiteral("Primera nota")}},
    };
    for (const Caso &c : casos) {
        TfGENELPRO &l = crear();
        l.FormatoFicha = c.ficha;
        l.NumeroColumnasFicha = 2;
        l.NumeroLineasMemoFicha = 2;
        const QString pdf = dir.filePath(QString::fromLatin1(c.fichero));
        ImpresoraInforme &impresora = preparar();
        ASSERT_TRUE(escribirPdf(impresora.paginas(), pdf, l.QuickReport->paper(), l.QuickReport->orientation()));
        const QString texto = textoPdf(pdf).simplified();
        for (const QString &esperado : c.esperados)
            EXPECT_TRUE(texto.contains(esperado)) << c.fichero << ": " << esperado.toStdString();
        EXPECT_EQ(paginasPdf(pdf), impresora.pageCount());
        l.Free();
    }
}

} // namespace

namespace {

// The listing previewed through its own preview event; a print from the preview lays the
// report out again, with the restrictions header on its first printed page only.
TEST_F(Listado, ImprimirDesdeLaPrevisualizacionRepiteLasRestricciones)
{
    ponerParametro(QStringLiteral("ListarRestricciones"), QStringLiteral("SI"));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("impresora.pdf"));
    ImpresoraGrabadora grabadora(pdf);
    plat::ScopedPrinterProvider instalada(grabadora);
    plat::setDialogScript([](QObject *dialogo) { return qobject_cast<plat::PrintDialog *>(dialogo) != nullptr; });
    ServiciosListado servicios;
    servicios.RestriccionesDialogoListado = [] { return RestriccionesDialogo{{}, QStringLiteral("Zona = 'Sur'")}; };
    Gancho<ServiciosListado>::Instalacion instalados(serviciosListado(), servicios);
    datos = proyectos(QList<Fila>(120, kFilas[2]));
    TfGENELPRO &l = crear();
    ocultar({QStringLiteral("Foto"), QStringLiteral("Notas")});

    QPointer<TfGENEPREV> ventana;
    int paginasImpresas = 0;
    QString primera, segunda;
    l.QuickReport->OnPreview = [&](QObject *Sender) {
        l.QuickReportPreview(Sender);
        ventana = fGENEPREV;
        auto *turno = new QTimer(ventana);
        QObject::connect(turno, &QTimer::timeout, [&, turno] {
            if (l.QuickReport->generando())
                return;
            turno->stop();
            ventana->pbImprimir->click();
            paginasImpresas = paginasPdf(pdf);
            primera = ejecutar(QStringLiteral("pdftotext"), {QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
            segunda = ejecutar(QStringLiteral("pdftotext"),
                               {QStringLiteral("-f"), QStringLiteral("2"), QStringLiteral("-l"), QStringLiteral("2"), pdf,
                                QStringLiteral("-")});
            ventana->Estado = QStringLiteral("Finalizada");
            ventana->Close();
        });
        turno->start(0);
    };
    datos->first();
    l.QuickReport->Preview();
    plat::setDialogScript(nullptr);

    ASSERT_EQ(grabadora.pedidos.size(), 1);
    EXPECT_GE(paginasImpresas, 2);
    EXPECT_TRUE(primera.contains(QStringLiteral("RESTRICCIONES Y OPCIONES DEL LISTADO"))) << primera.toStdString();
    EXPECT_TRUE(segunda.contains(QStringLiteral("C.Proyecto")));
    EXPECT_FALSE(segunda.contains(QStringLiteral("RESTRICCIONES")));
}

} // namespace
