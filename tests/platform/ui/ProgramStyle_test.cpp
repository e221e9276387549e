#include "platform/ui/ProgramStyle.h"

#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <QStyleFactory>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace plat;

namespace {

// The platform's style, counting the icons it is asked to make.
class CountingStyle : public QProxyStyle
{
public:
    CountingStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const override
    {
        ++made[icon];
        return QProxyStyle::standardIcon(icon, option, widget);
    }
    mutable QMap<StandardPixmap, int> made;
};

QImage drawn(const QIcon &icon, const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, QRect(QPoint(), size));
    return image;
}

} // namespace

TEST(ProgramStyle, TheOverflowIconIsMadeWhenFirstDrawnAndLooksTheSame)
{
    auto *counting = new CountingStyle;
    ProgramStyle style(counting);   // owns it
    const QIcon overflow = style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
    EXPECT_EQ(counting->made.value(QStyle::SP_ToolBarHorizontalExtensionButton), 0);
    EXPECT_FALSE(overflow.isNull());

    const QIcon direct = counting->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, nullptr);
    counting->made.clear();
    for (const QSize size : {QSize(8, 8), QSize(16, 16), QSize(32, 32)}) {
        EXPECT_EQ(drawn(overflow, size), drawn(direct, size)) << size.width();
        EXPECT_EQ(overflow.pixmap(size).toImage(), direct.pixmap(size).toImage()) << size.width();
    }
    EXPECT_EQ(overflow.availableSizes(), direct.availableSizes());
    // Made once for every use, copies of the icon included.
    const QIcon copy = overflow;
    copy.pixmap(QSize(16, 16));
    EXPECT_EQ(counting->made.value(QStyle::SP_ToolBarHorizontalExtensionButton), 1);

    // Every other icon is the platform style's own, made when asked.
    style.standardIcon(QStyle::SP_DialogOkButton);
    EXPECT_EQ(counting->made.value(QStyle::SP_DialogOkButton), 1);
}

TEST(ProgramStyle, AMenuBarTooNarrowForItsMenusShowsTheOverflowButtonWithItsIcon)
{
    auto *counting = new CountingStyle;
    ProgramStyle style(counting);
    QMenuBar bar;
    bar.setStyle(&style);
    for (const char *title : {"&Base Datos", "&Tablas", "&Procesos", "&Informes", "&Utilidades", "A&dicional"})
        bar.addMenu(QString::fromUtf8(title));
    bar.resize(120, bar.sizeHint().height());
    bar.show();
    QApplication::processEvents();
    auto *overflow = bar.findChild<QToolButton *>(QStringLiteral("qt_menubar_ext_button"));
    ASSERT_NE(overflow, nullptr);
    EXPECT_TRUE(overflow->isVisible());
    const QIcon direct = counting->QProxyStyle::standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, nullptr);
    EXPECT_EQ(overflow->icon().pixmap(QSize(16, 16)).toImage(), direct.pixmap(QSize(16, 16)).toImage());
}
