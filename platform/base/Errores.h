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

// Every failure of the data layer and its engines, with the engine's own English text.
class DatabaseError : public Error
{
public:
    using Error::Error;
};

} // namespace gp
