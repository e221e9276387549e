#pragma once
#include "platform/base/Errores.h"

#include <QSqlError>
#include <QString>

#include <functional>

namespace plat {

// The engine texts the program tests and translates, in its own English words.
namespace EngineText {
inline const QString KeyViolation = QStringLiteral("Key violation");
inline const QString RecordLocked = QStringLiteral("Record locked by another user");
inline const QString RecordDeleted = QStringLiteral("Record/Key Deleted");
inline const QString RecordChanged = QStringLiteral("Record changed by another user");
inline const QString TableReadOnly = QStringLiteral("Table is read only");
inline const QString TableBusy = QStringLiteral("Table is busy");
inline const QString PathNotFound = QStringLiteral("Path not found");
inline const QString TableDoesNotExist = QStringLiteral("Table does not exist");
inline const QString TableUnknown = QStringLiteral("Table unknown");
inline const QString FileDoesNotExist = QStringLiteral("File or directory does not exist");
inline const QString UnknownUser = QStringLiteral("Unknown user name or password");
inline const QString GeneralSqlError = QStringLiteral("General SQL error");
} // namespace EngineText

// "Field '<name>' must have a value": the program cuts this text at fixed positions,
// so it is raised alone.
QString fieldMustHaveValueText(const QString &field);

// The Qt driver names whose failures are read (one mapping each).
enum class ErrorSource { SQLite, PostgreSQL, Odbc };

// The program's text for an engine failure: a known failure gives its engine text
// followed by the driver's own message (or alone where the program compares it whole);
// anything else is the general error followed by the driver's message.
// `fieldCase` turns a column name the engine reports back into its declared case.
QString engineErrorText(ErrorSource source, const QSqlError &error,
                        const std::function<QString(const QString &)> &fieldCase = {});

// The same as an exception, with the failure's kind.
gp::DatabaseError engineError(ErrorSource source, const QSqlError &error,
                              const std::function<QString(const QString &)> &fieldCase = {});

// Whether the driver's failure says the link to the server is gone (SQLSTATE class 08, or
// the server shutting the session down): the connection can no longer be used.
bool linkLost(ErrorSource source, const QSqlError &error);
// The failure of a connection whose server is gone or cannot be reached: the driver's reason.
gp::DatabaseError linkLostError(const QSqlError &error);

// A failure the layer finds itself: one of the engine texts above, followed by the detail
// (a table or folder name) when there is one, with its kind.
gp::DatabaseError engineFailure(const QString &engineText, const QString &detail = QString());

} // namespace plat
