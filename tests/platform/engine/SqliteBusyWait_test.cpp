// The program's wait for SQLite's write lock: growing sleeps while the wait is young, quick
// tries once it is old (later the longer the line of waiters), slower ones in a long
// transaction, an end at the limit; the line counted through a file that a killed waiter
// cannot jam.
#include "platform/data/engine/SqliteBusyWait.h"
#include "tests/support/TempDir.h"

#include <climits>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

using plat::SqliteBusyWait;
using plat::SqliteWaitLine;

namespace {

std::pair<int, int> pausesSeen(SqliteBusyWait &wait, qint64 waitedUs, int oldMs)
{
    std::pair<int, int> seen{INT_MAX, 0};
    for (int i = 0; i < 200; ++i) {
        const int pause = wait.pauseUs(waitedUs, oldMs);
        seen = {std::min(seen.first, pause), std::max(seen.second, pause)};
    }
    return seen;
}

TEST(SqliteBusyWait, PausesGrowWhileTheWaitIsYoungAndShrinkOnceItIsOld)
{
    SqliteBusyWait wait(10000);
    const int longLine = SqliteBusyWait::oldWaitMs(60);
    struct Case { const char *what; qint64 waitedUs; int oldMs, fewest, most; };
    const Case cases[] = {
        {"just refused", 0, 60, 500, 1500},
        {"a few saves ahead", 3000, 60, 1000, 3000},
        {"many saves ahead", 30000, 60, 5000, 15000},
        {"about to be passed over", 58000, 60, 1, 2000},
        {"passed over for long", 80000, 60, 250, 750},
        {"in a long line, not yet passed over", 80000, longLine, 12500, 37500},
        {"in a long line, waiting longer still", 150000, longLine, 25000, 75000},
        {"passed over in a long line", qint64(longLine) * 1000 + 1000, longLine, 250, 750},
        {"one long transaction", 3000000, 60, 1000, 3000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const auto [fewest, most] = pausesSeen(wait, c.waitedUs, c.oldMs);
        EXPECT_GE(fewest, c.fewest);
        EXPECT_LE(most, c.most);
        EXPECT_LT(fewest, most);   // random, so that programs waiting together part
    }
    EXPECT_EQ(wait.pauseUs(10000000), 0);
    EXPECT_EQ(wait.pauseUs(60000000), 0);
}

TEST(SqliteBusyWait, PassedOverLaterOnlyWhenTheLineIsLong)
{
    for (int others : {0, 1, 4, 15})
        EXPECT_EQ(SqliteBusyWait::oldWaitMs(others), SqliteBusyWait::kOldWaitMs) << others;
    int before = SqliteBusyWait::kOldWaitMs;
    for (int others : {16, 32, 63, SqliteWaitLine::kPlaces}) {
        const int oldMs = SqliteBusyWait::oldWaitMs(others);
        EXPECT_GT(oldMs, before) << others;
        EXPECT_LE(oldMs, SqliteBusyWait::kLongTransactionMs / 4) << others;
        before = oldMs;
    }
}

// Waiters of several connections (each its own descriptor, as another program's) counted
// while they sleep, and no longer once they wake.
TEST(SqliteWaitLine, CountsTheOthersSleepingNow)
{
    gptest::TempDir dir;
    const QString file = dir.file(QStringLiteral("datos.sqlite-espera"));
    std::vector<std::unique_ptr<SqliteWaitLine>> waiters;
    for (int i = 0; i < 6; ++i)
        waiters.push_back(std::make_unique<SqliteWaitLine>(file, 0600));
    for (int i = 0; i < 5; ++i) {
        waiters[i]->enter();
        EXPECT_EQ(waiters[5]->others(), i + 1);
        EXPECT_EQ(waiters[i]->others(), i);
    }
    waiters[2]->leave();
    waiters[2]->leave();
    EXPECT_EQ(waiters[5]->others(), 4);
    waiters[0].reset();   // a connection closed in its sleep
    EXPECT_EQ(waiters[5]->others(), 3);
}

// A program killed while it sleeps in the line is no longer counted: the others are not
// kept from their quick tries by a waiter that will never try again.
TEST(SqliteWaitLine, AKilledWaiterLeavesTheLine)
{
    gptest::TempDir dir;
    const QString file = dir.file(QStringLiteral("datos.sqlite-espera"));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SqliteWaitLine line(file, 0600);
        line.enter();
        const char c = 'x';
        (void)!::write(ready[1], &c, 1);
        for (;;)
            ::pause();
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    SqliteWaitLine line(file, 0600);
    EXPECT_EQ(line.others(), 1);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(line.others(), 0);
    line.enter();
    SqliteWaitLine another(file, 0600);
    EXPECT_EQ(another.others(), 1);
    ::close(ready[0]);
    ::close(ready[1]);
}

} // namespace
