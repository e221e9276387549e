#pragma once
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/DatabaseLocation.h"
#include "platform/data/engine/TableChanges.h"
#include "platform/base/EngineKind.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <future>
#include <memory>

namespace plat {

// An engine alias: a name, its driver and the parameter lines the program writes.
struct Alias
{
    QString name;
    QString driver;        // "MSSQL" for those the program adds at run time
    QStringList params;    // "NAME=Value" lines
};

// The engine session: the configured engine, the aliases, the private directory and
// the named connections. The program has one (defaultSession); tests make their own.
struct SharedCatalogue;

class Session
{
public:
    Session();
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    static Session &defaultSession();

    // The configured engine (`TipoBaseDatos`). Folders are SQLite whatever it is.
    void setEngine(EngineKind engine) { engine_ = engine; }
    EngineKind engine() const { return engine_; }

    // How long a statement of its connections waits for another program's lock before it
    // fails as a locked record (see Dialect::kLockWaitMs); connections opened later take it.
    void setLockWait(int milliseconds) { lockWaitMs_ = milliseconds; }
    int lockWait() const { return lockWaitMs_; }

    void setPrivateDir(const QString &dir) { privateDir_ = dir; }
    QString privateDir() const { return privateDir_; }

    // Where a name that is neither a folder nor an alias points on SQLite
    // (`PathBaseDatosGeneral`).
    void setDefaultFolder(const QString &folder);
    QString defaultFolder() const { return defaultFolder_; }

    // Aliases: read from ALIAS.INI (one section per alias, "NAME=Value" lines), or added
    // at run time. Names ignore case.
    void loadAliasFile(const QString &path);
    void loadAliasText(const QString &text);
    void addAlias(const QString &name, const QString &driver, const QStringList &params);
    bool isAlias(const QString &name) const;
    Alias alias(const QString &name) const;
    QStringList aliasNames() const;

    // Where a database name (alias, "?" + name, folder) and parameter lines point.
    DatabaseLocation resolve(const QString &databaseName, const QStringList &params = {}) const;

    // The connection of that name, made on first use ("Database", "DatabaseGeneral"...).
    Connection &connection(const QString &name);
    Connection *findConnection(const QString &name) const;
    void closeAll();

    // Creates the database a name points at when it does not exist: a folder and its
    // datos.sqlite; on PostgreSQL CREATE DATABASE (lower-cased) through "postgres".
    // On SQL Server the program gives its own statements, run on "master" in order;
    // the first failure is raised. Answers false when it already existed.
    bool createDatabase(const QString &databaseName, const QStringList &serverStatements = {},
                        const QStringList &params = {});
    bool databaseExists(const QString &databaseName, const QStringList &params = {});

    // Makes ahead, on a thread of its own, the file of an embedded database that does not
    // exist yet, its folder made first for the owner alone: a start goes on with other work
    // while the file's first page is synced, and opening the location waits for it. Answers
    // whether it started making it (not for a server, a file that exists or a location
    // already being made).
    bool prepareDatabase(const DatabaseLocation &location);
    // Loads ahead, on a thread of its own, the driver a location's connections go through
    // (its plugin found and linked), once per driver: a start opens its first connection
    // after other work, and the opening then finds the driver loaded.
    void prepareDriver(const DatabaseLocation &location);

    // What the session's connections to one database share of its catalogue (internal): read
    // once for all of them.
    std::shared_ptr<SharedCatalogue> sharedCatalogue(const DatabaseLocation &location);
    // The physical connection of a location, shared for SQLite files and PostgreSQL
    // databases (internal); a server's sessions start with the isolation level given.
    std::shared_ptr<PhysicalConnection> physicalFor(const DatabaseLocation &location,
                                                    IsolationLevel isolation = IsolationLevel::ReadCommitted);
    // Whether this session made (and linked) the SQLite file the connection is open on.
    bool madeFile(const Connection &connection) const;

    // What the session's statements and refreshes changed, by table: where its caches end.
    TableChanges &tableChanges() { return tableChanges_; }

private:
    void waitForDrivers();
    static bool sharesServerConnection(const DatabaseLocation &location);

    EngineKind engine_ = EngineKind::SQLite;
    int lockWaitMs_ = Dialect::kLockWaitMs;
    QString privateDir_;
    QString defaultFolder_;
    QMap<QString, Alias> aliases_;   // by upper-case name
    std::map<QString, std::unique_ptr<Connection>> connections_;
    QHash<QString, std::weak_ptr<PhysicalConnection>> shared_;
    QHash<QString, std::shared_ptr<SharedCatalogue>> catalogues_;
    // A database just made stays open until a connection takes it: its connection is the
    // next thing a start opens, and opening a file again costs what closing it undid.
    QHash<QString, std::shared_ptr<PhysicalConnection>> madeOpen_;
    QSet<QString> madeFiles_;   // keys of the files this session made
    // The server database an existence check found, open for the connection that follows.
    std::shared_ptr<PhysicalConnection> checked_;
    QHash<QString, std::shared_future<bool>> preparing_;   // files made ahead: whether made
    QHash<QString, std::shared_future<void>> loadingDrivers_;   // by driver name
    TableChanges tableChanges_;
};

} // namespace plat
