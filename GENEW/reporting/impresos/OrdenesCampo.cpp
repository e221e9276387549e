#include "GENEW/reporting/impresos/OrdenesCampo.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/servicios/NombresMotor.h"
#include "GENEW/data/servicios/ParametrosGenerales.h"
#include "GENEW/reporting/impresos/DestinoDibujo.h"
#include "GENEW/reporting/impresos/GENELIMP.h"
#include "GENEW/reporting/impresos/MarcasFuente.h"
#include "GENEW/reporting/impresos/ReferenciasDocumento.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/base/LecturaTextos.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/ValueText.h"

#include <QRegularExpression>

namespace {

const QString kLineaMemo = QStringLiteral("LineaMemo");

bool esFechaCero(const QDateTime &fecha)
{
    return !fecha.isValid() || (fecha.date() == QDate(1899, 12, 30) && fecha.time() == QTime(0, 0));
}

bool esFecha(TFieldType tipo)
{
    return tipo == ftDate || tipo == ftTime || tipo == ftDateTime;
}

bool esEntero(TFieldType tipo)
{
    return tipo == ftInteger || tipo == ftSmallint || tipo == ftWord || tipo == ftAutoInc;
}

// A layout number written back for `Text`, which reads it with a decimal comma.
QString TextoNumero(long double valor)
{
    return QString::number(double(valor), 'f', 6).replace(QLatin1Char('.'), QLatin1Char(','));
}

int lineaMemoActual(const plat::DataSet &dataSet)
{
    const plat::Field *campo = dataSet.findField(kLineaMemo);
    return campo ? int(campo->asInteger()) : 0;
}

// The paragraph once its leading tags (and the blanks among them) are cut.
QString SinPrefijo(const QString &parrafo, const QString &prefijo)
{
    qsizetype i = 0;
    for (const QChar c : prefijo) {
        while (i < parrafo.size() && parrafo.at(i) == QLatin1Char(' '))
            ++i;
        if (i < parrafo.size() && parrafo.at(i) == c)
            ++i;
    }
    return parrafo.mid(i);
}

} // namespace

// ---- the commands -------------------------------------------------------------------------

void OrdenesCampo::ejecutarOrden(OrdenImpreso orden, const ArgumentosInstruccion &argumentos)
{
    switch (orden) {
    case OrdenImpreso::Camp: Campo(argumentos); break;
    case OrdenImpreso::Expr: Expresion(argumentos); break;
    case OrdenImpreso::Conc: Concatenar(argumentos); break;
    case OrdenImpreso::Suma: Suma(argumentos); break;
    case OrdenImpreso::ISum: IniciarSuma(argumentos); break;
    default: break;
    }
}

plat::DataSet *OrdenesCampo::dataSetActual() const
{
    plat::DataSet &d = motor_.ejecucion().lineasActivas ? motor_.LTemporal->dataSet() : motor_.Temporal->dataSet();
    return d.active() && !d.eof() ? &d : nullptr;
}

bool OrdenesCampo::esCampoNoVisible(const QString &campo) const
{
    if (servicios_.esCampoNoVisible)
        return servicios_.esCampoNoVisible(campo);
    return ModuloDatos && ModuloDatos->EsCampoNoVisible(campo);
}

QString OrdenesCampo::traducir(const QString &texto) const
{
    if (servicios_.traducir)
        return servicios_.traducir(texto);
    return ModuloDatos ? ModuloDatos->Traducir(texto) : texto;
}

