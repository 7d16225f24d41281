#include "agendafixture.h"
#include "app/frmmain.h"
#include "reminders/frmremind.h"

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

store::RecordId addReminded(TestData &data, const QDate &date, const QString &text, const QString &lead,
                            const QDate &remindOn, const QString &start = QStringLiteral("9:00 AM"))
{
    const store::RecordId id = addTask(data, date, text, start, start, QStringLiteral("Work"));
    store::RecordSet set(data.db(), names::Agenda, store::onlyRecord(id));
    set.edit();
    set.setField(ag::Reminder, lead);
    set.setField(ag::ReminderDay, QString::number(remindOn.day()));
    set.setField(ag::ReminderMonth, QString::number(remindOn.month()));
    set.setField(ag::ReminderYear, QString::number(remindOn.year()));
    return set.update().ok ? id : store::kNoRecord;
}

} // namespace

class MainRemindersTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Due reminders in record order, the next only after OK, each once; what OK stores shows at once.
    void chainInRecordOrderThroughOk()
    {
        TestData data(QDate(2024, 2, 27));
        addReminded(data, QDate(2024, 3, 2), QStringLiteral("March task"), QStringLiteral("5 Days"), QDate(2024, 2, 26),
                    QStringLiteral("9:30 AM"));
        addReminded(data, QDate(2024, 2, 28), QStringLiteral("Not yet"), QStringLiteral("1 Day"), QDate(2024, 2, 28));
        addReminded(data, QDate(2024, 2, 29), QStringLiteral("February task"), QStringLiteral("3 Days"), QDate(2024, 2, 26));
        QStringList shown;
        frmMain window(data.db());
        data.desktop().onModal([&shown, &window](QDialog *dialog) {
            shown << dialog->findChild<QWidget *>(QStringLiteral("txtTask"))->property("plainText").toString();
            if (dialog->parent()->findChildren<frmRemind *>().size() != 1)
                shown << QStringLiteral("two at once");
            else // the notification-area menu stays live over the pop-up
                window.findChild<QAction *>(QStringLiteral("mnuSystemTrayReminders"))->trigger();
            auto *next = dialog->findChild<QComboBox *>(QStringLiteral("cmbNext"));
            next->setCurrentIndex(next->findText(QStringLiteral("2 Days")));
            dialog->findChild<QCheckBox *>(QStringLiteral("chkReminder"))->setChecked(true);
            static_cast<frmRemind *>(dialog)->cmdOk_Click();
            return dialog->result();
        });
        window.load();
        QCOMPARE(shown, (QStringList{QStringLiteral("March task (to 9:30 AM)"),
                                     QStringLiteral("February task (to 9:00 AM)")}));
        QVERIFY2(data.desktop().messages.isEmpty(), "no message after the last reminder");
        QCOMPARE(data.desktop().beeps(), 2);
        const auto *todo = window.findChild<Grid *>(QStringLiteral("ToDo"));
        QCOMPARE(todo->textMatrix(1, 0), QStringLiteral("REMINDER: March task (to 9:30 AM) (March 2, 2024 at 9:30 AM)"));
        QCOMPARE(todo->rows(), 3);
    }

    // Nothing due: silent at load, the menu says so; closing a pop-up without OK ends the chain.
    void viewRemindersAndClosingWithoutOk()
    {
        TestData data(QDate(2024, 3, 14));
        const auto first =
            addReminded(data, QDate(2024, 3, 20), QStringLiteral("First"), QStringLiteral("5 Days"), QDate(2024, 3, 15));
        addReminded(data, QDate(2024, 3, 20), QStringLiteral("Second"), QStringLiteral("5 Days"), QDate(2024, 3, 15));
        frmMain window(data.db());
        window.load();
        QVERIFY2(data.desktop().messages.isEmpty() && data.desktop().modalsShown.isEmpty(),
                 "the check at load says nothing");
        window.findChild<QAction *>(QStringLiteral("mnuSystemTrayReminders"))->trigger();
        QCOMPARE(data.desktop().messageTexts(), QStringList{QStringLiteral("There are no reminders for today.")});

        data.desktop().setToday(QDate(2024, 3, 17));
        data.desktop().clearRecords();
        window.findChild<QAction *>(QStringLiteral("mnuViewReminders"))->trigger(); // closed without OK
        QCOMPARE(data.desktop().modalsShown.size(), 1);
        QCOMPARE(data.fieldOf(names::Agenda, first, ag::Reminder), QStringLiteral("5 Days"));
        QVERIFY(data.desktop().messages.isEmpty());

        // A check that cannot read the agenda says so, and not that nothing is due.
        QVERIFY(QSqlQuery(data.db().connection()).exec(QStringLiteral("ALTER TABLE \"Agenda\" RENAME TO \"Moved\"")));
        window.findChild<QAction *>(QStringLiteral("mnuViewReminders"))->trigger();
        QCOMPARE(data.desktop().messages.size(), 1);
        QVERIFY2(data.desktop().messages.at(0).text.startsWith(QStringLiteral("The reminders could not be read")),
                 qPrintable(data.desktop().messageTexts().join(u'\n')));
    }

    // On the selected row's own record; a twin on another day stays untouched.
    void reminderSubmenu_data()
    {
        QTest::addColumn<int>("lead");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<QString>("stored");
        QTest::newRow("None") << 0 << false << "|||";
        QTest::newRow("1 Day") << 1 << false << "1 Day|29|2|2024";
        QTest::newRow("write refused") << 2 << true << "3 Days|27|2|2024";
    }
    void reminderSubmenu()
    {
        QFETCH(int, lead);
        QFETCH(bool, fails);
        TestData data(QDate(2024, 3, 1));
        const QString review = QStringLiteral("Review");
        const auto twin = addReminded(data, QDate(2024, 4, 1), review, QStringLiteral("3 Days"), QDate(2024, 3, 29));
        const auto id = addReminded(data, QDate(2024, 3, 1), review, QStringLiteral("3 Days"), QDate(2024, 2, 27));
        frmMain window(data.db());
        window.load();
        data.desktop().clearRecords();
        Grid *grid = agendaGrid(window);
        const int row = rowOf(grid, QStringLiteral("9:00 AM"));
        QTest::mouseClick(cellSurface(grid, row), Qt::LeftButton, {}, showCell(grid, row, 2));
        QVERIFY(window.findChild<QMenu *>(QStringLiteral("mnuReminder"))->menuAction()->isEnabled());
        if (fails)
            data.failWrites(names::Agenda);
        window.findChild<QAction *>(QStringLiteral("mnuSetReminder%1").arg(lead))->trigger();
        QStringList fields;
        for (const QString &field : {ag::Reminder, ag::ReminderDay, ag::ReminderMonth, ag::ReminderYear})
            fields << data.fieldOf(names::Agenda, id, field);
        QTEST(fields.join(u'|'), "stored");
        QCOMPARE(data.fieldOf(names::Agenda, twin, ag::Reminder), QStringLiteral("3 Days"));
        QCOMPARE(data.desktop().messages.size(), fails ? 1 : 0);
        if (!fails)
            QCOMPARE(grid->col(), 1);
    }
};

BREVANE_TEST(MainRemindersTests)
#include "tst_reminders_main.moc"
