#include "store/agendarepository.h"

#include "core/logging.h"
#include "core/organizer.h"
#include "core/reminders.h"
#include "store/database.h"
#include "store/names.h"
#include "store/storeerrors.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <functional>

namespace brevane::store {

namespace f = names::agenda;

namespace {

// The end-time note the editor appends: exactly " (to h:mm AM)" or
// " (to h:mm PM)" at the very end. Anything else in brackets is the user's.
const QRegularExpression &notePattern()
{
    static const QRegularExpression pattern(QStringLiteral(R"( \(to (?:1[0-2]|[1-9]):[0-5][0-9] [AP]M\)\z)"));
    return pattern;
}

qsizetype noteStart(const QString &stored)
{
    const QRegularExpressionMatch match = notePattern().match(stored);
    return match.hasMatch() ? match.capturedStart() : -1;
}

QString withoutNote(const QString &stored)
{
    const qsizetype start = noteStart(stored);
    return start < 0 ? stored : stored.left(start);
}

QString note(const QTime &end)
{
    return QStringLiteral(" (to ") + timeText(end) + u')';
}

// A time of day as the agenda stores it: hour "1".."12" without a leading
// zero, minute "00" or "30", "AM" or "PM". Anything else is unreadable, as it
// would match no row of the agenda.
QTime storedTime(const QString &hour, const QString &minute, const QString &amPm)
{
    static const QRegularExpression hourPattern(QStringLiteral(R"(\A(?:1[0-2]|[1-9])\z)"));
    if (!hourPattern.match(hour).hasMatch())
        return {};
    if (minute != QLatin1String("00") && minute != QLatin1String("30"))
        return {};
    int offset = 0;
    if (amPm == QLatin1String("PM"))
        offset = 12;
    else if (amPm != QLatin1String("AM"))
        return {};
    return QTime(hour.toInt() % 12 + offset, minute.toInt());
}

bool onHalfHourGrid(const QTime &time)
{
    return time.isValid() && time.second() == 0 && time.msec() == 0 && time.minute() % 30 == 0;
}

template <typename Sink>
void setTime(Sink &set, const QString &hourField, const QString &minuteField, const QString &amPmField,
             const QTime &time)
{
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    set.setField(hourField, QString::number(hour));
    set.setField(minuteField, time.minute() == 0 ? QStringLiteral("00") : QStringLiteral("30"));
    set.setField(amPmField, time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

AgendaTask taskOf(const RecordSet &set)
{
    AgendaTask task;
    task.id = set.recordId();
    task.day = textToNumber(set.field(f::Day));
    task.month = textToNumber(set.field(f::Month));
    task.year = textToNumber(set.field(f::Year));
    task.start = storedTime(set.field(f::StartHour), set.field(f::StartMinute), set.field(f::StartAmPm));
    task.end = storedTime(set.field(f::EndHour), set.field(f::EndMinute), set.field(f::EndAmPm));
    task.shownText = set.field(f::Task);
    task.text = withoutNote(task.shownText);
    task.category = set.field(f::Category);
    task.reminder = set.field(f::Reminder);
    task.reminderDay = textToNumber(set.field(f::ReminderDay));
    task.reminderMonth = textToNumber(set.field(f::ReminderMonth));
    task.reminderYear = textToNumber(set.field(f::ReminderYear));
    task.alarm = set.field(f::Alarm);
    task.repeating = set.field(f::Repeating);
    return task;
}

// Collects the stored texts of a record for one bulk statement.
struct StoredValues {
    QHash<QString, QString> fields;
    void setField(const QString &name, const QString &value) { fields.insert(name, value); }
};

template <typename Sink>
void writeFieldsTo(Sink &set, const AgendaTask &task, AgendaFields fields, const QString &storedText);

ReadResult<QList<AgendaTask>> readTasks(Database &db, QList<NumericCondition> conditions,
                                        const std::function<bool(const AgendaTask &)> &wanted = {})
{
    RecordSet set(db, names::Agenda, std::move(conditions));
    if (!set.lastError().isEmpty())
        return ReadResult<QList<AgendaTask>>::failed(errors::readFailure(db, set.lastError()));
    QList<AgendaTask> tasks;
    tasks.reserve(set.recordCount());
    for (set.moveFirst(); !set.eof(); set.moveNext()) {
        AgendaTask task = taskOf(set);
        if (!wanted || wanted(task))
            tasks.append(std::move(task));
    }
    return {std::move(tasks), {}};
}

} // namespace

ReadResult<QList<AgendaTask>> AgendaRepository::month(int year, int month) const
{
    return readTasks(m_db, {{f::Year, year}, {f::Month, month}});
}

ReadResult<QList<AgendaTask>> AgendaRepository::day(int year, int month, int day) const
{
    return readTasks(m_db, {{f::Year, year}, {f::Month, month}, {f::Day, day}});
}

ReadResult<QList<AgendaTask>> AgendaRepository::all() const
{
    return readTasks(m_db, {});
}

ReadResult<AgendaTask> AgendaRepository::byId(RecordId id) const
{
    if (id == kNoRecord)
        return {};
    const ReadResult<QList<AgendaTask>> tasks = readTasks(m_db, onlyRecord(id));
    if (!tasks.ok())
        return ReadResult<AgendaTask>::failed(tasks.error);
    if (tasks.value->isEmpty())
        return {};
    return {tasks.value->constFirst(), {}};
}

ReadResult<QList<AgendaTask>> AgendaRepository::search(const QString &text) const
{
    // Compared here rather than with SQL's LIKE, which folds only ASCII case.
    return readTasks(m_db, {}, [&text](const AgendaTask &task) {
        return !task.shownText.isEmpty() && task.shownText.contains(text, Qt::CaseInsensitive);
    });
}

ReadResult<QList<AgendaTask>> AgendaRepository::dueReminders(const QDate &today) const
{
    // A due task lies between today and seven days ahead (a reminder is set at
    // most seven days before its task and only ever put off towards it), so
    // this month and the next are read through the month index.
    QList<AgendaTask> due;
    for (const QDate &month : {today, today.addMonths(1)}) {
        ReadResult<QList<AgendaTask>> tasks = readTasks(m_db, {{f::Year, month.year()}, {f::Month, month.month()}},
                                                        [&today](const AgendaTask &task) {
                                                            return isReminderDue(task, today);
                                                        });
        if (!tasks.ok())
            return tasks;
        due += *tasks.value;
    }
    std::sort(due.begin(), due.end(), [](const AgendaTask &a, const AgendaTask &b) { return a.id < b.id; });
    return {std::move(due), {}};
}

bool AgendaRepository::isReminderDue(const AgendaTask &task, const QDate &today)
{
    const auto valid = [](int day, int month, int year) {
        return year >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(month, year);
    };
    if (!valid(task.day, task.month, task.year)
        || !valid(task.reminderDay, task.reminderMonth, task.reminderYear))
        return false;
    return reminders::isDue(task.reminderDate(), task.date(), today);
}

WriteResult AgendaRepository::add(AgendaTask &task)
{
    if (const QString problem = checkTask(task, AgendaField::All, {}); !problem.isEmpty())
        return {false, problem};
    RecordSet set(m_db, names::Agenda, onlyRecord(kNoRecord));
    set.addNew();
    writeFields(set, task, AgendaField::All, {});
    WriteResult result = set.update();
    if (result)
        task.id = set.recordId();
    return result;
}

WriteResult AgendaRepository::update(const AgendaTask &task, AgendaFields fields)
{
    Transaction transaction(m_db);
    if (!transaction.isActive())
        return {false, errors::writeFailure(m_db, transaction.error())};
    RecordSet set(m_db, names::Agenda, onlyRecord(task.id));
    if (!set.lastError().isEmpty())
        return {false, errors::writeFailure(m_db, set.lastError())};
    if (task.id == kNoRecord || !set.moveToRecord(task.id))
        return {false, QStringLiteral("The task no longer exists.  It may have been deleted.")};
    const QString storedText = set.field(f::Task);

    if (const QString problem = checkTask(task, fields, storedText); !problem.isEmpty())
        return {false, problem};
    set.edit();
    writeFields(set, task, fields, storedText);
    if (WriteResult result = set.update(); !result)
        return result;
    if (!transaction.commit())
        return {false, errors::writeFailure(m_db, transaction.error())};
    return {true, {}};
}

QString AgendaRepository::checkTask(const AgendaTask &task, AgendaFields fields, const QString &storedText)
{
    if (fields.testFlag(AgendaField::Text)) {
        // A text that was longer already (written elsewhere) may be kept or
        // shortened, as the editor's text box allows; never lengthened.
        const int count = characterCount(task.text);
        if (count > kTextLimit && count > characterCount(withoutNote(storedText))) {
            return QStringLiteral("The task text has %1 characters; at most %2 are allowed.")
                .arg(count)
                .arg(kTextLimit);
        }
    }
    if ((fields.testFlag(AgendaField::Start) && !onHalfHourGrid(task.start))
        || (fields.testFlag(AgendaField::End) && !onHalfHourGrid(task.end)))
        return QStringLiteral("The task's start or end time is not a time of the agenda.");
    return {};
}

void AgendaRepository::writeFields(RecordSet &set, const AgendaTask &task, AgendaFields fields,
                                   const QString &storedText)
{
    writeFieldsTo(set, task, fields, storedText);
}

WriteResult AgendaRepository::addAll(QList<AgendaTask> &tasks)
{
    Transaction transaction(m_db);
    if (!transaction.isActive())
        return {false, errors::writeFailure(m_db, transaction.error())};
    // One statement prepared once: a record set per task would parse its
    // statements again for every one of them.
    QSqlQuery insert(m_db.connection());
    QStringList columns;
    for (AgendaTask &task : tasks) {
        if (const QString problem = checkTask(task, AgendaField::All, {}); !problem.isEmpty())
            return {false, problem};
        StoredValues values;
        writeFieldsTo(values, task, AgendaField::All, {});
        if (columns.isEmpty()) {
            QStringList quoted;
            for (const QString &field : Database::fieldsOf(names::Agenda)) {
                if (values.fields.contains(field)) {
                    columns << field;
                    quoted << Database::quoteName(field);
                }
            }
            if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                    .arg(Database::quoteName(names::Agenda), quoted.join(u','),
                                         QStringList(columns.size(), QStringLiteral("?")).join(u','))))
                return {false, errors::writeFailure(m_db, errors::errorText(insert.lastError()))};
        }
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const QString value = values.fields.value(columns.at(i));
            insert.bindValue(int(i), value.isNull() ? QStringLiteral("") : value);
        }
        if (!insert.exec())
            return {false, errors::writeFailure(m_db, errors::errorText(insert.lastError()))};
        task.id = insert.lastInsertId().toLongLong();
    }
    if (!transaction.commit())
        return {false, errors::writeFailure(m_db, transaction.error())};
    return {true, {}};
}

