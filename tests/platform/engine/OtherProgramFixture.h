#pragma once
#include "tests/platform/engine/EngineFixture.h"

namespace gptest {

// Another program on a test's database: a session of its own on the same database, closed
// when this goes, which must be before the database is dropped.
class OtherProgram
{
public:
    // On an engine test's database.
    OtherProgram(const EngineDatabase &database, const QString &folder) { database.openAgain(session_, folder); }
    // On the database a started program's connection resolved to.
    explicit OtherProgram(const plat::DatabaseLocation &where)
    {
        if (where.isFolder()) {
            db().setDatabaseName(where.folder);
            return;
        }
        session_.setEngine(where.engine);
        db().setParams({QStringLiteral("SERVER NAME=%1,%2").arg(where.host).arg(where.port),
                        QStringLiteral("DATABASE NAME=") + where.database, QStringLiteral("USER NAME=") + where.user,
                        QStringLiteral("PASSWORD=") + where.password});
    }
    ~OtherProgram() { session_.closeAll(); }
    OtherProgram(const OtherProgram &) = delete;
    OtherProgram &operator=(const OtherProgram &) = delete;

    plat::Session &session() { return session_; }
    plat::Connection &db() { return session_.connection(QStringLiteral("Database")); }

private:
    plat::Session session_;
};

} // namespace gptest
