#pragma once
#include <functional>

class QLineEdit;

namespace plat {

// The text typed in an edit is refused ("Repita por favor"): it stays, and once the focus
// change under way (the one that left the edit) has finished the focus comes back with the
// text selected, so that what is typed next replaces it. Nothing comes back when the edit is
// gone or hidden by then, or when stillRefused, given, answers false.
void refuseText(QLineEdit &edit, std::function<bool()> stillRefused = {});

} // namespace plat