QString OrdenesCampo::importeConvertido(double importe, const QString &formato) const
{
    std::optional<Servicios::Moneda> moneda;
    if (servicios_.moneda) {
        moneda = servicios_.moneda();
    } else if (ModuloDatos) {
        TModuloDatos *m = ModuloDatos;
        moneda = Servicios::Moneda{m->CodigosMonedaActuales().euro, m->CodigosMonedaActuales().nacional, m->VistaEnEuros(),
                                   [m](const QString &modo, double valor) { return m->ConvertirMoneda(modo, valor); },
                                   [m](int codigo) { return m->CambioMoneda(codigo); }};
    }
    if (!moneda || !moneda->convertir || !moneda->cambio)
        return {};
    const int documento = motor_.codigoMoneda();
    const bool propia = documento == moneda->euro || documento == moneda->nacional;
    QString modo = QStringLiteral("Otra Moneda");
    if (documento == moneda->euro)
        modo = moneda->vistaEnEuros ? QString() : QStringLiteral("AutoInverso");
    else if (documento == moneda->nacional)
        modo = moneda->vistaEnEuros ? QStringLiteral("AutoInverso") : QString();
    try {
        const double valor = propia ? importe : importe * motor_.cambio() * moneda->cambio(moneda->nacional);
        return plat::formatFloat(formato, moneda->convertir(modo, valor));
    } catch (const std::exception &) {
        return {};   // a failing conversion leaves the text empty
    }
}

QString OrdenesCampo::plantilla(const QString &nombre) const
{
    if (servicios_.plantillaNumerica)
        return servicios_.plantillaNumerica(nombre);
    if (ModuloDatos && ModuloDatos->FormatoNumericoDeCampo.valor())
        return ModuloDatos->FormatoNumericoDeCampo.valor()(nombre);
    return FormatoNumericoEstandar;
}

void OrdenesCampo::dibujar(const ArgumentosInstruccion &a, const QString &valor, const QString &alineacion)
{
    motor_.dibujo().Texto(a[1], a[2], a[3], valor, alineacion);
}

void OrdenesCampo::Campo(const ArgumentosInstruccion &a)
{
    if (a[4].contains(QLatin1Char('.'))) {
        CampoReferencia(a);
        return;
    }
    const NombreCampoImpreso nombre = LeerNombreCampo(a[4]);
    if (motor_.simulacion()) {
        dibujar(a, AbreviarNombreCampo(nombre.campo, 1));
        return;
    }
    plat::DataSet *dataSet = dataSetActual();
    if (!dataSet)
        return;
    if (EsGrupoAnalisis(nombre.campo))
        dibujar(a, ValorGrupoAnalisis(nombre.campo, *dataSet));
    else
        dibujarCampo(a, *dataSet, nombre);
}

QString OrdenesCampo::ValorGrupoAnalisis(const QString &nombre, const plat::DataSet &dataSet)
{
    for (const QString &entrada : motor_.diseno().ajustes().gruposAnalisis) {
        if (entrada.section(QLatin1Char(';'), 0, 0) != nombre)
            continue;
        const QStringList partes = entrada.section(QLatin1Char(';'), 1).split(QLatin1Char(','));
        try {
            const plat::Field *campoClave = dataSet.findField(partes.value(2));
            if (!campoClave)
                return {};
            const QString clave = campoClave->asString();
            if (servicios_.gruposAnalisis)
                return servicios_.gruposAnalisis(partes.value(0), partes.value(1), clave);
            return ModuloDatos ? ModuloDatos->RegistroEnGruposAnalisis(partes.value(0), partes.value(1), clave) : QString();
        } catch (const std::exception &) {
            return {};
        }
    }
    return {};
}

void OrdenesCampo::CampoReferencia(const ArgumentosInstruccion &a)
{
    const QStringList partes = a[4].split(QLatin1Char('.'));
    NombreCampoImpreso nombre = LeerNombreCampo(partes.value(1));
    if (motor_.simulacion()) {
        dibujar(a, AbreviarNombreCampo(nombre.campo, 1));
        return;
    }
    plat::DataSet *actual = dataSetActual();
    const QString tablaSQL = ModuloDatos ? ModuloDatos->NombreTablaSQL(partes.first()) : partes.first();
    const std::unique_ptr<plat::TableDataSet> tabla = actual ? abrirTabla(tablaSQL) : nullptr;
    if (!tabla)
        return;   // an unknown table draws nothing
    if (BuscarReferencia(*tabla, tablaSQL, partes.value(2), *actual))
        dibujarCampo(a, *tabla, nombre);
}

