#include "reminders/reminders.h"

#include "platform/desktop.h"
#include "reminders/frmremind.h"
#include "reminders/logging.h"
#include "store/agendarepository.h"
#include "store/database.h"

#include <QAction>
#include <QWidget>


Q_LOGGING_CATEGORY(lcReminders, "brevane.reminders", QtWarningMsg)

namespace brevane {

Reminders::Reminders(store::Database &db, QWidget *window)
    : QObject(window), m_db(db), m_window(window)
{
    m_view = new QAction(tr("Reminders"), this);
    m_view->setObjectName(QStringLiteral("mnuViewReminders"));
    connect(m_view, &QAction::triggered, this, &Reminders::view);
    m_cleanup = new QAction(tr("Database Cleanup"), this);
    m_cleanup->setObjectName(QStringLiteral("mnuDatabaseCleanup"));
    connect(m_cleanup, &QAction::triggered, this, &Reminders::cleanUp);
}

bool Reminders::check(store::RecordId after)
{
    return run(after) == Outcome::Shown;
}

Reminders::Outcome Reminders::run(store::RecordId after)
{
    // The notification-area menu stays usable while a pop-up is modal; a
    // second check from there would show the same reminders over it.
    if (m_popup) {
        m_popup->raise();
        m_popup->activateWindow();
        return Outcome::Shown;
    }
    Outcome outcome = Outcome::NoneDue;
    // One indexed read of the tasks due today, in record order.
    const store::ReadResult<QList<store::AgendaTask>> due = store::AgendaRepository(m_db).dueReminders(desktop().today());
    if (!due.ok()) {
        desktop().message(m_window,
                          tr("The reminders could not be read from \"%1\".\n\n%2").arg(m_db.path(), due.error),
                          Desktop::Icon::Exclamation);
        return Outcome::Unreadable;
    }
    for (const store::AgendaTask &reminder : std::as_const(*due.value)) {
        if (reminder.id <= after)
            continue;
        frmRemind popup(m_db, m_window);
        m_popup = &popup;
        connect(&popup, &frmRemind::reminderChanged, this, &Reminders::agendaChanged);
        connect(&popup, &frmRemind::todoAdded, this, [this] {
            Q_EMIT agendaChanged();
            Q_EMIT toDoChanged();
        });
        popup.setReminder(reminder);
        outcome = Outcome::Shown;
        // Closing the window without OK ends the chain; the rest come at the
        // next check.
        if (desktop().runModal(&popup) != QDialog::Accepted)
            break;
    }
    return outcome;
}

void Reminders::view()
{
    // Only when the agenda was read: a failed read has been reported already.
    if (run(store::kNoRecord) == Outcome::NoneDue)
        desktop().message(m_window, tr("There are no reminders for today."), Desktop::Icon::Information);
}

void Reminders::cleanUp()
{
    const Desktop::Answer answer = desktop().message(
        m_window,
        tr("Database cleanup is designed to improve the efficiency of Brevane Organizer by deleting all passed "
           "agenda tasks.  Do you want to continue?"),
        Desktop::Icon::Question, Desktop::Buttons::YesNo);
    if (answer != Desktop::Answer::Yes)
        return;

    int removed = 0;
    const QDate today = desktop().today();
    const store::WriteResult result = store::AgendaRepository(m_db).removeBefore(today.year(), today.month(), &removed);
    qCInfo(lcReminders) << "cleanup" << (result ? "removed" : "failed") << removed << result.error;
    if (!result) {
        desktop().message(m_window, tr("Database cleanup failed, so no task was deleted.\n\n%1").arg(result.error),
                          Desktop::Icon::Exclamation);
        return;
    }
    desktop().message(m_window,
                      tr("Database cleanup was performed successfully.  %1")
                          .arg(removed == 1 ? tr("1 record was deleted.") : tr("%1 records were deleted.").arg(removed)),
                      Desktop::Icon::Information);
    Q_EMIT agendaChanged();
}

} // namespace brevane
