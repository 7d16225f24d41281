#include "store/database.h"
#include "store/names.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace brevane;
using store::Database;
using Step = Database::CreationStep;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString run(const QSqlDatabase &connection, const QString &sql)
{
    QSqlQuery query(connection);
    if (!query.exec(sql))
        return QStringLiteral("error: ") + query.lastError().text();
    return query.next() ? query.value(0).toString() : QString();
}

// Makes a file and changes it with statements on a connection of its own.
bool makeFile(const QString &path, const QStringList &statements)
{
    if (!Database::open(path, nullptr))
        return false;
    QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
    const auto remove = qScopeGuard([] { QSqlDatabase::removeDatabase(QStringLiteral("setup")); });
    connection.setDatabaseName(path);
    bool ok = connection.open();
    for (const QString &statement : statements)
        ok = ok && !run(connection, statement).startsWith(QLatin1String("error"));
    connection.close();
    return ok;
}

} // namespace

class DataFileTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versions_data()
    {
        QTest::addColumn<QStringList>("change");
        QTest::addColumn<QString>("refusal"); // empty when the file opens
        QTest::newRow("file from before versions")
            << QStringList{"PRAGMA user_version = 0", "DROP INDEX \"Agenda month\""} << QString();
        QTest::newRow("newer file") << QStringList{"PRAGMA user_version = 3"}
                                    << "was written by a newer version of Brevane Organizer";
        QTest::newRow("upgrade fails half-way")
            << QStringList{"PRAGMA user_version = 0", "DROP INDEX \"NotesQuery order\"",
                           "DROP INDEX \"Agenda month\"", "CREATE TABLE \"Agenda month\" (x)"}
            << "could not be brought up to date";
    }
    void versions()
    {
        QFETCH(QStringList, change);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.sqlite"));
        QVERIFY(makeFile(path, change));
        const QByteArray before = bytesOf(path);

        QString error;
        const auto db = Database::open(path, &error);
        if (refusal.isEmpty()) {
            QVERIFY2(db, qPrintable(error));
            QCOMPARE(run(db->connection(), QStringLiteral("PRAGMA user_version")), QStringLiteral("2"));
            // Saves survive a power cut: the journal and its folder are synced.
            QCOMPARE(run(db->connection(), QStringLiteral("PRAGMA synchronous")), QStringLiteral("3"));
            QCOMPARE(run(db->connection(), QStringLiteral("PRAGMA journal_mode")), QStringLiteral("delete"));
            QCOMPARE(run(db->connection(), QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = "
                                                          "'Agenda month'")),
                     QStringLiteral("1"));
        } else {
            QVERIFY(!db);
            QVERIFY2(error.contains(refusal), qPrintable(error));
            QVERIFY(bytesOf(path) == before);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"data.sqlite"});
        }
    }

    // A start stopped at any step of creating the file leaves no data file,
    // or a whole one; the next start works.
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
        QCOMPARE(::waitpid(child, &status, 0), child);
        QCOMPARE(WEXITSTATUS(status), 0);
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
        QVERIFY2(second, qPrintable(secondError));
        QVERIFY2(first, qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"data.sqlite"});
    }

    void refusalsNameTheCause_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("refusal");
        const QString notRegular = QStringLiteral("is not a Brevane Organizer data file: it is not a regular file.");
        QTest::newRow("fifo") << "fifo" << notRegular;
        QTest::newRow("link to fifo") << "link" << notRegular;
        QTest::newRow("device") << "device" << notRegular;
        QTest::newRow("damaged") << "damaged" << "is damaged: database disk image is malformed.";
        QTest::newRow("locked for reading") << "EXCLUSIVE" << "is in use by another program.";
        QTest::newRow("locked for writing") << "IMMEDIATE" << "is in use by another program.";
        // The trial write at start must reach the journal, which cannot be
        // made in this folder.
        QTest::newRow("read-only folder") << "folder" << "cannot be written: attempt to write a readonly database.";
    }
    void refusalsNameTheCause()
    {
        QFETCH(QString, kind);
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
        const bool special = QStringList{"fifo", "link", "device"}.contains(kind);
        QVERIFY(special || makeFile(path, {}));
        if (kind == QLatin1String("fifo") || kind == QLatin1String("link")) {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
            if (kind == QLatin1String("link")) {
                path = dir.filePath(QStringLiteral("link.sqlite"));
                QVERIFY(QFile::link(QFile::decodeName(name), path));
            }
        } else if (kind == QLatin1String("device")) {
            path = QStringLiteral("/dev/null");
        } else if (kind == QLatin1String("damaged")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(100));
            file.write(QByteArray(200, '\xff'));
        } else if (kind == QLatin1String("folder")) {
            // As the superuser no permission is checked; file access under an
            // ordinary user's identity is.
            QCOMPARE(!root || ::chown(name.constData(), 65534, 65534) == 0, true);
            QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
            if (root) {
                ::setfsgid(65534);
                ::setfsuid(65534);
            }
        } else {
            other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QCOMPARE(run(other, QStringLiteral("BEGIN ") + kind), QString());
            QCOMPARE(run(other, QStringLiteral("DELETE FROM \"Notes\"")), QString());
        }
        QString error;
        QVERIFY(!Database::open(path, &error));
        QCOMPARE(error, QStringLiteral("The file '%1' ").arg(path) + refusal);
    }
};

BREVANE_TEST(DataFileTests)
#include "tst_datafile.moc"
