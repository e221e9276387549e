#include "platform/base/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace plat {

namespace {

constexpr qsizetype kBlock = 1 << 16;

// What reaches the disk is checked here: the file's own commit does not report a failed sync.
QString syncFailure(QFileDevice &file)
{
    if (::fsync(file.handle()) == 0 || errno == EINVAL)
        return {};
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

CheckedDevice::CheckedDevice(QFileDevice &file) : file_(file)
{
    open(QIODevice::WriteOnly);
}

bool CheckedDevice::drain()
{
    const char *data = pending_.constData();
    qint64 left = pending_.size();
    while (left > 0 && failure_.isEmpty()) {
        const qint64 taken = file_.write(data, left);
        if (taken <= 0)
            failure_ = file_.errorString();
        else {
            data += taken;
            left -= taken;
        }
    }
    pending_.clear();
    return failure_.isEmpty();
}

qint64 CheckedDevice::writeData(const char *data, qint64 len)
{
    if (!failure_.isEmpty())
        return -1;
    pending_.append(data, len);
    if (pending_.size() >= kBlock && !drain())
        return -1;
    return len;
}

QString writeWholeFile(const QString &path, const std::function<QString(WholeFileTarget &)> &write)
{
    QSaveFile file(path);
    // Unbuffered: every write the device hands on reaches the system, which answers for it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return path + QStringLiteral(": ") + file.errorString();
    CheckedDevice device(file);
    const QString byName = QStringLiteral("/proc/self/fd/") + QString::number(file.handle());
    WholeFileTarget target{device, QFileInfo::exists(byName) ? byName : QString()};

    QString failure = write(target);
    if (failure.isEmpty() && !device.drain())
        failure = device.failure();
    if (failure.isEmpty())
        failure = syncFailure(file);
    if (failure.isEmpty() && !file.commit())
        failure = file.errorString();
    if (failure.isEmpty())
        return {};
    file.cancelWriting();
    return path + QStringLiteral(": ") + failure;
}

QString copyWholeFile(const QString &source, const QString &path)
{
    QFile from(source);
    if (!from.open(QIODevice::ReadOnly))
        return source + QStringLiteral(": ") + from.errorString();
    return writeWholeFile(path, [&from](WholeFileTarget &target) -> QString {
        QByteArray block;
        while (!(block = from.read(kBlock)).isEmpty())
            if (target.device.write(block) != block.size())
                return {};   // the device keeps the reason
        if (from.error() != QFileDevice::NoError)
            return from.fileName() + QStringLiteral(": ") + from.errorString();
        return {};
    });
}

} // namespace plat
