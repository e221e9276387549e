#pragma once
#include <QString>
#include <functional>

class QIODevice;

namespace plat {

// Where the writer of a whole file puts the content.
struct WholeFileTarget
{
    // Every write is checked: the first one the file refuses fails the whole file.
    QIODevice &device;
    // The same temporary file by name, for a library that opens its output itself; what it
    // writes there is checked by that library, not by the device.
    QString path;
};

// Writes `path` whole or not at all. The content goes to a temporary file in the same folder
// (unnamed where the system allows, so that a process killed meanwhile leaves nothing behind),
// which takes the name only after the writer, every write and the flush to the disk have
// succeeded; until then a previous file keeps its bytes. `write` answers its own failure,
// empty when it succeeded. The answer is empty on success, else path + ": " + the reason;
// the temporary file is gone either way. An exception of the writer goes on to the caller,
// the previous file kept as well.
QString writeWholeFile(const QString &path, const std::function<QString(WholeFileTarget &)> &write);

// A copy of `source` at `path`, written as above.
QString copyWholeFile(const QString &source, const QString &path);

} // namespace plat
