#pragma once
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QUuid>

namespace gptest {

// A CUPS scheduler of one test's own (tools/cups-test-server.sh, which GP_CUPS_TEST_SERVER
// names, on a folder of its own) with one queue, "Prueba", the default. CUPS_SERVER points
// this process (Qt's printer list, "lp") at it while it lives. Where it cannot start (no
// cupsd installed) disponible() is false and motivo() says why.
class ColaCupsPrueba
{
public:
    ColaCupsPrueba() : folder_(QDir::tempPath() + QStringLiteral("/gp-cups-") + QUuid::createUuid().toString(QUuid::Id128).left(12))
    {
        QProcess script;
        script.start(QStringLiteral("bash"), {QStringLiteral(GP_CUPS_TEST_SERVER), QStringLiteral("start"), folder_});
        script.waitForFinished(60000);
        const QString salida = QString::fromUtf8(script.readAllStandardOutput()).trimmed();
        if (script.exitCode() != 0 || !salida.startsWith(QLatin1String("export CUPS_SERVER="))) {
            motivo_ = QString::fromUtf8(script.readAllStandardError()).trimmed();
            return;
        }
        anterior_ = qgetenv("CUPS_SERVER");
        qputenv("CUPS_SERVER", salida.mid(int(qstrlen("export CUPS_SERVER="))).toUtf8());
        disponible_ = true;
    }
    ~ColaCupsPrueba()
    {
        if (disponible_)
            anterior_.isNull() ? qunsetenv("CUPS_SERVER") : qputenv("CUPS_SERVER", anterior_);
        QProcess::execute(QStringLiteral("bash"), {QStringLiteral(GP_CUPS_TEST_SERVER), QStringLiteral("stop"), folder_});
    }
    ColaCupsPrueba(const ColaCupsPrueba &) = delete;
    ColaCupsPrueba &operator=(const ColaCupsPrueba &) = delete;

    bool disponible() const { return disponible_; }
    const QString &motivo() const { return motivo_; }

    struct Trabajo
    {
        QString titulo;
        QString documento;   // the file the queue's device wrote
    };
    // The jobs the queue has printed, waiting up to a minute for `cuantos` of them.
    QList<Trabajo> trabajos(int cuantos) const
    {
        QElapsedTimer reloj;
        reloj.start();
        QList<Trabajo> hechos;
        do {
            hechos.clear();
            for (int n = 1; QFile::exists(salida(n, "titulo")); ++n) {
                QFile titulo(salida(n, "titulo"));
                titulo.open(QIODevice::ReadOnly);
                hechos << Trabajo{QString::fromUtf8(titulo.readAll()), salida(n, "trabajo")};
            }
            if (hechos.size() < cuantos)
                QThread::msleep(200);
        } while (hechos.size() < cuantos && reloj.elapsed() < 60000);
        return hechos;
    }

private:
    QString salida(int n, const char *extension) const
    {
        return folder_ + QStringLiteral("/salida/%1.%2").arg(n).arg(QLatin1String(extension));
    }

    QString folder_;
    QByteArray anterior_;
    bool disponible_ = false;
    QString motivo_;
};

} // namespace gptest
