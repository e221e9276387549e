#include "GENEW/reporting/impresos/DisenoImpreso.h"

#include "GENEW/reporting/impresos/ReferenciasDocumento.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <limits>

namespace {

constexpr std::array<const char *, kNumeroSecciones> kCabeceras = {
    "[SISTEMA]", "[CABECERA]", "[LINEAS]", "[PIESUMAYSIGUE]", "[PIE]", "[PIEPAGINA]",
};

// One column of text mode is 1/10 inch; one line 1/6 inch.
constexpr long double kMilimetrosColumna = 2.54L;
constexpr long double kMilimetrosLinea = 4.2333333L;

bool EsPie(SeccionImpreso seccion)
{
    return seccion == SeccionImpreso::PieSumaYSigue || seccion == SeccionImpreso::Pie ||
           seccion == SeccionImpreso::PiePagina;
}

// A real setting: a text that is not a number keeps the previous value.
void LeerReal(const QString &texto, double &valor)
{
    double leido = 0;
    if (LeerDecimal(texto, leido))
        valor = leido;
}

// A compression of 0 would divide every position by zero: it keeps the previous value too.
void LeerCompresion(const QString &texto, double &valor)
{
    double leido = 0;
    if (LeerDecimal(texto, leido) && leido != 0)
        valor = leido;
}

// Labels across or down: only whole numbers above 0 (0 across divides by zero, and 0 or
// fewer leaves no first-label position to answer).
void LeerNumeroEtiquetas(const QString &texto, int &valor)
{
    int leido = 0;
    if (LeerEntero(texto, leido) && leido > 0)
        valor = leido;
}

// Line settings that are not whole numbers become 0.
int EnteroOCero(const QString &texto)
{
    int leido = 0;
    return LeerEntero(texto, leido) ? leido : 0;
}

long double Pixeles(long double posicion, long double factor, long double dispositivo, int milimetros)
{
    return posicion * factor * dispositivo / milimetros;
}

} // namespace

QString CabeceraSeccion(SeccionImpreso seccion)
{
    return QLatin1String(kCabeceras[static_cast<int>(seccion)]);
}

std::optional<SeccionImpreso> SeccionDeCabecera(const QString &texto)
{
    for (int i = 0; i < kNumeroSecciones; ++i)
        if (texto == QLatin1String(kCabeceras[i]))
            return static_cast<SeccionImpreso>(i);
    return std::nullopt;
}

DisenoImpreso::DisenoImpreso(EstadoEjecucionImpreso &ejecucion, Servicios servicios)
    : ejecucion_(ejecucion), servicios_(std::move(servicios))
{
}

bool DisenoImpreso::AsignarFormatoPapel(const QString &codigo)
{
    if (!servicios_.buscarImpreso)
        return false;
    std::optional<RegistroImpreso> registro = servicios_.buscarImpreso(codigo);
    if (!registro)
        registro = servicios_.buscarImpreso(ejecucion_.codigoImpresoPeticion);
    if (!registro)
        return false;
    registro_ = std::move(*registro);
    modoTexto_ = registro_.Modo == QLatin1String("Texto");
    papel_ = PapelDeFormato(registro_.Formato);
    return true;
}

void DisenoImpreso::AnalizarInstrucciones()
{
    leerSecciones();

    AjustesDiseno nuevos;
    nuevos.inicioLineas = ajustes_.inicioLineas;
    nuevos.finLineas = ajustes_.finLineas;
    ajustes_ = std::move(nuevos);

    const QStringList sistema = seccion(SeccionImpreso::Sistema);
    for (const QString &linea : sistema)
        EjecutarInstruccion(linea);

    if (ajustes_.finLineas == kLineasPapelContinuo)
        ajustes_.lineasPorPagina = kLineasPapelContinuo;
    else if (ajustes_.alturaLinea == 0)
        ajustes_.lineasPorPagina = 0;
    else
        ajustes_.lineasPorPagina = (qint64(ajustes_.finLineas) - ajustes_.inicioLineas) / ajustes_.alturaLinea;
    ajustes_.etiquetasPorPagina = qint64(ajustes_.etiquetasAncho) * ajustes_.etiquetasAlto;
    ejecucion_.posicionEtiqueta = ajustes_.etiquetasPorPagina + 1;
}

