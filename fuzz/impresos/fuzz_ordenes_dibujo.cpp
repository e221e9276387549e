// The drawing commands take their arguments from stored layouts and from the data users
// type: any argument text must draw, on screen pages and as raw printer text, without a
// crash, a hang or a huge allocation. Input: a flags byte, then instruction lines (LF).
#include "fuzz/SupresionFugasQt.h"
#include "GENEW/reporting/impresos/DestinoDibujo.h"
#include "GENEW/reporting/impresos/OrdenesDibujo.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

namespace {

// Counts what is drawn; measures like a monospaced font.
class DestinoContado : public DestinoDibujo
{
public:
    plat::CanvasFont &fuente() override { return fuente_; }
    int anchoTexto(const QString &texto) override { return int(texto.size()) * anchoCaracter; }
    int altoTexto(const QString &) override { return 12; }
    void texto(int, int, const QString &t) override { caracteres += t.size(); }
    void textoRecortado(const QRect &, int, int, const QString &t) override { caracteres += t.size(); }
    void rectangulo(const QRect &, const plat::Pen &, const plat::Brush &, QSize) override { ++figuras; }
    void linea(QPoint, QPoint, const plat::Pen &) override { ++figuras; }
    void imagen(const QRect &, const QImage &i) override { pixeles += qint64(i.width()) * i.height(); }
    void bytes(const QByteArray &d) override
    {
        if (d.size() > 256)
            __builtin_trap();   // blocks never exceed the printer's buffer
        octetos += d.size();
    }
    int resolucion() const override { return 96; }

    int anchoCaracter = 5;
    qint64 caracteres = 0, figuras = 0, pixeles = 0, octetos = 0;

private:
    plat::CanvasFont fuente_;
};

class BarrasLlenas : public PintorCodigoBarras
{
public:
    void pintar(QImage &imagen, const Peticion &) override { imagen.fill(Qt::black); }
};

class Ejecutor : public EjecutorOrdenesImpreso
{
public:
    OrdenesDibujo *dibujo = nullptr;
    void ejecutarOrden(OrdenImpreso orden, const ArgumentosInstruccion &argumentos) override
    {
        dibujo->ejecutar(orden, argumentos);
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t opciones = data[0];
    RegistroImpreso registro;
    registro.Codigo = QStringLiteral("F");
    registro.Modo = opciones & 1 ? QStringLiteral("Texto") : QStringLiteral("Grafico");
    registro.Formato = opciones & 2 ? QStringLiteral("A5-Apaisado") : QStringLiteral("A4");
    registro.Instrucciones = QStringLiteral("[CABECERA]\n") +
                             QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    EstadoEjecucionImpreso ejecucion;
    ejecucion.destino = opciones & 4 ? DestinoImpresion::Impresora : DestinoImpresion::Pantalla;
    ejecucion.tamanoPagina = QSize(800, 1131);
    ejecucion.anchoFisicoImpresora = 4960;
    ejecucion.altoFisicoImpresora = 7016;
    DestinoContado destino;
    destino.anchoCaracter = opciones & 8 ? 0 : 5;
    BarrasLlenas barras;
    ContextoOrdenes contexto;
    contexto.destino = &destino;
    contexto.codigoBarras = &barras;
    contexto.simulacion = opciones & 16;
    contexto.filaContinuacion = opciones & 32;
    contexto.valorCampo = [](const QString &campo) -> std::optional<QVariant> {
        if (campo == QLatin1String("Foto"))
            return QVariant(QByteArray("\x89PNG\r\n\x1a\n"));
        return QVariant(campo);
    };
    Ejecutor ejecutor;
    DisenoImpreso::Servicios servicios;
    servicios.buscarImpreso = [&registro](const QString &) { return std::optional<RegistroImpreso>(registro); };
    servicios.ordenes = &ejecutor;
    DisenoImpreso diseno(ejecucion, servicios);
    OrdenesDibujo dibujo(diseno, ejecucion, contexto);
    ejecutor.dibujo = &dibujo;
    diseno.AsignarFormatoPapel(registro.Codigo);
    diseno.AnalizarInstrucciones();
    for (const QString &linea : diseno.seccion(SeccionImpreso::Cabecera))
        diseno.EjecutarInstruccion(linea);
    if (destino.pixeles > qint64(64) * 10000 * 10000)
        __builtin_trap();   // no picture larger than its bounds allow
    return 0;
}
