#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The arithmetic of agenda reminders: when a reminder is due, how far it can
// be put off, and the texts the agenda stores for it. Nothing here touches the
// data file; the windows read the fields and write back what these return.
namespace brevane::reminders {

// The four reminder fields of an agenda record, as stored.
struct ReminderFields {
    QString reminder; // lead time: "" (none), "1 Day", "3 Days", or after a postponement "1 day", "0 days" ...
    QString day;
    QString month;
    QString year;
    friend bool operator==(const ReminderFields &, const ReminderFields &) = default;
};

// The date that three stored texts (day, month number, four-digit year) name,
// read the way the organizer reads numbers. Invalid when a text is empty or not
// a number, or when the day does not exist in that month.
[[nodiscard]] QDate storedDate(const QString &day, const QString &month, const QString &year);

// A reminder is due from its reminder date up to and including the task's
// date, whole dates compared, so that a reminder starting in the month or year
// before the task counts too. An invalid date on either side is never due.
[[nodiscard]] bool isDue(const QDate &reminderDate, const QDate &taskDate, const QDate &today);

// The same test on the stored texts of an agenda record.
[[nodiscard]] bool isDue(const ReminderFields &reminder, const QString &taskDay, const QString &taskMonth,
                         const QString &taskYear, const QDate &today);

// The choices of "Remind me again in:": "Never", "0 Days", then "1 Day",
// "2 Days" ... up to the number of days from today to the task's date. The
// entry at index i >= 1 puts the reminder off by i - 1 days.
[[nodiscard]] QStringList postponementChoices(const QDate &taskDate, const QDate &today);

// The lead time a postponement stores: "1 day" for 1, otherwise n + " days".
[[nodiscard]] QString postponedLeadText(int days);

// "March 3, 2024": the month's full name, the day and the year.
[[nodiscard]] QString dateText(int day, int month, int year);
// The to-do item a reminder is copied into:
// "REMINDER: Dentist (to 10:30 AM) (March 3, 2024 at 9:30 AM)".
[[nodiscard]] QString todoCopyText(const QString &task, const QString &dateText, const QString &timeText);

// The stored lead time of the Agenda menu's Reminder entries: "" for 0,
// "1 Day", "2 Days" ... "7 Days".
[[nodiscard]] QString leadTimeText(int leadDays);

// What the Reminder entry for `leadDays` (0..7) stores for a task on
// day/month/year: all empty for 0 (no reminder), otherwise the lead time and
// the date that many days before the task. A task date that does not exist
// cannot carry a reminder, so it gets the empty fields as well.
[[nodiscard]] ReminderFields leadTimeFields(int leadDays, int day, int month, int year);

} // namespace brevane::reminders
