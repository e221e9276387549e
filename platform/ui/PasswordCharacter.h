#pragma once
#include <QChar>

class QLineEdit;

namespace plat {

// Masks what is typed in the edit with the given character ("*" as the old controls did),
// not the style's own dot; QChar() shows the text again.
void setPasswordCharacter(QLineEdit *edit, QChar character);

} // namespace plat
