#include "tests/reporting/impresos/MotorPrueba.h"

#include "tests/reporting/impresos/ImpresoPrueba.h"

#include <QRegularExpression>

namespace {

using gptest::MotorPrueba;

const QStringList kFactura = {
    "[SISTEMA]", "AlturaLinea=5", "InicioLineas=40", "FinLineas=250",
    "[CABECERA]", "Camp=10;10;0;CodigoTemporal", "Vari=150;10;0;NumeroPagina",
    "[LINEAS]", "Camp=10;0;0;Concepto",
    "[PIE]", "Suma=10;260;0;Importe",
};

QString Pregunta25()
{
    return QStringLiteral("¡El número de páginas del informe es mayor que 25!. Superar este número puede ocasionarle un "
                          "bloqueo del sistema en caso de no disponer de recursos suficientes. ¿Desea continuar?");
}

TEST_F(MotorPrueba, MissingLayoutsAndEmptyTablesSayWhyAndShowNothing)
{
    anadirImpreso("FACTURA", kFactura);
    struct Caso
    {
        const char *peticion;
        bool conDocumento;
        const char *mensaje;
    };
    for (const Caso &c : {Caso{"", true, "¡El formato del Impreso no está definido!"},
                          Caso{"NOEXISTE", true, "¡No existe el formato del Impreso!"},
                          Caso{"FACTURA", false, "¡No hay datos para procesar!"}}) {
        SCOPED_TRACE(c.mensaje);
        db().dropTable("TMPDOC");
        db().dropTable("TMPLIN");
        mensajes.limpiar();
        vistasPrevias = 0;
        crearMotor(c.peticion);
        if (c.conDocumento)
            documento(1);
        motor->Imprimir();
        EXPECT_EQ(mensajes.textos(), QStringList{QString::fromUtf8(c.mensaje)});
        EXPECT_EQ(vistasPrevias, 0);
    }
}

TEST_F(MotorPrueba, EachDocumentRunsItsOwnLayoutAndPaper)
{
    anadirImpreso("FACTURA", kFactura, "A4");
    anadirImpreso("ALBARAN", {"[CABECERA]", "Camp=1;1;0;CodigoTemporal"}, "A5-Apaisado");
    crearMotor("FACTURA", {plat::fieldDef("CodigoImpreso", ftString, 20), plat::fieldDef("Cambio", ftFloat),
                           plat::fieldDef("CodigoMoneda", ftInteger)});
    documento(1, {{"CodigoImpreso", "Por Defecto"}, {"Cambio", 0}, {"CodigoMoneda", 0}});
    documento(2, {{"CodigoImpreso", "ALBARAN"}, {"Cambio", 166.386}, {"CodigoMoneda", 3}});
    documento(3, {{"CodigoImpreso", ""}});
    QList<QSize> tamanos;
    ServiciosImpresion conVista;
    conVista.vistaPrevia = [&](TfGENELIMP &m) {
        for (int n = 1; n <= m.paginas().cuenta(); ++n)
            tamanos << m.paginas().tamano(n);
    };
    const ServiciosImpresionInstalados vistaInstalada(conVista);
    motor->Imprimir();
    EXPECT_EQ(tamanos, (QList<QSize>{{800, 1131}, {800, 568}, {800, 1131}}));
    const auto camp = vistas(OrdenImpreso::Camp);
    ASSERT_GE(camp.size(), 3);
    EXPECT_EQ(camp.first().cambio, 1.0);   // 0 counts as 1
    EXPECT_EQ(camp.first().moneda, 1);
    const auto doc2 = std::find_if(camp.begin(), camp.end(), [](const auto &v) { return v.documento == "2"; });
    ASSERT_NE(doc2, camp.end());
    EXPECT_DOUBLE_EQ(doc2->cambio, 166.386);
    EXPECT_EQ(doc2->moneda, 3);
}

// To PDF each page goes on the sheet of the layout that drew it.
TEST_F(MotorPrueba, EachDocumentsPdfPageIsOnItsOwnLayoutsSheet)
{
    anadirImpreso("FACTURA", kFactura, "A4");
    anadirImpreso("ALBARAN", {"[CABECERA]", "Camp=1;1;0;CodigoTemporal"}, "A5-Apaisado");
    VistaPreviaImpreso = false;
    crearMotor("FACTURA", {plat::fieldDef("CodigoImpreso", ftString, 20)});
    documento(1, {{"CodigoImpreso", "Por Defecto"}});
    documento(2, {{"CodigoImpreso", "ALBARAN"}});
    documento(3, {{"CodigoImpreso", ""}});
    const QString salida = dir.file("hojas.pdf");
    motor->SalidaImpresion = "PDF:" + salida;
    motor->Imprimir();
    EXPECT_TRUE(mensajes.textos().isEmpty()) << mensajes.textos().join('\n').toStdString();
    QProcess info;
    info.start("pdfinfo", {"-f", "1", "-l", "3", salida});
    ASSERT_TRUE(info.waitForFinished(30000));
    const QString hojas = QString::fromUtf8(info.readAllStandardOutput());
    QStringList tamanos;
    static const QRegularExpression tamano("Page +\\d+ size: +(\\S+ x \\S+) pts");
    for (auto it = tamano.globalMatch(hojas); it.hasNext();)
        tamanos << it.next().captured(1);
    EXPECT_EQ(tamanos, QStringList({"595 x 842", "595 x 420", "595 x 842"})) << hojas.toStdString();
}

TEST_F(MotorPrueba, CopiesOnThePrinterOnlyOnScreenAndPdfOnce)
{
    anadirImpreso("FACTURA", {"[CABECERA]", "Camp=10;10;0;CodigoTemporal", "Vari=10;20;0;NumeroCopia"}, "A4", "Grafico",
                  "Oficina");
    for (const bool pantalla : {false, true}) {
        SCOPED_TRACE(pantalla ? "pantalla" : "impresora");
        db().dropTable("TMPDOC");
        db().dropTable("TMPLIN");
        VistaPreviaImpreso = pantalla;
        crearMotor("FACTURA", {plat::fieldDef("NumeroCopias", ftString, 10)});
        documento(1, {{"NumeroCopias", "3"}});
        documento(2, {{"NumeroCopias", "0"}});
        documento(3, {{"NumeroCopias", "10000"}});
        documento(4, {{"NumeroCopias", "abc"}});
        clavesVistaPrevia.clear();
        motor->Imprimir();
        QStringList copias;
        for (const auto &v : vistas(OrdenImpreso::Camp))
            copias << v.documento + "/" + QString::number(v.copia);
        if (pantalla) {
            EXPECT_EQ(copias, QStringList({"1/1", "2/1", "3/1", "4/1"}));
            EXPECT_EQ(clavesVistaPrevia, QStringList({"1;", "2;", "3;", "4;"}));
        } else {
            EXPECT_EQ(copias, QStringList({"1/1", "1/2", "1/3", "2/1", "3/1", "4/1"}));
            ASSERT_EQ(impresoras.trabajos.size(), 1);
            EXPECT_EQ(gptest::PaginasPDF(impresoras.trabajos.first().fichero), 6);
            // One page a copy, each showing its copy number.
            const QString texto = gptest::TextoPDF(impresoras.trabajos.first().fichero);
            EXPECT_EQ(texto.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts), QStringList({"1", "2", "3", "1", "1", "1"}));
        }
    }
}

