#include "GENEW/reporting/impresos/TextoBruto.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "platform/base/Errores.h"
#include "platform/ui/Application.h"
#include "tests/reporting/impresos/MotorPrueba.h"
#include "tests/support/LimiteArchivos.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

using gptest::MotorPrueba;

QStringList LeerImpreso(const QString &nombre)
{
    QFile f(QStringLiteral(GP_IMPRESOS_DIR "/") + nombre);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lineas = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    lineas.removeLast();
    return lineas;
}

QByteArray LeerBinario(const QString &nombre)
{
    QFile f(QStringLiteral(GP_IMPRESOS_DIR "/") + nombre);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What is left in the temporary directory, the program's own folder there by what it holds.
QStringList ContenidoTemporal()
{
    const QDir propia(DirectorioTemporalPropio());
    QStringList contenido = propia.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString &entrada : QDir(DirectorioTemporal()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (entrada != propia.dirName())
            contenido << entrada;
    return contenido;
}

// A temporary directory of the test's own while in scope (other tests run at the same time).
class TemporalPropio
{
public:
    explicit TemporalPropio(const QString &carpeta) : habia_(qEnvironmentVariableIsSet("TMPDIR")), anterior_(qgetenv("TMPDIR"))
    {
        QDir().mkpath(carpeta);
        qputenv("TMPDIR", QFile::encodeName(carpeta));
    }
    ~TemporalPropio()
    {
        if (habia_)
            qputenv("TMPDIR", anterior_);
        else
            qunsetenv("TMPDIR");
    }

private:
    bool habia_;
    QByteArray anterior_;
};

TEST(TextoBruto, CodePage850AndBlocksOf256Bytes)
{
    EXPECT_EQ(TextoAOEM("Año Ñ €ü"), QByteArray("A\xa4o \xa5 ?\x81"));
    const QList<QByteArray> bloques = BloquesImpresora(QByteArray(300, 'x'));
    ASSERT_EQ(bloques.size(), 2);
    EXPECT_EQ(bloques.at(0).size(), 256);
    EXPECT_EQ(bloques.at(1).size(), 44);
    EXPECT_TRUE(BloquesImpresora({}).isEmpty());
}

TEST_F(MotorPrueba, ATextModeRunIsOneRawJobAsTheGoldenBytes)
{
    anadirImpreso("MATRICIAL",
                  {"[CABECERA]", "Text=5;2;0;Año ñ", "Text=0;1;0;Arriba", "Text=3;4;6;Cortado largo", "Asci=27,x,64,,65"},
                  "A4", "Texto", "Matricial");
    VistaPreviaImpreso = false;
    crearMotor("MATRICIAL");
    documento(1);
    documento(2);
    motor->Imprimir();
    EXPECT_TRUE(impresoras.trabajos.isEmpty());   // nothing drawn
    EXPECT_EQ(impresoras.dialogos, 0);            // a named printer prints directly
    ASSERT_EQ(impresoras.brutos.size(), 1);
    EXPECT_EQ(impresoras.brutos.first().impresora, "Matricial");
    EXPECT_EQ(impresoras.brutos.first().datos, LeerBinario("texto-dos-documentos.bin"));
}

TEST_F(MotorPrueba, PrinterCodesOfADrawnLayoutFollowItsJobAsARawOne)
{
    anadirImpreso("CAJON", {"[CABECERA]", "Text=10;10;0;Ticket", "Asci=27,112,0"}, "A4", "Grafico", "Matricial");
    VistaPreviaImpreso = false;
    crearMotor("CAJON");
    documento(1);
    documento(2);
    motor->Imprimir();
    ASSERT_EQ(impresoras.enviados.size(), 1);
    ASSERT_EQ(impresoras.brutos.size(), 1);
    EXPECT_EQ(impresoras.brutos.first().impresora, "Matricial");
    EXPECT_EQ(impresoras.brutos.first().datos, QByteArray("\x1bp\0\x1bp\0", 6));
    EXPECT_EQ(gptest::PaginasPDF(impresoras.enviados.first()), 2);
}

TEST_F(MotorPrueba, TheDemoLayoutToPdfGivesA4PagesInOrderAndLeavesNoFile)
{
    anadirImpreso("DEMO", LeerImpreso("demo-factura.imp"));
    VistaPreviaImpreso = false;
    TemporalPropio temporal(dir.file("tmp"));
    crearMotor("DEMO");
    for (int d = 1; d <= 2; ++d) {
        documento(d);
        for (int l = 1; l <= 30; ++l)
            linea(d, l);
    }
    const QString salida = dir.file("demo.pdf");
    motor->SalidaImpresion = "PDF:" + salida;
    motor->Imprimir();
    EXPECT_TRUE(mensajes.textos().isEmpty()) << mensajes.textos().join('\n').toStdString();
    const QString info = gptest::InfoPDF(salida);
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:.*\\(A4\\)"))) << info.toStdString();
    EXPECT_EQ(gptest::PaginasPDF(salida), 4);   // 22 lines a page: two pages a document
    const QString texto = gptest::TextoPDF(salida);
    const qsizetype primera = texto.indexOf("Factura de demostración");
    const qsizetype segunda = texto.indexOf("Factura de demostración", primera + 1);
    EXPECT_GE(primera, 0);
    EXPECT_GT(segunda, primera);
    EXPECT_EQ(texto.count("Partida de obra"), 60);
    EXPECT_EQ(texto.count("ORIGINAL"), 4);
    // The pages were written in the program's own folder, which no other account reads.
    EXPECT_EQ(QDir(DirectorioTemporalPropio()).entryList({"impreso-*"}, QDir::Dirs).size(), 1);
    EXPECT_TRUE(QDir(DirectorioTemporal()).entryList({"impreso-*"}, QDir::Dirs).isEmpty());
    motor.reset();
    EXPECT_EQ(ContenidoTemporal(), QStringList());

    // The turned barcode reads back from the page.
    QProcess ppm;
    ppm.start("pdftoppm", {"-r", "300", "-f", "1", "-l", "1", "-png", salida, dir.file("pagina")});
    ASSERT_TRUE(ppm.waitForFinished(60000));
    QProcess zbar;
    zbar.start("zbarimg", {"-q", dir.file("pagina-1.png")});
    ASSERT_TRUE(zbar.waitForFinished(60000));
    EXPECT_EQ(QString::fromUtf8(zbar.readAllStandardOutput()).trimmed(), "EAN-13:5901234123457");
    if (qEnvironmentVariableIsSet("GP_GUARDAR_PAGINAS"))
        QFile::copy(salida, qEnvironmentVariable("GP_GUARDAR_PAGINAS") + "/demo-factura.pdf");
}

TEST_F(MotorPrueba, TheDemoLayoutOnScreenDrawsPagesOfTheScreensSize)
{
    anadirImpreso("DEMO", LeerImpreso("demo-factura.imp"));
    crearMotor("DEMO");
    documento(1);
    for (int l = 1; l <= 5; ++l)
        linea(1, l);
    QImage pagina;
    ServiciosImpresion conVista;
    conVista.vistaPrevia = [&](TfGENELIMP &m) {
        pagina = QImage(m.paginas().tamano(1), QImage::Format_RGB32);
        pagina.fill(Qt::white);
        QPainter p(&pagina);
        DibujarPagina(p, m.paginas().pagina(1));
    };
    const ServiciosImpresionInstalados vistaInstalada(conVista);
    motor->Imprimir();
    ASSERT_EQ(pagina.size(), QSize(800, 1131));
    // The header box (15..195 x 15..50 mm) is filled light blue; its corner stays white.
    const double pxmm = 800.0 / 210;
    EXPECT_EQ(QColor(pagina.pixel(int(100 * pxmm), int(45 * pxmm))), QColor(166, 202, 240));
    EXPECT_EQ(QColor(pagina.pixel(int(15 * pxmm) + 1, int(15 * pxmm) + 1)), QColor(Qt::white));
    if (qEnvironmentVariableIsSet("GP_GUARDAR_PAGINAS"))
        pagina.save(qEnvironmentVariable("GP_GUARDAR_PAGINAS") + "/demo-pantalla.png");
}

TEST_F(MotorPrueba, APdfThatCannotBeWrittenSaysWhy)
{
    anadirImpreso("DEMO", {"[CABECERA]", "Text=10;10;0;Hoja"});
    VistaPreviaImpreso = false;
    crearMotor("DEMO");
    documento(1);
    motor->SalidaImpresion = "PDF:" + dir.path();   // a folder
    motor->Imprimir();
    ASSERT_EQ(mensajes.textos().size(), 1);
    EXPECT_TRUE(mensajes.textos().first().startsWith("Se ha producido un error al generar el archivo PDF. Motivo: "));
    EXPECT_GT(mensajes.textos().first().size(), QString("Se ha producido un error al generar el archivo PDF. Motivo: ").size());
}

TEST_F(MotorPrueba, APdfOnAFullDiskSaysWhyAndLeavesTheOldFileWhole)
{
    anadirImpreso("DEMO", LeerImpreso("demo-factura.imp"));
    VistaPreviaImpreso = false;
    TemporalPropio temporal(dir.file("tmp"));
    crearMotor("DEMO");
    documento(1);
    for (int l = 1; l <= 30; ++l)
        linea(1, l);
    const QString salida = dir.file("demo.pdf");
    {
        QFile anterior(salida);
        ASSERT_TRUE(anterior.open(QIODevice::WriteOnly));
        anterior.write("%PDF de la factura de ayer");
    }
    motor->SalidaImpresion = "PDF:" + salida;
    {
        gptest::LimiteArchivos discoLleno(8192);
        motor->Imprimir();
    }
    ASSERT_EQ(mensajes.textos().size(), 1) << mensajes.textos().join('\n').toStdString();
    EXPECT_TRUE(mensajes.textos().first().startsWith("Se ha producido un error al generar el archivo PDF. Motivo: "))
        << mensajes.textos().first().toStdString();
    QFile anterior(salida);
    ASSERT_TRUE(anterior.open(QIODevice::ReadOnly));
    EXPECT_EQ(anterior.readAll(), "%PDF de la factura de ayer");
    motor.reset();
    EXPECT_EQ(ContenidoTemporal(), QStringList());
}

TEST_F(MotorPrueba, PrinterSelection)
{
    struct Caso
    {
        const char *nombre;
        QString impresoraImpreso;
        bool sinDialogo;
        bool cancelar;
        QString formato;
        int dialogos;
        QString impresora;   // empty: nothing printed
        bool apaisado;
        int copias;
        bool duplex;
    };
    const QList<Caso> casos = {
        {"nombrada", "Matricial", false, false, "A4", 0, "Matricial", false, 1, false},
        {"predeterminada", "Predeterminada", false, false, "A4", 1, "Oficina", false, 2, true},
        {"sin dialogo", "Predeterminada", true, false, "A4-Apaisado", 0, "Oficina", true, 1, false},
        {"cancelado", "Predeterminada", false, true, "A4", 1, "", false, 0, false},
        {"desconocida", "NoExiste", false, false, "A5-Apaisado", 1, "Oficina", true, 2, true},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        db().exec("DELETE FROM IMPRESO");
        db().dropTable("TMPDOC");
        db().dropTable("TMPLIN");
        impresoras.trabajos.clear();
        impresoras.enviados.clear();
        impresoras.dialogos = 0;
        impresoras.cancelarDialogo = c.cancelar;
        impresoras.eleccionDialogo = {"", 2, true};
        mensajes.limpiar();
        anadirImpreso("FACTURA", {"[CABECERA]", "Text=10;10;0;Hoja"}, c.formato, "Grafico", c.impresoraImpreso);
        VistaPreviaImpreso = false;
        SinDialogoImpresora = c.sinDialogo;
        crearMotor("FACTURA");
        documento(1);
        motor->Imprimir();
        EXPECT_EQ(impresoras.dialogos, c.dialogos);
        EXPECT_TRUE(mensajes.textos().isEmpty());
        if (c.impresora.isEmpty()) {
            EXPECT_TRUE(impresoras.trabajos.isEmpty());
            continue;
        }
        ASSERT_EQ(impresoras.trabajos.size(), 1);
        const auto &t = impresoras.trabajos.first();
        EXPECT_EQ(t.eleccion.nombre, c.impresora);
        EXPECT_EQ(t.apaisado, c.apaisado);
        EXPECT_EQ(t.eleccion.copias, c.copias);
        EXPECT_EQ(t.eleccion.duplex, c.duplex);
        EXPECT_EQ(impresoras.enviados, QStringList{t.fichero});
        EXPECT_EQ(gptest::TextoPDF(t.fichero).trimmed(), "Hoja");
    }
}

TEST_F(MotorPrueba, ALayoutWithoutPageContentAsksForThePrinterAndPrintsNothing)
{
    anadirImpreso("VACIO", {"[SISTEMA]", "Margenes=1;1"}, "A4", "Grafico", "Matricial");
    VistaPreviaImpreso = false;
    SinDialogoImpresora = true;
    crearMotor("VACIO");
    documento(1);
    motor->Imprimir();
    EXPECT_EQ(impresoras.dialogos, 1);
    EXPECT_TRUE(impresoras.trabajos.isEmpty());
}

class AdjuntosPrueba : public MotorPrueba
{
protected:
    // Three documents; two share connection value 7, so only their key tells them apart.
    void preparar(const QString &impresora)
    {
        anadirImpreso("ADJ",
                      {"ConexionDocumentosAdjuntos=PROYECTO>CodigoProyecto", "DocumentosAdjuntos=Auto", "[CABECERA]",
                       "Text=10;10;0;Documento", "Camp=40;10;0;CodigoTemporal"},
                      "A4", "Grafico", impresora);
        crearMotor("ADJ", {plat::fieldDef("CodigoProyecto", ftInteger)});
        documento(3, {{"CodigoProyecto", 7}});
        documento(1, {{"CodigoProyecto", 7}});
        documento(2, {{"CodigoProyecto", 5}});
        adjuntar("7", "Plano", "PDF", pdfDeTexto("Plano del proyecto siete"));
        adjuntar("7", "Memoria", "DOC", "no es un documento");
        adjuntar("5", "Foto", "JPG", "imagen");
    }
    QByteArray pdfDeTexto(const QString &texto)
    {
        const QString fichero = dir.file(texto + ".pdf");
        QPdfWriter w(fichero);
        QPainter p(&w);
        p.setFont(QFont("DejaVu Sans", 14));
        p.drawText(QPoint(500, 1000), texto);
        p.end();
        QFile f(fichero);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    void adjuntar(const QString &clave, const QString &id, const QString &tipo, const QByteArray &datos)
    {
        db().exec("INSERT INTO BLOBTAB (NombreTabla, ClaveTabla, IdObjeto, TipoObjeto, Objeto) VALUES "
                  "('PROYECTO', :c, :i, :t, :o)",
                  {{"c", clave}, {"i", id}, {"t", tipo}, {"o", datos}});
    }
};

TEST_F(AdjuntosPrueba, ToPdfEachDocumentIsFollowedByItsAttachedPdfAndConvertedWordDocument)
{
    preparar("Predeterminada");
    VistaPreviaImpreso = false;
    const QString salida = dir.file("adjuntos.pdf");
    motor->SalidaImpresion = "PDF:" + salida;
    {
        // The stand-in converter first on the path writes the Word memory's text on a page.
        const QByteArray ruta = qgetenv("PATH");
        qputenv("PATH", GP_SOFFICE_PRUEBA_DIR ":" + ruta);
        motor->Imprimir();
        qputenv("PATH", ruta);
    }
    EXPECT_TRUE(mensajes.textos().isEmpty()) << mensajes.textos().join('\n').toStdString();
    const QString texto = gptest::TextoPDF(salida);
    QStringList paginas = texto.split('\f', Qt::SkipEmptyParts);
    for (QString &p : paginas)
        p = p.simplified();
    // Ordered by connection, then key: document 2 (5) with no PDF or Word object, then
    // documents 1 and 3 (7), each followed by its objects by name: the memory, the plan.
    EXPECT_EQ(paginas, QStringList({"Documento", "Documento", "no es un documento", "Plano del proyecto siete",
                                    "Documento", "no es un documento", "Plano del proyecto siete"}));
}

TEST_F(AdjuntosPrueba, OnAPrinterEachObjectIsPrintedAfterItsDocumentWithOneDialog)
{
    preparar("Predeterminada");
    VistaPreviaImpreso = false;
    motor->Imprimir();
    EXPECT_EQ(impresoras.dialogos, 1);
    ASSERT_EQ(impresoras.trabajos.size(), 3);
    QStringList documentos;
    for (const auto &d : impresoras.documentos) {
        EXPECT_EQ(d.impresora, "Oficina");
        documentos << d.tipo;
    }
    // Document 2 (5): its picture; documents 1 and 3 (7): the memory and the plan each.
    EXPECT_EQ(documentos, QStringList({"JPG", "DOC", "PDF", "DOC", "PDF"}));
    QStringList impresos;
    for (const auto &v : vistas(OrdenImpreso::Camp))
        impresos << v.documento;
    EXPECT_EQ(impresos, QStringList({"2", "1", "3"}));
    EXPECT_TRUE(SinDialogoImpresora);
}

TEST_F(MotorPrueba, ARunEndedByAnErrorAbortsThePrinterJobFreesThePagesAndRethrows)
{
    anadirImpreso("FACTURA", {"[CABECERA]", "Text=10;10;0;Hoja", "Camp=1;1;0;CodigoTemporal"}, "A4", "Grafico", "Oficina");
    for (const bool pantalla : {false, true}) {
        SCOPED_TRACE(pantalla ? "pantalla" : "impresora");
        db().dropTable("TMPDOC");
        db().dropTable("TMPLIN");
        impresoras.trabajos.clear();
        VistaPreviaImpreso = pantalla;
        crearMotor("FACTURA");
        documento(1);
        documento(2);
        campos->alEjecutar = [](const auto &v) {
            if (v.documento == "2")
                throw gp::Error("fallo de prueba");
        };
        EXPECT_THROW(motor->Imprimir(), gp::Error);
        EXPECT_EQ(motor->paginas().cuenta(), 0);
        EXPECT_EQ(plat::application().cursor(), plat::crDefault);
        EXPECT_EQ(vistasPrevias, 0);
        if (!pantalla) {
            ASSERT_EQ(impresoras.trabajos.size(), 1);
            EXPECT_TRUE(impresoras.enviados.isEmpty());
            EXPECT_FALSE(QFile::exists(impresoras.trabajos.first().fichero));
        }
    }
}

} // namespace
