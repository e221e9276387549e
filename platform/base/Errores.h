#pragma once
#include <QByteArray>
#include <QString>
#include <exception>

// The program's exceptions. Their message is the text the user is shown (after the
// exception handler translates it), so it is kept exactly as raised.
namespace gp {

class Error : public std::exception
{
public:
    explicit Error(QString mensaje) : mensaje_(std::move(mensaje)), utf8_(mensaje_.toUtf8()) {}
    const QString &mensaje() const noexcept { return mensaje_; }
    const char *what() const noexcept override { return utf8_.constData(); }

private:
    QString mensaje_;
    QByteArray utf8_;
};

// Abandons the operation under way without showing anything (a handler vetoing a post,
// a delete, a new record).
class Abort : public Error
{
public:
    Abort() : Error(QStringLiteral("Operation aborted")) {}
};

// A text that does not read as the value asked for ("'x' is not a valid integer value").
class ConversionError : public Error
{
public:
    using Error::Error;
};

// What an engine failure is, decided where the engine's failures are classified, so that
// callers decide on the kind and never read the text back.
enum class DatabaseErrorKind {
    Other,
    MissingTable,     // "Table does not exist"
    MissingPath,      // "Path not found": the database (folder or server database) is not there
    KeyViolation,     // "Key violation"
    RecordLocked,     // "Record locked by another user"
    RecordDeleted,    // "Record/Key Deleted"
    RecordChanged,    // "Record changed by another user": another user stored it since the edit began
    ReadOnly,         // "Table is read only"
    RequiredField,    // "Field 'X' must have a value"
    UnknownUser,      // "Unknown user name or password"
    ConnectionLost,   // the server went away or cannot be reached: the driver's own reason
};

// Every failure of the data layer and its engines, with the engine's own English text. The
// reason is the driver's own words (or the detail the layer found), without the engine text
// that names the kind: what a message puts after "Motivo: ".
class DatabaseError : public Error
{
public:
    explicit DatabaseError(QString mensaje, DatabaseErrorKind kind = DatabaseErrorKind::Other, QString motivo = {})
        : Error(std::move(mensaje)), kind_(kind), motivo_(std::move(motivo))
    {
    }
    DatabaseErrorKind kind() const noexcept { return kind_; }
    const QString &motivo() const noexcept { return motivo_; }

private:
    DatabaseErrorKind kind_;
    QString motivo_;
};

// A failure caught by capturarFallo: its text and, for an engine failure, its kind.
struct Fallo
{
    bool hay = false;
    QString mensaje;
    DatabaseErrorKind tipo = DatabaseErrorKind::Other;
    QString motivo;   // an engine failure's reason (DatabaseError::motivo)

    explicit operator bool() const { return hay; }
};

// Runs the work and answers how it failed: gp::Abort goes on to the caller (the user has
// been told, or chose to stop); any other gp::Error is answered; nothing when it succeeded.
template <typename Trabajo>
Fallo capturarFallo(Trabajo &&trabajo)
{
    try {
        trabajo();
        return {};
    } catch (const Abort &) {
        throw;
    } catch (const DatabaseError &e) {
        return {true, e.mensaje(), e.kind(), e.motivo()};
    } catch (const Error &e) {
        return {true, e.mensaje(), DatabaseErrorKind::Other};
    }
}

} // namespace gp