void DisenoImpreso::leerSecciones()
{
    const QString &texto = registro_.Instrucciones;
    sustituto_ = CaracterNoUsado(texto);
    preparadas_.clear();   // split with the substitute of their own layout
    for (QStringList &lista : secciones_)
        lista.clear();
    camposSuma_.clear();

    std::optional<SeccionImpreso> actual;
    for (const QString &linea : DividirLineasImpreso(texto)) {
        if (const auto cabecera = SeccionDeCabecera(ClaveDeLinea(linea)))
            actual = cabecera;
        if (!actual)
            continue;   // lines before the first header belong to no section
        secciones_[static_cast<int>(*actual)].append(linea);
        // The sum slots hold 100 names; further "Suma" lines register none.
        if (EsPie(*actual) && linea.startsWith(QLatin1String("Suma")) && camposSuma_.size() < kMaximoCamposSuma)
            camposSuma_.append(ExtraerCampo(3, linea, QStringLiteral(";")));
    }
    contenidoPagina_ = false;
    for (int i = 1; i < kNumeroSecciones; ++i)
        contenidoPagina_ = contenidoPagina_ || !secciones_[i].isEmpty();
}

void DisenoImpreso::EjecutarInstruccion(const QString &linea)
{
    constexpr qsizetype kPreparadasMaximas = 512;
    auto it = preparadas_.constFind(linea);
    if (it == preparadas_.cend()) {
        if (preparadas_.size() >= kPreparadasMaximas)
            preparadas_.clear();
        InstruccionDividida dividida = DividirInstruccion(linea, sustituto_);
        const auto orden = OrdenDeClave(dividida.clave);
        it = preparadas_.insert(linea, {std::move(dividida), orden});
    }
    // A copy: a command may run instructions of its own meanwhile.
    const InstruccionPreparada instruccion = *it;
    ordenActual_ = instruccion.dividida.clave;
    if (instruccion.orden)
        despacharOrden(*instruccion.orden, instruccion.dividida.argumentos);
    else
        ejecutarAjuste(instruccion.dividida.clave, instruccion.dividida.argumentos);
}

void DisenoImpreso::ejecutarAjuste(const QString &clave, const ArgumentosInstruccion &argumentos)
{
    AjustesDiseno &a = ajustes_;
    if (clave == QLatin1String("Margenes")) {
        LeerReal(argumentos[1], a.margenIzquierdo);
        LeerReal(argumentos[2], a.margenSuperior);
    } else if (clave == QLatin1String("FormatoEtiqueta")) {
        LeerNumeroEtiquetas(argumentos[1], a.etiquetasAncho);
        LeerNumeroEtiquetas(argumentos[2], a.etiquetasAlto);
        LeerReal(argumentos[3], a.separacionAncho);
        LeerReal(argumentos[4], a.separacionAlto);
        if (ejecucion_.destino == DestinoImpresion::Impresora)
            pedirPrimeraEtiqueta();
    } else if (clave == QLatin1String("Compresion")) {
        LeerCompresion(argumentos[1], a.compresionAncho);
        LeerCompresion(argumentos[2], a.compresionAlto);
    } else if (clave == QLatin1String("AlturaLinea")) {
        a.alturaLinea = EnteroOCero(argumentos[1]);
    } else if (clave == QLatin1String("InicioLineas")) {
        a.inicioLineas = EnteroOCero(argumentos[1]);
    } else if (clave == QLatin1String("FinLineas")) {
        a.finLineas = EnteroOCero(argumentos[1]);
    } else if (clave == QLatin1String("DriverAlternativo")) {
        a.driverAlternativo = argumentos[1];
    } else if (clave == QLatin1String("Conexion")) {
        const QString &texto = argumentos.texto();
        const QString tabla = ExtraerCampo(0, texto, QStringLiteral(">"));
        const QString nombreSQL = servicios_.nombreTablaSQL ? servicios_.nombreTablaSQL(tabla) : tabla;
        a.conexiones.append(nombreSQL + QLatin1Char('>') + ExtraerCampo(1, texto, QStringLiteral(">")));
    } else if (EsGrupoAnalisis(clave)) {
        a.gruposAnalisis.append(clave + QLatin1Char(';') + argumentos.texto());
    }
}

void DisenoImpreso::pedirPrimeraEtiqueta()
{
    const qint64 etiquetas = qint64(ajustes_.etiquetasAncho) * ajustes_.etiquetasAlto;
    for (;;) {
        const QString respuesta =
            MensajePedirDato(QStringLiteral("Introduzca la posición de la primera etiqueta: "), QStringLiteral("1"));
        int posicion = 0;
        // Not a number, or a position before the first label: asked again, no warning.
        if (!LeerEntero(respuesta, posicion) || posicion <= 0)
            continue;
        if (posicion > etiquetas) {
            MensajeAviso(QStringLiteral("La posición no puede ser mayor que ") + QString::number(etiquetas));
            continue;
        }
        ajustes_.primeraEtiqueta = posicion;
        return;
    }
}

