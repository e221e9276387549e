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

// Writes the entries, deflated and in their order, as a new archive at path (replaced).
// Answers an empty text on success, else the reason.
QString writeZip(const QString &path, const ZipEntries &entries);

} // namespace plat::office
