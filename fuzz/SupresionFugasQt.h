#pragma once
// Qt's GUI library keeps its font engines and glyph caches (FreeType, fontconfig, HarfBuzz)
// for the life of the process and never frees them at exit; the leak checker would report
// those, not what the target exercises. Only those libraries are passed over.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libQt6Gui.so\n"
           "leak:libfreetype.so\n"
           "leak:libfontconfig.so\n"
           "leak:libharfbuzz.so\n";
}
