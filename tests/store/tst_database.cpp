#include "store/database.h"
#include "store/names.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace brevane;
using store::Database;
using store::Batch;
using store::RecordSet;
namespace names = store::names;

namespace {

struct FileState {
    QByteArray bytes;
    QDateTime modified;
    bool operator==(const FileState &) const = default;
};

FileState stateOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return {file.readAll(), QFileInfo(path).lastModified()};
}

// Back-dates the file so that a write within the same second still shows.
void backdate(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadWrite))
        file.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(12, 0)), QFileDevice::FileModificationTime);
}

// Runs statements on a file through a connection of the test's own.
QString execRaw(const QString &path, const QStringList &statements)
{
    const QString name = QStringLiteral("raw-%1").arg(quintptr(&path));
    QString error;
    {
        QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        connection.setDatabaseName(path);
        if (!connection.open())
            error = connection.lastError().text();
        for (const QString &statement : statements) {
            QSqlQuery query(connection);
            if (error.isEmpty() && !query.exec(statement))
                error = query.lastError().text();
        }
        connection.close();
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

bool createOrganizerFile(const QString &path)
{
    QString error;
    return Database::open(path, &error) != nullptr;
}

} // namespace

class DatabaseTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstOpenCreatesPrivateFileWithSchema()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("new folder/inner/Brevane Organizer Database.sqlite"));
        QString error;
        const auto db = Database::open(path, &error);
        QVERIFY2(db, qPrintable(error));

        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0600));

        QSqlQuery query(db->connection());
        QHash<QString, QString> types;
        QVERIFY(query.exec(QStringLiteral("SELECT name, type FROM sqlite_master")));
        while (query.next())
            types.insert(query.value(0).toString(), query.value(1).toString());
        for (const QString &table : Database::tableNames())
            QVERIFY2(types.value(table) == QLatin1String("table"), qPrintable(table));
        for (const QString &view : Database::viewNames())
            QVERIFY2(types.value(view) == QLatin1String("view"), qPrintable(view));
        QCOMPARE(Database::tableNames().size(), 7);
        QCOMPARE(Database::viewNames().size(), 5);
        QCOMPARE(Database::fieldsOf(store::names::Agenda).size(), 20);
        QCOMPARE(Database::fieldsOf(store::names::Contacts).size(), 30);

        // Stored field order is what a record set lists.
        for (const QString &table : Database::tableNames()) {
            QSqlQuery fields(db->connection());
            fields.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)"));
            fields.addBindValue(table);
            QVERIFY(fields.exec());
            QStringList names;
            while (fields.next())
                names << fields.value(0).toString();
            QCOMPARE(names, Database::fieldsOf(table));
        }

        QVERIFY(query.exec(QStringLiteral("SELECT * FROM \"Options\"")));
        QVERIFY(query.next());
        using namespace store::names::options;
        QCOMPARE(query.value(RequirePassword).toString(), QStringLiteral("False"));
        QCOMPARE(query.value(Password).toString(), QString());
        QCOMPARE(query.value(MinimizeToSystemTray).toString(), QStringLiteral("False"));
        QCOMPARE(query.value(SortContactsBy).toString(), QStringLiteral("last"));
        QCOMPARE(query.value(PlayHourChime).toString(), QStringLiteral("0"));
        QCOMPARE(query.value(HourChime).toString(), QString());
        QVERIFY(!query.next());
        QVERIFY(query.exec(QStringLiteral("SELECT count(*), min(\"Event Alarm Sound File\") "
                                          "FROM \"Event Alarm Sound File\"")));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 1);
        QCOMPARE(query.value(1).toString(), QStringLiteral(""));
    }

    void reopenKeepsDataAndLeavesFileAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.sqlite"));
        store::RecordId id = store::kNoRecord;
        {
            QString error;
            const auto db = Database::open(path, &error);
            QVERIFY2(db, qPrintable(error));
            QSqlQuery insert(db->connection());
            insert.prepare(QStringLiteral("INSERT INTO \"Agenda\" (\"Agenda Task\") VALUES (?)"));
            insert.addBindValue(QStringLiteral("Dentist (to 10:30 AM)"));
            QVERIFY(insert.exec());
            id = insert.lastInsertId().toLongLong();
        }
        backdate(path);
        const FileState before = stateOf(path);

        QString error;
        auto db = Database::open(path, &error);
        QVERIFY2(db, qPrintable(error));
        QVERIFY(error.isEmpty());
        QSqlQuery query(db->connection());
        QVERIFY(query.exec(QStringLiteral("SELECT rowid, \"Agenda Task\" FROM \"Agenda\"")));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toLongLong(), id);
        QCOMPARE(query.value(1).toString(), QStringLiteral("Dentist (to 10:30 AM)"));
        QVERIFY(!query.next());
        query.finish();
        db.reset();

        // Opening checks writability with a rolled-back write: no trace left.
        QVERIFY(stateOf(path) == before);
        QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    }

    void foreignFileRefusedUnchanged_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("random bytes") << "random" << "it is not an SQLite database.";
        QTest::newRow("empty file") << "empty" << "it is empty.";
        QTest::newRow("SQLite header, garbage body") << "header" << "it cannot be read as an SQLite database";
        QTest::newRow("other SQLite database") << "other" << "the table \"Agenda\" is missing.";
        QTest::newRow("organizer file lacking Agenda") << "no agenda" << "the table \"Agenda\" is missing.";
        QTest::newRow("Agenda lacking a field") << "no field"
                                                << "the table \"Agenda\" has no field \"Agenda Category\".";
        QTest::newRow("view lacking") << "no view" << "the view \"NotesQuery\" is missing.";
        QTest::newRow("view without identity")
            << "no rid" << "the view \"To-Do Query\" has no field \"_rid\".";
    }
    void foreignFileRefusedUnchanged()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.sqlite"));

        const auto writeBytes = [&](const QByteArray &bytes) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(bytes), bytes.size());
        };
        const auto alterOrganizerFile = [&](const QStringList &statements) {
            QVERIFY(createOrganizerFile(path));
            QCOMPARE(execRaw(path, statements), QString());
        };
        if (kind == QLatin1String("random")) {
            QByteArray bytes;
            for (int i = 0; i < 4096; ++i)
                bytes += char((i * 7919 + 13) % 256);
            writeBytes(bytes);
        } else if (kind == QLatin1String("empty")) {
            writeBytes({});
        } else if (kind == QLatin1String("header")) {
            writeBytes(QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\x5a'));
        } else if (kind == QLatin1String("other")) {
            QCOMPARE(execRaw(path, {QStringLiteral("CREATE TABLE t (a TEXT)"),
                                    QStringLiteral("INSERT INTO t VALUES ('keep me')")}),
                     QString());
        } else if (kind == QLatin1String("no agenda")) {
            alterOrganizerFile({QStringLiteral("DROP TABLE \"Agenda\"")});
        } else if (kind == QLatin1String("no field")) {
            alterOrganizerFile({QStringLiteral("DROP TABLE \"Agenda\""),
                                QStringLiteral("CREATE TABLE \"Agenda\" (\"Agenda Task\" TEXT)")});
        } else if (kind == QLatin1String("no view")) {
            alterOrganizerFile({QStringLiteral("DROP VIEW \"NotesQuery\"")});
        } else if (kind == QLatin1String("no rid")) {
            alterOrganizerFile({QStringLiteral("DROP VIEW \"To-Do Query\""),
                                QStringLiteral("CREATE VIEW \"To-Do Query\" AS SELECT * FROM \"To Do\"")});
        }
        backdate(path);
        const FileState before = stateOf(path);

        QString error;
        QVERIFY(!Database::open(path, &error));
        QVERIFY2(error.startsWith(QStringLiteral("The file '%1' is not a Brevane Organizer data file: ").arg(path)),
                 qPrintable(error));
        QVERIFY2(error.contains(reason), qPrintable(error));

        QVERIFY(stateOf(path) == before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("data.sqlite")});
    }

    void fileThatCannotBeWrittenRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.sqlite"));
        QVERIFY(createOrganizerFile(path));
        backdate(path);
        const FileState before = stateOf(path);

        QString error;
        QVERIFY(!Database::open(path, &error, Database::Access::ReadOnly));
        QCOMPARE(error, QStringLiteral("The file '%1' cannot be written: attempt to write a readonly database.")
                            .arg(path));
        QVERIFY(stateOf(path) == before);
    }

    void missingFileNotCreatedReadOnly()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.sqlite"));
        QString error;
        QVERIFY(!Database::open(path, &error, Database::Access::ReadOnly));
        QVERIFY2(error.contains(path), qPrintable(error));
        QVERIFY(!QFile::exists(path));
    }

    void folderRefused()
    {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!Database::open(dir.path(), &error));
        QVERIFY2(error.startsWith(QStringLiteral("The file '%1'").arg(dir.path())), qPrintable(error));
    }

    void twoFilesOpenAtOnce()
    {
        QTemporaryDir dir;
        QString error;
        const auto first = Database::open(dir.filePath(QStringLiteral("a.sqlite")), &error);
        const auto second = Database::open(dir.filePath(QStringLiteral("b.sqlite")), &error);
        QVERIFY(first && second);
        QVERIFY(first->connection().connectionName() != second->connection().connectionName());
        QSqlQuery insert(first->connection());
        QVERIFY(insert.exec(QStringLiteral("INSERT INTO \"Notes\" (\"Note Title\") VALUES ('only in a')")));
        QSqlQuery count(second->connection());
        QVERIFY(count.exec(QStringLiteral("SELECT count(*) FROM \"Notes\"")) && count.next());
        QCOMPARE(count.value(0).toInt(), 0);
    }

    void defaultPathPrefersProgramFolder_data()
    {
        QTest::addColumn<bool>("portable");
        QTest::newRow("per-user data folder") << false;
        QTest::newRow("file beside the program") << true;
    }
    void defaultPathPrefersProgramFolder()
    {
        QFETCH(bool, portable);
        const QString beside = QCoreApplication::applicationDirPath()
                               + QStringLiteral("/Brevane Organizer Database.sqlite");
        QFile::remove(beside);
        const auto cleanup = qScopeGuard([&] { QFile::remove(beside); });
        if (portable) {
            QFile file(beside);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString expected = portable ? beside
                                          : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                                + QStringLiteral("/Brevane Organizer Database.sqlite");
        QCOMPARE(Database::defaultPath(), expected);
    }

    void baseTables_data()
    {
        using namespace store::names;
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("table");
        for (const QString &table : Database::tableNames())
            QTest::newRow(qPrintable(table)) << table << table;
        QTest::newRow("to-do") << ToDoQuery << ToDo;
        QTest::newRow("quick links") << QuickLinksQuery << QuickLinks;
        QTest::newRow("notes") << NotesQuery << Notes;
        QTest::newRow("contacts") << ContactsQuery << Contacts;
        QTest::newRow("contacts by first name") << ContactsQueryFirstName << Contacts;
        QTest::newRow("unknown") << QStringLiteral("Agenda2") << QString();
        QTest::newRow("case differs") << QStringLiteral("agenda") << QString();
    }
    void baseTables()
    {
        QFETCH(QString, source);
        QFETCH(QString, table);
        QCOMPARE(Database::baseTableOf(source), table);
    }

    void quotedNamesAreInert_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << QStringLiteral("Agenda Task");
        QTest::newRow("double quote") << QStringLiteral("say \"hi\"");
        QTest::newRow("closing quote and statement")
            << QStringLiteral("x\" TEXT); DROP TABLE \"Agenda\"; --");
        QTest::newRow("single quote") << QStringLiteral("it's");
    }
    void quotedNamesAreInert()
    {
        QFETCH(QString, name);
        testing::TestData data;
        QVERIFY(data.isValid());
        const QString quoted = Database::quoteName(name);
        QVERIFY(quoted.startsWith(u'"') && quoted.endsWith(u'"'));

        QSqlQuery query(data.db().connection());
        QVERIFY2(query.exec(QStringLiteral("CREATE TABLE %1 (%1 TEXT)").arg(quoted)),
                 qPrintable(query.lastError().text()));
        QCOMPARE(data.insert(name, {{name, QStringLiteral("v")}}), store::RecordId(1));
        QCOMPARE(data.fieldOf(name, 1, name), QStringLiteral("v"));
        QVERIFY(query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")));
        QStringList tables;
        while (query.next())
            tables << query.value(0).toString();
        QVERIFY(tables.contains(name));
        QVERIFY(tables.contains(store::names::Agenda));
    }

    void batchKeepsWhatSucceededTogether()
    {
        testing::TestData data;
        for (const char *task : {"a", "b", "c"})
            data.insert(names::ToDo, {{names::todo::Task, QString::fromLatin1(task)}});
        {
            Batch batch(data.db());
            QVERIFY(batch.isActive());
            RecordSet set(data.db(), names::ToDo);
            set.moveFirst();
            QVERIFY(set.deleteCurrent().ok);
            set.moveNext();
            QVERIFY(set.deleteCurrent().ok);
            QVERIFY(batch.commit());
        }
        QCOMPARE(data.countOf(names::ToDo), 1);
        {
            // Without a commit nothing of the batch stays.
            Batch batch(data.db());
            RecordSet set(data.db(), names::ToDo);
            set.moveFirst();
            QVERIFY(set.deleteCurrent().ok);
        }
        QCOMPARE(data.countOf(names::ToDo), 1);
        {
            // A refused write fails on its own; the rest of the batch is kept.
            data.insert(names::Agenda, {{names::agenda::Task, QStringLiteral("x")}});
            Batch batch(data.db());
            data.failWrites(names::ToDo);
            RecordSet todo(data.db(), names::ToDo);
            todo.moveFirst();
            QVERIFY(!todo.deleteCurrent().ok);
            RecordSet agenda(data.db(), names::Agenda);
            agenda.moveFirst();
            QVERIFY(agenda.deleteCurrent().ok);
            QVERIFY(batch.commit());
        }
        QCOMPARE(data.countOf(names::ToDo), 1);
        QCOMPARE(data.countOf(names::Agenda), 0);
    }
};

BREVANE_TEST(DatabaseTests)
#include "tst_database.moc"
