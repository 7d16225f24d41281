#include "agendafixture.h"
#include "app/frmremind.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QSqlQuery>

using namespace brevane;
using namespace brevane::testing;
namespace names = store::names;
namespace ag = store::names::agenda;

namespace {

store::RecordId addReminded(TestData &data, const QDate &date, const QString &text, const QString &start,
                            const QString &lead, const QDate &remindOn)
{
    const store::RecordId id = addTask(data, date, text, start, start, QStringLiteral("Work"));
    store::RecordSet set(data.db(), names::Agenda, store::onlyRecord(id));
    set.edit();
    set.setField(ag::Reminder, lead);
    set.setField(ag::ReminderDay, QString::number(remindOn.day()));
    set.setField(ag::ReminderMonth, QString::number(remindOn.month()));
    set.setField(ag::ReminderYear, QString::number(remindOn.year()));
    if (!set.update().ok)
        qWarning("reminder not set");
    return id;
}

QString taskShown(QDialog *dialog)
{
    return dialog->findChild<QWidget *>(QStringLiteral("txtTask"))->property("plainText").toString();
}

void pressOnRow(Grid *grid, int row)
{
    const QPoint at = showCell(grid, row, 2);
    QTest::mousePress(cellSurface(grid, row), Qt::LeftButton, {}, at);
    QTest::mouseRelease(cellSurface(grid, row), Qt::LeftButton, {}, at);
}

} // namespace

