#include "store/database.h"

#include "core/logging.h"
#include "store/names.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brevane::store {

namespace {

const QString kFileName = QStringLiteral("Brevane Organizer Database.sqlite");
const QString kRowIdColumn = QStringLiteral("_rid");

// Every table with its fields in stored order.
const QList<std::pair<QString, QStringList>> &schemaTables()
{
    using namespace names;
    static const QList<std::pair<QString, QStringList>> tables = {
        {Agenda,
         {agenda::Task, agenda::Category, agenda::Alarm, agenda::Repeating, agenda::Reminder,
          agenda::ReminderDay, agenda::ReminderMonth, agenda::ReminderYear, agenda::StartHour,
          agenda::StartMinute, agenda::StartAmPm, agenda::EndHour, agenda::EndMinute, agenda::EndAmPm,
          agenda::Day, agenda::Month, agenda::Year, agenda::Date, agenda::Time, agenda::Duration}},
        {ToDo, {todo::Task, todo::Category, todo::Done, todo::Priority}},
        {Contacts,
         {QStringLiteral("Contacts First Name"), QStringLiteral("Contacts Middle Name"),
          QStringLiteral("Contacts Last Name"), QStringLiteral("Contacts Nickname"),
          QStringLiteral("Contacts Personal Email"), QStringLiteral("Contacts Home Street Address"),
          QStringLiteral("Contacts Home City"), QStringLiteral("Contacts Home State"),
          QStringLiteral("Contacts Home Zip Code"), QStringLiteral("Contacts Home Country"),
          QStringLiteral("Contacts Home Phone"), QStringLiteral("Contacts Home Fax"),
          QStringLiteral("Contacts Home Cell"), QStringLiteral("Contacts Home Web Page"),
          QStringLiteral("Contacts Business Company"), QStringLiteral("Contacts Business Job Title"),
          QStringLiteral("Contacts Business Street Address"), QStringLiteral("Contacts Business City"),
          QStringLiteral("Contacts Business State"), QStringLiteral("Contacts Business Zip Code"),
          QStringLiteral("Contacts Business Country"), QStringLiteral("Contacts Business Phone"),
          QStringLiteral("Contacts Business Fax"), QStringLiteral("Contacts Business Pager"),
          QStringLiteral("Contacts Business Cell Phone"), QStringLiteral("Contacts Business Web Page"),
          QStringLiteral("Contacts Birthday"), QStringLiteral("Contacts Anniversary"),
          QStringLiteral("Contacts Notes"), QStringLiteral("Category")}},
        {Notes, {notes::Title, notes::Note}},
        {QuickLinks, {quicklinks::ProgramName, quicklinks::ProgramPath}},
        {Options,
         {options::RequirePassword, options::Password, options::MinimizeToSystemTray,
          options::SortContactsBy, options::PlayHourChime, options::HourChime}},
        {EventAlarmSoundFile, {EventAlarmSoundFile}},
    };
    return tables;
}

struct ViewDefinition {
    QString name;
    QString table;
    QStringList orderBy; // ascending, case-insensitive; rowid always breaks ties
};

const QList<ViewDefinition> &schemaViews()
{
    using namespace names;
    static const QList<ViewDefinition> views = {
        {ToDoQuery, ToDo, {}},
        {QuickLinksQuery, QuickLinks, {quicklinks::ProgramName}},
        {NotesQuery, Notes, {notes::Title}},
        {ContactsQuery, Contacts,
         {QStringLiteral("Contacts Last Name"), QStringLiteral("Contacts First Name")}},
        {ContactsQueryFirstName, Contacts,
         {QStringLiteral("Contacts First Name"), QStringLiteral("Contacts Last Name")}},
    };
    return views;
}

QString quotedList(const QStringList &names, const QString &suffix = {})
{
    QStringList quoted;
    quoted.reserve(names.size());
    for (const QString &name : names)
        quoted << Database::quoteName(name) + suffix;
    return quoted.join(QStringLiteral(", "));
}

// The tables and views every organizer file holds: version 1, the file as
// the organizer has always had it.
QStringList baseStatements()
{
    QStringList statements;
    for (const auto &[table, fields] : schemaTables()) {
        // The empty default keeps fields that a new record leaves unset
        // readable as text and numerically 0, like every other empty field.
        statements << QStringLiteral("CREATE TABLE %1 (%2)")
                          .arg(Database::quoteName(table),
                               quotedList(fields, QStringLiteral(" TEXT DEFAULT ''")));
    }
    for (const ViewDefinition &view : schemaViews()) {
        QString order = quotedList(view.orderBy, QStringLiteral(" COLLATE NOCASE"));
        order += order.isEmpty() ? QStringLiteral("rowid") : QStringLiteral(", rowid");
        statements << QStringLiteral("CREATE VIEW %1 AS SELECT rowid AS %2, %3 FROM %4 ORDER BY %5")
                          .arg(Database::quoteName(view.name), Database::quoteName(kRowIdColumn),
                               quotedList(Database::fieldsOf(view.table)),
                               Database::quoteName(view.table), order);
    }
    return statements;
}

// Version 2: the indexes behind the views' order and the agenda's month
// look-up. Files of version 1 may or may not have them.
QStringList indexStatements()
{
    using namespace names;
    QStringList statements;
    for (const ViewDefinition &view : schemaViews()) {
        if (view.orderBy.isEmpty())
            continue;
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                          .arg(Database::quoteName(view.name + QStringLiteral(" order")),
                               Database::quoteName(view.table),
                               quotedList(view.orderBy, QStringLiteral(" COLLATE NOCASE")));
    }
    // The main window reads the agenda one month at a time; record sets filter
    // with exactly these expressions so that the look-up uses the index.
    statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (CAST(%3 AS INTEGER), CAST(%4 AS INTEGER))")
                      .arg(Database::quoteName(QStringLiteral("Agenda month")), Database::quoteName(Agenda),
                           Database::quoteName(agenda::Year), Database::quoteName(agenda::Month));
    return statements;
}

// Version 3: the agenda by day. The main window reads one day's tasks and
// asks which days of a month have any; the reminder check reads the tasks
// that have a reminder date, a few among many, from their own smaller index.
// The month index stays for reading whole months in table order. The day
// index also holds the start and end times, and the stored date fields
// themselves (SQLite counts only plain fields when it checks that an index
// holds all a query reads), so that what the agenda grid shows of a day is
// found in the index alone, without reading each of the day's tasks. The
// reminder index holds the reminder dates, so that only due tasks are read.
QStringList dayIndexStatements()
{
    using namespace names;
    const auto number = [](const QString &field) {
        return QStringLiteral("CAST(%1 AS INTEGER)").arg(Database::quoteName(field));
    };
    const QString date = QStringList{number(agenda::Year), number(agenda::Month), number(agenda::Day)}.join(
        QStringLiteral(", "));
    const QString covered = quotedList({agenda::StartHour, agenda::StartMinute, agenda::StartAmPm, agenda::EndHour,
                                      agenda::EndMinute, agenda::EndAmPm, agenda::Year, agenda::Month, agenda::Day});
    return {
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3, %4)")
            .arg(Database::quoteName(QStringLiteral("Agenda day")), Database::quoteName(Agenda), date, covered),
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3, %4) WHERE %5 <> ''")
            .arg(Database::quoteName(QStringLiteral("Agenda reminders")), Database::quoteName(Agenda), date,
                 quotedList({agenda::ReminderYear, agenda::ReminderMonth, agenda::ReminderDay}),
                 Database::quoteName(agenda::ReminderDay)),
    };
}

