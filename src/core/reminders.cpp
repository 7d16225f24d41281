#include "core/reminders.h"

#include "core/organizer.h"

namespace brevane::reminders {

QDate storedDate(const QString &day, const QString &month, const QString &year)
{
    const int d = textToNumber(day);
    const int m = textToNumber(month);
    const int y = textToNumber(year);
    // QDate accepts years before the common era; the agenda has none.
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > daysInMonth(m, y))
        return {};
    return QDate(y, m, d);
}

bool isDue(const QDate &reminderDate, const QDate &taskDate, const QDate &today)
{
    if (!reminderDate.isValid() || !taskDate.isValid() || !today.isValid())
        return false;
    return reminderDate <= today && today <= taskDate;
}

bool isDue(const ReminderFields &reminder, const QString &taskDay, const QString &taskMonth,
           const QString &taskYear, const QDate &today)
{
    return isDue(storedDate(reminder.day, reminder.month, reminder.year),
                 storedDate(taskDay, taskMonth, taskYear), today);
}

QStringList postponementChoices(const QDate &taskDate, const QDate &today)
{
    QStringList choices{QStringLiteral("Never"), QStringLiteral("0 Days")};
    if (!taskDate.isValid() || !today.isValid())
        return choices;
    const qint64 daysLeft = today.daysTo(taskDate);
    for (qint64 k = 1; k <= daysLeft; ++k)
        choices << (k == 1 ? QStringLiteral("1 Day") : QStringLiteral("%1 Days").arg(k));
    return choices;
}

QString postponedLeadText(int days)
{
    return days == 1 ? QStringLiteral("1 day") : QStringLiteral("%1 days").arg(days);
}

QString dateText(int day, int month, int year)
{
    return QStringLiteral("%1 %2, %3").arg(monthName(month)).arg(day).arg(year);
}

QString todoCopyText(const QString &task, const QString &dateText, const QString &timeText)
{
    return QStringLiteral("REMINDER: ") + task + QStringLiteral(" (") + dateText + QStringLiteral(" at ")
           + timeText + u')';
}

QString leadTimeText(int leadDays)
{
    if (leadDays <= 0)
        return {};
    return leadDays == 1 ? QStringLiteral("1 Day") : QStringLiteral("%1 Days").arg(leadDays);
}

ReminderFields leadTimeFields(int leadDays, int day, int month, int year)
{
    if (leadDays <= 0 || year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(month, year))
        return {};
    const DayMonthYear date = computeReminderDate(day, month, year, leadDays);
    return {leadTimeText(leadDays), QString::number(date.day), QString::number(date.month),
            QString::number(date.year)};
}

} // namespace brevane::reminders
