#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

namespace plat::office {

// The entries of a zip archive (name, bytes), in archive order.
using ZipEntries = QList<std::pair<QString, QByteArray>>;

// Reads every entry of an archive; none when the file is not a readable zip archive (the
// reason in error). Over libzip: the zip routines some libraries carry under the common names
// would take each other's place in one process.
std::optional<ZipEntries> readZip(const QString &path, QString &error);

// The first and the last bytes of an entry.
struct ZipEntryEnds
{
    QString name;
    QByteArray head;
    QByteArray tail;
};

// Every entry read through to its end, so that libzip checks it against its checksum, keeping
// only its first and last `bytes`; none when the archive or an entry cannot be read whole (the
// reason in error). Memory stays small whatever the entries' size.
std::optional<QList<ZipEntryEnds>> readZipEntryEnds(const QString &path, int bytes, QString &error);

// Writes the entries, deflated and in their order, as a new archive at path (replaced).
// Answers an empty text on success, else the reason.
QString writeZip(const QString &path, const ZipEntries &entries);

} // namespace plat::office