std::unique_ptr<plat::TableDataSet> OrdenesCampo::abrirTabla(const QString &tablaSQL) const
{
    auto *actual = dynamic_cast<plat::TableDataSet *>(dataSetActual());
    if (!actual || !actual->connection())
        return nullptr;
    auto tabla = std::make_unique<plat::TableDataSet>();
    tabla->setConnection(actual->connection());
    tabla->setTableName(tablaSQL);
    try {
        tabla->open();
    } catch (const std::exception &) {
        return nullptr;
    }
    return tabla;
}

QString OrdenesCampo::BuscarValorTablaCampo(const QString &referencia)
{
    const QStringList partes = referencia.split(QLatin1Char('.'));
    if (partes.size() != 2 && partes.size() != 3)
        return {};
    try {
        plat::DataSet *actual = dataSetActual();
        const QString tablaSQL = ModuloDatos ? ModuloDatos->NombreTablaSQL(partes.first()) : partes.first();
        const std::unique_ptr<plat::TableDataSet> tabla = actual ? abrirTabla(tablaSQL) : nullptr;
        const QString selector = partes.size() == 3 ? partes.at(1) : QString();
        if (!tabla || !BuscarReferencia(*tabla, tablaSQL, selector, *actual))
            return {};
        return tabla->fieldByName(partes.last()).asString();
    } catch (const std::exception &) {
        return {};
    }
}

bool OrdenesCampo::BuscarReferencia(plat::DataSet &tabla, const QString &tablaSQL, const QString &calificador,
                                    const plat::DataSet &actual)
{
    const QString buscado = calificador.isEmpty() ? tablaSQL : tablaSQL + QLatin1Char('.') + calificador;
    const int camposIndice = qMin(tabla.indexFieldCount(), kMaximoElementosClave);
    auto textoDe = [&actual](const QString &campo) {
        const plat::Field *f = actual.findField(campo);
        return f ? f->asString() : QString();
    };
    std::optional<QVariantList> clave;
    for (const QString &entrada : motor_.diseno().ajustes().conexiones) {
        const qsizetype mayor = entrada.indexOf(QLatin1Char('>'));
        if (mayor < 0 || !entrada.left(mayor + 1).contains(buscado + QLatin1Char('>')))
            continue;
        const auto elementos = DividirElementosClave(entrada.mid(mayor + 1), tablaSQL, motor_.diseno().sustituto());
        QStringList valores;
        for (const ElementoClave &e : elementos) {
            switch (e.tipo) {
            case TipoElementoClave::Vacio: valores << QString(); break;
            case TipoElementoClave::Literal: valores << e.texto; break;
            case TipoElementoClave::Campo: valores << textoDe(e.texto); break;
            case TipoElementoClave::GrupoAnalisis: valores << ValorGrupoAnalisis(e.texto, actual); break;
            case TipoElementoClave::CamposDocutron: {
                QStringList partes;
                for (const QString &campo : e.campos)
                    if (actual.findField(campo))
                        partes << textoDe(campo);
                valores << partes.join(QLatin1Char('|'));
                break;
            }
            case TipoElementoClave::ReferenciaDocumento: {
                const ClavesReferencia r = ClavesDeReferenciaDocumento(actual.fieldByName(e.texto).asString(), camposIndice);
                valores << r.clave1 << (r.hayClave2 ? r.clave2 : QString());
                break;
            }
            }
        }
        clave = QVariantList();
        for (int i = 0; i < camposIndice; ++i)
            clave->append(valores.value(i));
    }
    return clave && camposIndice > 0 && tabla.findKey(*clave);
}

void OrdenesCampo::dibujarCampo(const ArgumentosInstruccion &a, plat::DataSet &dataSet, const NombreCampoImpreso &nombre)
{
    const plat::Field *campo = dataSet.findField(nombre.campo);
    if (!campo)
        return;
    // The hidden-field test comes before the memo wrap, so a hidden memo prints nothing at all.
    if (esCampoNoVisible(nombre.campo)) {
        dibujar(a, QString());
        return;
    }
    if (campo->dataType() == ftMemo && lineaMemoActual(dataSet) == 0) {
        CampoMemo(a, *campo, nombre.pieza);
        return;
    }
    QString texto = textoCampo(a, *campo, nombre);
    if (!a[9].isEmpty())
        texto = traducir(texto);
    dibujar(a, texto);
}

