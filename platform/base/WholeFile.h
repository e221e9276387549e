#pragma once
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>

class QFileDevice;

namespace plat {

// The device writers are handed: it gathers their small writes into blocks and hands each
// block to the file until all of it is taken. A file that takes part of a block answers the
// reason only on the next attempt, which is why the rest is offered again.
class CheckedDevice : public QIODevice
{
public:
    explicit CheckedDevice(QFileDevice &file);
    // Hands what is gathered to the file; false (the reason kept) when it refused some.
    bool drain();
    const QString &failure() const { return failure_; }

protected:
    qint64 writeData(const char *data, qint64 len) override;
    qint64 readData(char *, qint64) override { return -1; }

private:
    QFileDevice &file_;
    QByteArray pending_;
    QString failure_;
};

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
