#include "platform/data/engine/SqliteBusyWait.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace plat {

namespace {

// Until `untilMs` have passed, pauses of `middleUs`, give or take a half: SQLite's own
// growing sleeps, for a waiter not yet passed over.
struct Step
{
    qint64 untilMs;
    int middleUs;
};
constexpr Step kYoungSteps[] = {{2, 1000}, {5, 2000}, {20, 5000}, {60, 10000}, {110, 25000}, {INT64_MAX, 50000}};
constexpr int kPassedOverUs = 500;
constexpr int kLongTransactionUs = 2000;

} // namespace

SqliteWaitLine::SqliteWaitLine(QString file, unsigned mode)
    : file_(std::move(file)), mode_(mode), next_(int(std::random_device{}() % kPlaces))
{
}

SqliteWaitLine::~SqliteWaitLine()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool SqliteWaitLine::open()
{
    if (!tried_) {
        tried_ = true;
        const QByteArray name = QFile::encodeName(file_);
        // Made with the database's mode whatever the umask, as SQLite makes its -wal and -shm.
        fd_ = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode_);
        if (fd_ >= 0)
            ::fchmod(fd_, mode_);
        else if (errno == EEXIST)
            fd_ = ::open(name.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    }
    return fd_ >= 0;
}

bool SqliteWaitLine::lock(int place, short type)
{
    struct flock l = {};
    l.l_type = type;
    l.l_whence = SEEK_SET;
    l.l_start = place;
    l.l_len = 1;
    return ::fcntl(fd_, F_OFD_SETLK, &l) == 0;
}

void SqliteWaitLine::enter()
{
    if (held_ >= 0 || !open())
        return;
    // From where this connection last stood: each finds a free byte at its first try
    // while the line is shorter than the file's places.
    for (int i = 0; i < kPlaces; ++i) {
        const int place = (next_ + i) % kPlaces;
        if (lock(place, F_WRLCK)) {
            held_ = next_ = place;
            return;
        }
    }
}

void SqliteWaitLine::leave()
{
    if (held_ >= 0)
        lock(held_, F_UNLCK);
    held_ = -1;
}

int SqliteWaitLine::others()
{
    return open() ? othersIn(0, kPlaces) : 0;
}

// The kernel names one byte held by another within a range, not the first: the bytes each
// side of it are asked about in turn.
int SqliteWaitLine::othersIn(off_t from, off_t to)
{
    if (from >= to)
        return 0;
    struct flock l = {};
    l.l_type = F_WRLCK;
    l.l_whence = SEEK_SET;
    l.l_start = from;
    l.l_len = to - from;
    if (::fcntl(fd_, F_OFD_GETLK, &l) != 0 || l.l_type == F_UNLCK)
        return 0;
    return 1 + othersIn(from, l.l_start) + othersIn(l.l_start + 1, to);
}

SqliteBusyWait::SqliteBusyWait(int limitMs) : limitMs_(limitMs), random_(std::random_device{}()) {}

SqliteBusyWait::~SqliteBusyWait() = default;

void SqliteBusyWait::install(sqlite3 *handle)
{
    sqlite3_busy_handler(handle, &SqliteBusyWait::onBusy, this);
    const char *file = sqlite3_db_filename(handle, "main");
    if (file && *file) {
        struct stat st = {};
        const unsigned mode = ::stat(file, &st) == 0 ? (st.st_mode & 0666) : 0600;
        line_ = std::make_unique<SqliteWaitLine>(QFile::decodeName(file) + QStringLiteral("-espera"), mode);
    }
}

int SqliteBusyWait::oldWaitMs(int others)
{
    // Bounded, so that however long the line no waiter is left behind for long.
    return std::clamp(others * kWaitPerOtherMs, kOldWaitMs, kLongTransactionMs / 4);
}

int SqliteBusyWait::pauseUs(qint64 waitedUs, int oldMs)
{
    if (waitedUs >= qint64(limitMs_) * 1000)
        return 0;
    const qint64 waitedMs = waitedUs / 1000;
    int middleUs = kLongTransactionUs;
    if (waitedMs < oldMs) {
        middleUs = std::find_if(std::begin(kYoungSteps), std::end(kYoungSteps),
                                [&](const Step &s) { return waitedMs < s.untilMs; })
                       ->middleUs;
        // The last sleep ends when the waiter counts as passed over.
        middleUs = int(std::min<qint64>(middleUs, std::max<qint64>(2 * (qint64(oldMs) * 1000 - waitedUs) / 3, 2)));
    } else if (waitedMs < kLongTransactionMs) {
        middleUs = kPassedOverUs;
    }
    return std::uniform_int_distribution<int>(middleUs / 2, middleUs + middleUs / 2)(random_);
}

int SqliteBusyWait::onBusy(void *self, int tries)
{
    auto *wait = static_cast<SqliteBusyWait *>(self);
    if (tries == 0) {
        wait->waited_.start();
        wait->oldMs_ = kOldWaitMs;
        wait->lineCounted_ = false;
    }
    const qint64 waitedUs = wait->waited_.nsecsElapsed() / 1000;
    // The line is counted once a wait, when it is about to count as passed over.
    if (!wait->lineCounted_ && waitedUs >= qint64(kOldWaitMs) * 1000 && wait->line_) {
        wait->lineCounted_ = true;
        wait->oldMs_ = oldWaitMs(wait->line_->others());
    }
    const int pause = wait->pauseUs(waitedUs, wait->oldMs_);
    if (pause == 0)
        return 0;
    if (wait->line_)
        wait->line_->enter();
    std::this_thread::sleep_for(std::chrono::microseconds(pause));
    if (wait->line_)
        wait->line_->leave();
    return 1;
}

} // namespace plat