QString OrdenesCampo::textoCampo(const ArgumentosInstruccion &a, const plat::Field &campo, const NombreCampoImpreso &nombre)
{
    const TFieldType tipo = campo.dataType();
    if (esFecha(tipo)) {
        if (EsCampoHora(campo))
            return campo.isNull() ? QString() : campo.asDateTime().time().toString(QStringLiteral("hh:mm:ss"));
        return esFechaCero(campo.asDateTime()) ? QString() : campo.asString();
    }
    // A continuation row of a wrapped memo holds its key and its line only: its empty
    // amounts print nothing rather than a zero.
    if (campo.isNull())
        return QString();
    if (tipo == ftFloat) {
        const QString formato = FormatoReal(a[6], a[7], a[8], plantilla(nombre.campo));
        return nombre.euro ? importeConvertido(campo.asFloat(), formato) : plat::formatFloat(formato, campo.asFloat());
    }
    if (esEntero(tipo) && !a[6].isEmpty())
        return plat::formatFloat(a[6] + QLatin1Char(';') + a[7] + QLatin1Char(';') + a[8], double(campo.asInteger()));
    const QString texto = campo.asString();
    return nombre.pieza > 0 ? PiezaTexto(texto, nombre.pieza) : texto;
}

void OrdenesCampo::CampoMemo(const ArgumentosInstruccion &a, const plat::Field &campo, int pieza)
{
    const bool enLineas = motor_.ejecucion().lineasActivas;
    int pedidas = 0;
    LeerEntero(a[5], pedidas);
    if (pedidas <= 0 && !enLineas)
        return;
    static const QRegularExpression saltos(QStringLiteral("\r\n|\n|\r"));
    QString texto = campo.asString();
    if (pieza > 0)
        texto = PiezaTexto(QString(texto).replace(saltos, QStringLiteral(";")), pieza);
    if (texto.isEmpty())
        return;

    DestinoDibujo &destino = *motor_.contexto().destino;
    DisenoImpreso &diseno = motor_.diseno();
    const bool modoTexto = diseno.modoTexto();
    const bool impresora = motor_.ejecucion().destino == DestinoImpresion::Impresora;
    const long double anchoUnidades = NumeroArgumento(a[3]);
    auto pixelesY = [&](long double y) { return impresora ? diseno.YImpresora(y) : diseno.YPagina(y); };
    const int ancho = modoTexto ? int(anchoUnidades) : (impresora ? diseno.XImpresora(anchoUnidades) : diseno.XPagina(anchoUnidades));
    const int cien = pixelesY(100) - pixelesY(0);
    const long double paso = modoTexto ? 1 : (cien > 0 ? destino.altoTexto(QStringLiteral("Ay")) * 100 / cien : 0);
    auto medir = [&](const QString &linea) { return modoTexto ? int(linea.size()) : destino.anchoTexto(linea); };

    QStringList lineas;
    for (const QString &parrafo : texto.split(saltos)) {
        const MarcasLineaMemo marcas = InterpretarMarcasLineaMemo(parrafo);
        const plat::CanvasFont guardada = destino.fuente();
        if (marcas.aplicarFuente)
            AplicarMarcasFuente(marcas.estado, destino.fuente());
        const QString cuerpo = marcas.hayMarcas ? SinPrefijo(parrafo, marcas.prefijo) : parrafo;
        for (const QString &linea : LlenarParrafo(cuerpo, ancho, medir))
            lineas << marcas.prefijo + linea;
        destino.fuente() = guardada;
    }
    if (lineas.isEmpty())
        return;

    if (!enLineas) {
        const long double y = NumeroArgumento(a[2]);
        for (qsizetype k = 0; k < qMin<qsizetype>(pedidas, lineas.size()); ++k)
            motor_.dibujo().Texto(a[1], TextoNumero(y + k * paso), a[3], lineas.at(k), QString());
        return;
    }
    dibujar(a, lineas.first(), QString());
    plat::DataSet &tablaLineas = *dataSetActual();
    for (qsizetype k = 1; k < lineas.size(); ++k)
        anadirContinuacion(tablaLineas, campo, int(k), lineas.at(k));
}

