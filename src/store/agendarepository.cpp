#include "store/agendarepository.h"

#include "core/logging.h"
#include "core/organizer.h"
#include "core/reminders.h"
#include "store/database.h"
#include "store/names.h"
#include "store/storeerrors.h"

#include <QMap>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

namespace brevane::store {

namespace f = names::agenda;

namespace {

const QString kTaskGone = QStringLiteral("The task no longer exists.  It may have been deleted.");

// The end-time note the editor appends: exactly " (to h:mm AM)" or
// " (to h:mm PM)" at the very end. Anything else in brackets is the user's.
// Read by hand rather than with a regular expression: every task read passes
// through here.
bool isHour(QStringView text)
{
    if (text.size() == 1)
        return text.at(0) >= u'1' && text.at(0) <= u'9';
    return text.size() == 2 && text.at(0) == u'1' && text.at(1) >= u'0' && text.at(1) <= u'2';
}

qsizetype noteStart(const QString &stored)
{
    // " (to " hour ":" minutes " AM)"; the hour has one or two digits.
    const QStringView text(stored);
    const qsizetype n = text.size();
    if (n < 13 || !text.endsWith(u')'))
        return -1;
    const QStringView half = text.mid(n - 3, 2);
    if (half != u"AM" && half != u"PM")
        return -1;
    if (text.at(n - 4) != u' ' || text.at(n - 5) < u'0' || text.at(n - 5) > u'9' || text.at(n - 6) < u'0'
        || text.at(n - 6) > u'5' || text.at(n - 7) != u':')
        return -1;
    for (qsizetype digits : {1, 2}) {
        const qsizetype start = n - 12 - digits;
        if (start >= 0 && text.mid(start, 5) == u" (to " && isHour(text.mid(n - 7 - digits, digits)))
            return start;
    }
    return -1;
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
    if (!isHour(hour))
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

// The fields a task is read from, in the order taskAt() takes them, after the
// identity. "Agenda Date", "Agenda Time" and "Agenda Duration" are not read:
// nothing shows them.
const QStringList &taskFields()
{
    static const QStringList fields{f::Task,        f::Category,  f::Alarm,     f::Repeating,   f::Reminder,
                                    f::ReminderDay, f::ReminderMonth, f::ReminderYear, f::StartHour,
                                    f::StartMinute, f::StartAmPm, f::EndHour,   f::EndMinute,   f::EndAmPm,
                                    f::Day,         f::Month,     f::Year};
    return fields;
}

QString quotedFields(const QStringList &fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString &field : fields)
        quoted << Database::quoteName(field);
    return quoted.join(QStringLiteral(", "));
}

// "SELECT rowid, <every field taskAt() reads> FROM Agenda"
const QString &taskSelect()
{
    static const QString sql = QStringLiteral("SELECT rowid, %1 FROM %2")
                                   .arg(quotedFields(taskFields()), Database::quoteName(names::Agenda));
    return sql;
}

// A stored number as the day indexes hold it: the same expression, so that
// a condition on it is answered from the index. CAST reads leading digits and
// an empty text as 0, as textToNumber() does, except that it skips only ASCII
// spaces: a number after any other space reads as 0 here.
QString numberOf(const QString &field)
{
    return QStringLiteral("CAST(%1 AS INTEGER)").arg(Database::quoteName(field));
}

// The conditions of a month on the day index: the same rows as a record set
// with numeric conditions on year and month finds.
QString monthCondition()
{
    return QStringLiteral("%1 = ? AND %2 = ?").arg(numberOf(f::Year), numberOf(f::Month));
}

// Named in the reads by day: SQLite, without statistics, cannot tell that
// it finds fewer rows than the month index, whose expressions it starts with.
QString byDayIndex()
{
    return QStringLiteral("INDEXED BY ") + Database::quoteName(QStringLiteral("Agenda day"));
}

// The tasks of a month whose stored day SQL reads as 0 or less: an empty or
// unreadable day, or one after a space SQL does not skip (see numberOf).
QString zeroDaySelect()
{
    return QStringLiteral("%1 %2 WHERE %3 AND %4 <= 0 ORDER BY rowid")
        .arg(taskSelect(), byDayIndex(), monthCondition(), numberOf(f::Day));
}

AgendaTask taskAt(const QSqlQuery &query)
{
    const auto text = [&query](int field) { return query.value(field + 1).toString(); };
    AgendaTask task;
    task.id = query.value(0).toLongLong();
    task.shownText = text(0);
    task.text = withoutNote(task.shownText);
    task.category = text(1);
    task.alarm = text(2);
    task.repeating = text(3);
    task.reminder = text(4);
    task.reminderDay = textToNumber(text(5));
    task.reminderMonth = textToNumber(text(6));
    task.reminderYear = textToNumber(text(7));
    task.start = storedTime(text(8), text(9), text(10));
    task.end = storedTime(text(11), text(12), text(13));
    task.day = textToNumber(text(14));
    task.month = textToNumber(text(15));
    task.year = textToNumber(text(16));
    return task;
}

// Collects the stored texts of a record for one bulk statement.
struct StoredValues {
    StoredFields fields;
    void setField(const QString &name, const QString &value) { fields.append({name, value}); }
};

template <typename Sink>
void writeFieldsTo(Sink &set, const AgendaTask &task, AgendaFields fields, const QString &storedText);

// A stored number read as textToNumber() reads it, whether SQL gave it as a
// number or as the stored text.
int numberAt(const QSqlQuery &query, int column)
{
    const QVariant value = query.value(column);
    const int type = value.typeId();
    return type == QMetaType::LongLong || type == QMetaType::Int ? value.toInt() : textToNumber(value.toString());
}

} // namespace

// A statement prepared once and run again with other values.
struct KeptStatement {
    explicit KeptStatement(Database &db) : query(db.connection()) {}
    QSqlQuery query;
    bool prepared = false;
};

namespace {

// Runs a read; false with *error (naming the file) when it fails. A kept
// statement is prepared the first time only.
bool runRead(Database &db, QSqlQuery &query, const QString &sql, const QVariantList &values, QString *error,
             bool *prepared = nullptr)
{
    bool ok = prepared && *prepared;
    if (!ok) {
        query.setForwardOnly(true);
        ok = query.prepare(sql);
        if (prepared)
            *prepared = ok;
    }
    if (ok) {
        for (qsizetype i = 0; i < values.size(); ++i)
            query.bindValue(int(i), values.at(i));
        ok = query.exec();
    }
    if (!ok) {
        *error = errors::readFailure(db, errors::errorText(query.lastError()));
        qCWarning(lcStore).noquote() << "reading the agenda failed:" << query.lastError().text();
    }
    return ok;
}

// Reads whole tasks with a statement selecting taskSelect()'s fields, its
// values bound in order, keeping those `wanted` accepts.
ReadResult<QList<AgendaTask>> readTasks(Database &db, const QString &sql, const QVariantList &values,
                                        const std::function<bool(const AgendaTask &)> &wanted = {},
                                        KeptStatement *kept = nullptr)
{
    std::optional<QSqlQuery> own;
    QSqlQuery &query = kept ? kept->query : own.emplace(db.connection());
    QString error;
    if (!runRead(db, query, sql, values, &error, kept ? &kept->prepared : nullptr))
        return ReadResult<QList<AgendaTask>>::failed(error);
    QList<AgendaTask> tasks;
    while (query.next()) {
        AgendaTask task = taskAt(query);
        if (!wanted || wanted(task))
            tasks.append(std::move(task));
    }
    if (query.lastError().isValid())
        return ReadResult<QList<AgendaTask>>::failed(errors::readFailure(db, errors::errorText(query.lastError())));
    // A kept statement must not hold the file's read lock until its next run.
    query.finish();
    return {std::move(tasks), {}};
}

} // namespace

AgendaRepository::AgendaRepository(Database &db) : m_db(db) {}
AgendaRepository::~AgendaRepository() = default;

KeptStatement *AgendaRepository::kept(Query query) const
{
    std::unique_ptr<KeptStatement> &statement = m_kept.at(size_t(query));
    if (!statement)
        statement = std::make_unique<KeptStatement>(m_db);
    return statement.get();
}

ReadResult<QList<AgendaTask>> AgendaRepository::month(int year, int month) const
{
    return readTasks(m_db, taskSelect() + QStringLiteral(" WHERE %1 ORDER BY rowid").arg(monthCondition()),
                     {year, month});
}

ReadResult<QList<AgendaTask>> AgendaRepository::day(int year, int month, int day) const
{
    const auto onDay = [day](const AgendaTask &task) { return task.day == day; };
    if (day <= 0)
        return readTasks(m_db, zeroDaySelect(), {year, month}, onDay);
    return readTasks(m_db, statement(Query::Day), {year, month, day, year, month}, onDay);
}

ReadResult<AgendaDay> AgendaRepository::dayShown(int year, int month, int day) const
{
    // The last task of each distinct start and end, found in the day index
    // and read whole in the same statement, with the few tasks that read as
    // day 0 in SQL (see Query::Day). Of these, the last of each start stands
    // on the grid, and every start and end gives a span.
    const ReadResult<QList<AgendaTask>> read = readTasks(
        m_db, statement(Query::DayShown), {year, month, day, year, month},
        [day](const AgendaTask &task) { return task.day == day; }, kept(Query::DayShown));
    if (!read.ok())
        return ReadResult<AgendaDay>::failed(read.error);

    QMap<QTime, const AgendaTask *> last;
    std::set<std::pair<QTime, QTime>> spans;
    for (const AgendaTask &task : *read.value) {
        if (!task.start.isValid())
            continue;
        spans.insert({task.start, task.end});
        const AgendaTask *&shown = last[task.start];
        if (!shown || shown->id < task.id)
            shown = &task;
    }
    AgendaDay shown;
    shown.spans = QList<std::pair<QTime, QTime>>(spans.cbegin(), spans.cend());
    for (const AgendaTask *task : std::as_const(last))
        shown.shown.append(*task);
    std::sort(shown.shown.begin(), shown.shown.end(),
              [](const AgendaTask &a, const AgendaTask &b) { return a.id < b.id; });
    return {std::move(shown), {}};
}

ReadResult<QSet<int>> AgendaRepository::taskDays(int year, int month) const
{
    KeptStatement *statement = kept(Query::TaskDays);
    QSqlQuery &query = statement->query;
    QString error;
    if (!runRead(m_db, query, AgendaRepository::statement(Query::TaskDays), {year, month, year, month}, &error,
                 &statement->prepared))
        return ReadResult<QSet<int>>::failed(error);
    QSet<int> days;
    while (query.next()) {
        const int day = textToNumber(query.value(0).toString());
        if (day >= 1 && day <= 31)
            days.insert(day);
    }
    if (query.lastError().isValid())
        return ReadResult<QSet<int>>::failed(errors::readFailure(m_db, errors::errorText(query.lastError())));
    query.finish();
    return {std::move(days), {}};
}

ReadResult<QList<AgendaTask>> AgendaRepository::all() const
{
    return readTasks(m_db, taskSelect() + QStringLiteral(" ORDER BY rowid"), {});
}

ReadResult<AgendaTask> AgendaRepository::byId(RecordId id) const
{
    if (id == kNoRecord)
        return {};
    const ReadResult<QList<AgendaTask>> tasks =
        readTasks(m_db, taskSelect() + QStringLiteral(" WHERE rowid = ?"), {id});
    if (!tasks.ok())
        return ReadResult<AgendaTask>::failed(tasks.error);
    if (tasks.value->isEmpty())
        return {};
    return {tasks.value->constFirst(), {}};
}

ReadResult<QList<AgendaTask>> AgendaRepository::search(const QString &text) const
{
    // SQL narrows the search (see containsCondition); every candidate is
    // still compared here, the way the rest of the program compares text.
    // A date field comes as a number where SQL reads it as textToNumber()
    // does, which spares making a text of it for each of many results.
    const auto number = [](const QString &field) {
        return QStringLiteral("CASE WHEN %1 BETWEEN 1 AND 1000000000 THEN %1 ELSE %2 END")
            .arg(numberOf(field), Database::quoteName(field));
    };
    QString sql = QStringLiteral("SELECT rowid, %1, %2, %3, %4 FROM %5 WHERE %1 <> ''")
                      .arg(Database::quoteName(f::Task), number(f::Day), number(f::Month), number(f::Year),
                           Database::quoteName(names::Agenda));
    QVariantList values;
    if (const QString condition = containsCondition(f::Task, text, &values); !condition.isEmpty())
        sql += QStringLiteral(" AND ") + condition;
    sql += QStringLiteral(" ORDER BY rowid");
    QSqlQuery query(m_db.connection());
    QString error;
    if (!runRead(m_db, query, sql, values, &error))
        return ReadResult<QList<AgendaTask>>::failed(error);
    QList<AgendaTask> tasks;
    while (query.next()) {
        QString shown = query.value(1).toString();
        if (!shown.contains(text, Qt::CaseInsensitive))
            continue;
        AgendaTask task;
        task.id = query.value(0).toLongLong();
        task.shownText = std::move(shown);
        task.day = numberAt(query, 2);
        task.month = numberAt(query, 3);
        task.year = numberAt(query, 4);
        tasks.append(std::move(task));
    }
    if (query.lastError().isValid())
        return ReadResult<QList<AgendaTask>>::failed(errors::readFailure(m_db, errors::errorText(query.lastError())));
    return {std::move(tasks), {}};
}

ReadResult<QList<AgendaTask>> AgendaRepository::dueReminders(const QDate &today) const
{
    const QDate next = today.addMonths(1);
    const QString sql = statement(Query::DueReminders);
    const int todayKey = today.year() * 10000 + today.month() * 100 + today.day();
    return readTasks(m_db, sql,
                     {todayKey, today.year(), today.month(), today.day(), todayKey, today.year(), today.month(),
                      todayKey, next.year(), next.month()},
                     [&today](const AgendaTask &task) { return isReminderDue(task, today); });
}

QString AgendaRepository::statement(Query query)
{
    switch (query) {
    case Query::Day:
        // The stored day reads as the number the month read gives it, or as 0
        // when it starts with a space SQL does not skip: those few are read
        // too and sorted out in C++, so that the result is the month read's.
        return QStringLiteral("%1 %4 WHERE %2 AND %3 = ? UNION ALL %1 %4 WHERE %2 AND %3 <= 0 ORDER BY 1")
            .arg(taskSelect(), monthCondition(), numberOf(f::Day), byDayIndex());
    case Query::DayShown:
        // Grouped in the order of the day index, which holds every field
        // grouped; only the last task of each group is read from the table.
        return QStringLiteral("SELECT t.rowid, %1 FROM (SELECT max(rowid) AS id FROM %2 %6 WHERE %3 AND %4 = ? "
                              "GROUP BY %5) AS g JOIN %2 AS t ON t.rowid = g.id "
                              "UNION ALL %7 %6 WHERE %3 AND %4 <= 0 ORDER BY 1")
            .arg(quotedFields(taskFields()), Database::quoteName(names::Agenda), monthCondition(), numberOf(f::Day),
                 quotedFields({f::StartHour, f::StartMinute, f::StartAmPm, f::EndHour, f::EndMinute, f::EndAmPm}),
                 byDayIndex(), taskSelect());
    case Query::TaskDays:
        // One look-up in the day index for each day, then the few days that
        // read as 0 in SQL (see Day), read as text.
        return QStringLiteral("WITH RECURSIVE days(d) AS (SELECT 1 UNION ALL SELECT d + 1 FROM days WHERE d < 31) "
                              "SELECT d FROM days WHERE EXISTS (SELECT 1 FROM %1 %5 WHERE %2 AND %3 = days.d) "
                              "UNION ALL SELECT %4 FROM %1 %5 WHERE %2 AND %3 <= 0")
            .arg(Database::quoteName(names::Agenda), monthCondition(), numberOf(f::Day), Database::quoteName(f::Day),
                 byDayIndex());
    case Query::DueReminders: {
        // A due task is dated from today to the end of next month (see the
        // header) and has a reminder date on or before today. The index of
        // tasks with a reminder date finds the first; the reminder date is
        // compared as one number, year * 10000 + month * 100 + day. Where SQL
        // reads a stored number as 0 (see numberOf) both tests let the task
        // through, and isReminderDue decides, as it does for every task read.
        const QString hasReminder = Database::quoteName(f::ReminderDay) + QStringLiteral(" <> ''");
        const QString remindedBy =
            QStringLiteral("%1 * 10000 + %2 * 100 + %3 <= ?")
                .arg(numberOf(f::ReminderYear), numberOf(f::ReminderMonth), numberOf(f::ReminderDay));
        // Named, since the month and day indexes would serve the month too and
        // SQLite, without statistics, cannot tell which is smaller.
        const QString part = QStringLiteral("%1 INDEXED BY %2 WHERE %3 AND %4 AND %5")
                                 .arg(taskSelect(), Database::quoteName(QStringLiteral("Agenda reminders")),
                                      hasReminder, remindedBy, monthCondition());
        return QStringLiteral("%1 AND %2 >= ? UNION ALL %1 AND %2 <= 0 UNION ALL %3 ORDER BY 1")
            .arg(part, numberOf(f::Day), part);
    }
    }
    return {};
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
    if (const QString problem = errors::findToChange(m_db, set, task.id, kTaskGone); !problem.isEmpty())
        return {false, problem};
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

StoredFields AgendaRepository::storedFields(const AgendaTask &task, QString *problem)
{
    *problem = checkTask(task, AgendaField::All, {});
    if (!problem->isEmpty())
        return {};
    StoredValues values;
    writeFieldsTo(values, task, AgendaField::All, {});
    return values.fields;
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
            for (const auto &[field, value] : std::as_const(values.fields)) {
                columns << field;
                quoted << Database::quoteName(field);
            }
            if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                    .arg(Database::quoteName(names::Agenda), quoted.join(u','),
                                         QStringList(columns.size(), QStringLiteral("?")).join(u','))))
                return {false, errors::writeFailure(m_db, errors::errorText(insert.lastError()))};
        }
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const QString &value = values.fields.at(i).second;
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
    return errors::removeRecord(m_db, names::Agenda, id, kTaskGone);
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
