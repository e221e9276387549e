#pragma once
// tools/pg-delay-proxy.py between the engine and the test server: what crosses it is
// counted (round trips, connections, statements), so that a test can hold an action to the
// exchanges it needs. GP_DELAY_PROXY names the script.
#include "tests/support/TempDir.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace gptest {

class DelayProxy
{
public:
    // Empty when it runs, else why not.
    QString start(const PgTestServer &server)
    {
        QStringList arguments{QStringLiteral(GP_DELAY_PROXY), QStringLiteral("--target"),
                              QStringLiteral("%1:%2").arg(server.host).arg(server.port)};
        // GP_DELAY_PROXY_LOG names a file that gets every statement's text, to see what an
        // action over its budget sent.
        if (const QString log = qEnvironmentVariable("GP_DELAY_PROXY_LOG"); !log.isEmpty())
            arguments << QStringLiteral("--log") << log;
        process_.start(QStringLiteral("python3"), arguments);
        if (!process_.waitForStarted(10000) || !process_.waitForReadyRead(10000))
            return QStringLiteral("the proxy did not start: ") + process_.readAllStandardError();
        const auto m = QRegularExpression(QStringLiteral("PORT=(\\d+) CONTROL=(\\d+)"))
                           .match(QString::fromUtf8(process_.readLine()));
        if (!m.hasMatch())
            return QStringLiteral("the proxy said no port");
        port_ = m.captured(1).toInt();
        control_ = m.captured(2).toInt();
        return {};
    }

    ~DelayProxy()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }

    int port() const { return port_; }
    void reset() { ask("reset"); }
    // A line in the statements' log (GP_DELAY_PROXY_LOG) naming what follows.
    void mark(const QByteArray &what) { ask("mark " + what); }
    // Each exchange from now on waits that many milliseconds.
    void setDelay(int milliseconds) { ask("delay " + QByteArray::number(milliseconds)); }
    // What crossed it since the last reset: "round_trips", "connections", "queries"...
    int count(const char *what) { return QJsonDocument::fromJson(ask("counts")).object().value(QLatin1String(what)).toInt(-1); }
    int roundTrips() { return count("round_trips"); }

private:
    QByteArray ask(const QByteArray &command) const
    {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(quint16(control_));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        QByteArray answer;
        if (::connect(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
            && ::write(s, command.constData(), size_t(command.size())) == command.size() && ::write(s, "\n", 1) == 1) {
            char c = 0;
            while (::read(s, &c, 1) == 1 && c != '\n')
                answer += c;
        }
        ::close(s);
        return answer;
    }

    QProcess process_;
    int port_ = 0;
    int control_ = 0;
};

} // namespace gptest
