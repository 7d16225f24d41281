#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

// Facts about the organizer that belong to no window: its name, the calendar
// arithmetic, and the fixed lists that several windows show.
namespace brevane {

inline const QString kProgramTitle = QStringLiteral("Brevane Organizer");
inline const QString kVersion = QStringLiteral("4.0");
inline const QString kDataFileName = QStringLiteral("Brevane Organizer Database.sqlite");

// Gregorian rule: divisible by 4, and not by 100 unless also by 400.
[[nodiscard]] bool isLeapYear(int year);
// month is 1..12; returns 0 for a month outside that range.
[[nodiscard]] int daysInMonth(int month, int year);

// "January" .. "December"; month is 1..12, anything else gives an empty text.
[[nodiscard]] QString monthName(int month);
[[nodiscard]] const QStringList &monthNames();

// The 13 category names, "Anniversary" .. "Other".
[[nodiscard]] const QStringList &categoryNames();
// "High", "Medium", "Low": the names of priority codes 1, 2 and 3.
[[nodiscard]] const QStringList &priorityNames();
// The name of a stored priority code, or an empty text for anything but "1".."3".
[[nodiscard]] QString priorityName(const QString &code);

// The 50 half-hour labels of the agenda: "Midnight", "12:00 AM" .. "11:30 AM",
// "Noon", "12:00 PM" .. "11:30 PM".
[[nodiscard]] const QStringList &slotLabels();

// "9:30 AM": hour, ":", minute, a blank and AM/PM, as the agenda stores them;
// the form of the slot labels, the end-time note and the reminder window.
[[nodiscard]] QString timeText(const QString &hour, const QString &minute, const QString &amPm);
// The same form for a time of day: "12:00 AM" for midnight, "9:30 PM"; an
// empty text for an invalid time.
[[nodiscard]] QString timeText(const QTime &time);

// The number of characters a user sees in a text (grapheme clusters): an
// accented letter written with a combining mark, or an emoji made of several
// code points, counts once. The typed limits of the texts are counted so.
[[nodiscard]] int characterCount(const QString &text);

// The numeric value of a stored text the way the organizer has always read
// numbers: leading blanks skipped, an optional sign, then digits up to the first
// other character. Empty or non-numeric text is 0.
[[nodiscard]] int textToNumber(const QString &text);

// A calendar date as the agenda stores it: day, month 1..12, four-digit year.
struct DayMonthYear {
    int day = 0;
    int month = 0;
    int year = 0;
    friend bool operator==(const DayMonthYear &, const DayMonthYear &) = default;
};

// The date `leadDays` (0..28) days before the event day/month/year: the day
// on which a task's reminder becomes due.
[[nodiscard]] DayMonthYear computeReminderDate(int day, int month, int year, int leadDays);

} // namespace brevane
