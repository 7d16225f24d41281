#include "app/startup.h"
#include "store/names.h"
#include "testsupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace brevane;

namespace {

QByteArray digestOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

// What the program does with the data file before any window opens.
class StartupTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstStartCreatesThePrivateFile()
    {
        QTemporaryDir dir;
        ScriptedDesktop scripted;
        setDesktop(&scripted);
        const QString path = dir.filePath(QStringLiteral("sub/Brevane Organizer Database.sqlite"));
        {
            auto db = openDataFileOrReport(path);
            QVERIFY2(db, "a missing file is created");
        }
        QVERIFY(scripted.messages.isEmpty());
        QCOMPARE(QFile::permissions(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        setDesktop(nullptr);
    }

    void unusableFilesAreReportedAndLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expectedWords");
        QTest::newRow("random bytes") << QStringLiteral("random") << QStringLiteral("not an SQLite database");
        QTest::newRow("no Agenda table") << QStringLiteral("noAgenda") << QStringLiteral("\"Agenda\"");
        QTest::newRow("read-only") << QStringLiteral("readOnly") << QStringLiteral("cannot be written");
    }
    void unusableFilesAreReportedAndLeftAlone()
    {
        QFETCH(QString, kind);
        QFETCH(QString, expectedWords);
        QTemporaryDir dir;
        ScriptedDesktop scripted;
        setDesktop(&scripted);
        const QString path = dir.filePath(QStringLiteral("data.sqlite"));
        auto access = store::Database::Access::ReadWrite;

        if (kind == QLatin1String("random")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QByteArray bytes(4096, Qt::Uninitialized);
            for (int i = 0; i < bytes.size(); ++i)
                bytes[i] = static_cast<char>((i * 7919 + 13) % 251);
            file.write(bytes);
        } else {
            {
                QString error;
                auto db = store::Database::open(path, &error);
                QVERIFY(db);
                if (kind == QLatin1String("noAgenda")) {
                    QSqlQuery query(db->connection());
                    QVERIFY(query.exec(QStringLiteral("DROP TABLE \"Agenda\"")));
                }
            }
            if (kind == QLatin1String("readOnly"))
                access = store::Database::Access::ReadOnly;
        }
        const QByteArray before = digestOf(path);

        auto db = openDataFileOrReport(path, access);
        QVERIFY(!db);
        QCOMPARE(scripted.messages.size(), 1);
        const auto &message = scripted.messages.first();
        QCOMPARE(message.icon, Desktop::Icon::Critical);
        QVERIFY2(message.text.contains(path), qPrintable(message.text));
        QVERIFY2(message.text.contains(expectedWords), qPrintable(message.text));
        QCOMPARE(digestOf(path), before);
        setDesktop(nullptr);
    }
};

BREVANE_TEST(StartupTests)
#include "tst_startup.moc"
