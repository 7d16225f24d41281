#include "store/database.h"

#include "core/logging.h"
#include "store/names.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

#include <atomic>

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

QStringList schemaStatements()
{
    using namespace names;
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
        if (!view.orderBy.isEmpty()) {
            statements << QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                              .arg(Database::quoteName(view.name + QStringLiteral(" order")),
                                   Database::quoteName(view.table),
                                   quotedList(view.orderBy, QStringLiteral(" COLLATE NOCASE")));
        }
    }
    // The main window reads the agenda one month at a time; record sets filter
    // with exactly these expressions so that the look-up uses the index.
    statements << QStringLiteral("CREATE INDEX %1 ON %2 (CAST(%3 AS INTEGER), CAST(%4 AS INTEGER))")
                      .arg(Database::quoteName(QStringLiteral("Agenda month")), Database::quoteName(Agenda),
                           Database::quoteName(agenda::Year), Database::quoteName(agenda::Month));
    return statements;
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

QString notOrganizerFile(const QString &path, const QString &what)
{
    return QStringLiteral("The file '%1' is not a Brevane Organizer data file: %2").arg(path, what);
}

// SQLite must never see a file that is not SQLite: it would answer with an
// error today, but nothing should depend on what it does with foreign bytes.
QString checkHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("The file '%1' cannot be read: %2.").arg(path, file.errorString());
    if (file.size() == 0)
        return notOrganizerFile(path, QStringLiteral("it is empty."));
    static const QByteArray magic("SQLite format 3\0", 16);
    if (file.read(16) != magic)
        return notOrganizerFile(path, QStringLiteral("it is not an SQLite database."));
    return {};
}

QString checkSchema(const QSqlDatabase &connection, const QString &path)
{
    QSqlQuery master(connection);
    master.setForwardOnly(true);
    if (!master.exec(QStringLiteral("SELECT type, name FROM sqlite_master"))) {
        return notOrganizerFile(path, QStringLiteral("it cannot be read as an SQLite database (%1).")
                                          .arg(databaseText(master.lastError())));
    }
    QSet<QString> tables;
    QSet<QString> views;
    while (master.next()) {
        const QString type = master.value(0).toString();
        if (type == QLatin1String("table"))
            tables.insert(master.value(1).toString());
        else if (type == QLatin1String("view"))
            views.insert(master.value(1).toString());
    }

    const auto missingField = [&](const QString &source, const QStringList &fields) -> QString {
        QSqlQuery info(connection);
        info.setForwardOnly(true);
        info.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)"));
        info.addBindValue(source);
        if (!info.exec())
            return QStringLiteral("\"%1\" cannot be read (%2).").arg(source, databaseText(info.lastError()));
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
        if (const QString problem = missingField(table, fields); !problem.isEmpty())
            return notOrganizerFile(path, QStringLiteral("the table %1").arg(problem));
    }
    for (const ViewDefinition &view : schemaViews()) {
        if (!views.contains(view.name))
            return notOrganizerFile(path, QStringLiteral("the view \"%1\" is missing.").arg(view.name));
        const QStringList fields = QStringList{kRowIdColumn} + Database::fieldsOf(view.table);
        if (const QString problem = missingField(view.name, fields); !problem.isEmpty())
            return notOrganizerFile(path, QStringLiteral("the view %1").arg(problem));
    }
    return {};
}

// Proves that the file takes writes without changing it: a write inside a
// transaction that is rolled back. As the superuser every permission check
// passes, so only a real attempt tells.
QString checkWritable(QSqlDatabase connection, const QString &path)
{
    if (!QFileInfo(path).isWritable())
        return QStringLiteral("The file '%1' cannot be written: it is read-only.").arg(path);
    if (!connection.transaction()) {
        return QStringLiteral("The file '%1' cannot be written: %2.")
            .arg(path, databaseText(connection.lastError()));
    }
    QString problem;
    {
        QSqlQuery trial(connection);
        const QString options = Database::quoteName(names::Options);
        const QString password = Database::quoteName(names::options::Password);
        if (!trial.exec(QStringLiteral("UPDATE %1 SET %2 = %2 WHERE rowid = (SELECT min(rowid) FROM %1)")
                            .arg(options, password))) {
            problem = QStringLiteral("The file '%1' cannot be written: %2.")
                          .arg(path, databaseText(trial.lastError()));
        }
    }
    if (!connection.rollback())
        qCWarning(lcStore) << "trial write not rolled back:" << connection.lastError().text();
    return problem;
}

