// Reminders and the database cleanup of the main window.

#include "app/frmmain.h"

#include "app/frmremind.h"
#include "controls/grid.h"
#include "core/logging.h"
#include "core/organizer.h"
#include "core/reminders.h"
#include "platform/desktop.h"
#include "store/database.h"
#include "store/names.h"
#include "store/recordset.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

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

} // namespace

void frmMain::setupReminders()
{
    for (int n = 0; n <= 7; ++n) {
        QAction *entry = findChild<QAction *>(QStringLiteral("mnuSetReminder%1").arg(n));
        connect(entry, &QAction::triggered, this, [this, n] { setReminder(n); });
    }
    for (const char *name : {"mnuViewReminders", "mnuSystemTrayReminders"}) {
        QAction *action = findChild<QAction *>(QLatin1String(name));
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, &frmMain::viewReminders);
    }
    QAction *cleanup = findChild<QAction *>(QStringLiteral("mnuDatabaseCleanup"));
    cleanup->setEnabled(true);
    connect(cleanup, &QAction::triggered, this, &frmMain::cleanDatabase);
}

bool frmMain::checkReminders(store::RecordId after)
{
    bool found = false;
    const QList<DueReminder> due = dueReminders(m_db, desktop().today());
    for (const DueReminder &reminder : due) {
        if (reminder.id <= after)
            continue;
        frmRemind popup(m_db, this);
        connect(&popup, &frmRemind::reminderChanged, this, &frmMain::loadAgenda);
        connect(&popup, &frmRemind::todoAdded, this, [this] {
            loadAgenda();
            loadToDoList();
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

void frmMain::viewReminders()
{
    if (!checkReminders(store::kNoRecord))
        desktop().message(this, QStringLiteral("There are no reminders for today."), Desktop::Icon::Information);
}

void frmMain::setReminder(int leadDays)
{
    Grid *agenda = m_agenda;
    const store::RecordId id = agendaRecordAt(agenda->row());
    agenda->setCol(1);
    if (id == store::kNoRecord)
        return;
    namespace f = names::agenda;
    store::RecordSet set(m_db, names::Agenda, store::onlyRecord(id));
    if (set.eof())
        return;
    const reminders::ReminderFields fields = reminders::leadTimeFields(
        leadDays, textToNumber(set.field(f::Day)), textToNumber(set.field(f::Month)), textToNumber(set.field(f::Year)));
    set.edit();
    set.setField(f::Reminder, fields.reminder);
    set.setField(f::ReminderDay, fields.day);
    set.setField(f::ReminderMonth, fields.month);
    set.setField(f::ReminderYear, fields.year);
    if (const store::WriteResult result = set.update(); !result) {
        desktop().message(this,
                          QStringLiteral("The reminder of \"%1\" was not saved.\n\n%2").arg(set.field(f::Task), result.error),
                          Desktop::Icon::Exclamation);
    }
}

void frmMain::cleanDatabase()
{
    const Desktop::Answer answer = desktop().message(
        this,
        QStringLiteral("Database cleanup is designed to improve the efficiency of Brevane ")
            + QStringLiteral("Organizer by deleting all passed agenda tasks.  Do you want to continue?"),
        Desktop::Icon::Question, Desktop::Buttons::YesNo);
    if (answer != Desktop::Answer::Yes)
        return;

    namespace f = names::agenda;
    const QDate today = desktop().today();
    int deleted = 0;
    int failed = 0;
    QString reason;
    {
        // One commit for the lot: thousands of old tasks go in a moment.
        store::Batch batch(m_db);
        store::RecordSet set(m_db, names::Agenda);
        if (!set.lastError().isEmpty()) {
            desktop().message(this,
                              QStringLiteral("The agenda could not be read, so no task was deleted.\n\n")
                                  + set.lastError(),
                              Desktop::Icon::Exclamation);
            return;
        }
        for (set.moveFirst(); !set.eof(); set.moveNext()) {
            const int year = textToNumber(set.field(f::Year));
            const int month = textToNumber(set.field(f::Month));
            if (year > today.year() || (year == today.year() && month >= today.month()))
                continue;
            if (const store::WriteResult result = set.deleteCurrent(); result) {
                ++deleted;
            } else {
                ++failed;
                reason = result.error;
            }
        }
        if (deleted > 0 && !batch.commit()) {
            // Nothing of the batch was kept.
            failed += deleted;
            deleted = 0;
            reason = batch.error();
        }
    }
    qCInfo(lcApp) << "cleanup deleted" << deleted << "failed" << failed;

    QString report = QStringLiteral("Database cleanup was performed successfully.  ") + QString::number(deleted)
                     + (deleted == 1 ? QStringLiteral(" record was deleted.") : QStringLiteral(" records were deleted."));
    if (failed > 0) {
        report += QStringLiteral("  ") + QString::number(failed)
                  + (failed == 1 ? QStringLiteral(" record could not be deleted.") : QStringLiteral(" records could not be deleted."));
        if (!reason.isEmpty())
            report += QStringLiteral("\n\n") + reason;
    }
    desktop().message(this, report, failed > 0 ? Desktop::Icon::Exclamation : Desktop::Icon::Information);
    loadAgenda();
}

} // namespace brevane
