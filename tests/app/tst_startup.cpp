#include "app/startup.h"
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

class StartupTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { setDesktop(&m_desktop); }
    void cleanup()
    {
        setDesktop(nullptr);
        m_desktop.clearRecords();
    }

    void firstStartCreatesThePrivateFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sub/Brevane Organizer Database.sqlite"));
        QVERIFY2(openDataFileOrReport(path), "a missing file is created");
        QVERIFY(m_desktop.messages.isEmpty());
        QCOMPARE(QFile::permissions(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
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
        const QString path = dir.filePath(QStringLiteral("data.sqlite"));
        if (kind == QLatin1String("random")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            for (int i = 0; i < 4096; ++i)
                file.putChar(static_cast<char>((i * 7919 + 13) % 251));
        } else {
            QString error;
            const auto db = store::Database::open(path, &error);
            QVERIFY2(db, qPrintable(error));
            if (kind == QLatin1String("noAgenda"))
                QVERIFY(QSqlQuery(db->connection()).exec(QStringLiteral("DROP TABLE \"Agenda\"")));
        }
        const QByteArray before = digestOf(path);

        QVERIFY(!openDataFileOrReport(path, kind == QLatin1String("readOnly") ? store::Database::Access::ReadOnly
                                                                              : store::Database::Access::ReadWrite));
        QCOMPARE(m_desktop.messages.size(), 1);
        const auto &message = m_desktop.messages.first();
        QVERIFY2(message.text.contains(path) && message.text.contains(expectedWords), qPrintable(message.text));
        QCOMPARE(digestOf(path), before);
    }

private:
    ScriptedDesktop m_desktop;
};

BREVANE_TEST(StartupTests)
#include "tst_startup.moc"
