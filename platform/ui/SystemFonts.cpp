#include "platform/ui/SystemFonts.h"

#include <QList>

#include <fontconfig/fontconfig.h>

#include <memory>

namespace plat {

namespace {

// Whether fontconfig lists a font whose character set holds the character.
bool someFontHas(char32_t point)
{
    const std::unique_ptr<FcCharSet, decltype(&FcCharSetDestroy)> set(FcCharSetCreate(), FcCharSetDestroy);
    FcCharSetAddChar(set.get(), point);
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(), FcPatternDestroy);
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, set.get());
    const std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(FcObjectSetBuild(FC_FILE, nullptr),
                                                                              FcObjectSetDestroy);
    const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
        FcFontList(nullptr, pattern.get(), objects.get()), FcFontSetDestroy);
    return fonts && fonts->nfont > 0;
}

} // namespace

bool fontsCover(const QString &characters)
{
    // The configuration is loaded by the first call of the process, as Qt's first text would.
    if (!FcInit())
        return false;
    for (const char32_t point : characters.toUcs4())
        if (!someFontHas(point))
            return false;
    return true;
}

} // namespace plat
