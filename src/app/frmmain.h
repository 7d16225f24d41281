#pragma once

#include "platform/navigation.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QFrame;
class QMenu;

namespace brevane {

class AgendaView;
class CalendarView;
class FlatButton;
class ImportExportCommands;
class QuickLinksBox;
class Reminders;
class ToDoView;
class TrayIcon;
class WindowLauncher;
namespace store {
class Database;
}

// The main window: a shell that composes the month calendar, the agenda of
// the selected day, the to-do list, the quick-links box, the reminders and
// the notification-area icon. It puts their commands into its menus and
// toolbar, lays them out and routes between them; other windows reach it
// through Navigation.
class frmMain : public QMainWindow, public Navigation
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

    // Navigation
    void showDay(const QDate &day) override;
    Shown showAgendaTask(store::RecordId task) override;
    Shown showToDoItem(store::RecordId item) override;
    void reloadQuickLinks() override;
    void settingsChanged() override;
    void reloadAll() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildMenus();
    void buildToolbar();
    void connectViews();
    void layoutWindow();
    [[nodiscard]] double minimumAgendaHeight() const;
    // True when no open window holds unsaved typing, or the user lets it go.
    [[nodiscard]] bool mayExit();
    void openHelp();
    void connectWindows();

    store::Database &m_db;
    QWidget *m_client = nullptr;
    CalendarView *m_calendar = nullptr;
    AgendaView *m_agenda = nullptr;
    ToDoView *m_toDo = nullptr;
    QuickLinksBox *m_links = nullptr;
    TrayIcon *m_tray = nullptr;
    Reminders *m_reminders = nullptr;
    std::unique_ptr<WindowLauncher> m_windows;
    ImportExportCommands *m_transfer = nullptr;

    QFrame *m_fraToolbar = nullptr;
    // Contacts, Notes, Quick Links, Search, Help, in toolbar order.
    QList<FlatButton *> m_toolbarButtons;
    QList<QWidget *> m_dividers;
    // The toolbar buttons and menu entries that open the other windows.
    FlatButton *m_cmdContacts = nullptr;
    FlatButton *m_cmdNotes = nullptr;
    FlatButton *m_cmdQuickLinks = nullptr;
    FlatButton *m_cmdSearch = nullptr;
    QAction *m_mnuNewContact = nullptr;
    QAction *m_mnuNewNote = nullptr;
    QAction *m_mnuNewQuickLink = nullptr;
    QAction *m_mnuViewContacts = nullptr;
    QAction *m_mnuViewNotes = nullptr;
    QAction *m_mnuViewQuickLinks = nullptr;
    QAction *m_mnuPreferences = nullptr;
    QAction *m_mnuAbout = nullptr;
    bool m_exitConfirmed = false;
};

} // namespace brevane
