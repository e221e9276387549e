#include "platform/data/engine/Session.h"

#include "platform/data/engine/Catalogue.h"
#include "platform/data/engine/EngineErrors.h"
#include "platform/data/engine/FileAccess.h"
#include "platform/data/engine/PhysicalConnection.h"
#include "platform/data/engine/ServerClientLibraries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <cerrno>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace plat {

namespace {

// An empty database in WAL, as SQLite writes one when switched to WAL (one page of 4096
// bytes: the header and an empty schema table). Written by hand, the new file costs one write
// instead of an engine opening, the switch through the rollback journal and a closing.
QByteArray emptyWalDatabase()
{
    QByteArray page(4096, '\0');
    const auto put32 = [&page](int at, quint32 value) {
        for (int i = 0; i < 4; ++i)
            page[at + i] = char((value >> (24 - 8 * i)) & 0xff);
    };
    page.replace(0, 16, QByteArray("SQLite format 3", 16));
    page[16] = 0x10;                  // page size 4096
    page[17] = 0x00;
    page[18] = page[19] = 2;          // write and read versions: WAL
    page[21] = 64;                    // payload fractions, fixed by the format
    page[22] = 32;
    page[23] = 32;
    put32(24, 1);                     // change counter
    put32(28, 1);                     // pages in the file
    put32(92, 1);                     // the size above is valid for change 1
    put32(96, quint32(sqlite3_libversion_number()));
    page[100] = 0x0d;                 // the schema table: an empty leaf table page
    page[105] = 0x10;                 // its cell content starts at the page's end
    return page;
}

// A new database file is made whole under a name of its own in the same folder and linked
// under its final name only then, so that the final name never names a half-made file: the
// start takes a file that exists as made. One sync before the link keeps an operating-system
// crash from leaving the name on a file whose bytes never reached the disk. Answers whether
// this program made the file; false when another program linked its own first, or the folder
// refused.
bool createWalFile(const QString &file)
{
    static const QByteArray image = emptyWalDatabase();
    QTemporaryFile draft(file + QStringLiteral(".XXXXXX"));
    if (!draft.open())
        return false;
    const bool written = draft.write(image) == image.size() && draft.flush() && ::fdatasync(draft.handle()) == 0;
    const QByteArray draftName = QFile::encodeName(draft.fileName());
    // SQLite's locks are the process's: no descriptor of the file stays open to drop them later.
    draft.close();
    // A link, not a rename: a file another program linked meanwhile is never replaced.
    return written && ::link(draftName.constData(), QFile::encodeName(file).constData()) == 0;
}

} // namespace

Session::Session() = default;

Session::~Session()
{
    connections_.clear();
}

Session &Session::defaultSession()
{
    static Session session;
    return session;
}

void Session::setDefaultFolder(const QString &folder)
{
    defaultFolder_ = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
}

void Session::loadAliasFile(const QString &path)
{
    // Read by hand: section names and keys carry blanks ("SERVER NAME") that the INI
    // reader of QSettings would escape.
    QFile f(path);
    if (f.open(QIODevice::ReadOnly))
        loadAliasText(QString::fromUtf8(f.readAll()));
}

void Session::loadAliasText(const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    QString section;
    QStringList params;
    const auto flush = [&] {
        if (!section.isEmpty())
            addAlias(section, paramValue(params, QStringLiteral("DRIVER")), params);
    };
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            flush();
            section = line.mid(1, line.size() - 2).trimmed();
            params.clear();
        } else if (line.contains(QLatin1Char('='))) {
            params << line;
        }
    }
    flush();
}

void Session::addAlias(const QString &name, const QString &driver, const QStringList &params)
{
    aliases_.insert(name.toUpper(), Alias{name, driver, params});
}

bool Session::isAlias(const QString &name) const { return aliases_.contains(name.toUpper()); }

Alias Session::alias(const QString &name) const { return aliases_.value(name.toUpper()); }

QStringList Session::aliasNames() const
{
    QStringList out;
    for (const auto &a : aliases_)
        out << a.name;
    return out;
}

