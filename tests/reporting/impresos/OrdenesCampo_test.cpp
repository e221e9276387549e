#include "GENEW/data/servicios/ParametrosGenerales.h"
#include "GENEW/reporting/impresos/OrdenesCampo.h"
#include "platform/data/ValueText.h"
#include "tests/reporting/impresos/MotorPrueba.h"

#include <QFile>

namespace {

// ---- the command texts --------------------------------------------------------------------

TEST(CamposTextos, FieldNameOptions)
{
    struct Caso
    {
        const char *nombre;
        const char *campo;
        int pieza;
        bool euro;
    } casos[] = {
        {"Importe", "Importe", 0, false},
        {"Descripcion,2", "Descripcion", 2, false},
        {"Importe(Euro)", "Importe", 0, true},
        {"Año-Fiscal", "AnoFiscal", 0, false},
        {"Total(Euro),3", "Total", 3, true},
        {"Nombre,x", "Nombre", 0, false},
    };
    for (const Caso &c : casos) {
        const NombreCampoImpreso n = LeerNombreCampo(QString::fromUtf8(c.nombre));
        EXPECT_EQ(n.campo, c.campo) << c.nombre;
        EXPECT_EQ(n.pieza, c.pieza) << c.nombre;
        EXPECT_EQ(n.euro, c.euro) << c.nombre;
    }
    EXPECT_EQ(PiezaTexto("a;b;c", 2), "b");
    EXPECT_EQ(PiezaTexto("a;b;c", 4), "");
}

TEST(CamposTextos, FloatFormatsAndSections)
{
    EXPECT_EQ(FormatoReal("0", "", "cero", "#"), "0");   // the zero section needs a negative one
    EXPECT_EQ(FormatoReal("0", "-0", "cero", "#"), "0;-0;cero");
    EXPECT_EQ(FormatoReal("", "-0", "cero", "#,##0.00"), "#,##0.00");
    struct Caso
    {
        const char *formato;
        double valor;
        const char *texto;
    } casos[] = {
        {"#,##0.00", 1234.5, "1.234,50"}, {"0.00;(0.00)", -3, "(3,00)"}, {"0.00;-0.00;cero", 0, "cero"},
        {"0", 0.5, "1"},                  {"0", -0.5, "-1"},             {"0;;", -5, "-5"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(plat::formatFloat(c.formato, c.valor), c.texto) << c.formato << " " << c.valor;
}

TEST(CamposTextos, ExpressionsGoStrictlyLeftToRight)
{
    const auto campos = [](const QString &termino) { return termino == "Importe" ? 5.0 : 0.0; };
    struct Caso
    {
        const char *expresion;
        double valor;
    } casos[] = {
        {"Importe + 10 * 2", 30},
        {"Importe / 0", 0},
        {"3 x 4", 12},
        {"abc + 1", 1},
        {"10 - 4 - 1", 5},
        {"Importe", 5},
        {"2,5 * 2", 5},
        {"Importe+1", 0},   // without blanks around it "+" ends no term
    };
    for (const Caso &c : casos)
        EXPECT_DOUBLE_EQ(EvaluarExpresion(c.expresion, campos), c.valor) << c.expresion;
}

TEST(CamposTextos, JoinsOfTextsAndFields)
{
    const auto campos = [](const QString &nombre) { return nombre == "Nombre" ? QString("Ana") : QString(); };
    struct Caso
    {
        const char *expresion;
        const char *texto;
    } casos[] = {
        {R"("Sr. " + Nombre)", "Sr. Ana"},
        {R"(Nombre"x")", "x"},                 // a value without a join replaces the result
        {R"(Nombre + "x")", "Anax"},
        {R"("a\"b")", "a\"b"},                 // the three escapes
        {R"("a\\b")", "a\\b"},
        {R"("a\nb")", "a\\nb"},
        {R"("abierto)", "abierto"},            // a quote never closed ends at the text's end
        {R"(Nombre "y")", "y"},
        {"", ""},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(ConcatenarElementos(c.expresion, campos), c.texto) << c.expresion;
}

TEST(CamposTextos, ParagraphsFillWordByWord)
{
    const auto medir = [](const QString &t) { return int(t.size()); };
    EXPECT_EQ(LlenarParrafo("uno dos tres cuatro", 8, medir), QStringList({"uno dos", "tres", "cuatro"}));
    EXPECT_EQ(LlenarParrafo("larguisima y", 4, medir), QStringList({"larguisima", "y"}));
    EXPECT_EQ(LlenarParrafo("a\tb  c", 10, medir), QStringList({"ab c"}));
    EXPECT_TRUE(LlenarParrafo("   ", 10, medir).isEmpty());
}

// ---- through the engine, on a text-mode printer -----------------------------------------

// The page a raw text stream prints: line feeds go down, carriage returns back to the first
// column, the reverse feed up; blanks move on and other characters overwrite.
QStringList HojaImpresa(const QByteArray &datos)
{
    QStringList filas;
    int base = 0, fila = 0, columna = 0;
    for (qsizetype i = 0; i < datos.size(); ++i) {
        const char b = datos.at(i);
        if (b == '\n') {
            ++fila;
        } else if (b == '\r') {
            columna = 0;
        } else if (b == '\f') {
            base = int(filas.size());
            fila = 0;
        } else if (b == '\x1b' && datos.mid(i + 1, 2) == "j$") {
            --fila;
            i += 2;
        } else if (b == ' ') {
            ++columna;
        } else {
            while (filas.size() <= base + fila)
                filas << QString();
            QString &f = filas[base + fila];
            if (f.size() <= columna)
                f = f.leftJustified(columna + 1, ' ');
            f[columna++] = QChar::fromLatin1(b);
        }
    }
    for (QString &f : filas)
        f = f.trimmed();
    return filas;
}

class CamposMotor : public gptest::MotorPrueba
{
protected:
    void preparar(const QStringList &impreso, const QList<plat::FieldDef> &documento,
                  const QList<plat::FieldDef> &lineas = {})
    {
        anadirImpreso("CAMPOS", impreso, "A4", "Texto", "Matricial");
        VistaPreviaImpreso = false;
        crearMotor("CAMPOS", documento, lineas);
        motor->InstalarOrdenesCampo(&motor->ordenesCampoPropias());
    }
    QStringList hoja()
    {
        impresoras.brutos.clear();
        motor->Imprimir();
        EXPECT_EQ(impresoras.brutos.size(), 1);
        return impresoras.brutos.isEmpty() ? QStringList() : HojaImpresa(impresoras.brutos.first().datos);
    }
};

TEST_F(CamposMotor, CampPrintsEachKindOfFieldWithItsRules)
{
    preparar({"[CABECERA]",
              "Camp=0;1;0;Importe;;#,##0.00",
              "Camp=0;2;0;Negativo;;0.00;(0.00)",
              "Camp=0;3;0;Cero;;0.00;-0.00;nada",
              "Camp=0;4;0;Medio;;0",
              "Camp=0;5;0;Entero;;0",
              "Camp=0;6;0;Entero",
              "Camp=0;7;0;Descripcion,2",
              "Camp=0;8;0;Año-Fiscal",
              "Camp=0;9;0;HoraInicio",
              "Camp=0;10;0;FechaEntrega",
              "Camp=0;11;0;Precio",
              "Camp=0;12;0;Importe",
              "Camp=0;13;0;NoExiste",
              "Camp=0;14;0;Importe(Euro);;0.00"},
             {plat::fieldDef("Importe", ftFloat), plat::fieldDef("Negativo", ftFloat), plat::fieldDef("Cero", ftFloat),
              plat::fieldDef("Medio", ftFloat), plat::fieldDef("Entero", ftInteger),
              plat::fieldDef("Descripcion", ftString, 40), plat::fieldDef("AnoFiscal", ftSmallint),
              plat::fieldDef("HoraInicio", ftDateTime), plat::fieldDef("FechaEntrega", ftDateTime),
              plat::fieldDef("Precio", ftCurrency)});
    documento(1, {{"Importe", 1234.5},
                  {"Negativo", -3.0},
                  {"Cero", 0.0},
                  {"Medio", 0.5},
                  {"Entero", -5},
                  {"Descripcion", "a;b;c"},
                  {"AnoFiscal", 2026},
                  {"HoraInicio", QDateTime(QDate(1899, 12, 30), QTime(8, 30))},
                  {"FechaEntrega", QDateTime(QDate(1899, 12, 30), QTime(0, 0))},
                  {"Precio", 12.5}});
    const QStringList filas = hoja();
    ASSERT_GE(filas.size(), 13) << filas.join('\n').toStdString();
    const QStringList esperadas = {"1.234,50", "(3,00)", "nada", "1", "-5", "-5", "b", "2026", "08:30:00", "", "12,5",
                                   plat::formatFloat(FormatoNumericoEstandar, 1234.5)};
    for (int i = 0; i < esperadas.size(); ++i)
        EXPECT_EQ(filas.at(i + 1), esperadas.at(i)) << "row " << i + 1;
    EXPECT_TRUE(filas.mid(13).join("").isEmpty()) << filas.join('\n').toStdString();
}

TEST_F(CamposMotor, SimulationDrawsTheAbbreviatedNames)
{
    preparar({"[CABECERA]", "Camp=0;1;0;ImporteTotal", "Expr=0;2;0;PrecioUnidad", "Conc=0;3;0;NombreCliente",
              "[PIE]", "Suma=0;4;0;ImporteLinea"},
             {plat::fieldDef("ImporteTotal", ftFloat)});
    documento(1, {{"ImporteTotal", 7.0}});
    FormularioLlamanteImpreso = "fGENEIMPR";
    const QStringList filas = hoja();
    ASSERT_GE(filas.size(), 5) << filas.join('\n').toStdString();
    EXPECT_EQ(filas.mid(1, 4), QStringList({"I.Total", "P.Unidad", "N.Cliente", "I.Linea"}));
}

TEST_F(CamposMotor, ExpressionsJoinsAndSumsOverTheLines)
{
    preparar({"[SISTEMA]", "InicioLineas=5", "AlturaLinea=1", "FinLineas=60",
              "[CABECERA]", R"(Conc=0;1;0;"Sr. " + Nombre)", "Expr=0;2;0;Cantidad + 10 * 2;;0",
              "[LINEAS]", "Camp=0;0;0;Cantidad;;0", "Expr=10;0;0;Cantidad * 2;;0",
              "Suma=20;0;0;Cantidad;;0",   // inside [LINEAS]: nothing
              "[PIE]", "Suma=0;20;0;Cantidad;;0", "ISum=Cantidad", "Suma=10;20;0;Cantidad;;0", "Suma=0;21;0;Otra;;0"},
             {plat::fieldDef("Nombre", ftString, 20), plat::fieldDef("Cantidad", ftFloat)},
             {plat::fieldDef("Cantidad", ftFloat)});
    documento(1, {{"Nombre", "Ana"}, {"Cantidad", 5.0}});
    linea(1, 1, {{"Cantidad", 3.0}});
    linea(1, 2, {{"Cantidad", 4.0}});
    const QStringList filas = hoja();
    ASSERT_GE(filas.size(), 21) << filas.join('\n').toStdString();
    EXPECT_EQ(filas.at(1), "Sr. Ana");
    EXPECT_EQ(filas.at(2), "30");
    EXPECT_EQ(filas.at(5).simplified(), "3 6");
    EXPECT_EQ(filas.at(6).simplified(), "4 8");
    // The first sum shows the total; after ISum the second shows 0.
    EXPECT_EQ(filas.at(20).simplified(), "7 0");
    EXPECT_EQ(filas.at(21), "0");   // a name the lines do not carry sums nothing
}

TEST_F(CamposMotor, AMemoWrapsIntoContinuationRowsPrintedOnTheNextLines)
{
    preparar({"[SISTEMA]", "InicioLineas=5", "AlturaLinea=1", "FinLineas=60",
              "[CABECERA]", "Camp=0;1;8;Resumen;2", "Camp=20;1;8;Resumen;0",
              "[LINEAS]", "Camp=0;0;8;Texto", "Text=10;0;0;L", "Camp=12;0;0;Linea"},
             {plat::fieldDef("Resumen", ftMemo)}, {plat::fieldDef("Texto", ftMemo)});
    documento(1, {{"Resumen", "uno dos tres cuatro"}});
    linea(1, 1, {{"Texto", "uno dos tres cuatro"}});
    linea(1, 2, {{"Texto", "fin"}});
    for (int vez = 0; vez < 2; ++vez) {   // the rows added are removed before printing again
        const QStringList filas = hoja();
        ASSERT_GE(filas.size(), 9) << filas.join('\n').toStdString();
        EXPECT_EQ(filas.at(1), "uno dos");   // two lines asked outside [LINEAS]; 0 draws none
        EXPECT_EQ(filas.at(2), "tres");
        EXPECT_EQ(filas.at(3), "");
        // A continuation row prints its stored line and no other text.
        EXPECT_EQ(filas.at(5).simplified(), "uno dos L 1");
        EXPECT_EQ(filas.at(6).simplified(), "tres 1");
        EXPECT_EQ(filas.at(7).simplified(), "cuatro 1");
        EXPECT_EQ(filas.at(8).simplified(), "fin L 2");
    }
    int continuaciones = 0;
    plat::TableDataSet &l = motor->LTemporal->table();
    for (l.first(); !l.eof(); l.next())
        continuaciones += l.fieldByName("LineaMemo").asInteger() >= 1;
    EXPECT_EQ(continuaciones, 2);
}

TEST_F(CamposMotor, AMemoParagraphRepeatsItsTagsOnEveryLine)
{
    preparar({"[CABECERA]", "Camp=0;1;8;Resumen;3"}, {plat::fieldDef("Resumen", ftMemo)});
    documento(1, {{"Resumen", "<N>uno dos tres\r\notro"}});
    // Text mode draws no font: the tags reach Text in front of each line and are cut there.
    const QStringList filas = hoja();
    ASSERT_GE(filas.size(), 4) << filas.join('\n').toStdString();
    EXPECT_EQ(filas.mid(1, 3), QStringList({"uno dos", "tres", "otro"}));
}

// The demo layout prints its fields, expressions, wrapped memo and totals to PDF.
TEST_F(CamposMotor, TheDemoLayoutPrintsItsFieldsToPdf)
{
    QFile f(QStringLiteral(GP_IMPRESOS_DIR "/demo-campos.imp"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    anadirImpreso("DEMOCAMPOS", DividirLineasImpreso(QString::fromUtf8(f.readAll())));
    VistaPreviaImpreso = false;
    crearMotor("DEMOCAMPOS", {plat::fieldDef("Cliente", ftString, 40), plat::fieldDef("Fecha", ftDateTime)},
               {plat::fieldDef("Concepto", ftMemo), plat::fieldDef("Cantidad", ftFloat), plat::fieldDef("Precio", ftFloat),
                plat::fieldDef("Importe", ftFloat)});
    motor->InstalarOrdenesCampo(&motor->ordenesCampoPropias());
    documento(1, {{"Cliente", "Construcciones Ribera"}, {"Fecha", QDateTime(QDate(2026, 12, 7), QTime(0, 0))}});
    linea(1, 1, {{"Concepto", "Excavación de zanjas para la cimentación del bloque norte"}, {"Cantidad", 12.0}, {"Precio", 45.5}, {"Importe", 546.0}});
    linea(1, 2, {{"Concepto", "Hormigón"}, {"Cantidad", 3.0}, {"Precio", 1000.0}, {"Importe", 3000.0}});
    const QString salida = dir.file("campos.pdf");
    motor->SalidaImpresion = "PDF:" + salida;
    motor->Imprimir();
    EXPECT_TRUE(mensajes.textos().isEmpty()) << mensajes.textos().join('\n').toStdString();
    const QString texto = gptest::TextoPDF(salida);
    for (const char *valor : {"Cliente: Construcciones Ribera", "07/12/2026", "546,00", "3.000,00", "3.546,00",
                              "Excavación de", "Hormigón"})
        EXPECT_TRUE(texto.contains(QString::fromUtf8(valor))) << valor << "\n" << texto.toStdString();
    EXPECT_FALSE(texto.contains(QString::fromUtf8("Excavación de zanjas para la cimentación del bloque norte")));
    EXPECT_TRUE(texto.contains("norte"));
    if (qEnvironmentVariableIsSet("GP_GUARDAR_PAGINAS"))
        QFile::copy(salida, qEnvironmentVariable("GP_GUARDAR_PAGINAS") + "/demo-campos.pdf");
}

} // namespace

namespace {

class ReferenciasMotor : public CamposMotor
{
protected:
    void tablas()
    {
        plat::TableDef cliente;
        cliente.name = "CLIENTE";
        cliente.fields = {plat::fieldDef("Codigo", ftString, 10, true), plat::fieldDef("Nombre", ftString, 40),
                          plat::fieldDef("Descuento", ftFloat)};
        cliente.indexes = {indice("Clave1", {"Codigo"})};
        db().createTable(cliente);
        plat::TableDef orden;
        orden.name = "ORDEN";
        orden.fields = {plat::fieldDef("Numero", ftInteger, 0, true), plat::fieldDef("Seccion", ftInteger, 0, true),
                        plat::fieldDef("Descripcion", ftString, 40)};
        orden.indexes = {indice("Clave1", {"Numero", "Seccion"})};
        db().createTable(orden);
        db().exec("INSERT INTO CLIENTE (Codigo, Nombre, Descuento) VALUES ('C1', 'Ana', 4), ('C2', 'Luis', 7)");
        db().exec("INSERT INTO ORDEN (Numero, Seccion, Descripcion) VALUES (1234, 1, 'Muro'), (1234, 2, 'Zanja')");
    }
};

// The look-ups on every engine, with two more tables: one keyed by a single field, and one
// whose index has five fields (a connection gives four key items at most).
class ReferenciasMotores : public ReferenciasMotor, public ::testing::WithParamInterface<gptest::Backend>
{
protected:
    gptest::Backend motorBaseDatos() const override { return GetParam(); }
    void tablas()
    {
        ReferenciasMotor::tablas();
        plat::TableDef presupuesto;
        presupuesto.name = "PRESUP";
        presupuesto.fields = {plat::fieldDef("Numero", ftInteger, 0, true), plat::fieldDef("Titulo", ftString, 40)};
        presupuesto.indexes = {indice("Clave1", {"Numero"})};
        db().createTable(presupuesto);
        plat::TableDef partida;
        partida.name = "PARTIDA";
        for (const char *campo : {"A", "B", "C", "D", "E"})
            partida.fields << plat::fieldDef(campo, ftInteger, 0, true);
        partida.fields << plat::fieldDef("Texto", ftString, 20);
        partida.indexes = {indice("Clave1", {"A", "B", "C", "D", "E"})};
        db().createTable(partida);
        db().exec("INSERT INTO PRESUP (Numero, Titulo) VALUES (3, 'Otro'), (55, 'Reforma')");
        db().exec("INSERT INTO PARTIDA (A, B, C, D, E, Texto) VALUES (1, 1, 1, 2, 1, 'otra'), (1, 1, 1, 1, 2, 'segunda'), "
                  "(1, 1, 1, 1, 1, 'primera')");
    }
};

TEST_P(ReferenciasMotores, ReferencesFindTheRecordTheConnectionsName)
{
    tablas();
    preparar({"[SISTEMA]", "Conexion=CLIENTE>CodigoCliente", "Conexion=CLIENTE.Envio>\"C2\"", "Conexion=ORDEN>Referencia",
              "Conexion=PRESUP>Presupuesto", R"(Conexion=PARTIDA>"1";"1";"1";"1")",
              "[CABECERA]", "Camp=0;1;0;CLIENTE.Nombre", "Camp=0;2;0;CLIENTE.Nombre.Envio",
              "Camp=0;3;0;ORDEN.Descripcion", "Camp=0;4;0;NOEXISTE.Nombre", "Expr=0;5;0;CLIENTE.Descuento + 1;;0",
              "Expr=0;6;0;CLIENTE.Envio.Descuento * 2;;0", "Camp=0;7;0;CLIENTE.NoHay", "Camp=0;8;0;PRESUP.Titulo",
              "Camp=0;9;0;PARTIDA.Texto", "Expr=0;10;0;NOEXISTE.Envio.Nombre + 1;;0", "Expr=0;11;0;CLIENTE.NoHay + 1;;0",
              "Text=0;12;0;fin"},
             {plat::fieldDef("CodigoCliente", ftString, 10), plat::fieldDef("Referencia", ftString, 20),
              plat::fieldDef("Presupuesto", ftString, 20)});
    documento(1, {{"CodigoCliente", "C1"}, {"Referencia", "OF:1234/2"}, {"Presupuesto", "PP:55/3"}});
    documento(2, {{"CodigoCliente", "ZZ"}, {"Referencia", "OF:9/9"}, {"Presupuesto", "PP:9"}});
    const QStringList filas = hoja();
    const qsizetype segunda = filas.indexOf("fin") + 1;
    ASSERT_GE(filas.size(), segunda + 13) << filas.join('\n').toStdString();
    // "PP:" on a one-field index takes its first key only; a five-field index is searched on
    // the four values given, and its first record in key order answers.
    EXPECT_EQ(filas.mid(1, 12),
              QStringList({"Ana", "Luis", "Zanja", "", "5", "14", "", "Reforma", "primera", "1", "1", "fin"}));
    // Not found: nothing drawn, and a look-up that finds nothing counts 0.
    EXPECT_EQ(filas.mid(segunda + 1, 12), QStringList({"", "Luis", "", "", "1", "14", "", "", "primera", "1", "1", "fin"}));
}

INSTANTIATE_TEST_SUITE_P(Motores, ReferenciasMotores, GP_ENGINE_BACKENDS);

TEST_F(ReferenciasMotor, TheLastMatchingConnectionDecides)
{
    tablas();
    preparar({"[SISTEMA]", "Conexion=CLIENTE>CodigoCliente", "Conexion=CLIENTE>\"C2\"", "[CABECERA]",
              "Camp=0;1;0;CLIENTE.Nombre"},
             {plat::fieldDef("CodigoCliente", ftString, 10)});
    documento(1, {{"CodigoCliente", "C1"}});
    const QStringList filas = hoja();
    ASSERT_GE(filas.size(), 2);
    EXPECT_EQ(filas.at(1), "Luis");
}

TEST_F(ReferenciasMotor, AnUnknownReferenceFieldEndsTheRunAndFreesItsPages)
{
    tablas();
    preparar({"[SISTEMA]", "Conexion=CLIENTE>NoExiste", "[CABECERA]", "Text=0;1;0;antes", "Camp=0;2;0;CLIENTE.Nombre"},
             {plat::fieldDef("CodigoCliente", ftString, 10)});
    documento(1, {{"CodigoCliente", "C1"}});
    EXPECT_ANY_THROW(motor->Imprimir());
    EXPECT_EQ(motor->paginas().cuenta(), 0);
    EXPECT_TRUE(impresoras.brutos.isEmpty());   // nothing reaches the printer
}

} // namespace

namespace {

TEST_F(ReferenciasMotor, APictureNamedByAReferenceIsDrawn)
{
    tablas();
    db().exec("ALTER TABLE CLIENTE ADD COLUMN Foto VARCHAR(200)");
    QImage rojo(40, 40, QImage::Format_RGB32);
    rojo.fill(Qt::red);
    const QString fichero = dir.file("foto.png");
    ASSERT_TRUE(rojo.save(fichero));
    db().exec("UPDATE CLIENTE SET Foto = :f WHERE Codigo = 'C1'", {{"f", fichero}});
    anadirImpreso("FOTO", {"[SISTEMA]", "Conexion=CLIENTE>CodigoCliente", "[CABECERA]",
                           "Graf=10;10;60;60;Camp:CLIENTE.Foto"});
    crearMotor("FOTO", {plat::fieldDef("CodigoCliente", ftString, 10)});
    documento(1, {{"CodigoCliente", "C1"}});
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
    ASSERT_FALSE(pagina.isNull());
    const double pxmm = pagina.width() / 210.0;
    EXPECT_EQ(QColor(pagina.pixel(int(35 * pxmm), int(35 * pxmm))), QColor(Qt::red));
    EXPECT_EQ(QColor(pagina.pixel(int(80 * pxmm), int(80 * pxmm))), QColor(Qt::white));
}

} // namespace

namespace {

TEST_F(CamposMotor, HiddenFieldsTranslationAndTheNumericTemplate)
{
    preparar({"[SISTEMA]", "InicioLineas=10", "AlturaLinea=1", "FinLineas=60", "[CABECERA]",
              "Camp=0;1;0;Coste", "Camp=0;2;0;Estado;;;;;S", "Camp=0;3;0;Estado", "Camp=0;4;0;Importe",
              "Camp=0;5;8;Notas;2", "Text=0;6;0;fin", "[LINEAS]", "Camp=0;0;8;Notas", "Camp=10;0;0;Linea"},
             {plat::fieldDef("Coste", ftFloat), plat::fieldDef("Estado", ftString, 20), plat::fieldDef("Importe", ftFloat),
              plat::fieldDef("Notas", ftMemo)},
             {plat::fieldDef("Notas", ftMemo)});
    OrdenesCampo::Servicios &s = motor->ordenesCampoPropias().servicios();
    s.esCampoNoVisible = [](const QString &campo) { return campo == "Coste" || campo == "Notas"; };
    s.traducir = [](const QString &texto) { return texto == "Abierto" ? QString("Open") : texto; };
    s.plantillaNumerica = [](const QString &campo) { return campo == "Importe" ? QString("0.000") : QString("0"); };
    documento(1, {{"Coste", 99.0}, {"Estado", "Abierto"}, {"Importe", 2.5}, {"Notas", "uno dos tres cuatro"}});
    linea(1, 1, {{"Notas", "uno dos tres cuatro"}});
    linea(1, 2);
    const QStringList filas = hoja();
    ASSERT_GE(filas.size(), 7) << filas.join('\n').toStdString();
    EXPECT_EQ(filas.mid(1, 6), QStringList({"", "Open", "Abierto", "2,500", "", "fin"}));
    // A hidden memo prints nothing and adds no continuation rows.
    EXPECT_EQ(filas.mid(5).join('|'), "|fin||||1|2");
}

} // namespace

namespace {

TEST_F(CamposMotor, EuroAmountsPassTheModeOfTheDocumentsCurrency)
{
    // Euro 1, national 2, another currency 3 at a rate of 2,5; the conversion doubles the
    // amount and records its mode; the national rate is 10.
    struct Caso
    {
        int moneda;
        bool vistaEnEuros;
        const char *modo;
        const char *texto;
    } casos[] = {
        {1, true, "", "8,00"},          {2, true, "AutoInverso", "8,00"}, {3, true, "Otra Moneda", "200,00"},
        {1, false, "AutoInverso", "8,00"}, {2, false, "", "8,00"},         {3, false, "Otra Moneda", "200,00"},
        {9, false, "fallo", ""},
    };
    preparar({"[CABECERA]", "Camp=0;1;0;Importe(Euro);;0.00"},
             {plat::fieldDef("Importe", ftFloat), plat::fieldDef("CodigoMoneda", ftInteger), plat::fieldDef("Cambio", ftFloat)});
    QStringList modos;
    bool vista = false;
    motor->ordenesCampoPropias().servicios().moneda = [&]() {
        OrdenesCampo::Servicios::Moneda m{1, 2, vista, nullptr, nullptr};
        m.convertir = [&modos](const QString &modo, double importe) {
            modos << modo;
            if (importe > 1000)
                throw std::runtime_error("sin cambio");
            return importe * 2;
        };
        m.cambio = [](int codigo) { return codigo == 2 ? 10.0 : 0.0; };
        return std::optional(m);
    };
    int codigo = 0;
    for (const Caso &c : casos) {
        ++codigo;
        documento(codigo, {{"Importe", c.moneda == 9 ? 5000.0 : 4.0}, {"CodigoMoneda", c.moneda}, {"Cambio", 2.5}});
    }
    // One run per euro-view state: the documents print in order, one page each.
    for (const bool enEuros : {true, false}) {
        vista = enEuros;
        modos.clear();
        const QStringList filas = hoja();
        int pagina = 0;
        for (const Caso &c : casos) {
            const int fila = pagina++ * 2 + 1;   // a form feed, then the document's row 1
            if (c.vistaEnEuros != enEuros)
                continue;
            EXPECT_EQ(filas.value(fila), c.texto) << c.moneda << " " << enEuros;
        }
        EXPECT_EQ(modos.size(), 7);
        EXPECT_EQ(modos.at(0), enEuros ? "" : "AutoInverso");
        EXPECT_EQ(modos.at(1), enEuros ? "AutoInverso" : "");
        EXPECT_EQ(modos.at(2), "Otra Moneda");
    }
}

} // namespace

namespace {

// Customer C1 is in group Z2 of category Zona and S1 of Sector; the service stands for the
// data module's, which the analysis-groups tests check on the engines.
TEST_F(ReferenciasMotor, AnalysisGroupsPrintAndKeyAConnection)
{
    tablas();
    db().exec("UPDATE CLIENTE SET Codigo = 'Z2' WHERE Codigo = 'C2'");
    preparar({"[SISTEMA]", "GrupoAnalisis01=CLIENTE,Zona,CodigoCliente", "GrupoAnalisis01=CLIENTE,Sector,CodigoCliente",
              "GrupoAnalisis02=CLIENTE,Todas,CodigoCliente", "GrupoAnalisis03=CLIENTE,Zona,NoExiste",
              "Conexion=CLIENTE>GrupoAnalisis01", "[CABECERA]", "Camp=0;1;0;GrupoAnalisis01", "Camp=0;2;0;GrupoAnalisis02",
              "Camp=0;3;0;GrupoAnalisis03", "Camp=0;4;0;GrupoAnalisis04", "Camp=0;5;0;CLIENTE.Nombre", "Text=0;6;0;fin"},
             {plat::fieldDef("CodigoCliente", ftString, 10)});
    QStringList pedidos;
    motor->ordenesCampoPropias().servicios().gruposAnalisis = [&](const QString &tabla, const QString &categoria,
                                                                   const QString &clave) {
        pedidos << tabla + '/' + categoria + '/' + clave;
        if (clave != "C1")
            return QString();
        return categoria == "Zona" ? QString("Z2") : categoria == "Sector" ? QString("S1") : QString("S1,Z2");
    };
    documento(1, {{"CodigoCliente", "C1"}});
    const QStringList filas = hoja();
    ASSERT_GE(filas.size(), 7) << filas.join('\n').toStdString();
    // The first registered line of a name wins; a missing key field or no line prints nothing.
    EXPECT_EQ(filas.mid(1, 6), QStringList({"Z2", "S1,Z2", "", "", "Luis", "fin"}));
    EXPECT_FALSE(pedidos.join(' ').contains("Sector")) << pedidos.join(' ').toStdString();
}

} // namespace
