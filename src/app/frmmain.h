#pragma once

#include "store/recordset.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;

namespace brevane {

class FlatButton;
class Grid;
class frmAddAgenda;
namespace store {
class Database;
class RecordSet;
} // namespace store

// The main window: toolbar, quick-links box, menus and notification-area icon
// around the month calendar, the agenda of the selected day and the to-do list.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(store::Database &db, QWidget *parent = nullptr);
    ~frmMain() override;
    Q_DISABLE_COPY_MOVE(frmMain)

    // Runs the window's load sequence and shows it. Separate from the
    // constructor so that the window exists before anything it starts
    // (reminder pop-ups) refers to it.
    void load();

    // Calendar state; other windows may set it and call changeCalendar.
    int selectedDay = 0;
    int shownMonthIndex = 0;
    int shownYear = 0;
    qint16 calendarReady = 0;
    int loadDay = 0;
    int loadMonthIndex = 0;
    int loadYear = 0;
    QStringList priorityNames;

    // Frame
    void loadQuickLinks();
    // Reads the tray option afresh from the settings.
    [[nodiscard]] bool getMinimizeToSystemTray() const;
    void openHelp();
    void enableButton(FlatButton *button, bool enable);
    [[nodiscard]] store::Database &database() const { return m_db; }

    // Reminders and cleanup ----------------------------------------------
    // Shows each reminder due today that comes after `after` in record order,
    // one pop-up at a time; the next only after OK on the one before. True
    // when at least one was shown.
    bool checkReminders(store::RecordId after = store::kNoRecord);
    // View > Reminders: the check, or "There are no reminders for today.".
    void viewReminders();
    // Agenda > Reminder entry: the selected task's lead time, 0 (none) to 7 days.
    void setReminder(int leadDays);
    // Options > Database Cleanup: deletes the tasks of months before this one.
    void cleanDatabase();

    // Month calendar and agenda ------------------------------------------
    // Redraws the calendar for month (1..12) of year; day only names the
    // agenda's date in its title. Ends by reloading the agenda.
    void changeCalendar(int day, int month, int year);
    // Rebuilds the agenda of the selected day and marks the shown month's
    // task days; reads only the shown month's tasks.
    void loadAgenda();
    void addAgendaTimes();
    // Open the task editor: a new task at the current row's time on the
    // selected day, or the task of the current row.
    void addAgendaTask();
    void editAgendaTask();
    void deleteAgendaTask();
    // Makes the matching task of the selected day the current record of the
    // agenda's record set: the selected row's own task when it matches.
    bool findAgendaRecord(const QString &slotLabel, const QString &task, const QString &category);
    // Shades the span of the agenda set's current task from its start row.
    void markAgendaSpan(int row);
    // The task standing on an agenda row, kNoRecord for none.
    [[nodiscard]] store::RecordId agendaRecordAt(int row) const;
    // Calendar commands.
    void cmdDay_Click(int index);
    void cmbMonth_Click();
    void cmbYear_Click();
    void cmdLastMonth_Click();
    void cmdNextMonth_Click();
    void mnuLastYear_Click();
    void mnuNextYear_Click();
    void cmdToday_Click();

    // To-do list -----------------------------------------------------------
    // Rebuilds the to-do grid from the file; the first item is highlighted
    // and the commands that act on a selected item are off until one is
    // clicked.
    void loadToDoList();
    // Opens the editor on the selected item (in add mode when its record is
    // gone).
    void editToDoTask();
    // Deletes the selected item after asking.
    void deleteToDoTask();
    // Makes the first record whose text and priority code equal these, in
    // list order, the current record of the to-do record set.
    bool findToDoItem(const QString &text, const QString &code);


protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildTrayMenu();
    QAction *addMenuAction(QMenu *menu, const QString &name, const QString &caption);
    QMenu *addSubMenu(QMenu *menu, const QString &name, const QString &caption);
    void addSeparator(QMenu *menu, const QString &name);
    QAction *addHidden(QMenu *menu, const QString &name, const QString &caption);

    void cmbQuickLinks_Click(int index);
    void runQuickLink(store::RecordId link);
    void runTrayQuickLink(const QAction *entry);
    void trayLeftReleased();
    void trayRightReleased(const QPoint &globalPos);
    void setTrayWindowState(Qt::WindowState state);
    void layoutWindow();
    // The smallest agenda height at which the calendar beside it stays usable.
    [[nodiscard]] double minimumAgendaHeight() const;
    void setupReminders();

    store::Database &m_db;
    std::unique_ptr<store::RecordSet> m_quickLinks;

