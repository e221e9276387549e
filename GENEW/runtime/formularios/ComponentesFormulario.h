#pragma once
#include <QList>
#include <QObject>
#include <QString>

namespace plat {
class DataSet;
class DBGrid;
class Field;
} // namespace plat

// How the framework walks a form or data module: its components in creation order, their
// datasets, and the keys that name controls and grid fields in the users' settings.
QList<QObject *> componentesDe(QObject *formulario);
QList<plat::DataSet *> dataSetsDe(QObject *formulario);
// owner's name "." own name.
QString claveControl(const QObject *componente);
// the grid's key "." the dataset's name directly followed by the field's name.
QString claveCampoRejilla(const plat::DBGrid &rejilla, const plat::Field &campo);
// The component that a control key names on the form (its second "."-piece).
QObject *componenteDeClave(QObject *formulario, const QString &clave);
