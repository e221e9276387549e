#include "tests/reporting/informes/InformePrueba.h"

#include "tests/support/TempDir.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace gptest;

namespace {

class Exportaciones : public ::testing::Test
{
protected:
    void SetUp() override
    {
        datos = datosPrueba(130);
        ventana.ponerDatos(datos.get());
        ventana.activarGrupo();
        ventana.informe->ReportTitle = QStringLiteral("Listado, \"prueba\"");
        ventana.informe->Prepare();
        ASSERT_EQ(ventana.informe->pageCount(), 3);
    }
    QByteArray exportar(plat::ReportExport formato, const QString &nombre)
    {
        fichero = carpeta.file(nombre);
        EXPECT_TRUE(ventana.informe->exportTo(formato, fichero));
        QFile f(fichero);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    TempDir carpeta;
    VentanaInforme ventana;
    std::unique_ptr<plat::ClientDataSet> datos;
    QString fichero;
};

} // namespace

TEST_F(Exportaciones, CsvConLosRegistrosEsperados)
{
    const QByteArray csv = exportar(plat::ReportExport::Csv, "INFORME.CSV");
    EXPECT_FALSE(csv.contains("\n") && !csv.contains("\r\n"));
    const QString filas = python("import csv,sys\n"
                                 "for r in csv.reader(open(sys.argv[1], encoding='utf-8', newline='')): print('|'.join(r))",
                                 fichero);
    QStringList esperadas{"Listado, \"prueba\""};
    for (int g = 1; g <= 13; ++g) {
        esperadas << QString("Grupo:|G%1").arg(g, 2, 10, QChar('0'));
        for (int i = (g - 1) * 10 + 1; i <= g * 10; ++i)
            esperadas << QString("Registro %1|%2,00").arg(i).arg(i);
        esperadas << QString("%1,00").arg(100 * g - 45).replace("1055,00", "1.055,00").replace("1155,00", "1.155,00")
                         .replace("1255,00", "1.255,00");
    }
    esperadas << "8.515,00";
    EXPECT_EQ(filas.trimmed().split('\n'), esperadas);
}

TEST_F(Exportaciones, HtmlUnBloquePorPagina)
{
    const QByteArray html = exportar(plat::ReportExport::Html, "INFORME.HTM");
    if (qEnvironmentVariableIsSet("GP_GUARDAR_IMAGENES"))
        QFile::copy(fichero, qEnvironmentVariable("GP_GUARDAR_IMAGENES") + "/INFORME.HTM");
    const QString resultado = python(
        "import sys\nfrom html.parser import HTMLParser\n"
        "class P(HTMLParser):\n"
        "  def __init__(s):\n    super().__init__(); s.paginas=[]; s.saltos=0; s.hondo=0\n"
        "  def handle_starttag(s, t, a):\n"
        "    d=dict(a)\n"
        "    if t=='div':\n"
        "      s.hondo+=1\n"
        "      if d.get('class')=='pagina':\n"
        "        s.paginas.append([]); s.saltos+= 'page-break-after:always' in d.get('style','')\n"
        "  def handle_endtag(s, t):\n"
        "    if t=='div': s.hondo-=1\n"
        "  def handle_data(s, d):\n"
        "    if d.strip() and s.paginas: s.paginas[-1].append(d)\n"
        "p=P(); p.feed(open(sys.argv[1], encoding='utf-8').read())\n"
        "print(len(p.paginas), p.saltos, p.hondo)\n"
        "for pg in p.paginas: print('|'.join(pg[:2]), '|', pg[-1], '|', sum(x.startswith('Registro') for x in pg))\n",
        fichero);
    const QStringList lineas = resultado.trimmed().split('\n');
    ASSERT_EQ(lineas.size(), 4) << resultado.toStdString();
    EXPECT_EQ(lineas[0], "3 2 0");
    int registros = 0;
    for (int p = 1; p <= 3; ++p) {
        EXPECT_TRUE(lineas[p].startsWith("Listado, \"prueba\"|")) << lineas[p].toStdString();
        EXPECT_TRUE(lineas[p].contains(" | Impreso el ")) << lineas[p].toStdString();
        registros += lineas[p].section(" | ", -1).toInt();
    }
    EXPECT_EQ(registros, 130);
    EXPECT_TRUE(html.contains("Listado, &quot;prueba&quot;"));
}

TEST_F(Exportaciones, TextoUnSaltoDePaginaPorCadaCambio)
{
    const QByteArray bytes = exportar(plat::ReportExport::Text, "INFORME.TXT");
    if (qEnvironmentVariableIsSet("GP_GUARDAR_IMAGENES"))
        QFile::copy(fichero, qEnvironmentVariable("GP_GUARDAR_IMAGENES") + "/INFORME.TXT");
    const QString texto = QString::fromUtf8(bytes);
    EXPECT_EQ(texto.count('\f'), 2);
    EXPECT_EQ(texto.count('\n'), texto.count("\r\n"));
    const QStringList paginas = texto.split('\f');
    const QStringList lineas = paginas[0].split("\r\n");
    // One character per 8 page pixels: the amount column ends at 500 pixels.
    const QString fila = lineas.filter("Registro 1 ").value(0);
    EXPECT_TRUE(fila.startsWith("Registro 1 ")) << fila.toStdString();
    EXPECT_NEAR(fila.indexOf("1,00") + 4, 500 / 8, 2) << fila.toStdString();
    EXPECT_TRUE(lineas.contains(lineas.filter("Grupo:").value(0)));
    EXPECT_TRUE(lineas.filter("Grupo:").value(0).contains("G01"));
    EXPECT_TRUE(paginas[2].contains("8.515,00"));
    EXPECT_TRUE(paginas[1].contains(QString::fromUtf8("Página  2")));
}

TEST_F(Exportaciones, FicheroQueNoSePuedeEscribir)
{
    EXPECT_FALSE(ventana.informe->exportTo(plat::ReportExport::Csv, carpeta.file("no/existe/INFORME.CSV")));
}
