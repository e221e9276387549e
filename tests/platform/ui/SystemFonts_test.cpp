#include "platform/ui/SystemFonts.h"

#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

#include <algorithm>
#include <gtest/gtest.h>

using namespace plat;

namespace {

// Qt's own answer: each character drawn by some family's font.
bool qtFontsCover(const QString &characters)
{
    const QStringList families = QFontDatabase::families();
    for (const char32_t point : characters.toUcs4()) {
        const bool drawn = std::any_of(families.begin(), families.end(), [point](const QString &family) {
            return QFontMetrics(QFont(family)).inFontUcs4(point);
        });
        if (!drawn)
            return false;
    }
    return true;
}

const QStringList kTexts{QStringLiteral("ñá€"), QStringLiteral("Año"), QStringLiteral("\U0010FFFD"),
                         QStringLiteral("ñ\U0010FFFD€"), QString()};

} // namespace

// The preload shares Qt's font list with the main thread, which draws text meanwhile: the
// answers are those of a loaded list, and the preload may be started and waited for again.
TEST(SystemFonts, PreloadWhileTheMainThreadMeasuresText)
{
    const QFont font = QGuiApplication::font();
    const QString text = QStringLiteral("Base Datos ñá€");
    preloadFonts();
    const QString familyMeanwhile = QFontInfo(font).family();
    const int widthMeanwhile = QFontMetrics(font).horizontalAdvance(text);
    const bool coverMeanwhile = fontsCover(text);
    awaitFonts();
    preloadFonts();
    awaitFonts();
    EXPECT_FALSE(familyMeanwhile.isEmpty());
    EXPECT_EQ(familyMeanwhile, QFontInfo(font).family());
    EXPECT_EQ(widthMeanwhile, QFontMetrics(font).horizontalAdvance(text));
    EXPECT_EQ(coverMeanwhile, qtFontsCover(text));
    EXPECT_GT(widthMeanwhile, 0);
}

TEST(SystemFonts, CoverageIsQtsOwnAnswer)
{
    for (const QString &text : kTexts)
        EXPECT_EQ(fontsCover(text), qtFontsCover(text)) << text.toStdString();
    // The installed fonts have the program's characters, and none has a private character of
    // the last plane.
    EXPECT_TRUE(fontsCover(QStringLiteral("ñá€")));
    EXPECT_FALSE(fontsCover(QStringLiteral("ñ\U0010FFFD€")));
}