void DisenoImpreso::despacharOrden(OrdenImpreso orden, const ArgumentosInstruccion &argumentos)
{
    if (!servicios_.ordenes)
        return;
    if (orden == OrdenImpreso::Font && modoTexto_)
        return;
    if ((orden == OrdenImpreso::Suma || orden == OrdenImpreso::ISum) && ejecucion_.lineasActivas)
        return;
    if (orden != OrdenImpreso::CBar) {
        servicios_.ordenes->ejecutarOrden(orden, argumentos);
        return;
    }
    try {
        servicios_.ordenes->ejecutarOrden(orden, argumentos);
    } catch (...) {
        // A barcode that cannot be drawn leaves its place empty; the page goes on.
    }
}

qint64 DisenoImpreso::indiceEtiqueta() const
{
    const qint64 posicion = ejecucion_.posicionEtiqueta;
    return posicion == std::numeric_limits<qint64>::min() ? posicion : posicion - 1;
}

long double DisenoImpreso::PosicionX(long double x) const
{
    const AjustesDiseno &a = ajustes_;
    long double posicion = a.margenIzquierdo / static_cast<long double>(a.compresionAncho) + x;
    if (a.etiquetasAncho != 1)
        posicion += (indiceEtiqueta() % a.etiquetasAncho) * static_cast<long double>(a.separacionAncho) /
                    a.compresionAncho;
    return posicion;
}

long double DisenoImpreso::PosicionY(long double y) const
{
    const AjustesDiseno &a = ajustes_;
    long double posicion = a.margenSuperior / static_cast<long double>(a.compresionAlto) + y;
    if (ejecucion_.lineasActivas)
        posicion += a.inicioLineas + (static_cast<long double>(ejecucion_.lineaEnPagina) - 1) * a.alturaLinea;
    else if (ejecucion_.pieActivo && modoTexto_ && a.finLineas == kLineasPapelContinuo)
        posicion += ejecucion_.lineaTextoImpresora;
    if (a.etiquetasAlto != 1)
        posicion += (indiceEtiqueta() / a.etiquetasAncho) * static_cast<long double>(a.separacionAlto) /
                    a.compresionAlto;
    return posicion;
}

int DisenoImpreso::XImpresora(long double x) const
{
    const long double factor = modoTexto_ ? kMilimetrosColumna : static_cast<long double>(ajustes_.compresionAncho);
    return RedondearMitadesAPar(Pixeles(x, factor, ejecucion_.anchoFisicoImpresora, papel_.anchoMm));
}

int DisenoImpreso::YImpresora(long double y) const
{
    if (modoTexto_)
        return RedondearMitadesAPar(y);   // a line number for raw output
    return RedondearMitadesAPar(Pixeles(y, ajustes_.compresionAlto, ejecucion_.altoFisicoImpresora, papel_.altoMm));
}

int DisenoImpreso::XPagina(long double x) const
{
    const long double factor = modoTexto_ ? kMilimetrosColumna : static_cast<long double>(ajustes_.compresionAncho);
    return RedondearMitadesAPar(Pixeles(x, factor, ejecucion_.tamanoPagina.width(), papel_.anchoMm));
}

int DisenoImpreso::YPagina(long double y) const
{
    const long double factor = modoTexto_ ? kMilimetrosLinea : static_cast<long double>(ajustes_.compresionAlto);
    return RedondearMitadesAPar(Pixeles(y, factor, ejecucion_.tamanoPagina.height(), papel_.altoMm));
}

void DisenoImpreso::PonerCompresion(double ancho, double alto)
{
    if (ancho != 0)
        ajustes_.compresionAncho = ancho;
    if (alto != 0)
        ajustes_.compresionAlto = alto;
}

long double DisenoImpreso::AnchoPapelUnidades() const
{
    return modoTexto_ ? papel_.anchoMm / kMilimetrosColumna : static_cast<long double>(papel_.anchoMm);
}

long double DisenoImpreso::AltoPapelUnidades() const
{
    return modoTexto_ ? papel_.altoMm / kMilimetrosLinea : static_cast<long double>(papel_.altoMm);
}

QString DisenoImpreso::DocumentosAdjuntos() const
{
    return LeerValorDeLista(QStringLiteral("DocumentosAdjuntos"), registro_.Instrucciones);
}

QString DisenoImpreso::ConexionDocumentosAdjuntos() const
{
    return LeerValorDeLista(QStringLiteral("ConexionDocumentosAdjuntos"), registro_.Instrucciones);
}

QString DisenoImpreso::DocumentoModelo() const
{
    return LeerValorDeLista(QStringLiteral("DocumentoModelo"), registro_.Instrucciones);
}
