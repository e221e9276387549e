// The chart window with each kind of series, in 3-D and flat, and a sheet of the fifteen barcode symbologies
// each painted by its control on its own canvas.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/reporting/graficos/GENEGRAF.h"
#include "GENEW/reporting/graficos/PrintBarcode.h"
#include "platform/ui/Controls.h"

#include <QGridLayout>

using namespace plat;

namespace {

const QString kValores = QStringLiteral("1:120:Madrid:/2:80:Sevilla:/3:150:Valencia:/4:50:Bilbao:/5:100:Otros:");

Form *grafico(const QString &definicion, const QString &series)
{
    auto *f = createForm<TfGENEGRAF>();
    f->DefinicionGrafico = definicion;
    f->SeriesGrafico = series;
    return f;
}

struct Muestra
{
    const char *nombre;
    const char *descripcion;
    QString definicion;
    QString series;
};

const Muestra kMuestras[] = {
    {"grafico-lineas", "gráfico de líneas con dos series, marcas y leyenda",
     QStringLiteral("Titulo=Ventas por mes;Medidas=560x380;Leyenda=SI;Marcas=SI"),
     QStringLiteral("Titulo=2023;Tipo=Lineas;Color=Azul;IncluirEnLeyenda=SI;Valores=1:10:Ene:/2:25:Feb:/3:18:Mar:/4:30:Abr:\r\n"
                    "Titulo=2024;Tipo=Lineas;IncluirEnLeyenda=SI;Valores=1:12:Ene:/2:20:Feb:Verde/3:28:Mar:/4:35:Abr:")},
    {"grafico-tarta", "tarta como la escribe la consola SQL",
     QStringLiteral("Titulo=Clientes por ciudad;Medidas=450x300;PanelControl=SI;StatusBar=SI;Leyenda=SI;Marcas=SI"),
     QStringLiteral("Titulo=Clientes;Tipo=Tarta;Color=;Marcas=SI;IncluirEnLeyenda=SI;Valores=") + kValores},
    {"grafico-barras", "barras con los colores por defecto",
     QStringLiteral("Titulo=Importe;Medidas=400x300;Leyenda=SI;Marcas=SI"),
     QStringLiteral("Titulo=Importe;Tipo=Barras;Color=Magenta;IncluirEnLeyenda=SI;Valores=") + kValores},
    {"grafico-puntos", "puntos en triángulo invertido, sin degradado",
     QStringLiteral("Titulo=Dispersión;ColorFondo=Ninguno;Medidas=420x300"),
     QStringLiteral("Titulo=Medidas;Tipo=Puntos;Color=Rojo;Estilo=Triangulo Invertido;Valores=1:3:a:/2:5:b:/3:4:c:/4:8:d:/5:6:e:")},
    {"grafico-barrash", "barras horizontales de dos series",
     QStringLiteral("Titulo=Horas por operario;Medidas=460x320;Leyenda=SI"),
     QStringLiteral("Titulo=Previstas;Tipo=BarrasH;Color=Azul Marino;IncluirEnLeyenda=SI;Valores=1:40:Ana:/2:35:Luis:/3:20:Eva:\r\n"
                    "Titulo=Reales;Tipo=BarrasH;Color=Amarillo;IncluirEnLeyenda=SI;Valores=1:42:Ana:/2:30:Luis:/3:26:Eva:")},
};

// Each symbology with a text it draws.
Form *hojaCodigosBarras()
{
    struct Ejemplo
    {
        TBarCodeType tipo;
        const char *nombre;
        const char *texto;
    };
    const Ejemplo ejemplos[] = {
        {TBarCodeType::Code39, "Code39", "ABC-123"},        {TBarCodeType::Interleaved2Of5, "Interleaved2Of5", "1234567"},
        {TBarCodeType::Code128, "Code128", "Hello123456"},  {TBarCodeType::PostNet, "PostNet", "12345"},
        {TBarCodeType::PostnetZip, "PostnetZip", "12345"},  {TBarCodeType::PostNetZipPlus4, "PostNetZipPlus4", "123456789"},
        {TBarCodeType::Postnet11, "Postnet11", "12345678901"}, {TBarCodeType::EAN, "EAN", "590123412345"},
        {TBarCodeType::EAN8, "EAN8", "1234567"},            {TBarCodeType::EAN13, "EAN13", "003600029145"},
        {TBarCodeType::ITF14, "ITF14", "123456789012"},     {TBarCodeType::FIMA, "FIMA", ""},
        {TBarCodeType::FIMB, "FIMB", ""},                   {TBarCodeType::FIMC, "FIMC", ""},
        {TBarCodeType::EAN128, "EAN128", "0112345678901231"}};
    auto *f = createForm<Form>();
    f->setObjectName(QStringLiteral("HojaCodigosBarras"));
    f->setCaption(QStringLiteral("Códigos de barras"));
    f->setColor(clWhite);
    auto *rejilla = new QGridLayout(f);
    int i = 0;
    for (const Ejemplo &e : ejemplos) {
        auto *titulo = f->make<Label>(QStringLiteral("Titulo%1").arg(e.nombre), f);
        titulo->setCaption(QString::fromLatin1(e.nombre));
        auto *codigo = f->make<TPrintBarcode>(QStringLiteral("Barras%1").arg(e.nombre), f);
        codigo->setPixelesPorPulgadaPantalla(110);
        codigo->setBarCodeType(e.tipo);
        codigo->setText(QString::fromLatin1(e.texto));
        codigo->setMinimumSize(240, 70);
        // The two Code 128 symbols size themselves wider than a column: a row each.
        if (e.tipo == TBarCodeType::Code128 || e.tipo == TBarCodeType::EAN128) {
            const int fila = 100 + int(e.tipo);
            codigo->setMinimumSize(620, 130);
            rejilla->addWidget(titulo, fila, 0, 1, 3);
            rejilla->addWidget(codigo, fila + 1, 0, 1, 3, Qt::AlignLeft | Qt::AlignTop);
            continue;
        }
        rejilla->addWidget(titulo, (i / 3) * 2, i % 3);
        rejilla->addWidget(codigo, (i / 3) * 2 + 1, i % 3, Qt::AlignLeft | Qt::AlignTop);
        ++i;
    }
    return f;
}

bool registrar()
{
    // Each chart in its 3-D view, as it opens by default, and flat.
    for (const Muestra &m : kMuestras) {
        const Muestra *muestra = &m;
        formshot::registerForm({QString::fromLatin1(m.nombre), QString::fromUtf8(m.descripcion),
                                [muestra](const QString &) { return grafico(muestra->definicion, muestra->series); }});
        formshot::registerForm({QString::fromLatin1(m.nombre) + QStringLiteral("-plano"),
                                QString::fromUtf8(m.descripcion) + QStringLiteral(", sin vista 3D"),
                                [muestra](const QString &) {
                                    return grafico(muestra->definicion + QStringLiteral(";Vista3D=NO"), muestra->series);
                                }});
    }
    return formshot::registerForm({QStringLiteral("codigos-barras"),
                                   QStringLiteral("los quince tipos de código de barras en su propio lienzo"),
                                   [](const QString &) { return hojaCodigosBarras(); }});
}

const bool registered = registrar();

} // namespace
