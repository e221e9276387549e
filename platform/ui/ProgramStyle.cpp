#include "platform/ui/ProgramStyle.h"

#include "platform/ui/DeferredIcon.h"

#include <QPointer>
#include <QWidget>

namespace plat {

QIcon ProgramStyle::standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const
{
    if (icon == SP_ToolBarHorizontalExtensionButton && !option && !(widget && widget->isRightToLeft())) {
        const QPointer<const QStyle> base(baseStyle());
        // The style always has this icon: asking whether it is empty must not make it.
        return deferredIcon([base, icon] { return base ? base->standardIcon(icon) : QIcon(); }, false);
    }
    return QProxyStyle::standardIcon(icon, option, widget);
}

} // namespace plat
