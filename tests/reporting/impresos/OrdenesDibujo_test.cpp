#include "GENEW/reporting/impresos/OrdenesDibujo.h"

#include "GENEW/reporting/graficos/PrintBarcode.h"
#include "GENEW/reporting/impresos/CodigoBarrasImpreso.h"
#include "tests/reporting/impresos/DestinoGrabado.h"
#include "tests/reporting/impresos/ImpresoPrueba.h"
#include "platform/base/AjustesComunes.h"
#include "platform/base/LecturaTextos.h"
#include "tests/support/TempDir.h"

#include <QBuffer>
#include <QDate>
#include <QRegularExpression>

namespace {

// The drawing commands of a layout read as the engine reads it, on a page of 210 x 297
// pixels (one pixel a millimetre on A4), drawn on a recording target whose characters are
// 5 pixels wide.
class OrdenesDibujoPrueba : public ::testing::Test, private EjecutorOrdenesImpreso
{
protected:
    OrdenesDibujoPrueba()
    {
        ejecucion.tamanoPagina = QSize(210, 297);
        contexto.destino = &destino;
        contexto.nombreEmpresa = [] { return QStringLiteral("Construcciones Íñiguez"); };
        contexto.codigoBarras = &pintorBarras;
    }
    // Reads the layout text and runs its [CABECERA] lines.
    void ejecutar(const QStringList &lineas)
    {
        registro.Codigo = "PRUEBA";
        registro.Formato = "A4";
        registro.Modo = modo;
        registro.Instrucciones = gptest::LineasImpreso(lineas);
        DisenoImpreso::Servicios s;
        s.buscarImpreso = [this](const QString &) { return std::optional<RegistroImpreso>(registro); };
        s.ordenes = this;
        diseno = std::make_unique<DisenoImpreso>(ejecucion, s);
        dibujo = std::make_unique<OrdenesDibujo>(*diseno, ejecucion, contexto);
        diseno->AsignarFormatoPapel("PRUEBA");
        diseno->AnalizarInstrucciones();
        for (const QString &linea : diseno->seccion(SeccionImpreso::Cabecera))
            diseno->EjecutarInstruccion(linea);
    }
    void ejecutarOrden(OrdenImpreso orden, const ArgumentosInstruccion &argumentos) override
    {
        dibujo->ejecutar(orden, argumentos);
    }

