#pragma once
#include "tests/support/TempDir.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QUuid>

namespace gptest {

// A PostgreSQL server of one test's own (tools/pg-test-server.sh on a folder of its own),
// which the test stops and starts again while the program keeps its connections. Runs only
// where the shared test server does, so that the PostgreSQL cases are skipped alike.
// GP_PG_TEST_SERVER names the script.
class PrivatePgServer
{
public:
    PrivatePgServer() : folder_(QDir::tempPath() + QStringLiteral("/gp-pg-") + QUuid::createUuid().toString(QUuid::Id128).left(12))
    {
        if (!PgTestServer::fromEnvironment().available())
            return;
        QString output;
        started_ = run(QStringLiteral("start"), &output);
        if (!started_)
            return;
        const auto port = QRegularExpression(QStringLiteral("GP_TEST_PGPORT=(\\d+)")).match(output);
        if (port.hasMatch()) {
            settings_.host = QStringLiteral("127.0.0.1");
            settings_.port = port.captured(1).toInt();
            settings_.user = QStringLiteral("postgres");
        }
    }
    ~PrivatePgServer()
    {
        if (started_)
            run(QStringLiteral("stop"));
    }
    PrivatePgServer(const PrivatePgServer &) = delete;
    PrivatePgServer &operator=(const PrivatePgServer &) = delete;

    bool available() const { return settings_.available(); }
    const PgTestServer &settings() const { return settings_; }
    // Alias lines of a database on it.
    QStringList aliasParams(const QString &database) const
    {
        return {QStringLiteral("SERVER NAME=%1,%2").arg(settings_.host).arg(settings_.port),
                QStringLiteral("DATABASE NAME=") + database, QStringLiteral("USER NAME=") + settings_.user};
    }
    // Stopped as an administrator stops it: its sessions are told and closed.
    bool pause() { return run(QStringLiteral("pause")); }
    bool resume() { return run(QStringLiteral("resume")); }

private:
    bool run(const QString &command, QString *output = nullptr)
    {
        QProcess script;
        script.start(QStringLiteral("bash"), {QStringLiteral(GP_PG_TEST_SERVER), command, folder_});
        if (!script.waitForFinished(120000))
            return false;
        if (output)
            *output = QString::fromUtf8(script.readAllStandardOutput());
        return script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
    }

    QString folder_;
    bool started_ = false;
    PgTestServer settings_;
};

} // namespace gptest
