#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"

#include "GENEW/data/ventanas/GENEBUSA.h"
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/base/Errores.h"
#include "platform/data/TableDataSet.h"


namespace {

const QString kPorDefecto = QStringLiteral("PorDefecto=");
const QString kFicheroBusqueda = QStringLiteral("BUSQUEDA.TXT");

// The pending parameters of the next search: set by the variants, consumed by the search.
struct PendientesBusqueda
{
    QString filtro;
    QString camposVisibles;
    QString dato;   // with the "PorDefecto=" marker, or discarded
};

PendientesBusqueda &pendientes()
{
    static PendientesBusqueda p;
    return p;
}

// Key texts, one per line, as the caller's array: "NULL" travels for an empty value.
QVariant comoClave(const QString &resultado)
{
    QVariantList valores;
    for (const QString &linea : resultado.split(QStringLiteral("\r\n")))
        valores << (linea == QLatin1String("NULL") ? QString() : linea);
    return valores;
}

QString ficheroBusqueda() { return fGENEINIC->Configuracion.directorioTrabajo + kFicheroBusqueda; }

// Shows the form chosen at start-up; the modal result and the key texts.
QVariant mostrarBusqueda(const QString &tabla, int indice, const QString &dato)
{
    int resultado = plat::mrCancel;
    QString claves;
    if (fGENEBUSA) {
        claves = BuscarPorAproximacion(tabla);
        resultado = fGENEBUSA->modalResult();
    } else if (fGENEBUSQ) {
        fGENEBUSQ->Tabla = tabla;
        fGENEBUSQ->Filtro = pendientes().filtro;
        fGENEBUSQ->CamposVisibles = pendientes().camposVisibles;
        fGENEBUSQ->Indice = indice;
        fGENEBUSQ->DatoABuscar->setText(dato);
        resultado = fGENEBUSQ->ShowModal();
        claves = fGENEBUSQ->Resultado;
        fGENEBUSQ->DatoABuscar->clear();
    }
    pendientes().filtro.clear();
    pendientes().camposVisibles.clear();
    if ((resultado == plat::mrYes || resultado == plat::mrOk) && !claves.isEmpty())
        return comoClave(claves);
    return QVariant();
}

// The pending datum without its marker; a datum without it is discarded.
QString datoPendiente()
{
    QString dato = pendientes().dato;
    pendientes().dato.clear();
    return dato.startsWith(kPorDefecto) ? dato.mid(kPorDefecto.size()) : QString();
}

} // namespace

QVariant BuscarRegistro(const QString &tablaDada, int indice)
{
    if (tablaDada.isEmpty())
        return QVariant();
    const QString tabla = ModuloDatos->NombreTablaSQL(tablaDada);
    const int indiceUsuario = ModuloDatos->IndiceBusquedaUsuario(tabla);
    return mostrarBusqueda(tabla, indiceUsuario >= 0 ? indiceUsuario : indice, datoPendiente());
}

QVariant BuscarRegistroConParametros(const QString &tabla, const QString &parametros)
{
    PendientesBusqueda &p = pendientes();
    p.filtro = ObtenerValorParametroDef(QStringLiteral("Filtro"), parametros, QString());
    p.camposVisibles = ObtenerValorParametroDef(QStringLiteral("CamposVisibles"), parametros, QString());
    const QString dato = ObtenerValorParametroDef(QStringLiteral("DatoABuscarPorDefecto"), parametros, QString());
    p.dato = dato.isEmpty() ? QString() : kPorDefecto + dato;
    bool numero = false;
    const int indice = ObtenerValorParametroDef(QStringLiteral("IndiceBusqueda"), parametros, QStringLiteral("0"))
                           .toInt(&numero);
    return BuscarRegistro(tabla, numero ? indice : 0);
}

QVariant BuscarRegistroConFiltro(const QString &tabla, int indice, const QString &filtro)
{
    pendientes().filtro = filtro;
    pendientes().camposVisibles.clear();
    return BuscarRegistro(tabla, indice);
}

QVariant BuscarRegistroConFiltroYDato(const QString &tabla, int indice, const QString &filtro, const QString &dato)
{
    pendientes().dato = kPorDefecto + dato;
    return BuscarRegistroConFiltro(tabla, indice, filtro);
}

QVariant BuscarYPosicionarTabla(plat::TableDataSet &tabla, int indice)
{
    if (tabla.tableName().isEmpty())
        return QVariant();
    QString dato = ModuloDatos->ClaveRegistro(tabla);
    dato.chop(1);   // the key text ends in ";"
    pendientes().dato.clear();
    const int indiceUsuario = ModuloDatos->IndiceBusquedaUsuario(tabla.tableName());
    const QVariant clave = mostrarBusqueda(tabla.tableName(), indiceUsuario >= 0 ? indiceUsuario : indice, dato);
    if (clave.isNull())
        return clave;
    try {
        ModuloDatos->LocalizarClave(tabla, clave);
    } catch (const std::exception &) {
        MensajeAviso(QStringLiteral("¡No ha sido posible encontrar el dato solicitado!"));
    }
    return clave;
}

QString ObtenerValorParametroDef(const QString &nombre, const QString &texto, const QString &defecto)
{
    const QString valor = LeerValorDeLista(nombre, texto);
    return valor.isEmpty() ? defecto : valor;
}

QString BuscarPorAproximacion(const QString &tabla)
{
    return fGENEBUSA ? fGENEBUSA->Buscar(tabla) : QString();
}

QString LeerValorBusqueda(const QString &clave)
{
    return LeerValorDeLista(clave, LeerFicheroTexto(ficheroBusqueda()));
}

void GrabarValorBusqueda(const QString &clave, const QString &valor)
{
    QStringList lineas = DividirLineas(LeerFicheroTexto(ficheroBusqueda()));
    EscribirValorEnLista(clave, valor, lineas);
    if (!EscribirFicheroTexto(ficheroBusqueda(), UnirLineas(lineas)))
        MensajeAviso(QStringLiteral("¡No ha sido posible grabar el archivo ") + ficheroBusqueda() + QStringLiteral("!"));
}

QString BuscarRegistroTexto(const QString &tabla, const QString &opciones)
{
    const QVariant clave = BuscarRegistro(tabla, opciones.toInt());
    QStringList textos;
    for (const QVariant &v : clave.toList())
        textos << v.toString();
    return textos.join(u';');
}
