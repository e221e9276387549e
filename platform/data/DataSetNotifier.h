#pragma once
#include "platform/data/Field.h"

#include <QObject>

namespace plat {

// What data-aware controls and grids listen to. One per dataset (`DataSet::notifier()`).
// Nothing is emitted while the dataset's controls are disabled; enabling them again emits
// `dataSetChanged` and `recordChanged` once so that every control re-reads.
class DataSetNotifier : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void activeChanged(bool active);        // opened or closed
    void stateChanged();                    // browse, edit, insert, set-key...
    void fieldChanged(plat::Field *field);  // one value of the current record changed
    void recordChanged();                   // the current record moved or was re-read (scroll)
    // The rows as a whole changed (post, delete, refresh, filter, range, index, open):
    // a grid drops what it fetched and asks `rowCount()` again.
    void dataSetChanged();
    // A field changed its position among the dataset's fields (Field::setIndex).
    void fieldsMoved();
};

} // namespace plat
