#pragma once
#include <QElapsedTimer>

#include <random>

struct sqlite3;

namespace plat {

// The wait of one SQLite connection for another program's write lock. SQLite's own busy
// handler sleeps ever longer (up to 100 ms a time), so a waiter wakes long after the lock
// was let go and another program, which never slept, takes it again: single saves waited
// seconds while others went on. This one tries again in short, slightly random steps that
// shorten as the wait grows, so that the longest waiter is the likeliest to find the lock
// free; it gives up after the same limit, and the statement fails as a locked record.
class SqliteBusyWait
{
public:
    explicit SqliteBusyWait(int limitMs);
    SqliteBusyWait(const SqliteBusyWait &) = delete;
    SqliteBusyWait &operator=(const SqliteBusyWait &) = delete;

    // Set as the handle's busy handler (replacing any timeout); it must outlive the handle
    // or be replaced first.
    void install(sqlite3 *handle);

    // The pause before the next try, in microseconds, once `waitedMs` have passed since the
    // lock was first refused; 0: give up.
    int pauseUs(qint64 waitedMs);

private:
    static int onBusy(void *self, int tries);

    int limitMs_;
    QElapsedTimer waited_;
    std::minstd_rand random_;
};

} // namespace plat