// Version 4: the UIDs that records carry in calendar and address-book files,
// kept beside the tables so that these keep the layout older files have. A
// record's UID goes with the record: a trigger per table removes it when the
// record is deleted, so that an identity the file reuses starts without one.
QStringList uidStatements()
{
    const QString uids = Database::quoteName(QStringLiteral("Record UIDs"));
    QStringList statements;
    statements << QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (\"Table Name\" TEXT NOT NULL, \"Record\" INTEGER "
                                 "NOT NULL, \"UID\" TEXT NOT NULL, UNIQUE (\"Table Name\", \"Record\"), "
                                 "UNIQUE (\"Table Name\", \"UID\"))")
                      .arg(uids);
    for (const QString &table : {names::Agenda, names::ToDo, names::Notes, names::Contacts}) {
        statements << QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 AFTER DELETE ON %2 BEGIN DELETE FROM %3 "
                                     "WHERE \"Table Name\" = '%4' AND \"Record\" = OLD.rowid; END")
                          .arg(Database::quoteName(table + QStringLiteral(" UID")), Database::quoteName(table),
                               uids, table);
    }
    return statements;
}

// The steps from one version to the next, in order: the entry for version n
// turns a file of version n - 1 into one of version n. A new file is built
// from the base statements and every step, so that it equals an upgraded one.
struct Migration {
    int version;
    QStringList (*statements)();
};

