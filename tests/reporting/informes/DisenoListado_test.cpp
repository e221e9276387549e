#include "GENEW/reporting/informes/DisenoListado.h"
#include "GENEW/reporting/informes/GENELPRO.h"
#include "platform/data/QueryDataSet.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Lists.h"

#include <QFontDatabase>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>

namespace {

TEST(DisenoListado, AnchoImprimiblePorPapelYOrientacion)
{
    using plat::ReportPaper;
    struct Caso
    {
        ReportPaper papel;
        bool apaisado;
        double imprimible;
        int esperado;
    } casos[] = {
        {ReportPaper::A4, false, 755.9, 750}, {ReportPaper::A3, false, 0, 1047},
        {ReportPaper::A4, true, 0, 1047},     {ReportPaper::A3, true, 0, 1511},
        // Any other paper: its own printable width, not A3's.
        {ReportPaper::A5, false, 521.6, 521}, {ReportPaper::A5, true, 755.9, 755},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(anchoImprimibleListado(c.papel, c.apaisado, c.imprimible), c.esperado)
            << int(c.papel) << (c.apaisado ? " apaisado" : "");
}

TEST(DisenoListado, ColumnasRellenanElAnchoEnProporcionASusPesos)
{
    struct Caso
    {
        const char *formato;
        QVector<int> izquierdas, anchos;
    } casos[] = {
        {"10|0|30|", {0, 187, 187}, {185, 0, 560}},
        {"102|648|", {0, 102}, {100, 646}},
        // Negative, unreadable or infinite weights count 0; nothing above 0 gives width 0.
        {"-5|abc|inf|", {0, 0, 0}, {0, 0, 0}},
        {"1|-1|", {0, 750}, {748, 0}},
        {"", {0, 0}, {0, 0}},
    };
    for (const Caso &c : casos) {
        const int campos = int(c.anchos.size());
        const auto columnas = geometriaColumnas(pesosFormatoColumnas(QString::fromLatin1(c.formato), campos), 750);
        ASSERT_EQ(columnas.size(), campos) << c.formato;
        for (int i = 0; i < campos; ++i) {
            EXPECT_EQ(columnas[i].izquierda, c.izquierdas[i]) << c.formato << " columna " << i;
            EXPECT_EQ(columnas[i].ancho, c.anchos[i]) << c.formato << " columna " << i;
        }
    }
}

TEST(DisenoListado, PesosEnormesNoDesbordan)
{
    const auto columnas = geometriaColumnas({1e308, 1e308, 0}, 750);
    ASSERT_EQ(columnas.size(), 3);
    EXPECT_EQ(columnas[0].ancho, 373);
    EXPECT_EQ(columnas[1].izquierda, 375);
    EXPECT_EQ(columnas[2].izquierda, 750);
    // One weight near the largest double beside small ones: its share, not the whole line.
    const auto mezcla = geometriaColumnas({1e304, 1e307, 0, 1e308}, 750);
    ASSERT_EQ(mezcla.size(), 4);
    EXPECT_LE(mezcla[3].izquierda + mezcla[3].ancho, 750);
    EXPECT_LT(mezcla[3].ancho, 750 - 2);
}

// Columns with a minimum (dates, numbers) get it from the widest text columns first, down to
// their widest word, then down to 20; only then do the others give; a slot of 0 stays 0.
// Texts narrower than their widest word then take what the others spare, the nearest
// first. The total never grows.
TEST(DisenoListado, LasColumnasConMinimoLoTomanDeLosTextosMasAnchos)
{
    using N = NecesidadColumna;
    struct Caso
    {
        QVector<int> huecos;
        QVector<N> necesidades;
        QVector<int> esperados;
    } casos[] = {
        {{100, 50, 600}, {N{60, 0}, N{}, N{}}, {100, 50, 600}},                     // wide enough: as it was
        {{10, 10, 300, 430}, {N{70, 0}, N{80, 0}, N{}, N{}}, {70, 80, 300, 300}},   // the widest text first
        {{10, 300, 60}, {N{95, 0}, N{0, 250}, N{0, 50}}, {95, 225, 50}},            // down to their words, then the widest
        {{10, 40, 30}, {N{70, 0}, N{}, N{}}, {40, 20, 20}},                         // then the rest give
        {{0, 60, 690}, {N{90, 0}, N{}, N{}}, {0, 60, 690}},                         // weight 0: left out
        {{20, 30, 700}, {N{0, 45}, N{0, 60}, N{0, 100}}, {45, 60, 645}},            // words take what is spared
    };
    for (const Caso &c : casos) {
        const QVector<int> huecos = huecosConMinimos(c.huecos, c.necesidades, 20);
        EXPECT_EQ(huecos, c.esperados) << c.huecos.size();
        EXPECT_EQ(std::accumulate(huecos.begin(), huecos.end(), 0), std::accumulate(c.huecos.begin(), c.huecos.end(), 0));
    }
}

TEST(DisenoListado, FichasEnColumnas)
{
    // Seven lines in two card columns: 3.5 rounds up to 4 lines a column.
    const GeometriaFicha siete = geometriaFicha(7, 6, 2, 750);
    EXPECT_EQ(siete.lineasPorColumna, 4);
    EXPECT_EQ(siete.izquierda(3), 0);
    EXPECT_EQ(siete.izquierda(4), 375);
    EXPECT_EQ(siete.anchoTitulo(), 121);
    EXPECT_EQ(siete.izquierdaTitulo(4), 379);
    EXPECT_EQ(siete.izquierdaValor(4), 375 + 129);
    EXPECT_EQ(siete.anchoValor(), 242);

    // One field in four card columns would give no lines a column: at least one.
    EXPECT_EQ(geometriaFicha(1, 0, 4, 750).lineasPorColumna, 1);
    // No listed field: the field count stands for it; card columns below 1 count 1.
    EXPECT_EQ(geometriaFicha(0, 5, 0, 750).lineasPorColumna, 6);
    EXPECT_EQ(altoMemoFicha(3), 47);
    EXPECT_EQ(altoMemoFicha(0), 17);
}

TEST(DisenoListado, TextosDeLaPeticion)
{
    EXPECT_EQ(tituloColumnaListado(QStringLiteral("CodigoProyecto")), QStringLiteral("C.Proyecto"));
    EXPECT_EQ(tituloColumnaListado(QStringLiteral("Codigo Proyecto")), QStringLiteral("Codigo Proyecto"));

    const SumatoriosListado todas(QStringLiteral("Todas")), ninguna(QStringLiteral("Ninguna")),
        algunas(QStringLiteral("Importe, total")), vacia{QString()};
    EXPECT_TRUE(todas.suma(QStringLiteral("Cualquiera")));
    EXPECT_FALSE(ninguna.suma(QStringLiteral("Importe")));
    EXPECT_TRUE(algunas.suma(QStringLiteral("importe")));
    EXPECT_TRUE(algunas.suma(QStringLiteral("Total")));
    EXPECT_FALSE(algunas.suma(QStringLiteral("Zona")));
    EXPECT_TRUE(ninguna.hayResumen());
    EXPECT_FALSE(vacia.hayResumen());

    const QStringList grupos = nombresGrupo(QStringLiteral(" Zona + 'Codigo Proyecto'+"));
    EXPECT_EQ(grupos, (QStringList{QStringLiteral("Zona"), QStringLiteral("'Codigo Proyecto'")}));
    EXPECT_TRUE(esCampoDeGrupo(grupos, QStringLiteral("zona")));
    EXPECT_TRUE(esCampoDeGrupo(grupos, QStringLiteral("Codigo Proyecto")));
    EXPECT_FALSE(esCampoDeGrupo(grupos, QStringLiteral("Importe")));
}

TEST(DisenoListado, InstruccionesDeFila)
{
    const QStringList negrita{QStringLiteral("Negrita"), QStringLiteral("importe=JR")};
    EXPECT_TRUE(filaEnNegrita(negrita));
    EXPECT_FALSE(filaEnNegrita({QStringLiteral("Normal"), QStringLiteral("Negrita")}));
    EXPECT_TRUE(alinearDerechaPorInstruccion(negrita, QStringLiteral("Importe")));
    EXPECT_FALSE(alinearDerechaPorInstruccion(negrita, QStringLiteral("Imp")));
    EXPECT_FALSE(alinearDerechaPorInstruccion({QStringLiteral("Importe=JL")}, QStringLiteral("Importe")));
}

TEST(DisenoListado, RestriccionesDeLaVentanaYDeLosDatos)
{
    EXPECT_EQ(altoMemoRestricciones(250, false), 45);
    EXPECT_EQ(altoMemoRestricciones(60, false), 30);
    EXPECT_EQ(altoMemoRestricciones(301, false), 60);
    EXPECT_EQ(altoMemoRestricciones(250, true), 30);

    // The calling window: its controls in tab order, disabled ones and the preview switch left out.
    plat::Form ventana;
    ventana.setObjectName(QStringLiteral("fGENELPRY"));
    auto *desde = ventana.make<plat::Edit>(QStringLiteral("EditDesdeProyecto"), &ventana);
    desde->setText(QStringLiteral("0001"));
    auto *hasta = ventana.make<plat::Edit>(QStringLiteral("EditHastaProyecto"), &ventana);
    auto *zona = ventana.make<plat::ComboBox>(QStringLiteral("ComboZona"), &ventana);
    zona->setItems({QStringLiteral("Editorial Norte")});
    zona->setItemIndex(0);
    hasta->setText(QStringLiteral("9999"));
    hasta->setEnabled(false);
    auto *abiertos = ventana.make<plat::CheckBox>(QStringLiteral("SoloAbiertos"), &ventana);
    abiertos->setCaption(QStringLiteral("Solo Abiertos"));
    abiertos->setChecked(true);
    ventana.make<plat::RadioButton>(QStringLiteral("SoloCerrados"), &ventana)->setCaption(QStringLiteral("Solo Cerrados"));
    auto *previa = ventana.make<plat::CheckBox>(QStringLiteral("VisualizacionPrevia"), &ventana);
    previa->setCaption(QStringLiteral("Visualización Previa"));
    previa->setChecked(true);
    const VentanaLlamante leida = leerVentanaLlamante(ventana);
    EXPECT_FALSE(leida.esDialogoListado);
    EXPECT_FALSE(leida.tieneRangoGruposAnalisis);
    EXPECT_EQ(textoRestriccionesVentana(leida, QString()),
              QStringLiteral(" Desde Proyecto: 0001, Combo Zona: Editorial Norte, Solo Abiertos, "));

    // The listing dialog's range grid (a title row, then field, from, to) and filters.
    plat::Form dialogo;
    dialogo.setObjectName(QStringLiteral("fGENECPRO"));
    auto *rejilla = dialogo.make<plat::StringGrid>(QStringLiteral("StringGrid"), &dialogo);
    rejilla->setColCount(3);
    rejilla->setRowCount(3);
    rejilla->setCell(0, 1, QStringLiteral("Zona"));
    rejilla->setCell(1, 1, QStringLiteral("N"));
    rejilla->setCell(0, 2, QStringLiteral("Importe"));
    dialogo.make<plat::Memo>(QStringLiteral("MemoFiltros"), &dialogo)->setText(QStringLiteral("Importe > 0\r\n"));
    EXPECT_TRUE(leerVentanaLlamante(dialogo).esDialogoListado);
    const RestriccionesDialogo dialogoLeido = leerRestriccionesDialogo(dialogo);
    plat::QueryDataSet otra(QStringLiteral("Otra"));
    EXPECT_EQ(textoRestriccionesDatos(&otra, dialogoLeido), QStringLiteral("Desde Zona: N, Hasta Zona: ,  Filtros: Importe > 0"));
    EXPECT_TRUE(textoRestriccionesDatos(&otra, leerRestriccionesDialogo(ventana)).isEmpty());

    plat::QueryDataSet consulta(QStringLiteral("QryConsultasSQL"));
    consulta.setSql(QStringLiteral("SELECT * FROM PROYECT"));
    consulta.setFilter(QStringLiteral("Situacion = 'Abierto'"));
    EXPECT_EQ(textoRestriccionesDatos(&consulta, RestriccionesDialogo()),
              QStringLiteral("Sentencia SQL: SELECT * FROM PROYECT. Filtro: Situacion = 'Abierto'"));
}

} // namespace

namespace {

TEST(AspectoListado, CompresionGeneralYFuente)
{
    struct Caso
    {
        double listados, letra;
        const char *tipoLetra;
        bool activa;
    } casos[] = {
        {1, 1, "Por Defecto", false}, {0, 0.8, "Arial", false}, {0.8, 0, "Arial", false},
        {0.8, 1, "Por Defecto", true}, {1, 1, "Arial", true},
    };
    for (const Caso &c : casos) {
        ParametrosListado p;
        p.FCompresionListados = c.listados;
        p.FCompresionTLetraListados = c.letra;
        p.TipoLetraListados = QString::fromLatin1(c.tipoLetra);
        EXPECT_EQ(p.compresionGeneral(), c.activa) << c.listados << " " << c.letra << " " << c.tipoLetra;
    }

    // A family the system does not know is refused; a known one is taken ignoring case.
    ParametrosListado p;
    p.FCompresionTLetraListados = 0.8;
    p.TipoLetraListados = QStringLiteral("Letra Que No Existe");
    QFont fuente(QStringLiteral("Arial"), 10);
    const QString familia = fuente.family();
    comprimirFuenteListado(fuente, p);
    EXPECT_EQ(fuente.pointSize(), 8);
    EXPECT_EQ(fuente.family(), familia);
    const QString conocida = QFontDatabase::families().value(0);
    ASSERT_FALSE(conocida.isEmpty());
    p.TipoLetraListados = conocida.toUpper();
    comprimirFuenteListado(fuente, p);
    EXPECT_EQ(fuente.family(), conocida);
    EXPECT_EQ(fuente.pointSize(), 6);
}

} // namespace