// The main window's side of reminders, and the database cleanup.
class MainRemindersTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void chainShowsDueRemindersOneAtATimeInRecordOrder()
    {
        TestData data(QDate(2024, 2, 27));
        // Record order decides, across months: the March task was filed first.
        addReminded(data, QDate(2024, 3, 2), QStringLiteral("March task"), QStringLiteral("9:00 AM"),
                    QStringLiteral("5 Days"), QDate(2024, 2, 26));
        addReminded(data, QDate(2024, 2, 28), QStringLiteral("Not yet"), QStringLiteral("9:00 AM"),
                    QStringLiteral("1 Day"), QDate(2024, 2, 28));
        addReminded(data, QDate(2024, 2, 29), QStringLiteral("February task"), QStringLiteral("10:00 AM"),
                    QStringLiteral("3 Days"), QDate(2024, 2, 26));
        QStringList shown;
        data.desktop().onModal([&shown](QDialog *dialog) {
            shown << taskShown(dialog);
            // The next pop-up does not exist while this one is up.
            if (dialog->parent()->findChildren<frmRemind *>().size() != 1)
                shown << QStringLiteral("two at once");
            static_cast<frmRemind *>(dialog)->cmdOk_Click();
            return dialog->result();
        });
        frmMain window(data.db());
        window.load();
        QCOMPARE(shown, (QStringList{QStringLiteral("March task (to 9:00 AM)"), QStringLiteral("February task (to 10:00 AM)")}));
        QVERIFY2(data.desktop().messages.isEmpty(), "no message after the last reminder");
        QCOMPARE(data.desktop().beeps(), 2);
    }

    void closingWithoutOkEndsTheChain()
    {
        TestData data(QDate(2024, 3, 17));
        const auto first = addReminded(data, QDate(2024, 3, 20), QStringLiteral("First"), QStringLiteral("9:00 AM"),
                                       QStringLiteral("5 Days"), QDate(2024, 3, 15));
        addReminded(data, QDate(2024, 3, 20), QStringLiteral("Second"), QStringLiteral("10:00 AM"),
                    QStringLiteral("5 Days"), QDate(2024, 3, 15));
        frmMain window(data.db());
        window.load(); // the scripted user closes each pop-up without OK
        QCOMPARE(data.desktop().modalsShown.size(), 1);
        QCOMPARE(data.fieldOf(names::Agenda, first, ag::Reminder), QStringLiteral("5 Days"));

        // View > Reminders starts again from the first record.
        data.desktop().clearRecords();
        window.findChild<QAction *>(QStringLiteral("mnuViewReminders"))->trigger();
        QCOMPARE(data.desktop().modalsShown.size(), 1);
        QVERIFY(data.desktop().messages.isEmpty());
    }

    void okPostponesAndCopiesIntoTheToDoList()
    {
        TestData data(QDate(2024, 3, 17));
        const auto id = addReminded(data, QDate(2024, 3, 20), QStringLiteral("Dentist"), QStringLiteral("9:30 AM"),
                                    QStringLiteral("5 Days"), QDate(2024, 3, 15));
        data.desktop().onModal([](QDialog *dialog) {
            auto *next = dialog->findChild<QComboBox *>(QStringLiteral("cmbNext"));
            next->setCurrentIndex(next->findText(QStringLiteral("2 Days")));
            dialog->findChild<QCheckBox *>(QStringLiteral("chkReminder"))->setChecked(true);
            static_cast<frmRemind *>(dialog)->cmdOk_Click();
            return dialog->result();
        });
        frmMain window(data.db());
        window.load();
        QCOMPARE(data.fieldOf(names::Agenda, id, ag::Reminder), QStringLiteral("3 days"));
        QCOMPARE(data.fieldOf(names::Agenda, id, ag::ReminderDay), QStringLiteral("19"));
        auto *todo = window.findChild<Grid *>(QStringLiteral("ToDo"));
        QVERIFY2(todo, "ToDo grid");
        QCOMPARE(todo->textMatrix(1, 0),
                 QStringLiteral("REMINDER: Dentist (to 9:30 AM) (March 20, 2024 at 9:30 AM)"));
    }

    void viewRemindersWithNothingDue()
    {
        TestData data(QDate(2024, 3, 14));
        addReminded(data, QDate(2024, 3, 20), QStringLiteral("Later"), QStringLiteral("9:00 AM"),
                    QStringLiteral("5 Days"), QDate(2024, 3, 15));
        frmMain window(data.db());
        window.load();
        QVERIFY2(data.desktop().messages.isEmpty(), "the check at load says nothing");
        window.findChild<QAction *>(QStringLiteral("mnuSystemTrayReminders"))->trigger();
        QCOMPARE(data.desktop().messageTexts(), QStringList{QStringLiteral("There are no reminders for today.")});
        QCOMPARE(data.desktop().messages.first().icon, Desktop::Icon::Information);
    }

    void reminderSubmenu_data()
    {
        QTest::addColumn<int>("lead");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("None") << 0 << QStringList{QString(), QString(), QString(), QString()};
        QTest::newRow("1 Day") << 1 << QStringList{QStringLiteral("1 Day"), QStringLiteral("29"), QStringLiteral("2"), QStringLiteral("2024")};
        QTest::newRow("7 Days") << 7 << QStringList{QStringLiteral("7 Days"), QStringLiteral("23"), QStringLiteral("2"), QStringLiteral("2024")};
    }
    void reminderSubmenu()
    {
        QFETCH(int, lead);
        QFETCH(QStringList, stored);
        TestData data(QDate(2024, 3, 1));
        // A twin on the same day and slot text elsewhere in the file stays untouched.
        const auto twin = addReminded(data, QDate(2024, 4, 1), QStringLiteral("Review"), QStringLiteral("9:00 AM"),
                                      QStringLiteral("3 Days"), QDate(2024, 3, 29));
        const auto id = addReminded(data, QDate(2024, 3, 1), QStringLiteral("Review"), QStringLiteral("9:00 AM"),
                                    QStringLiteral("3 Days"), QDate(2024, 2, 27));
        frmMain window(data.db());
        window.load();
        data.desktop().clearRecords();
        Grid *grid = agendaGrid(window);
        pressOnRow(grid, rowOf(grid, QStringLiteral("9:00 AM")));
        QVERIFY(window.findChild<QMenu *>(QStringLiteral("mnuReminder"))->menuAction()->isEnabled());
        window.findChild<QAction *>(QStringLiteral("mnuSetReminder%1").arg(lead))->trigger();
        QCOMPARE((QStringList{data.fieldOf(names::Agenda, id, ag::Reminder), data.fieldOf(names::Agenda, id, ag::ReminderDay),
                              data.fieldOf(names::Agenda, id, ag::ReminderMonth), data.fieldOf(names::Agenda, id, ag::ReminderYear)}),
                 stored);
        QCOMPARE(data.fieldOf(names::Agenda, twin, ag::Reminder), QStringLiteral("3 Days"));
        QVERIFY(data.desktop().messages.isEmpty());
        QCOMPARE(grid->col(), 1);
    }

    void reminderSubmenuFailureIsReported()
    {
        TestData data(QDate(2024, 3, 1));
        const auto id = addTask(data, QDate(2024, 3, 1), QStringLiteral("Review"), QStringLiteral("9:00 AM"), QStringLiteral("9:00 AM"));
        frmMain window(data.db());
        window.load();
        Grid *grid = agendaGrid(window);
        pressOnRow(grid, rowOf(grid, QStringLiteral("9:00 AM")));
        data.failWrites(names::Agenda);
        window.findChild<QAction *>(QStringLiteral("mnuSetReminder2"))->trigger();
        QCOMPARE(data.desktop().messages.size(), 1);
        QCOMPARE(data.desktop().messages.first().icon, Desktop::Icon::Exclamation);
        QCOMPARE(data.fieldOf(names::Agenda, id, ag::Reminder), QString());
    }

    void databaseCleanup_data()
    {
        QTest::addColumn<QList<QDate>>("dates");
        QTest::addColumn<QString>("report");
        QTest::addColumn<int>("remaining");
        const QList<QDate> mixed{QDate(2023, 12, 31), QDate(2024, 1, 15), QDate(2024, 2, 29), QDate(2024, 3, 1),
                                 QDate(2024, 3, 14), QDate(2024, 3, 15), QDate(2024, 4, 2), QDate(2025, 1, 1)};
        QTest::newRow("plural") << mixed
                                << QStringLiteral("Database cleanup was performed successfully.  3 records were deleted.") << 5;
        QTest::newRow("singular") << QList<QDate>{QDate(2024, 2, 1), QDate(2024, 3, 2)}
                                  << QStringLiteral("Database cleanup was performed successfully.  1 record was deleted.") << 1;
        QTest::newRow("empty agenda") << QList<QDate>{}
                                      << QStringLiteral("Database cleanup was performed successfully.  0 records were deleted.") << 0;
    }
    void databaseCleanup()
    {
        QFETCH(QList<QDate>, dates);
        QFETCH(QString, report);
        QFETCH(int, remaining);
        TestData data(QDate(2024, 3, 15));
        for (const QDate &date : dates)
            addTask(data, date, QStringLiteral("Task"), QStringLiteral("9:00 AM"), QStringLiteral("9:00 AM"));
        frmMain window(data.db());
        window.load();
        window.findChild<QAction *>(QStringLiteral("mnuDatabaseCleanup"))->trigger();
        QCOMPARE(data.desktop().messageTexts(),
                 (QStringList{QStringLiteral("Database cleanup is designed to improve the efficiency of Brevane Organizer "
                                             "by deleting all passed agenda tasks.  Do you want to continue?"),
                              report}));
        QCOMPARE(data.desktop().messages.at(0).buttons, Desktop::Buttons::YesNo);
        QCOMPARE(data.desktop().messages.at(1).icon, Desktop::Icon::Information);
        QCOMPARE(data.countOf(names::Agenda), remaining);
    }

    void cleanupAnsweredNoDeletesNothing()
    {
        TestData data(QDate(2024, 3, 15));
        addTask(data, QDate(2023, 5, 1), QStringLiteral("Old"), QStringLiteral("9:00 AM"), QStringLiteral("9:00 AM"));
        frmMain window(data.db());
        window.load();
        data.desktop().queueAnswer(Desktop::Answer::No);
        window.findChild<QAction *>(QStringLiteral("mnuDatabaseCleanup"))->trigger();
        QCOMPARE(data.desktop().messages.size(), 1);
        QCOMPARE(data.countOf(names::Agenda), 1);
    }

    void cleanupThatCannotReadSaysSo()
    {
        TestData data(QDate(2024, 3, 15));
        addTask(data, QDate(2023, 5, 1), QStringLiteral("Old"), QStringLiteral("9:00 AM"), QStringLiteral("9:00 AM"));
        frmMain window(data.db());
        window.load();
        // The table vanishes from under the window, as in a damaged file.
        QSqlQuery query(data.db().connection());
        QVERIFY(query.exec(QStringLiteral("ALTER TABLE \"Agenda\" RENAME TO \"Agenda moved\"")));
        window.findChild<QAction *>(QStringLiteral("mnuDatabaseCleanup"))->trigger();
        QCOMPARE(data.desktop().messages.size(), 2);
        QVERIFY2(data.desktop().messages.at(1).text.startsWith(
                     QStringLiteral("The agenda could not be read, so no task was deleted.")),
                 qPrintable(data.desktop().messages.at(1).text));
        QCOMPARE(data.desktop().messages.at(1).icon, Desktop::Icon::Exclamation);
    }

    void cleanupCountsOnlyWhatWasDeleted()
    {
        TestData data(QDate(2024, 3, 15));
        addTask(data, QDate(2023, 5, 1), QStringLiteral("Old"), QStringLiteral("9:00 AM"), QStringLiteral("9:00 AM"));
        addTask(data, QDate(2023, 6, 1), QStringLiteral("Old too"), QStringLiteral("9:00 AM"), QStringLiteral("9:00 AM"));
        frmMain window(data.db());
        window.load();
        data.failWrites(names::Agenda);
        window.findChild<QAction *>(QStringLiteral("mnuDatabaseCleanup"))->trigger();
        QCOMPARE(data.desktop().messages.size(), 2);
        QVERIFY2(data.desktop().messages.at(1).text.startsWith(
                     QStringLiteral("Database cleanup was performed successfully.  0 records were deleted.  "
                                    "2 records could not be deleted.")),
                 qPrintable(data.desktop().messages.at(1).text));
        QCOMPARE(data.desktop().messages.at(1).icon, Desktop::Icon::Exclamation);
        QCOMPARE(data.countOf(names::Agenda), 2);
    }
};

BREVANE_TEST(MainRemindersTests)
#include "tst_reminders_main.moc"
