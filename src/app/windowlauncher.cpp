#include "app/windowlauncher.h"

#include "about/frmabout.h"
#include "contacts/frmcontacts.h"
#include "notes/frmnotes.h"
#include "preferences/frmpreferences.h"
#include "quick_links/frmquicklinks.h"
#include "task_search/frmsearch.h"

namespace brevane {

namespace {

void bringToFront(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

WindowLauncher::WindowLauncher(store::Database &db, Navigation &navigation, QWidget *mainWindow)
    : QObject(mainWindow), m_db(db), m_navigation(navigation), m_mainWindow(mainWindow)
{
}

WindowLauncher::~WindowLauncher()
{
    delete m_contacts;
    delete m_notes;
    delete m_quickLinks;
    delete m_search;
    delete m_preferences;
    delete m_about;
}

frmContacts *WindowLauncher::contacts()
{
    // The book is kept when closed, so that it opens again where it was.
    if (!m_contacts)
        m_contacts = new frmContacts(m_db, m_mainWindow);
    bringToFront(m_contacts);
    return m_contacts;
}

void WindowLauncher::showContacts()
{
    contacts();
}

void WindowLauncher::newContact()
{
    contacts()->cmdAddContact_Click();
}

frmNotes *WindowLauncher::notes()
{
    if (!m_notes)
        m_notes = new frmNotes(m_db, m_mainWindow);
    bringToFront(m_notes);
    return m_notes;
}

void WindowLauncher::showNotes()
{
    notes();
}

void WindowLauncher::newNote()
{
    notes()->cmdNew_Click();
}

frmQuickLinks *WindowLauncher::quickLinks()
{
    if (!m_quickLinks)
        m_quickLinks = new frmQuickLinks(m_db, m_navigation, m_mainWindow);
    bringToFront(m_quickLinks);
    return m_quickLinks;
}

void WindowLauncher::showQuickLinks()
{
    quickLinks();
}

void WindowLauncher::newQuickLink()
{
    quickLinks()->cmdAddNew_Click();
}

void WindowLauncher::showSearch()
{
    if (!m_search)
        m_search = new frmSearch(m_db, m_navigation, m_mainWindow);
    bringToFront(m_search);
}

void WindowLauncher::showPreferences()
{
    if (!m_preferences) {
        auto *preferences = new frmPreferences(m_db, m_navigation, m_mainWindow);
        // It has told the user why it cannot show the settings.
        if (!preferences->isLoaded()) {
            preferences->deleteLater();
            return;
        }
        m_preferences = preferences;
    }
    bringToFront(m_preferences);
}

void WindowLauncher::showAbout()
{
    if (!m_about)
        m_about = new frmAbout(m_mainWindow);
    bringToFront(m_about);
}

} // namespace brevane
