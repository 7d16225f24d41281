#include "agenda_editor/frmaddagenda.h"
#include "controls/flatbutton.h"
#include "store/names.h"
#include "testsupport.h"

#include <QComboBox>
#include <QPushButton>
#include <QLineEdit>
#include <QSignalSpy>

using namespace brevane;
using testing::TestData;
namespace names = store::names;
namespace ag = store::names::agenda;

namespace {

QComboBox *box(const frmAddAgenda &editor, const char *name)
{
    return editor.findChild<QComboBox *>(QLatin1String(name));
}
QLineEdit *taskBox(const frmAddAgenda &editor)
{
    return editor.findChild<QLineEdit *>(QStringLiteral("txtTask"));
}
FlatButton *button(const frmAddAgenda &editor, const char *name)
{
    return editor.findChild<FlatButton *>(QLatin1String(name));
}

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

store::RecordId storedTask(TestData &data, const QDate &date, const QString &text, const QString &start)
{
    const QStringList parts = start.split(QRegularExpression(QStringLiteral("[: ]")));
    return data.insert(names::Agenda, {{ag::Task, text}, {ag::StartHour, parts.at(0)}, {ag::StartMinute, parts.at(1)},
                                       {ag::StartAmPm, parts.at(2)}, {ag::EndHour, parts.at(0)},
                                       {ag::EndMinute, parts.at(1)}, {ag::EndAmPm, parts.at(2)},
                                       {ag::Reminder, QStringLiteral("2 Days")}, {ag::ReminderDay, QStringLiteral("3")},
                                       {ag::Day, QString::number(date.day())}, {ag::Month, QString::number(date.month())},
                                       {ag::Year, QString::number(date.year())}});
}

// The one task in the file, as field -> text.
QHash<QString, QString> onlyTask(TestData &data)
{
    store::RecordSet set(data.db(), names::Agenda);
    set.moveFirst();
    QHash<QString, QString> fields;
    for (const QString &name : set.fieldNames())
        fields.insert(name, set.field(name));
    return set.recordCount() == 1 ? fields : QHash<QString, QString>{};
}

} // namespace

class AddAgendaTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freshWindow()
    {
        TestData data;
        frmAddAgenda editor(data.db());
        QCOMPARE(editor.windowTitle(), QStringLiteral("Add Agenda Task"));
        QCOMPARE(box(editor, "cmbStartHour")->currentText() + box(editor, "cmbStartMinute")->currentText()
                     + box(editor, "cmbEndAMPM")->currentText() + box(editor, "cmbAlarm")->currentText()
                     + box(editor, "cmbRepeat")->currentText(),
                 QStringLiteral("100AMNo"));
        for (const char *unset : {"cmbCategory", "cmbMonth", "cmbDay", "cmbYear", "cmbReminder"})
            QCOMPARE(box(editor, unset)->currentIndex(), -1);
        QVERIFY(!button(editor, "cmdSave")->isEnabled());

        QStringList order;
        for (QWidget *widget = taskBox(editor); order.size() < 16; widget = widget->nextInFocusChain()) {
            if (widget->focusPolicy() & Qt::TabFocus)
                order << widget->objectName();
        }
        QCOMPARE(order.join(u' '), QStringLiteral("txtTask cmbStartHour cmbStartMinute cmbStartAMPM cmbEndHour cmbEndMinute "
                                                  "cmbEndAMPM cmbCategory cmbMonth cmbDay cmbYear cmbRepeat cmbReminder "
                                                  "cmdSave cmdReset cmdClose"));
    }

    void saveEnabling()
    {
        TestData data;
        frmAddAgenda editor(data.db());
        editor.presetDate(29, 1, 2024);
        FlatButton *save = button(editor, "cmdSave");
        QVERIFY(!save->isEnabled());
        QTest::keyClicks(taskBox(editor), QStringLiteral("x"));
        QVERIFY(save->isEnabled());
        QCOMPARE(save->highlightColor(), QColor(128, 128, 128));
        QTest::keyClick(taskBox(editor), Qt::Key_Backspace);
        QVERIFY(!save->isEnabled());
        QTest::keyClicks(taskBox(editor), QStringLiteral("  "));
        QVERIFY(save->isEnabled());
        // A year without 29 February leaves no day chosen: nothing to file the task under.
        pick(editor, "cmbYear", QStringLiteral("2023"));
        QVERIFY(!save->isEnabled());
        QTest::keyClick(taskBox(editor), Qt::Key_Return);
        QCOMPARE(data.countOf(names::Agenda), 0);
        pick(editor, "cmbDay", QStringLiteral("28"));
        QVERIFY(save->isEnabled());
    }

    void dayList_data()
    {
        QTest::addColumn<QString>("startMonth");
        QTest::addColumn<int>("startYear");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("change"); // "month X" or "year Y"
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("selected");
        QTest::newRow("31 into April") << "March" << 2024 << "31" << "month April" << 30 << "30";
        QTest::newRow("31 into a leap February") << "March" << 2024 << "31" << "month February" << 29 << "29";
        QTest::newRow("31 into February 2023") << "March" << 2023 << "31" << "month February" << 28 << "28";
        QTest::newRow("15 into April") << "March" << 2024 << "15" << "month April" << 30 << "15";
        QTest::newRow("February 1900") << "March" << 1900 << "1" << "month February" << 28 << "1";
        QTest::newRow("February 2000") << "March" << 2000 << "1" << "month February" << 29 << "1";
        QTest::newRow("29 February to 2023") << "February" << 2024 << "29" << "year 2023" << 28 << "";
        QTest::newRow("29 February to 2028") << "February" << 2024 << "29" << "year 2028" << 29 << "29";
        QTest::newRow("15 February to 2023") << "February" << 2024 << "15" << "year 2023" << 28 << "15";
        QTest::newRow("February to 2100") << "February" << 2024 << "15" << "year 2100" << 28 << "15";
        QTest::newRow("February to 2000") << "February" << 2023 << "15" << "year 2000" << 29 << "15";
        QTest::newRow("year of another month") << "March" << 2024 << "31" << "year 2023" << 31 << "31";
    }
    void dayList()
    {
        QFETCH(QString, startMonth);
        QFETCH(int, startYear);
        QFETCH(QString, day);
        QFETCH(QString, change);
        QFETCH(int, days);
        QFETCH(QString, selected);
        TestData data;
        frmAddAgenda editor(data.db());
        pick(editor, "cmbYear", QString::number(startYear));
        pick(editor, "cmbMonth", startMonth);
        pick(editor, "cmbDay", day);
        const QStringList what = change.split(u' ');
        pick(editor, what.at(0) == QLatin1String("month") ? "cmbMonth" : "cmbYear", what.at(1));
        QCOMPARE(box(editor, "cmbDay")->count(), days);
        QCOMPARE(box(editor, "cmbDay")->currentText(), selected);
    }

    void timeRange_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<bool>("valid");
        QTest::newRow("across noon") << "12:30 PM" << "1:00 PM" << true;
        QTest::newRow("into the next day") << "11:00 PM" << "12:00 AM" << false;
        QTest::newRow("zero length") << "9:00 AM" << "9:00 AM" << true;
        QTest::newRow("half an hour back") << "2:00 PM" << "1:30 PM" << false;
        QTest::newRow("ends at noon after one") << "1:00 PM" << "12:00 PM" << false;
        QTest::newRow("ends after midnight") << "3:00 AM" << "12:30 AM" << false;
        QTest::newRow("from midnight") << "12:00 AM" << "1:00 AM" << true;
        QTest::newRow("morning into afternoon") << "11:30 AM" << "12:00 PM" << true;
        QTest::newRow("afternoon into morning") << "1:00 PM" << "11:00 AM" << false;
        QTest::newRow("later minute") << "4:00 PM" << "4:30 PM" << true;
    }
    void timeRange()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(bool, valid);
        TestData data;
        frmAddAgenda editor(data.db());
        editor.show();
        QSignalSpy saved(&editor, &frmAddAgenda::saved);
        fill(editor, QStringLiteral("Call"), QDate(2003, 3, 5), start, end);
        QTest::mouseClick(button(editor, "cmdSave"), Qt::LeftButton);
        QCOMPARE(data.countOf(names::Agenda), valid ? 1 : 0);
        QCOMPARE(saved.size(), valid ? 1 : 0);
        QCOMPARE(editor.isVisible(), !valid);
        if (!valid) {
            QCOMPARE(data.desktop().messageTexts(),
                     QStringList{QStringLiteral("The selected timeframe is invalid.  The start time must come before the end time.")});
            QCOMPARE(data.desktop().messages.first().icon, Desktop::Icon::Exclamation);
            QCOMPARE(editor.focusWidget(), box(editor, "cmbEndHour"));
        }
    }

    void savedFields()
    {
        TestData data;
        frmAddAgenda editor(data.db());
        fill(editor, QStringLiteral("Lunch"), QDate(2024, 7, 9), QStringLiteral("12:00 PM"), QStringLiteral("1:30 PM"));
        pick(editor, "cmbCategory", QStringLiteral("Personal"));
        editor.updateAgenda();
        const QHash<QString, QString> task = onlyTask(data);
        const QHash<QString, QString> expected{
            {ag::Task, QStringLiteral("Lunch (to 1:30 PM)")}, {ag::Category, QStringLiteral("Personal")},
            {ag::Alarm, QStringLiteral("No")}, {ag::Repeating, QString()}, {ag::Reminder, QString()},
            {ag::StartHour, QStringLiteral("12")}, {ag::StartMinute, QStringLiteral("00")}, {ag::StartAmPm, QStringLiteral("PM")},
            {ag::EndHour, QStringLiteral("1")}, {ag::EndMinute, QStringLiteral("30")}, {ag::EndAmPm, QStringLiteral("PM")},
            {ag::Day, QStringLiteral("9")}, {ag::Month, QStringLiteral("7")}, {ag::Year, QStringLiteral("2024")},
            {ag::ReminderDay, QString()}, {ag::ReminderMonth, QString()}, {ag::ReminderYear, QString()},
            {ag::Date, QString()}, {ag::Time, QString()}, {ag::Duration, QString()}};
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(it.key() + u'=' + task.value(it.key()), it.key() + u'=' + it.value());
    }

    void reminderDate_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("reminder");
        QTest::addColumn<QStringList>("expected"); // day, month, year
        QTest::newRow("into a leap February") << QDate(2024, 3, 3) << "5 Days" << QStringList{"27", "2", "2024"};
        QTest::newRow("into February 2023") << QDate(2023, 3, 3) << "5 Days" << QStringList{"26", "2", "2023"};
        QTest::newRow("into the old year") << QDate(2024, 1, 5) << "5 Days" << QStringList{"31", "12", "2023"};
        QTest::newRow("same month") << QDate(2024, 5, 10) << "3 Days" << QStringList{"7", "5", "2024"};
        QTest::newRow("one day into February") << QDate(2024, 3, 1) << "1 Day" << QStringList{"29", "2", "2024"};
        QTest::newRow("into a 30-day month") << QDate(2024, 5, 2) << "7 Days" << QStringList{"25", "4", "2024"};
    }
    void reminderDate()
    {
        QFETCH(QDate, date);
        QFETCH(QString, reminder);
        QFETCH(QStringList, expected);
        TestData data;
        frmAddAgenda editor(data.db());
        fill(editor, QStringLiteral("Event"), date, QStringLiteral("9:00 AM"), QStringLiteral("9:00 AM"));
        pick(editor, "cmbReminder", reminder);
        editor.updateAgenda();
        const QHash<QString, QString> task = onlyTask(data);
        QCOMPARE(task.value(ag::Reminder), reminder);
        QCOMPARE((QStringList{task.value(ag::ReminderDay), task.value(ag::ReminderMonth), task.value(ag::ReminderYear)}), expected);
    }

    void editWritesIntoItsOwnTask()
    {
        TestData data;
        const store::RecordId other = storedTask(data, QDate(2003, 3, 5), QStringLiteral("Other (to 8:00 AM)"), QStringLiteral("8:00 AM"));
        const store::RecordId mine = storedTask(data, QDate(2003, 3, 5), QStringLiteral("Mine (to 9:00 AM)"), QStringLiteral("9:00 AM"));
        frmAddAgenda editor(data.db());
        QVERIFY(editor.editRecord(mine, {5, 3, 2003}));
        QCOMPARE(editor.windowTitle(), QStringLiteral("Edit Agenda Task"));
        QCOMPARE(taskBox(editor)->text(), QStringLiteral("Mine"));
        QCOMPARE(box(editor, "cmbReminder")->currentText(), QStringLiteral("2 Days"));
        // Saving without moving it is no clash with itself.
        taskBox(editor)->setText(QStringLiteral("Mine, changed"));
        pick(editor, "cmbReminder", QString());
        editor.updateAgenda();
        QVERIFY(data.desktop().messages.isEmpty());
        QCOMPARE(data.countOf(names::Agenda), 2);
        QCOMPARE(data.fieldOf(names::Agenda, mine, ag::Task), QStringLiteral("Mine, changed (to 9:00 AM)"));
        QCOMPARE(data.fieldOf(names::Agenda, mine, ag::Reminder), QString());
        QCOMPARE(data.fieldOf(names::Agenda, mine, ag::ReminderDay), QString());
        QCOMPARE(data.fieldOf(names::Agenda, other, ag::Task), QStringLiteral("Other (to 8:00 AM)"));
    }

    void sameStartSlot_data()
    {
        QTest::addColumn<bool>("editing");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("start");
        QTest::addColumn<bool>("refused");
        QTest::newRow("new task, taken slot") << false << QDate(2003, 3, 5) << "9:00 AM" << true;
        QTest::newRow("new task, next slot") << false << QDate(2003, 3, 5) << "9:30 AM" << false;
        QTest::newRow("new task, other day") << false << QDate(2003, 3, 6) << "9:00 AM" << false;
        QTest::newRow("moved onto a taken slot") << true << QDate(2003, 3, 5) << "9:00 AM" << true;
        QTest::newRow("moved to a free slot") << true << QDate(2003, 3, 5) << "10:00 AM" << false;
    }
    void sameStartSlot()
    {
        QFETCH(bool, editing);
        QFETCH(QDate, date);
        QFETCH(QString, start);
        QFETCH(bool, refused);
        TestData data;
        storedTask(data, QDate(2003, 3, 5), QStringLiteral("Taken (to 9:00 AM)"), QStringLiteral("9:00 AM"));
        frmAddAgenda editor(data.db());
        editor.show();
        if (editing) {
            const store::RecordId id = storedTask(data, QDate(2003, 3, 5), QStringLiteral("Moving (to 2:00 PM)"), QStringLiteral("2:00 PM"));
            QVERIFY(editor.editRecord(id, {5, 3, 2003}));
            pickTime(editor, "cmbStart", start);
            pickTime(editor, "cmbEnd", QStringLiteral("11:00 AM"));
        } else {
            fill(editor, QStringLiteral("New"), date, start, QStringLiteral("11:00 AM"));
        }
        const int before = data.countOf(names::Agenda);
        editor.updateAgenda();
        QCOMPARE(editor.isVisible(), refused);
        QCOMPARE(data.countOf(names::Agenda), before + (refused || editing ? 0 : 1));
        if (refused) {
            QCOMPARE(data.desktop().messageTexts(),
                     QStringList{QStringLiteral("Another task already starts at 9:00 AM on this day.  Please choose another start time.")});
            QCOMPARE(data.desktop().messages.first().icon, Desktop::Icon::Exclamation);
            QCOMPARE(editor.focusWidget(), box(editor, "cmbStartHour"));
        }
    }

    void resetFieldsKeepsDateAndTime()
    {
        TestData data;
        frmAddAgenda editor(data.db());
        editor.show();
        fill(editor, QStringLiteral("Lunch"), QDate(2003, 3, 5), QStringLiteral("12:00 PM"), QStringLiteral("1:30 PM"));
        box(editor, "cmbCategory")->setCurrentIndex(box(editor, "cmbCategory")->findText(QStringLiteral("Personal")));
        box(editor, "cmbReminder")->setCurrentIndex(box(editor, "cmbReminder")->findText(QStringLiteral("3 Days")));
        box(editor, "cmbAlarm")->setCurrentIndex(box(editor, "cmbAlarm")->findText(QStringLiteral("Yes")));
        QTest::mouseClick(editor.findChild<QPushButton *>(QStringLiteral("cmdReset")), Qt::LeftButton);
        QCOMPARE(taskBox(editor)->text(), QString());
        QCOMPARE(box(editor, "cmbCategory")->currentText(), QString());
        QCOMPARE(box(editor, "cmbReminder")->currentText(), QString());
        QCOMPARE(box(editor, "cmbRepeat")->currentText(), QString());
        QCOMPARE(box(editor, "cmbAlarm")->currentText(), QStringLiteral("No"));
        QCOMPARE(box(editor, "cmbStartHour")->currentText() + box(editor, "cmbEndHour")->currentText(), QStringLiteral("121"));
        QCOMPARE(box(editor, "cmbDay")->currentText(), QStringLiteral("5"));
        QVERIFY(!editor.findChild<QPushButton *>(QStringLiteral("cmdSave"))->isEnabled());
        QCOMPARE(editor.focusWidget(), taskBox(editor));
    }

    void unmovedTaskSavesBesideAnOldTwin()
    {
        // Two tasks in one slot can only come from data written elsewhere;
        // the one shown must still be editable where it stands.
        TestData data;
        storedTask(data, QDate(2003, 3, 5), QStringLiteral("Hidden (to 9:00 AM)"), QStringLiteral("9:00 AM"));
        const store::RecordId shown = storedTask(data, QDate(2003, 3, 5), QStringLiteral("Shown (to 9:00 AM)"), QStringLiteral("9:00 AM"));
        frmAddAgenda editor(data.db());
        editor.show();
        QVERIFY(editor.editRecord(shown, {5, 3, 2003}));
        taskBox(editor)->setText(QStringLiteral("Shown, fixed"));
        editor.updateAgenda();
        QVERIFY2(data.desktop().messages.isEmpty(), qPrintable(data.desktop().messageTexts().join(u';')));
        QCOMPARE(data.fieldOf(names::Agenda, shown, ag::Task), QStringLiteral("Shown, fixed (to 9:00 AM)"));
    }

    void failedWriteKeepsTheInput_data()
    {
        QTest::addColumn<bool>("editing");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QString>("message");
        QTest::newRow("add fails") << false << false << QStringLiteral("The task could not be saved: ");
        QTest::newRow("edit fails") << true << false << QStringLiteral("The task could not be saved: ");
        QTest::newRow("edited task deleted meanwhile")
            << true << true << QStringLiteral("This task no longer exists.  It may have been deleted.");
    }
    void failedWriteKeepsTheInput()
    {
        QFETCH(bool, editing);
        QFETCH(bool, deleted);
        QFETCH(QString, message);
        TestData data;
        frmAddAgenda editor(data.db());
        editor.show();
        if (editing) {
            const store::RecordId id = storedTask(data, QDate(2003, 3, 5), QStringLiteral("Old (to 9:00 AM)"), QStringLiteral("9:00 AM"));
            QVERIFY(editor.editRecord(id, {5, 3, 2003}));
            taskBox(editor)->setText(QStringLiteral("Typed"));
        } else {
            fill(editor, QStringLiteral("Typed"), QDate(2003, 3, 5), QStringLiteral("9:00 AM"), QStringLiteral("9:30 AM"));
        }
        QSignalSpy saved(&editor, &frmAddAgenda::saved);
        if (deleted) {
            store::RecordSet set(data.db(), names::Agenda);
            set.moveFirst();
            QVERIFY(set.deleteCurrent().ok);
        } else {
            data.failWrites(names::Agenda);
        }
        QTest::keyClick(taskBox(editor), Qt::Key_Return);
        QCOMPARE(data.desktop().messages.size(), 1);
        QVERIFY2(data.desktop().messages.first().text.startsWith(message), qPrintable(data.desktop().messages.first().text));
        QCOMPARE(data.desktop().messages.first().icon, Desktop::Icon::Exclamation);
        QVERIFY(editor.isVisible());
        QCOMPARE(saved.size(), 0);
        QCOMPARE(taskBox(editor)->text(), QStringLiteral("Typed"));
        QCOMPARE(data.countOf(names::Agenda), editing && !deleted ? 1 : 0);
        if (editing && !deleted)
            QCOMPARE(onlyTask(data).value(ag::Task), QStringLiteral("Old (to 9:00 AM)"));
    }

    void taskTextLimit_data()
    {
        QTest::addColumn<QString>("character");
        QTest::newRow("letter") << QStringLiteral("a");
        QTest::newRow("letter with accent") << QStringLiteral("e\u0301");
        QTest::newRow("emoji") << QString::fromUtf8("\xF0\x9F\x93\x85");
    }
    void taskTextLimit()
    {
        QFETCH(QString, character);
        TestData data;
        frmAddAgenda editor(data.db());
        taskBox(editor)->insert(character.repeated(249));
        taskBox(editor)->insert(character + character);
        QCOMPARE(taskBox(editor)->text(), character.repeated(250));
    }
};

BREVANE_TEST(AddAgendaTests)
#include "tst_addagenda.moc"
