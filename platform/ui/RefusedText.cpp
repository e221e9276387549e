#include "platform/ui/RefusedText.h"

#include <QLineEdit>
#include <QTimer>

namespace plat {

void refuseText(QLineEdit &edit, std::function<bool()> stillRefused)
{
    QTimer::singleShot(0, &edit, [&edit, stillRefused = std::move(stillRefused)] {
        if (!edit.isVisible() || (stillRefused && !stillRefused()))
            return;
        edit.setFocus(Qt::OtherFocusReason);
        edit.selectAll();
    });
}

} // namespace plat