TEST_F(MotorPrueba, TheLargeReportQuestionIsAskedOnceAndNoKeepsThePagesMade)
{
    anadirImpreso("FACTURA", {"[CABECERA]", "Text=10;10;0;Hoja"});
    for (const QString respuesta : {"NO", "SI"}) {
        SCOPED_TRACE(respuesta.toStdString());
        db().dropTable("TMPDOC");
        db().dropTable("TMPLIN");
        mensajes.limpiar();
        mensajes.programarRespuestas({respuesta});
        crearMotor("FACTURA");
        for (int i = 1; i <= 30; ++i)
            documento(i);
        motor->Imprimir();
        EXPECT_EQ(mensajes.textos(), QStringList{Pregunta25()});
        EXPECT_EQ(clavesVistaPrevia.size(), respuesta == "NO" ? 26 : 30);
    }
}

TEST_F(MotorPrueba, CancellingDuringTheThirdDocumentKeepsThreePages)
{
    anadirImpreso("FACTURA", {"[CABECERA]", "Camp=10;10;0;CodigoTemporal"});
    crearMotor("FACTURA");
    for (int i = 1; i <= 6; ++i)
        documento(i);
    campos->alEjecutar = [](const auto &v) {
        if (v.documento == "3")
            ListadoCanceladoMotor() = true;
    };
    motor->Imprimir();
    EXPECT_EQ(clavesVistaPrevia, QStringList({"1;", "2;", "3;"}));
    // A request made while the flag stands does nothing.
    clavesVistaPrevia.clear();
    motor->Imprimir();
    EXPECT_TRUE(clavesVistaPrevia.isEmpty());
}

