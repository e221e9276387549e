#pragma once
#include <QElapsedTimer>
#include <QString>

#include <memory>
#include <random>
#include <sys/types.h>

struct sqlite3;

namespace plat {

// The programs sleeping for one SQLite file's write lock, counted through a file beside the
// database: each holds an open-file-description lock on one byte of it while it sleeps. The
// kernel frees such a lock when its descriptor closes, so a program killed in its sleep
// leaves nothing behind; nothing is ever written in the file. A folder where the file cannot
// be made or opened counts nobody.
class SqliteWaitLine
{
public:
    // `file`: the line's file, made on the first sleep with `mode`.
    SqliteWaitLine(QString file, unsigned mode);
    ~SqliteWaitLine();
    SqliteWaitLine(const SqliteWaitLine &) = delete;
    SqliteWaitLine &operator=(const SqliteWaitLine &) = delete;

    // Around one sleep of this connection.
    void enter();
    void leave();
    // The others sleeping in the line now.
    int others();

    static constexpr int kPlaces = 1024;

private:
    bool open();
    bool lock(int place, short type);
    int othersIn(off_t from, off_t to);

    QString file_;
    unsigned mode_;
    int fd_ = -1;
    bool tried_ = false;
    int held_ = -1;
    int next_;
};

// The wait of one SQLite connection for another program's write lock. SQLite's own busy
// handler sleeps ever longer (up to 100 ms a time): the program that has just saved takes the
// lock again before the sleepers wake, which keeps the saves flowing but leaves a waiter behind
// for seconds. This one sleeps as SQLite's does while the wait is young, so that the saves
// flow, and once a waiter has been passed over for long it tries every fraction of a
// millisecond and takes the lock the moment it is let go. How long is long grows with the line:
// each turn given to a waiter passed over is a change of writer, and with many programs
// waiting, turns every kOldWaitMs would cost more saves than the line gains. A lock still held
// after kLongTransactionMs is one long transaction, where trying that often gains nothing. It
// gives up after the same limit as SQLite's, and the statement fails as a locked record.
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

    // The wait after which a waiter counts as passed over, with `others` sleeping beside it.
    static int oldWaitMs(int others);

    // The pause before the next try, in microseconds, once `waitedUs` have passed since the
    // lock was first refused and with the waiter passed over after `oldMs`; random within half
    // of it either way, so that programs waiting together do not try in step. 0: give up.
    int pauseUs(qint64 waitedUs, int oldMs = kOldWaitMs);

    static constexpr int kOldWaitMs = 60;
    static constexpr int kWaitPerOtherMs = 4;
    static constexpr int kLongTransactionMs = 2000;

private:
    static int onBusy(void *self, int tries);

    int limitMs_;
    QElapsedTimer waited_;
    int oldMs_ = kOldWaitMs;
    bool lineCounted_ = false;
    std::minstd_rand random_;
    std::unique_ptr<SqliteWaitLine> line_;
};

} // namespace plat
