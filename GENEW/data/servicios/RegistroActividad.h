#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>

// The two text logs of the users: the access log of form activity (one file per logon
// name, a rolling window of the last lines) and the trace file. Read and write errors are
// ignored: a log never stops the program.

// What one access-log line says.
struct AccesoFormulario
{
    QDateTime momento;
    QString accion;
    QString formulario;   // the form's name
    QString titulo;       // the form's caption
    QString equipo;       // host name "/" address, or the words of the failure to find them
};

// The line: every field followed by ", ".
QString LineaRegistroAcceso(const AccesoFormulario &acceso);

// Adds the action to the log file: an action holding "Start" restarts the log and logs the
// text after its first ","; the file keeps the newest lines only.
class DiarioAccesos
{
public:
    static constexpr int maximoLineas = 101;

    explicit DiarioAccesos(QString fichero) : fichero_(std::move(fichero)) {}
    void registrar(AccesoFormulario acceso);

private:
    QString fichero_;
};

// The trace: user code "|" yyyy/mm/dd "|" hh:nn:ss:zzz "|" text, line breaks made blanks.
QString LineaTraza(const QString &usuario, const QDateTime &momento, const QString &texto);

// Appends the line to the run's trace list and writes the whole list to the file.
void AnotarTraza(QStringList &traza, const QString &fichero, const QString &linea);
