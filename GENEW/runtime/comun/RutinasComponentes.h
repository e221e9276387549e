#pragma once
#include "GENEW/runtime/comun/InterfacesComunes.h"

#include <QObject>
#include <QString>
#include <QVariant>

// Components of forms and their published properties and methods, reached by name through
// Qt's meta-object system: a component's name is its objectName, a published property is a
// Q_PROPERTY, a published method a slot or Q_INVOKABLE method.

// The first component of the owner whose name equals the name, case ignored; nullptr when none.
QObject *BuscarComponente(const ListaComponentes &propietario, const QString &nombre);
// The same over all the descendants of a plain object.
QObject *BuscarComponente(const QObject *propietario, const QString &nombre);

// Places the control in its parent (the main form when it has none): "Centro",
// "Centro-Horizontal", "Centro-Vertical" or "Derecha"; any other mode changes nothing.
void PosicionarControl(ControlPosicionable &control, const QString &modo);

// The object's class publishes a property of exactly that name (case counts).
bool TieneEstaPropiedad(const QObject *objeto, const QString &nombre);
// The object's class publishes a method of that name (case ignored).
bool TieneEsteMetodo(const QObject *objeto, const QString &nombre);
// Calls the published method with the argument as its one parameter (the sender of a form
// handler; a method without parameters is called without it). True when the method exists
// and returned; false when it does not exist or raised (the error is swallowed).
bool EjecutarMetodoPorNombre(QObject *objeto, const QString &nombre, QObject *argumento);
// The property's value (enumerations and sets as their names, sets joined by ","); the empty
// text when the class does not publish it or reading fails.
QVariant LeerPropiedad(const QObject *objeto, const QString &nombre);
// Sets a published property (texts are converted to its type; enumerations and sets by
// name); errors are swallowed.
void EscribirPropiedad(QObject *objeto, const QString &nombre, const QVariant &valor);
