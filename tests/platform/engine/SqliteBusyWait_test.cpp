// The program's wait for SQLite's write lock: growing sleeps while the wait is young, quick
// tries once it is old, slower ones in a long transaction, an end at the limit.
#include "platform/data/engine/SqliteBusyWait.h"

#include <climits>
#include <gtest/gtest.h>
#include <utility>

using plat::SqliteBusyWait;

namespace {

TEST(SqliteBusyWait, PausesGrowWhileTheWaitIsYoungAndShrinkOnceItIsOld)
{
    SqliteBusyWait wait(10000);
    struct Case { const char *what; qint64 waitedUs; int fewest, most; };
    const Case cases[] = {
        {"just refused", 0, 500, 1500},
        {"a few saves ahead", 3000, 1000, 3000},
        {"many saves ahead", 30000, 5000, 15000},
        {"passed over for long", 80000, 250, 750},
        {"one long transaction", 3000000, 1000, 3000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::pair<int, int> seen{INT_MAX, 0};
        for (int i = 0; i < 200; ++i) {
            const int pause = wait.pauseUs(c.waitedUs);
            seen = {std::min(seen.first, pause), std::max(seen.second, pause)};
        }
        EXPECT_GE(seen.first, c.fewest);
        EXPECT_LE(seen.second, c.most);
        EXPECT_LT(seen.first, seen.second);   // random, so that programs waiting together part
    }
    EXPECT_EQ(wait.pauseUs(10000000), 0);
    EXPECT_EQ(wait.pauseUs(60000000), 0);
}

} // namespace