namespace {

template <typename Sink>
void writeFieldsTo(Sink &set, const AgendaTask &task, AgendaFields fields, const QString &storedText)
{
    const auto number = [](int value) { return value > 0 ? QString::number(value) : QString(); };
    if (fields.testFlag(AgendaField::Text)) {
        // An end time that cannot be read gives no note rather than a false one.
        set.setField(f::Task, task.end.isValid() ? task.text + note(task.end) : task.text);
    } else if (fields.testFlag(AgendaField::End)) {
        const qsizetype start = noteStart(storedText);
        if (start >= 0)
            set.setField(f::Task, storedText.left(start) + note(task.end));
    }
    if (fields.testFlag(AgendaField::Category))
        set.setField(f::Category, task.category);
    if (fields.testFlag(AgendaField::Start))
        setTime(set, f::StartHour, f::StartMinute, f::StartAmPm, task.start);
    if (fields.testFlag(AgendaField::End))
        setTime(set, f::EndHour, f::EndMinute, f::EndAmPm, task.end);
    if (fields.testFlag(AgendaField::Date)) {
        set.setField(f::Day, number(task.day));
        set.setField(f::Month, number(task.month));
        set.setField(f::Year, number(task.year));
    }
    if (fields.testFlag(AgendaField::Reminder)) {
        set.setField(f::Reminder, task.reminder);
        set.setField(f::ReminderDay, number(task.reminderDay));
        set.setField(f::ReminderMonth, number(task.reminderMonth));
        set.setField(f::ReminderYear, number(task.reminderYear));
    }
    if (fields.testFlag(AgendaField::Alarm))
        set.setField(f::Alarm, task.alarm);
    if (fields.testFlag(AgendaField::Repeating))
        set.setField(f::Repeating, task.repeating);
}

} // namespace

