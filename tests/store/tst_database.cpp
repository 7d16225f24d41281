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
using store::Batch;
using store::Database;
using store::RecordSet;
namespace names = store::names;

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

// Creates an organizer file and runs statements on it; returns what failed.
QString makeOrganizerFile(const QString &path, const QStringList &statements = {})
{
    QString error;
    const auto db = Database::open(path, &error);
    if (!db)
        return error;
    for (const QString &statement : statements) {
        QSqlQuery query(db->connection());
        if (!query.exec(statement))
            return query.lastError().text();
    }
    return {};
}

} // namespace

class DatabaseTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstOpenCreatesPrivateFileWithSchema()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("new folder/Brevane Organizer Database.sqlite"));
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

        // One row each in "Options" and "Event Alarm Sound File".
        QVERIFY(query.exec(QStringLiteral("SELECT * FROM \"Options\", \"Event Alarm Sound File\"")));
        QStringList rows;
        while (query.next()) {
            QStringList row;
            for (int i = 0; i < 7; ++i)
                row << query.value(i).toString();
            rows << row.join(u'|');
        }
        QCOMPARE(rows, QStringList{QStringLiteral("False||False|last|0||")});
    }

    void reopenKeepsDataAndLeavesFileAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.sqlite"));
        QCOMPARE(makeOrganizerFile(path, {QStringLiteral("INSERT INTO \"Notes\" (\"Note Title\") VALUES ('kept')")}),
                 QString());
        const FileState before = stateOf(path, true);
        {
            QString error;
            const auto db = Database::open(path, &error);
            QVERIFY2(db, qPrintable(error));
            QSqlQuery query(db->connection());
            QVERIFY(query.exec(QStringLiteral("SELECT \"Note Title\" FROM \"Notes\"")) && query.next());
            QCOMPARE(query.value(0).toString(), QStringLiteral("kept"));
        }
        // Opening checks writability with a rolled-back write: no trace left.
        QVERIFY(stateOf(path) == before);
        QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    }

    void foreignFileRefusedUnchanged_data()
    {
        QTest::addColumn<QByteArray>("bytes");        // the file's content, or
        QTest::addColumn<QStringList>("statements");  // changes to an organizer file
        QTest::addColumn<QString>("reason");
        QByteArray random;
        for (int i = 0; i < 4096; ++i)
            random += char((i * 7919 + 13) % 256);
        QTest::newRow("random bytes") << random << QStringList{} << "it is not an SQLite database.";
        QTest::newRow("empty file") << QByteArray() << QStringList{} << "it is empty.";
        QTest::newRow("SQLite header, garbage body") << QByteArray("SQLite format 3\0", 16) + QByteArray(4080, 'Z')
                                                     << QStringList{} << "it cannot be read as an SQLite database";
        QTest::newRow("Agenda missing") << QByteArray() << QStringList{"DROP TABLE \"Agenda\""}
                                        << "the table \"Agenda\" is missing.";
        QTest::newRow("Agenda lacking a field")
            << QByteArray() << QStringList{"DROP TABLE \"Agenda\"", "CREATE TABLE \"Agenda\" (\"Agenda Task\" TEXT)"}
            << "the table \"Agenda\" has no field \"Agenda Category\".";
        QTest::newRow("view missing") << QByteArray() << QStringList{"DROP VIEW \"NotesQuery\""}
                                      << "the view \"NotesQuery\" is missing.";
        QTest::newRow("view without identity")
            << QByteArray()
            << QStringList{"DROP VIEW \"To-Do Query\"", "CREATE VIEW \"To-Do Query\" AS SELECT * FROM \"To Do\""}
            << "the view \"To-Do Query\" has no field \"_rid\".";
    }
    void foreignFileRefusedUnchanged()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, statements);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.sqlite"));
        if (statements.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(bytes), bytes.size());
        } else {
            QCOMPARE(makeOrganizerFile(path, statements), QString());
        }
        const FileState before = stateOf(path, true);

        QString error;
        QVERIFY(!Database::open(path, &error));
        QVERIFY2(error.startsWith(QStringLiteral("The file '%1' is not a Brevane Organizer data file: ").arg(path)),
                 qPrintable(error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY(stateOf(path) == before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("data.sqlite")});
    }

    void unwritableMissingOrFolderRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.sqlite"));
        QString error;
        QVERIFY(!Database::open(path, &error, Database::Access::ReadOnly));
        QVERIFY2(error.contains(path), qPrintable(error));
        QVERIFY(!QFile::exists(path));

        QCOMPARE(makeOrganizerFile(path), QString());
        const FileState before = stateOf(path, true);
        QVERIFY(!Database::open(path, &error, Database::Access::ReadOnly));
        QCOMPARE(error, QStringLiteral("The file '%1' cannot be written: attempt to write a readonly database.")
                            .arg(path));
        QVERIFY(stateOf(path) == before);

        QVERIFY(!Database::open(dir.path(), &error));
        QVERIFY2(error.startsWith(QStringLiteral("The file '%1'").arg(dir.path())), qPrintable(error));
    }

    void defaultPathPrefersProgramFolder()
    {
        const QString fileName = QStringLiteral("/Brevane Organizer Database.sqlite");
        const QString beside = QCoreApplication::applicationDirPath() + fileName;
        QFile::remove(beside);
        const auto cleanup = qScopeGuard([&] { QFile::remove(beside); });
        QCOMPARE(Database::defaultPath(),
                 QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + fileName);
        QFile file(beside);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(Database::defaultPath(), beside);
    }

    void quotedNamesAreInert()
    {
        const QString name = QStringLiteral("x\" TEXT); DROP TABLE \"Agenda\"; --");
        testing::TestData data;
        QSqlQuery query(data.db().connection());
        const QString quoted = Database::quoteName(name);
        QVERIFY2(query.exec(QStringLiteral("CREATE TABLE %1 (%1 TEXT)").arg(quoted)),
                 qPrintable(query.lastError().text()));
        QCOMPARE(data.insert(name, {{name, QStringLiteral("v")}}), store::RecordId(1));
        QCOMPARE(data.fieldOf(name, 1, name), QStringLiteral("v"));
        QCOMPARE(data.countOf(names::Agenda), 0); // -1 if the table were gone
    }

    void batchKeepsWhatSucceededTogether()
    {
        testing::TestData data;
        for (const char *task : {"a", "b", "c"})
            data.insert(names::ToDo, {{names::todo::Task, QString::fromLatin1(task)}});
        const auto deleteFirst = [&](const QString &table) {
            RecordSet set(data.db(), table);
            return set.deleteCurrent().ok;
        };
        {
            Batch batch(data.db());
            QVERIFY(batch.isActive());
            QVERIFY(deleteFirst(names::ToDo) && deleteFirst(names::ToDo));
            QVERIFY(batch.commit());
        }
        QCOMPARE(data.countOf(names::ToDo), 1);
        {
            // Without a commit nothing of the batch stays.
            Batch batch(data.db());
            QVERIFY(deleteFirst(names::ToDo));
        }
        QCOMPARE(data.countOf(names::ToDo), 1);
        {
            // A refused write fails on its own; the rest of the batch is kept.
            data.insert(names::Agenda, {{names::agenda::Task, QStringLiteral("x")}});
            Batch batch(data.db());
            data.failWrites(names::ToDo);
            QVERIFY(!deleteFirst(names::ToDo));
            QVERIFY(deleteFirst(names::Agenda));
            QVERIFY(batch.commit());
        }
        QCOMPARE(data.countOf(names::ToDo), 1);
        QCOMPARE(data.countOf(names::Agenda), 0);
    }
};

BREVANE_TEST(DatabaseTests)
#include "tst_database.moc"
