#include "platform/ui/Published.h"

#include <QMetaMethod>
#include <QMetaObject>
#include <QMetaProperty>
#include <QObject>

namespace plat {
namespace {

bool isCallable(const QMetaMethod &m)
{
    return m.methodType() == QMetaMethod::Slot || m.methodType() == QMetaMethod::Method;
}

// The method of that name whose parameter can take the sender (or that takes none).
QMetaMethod findMethod(const QObject *object, const QByteArray &name, const QObject *sender, bool anyParameter)
{
    const QMetaObject *meta = object->metaObject();
    for (int i = meta->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod m = meta->method(i);
        if (!isCallable(m) || m.name() != name)
            continue;
        if (m.parameterCount() == 0 || anyParameter)
            return m;
        if (m.parameterCount() != 1)
            continue;
        const QMetaType type = m.parameterMetaType(0);
        if (!(type.flags() & QMetaType::PointerToQObject))
            continue;
        const QMetaObject *wanted = type.metaObject();
        if (!sender || !wanted || sender->metaObject()->inherits(wanted))
            return m;
    }
    return {};
}

} // namespace

bool hasMethod(const QObject *object, const QString &name)
{
    return object && findMethod(object, name.toUtf8(), nullptr, true).isValid();
}

bool invokeMethod(QObject *object, const QString &name, QObject *sender)
{
    if (!object)
        return false;
    const QMetaMethod m = findMethod(object, name.toUtf8(), sender, false);
    if (!m.isValid())
        return false;
    if (m.parameterCount() == 0)
        return m.invoke(object, Qt::DirectConnection);
    // Every QObject class has QObject first, so the pointer is the same for the subclass.
    const QByteArray typeName = m.parameterMetaType(0).name();
    return m.invoke(object, Qt::DirectConnection, QGenericArgument(typeName.constData(), &sender));
}

bool hasProperty(const QObject *object, const QString &name)
{
    return object && object->metaObject()->indexOfProperty(name.toUtf8().constData()) >= 0;
}

QVariant readProperty(const QObject *object, const QString &name)
{
    if (!object)
        return {};
    const int index = object->metaObject()->indexOfProperty(name.toUtf8().constData());
    if (index < 0)
        return {};
    const QMetaProperty p = object->metaObject()->property(index);
    const QVariant value = p.read(object);
    if (p.isEnumType()) {
        const QMetaEnum e = p.enumerator();
        if (p.isFlagType())
            return QString::fromLatin1(e.valueToKeys(value.toInt()));
        return QString::fromLatin1(e.valueToKey(value.toInt()));
    }
    return value;
}

bool writeProperty(QObject *object, const QString &name, const QVariant &value)
{
    if (!object)
        return false;
    const int index = object->metaObject()->indexOfProperty(name.toUtf8().constData());
    if (index < 0)
        return false;
    const QMetaProperty p = object->metaObject()->property(index);
    QVariant converted = value;
    if (!p.isEnumType() && converted.metaType() != p.metaType() && !converted.convert(p.metaType()))
        return false;
    return p.write(object, converted);
}

} // namespace plat
