#include "core/organizer.h"
#include "core/reminders.h"
#include "testmain.h"

using namespace brevane;
using reminders::ReminderFields;

namespace {

// The four stored texts as "3 days|19.3.2024"; "|" when all are empty.
QString show(const ReminderFields &f)
{
    return f.day.isEmpty() ? f.reminder + u'|' : QStringLiteral("%1|%2.%3.%4").arg(f.reminder, f.day, f.month, f.year);
}

} // namespace

class ReminderTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void due_data()
    {
        QTest::addColumn<QString>("reminderDate"); // d.m.y as stored
        QTest::addColumn<QString>("taskDate");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<bool>("due");
        const auto row = [](const char *name, const char *reminder, const char *task, QDate today, bool due) {
            QTest::newRow(name) << QString::fromLatin1(reminder) << QString::fromLatin1(task) << today << due;
        };
        row("reminder date", "15.3.2024", "20.3.2024", {2024, 3, 15}, true);
        row("task's day", "15.3.2024", "20.3.2024", {2024, 3, 20}, true);
        row("day after the task", "15.3.2024", "20.3.2024", {2024, 3, 21}, false);
        row("same days, next year", "15.3.2024", "20.3.2024", {2025, 3, 17}, false);
        row("task on 2 March, 5 days ahead: not on 25 Feb", "26.2.2024", "2.3.2024", {2024, 2, 25}, false);
        row("task on 2 March, 5 days ahead: on 26 Feb", "26.2.2024", "2.3.2024", {2024, 2, 26}, true);
        row("no reminder", "..", "20.3.2024", {2024, 3, 20}, false);
        row("reminder on 30 February", "30.2.2024", "2.3.2024", {2024, 3, 1}, false);
        row("task on 29 February 2023", "25.2.2023", "29.2.2023", {2023, 2, 27}, false);
    }
    void due()
    {
        QFETCH(QString, reminderDate);
        QFETCH(QString, taskDate);
        QFETCH(QDate, today);
        const QStringList r = reminderDate.split(u'.');
        const QStringList t = taskDate.split(u'.');
        const ReminderFields reminder{QStringLiteral("5 Days"), r.at(0), r.at(1), r.at(2)};
        QTEST(reminders::isDue(reminder, t.at(0), t.at(1), t.at(2), today), "due");
    }

    void postponementChoices_data()
    {
        QTest::addColumn<QDate>("taskDate");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("choices");
        QTest::newRow("17th, task on the 20th") << QDate(2024, 3, 20) << QDate(2024, 3, 17)
                                                << QStringLiteral("Never,0 Days,1 Day,2 Days,3 Days");
        QTest::newRow("task's day") << QDate(2024, 3, 20) << QDate(2024, 3, 20) << QStringLiteral("Never,0 Days");
        QTest::newRow("across a leap February") << QDate(2024, 3, 2) << QDate(2024, 2, 28)
                                                << QStringLiteral("Never,0 Days,1 Day,2 Days,3 Days");
    }
    void postponementChoices()
    {
        QFETCH(QDate, taskDate);
        QFETCH(QDate, today);
        QTEST(reminders::postponementChoices(taskDate, today).join(u','), "choices");
    }

    // The stored fields for a new lead time.
    void storedFields()
    {
        QCOMPARE(show(reminders::leadTimeFields(7, 5, 1, 2024)), QStringLiteral("7 Days|29.12.2023"));
        QCOMPARE(show(reminders::leadTimeFields(1, 30, 2, 2024)), QStringLiteral("|")); // no such day
    }
};

BREVANE_TEST(ReminderTests)
#include "tst_reminders.moc"