void OrdenesCampo::anadirContinuacion(plat::DataSet &lineas, const plat::Field &campo, int numero, const QString &texto)
{
    const QStringList claves = lineas.indexFields();
    if (!lineas.findField(kLineaMemo) || !lineas.findField(campo.fieldName()) || claves.isEmpty())
        return;
    QVariantList valores;
    for (const QString &clave : claves)
        valores << (clave.compare(kLineaMemo, Qt::CaseInsensitive) == 0 ? QVariant(numero) : lineas.fieldByName(clave).value());
    const QString nombreCampo = campo.fieldName();
    const plat::Bookmark actual = lineas.bookmark();
    if (lineas.findKey(valores)) {
        lineas.edit();
    } else {
        lineas.append();
        for (qsizetype i = 0; i < claves.size(); ++i)
            lineas.fieldByName(claves.at(i)).setValue(valores.at(i));
    }
    lineas.fieldByName(nombreCampo).setAsString(texto);
    lineas.post();
    lineas.gotoBookmark(actual);
}

void OrdenesCampo::Expresion(const ArgumentosInstruccion &a)
{
    if (motor_.simulacion()) {
        dibujar(a, AbreviarNombreCampo(a[4], 1));
        return;
    }
    plat::DataSet *dataSet = dataSetActual();
    const double resultado = EvaluarExpresion(a[4], [this, dataSet](const QString &termino) {
        if (termino.contains(QLatin1Char('.'))) {
            double valor = 0;
            return LeerDecimal(BuscarValorTablaCampo(termino), valor) ? valor : 0.0;
        }
        const plat::Field *campo = dataSet ? dataSet->findField(termino) : nullptr;
        if (!campo)
            return 0.0;
        if (campo->isNumeric())
            return campo->asFloat();
        double valor = 0;
        return LeerDecimal(campo->asString(), valor) ? valor : 0.0;
    });
    dibujar(a, plat::formatFloat(FormatoReal(a[6], a[7], a[8], plantilla(a[4])), resultado));
}

void OrdenesCampo::Concatenar(const ArgumentosInstruccion &a)
{
    if (motor_.simulacion()) {
        dibujar(a, AbreviarNombreCampo(a[4], 1));
        return;
    }
    plat::DataSet *dataSet = dataSetActual();
    dibujar(a, ConcatenarElementos(a[4], [dataSet](const QString &nombre) {
        const plat::Field *campo = dataSet ? dataSet->findField(nombre) : nullptr;
        return campo ? campo->asString() : QString();
    }));
}

void OrdenesCampo::Suma(const ArgumentosInstruccion &a)
{
    if (motor_.ejecucion().lineasActivas)
        return;
    if (motor_.simulacion()) {
        dibujar(a, AbreviarNombreCampo(a[4], 1));
        return;
    }
    const qsizetype slot = motor_.diseno().camposSuma().indexOf(a[4]);
    if (slot < 0 || slot >= qsizetype(motor_.sumas().size()))
        return;
    dibujar(a, plat::formatFloat(FormatoReal(a[6], a[7], a[8], plantilla(a[4])), motor_.sumas()[size_t(slot)]));
}

void OrdenesCampo::IniciarSuma(const ArgumentosInstruccion &a)
{
    if (motor_.ejecucion().lineasActivas || motor_.simulacion())
        return;
    const qsizetype slot = motor_.diseno().camposSuma().indexOf(a[1]);
    if (slot >= 0 && slot < qsizetype(motor_.sumas().size()))
        motor_.sumas()[size_t(slot)] = 0;
}