DatabaseLocation Session::resolve(const QString &databaseName, const QStringList &params) const
{
    QString name = databaseName.trimmed();
    if (name.startsWith(QLatin1Char('?')))
        name = name.mid(1);
    DatabaseLocation loc;
    if (name.contains(QLatin1Char('/'))) {
        loc.engine = EngineKind::SQLite;
        loc.folder = QDir(name).absolutePath();
        return loc;
    }
    const QString dbParam = paramValue(params, QStringLiteral("DATABASE NAME"));
    if (dbParam.contains(QLatin1Char('/')) || !paramValue(params, QStringLiteral("PATH")).isEmpty()) {
        loc.engine = EngineKind::SQLite;
        loc.folder = QDir(dbParam.contains(QLatin1Char('/')) ? dbParam : paramValue(params, QStringLiteral("PATH")))
                         .absolutePath();
        return loc;
    }
    if (!params.isEmpty() && !paramValue(params, QStringLiteral("SERVER NAME")).isEmpty() && engine_ != EngineKind::SQLite) {
        QStringList p = params;
        if (dbParam.isEmpty())
            setParamValue(p, QStringLiteral("DATABASE NAME"), name);
        return locationFromParams(p, engine_);
    }
    if (isAlias(name)) {
        const Alias a = alias(name);
        if (!paramValue(a.params, QStringLiteral("PATH")).isEmpty() || engine_ != EngineKind::SQLite) {
            QStringList p = a.params;
            if (paramValue(p, QStringLiteral("DATABASE NAME")).isEmpty())
                setParamValue(p, QStringLiteral("DATABASE NAME"), name);
            return locationFromParams(p, engine_);
        }
    }
    if (engine_ != EngineKind::SQLite && !name.isEmpty()) {
        // A database of the configured server, reached with the parameters of any alias
        // that names the same server (the program adds one per company database).
        for (const auto &a : aliases_) {
            if (paramValue(a.params, QStringLiteral("SERVER NAME")).isEmpty())
                continue;
            QStringList p = a.params;
            setParamValue(p, QStringLiteral("DATABASE NAME"), name);
            return locationFromParams(p, engine_);
        }
    }
    if (defaultFolder_.isEmpty())
        throw gp::DatabaseError(EngineText::PathNotFound + QStringLiteral(".\n") + databaseName);
    loc.engine = EngineKind::SQLite;
    loc.folder = defaultFolder_;
    return loc;
}

Connection &Session::connection(const QString &name)
{
    auto &slot = connections_[name.toUpper()];
    if (!slot)
        slot = std::make_unique<Connection>(*this, name);
    return *slot;
}

Connection *Session::findConnection(const QString &name) const
{
    const auto it = connections_.find(name.toUpper());
    return it == connections_.end() ? nullptr : it->second.get();
}

void Session::closeAll()
{
    for (auto &c : connections_)
        c.second->close();
    madeOpen_.clear();
    catalogues_.clear();
    checked_.reset();
    waitForDrivers();
}

void Session::prepareDriver(const DatabaseLocation &location)
{
    const QString driver = PhysicalConnection::driverName(location);
    if (loadingDrivers_.contains(driver))
        return;
    // PostgreSQL's connections are the engine's own: libpq is what there is to load.
    if (location.engine == EngineKind::PostgreSQL && location.odbcDriver.isEmpty()) {
        loadingDrivers_.insert(driver, std::async(std::launch::async, [] { pgClient(); }).share());
        return;
    }
    loadingDrivers_.insert(driver, std::async(std::launch::async, [driver] {
        // A connection of the driver made and removed: the plugin stays loaded. A driver not
        // installed is left for the opening to report.
        if (!QSqlDatabase::isDriverAvailable(driver))
            return;
        const QString name = QStringLiteral("plat.driverLoad.") + driver;
        QSqlDatabase::addDatabase(driver, name);
        QSqlDatabase::removeDatabase(name);
    }).share());
}

// The program closes its session before it ends: a load still running then must end while
// QtSql's registry of connections, gone before the session at exit, stands.
void Session::waitForDrivers()
{
    for (const auto &loading : std::as_const(loadingDrivers_))
        loading.wait();
}

bool Session::madeFile(const Connection &connection) const
{
    const auto physical = connection.physical();
    return physical && physical->location().isFolder() && madeFiles_.contains(physical->location().key());
}

std::shared_ptr<SharedCatalogue> Session::sharedCatalogue(const DatabaseLocation &location)
{
    auto &shared = catalogues_[location.key()];
    if (!shared)
        shared = std::make_shared<SharedCatalogue>();
    return shared;
}

