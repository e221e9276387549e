#include "platform/data/engine/SqliteBusyWait.h"

#include <cstdint>
#include <sqlite3.h>
#include <thread>

namespace plat {

namespace {

// Until `untilMs` have passed, pauses of `middleUs`, give or take a half.
struct Step
{
    qint64 untilMs;
    int middleUs;
};
constexpr Step kSteps[] = {{2, 1000},
                           {5, 2000},
                           {20, 5000},
                           {SqliteBusyWait::kOldWaitMs, 10000},
                           {SqliteBusyWait::kLongTransactionMs, 500},
                           {INT64_MAX, 2000}};

} // namespace

SqliteBusyWait::SqliteBusyWait(int limitMs) : limitMs_(limitMs), random_(std::random_device{}()) {}

void SqliteBusyWait::install(sqlite3 *handle)
{
    sqlite3_busy_handler(handle, &SqliteBusyWait::onBusy, this);
}

int SqliteBusyWait::pauseUs(qint64 waitedUs)
{
    if (waitedUs >= qint64(limitMs_) * 1000)
        return 0;
    for (const Step &step : kSteps) {
        if (waitedUs / 1000 < step.untilMs)
            return std::uniform_int_distribution<int>(step.middleUs / 2, step.middleUs + step.middleUs / 2)(random_);
    }
    return 0;
}

int SqliteBusyWait::onBusy(void *self, int tries)
{
    auto *wait = static_cast<SqliteBusyWait *>(self);
    if (tries == 0)
        wait->waited_.start();
    const int pause = wait->pauseUs(wait->waited_.nsecsElapsed() / 1000);
    if (pause == 0)
        return 0;
    std::this_thread::sleep_for(std::chrono::microseconds(pause));
    return 1;
}

} // namespace plat
