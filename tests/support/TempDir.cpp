#include "tests/support/TempDir.h"

#include <QDir>

namespace gptest {

TempDir::TempDir() : dir_(QDir::tempPath() + "/gp-test-XXXXXX") {}

QString TempDir::path() const { return dir_.path(); }

QString TempDir::file(const QString &name) const { return dir_.path() + "/" + name; }

PgTestServer PgTestServer::fromEnvironment()
{
    PgTestServer s;
    s.host = qEnvironmentVariable("GP_TEST_PGHOST");
    s.port = qEnvironmentVariable("GP_TEST_PGPORT").toInt();
    s.user = qEnvironmentVariable("GP_TEST_PGUSER", "postgres");
    s.passwordUser = qEnvironmentVariable("GP_TEST_PGCLAVE_USER");
    s.password = qEnvironmentVariable("GP_TEST_PGCLAVE_PASSWORD");
    if (s.port <= 0)
        s.host.clear();
    return s;
}

} // namespace gptest
