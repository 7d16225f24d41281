#include "core/organizer.h"
#include "interchange/interchange.h"

#include <QRegularExpression>

// The contact book's date picker writes a birthday as "July 7, 1999" and an
// anniversary as "July 7". Only texts in exactly that form travel as vCard
// dates; anything else the user typed travels as text, unchanged.
namespace brevane::interchange {

namespace {

// A year that has February 29, for dates without a year.
constexpr int kAnyLeapYear = 2000;

QString pickerText(int year, int month, int day)
{
    const QString monthDay = monthName(month) + u' ' + QString::number(day);
    return year > 0 ? monthDay + QStringLiteral(", ") + QString::number(year) : monthDay;
}

} // namespace

QString vcardDateOf(const QString &pickerTextIn)
{
    static const QRegularExpression form(QStringLiteral("^([A-Z][a-z]+) ([0-9]{1,2})(?:, ([0-9]{4}))?$"));
    const QRegularExpressionMatch match = form.match(pickerTextIn);
    if (!match.hasMatch())
        return {};
    const int month = int(monthNames().indexOf(match.captured(1))) + 1;
    const int day = match.captured(2).toInt();
    const bool hasYear = match.hasCaptured(3);
    const int year = hasYear ? match.captured(3).toInt() : 0;
    if (month < 1 || !QDate(hasYear ? year : kAnyLeapYear, month, day).isValid()
        || pickerText(year, month, day) != pickerTextIn)
        return {};
    const QString monthDay = QStringLiteral("%1%2").arg(month, 2, 10, QLatin1Char('0')).arg(day, 2, 10, QLatin1Char('0'));
    return hasYear ? QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0')) + monthDay : QStringLiteral("--") + monthDay;
}

QString pickerTextOf(const QString &vcardDate)
{
    // 19990707, 1999-07-07, --0707, --07-07; a time after the date is ignored.
    static const QRegularExpression form(
        QStringLiteral("^(?:([0-9]{4})-?|--)([0-9]{2})-?([0-9]{2})(?:T[0-9:.]*(?:Z|[+-][0-9:]+)?)?$"));
    const QRegularExpressionMatch match = form.match(vcardDate.trimmed());
    if (!match.hasMatch())
        return {};
    const bool hasYear = match.hasCaptured(1);
    const int year = hasYear ? match.captured(1).toInt() : 0;
    const int month = match.captured(2).toInt();
    const int day = match.captured(3).toInt();
    if (!QDate(hasYear ? year : kAnyLeapYear, month, day).isValid() || (hasYear && year < 1))
        return {};
    return pickerText(year, month, day);
}

} // namespace brevane::interchange