TEST_F(MotorPrueba, ALabelSheetStartsAtTheFirstLabelAskedAndFillsAcrossAndDown)
{
    anadirImpreso("ETIQUETAS", {"[SISTEMA]", "FormatoEtiqueta=3;8;70;37", "[CABECERA]", "Camp=5;5;0;CodigoTemporal"},
                  "A4", "Grafico", "Oficina");
    VistaPreviaImpreso = false;
    mensajes.programarRespuestas({"5"});
    crearMotor("ETIQUETAS");
    for (int i = 1; i <= 22; ++i)
        documento(i);
    motor->Imprimir();
    QList<qint64> posiciones;
    for (const auto &v : vistas(OrdenImpreso::Camp))
        posiciones << v.posicionEtiqueta;
    QList<qint64> esperadas;
    for (int p = 5; p <= 24; ++p)
        esperadas << p;
    esperadas << 1 << 2;
    EXPECT_EQ(posiciones, esperadas);
    ASSERT_EQ(impresoras.trabajos.size(), 1);
    EXPECT_EQ(gptest::PaginasPDF(impresoras.trabajos.first().fichero), 2);
}

TEST_F(MotorPrueba, SumsSkipMarkedLinesFeedTheFirstSlotOfANameAndStartAgainEachCopy)
{
    anadirImpreso("FACTURA",
                  {"[LINEAS]", "Camp=10;0;0;Importe", "[PIE]", "Suma=10;260;0;Importe", "Suma=50;260;0;Importe",
                   "Suma=90;260;0;Cantidad"},
                  "A4", "Grafico", "Oficina");
    VistaPreviaImpreso = false;
    crearMotor("FACTURA", {plat::fieldDef("NumeroCopias", ftInteger)},
               {plat::fieldDef("Importe", ftFloat), plat::fieldDef("Cantidad", ftString, 10),
                plat::fieldDef("Instrucciones", ftMemo)});
    documento(1, {{"NumeroCopias", 2}});
    linea(1, 1, {{"Importe", 10.5}, {"Cantidad", "2"}});
    linea(1, 2, {{"Importe", 100}, {"Cantidad", "x"}, {"Instrucciones", "Inst=NoSumaYSigue"}});
    linea(1, 3, {{"Importe", 1}, {"Cantidad", "3"}});
    motor->Imprimir();
    const auto lineasVistas = vistas(OrdenImpreso::Camp);
    ASSERT_EQ(lineasVistas.size(), 6);
    // The line being drawn is already in its sum.
    EXPECT_EQ(lineasVistas.at(0).sumas[0], 10.5);
    EXPECT_EQ(lineasVistas.at(1).sumas[0], 10.5);
    const auto pies = vistas(OrdenImpreso::Suma);
    ASSERT_EQ(pies.size(), 6);
    for (const auto &pie : pies) {
        EXPECT_EQ(pie.sumas[0], 11.5);
        EXPECT_EQ(pie.sumas[1], 0);   // a repeated name: only the first slot adds
        EXPECT_EQ(pie.sumas[2], 5);
    }
    EXPECT_EQ(lineasVistas.at(3).sumas[0], 10.5);   // copy 2 starts again
}

TEST_F(MotorPrueba, ALinesOwnInstructionSeesBothFlagsOffOnThePagesFirstLine)
{
    anadirImpreso("FACTURA",
                  {"[SISTEMA]", "AlturaLinea=10", "InicioLineas=0", "FinLineas=20", "[CABECERA]", "Text=1;1;0;Cab",
                   "[LINEAS]", "Text=1;1;0;Linea", "[PIEPAGINA]", "Text=1;280;0;Pie"});
    crearMotor("FACTURA", {}, {plat::fieldDef("Instrucciones", ftMemo)});
    documento(1);
    for (int i = 1; i <= 3; ++i)
        linea(1, i, {{"Instrucciones", "Camp=1;1;0;Marca"}});
    motor->Imprimir();
    QList<bool> lineasActivas;
    for (const auto &v : vistas(OrdenImpreso::Camp)) {
        lineasActivas << v.lineasActivas;
        EXPECT_FALSE(v.pieActivo);
    }
    // Two lines a page: the third starts page 2 after its header.
    EXPECT_EQ(lineasActivas, QList<bool>({false, true, false}));
    EXPECT_EQ(clavesVistaPrevia, QStringList({"1;", "1;"}));
}

TEST_F(MotorPrueba, WithoutALineHeightEachLineStartsANewPage)
{
    anadirImpreso("FACTURA", {"[CABECERA]", "Text=1;1;0;Cab", "[LINEAS]", "Text=1;1;0;Linea"});
    crearMotor("FACTURA");
    documento(1);
    for (int i = 1; i <= 3; ++i)
        linea(1, i);
    motor->Imprimir();
    EXPECT_EQ(clavesVistaPrevia, QStringList({"1;", "1;", "1;", "1;"}));
}

