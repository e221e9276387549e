#pragma once
#include <QString>
#include <QVariant>

class QObject;

// Published methods and properties reached by name: methods are slots or Q_INVOKABLE
// functions taking the sender (one pointer to a QObject class) or nothing; properties are
// Q_PROPERTY entries, names compared exactly.
namespace plat {

bool hasMethod(const QObject *object, const QString &name);
// Calls the method with sender as its argument. Returns false when the object publishes
// no such method (or its parameter cannot take sender); exceptions reach the caller.
bool invokeMethod(QObject *object, const QString &name, QObject *sender);

bool hasProperty(const QObject *object, const QString &name);
// The value, enumerations as their names; an invalid QVariant when not published.
QVariant readProperty(const QObject *object, const QString &name);
// Converts the value to the property's type; false when not published or not convertible.
bool writeProperty(QObject *object, const QString &name, const QVariant &value);

} // namespace plat
