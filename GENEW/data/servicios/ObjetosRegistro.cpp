#include "GENEW/data/servicios/ObjetosRegistro.h"

#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/base/FechaHora.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/ValueText.h"

#include <QFile>
#include <QScopeGuard>

namespace objetosRegistro {

QString Seleccion(const QString &columnas, const ObjetoRegistro &objeto)
{
    return QStringLiteral("SELECT ") + columnas + QStringLiteral(" FROM BLOBTAB   WHERE NombreTabla = ")
        + Entrecomillar(objeto.tabla) + QStringLiteral("    AND ClaveTabla = ") + Entrecomillar(objeto.clave)
        + QStringLiteral("    AND IdObjeto = ") + Entrecomillar(objeto.id);
}

QString RutaExtraccion(const QString &base, const QString &tipo)
{
    return tipo.isEmpty() ? base : base + u'.' + tipo.toLower();
}

namespace {

QString valorDocumento(const plat::Field &campo)
{
    switch (campo.dataType()) {
    case ftFloat:
    case ftCurrency: return plat::formatFloat(QStringLiteral("#,###.##"), campo.asFloat());
    case ftDate:
    case ftTime:
    case ftDateTime: return EsFechaCero(campo.asDateTime()) ? QString() : campo.asString();
    default: return campo.asString();
    }
}

} // namespace

QString TextoValoresDocumento(plat::DataSet &tabla, plat::DataSet *detalle)
{
    QString texto;
    for (int i = 0; i < tabla.fieldCount(); ++i) {
        const plat::Field &campo = tabla.field(i);
        texto += campo.fieldName() + u'=' + valorDocumento(campo) + QStringLiteral("\r\n");
    }
    if (!detalle)
        return texto;
    const plat::Bookmark posicion = detalle->bookmark();
    detalle->disableControls();
    const auto volver = qScopeGuard([&] {
        if (detalle->bookmarkValid(posicion))
            detalle->gotoBookmark(posicion);
        detalle->enableControls();
    });
    for (detalle->first(); !detalle->eof(); detalle->next()) {
        texto += QStringLiteral("Linea=");
        for (int i = 0; i < detalle->fieldCount(); ++i) {
            const plat::Field &campo = detalle->field(i);
            QString valor = valorDocumento(campo);
            valor.replace(QStringLiteral("\r\n"), QStringLiteral("·"));
            texto += campo.fieldName() + u'=' + valor + u'|';
        }
        texto += QStringLiteral("\r\n");
    }
    return texto;
}

} // namespace objetosRegistro

void ServicioObjetos::Guardar(const ObjetoRegistro &objeto, const ObjetoNuevo *nuevo)
{
    std::unique_ptr<plat::QueryDataSet> consulta =
        almacen_.abrirConsulta(objetosRegistro::Seleccion(QStringLiteral("*"), objeto), true);
    almacen_.enTransaccion([&] {
        if (!consulta->isEmpty())
            consulta->remove();
        if (!nuevo)
            return;
        consulta->append();
        consulta->fieldByName(QStringLiteral("NombreTabla")).setAsString(objeto.tabla);
        consulta->fieldByName(QStringLiteral("ClaveTabla")).setAsString(objeto.clave);
        consulta->fieldByName(QStringLiteral("IdObjeto")).setAsString(objeto.id);
        consulta->fieldByName(QStringLiteral("TipoObjeto")).setAsString(nuevo->tipo);
        if (!nuevo->nombre.isEmpty())
            consulta->fieldByName(QStringLiteral("Nombre")).setAsString(nuevo->nombre);
        if (nuevo->creacion.isValid()) {
            consulta->fieldByName(QStringLiteral("FechaCreacion")).setAsDateTime(FechaHora(nuevo->creacion.date()));
            consulta->fieldByName(QStringLiteral("HoraCreacion"))
                .setAsDateTime(FechaHora(FechaCero().date(), nuevo->creacion.time()));
        }
        // The description goes with the row itself: added afterwards by a concatenating
        // UPDATE it would meet a NULL and be lost (or the statement refused).
        if (!nuevo->descripcion.isEmpty())
            consulta->fieldByName(QStringLiteral("Descripcion")).setAsString(nuevo->descripcion);
        consulta->fieldByName(QStringLiteral("Objeto")).loadFromStream(*nuevo->contenido);
        consulta->post();
    });
}

QString ServicioObjetos::Tipo(const ObjetoRegistro &objeto)
{
    std::unique_ptr<plat::QueryDataSet> consulta =
        almacen_.abrirConsulta(objetosRegistro::Seleccion(QStringLiteral("TipoObjeto"), objeto), false);
    return consulta->isEmpty() ? QString() : consulta->field(0).asString();
}

QString ServicioObjetos::Extraer(const ObjetoRegistro &objeto)
{
    std::unique_ptr<plat::QueryDataSet> consulta =
        almacen_.abrirConsulta(objetosRegistro::Seleccion(QStringLiteral("*"), objeto), false);
    if (consulta->isEmpty())
        return QString();
    const QString ruta = objetosRegistro::RutaExtraccion(almacen_.rutaExtraccion(),
                                                         consulta->fieldByName(QStringLiteral("TipoObjeto")).asString());
    QFile archivo(ruta);
    const auto fallo = [&] {
        return gp::Error(QStringLiteral("¡No ha sido posible crear el archivo ") + ruta + QStringLiteral("!. Motivo: ")
                         + archivo.errorString());
    };
    if (!archivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw fallo();
    consulta->fieldByName(QStringLiteral("Objeto")).saveToStream(archivo);
    if (!archivo.flush() || archivo.error() != QFileDevice::NoError)
        throw fallo();
    return ruta;
}
