#pragma once

#include <QString>

namespace plat {

// Whether the installed fonts can draw every one of the characters, as the system's font
// configuration (the list the program's texts are drawn from) tells. A text takes what its
// font lacks from other fonts, so each character needs only some font that has it. Asked of
// the configuration itself: no font is opened.
bool fontsCover(const QString &characters);

} // namespace plat
