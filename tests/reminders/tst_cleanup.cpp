#include "reminders/reminders.h"
#include "store/names.h"
#include "testsupport.h"

#include <QAction>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QWidget>

using namespace brevane;
using testing::TestData;
namespace names = store::names;
namespace ag = store::names::agenda;

namespace {

void addTask(TestData &data, const QDate &date)
{
    data.insert(names::Agenda, {{ag::Task, QStringLiteral("Task")}, {ag::StartHour, QStringLiteral("9")},
                                {ag::StartMinute, QStringLiteral("00")}, {ag::StartAmPm, QStringLiteral("AM")},
                                {ag::Day, QString::number(date.day())}, {ag::Month, QString::number(date.month())},
                                {ag::Year, QString::number(date.year())}});
}

} // namespace

// Options > Database Cleanup: all past months' tasks go, or none.
class CleanupTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void databaseCleanup_data()
    {
        QTest::addColumn<QList<QDate>>("dates");
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("report");
        QTest::addColumn<int>("remaining");
        const QList<QDate> mixed{QDate(2023, 12, 31), QDate(2024, 1, 15), QDate(2024, 2, 29), QDate(2024, 3, 1),
                                 QDate(2024, 3, 14), QDate(2024, 3, 15), QDate(2024, 4, 2), QDate(2025, 1, 1)};
        const QList<QDate> old{QDate(2023, 5, 2), QDate(2023, 5, 1)};
        const QString done = QStringLiteral("Database cleanup was performed successfully.  ");
        const QString failed = QStringLiteral("Database cleanup failed, so no task was deleted.");
        QTest::newRow("plural") << mixed << "" << done + "3 records were deleted." << 5;
        QTest::newRow("singular") << QList<QDate>{QDate(2024, 2, 1), QDate(2024, 3, 2)} << ""
                                  << done + "1 record was deleted." << 1;
        QTest::newRow("answered No") << old << "No" << QString() << 2;
        QTest::newRow("deletes fail") << old << "fail" << failed << 2;
        // The first deletion works, the second does not: the first is undone.
        QTest::newRow("one delete fails") << old << "fail one" << failed << 2;
        QTest::newRow("agenda unreadable") << old << "unreadable" << failed << -1;
    }
    void databaseCleanup()
    {
        QFETCH(QList<QDate>, dates);
        QFETCH(QString, trouble);
        QFETCH(QString, report);
        QFETCH(int, remaining);
        TestData data(QDate(2024, 3, 15));
        for (const QDate &date : dates)
            addTask(data, date);
        QWidget window;
        Reminders reminders(data.db(), &window);
        QSignalSpy changed(&reminders, &Reminders::agendaChanged);
        QSqlQuery sql(data.db().connection());
        if (trouble == QLatin1String("No"))
            data.desktop().queueAnswer(Desktop::Answer::No);
        else if (trouble == QLatin1String("fail"))
            data.failWrites(names::Agenda);
        else if (trouble == QLatin1String("fail one"))
            QVERIFY(sql.exec(QStringLiteral("CREATE TEMP TRIGGER failOne BEFORE DELETE ON \"Agenda\" WHEN old.\"Day\" = '1' "
                                            "BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
        else if (trouble == QLatin1String("unreadable"))
            QVERIFY(sql.exec(QStringLiteral("ALTER TABLE \"Agenda\" RENAME TO \"Agenda moved\"")));
        reminders.cleanupAction()->trigger();
        const QList<ScriptedDesktop::Message> &messages = data.desktop().messages;
        QCOMPARE(messages.size(), report.isEmpty() ? 1 : 2);
        QCOMPARE(messages.at(0).text,
                 QStringLiteral("Database cleanup is designed to improve the efficiency of Brevane Organizer "
                                "by deleting all passed agenda tasks.  Do you want to continue?"));
        QCOMPARE(messages.at(0).buttons, Desktop::Buttons::YesNo);
        if (!report.isEmpty()) // the reason for a failure follows the report after a blank line
            QCOMPARE(messages.at(1).text.section(QStringLiteral("\n\n"), 0, 0), report);
        QCOMPARE(changed.size(), trouble.isEmpty() ? 1 : 0);
        if (remaining >= 0)
            QCOMPARE(data.countOf(names::Agenda), remaining);
    }
};

BREVANE_TEST(CleanupTests)
#include "tst_cleanup.moc"
