#pragma once
// The calls the engine makes itself into the servers' client libraries: libpq, which carries
// its PostgreSQL connections (PgConnection), and unixODBC, on the handles QtSql's ODBC driver
// made. The libraries are loaded the first time one is asked for, never at start: a program
// that only ever opens SQLite files does not load them and the dozens of libraries they
// bring (TLS, Kerberos, LDAP, SASL).
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
    // The engine's own connections (PgConnection): opened, closed, and statements sent with
    // their parameters through the extended protocol, several to one exchange (pipeline mode,
    // libpq 14 and later).
    PGconn *(*connectdbParams)(const char *const *, const char *const *, int) = nullptr;
    void (*finish)(PGconn *) = nullptr;
    PQnoticeProcessor (*setNoticeProcessor)(PGconn *, PQnoticeProcessor, void *) = nullptr;
    int (*sendQueryParams)(PGconn *, const char *, int, const Oid *, const char *const *, const int *, const int *,
                           int) = nullptr;
    int (*sendPrepare)(PGconn *, const char *, const char *, int, const Oid *) = nullptr;
    int (*sendQueryPrepared)(PGconn *, const char *, int, const char *const *, const int *, const int *,
                             int) = nullptr;
    int (*enterPipelineMode)(PGconn *) = nullptr;
    int (*exitPipelineMode)(PGconn *) = nullptr;
    int (*pipelineSync)(PGconn *) = nullptr;
    int (*sendFlushRequest)(PGconn *) = nullptr;
    char *(*cmdTuples)(PGresult *) = nullptr;
    char *(*cmdStatus)(PGresult *) = nullptr;
    char *(*resultErrorMessage)(const PGresult *) = nullptr;
    PGTransactionStatusType (*transactionStatus)(const PGconn *) = nullptr;
    int (*sslInUse)(PGconn *) = nullptr;
};

struct OdbcClient
{
    SQLRETURN (*getConnectAttr)(SQLHDBC, SQLINTEGER, SQLPOINTER, SQLINTEGER, SQLINTEGER *) = nullptr;
};

// Null when the library or one of its functions could not be loaded (libpq before 14 lacks
// the pipeline's); a connection exists only once its library was loaded, so callers that
// hold one get the functions.
const PgClient *pgClient();
const OdbcClient *odbcClient();

} // namespace plat
