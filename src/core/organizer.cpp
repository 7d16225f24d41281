#include "core/organizer.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <limits>

namespace brevane {

bool isLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int daysInMonth(int month, int year)
{
    switch (month) {
    case 1: case 3: case 5: case 7: case 8: case 10: case 12:
        return 31;
    case 4: case 6: case 9: case 11:
        return 30;
    case 2:
        return isLeapYear(year) ? 29 : 28;
    default:
        return 0;
    }
}

const QStringList &monthNames()
{
    static const QStringList names{
        QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
        QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
        QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
        QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
    return names;
}

QString monthName(int month)
{
    return month >= 1 && month <= 12 ? monthNames().at(month - 1) : QString();
}

const QStringList &categoryNames()
{
    static const QStringList names{
        QStringLiteral("Anniversary"), QStringLiteral("Appointment"), QStringLiteral("Birthday"),
        QStringLiteral("Holiday"),     QStringLiteral("Leisure"),     QStringLiteral("Meeting"),
        QStringLiteral("Personal"),    QStringLiteral("School"),      QStringLiteral("Task"),
        QStringLiteral("Travel"),      QStringLiteral("Vacation"),    QStringLiteral("Work"),
        QStringLiteral("Other")};
    return names;
}

const QStringList &priorityNames()
{
    static const QStringList names{QStringLiteral("High"), QStringLiteral("Medium"),
                                   QStringLiteral("Low")};
    return names;
}

QString priorityName(const QString &code)
{
    const int value = textToNumber(code);
    return value >= 1 && value <= 3 ? priorityNames().at(value - 1) : QString();
}

const QStringList &slotLabels()
{
    static const QStringList labels = [] {
        QStringList list;
        for (const QString &half : {QStringLiteral("AM"), QStringLiteral("PM")}) {
            list << (half == QLatin1String("AM") ? QStringLiteral("Midnight") : QStringLiteral("Noon"));
            for (int hour : {12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}) {
                list << QStringLiteral("%1:00 %2").arg(hour).arg(half);
                list << QStringLiteral("%1:30 %2").arg(hour).arg(half);
            }
        }
        return list;
    }();
    return labels;
}

QString timeText(const QString &hour, const QString &minute, const QString &amPm)
{
    return hour + u':' + minute + u' ' + amPm;
}

QString timeText(const QTime &time)
{
    if (!time.isValid())
        return {};
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return timeText(QString::number(hour), QStringLiteral("%1").arg(time.minute(), 2, 10, QLatin1Char('0')),
                    time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

int characterCount(const QString &text)
{
    if (text.isEmpty())
        return 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() >= 0)
        ++count;
    return count;
}

int textToNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    long long value = 0;
    while (i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9') {
        value = value * 10 + (text.at(i).unicode() - u'0');
        if (value > 1'000'000'000)
            break;
        ++i;
    }
    // A long run of digits stays a large number rather than wrapping round
    // to a small or negative one that could pass for a day or a priority.
    value = std::min<long long>(value, std::numeric_limits<int>::max());
    return static_cast<int>(negative ? -value : value);
}

DayMonthYear computeReminderDate(int day, int month, int year, int leadDays)
{
    const int d = day - leadDays;
    if (d >= 1)
        return {d, month, year};
    if (month == 1)
        return {31 + d, 12, year - 1};
    return {daysInMonth(month - 1, year) + d, month - 1, year};
}

} // namespace brevane