const QList<Migration> &migrations()
{
    static const QList<Migration> steps = {
        {2, indexStatements},
        {3, dayIndexStatements},
        {4, uidStatements},
    };
    return steps;
}

QString nextConnectionName()
{
    static std::atomic<quint64> counter{0};
    return QStringLiteral("brevane-store-%1").arg(++counter);
}

QString databaseText(const QSqlError &error)
{
    const QString text = error.databaseText();
    return text.isEmpty() ? error.text() : text;
}

// SQLite's primary result code of a failed statement.
int sqliteCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xff : -1;
}

constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteCorrupt = 11;

QString notOrganizerFile(const QString &path, const QString &what)
{
    return QStringLiteral("The file '%1' is not a Brevane Organizer data file: %2").arg(path, what);
}

QString inUse(const QString &path)
{
    return QStringLiteral("The file '%1' is in use by another program.").arg(path);
}

// A file another program holds locked and a damaged organizer file are told
// apart from the rest; `otherwise` says what any other failure means.
QString fileProblem(const QString &path, const QSqlError &error, const QString &otherwise)
{
    switch (sqliteCode(error)) {
    case kSqliteBusy:
    case kSqliteLocked:
        return inUse(path);
    case kSqliteCorrupt:
        return QStringLiteral("The file '%1' is damaged: %2.").arg(path, databaseText(error));
    default:
        return otherwise;
    }
}

// What a failed read of an existing file tells the user.
QString readProblem(const QString &path, const QSqlError &error)
{
    return fileProblem(path, error,
                       notOrganizerFile(path, QStringLiteral("it cannot be read as an SQLite database (%1).")
                                                  .arg(databaseText(error))));
}

QString writeProblem(const QString &path, const QSqlError &error)
{
    return fileProblem(path, error,
                       QStringLiteral("The file '%1' cannot be written: %2.").arg(path, databaseText(error)));
}

// SQLite must never see a file that is not SQLite: it would answer with an
// error today, but nothing should depend on what it does with foreign bytes.
// Nor may it open anything but a regular file: reading a FIFO waits for a
// writer that never comes, so it is opened without waiting and refused.
QString checkHeader(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode))
        return notOrganizerFile(path, QStringLiteral("it is a folder."));
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return QStringLiteral("The file '%1' cannot be read: %2.")
            .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    const auto closeFile = qScopeGuard([fd] { ::close(fd); });
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return notOrganizerFile(path, QStringLiteral("it is not a regular file."));
    if (info.st_size == 0)
        return notOrganizerFile(path, QStringLiteral("it is empty."));
    static const QByteArray magic("SQLite format 3\0", 16);
    char header[16];
    if (::pread(fd, header, sizeof header, 0) != qsizetype(sizeof header) || QByteArray(header, 16) != magic)
        return notOrganizerFile(path, QStringLiteral("it is not an SQLite database."));
    return {};
}

QString checkSchema(const QSqlDatabase &connection, const QString &path)
{
    QSqlQuery master(connection);
    master.setForwardOnly(true);
    if (!master.exec(QStringLiteral("SELECT type, name FROM sqlite_master")))
        return readProblem(path, master.lastError());
    QSet<QString> tables;
    QSet<QString> views;
    while (master.next()) {
        const QString type = master.value(0).toString();
        if (type == QLatin1String("table"))
            tables.insert(master.value(1).toString());
        else if (type == QLatin1String("view"))
            views.insert(master.value(1).toString());
    }
    if (master.lastError().isValid())
        return readProblem(path, master.lastError());

    QString problem;
    const auto missingField = [&](const QString &source, const QStringList &fields) -> QString {
        QSqlQuery info(connection);
        info.setForwardOnly(true);
        info.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)"));
        info.addBindValue(source);
        if (!info.exec()) {
            problem = readProblem(path, info.lastError());
            return problem;
        }
        QSet<QString> present;
        while (info.next())
            present.insert(info.value(0).toString());
        for (const QString &field : fields) {
            if (!present.contains(field))
                return QStringLiteral("\"%1\" has no field \"%2\".").arg(source, field);
        }
        return {};
    };

    for (const auto &[table, fields] : schemaTables()) {
        if (!tables.contains(table))
            return notOrganizerFile(path, QStringLiteral("the table \"%1\" is missing.").arg(table));
        if (const QString missing = missingField(table, fields); !missing.isEmpty())
            return problem.isEmpty() ? notOrganizerFile(path, QStringLiteral("the table %1").arg(missing)) : problem;
    }
    for (const ViewDefinition &view : schemaViews()) {
        if (!views.contains(view.name))
            return notOrganizerFile(path, QStringLiteral("the view \"%1\" is missing.").arg(view.name));
        const QStringList fields = QStringList{kRowIdColumn} + Database::fieldsOf(view.table);
        if (const QString missing = missingField(view.name, fields); !missing.isEmpty())
            return problem.isEmpty() ? notOrganizerFile(path, QStringLiteral("the view %1").arg(missing)) : problem;
    }
    return {};
}