TEST_F(MotorPrueba, OnePageModePrintsOnlyTheDocumentOfThatPage)
{
    anadirImpreso("FACTURA", {"[CABECERA]", "Camp=10;10;0;CodigoTemporal"}, "A4", "Grafico", "Oficina");
    crearMotor("FACTURA");
    for (int i = 1; i <= 3; ++i)
        documento(i);
    ServiciosImpresion conVista;
    conVista.vistaPrevia = [&](TfGENELIMP &m) {
        m.UnaPagina = true;
        m.PaginaUnaPagina = 2;
        m.ejecucion().destino = DestinoImpresion::Impresora;
        campos->vistas.clear();
        m.GenerarImpreso();
        m.ejecucion().destino = DestinoImpresion::Pantalla;
        m.UnaPagina = false;
    };
    const ServiciosImpresionInstalados vistaInstalada(conVista);
    motor->Imprimir();
    ASSERT_EQ(campos->vistas.size(), 1);
    EXPECT_EQ(campos->vistas.first().documento, "2");
    EXPECT_EQ(impresoras.trabajos.size(), 1);
}

TEST_F(MotorPrueba, TenThousandAndOnePagesAreAllKeptInOrder)
{
    anadirImpreso("FACTURA", {"[CABECERA]", "Text=10;10;0;Hoja"});
    mensajes.programarRespuestas({"SI"});
    crearMotor("FACTURA");
    db().startTransaction();
    for (int i = 1; i <= 10001; ++i)
        documento(i);
    db().commit();
    QStringList esperadas;
    for (int i = 1; i <= 10001; ++i)
        esperadas << QString::number(i) + ";";
    bool primeraLeida = false;
    ServiciosImpresion conVista;
    conVista.vistaPrevia = [&](TfGENELIMP &m) {
        clavesVistaPrevia = m.paginas().claves();
        // The first page was kept on disk and is read back whole.
        primeraLeida = !m.paginas().pagina(1).isEmpty() && !m.paginas().pagina(10001).isEmpty();
    };
    const ServiciosImpresionInstalados vistaInstalada(conVista);
    motor->Imprimir();
    EXPECT_EQ(clavesVistaPrevia, esperadas);
    EXPECT_TRUE(primeraLeida);
}

TEST_F(MotorPrueba, FreeingTheEngineDropsBothTablesAndClearsTheRequestFlags)
{
    anadirImpreso("FACTURA", {"[CABECERA]", "Text=10;10;0;Hoja"});
    FormularioLlamanteImpreso = "fGENEIMPR";
    SinDialogoImpresora = true;
    crearMotor("FACTURA");
    documento(1);
    motor->Imprimir();
    motor->FormDestroy(motor.get());
    EXPECT_FALSE(db().tableExists("TMPDOC"));
    EXPECT_FALSE(db().tableExists("TMPLIN"));
    EXPECT_FALSE(SinDialogoImpresora);
    EXPECT_TRUE(FormularioLlamanteImpreso.isEmpty());
    EXPECT_EQ(CodigoImpresoPeticion, "FACTURA");   // the caller sets it for every request
}

} // namespace

namespace {

// Pages past the memory budget (two here) go to the store's file and come back as they were
// drawn.
TEST(AlmacenPaginas, PagesKeptOnDiskDrawAsTheyWereDrawn)
{
    const QSize tamano(200, 120);
    const auto dibujar = [](QPainter &p, int n) {
        p.setFont(QFont(QStringLiteral("Arial"), 14));
        p.drawText(10, 40, QStringLiteral("Página %1").arg(n));
        p.fillRect(QRect(10 + 10 * n, 60, 30, 20), QColor(20 * n, 0, 200));
    };
    const auto imagen = [&](const plat::Drawing &pagina) {
        QImage i(tamano, QImage::Format_RGB32);
        i.fill(Qt::white);
        QPainter p(&i);
        DibujarPagina(p, pagina);
        return i;
    };
    AlmacenPaginas paginas(2);
    for (int n = 1; n <= 5; ++n) {
        QPainter p(&paginas.nueva(tamano, QString::number(n) + ";"));
        dibujar(p, n);
    }
    paginas.nueva(tamano, "6;");   // the fifth is finished and may go to disk too
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE(n);
        plat::Drawing esperada;
        {
            QPainter p(&esperada);
            dibujar(p, n);
        }
        EXPECT_FALSE(paginas.pagina(n).isEmpty());
        EXPECT_EQ(imagen(paginas.pagina(n)), imagen(esperada));
    }
    EXPECT_NE(imagen(paginas.pagina(2)), imagen(paginas.pagina(3)));
    EXPECT_TRUE(paginas.pagina(7).isEmpty());
    EXPECT_EQ(paginas.claves(), QStringList({"1;", "2;", "3;", "4;", "5;", "6;"}));
}

} // namespace
