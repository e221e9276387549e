#include "GENEW/data/servicios/ExportacionExcel.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/data/ClientDataSet.h"
#include "tests/support/TempDir.h"

#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

using namespace exportacionExcel;

// A sheet read back from the workbook's XML: cells by reference, with their style and kind.
struct Hoja
{
    struct Celda
    {
        QString tipo;    // "inlineStr" or "" for a number
        QString valor;
        int estilo = 0;
    };
    QMap<QString, Celda> celdas;
    QMap<int, double> anchos;     // 1-based column -> width
    QList<bool> negritaDeEstilo;  // per cell style: its font is bold

    static QByteArray parte(const QString &libro, const char *nombre)
    {
        QProcess p;
        p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), libro, QString::fromLatin1(nombre)});
        p.waitForFinished(30000);
        return p.readAllStandardOutput();
    }

    static Hoja leer(const QString &libro)
    {
        Hoja h;
        QXmlStreamReader x(parte(libro, "xl/worksheets/sheet1.xml"));
        QString ref;
        while (!x.atEnd()) {
            if (x.readNext() != QXmlStreamReader::StartElement)
                continue;
            const auto a = x.attributes();
            if (x.name() == u"col") {
                for (int c = a.value("min").toInt(); c <= a.value("max").toInt(); ++c)
                    h.anchos[c] = a.value("width").toDouble();
            } else if (x.name() == u"c") {
                ref = a.value("r").toString();
                h.celdas[ref] = Celda{a.value("t").toString(), QString(), a.value("s").toInt()};
            } else if (x.name() == u"v" || x.name() == u"t") {
                h.celdas[ref].valor = x.readElementText();
            }
        }
        // Styles: the bold flag of each cell format, through its font.
        QXmlStreamReader s(parte(libro, "xl/styles.xml"));
        QList<bool> fuentes;
        bool enFuentes = false, enFormatos = false;
        while (!s.atEnd()) {
            const auto t = s.readNext();
            if (t == QXmlStreamReader::EndElement && s.name() == u"fonts")
                enFuentes = false;
            if (t == QXmlStreamReader::EndElement && s.name() == u"cellXfs")
                enFormatos = false;
            if (t != QXmlStreamReader::StartElement)
                continue;
            if (s.name() == u"fonts")
                enFuentes = true;
            else if (s.name() == u"cellXfs")
                enFormatos = true;
            else if (enFuentes && s.name() == u"font")
                fuentes << false;
            else if (enFuentes && s.name() == u"b")
                fuentes.last() = true;
            else if (enFormatos && s.name() == u"xf")
                h.negritaDeEstilo << fuentes.value(s.attributes().value("fontId").toInt());
        }
        return h;
    }
    bool hay(const QString &ref) const { return celdas.contains(ref); }
    QString texto(const QString &ref) const { return celdas.value(ref).valor; }
    bool negrita(const QString &ref) const { return negritaDeEstilo.value(celdas.value(ref).estilo); }
};

class ExportacionExcelTest : public ::testing::Test
{
protected:
    QString fichero(const char *nombre) { return dir_.file(QString::fromLatin1(nombre)); }
    gptest::TempDir dir_;
};

TEST(ExportacionExcelNombres, ColumnLettersAndWorkbookNames)
{
    EXPECT_EQ(LetrasColumna(0), "A");
    EXPECT_EQ(LetrasColumna(25), "Z");
    EXPECT_EQ(LetrasColumna(26), "AA");
    EXPECT_EQ(LetrasColumna(29), "AD");
    EXPECT_EQ(LetrasColumna(701), "ZZ");
    EXPECT_EQ(LetrasColumna(702), "AAA");
    EXPECT_EQ(NombreLibro("/t/Ventas.xls"), "/t/Ventas.xlsx");
    EXPECT_EQ(NombreLibro("/t/Ventas.XLS"), "/t/Ventas.xlsx");
    EXPECT_EQ(NombreLibro("/t/Ventas"), "/t/Ventas.xlsx");
    EXPECT_EQ(NombreLibro("/t/Ventas.xlsx"), "/t/Ventas.xlsx");
}

