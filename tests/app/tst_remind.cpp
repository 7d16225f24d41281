#include "app/frmremind.h"
#include "store/names.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>

using namespace brevane;
using testing::TestData;
namespace names = store::names;
namespace agenda = store::names::agenda;

namespace {

const QString kTask = QStringLiteral("Dentist (to 10:30 AM)");

// A task on 20 March 2024 at 9:30 AM whose 5-day reminder started on the 15th.
store::RecordId addDentist(TestData &data)
{
    return data.insert(names::Agenda,
                       {{agenda::Task, kTask}, {agenda::Category, QStringLiteral("Appointment")},
                        {agenda::Reminder, QStringLiteral("5 Days")}, {agenda::ReminderDay, QStringLiteral("15")},
                        {agenda::ReminderMonth, QStringLiteral("3")}, {agenda::ReminderYear, QStringLiteral("2024")},
                        {agenda::StartHour, QStringLiteral("9")}, {agenda::StartMinute, QStringLiteral("30")},
                        {agenda::StartAmPm, QStringLiteral("AM")}, {agenda::Day, QStringLiteral("20")},
                        {agenda::Month, QStringLiteral("3")}, {agenda::Year, QStringLiteral("2024")}});
}

void showDentist(frmRemind &window, store::RecordId id)
{
    window.setReminder(20, 3, 2024, kTask, QStringLiteral("9"), QStringLiteral("30"), QStringLiteral("AM"),
                       QStringLiteral("Appointment"), id);
}

// "5 Days|15.3.2024"
QString reminderOf(TestData &data, store::RecordId id)
{
    const auto f = [&](const QString &field) { return data.fieldOf(names::Agenda, id, field); };
    return QStringLiteral("%1|%2.%3.%4").arg(f(agenda::Reminder), f(agenda::ReminderDay), f(agenda::ReminderMonth),
                                             f(agenda::ReminderYear));
}

template<typename T>
T *child(QWidget &window, const char *name)
{
    return window.findChild<T *>(QLatin1String(name));
}

void choose(frmRemind &window, const QString &choice)
{
    auto *next = child<QComboBox>(window, "cmbNext");
    next->setCurrentIndex(next->findText(choice));
}

void pressOk(frmRemind &window)
{
    QTest::mouseClick(child<QPushButton>(window, "cmdOk"), Qt::LeftButton);
}

} // namespace

class RemindTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setReminderFillsTheWindow()
    {
        TestData data(QDate(2024, 3, 17));
        frmRemind window(data.db());
        showDentist(window, 7);
        QCOMPARE(window.windowTitle(), QStringLiteral("Reminder"));
        QCOMPARE(window.record(), store::RecordId(7));
        const QList<std::pair<const char *, QString>> boxes{{"txtDate", QStringLiteral("March 20, 2024")},
                                                            {"txtTime", QStringLiteral("9:30 AM")},
                                                            {"txtCategory", QStringLiteral("Appointment")}};
        for (const auto &[name, text] : boxes) {
            auto *box = child<QLineEdit>(window, name);
            QVERIFY2(box && box->isReadOnly(), name);
            QCOMPARE(box->text(), text);
        }
        auto *task = child<QPlainTextEdit>(window, "txtTask");
        QVERIFY2(task && task->isReadOnly(), "txtTask");
        QCOMPARE(task->toPlainText(), kTask);
        QCOMPARE(task->accessibleName(), QStringLiteral("Task:"));
        auto *next = child<QComboBox>(window, "cmbNext");
        QVERIFY2(next, "cmbNext");
        QStringList items;
        for (int i = 0; i < next->count(); ++i)
            items << next->itemText(i);
        QCOMPARE(items.join(u','), QStringLiteral("Never,0 Days,1 Day,2 Days,3 Days"));
        QCOMPARE(next->currentText(), QStringLiteral("0 Days"));
        QCOMPARE(next->accessibleName(), QStringLiteral("Remind me again in:"));
        QVERIFY2(child<QCheckBox>(window, "chkReminder") && child<QCheckBox>(window, "chkDisplay"), "check boxes");
        QCOMPARE(data.desktop().beeps(), 1);
    }

    void okStoresThePostponement_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("dontDisplay");
        QTest::addColumn<QString>("stored");
        QTest::newRow("2 Days") << QStringLiteral("2 Days") << false << QStringLiteral("3 days|19.3.2024");
        QTest::newRow("0 Days") << QStringLiteral("0 Days") << false << QStringLiteral("5 days|17.3.2024");
        QTest::newRow("Never") << QStringLiteral("Never") << false << QStringLiteral("|..");
        QTest::newRow("don't display wins over 2 Days") << QStringLiteral("2 Days") << true << QStringLiteral("|..");
    }
    void okStoresThePostponement()
    {
        QFETCH(QString, choice);
        QFETCH(bool, dontDisplay);
        QFETCH(QString, stored);
        TestData data(QDate(2024, 3, 17));
        // Two records alike in every text: only the one shown may change.
        const store::RecordId twin = addDentist(data);
        const store::RecordId id = addDentist(data);
        frmRemind window(data.db());
        QSignalSpy changed(&window, &frmRemind::reminderChanged);
        data.desktop().onModal([&](QDialog *) {
            choose(window, choice);
            if (dontDisplay)
                child<QCheckBox>(window, "chkDisplay")->click();
            pressOk(window);
            return window.result();
        });
        showDentist(window, id);
        QCOMPARE(desktop().runModal(&window), int(QDialog::Accepted));

        QCOMPARE(reminderOf(data, id), stored);
        QCOMPARE(reminderOf(data, twin), QStringLiteral("5 Days|15.3.2024"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(data.countOf(names::ToDo), 0);
        QVERIFY2(data.desktop().messages.isEmpty(), qPrintable(data.desktop().messageTexts().join(u'|')));
    }

    void enterInTheTaskPressesOk()
    {
        TestData data(QDate(2024, 3, 17));
        const store::RecordId id = addDentist(data);
        frmRemind window(data.db());
        showDentist(window, id);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::keyClick(child<QPlainTextEdit>(window, "txtTask"), Qt::Key_Return);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(reminderOf(data, id), QStringLiteral("5 days|17.3.2024"));
    }

    // OK with "2 Days" and the to-do copy asked for, when all goes well and
    // when something is in the way: each part that can be done is done.
    void okWithTheToDoCopy_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("reminderAfter");
        QTest::addColumn<int>("copies");
        QTest::newRow("all well") << QString() << QString() << QStringLiteral("3 days|19.3.2024") << 1;
        QTest::newRow("record deleted meanwhile") << QStringLiteral("deleted") << QString()
                                                  << QStringLiteral("<no record>|<no record>.<no record>.<no record>") << 1;
        QTest::newRow("agenda write fails") << names::Agenda
                                            << QStringLiteral("The change to the reminder of \"%1\" was not saved.").arg(kTask)
                                            << QStringLiteral("5 Days|15.3.2024") << 1;
        QTest::newRow("to-do write fails") << names::ToDo << QStringLiteral("The reminder was not copied to the to-do list.")
                                           << QStringLiteral("3 days|19.3.2024") << 0;
    }
    void okWithTheToDoCopy()
    {
        QFETCH(QString, trouble);
        QFETCH(QString, message);
        QFETCH(QString, reminderAfter);
        QFETCH(int, copies);
        TestData data(QDate(2024, 3, 17));
        const store::RecordId twin = addDentist(data);
        const store::RecordId id = addDentist(data);
        const QString copy = QStringLiteral("REMINDER: Dentist (to 10:30 AM) (March 20, 2024 at 9:30 AM)");
        // An item of the same text from an earlier day does not stop a new copy.
        data.insert(names::ToDo, {{names::todo::Task, copy}});
        frmRemind window(data.db());
        QSignalSpy changed(&window, &frmRemind::reminderChanged);
        QSignalSpy added(&window, &frmRemind::todoAdded);
        showDentist(window, id);
        if (trouble == QLatin1String("deleted")) {
            store::RecordSet set(data.db(), names::Agenda);
            QVERIFY(set.moveToRecord(id) && set.deleteCurrent().ok);
        } else if (!trouble.isEmpty()) {
            data.failWrites(trouble);
        }
        choose(window, QStringLiteral("2 Days"));
        child<QCheckBox>(window, "chkReminder")->click();
        pressOk(window);
        window.cmdOk_Click(); // a repeated press changes nothing more

        QCOMPARE(reminderOf(data, id), reminderAfter);
        QCOMPARE(reminderOf(data, twin), QStringLiteral("5 Days|15.3.2024"));
        const bool agendaWritten = trouble.isEmpty() || trouble == names::ToDo;
        QCOMPARE(changed.count(), agendaWritten ? 1 : 0);
        QCOMPARE(data.countOf(names::ToDo), 1 + copies);
        QCOMPARE(added.count(), copies);
        if (copies) {
            store::RecordSet todo(data.db(), names::ToDoQuery);
            todo.moveLast();
            QCOMPARE(todo.field(names::todo::Task), copy);
            QCOMPARE(todo.field(names::todo::Category), QStringLiteral("Appointment"));
            QCOMPARE(todo.field(names::todo::Done) + todo.field(names::todo::Priority), QString());
        }
        if (message.isEmpty()) {
            QVERIFY2(data.desktop().messages.isEmpty(), qPrintable(data.desktop().messageTexts().join(u'|')));
        } else {
            QCOMPARE(data.desktop().messages.size(), 1);
            const ScriptedDesktop::Message &shown = data.desktop().messages.constFirst();
            QVERIFY2(shown.text.startsWith(message) && shown.text.contains(QStringLiteral("disk I/O error")),
                     qPrintable(shown.text));
            QCOMPARE(shown.icon, Desktop::Icon::Exclamation);
        }
        // The window closes in any case, so that the next reminder can follow.
        QCOMPARE(window.result(), int(QDialog::Accepted));
    }
};

BREVANE_TEST(RemindTests)
#include "tst_remind.moc"
