#include "store/database.h"
#include "testsupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace brevane;
using store::Database;
using Step = Database::CreationStep;

namespace {

struct FileState {
    QByteArray bytes;
    QDateTime modified;
    bool operator==(const FileState &) const = default;
};

// Back-dating first makes a write within the same second show.
FileState stateOf(const QString &path, bool backdate = false)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return {};
    if (backdate)
        file.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(12, 0)), QFileDevice::FileModificationTime);
    return {file.readAll(), QFileInfo(path).lastModified()};
}

QString run(const QSqlDatabase &connection, const QString &sql)
{
    QSqlQuery query(connection);
    if (!query.exec(sql))
        return QStringLiteral("error: ") + query.lastError().text();
    return query.next() ? query.value(0).toString() : QString();
}

// Creates an organizer file and changes it with statements; returns what failed.
QString makeOrganizerFile(const QString &path, const QStringList &statements = {})
{
    QString error;
    const auto db = Database::open(path, &error);
    for (const QString &statement : statements) {
        if (error.isEmpty() && run(db->connection(), statement).startsWith(QLatin1String("error")))
            error = statement;
    }
    return error;
}

} // namespace

class DataFileTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A new file is private; reopening it tries a write that is rolled back without trace.
    void createdFileIsPrivateAndReopensUntouched()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("new folder/data.sqlite"));
        QCOMPARE(makeOrganizerFile(path, {QStringLiteral("INSERT INTO \"Notes\" (\"Note Title\") VALUES ('kept')")}),
                 QString());
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0600));
        const FileState before = stateOf(path, true);
        {
            QString error;
            const auto db = Database::open(path, &error);
            QVERIFY2(db, qPrintable(error));
            QSqlQuery query(db->connection());
            QVERIFY(query.exec(QStringLiteral("SELECT \"Note Title\" FROM \"Notes\"")) && query.next());
            QCOMPARE(query.value(0).toString(), QStringLiteral("kept"));
        }
        QVERIFY(stateOf(path) == before && !QFile::exists(path + QStringLiteral("-journal")));
    }

    void readOnlyCreatesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.sqlite"));
        QString error;
        QVERIFY(!Database::open(path, &error, Database::Access::ReadOnly));
        QVERIFY2(error.contains(path) && !QFile::exists(path), qPrintable(error));
    }

    void defaultPathPrefersProgramFolder()
    {
        const QString fileName = QStringLiteral("/Brevane Organizer Database.sqlite");
        const QString beside = QCoreApplication::applicationDirPath() + fileName;
        const auto cleanup = qScopeGuard([&] { QFile::remove(beside); });
        QFile::remove(beside);
        QCOMPARE(Database::defaultPath(),
                 QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + fileName);
        QFile file(beside);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(Database::defaultPath(), beside);
    }

    void olderFileUpgraded()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.sqlite"));
        QCOMPARE(makeOrganizerFile(path, {"PRAGMA user_version = 0", "DROP INDEX \"Agenda month\""}), QString());
        QString error;
        // A second connection never upgrades: it waits for the first.
        QVERIFY(!Database::openAlongside(path, &error) && error.contains(QStringLiteral("data version is 0")));
        const auto db = Database::open(path, &error);
        QVERIFY2(db && Database::openAlongside(path, &error), qPrintable(error));
        QCOMPARE(run(db->connection(), QStringLiteral("PRAGMA user_version")), QString::number(store::Database::kSchemaVersion));
        QCOMPARE(run(db->connection(), QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'Agenda month'")),
                 QStringLiteral("1"));
        // Saves survive a power cut: the journal and its folder are synced.
        QCOMPARE(run(db->connection(), "PRAGMA synchronous") + run(db->connection(), "PRAGMA journal_mode"), QStringLiteral("3delete"));
    }

    // Stopped at any step of creating the file: no file or a whole one; the next start works.
    void creationStoppedAtEachStep_data()
    {
        QTest::addColumn<Step>("step");
        for (Step step : {Step::TempFileCreated, Step::SchemaBuilt, Step::Committed, Step::Synced, Step::Renamed,
                          Step::FolderSynced})
            QTest::addRow("step %d", int(step)) << step;
    }
    void creationStoppedAtEachStep()
    {
        QFETCH(Step, step);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.sqlite"));
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            Database::setCreationHook([step](Step reached) {
                if (reached == step)
                    ::_exit(0);
            });
            (void)Database::open(path, nullptr);
            ::_exit(1);
        }
        int status = -1;
        QVERIFY(::waitpid(child, &status, 0) == child && WEXITSTATUS(status) == 0);
        QCOMPARE(QFile::exists(path), step >= Step::Renamed);

        QString error;
        const auto db = Database::open(path, &error);
        QVERIFY2(db, qPrintable(error));
        QCOMPARE(run(db->connection(), QStringLiteral("SELECT count(*) FROM \"Options\"")), QStringLiteral("1"));
    }

    void twoFirstStartsShareOneFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.sqlite"));
        std::unique_ptr<Database> second;
        QString secondError;
        bool started = false;
        Database::setCreationHook([&](Step reached) {
            if (reached == Step::Committed && !std::exchange(started, true))
                second = Database::open(path, &secondError);
        });
        const auto reset = qScopeGuard([] { Database::setCreationHook({}); });
        QString error;
        const auto first = Database::open(path, &error);
        QVERIFY2(first && second, qPrintable(error + secondError));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"data.sqlite"});
    }

    // Refused with a message naming file and cause; a plain file is left as it was, nothing beside it.
    void unusableFileRefusedUntouched_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("statements"); // run on an organizer file first
        QTest::addColumn<QString>("refusal");
        const QString notOurs = QStringLiteral("is not a Brevane Organizer data file: ");
        const QStringList none;
        QTest::newRow("random bytes") << "random" << none << notOurs + "it is not an SQLite database.";
        QTest::newRow("empty file") << "empty" << none << notOurs + "it is empty.";
        QTest::newRow("SQLite header, garbage body") << "header" << none
                                                     << notOurs + "it cannot be read as an SQLite database";
        QTest::newRow("Agenda missing") << "changed" << QStringList{"DROP TABLE \"Agenda\""}
                                        << notOurs + "the table \"Agenda\" is missing.";
        QTest::newRow("Agenda lacking a field")
            << "changed" << QStringList{"DROP TABLE \"Agenda\"", "CREATE TABLE \"Agenda\" (\"Agenda Task\" TEXT)"}
            << notOurs + "the table \"Agenda\" has no field \"Agenda Category\".";
        QTest::newRow("view missing") << "changed" << QStringList{"DROP VIEW \"NotesQuery\""}
                                      << notOurs + "the view \"NotesQuery\" is missing.";
        QTest::newRow("view without identity")
            << "changed" << QStringList{"DROP VIEW \"To-Do Query\"", "CREATE VIEW \"To-Do Query\" AS SELECT * FROM \"To Do\""}
            << notOurs + "the view \"To-Do Query\" has no field \"_rid\".";
        QTest::newRow("newer file") << "changed" << QStringList{QStringLiteral("PRAGMA user_version = %1").arg(store::Database::kSchemaVersion + 1)}
                                    << "was written by a newer version of Brevane Organizer";
        QTest::newRow("upgrade fails half-way")
            << "changed"
            << QStringList{"PRAGMA user_version = 0", "DROP INDEX \"NotesQuery order\"", "DROP INDEX \"Agenda month\"",
                           "CREATE TABLE \"Agenda month\" (x)"}
            << "could not be brought up to date";
        QTest::newRow("folder") << "folder" << none << notOurs + "it is a folder.";
        QTest::newRow("fifo") << "fifo" << none << notOurs + "it is not a regular file.";
        QTest::newRow("link to fifo") << "link" << none << notOurs + "it is not a regular file.";
        QTest::newRow("damaged") << "damaged" << none << "is damaged: database disk image is malformed.";
        QTest::newRow("locked for reading") << "EXCLUSIVE" << none << "is in use by another program.";
        QTest::newRow("locked for writing") << "IMMEDIATE" << none << "is in use by another program.";
        // The trial write at start needs a journal, which this folder refuses.
        QTest::newRow("read-only folder") << "read-only" << none
                                          << "cannot be written: attempt to write a readonly database.";
    }
    void unusableFileRefusedUntouched()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, statements);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                      | QFile::ReadOther | QFile::ExeOther));
        const QString folder = dir.filePath(QStringLiteral("folder"));
        QString path = folder + QStringLiteral("/data.sqlite");
        const QByteArray name = QFile::encodeName(path);
        QSqlDatabase other;
        const bool root = ::geteuid() == 0;
        const auto cleanup = qScopeGuard([&] {
            other.close();
            other = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("other"));
            if (root) {
                ::setfsuid(0);
                ::setfsgid(0);
            }
            ::chmod(QFile::encodeName(folder).constData(), 0755);
        });
        QVERIFY(QDir().mkpath(folder));
        const auto is = [&kind](const char *k) { return kind == QLatin1String(k); };
        const bool locked = is("EXCLUSIVE") || is("IMMEDIATE");
        const bool special = is("fifo") || is("link") || is("folder");
        if (is("random") || is("empty") || is("header")) {
            QByteArray bytes = is("header") ? QByteArray("SQLite format 3\0", 16) + QByteArray(4080, 'Z') : QByteArray();
            for (int i = 0; is("random") && i < 4096; ++i)
                bytes += char((i * 7919 + 13) % 256);
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        } else if (!special) {
            QCOMPARE(makeOrganizerFile(path, statements), QString());
        }
        if (is("folder")) {
            path = folder;
        } else if (is("fifo") || is("link")) {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
            if (is("link")) {
                path = dir.filePath(QStringLiteral("link.sqlite"));
                QVERIFY(QFile::link(QFile::decodeName(name), path));
            }
        } else if (is("damaged")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(100));
            file.write(QByteArray(200, '\xff'));
        } else if (is("read-only")) {
            // The superuser is never refused: act under an ordinary user's identity.
            QCOMPARE(!root || ::chown(name.constData(), 65534, 65534) == 0, true);
            QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
            if (root) {
                ::setfsgid(65534);
                ::setfsuid(65534);
            }
        } else if (locked) {
            other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QCOMPARE(run(other, QStringLiteral("BEGIN ") + kind), QString());
            QCOMPARE(run(other, QStringLiteral("DELETE FROM \"Notes\"")), QString());
        }
        const bool plain = !special && !locked;
        const FileState before = plain ? stateOf(path, true) : FileState();
        QString error;
        QVERIFY(!Database::open(path, &error));
        QVERIFY2(error.startsWith(QStringLiteral("The file '%1' ").arg(path) + refusal), qPrintable(error));
        QVERIFY(!plain || stateOf(path) == before);
        QVERIFY(!plain || QDir(folder).entryList(QDir::Files | QDir::Hidden) == QStringList{"data.sqlite"});
    }
};

BREVANE_TEST(DataFileTests)
#include "tst_datafile.moc"