TEST_F(ExportacionExcelTest, ThirtyFieldsUseColumnsAToADAndTag999TakesNone)
{
    plat::ClientDataSet ds(QStringLiteral("Ancho"));
    QList<plat::FieldDef> defs;
    for (int i = 1; i <= 31; ++i)
        defs << plat::fieldDef(QStringLiteral("Campo%1").arg(i), ftString, 5);
    ds.setFieldDefs(defs);
    ds.createDataSet();
    ds.field(10).tag = 999;
    ds.append();
    for (int i = 0; i < 31; ++i)
        ds.field(i).setValue(QStringLiteral("v%1").arg(i + 1));
    ds.post();
    QString error;
    ASSERT_TRUE(Exportar(fichero("ancho.xlsx"), ds, nullptr, {}, error)) << error.toStdString();
    const Hoja h = Hoja::leer(fichero("ancho.xlsx"));
    EXPECT_EQ(h.texto("A1"), "Campo 1");
    EXPECT_EQ(h.texto("K1"), "Campo 12");   // Campo11 has no column
    EXPECT_EQ(h.texto("AD1"), "Campo 31");
    EXPECT_FALSE(h.hay("AE1"));
    EXPECT_FALSE(h.hay("A2"));   // the row between headers and data is empty
    EXPECT_EQ(h.texto("AD3"), "v31");
    EXPECT_EQ(h.celdas.value("AD3").tipo, "inlineStr");
}

TEST_F(ExportacionExcelTest, ValuesFormatsAndWidthsWithoutADetail)
{
    plat::ClientDataSet ds(QStringLiteral("Valores"));
    ds.setFieldDefs({plat::fieldDef("CodigoCliente", ftInteger), plat::fieldDef("Nombre", ftString, 20),
                     plat::fieldDef("Importe", ftFloat), plat::fieldDef("FechaAlta", ftDateTime),
                     plat::fieldDef("HoraEntrada", ftDateTime), plat::fieldDef("Notas", ftMemo)});
    ds.createDataSet();
    ds.field(2).displayFormat = QStringLiteral("#,##0.00");
    ds.append();
    ds.field(0).setValue(7);
    ds.field(1).setValue(QStringLiteral("Ñandú"));
    ds.field(2).setValue(1234.5);
    ds.field(3).setValue(FechaCero());
    ds.field(4).setValue(FechaHora(FechaCero().date(), QTime(8, 5, 9)));
    ds.field(5).setValue(QStringLiteral("a\r\nb"));
    ds.post();
    ds.append();
    ds.field(3).setValue(FechaHora(QDate(2024, 3, 5), QTime(10, 0)));
    ds.post();
    Opciones o;
    o.traducir = [](const QString &t) { return t.toUpper(); };
    QString error;
    ASSERT_TRUE(Exportar(fichero("valores.xlsx"), ds, nullptr, o, error)) << error.toStdString();
    const Hoja h = Hoja::leer(fichero("valores.xlsx"));
    EXPECT_EQ(h.texto("A1"), "CODIGO CLIENTE");   // split into words, then translated
    EXPECT_FALSE(h.negrita("A1"));
    EXPECT_EQ(h.texto("A3"), "7");
    EXPECT_EQ(h.celdas.value("A3").tipo, "inlineStr");
    EXPECT_EQ(h.texto("B3"), "Ñandú");
    EXPECT_EQ(h.celdas.value("C3").tipo, "");   // a number, read from "1.234,50"
    EXPECT_EQ(h.texto("C3"), "1234.5");
    EXPECT_FALSE(h.hay("D3"));   // the zero date
    EXPECT_EQ(h.texto("E3"), "08:05:09");
    EXPECT_EQ(h.texto("F3"), "a\nb");
    EXPECT_EQ(h.texto("D4"), "05/03/2024 10:00:00");
    const QMap<int, int> anchos{{1, 10}, {2, 21}, {3, 15}, {4, 10}, {5, 10}, {6, 40}};
    for (auto it = anchos.begin(); it != anchos.end(); ++it)
        EXPECT_EQ(int(h.anchos.value(it.key())), it.value()) << "column " << it.key();
}

