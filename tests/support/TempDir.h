#pragma once
#include <QString>
#include <QTemporaryDir>

namespace gptest {

// A fresh folder for one test's databases and files, removed when the test ends.
class TempDir
{
public:
    TempDir();
    QString path() const;                       // without a closing "/"
    QString file(const QString &name) const;    // path + "/" + name
    bool isValid() const { return dir_.isValid(); }

private:
    QTemporaryDir dir_;
};

// Connection settings of the throwaway PostgreSQL server that tools/pg-test-server.sh
// starts; empty host when no server runs (the PostgreSQL cases are then skipped).
struct PgTestServer
{
    QString host;
    int port = 0;
    QString user;
    // A role that logs in only with its password (empty when the server has none).
    QString passwordUser;
    QString password;
    bool available() const { return !host.isEmpty(); }
    static PgTestServer fromEnvironment();
};

} // namespace gptest
