#pragma once

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

    // Month calendar and agenda ------------------------------------------


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
    void runQuickLink(const QString &programName);
    void runTrayQuickLink(const QString &caption);
    void trayLeftReleased();
    void trayRightReleased(const QPoint &globalPos);
    void setTrayWindowState(Qt::WindowState state);
    void layoutWindow();

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

    // Receives the to-do grid's and the editor's signals. It goes with the
    // window's members, so that no signal sent while the widgets are torn
    // down reaches the half-destroyed window.
    std::unique_ptr<QObject> m_toDoReceiver;
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