    QString modo = "Grafico";
    EstadoEjecucionImpreso ejecucion;
    RegistroImpreso registro;
    gptest::DestinoGrabado destino;
    TPrintBarcode barras;
    PintorPrintBarcode pintorBarras{barras};
    ContextoOrdenes contexto;
    std::unique_ptr<DisenoImpreso> diseno;
    std::unique_ptr<OrdenesDibujo> dibujo;
};

TEST_F(OrdenesDibujoPrueba, TextsAreAlignedWithBlanksAndClippedToTheirWidth)
{
    const QString fuente = " Arial/10/000000/";
    struct Caso
    {
        QString linea;
        QString esperado;
    };
    const QList<Caso> casos = {
        {"Text=10;20;100;abc;D", "recorte 10,20,100,12 en 10,20 [" + QString(16, ' ') + "abc]" + fuente},
        {"Text=10;20;100;abc;C", "recorte 10,20,100,12 en 10,20 [" + QString(8, ' ') + "abc]" + fuente},
        {"Text=10;20;100;abc;I", "recorte 10,20,100,12 en 10,20 [abc]" + fuente},
        {"Text=10;20;0;abc;D", "texto 10,20 [abc]" + fuente},
        // Wider than its width: no blanks, clipped.
        {"Text=10;20;10;abcdefghij;D", "recorte 10,20,10,12 en 10,20 [abcdefghij]" + fuente},
        {"Text=10;20;10;abcdefghij;C", "recorte 10,20,10,12 en 10,20 [abcdefghij]" + fuente},
        // Markup changes this one text only.
        {"Text=1;2;0;<N><R>rojo", "texto 1,2 [rojo] Arial/10/0000ff/N"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.linea.toStdString());
        destino.grabado.clear();
        ejecutar({"[CABECERA]", c.linea, "Text=0;0;0;x"});
        EXPECT_EQ(destino.grabado, QStringList({c.esperado, "texto 0,0 [x]" + fuente}));
    }
}

TEST_F(OrdenesDibujoPrueba, ABlankOfNoWidthAddsNoBlanks)
{
    gptest::DestinoGrabado sinAncho(0);
    contexto.destino = &sinAncho;
    ejecutar({"[CABECERA]", "Text=10;20;100;abc;D"});
    EXPECT_EQ(sinAncho.grabado, QStringList{"recorte 10,20,100,12 en 10,20 [abc] Arial/10/000000/"});
}

TEST_F(OrdenesDibujoPrueba, AValueHoldingABarIsDrawnWhole)
{
    ejecutar({"[CABECERA]"});
    dibujo->Texto("1", "2", "0", "Pedido 7|B", "");
    EXPECT_EQ(destino.grabado, QStringList{"texto 1,2 [Pedido 7|B] Arial/10/000000/"});
}

TEST_F(OrdenesDibujoPrueba, VariablesOfTheRun)
{
    contexto.paginaDocumento = 2;
    contexto.contadorPaginas = 7;
    contexto.numeroCopia = 1;
    ejecutar({"[CABECERA]", "Vari=0;0;0;NumeroPagina", "Vari=0;0;0;ContadorPaginas", "Vari=0;0;0;NumeroCopia",
              "Vari=0;0;0;NombreEmpresa", "Vari=0;0;0;OriginalCopia", "Vari=0;0;0;OriginalCopia,Original,",
              "Vari=0;0;0;Otra", "Vari=0;0;0;FechaImpresion", "Vari=0;0;0;FechaYHoraImpresion"});
    QStringList textos;
    for (const QString &g : destino.grabado)
        textos << g.section('[', 1).section(']', 0, 0);
    ASSERT_EQ(textos.size(), 8);
    EXPECT_EQ(textos.mid(0, 6),
              QStringList({"2", "7", "1", "Construcciones Íñiguez", "ORIGINAL", "Original"}));
    EXPECT_EQ(textos.at(6), QDate::currentDate().toString("dd/MM/yyyy"));
    EXPECT_TRUE(QRegularExpression("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d$").match(textos.at(7)).hasMatch())
        << textos.at(7).toStdString();

    contexto.numeroCopia = 2;
    EXPECT_EQ(dibujo->ValorVariable("OriginalCopia"), "COPIA");
    EXPECT_EQ(dibujo->ValorVariable("OriginalCopia,Original,"), "");
    EXPECT_EQ(dibujo->ValorVariable("xOriginalCopia,A,B"), "B");
}

TEST_F(OrdenesDibujoPrueba, PensBrushesAndCornersOfRectanglesAndLines)
{
    ejecutar({"[SISTEMA]", "Margenes=2;3", "[CABECERA]", "Rect=10;20;30;40;0;Rojo;Puntos;Azul;Solido;5;6",
              "Rect=10;20;30;40;3;;;;Hueco", "Line=0;0;50;0;2;Azul;Ninguno", "Line=0;0;50;5;0;;Otro"});
    EXPECT_EQ(destino.grabado,
              QStringList({"rectangulo 12,23,20,20 pluma 1/0000ff/puntos brocha ff0000/solida esquinas 7,9",
                           "rectangulo 12,23,20,20 pluma 3/000000/solida brocha 000000/vacia esquinas 0,0",
                           "linea 2,3-52,3 pluma 2/ff0000/ninguna", "linea 2,3-52,8 pluma 1/000000/solida"}));
}

TEST_F(OrdenesDibujoPrueba, FontsTakeCompressionTwoStylesAndKeepTheirSizeForZero)
{
    ejecutar({"[SISTEMA]", "Compresion=1;0,5", "[CABECERA]", "Font=Courier New;20;Azul;Negrita,Italica,Subrayado",
              "Text=0;0;0;a", "Font=Times;0;;fsStrikeout", "Text=0;0;0;b", "Font=Times;9;;Nada", "Text=0;0;0;c"});
    EXPECT_EQ(destino.grabado, QStringList({"texto 0,0 [a] Courier New/10/ff0000/NI", "texto 0,0 [b] Times/10/000000/T",
                                            "texto 0,0 [c] Times/4/000000/"}));
}

TEST_F(OrdenesDibujoPrueba, PicturesByNameFromTheUsersFolderAtTheirSizeOrStretched)
{
    gptest::TempDir carpeta;
    QImage imagen(30, 20, QImage::Format_RGB32);
    imagen.fill(Qt::red);
    ASSERT_TRUE(imagen.save(carpeta.file("logo.png")));
    ASSERT_TRUE(imagen.save(carpeta.file("foto.jpg"), "JPEG"));
    QFile::copy(carpeta.file("foto.jpg"), carpeta.file("foto.bmp"));   // a JPEG under another name
    QFile roto(carpeta.file("roto.png"));
    ASSERT_TRUE(roto.open(QIODevice::WriteOnly));
    roto.write("no es una imagen");
    roto.close();
    contexto.directorioUsuario = carpeta.path();
    ejecutar({"[CABECERA]", "Graf=10;20;0;0;logo.png", "Graf=10;20;50;60;" + carpeta.file("foto.jpg"),
              "Graf=10;20;0;0;roto.png", "Graf=10;20;0;0;falta.png", "Graf=1;1;0;0;foto.bmp"});
    EXPECT_EQ(destino.grabado, QStringList({"imagen 10,20,0,0 de 30x20", "imagen 10,20,40,40 de 30x20",
                                            "imagen 1,1,0,0 de 30x20"}));
    destino.grabado.clear();
    contexto.simulacion = true;
    ejecutar({"[CABECERA]", "Graf=10;20;0;0;logo.png"});
    EXPECT_TRUE(destino.grabado.isEmpty());
}

TEST_F(OrdenesDibujoPrueba, PicturesAndBarcodesFromFieldsOfTheCurrentRecord)
{
    QImage imagen(12, 8, QImage::Format_RGB32);
    imagen.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    imagen.save(&buffer, "PNG");
    QStringList pedidos;
    contexto.valorCampo = [&](const QString &campo) -> std::optional<QVariant> {
        pedidos << campo;
        if (campo == "Foto")
            return QVariant(png);
        if (campo == "Codigo")
            return QVariant(QString("5901234123457"));
        return std::nullopt;
    };
    ejecutar({"[CABECERA]", "Graf=1;2;0;0;Camp:Foto", "Graf=1;2;0;0;Camp:Falta", "CBar=10;20;210;60;Camp:Codigo;EAN13"});
    EXPECT_EQ(pedidos, QStringList({"Foto", "Falta", "Codigo"}));
    ASSERT_EQ(destino.grabado, QStringList({"imagen 1,2,0,0 de 12x8", "imagen 10,20,200,40 de 200x40"}));
    // The symbol of the field's text: bars drawn (black pixels) across its middle.
    const QImage barras = destino.imagenes.at(1);
    int negros = 0;
    for (int x = 0; x < barras.width(); ++x)
        negros += QColor(barras.pixel(x, 15)) == Qt::black;
    EXPECT_GT(negros, 20);
}

// Records what the barcode command asks the component for.
class BarrasGrabadas : public PintorCodigoBarras
{
public:
    void pintar(QImage &, const Peticion &p) override { peticiones << p; }
    QList<Peticion> peticiones;
};

TEST_F(OrdenesDibujoPrueba, BarcodeTypesByNameAndTheLeadingZeroOfUpcA)
{
    BarrasGrabadas grabadas;
    contexto.codigoBarras = &grabadas;
    struct Caso
    {
        QString tipo;
        int numero;
        QString texto;
        bool ajuste;
    };
    const QList<Caso> casos = {{"EAN8", 8, "123", false},     {"EAN13", 9, "123", false},
                               {"EAN128", 14, "123", false},  {"Code39", 0, "123", false},
                               {"Code128", 2, "123", false},  {"Interleaved2OF5", 1, "123", false},
                               {"UPCA", 9, "0123", true},     {"ean13", 9, "123", false},
                               {"", 9, "123", false}};
    QStringList lineas = {"[CABECERA]"};
    for (const Caso &c : casos)
        lineas << "CBar=10;20;110;60;123;" + c.tipo + ";2,5";
    ejecutar(lineas);
    ASSERT_EQ(grabadas.peticiones.size(), casos.size());
    for (int i = 0; i < casos.size(); ++i) {
        SCOPED_TRACE(casos.at(i).tipo.toStdString());
        EXPECT_EQ(grabadas.peticiones.at(i).tipo, casos.at(i).numero);
        EXPECT_EQ(grabadas.peticiones.at(i).texto, casos.at(i).texto);
        EXPECT_EQ(grabadas.peticiones.at(i).ajusteAutomatico, casos.at(i).ajuste);
        EXPECT_EQ(grabadas.peticiones.at(i).aumento, 2.5);
    }
}

TEST_F(OrdenesDibujoPrueba, BarcodesAreTurnedAndPlacedOverTheirCorners)
{
    ejecutar({"[CABECERA]", "CBar=10;20;210;60;5901234123457;EAN13;1", "CBar=10;20;50;220;5901234123457;EAN13;1;Girar+90",
              "CBar=10;20;210;60;5901234123457;EAN13;1;Girar180"});
    ASSERT_EQ(destino.grabado, QStringList({"imagen 10,20,200,40 de 200x40", "imagen 10,20,40,200 de 40x200",
                                            "imagen 10,20,200,40 de 200x40"}));
    const QImage girado90 = destino.imagenes.at(1);
    int negros = 0;
    for (int y = 0; y < girado90.height(); ++y)
        negros += QColor(girado90.pixel(10, y)) == Qt::black;   // bars run across a turned symbol
    EXPECT_GT(negros, 20);
    // The turned symbol is the upright one turned: its first column is the upright's last row.
    const QImage derecho = destino.imagenes.at(0);
    const QImage girado = destino.imagenes.at(2);
    for (int x = 0; x < derecho.width(); x += 7)
        EXPECT_EQ(derecho.pixel(x, 10), girado.pixel(derecho.width() - 1 - x, derecho.height() - 1 - 10));
}

TEST_F(OrdenesDibujoPrueba, ContinuationRowsDrawOnlyTheirMemoAndPrinterCodesGoToThePrinterOnly)
{
    contexto.filaContinuacion = true;
    ejecutar({"[CABECERA]", "Text=0;0;0;a", "Asci=27,x,64,,65"});
    EXPECT_TRUE(destino.grabado.isEmpty());
    EXPECT_TRUE(destino.bloques.isEmpty());   // on screen nothing goes out
    contexto.filaContinuacion = false;
    ejecucion.destino = DestinoImpresion::Impresora;
    ejecucion.anchoFisicoImpresora = 210;
    ejecucion.altoFisicoImpresora = 297;
    ejecutar({"[CABECERA]", "Asci=27,x,64,,65"});
    EXPECT_EQ(destino.bloques, QList<QByteArray>{QByteArray("\x1b@")});
}

} // namespace

namespace {

// Whole numbers are read on a short path; every form reads as the general reader reads it.
TEST(NumeroArgumento, ReadsEveryFormAsTheDecimalReader)
{
    const QChar decimal = ajustesComunes().SeparadorDecimal;
    const QStringList formas = {"0",  "10", "007", "180", "123456789", "9999999999", "",   " 12", "12 ",
                                "-3", "+4", "1e3", "abc", "12a",       QString("12") + decimal + "5"};
    for (const QString &forma : formas) {
        SCOPED_TRACE(forma.toStdString());
        double esperado = 0;
        if (!LeerDecimal(forma, esperado))
            esperado = 0;
        EXPECT_EQ(double(NumeroArgumento(forma)), esperado);
    }
    EXPECT_EQ(double(NumeroArgumento("123456789")), 123456789.0);
    EXPECT_EQ(double(NumeroArgumento(QString("12") + decimal + "5")), 12.5);
}

} // namespace
