#pragma once
#include "platform/ui/Control.h"

#include <QSpinBox>

namespace plat {

// A whole-number field with arrow buttons, held within MinValue..MaxValue (a value set
// outside the range takes the nearer end). OnChange runs whenever Value changes.
class SpinEdit : public QSpinBox, public Control
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(int Value READ value WRITE setValue)
    Q_PROPERTY(int MinValue READ minimum WRITE setMinimum)
    Q_PROPERTY(int MaxValue READ maximum WRITE setMaximum)
    Q_PROPERTY(int Increment READ singleStep WRITE setSingleStep)
public:
    explicit SpinEdit(QWidget *parent = nullptr);

    NotifyEvent OnChange;

protected:
    QPalette::ColorRole colorRole() const override { return QPalette::Base; }
};

} // namespace plat
