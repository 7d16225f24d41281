#pragma once

#include "store/readresult.h"
#include "store/recordset.h"

#include <QDate>
#include <QFlags>
#include <QList>
#include <QSet>
#include <QString>
#include <QTime>

#include <array>
#include <memory>
#include <utility>

namespace brevane::store {

class Database;
struct KeptStatement;

// One agenda task as the windows see it. The stored text forms (numbers as
// text, "9" "30" "AM", the " (to 10:30 AM)" end-time note) stay in the
// repository.
struct AgendaTask {
    RecordId id = kNoRecord;
    // The task's day as stored; hand-made data may name a day its month lacks,
    // so these are kept as numbers rather than a QDate.
    int day = 0;
    int month = 0;
    int year = 0;
    // Start and end as times of day on the half-hour grid; invalid when the
    // stored hour, minute or AM/PM cannot be read.
    QTime start;
    QTime end;
    // The text as typed: without the end-time note, when the stored text ends
    // with exactly " (to h:mm AM)" or " (to h:mm PM)"; otherwise all of it.
    QString text;
    // What the agenda grid and the task search show: the stored text, note
    // included.
    QString shownText;
    QString category;
    // The stored reminder lead ("", "1 Day" .. "7 Days", or a postponed
    // "1 day" / "3 days") exactly as stored, so that an entry the editor does
    // not offer is shown as it stands; see reminderLeadDays().
    QString reminder;
    // The day the reminder is due; all 0 when there is none.
    int reminderDay = 0;
    int reminderMonth = 0;
    int reminderYear = 0;
    // Stored and kept, not acted upon.
    QString alarm;
    QString repeating;

    [[nodiscard]] QDate date() const { return QDate(year, month, day); }
    [[nodiscard]] QDate reminderDate() const { return QDate(reminderYear, reminderMonth, reminderDay); }
    friend bool operator==(const AgendaTask &, const AgendaTask &) = default;
};

// What the agenda grid shows of one day: on each start time's row the last
// task (in table order) with that start, and the spans of all of them.
struct AgendaDay {
    // For each start time among the day's tasks, the last task with that
    // start, in table order: so the last one is the day's last task that has
    // a start time. Tasks whose start cannot be read are not on the grid.
    QList<AgendaTask> shown;
    // Each distinct start and end among the day's tasks with a start time,
    // ordered by start, then end; an end that cannot be read is invalid.
    QList<std::pair<QTime, QTime>> spans;
    friend bool operator==(const AgendaDay &, const AgendaDay &) = default;
};

// The fields a save writes; the others keep their stored text exactly.
enum class AgendaField : unsigned {
    Text = 0x01,      // "Agenda Task", written with the end-time note of `end`
    Category = 0x02,
    Start = 0x04,
    End = 0x08,       // also rewrites the note of a text that has one
    Date = 0x10,      // Day, Month, Year
    Reminder = 0x20,  // the lead text and the due date
    Alarm = 0x40,
    Repeating = 0x80,
    All = 0xff,
};
Q_DECLARE_FLAGS(AgendaFields, AgendaField)
Q_DECLARE_OPERATORS_FOR_FLAGS(AgendaFields)

// Reads and writes table "Agenda". Every write is committed before it returns.
class AgendaRepository
{
public:
    explicit AgendaRepository(Database &db);
    ~AgendaRepository();
    Q_DISABLE_COPY_MOVE(AgendaRepository)

