#include "platform/data/engine/ServerClientLibraries.h"

#include <dlfcn.h>

namespace plat {

namespace {

class Library
{
public:
    explicit Library(const char *file) : handle_(dlopen(file, RTLD_NOW | RTLD_LOCAL)) {}
    template<typename F>
    bool resolve(const char *name, F &function) const
    {
        function = handle_ ? reinterpret_cast<F>(dlsym(handle_, name)) : nullptr;
        return function != nullptr;
    }

private:
    void *handle_;   // kept loaded for the rest of the run
};

const PgClient *loadPg()
{
    static PgClient client;
    const Library lib("libpq.so.5");
    const bool complete = lib.resolve("PQstatus", client.status) && lib.resolve("PQsocket", client.socket)
                          && lib.resolve("PQconsumeInput", client.consumeInput)
                          && lib.resolve("PQerrorMessage", client.errorMessage)
                          && lib.resolve("PQgetvalue", client.getValue) && lib.resolve("PQgetlength", client.getLength)
                          && lib.resolve("PQgetisnull", client.getIsNull)
                          && lib.resolve("PQsendQuery", client.sendQuery)
                          && lib.resolve("PQsetSingleRowMode", client.setSingleRowMode)
                          && lib.resolve("PQgetResult", client.getResult) && lib.resolve("PQclear", client.clear)
                          && lib.resolve("PQresultStatus", client.resultStatus)
                          && lib.resolve("PQresultErrorField", client.resultErrorField)
                          && lib.resolve("PQntuples", client.ntuples) && lib.resolve("PQnfields", client.nfields)
                          && lib.resolve("PQfname", client.fname) && lib.resolve("PQftype", client.ftype)
                          && lib.resolve("PQunescapeBytea", client.unescapeBytea)
                          && lib.resolve("PQfreemem", client.freemem) && lib.resolve("PQgetCancel", client.getCancel)
                          && lib.resolve("PQcancel", client.cancel) && lib.resolve("PQfreeCancel", client.freeCancel)
                          && lib.resolve("PQconnectdbParams", client.connectdbParams)
                          && lib.resolve("PQfinish", client.finish)
                          && lib.resolve("PQsetNoticeProcessor", client.setNoticeProcessor)
                          && lib.resolve("PQsendQueryParams", client.sendQueryParams)
                          && lib.resolve("PQsendPrepare", client.sendPrepare)
                          && lib.resolve("PQsendQueryPrepared", client.sendQueryPrepared)
                          && lib.resolve("PQenterPipelineMode", client.enterPipelineMode)
                          && lib.resolve("PQexitPipelineMode", client.exitPipelineMode)
                          && lib.resolve("PQpipelineSync", client.pipelineSync)
                          && lib.resolve("PQsendFlushRequest", client.sendFlushRequest)
                          && lib.resolve("PQcmdTuples", client.cmdTuples) && lib.resolve("PQcmdStatus", client.cmdStatus)
                          && lib.resolve("PQresultErrorMessage", client.resultErrorMessage)
                          && lib.resolve("PQtransactionStatus", client.transactionStatus)
                          && lib.resolve("PQsslInUse", client.sslInUse);
    return complete ? &client : nullptr;
}

const OdbcClient *loadOdbc()
{
    static OdbcClient client;
    const Library lib("libodbc.so.2");
    return lib.resolve("SQLGetConnectAttr", client.getConnectAttr) ? &client : nullptr;
}

} // namespace

const PgClient *pgClient()
{
    static const PgClient *const client = loadPg();
    return client;
}

const OdbcClient *odbcClient()
{
    static const OdbcClient *const client = loadOdbc();
    return client;
}

} // namespace plat
