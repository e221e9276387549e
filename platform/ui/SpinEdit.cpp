#include "platform/ui/SpinEdit.h"

namespace plat {

SpinEdit::SpinEdit(QWidget *parent) : QSpinBox(parent), Control(this)
{
    setKeyboardTracking(false);   // a typed number counts once it is complete
    connect(this, &QSpinBox::valueChanged, this, [this] { fire(OnChange); });
}

} // namespace plat