QString createSchema(QSqlDatabase connection, const QString &path)
{
    const auto failure = [&](const QSqlError &error) {
        return QStringLiteral("The file '%1' cannot be created: %2.").arg(path, databaseText(error));
    };
    if (!connection.transaction())
        return failure(connection.lastError());
    QStringList statements = schemaStatements();
    statements << QStringLiteral("INSERT INTO %1 (%2) VALUES ('False', '', 'False', 'last', '0', '')")
                      .arg(Database::quoteName(names::Options),
                           quotedList(Database::fieldsOf(names::Options)));
    statements << QStringLiteral("INSERT INTO %1 (%1) VALUES ('')")
                      .arg(Database::quoteName(names::EventAlarmSoundFile));
    for (const QString &statement : std::as_const(statements)) {
        QSqlQuery query(connection);
        if (!query.exec(statement)) {
            const QString error = failure(query.lastError());
            qCWarning(lcStore) << "schema statement failed:" << statement << query.lastError().text();
            query.finish();
            connection.rollback();
            return error;
        }
    }
    if (!connection.commit())
        return failure(connection.lastError());
    return {};
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

std::unique_ptr<Database> Database::open(const QString &path, QString *error, Access access)
{
    const auto fail = [&](const QString &reason) {
        qCWarning(lcStore).noquote() << reason;
        if (error)
            *error = reason;
        return std::unique_ptr<Database>();
    };

    const QFileInfo info(path);
    const bool create = !info.exists() && !info.isSymLink();
    if (create) {
        if (access == Access::ReadOnly)
            return fail(QStringLiteral("The file '%1' does not exist.").arg(path));
        const QString folder = info.absolutePath();
        if (!QDir().mkpath(folder))
            return fail(QStringLiteral("The folder '%1' cannot be created.").arg(folder));
        // Created here rather than by SQLite so that the file holding the
        // password is private from its first byte.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                       QFileDevice::ReadOwner | QFileDevice::WriteOwner))
            return fail(QStringLiteral("The file '%1' cannot be created: %2.").arg(path, file.errorString()));
        file.close();
        qCDebug(lcStore) << "creating data file" << path;
    } else {
        if (info.isDir())
            return fail(notOrganizerFile(path, QStringLiteral("it is a folder.")));
        if (const QString problem = checkHeader(path); !problem.isEmpty())
            return fail(problem);
    }

    std::unique_ptr<Database> db(new Database(path, nextConnectionName()));
    QString problem;
    {
        QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), db->m_connectionName);
        connection.setDatabaseName(path);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000");
        if (access == Access::ReadOnly)
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        connection.setConnectOptions(options);
        if (!connection.open()) {
            problem = QStringLiteral("The file '%1' cannot be opened: %2.")
                          .arg(path, databaseText(connection.lastError()));
        } else if (create) {
            problem = createSchema(connection, path);
        } else {
            problem = checkSchema(connection, path);
            if (problem.isEmpty())
                problem = checkWritable(connection, path);
        }
    }
    if (!problem.isEmpty()) {
        db.reset();
        if (create) {
            QFile::remove(path);
            QFile::remove(path + QStringLiteral("-journal"));
        }
        return fail(problem);
    }
    qCDebug(lcStore) << "opened data file" << path;
    return db;
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
    if (!m_active)
        m_error = connection.lastError().text();
}

Batch::~Batch()
{
    if (m_active)
        m_db.connection().rollback();
}

bool Batch::commit()
{
    if (!m_active)
        return false;
    QSqlDatabase connection = m_db.connection();
    m_active = false;
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
    m_active = query.exec(QStringLiteral("SAVEPOINT ") + m_name);
    if (!m_active)
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
    QSqlQuery query(m_db.connection());
    // Rolling back to a savepoint keeps it open; releasing it then ends the
    // transaction with nothing to write.
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
        return true;
    }
    m_error = databaseText(query.lastError());
    rollback();
    return false;
}

} // namespace brevane::store
