#pragma once

#include "store/recordset.h"

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace brevane {

class frmRemind;

namespace store {
class Database;
}

// The reminder check and the database cleanup: View > Reminders (also in the
// notification-area menu), the check when the window opens, and Options >
// Database Cleanup.
class Reminders : public QObject
{
    Q_OBJECT

public:
    // Messages and pop-ups are shown over `window`.
    Reminders(store::Database &db, QWidget *window);
    Q_DISABLE_COPY_MOVE(Reminders)

    // Shows each reminder due today that comes after `after` in record order,
    // one pop-up at a time; the next only after OK on the one before. True
    // when at least one was shown. Asked again while a pop-up is up, it brings
    // that pop-up forward rather than starting a second run of the same ones.
    bool check(store::RecordId after = store::kNoRecord);
    // The check, or "There are no reminders for today.".
    void view();
    // Deletes the tasks of the months before this one, after asking.
    void cleanUp();

    [[nodiscard]] QAction *viewAction() const { return m_view; }
    [[nodiscard]] QAction *cleanupAction() const { return m_cleanup; }

Q_SIGNALS:
    // Agenda records changed (a reminder put off, old tasks deleted).
    void agendaChanged();
    // A reminder was copied into the to-do list.
    void toDoChanged();

private:
    enum class Outcome { NoneDue, Shown, Unreadable };
    // The check; an agenda it cannot read has been reported when this returns.
    Outcome run(store::RecordId after);

    store::Database &m_db;
    QWidget *m_window;
    QAction *m_view = nullptr;
    QAction *m_cleanup = nullptr;
    // The pop-up of the check under way, if any.
    QPointer<frmRemind> m_popup;
};

} // namespace brevane