std::shared_ptr<PhysicalConnection> Session::physicalFor(const DatabaseLocation &location, IsolationLevel isolation)
{
    if (location.isFolder()) {
        const QString key = location.key();
        if (auto existing = shared_.value(key).lock()) {
            madeOpen_.remove(key);
            return existing;
        }
        // A new database file is its owner's alone from its first byte (SQLite would make it
        // 0644, and its -wal and -shm files alike, which take the file's mode).
        const QString file = location.sqliteFile();
        bool madeAhead = false;
        if (const auto ahead = preparing_.constFind(key); ahead != preparing_.constEnd()) {
            madeAhead = ahead->get();
            preparing_.erase(ahead);
        }
        const bool made = madeAhead
            || (location.odbcDriver.isEmpty() && QFileInfo(location.folder).isDir() && !QFileInfo::exists(file)
                && createWalFile(file));
        auto pc = std::make_shared<PhysicalConnection>(*this, location);
        try {
            pc->open();
        } catch (const gp::Error &) {
            if (made)
                QFile::remove(file);
            throw;
        }
        shared_.insert(key, pc);
        if (made)
            madeFiles_.insert(key);
        return pc;
    }
    if (!sharesServerConnection(location)) {
        auto pc = std::make_shared<PhysicalConnection>(*this, location, isolation);
        pc->open();
        return pc;
    }
    // One connection of the server per database, as one per SQLite file: the session's
    // connections to it share it (and its transaction). One an existence check opened is
    // the next one's. Connections asking for another isolation level share another.
    const QString key = location.key() + u'\n' + QString::number(int(isolation));
    if (auto existing = shared_.value(key).lock())
        return existing;
    std::shared_ptr<PhysicalConnection> pc;
    if (checked_ && isolation == IsolationLevel::ReadCommitted && checked_->location().key() == location.key())
        pc = std::exchange(checked_, nullptr);
    if (!pc) {
        pc = std::make_shared<PhysicalConnection>(*this, location, isolation);
        pc->open();
    }
    shared_.insert(key, pc);
    return pc;
}

bool Session::sharesServerConnection(const DatabaseLocation &location)
{
    return location.engine == EngineKind::PostgreSQL && location.odbcDriver.isEmpty();
}

bool Session::databaseExists(const QString &databaseName, const QStringList &params)
{
    const DatabaseLocation loc = resolve(databaseName, params);
    if (loc.isFolder())
        return QFileInfo::exists(loc.sqliteFile());
    // A database the server says is missing does not exist (SQL Server words a missing one as
    // a failed log-in too); any other refusal goes up with the server's reason, rather than a
    // creation that cannot help.
    try {
        std::shared_ptr<PhysicalConnection> opened = physicalFor(loc);
        if (sharesServerConnection(loc))
            checked_ = std::move(opened);
        return true;
    } catch (const gp::DatabaseError &error) {
        if (error.kind() == gp::DatabaseErrorKind::MissingPath || error.kind() == gp::DatabaseErrorKind::UnknownUser)
            return false;
        throw;
    }
}

bool Session::prepareDatabase(const DatabaseLocation &location)
{
    if (!location.isFolder() || !location.odbcDriver.isEmpty() || preparing_.contains(location.key())
        || QFileInfo::exists(location.sqliteFile()) || !folderCreationProblem(location.folder).isEmpty()
        || !makeOwnerFolder(location.folder))
        return false;
    const QString file = location.sqliteFile();
    preparing_.insert(location.key(), std::async(std::launch::async, [file] { return createWalFile(file); }).share());
    return true;
}

bool Session::createDatabase(const QString &databaseName, const QStringList &serverStatements, const QStringList &params)
{
    const DatabaseLocation loc = resolve(databaseName, params);
    if (loc.isFolder()) {
        if (QFileInfo::exists(loc.sqliteFile()))
            return false;
        // One made earlier and removed since (a deleted company) is not handed out again.
        madeOpen_.remove(loc.key());
        if (const QString problem = folderCreationProblem(loc.folder); !problem.isEmpty())
            throw gp::DatabaseError(problem);
        if (!makeOwnerFolder(loc.folder))
            throw gp::DatabaseError(EngineText::PathNotFound + QStringLiteral(".\n") + loc.folder);
        madeOpen_.insert(loc.key(), physicalFor(loc));  // opening makes datos.sqlite
        return true;
    }
    if (databaseExists(databaseName, params))
        return false;
    const Dialect &dialect = Dialect::forEngine(loc.engine);
    DatabaseLocation server = loc;
    server.database = dialect.maintenanceDatabase();
    auto pc = physicalFor(server);
    try {
        for (const QString &sql : dialect.databaseCreation(loc.database, serverStatements))
            pc->exec(sql, {});
    } catch (const gp::DatabaseError &) {
        // Another program starting at the same moment made it first.
        if (databaseExists(databaseName, params))
            return false;
        throw;
    }
    return true;
}

} // namespace plat
