#include "tests/reporting/impresos/ImpresoPrueba.h"

#include <limits>
#include <stdexcept>

using gptest::ImpresoPrueba;
using gptest::LineasImpreso;

namespace {

using Lectura = ImpresoPrueba;

TEST_F(Lectura, LinesEndAtCrLfOrABareLf)
{
    DisenoImpreso &d = leerTexto(QStringLiteral("[CABECERA]\r\nText=1;1;0;a\nText=2;2;0;b\rc\r\n\r\nText=3"));
    EXPECT_EQ(d.seccion(SeccionImpreso::Cabecera),
              QStringList({"[CABECERA]", "Text=1;1;0;a", "Text=2;2;0;b\rc", "", "Text=3"}));
}

TEST_F(Lectura, PageContentIsAnySectionButSistema)
{
    struct Caso { QStringList lineas; bool contenido; };
    const Caso casos[] = {
        {{"[SISTEMA]", "Text=1;1;0;x"}, false},
        {{"Text=1;1;0;x", "[SISTEMA]"}, false},
        {{"[CABECERA]"}, true},   // the list holds its header line
        {{"[SISTEMA]", "[PIEPAGINA]"}, true},
        {{}, false},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(leer(c.lineas).tieneContenidoPagina(), c.contenido) << c.lineas.join('/').toStdString();
}

TEST_F(Lectura, ReadingAgainResetsAllButTheLinePositions)
{
    leer({"[SISTEMA]", "Margenes=5;6", "FormatoEtiqueta=2;3;10;20", "Compresion=2;2", "AlturaLinea=5",
          "InicioLineas=50", "FinLineas=250", "DriverAlternativo=a>b", "Conexion=T>C", "GrupoAnalisis01=T,Todas,C"});
    registro.Instrucciones = LineasImpreso({"[SISTEMA]", "AlturaLinea=10", "[CABECERA]"});
    diseno->AsignarFormatoPapel(registro.Codigo);
    diseno->AnalizarInstrucciones();
    const AjustesDiseno &a = diseno->ajustes();
    EXPECT_EQ(a.margenIzquierdo, 0);
    EXPECT_EQ(a.margenSuperior, 0);
    EXPECT_EQ(a.etiquetasAncho, 1);
    EXPECT_EQ(a.etiquetasAlto, 1);
    EXPECT_EQ(a.separacionAncho, 0);
    EXPECT_EQ(a.compresionAncho, 1);
    EXPECT_TRUE(a.driverAlternativo.isEmpty());
    EXPECT_TRUE(a.conexiones.isEmpty());
    EXPECT_TRUE(a.gruposAnalisis.isEmpty());
    EXPECT_EQ(a.inicioLineas, 50);
    EXPECT_EQ(a.finLineas, 250);
    EXPECT_EQ(a.lineasPorPagina, 20);
}

TEST_F(Lectura, LinesAndLabelsPerPage)
{
    struct Caso { QStringList sistema; qint64 lineas; };
    const Caso casos[] = {
        {{"AlturaLinea=5", "InicioLineas=50", "FinLineas=250"}, 40},
        {{"AlturaLinea=3", "InicioLineas=0", "FinLineas=10"}, 3},   // truncated
        {{"AlturaLinea=3", "InicioLineas=10", "FinLineas=0"}, -3},  // toward zero
        {{"AlturaLinea=0", "InicioLineas=0", "FinLineas=250"}, 0},
        {{"AlturaLinea=0", "InicioLineas=7", "FinLineas=9999"}, 9999},
        {{"AlturaLinea=1", "InicioLineas=-2147483648", "FinLineas=2147483647"}, 4294967295LL},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(leer(QStringList{"[SISTEMA]"} + c.sistema).ajustes().lineasPorPagina, c.lineas)
            << c.sistema.join('/').toStdString();

    DisenoImpreso &d = leer({"[SISTEMA]", "FormatoEtiqueta=3;8;70;37"});
    EXPECT_EQ(d.ajustes().etiquetasPorPagina, 24);
    EXPECT_EQ(ejecucion.posicionEtiqueta, 25);   // the first document starts a page
}

using Division = ImpresoPrueba;

TEST_F(Division, KeyArgumentsAndTheSubstitute)
{
    struct Caso { QString linea; QString clave; QStringList argumentos; };
    const QString s(QChar(255));
    const Caso casos[] = {
        {"Text=1;2;0;a=b", "Text", {"1", "2", "0", "a"}},
        {"Text=1;2;0;a|b;D", "Text", {"1", "2", "0", "a" + s + "b", "D"}},
        {"Text=", "Text", {""}},
        {"Text", "Text", {""}},
        {"=1;2", "", {"1", "2"}},
        {"Conexion=T>a|b", "Conexion", {"T>a" + s + "b"}},
    };
    for (const Caso &c : casos) {
        const InstruccionDividida d = DividirInstruccion(c.linea, s);
        EXPECT_EQ(d.clave, c.clave) << c.linea.toStdString();
        EXPECT_EQ(d.argumentos.piezas(), c.argumentos) << c.linea.toStdString();
    }
    const ArgumentosInstruccion args(QStringLiteral("a|b"));
    EXPECT_EQ(args[0], "");
    EXPECT_EQ(args[2], "b");
    EXPECT_EQ(args[3], "");
}

TEST_F(Division, EveryCodeInTheTextLeavesNoSubstituteAndDropsTheBar)
{
    QString todos;
    for (int codigo = 0; codigo <= 255; ++codigo)
        if (codigo != '\r' && codigo != '\n')
            todos += QChar(codigo);
    todos += QStringLiteral("\r\n");   // CR and LF occur as line ends
    DisenoImpreso &d = leerTexto(todos + LineasImpreso({"[SISTEMA]", "Text=1;2;0;a|b"}));
    EXPECT_TRUE(d.sustituto().isEmpty());
    ASSERT_EQ(ordenes.ordenes.size(), 1);
    EXPECT_EQ(ordenes.ordenes[0].argumentos.at(3), "ab");

    // One code missing: it becomes the substitute.
    leer(QStringList{"[SISTEMA]", QString(QChar(255)) + QChar(254)});
    EXPECT_EQ(diseno->sustituto(), QString(QChar(253)));
}

TEST_F(Division, CommandKeysReachTheEngineWithTheTableRules)
{
    const QStringList todas = {"Text", "Vari", "Rect", "Line", "Font", "Graf", "CBar",
                               "Asci", "Camp", "Expr", "Conc", "Suma", "ISum"};
    leer({"[CABECERA]"});
    for (const QString &clave : todas)
        diseno->EjecutarInstruccion(clave + "=1;2");
    diseno->EjecutarInstruccion("text=1;2");   // keys are case-sensitive
    diseno->EjecutarInstruccion("Texto=1;2");
    EXPECT_EQ(claves(), todas);
    EXPECT_EQ(diseno->ordenActual(), "Texto");

    // Inside [LINEAS] (the lines flag on) Suma and ISum do nothing.
    ordenes.ordenes.clear();
    ejecucion.lineasActivas = true;
    for (const QString &clave : todas)
        diseno->EjecutarInstruccion(clave + "=1");
    QStringList sinSumas = todas;
    sinSumas.removeAll("Suma");
    sinSumas.removeAll("ISum");
    EXPECT_EQ(claves(), sinSumas);

    // In text mode Font does nothing.
    ejecucion.lineasActivas = false;
    leer({"[CABECERA]"}, "A4", "Texto");
    ordenes.ordenes.clear();
    diseno->EjecutarInstruccion("Font=Arial;12");
    diseno->EjecutarInstruccion("Text=1;1;0;x");
    EXPECT_EQ(claves(), QStringList({"Text"}));
}

class OrdenesQueFallan : public EjecutorOrdenesImpreso
{
public:
    void ejecutarOrden(OrdenImpreso orden, const ArgumentosInstruccion &) override
    {
        throw std::runtime_error(orden == OrdenImpreso::CBar ? "barcode" : "other");
    }
};

TEST_F(Division, OnlyABarcodeFailureIsSwallowed)
{
    OrdenesQueFallan fallan;
    DisenoImpreso d(ejecucion, {{}, {}, &fallan});
    EXPECT_NO_THROW(d.EjecutarInstruccion("CBar=1;1;2;2;123;EAN13"));
    EXPECT_THROW(d.EjecutarInstruccion("Text=1;1;0;x"), std::runtime_error);
}

using Ajustes = ImpresoPrueba;

TEST_F(Ajustes, NumbersWithTheDecimalCommaBlanksAllowed)
{
    struct Caso { QString linea; double AjustesDiseno::*campo; double esperado; };
    const Caso casos[] = {
        {"Margenes=0,5;2", &AjustesDiseno::margenIzquierdo, 0.5},
        {"Margenes=0,5;2", &AjustesDiseno::margenSuperior, 2},
        {"Margenes= 12,25 ;x", &AjustesDiseno::margenIzquierdo, 12.25},
        {"Margenes=0.5;x", &AjustesDiseno::margenIzquierdo, 7},   // "." is no decimal mark: kept
        {"Margenes=0.5;x", &AjustesDiseno::margenSuperior, 8},
        {"Margenes=;", &AjustesDiseno::margenIzquierdo, 7},
        {"Compresion=1,5;0,5", &AjustesDiseno::compresionAncho, 1.5},
        {"Compresion=1,5;0,5", &AjustesDiseno::compresionAlto, 0.5},
        {"Compresion=0;abc", &AjustesDiseno::compresionAncho, 3},   // 0 would divide by zero: kept
        {"Compresion=0;abc", &AjustesDiseno::compresionAlto, 4},
        {"Compresion=-2;0,0", &AjustesDiseno::compresionAncho, -2},
        {"Compresion=-2;0,0", &AjustesDiseno::compresionAlto, 4},
        {"FormatoEtiqueta=2;2;70,5;x", &AjustesDiseno::separacionAncho, 70.5},
        {"FormatoEtiqueta=2;2;70,5;x", &AjustesDiseno::separacionAlto, 6},
    };
    for (const Caso &c : casos) {
        leer({"[SISTEMA]", "Margenes=7;8", "Compresion=3;4", "FormatoEtiqueta=1;1;5;6", c.linea});
        EXPECT_DOUBLE_EQ(diseno->ajustes().*c.campo, c.esperado) << c.linea.toStdString();
    }
}

TEST_F(Ajustes, IntegerSettings)
{
    struct Caso { QString linea; int AjustesDiseno::*campo; int esperado; };
    const Caso casos[] = {
        {"AlturaLinea=5", &AjustesDiseno::alturaLinea, 5},
        {"AlturaLinea= 6 ", &AjustesDiseno::alturaLinea, 6},
        {"AlturaLinea=2,5", &AjustesDiseno::alturaLinea, 0},   // not an integer: 0
        {"AlturaLinea=abc", &AjustesDiseno::alturaLinea, 0},
        {"InicioLineas=x", &AjustesDiseno::inicioLineas, 0},
        {"InicioLineas=-3", &AjustesDiseno::inicioLineas, -3},
        {"FinLineas=9999", &AjustesDiseno::finLineas, 9999},
        {"FinLineas=99999999999", &AjustesDiseno::finLineas, 0},
        {"FormatoEtiqueta=3;8", &AjustesDiseno::etiquetasAncho, 3},
        {"FormatoEtiqueta=3;8", &AjustesDiseno::etiquetasAlto, 8},
        {"FormatoEtiqueta=0;-1", &AjustesDiseno::etiquetasAncho, 4},   // 0 or fewer: kept
        {"FormatoEtiqueta=0;-1", &AjustesDiseno::etiquetasAlto, 5},
        {"FormatoEtiqueta=2,5;x", &AjustesDiseno::etiquetasAncho, 4},
        {"FormatoEtiqueta=2,5;x", &AjustesDiseno::etiquetasAlto, 5},
    };
    for (const Caso &c : casos) {
        leer({"[SISTEMA]", "AlturaLinea=9", "FormatoEtiqueta=4;5", c.linea});
        EXPECT_EQ(diseno->ajustes().*c.campo, c.esperado) << c.linea.toStdString();
    }
}

TEST_F(Ajustes, ConnectionsTakeTheEngineNameOfTheirTable)
{
    DisenoImpreso &d = leer({"[SISTEMA]", "Conexion=PROYECT>Codigo;Linea", "Conexion=A>b>c", "DriverAlternativo=a>b"});
    EXPECT_EQ(d.ajustes().conexiones, QStringList({"SQL_PROYECT>Codigo|Linea", "SQL_A>b"}));
    EXPECT_TRUE(mensajes.mensajes().isEmpty());   // the driver is not copied, nothing reported
}

TEST(Papel, FormatoVariants)
{
    struct Caso { QString formato; int ancho; int alto; bool apaisado; };
    const Caso casos[] = {
        {"A4", 210, 297, false},          {"A4-Apaisado", 297, 210, true}, {"A5", 149, 210, false},
        {"A5-Apaisado", 210, 149, true},  {"100x50", 100, 50, false},      {"100x50-Apaisado", 210, 297, true},
        {" 100 x 50 ", 100, 50, false},   {"100X50", 210, 297, false},     {"0x50", 210, 297, false},
        {"100x0", 210, 297, false},       {"-5x10", 210, 297, false},      {"", 210, 297, false},
        {"a4", 210, 297, false},          {"A4-apaisado", 210, 297, false}, {"100x50x2", 210, 297, false},
        {"A5-Apaisado-", 210, 297, false},
    };
    for (const Caso &c : casos) {
        const PapelImpreso p = PapelDeFormato(c.formato);
        EXPECT_EQ(p.anchoMm, c.ancho) << c.formato.toStdString();
        EXPECT_EQ(p.altoMm, c.alto) << c.formato.toStdString();
        EXPECT_EQ(p.apaisado, c.apaisado) << c.formato.toStdString();
    }
}

TEST(Papel, ScreenPageIs800PixelsPer210Millimetres)
{
    EXPECT_EQ(TamanoPaginaPantalla(PapelDeFormato("A4")), QSize(800, 1131));
    EXPECT_EQ(TamanoPaginaPantalla(PapelDeFormato("A5")), QSize(568, 801));
    EXPECT_EQ(TamanoPaginaPantalla(PapelDeFormato("A4-Apaisado")), QSize(1131, 800));
    EXPECT_EQ(TamanoPaginaPantalla(PapelDeFormato("2147483647x2147483647")),
              QSize(std::numeric_limits<int>::max(), std::numeric_limits<int>::max()));
}

using EtiquetaInicial = ImpresoPrueba;

TEST_F(EtiquetaInicial, AskedOnThePrinterUntilAValidPosition)
{
    ejecucion.destino = DestinoImpresion::Impresora;
    mensajes.programarRespuestas({"25", "abc", "0", "-2", "", "5"});
    DisenoImpreso &d = leer({"[SISTEMA]", "FormatoEtiqueta=3;8;70;37", "[CABECERA]"});
    const QString pregunta = QStringLiteral("Introduzca la posición de la primera etiqueta: ");
    QStringList vistos;
    for (const auto &m : mensajes.mensajes()) {
        vistos << m.tipo + ":" + m.texto;
        if (m.tipo == "P") {
            EXPECT_EQ(m.respuestaPropuesta, "1");
        }
    }
    EXPECT_EQ(vistos, QStringList({"P:" + pregunta, "A:La posición no puede ser mayor que 24", "P:" + pregunta,
                                   "P:" + pregunta, "P:" + pregunta, "P:" + pregunta, "P:" + pregunta}));
    EXPECT_EQ(d.ajustes().primeraEtiqueta, 5);

    // Position 5 of three across: second row, second column.
    ejecucion.posicionEtiqueta = d.ajustes().primeraEtiqueta;
    EXPECT_DOUBLE_EQ(double(d.PosicionX(0)), 70);
    EXPECT_DOUBLE_EQ(double(d.PosicionY(0)), 37);
}

TEST_F(EtiquetaInicial, NotAskedOnScreen)
{
    leer({"[SISTEMA]", "FormatoEtiqueta=3;8;70;37"});
    EXPECT_TRUE(mensajes.mensajes().isEmpty());
    EXPECT_EQ(diseno->ajustes().primeraEtiqueta, 1);
}

TEST_F(EtiquetaInicial, HugeSheetsCountIn64Bits)
{
    ejecucion.destino = DestinoImpresion::Impresora;
    mensajes.programarRespuestas({"2147483647"});
    DisenoImpreso &d = leer({"[SISTEMA]", "FormatoEtiqueta=65536;32768;1;1"});
    EXPECT_EQ(d.ajustes().etiquetasPorPagina, 2147483648LL);
    EXPECT_EQ(ejecucion.posicionEtiqueta, 2147483649LL);
    EXPECT_EQ(d.ajustes().primeraEtiqueta, 2147483647);
    ejecucion.posicionEtiqueta = 2147483648LL;   // the last label of the sheet
    EXPECT_DOUBLE_EQ(double(d.PosicionX(0)), 65535);
    EXPECT_DOUBLE_EQ(double(d.PosicionY(0)), 32767);
}

using Coordenadas = ImpresoPrueba;

TEST_F(Coordenadas, EffectivePositions)
{
    DisenoImpreso &d = leer({"[SISTEMA]", "Margenes=10;20", "Compresion=2;4", "AlturaLinea=5", "InicioLineas=50",
                             "FinLineas=9999", "FormatoEtiqueta=2;3;100;60"});
    ejecucion.posicionEtiqueta = 1;
    EXPECT_DOUBLE_EQ(double(d.PosicionX(3)), 10.0 / 2 + 3);
    EXPECT_DOUBLE_EQ(double(d.PosicionY(3)), 20.0 / 4 + 3);
    ejecucion.posicionEtiqueta = 4;   // second column, second row
    EXPECT_DOUBLE_EQ(double(d.PosicionX(3)), 5 + 3 + 100.0 / 2);
    EXPECT_DOUBLE_EQ(double(d.PosicionY(3)), 5 + 3 + 60.0 / 4);
    ejecucion.posicionEtiqueta = 1;
    ejecucion.lineasActivas = true;
    ejecucion.lineaEnPagina = 3;
    EXPECT_DOUBLE_EQ(double(d.PosicionY(0)), 5 + 50 + 2 * 5);
    // A foot section adds the printer's text line only in text mode on continuous paper.
    ejecucion.lineasActivas = false;
    ejecucion.pieActivo = true;
    ejecucion.lineaTextoImpresora = 7;
    EXPECT_DOUBLE_EQ(double(d.PosicionY(0)), 5);
    leer({"[SISTEMA]", "FinLineas=9999"}, "A4", "Texto");
    EXPECT_DOUBLE_EQ(double(diseno->PosicionY(1)), 8);
    leer({"[SISTEMA]", "FinLineas=200"}, "A4", "Texto");
    EXPECT_DOUBLE_EQ(double(diseno->PosicionY(1)), 1);
}

TEST_F(Coordenadas, DevicePixelsRoundHalvesToEven)
{
    ejecucion.anchoFisicoImpresora = 210;
    ejecucion.altoFisicoImpresora = 297;
    ejecucion.tamanoPagina = QSize(420, 594);
    DisenoImpreso &d = leer({"[SISTEMA]", "Compresion=1;0,5"});
    struct Caso { long double valor; int impresoraX; int impresoraY; int paginaX; int paginaY; };
    const Caso casos[] = {
        {2.5L, 2, 1, 5, 2}, {3.5L, 4, 2, 7, 4}, {1.25L, 1, 1, 2, 1}, {5.0L, 5, 2, 10, 5}, {-2.5L, -2, -1, -5, -2},
    };
    for (const Caso &c : casos) {
        EXPECT_EQ(d.XImpresora(c.valor), c.impresoraX) << double(c.valor);
        EXPECT_EQ(d.YImpresora(c.valor), c.impresoraY) << double(c.valor);
        EXPECT_EQ(d.XPagina(c.valor), c.paginaX) << double(c.valor);
        EXPECT_EQ(d.YPagina(c.valor), c.paginaY) << double(c.valor);
    }
}

TEST_F(Coordenadas, TextModeColumnsAndLines)
{
    ejecucion.anchoFisicoImpresora = 4960;
    ejecucion.altoFisicoImpresora = 7016;
    ejecucion.tamanoPagina = QSize(800, 1131);
    DisenoImpreso &d = leer({"[SISTEMA]", "Compresion=2;2"}, "A4", "Texto");
    EXPECT_EQ(d.XImpresora(10), 600);     // 10 columns of 2.54 mm: 25.4 mm of 210 on 4960 pixels
    EXPECT_EQ(d.YImpresora(2.5L), 2);     // a line number
    EXPECT_EQ(d.YImpresora(3.5L), 4);
    EXPECT_EQ(d.XPagina(10), 97);         // 25.4 * 800 / 210 = 96.76
    EXPECT_EQ(d.YPagina(6), 97);          // 6 lines of 1/6 inch: 25.4 mm of 297 on 1131 pixels
}

TEST_F(Coordenadas, HugeValuesClampInsteadOfOverflowing)
{
    ejecucion.anchoFisicoImpresora = 4960;
    ejecucion.altoFisicoImpresora = 7016;
    ejecucion.tamanoPagina = QSize(800, 1131);
    const QString enorme = "1" + QString(299, QLatin1Char('0'));
    DisenoImpreso &d = leer({"[SISTEMA]", "Margenes=" + enorme + ";-" + enorme, "Compresion=0," + QString(290, '0') + "1;1"});
    EXPECT_EQ(d.XImpresora(d.PosicionX(0)), std::numeric_limits<int>::max());
    EXPECT_EQ(d.YImpresora(d.PosicionY(0)), std::numeric_limits<int>::min());
    EXPECT_EQ(d.XPagina(d.PosicionX(0)), std::numeric_limits<int>::max());
    EXPECT_EQ(d.YPagina(d.PosicionY(0)), std::numeric_limits<int>::min());
}

} // namespace
