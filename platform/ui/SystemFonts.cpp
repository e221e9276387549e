#include "platform/ui/SystemFonts.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QList>

#include <fontconfig/fontconfig.h>

#include <future>
#include <memory>
#include <mutex>

namespace plat {

namespace {

struct Preload
{
    std::shared_future<void> configuration;
    std::shared_future<void> all;
};

std::mutex preloadLock;
Preload preload;   // empty until started

Preload startedPreload()
{
    const std::lock_guard lock(preloadLock);
    return preload;
}

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

void preloadFonts()
{
    const std::lock_guard lock(preloadLock);
    if (preload.all.valid() || !QGuiApplication::instance())
        return;
    auto configured = std::make_shared<std::promise<void>>();
    preload.configuration = configured->get_future().share();
    preload.all = std::async(std::launch::async, [configured] {
                      FcInit();
                      configured->set_value();
                      // The family's details and its fallbacks stay in Qt's shared font list;
                      // the font engine made here is this thread's own and goes with it.
                      QFontInfo(QGuiApplication::font()).family();
                  }).share();
}

void awaitFonts()
{
    if (const Preload started = startedPreload(); started.all.valid())
        started.all.wait();
}

bool fontsCover(const QString &characters)
{
    // The configuration is loaded by the first call of the process, as Qt's first text would,
    // or by the preload, which it waits for.
    if (const Preload started = startedPreload(); started.configuration.valid())
        started.configuration.wait();
    if (!FcInit())
        return false;
    for (const char32_t point : characters.toUcs4())
        if (!someFontHas(point))
            return false;
    return true;
}

} // namespace plat
