#pragma once
#include <QString>

namespace plat {

// Why a database folder or file cannot be used, as the system words it followed by the path
// ("Permission denied.\n/srv/datos"); empty when it can be read and written. SQLite and
// QDir only tell that something failed, which would read as a missing path.
QString fileAccessProblem(const QString &path);

// The same for a folder about to be made: the reason its nearest existing parent refuses it.
QString folderCreationProblem(const QString &folder);

} // namespace plat
