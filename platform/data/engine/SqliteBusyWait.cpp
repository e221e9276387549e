#include "platform/data/engine/SqliteBusyWait.h"

#include <cstdint>
#include <sqlite3.h>
#include <thread>

namespace plat {

namespace {

// Steps of the wait: until `untilMs` have passed, pauses between `minUs` and `maxUs`.
struct Step
{
    qint64 untilMs;
    int minUs, maxUs;
};

// A lock refused is, most often, another program's short save: tried again soon, and
// sooner the longer the wait, so that the longest waiter tends to win. A lock still held
// after two seconds is someone's long transaction, where trying often gains nothing.
constexpr Step kSteps[] = {{20, 200, 1000}, {2000, 50, 300}, {INT64_MAX, 1000, 3000}};

} // namespace

SqliteBusyWait::SqliteBusyWait(int limitMs) : limitMs_(limitMs), random_(std::random_device{}()) {}

void SqliteBusyWait::install(sqlite3 *handle)
{
    sqlite3_busy_handler(handle, &SqliteBusyWait::onBusy, this);
}

int SqliteBusyWait::pauseUs(qint64 waitedMs)
{
    if (waitedMs >= limitMs_)
        return 0;
    for (const Step &step : kSteps) {
        if (waitedMs < step.untilMs)
            return std::uniform_int_distribution<int>(step.minUs, step.maxUs)(random_);
    }
    return 0;
}

int SqliteBusyWait::onBusy(void *self, int tries)
{
    auto *wait = static_cast<SqliteBusyWait *>(self);
    if (tries == 0)
        wait->waited_.start();
    const int pause = wait->pauseUs(wait->waited_.elapsed());
    if (pause == 0)
        return 0;
    std::this_thread::sleep_for(std::chrono::microseconds(pause));
    return 1;
}

} // namespace plat
