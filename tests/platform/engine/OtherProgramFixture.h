#pragma once
#include "tests/platform/engine/EngineFixture.h"

namespace gptest {

// Another program on an engine test's database: a session of its own on the same database,
// closed when this goes, which must be before the database is dropped.
class OtherProgram
{
public:
    OtherProgram(const EngineDatabase &database, const QString &folder) { database.openAgain(session_, folder); }
    ~OtherProgram() { session_.closeAll(); }
    OtherProgram(const OtherProgram &) = delete;
    OtherProgram &operator=(const OtherProgram &) = delete;

    plat::Session &session() { return session_; }
    plat::Connection &db() { return session_.connection(QStringLiteral("Database")); }

private:
    plat::Session session_;
};

} // namespace gptest
