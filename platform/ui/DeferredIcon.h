#pragma once

#include <QIcon>

#include <functional>
#include <optional>

namespace plat {

// An icon whose pictures `make` gives the first time one of them, or its sizes, is asked for:
// for icons set when a window is built that most starts never draw. Whether it is null is
// asked of the made icon too, unless `knownNull` answers it beforehand.
QIcon deferredIcon(std::function<QIcon()> make, std::optional<bool> knownNull = std::nullopt);

} // namespace plat
