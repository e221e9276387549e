// The program's wait for SQLite's write lock: paced by the other programs' saves seen while
// it waits, longer the more of them when they keep the cores busy, short when they wait for
// a disk, fixed steps while none goes by, an end at the limit.
#include "platform/data/engine/SqliteBusyWait.h"

#include <climits>
#include <gtest/gtest.h>
#include <utility>

using plat::SqliteBusyWait;

namespace {

TEST(SqliteBusyWait, PausesFollowTheSavesSeenWhileWaitingAndEndAtTheLimit)
{
    SqliteBusyWait wait(10000);
    struct Case { const char *what; qint64 waitedUs; quint32 commits; int fewest, most; };
    const Case cases[] = {
        {"one long save, just begun", 0, 0, 200, 1000},
        {"one long save, a while", 500000, 0, 50, 300},
        {"one long transaction", 3000000, 0, 1000, 3000},
        {"60 quick saves", 3000, 60, 4500, 13500},     // 150 us for each program ahead
        {"400 quick saves", 20000, 400, 10000, 30000},  // at most 20 ms, give or take a half
        {"15 saves waiting for a disk, 2 ms each", 30000, 15, 165, 510},   // 15 % of 2.25 ms
        {"a disk's saves, 20 ms each", 300000, 15, 25, 110},              // 3 % at the least
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::pair<int, int> seen{INT_MAX, 0};
        for (int i = 0; i < 200; ++i) {
            const int pause = wait.pauseUs(c.waitedUs, c.commits);
            seen = {std::min(seen.first, pause), std::max(seen.second, pause)};
        }
        EXPECT_GE(seen.first, c.fewest);
        EXPECT_LE(seen.second, c.most);
        EXPECT_LT(seen.first, seen.second);   // random, so that programs waiting together part
    }
    EXPECT_EQ(wait.pauseUs(10000000, 0), 0);
    EXPECT_EQ(wait.pauseUs(60000000, 5), 0);
}

} // namespace
