#pragma once
#include <QString>

namespace plat {

// Why a database folder or file cannot be used, as the system words it followed by the path
// ("Permission denied.\n/srv/datos"); empty when it can be read and written. SQLite and
// QDir only tell that something failed, which would read as a missing path.
QString fileAccessProblem(const QString &path);

// The same for a folder about to be made: the reason its nearest existing parent refuses it.
QString folderCreationProblem(const QString &folder);

// The folder made with every missing parent, each new one for its owner only (0700) whatever
// the umask; folders that exist keep their modes. False when one cannot be made.
bool makeOwnerFolder(const QString &folder);

} // namespace plat
