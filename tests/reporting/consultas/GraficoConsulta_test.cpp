#include "GENEW/reporting/consultas/GraficoConsulta.h"

#include "platform/data/ClientDataSet.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// Rows of a label and five numeric columns (the fifth series is drawn in the last colour).
std::unique_ptr<plat::ClientDataSet> ventas(const QList<std::pair<QString, double>> &filas)
{
    auto datos = std::make_unique<plat::ClientDataSet>(QStringLiteral("Ventas"));
    datos->setFieldDefs({plat::fieldDef("Ciudad", ftString, 20), plat::fieldDef("Importe", ftFloat),
                         plat::fieldDef("Notas", ftString, 10), plat::fieldDef("Uds", ftInteger),
                         plat::fieldDef("B", ftSmallint), plat::fieldDef("C", ftInteger), plat::fieldDef("D", ftFloat)});
    datos->createDataSet();
    for (const auto &[ciudad, importe] : filas) {
        datos->append();
        datos->fieldByName("Ciudad").setAsString(ciudad);
        datos->fieldByName("Importe").setAsFloat(importe);
        for (const char *n : {"Uds", "B", "C", "D"})
            datos->fieldByName(n).setAsInteger(1);
        datos->post();
    }
    return datos;
}

QString primeraSerie(const QString &series)
{
    return series.section(QStringLiteral("\r\n"), 0, 0) + QStringLiteral("\r\n");
}

} // namespace

TEST(GraficoConsulta, DefinitionAndSeriesAsTheChartWindowReadsThem)
{
    auto datos = ventas({{"Madrid", 10.5}, {"Bilbao", 3}, {"Vigo", 7}});
    TextosGrafico t = EscribirGrafico(*datos, "Ventas", 10, TipoGrafico::Barras);
    EXPECT_EQ(t.definicion, "Titulo=Ventas;Medidas=400x300;PanelControl=SI;StatusBar=SI;Leyenda=SI;");
    EXPECT_EQ(primeraSerie(t.series),
              "Titulo=Importe;Tipo=Barras;Color=Rojo;IncluirEnLeyenda=SI;Valores=1:10,5:Madrid:/2:3:Bilbao:/3:7:Vigo:/\r\n");
    const QStringList lineas = t.series.split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lineas.size(), 5);
    EXPECT_TRUE(lineas[1].startsWith("Titulo=Uds;Tipo=Barras;Color=Verde;"));
    EXPECT_TRUE(lineas[4].startsWith("Titulo=D;Tipo=Barras;Color=Magenta;"));
    t = EscribirGrafico(*datos, "Ventas", 10, TipoGrafico::Tarta);
    EXPECT_EQ(t.definicion, "Titulo=Ventas;Medidas=450x300;PanelControl=SI;StatusBar=SI;Leyenda=SI;");
    EXPECT_TRUE(t.series.startsWith("Titulo=Importe;Tipo=Tarta;Color=;Marcas=SI;IncluirEnLeyenda=SI;Valores=1:10,5:"));
}

TEST(GraficoConsulta, RowsPastTheLimitAreSummedIntoOneOthersItem)
{
    QList<std::pair<QString, double>> filas;
    for (int i = 1; i <= 12; ++i)
        filas << std::pair{QStringLiteral("F%1").arg(i), double(i)};
    auto datos = ventas(filas);
    const QString serie = primeraSerie(EscribirGrafico(*datos, "Ventas", 10, TipoGrafico::Barras).series);
    EXPECT_TRUE(serie.endsWith("/10:10:F10:/11:23:Otros::/\r\n")) << serie.toStdString();
}

TEST(GraficoConsulta, LabelsCannotCutOrShiftTheirItem)
{
    auto datos = ventas({{"01/03/2024", 1}, {"10:30;B\r\nC", 2}});
    const QString serie = primeraSerie(EscribirGrafico(*datos, "Ventas", 10, TipoGrafico::Barras).series);
    EXPECT_TRUE(serie.endsWith("Valores=1:1:01-03-2024:/2:2:10.30,B C:/\r\n")) << serie.toStdString();
}
