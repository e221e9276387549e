// Layout texts are typed by users in the layout editor and stored in their databases: the
// reader must take any text, paper and run state without crashing, looping or overflowing.
// The input is five pieces separated by NUL bytes: `Formato`, `Modo`, the run state
// (flags and numbers separated by blanks), the answers to the first-label prompt
// (separated by "|"), and the layout text.
#include "GENEW/reporting/impresos/DisenoImpreso.h"
#include "GENEW/reporting/impresos/VolcadoImpreso.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace {

// Records the commands; a barcode fails, as a bad symbol would.
class OrdenesPrueba : public EjecutorOrdenesImpreso
{
public:
    void ejecutarOrden(OrdenImpreso orden, const ArgumentosInstruccion &argumentos) override
    {
        if (orden == OrdenImpreso::CBar)
            throw std::runtime_error("barcode");
        grabadas.ejecutarOrden(orden, argumentos);
    }
    OrdenesGrabadas grabadas;
};

qint64 Numero(const QStringList &piezas, int i)
{
    return piezas.value(i).toLongLong();
}

void LeerEstado(const QString &texto, EstadoEjecucionImpreso &e)
{
    const QStringList p = texto.split(QLatin1Char(' '));
    const QString banderas = p.value(0);
    e.destino = banderas.contains(QLatin1Char('I')) ? DestinoImpresion::Impresora : DestinoImpresion::Pantalla;
    e.lineasActivas = banderas.contains(QLatin1Char('L'));
    e.pieActivo = banderas.contains(QLatin1Char('P'));
    e.lineaEnPagina = Numero(p, 1);
    e.lineaTextoImpresora = Numero(p, 2);
    e.posicionEtiqueta = Numero(p, 3);
    e.anchoFisicoImpresora = int(Numero(p, 4));
    e.altoFisicoImpresora = int(Numero(p, 5));
    e.tamanoPagina = QSize(int(Numero(p, 6)), int(Numero(p, 7)));
    e.codigoImpresoPeticion = p.value(8);
}

void Convertir(const DisenoImpreso &d, long double valor)
{
    d.XImpresora(d.PosicionX(valor));
    d.YImpresora(d.PosicionY(valor));
    d.XPagina(d.PosicionX(valor));
    d.YPagina(d.PosicionY(valor));
    d.XImpresora(valor);
    d.YPagina(valor);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> piezas =
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)).split('\0');
    RegistroImpreso registro;
    registro.Codigo = QStringLiteral("IMP");
    registro.Formato = QString::fromUtf8(piezas.value(0));
    registro.Modo = QString::fromUtf8(piezas.value(1));
    registro.Instrucciones = QString::fromUtf8(piezas.mid(4).join('\0'));

    EstadoEjecucionImpreso ejecucion;
    LeerEstado(QString::fromUtf8(piezas.value(2)), ejecucion);
    SalidaMensajesGrabada mensajes;
    mensajes.programarRespuestas(QString::fromUtf8(piezas.value(3)).split(QLatin1Char('|')).mid(0, 50));
    SalidaMensajesInstalada instalada(mensajes);

    OrdenesPrueba ordenes;
    DisenoImpreso::Servicios servicios;
    servicios.buscarImpreso = [&registro](const QString &codigo) -> std::optional<RegistroImpreso> {
        if (codigo == registro.Codigo)
            return registro;
        return std::nullopt;
    };
    servicios.nombreTablaSQL = [](const QString &tabla) { return tabla.toUpper(); };
    servicios.ordenes = &ordenes;
    DisenoImpreso diseno(ejecucion, std::move(servicios));

    diseno.AsignarFormatoPapel(ejecucion.codigoImpresoPeticion);
    diseno.AnalizarInstrucciones();
    const QSize pantalla = diseno.tamanoPaginaPantalla();
    if (pantalla.width() <= 0 || pantalla.height() <= 0)
        __builtin_trap();   // every paper has a page

    int ejecutadas = 0;
    for (int s = 0; s < kNumeroSecciones && ejecutadas < 5000; ++s)
        for (const QString &linea : diseno.seccion(static_cast<SeccionImpreso>(s)))
            if (++ejecutadas < 5000)
                diseno.EjecutarInstruccion(linea);
    diseno.AsignarFormatoPapel(QStringLiteral("IMP"));
    diseno.AnalizarInstrucciones();   // a second reading keeps the line positions

    for (long double valor : {0.0L, 1.5L, -2.5L, 1e300L, -1e300L, std::numeric_limits<long double>::infinity(),
                              std::numeric_limits<long double>::quiet_NaN()})
        Convertir(diseno, valor);
    diseno.DocumentosAdjuntos();
    diseno.ConexionDocumentosAdjuntos();
    diseno.DocumentoModelo();
    VolcarImpreso(diseno, ordenes.grabadas);
    return 0;
}