bool hasTable(const QSqlDatabase &connection, const QString &table)
{
    QSqlQuery query(connection);
    query.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"));
    query.addBindValue(table);
    return query.exec() && query.next();
}

// The file's schema version; files from before versions were kept read as 0.
bool readVersion(const QSqlDatabase &connection, int *version, QSqlError *error)
{
    QSqlQuery query(connection);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        *error = query.lastError();
        return false;
    }
    *version = query.value(0).toInt();
    return true;
}

// Proves that the file takes writes without changing it: a change of the
// file's header inside a transaction that is rolled back. A change that
// changes nothing would never reach the journal, so a file in a folder where
// no journal can be made would pass; and as the superuser every permission
// check passes, so only a real attempt tells.
QString checkWritable(QSqlDatabase connection, const QString &path, int version)
{
    if (!QFileInfo(path).isWritable())
        return QStringLiteral("The file '%1' cannot be written: it is read-only.").arg(path);
    if (!connection.transaction())
        return writeProblem(path, connection.lastError());
    QString problem;
    {
        QSqlQuery trial(connection);
        if (!trial.exec(QStringLiteral("PRAGMA user_version = %1").arg(version + 1)))
            problem = writeProblem(path, trial.lastError());
    }
    if (!connection.rollback())
        qCWarning(lcStore) << "trial write not rolled back:" << connection.lastError().text();
    return problem;
}

// Runs statements and sets the version in one transaction: all or nothing.
QString runInTransaction(QSqlDatabase connection, const QStringList &statements, int version,
                         const std::function<QString(const QSqlError &)> &problemOf)
{
    if (!connection.transaction())
        return problemOf(connection.lastError());
    for (const QString &statement : statements + QStringList{QStringLiteral("PRAGMA user_version = %1").arg(version)}) {
        QSqlQuery query(connection);
        if (!query.exec(statement)) {
            qCWarning(lcStore) << "schema statement failed:" << statement << query.lastError().text();
            const QString problem = problemOf(query.lastError());
            query.finish();
            connection.rollback();
            return problem;
        }
    }
    if (!connection.commit()) {
        const QString problem = problemOf(connection.lastError());
        connection.rollback();
        return problem;
    }
    return {};
}

QString upgrade(QSqlDatabase connection, const QString &path, int version)
{
    QStringList statements;
    for (const Migration &step : migrations()) {
        if (step.version > version)
            statements += step.statements();
    }
    qCInfo(lcStore) << "upgrading" << path << "from version" << version << "to" << Database::kSchemaVersion;
    return runInTransaction(connection, statements, Database::kSchemaVersion, [&](const QSqlError &error) {
        return QStringLiteral("The file '%1' could not be brought up to date: %2")
            .arg(path, writeProblem(path, error));
    });
}

