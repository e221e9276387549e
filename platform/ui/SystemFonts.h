#pragma once

#include <QString>

namespace plat {

// Whether the installed fonts can draw every one of the characters, as the system's font
// configuration (the list the program's texts are drawn from) tells. A text takes what its
// font lacks from other fonts, so each character needs only some font that has it. Asked of
// the configuration itself: no font is opened.
bool fontsCover(const QString &characters);

// Loads the fonts on a thread of its own while a start does its other work: first the font
// configuration, then Qt's font list and the match of the application's font, which the first
// window's texts would otherwise wait for. Once per process, after the application object is
// made. Qt's font list is safe to share between threads; the configuration's owner keeps one
// configuration, should Qt ask for it meanwhile.
void preloadFonts();

// Waits for all of the preload, if any: before the first window is shown.
void awaitFonts();

// Starts the preload and waits for it when it goes: made after the application object, whose
// font the preload reads, it goes before it.
class FontPreload
{
public:
    FontPreload() { preloadFonts(); }
    ~FontPreload() { awaitFonts(); }
    FontPreload(const FontPreload &) = delete;
    FontPreload &operator=(const FontPreload &) = delete;
};

} // namespace plat
