#include "store/bulkupdate.h"

#include "core/organizer.h"
#include "store/database.h"
#include "store/names.h"
#include "store/storeerrors.h"

#include <QSqlError>
#include <QStringList>
#include <QVariant>

namespace brevane::store {

namespace {

namespace a = names::agenda;
namespace t = names::todo;

// The fields each update writes, in the order of its bound values; the
// record's identity is bound last.
const QStringList &agendaFields()
{
    static const QStringList fields{a::Task,        a::Category,      a::StartHour,    a::StartMinute, a::StartAmPm,
                                    a::EndHour,     a::EndMinute,     a::EndAmPm,      a::Day,         a::Month,
                                    a::Year,        a::Reminder,      a::ReminderDay,  a::ReminderMonth,
                                    a::ReminderYear, a::Alarm,        a::Repeating};
    return fields;
}

const QStringList &toDoFields()
{
    static const QStringList fields{t::Task, t::Category, t::Done, t::Priority};
    return fields;
}

QString updateStatement(const QString &table, const QStringList &fields)
{
    QStringList assignments;
    for (const QString &field : fields)
        assignments << Database::quoteName(field) + QStringLiteral(" = ?");
    return QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
        .arg(Database::quoteName(table), assignments.join(QStringLiteral(", ")));
}

// Prepares the statement on first use; an empty text when it is ready.
QString prepare(Database &db, std::unique_ptr<QSqlQuery> &query, const QString &table, const QStringList &fields)
{
    if (query)
        return {};
    query = std::make_unique<QSqlQuery>(db.connection());
    if (query->prepare(updateStatement(table, fields)))
        return {};
    const QString reason = errors::writeFailure(db, errors::errorText(query->lastError()));
    query.reset();
    return reason;
}

// Runs the statement with its values bound; the record must still be there.
WriteResult run(Database &db, QSqlQuery &query, const QStringList &values, RecordId id, const QString &gone)
{
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values.at(i).isNull() ? QStringLiteral("") : values.at(i));
    query.bindValue(int(values.size()), id);
    if (!query.exec())
        return {false, errors::writeFailure(db, errors::errorText(query.lastError()))};
    if (query.numRowsAffected() != 1)
        return {false, gone};
    return {true, {}};
}

bool onHalfHourGrid(const QTime &time)
{
    return time.isValid() && time.second() == 0 && time.msec() == 0 && time.minute() % 30 == 0;
}

// Hour "1".."12" without a leading zero, minute "00" or "30", "AM" or "PM".
void appendTime(QStringList &values, const QTime &time)
{
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    values << QString::number(hour) << (time.minute() == 0 ? QStringLiteral("00") : QStringLiteral("30"))
           << (time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

QString number(int value)
{
    return value > 0 ? QString::number(value) : QString();
}

} // namespace

AgendaBulkUpdate::AgendaBulkUpdate(Database &db) : m_db(db) {}
AgendaBulkUpdate::~AgendaBulkUpdate() = default;

WriteResult AgendaBulkUpdate::update(const AgendaTask &task)
{
    if (const int count = characterCount(task.text); count > AgendaRepository::kTextLimit)
        return {false, QStringLiteral("The task text has %1 characters; at most %2 are allowed.")
                           .arg(count)
                           .arg(AgendaRepository::kTextLimit)};
    if (!onHalfHourGrid(task.start) || !onHalfHourGrid(task.end))
        return {false, QStringLiteral("The task's start or end time is not a time of the agenda.")};
    if (const QString problem = prepare(m_db, m_query, names::Agenda, agendaFields()); !problem.isEmpty())
        return {false, problem};
    QStringList values;
    values.reserve(agendaFields().size());
    // The end time is kept in the text too, as the editor writes it.
    values << task.text + QStringLiteral(" (to ") + timeText(task.end) + u')' << task.category;
    appendTime(values, task.start);
    appendTime(values, task.end);
    values << number(task.day) << number(task.month) << number(task.year) << task.reminder
           << number(task.reminderDay) << number(task.reminderMonth) << number(task.reminderYear) << task.alarm
           << task.repeating;
    return run(m_db, *m_query, values, task.id,
               QStringLiteral("The task no longer exists.  It may have been deleted."));
}

ToDoBulkUpdate::ToDoBulkUpdate(Database &db) : m_db(db) {}
ToDoBulkUpdate::~ToDoBulkUpdate() = default;

WriteResult ToDoBulkUpdate::update(const ToDoItem &item)
{
    if (const int count = characterCount(item.text); count > ToDoRepository::kTextLimit)
        return {false, QStringLiteral("The to-do item has %1 characters; at most %2 are allowed.")
                           .arg(count)
                           .arg(ToDoRepository::kTextLimit)};
    if (const QString problem = prepare(m_db, m_query, names::ToDo, toDoFields()); !problem.isEmpty())
        return {false, problem};
    const QStringList values{item.text, item.category, item.done ? QStringLiteral("Yes") : QStringLiteral("No"),
                             QString::number(item.priority)};
    return run(m_db, *m_query, values, item.id,
               QStringLiteral("This to-do item no longer exists.  It may have been deleted."));
}

} // namespace brevane::store
