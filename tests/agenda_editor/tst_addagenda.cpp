#include "agenda_editor/frmaddagenda.h"
#include "controls/flatbutton.h"
#include "store/names.h"
#include "testsupport.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>

using namespace brevane;
using testing::TestData;
namespace names = store::names;
namespace ag = store::names::agenda;

namespace {

const QString kBadRange = QStringLiteral("The selected timeframe is invalid.  The start time must come before the end time.");
const QString kChangedElsewhere = QStringLiteral("This item was changed elsewhere since you opened it.  Save your version anyway?");
const QString kSlotTaken = QStringLiteral("Another task already starts at 9:00 AM on this day.  Please choose another start time.");

QComboBox *box(const frmAddAgenda &editor, const char *name) { return editor.findChild<QComboBox *>(QLatin1String(name)); }
QLineEdit *taskBox(const frmAddAgenda &editor) { return editor.findChild<QLineEdit *>(QStringLiteral("txtTask")); }
FlatButton *button(const frmAddAgenda &editor, const char *name) { return editor.findChild<FlatButton *>(QLatin1String(name)); }

// Picks an entry as the user would; "" picks nothing.
void pick(const frmAddAgenda &editor, const char *name, const QString &text)
{
    QComboBox *combo = box(editor, name);
    combo->setCurrentIndex(combo->findText(text));
}

// "9:30 AM" into the start or end drop-downs.
void pickTime(const frmAddAgenda &editor, const char *prefix, const QString &time)
{
    const QStringList parts = time.split(QRegularExpression(QStringLiteral("[: ]")));
    pick(editor, qPrintable(QLatin1String(prefix) + QStringLiteral("Hour")), parts.at(0));
    pick(editor, qPrintable(QLatin1String(prefix) + QStringLiteral("Minute")), parts.at(1));
    pick(editor, qPrintable(QLatin1String(prefix) + QStringLiteral("AMPM")), parts.at(2));
}

// An editor in add mode, filled and ready to save.
void fill(frmAddAgenda &editor, const QString &text, const QDate &date, const QString &start, const QString &end)
{
    QTest::keyClicks(taskBox(editor), text);
    editor.presetDate(date.day(), date.month() - 1, date.year());
    pickTime(editor, "cmbStart", start);
    pickTime(editor, "cmbEnd", end);
}

// A zero-length task on 5 March 2003, reminder due 4 March, with values the drop-downs lack.
store::RecordId storedTask(TestData &data, const QString &text, const QString &start, const QString &reminder = "2 Days")
{
    const QStringList t = start.split(QRegularExpression(QStringLiteral("[: ]")));
    return data.insert(names::Agenda, {{ag::Task, text}, {ag::StartHour, t[0]}, {ag::StartMinute, t[1]}, {ag::StartAmPm, t[2]},
                                       {ag::EndHour, t[0]}, {ag::EndMinute, t[1]}, {ag::EndAmPm, t[2]}, {ag::Reminder, reminder},
                                       {ag::ReminderDay, "4"}, {ag::ReminderMonth, "3"}, {ag::ReminderYear, "2003"},
                                       {ag::Category, "Groceries"}, {ag::Alarm, "Maybe"}, {ag::Repeating, "Fortnightly"},
                                       {ag::Day, "5"}, {ag::Month, "3"}, {ag::Year, "2003"}});
}

QString storedFields(TestData &data, store::RecordId id, const QStringList &fields)
{
    QStringList values;
    for (const QString &field : fields)
        values << data.fieldOf(names::Agenda, id, field);
    return values.join(u'|');
}

// The editor said no: one warning, and the editor stays open on the user's input.
void checkRefused(TestData &data, const frmAddAgenda &editor, const QString &message)
{
    const auto &shown = data.desktop().messages;
    QVERIFY2(shown.size() == 1 && shown.first().text.startsWith(message), qPrintable(data.desktop().messageTexts().join(u'/')));
    QVERIFY(shown.first().icon == Desktop::Icon::Exclamation && editor.isVisible());
}

} // namespace

class AddAgendaTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A modeless dialog over its opener (announced by screen readers); the organizer's tab order.
    void freshWindow()
    {
        TestData data;
        QWidget main;
        main.setGeometry(400, 300, 900, 700);
        main.show();
        frmAddAgenda &editor = *new frmAddAgenda(data.db(), &main);
        editor.show();
        QCOMPARE(editor.windowTitle(), QStringLiteral("Add Agenda Task"));
        QCOMPARE(QAccessible::queryAccessibleInterface(&editor)->role(), QAccessible::Dialog);
        QVERIFY(!editor.isModal() && main.frameGeometry().contains(editor.frameGeometry().center()));
        QStringList order;
        for (QWidget *widget = taskBox(editor); order.size() < 16; widget = widget->nextInFocusChain()) {
            if (widget->focusPolicy() & Qt::TabFocus)
                order << widget->objectName();
        }
        QCOMPARE(order.join(u' '), QStringLiteral("txtTask cmbStartHour cmbStartMinute cmbStartAMPM cmbEndHour cmbEndMinute "
                                                  "cmbEndAMPM cmbCategory cmbMonth cmbDay cmbYear cmbRepeat cmbReminder "
                                                  "cmdSave cmdReset cmdClose"));
        QVERIFY(!editor.hasUnsavedChanges());
        taskBox(editor)->insert(QString(251, u'a'));
        QCOMPARE(taskBox(editor)->text(), QString(250, u'a'));
        QVERIFY(editor.hasUnsavedChanges());
    }

    void saveEnabling()
    {
        TestData data;
        frmAddAgenda editor(data.db());
        editor.presetDate(29, 1, 2024);
        QString states; // after: nothing, "x", none, blanks, a year without 29 February (no day), the 28th
        const auto note = [&] { states += button(editor, "cmdSave")->isEnabled() ? u'1' : u'0'; };
        note();
        QTest::keyClicks(taskBox(editor), QStringLiteral("x")), note();
        QTest::keyClick(taskBox(editor), Qt::Key_Backspace), note();
        QTest::keyClicks(taskBox(editor), QStringLiteral("  ")), note();
        pick(editor, "cmbYear", QStringLiteral("2023")), note();
        QTest::keyClick(taskBox(editor), Qt::Key_Return);
        QCOMPARE(data.countOf(names::Agenda), 0);
        pick(editor, "cmbDay", QStringLiteral("28")), note();
        QCOMPARE(states, QStringLiteral("010101"));
    }

    void dayList_data()
    {
        QTest::addColumn<QString>("from"); // day month year
        QTest::addColumn<QString>("change"); // a month or a year
        QTest::addColumn<QString>("expected"); // day selected / days listed
        QTest::newRow("31 into April") << "31 March 2024" << "April" << "30/30";
        QTest::newRow("31 into a leap February") << "31 March 2024" << "February" << "29/29";
        QTest::newRow("29 February to 2023") << "29 February 2024" << "2023" << "/28";
        QTest::newRow("year of another month") << "31 March 2024" << "2023" << "31/31";
    }
    void dayList()
    {
        QFETCH(QString, from);
        QFETCH(QString, change);
        QFETCH(QString, expected);
        TestData data;
        frmAddAgenda editor(data.db());
        const QStringList date = from.split(u' ');
        pick(editor, "cmbYear", date.at(2));
        pick(editor, "cmbMonth", date.at(1));
        pick(editor, "cmbDay", date.at(0));
        pick(editor, change.front().isDigit() ? "cmbYear" : "cmbMonth", change);
        QCOMPARE(box(editor, "cmbDay")->currentText() + u'/' + QString::number(box(editor, "cmbDay")->count()), expected);
    }

    void saveRules_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("message"); // none: saved
        const QDate day(2003, 3, 5); // a task already starts at 9:00 AM on it
        QTest::newRow("across noon") << day << "12:30 PM" << "1:00 PM" << QString();
        QTest::newRow("into the next day") << day << "11:00 PM" << "12:00 AM" << kBadRange;
        QTest::newRow("zero length") << day << "3:00 PM" << "3:00 PM" << QString();
        QTest::newRow("half an hour back") << day << "2:00 PM" << "1:30 PM" << kBadRange;
        QTest::newRow("ends at noon after one") << day << "1:00 PM" << "12:00 PM" << kBadRange;
        QTest::newRow("taken slot") << day << "9:00 AM" << "11:00 AM" << kSlotTaken;
        QTest::newRow("same slot, other day") << day.addDays(1) << "9:00 AM" << "11:00 AM" << QString();
    }
    void saveRules()
    {
        QFETCH(QDate, date);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, message);
        TestData data;
        storedTask(data, QStringLiteral("Taken (to 9:00 AM)"), QStringLiteral("9:00 AM"));
        frmAddAgenda editor(data.db());
        editor.show();
        QSignalSpy saved(&editor, &frmAddAgenda::saved);
        fill(editor, QStringLiteral("Call"), date, start, end);
        QTest::mouseClick(button(editor, "cmdSave"), Qt::LeftButton);
        QCOMPARE(data.countOf(names::Agenda) * 10 + saved.size(), message.isEmpty() ? 21 : 10);
        if (message.isEmpty()) {
            QVERIFY(data.desktop().messages.isEmpty() && !editor.isVisible());
        } else {
            checkRefused(data, editor, message);
            QCOMPARE(editor.focusWidget(), box(editor, message == kBadRange ? "cmbEndHour" : "cmbStartHour"));
        }
    }

    void savedFields()
    {
        TestData data;
        frmAddAgenda editor(data.db());
        fill(editor, QStringLiteral("Lunch"), QDate(2024, 1, 3), QStringLiteral("12:00 PM"), QStringLiteral("1:30 PM"));
        pick(editor, "cmbCategory", QStringLiteral("Personal"));
        pick(editor, "cmbReminder", QStringLiteral("5 Days")); // back into the old year
        editor.updateAgenda();
        QCOMPARE(data.countOf(names::Agenda), 1);
        QCOMPARE(storedFields(data, 1, {ag::Task, ag::Category, ag::Alarm, ag::Repeating, ag::Reminder, ag::StartHour,
                                        ag::StartMinute, ag::StartAmPm, ag::EndHour, ag::EndMinute, ag::EndAmPm, ag::Day,
                                        ag::Month, ag::Year, ag::ReminderDay, ag::ReminderMonth, ag::ReminderYear}),
                 QStringLiteral("Lunch (to 1:30 PM)|Personal|No||5 Days|12|00|PM|1|30|PM|3|1|2024|29|12|2023"));
    }

    void editWritesIntoItsOwnTask()
    {
        // Twins in one slot (written elsewhere) may be saved where they stand, not moved onto another's slot.
        TestData data;
        const store::RecordId twin = storedTask(data, QStringLiteral("Twin (to 9:00 AM)"), QStringLiteral("9:00 AM"));
        const store::RecordId mine = storedTask(data, QStringLiteral(" (to 9:00 AM)"), QStringLiteral("9:00 AM"));
        const store::RecordId other = storedTask(data, QStringLiteral("Other (to 8:00 AM)"), QStringLiteral("8:00 AM"));
        frmAddAgenda editor(data.db());
        editor.show();
        QVERIFY(editor.editRecord(mine, {5, 3, 2003}));
        QCOMPARE(taskBox(editor)->text() + box(editor, "cmbReminder")->currentText(), QStringLiteral("2 Days"));
        taskBox(editor)->setText(QStringLiteral("Mine"));
        pick(editor, "cmbReminder", QString());
        pickTime(editor, "cmbStart", QStringLiteral("8:00 AM"));
        editor.updateAgenda();
        checkRefused(data, editor, QString(kSlotTaken).replace(QLatin1String("9:00"), QLatin1String("8:00")));
        QCOMPARE(data.fieldOf(names::Agenda, mine, ag::Task), QStringLiteral(" (to 9:00 AM)"));

        pickTime(editor, "cmbStart", QStringLiteral("9:00 AM"));
        editor.updateAgenda();
        QCOMPARE(data.desktop().messages.size() * 10 + data.countOf(names::Agenda), 13);
        QCOMPARE(storedFields(data, mine, {ag::Task, ag::Reminder, ag::ReminderDay}), QStringLiteral("Mine (to 9:00 AM)||"));
        QCOMPARE(data.fieldOf(names::Agenda, twin, ag::Task) + data.fieldOf(names::Agenda, other, ag::Task),
                 QStringLiteral("Twin (to 9:00 AM)Other (to 8:00 AM)"));
    }

    void resetFieldsKeepsDateAndTime()
    {
        TestData data;
        frmAddAgenda editor(data.db());
        editor.show();
        fill(editor, QStringLiteral("Lunch"), QDate(2003, 3, 5), QStringLiteral("12:00 PM"), QStringLiteral("1:30 PM"));
        pick(editor, "cmbCategory", QStringLiteral("Personal"));
        pick(editor, "cmbReminder", QStringLiteral("3 Days"));
        pick(editor, "cmbRepeat", QStringLiteral("Weekly"));
        pick(editor, "cmbAlarm", QStringLiteral("Yes"));
        QTest::mouseClick(button(editor, "cmdReset"), Qt::LeftButton);
        QCOMPARE(taskBox(editor)->text() + box(editor, "cmbCategory")->currentText() + box(editor, "cmbReminder")->currentText()
                     + box(editor, "cmbRepeat")->currentText() + box(editor, "cmbAlarm")->currentText(),
                 QStringLiteral("No"));
        QCOMPARE(box(editor, "cmbStartHour")->currentText() + box(editor, "cmbEndHour")->currentText()
                     + box(editor, "cmbDay")->currentText(), QStringLiteral("1215"));
        QVERIFY(!button(editor, "cmdSave")->isEnabled() && editor.focusWidget() == taskBox(editor));
    }

    // A refused or failed save keeps file and input; too long a text (put in by accessibility) is never cut.
    void failedWriteKeepsTheInput_data()
    {
        QTest::addColumn<QString>("how"); // mode, then what goes wrong
        QTest::addColumn<QString>("message");
        const QString tooLong = QStringLiteral("The task may be at most 250 characters long.  Please shorten it.");
        QTest::newRow("add fails") << "add fail" << QStringLiteral("The task could not be saved: ");
        QTest::newRow("edit fails") << "edit fail" << QStringLiteral("The task could not be saved: ");
        QTest::newRow("edited task deleted meanwhile")
            << "edit delete" << QStringLiteral("This task no longer exists.  It may have been deleted.");
        QTest::newRow("added text too long") << "add long" << tooLong;
        QTest::newRow("edited text too long") << "edit long" << tooLong;
    }
    void failedWriteKeepsTheInput()
    {
        QFETCH(QString, how);
        QFETCH(QString, message);
        const bool deleted = how.endsWith(QLatin1String("delete"));
        const QString typed = how.endsWith(QLatin1String("long")) ? QString(10000, u'a') : QStringLiteral("Typed");
        TestData data;
        frmAddAgenda editor(data.db());
        editor.show();
        const store::RecordId old = storedTask(data, QStringLiteral("Old (to 9:00 AM)"), QStringLiteral("9:00 AM"));
        if (how.startsWith(QLatin1String("edit")))
            QVERIFY(editor.editRecord(old, {5, 3, 2003}));
        else
            fill(editor, QStringLiteral("x"), QDate(2003, 3, 5), QStringLiteral("10:00 AM"), QStringLiteral("10:30 AM"));
        QAccessible::queryAccessibleInterface(taskBox(editor))->setText(QAccessible::Value, typed);
        QSignalSpy saved(&editor, &frmAddAgenda::saved);
        if (deleted)
            QVERIFY(store::AgendaRepository(data.db()).remove(old).ok);
        else if (how.endsWith(QLatin1String("fail")))
            data.failWrites(names::Agenda);
        QTest::keyClick(taskBox(editor), Qt::Key_Return);
        checkRefused(data, editor, message);
        QVERIFY(saved.isEmpty() && taskBox(editor)->text() == typed);
        QCOMPARE(data.countOf(names::Agenda), deleted ? 0 : 1);
        QCOMPARE(data.fieldOf(names::Agenda, old, ag::Task), deleted ? QStringLiteral("<no record>") : QStringLiteral("Old (to 9:00 AM)"));
    }

    // Only what the user changed is written; a task changed elsewhere meanwhile is overwritten only on Yes.
    void editWritesOnlyWhatChanged_data()
    {
        QTest::addColumn<QString>("reminder"); // stored, due on 4 March
        QTest::addColumn<QString>("change");   // control=value
        QTest::addColumn<QString>("answer");   // the reminder put off to "1 day" elsewhere first, and this answer
        QTest::addColumn<QString>("expected"); // shown reminder > task|reminder|due|day
        QTest::newRow("put-off reminder") << "3 days" << "txtTask=Dentist!" << "" << "3 Days>Dentist! (to 9:00 AM)|3 days|4.3|5";
        QTest::newRow("lead the list lacks") << "0 days" << "txtTask=Dentist!" << "" << "0 days>Dentist! (to 9:00 AM)|0 days|4.3|5";
        QTest::newRow("moved") << "3 days" << "cmbDay=12" << "" << "3 Days>Dentist (to 9:00 AM)|3 days|9.3|12";
        QTest::newRow("new lead") << "3 days" << "cmbReminder=5 Days" << "" << "3 Days>Dentist (to 9:00 AM)|5 Days|28.2|5";
        QTest::newRow("no reminder") << "3 days" << "cmbReminder=" << "" << "3 Days>Dentist (to 9:00 AM)||.|5";
        QTest::newRow("changed elsewhere, save") << "3 days" << "txtTask=Dentist!" << "Yes" << "3 Days>Dentist! (to 9:00 AM)|1 day|5.3|5";
        QTest::newRow("changed elsewhere, don't") << "3 days" << "txtTask=Dentist!" << "No" << "3 Days>Dentist (to 9:00 AM)|1 day|5.3|5";
    }
    void editWritesOnlyWhatChanged()
    {
        QFETCH(QString, reminder);
        QFETCH(QString, change);
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        TestData data;
        const store::RecordId id = storedTask(data, QStringLiteral("Dentist (to 9:00 AM)"), QStringLiteral("9:00 AM"), reminder);
        frmAddAgenda editor(data.db());
        editor.show();
        QVERIFY(editor.editRecord(id, {5, 3, 2003}));
        QVERIFY(!editor.hasUnsavedChanges());
        const QString shown = box(editor, "cmbReminder")->currentText();
        change.startsWith(QLatin1String("txtTask")) ? taskBox(editor)->setText(change.section(u'=', 1))
                                                    : pick(editor, qPrintable(change.section(u'=', 0, 0)), change.section(u'=', 1));
        QVERIFY(editor.hasUnsavedChanges());
        if (!answer.isEmpty()) {
            store::AgendaRepository tasks(data.db());
            store::AgendaTask putOff = *tasks.byId(id).value;
            putOff.reminder = QStringLiteral("1 day");
            putOff.reminderDay = 5;
            QVERIFY(tasks.update(putOff, store::AgendaField::Reminder).ok);
            data.desktop().queueAnswer(answer == QLatin1String("Yes") ? Desktop::Answer::Yes : Desktop::Answer::No);
        }
        editor.updateAgenda();
        QCOMPARE(data.desktop().messageTexts(), answer.isEmpty() ? QStringList() : QStringList{kChangedElsewhere});
        QCOMPARE(editor.isVisible(), answer == QLatin1String("No"));
        QCOMPARE(storedFields(data, id, {ag::Category, ag::Alarm, ag::Repeating}), QStringLiteral("Groceries|Maybe|Fortnightly"));
        QCOMPARE(shown + u'>' + storedFields(data, id, {ag::Task, ag::Reminder, ag::ReminderDay}) + u'.'
                     + data.fieldOf(names::Agenda, id, ag::ReminderMonth) + u'|' + data.fieldOf(names::Agenda, id, ag::Day),
                 expected);
    }
};

BREVANE_TEST(AddAgendaTests)
#include "tst_addagenda.moc"
