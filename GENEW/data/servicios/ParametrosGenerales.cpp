#include "GENEW/data/servicios/ParametrosGenerales.h"

#include "GENEW/runtime/comun/Rutinas.h"

QString FormatoNumericoEstandar = FormatoNumericoInicial;
std::array<QString, 6> FormatosNumericos;
std::array<QStringList, 6> CamposFormatoNumerico;

namespace {

const QString Ninguna = QStringLiteral("Ninguna");
const QString PrefijoPlantilla = QStringLiteral("PlantillaNumerica");

QString texto(const RegistroParametrosGenerales &registro, const QString &campo)
{
    return registro.valor(campo).toString();
}

int entero(const RegistroParametrosGenerales &registro, const QString &campo)
{
    return registro.valor(campo).toInt();
}

} // namespace

PlantillasNumericas PlantillasNumericas::dePlantillas(const QString &plantillaStd, const QString &plantillaExt)
{
    PlantillasNumericas plantillas;
    if (!plantillaStd.isEmpty())
        plantillas.estandar = plantillaStd == Ninguna ? QString() : plantillaStd;
    for (int n = 1; n <= 5; ++n) {
        const QString nombre = PrefijoPlantilla + QString::number(n);
        if (!plantillaExt.contains(nombre)) {
            plantillas.formatos[n] = plantillas.estandar;
            continue;
        }
        // "<template> <fields>"; a line without fields is all template.
        const QString valor = LeerValorDeLista(nombre, plantillaExt);
        const qsizetype blanco = valor.indexOf(u' ');
        plantillas.formatos[n] = blanco < 0 ? valor : valor.left(blanco);
        if (blanco >= 0)
            plantillas.campos[n] = valor.mid(blanco + 1).split(u',', Qt::SkipEmptyParts);
    }
    return plantillas;
}

PlantillasNumericas PlantillasNumericas::deRegistro(const RegistroParametrosGenerales &registro)
{
    return dePlantillas(texto(registro, QStringLiteral("PlantillaNumericaStd")),
                        texto(registro, QStringLiteral("PlantillaNumericaExt")));
}

void PlantillasNumericas::aplicar() const
{
    FormatoNumericoEstandar = estandar;
    FormatosNumericos = formatos;
    CamposFormatoNumerico = campos;
}

QString FormatoNumericoEstandarDe(const QString &plantillaStd)
{
    if (plantillaStd == Ninguna)
        return QString();
    return plantillaStd.isEmpty() ? FormatoNumericoInicial : plantillaStd;
}

TiposImpuesto TiposImpuesto::deRegistro(const RegistroParametrosGenerales &registro)
{
    TiposImpuesto tipos;
    for (int n = 1; n <= 5; ++n) {
        tipos.iva[n] = registro.valor(QStringLiteral("Iva") + QString::number(n)).toDouble();
        tipos.recargo[n] = registro.valor(QStringLiteral("Recargo") + QString::number(n)).toDouble();
    }
    return tipos;
}

CodigosMoneda CodigosMoneda::deRegistro(const RegistroParametrosGenerales &registro)
{
    return CodigosMoneda{entero(registro, QStringLiteral("CodigoMonedaBase")),
                         entero(registro, QStringLiteral("CodigoMonedaEuro")),
                         entero(registro, QStringLiteral("CodigoMonedaNacional"))};
}

QString PlantillaNumericaExtPorDefecto()
{
    return QStringLiteral(
        "PlantillaNumerica1=#,###.## Cantidad,Peso,Volumen,Stock,PuntoPedido,LoteMinimo,LoteOptimo,Masa,Plazo,Tiempo,"
        "Horas,Dias,Bultos,Piezas,Disponible\r\n"
        "PlantillaNumerica2=#,###.## Precio,Tarifa\r\n"
        "PlantillaNumerica3=#,###.## Importe,Seguros,Fletes,Comision,Portes,Riesgo,Base,Valor,Coste,Costo,Saldo,"
        "Beneficio");
}

