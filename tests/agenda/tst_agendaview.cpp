#include "agenda_editor/frmaddagenda.h"
#include "agendafixture.h"
#include "calendar/calendarview.h"
#include "core/organizer.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QSqlQuery>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

using namespace brevane;
using namespace brevane::testing;
namespace ag = store::names::agenda;

namespace {

const QDate kToday(2003, 3, 5);

QAction *action(const QObject &window, const char *name)
{
    if (auto *menu = window.findChild<QMenu *>(QLatin1String(name)))
        return menu->menuAction();
    return window.findChild<QAction *>(QLatin1String(name));
}

// Edit, Delete and the Reminder submenu, in that order.
QList<bool> selectionCommands(const QObject &window)
{
    return {action(window, "mnuEditAgendaTask")->isEnabled(), action(window, "mnuDeleteAgendaTask")->isEnabled(),
            action(window, "mnuReminder")->isEnabled()};
}
const QList<bool> kAllOff{false, false, false};
const QList<bool> kAllOn{true, true, true};

frmAddAgenda *editorOf(const QObject &window)
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

// "9:30 AM" from the editor's start or end drop-downs; `which` is "Start" or "End".
QString timeIn(const QWidget *editor, const char *which)
{
    const auto part = [&](const char *name) {
        return textOf(editor, qPrintable(QStringLiteral("cmb%1%2").arg(QLatin1String(which), QLatin1String(name))));
    };
    return part("Hour") + u':' + part("Minute") + u' ' + part("AMPM");
}

QString dateIn(const QWidget *editor)
{
    return textOf(editor, "cmbDay") + u' ' + textOf(editor, "cmbMonth") + u' ' + textOf(editor, "cmbYear");
}

// What a real double click delivers: press, release, double click, release.
void doubleClickRow(Grid *grid, int row)
{
    const QPoint at = showCell(grid, row, 2);
    QTest::mouseClick(cellSurface(grid, row), Qt::LeftButton, {}, at);
    QTest::mouseDClick(cellSurface(grid, row), Qt::LeftButton, {}, at);
    QTest::mouseRelease(cellSurface(grid, row), Qt::LeftButton, {}, at);
}

void pressRow(Grid *grid, int row, int col, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(cellSurface(grid, row), button, {}, showCell(grid, row, col));
}

// The calendar and the agenda, wired and placed as the main window does.
class AgendaWindow : public QWidget
{
public:
    explicit AgendaWindow(store::Database &db)
        : m_calendar(new CalendarView(this)), m_agenda(new AgendaView(db, this)), m_menu(new QMenu(this))
    {
        m_menu->setObjectName(QStringLiteral("mnuAgenda"));
        m_menu->addActions({m_agenda->newTaskAction(), m_agenda->editTaskAction(), m_agenda->deleteTaskAction(),
                            m_agenda->reminderMenu()->menuAction()});
        m_agenda->setContextMenu(m_menu);
        connect(m_calendar, &CalendarView::dayShown, m_agenda, &AgendaView::showDay);
        connect(m_agenda, &AgendaView::taskDaysChanged, m_calendar, &CalendarView::setTaskDays);
        resize(1000, 700);
        m_agenda->title()->setGeometry(0, 0, 550, 20);
        m_agenda->grid()->setGeometry(0, 30, 550, 670);
        m_calendar->setGeometry(550, 30, 450, 420);
        m_calendar->arrange();
        m_agenda->sizeColumns();
    }
    void load()
    {
        m_calendar->showDate(desktop().today());
        show();
    }

private:
    CalendarView *m_calendar;
    AgendaView *m_agenda;
    QMenu *m_menu;
};

} // namespace

class AgendaTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyDay()
    {
        TestData data(kToday);
        AgendaWindow window(data.db());
        Grid *grid = loaded(window);
        QString texts;
        for (int row = 1; row < grid->rows(); ++row)
            texts += grid->textMatrix(row, 2);
        QCOMPARE(texts, QString());
        QCOMPARE(selectionCommands(window), kAllOff);
        QCOMPARE(QList<int>({grid->rows(), grid->row(), grid->col()}), QList<int>({51, 50, 1}));
    }

    void spans_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QStringList>("shaded");
        QTest::newRow("through noon") << "11:00 AM" << "1:00 PM"
                                      << QStringList{"11:00 AM", "11:30 AM", "Noon", "12:00 PM", "12:30 PM"};
        QTest::newRow("after midnight") << "12:00 AM" << "1:00 AM" << QStringList{"12:00 AM", "12:30 AM"};
        QTest::newRow("zero length") << "3:30 PM" << "3:30 PM" << QStringList{"3:30 PM"};
        QTest::newRow("ends before it starts") << "1:00 PM" << "12:00 PM" << QStringList{};
    }
    void spans()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        TestData data(kToday);
        const store::RecordId id = addTask(data, kToday, QStringLiteral("Task"), start, end, QStringLiteral("Work"));
        AgendaWindow window(data.db());
        const Grid *grid = loaded(window);
        const int row = rowOf(grid, start);
        QCOMPARE(grid->textMatrix(row, 1) + grid->textMatrix(row, 2) + u'|' + grid->textMatrix(row, 3),
                 QStringLiteral(".Task (to ") + end + QStringLiteral(")|Work"));
        QStringList shadedNow;
        for (int r = 1; r < grid->rows(); ++r) {
            QCOMPARE(agendaView(window)->recordAt(r), r == row ? id : store::kNoRecord);
            QCOMPARE(grid->textMatrix(r, 2).isEmpty(), r != row);
            const QAccessibleInterface *cell =
                QAccessible::queryAccessibleInterface(grid->table())->tableInterface()->cellAt(r - 1, 2);
            QCOMPARE(cell->text(QAccessible::Description).isEmpty(), !grid->cellBackColorAt(r, 2).isValid());
            if (grid->cellBackColorAt(r, 2).isValid()) {
                shadedNow << grid->textMatrix(r, 0);
                QCOMPARE(grid->cellForeColorAt(r, 3), QColor(0, 0, 0));
            }
        }
        QTEST(shadedNow, "shaded");
        QCOMPARE(grid->row(), row);
    }

    void whichTasksStand_data()
    {
        QTest::addColumn<QStringList>("stored"); // day, month, year, start
        QTest::addColumn<bool>("inGrid");
        QTest::addColumn<bool>("marksDay5");
        QTest::newRow("the selected day") << QStringList{"5", "3", "2003", "9:00 AM"} << true << true;
        QTest::newRow("month with a leading zero") << QStringList{"5", "03", "2003", "9:00 AM"} << true << true;
        QTest::newRow("another month") << QStringList{"5", "4", "2003", "9:00 AM"} << false << false;
        QTest::newRow("start that is no slot") << QStringList{"5", "3", "2003", "09:00 AM"} << false << true;
    }
    void whichTasksStand()
    {
        QFETCH(QStringList, stored);
        QFETCH(bool, inGrid);
        TestData data(kToday);
        const QStringList time = stored.at(3).split(QRegularExpression(QStringLiteral("[: ]")));
        data.insert(store::names::Agenda, {{ag::Task, QStringLiteral("Task")}, {ag::StartHour, time.at(0)},
                                           {ag::StartMinute, time.at(1)}, {ag::StartAmPm, time.at(2)},
                                           {ag::Day, stored.at(0)}, {ag::Month, stored.at(1)}, {ag::Year, stored.at(2)}});
        AgendaWindow window(data.db());
        const Grid *grid = loaded(window);
        QCOMPARE(grid->textMatrix(rowOf(grid, QStringLiteral("9:00 AM")), 2).isEmpty(), !inGrid);
        QTEST(cellOfDay(window, 5)->foreColor() == QColor(255, 0, 0), "marksDay5");
    }

    void addFromARow()
    {
        TestData data(kToday);
        AgendaWindow window(data.db());
        Grid *grid = loaded(window);
        QTest::mouseClick(cellOfDay(window, 17), Qt::LeftButton);
        // "Midnight" has no time of its own: the editor keeps its first hour.
        doubleClickRow(grid, rowOf(grid, QStringLiteral("Midnight")));
        QVERIFY(editorOf(window));
        QCOMPARE(timeIn(editorOf(window), "Start"), QStringLiteral("1:00 AM"));
        QCOMPARE(grid->col(), 2);
        QTest::mouseClick(editorOf(window)->findChild<QPushButton *>(QStringLiteral("cmdClose")), Qt::LeftButton);
        QTRY_VERIFY(!editorOf(window));
        QCOMPARE(grid->col(), 1);

        doubleClickRow(grid, rowOf(grid, QStringLiteral("12:30 PM")));
        frmAddAgenda *editor = editorOf(window);
        QVERIFY(editor && !editor->isEditMode());
        QCOMPARE(timeIn(editor, "Start") + u' ' + dateIn(editor), QStringLiteral("12:30 PM 17 March 2003"));
        QTest::keyClicks(editor->findChild<QLineEdit *>(QStringLiteral("txtTask")), QStringLiteral("Haircut"));
        QTest::keyClick(editor->findChild<QLineEdit *>(QStringLiteral("txtTask")), Qt::Key_Return);
        QTRY_VERIFY(!editorOf(window));
        QCOMPARE(data.countOf(store::names::Agenda), 1);
        QCOMPARE(grid->textMatrix(rowOf(grid, QStringLiteral("12:30 PM")), 2), QStringLiteral("Haircut (to 12:30 PM)"));
        QCOMPARE(cellOfDay(window, 17)->foreColor(), QColor(255, 0, 0));
        QCOMPARE(grid->col(), 1);
    }

    void editFillsTheEditorAndSaveMovesTheTask()
    {
        TestData data(kToday);
        const store::RecordId id = data.insert(store::names::Agenda,
            {{ag::Task, QStringLiteral("Talk (to Bob) (to 10:30 AM)")}, {ag::Category, QStringLiteral("meeting")},
             {ag::Reminder, QStringLiteral("3 days")}, {ag::Repeating, QStringLiteral("weekly")},
             {ag::StartHour, QStringLiteral("9")}, {ag::StartMinute, QStringLiteral("00")}, {ag::StartAmPm, QStringLiteral("AM")},
             {ag::EndHour, QStringLiteral("10")}, {ag::EndMinute, QStringLiteral("30")}, {ag::EndAmPm, QStringLiteral("AM")},
             {ag::Day, QStringLiteral("5")}, {ag::Month, QStringLiteral("3")}, {ag::Year, QStringLiteral("2003")}});
        AgendaWindow window(data.db());
        Grid *grid = loaded(window);
        doubleClickRow(grid, rowOf(grid, QStringLiteral("9:00 AM")));
        frmAddAgenda *editor = editorOf(window);
        QVERIFY(editor);
        QVERIFY(editor->windowTitle() == QStringLiteral("Edit Agenda Task") && editor->recordId() == id);
        QCOMPARE((QStringList{textOf(editor, "txtTask"), textOf(editor, "cmbCategory"), textOf(editor, "cmbReminder"),
                              textOf(editor, "cmbRepeat"), timeIn(editor, "End"), dateIn(editor)}),
                 (QStringList{"Talk (to Bob)", "Meeting", "3 Days", "Weekly", "10:30 AM", "5 March 2003"}));
        agendaView(window)->editTask(); // asking again brings the same editor forward
        QCOMPARE(editorOf(window), editor);

        for (const auto &[name, text] : {std::pair{"cmbDay", "12"}, {"cmbStartHour", "2"}, {"cmbStartAMPM", "PM"},
                                         {"cmbEndHour", "3"}, {"cmbEndAMPM", "PM"}}) {
            auto *box = editor->findChild<QComboBox *>(QLatin1String(name));
            box->setCurrentIndex(box->findText(QLatin1String(text)));
        }
        editor->updateAgenda();
        QTRY_VERIFY(!editorOf(window));
        QCOMPARE(data.countOf(store::names::Agenda), 1);
        QCOMPARE(data.fieldOf(store::names::Agenda, id, ag::Day) + u' ' + data.fieldOf(store::names::Agenda, id, ag::Task),
                 QStringLiteral("12 Talk (to Bob) (to 3:30 PM)"));
        QVERIFY(grid->textMatrix(rowOf(grid, QStringLiteral("9:00 AM")), 2).isEmpty());
        QCOMPARE((QList<QColor>{cellOfDay(window, 5)->foreColor(), cellOfDay(window, 12)->foreColor()}),
                 (QList<QColor>{Qt::black, Qt::red}));
        QCOMPARE(grid->col(), 1);
    }

    void editAndDeleteActOnTheRowsOwnTask()
    {
        TestData data(kToday);
        const auto gym = [&](const QDate &date) {
            return addTask(data, date, QStringLiteral("Gym"), QStringLiteral("6:00 PM"), QStringLiteral("7:00 PM"), QStringLiteral("Leisure"));
        };
        gym(kToday.addDays(-1)); // the same task the day before, and on the selected day hidden under the later one
        const store::RecordId hidden = gym(kToday);
        const store::RecordId shown = gym(kToday);
        AgendaWindow window(data.db());
        Grid *grid = loaded(window);
        const int row = rowOf(grid, QStringLiteral("6:00 PM"));
        const QString text = QStringLiteral("Gym (to 7:00 PM)");
        pressRow(grid, row, 2);
        QCOMPARE(agendaView(window)->recordAt(row), shown);
        QTest::keyClick(grid->table(), Qt::Key_Return);
        QCOMPARE(editorOf(window)->recordId(), shown);
        editorOf(window)->close();
        QTRY_VERIFY(!editorOf(window));

        pressRow(grid, row, 3);
        data.desktop().queueAnswer(Desktop::Answer::No);
        QTest::keyClick(grid->table(), Qt::Key_Delete);
        QCOMPARE(data.countOf(store::names::Agenda), 3);
        data.desktop().queueAnswer(Desktop::Answer::Yes);
        QTest::keyClick(grid->table(), Qt::Key_Delete);
        QCOMPARE(data.desktop().messageTexts(), QStringList(2, QStringLiteral("Delete 'Gym (to 7:00 PM)' From Agenda?")));
        QCOMPARE(data.desktop().messages.last().buttons, Desktop::Buttons::YesNo);
        QCOMPARE(data.fieldOf(store::names::Agenda, shown, ag::Task), QStringLiteral("<no record>"));
        QCOMPARE(agendaView(window)->recordAt(row), hidden);
        QCOMPARE(grid->textMatrix(row, 2), text);

        data.failWrites(store::names::Agenda); // a delete the file refuses is reported and the task stays
        pressRow(grid, row, 2);
        data.desktop().queueAnswer(Desktop::Answer::Yes);
        action(window, "mnuDeleteAgendaTask")->trigger();
        QVERIFY(data.desktop().messages.last().text.startsWith(QStringLiteral("The task could not be deleted: ")));
        QCOMPARE(data.fieldOf(store::names::Agenda, hidden, ag::Task) + grid->textMatrix(row, 2), text + text);
        QCOMPARE(grid->col(), 1);
    }

    void selectionCommandsFollowThePointer()
    {
        TestData data(kToday);
        addTask(data, kToday, QStringLiteral("No category"), QStringLiteral("8:00 AM"), QStringLiteral("9:00 AM"));
        AgendaWindow window(data.db());
        Grid *grid = loaded(window);
        const int start = rowOf(grid, QStringLiteral("8:00 AM"));
        pressRow(grid, start, 3); // the empty category cell of the task's row
        QCOMPARE(selectionCommands(window), kAllOn);
        QCOMPARE(QPoint(grid->row(), grid->col()), QPoint(start, 1));

        pressRow(grid, start + 1, 2); // inside the span
        QCOMPARE(selectionCommands(window), kAllOff);
        agendaView(window)->editTask();
        QTest::keyClick(grid->table(), Qt::Key_Delete);
        QCOMPARE(data.desktop().messageTexts(),
                 (QStringList{QStringLiteral("Please Select A Record To Edit"), QStringLiteral("Please Select A Record To Delete")}));
        QVERIFY(!editorOf(window) && data.countOf(store::names::Agenda) == 1);

        pressRow(grid, start, 0, Qt::RightButton);
        QCOMPARE(selectionCommands(window), kAllOn);
        pressRow(grid, 0, 2, Qt::RightButton);
        QCOMPARE(selectionCommands(window), kAllOff);
        QCOMPARE(data.desktop().menusPopped.size(), 2);
        QCOMPARE(grid->col(), 1);

        pressRow(grid, start, 2);
        QCOMPARE(selectionCommands(window), kAllOn);
        Q_EMIT grid->lostFocus();
        QCOMPARE(selectionCommands(window), kAllOff);
    }
    // Keyboard: moving the selection switches commands; Menu or Shift+F10 pops up the Agenda menu.
    void selectionCommandsFollowTheKeyboard()
    {
        TestData data(kToday);
        addTask(data, kToday, QStringLiteral("Call"), QStringLiteral("8:00 AM"), QStringLiteral("8:30 AM"));
        AgendaWindow window(data.db());
        Grid *grid = loaded(window);
        const int start = rowOf(grid, QStringLiteral("8:00 AM"));
        pressRow(grid, start - 1, 2);
        QCOMPARE(selectionCommands(window), kAllOff);
        QTest::keyClick(grid->table(), Qt::Key_Down);
        QVERIFY(grid->row() == start && selectionCommands(window) == kAllOn);
        QTest::keyClick(grid->table(), Qt::Key_Down);
        QCOMPARE(selectionCommands(window), kAllOff);
        QTest::keyClick(grid->table(), Qt::Key_Up);
        QTest::keyClick(grid->table(), Qt::Key_Menu);
        QTest::keyClick(grid->table(), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(data.desktop().menusPopped.size(), 2);
        QCOMPARE(data.desktop().menusPopped.first()->objectName(), QStringLiteral("mnuAgenda"));
        QCOMPARE(selectionCommands(window), kAllOn);
    }

    // A failed read on a month change is reported with file and reason; the agenda keeps its rows until a read succeeds.
    void failedReadKeepsTheAgenda()
    {
        TestData data(kToday);
        addTask(data, kToday, QStringLiteral("Kept"), QStringLiteral("9:00 AM"), QStringLiteral("9:30 AM"));
        const store::RecordId april = addTask(data, QDate(2003, 4, 20), QStringLiteral("Later"),
                                              QStringLiteral("9:00 AM"), QStringLiteral("9:30 AM"));
        AgendaWindow window(data.db());
        Grid *grid = loaded(window);
        QVERIFY(QSqlQuery(data.db().connection()).exec(QStringLiteral("ALTER TABLE \"Agenda\" RENAME TO \"Gone\"")));
        window.findChild<QAction *>(QStringLiteral("mnuNextMonth"))->trigger();
        QCOMPARE(data.desktop().messages.size(), 1);
        const QString said = data.desktop().messages.first().text;
        QVERIFY2(said.contains(data.path()) && said.contains(QStringLiteral("Agenda")), qPrintable(said));
        QCOMPARE(grid->textMatrix(rowOf(grid, QStringLiteral("9:00 AM")), 2), QStringLiteral("Kept (to 9:30 AM)"));
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblAgendaTitle"))->text(),
                 QStringLiteral("Tasks For: March 5, 2003"));
        // Looking a task up reports the failure rather than calling the task gone.
        QVERIFY(!agendaView(window)->dayOfTask(april).ok());
        QCOMPARE(data.desktop().messages.size(), 2);
        QVERIFY(data.desktop().messages.last().text.contains(data.path()));

        // Once the file reads again, the next reload shows the calendar's day and marks its month.
        QVERIFY(QSqlQuery(data.db().connection()).exec(QStringLiteral("ALTER TABLE \"Gone\" RENAME TO \"Agenda\"")));
        agendaView(window)->reload();
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblAgendaTitle"))->text(),
                 QStringLiteral("Tasks For: April 5, 2003"));
        QCOMPARE(cellOfDay(window, 5)->foreColor().name() + cellOfDay(window, 20)->foreColor().name(),
                 QStringLiteral("#000000#ff0000"));
    }
};

BREVANE_TEST(AgendaTests)
#include "tst_agendaview.moc"
