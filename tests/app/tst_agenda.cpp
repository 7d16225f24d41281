#include "agenda_editor/frmaddagenda.h"
#include "agendafixture.h"
#include "core/organizer.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

using namespace brevane;
using namespace brevane::testing;
namespace ag = store::names::agenda;

namespace {

const QDate kToday(2003, 3, 5);

QAction *action(const frmMain &window, const char *name)
{
    if (auto *menu = window.findChild<QMenu *>(QLatin1String(name)))
        return menu->menuAction();
    return window.findChild<QAction *>(QLatin1String(name));
}

// Edit, Delete and the Reminder submenu, in that order.
QList<bool> selectionCommands(const frmMain &window)
{
    return {action(window, "mnuEditAgendaTask")->isEnabled(), action(window, "mnuDeleteAgendaTask")->isEnabled(),
            action(window, "mnuReminder")->isEnabled()};
}
const QList<bool> kAllOff{false, false, false};
const QList<bool> kAllOn{true, true, true};

QStringList shadedRows(const Grid *grid)
{
    QStringList rows;
    for (int row = 1; row < grid->rows(); ++row) {
        if (grid->cellBackColorAt(row, 2).isValid())
            rows << grid->textMatrix(row, 0);
    }
    return rows;
}

frmAddAgenda *editorOf(const frmMain &window)
{
    const auto editors = window.findChildren<frmAddAgenda *>();
    return editors.size() == 1 ? editors.first() : nullptr;
}

QString textOf(const QWidget *editor, const char *name)
{
    if (const auto *box = editor->findChild<QComboBox *>(QLatin1String(name)))
        return box->currentText();
    return editor->findChild<QLineEdit *>(QLatin1String(name))->text();
}

// What a real double click delivers: press, release, double click, release.
void doubleClickRow(Grid *grid, int row, int col = 2)
{
    const QPoint at = showCell(grid, row, col);
    QTest::mouseClick(cellSurface(grid, row), Qt::LeftButton, {}, at);
    QTest::mouseDClick(cellSurface(grid, row), Qt::LeftButton, {}, at);
    QTest::mouseRelease(cellSurface(grid, row), Qt::LeftButton, {}, at);
}

void pressRow(Grid *grid, int row, int col, Qt::MouseButton button)
{
    const QPoint at = showCell(grid, row, col);
    QTest::mouseClick(cellSurface(grid, row), button, {}, at);
}

} // namespace

class AgendaTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyDay()
    {
        TestData data(kToday);
        frmMain window(data.db());
        window.load();
        const Grid *grid = agendaGrid(window);
        QCOMPARE(grid->rows(), 51);
        for (int row = 1; row <= 50; ++row) {
            QCOMPARE(grid->textMatrix(row, 0), slotLabels().at(row - 1));
            QVERIFY(grid->textMatrix(row, 2).isEmpty());
        }
        QCOMPARE(grid->colWidth(1), 0.0);
        QCOMPARE(selectionCommands(window), kAllOff);
        QCOMPARE(grid->row(), 50);
        QCOMPARE(grid->col(), 1);
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblAgendaTitle"))->text(), QStringLiteral("Tasks For: March 5, 2003"));

        // "New Task" after such a rebuild starts at the current row's time.
        action(window, "mnuNewAgendaTask")->trigger();
        frmAddAgenda *editor = editorOf(window);
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Add Agenda Task"));
        for (const char *box : {"cmbStartHour", "cmbEndHour"})
            QCOMPARE(textOf(editor, box), QStringLiteral("11"));
        QCOMPARE(textOf(editor, "cmbStartMinute") + textOf(editor, "cmbEndAMPM"), QStringLiteral("30PM"));
        QCOMPARE(textOf(editor, "cmbDay") + textOf(editor, "cmbMonth") + textOf(editor, "cmbYear"),
                 QStringLiteral("5March2003"));
    }

    void spans_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QStringList>("shaded");
        QTest::newRow("morning") << "9:00 AM" << "10:30 AM" << QStringList{"9:00 AM", "9:30 AM", "10:00 AM"};
        QTest::newRow("through noon") << "11:00 AM" << "1:00 PM"
                                      << QStringList{"11:00 AM", "11:30 AM", "Noon", "12:00 PM", "12:30 PM"};
        QTest::newRow("after midnight") << "12:00 AM" << "1:00 AM" << QStringList{"12:00 AM", "12:30 AM"};
        QTest::newRow("noon hour") << "12:00 PM" << "1:00 PM" << QStringList{"12:00 PM", "12:30 PM"};
        QTest::newRow("zero length") << "3:30 PM" << "3:30 PM" << QStringList{"3:30 PM"};
        QTest::newRow("last slot") << "11:30 PM" << "11:30 PM" << QStringList{"11:30 PM"};
        QTest::newRow("ends before it starts") << "1:00 PM" << "12:00 PM" << QStringList{};
    }
    void spans()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QStringList, shaded);
        TestData data(kToday);
        const store::RecordId id = addTask(data, kToday, QStringLiteral("Task"), start, end, QStringLiteral("Work"));
        frmMain window(data.db());
        window.load();
        const Grid *grid = agendaGrid(window);
        QCOMPARE(shadedRows(grid), shaded);
        const int row = rowOf(grid, start);
        for (int r = 1; r < grid->rows(); ++r) {
            const bool onStart = r == row;
            QCOMPARE(grid->textMatrix(r, 1), onStart ? QStringLiteral(".") : QString());
            QCOMPARE(grid->textMatrix(r, 2), onStart ? QStringLiteral("Task (to ") + end + u')' : QString());
            QCOMPARE(grid->textMatrix(r, 3), onStart ? QStringLiteral("Work") : QString());
            QCOMPARE(window.agendaRecordAt(r), onStart ? id : store::kNoRecord);
        }
        for (const QString &label : shaded)
            QCOMPARE(grid->cellForeColorAt(rowOf(grid, label), 3), QColor(0, 0, 0));
        QCOMPARE(grid->row(), row);
    }

    void whichTasksStand_data()
    {
        QTest::addColumn<QStringList>("dayMonthYear");
        QTest::addColumn<QString>("start");
        QTest::addColumn<bool>("inGrid");
        QTest::addColumn<bool>("marksDay5");
        QTest::newRow("the selected day") << QStringList{"5", "3", "2003"} << "9:00 AM" << true << true;
        QTest::newRow("month with a leading zero") << QStringList{"5", "03", "2003"} << "9:00 AM" << true << true;
        QTest::newRow("another day") << QStringList{"6", "3", "2003"} << "9:00 AM" << false << false;
        QTest::newRow("another month") << QStringList{"5", "4", "2003"} << "9:00 AM" << false << false;
        QTest::newRow("another year") << QStringList{"5", "3", "2004"} << "9:00 AM" << false << false;
        QTest::newRow("start that is no slot") << QStringList{"5", "3", "2003"} << "09:00 AM" << false << true;
        QTest::newRow("start at noon's label") << QStringList{"5", "3", "2003"} << "Noon" << false << true;
    }
    void whichTasksStand()
    {
        QFETCH(QStringList, dayMonthYear);
        QFETCH(QString, start);
        QFETCH(bool, inGrid);
        QFETCH(bool, marksDay5);
        TestData data(kToday);
        const QStringList time = start.split(QRegularExpression(QStringLiteral("[: ]")));
        data.insert(store::names::Agenda,
                    {{ag::Task, QStringLiteral("Task")}, {ag::StartHour, time.value(0)}, {ag::StartMinute, time.value(1)},
                     {ag::StartAmPm, time.value(2)}, {ag::EndHour, time.value(0)}, {ag::EndMinute, time.value(1)},
                     {ag::EndAmPm, time.value(2)}, {ag::Day, dayMonthYear.at(0)}, {ag::Month, dayMonthYear.at(1)},
                     {ag::Year, dayMonthYear.at(2)}});
        frmMain window(data.db());
        window.load();
        QCOMPARE(agendaGrid(window)->textMatrix(rowOf(agendaGrid(window), QStringLiteral("9:00 AM")), 2).isEmpty(), !inGrid);
        QCOMPARE(cellOfDay(window, 5)->foreColor() == QColor(255, 0, 0), marksDay5);
    }

    void laterTaskWinsASharedStartRow()
    {
        TestData data(kToday);
        addTask(data, kToday, QStringLiteral("Earlier"), QStringLiteral("9:00 AM"), QStringLiteral("11:00 AM"));
        const store::RecordId later = addTask(data, kToday, QStringLiteral("Later"), QStringLiteral("9:00 AM"), QStringLiteral("9:30 AM"));
        frmMain window(data.db());
        window.load();
        const Grid *grid = agendaGrid(window);
        const int row = rowOf(grid, QStringLiteral("9:00 AM"));
        QCOMPARE(grid->textMatrix(row, 2), QStringLiteral("Later (to 9:30 AM)"));
        QCOMPARE(window.agendaRecordAt(row), later);
        QCOMPARE(shadedRows(grid).size(), 4); // both spans stay shaded
    }

    void addPresetsFromTheRow_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("expectedTime");
        QTest::newRow("morning slot") << "9:30 AM" << "9:30 AM";
        QTest::newRow("first slot") << "12:00 AM" << "12:00 AM";
        QTest::newRow("afternoon slot") << "12:30 PM" << "12:30 PM";
        QTest::newRow("Midnight keeps the editor's time") << "Midnight" << "1:00 AM";
        QTest::newRow("Noon keeps the editor's time") << "Noon" << "1:00 AM";
    }
    void addPresetsFromTheRow()
    {
        QFETCH(QString, label);
        QFETCH(QString, expectedTime);
        TestData data(kToday);
        frmMain window(data.db());
        window.load();
        Grid *grid = agendaGrid(window);
        QTest::mouseClick(cellOfDay(window, 17), Qt::LeftButton);
        doubleClickRow(grid, rowOf(grid, label));
        frmAddAgenda *editor = editorOf(window);
        QVERIFY(editor);
        QVERIFY(!editor->isEditMode());
        const auto time = [editor](const char *hour, const char *minute, const char *amPm) {
            return textOf(editor, hour) + u':' + textOf(editor, minute) + u' ' + textOf(editor, amPm);
        };
        QCOMPARE(time("cmbStartHour", "cmbStartMinute", "cmbStartAMPM"), expectedTime);
        QCOMPARE(time("cmbEndHour", "cmbEndMinute", "cmbEndAMPM"), expectedTime);
        QCOMPARE(textOf(editor, "cmbDay") + u' ' + textOf(editor, "cmbMonth"), QStringLiteral("17 March"));

        // Saved, the task stands on its row at once and the editor is gone.
        QTest::keyClicks(editor->findChild<QLineEdit *>(QStringLiteral("txtTask")), QStringLiteral("Haircut"));
        QTest::keyClick(editor->findChild<QLineEdit *>(QStringLiteral("txtTask")), Qt::Key_Return);
        QTRY_VERIFY(!editorOf(window));
        QCOMPARE(grid->textMatrix(rowOf(grid, expectedTime), 2), QStringLiteral("Haircut (to ") + expectedTime + u')');
        QCOMPARE(cellOfDay(window, 17)->foreColor(), QColor(255, 0, 0));
        QCOMPARE(grid->col(), 1);
    }

    void editFillsTheEditor_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("reminder");
        QTest::addColumn<QStringList>("shown"); // text, category, reminder
        QTest::newRow("note cut") << "Dentist (to 10:30 AM)" << "Appointment" << "2 Days"
                                  << QStringList{"Dentist", "Appointment", "2 Days"};
        QTest::newRow("cut at the last note") << "Talk (to Bob) (to 10:30 AM)" << "" << ""
                                              << QStringList{"Talk (to Bob)", "", ""};
        QTest::newRow("no note") << "Plain text" << "meeting" << "3 days" << QStringList{"Plain text", "Meeting", "3 Days"};
        QTest::newRow("note only") << "(to 10:30 AM)" << "Work" << "0 days" << QStringList{"", "Work", ""};
    }
    void editFillsTheEditor()
    {
        QFETCH(QString, stored);
        QFETCH(QString, category);
        QFETCH(QString, reminder);
        QFETCH(QStringList, shown);
        TestData data(kToday);
        const store::RecordId id = data.insert(store::names::Agenda,
            {{ag::Task, stored}, {ag::Category, category}, {ag::Reminder, reminder}, {ag::Repeating, QStringLiteral("weekly")},
             {ag::StartHour, QStringLiteral("9")}, {ag::StartMinute, QStringLiteral("00")}, {ag::StartAmPm, QStringLiteral("AM")},
             {ag::EndHour, QStringLiteral("10")}, {ag::EndMinute, QStringLiteral("30")}, {ag::EndAmPm, QStringLiteral("AM")},
             {ag::Day, QStringLiteral("5")}, {ag::Month, QStringLiteral("3")}, {ag::Year, QStringLiteral("2003")}});
        frmMain window(data.db());
        window.load();
        Grid *grid = agendaGrid(window);
        doubleClickRow(grid, rowOf(grid, QStringLiteral("9:00 AM")));
        frmAddAgenda *editor = editorOf(window);
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Edit Agenda Task"));
        QCOMPARE(editor->recordId(), id);
        QCOMPARE((QStringList{textOf(editor, "txtTask"), textOf(editor, "cmbCategory"), textOf(editor, "cmbReminder")}), shown);
        QCOMPARE(textOf(editor, "cmbRepeat"), QStringLiteral("Weekly"));
        QCOMPARE(textOf(editor, "cmbEndHour") + u':' + textOf(editor, "cmbEndMinute"), QStringLiteral("10:30"));
        QCOMPARE(textOf(editor, "cmbDay") + u' ' + textOf(editor, "cmbMonth") + u' ' + textOf(editor, "cmbYear"),
                 QStringLiteral("5 March 2003"));

        // Asking again brings the same editor forward.
        window.editAgendaTask();
        QVERIFY(editorOf(window));
    }

    void editAndSaveMovesTheTask()
    {
        TestData data(kToday);
        const store::RecordId id = addTask(data, kToday, QStringLiteral("Dentist"), QStringLiteral("9:00 AM"),
                                           QStringLiteral("9:30 AM"), QStringLiteral("Appointment"));
        frmMain window(data.db());
        window.load();
        Grid *grid = agendaGrid(window);
        doubleClickRow(grid, rowOf(grid, QStringLiteral("9:00 AM")));
        frmAddAgenda *editor = editorOf(window);
        QVERIFY(editor);
        auto pick = [editor](const char *name, const QString &text) {
            auto *box = editor->findChild<QComboBox *>(QLatin1String(name));
            box->setCurrentIndex(box->findText(text));
        };
        pick("cmbDay", QStringLiteral("12"));
        pick("cmbStartHour", QStringLiteral("2"));
        pick("cmbStartAMPM", QStringLiteral("PM"));
        pick("cmbEndHour", QStringLiteral("3"));
        pick("cmbEndAMPM", QStringLiteral("PM"));
        editor->updateAgenda();
        QTRY_VERIFY(!editorOf(window));

        QCOMPARE(data.countOf(store::names::Agenda), 1);
        QCOMPARE(data.fieldOf(store::names::Agenda, id, ag::Day), QStringLiteral("12"));
        QCOMPARE(data.fieldOf(store::names::Agenda, id, ag::Task), QStringLiteral("Dentist (to 3:30 PM)")); // the end minute kept its :30
        // The 5th shows nothing any more and loses its mark; the 12th is marked.
        QCOMPARE(rowOf(grid, QStringLiteral("9:00 AM")) > 0 ? grid->textMatrix(rowOf(grid, QStringLiteral("9:00 AM")), 2) : QString(),
                 QString());
        QCOMPARE(cellOfDay(window, 5)->foreColor(), QColor(0, 0, 0));
        QCOMPARE(cellOfDay(window, 12)->foreColor(), QColor(255, 0, 0));
        QCOMPARE(grid->col(), 1);
    }

    void closingTheEditorPutsTheGridBack()
    {
        TestData data(kToday);
        frmMain window(data.db());
        window.load();
        Grid *grid = agendaGrid(window);
        doubleClickRow(grid, rowOf(grid, QStringLiteral("10:00 AM")));
        frmAddAgenda *editor = editorOf(window);
        QVERIFY(editor);
        QCOMPARE(grid->col(), 2);
        QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmdClose")), Qt::LeftButton);
        QTRY_VERIFY(!editorOf(window));
        QCOMPARE(grid->col(), 1);
        QCOMPARE(data.countOf(store::names::Agenda), 0);
    }

    void editAndDeleteActOnTheRowsOwnTask()
    {
        TestData data(kToday);
        // The same time, text and category on the day before, and on the
        // selected day hidden under the later task.
        addTask(data, kToday.addDays(-1), QStringLiteral("Gym"), QStringLiteral("6:00 PM"), QStringLiteral("7:00 PM"), QStringLiteral("Leisure"));
        const store::RecordId hidden = addTask(data, kToday, QStringLiteral("Gym"), QStringLiteral("6:00 PM"), QStringLiteral("7:00 PM"), QStringLiteral("Leisure"));
        const store::RecordId shown = addTask(data, kToday, QStringLiteral("Gym"), QStringLiteral("6:00 PM"), QStringLiteral("7:00 PM"), QStringLiteral("Leisure"));
        frmMain window(data.db());
        window.load();
        Grid *grid = agendaGrid(window);
        const int row = rowOf(grid, QStringLiteral("6:00 PM"));

        pressRow(grid, row, 2, Qt::LeftButton);
        QVERIFY(window.findAgendaRecord(QStringLiteral("6:00 PM"), QStringLiteral("Gym (to 7:00 PM)"), QStringLiteral("Leisure")));
        QTest::keyClick(grid->table(), Qt::Key_Return);
        QCOMPARE(editorOf(window)->recordId(), shown);
        editorOf(window)->close();
        QTRY_VERIFY(!editorOf(window));

        data.desktop().queueAnswer(Desktop::Answer::Yes);
        pressRow(grid, row, 3, Qt::LeftButton);
        QTest::keyClick(grid->table(), Qt::Key_Delete);
        QCOMPARE(data.desktop().messages.size(), 1);
        QCOMPARE(data.desktop().messages.first().text, QStringLiteral("Delete 'Gym (to 7:00 PM)' From Agenda?"));
        QCOMPARE(data.desktop().messages.first().icon, Desktop::Icon::Question);
        QCOMPARE(data.desktop().messages.first().buttons, Desktop::Buttons::YesNo);
        QCOMPARE(data.fieldOf(store::names::Agenda, shown, ag::Task), QStringLiteral("<no record>"));
        QCOMPARE(data.countOf(store::names::Agenda), 2);
        // The task it hid comes to light.
        QCOMPARE(window.agendaRecordAt(row), hidden);
        QCOMPARE(grid->textMatrix(row, 2), QStringLiteral("Gym (to 7:00 PM)"));
    }

    void deleteRefusedOrFailed_data()
    {
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<bool>("failWrite");
        QTest::addColumn<QString>("report");
        QTest::newRow("answered No") << false << false << QString();
        QTest::newRow("write fails") << true << true << QStringLiteral("The task could not be deleted: ");
    }
    void deleteRefusedOrFailed()
    {
        QFETCH(bool, answerYes);
        QFETCH(bool, failWrite);
        QFETCH(QString, report);
        TestData data(kToday);
        const store::RecordId id = addTask(data, kToday, QStringLiteral("Keep"), QStringLiteral("8:00 AM"), QStringLiteral("9:00 AM"));
        if (failWrite)
            data.failWrites(store::names::Agenda);
        frmMain window(data.db());
        window.load();
        Grid *grid = agendaGrid(window);
        pressRow(grid, rowOf(grid, QStringLiteral("8:00 AM")), 2, Qt::LeftButton);
        data.desktop().queueAnswer(answerYes ? Desktop::Answer::Yes : Desktop::Answer::No);
        action(window, "mnuDeleteAgendaTask")->trigger();
        QCOMPARE(data.fieldOf(store::names::Agenda, id, ag::Task), QStringLiteral("Keep (to 9:00 AM)"));
        QCOMPARE(data.desktop().messages.size(), report.isEmpty() ? 1 : 2);
        if (!report.isEmpty()) {
            QVERIFY(data.desktop().messages.last().text.startsWith(report));
            QCOMPARE(data.desktop().messages.last().icon, Desktop::Icon::Exclamation);
        }
        QCOMPARE(grid->col(), 1);
        QCOMPARE(grid->textMatrix(rowOf(grid, QStringLiteral("8:00 AM")), 2), QStringLiteral("Keep (to 9:00 AM)"));
    }

    void editOrDeleteWithoutATask_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("message");
        QTest::newRow("edit") << true << "Please Select A Record To Edit";
        QTest::newRow("delete") << false << "Please Select A Record To Delete";
    }
    void editOrDeleteWithoutATask()
    {
        QFETCH(bool, edit);
        QFETCH(QString, message);
        TestData data(kToday);
        addTask(data, kToday, QStringLiteral("Busy"), QStringLiteral("8:00 AM"), QStringLiteral("9:00 AM"));
        frmMain window(data.db());
        window.load();
        Grid *grid = agendaGrid(window);
        pressRow(grid, rowOf(grid, QStringLiteral("8:30 AM")), 2, Qt::LeftButton); // inside the span
        if (edit)
            window.editAgendaTask();
        else
            QTest::keyClick(grid->table(), Qt::Key_Delete);
        QCOMPARE(data.desktop().messageTexts(), QStringList{message});
        QCOMPARE(data.desktop().messages.first().icon, Desktop::Icon::Exclamation);
        QCOMPARE(grid->col(), 1);
        QVERIFY(!editorOf(window));
        QCOMPARE(data.countOf(store::names::Agenda), 1);
    }

    void selectionCommandsFollowThePointer()
    {
        TestData data(kToday);
        addTask(data, kToday, QStringLiteral("No category"), QStringLiteral("8:00 AM"), QStringLiteral("9:00 AM"));
        frmMain window(data.db());
        window.load();
        Grid *grid = agendaGrid(window);
        const int start = rowOf(grid, QStringLiteral("8:00 AM"));

        pressRow(grid, start, 3, Qt::LeftButton); // the empty category cell of the task's row
        QCOMPARE(selectionCommands(window), kAllOn);
        QCOMPARE(grid->row(), start);
        QCOMPARE(grid->col(), 1);
        pressRow(grid, start + 1, 2, Qt::LeftButton); // inside the span
        QCOMPARE(selectionCommands(window), kAllOff);

        pressRow(grid, start, 0, Qt::RightButton);
        QCOMPARE(selectionCommands(window), kAllOn);
        QCOMPARE(data.desktop().menusPopped.size(), 1);
        QCOMPARE(data.desktop().menusPopped.last()->objectName(), QStringLiteral("mnuAgenda"));

        pressRow(grid, 0, 2, Qt::RightButton);
        QCOMPARE(selectionCommands(window), kAllOff);
        QCOMPARE(data.desktop().menusPopped.size(), 2);
        QCOMPARE(grid->col(), 1);

        pressRow(grid, start, 2, Qt::LeftButton);
        QCOMPARE(selectionCommands(window), kAllOn);
        Q_EMIT grid->lostFocus();
        QCOMPARE(selectionCommands(window), kAllOff);
    }
};

BREVANE_TEST(AgendaTests)
#include "tst_agenda.moc"