    // The tasks of a month (1..12), in table order.
    [[nodiscard]] ReadResult<QList<AgendaTask>> month(int year, int month) const;
    // The tasks filed under one day, in table order: those of the month read
    // whose day is `day`, found through the day index without reading the
    // rest of the month. Numbers, since stored days need not exist.
    [[nodiscard]] ReadResult<QList<AgendaTask>> day(int year, int month, int day) const;
    // Every task, in table order (for exporting the whole agenda).
    [[nodiscard]] ReadResult<QList<AgendaTask>> all() const;
    // What the grid shows of day(): only the tasks it draws are read, however
    // many the day holds; the times of the others come from the day index.
    [[nodiscard]] ReadResult<AgendaDay> dayShown(int year, int month, int day) const;
    // The days 1..31 of a month that have at least one task: the days of the
    // month read, found through the day index without reading a task.
    [[nodiscard]] ReadResult<QSet<int>> taskDays(int year, int month) const;
    // One task; no value when it is no longer in the file.
    [[nodiscard]] ReadResult<AgendaTask> byId(RecordId id) const;
    // Every task whose shown text contains `text`, case-insensitively, in
    // table order; an empty text finds every task that has text. Only what a
    // result line shows is read: id, day, month, year and shownText; the
    // other fields are left empty (read the task with byId() to use them).
    [[nodiscard]] ReadResult<QList<AgendaTask>> search(const QString &text) const;
    // The tasks whose reminder is due today (see isReminderDue), in table
    // order, among the tasks of this month and the next: a reminder is set at
    // most seven days ahead and only ever put off towards its task. Read in
    // one query through the index of the tasks that have a reminder date.
    [[nodiscard]] ReadResult<QList<AgendaTask>> dueReminders(const QDate &today) const;

    // Adds a task (every field) and sets task.id.
    [[nodiscard]] WriteResult add(AgendaTask &task);
    // Adds many tasks at once, all or none, and sets their ids (an import).
    [[nodiscard]] WriteResult addAll(QList<AgendaTask> &tasks);
    // Writes the named fields of the task with identity task.id, reading and
    // writing in one transaction. Fails when the task is gone, when a written
    // start or end is not on the half-hour grid, or when the text is longer
    // than the typed limit and than the text stored before (an old longer
    // text may be kept or shortened, as the editor's text box allows).
    [[nodiscard]] WriteResult update(const AgendaTask &task, AgendaFields fields);
    [[nodiscard]] WriteResult remove(RecordId id);
    // Deletes every task dated before the first day of this month, in one
    // statement and one transaction: all or nothing. *removed is the number
    // of tasks the file lost.
    [[nodiscard]] WriteResult removeBefore(int year, int month, int *removed);

    // The statements of the reads served by the day indexes; public so that
    // their query plans can be examined.
    enum class Query { Day, DayShown, TaskDays, DueReminders };
    [[nodiscard]] static QString statement(Query query);

    // The stored text of every field of a task, by field name: what add() and
    // an edit of every field write. Empty, with the reason in *problem, when
    // the task cannot be written (see update()).
    [[nodiscard]] static StoredFields storedFields(const AgendaTask &task, QString *problem);

    // The typed limit of a task text, in characters the user sees
    // (core's characterCount).
    static constexpr int kTextLimit = 250;
    // Due from the reminder date up to and including the task's date, whole
    // dates compared; a date that does not exist is never due.
    [[nodiscard]] static bool isReminderDue(const AgendaTask &task, const QDate &today);
    // Sets the reminder the editor and the Reminder menu choose: the lead
    // "1 Day" .. "7 Days" and the date that many days before the task; 0, or a
    // task date that does not exist, clears the reminder.
    static void setReminderLead(AgendaTask &task, int leadDays);
    // The lead, in days, of a stored reminder text: "3 Days", "3 days" and
    // "1 Day" read as 3, 3 and 1; no reminder or an unreadable text is -1.
    [[nodiscard]] static int reminderLeadDays(const QString &stored);
    // The editor's entry for a lead: "1 Day", "2 Days" .. "7 Days"; "" for none.
    [[nodiscard]] static QString editorReminderText(int leadDays);
    // The reminder pop-up's form after a postponement: "1 day", "3 days".
    [[nodiscard]] static QString postponedReminderText(int leadDays);

private:
    // Why the task cannot be written with these fields; empty when it can.
    [[nodiscard]] static QString checkTask(const AgendaTask &task, AgendaFields fields, const QString &storedText);
    static void writeFields(RecordSet &set, const AgendaTask &task, AgendaFields fields, const QString &storedText);

    [[nodiscard]] KeptStatement *kept(Query query) const;

    Database &m_db;
    // The statements of the reads a view repeats on every click (dayShown,
    // taskDays), prepared on first use and kept as long as the repository.
    mutable std::array<std::unique_ptr<KeptStatement>, 4> m_kept;
};

} // namespace brevane::store
