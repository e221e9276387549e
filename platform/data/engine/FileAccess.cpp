#include "platform/data/engine/FileAccess.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

namespace {

// Checked with the effective identity and powers, as opening the file will be.
QString problem(const QString &path, int mode)
{
    if (::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), mode, AT_EACCESS) == 0)
        return QString();
    return QString::fromLocal8Bit(std::strerror(errno)) + QStringLiteral(".\n") + path;
}

} // namespace

QString fileAccessProblem(const QString &path)
{
    return problem(path, QFileInfo(path).isDir() ? R_OK | W_OK | X_OK : R_OK | W_OK);
}

QString folderCreationProblem(const QString &folder)
{
    QString parent = QFileInfo(folder).absoluteFilePath();
    while (!QFileInfo::exists(parent)) {
        const QString up = QFileInfo(parent).absolutePath();
        if (up == parent)
            return QString();
        parent = up;
    }
    return problem(parent, W_OK | X_OK);
}

bool makeOwnerFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return true;
    const QString parent = info.absolutePath();
    if (parent != info.absoluteFilePath() && !makeOwnerFolder(parent))
        return false;
    const QByteArray name = QFile::encodeName(info.absoluteFilePath());
    // The umask only takes bits away from 0700: the folder is never more open than that, and
    // chmod then gives the owner what the umask may have taken.
    if (::mkdir(name.constData(), S_IRWXU) != 0)
        return errno == EEXIST && QFileInfo(folder).isDir();
    return ::chmod(name.constData(), S_IRWXU) == 0;
}

} // namespace plat