    QWidget *m_client = nullptr;
    QFrame *m_fraToolbar = nullptr;
    QList<FlatButton *> m_toolbarButtons;
    QList<FlatButton *> m_dividers;
    FlatButton *m_cmdContacts = nullptr;
    FlatButton *m_cmdNotes = nullptr;
    FlatButton *m_cmdQuickLinks = nullptr;
    FlatButton *m_cmdSearch = nullptr;
    FlatButton *m_cmdHelp = nullptr;
    FlatButton *m_cmdToday2 = nullptr;
    QFrame *m_fraQuickLinks = nullptr;
    QComboBox *m_cmbQuickLinks = nullptr;

    QMenu *m_mPopupSys = nullptr;
    QMenu *m_mnuSysQuickLinks = nullptr;
    QList<QAction *> m_sysQuickLinks; // entry 0 is the hidden placeholder
    QAction *m_mPopRestore = nullptr;
    QAction *m_mPopMinimize = nullptr;
    QAction *m_mPopMaximize = nullptr;
    bool m_trayIconAdded = false;
    bool m_loaded = false;

    // Month calendar and agenda ------------------------------------------
    void buildCalendar();
    void buildAgenda();
    void connectCalendarAndAgendaCommands();
    void layoutCalendarAndAgenda(double W, double H);
    void sizeAgendaColumns();
    void setAgendaSelectionCommandsEnabled(bool enable);
    void agendaMouseDown(Qt::MouseButton button);
    void agendaMouseUp(Qt::MouseButton button, const QPoint &globalPos);
    void agendaDoubleClick();
    void popUpNavigateMenu(const QPoint &globalPos);
    frmAddAgenda *newAgendaEditor();
    frmAddAgenda *openEditorOf(store::RecordId id) const;

    std::unique_ptr<store::RecordSet> m_agendaSet;
    int m_agendaSetYear = 0;
    int m_agendaSetMonth = 0;
    QList<store::RecordId> m_agendaRowRecords; // by grid row
    QFrame *m_fraCalendar = nullptr;
    QLabel *m_lblMonthTitle = nullptr;
    QFrame *m_fraSelectors = nullptr;
    QLabel *m_lblMonthComboTitle = nullptr;
    QLabel *m_lblYearComboTitle = nullptr;
    QComboBox *m_cmbMonth = nullptr;
    QComboBox *m_cmbYear = nullptr;
    QList<QLabel *> m_lblDay;
    QList<FlatButton *> m_cmdDay;
    FlatButton *m_cmdLastMonth = nullptr;
    FlatButton *m_cmdNextMonth = nullptr;
    FlatButton *m_cmdToday = nullptr;
    QLabel *m_lblAgendaTitle = nullptr;
    Grid *m_agenda = nullptr;
    QLabel *m_lblTimeWidth = nullptr;
    QLabel *m_lblCategoryWidth = nullptr;
    QMenu *m_mnuNavigate = nullptr;
    QMenu *m_mnuAgenda = nullptr;
    QAction *m_mnuEditAgendaTask = nullptr;
    QAction *m_mnuDeleteAgendaTask = nullptr;
    QAction *m_mnuReminderAction = nullptr;

    // To-do list -----------------------------------------------------------
    void setupToDoList();
    void layoutToDoList(double left, double top, double width, double agendaHeight);
    void setToDoColumnWidths();
    void enableToDoSelection(bool enable);
    [[nodiscard]] int selectedToDoRow() const;
    void focusAgendaGrid();
    class frmAddToDo *toDoEditor();
    void openToDoEditorForAdd();
    void toDoEditorClosed();
    void setToDoPriority(int code);
    void markToDoAsDone();
    void updateMarkAsDoneCaption(int row);
    void ToDo_Click();
    void ToDo_DblClick();
    void ToDo_KeyPress(QChar key);
    void ToDo_KeyDown(int key);
    void ToDo_MouseDown(Qt::MouseButton button, const QPoint &globalPos);
    void ToDo_MouseUp(Qt::MouseButton button, const QPoint &globalPos);

    std::unique_ptr<store::RecordSet> m_dtaToDo;
    // The identity (store::RecordId) of the record shown in each item row,
    // row 1 first.
    QList<qint64> m_toDoRecords;
    class Grid *m_toDo = nullptr;
    QLabel *m_lblPriorityWidth = nullptr;
    FlatButton *m_cmdAddToDoTask = nullptr;
    FlatButton *m_cmdEditToDoTask = nullptr;
    FlatButton *m_cmdDeleteToDoTask = nullptr;
    QMenu *m_mnuToDo = nullptr;
    QAction *m_mnuEditToDoItem = nullptr;
    QAction *m_mnuDeleteToDoTask = nullptr;
    QAction *m_mnuPriority = nullptr;
    QAction *m_mnuMarkAsDone = nullptr;
    // The open editor; it deletes itself when it closes.
    class frmAddToDo *m_frmAddToDo = nullptr;
};

} // namespace brevane
