#pragma once
// The few calls the engine makes itself into the servers' client libraries (libpq,
// unixODBC), on handles their QtSql drivers made. The libraries are loaded the first time
// one is asked for, never at start: a program that only ever opens SQLite files does not
// load them and the dozens of libraries they bring (TLS, Kerberos, LDAP, SASL).
#include <libpq-fe.h>
#include <sql.h>

namespace plat {

struct PgClient
{
    ConnStatusType (*status)(const PGconn *) = nullptr;
    int (*socket)(const PGconn *) = nullptr;
    int (*consumeInput)(PGconn *) = nullptr;
    char *(*errorMessage)(const PGconn *) = nullptr;
    char *(*getValue)(const PGresult *, int, int) = nullptr;
    int (*getLength)(const PGresult *, int, int) = nullptr;
    int (*getIsNull)(const PGresult *, int, int) = nullptr;
    // A statement's rows read as they arrive (see PgRows).
    int (*sendQuery)(PGconn *, const char *) = nullptr;
    int (*setSingleRowMode)(PGconn *) = nullptr;
    PGresult *(*getResult)(PGconn *) = nullptr;
    void (*clear)(PGresult *) = nullptr;
    ExecStatusType (*resultStatus)(const PGresult *) = nullptr;
    char *(*resultErrorField)(const PGresult *, int) = nullptr;
    int (*ntuples)(const PGresult *) = nullptr;
    int (*nfields)(const PGresult *) = nullptr;
    char *(*fname)(const PGresult *, int) = nullptr;
    Oid (*ftype)(const PGresult *, int) = nullptr;
    unsigned char *(*unescapeBytea)(const unsigned char *, size_t *) = nullptr;
    void (*freemem)(void *) = nullptr;
    PGcancel *(*getCancel)(PGconn *) = nullptr;
    int (*cancel)(PGcancel *, char *, int) = nullptr;
    void (*freeCancel)(PGcancel *) = nullptr;
};

struct OdbcClient
{
    SQLRETURN (*getConnectAttr)(SQLHDBC, SQLINTEGER, SQLPOINTER, SQLINTEGER, SQLINTEGER *) = nullptr;
};

// Null when the library or one of its functions could not be loaded; a handle of its
// driver exists only once the driver has loaded the library, so callers that hold one get
// the functions.
const PgClient *pgClient();
const OdbcClient *odbcClient();

} // namespace plat
