#pragma once

#include <QProxyStyle>

namespace plat {

// The application's style: the platform's own, except that the icon of a menu bar's overflow
// button is read from its picture only when first drawn. Every form's menu bar asks for it
// when made, and reading it brings in Qt's image format plugins, a start's first millisecond
// and a half spent on a button that shows only when a window is too narrow for its menus.
class ProgramStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};

} // namespace plat
