#include "GENEW/reporting/impresos/VolcadoImpreso.h"

#include <QTextStream>

namespace {

QString Legible(const QString &texto, const QString &sustituto)
{
    QString r;
    for (const QChar c : texto) {
        if (!sustituto.isEmpty() && c == sustituto.at(0))
            r += QStringLiteral("{|}");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            r += QStringLiteral("{U+%1}").arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0')));
        else
            r += c;
    }
    return r;
}

QString Numero(double valor)
{
    return QString::number(valor, 'g', 15);
}

QString SiNo(bool valor)
{
    return valor ? QStringLiteral("si") : QStringLiteral("no");
}

QString Argumentos(const QStringList &piezas, const QString &sustituto)
{
    QString r;
    for (const QString &pieza : piezas)
        r += QLatin1Char('(') + Legible(pieza, sustituto) + QLatin1Char(')');
    return r;
}

} // namespace

QString VolcarImpreso(const DisenoImpreso &diseno, const OrdenesGrabadas &ordenesSistema)
{
    const AjustesDiseno &a = diseno.ajustes();
    const PapelImpreso &papel = diseno.papel();
    const QString &sustituto = diseno.sustituto();
    QString texto;
    QTextStream s(&texto);
    s << "papel=" << papel.anchoMm << 'x' << papel.altoMm << " apaisado=" << SiNo(papel.apaisado) << '\n';
    s << "modo texto=" << SiNo(diseno.modoTexto()) << '\n';
    s << "sustituto=" << (sustituto.isEmpty() ? QStringLiteral("ninguno") : QString::number(sustituto.at(0).unicode()))
      << '\n';
    s << "contenido de pagina=" << SiNo(diseno.tieneContenidoPagina()) << '\n';
    s << "margenes=" << Numero(a.margenIzquierdo) << ';' << Numero(a.margenSuperior) << '\n';
    s << "etiquetas=" << a.etiquetasAncho << 'x' << a.etiquetasAlto << " separacion=" << Numero(a.separacionAncho)
      << ';' << Numero(a.separacionAlto) << " por pagina=" << a.etiquetasPorPagina << " primera=" << a.primeraEtiqueta
      << '\n';
    s << "compresion=" << Numero(a.compresionAncho) << ';' << Numero(a.compresionAlto) << '\n';
    s << "altura de linea=" << a.alturaLinea << " inicio=" << a.inicioLineas << " fin=" << a.finLineas
      << " lineas por pagina=" << a.lineasPorPagina << '\n';
    if (!a.driverAlternativo.isEmpty())
        s << "driver alternativo=" << Legible(a.driverAlternativo, sustituto) << '\n';
    for (const QString &conexion : a.conexiones)
        s << "conexion=" << Legible(conexion, sustituto) << '\n';
    for (const QString &grupo : a.gruposAnalisis)
        s << "grupo=" << Legible(grupo, sustituto) << '\n';
    for (qsizetype i = 0; i < diseno.camposSuma().size(); ++i)
        s << "suma " << (i + 1) << '=' << Legible(diseno.camposSuma().at(i), sustituto) << '\n';
    const QString adjuntos = diseno.DocumentosAdjuntos();
    const QString conexionAdjuntos = diseno.ConexionDocumentosAdjuntos();
    const QString modelo = diseno.DocumentoModelo();
    if (!adjuntos.isEmpty())
        s << "DocumentosAdjuntos=" << Legible(adjuntos, QString()) << '\n';
    if (!conexionAdjuntos.isEmpty())
        s << "ConexionDocumentosAdjuntos=" << Legible(conexionAdjuntos, QString()) << '\n';
    if (!modelo.isEmpty())
        s << "DocumentoModelo=" << Legible(modelo, QString()) << '\n';
    for (const OrdenesGrabadas::Orden &orden : ordenesSistema.ordenes)
        s << "orden " << ClaveDeOrden(orden.orden) << Argumentos(orden.argumentos, sustituto) << '\n';
    for (int i = 0; i < kNumeroSecciones; ++i) {
        const QStringList &lineas = diseno.seccion(static_cast<SeccionImpreso>(i));
        if (lineas.isEmpty())
            continue;
        s << CabeceraSeccion(static_cast<SeccionImpreso>(i)) << '\n';
        for (const QString &linea : lineas) {
            const InstruccionDividida d = DividirInstruccion(linea, sustituto);
            s << "  " << Legible(d.clave, sustituto);
            if (linea.contains(QLatin1Char('=')))
                s << Argumentos(d.argumentos.piezas(), sustituto);
            s << '\n';
        }
    }
    s.flush();
    return texto;
}

QString VolcarRegistroImpreso(const RegistroImpreso &registro)
{
    EstadoEjecucionImpreso ejecucion;
    OrdenesGrabadas ordenes;
    DisenoImpreso::Servicios servicios;
    servicios.buscarImpreso = [&registro](const QString &) { return std::optional(registro); };
    servicios.ordenes = &ordenes;
    DisenoImpreso diseno(ejecucion, std::move(servicios));
    diseno.AsignarFormatoPapel(registro.Codigo);
    diseno.AnalizarInstrucciones();
    return VolcarImpreso(diseno, ordenes);
}
