#include "platform/data/engine/SqliteBusyWait.h"

#include <algorithm>
#include <cstdint>
#include <fcntl.h>
#include <sqlite3.h>
#include <thread>
#include <unistd.h>

namespace plat {

namespace {

// Steps of the wait while no other save goes by: until `untilMs` have passed, pauses between
// `minUs` and `maxUs`. The holder is in a transaction of its own, most often short; a lock
// still held after two seconds is a long one, where trying often gains nothing.
struct Step
{
    qint64 untilMs;
    int minUs, maxUs;
};
constexpr Step kSteps[] = {{20, 200, 1000}, {2000, 50, 300}, {INT64_MAX, 1000, 3000}};

// The least part of the pause kept when the saves wait for a disk.
constexpr double kLeastShare = 0.03;

// The WAL index header at the start of the "-shm" file: a version, an unused word, then the
// change counter that every write transaction increments (SQLite's documented format).
constexpr off_t kChangeCounterOffset = 8;

} // namespace

SqliteBusyWait::SqliteBusyWait(int limitMs) : limitMs_(limitMs), random_(std::random_device{}()) {}

SqliteBusyWait::~SqliteBusyWait()
{
    if (shm_ >= 0)
        ::close(shm_);
}

void SqliteBusyWait::install(sqlite3 *handle)
{
    if (const char *file = sqlite3_db_filename(handle, "main"); file && *file)
        shmPath_ = QByteArray(file) + "-shm";
    sqlite3_busy_handler(handle, &SqliteBusyWait::onBusy, this);
}

quint32 SqliteBusyWait::commitCount()
{
    // The file is there once the database is in WAL mode, which its opening sets.
    if (shm_ < 0 && !shmPath_.isEmpty())
        shm_ = ::open(shmPath_.constData(), O_RDONLY | O_CLOEXEC);
    quint32 count = 0;
    if (shm_ < 0 || ::pread(shm_, &count, sizeof count, kChangeCounterOffset) != sizeof count)
        return 0;
    return count;
}

int SqliteBusyWait::pauseUs(qint64 waitedUs, quint32 commits)
{
    if (waitedUs >= qint64(limitMs_) * 1000)
        return 0;
    if (commits > 0) {
        const double share = std::clamp(kBusyCommitUs * double(commits) / double(std::max<qint64>(waitedUs, 1)),
                                        kLeastShare, 1.0);
        const int middle = int(std::clamp(commits * double(kPausePerCommitUs) * share, double(kShortestPauseUs),
                                          double(kLongestPauseUs)));
        return std::uniform_int_distribution<int>(middle / 2, middle + middle / 2)(random_);
    }
    for (const Step &step : kSteps) {
        if (waitedUs / 1000 < step.untilMs)
            return std::uniform_int_distribution<int>(step.minUs, step.maxUs)(random_);
    }
    return 0;
}

int SqliteBusyWait::onBusy(void *self, int tries)
{
    auto *wait = static_cast<SqliteBusyWait *>(self);
    const quint32 count = wait->commitCount();
    if (tries == 0) {
        wait->waited_.start();
        wait->countAtStart_ = count;
    }
    // The counter wraps: an unsigned difference.
    const int pause = wait->pauseUs(wait->waited_.nsecsElapsed() / 1000, count - wait->countAtStart_);
    if (pause == 0)
        return 0;
    std::this_thread::sleep_for(std::chrono::microseconds(pause));
    return 1;
}

} // namespace plat