ValoresRegistro ValoresNuevoRegistroParametros(const QString &formatoEstandarActual)
{
    const QString si = QStringLiteral("SI");
    const QString no = QStringLiteral("NO");
    return ValoresRegistro{
        {QStringLiteral("IdRegistro"), 0},
        {QStringLiteral("MargenIzquierdoImpresora"), QVariant()},
        {QStringLiteral("TipoCombinacionTramas"), QStringLiteral("Standard")},
        {QStringLiteral("CaracterSeparadorASCII"), QStringLiteral("@")},
        {QStringLiteral("SolicitarDialogoImpresora"), si},
        {QStringLiteral("FmtVisualizacionPrevia"), QStringLiteral("Normal")},
        {QStringLiteral("DtosCascadaVenta"), si},
        {QStringLiteral("DtosCascadaCompra"), si},
        {QStringLiteral("IncluirPortesEnDtosVenta"), no},
        {QStringLiteral("TipoIVAPortesVenta"), 1},
        {QStringLiteral("TipoIVAPortesCompra"), 1},
        {QStringLiteral("NumeroDtosLineaVenta"), 1},
        {QStringLiteral("NumeroDtosLineaCompra"), 1},
        {QStringLiteral("IVARgoFinanciacionVenta"), no},
        {QStringLiteral("IVARgoFinanciacionCompra"), no},
        {QStringLiteral("IncorporarDAmpliadaVenta"), si},
        {QStringLiteral("IncorporarDAmpliadaCompra"), si},
        {QStringLiteral("TipoPortesVenta"), QStringLiteral("Debidos")},
        {QStringLiteral("PortesPagadosDesdeVenta"), 0.0},
        {QStringLiteral("CantidadUdAltVenta"), no},
        {QStringLiteral("CantidadUdAltCompra"), no},
        {QStringLiteral("UdAltVentaEnPedido"), no},
        {QStringLiteral("TipoLetraListados"), QStringLiteral("Por Defecto")},
        {QStringLiteral("FCompresionListados"), 1.0},
        {QStringLiteral("FCompresionTLetraListados"), 1.0},
        {QStringLiteral("PlantillaNumericaStd"), formatoEstandarActual},
        {QStringLiteral("Idiomas"),
         QStringLiteral("Castellano\r\nFrances\r\nIngles\r\nItaliano\r\nPortugues\r\nAleman\r\nCatalan\r\nEuskera\r\nGallego")},
        {QStringLiteral("IntrastatActivado"), no},
        {QStringLiteral("PerfilesCategoriasGA"),
         QStringLiteral("Articulo=Familia\r\nCliente=Zona,Sector,Segmento\r\nProveedor=Zona,Sector,Segmento\r\n"
                        "Cuenta=Zona,Sector,Segmento\r\nProceso=Planificacion")},
        {QStringLiteral("TextoEMailEnvioDocs"),
         QStringLiteral("Adjunto le remitimos Nuestro Documento de $TipoDocumento$ N.$NumeroDocumento$\r\n\r\n"
                        "$FirmaEmpresa$\r\n\r\n$InformacionVerificacionFirma$\r\n\r\n$PublicidadVKT$")},
        {QStringLiteral("PlantillaNumericaExt"), PlantillaNumericaExtPorDefecto()},
    };
}

QString ConfiguracionCorreoPorDefecto()
{
    return QStringLiteral("ClienteSMTP=Por Defecto\r\nServidorSMTP=\r\nCodigoUsuarioSMTP=\r\nClaveAccesoSMTP=\r\n"
                          "PuertoSSL=\r\nCuentaFromSMTP=\r\nCuentaSMTPCopiasDocumentos=\r\n"
                          "ClienteSMTP(Masivo)=Indy\r\nServidorSMTP(Masivo)=\r\nCodigoUsuarioSMTP(Masivo)=\r\n"
                          "ClaveAccesoSMTP(Masivo)=\r\nPuertoSSL(Masivo)=\r\nCuentaFromSMTP(Masivo)=\r\n"
                          "CuentaSMTPCopiasDocumentos(Masivo)=");
}

ValoresRegistro RegistroUsuarioAdministrador()
{
    const QString administrador = QStringLiteral("Administrador");
    return ValoresRegistro{
        {QStringLiteral("Codigo"), QStringLiteral("ADMIN")},
        {QStringLiteral("Nombre"), administrador},
        {QStringLiteral("Categoria"), administrador},
        {QStringLiteral("ClaveAcceso"), QString()},
        {QStringLiteral("Empresas"), QStringLiteral("1")},
    };
}
