#include "GENEW/runtime/comun/RutinasComponentes.h"

#include <QMetaMethod>
#include <QMetaObject>
#include <QMetaProperty>

namespace {

QMetaProperty PropiedadPublicada(const QObject *objeto, const QString &nombre)
{
    if (!objeto || nombre.isEmpty())
        return QMetaProperty();
    const QMetaObject *meta = objeto->metaObject();
    const int indice = meta->indexOfProperty(nombre.toUtf8().constData());
    return indice >= 0 ? meta->property(indice) : QMetaProperty();
}

bool EsMetodoPublicado(const QMetaMethod &metodo)
{
    return metodo.methodType() == QMetaMethod::Slot || metodo.methodType() == QMetaMethod::Method;
}

// The published method of that name (case ignored) that takes one object pointer, else one
// without parameters; an invalid method when there is neither.
QMetaMethod MetodoPublicado(const QObject *objeto, const QString &nombre)
{
    QMetaMethod sinParametros;
    if (!objeto || nombre.isEmpty())
        return sinParametros;
    const QMetaObject *meta = objeto->metaObject();
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod metodo = meta->method(i);
        if (!EsMetodoPublicado(metodo)
            || QString::compare(QString::fromUtf8(metodo.name()), nombre, Qt::CaseInsensitive) != 0)
            continue;
        if (metodo.parameterCount() == 1 && (metodo.parameterMetaType(0).flags() & QMetaType::PointerToQObject))
            return metodo;
        if (metodo.parameterCount() == 0 && !sinParametros.isValid())
            sinParametros = metodo;
    }
    return sinParametros;
}

} // namespace

QObject *BuscarComponente(const ListaComponentes &propietario, const QString &nombre)
{
    const int total = propietario.numeroComponentes();
    for (int i = 0; i < total; ++i) {
        QObject *componente = propietario.componente(i);
        if (componente && QString::compare(componente->objectName(), nombre, Qt::CaseInsensitive) == 0)
            return componente;
    }
    return nullptr;
}

QObject *BuscarComponente(const QObject *propietario, const QString &nombre)
{
    return BuscarComponente(ComponentesDeObjeto(propietario), nombre);
}

void PosicionarControl(ControlPosicionable &control, const QString &modo)
{
    QSize padre;
    if (const std::optional<QSize> tamanoPadre = control.tamanoPadre())
        padre = *tamanoPadre;
    else if (const FormularioPrincipal *principal = formularioPrincipal())
        padre = principal->tamano();
    else
        return;   // nothing to place it in
    const QSize propio = control.tamano();
    const int izquierda = (padre.width() - propio.width()) / 2;
    const int arriba = (padre.height() - propio.height()) / 2;
    if (modo == QLatin1String("Centro")) {
        control.ponerIzquierda(izquierda);
        control.ponerArriba(arriba);
    } else if (modo == QLatin1String("Centro-Horizontal")) {
        control.ponerIzquierda(izquierda);
    } else if (modo == QLatin1String("Centro-Vertical")) {
        control.ponerArriba(arriba);
    } else if (modo == QLatin1String("Derecha")) {
        control.ponerIzquierda(padre.width() - propio.width() - 4);
    }
}

bool TieneEstaPropiedad(const QObject *objeto, const QString &nombre)
{
    return PropiedadPublicada(objeto, nombre).isValid();
}

bool TieneEsteMetodo(const QObject *objeto, const QString &nombre)
{
    if (!objeto)
        return false;
    const QMetaObject *meta = objeto->metaObject();
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod metodo = meta->method(i);
        if (EsMetodoPublicado(metodo)
            && QString::compare(QString::fromUtf8(metodo.name()), nombre, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool EjecutarMetodoPorNombre(QObject *objeto, const QString &nombre, QObject *argumento)
{
    const QMetaMethod metodo = MetodoPublicado(objeto, nombre);
    if (!metodo.isValid())
        return false;
    try {
        if (metodo.parameterCount() == 0)
            return metodo.invoke(objeto, Qt::DirectConnection);
        // The handler's parameter may be declared as any object class: pass the pointer
        // under the declared type's name.
        const QByteArray tipo = metodo.parameterTypes().at(0);
        return metodo.invoke(objeto, Qt::DirectConnection, QGenericArgument(tipo.constData(), &argumento));
    } catch (...) {
        return false;
    }
}

QVariant LeerPropiedad(const QObject *objeto, const QString &nombre)
{
    const QVariant vacio = QString(QLatin1String(""));
    const QMetaProperty propiedad = PropiedadPublicada(objeto, nombre);
    if (!propiedad.isValid())
        return vacio;
    try {
        const QVariant valor = propiedad.read(objeto);
        if (!valor.isValid())
            return vacio;
        if (propiedad.isEnumType()) {
            const QMetaEnum enumeracion = propiedad.enumerator();
            const int numero = valor.toInt();
            if (enumeracion.isFlag())
                return QString::fromUtf8(enumeracion.valueToKeys(numero)).replace(QLatin1Char('|'), QLatin1Char(','));
            return QString::fromUtf8(enumeracion.valueToKey(numero));
        }
        return valor;
    } catch (...) {
        return vacio;
    }
}

void EscribirPropiedad(QObject *objeto, const QString &nombre, const QVariant &valor)
{
    const QMetaProperty propiedad = PropiedadPublicada(objeto, nombre);
    if (!propiedad.isValid() || !propiedad.isWritable())
        return;
    try {
        if (propiedad.isEnumType() && valor.typeId() == QMetaType::QString) {
            const QMetaEnum enumeracion = propiedad.enumerator();
            bool ok = false;
            QString claves = valor.toString();
            const int numero = enumeracion.isFlag()
                ? enumeracion.keysToValue(claves.replace(QLatin1Char(','), QLatin1Char('|')).toUtf8().constData(), &ok)
                : enumeracion.keyToValue(claves.toUtf8().constData(), &ok);
            if (ok)
                propiedad.write(objeto, numero);
            return;
        }
        propiedad.write(objeto, valor);
    } catch (...) {
        // a setter that refuses the value leaves the property as it was
    }
}
