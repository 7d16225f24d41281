#include "agenda/agendarecords.h"

#include "core/organizer.h"
#include "core/reminders.h"
#include "store/names.h"
#include "store/recordset.h"

namespace brevane::agenda {

namespace f = store::names::agenda;

namespace {

// A stored time that is one of the agenda's half-hour labels; anything else
// has no row to stand on and reads as an invalid time.
QTime timeOf(const QString &hour, const QString &minute, const QString &amPm)
{
    const QString text = timeText(hour, minute, amPm);
    const qsizetype index = slotLabels().indexOf(text);
    if (index < 0 || text == QLatin1String("Midnight") || text == QLatin1String("Noon"))
        return {};
    const int h = textToNumber(hour) % 12 + (amPm == QLatin1String("PM") ? 12 : 0);
    return QTime(h, textToNumber(minute));
}

store::AgendaTask taskOf(const store::RecordSet &set)
{
    store::AgendaTask task;
    task.id = set.recordId();
    task.day = textToNumber(set.field(f::Day));
    task.month = textToNumber(set.field(f::Month));
    task.year = textToNumber(set.field(f::Year));
    task.start = timeOf(set.field(f::StartHour), set.field(f::StartMinute), set.field(f::StartAmPm));
    task.end = timeOf(set.field(f::EndHour), set.field(f::EndMinute), set.field(f::EndAmPm));
    task.shownText = set.field(f::Task);
    task.text = task.shownText;
    task.category = set.field(f::Category);
    task.reminder = set.field(f::Reminder);
    task.reminderDay = textToNumber(set.field(f::ReminderDay));
    task.reminderMonth = textToNumber(set.field(f::ReminderMonth));
    task.reminderYear = textToNumber(set.field(f::ReminderYear));
    return task;
}

} // namespace

store::ReadResult<QList<store::AgendaTask>> AgendaRecords::month(int year, int month) const
{
    store::RecordSet set(m_db, store::names::Agenda, {{f::Year, year}, {f::Month, month}});
    if (!set.lastError().isEmpty())
        return store::ReadResult<QList<store::AgendaTask>>::failed(set.lastError());
    QList<store::AgendaTask> tasks;
    for (set.moveFirst(); !set.eof(); set.moveNext())
        tasks.append(taskOf(set));
    return {tasks, {}};
}

store::ReadResult<store::AgendaTask> AgendaRecords::byId(store::RecordId id) const
{
    store::RecordSet set(m_db, store::names::Agenda, store::onlyRecord(id));
    if (!set.lastError().isEmpty())
        return store::ReadResult<store::AgendaTask>::failed(set.lastError());
    if (set.eof())
        return {};
    return {taskOf(set), {}};
}

store::WriteResult AgendaRecords::remove(store::RecordId id)
{
    store::RecordSet set(m_db, store::names::Agenda, store::onlyRecord(id));
    // Already gone: nothing was lost by this delete.
    if (set.eof())
        return {true, {}};
    return set.deleteCurrent();
}

store::WriteResult AgendaRecords::setReminderLead(store::RecordId id, int leadDays)
{
    store::RecordSet set(m_db, store::names::Agenda, store::onlyRecord(id));
    if (set.eof())
        return {true, {}};
    const reminders::ReminderFields fields = reminders::leadTimeFields(
        leadDays, textToNumber(set.field(f::Day)), textToNumber(set.field(f::Month)), textToNumber(set.field(f::Year)));
    set.edit();
    set.setField(f::Reminder, fields.reminder);
    set.setField(f::ReminderDay, fields.day);
    set.setField(f::ReminderMonth, fields.month);
    set.setField(f::ReminderYear, fields.year);
    return set.update();
}

} // namespace brevane::agenda