// Every connection writes with a full sync of the file and, after the journal
// is deleted, of its folder: a save the user saw confirmed survives a power
// cut, not only a crash of the program.
QString openConnection(QSqlDatabase &connection, const QString &path, Database::Access access)
{
    connection.setDatabaseName(path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000");
    if (access == Database::Access::ReadOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    connection.setConnectOptions(options);
    if (!connection.open()) {
        return QStringLiteral("The file '%1' cannot be opened: %2.").arg(path, databaseText(connection.lastError()));
    }
    QSqlQuery pragma(connection);
    if (!pragma.exec(QStringLiteral("PRAGMA synchronous = EXTRA")))
        return readProblem(path, pragma.lastError());
    return {};
}

std::function<void(Database::CreationStep)> &creationHook()
{
    static std::function<void(Database::CreationStep)> hook;
    return hook;
}

void reachedStep(Database::CreationStep step)
{
    // A copy, so that the hook may replace itself.
    if (const auto hook = creationHook())
        hook(step);
}

bool syncPath(const QString &path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

enum class MoveResult { Moved, TargetExists, Failed };

// Moves a file into place unless something already stands there.
MoveResult moveIntoPlace(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return MoveResult::Moved;
    if (errno == EEXIST)
        return MoveResult::TargetExists;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return MoveResult::Failed;
    // File systems without the no-replace rename: a hard link fails as well
    // when the name is taken.
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return MoveResult::Moved;
    }
    if (errno == EEXIST)
        return MoveResult::TargetExists;
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP)
        return MoveResult::Failed;
    // Nor hard links (FAT and the like): a plain rename, checked just before.
    struct stat info {};
    if (::lstat(target.constData(), &info) == 0)
        return MoveResult::TargetExists;
    return ::rename(source.constData(), target.constData()) == 0 ? MoveResult::Moved : MoveResult::Failed;
}

enum class Creation { Created, AlreadyThere, Failed };

// Builds a new file under a temporary name in the same folder and moves it
// into place once it is complete and on disk, so that a data file either does
// not exist or is whole, whenever the program stops. When another start made
// the file meanwhile, that one is kept.
Creation createFile(const QString &path, QString *problem)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    if (!QDir().mkpath(folder)) {
        *problem = QStringLiteral("The folder '%1' cannot be created.").arg(folder);
        return Creation::Failed;
    }
    QString tempPath;
    {
        // Private from its first byte: the file will hold the password.
        QTemporaryFile temp(folder + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
        temp.setAutoRemove(false);
        if (!temp.open()) {
            *problem = QStringLiteral("The file '%1' cannot be created: %2.").arg(path, temp.errorString());
            return Creation::Failed;
        }
        tempPath = temp.fileName();
    }
    auto removeTemp = qScopeGuard([&] {
        QFile::remove(tempPath);
        QFile::remove(tempPath + QStringLiteral("-journal"));
    });
    reachedStep(Database::CreationStep::TempFileCreated);
    qCDebug(lcStore) << "creating data file" << path << "as" << tempPath;

    const QString connectionName = nextConnectionName();
    {
        QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        *problem = openConnection(connection, tempPath, Database::Access::ReadWrite);
        QStringList statements = baseStatements();
        for (const Migration &step : migrations())
            statements += step.statements();
        statements << QStringLiteral("INSERT INTO %1 (%2) VALUES ('False', '', 'False', 'last', '0', '')")
                          .arg(Database::quoteName(names::Options),
                               quotedList(Database::fieldsOf(names::Options)));
        statements << QStringLiteral("INSERT INTO %1 (%1) VALUES ('')")
                          .arg(Database::quoteName(names::EventAlarmSoundFile));
        statements << QStringLiteral("PRAGMA user_version = %1").arg(Database::kSchemaVersion);
        if (problem->isEmpty() && !connection.transaction())
            *problem = connection.lastError().text();
        for (const QString &statement : std::as_const(statements)) {
            if (!problem->isEmpty())
                break;
            QSqlQuery query(connection);
            if (!query.exec(statement)) {
                qCWarning(lcStore) << "schema statement failed:" << statement << query.lastError().text();
                *problem = databaseText(query.lastError());
            }
        }
        if (problem->isEmpty()) {
            reachedStep(Database::CreationStep::SchemaBuilt);
            if (!connection.commit())
                *problem = databaseText(connection.lastError());
        }
        connection.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    if (!problem->isEmpty()) {
        *problem = QStringLiteral("The file '%1' cannot be created: %2.").arg(path, *problem);
        return Creation::Failed;
    }
    reachedStep(Database::CreationStep::Committed);

    if (!syncPath(tempPath, O_RDWR)) {
        *problem = QStringLiteral("The file '%1' cannot be created: %2.")
                       .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return Creation::Failed;
    }
    reachedStep(Database::CreationStep::Synced);

    switch (moveIntoPlace(tempPath, path)) {
    case MoveResult::Moved:
        break;
    case MoveResult::TargetExists:
        qCDebug(lcStore) << "another start created" << path << "first";
        return Creation::AlreadyThere;
    case MoveResult::Failed:
        *problem = QStringLiteral("The file '%1' cannot be created: %2.")
                       .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return Creation::Failed;
    }
    removeTemp.dismiss();
    reachedStep(Database::CreationStep::Renamed);
    if (!syncPath(folder, O_RDONLY | O_DIRECTORY))
        qCWarning(lcStore) << "folder" << folder << "not synced:" << std::strerror(errno);
    reachedStep(Database::CreationStep::FolderSynced);
    return Creation::Created;
}

} // namespace

Database::Database(QString path, QString connectionName)
    : m_path(std::move(path))
    , m_connectionName(std::move(connectionName))
{
}

Database::~Database()
{
    {
        QSqlDatabase connection = QSqlDatabase::database(m_connectionName, false);
        if (connection.isOpen())
            connection.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QString Database::defaultPath()
{
    const QString portable = QCoreApplication::applicationDirPath() + u'/' + kFileName;
    if (QFileInfo::exists(portable))
        return portable;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u'/' + kFileName;
}

void Database::setCreationHook(std::function<void(CreationStep)> hook)
{
    creationHook() = std::move(hook);
}

std::unique_ptr<Database> Database::open(const QString &path, QString *error, Access access)
{
    const auto fail = [&](const QString &reason) {
        qCWarning(lcStore).noquote() << reason;
        if (error)
            *error = reason;
        return std::unique_ptr<Database>();
    };

    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        if (access == Access::ReadOnly)
            return fail(QStringLiteral("The file '%1' does not exist.").arg(path));
        QString problem;
        if (createFile(path, &problem) == Creation::Failed)
            return fail(problem);
    }
    if (const QString problem = checkHeader(path); !problem.isEmpty())
        return fail(problem);

    std::unique_ptr<Database> db(new Database(path, nextConnectionName()));
    QString problem;
    {
        QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), db->m_connectionName);
        problem = openConnection(connection, path, access);
        int version = 0;
        QSqlError readError;
        if (problem.isEmpty() && !readVersion(connection, &version, &readError))
            problem = readProblem(path, readError);
        const QString schemaProblem = problem.isEmpty() ? checkSchema(connection, path) : QString();
        // A newer program may have changed its tables, so a file of a newer
        // version is told apart from a foreign one by its agenda alone. It is
        // never written.
        if (problem.isEmpty() && version > kSchemaVersion && hasTable(connection, names::Agenda)) {
            problem = QStringLiteral("The file '%1' was written by a newer version of Brevane Organizer "
                                     "(data version %2; this version reads up to %3).  Please use the newer "
                                     "version.")
                          .arg(path)
                          .arg(version)
                          .arg(kSchemaVersion);
        }
        if (problem.isEmpty())
            problem = schemaProblem;
        if (problem.isEmpty())
            problem = checkWritable(connection, path, version);
        if (problem.isEmpty() && version < kSchemaVersion)
            problem = upgrade(connection, path, version);
    }
    if (!problem.isEmpty()) {
        db.reset();
        return fail(problem);
    }
    qCDebug(lcStore) << "opened data file" << path;
    return db;
}

