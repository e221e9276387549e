#pragma once
#include <QByteArray>
#include <QElapsedTimer>

#include <random>

struct sqlite3;

namespace plat {

// The wait of one SQLite connection for another program's write lock. SQLite's own busy
// handler sleeps ever longer (up to 100 ms a time), so a waiter wakes long after the lock was
// let go and another program, which never slept, takes it again: single saves waited seconds
// while others went on. This one tries again sooner, and paces itself by the saves of the
// other programs that it sees go by while it waits (SQLite's change counter of the database,
// in its WAL index): about kPausePerCommitUs for each, for that many programs are queueing
// with it, so that dozens of waiters do not keep busy the cores that the holder needs (64
// writers on a memory file system did a quarter of the work of SQLite's handler when all of
// them tried every fraction of a millisecond). Saves that wait for a disk's sync leave the
// cores idle, and there trying often costs little and lets a long waiter in sooner: when
// the saves come further apart than kBusyCommitUs, the pause shrinks in proportion (to 3 %).
// While no save goes by (one long transaction), the steps are fixed. It gives up after the
// same limit as SQLite's, and the statement fails as a locked record.
class SqliteBusyWait
{
public:
    explicit SqliteBusyWait(int limitMs);
    ~SqliteBusyWait();
    SqliteBusyWait(const SqliteBusyWait &) = delete;
    SqliteBusyWait &operator=(const SqliteBusyWait &) = delete;

    // Set as the handle's busy handler (replacing any timeout); it must outlive the handle
    // or be replaced first.
    void install(sqlite3 *handle);

    // The pause before the next try, in microseconds, once `waitedUs` have passed since the
    // lock was first refused and other programs committed `commits` times meanwhile; random
    // within half of it either way, so that programs waiting together do not try in step.
    // 0: give up.
    int pauseUs(qint64 waitedUs, quint32 commits);

    static constexpr int kPausePerCommitUs = 150;
    static constexpr int kBusyCommitUs = 300;
    static constexpr int kShortestPauseUs = 50;
    static constexpr int kLongestPauseUs = 20000;

private:
    static int onBusy(void *self, int tries);
    // SQLite's count of the database's write transactions; 0 when it cannot be read.
    quint32 commitCount();

    int limitMs_;
    QElapsedTimer waited_;
    quint32 countAtStart_ = 0;
    std::minstd_rand random_;
    QByteArray shmPath_;   // the WAL index beside the database
    int shm_ = -1;
};

} // namespace plat
