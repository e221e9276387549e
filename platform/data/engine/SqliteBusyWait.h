#pragma once
#include <QElapsedTimer>

#include <random>

struct sqlite3;

namespace plat {

// The wait of one SQLite connection for another program's write lock. SQLite's own busy
// handler sleeps ever longer (up to 100 ms a time): the program that has just saved takes the
// lock again before the sleepers wake, which keeps the saves flowing but leaves a waiter behind
// for seconds. This one sleeps as SQLite's does while the wait is young, so that the saves
// flow, and once a waiter has waited kOldWaitMs it tries every fraction of a millisecond and
// takes the lock the moment it is let go: few wait that long at once, so their tries leave
// the cores to the holder. A lock still held after kLongTransactionMs is one long transaction,
// where trying that often gains nothing. It gives up after the same limit as SQLite's, and
// the statement fails as a locked record.
class SqliteBusyWait
{
public:
    explicit SqliteBusyWait(int limitMs);
    SqliteBusyWait(const SqliteBusyWait &) = delete;
    SqliteBusyWait &operator=(const SqliteBusyWait &) = delete;

    // Set as the handle's busy handler (replacing any timeout); it must outlive the handle
    // or be replaced first.
    void install(sqlite3 *handle);

    // The pause before the next try, in microseconds, once `waitedUs` have passed since the
    // lock was first refused; random within half of it either way, so that programs waiting
    // together do not try in step. 0: give up.
    int pauseUs(qint64 waitedUs);

    static constexpr int kOldWaitMs = 60;
    static constexpr int kLongTransactionMs = 2000;

private:
    static int onBusy(void *self, int tries);

    int limitMs_;
    QElapsedTimer waited_;
    std::minstd_rand random_;
};

} // namespace plat