std::unique_ptr<Database> Database::openAlongside(const QString &path, QString *error)
{
    const auto fail = [&](const QString &reason) {
        qCWarning(lcStore).noquote() << reason;
        if (error)
            *error = reason;
        return std::unique_ptr<Database>();
    };
    if (const QString problem = checkHeader(path); !problem.isEmpty())
        return fail(problem);
    std::unique_ptr<Database> db(new Database(path, nextConnectionName()));
    QString problem;
    {
        QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), db->m_connectionName);
        problem = openConnection(connection, path, Access::ReadWrite);
        int version = 0;
        QSqlError readError;
        if (problem.isEmpty() && !readVersion(connection, &version, &readError))
            problem = readProblem(path, readError);
        // The tables this program expects are those of its version; an
        // upgrade is the first connection's business.
        if (problem.isEmpty() && version != kSchemaVersion)
            problem = QStringLiteral("The file '%1' cannot be used beside the window: its data version is %2, not %3.")
                          .arg(path)
                          .arg(version)
                          .arg(kSchemaVersion);
    }
    if (!problem.isEmpty()) {
        db.reset();
        return fail(problem);
    }
    return db;
}

namespace {

// SQLite's own handle of the connection; nullptr for another driver.
sqlite3 *sqliteHandle(const QSqlDatabase &connection)
{
    const QVariant handle = connection.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

} // namespace

void Database::setStopCheck(std::function<bool()> stop)
{
    m_stop = std::move(stop);
    sqlite3 *sqlite = sqliteHandle(connection());
    if (!sqlite) {
        qCWarning(lcStore) << "reads on" << m_path << "cannot be stopped: no SQLite handle";
        return;
    }
    if (!m_stop) {
        sqlite3_progress_handler(sqlite, 0, nullptr, nullptr);
        return;
    }
    // A non-zero answer makes SQLite end the statement with an interruption.
    constexpr int kStepsBetweenChecks = 1000;
    sqlite3_progress_handler(
        sqlite, kStepsBetweenChecks,
        [](void *self) { return static_cast<Database *>(self)->m_stop() ? 1 : 0; }, this);
}

const QStringList &Database::tableNames()
{
    static const QStringList names = [] {
        QStringList result;
        for (const auto &table : schemaTables())
            result << table.first;
        return result;
    }();
    return names;
}

const QStringList &Database::viewNames()
{
    static const QStringList names = [] {
        QStringList result;
        for (const ViewDefinition &view : schemaViews())
            result << view.name;
        return result;
    }();
    return names;
}

QStringList Database::fieldsOf(const QString &table)
{
    for (const auto &[name, fields] : schemaTables()) {
        if (name == table)
            return fields;
    }
    return {};
}

QString Database::baseTableOf(const QString &source)
{
    if (tableNames().contains(source))
        return source;
    for (const ViewDefinition &view : schemaViews()) {
        if (view.name == source)
            return view.table;
    }
    return {};
}

QString Database::quoteName(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

Batch::Batch(Database &db) : m_db(db)
{
    QSqlDatabase connection = m_db.connection();
    m_active = connection.transaction();
    if (m_active)
        ++m_db.m_openUnits;
    else
        m_error = connection.lastError().text();
}

Batch::~Batch()
{
    if (m_active) {
        m_db.connection().rollback();
        --m_db.m_openUnits;
    }
}

bool Batch::commit()
{
    if (!m_active)
        return false;
    QSqlDatabase connection = m_db.connection();
    m_active = false;
    --m_db.m_openUnits;
    if (connection.commit())
        return true;
    m_error = connection.lastError().text();
    connection.rollback();
    return false;
}

Transaction::Transaction(Database &db) : m_db(db)
{
    static std::atomic<quint64> counter{0};
    m_name = QStringLiteral("brevane_%1").arg(++counter);
    QSqlQuery query(m_db.connection());
    m_outermost = m_db.m_openUnits == 0;
    m_active = query.exec(QStringLiteral("SAVEPOINT ") + m_name);
    if (m_active)
        ++m_db.m_openUnits;
    else
        m_error = databaseText(query.lastError());
}

Transaction::~Transaction()
{
    if (m_active)
        rollback();
}

void Transaction::rollback()
{
    m_active = false;
    --m_db.m_openUnits;
    QSqlQuery query(m_db.connection());
    // The outermost one ends the transaction: releasing a savepoint that was
    // rolled back would still write the pages it touched, and a new change
    // count, to a file that should stay exactly as it was.
    if (m_outermost) {
        // A stopped statement may have ended the transaction already.
        if (sqlite3 *sqlite = sqliteHandle(m_db.connection()); sqlite && sqlite3_get_autocommit(sqlite))
            return;
        if (!query.exec(QStringLiteral("ROLLBACK")))
            qCWarning(lcStore) << "transaction not rolled back:" << query.lastError().text();
        return;
    }
    // Rolling back to a savepoint keeps it open; releasing it then ends it.
    if (!query.exec(QStringLiteral("ROLLBACK TO ") + m_name) || !query.exec(QStringLiteral("RELEASE ") + m_name)) {
        qCWarning(lcStore) << "savepoint not rolled back:" << query.lastError().text();
        (void)query.exec(QStringLiteral("ROLLBACK"));
    }
}

bool Transaction::commit()
{
    if (!m_active)
        return false;
    QSqlQuery query(m_db.connection());
    if (query.exec(QStringLiteral("RELEASE ") + m_name)) {
        m_active = false;
        --m_db.m_openUnits;
        return true;
    }
    m_error = databaseText(query.lastError());
    rollback();
    return false;
}

} // namespace brevane::store
