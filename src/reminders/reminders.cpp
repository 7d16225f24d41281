#include "reminders/reminders.h"

#include "core/organizer.h"
#include "core/reminders.h"
#include "platform/desktop.h"
#include "reminders/frmremind.h"
#include "reminders/logging.h"
#include "store/database.h"
#include "store/names.h"

#include <QAction>
#include <QWidget>

#include <algorithm>
#include <optional>

Q_LOGGING_CATEGORY(lcReminders, "brevane.reminders", QtWarningMsg)

namespace brevane {

namespace names = store::names;

namespace {

// What the reminder window is filled from, read from one agenda record.
struct DueReminder {
    store::RecordId id = store::kNoRecord;
    int day = 0;
    int month = 0;
    int year = 0;
    QString task;
    QString startHour;
    QString startMinute;
    QString startAmPm;
    QString category;
};

// The agenda records whose reminder is due today, in record order. A due
// task lies between today and seven days ahead (a reminder is set at most
// seven days before its task and only ever put off towards it), so only this
// month and the next are read, through the month index, not the whole table.
QList<DueReminder> dueReminders(store::Database &db, const QDate &today)
{
    namespace f = names::agenda;
    QList<DueReminder> due;
    const QDate nextMonth = today.addMonths(1);
    for (const QDate &month : {today, nextMonth}) {
        store::RecordSet set(db, names::Agenda, {{f::Year, month.year()}, {f::Month, month.month()}});
        for (set.moveFirst(); !set.eof(); set.moveNext()) {
            const reminders::ReminderFields fields{set.field(f::Reminder), set.field(f::ReminderDay),
                                                   set.field(f::ReminderMonth), set.field(f::ReminderYear)};
            if (!reminders::isDue(fields, set.field(f::Day), set.field(f::Month), set.field(f::Year), today))
                continue;
            due.append({set.recordId(), textToNumber(set.field(f::Day)), textToNumber(set.field(f::Month)),
                        textToNumber(set.field(f::Year)), set.field(f::Task), set.field(f::StartHour),
                        set.field(f::StartMinute), set.field(f::StartAmPm), set.field(f::Category)});
        }
    }
    std::sort(due.begin(), due.end(), [](const DueReminder &a, const DueReminder &b) { return a.id < b.id; });
    return due;
}

// The number of agenda tasks in the file; none when it cannot be read.
std::optional<int> taskCount(store::Database &db, QString *error)
{
    store::RecordSet set(db, names::Agenda);
    if (!set.lastError().isEmpty()) {
        *error = set.lastError();
        return std::nullopt;
    }
    return set.recordCount();
}

// Deletes every task of a month before `today`'s, all or nothing: one
// transaction that is committed only when every deletion worked. The number
// is what the file lost, counted after the commit.
store::WriteResult removeBefore(store::Database &db, const QDate &today, int *removed)
{
    namespace f = names::agenda;
    *removed = 0;
    QString error;
    const std::optional<int> before = taskCount(db, &error);
    if (!before)
        return {false, error};
    {
        store::Batch batch(db);
        store::RecordSet set(db, names::Agenda);
        for (set.moveFirst(); !set.eof(); set.moveNext()) {
            const int year = textToNumber(set.field(f::Year));
            const int month = textToNumber(set.field(f::Month));
            if (year > today.year() || (year == today.year() && month >= today.month()))
                continue;
            // Without the commit the batch rolls every deletion back.
            if (store::WriteResult result = set.deleteCurrent(); !result)
                return result;
        }
        if (!batch.commit())
            return {false, batch.error()};
    }
    const std::optional<int> after = taskCount(db, &error);
    if (after)
        *removed = *before - *after;
    return {true, {}};
}

} // namespace

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
    bool found = false;
    const QList<DueReminder> due = dueReminders(m_db, desktop().today());
    for (const DueReminder &reminder : due) {
        if (reminder.id <= after)
            continue;
        frmRemind popup(m_db, m_window);
        connect(&popup, &frmRemind::reminderChanged, this, &Reminders::agendaChanged);
        connect(&popup, &frmRemind::todoAdded, this, [this] {
            Q_EMIT agendaChanged();
            Q_EMIT toDoChanged();
        });
        popup.setReminder(reminder.day, reminder.month, reminder.year, reminder.task, reminder.startHour,
                          reminder.startMinute, reminder.startAmPm, reminder.category, reminder.id);
        found = true;
        // Closing the window without OK ends the chain; the rest come at the
        // next check.
        if (desktop().runModal(&popup) != QDialog::Accepted)
            break;
    }
    return found;
}

void Reminders::view()
{
    if (!check(store::kNoRecord))
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
    const store::WriteResult result = removeBefore(m_db, desktop().today(), &removed);
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
