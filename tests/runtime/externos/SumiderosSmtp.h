#pragma once
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace gptest {

// The SMTP sinks of sumideros_smtp.py on loopback while this lives; each AUTH and DATA they
// take is a JSON line of the record file. `certificados`: the sinks' certificate and key,
// then, for the sink of another host, that host's. GP_SUMIDEROS_SMTP names the script.
class SumiderosSmtp
{
public:
    SumiderosSmtp(const QString &registro, const QStringList &certificados)
    {
        proceso_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        proceso_.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral(GP_SUMIDEROS_SMTP), registro} + certificados);
        if (!proceso_.waitForReadyRead(30000))
            return;
        for (const QString &par : QString::fromUtf8(proceso_.readLine()).trimmed().split(u' '))
            puertos_.insert(par.section(u'=', 0, 0), par.section(u'=', 1).toInt());
    }
    // The sinks end when their input closes.
    ~SumiderosSmtp()
    {
        proceso_.closeWriteChannel();
        if (!proceso_.waitForFinished(5000))
            proceso_.kill();
    }
    SumiderosSmtp(const SumiderosSmtp &) = delete;
    SumiderosSmtp &operator=(const SumiderosSmtp &) = delete;

    // Each sink's port by its name ("plano", "tls", "starttls", "ajeno"); none when they did
    // not start.
    const QMap<QString, int> &puertos() const { return puertos_; }

private:
    QProcess proceso_;
    QMap<QString, int> puertos_;
};

} // namespace gptest