// Dates as LibreOffice reads the workbook into CSV: a date-time keeps its time, as the grid
// shows it; a date and a midnight show the date alone.
TEST_F(ExportacionExcelTest, DateTimesKeepTheirTimeAsLibreOfficeReadsThem)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed (package libreoffice-calc-nogui)";
    plat::ClientDataSet ds(QStringLiteral("Fechas"));
    ds.setFieldDefs({plat::fieldDef("Cierre", ftDateTime), plat::fieldDef("Dia", ftDate), plat::fieldDef("Noche", ftDateTime)});
    ds.createDataSet();
    ds.append();
    for (int i = 0; i < 3; ++i)
        ds.field(i).setValue(FechaHora(QDate(2024, 12, 31), i == 2 ? QTime(0, 0) : QTime(23, 59, 59)));
    ds.post();
    QString error;
    ASSERT_TRUE(Exportar(fichero("fechas.xlsx"), ds, nullptr, {false, {}}, error)) << error.toStdString();
    QProcess p;
    p.start(soffice, {"-env:UserInstallation=" + QUrl::fromLocalFile(fichero("perfil")).toString(), "--headless",
                      "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76", "--outdir", dir_.path(),
                      fichero("fechas.xlsx")});
    ASSERT_TRUE(p.waitForFinished(180000));
    QFile csv(fichero("fechas.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << p.readAllStandardError().toStdString();
    EXPECT_EQ(csv.readAll().trimmed(), "31/12/2024 23:59:59,31/12/2024,31/12/2024");
}

TEST_F(ExportacionExcelTest, DetailBlocksWithBoldDetailHeaders)
{
    plat::ClientDataSet cabecera(QStringLiteral("Cabecera"));
    cabecera.setFieldDefs({plat::fieldDef("Codigo", ftString, 5), plat::fieldDef("Importe", ftFloat)});
    cabecera.createDataSet();
    plat::ClientDataSet lineas(QStringLiteral("Lineas"));
    lineas.setFieldDefs({plat::fieldDef("Codigo", ftString, 5), plat::fieldDef("Linea", ftInteger),
                         plat::fieldDef("Precio", ftFloat)});
    lineas.createDataSet();
    for (const char *c : {"A", "B"}) {
        cabecera.append();
        cabecera.field(0).setValue(c);
        cabecera.field(1).setValue(2500.25);
        cabecera.post();
        for (int n = 1; n <= 2; ++n) {
            lineas.append();
            lineas.field(0).setValue(c);
            lineas.field(1).setValue(n);
            lineas.field(2).setValue(n * 1000.5);
            lineas.post();
        }
    }
    lineas.setIndexFieldNames("Codigo;Linea");
    lineas.setMasterSource(&cabecera, "Codigo");
    QString error;
    ASSERT_TRUE(Exportar(fichero("bloques.xlsx"), cabecera, &lineas, {}, error)) << error.toStdString();
    const Hoja h = Hoja::leer(fichero("bloques.xlsx"));
    // Block: empty row, header, empty row, record, empty row, detail header, lines.
    EXPECT_FALSE(h.hay("A1"));
    EXPECT_EQ(h.texto("A2"), "Codigo");
    EXPECT_FALSE(h.negrita("A2"));
    EXPECT_EQ(h.texto("A4"), "A");
    EXPECT_EQ(h.texto("B4"), "2500.25");   // a text column: the number with a point
    EXPECT_EQ(h.celdas.value("B4").tipo, "inlineStr");
    EXPECT_EQ(h.texto("C6"), "Precio");
    EXPECT_TRUE(h.negrita("A6"));
    EXPECT_TRUE(h.negrita("C6"));
    EXPECT_EQ(h.texto("B7"), "1");
    EXPECT_EQ(h.texto("B8"), "2");
    EXPECT_EQ(h.texto("C8"), "2001");   // beyond the main columns: a number
    EXPECT_EQ(h.celdas.value("C8").tipo, "");
    EXPECT_FALSE(h.hay("A9"));
    EXPECT_EQ(h.texto("A10"), "Codigo");
    EXPECT_EQ(h.texto("A12"), "B");
    EXPECT_EQ(h.texto("A16"), "B");
    EXPECT_FALSE(h.hay("A17"));
}

} // namespace