WriteResult AgendaRepository::remove(RecordId id)
{
    RecordSet set(m_db, names::Agenda, onlyRecord(id));
    if (!set.lastError().isEmpty())
        return {false, errors::writeFailure(m_db, set.lastError())};
    if (id == kNoRecord || !set.moveToRecord(id))
        return {false, QStringLiteral("The task no longer exists.  It may have been deleted.")};
    return set.deleteCurrent();
}

WriteResult AgendaRepository::removeBefore(int year, int month, int *removed)
{
    if (removed)
        *removed = 0;
    Transaction transaction(m_db);
    if (!transaction.isActive())
        return {false, errors::writeFailure(m_db, transaction.error())};
    QSqlQuery query(m_db.connection());
    // The same expressions as the month index, so the index finds the rows.
    const QString yearOf = QStringLiteral("CAST(%1 AS INTEGER)").arg(Database::quoteName(f::Year));
    const QString monthOf = QStringLiteral("CAST(%1 AS INTEGER)").arg(Database::quoteName(f::Month));
    query.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 < ? OR (%2 = ? AND %3 < ?)")
                      .arg(Database::quoteName(names::Agenda), yearOf, monthOf));
    query.addBindValue(year);
    query.addBindValue(year);
    query.addBindValue(month);
    if (!query.exec())
        return {false, errors::writeFailure(m_db, errors::errorText(query.lastError()))};
    const int count = query.numRowsAffected();
    query.finish();
    if (!transaction.commit())
        return {false, errors::writeFailure(m_db, transaction.error())};
    qCInfo(lcStore) << "removed" << count << "tasks before" << year << month;
    if (removed)
        *removed = count;
    return {true, {}};
}

int AgendaRepository::reminderLeadDays(const QString &stored)
{
    static const QRegularExpression pattern(QStringLiteral(R"(\A([0-9]{1,4}) (?:Days?|days?)\z)"));
    const QRegularExpressionMatch match = pattern.match(stored);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString AgendaRepository::editorReminderText(int leadDays)
{
    return reminders::leadTimeText(leadDays);
}

QString AgendaRepository::postponedReminderText(int leadDays)
{
    return reminders::postponedLeadText(leadDays);
}

void AgendaRepository::setReminderLead(AgendaTask &task, int leadDays)
{
    const reminders::ReminderFields fields = reminders::leadTimeFields(leadDays, task.day, task.month, task.year);
    task.reminder = fields.reminder;
    task.reminderDay = textToNumber(fields.day);
    task.reminderMonth = textToNumber(fields.month);
    task.reminderYear = textToNumber(fields.year);
}

} // namespace brevane::store
