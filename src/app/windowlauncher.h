#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace brevane {

class Navigation;
class frmAbout;
class frmContacts;
class frmNotes;
class frmPreferences;
class frmQuickLinks;
class frmSearch;
namespace store {
class Database;
}

// Opens the windows the main window's toolbar and menus lead to, one of each
// at a time: asking again brings the open one to the front.
class WindowLauncher : public QObject
{
    Q_OBJECT

public:
    WindowLauncher(store::Database &db, Navigation &navigation, QWidget *mainWindow);
    // Deletes the open windows without their closing questions: the user has
    // already been asked once whether to exit.
    ~WindowLauncher() override;
    Q_DISABLE_COPY_MOVE(WindowLauncher)

    void showContacts();
    void newContact();
    void showNotes();
    void newNote();
    void showQuickLinks();
    void newQuickLink();
    void showSearch();
    void showPreferences();
    void showAbout();

private:
    frmContacts *contacts();
    frmNotes *notes();
    frmQuickLinks *quickLinks();

    store::Database &m_db;
    Navigation &m_navigation;
    QWidget *m_mainWindow;
    QPointer<frmContacts> m_contacts;
    QPointer<frmNotes> m_notes;
    QPointer<frmQuickLinks> m_quickLinks;
    QPointer<frmSearch> m_search;
    QPointer<frmPreferences> m_preferences;
    QPointer<frmAbout> m_about;
};

} // namespace brevane
